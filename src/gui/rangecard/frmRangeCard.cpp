#include "frmRangeCard.h"

#include "gui/ui/AppContext.h"

namespace fendrel {

frmRangeCard::frmRangeCard(AppContext& context) : m_context(context) {
    setObjectName(QStringLiteral("frmRangeCard"));
    setWindowTitle(QStringLiteral("Range Card"));
}

} // namespace fendrel
