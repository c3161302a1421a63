// The filter text of the file dialogs ("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|") in the form the Qt dialog takes.
//
// The system names the same files with ".txt" and ".TXT", so a pattern matches either letter
// case: each letter of a pattern becomes a bracket of both cases ("*.txt" -> "*.[tT][xX][tT]").
#pragma once

#include <QString>
#include <QStringList>

namespace qd::qt {

// One pattern with each ASCII letter made to match either case.
QString caseFreePattern(const QString &pattern);

// The Qt name filters of a filter text: one entry per description and pattern pair, in order,
// "description (pattern1 pattern2)". Patterns within a pair are separated by ";". A trailing "|"
// and a description without patterns are ignored; an empty filter gives "*".
QStringList qtNameFilters(const QString &filter);

// The case-free patterns of one Qt name filter entry ("Text (*.[tT][xX][tT])" -> the pattern).
QStringList patternsOfNameFilter(const QString &nameFilter);

} // namespace qd::qt
