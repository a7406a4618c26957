// The Range Card window: the corrections to dial for the air of the day, with a chart of the
// path and the drift, and the hit probability of the load.
#pragma once

#include <QMainWindow>

namespace fendrel {

struct AppContext;

class frmRangeCard : public QMainWindow {
    Q_OBJECT
public:
    explicit frmRangeCard(AppContext& context);

private:
    AppContext& m_context;
};

} // namespace fendrel
