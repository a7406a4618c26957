// The import's list of the series a chronograph or e-target export holds: the user ticks the
// series to import and names the load they go to. The list and what it starts with are the
// session's (LoadHistorySession::ImportPlan); the dialog only shows them and hands back the
// choice.
#pragma once

#include "core/history/LoadHistorySession.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace fendrel {

class frmImportSeries : public QDialog {
    Q_OBJECT
public:
    frmImportSeries(const LoadHistorySession::ImportPlan& plan, QWidget* parent = nullptr);

    // What the user ticked, a flag a series, and the load named.
    std::vector<bool> ticked() const;
    std::string load() const;

    QLabel* lblSource;
    QLabel* lblSeries;
    QTableWidget* grdSeries;
    QLabel* lblNotices;
    QLabel* lblLoad;
    QComboBox* cmbLoad;
    QPushButton* cmdAll;
    QPushButton* cmdNone;
    QPushButton* cmdImport;
    QPushButton* cmdCancel;

private:
    void tickAll(bool on);
};

} // namespace fendrel
