#include "platform/qt/file_filter.h"

namespace qd::qt {

QString caseFreePattern(const QString &pattern)
{
    QString out;
    bool inBracket = false; // letters inside a bracket the pattern already has stay as they are
    for (QChar c : pattern) {
        if (c == u'[')
            inBracket = true;
        else if (c == u']')
            inBracket = false;
        const char16_t u = c.unicode();
        const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
        if (letter && !inBracket) {
            out += u'[';
            out += c.toLower();
            out += c.toUpper();
            out += u']';
        } else {
            out += c;
        }
    }
    return out;
}

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
                patterns << caseFreePattern(t);
        }
        if (patterns.isEmpty())
            continue;
        out << (description.isEmpty() ? QString() : description + u' ') + u'('
                   + patterns.join(u' ') + u')';
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
