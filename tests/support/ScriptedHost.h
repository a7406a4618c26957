// A session host that answers from a script and records what the session told and asked, for
// the tests of the windows' logic without a window.
#pragma once

#include "core/common/SessionHost.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace fendrel::test {

class ScriptedSessionHost : public SessionHost {
public:
    std::deque<bool> answers;                              // Yes/No in turn; then No
    std::deque<std::string> inputs;                        // input boxes in turn; then ""
    std::deque<std::optional<std::filesystem::path>> files; // file dialogs in turn; then Cancel
    std::vector<std::string> told, titles;       // messages and their titles
    std::vector<std::string> asked, askedTitles; // questions and input prompts
    std::vector<MessageIcon> askedIcons;         // of the questions
    std::vector<std::string> prefills; // of the input boxes
    std::vector<FileChoice> choices;

    void tell(const std::string& text, const std::string& title, MessageIcon,
              const std::string& = {}) override {
        told.push_back(text);
        titles.push_back(title);
    }
    bool ask(const std::string& question, const std::string& title, MessageIcon icon) override {
        asked.push_back(question);
        askedTitles.push_back(title);
        askedIcons.push_back(icon);
        return take(answers).value_or(false);
    }
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& prefilled) override {
        asked.push_back(prompt);
        askedTitles.push_back(title);
        prefills.push_back(prefilled);
        return take(inputs).value_or("");
    }
    std::optional<std::filesystem::path> openFile(const FileChoice& choice) override {
        choices.push_back(choice);
        return take(files).value_or(std::nullopt);
    }
    std::optional<std::filesystem::path> saveFile(const FileChoice& choice) override {
        return openFile(choice);
    }
    // The last message told, or "".
    std::string last() const { return told.empty() ? std::string() : told.back(); }

private:
    template <typename T> static std::optional<T> take(std::deque<T>& queue) {
        if (queue.empty())
            return std::nullopt;
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

} // namespace fendrel::test
