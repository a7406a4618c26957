// The program's help window: the pages of the help file with their contents beside them.
#pragma once

#include <QWidget>

namespace fendrel {

struct AppContext;

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(AppContext& context);
    // Opens the help file of the program folder; false when it cannot be read.
    bool loadHelpFile();

private:
    AppContext& m_context;
};

} // namespace fendrel
