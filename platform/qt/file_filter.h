// The filter text of the file dialogs ("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|") in the form the Qt dialog takes.
//
// The system names the same files with ".txt" and ".TXT": the dialog matches the patterns in
// either letter case (QtSeam sets it so), and shows them as the system writes them.
#pragma once

#include <QString>
#include <QStringList>

namespace qd::qt {

// The Qt name filters of a filter text: one entry per description and pattern pair, in order.
// A description that already ends with its patterns in brackets ("ﾃｷｽﾄﾌｧｲﾙ(*.txt)") stands as it
// is; another gets them added ("全て (*.*)"). Patterns within a pair are separated by ";". A
// trailing "|" and a description without patterns are ignored; an empty filter gives "*".
QStringList qtNameFilters(const QString &filter);

// The patterns of one Qt name filter entry ("Text (*.txt *.sss)" -> "*.txt", "*.sss").
QStringList patternsOfNameFilter(const QString &nameFilter);

} // namespace qd::qt
