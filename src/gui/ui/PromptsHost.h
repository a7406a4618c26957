// A window's answers to its session: the core's messages, questions and file choices shown
// through the program's dialogs (Prompts), the UTF-8 texts and the system's paths turned into
// Qt's and back in one place.
#pragma once

#include "Prompts.h"
#include "core/common/SessionHost.h"

namespace fendrel {

class PromptsHost : public SessionHost {
public:
    PromptsHost(Prompts& prompts, QWidget* parent) : m_prompts(prompts), m_parent(parent) {}

    void tell(const std::string& text, const std::string& title, MessageIcon icon,
              const std::string& details = {}) override;
    bool ask(const std::string& question, const std::string& title, MessageIcon icon) override;
    std::string input(const std::string& prompt, const std::string& title,
                      const std::string& prefilled) override;
    std::optional<std::filesystem::path> openFile(const FileChoice& choice) override;
    std::optional<std::filesystem::path> saveFile(const FileChoice& choice) override;

private:
    Prompts& m_prompts;
    QWidget* m_parent;
};

} // namespace fendrel
