// What a calculation run asks of whoever runs it: the main window (dialogs, status line) or the
// command line (answers given in advance).
#pragma once

#include "core/common/MessageIcon.h"
#include "core/common/SharedState.h"

#include <filesystem>
#include <optional>
#include <string>

namespace fendrel {


class RunHost {
public:
    virtual ~RunHost() = default;

    // The main window's status line.
    virtual void status(const std::string& text) = 0;
    // A message box with an OK button. Texts are windows-1252 bytes; lines are split by CR LF.
    // `details` (possibly empty) says what lies behind the message, for the box's details.
    virtual void message(const std::string& text, const std::string& title, MessageIcon icon,
                         const std::string& details) = 0;
    // The exterior ballistics specifications dialog, shown modally; on OK it has stored its
    // values into `settings`. False when it was cancelled.
    virtual bool specifications(RunSettings& settings) = 0;
    // An input box; Cancel gives the empty text.
    virtual std::string input(const std::string& prompt, const std::string& title,
                              const std::string& prefilled) = 0;
    // The save dialog for the output file (filter in the program's "text|pattern|" form, the
    // preselected entry counted from 1, the folder it starts in). The chosen path, or nullopt
    // on Cancel. Only the menu command asks it.
    virtual std::optional<std::string> saveFile(const std::string& filter, int filterIndex,
                                                const std::filesystem::path& startFolder) {
        (void)filter;
        (void)filterIndex;
        (void)startFolder;
        return std::nullopt;
    }
};

} // namespace fendrel
