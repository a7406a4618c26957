#include "PromptsHost.h"

#include "Text.h"

namespace fendrel {

namespace {

FileRequest requestOf(const FileChoice& choice) {
    FileRequest r;
    r.title = utf8Text(choice.title);
    r.filter = utf8Text(choice.filter);
    r.filterIndex = choice.filterIndex;
    r.startFolder = choice.startFolder.empty() ? QString() : fromPath(choice.startFolder);
    r.fileName = utf8Text(choice.fileName);
    return r;
}

std::optional<std::filesystem::path> chosenPath(const std::optional<QString>& chosen) {
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return std::filesystem::path(toPath(*chosen));
}

} // namespace

void PromptsHost::tell(const std::string& text, const std::string& title, MessageIcon icon,
                       const std::string& details) {
    m_prompts.message(m_parent, utf8Text(text), utf8Text(title), promptIcon(icon), Buttons::Ok,
                      utf8Text(details));
}

bool PromptsHost::ask(const std::string& question, const std::string& title, MessageIcon icon) {
    return m_prompts.message(m_parent, utf8Text(question), utf8Text(title), promptIcon(icon),
                             Buttons::YesNo) == Answer::Yes;
}

std::string PromptsHost::input(const std::string& prompt, const std::string& title,
                               const std::string& prefilled) {
    return fromQt(m_prompts.input(m_parent, utf8Text(prompt), utf8Text(title), utf8Text(prefilled)));
}

std::optional<std::filesystem::path> PromptsHost::openFile(const FileChoice& choice) {
    return chosenPath(m_prompts.openFile(m_parent, requestOf(choice)));
}

std::optional<std::filesystem::path> PromptsHost::saveFile(const FileChoice& choice) {
    return chosenPath(m_prompts.saveFile(m_parent, requestOf(choice)));
}

} // namespace fendrel
