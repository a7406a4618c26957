// Checks of history entries before they are stored, and the round values they carry.
#include "HistoryEntry.h"

#include "core/common/Encoding.h"
#include "core/common/Numbers.h"

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
