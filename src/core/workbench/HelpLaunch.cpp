// The help viewer decision.
#include "HelpLaunch.h"

#include "core/common/Numbers.h"

namespace fendrel {

HelpDecision helpViewerFor(int family, std::string_view version) {
    HelpDecision d;
    switch (family) {
    case 0:
        d.action = HelpAction::UndefinedSystem;
        break;
    case 1:
        d.action = HelpAction::StartViewer;
        d.command = "c:\\windows\\system\\hh.exe ";
        break;
    case 2:
        d.action = HelpAction::StartViewer;
        d.command = leadingNumber(version) > 5 ? "c:\\windows\\hh.exe " : "c:\\winnt\\system32\\hh.exe ";
        break;
    case kLinuxFamily:
        d.action = HelpAction::OwnViewer;
        break;
    default:
        break;
    }
    return d;
}

} // namespace fendrel
