// Every dialog the program shows goes through this interface: message boxes, input boxes, file
// dialogs, the print dialog and the folder chooser. The application uses QtPrompts; tests use
// ScriptedPrompts, which answers from a queue and records what was asked.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace fendrel {

enum class Icon { None, Error, Question, Exclamation, Information };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

// A file dialog as the program asks for it. `filter` is the program's own form: descriptions
// and patterns, each followed by a vertical bar ("text file (.txt)|*.txt|..."). `filterIndex`
// is the preselected entry, counted from 1.
struct FileRequest {
    QString title;
    QString filter;
    int filterIndex = 1;
    QString startFolder;
    QString fileName; // preset name
};

struct PrintSetup {
    int copies = 1;
    bool landscape = false;
    QString printerName;  // empty: the default printer
    QString outputFile;   // non-empty: print to this PDF file instead (one file per job)
};

class Prompts {
public:
    virtual ~Prompts() = default;

    // `details` (when not empty) is shown behind a Details button: the cause of a failure
    // whose message text is fixed.
    virtual Answer message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                           Buttons buttons, const QString& details = QString()) = 0;
    // The text typed; Cancel gives the empty text.
    virtual QString input(QWidget* parent, const QString& prompt, const QString& title,
                          const QString& prefilled) = 0;
    // The chosen file; nullopt on Cancel.
    virtual std::optional<QString> openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileRequest& request) = 0;
    // The print settings chosen; nullopt on Cancel.
    virtual std::optional<PrintSetup> print(QWidget* parent, const PrintSetup& initial) = 0;
    // The chosen folder; nullopt on Cancel.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                                const QString& startFolder) = 0;
};

// The icon of a message the core asks for.
enum class MessageIcon;
Icon promptIcon(MessageIcon icon);

// Converts the program's filter form into Qt's ("text file (.txt) (*.txt);;...").
QString qtFilter(const QString& programFilter);
// The Qt filter entry at a 1-based index of the program's filter, or empty.
QString qtFilterEntry(const QString& programFilter, int index);

} // namespace fendrel
