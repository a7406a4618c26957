// The Load History window: the chronograph strings and groups kept for each load, compared.
#pragma once

#include <QMainWindow>

namespace fendrel {

struct AppContext;

class frmLoadHistory : public QMainWindow {
    Q_OBJECT
public:
    explicit frmLoadHistory(AppContext& context);

private:
    AppContext& m_context;
};

} // namespace fendrel
