// The dialogs of the running program.
#pragma once

#include "Prompts.h"

namespace fendrel {

class QtPrompts : public Prompts {
public:
    Answer message(QWidget* parent, const QString& text, const QString& title, Icon icon,
                   Buttons buttons, const QString& details) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& prefilled) override;
    std::optional<QString> openFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileRequest& request) override;
    std::optional<PrintSetup> print(QWidget* parent, const PrintSetup& initial) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& startFolder) override;
};

} // namespace fendrel
