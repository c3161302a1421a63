#include "platform/qt/file_filter.h"

namespace qd::qt {

QStringList qtNameFilters(const QString &filter)
{
    QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (!t.isEmpty())
                patterns << t;
        }
        if (patterns.isEmpty())
            continue;
        const QString named = u'(' + patterns.join(u' ') + u')';
        if (description.endsWith(named, Qt::CaseInsensitive))
            out << description;
        else
            out << (description.isEmpty() ? QString() : description + u' ') + named;
    }
    if (out.isEmpty())
        out << QStringLiteral("*");
    return out;
}

QStringList patternsOfNameFilter(const QString &nameFilter)
{
    const QString f = nameFilter.trimmed();
    if (!f.endsWith(u')'))
        return f.split(u' ', Qt::SkipEmptyParts);
    const qsizetype open = f.lastIndexOf(u'(');
    if (open < 0)
        return {f};
    return f.mid(open + 1, f.size() - open - 2).split(u' ', Qt::SkipEmptyParts);
}

} // namespace qd::qt
