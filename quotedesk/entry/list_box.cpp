#include "quotedesk/entry/list_box.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace qd::forms {

namespace {
enum Role { RecNoRole = Qt::UserRole, FileRole, CodeRole };
}

ListBox::ListBox(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        m_changedSincePress = true;
        if (currentItem())
            emit Click();
    });
}

void ListBox::addLine(const qd::entry::ListLine &line)
{
    auto *item = new QListWidgetItem(QString::fromStdString(line.text));
    item->setData(RecNoRole, line.recNo);
    item->setData(FileRole, QString::fromStdString(line.file));
    item->setData(CodeRole, QString::fromStdString(line.code));
    const QSignalBlocker blocker(this);
    addItem(item);
}

void ListBox::clearLines()
{
    const QSignalBlocker blocker(this);
    clear();
}

qd::entry::ListLine ListBox::lineOf(const QListWidgetItem *item)
{
    qd::entry::ListLine l;
    if (!item)
        return l;
    l.text = item->text().toStdString();
    l.recNo = item->data(RecNoRole).toInt();
    l.file = item->data(FileRole).toString().toStdString();
    l.code = item->data(CodeRole).toString().toStdString();
    return l;
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    m_changedSincePress = false;
    QListWidget::mousePressEvent(event);
    emit MouseDown();
}

void ListBox::mouseReleaseEvent(QMouseEvent *event)
{
    QListWidget::mouseReleaseEvent(event);
    // A click on the item already chosen changes nothing, yet it is a click.
    if (!m_changedSincePress && itemAt(event->position().toPoint()) && currentItem())
        emit Click();
    m_changedSincePress = true;
    emit MouseUp();
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    emit GotFocus();
}

void ListBox::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    emit LostFocus();
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit KeyDown(13);
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace qd::forms
