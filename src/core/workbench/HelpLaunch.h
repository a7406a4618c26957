// Which help viewer the How-to entry starts, by operating-system family and version.
#pragma once

#include <string>
#include <string_view>

namespace fendrel {

enum class HelpAction {
    UndefinedSystem, // tell the user that help cannot be launched
    StartViewer,     // start `command` followed by the help file path
    OwnViewer,       // show the help file in the program's own help window
    Nothing,
};

struct HelpDecision {
    HelpAction action = HelpAction::Nothing;
    std::string command;
};

// Operating-system families: 0 undefined, 1 and 2 the two desktop families with their own
// viewer paths, kLinuxFamily this program's own platform.
inline constexpr int kLinuxFamily = 100;

HelpDecision helpViewerFor(int family, std::string_view version);

// The help file below the program folder.
inline constexpr const char* kHelpFileName = "HelpDocs\\HELP-Fendrel.chm";

} // namespace fendrel
