#include "app/dialogs/FileDialogFilter.h"

#include <QRegularExpression>
#include <QStringList>

namespace grottix {

namespace {

QString WithoutPatternList(const QString& description) {
    static const QRegularExpression trailingList(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    return QString(description).remove(trailingList).trimmed();
}

QStringList PatternsOf(const QString& patterns) {
    QStringList result;
    for (const QString& part : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty()) continue;
        for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
            if (!result.contains(variant)) result << variant;
        }
    }
    if (result.isEmpty()) result << QStringLiteral("*");
    return result;
}

}  // namespace

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = PatternsOf(parts[i + 1]);
        QString description = WithoutPatternList(parts[i]);
        if (description.isEmpty()) description = patterns.join(u' ');
        entries << description + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return entries.join(QStringLiteral(";;"));
}

}  // namespace grottix
