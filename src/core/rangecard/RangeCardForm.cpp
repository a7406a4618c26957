#include "RangeCardForm.h"

#include "DropScale.h"
#include "MetricUnits.h"
#include "core/common/Encoding.h"
#include "core/common/Numbers.h"
#include "core/common/ProgramFolder.h"
#include "core/common/Strings.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace fendrel {

namespace {

// How a field's number changes with the units.
enum class Quantity {
    Plain,
    Coefficient,
    Speed,
    Mass,
    Small,
    Twist,
    Sight,
    Target,
    Distance,
    Pressure,
    Temperature,
    Altitude,
    Wind,
    Sensitivity,
    Angle,
    Percent,
    Moa,
    Click
};

struct Unit {
    const char* imperial;
    const char* metric;
    double factor; // metric = imperial * factor (temperatures apart)
};

Unit unitOf(Quantity q) {
    using namespace metric;
    switch (q) {
    case Quantity::Coefficient:
        return {"lb/in\u00B2", "lb/in\u00B2", 1};
    case Quantity::Speed:
        return {"ft/s", "m/s", kMetresPerFoot};
    case Quantity::Mass:
        return {"gr", "g", kGramsPerGrain};
    case Quantity::Small:
        return {"in", "mm", kMmPerInch};
    case Quantity::Twist:
        return {"in/turn", "mm/turn", kMmPerInch};
    case Quantity::Sight:
    case Quantity::Target:
        return {"in", "cm", kCmPerInch};
    case Quantity::Distance:
        return {"yd", "m", kMetresPerYard};
    case Quantity::Pressure:
        return {"inHg", "hPa", kHpaPerInHg};
    case Quantity::Temperature:
        return {"\u00B0F", "\u00B0C", 1};
    case Quantity::Altitude:
        return {"ft", "m", kMetresPerFoot};
    case Quantity::Wind:
        return {"mph", "m/s", kMpsPerMph};
    case Quantity::Sensitivity:
        return {"ft/s per \u00B0F", "m/s per \u00B0C", kMetresPerFoot * 1.8};
    case Quantity::Angle:
        return {"\u00B0", "\u00B0", 1};
    case Quantity::Percent:
        return {"%", "%", 1};
    case Quantity::Moa:
        return {"MOA", "MOA", 1};
    case Quantity::Plain:
    case Quantity::Click:
        break;
    }
    return {"", "", 1};
}

struct FieldRow {
    CardFieldInfo info;
    Quantity quantity;
};

using B = BlankField;
using F = CardField;
const FieldRow kFields[] = {
    {{F::BallisticCoefficient, "bc", "ballistic coefficient", B::Refused, "", "", ""},
     Quantity::Coefficient},
    {{F::Velocity, "velocity", "muzzle velocity", B::Refused, "", "", ""}, Quantity::Speed},
    {{F::Weight, "weight", "bullet weight", B::Missing, "none", "", ""}, Quantity::Mass},
    {{F::Diameter, "diameter", "bullet diameter", B::Missing, "none", "", ""}, Quantity::Small},
    {{F::Length, "length", "bullet length", B::Missing, "none", "", ""}, Quantity::Small},
    {{F::Twist, "twist", "twist", B::Missing, "none", "", ""}, Quantity::Twist},
    {{F::SightHeight, "sight_height", "sight height", B::Default, "", "1.5", "3.8"},
     Quantity::Sight},
    {{F::Zero, "zero", "zero range", B::Default, "", "100", "100"}, Quantity::Distance},
    {{F::Click, "click", "click value", B::Default, "", "0.25", "0.25"}, Quantity::Click},
    {{F::Step, "step", "step", B::Default, "", "100", "100"}, Quantity::Distance},
    {{F::Maximum, "max", "maximum range", B::Default, "", "1000", "1000"}, Quantity::Distance},
    {{F::Pressure, "pressure", "pressure", B::Missing, "standard", "", ""}, Quantity::Pressure},
    {{F::Temperature, "temperature", "temperature", B::Missing, "standard", "", ""},
     Quantity::Temperature},
    {{F::Humidity, "humidity", "humidity", B::Default, "0", "0", "0"}, Quantity::Percent},
    {{F::Altitude, "altitude", "altitude", B::Default, "0", "0", "0"}, Quantity::Altitude},
    {{F::WindSpeed, "wind_speed", "wind speed", B::Default, "0", "0", "0"}, Quantity::Wind},
    {{F::WindFrom, "wind_from", "wind direction", B::Default, "0", "90", "90"}, Quantity::Angle},
    {{F::LookAngle, "look_angle", "look angle", B::Default, "0", "0", "0"}, Quantity::Angle},
    {{F::Latitude, "latitude", "latitude", B::Missing, "none", "", ""}, Quantity::Angle},
    {{F::Azimuth, "azimuth", "azimuth", B::Missing, "none", "", ""}, Quantity::Angle},
    {{F::PowderTemperature, "powder_temperature", "powder temperature", B::Missing, "the air's", "",
      ""},
     Quantity::Temperature},
    {{F::VelocityTemperature, "velocity_temperature", "velocity temperature", B::Default, "", "59",
      "15"},
     Quantity::Temperature},
    {{F::Sensitivity, "temperature_sensitivity", "temperature sensitivity", B::Default, "0", "0",
      "0"},
     Quantity::Sensitivity},
    {{F::TargetWidth, "target_width", "target width", B::Refused, "", "10", "25"},
     Quantity::Target},
    {{F::TargetHeight, "target_height", "target height", B::Refused, "", "10", "25"},
     Quantity::Target},
    {{F::TargetDiameter, "target_diameter", "target diameter", B::Refused, "", "10", "25"},
     Quantity::Target},
    {{F::Dispersion, "dispersion_moa", "dispersion", B::Default, "0", "0.5", "0.5"}, Quantity::Moa},
    {{F::VelocitySd, "velocity_sd", "velocity SD", B::Default, "0", "10", "3"}, Quantity::Speed},
    {{F::WindSd, "wind_sd", "wind SD", B::Default, "0", "2", "1"}, Quantity::Wind},
    {{F::RangeSd, "range_sd", "range SD", B::Default, "0", "10", "10"}, Quantity::Distance},
    {{F::VelocitySdShots, "velocity_sd_shots", "shots behind the velocity SD", B::Missing,
      "no band", "", ""},
     Quantity::Plain},
    {{F::DispersionShots, "dispersion_shots", "shots behind the dispersion", B::Missing,
      "no band", "", ""},
     Quantity::Plain},
    {{F::NearVelocity, "near_velocity", "near velocity", B::Missing, "", "", ""}, Quantity::Speed},
    {{F::NearDistance, "near_distance", "near distance", B::Missing, "", "", ""},
     Quantity::Distance},
    {{F::NearError, "near_error", "near velocity's error", B::Missing, "5 ft/s", "", ""},
     Quantity::Speed},
    {{F::FarVelocity, "far_velocity", "far velocity", B::Missing, "", "", ""}, Quantity::Speed},
    {{F::FarDistance, "far_distance", "far distance", B::Missing, "", "", ""},
     Quantity::Distance},
    {{F::FarError, "far_error", "far velocity's error", B::Missing, "5 ft/s", "", ""},
     Quantity::Speed},
    {{F::BcBands, "bc_bands", "BC bands", B::Missing, "none", "", ""}, Quantity::Plain},
    {{F::WindBrackets, "wind_brackets", "wind brackets", B::Missing, "none", "", ""},
     Quantity::Plain},
    {{F::DangerHeight, "danger_height", "danger space's target height", B::Missing, "off", "",
      ""},
     Quantity::Target},
};
static_assert(std::size(kFields) == kCardFieldCount);

const FieldRow& row(CardField f) {
    return kFields[static_cast<std::size_t>(f)];
}

// Converts one number between the units.
double converted(Quantity q, double v, bool toMetric) {
    if (q == Quantity::Temperature)
        return toMetric ? (v - 32) / 1.8 : metric::fahrenheitFromCelsius(v);
    const double factor = unitOf(q).factor;
    return toMetric ? v * factor : v / factor;
}

constexpr const char* kClickMoa = "0.25";
constexpr const char* kClickMil = "0.1";

const char* const kUnits[] = {"imperial", "metric"};
const char* const kDrags[] = {"G1", "G7", "file"};
const char* const kClicks[] = {"MOA", "mil"};
const char* const kShapes[] = {"rectangle", "circle"};

// Observations in rangecard.ini: "range:correction:error" joined by ';'.
std::string observationsText(const std::vector<RangeCardForm::Observation>& rows) {
    std::string out;
    for (const auto& o : rows) {
        if (trimmed(o.range).empty() && trimmed(o.correction).empty() && trimmed(o.error).empty())
            continue;
        out += (out.empty() ? "" : ";") + trimmed(o.range) + ":" + trimmed(o.correction) + ":" +
               trimmed(o.error);
    }
    return out;
}

std::vector<std::string> split(const std::string& text, char at) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(at, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::vector<RangeCardForm::Observation> observationsFromText(const std::string& text) {
    std::vector<RangeCardForm::Observation> rows;
    if (trimmed(text).empty())
        return rows;
    for (const std::string& row : split(text, ';')) {
        const std::vector<std::string> f = split(row, ':');
        if (rows.size() < kMostObservations)
            rows.push_back({f[0], f.size() > 1 ? f[1] : "", f.size() > 2 ? f[2] : ""});
    }
    return rows;
}

// The drop scale: "mach:factor" joined by ';', exact numbers.
std::string knotsText(const std::vector<DropScaleKnot>& knots) {
    std::string out;
    for (const DropScaleKnot& k : knots)
        out += (out.empty() ? "" : ";") + roundTripNumber(k.mach) + ":" +
               roundTripNumber(k.factor);
    return out;
}

// Knots that cannot make a drop scale are dropped whole: the card is then the untrued one.
std::vector<DropScaleKnot> knotsFromText(const std::string& text) {
    std::vector<DropScaleKnot> knots;
    if (trimmed(text).empty())
        return knots;
    for (const std::string& knot : split(text, ';')) {
        const std::vector<std::string> f = split(knot, ':');
        if (f.size() != 2 || !isDecimalNumber(trimmed(f[0])) || !isDecimalNumber(trimmed(f[1])))
            return {};
        knots.push_back({leadingNumber(trimmed(f[0])), leadingNumber(trimmed(f[1]))});
    }
    return knots.size() <= 2 && DropScale::refusal(knots).empty() ? knots
                                                                   : std::vector<DropScaleKnot>{};
}

// A list of numbers separated by commas, each converted (in bands, the velocity after '@');
// a text that is not such a list is kept as typed.
std::string convertedList(const std::string& text, bool bands, Quantity q, bool toMetric) {
    if (trimmed(text).empty())
        return text;
    std::string out;
    for (const std::string& item : split(text, ',')) {
        const std::string t = trimmed(item);
        const std::size_t at = bands ? t.find('@') : 0;
        const std::string number = bands ? (at == std::string::npos ? "" : t.substr(at + 1)) : t;
        if (!isDecimalNumber(trimmed(number)))
            return text;
        out += (out.empty() ? "" : ", ") + (bands ? trimmed(t.substr(0, at)) + "@" : "") +
               fieldNumber(converted(q, leadingNumber(trimmed(number)), toMetric));
    }
    return out;
}

// The index of `value` among `names`, or nothing.
template <std::size_t N>
std::optional<std::size_t> choice(const std::string& value, const char* const (&names)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (value == names[i])
            return i;
    return std::nullopt;
}

} // namespace

std::span<const CardFieldInfo> cardFields() {
    static const auto infos = [] {
        std::array<CardFieldInfo, kCardFieldCount> a{};
        for (std::size_t i = 0; i < kCardFieldCount; ++i)
            a[i] = kFields[i].info;
        return a;
    }();
    return infos;
}

const CardFieldInfo& cardField(CardField field) {
    return cardFields()[static_cast<std::size_t>(field)];
}

std::string cardFieldUnit(CardField field, bool metric, ClickUnit click) {
    const Quantity q = row(field).quantity;
    if (q == Quantity::Click)
        return click == ClickUnit::Moa ? "MOA" : "mil";
    const Unit u = unitOf(q);
    return metric ? u.metric : u.imperial;
}

std::string fieldNumber(double value, int significant) {
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return "0";
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(significant - 1 - exponent, 0, 12);
    std::string text = formatPattern(value, decimals ? "0." + std::string(decimals, '#') : "0");
    if (text.back() == '.')
        text.pop_back();
    if (text == "-0")
        text = "0";
    return text;
}

RangeCardForm::RangeCardForm() {
    for (const FieldRow& r : kFields)
        (*this)[r.info.field] = r.info.imperialInitial;
}

void RangeCardForm::takeRound(const RoundTexts& round) {
    const auto put = [this](CardField f, const std::string& text) {
        const double v = leadingNumber(text);
        if (trimmed(text).empty() || !std::isfinite(v)) {
            (*this)[f].clear();
            return;
        }
        (*this)[f] = metric ? fieldNumber(converted(row(f).quantity, v, true)) : generalNumber(v);
    };
    put(CardField::BallisticCoefficient, round.ballisticCoefficient);
    put(CardField::Velocity, round.muzzleVelocity);
    put(CardField::Weight, round.bulletWeight);
    put(CardField::Diameter, round.caliber);
}

void RangeCardForm::setMetric(bool toMetric) {
    if (toMetric == metric)
        return;
    // Every number is converted, the values the form started with too: the card and the chance
    // of a hit stay what they were, only their units change.
    for (const FieldRow& r : kFields) {
        std::string& text = (*this)[r.info.field];
        const std::string t = trimmed(text);
        // A number in units that stay (an angle, the BC) is kept exactly as typed.
        if (r.quantity != Quantity::Temperature && unitOf(r.quantity).factor == 1)
            continue;
        if (isDecimalNumber(t))
            text = fieldNumber(converted(r.quantity, leadingNumber(t), toMetric));
    }
    // The speeds in the bands ("0.496@2800") and the brackets ("5, 10") convert too.
    (*this)[F::BcBands] = convertedList((*this)[F::BcBands], true, Quantity::Speed, toMetric);
    (*this)[F::WindBrackets] =
        convertedList((*this)[F::WindBrackets], false, Quantity::Wind, toMetric);
    for (Observation& o : observations)
        if (const std::string t = trimmed(o.range); isDecimalNumber(t))
            o.range = fieldNumber(converted(Quantity::Distance, leadingNumber(t), toMetric));
    // A trued velocity converts with its field, so that it is still recognised.
    if (isDecimalNumber(truedVelocity))
        truedVelocity =
            fieldNumber(converted(Quantity::Speed, leadingNumber(truedVelocity), toMetric));
    metric = toMetric;
}

void RangeCardForm::setClickUnit(ClickUnit unit) {
    std::string& click = (*this)[CardField::Click];
    const std::string t = trimmed(click);
    if (unit == ClickUnit::Mil && t == kClickMoa)
        click = kClickMil;
    else if (unit == ClickUnit::Moa && t == kClickMil)
        click = kClickMoa;
    // The observed corrections are in the click unit, and change with it.
    if (unit != clickUnit) {
        const double factor =
            unit == ClickUnit::Mil ? metric::kMilPerMoa : 1 / metric::kMilPerMoa;
        for (Observation& o : observations)
            for (std::string* text : {&o.correction, &o.error})
                if (const std::string v = trimmed(*text); isDecimalNumber(v))
                    *text = fieldNumber(leadingNumber(v) * factor);
    }
    clickUnit = unit;
}

namespace {

// The number of a field: "" with `value` set (or left empty for a blank field that may be),
// or the refusal.
std::string fieldValue(const RangeCardForm& form, CardField f, std::optional<double>& value) {
    const CardFieldInfo& info = cardField(f);
    const std::string text = trimmed(form[f]);
    value.reset();
    if (text.empty())
        return info.blank == BlankField::Refused ? std::string("Enter the ") + info.name + "."
                                                 : std::string();
    if (!isDecimalNumber(text)) {
        std::size_t cut = std::min<std::size_t>(text.size(), 24);
        while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            ++cut; // never inside a character
        const std::string shown = cut < text.size() ? text.substr(0, cut) + "..." : text;
        return std::string("The ") + info.name + " must be a number, not '" + shown + "'.";
    }
    value = leadingNumber(text);
    if (!std::isfinite(*value))
        return std::string("The ") + info.name + " is too large.";
    return {};
}

// "0.496@2800, 0.485@1800": the bands as typed; their order and values are the card's to check.
std::string readBands(const std::string& text, std::vector<BcBand>& bands) {
    bands.clear();
    if (trimmed(text).empty())
        return {};
    for (const std::string& item : split(text, ',')) {
        const std::string t = trimmed(item);
        const std::size_t at = t.find('@');
        const std::string bc = trimmed(t.substr(0, at)),
                          v = at == std::string::npos ? "" : trimmed(t.substr(at + 1));
        if (!isDecimalNumber(bc) || !isDecimalNumber(v))
            return "The BC bands are written BC@velocity, fastest first and separated by commas "
                   "(0.496@2800, 0.485@1800), not '" +
                   t + "'.";
        bands.push_back({leadingNumber(bc), leadingNumber(v)});
    }
    return {};
}

std::string readBrackets(const std::string& text, std::vector<double>& brackets) {
    brackets.clear();
    if (trimmed(text).empty())
        return {};
    for (const std::string& item : split(text, ',')) {
        const std::string t = trimmed(item);
        if (!isDecimalNumber(t))
            return "The wind brackets are wind speeds separated by commas (5, 10), not '" + t +
                   "'.";
        brackets.push_back(leadingNumber(t));
    }
    return {};
}

} // namespace

std::string RangeCardForm::cardInput(const std::filesystem::path& programFolder,
                                     RangeCardInput& out) const {
    RangeCardInput in = metric ? RangeCardInput::metricDefaults() : RangeCardInput();
    const std::pair<CardField, double*> plain[] = {
        {F::BallisticCoefficient, &in.ballisticCoefficient},
        {F::Velocity, &in.velocity},
        {F::SightHeight, &in.sightHeight},
        {F::Zero, &in.zeroRange},
        {F::Click, &in.click},
        {F::Step, &in.step},
        {F::Maximum, &in.maximum},
        {F::Humidity, &in.humidity},
        {F::Altitude, &in.altitude},
        {F::WindSpeed, &in.windSpeed},
        {F::WindFrom, &in.windFrom},
        {F::LookAngle, &in.lookAngle},
        {F::VelocityTemperature, &in.velocityTemperature},
        {F::Sensitivity, &in.temperatureSensitivity}};
    const std::pair<CardField, std::optional<double>*> optional[] = {
        {F::Weight, &in.weight},
        {F::Diameter, &in.diameter},
        {F::Length, &in.length},
        {F::Twist, &in.twist},
        {F::Pressure, &in.pressure},
        {F::Temperature, &in.temperature},
        {F::Latitude, &in.latitude},
        {F::Azimuth, &in.azimuth},
        {F::PowderTemperature, &in.powderTemperature}};
    in.clickUnit = clickUnit;
    in.click = clickUnit == ClickUnit::Moa ? 0.25 : 0.1;
    std::optional<double> v;
    for (const auto& [field, target] : plain) {
        if (std::string refusal = fieldValue(*this, field, v); !refusal.empty())
            return refusal;
        if (v)
            *target = *v;
    }
    for (const auto& [field, target] : optional) {
        if (std::string refusal = fieldValue(*this, field, v); !refusal.empty())
            return refusal;
        *target = v;
    }
    in.dragModel = dragModel;
    if (dragModel == DragModel::File) {
        if (trimmed(dragFile).empty())
            return "Choose the drag file: lines of Mach number and drag coefficient.";
        in.dragFile = dragFile;
        if (in.dragFile.is_relative())
            in.dragFile = programFolder / in.dragFile;
        in.programFolder = programFolder;
    }
    in.dropScale = dropScale;
    if (std::string refusal = readBands((*this)[F::BcBands], in.bcBands); !refusal.empty())
        return refusal;
    if (std::string refusal = readBrackets((*this)[F::WindBrackets], in.windBrackets);
        !refusal.empty())
        return refusal;
    out = in;
    return {};
}

std::string RangeCardForm::hitInput(const RangeCardInput& card, int points, HitInput& out) const {
    HitInput in;
    in.card = card;
    in.shape = shape;
    const std::pair<CardField, double*> numbers[] = {{F::Dispersion, &in.dispersionMoa},
                                                     {F::VelocitySd, &in.velocitySd},
                                                     {F::WindSd, &in.windSd},
                                                     {F::RangeSd, &in.rangeSd},
                                                     {F::TargetWidth, &in.width},
                                                     {F::TargetHeight, &in.height},
                                                     {F::TargetDiameter, &in.diameter}};
    std::optional<double> v;
    for (const auto& [field, target] : numbers) {
        const bool used = shape == TargetShape::Rectangle
                              ? field != F::TargetDiameter
                              : field != F::TargetWidth && field != F::TargetHeight;
        if (!used)
            continue;
        if (std::string refusal = fieldValue(*this, field, v); !refusal.empty())
            return refusal;
        *target = v.value_or(0);
    }
    // The band of the chance needs the shots behind both spreads.
    int* const counts[] = {&in.velocitySdShots, &in.dispersionShots};
    const CardField countFields[] = {F::VelocitySdShots, F::DispersionShots};
    for (int i = 0; i < 2; ++i) {
        if (std::string refusal = fieldValue(*this, countFields[i], v); !refusal.empty())
            return refusal;
        if (v && !(*v >= 2 && *v <= 1000 && *v == std::floor(*v)))
            return std::string("The ") + cardField(countFields[i]).name +
                   " must be a whole number from 2 to 1000.";
        *counts[i] = v ? static_cast<int>(*v) : 0;
    }
    if ((in.velocitySdShots == 0) != (in.dispersionShots == 0))
        return "The band of the chance needs the shots behind both the velocity SD and the "
               "dispersion; give both, or neither.";
    if (!(card.maximum > card.zeroRange))
        return "The chance of a hit is drawn from the zero to the maximum range: make the "
               "maximum range larger than the zero.";
    points = std::max(points, 2);
    for (int i = 0; i < points; ++i)
        in.ranges.push_back(card.zeroRange + (card.maximum - card.zeroRange) * i / (points - 1));
    out = std::move(in);
    return {};
}

Result<std::vector<ObservedCorrection>> RangeCardForm::observedCorrections() const {
    using R = Result<std::vector<ObservedCorrection>>;
    std::vector<ObservedCorrection> out;
    const std::string unit = clickUnit == ClickUnit::Mil ? " mil" : " MOA";
    for (const Observation& o : observations) {
        const std::string range = trimmed(o.range), correction = trimmed(o.correction),
                          error = trimmed(o.error);
        if (range.empty() && correction.empty() && error.empty())
            continue;
        const auto number = [](const std::string& text) -> std::optional<double> {
            if (!isDecimalNumber(text))
                return std::nullopt;
            const double v = leadingNumber(text);
            return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
        };
        const auto r = number(range), c = number(correction);
        if (!r)
            return R::refused("An observed range must be a number, not '" + range + "'.");
        if (!c)
            return R::refused("The correction observed at " + range + (metric ? " m" : " yd") +
                              " must be a number of" + unit + ", not '" + correction + "'.");
        ObservedCorrection oc{*r, *c, std::nullopt};
        if (!error.empty()) {
            oc.error = number(error);
            if (!oc.error)
                return R::refused("The error of the correction at " + range +
                                  (metric ? " m" : " yd") + " must be a number of" + unit +
                                  ", not '" + error + "'.");
        }
        out.push_back(oc);
    }
    if (out.size() > kMostObservations)
        return R::refused("Truing takes at most " + std::to_string(kMostObservations) +
                          " observations.");
    return R::done(std::move(out));
}

Result<std::pair<MeasuredVelocity, MeasuredVelocity>> RangeCardForm::measuredVelocities() const {
    using R = Result<std::pair<MeasuredVelocity, MeasuredVelocity>>;
    std::pair<MeasuredVelocity, MeasuredVelocity> out;
    const struct {
        CardField velocity, distance, error;
        MeasuredVelocity* into;
    } sides[] = {{F::NearVelocity, F::NearDistance, F::NearError, &out.first},
                 {F::FarVelocity, F::FarDistance, F::FarError, &out.second}};
    for (const auto& side : sides) {
        std::optional<double> v, d, e;
        for (auto [field, value] : {std::pair{side.velocity, &v}, std::pair{side.distance, &d},
                                    std::pair{side.error, &e}}) {
            if (std::string refusal = fieldValue(*this, field, *value); !refusal.empty())
                return R::refused(refusal);
        }
        if (!v || !d)
            return R::refused(std::string("Enter the ") + cardField(side.velocity).name +
                              " and the distance it was measured at.");
        *side.into = {*v, *d, e};
    }
    return R::done(std::move(out));
}

RangeCardForm RangeCardForm::read(const std::filesystem::path& programFolder) {
    RangeCardForm form;
    const auto bytes = readInputFile(resolveName(programFolder, kFileName), 64 * 1024);
    if (!bytes)
        return form;
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos)
            end = bytes->size();
        std::string line = bytes->substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = trimmed(line.substr(0, eq));
        const std::string value = trimmed(line.substr(eq + 1));
        if (value.size() > 1000)
            continue;
        if (key == "units") {
            if (const auto i = choice(value, kUnits))
                form.metric = *i == 1;
        } else if (key == "drag") {
            if (const auto i = choice(value, kDrags))
                form.dragModel = static_cast<DragModel>(*i);
        } else if (key == "drag_file") {
            form.dragFile = value;
        } else if (key == "click_unit") {
            if (const auto i = choice(value, kClicks))
                form.clickUnit = static_cast<ClickUnit>(*i);
        } else if (key == "target") {
            if (const auto i = choice(value, kShapes))
                form.shape = static_cast<TargetShape>(*i);
        } else if (key == "observations") {
            form.observations = observationsFromText(cp1252ToUtf8(value));
        } else if (key == "drop_scale") {
            form.dropScale = knotsFromText(value);
        } else if (key == "trued_velocity") {
            form.truedVelocity = value;
        } else if (key == "trued_bc") {
            form.truedBallisticCoefficient = value;
        } else {
            for (const FieldRow& r : kFields)
                if (key == r.info.key)
                    form[r.info.field] = cp1252ToUtf8(value);
        }
    }
    return form;
}

Status RangeCardForm::write(const std::filesystem::path& programFolder) const {
    return replaceFile(resolveName(programFolder, kFileName), settingsLines(true));
}

std::string RangeCardForm::settingsText() const { return settingsLines(false); }

std::string RangeCardForm::settingsLines(bool codePage) const {
    // Line ends inside a value would make lines of their own; the file keeps windows-1252 (the
    // drag file's path stays the system's bytes).
    const auto clean = [codePage](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        return codePage ? utf8ToCp1252(trimmed(text)) : trimmed(text);
    };
    const auto cleanPath = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        return trimmed(text);
    };
    std::string out = "[Range card]\r\n";
    out += std::string("units=") + kUnits[metric ? 1 : 0] + "\r\n";
    out += std::string("drag=") + kDrags[static_cast<int>(dragModel)] + "\r\n";
    out += "drag_file=" + cleanPath(dragFile) + "\r\n";
    out += std::string("click_unit=") + kClicks[static_cast<int>(clickUnit)] + "\r\n";
    out += std::string("target=") + kShapes[static_cast<int>(shape)] + "\r\n";
    for (const FieldRow& r : kFields)
        out += std::string(r.info.key) + "=" + clean((*this)[r.info.field]) + "\r\n";
    out += "observations=" + clean(observationsText(observations)) + "\r\n";
    out += "drop_scale=" + knotsText(dropScale) + "\r\n";
    out += "trued_velocity=" + clean(truedVelocity) + "\r\n";
    out += "trued_bc=" + clean(truedBallisticCoefficient) + "\r\n";
    return out;
}

} // namespace fendrel
