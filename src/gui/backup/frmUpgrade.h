// The window "Prepare your Fen-drel files for upgrade": the databases and chosen user data files
// are copied into a restore package, and a read-me on the Desktop says where it is.
#pragma once

#include "core/backup/BackupPackage.h"

#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace fendrel {

struct AppContext;

class frmUpgrade : public QWidget {
    Q_OBJECT
public:
    explicit frmUpgrade(AppContext& context);

    QLabel* Label1;
    QCheckBox* chkDTB;
    QLabel* Label2;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    std::array<QListWidget*, 4> filStep2{};
    std::array<QToolButton*, 4> cmdAdd2{};
    QLabel* Label11;
    QListWidget* lstBak;
    QPushButton* cmdRemove;
    QPushButton* cmdBackup;
    QLabel* Label3;
    QProgressBar* prgCopy;

    // Where the Desktop folder comes from: by default the desktop's own setting; an empty or
    // missing folder counts as none.
    void setDesktopLookup(std::function<QString()> lookup) { m_desktopLookup = std::move(lookup); }
    // The user's home folder: the default package folder lies in it, and it takes the read-me
    // when there is no Desktop folder.
    void setHomeFolder(const QString& folder) { m_home = folder; }
    QString homeFolder() const { return m_home; }

    // The Desktop folder, asking the user to browse for it when it cannot be found; "" when
    // there is none.
    QString GetDesktopPath();

    const BackupList& backupList() const { return m_list; }
    // The names behind the entries of file list i.
    const std::vector<std::string>& shownFiles(int i) const { return m_shown[size_t(i)]; }

    // Fills the four file lists from the user data folder and empties the backup list.
    void Form_Load();

public slots:
    void cmdAdd2_Click(int index);
    void cmdRemove_Click();
    void cmdBackup_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showBackupList();
    void showProgress(size_t done, size_t total);
    void failed(const QString& text);

    AppContext& m_context;
    BackupList m_list;
    std::array<std::vector<std::string>, 4> m_shown;
    std::function<QString()> m_desktopLookup;
    QString m_home;
    bool m_busy = false;
};

} // namespace fendrel
