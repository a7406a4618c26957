#include "HelpBrowser.h"

#include "core/help/HelpContents.h"
#include "gui/ui/Text.h"

#include <QDesktopServices>
#include <QTextDocument>

namespace fendrel {

namespace {
const QString kScheme = QStringLiteral("chm");

QString pageText(const std::string& bytes) { return utf8Text(helpPageText(bytes)); }
} // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links are followed here, so that pages of the help file never go to an outside browser
    // and outside addresses never come here.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

QUrl HelpBrowser::pageUrl(const QString& local) {
    QString path = local;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QUrl url;
    url.setScheme(kScheme);
    const qsizetype hash = path.indexOf(QLatin1Char('#'));
    const QString fragment = hash >= 0 ? path.mid(hash + 1) : QString();
    if (hash >= 0)
        path.truncate(hash);
    const std::string clean = helpFilePath(fromQt(path));
    url.setPath(utf8Text(clean.empty() ? std::string("/") : clean));
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    return url;
}

QString HelpBrowser::pathOf(const QUrl& url) {
    if (url.scheme() != kScheme)
        return {};
    return utf8Text(helpFilePath(fromQt(url.path(QUrl::FullyDecoded))));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    const QString path = pathOf(url);
    const std::string* bytes =
        m_files && !path.isEmpty() ? m_files->find(fromQt(path)) : nullptr;

    switch (type) {
    case QTextDocument::HtmlResource:
        if (!bytes)
            return QStringLiteral("<html><body><h2>Page not found</h2><p>The page %1 is not in "
                                  "the help file. Choose another topic from the contents.</p>"
                                  "</body></html>")
                .arg(path.mid(1).toHtmlEscaped());
        return pageText(*bytes);
    case QTextDocument::StyleSheetResource:
        return bytes ? QVariant(pageText(*bytes)) : QVariant();
    case QTextDocument::ImageResource:
        return bytes ? QVariant(QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())))
                     : QVariant();
    default:
        return bytes ? QVariant(QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size())))
                     : QVariant();
    }
}

void HelpBrowser::followLink(const QUrl& link) {
    if (!link.isRelative() && link.scheme() != kScheme) {
        // Web and mail addresses belong to the user's own programs.
        QDesktopServices::openUrl(link);
        return;
    }
    setSource(link.isRelative() ? source().resolved(link) : link);
}

} // namespace fendrel
