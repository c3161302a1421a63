// A list box with the events the product pickers handle: Click (the choice changed, by mouse,
// keyboard or code, or an item was clicked again), MouseDown / MouseUp, GotFocus / LostFocus and
// KeyDown. Each line keeps what its handlers need (code, record number, file) beside its text.
#pragma once

#include <QListWidget>

#include "quotedesk/entry/price_lists.h"

namespace qd::forms {

class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

    // Appends a line (no Click is raised).
    void addLine(const qd::entry::ListLine &line);
    // Empties the list (no Click is raised).
    void clearLines();
    // The line behind an item; the current one, or an empty line when there is none.
    static qd::entry::ListLine lineOf(const QListWidgetItem *item);
    qd::entry::ListLine currentLine() const { return lineOf(currentItem()); }
    bool hasCurrent() const { return currentItem() != nullptr; }

signals:
    void Click();
    void MouseDown();
    void MouseUp();
    void GotFocus();
    void LostFocus();
    void KeyDown(int keyCode);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_changedSincePress = false;
};

} // namespace qd::forms
