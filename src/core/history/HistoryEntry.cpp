// Checks of history entries before they are stored, and the round values they carry.
#include "HistoryEntry.h"

#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/rangecard/DropScale.h"

#include <cmath>

namespace fendrel {

namespace {

bool within(double value, double low, double high) {
    return std::isfinite(value) && value >= low && value <= high;
}

std::string checkText(std::string_view text, const char* what) {
    if (text.size() > kMaximumTextBytes)
        return std::string("The ") + what + " is too long (at most " +
               std::to_string(kMaximumTextBytes) + " bytes).";
    if (!isUtf8(text))
        return std::string("The ") + what + " is not valid UTF-8 text.";
    return {};
}

std::string checkSnapshot(const RoundSnapshot& r) {
    if (std::string why = checkText(r.caliber, "caliber"); !why.empty())
        return why;
    const struct {
        double value;
        const char* name;
    } numbers[] = {{r.bulletWeightGr, "bullet weight"},
                   {r.ballisticCoefficient, "ballistic coefficient"},
                   {r.powderChargeGr, "powder charge"}};
    for (const auto& n : numbers)
        if (!within(n.value, 0, kMaximumRoundNumber))
            return std::string("The ") + n.name + " must be a number from 0 to 1000000.";
    return {};
}

std::string checkDate(std::string_view date) {
    if (!isIsoDate(date))
        return "The date must be a calendar date written YYYY-MM-DD (for example 2024-05-10).";
    return {};
}

} // namespace

bool isIsoDate(std::string_view t) {
    if (t.size() != 10 || t[4] != '-' || t[7] != '-')
        return false;
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < lengths[p]; ++i) {
            const char c = t[starts[p] + i];
            if (c < '0' || c > '9')
                return false;
            parts[p] = parts[p] * 10 + (c - '0');
        }
    const int year = parts[0], month = parts[1], day = parts[2];
    if (year < 1900 || month < 1 || month > 12 || day < 1)
        return false;
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool isClockTime(std::string_view t) {
    if (t.size() != 8 || t[2] != ':' || t[5] != ':')
        return false;
    for (int i : {0, 1, 3, 4, 6, 7})
        if (t[i] < '0' || t[i] > '9')
            return false;
    return (t[0] - '0') * 10 + (t[1] - '0') < 24 && t[3] < '6' && t[6] < '6';
}

bool isUtf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t length;
        unsigned code;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2, code = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF)
            length = 3, code = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4)
            length = 4, code = c & 0x07;
        else
            return false;
        if (i + length > n)
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (s[i + k] & 0x3F);
        }
        static const unsigned kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string checkDescription(std::string_view description) {
    if (description.find_first_not_of(" \t") == std::string_view::npos)
        return "A load needs a round description.";
    for (unsigned char c : description)
        if (c < 0x20 || c == 0x7F)
            return "The round description holds a control character.";
    return checkText(description, "round description");
}

std::string checkString(const VelocityString& s) {
    if (std::string why = checkDate(s.date); !why.empty())
        return why;
    if (s.temperatureF && !within(*s.temperatureF, kMinimumTemperatureF, kMaximumTemperatureF))
        return "The air temperature must be a number from -100 to 200 \u00B0F.";
    if (std::string why = checkText(s.note, "note"); !why.empty())
        return why;
    if (s.shotsFps.empty())
        return "A string needs at least one shot.";
    if (s.shotsFps.size() > kMaximumShots)
        return "A string holds at most " + std::to_string(kMaximumShots) + " shots.";
    for (size_t i = 0; i < s.shotsFps.size(); ++i)
        if (!(std::isfinite(s.shotsFps[i]) && s.shotsFps[i] > 0 &&
              s.shotsFps[i] <= kMaximumSpeedFps))
            return "Shot " + std::to_string(i + 1) +
                   ": a speed must be a positive number of ft/s up to 20000.";
    if (s.shotDetails.size() > s.shotsFps.size())
        return "A string has details of more shots than it holds.";
    for (size_t i = 0; i < s.shotDetails.size(); ++i) {
        const ShotDetail& d = s.shotDetails[i];
        if (!d.time.empty() && !isClockTime(d.time))
            return "Shot " + std::to_string(i + 1) + ": the time must be written HH:MM:SS.";
        if (std::string why = checkText(d.note, "shot's note"); !why.empty())
            return "Shot " + std::to_string(i + 1) + ": " + why;
    }
    return checkSnapshot(s.round);
}

std::string checkGroup(const HistoryGroup& g) {
    if (std::string why = checkDate(g.date); !why.empty())
        return why;
    if (!(within(g.distanceYd, 0, kMaximumDistanceYd) && g.distanceYd > 0))
        return "The distance must be a number of yards above 0 and up to 10000.";
    if (g.shots.size() < static_cast<size_t>(kMinimumRounds) ||
        g.shots.size() > static_cast<size_t>(kMaximumRounds))
        return "A group needs from 2 to 181 rounds.";
    bool finite = within(g.caliberIn, 0, kMaximumCoordinateIn);
    for (const Shot& s : g.shots)
        finite = finite && within(s.x, -kMaximumCoordinateIn, kMaximumCoordinateIn) &&
                 within(s.y, -kMaximumCoordinateIn, kMaximumCoordinateIn);
    for (double v : {g.meanRadiusIn, g.meanSpreadIn, g.extremeSpreadIn, g.medianSpreadIn})
        finite = finite && within(v, 0, kMaximumCoordinateIn);
    if (!finite)
        return "The group's caliber, coordinates or statistics are out of range.";
    if (std::string why = checkText(g.note, "note"); !why.empty())
        return why;
    return checkSnapshot(g.round);
}

const char* truingKindName(TruingKind kind) {
    switch (kind) {
    case TruingKind::Velocity:
        return "velocity";
    case TruingKind::DropScale:
        return "drop_scale";
    case TruingKind::BallisticCoefficient:
        return "bc";
    }
    return "";
}

bool truingKindFromName(std::string_view name, TruingKind& kind) {
    for (TruingKind k :
         {TruingKind::Velocity, TruingKind::DropScale, TruingKind::BallisticCoefficient})
        if (name == truingKindName(k)) {
            kind = k;
            return true;
        }
    return false;
}

namespace {

std::string checkTruingKind(const TruingSession& t) {
    const bool observed = !t.observations.empty(), measured = t.nearVelocity || t.farVelocity,
               knots = !t.knots.empty() || !t.factorErrors.empty();
    switch (t.kind) {
    case TruingKind::Velocity:
        if (!observed || !t.velocity || measured || t.ballisticCoefficient || knots)
            return "A truing of the muzzle velocity keeps its observed corrections and the "
                   "velocity found, and nothing else.";
        break;
    case TruingKind::DropScale:
        if (!observed || t.knots.empty() || measured || t.velocity || t.ballisticCoefficient)
            return "A truing of the drop scale keeps its observed corrections and the knots "
                   "found, and nothing else.";
        if (t.factorErrors.size() != t.knots.size())
            return "A truing of the drop scale needs the standard error of each knot's factor.";
        break;
    case TruingKind::BallisticCoefficient:
        if (!t.nearVelocity || !t.farVelocity || !t.ballisticCoefficient || observed ||
            t.velocity || knots)
            return "A truing of the ballistic coefficient keeps its near and far velocities and "
                   "the coefficient found, and nothing else.";
        break;
    default:
        return "A truing must be of the muzzle velocity, the drop scale or the ballistic "
               "coefficient.";
    }
    return {};
}

std::string checkTruingNumbers(const TruingSession& t) {
    const bool moa = t.unit == ClickUnit::Moa;
    const double largest = moa ? 2700 : 785, largestError = moa ? 100 : 30;
    const char* unit = moa ? " MOA." : " mil.";
    for (size_t i = 0; i < t.observations.size(); ++i) {
        const ObservedCorrection& o = t.observations[i];
        const std::string which = "Observation " + std::to_string(i + 1) + ": ";
        if (!(within(o.range, 0, kMaximumDistanceYd) && o.range > 0))
            return which + "the range must lie above 0 and at most 10000.";
        if (!within(o.correction, -largest, largest))
            return which + "the correction must lie between -" + generalNumber(largest) + " and " +
                   generalNumber(largest) + unit;
        if (o.error && !(within(*o.error, 0, largestError) && *o.error > 0))
            return which + "the error must lie above 0 and at most " + generalNumber(largestError) +
                   unit;
    }
    for (const auto* measured : {&t.nearVelocity, &t.farVelocity}) {
        if (!*measured)
            continue;
        const MeasuredVelocity& v = **measured;
        const std::string which = measured == &t.nearVelocity ? "near" : "far";
        if (!(within(v.velocity, 0, kMaximumSpeedFps) && v.velocity > 0))
            return "The " + which + " velocity must lie above 0 and at most 20000.";
        if (!within(v.distance, 0, kMaximumDistanceYd))
            return "The distance of the " + which + " velocity must lie from 0 to 10000.";
        if (v.error && !(within(*v.error, 0, kMaximumSpeedFps) && *v.error > 0))
            return "The error of the " + which + " velocity must lie above 0 and at most 20000.";
    }
    if (t.nearVelocity && t.farVelocity && !(t.farVelocity->distance > t.nearVelocity->distance))
        return "The far velocity must be measured farther from the muzzle than the near one.";
    if (const auto& v = t.velocity;
        v && !(within(v->velocity, 0, kMaximumSpeedFps) && v->velocity > 0 &&
               within(v->standardError, 0, kMaximumSpeedFps) &&
               within(v->inputVelocity, 0, kMaximumSpeedFps) && v->inputVelocity > 0))
        return "The velocity found, its standard error and the card's velocity must lie from 0 "
               "to 20000.";
    if (const auto& b = t.ballisticCoefficient;
        b && !(within(b->ballisticCoefficient, 0, 10) && b->ballisticCoefficient > 0 &&
               within(b->standardError, 0, 10)))
        return "The ballistic coefficient found and its standard error must lie from 0 to 10.";
    if (std::string why = DropScale::refusal(t.knots); !why.empty())
        return why;
    for (double e : t.factorErrors)
        if (!within(e, 0, DropScale::kHighestFactor))
            return "The standard error of a drop scale factor must lie from 0 to 4.";
    return {};
}

} // namespace

std::string checkTruing(const TruingSession& t) {
    if (std::string why = checkDate(t.date); !why.empty())
        return why;
    if (std::string why = checkTruingKind(t); !why.empty())
        return why;
    if (t.unit != ClickUnit::Moa && t.unit != ClickUnit::Mil)
        return "The correction unit must be MOA or mil.";
    if (t.observations.size() > kMaximumObservations)
        return "A truing holds at most " + std::to_string(kMaximumObservations) + " observations.";
    if (std::string why = checkTruingNumbers(t); !why.empty())
        return why;
    if (t.card.size() > kMaximumCardTextBytes)
        return "The range card's settings are too long (at most " +
               std::to_string(kMaximumCardTextBytes) + " bytes).";
    if (!isUtf8(t.card))
        return "The range card's settings are not valid UTF-8 text.";
    for (unsigned char c : t.card)
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F)
            return "The range card's settings hold a control character.";
    if (std::string why = checkText(t.note, "note"); !why.empty())
        return why;
    return checkSnapshot(t.round);
}

RoundKey roundKeyFromRecord(const std::vector<std::string>& f) {
    auto field = [&](size_t i) { return i < f.size() ? f[i] : std::string(); };
    RoundKey key;
    key.description = cp1252ToUtf8(field(0));
    key.round.caliber = cp1252ToUtf8(field(1));
    key.round.bulletWeightGr = leadingNumber(field(2));
    key.round.ballisticCoefficient = leadingNumber(field(3));
    key.round.powderChargeGr = leadingNumber(field(8));
    return key;
}

} // namespace fendrel
