#include "frmLoadHistory.h"

#include "gui/ui/AppContext.h"

namespace fendrel {

frmLoadHistory::frmLoadHistory(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmLoadHistory"));
    setWindowTitle(QStringLiteral("Load History"));
}

} // namespace fendrel
