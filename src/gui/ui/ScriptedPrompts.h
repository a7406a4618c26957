// Dialogs answered from a script, for tests: each request takes the next answer of its kind
// and is recorded with everything it showed.
#pragma once

#include "Prompts.h"

#include <QList>
#include <QStringList>
#include <deque>

namespace fendrel {

struct PromptRecord {
    QString kind; // "message", "input", "open", "save", "print", "folder"
    QString text; // message text, input prompt
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    QString prefilled;
    QString details; // a message's details
    FileRequest file;
    PrintSetup print;
};

class ScriptedPrompts : public Prompts {
public:
    // Queued answers. A message with no queued answer is answered Ok (or No for Yes/No);
    // an input, file, print or folder request with none is cancelled.
    std::deque<Answer> answers;
    std::deque<QString> inputs;
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<PrintSetup>> prints;
    std::deque<std::optional<QString>> folders;

    QList<PromptRecord> asked;

    Answer message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                   Buttons buttons, const QString& details) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& prefilled) override;
    std::optional<QString> openFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileRequest& request) override;
    std::optional<PrintSetup> print(QWidget* parent, const PrintSetup& initial) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& startFolder) override;

    // The texts of all message boxes shown, in order.
    QStringList messages() const;
    const PromptRecord* last() const { return asked.isEmpty() ? nullptr : &asked.back(); }
};

} // namespace fendrel
