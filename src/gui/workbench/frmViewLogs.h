// "View and Edit": the program's own data files as plain text. Each load makes a numbered
// backup first; Save writes the text back to the file that was loaded.
#pragma once

#include <QMainWindow>
#include <filesystem>

class QAction;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace fendrel {

struct AppContext;

class frmViewLogs : public QMainWindow {
    Q_OBJECT
public:
    explicit frmViewLogs(AppContext& context);

    QPlainTextEdit* txt1;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QMenu* mnuFile;
    QAction* mnuFileOpen;
    QAction* mnuFileSave;
    QAction* mnuFileClose;

    // Loads the file named by the current data file path (or asks for one when it is empty).
    void Form_Load();
    // Loads another file into the open editor, asking first when the text has unsaved changes.
    void loadOther();
    // Backup, count, text: loads the current data file path into txt1. False when it failed.
    bool LoadText();
    // Lets the user pick a file; false on Cancel.
    bool OpenFile();

    // The file whose text is shown; empty when nothing loaded.
    const std::filesystem::path& loadedFile() const { return m_loaded; }

public slots:
    void cmdSave_Click();
    void cmdCancel_Click();
    void mnuFileOpen_Click();

private:
    AppContext& m_context;
    std::filesystem::path m_loaded;
};

} // namespace fendrel
