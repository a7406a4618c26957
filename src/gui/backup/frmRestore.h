// The window "Restore your Fendrel files": copies a restore package back into the program
// folder and its user data folder.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace fendrel {

struct AppContext;

class frmRestore : public QWidget {
    Q_OBJECT
public:
    explicit frmRestore(AppContext& context);

    QLabel* Label1;
    QLineEdit* txtRestorePackage;
    QToolButton* cmdBrowse;
    QPushButton* cmdRestore;
    QPushButton* cmdCancel;
    QListWidget* filRestore; // the package's data files, never shown
    QProgressBar* prgCopy;

    // The home folder: the browse dialog starts there, and a relative or "~" package path is
    // taken in it.
    void setHomeFolder(const QString& folder) { m_home = folder; }

    // Lets the user pick any file of the package and keeps its folder as the current path.
    // False when the dialog was cancelled.
    bool OpenFile();

public slots:
    void cmdBrowse_Click();
    void cmdRestore_Click();
    void cmdCancel_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showRestoreFailure(const QString& path, const QString& reason, size_t copied);
    void showProgress(size_t done, size_t total);

    AppContext& m_context;
    QString m_home;
    std::optional<QString> m_currentPath; // the folder of the file chosen last
    bool m_busy = false;
};

} // namespace fendrel
