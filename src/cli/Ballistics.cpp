// fendrel-calc ballistics: the calculation run of the main window on a record of rounds.dtb,
// with the specifications dialog's values given as options.
#include "Commands.h"

#include "core/engine/BallisticsEngine.h"
#include "core/engine/ExteriorSummary.h"
#include "core/engine/RunSettingsEntry.h"

#include "core/common/Numbers.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fendrel::cli {

namespace {

constexpr const char* kName = "ballistics";

int usageError(const std::string& text) {
    std::fprintf(stderr, "fendrel-calc ballistics: %s\n", text.c_str());
    return 2;
}

int refused(const std::string& text) {
    std::fprintf(stderr, "fendrel-calc ballistics: %s\n", text.c_str());
    return 1;
}

// A message box's text on one line.
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out.push_back(' ');
        else if (c != '\r')
            out.push_back(c);
    }
    return out;
}

// The answers of the window, given in advance.
class CommandLineHost : public RunHost {
public:
    explicit CommandLineHost(std::optional<std::string> styleAnswer)
        : m_styleAnswer(std::move(styleAnswer)) {}

    void status(const std::string&) override {}
    void message(const std::string& text, const std::string&, MessageIcon,
                 const std::string& details) override {
        // The cause names what went wrong better than the window's general text.
        m_message = oneLine(details.empty() ? text : details);
    }
    bool specifications(RunSettings&) override { return true; }
    std::string input(const std::string&, const std::string&, const std::string&) override {
        ++m_styleQuestions;
        // The answer is given once; a question asked again is cancelled.
        if (m_styleQuestions == 1 && m_styleAnswer)
            return *m_styleAnswer;
        return {};
    }

    const std::string& lastMessage() const { return m_message; }

private:
    std::optional<std::string> m_styleAnswer;
    int m_styleQuestions = 0;
    std::string m_message;
};

int run(const std::vector<std::string>& args) {
    Options o;
    if (!parseOptions(kName, args,
                      {"round", "units", "interval", "max", "downrange-wind", "cross-wind", "zero",
                       "zero-height", "style-answer", "output", "program-folder"},
                      o))
        return 2;
    if (!o.positional.empty())
        return usageError("unexpected argument '" + o.positional.front() + "'");
    if (!o.has("round"))
        return usageError("--round N is required (N counts the records of rounds.dtb from 0)");
    if (!o.has("output") || o.get("output").empty())
        return usageError("--output FILE is required");
    const std::string roundText = o.get("round");
    if (roundText.empty() || roundText.size() > 9 ||
        roundText.find_first_not_of("0123456789") != std::string::npos)
        return usageError("--round needs a record number (0, 1, 2, ...)");

    RunSettingsTexts texts = settingsTextsOnOpen(0, 0);
    if (o.has("units")) {
        const std::string units = o.get("units");
        if (units != "Y" && units != "M")
            return usageError("--units must be Y (yards) or M (meters)");
        texts.meters = units == "M";
    }
    struct NumberOption {
        const char* name;
        std::string* box;
    };
    const NumberOption numbers[] = {
        {"interval", &texts.rangeInterval},
        {"max", &texts.rangeMaximum},
        {"downrange-wind", &texts.downrangeWind},
        {"cross-wind", &texts.crossWind},
        {"zero", &texts.zeroRange},
        {"zero-height", &texts.zeroHeight},
    };
    for (const auto& n : numbers) {
        if (!o.has(n.name))
            continue;
        const std::string value = o.get(n.name);
        if (!isDecimalNumber(value))
            return usageError(std::string("--") + n.name + " needs a number, not '" + value + "'");
        *n.box = value;
    }

    RunSettings settings;
    if (const Status accepted = acceptRunSettings(texts, settings); !accepted)
        return refused(accepted.refusal);

    const std::filesystem::path folder = programFolder(o);
    RoundTexts round;
    if (std::string reason = readRound(folder, std::stoul(roundText), round); !reason.empty())
        return refused(reason);

    std::optional<std::string> answer;
    if (o.has("style-answer"))
        answer = o.get("style-answer");
    CommandLineHost host(answer);
    BallisticsEngine engine;
    const RunResult result = engine.calculate(folder, round, settings, o.get("output"), host);
    if (result.completed())
        return 0;
    switch (result.stop) {
    case RunStop::StyleUnknown:
        return refused("the bullet style \"" + round.bulletStyle +
                       "\" names no known style: answer the style question with --style-answer "
                       "1 (round nose), 2 (semi-pointed) or 3 (pointed)");
    default:
        return refused(host.lastMessage().empty() ? std::string("the calculation stopped")
                                                  : host.lastMessage());
    }
}

Registrar registrar(kName,
                    "ballistics --round N [--units Y|M] [--interval I] [--max M] "
                    "[--downrange-wind W] [--cross-wind C] [--zero Z] [--zero-height H] "
                    "[--style-answer A] --output FILE [--program-folder DIR]",
                    run);

} // namespace

} // namespace fendrel::cli
