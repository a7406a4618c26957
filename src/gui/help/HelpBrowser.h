// The page pane of the help window: shows pages of the help file, with their pictures, style
// sheet and links, all fetched from inside the file.
#pragma once

#include <QTextBrowser>

namespace fendrel {

class HelpFiles;

class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    // The files the pages come from; nullptr shows nothing.
    void setFiles(const HelpFiles* files) { m_files = files; }

    // The address of a page inside the help file ("guide.htm#part" -> chm:/guide.htm#part).
    static QUrl pageUrl(const QString& local);
    // The path inside the help file that an address names ("/guide.htm"), or empty.
    static QString pathOf(const QUrl& url);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void followLink(const QUrl& link);

    const HelpFiles* m_files = nullptr;
};

} // namespace fendrel
