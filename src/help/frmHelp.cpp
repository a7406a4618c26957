#include "frmHelp.h"

#include "app/AppContext.h"

namespace fendrel {

frmHelp::frmHelp(AppContext& context) : QWidget(nullptr), m_context(context) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Fen-drel Help"));
}

bool frmHelp::loadHelpFile() { return false; }

} // namespace fendrel
