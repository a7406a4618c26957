// A run host that answers from a script and records what the run asked and showed, and the
// rounds of the engine tests.
#pragma once

#include "core/engine/RoundTexts.h"
#include "core/engine/RunHost.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace fendrel::test {

class ScriptedHost : public RunHost {
public:
    std::optional<RunSettings> dialogSettings; // stored by the dialog on OK; nullopt = Cancel
    std::deque<std::string> inputAnswers;      // the input box answers in turn; then ""
    std::optional<std::string> savedFile;      // the save dialog's answer; nullopt = Cancel
    std::vector<std::string> statuses, messages, titles, details, prompts, startFolders;
    int specsShown = 0;

    void status(const std::string& text) override { statuses.push_back(text); }
    void message(const std::string& text, const std::string& title, MessageIcon,
                 const std::string& detail) override {
        messages.push_back(text);
        titles.push_back(title);
        details.push_back(detail);
    }
    bool specifications(RunSettings& settings) override {
        ++specsShown;
        settings = dialogSettings.value_or(settings);
        return dialogSettings.has_value();
    }
    std::string input(const std::string& prompt, const std::string&, const std::string&) override {
        prompts.push_back(prompt);
        if (inputAnswers.empty())
            return "";
        std::string a = inputAnswers.front();
        inputAnswers.pop_front();
        return a;
    }
    std::optional<std::string> saveFile(const std::string&, int,
                                        const std::filesystem::path& start) override {
        startFolders.push_back(start.string());
        return savedFile;
    }
};

inline RunSettings settingsOf(const char* units, int interval, int maximum, int zero,
                              double zeroHeight = 0, int downrange = 0, int cross = 0) {
    using W = std::int16_t;
    RunSettings s;
    s.unitsCode = units, s.rangeInterval = W(interval), s.maximumRange = W(maximum);
    s.zeroRange = W(zero), s.zeroHeight = zeroHeight;
    s.downrangeWind = W(downrange), s.crossWind = W(cross);
    return s;
}

// clang-format off
// Description, caliber, weight, BC, SD, style, charge, velocity, firearm weight. The first is
// the round of the independent trajectory check with the recoil example's charge and firearm;
// the last names no style ("Flat" with a capital F), so the style question is asked.
inline RoundTexts checkRound() {
    return {"308 trajectory check", ".308 Winchester", "150", ".400", ".226", "spitzer boat tail", "45", "2700", "8"};
}
inline RoundTexts longRangeRound() {
    return {"6.5mm long range", ".264 Winchester Magnum", "140", ".585", ".287", "PSP match", "41.5", "2750", "9.25"};
}
inline RoundTexts leverRound() {
    return {"Lever gun load", ".30-30 Winchester", "170", ".254", ".240", "Flat point", "33", "2150", "7"};
}
// clang-format on

} // namespace fendrel::test
