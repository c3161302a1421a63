#include "platform/qt/list_box.h"

#include "platform/qt/grid_view.h"
#include "platform/text/list_order.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace qd::qt {

// The lines as the view reads them.
class ListBox::Model : public QAbstractListModel {
public:
    Model(ListBox *owner) : QAbstractListModel(owner), m_owner(owner) {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_owner->lineCount();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_owner->lineCount())
            return {};
        if (role == Qt::DisplayRole)
            return m_owner->m_lines[static_cast<std::size_t>(index.row())].shown;
        return {};
    }

    void beginInsert(int row) { beginInsertRows({}, row, row); }
    void endInsert() { endInsertRows(); }
    void beginRemove(int row) { beginRemoveRows({}, row, row); }
    void endRemove() { endRemoveRows(); }
    void beginReset() { beginResetModel(); }
    void endReset() { endResetModel(); }

private:
    ListBox *m_owner;
};

// The lines all share one size (the list has uniform item sizes): that of the widest line.
class ListBox::Delegate : public QStyledItemDelegate {
public:
    Delegate(ListBox *owner) : QStyledItemDelegate(owner), m_owner(owner) {}

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const int widest = m_owner->widestLine();
        return QStyledItemDelegate::sizeHint(option, widest >= 0 ? index.siblingAtRow(widest) : index);
    }

private:
    ListBox *m_owner;
};

namespace {

// Keeps the list from raising Click while it changes its own lines.
class Quiet {
public:
    explicit Quiet(bool &flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~Quiet() { m_flag = m_old; }

private:
    bool &m_flag;
    bool m_old;
};


} // namespace

ListBox::ListBox(QWidget *parent) : QListView(parent), m_model(new Model(this))
{
    setModel(m_model);
    setItemDelegate(new Delegate(this));
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A line wider than the list is cut at its edge, never shortened with an ellipsis: the
    // blanks that pad a name to its field's width would otherwise end it in "…".
    setTextElideMode(Qt::ElideNone);
    setSelectionKind(Selection::Single);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionMoved(); });
}

void ListBox::setSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    if (m_sorted && !m_lines.empty()) {
        std::vector<Entry> lines = std::move(m_lines);
        m_lines.clear();
        const Quiet quiet(m_quiet);
        m_model->beginReset();
        std::stable_sort(lines.begin(), lines.end(),
                         [](const Entry &a, const Entry &b) { return qd::text::compareListText(a.key, b.key) < 0; });
        m_lines = std::move(lines);
        linesChanged();
        m_model->endReset();
    }
}

void ListBox::setSelectionKind(Selection kind)
{
    m_selection = kind;
    setSelectionMode(kind == Selection::Extended ? QAbstractItemView::ExtendedSelection
                                                 : QAbstractItemView::SingleSelection);
}

void ListBox::setHiddenTail(int chars)
{
    m_hiddenTail = std::max(0, chars);
    m_model->beginReset();
    for (Entry &e : m_lines)
        e.shown = shownOf(e.text, e.ownShown);
    linesChanged();
    m_model->endReset();
}

QString ListBox::shownOf(const QString &text, const QString &shown) const
{
    QString s = shown.isEmpty() ? text.left(std::max<qsizetype>(0, text.size() - m_hiddenTail)) : shown;
    qsizetype end = s.size();
    while (end > 0 && s[end - 1] == u' ')
        --end;
    s.truncate(end);
    return s;
}

int ListBox::widestLine() const
{
    if (m_widest == -2) {
        m_widest = -1;
        m_widestWidth = -1;
        const QFontMetrics metrics(font());
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const int w = metrics.horizontalAdvance(m_lines[i].shown);
            if (w > m_widestWidth) {
                m_widestWidth = w;
                m_widest = static_cast<int>(i);
            }
        }
    }
    return m_widest;
}

void ListBox::lineAdded(int row)
{
    // A list that grows a line at a time (a search that lists its hits as it finds them) measures
    // only the new line.
    if (m_widest < 0) {
        linesChanged();
        return;
    }
    const int w = QFontMetrics(font()).horizontalAdvance(m_lines[static_cast<std::size_t>(row)].shown);
    if (w > m_widestWidth) {
        m_widestWidth = w;
        m_widest = row;
    } else if (row <= m_widest) {
        ++m_widest;
    }
}

void ListBox::lineRemoved(int row)
{
    if (row == m_widest)
        linesChanged();
    else if (row < m_widest)
        --m_widest;
}

void ListBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        linesChanged();
    QListView::changeEvent(event);
}

int ListBox::placeFor(const QString &text) const
{
    if (!m_sorted)
        return lineCount();
    const std::string key = text.toStdString();
    const auto it = std::upper_bound(m_lines.begin(), m_lines.end(), key, [](const std::string &k, const Entry &e) {
        return qd::text::compareListText(k, e.key) < 0;
    });
    return static_cast<int>(it - m_lines.begin());
}

int ListBox::addLine(const QString &text, const QVariant &data, const QString &shown)
{
    const int row = placeFor(text);
    const Quiet quiet(m_quiet);
    m_model->beginInsert(row);
    m_lines.insert(m_lines.begin() + row, Entry{text, data, text.toStdString(), shown, shownOf(text, shown)});
    lineAdded(row);
    m_model->endInsert();
    return row;
}

void ListBox::addLines(const std::vector<ListBoxLine> &lines)
{
    std::vector<Entry> added;
    added.reserve(lines.size());
    for (const ListBoxLine &l : lines)
        added.push_back(Entry{l.text, l.data, l.text.toStdString(), l.shown, shownOf(l.text, l.shown)});
    const auto less = [](const Entry &a, const Entry &b) { return qd::text::compareListText(a.key, b.key) < 0; };

    const Quiet quiet(m_quiet);
    m_model->beginReset();
    if (m_sorted) {
        // Lines already there stand before added lines of equal text, as one addLine after the
        // other would put them.
        std::stable_sort(added.begin(), added.end(), less);
        std::vector<Entry> merged;
        merged.reserve(m_lines.size() + added.size());
        std::merge(std::make_move_iterator(m_lines.begin()), std::make_move_iterator(m_lines.end()),
                   std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()),
                   std::back_inserter(merged), less);
        m_lines = std::move(merged);
    } else {
        m_lines.insert(m_lines.end(), std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
    }
    linesChanged();
    m_model->endReset();
}

void ListBox::removeLine(int index)
{
    if (index < 0 || index >= lineCount())
        return;
    const Quiet quiet(m_quiet);
    m_model->beginRemove(index);
    m_lines.erase(m_lines.begin() + index);
    lineRemoved(index);
    m_model->endRemove();
}

void ListBox::clearLines()
{
    const Quiet quiet(m_quiet);
    m_model->beginReset();
    m_lines.clear();
    linesChanged();
    m_model->endReset();
}

QString ListBox::lineText(int index) const
{
    return index >= 0 && index < lineCount() ? m_lines[static_cast<std::size_t>(index)].text : QString();
}

QString ListBox::shownText(int index) const
{
    return index >= 0 && index < lineCount() ? m_lines[static_cast<std::size_t>(index)].shown : QString();
}

QSize ListBox::lineSize(const QString &shown) const
{
    // As the lines' delegate sizes a line.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.text = shown;
    option.features |= QStyleOptionViewItem::HasDisplay;
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
}

int ListBox::widthToShow(const QString &shown) const
{
    return lineSize(shown).width() + 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

QVariant ListBox::lineData(int index) const
{
    return index >= 0 && index < lineCount() ? m_lines[static_cast<std::size_t>(index)].data : QVariant();
}

int ListBox::listIndex() const
{
    if (m_selection == Selection::Extended) {
        const QModelIndex cur = currentIndex();
        return cur.isValid() ? cur.row() : -1;
    }
    const QModelIndexList chosen = selectionModel()->selectedRows();
    return chosen.isEmpty() ? -1 : chosen.first().row();
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= lineCount())
        return;
    {
        const Quiet quiet(m_quiet);
        if (index < 0) {
            selectionModel()->clearSelection();
            selectionModel()->setCurrentIndex({}, QItemSelectionModel::NoUpdate);
            return;
        }
        const QModelIndex at = m_model->index(index, 0);
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        scrollTo(at);
    }
    emit Click();
}

bool ListBox::isLineSelected(int index) const
{
    return index >= 0 && index < lineCount() && selectionModel()->isSelected(m_model->index(index, 0));
}

void ListBox::setLineSelected(int index, bool selected)
{
    if (index < 0 || index >= lineCount())
        return;
    const Quiet quiet(m_quiet);
    if (m_selection == Selection::Single && selected)
        selectionModel()->setCurrentIndex(m_model->index(index, 0), QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->select(m_model->index(index, 0),
                                 selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

QList<int> ListBox::selectedLines() const
{
    QList<int> rows;
    for (const QModelIndex &i : selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ListBox::selectionMoved()
{
    m_changedSincePress = true;
    if (m_quiet)
        return;
    if (listIndex() >= 0)
        emit Click();
}

void ListBox::mousePressEvent(QMouseEvent *event)
{
    m_changedSincePress = false;
    QListView::mousePressEvent(event);
    emit MouseDown();
}

void ListBox::mouseReleaseEvent(QMouseEvent *event)
{
    QListView::mouseReleaseEvent(event);
    // A click on the line already chosen changes nothing, yet it is a click.
    if (!m_changedSincePress && indexAt(event->position().toPoint()).isValid() && listIndex() >= 0)
        emit Click();
    m_changedSincePress = true;
    emit MouseUp();
}

void ListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        emit DblClick();
}

void ListBox::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    if (m_focus.gotFocus(event))
        emit GotFocus();
}

void ListBox::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    if (m_focus.lostFocus(event))
        emit LostFocus();
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    const int code = gridKeyCode(event->key(), event->modifiers());
    emit KeyDown(code);
    if (code == 13) {
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace qd::qt
