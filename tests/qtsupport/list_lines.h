// What a list box shows of its lines, as a user sees it at the list's size: every line whole,
// without the record number that only the program reads, and no horizontal scroll bar where
// nothing lies past the list's edge.
#pragma once

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "platform/qt/list_box.h"

namespace qd::testing {

// `recordDigits` >= 0: each line is its shown text, then blanks and a record number of that many
// digits, which the list does not show. The list's window must be shown.
inline ::testing::AssertionResult linesShowWhole(qd::qt::ListBox *list, int recordDigits = -1)
{
    QApplication::processEvents(); // the list lays its lines out
    const QString name = list->objectName();
    if (list->lineCount() == 0)
        return ::testing::AssertionFailure() << name.toStdString() << " has no lines";
    const QFontMetrics metrics(list->font());
    for (int i = 0; i < list->lineCount(); ++i) {
        const QString text = list->lineText(i), shown = list->shownText(i);
        if (recordDigits >= 0) {
            const QString hidden = text.mid(shown.size());
            if (!text.startsWith(shown) || hidden.trimmed().size() != recordDigits ||
                hidden.right(recordDigits).toStdString().find_first_not_of("0123456789") != std::string::npos)
                return ::testing::AssertionFailure()
                       << name.toStdString() << " line " << i << " shows \"" << shown.toStdString() << "\" of \""
                       << text.toStdString() << "\"";
        }
        if (list->visualRect(list->model()->index(i, 0)).width() < metrics.horizontalAdvance(shown) ||
            metrics.horizontalAdvance(shown) > list->viewport()->width())
            return ::testing::AssertionFailure() << name.toStdString() << " cuts \"" << shown.toStdString() << "\"";
    }
    if (list->horizontalScrollBar()->isVisible())
        return ::testing::AssertionFailure() << name.toStdString() << " shows a scroll bar over nothing";
    return ::testing::AssertionSuccess();
}

} // namespace qd::testing
