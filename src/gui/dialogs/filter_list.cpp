#include "gui/dialogs/filter_list.h"

namespace {

QString QtPatterns(const QString& patterns) {
    QStringList out;
    for (QString pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern.isEmpty())
            continue;
        // Windows lets "*.*" match names without a dot; Qt would not.
        out << (pattern == u"*.*" ? QStringLiteral("*") : pattern);
    }
    if (out.isEmpty())
        out << QStringLiteral("*");
    return out.join(u' ');
}

} // namespace

NameFilters ConvertFilter(const QString& filter) {
    NameFilters result;
    const QStringList items = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        QString description = items[i];
        if (description.trimmed().isEmpty())
            description = items[i + 1].trimmed();
        result.filters << description + QStringLiteral(" (") + QtPatterns(items[i + 1]) + u')';
    }
    if (!result.filters.isEmpty())
        result.selected = result.filters.front();
    return result;
}
