// The list box of the tools: lines of text, each with a value of its own beside it (a record
// number, a file name), kept in the order they are added or, when the list is sorted, each in its
// place in ascending text order (platform/text/list_order.h).
//
// Click is raised whenever a line is chosen: by the mouse, by the keyboard, by a click on the line
// already chosen, and by setListIndex(), so that code which chooses a line runs the same handler a
// user's click runs. Adding, removing and clearing lines raise no Click. KeyDown carries the
// key code of the key (13 Enter, 27 Esc, 37-40 the arrows, letters and digits as their capitals
// and digits); Enter does nothing else in the list.
//
// With extended selection (click, Shift-click, Ctrl-click) several lines may be chosen at once;
// listIndex() is then the line that has the focus rectangle.
//
// What a line shows is its text without the blanks that end it; a list whose lines end in a record
// number that only the program reads shows them without it (setHiddenTail), and a line may be
// given a shown form of its own. lineText() is always the whole line. A horizontal scroll bar
// comes only when a shown line is wider than the list.
#pragma once

#include "platform/qt/focus_moves.h"

#include <QAbstractListModel>
#include <QList>
#include <QListView>
#include <QString>
#include <QVariant>

#include <string>
#include <vector>

namespace qd::qt {

struct ListBoxLine {
    QString text;
    QVariant data;
    QString shown = {}; // what the list shows of the line; empty: its text as the list shows texts
};

class ListBox : public QListView {
    Q_OBJECT
public:
    enum class Selection { Single, Extended };

    explicit ListBox(QWidget *parent = nullptr);

    void setSorted(bool sorted);
    bool isSorted() const { return m_sorted; }
    void setSelectionKind(Selection kind);
    Selection selectionKind() const { return m_selection; }
    // The last `chars` characters of every line (a record number) are not shown, nor the blanks
    // before them.
    void setHiddenTail(int chars);

    // Adds a line: at the end, or in a sorted list at its place after the lines of equal text.
    // Returns the index it got. Raises no Click; the choice stays on the line it was on.
    int addLine(const QString &text, const QVariant &data = {}, const QString &shown = {});
    // Adds every line as addLine() would one after the other, in one step (a list of thousands
    // of lines fills at once). The choice is cleared.
    void addLines(const std::vector<ListBoxLine> &lines);
    // Removes line `index` (nothing for an index out of range). Raises no Click.
    void removeLine(int index);
    // Empties the list. Raises no Click.
    void clearLines();

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    // The text and value of line `index`; empty for an index out of range.
    QString lineText(int index) const;
    QVariant lineData(int index) const;
    // What line `index` shows; empty for an index out of range.
    QString shownText(int index) const;
    // The size of a line that shows `shown`, as the list lays its lines out at its font.
    QSize lineSize(const QString &shown) const;
    // The outer width the list needs to show a line that shows `shown` whole at its font, beside
    // its vertical scroll bar.
    int widthToShow(const QString &shown) const;

    // The chosen line (single selection) or the line with the focus rectangle (extended); -1
    // when there is none.
    int listIndex() const;
    // Chooses line `index` and raises Click, also when it was chosen already; -1 clears the
    // choice without a Click. An index out of range changes nothing.
    void setListIndex(int index);
    bool isLineSelected(int index) const;
    // Selects or deselects a line of an extended list without moving the focus rectangle.
    void setLineSelected(int index, bool selected);
    // The indexes of the selected lines, ascending.
    QList<int> selectedLines() const;

signals:
    void Click();
    void DblClick();
    void KeyDown(int keyCode);
    void GotFocus();
    void LostFocus();
    void MouseDown();
    void MouseUp();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    void changeEvent(QEvent *event) override;

private:
    class Model;
    class Delegate;
    int placeFor(const QString &text) const;
    void selectionMoved();
    QString shownOf(const QString &text, const QString &shown) const;
    // The line that shows widest in the list's font: every line is as wide as it, so the
    // horizontal scroll bar reaches the end of each.
    int widestLine() const;
    void linesChanged() { m_widest = -2; }
    void lineAdded(int row);
    void lineRemoved(int row);

    struct Entry {
        QString text;
        QVariant data;
        std::string key; // the text in UTF-8, as the order compares it
        QString ownShown; // the shown form given with the line, if any
        QString shown;
    };

    Model *m_model = nullptr;
    int m_hiddenTail = 0;
    mutable int m_widest = -2; // -2: to be measured
    mutable int m_widestWidth = -1;
    std::vector<Entry> m_lines;
    bool m_sorted = false;
    Selection m_selection = Selection::Single;
    bool m_quiet = false;            // changes made by the list itself raise no Click
    bool m_changedSincePress = false;
    FocusMoves m_focus;
};

} // namespace qd::qt
