// What the logic of a window asks of whoever shows it: a message, a yes-or-no question, a line
// typed, a file chosen. The window answers through its dialogs; the command line and the tests
// answer from what they were given. Every text is UTF-8; paths are the system's bytes.
#pragma once

#include "MessageIcon.h"

#include <filesystem>
#include <optional>
#include <string>

namespace fendrel {

// A file dialog as the program asks for it. `filter` is the program's own form: descriptions
// and patterns, each followed by a vertical bar ("text file (.txt)|*.txt|..."); `filterIndex`
// is the entry preselected, counted from 1.
struct FileChoice {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::filesystem::path startFolder;
    std::string fileName; // preset name
};

class SessionHost {
public:
    virtual ~SessionHost() = default;

    // A message box with an OK button. `details`, when not empty, says what lies behind a
    // message whose text is fixed (the system's reason for a failed write).
    virtual void tell(const std::string& text, const std::string& title, MessageIcon icon,
                      const std::string& details = {}) = 0;
    // A Yes/No question: true for Yes.
    virtual bool ask(const std::string& question, const std::string& title, MessageIcon icon) = 0;
    // An input box; Cancel gives the empty text.
    virtual std::string input(const std::string& prompt, const std::string& title,
                              const std::string& prefilled) = 0;
    // The file chosen; nullopt on Cancel.
    virtual std::optional<std::filesystem::path> openFile(const FileChoice& choice) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileChoice& choice) = 0;
};

} // namespace fendrel
