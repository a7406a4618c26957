// "Please select from this list...": lists one line per record of a file and hands back the
// 0-based position of the marked line.
#pragma once

#include <QDialog>
#include <filesystem>
#include <optional>

class QListWidget;
class QPushButton;

namespace fendrel {

class frmSelect : public QDialog {
    Q_OBJECT
public:
    // One line per record of `fieldCount` fields in `file` (1 for a list of names).
    frmSelect(const std::filesystem::path& file, int fieldCount, QWidget* parent = nullptr);

    // Shows the list modally over `parent`: the chosen record's position, or nothing when no
    // line was marked or the list was cancelled.
    static std::optional<int> run(const std::filesystem::path& file, int fieldCount,
                                  QWidget* parent);

    std::optional<int> chosen() const { return m_chosen; }

    QListWidget* lstSelector;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    std::optional<int> m_chosen;
};

} // namespace fendrel
