// The range card window's fields as the user types them: what each one means, how it turns
// into a range card and a hit probability input, how it converts between imperial and metric
// units, and how the window remembers them in rangecard.ini in the program folder.
//
// Texts are UTF-8, as the window shows them; rangecard.ini keeps them in the program's code page
// (windows-1252). The drag file is a path in the system's bytes.
#pragma once

#include "HitProbability.h"
#include "RangeCardInput.h"
#include "Truing.h"
#include "core/common/SafeFile.h"
#include "core/engine/RoundTexts.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

namespace fendrel {

enum class CardField {
    BallisticCoefficient,
    Velocity,
    Weight,
    Diameter,
    Length,
    Twist,
    SightHeight,
    Zero,
    Click,
    Step,
    Maximum,
    Pressure,
    Temperature,
    Humidity,
    Altitude,
    WindSpeed,
    WindFrom,
    LookAngle,
    Latitude,
    Azimuth,
    PowderTemperature,
    VelocityTemperature,
    Sensitivity,
    TargetWidth,
    TargetHeight,
    TargetDiameter,
    Dispersion,
    VelocitySd,
    WindSd,
    RangeSd,
    VelocitySdShots, // the shots the velocity SD was measured from: the band of the hit chance
    DispersionShots, // the shots of the groups behind the dispersion
    NearVelocity,    // truing the BC: a velocity measured near the muzzle,
    NearDistance,
    NearError,       // and its standard error
    FarVelocity,     // and one far downrange
    FarDistance,
    FarError,
    BcBands,      // "B@V, B@V": the BC by velocity bands, fastest first; empty: the one BC
    WindBrackets, // "5, 10": crosswinds whose windage every row gives too
    DangerHeight, // a target's height: every row gives its danger space
    Count
};
inline constexpr std::size_t kCardFieldCount = static_cast<std::size_t>(CardField::Count);

// What an empty field means.
enum class BlankField {
    Refused, // the value is needed
    Missing, // left out: the card goes without it or takes a standard value
    Default, // the card's usual value (0 for the standard deviations)
};

struct CardFieldInfo {
    CardField field;
    const char* key;  // in rangecard.ini
    const char* name; // in messages: "muzzle velocity"
    BlankField blank;
    const char* blankMeaning; // what an empty field stands for, shown in it ("standard")
    const char *imperialInitial, *metricInitial; // a new window's texts
};

std::span<const CardFieldInfo> cardFields();
const CardFieldInfo& cardField(CardField field);

// The unit a field is typed in ("ft/s", "m/s", "\u00B0F"), UTF-8; empty for a plain number.
std::string cardFieldUnit(CardField field, bool metric, ClickUnit click);

// The observations a truing takes at the most.
inline constexpr std::size_t kMostObservations = 200;

// A number as a field shows it: at most `significant` significant digits, no trailing zeros.
std::string fieldNumber(double value, int significant = 5);

class RangeCardForm {
public:
    static constexpr const char* kFileName = "rangecard.ini";

    RangeCardForm(); // a new window's values, imperial

    std::string& operator[](CardField f) { return m_texts[static_cast<std::size_t>(f)]; }
    const std::string& operator[](CardField f) const {
        return m_texts[static_cast<std::size_t>(f)];
    }

    // An observed correction as typed: range (form units), correction and its standard error
    // (the click unit); an empty error takes the usual one.
    struct Observation {
        std::string range, correction, error;
        bool operator==(const Observation&) const = default;
    };

    bool metric = false;
    DragModel dragModel = DragModel::G1;
    std::string dragFile; // for DragModel::File; a relative path is in the program folder
    ClickUnit clickUnit = ClickUnit::Moa;
    TargetShape shape = TargetShape::Rectangle;
    // Truing: the corrections observed downrange, the drop scale in use, and the velocity and
    // BC texts the last truing put in their fields (the card counts as trued while the fields
    // still hold them).
    std::vector<Observation> observations;
    std::vector<DropScaleKnot> dropScale;
    std::string truedVelocity, truedBallisticCoefficient;

    // Takes the ballistic coefficient, velocity, weight and the caliber's diameter from the
    // round on the main window, in the form's units; a value without a number leaves its field
    // empty.
    void takeRound(const RoundTexts& round);
    // Switches the units, converting every number typed, the initial values too (a 100 yd zero
    // becomes a 91.44 m zero): the card stays what it was.
    void setMetric(bool toMetric);
    // Switches the click unit; the usual click of one (0.25 MOA) becomes that of the other
    // (0.1 mil).
    void setClickUnit(ClickUnit unit);

    // The range card input, or the reason the fields cannot give one.
    std::string cardInput(const std::filesystem::path& programFolder, RangeCardInput& out) const;
    // The hit probability input for `card` at `points` ranges evenly from the zero to the
    // card's maximum, or the reason there is none.
    std::string hitInput(const RangeCardInput& card, int points, HitInput& out) const;
    // The observed corrections, rows without a range skipped, or the reason they cannot be read.
    Result<std::vector<ObservedCorrection>> observedCorrections() const;
    // The near and far velocities for truing the BC, or the reason they cannot be read.
    Result<std::pair<MeasuredVelocity, MeasuredVelocity>> measuredVelocities() const;

    // rangecard.ini: "key=value" lines under a [Range card] heading. A missing, unreadable or
    // damaged file, or a line that makes no sense, leaves the new window's values.
    static RangeCardForm read(const std::filesystem::path& programFolder);
    Status write(const std::filesystem::path& programFolder) const;
    // The "key=value" lines rangecard.ini holds, UTF-8 (a truing keeps them in the history).
    std::string settingsText() const;

private:
    std::string settingsLines(bool codePage) const;

    std::array<std::string, kCardFieldCount> m_texts;
};

} // namespace fendrel
