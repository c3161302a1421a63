// The product pickers' lines in the list box of platform/qt: each line keeps what its handlers
// need (code, record number, price file) beside its text, so nothing is read back out of the
// text a user sees.
#pragma once

#include <QMetaType>

#include "platform/qt/list_box.h"
#include "quotedesk/entry/price_lists.h"

Q_DECLARE_METATYPE(qd::entry::ListLine)

namespace qd::forms {

using qd::qt::ListBox;

// Adds a line (no Click is raised).
void addLine(ListBox *list, const qd::entry::ListLine &line);
// The line at `index`; an empty line for an index out of range.
qd::entry::ListLine lineAt(const ListBox *list, int index);
// The chosen line (single selection) or the one with the focus rectangle (extended).
inline qd::entry::ListLine currentLine(const ListBox *list) { return lineAt(list, list->listIndex()); }
inline bool hasCurrent(const ListBox *list) { return list->listIndex() >= 0; }

} // namespace qd::forms
