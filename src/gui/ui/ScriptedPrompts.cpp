// Scripted dialogs for tests.
#include "ScriptedPrompts.h"

namespace fendrel {

namespace {
template <typename T> T takeFront(std::deque<T>& queue, T fallback) {
    if (!queue.empty()) {
        fallback = std::move(queue.front());
        queue.pop_front();
    }
    return fallback;
}
} // namespace

Answer ScriptedPrompts::message(QWidget*, const QString& text, const QString& title, Icon icon,
                                Buttons buttons, const QString& details) {
    PromptRecord r;
    r.kind = QStringLiteral("message");
    r.text = text;
    r.details = details;
    r.title = title;
    r.icon = icon;
    r.buttons = buttons;
    asked.append(r);
    return takeFront(answers, buttons == Buttons::Ok ? Answer::Ok : Answer::No);
}

QString ScriptedPrompts::input(QWidget*, const QString& prompt, const QString& title,
                               const QString& prefilled) {
    PromptRecord r;
    r.kind = QStringLiteral("input");
    r.text = prompt;
    r.title = title;
    r.prefilled = prefilled;
    asked.append(r);
    return takeFront(inputs, QString());
}

std::optional<QString> ScriptedPrompts::openFile(QWidget*, const FileRequest& request) {
    PromptRecord r;
    r.kind = QStringLiteral("open");
    r.title = request.title;
    r.file = request;
    asked.append(r);
    return takeFront(files, std::optional<QString>());
}

std::optional<QString> ScriptedPrompts::saveFile(QWidget*, const FileRequest& request) {
    PromptRecord r;
    r.kind = QStringLiteral("save");
    r.title = request.title;
    r.file = request;
    asked.append(r);
    return takeFront(files, std::optional<QString>());
}

std::optional<PrintSetup> ScriptedPrompts::print(QWidget*, const PrintSetup& initial) {
    PromptRecord r;
    r.kind = QStringLiteral("print");
    r.print = initial;
    asked.append(r);
    return takeFront(prints, std::optional<PrintSetup>());
}

std::optional<QString> ScriptedPrompts::chooseFolder(QWidget*, const QString& title,
                                                     const QString& startFolder) {
    PromptRecord r;
    r.kind = QStringLiteral("folder");
    r.title = title;
    r.file.startFolder = startFolder;
    asked.append(r);
    return takeFront(folders, std::optional<QString>());
}

QStringList ScriptedPrompts::messages() const {
    QStringList out;
    for (const auto& r : asked)
        if (r.kind == QLatin1String("message"))
            out << r.text;
    return out;
}

} // namespace fendrel
