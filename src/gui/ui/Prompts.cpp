// Filter conversion shared by the dialog implementations.
#include "Prompts.h"

#include "core/common/MessageIcon.h"

#include <QStringList>

namespace fendrel {

namespace {
QStringList filterEntries(const QString& programFilter) {
    QStringList parts = programFilter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << QStringLiteral("%1 (%2)").arg(desc, patterns);
    }
    return entries;
}
} // namespace

Icon promptIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return Icon::Error;
    case MessageIcon::Question:
        return Icon::Question;
    case MessageIcon::Exclamation:
        return Icon::Exclamation;
    case MessageIcon::Information:
        break;
    }
    return Icon::Information;
}

QString qtFilter(const QString& programFilter) {
    return filterEntries(programFilter).join(QStringLiteral(";;"));
}

QString qtFilterEntry(const QString& programFilter, int index) {
    QStringList entries = filterEntries(programFilter);
    if (index < 1 || index > entries.size())
        return {};
    return entries[index - 1];
}

} // namespace fendrel
