// Specifications dialog checks and storage.
#include "RunSettingsEntry.h"

#include "core/common/Numbers.h"

#include <cmath>

namespace fendrel {

RunSettingsTexts settingsTextsOnOpen(double effectiveDownrangeWind, double effectiveCrossWind) {
    RunSettingsTexts t;
    t.downrangeWind = generalNumber(effectiveDownrangeWind);
    t.crossWind = generalNumber(effectiveCrossWind);
    return t;
}

std::string unitWord(bool meters) {
    return meters ? "meters" : "yards";
}

namespace {

// The 16-bit value of a box, or a refusal naming its frame.
std::optional<RunSettingsRefusal> wholeValue(const std::string& text, const char* frame,
                                       const char* control, std::int16_t& out) {
    try {
        out = toInt16(leadingNumber(text));
        return std::nullopt;
    } catch (const OverflowError&) {
        RunSettingsRefusal r;
        r.text = std::string("The value of \"") + frame +
                 "\" must be a whole number from -32768 to 32767";
        r.control = control;
        return r;
    }
}

RunSettingsRefusal refusal(const std::string& text, const char* control) {
    RunSettingsRefusal r;
    r.text = text;
    r.control = control;
    return r;
}

} // namespace

std::optional<RunSettingsRefusal> acceptRunSettings(const RunSettingsTexts& texts, RunSettings& settings) {
    const double maximum = leadingNumber(texts.rangeMaximum);
    if (maximum < leadingNumber(texts.rangeInterval))
        return refusal(kIntervalRefusal, "txtRInt");
    if (maximum < leadingNumber(texts.zeroRange))
        return refusal(kZeroRefusal, "txtRZero");

    RunSettings s = settings;
    s.unitsCode = texts.meters ? "M" : "Y";
    if (auto r = wholeValue(texts.rangeMaximum, "Range Maximum", "txtRMax", s.maximumRange))
        return r;
    if (auto r = wholeValue(texts.rangeInterval, "Range Interval", "txtRInt", s.rangeInterval))
        return r;
    if (auto r = wholeValue(texts.downrangeWind, "Downrange wind velocity", "txtRangeWind",
                            s.downrangeWind))
        return r;
    if (auto r = wholeValue(texts.crossWind, "Cross wind velocity", "txtCrossWind", s.crossWind))
        return r;
    if (auto r = wholeValue(texts.zeroRange, "Range of zero or match", "txtRZero", s.zeroRange))
        return r;
    s.zeroHeight = leadingNumber(texts.zeroHeight);
    if (!std::isfinite(s.zeroHeight))
        return refusal("The value of \"Height of trajectory at zero or match\" is too large",
                       "txtRHeight");
    if (s.rangeInterval <= 0)
        return refusal("The range interval must be greater than zero", "txtRInt");
    if (s.zeroRange < 0)
        return refusal("The range at zero must not be negative", "txtRZero");
    try {
        // The terminal step counts the rows of its table in one byte.
        (void)toUInt8(static_cast<double>(s.maximumRange) / s.rangeInterval);
    } catch (const OverflowError&) {
        return refusal(kRowsRefusal, "txtRInt");
    }
    settings = s;
    return std::nullopt;
}

} // namespace fendrel
