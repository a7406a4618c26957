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

// A refusal of OK, shown as the dialog shows every one.
Status refusal(const std::string& text, RunSettingsBox box, RunSettingsBox* atFault) {
    if (atFault)
        *atFault = box;
    return Status::refused(text, "Error", MessageIcon::Information);
}

// The 16-bit value of a box, or a refusal naming its frame.
Status wholeValue(const std::string& text, const char* frame, RunSettingsBox box,
                  std::int16_t& out, RunSettingsBox* atFault) {
    try {
        out = toInt16(leadingNumber(text));
        return {};
    } catch (const OverflowError&) {
        return refusal(std::string("The value of \"") + frame +
                           "\" must be a whole number from -32768 to 32767",
                       box, atFault);
    }
}

} // namespace

Status acceptRunSettings(const RunSettingsTexts& texts, RunSettings& settings,
                         RunSettingsBox* atFault) {
    using B = RunSettingsBox;
    if (atFault)
        *atFault = B::None;
    const double maximum = leadingNumber(texts.rangeMaximum);
    if (maximum < leadingNumber(texts.rangeInterval))
        return refusal(kIntervalRefusal, B::Interval, atFault);
    if (maximum < leadingNumber(texts.zeroRange))
        return refusal(kZeroRefusal, B::Zero, atFault);

    RunSettings s = settings;
    s.unitsCode = texts.meters ? "M" : "Y";
    const struct {
        const std::string& text;
        const char* frame;
        B box;
        std::int16_t& value;
    } wholes[] = {{texts.rangeMaximum, "Range Maximum", B::Maximum, s.maximumRange},
                  {texts.rangeInterval, "Range Interval", B::Interval, s.rangeInterval},
                  {texts.downrangeWind, "Downrange wind velocity", B::DownrangeWind,
                   s.downrangeWind},
                  {texts.crossWind, "Cross wind velocity", B::CrossWind, s.crossWind},
                  {texts.zeroRange, "Range of zero or match", B::Zero, s.zeroRange}};
    for (const auto& w : wholes)
        if (Status r = wholeValue(w.text, w.frame, w.box, w.value, atFault); !r)
            return r;
    s.zeroHeight = leadingNumber(texts.zeroHeight);
    if (!std::isfinite(s.zeroHeight))
        return refusal("The value of \"Height of trajectory at zero or match\" is too large",
                       B::ZeroHeight, atFault);
    if (s.rangeInterval <= 0)
        return refusal("The range interval must be greater than zero", B::Interval, atFault);
    if (s.zeroRange < 0)
        return refusal("The range at zero must not be negative", B::Zero, atFault);
    try {
        // The terminal step counts the rows of its table in one byte.
        (void)toUInt8(static_cast<double>(s.maximumRange) / s.rangeInterval);
    } catch (const OverflowError&) {
        return refusal(kRowsRefusal, B::Interval, atFault);
    }
    settings = s;
    return {};
}

} // namespace fendrel
