// The fonts the screenshots are drawn with: only those of the font packages the set-up installs,
// with the rendering rules that fontconfig and those packages ship. A machine that has more fonts
// (another package may bring one fontconfig prefers for fixed-pitch text) still renders the same
// pixels, so one commit gives byte-identical pictures on every machine set up by the script.
#include "Scenes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdio>

namespace fendrel::shots {

namespace {

// The font files of fonts-dejavu-core and fonts-liberation.
const char* const kFontFiles[] = {
    "dejavu/DejaVuSans.ttf",                     "dejavu/DejaVuSans-Bold.ttf",
    "dejavu/DejaVuSansMono.ttf",                 "dejavu/DejaVuSansMono-Bold.ttf",
    "dejavu/DejaVuSerif.ttf",                    "dejavu/DejaVuSerif-Bold.ttf",
    "liberation/LiberationMono-Regular.ttf",     "liberation/LiberationMono-Bold.ttf",
    "liberation/LiberationMono-Italic.ttf",      "liberation/LiberationMono-BoldItalic.ttf",
    "liberation/LiberationSans-Regular.ttf",     "liberation/LiberationSans-Bold.ttf",
    "liberation/LiberationSans-Italic.ttf",      "liberation/LiberationSans-BoldItalic.ttf",
    "liberation/LiberationSansNarrow-Regular.ttf", "liberation/LiberationSansNarrow-Bold.ttf",
    "liberation/LiberationSansNarrow-Italic.ttf",  "liberation/LiberationSansNarrow-BoldItalic.ttf",
    "liberation/LiberationSerif-Regular.ttf",    "liberation/LiberationSerif-Bold.ttf",
    "liberation/LiberationSerif-Italic.ttf",     "liberation/LiberationSerif-BoldItalic.ttf",
};

// The rules a Debian 12 system enables by default, in their order: fontconfig's own and those of
// fonts-dejavu-core. The user's and the machine's local rules are left out on purpose.
const char* const kRules[] = {
    "/usr/share/fontconfig/conf.avail/10-hinting-slight.conf",
    "/usr/share/fontconfig/conf.avail/10-scale-bitmap-fonts.conf",
    "/usr/share/fontconfig/conf.avail/10-yes-antialias.conf",
    "/usr/share/fontconfig/conf.avail/11-lcdfilter-default.conf",
    "/etc/fonts/conf.avail/20-unhint-small-dejavu-lgc-sans-mono.conf",
    "/etc/fonts/conf.avail/20-unhint-small-dejavu-lgc-sans.conf",
    "/etc/fonts/conf.avail/20-unhint-small-dejavu-lgc-serif.conf",
    "/etc/fonts/conf.avail/20-unhint-small-dejavu-sans-mono.conf",
    "/etc/fonts/conf.avail/20-unhint-small-dejavu-sans.conf",
    "/etc/fonts/conf.avail/20-unhint-small-dejavu-serif.conf",
    "/usr/share/fontconfig/conf.avail/20-unhint-small-vera.conf",
    "/usr/share/fontconfig/conf.avail/30-metric-aliases.conf",
    "/usr/share/fontconfig/conf.avail/40-nonlatin.conf",
    "/usr/share/fontconfig/conf.avail/45-generic.conf",
    "/usr/share/fontconfig/conf.avail/45-latin.conf",
    "/usr/share/fontconfig/conf.avail/48-spacing.conf",
    "/usr/share/fontconfig/conf.avail/49-sansserif.conf",
    "/etc/fonts/conf.avail/57-dejavu-sans-mono.conf",
    "/etc/fonts/conf.avail/57-dejavu-sans.conf",
    "/etc/fonts/conf.avail/57-dejavu-serif.conf",
    "/etc/fonts/conf.avail/58-dejavu-lgc-sans-mono.conf",
    "/etc/fonts/conf.avail/58-dejavu-lgc-sans.conf",
    "/etc/fonts/conf.avail/58-dejavu-lgc-serif.conf",
    "/usr/share/fontconfig/conf.avail/60-generic.conf",
    "/usr/share/fontconfig/conf.avail/60-latin.conf",
    "/usr/share/fontconfig/conf.avail/65-fonts-persian.conf",
    "/usr/share/fontconfig/conf.avail/65-nonlatin.conf",
    "/usr/share/fontconfig/conf.avail/69-unifont.conf",
    "/usr/share/fontconfig/conf.avail/70-no-bitmaps.conf",
    "/usr/share/fontconfig/conf.avail/80-delicious.conf",
    "/usr/share/fontconfig/conf.avail/90-synthetic.conf",
};

QString xmlText(const QString& text) { return text.toHtmlEscaped(); }

} // namespace

bool useSetUpFontsOnly(const QString& folder) {
    const QString fonts = folder + QStringLiteral("/fonts");
    QDir().mkpath(fonts);
    bool complete = true;
    for (const char* name : kFontFiles) {
        const QString file = QStringLiteral("/usr/share/fonts/truetype/") + QLatin1String(name);
        if (!QFile::link(file, fonts + QLatin1Char('/') + QFileInfo(file).fileName())) {
            std::fprintf(stderr, "fendrel-screenshots: font missing: %s\n",
                         QFile::encodeName(file).constData());
            complete = false;
        }
    }
    QString conf = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
                                  "\"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n");
    conf += QStringLiteral("  <dir>%1</dir>\n").arg(xmlText(fonts));
    conf += QStringLiteral("  <cachedir>%1/cache</cachedir>\n").arg(xmlText(folder));
    for (const char* rule : kRules)
        conf += QStringLiteral("  <include ignore_missing=\"yes\">%1</include>\n")
                    .arg(QLatin1String(rule));
    conf += QStringLiteral("</fontconfig>\n");
    const QString confFile = folder + QStringLiteral("/fonts.conf");
    QFile out(confFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(conf.toUtf8()) < 0)
        return false;
    out.close();
    qputenv("FONTCONFIG_FILE", QFile::encodeName(confFile));
    return complete;
}

} // namespace fendrel::shots
