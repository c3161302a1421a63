#include "quotedesk/entry/ssgarasufm.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <limits>

#include "platform/qt/entry_box.h"
#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/core/sheet_setup.h"

namespace qd::forms {

using qd::qt::EntryBox;
using qd::qt::qs;
using qd::qt::ss;

namespace {

constexpr int FORM_WIDTH = 14590, FORM_HEIGHT = 8630;
const QString READ_FAILED = QStringLiteral("ファイルを読み込めません。");

QString formatted(std::int64_t value, const char *pattern) { return qs(qd::text::format(value, pattern)); }

EntryBox *entryBox(QWidget *parent, const char *name, int l, int t, int w, int h)
{
    auto *box = new EntryBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    qd::qt::setGeometryTwips(box, l, t, w, h);
    return box;
}

} // namespace

SSGARASUFM::SSGARASUFM(qd::core::QdState &state, QWidget *owner, std::function<void()> unload)
    : PickerWindow("SSGARASUFM", QStringLiteral("itemmaint"), owner, std::move(unload)), g(state)
{
    setRecovery(qd::core::failedCommandRecovery(g));
    setPendingMessages(g.partialNotes, std::string(qd::text::TwoLinesBreak));
    buildControls();
    Form_Load();
}

void SSGARASUFM::buildControls()
{
    Frame3 = new QFrame(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setFrameShape(QFrame::Box);
    qd::qt::setGeometryTwips(Frame3, 10320, 120, 3370, 730);
    label(Frame3, "Frame3Caption", QStringLiteral("検索"), 120, 0, 600, 240);
    Option5 = new QRadioButton(QStringLiteral("全て表示"), Frame3);
    Option5->setObjectName(QStringLiteral("Option5"));
    Option5->setAutoExclusive(false);
    qd::qt::setGeometryTwips(Option5, 120, 240, 1080, 375);
    Text5 = entryBox(Frame3, "Text5", 1200, 240, 2055, 405);

    Label1 = label(this, "Label1", QStringLiteral("CD"), 360, 480, 850, 370);
    Text1 = entryBox(this, "Text1", 1200, 480, 860, 370);
    Text1->setMaxLength(4);
    Label2 = label(this, "Label2", QStringLiteral("名称"), 360, 960, 850, 370);
    Text2 = entryBox(this, "Text2", 1200, 960, 12610, 370);
    Text2->setReadOnly(true); // the row always gets the stored name
    Label4 = label(this, "Label4", QStringLiteral("単価"), 360, 1440, 850, 370);
    Text3 = entryBox(this, "Text3", 1200, 1440, 1695, 370);
    Label5 = label(this, "Label5", QStringLiteral("原価"), 3240, 1440, 850, 370);
    Text4 = entryBox(this, "Text4", 4080, 1440, 1695, 370);
    for (EntryBox *box : {Text3, Text4})
        box->setAlignment(Qt::AlignRight);

    List1 = listBox(this, "List1", 1200, 1920, 12610, 6020);
    List1->setSorted(true);
    List1->setHiddenTail(5); // an item's line ends in its record number, for the handlers only
    m_items.attach(List1);

    Command1 = button(this, "Command1", QStringLiteral("明細追加"), 4200, 360, 1330, 495);
    Command4 = button(this, "Command4", QStringLiteral("取消"), 6840, 360, 735, 495);
    Command5 = button(this, "Command5", QStringLiteral("終了"), 8760, 360, 735, 495);

    // The edit boxes: each shows its value plainly for editing and formatted otherwise; Enter
    // takes a typed number and moves on.
    Text1->bind({[this] { return formatted(g.ITEM_CODE, "0"); }, [this] { return formatted(g.ITEM_CODE, "###0"); },
                 [this](const QString &typed) {
                     const auto v = qd::qt::wholeNumberOf(ss(typed), std::numeric_limits<std::int16_t>::min(),
                                                          std::numeric_limits<std::int16_t>::max());
                     if (v)
                         g.ITEM_CODE = static_cast<std::int16_t>(*v);
                     return v.has_value();
                 }});
    Text1->setNext(Text2);
    connect(Text1, &EntryBox::Left, this, [this] {
        guarded(
            [this] {
                if (g.ITEM_CODE == 0)
                    Text1->setFocus(); // an item has a code
            },
            READ_FAILED);
    });
    Text2->bind({[this] { return qs(g.ITEM_NAME); }, [this] { return qs(g.ITEM_NAME); },
                 [](const QString &) { return false; }});
    Text3->bind({[this] { return formatted(g.ITEM_TANKA, "0"); }, [this] { return formatted(g.ITEM_TANKA, "#,###,###"); },
                 [this](const QString &typed) { return guardedTaken([&] { return takePrice(Text3, typed, g.ITEM_TANKA); }, READ_FAILED); }});
    Text3->setNext(Text4);
    Text3->setEscape(EntryBox::Escape::Restore, Text2);
    Text4->bind({[this] { return formatted(g.ITEM_GENKA, "0"); }, [this] { return formatted(g.ITEM_GENKA, "#,###,###"); },
                 [this](const QString &typed) { return guardedTaken([&] { return takePrice(Text4, typed, g.ITEM_GENKA); }, READ_FAILED); }});
    Text4->setNext(Text1);
    Text4->setEscape(EntryBox::Escape::Restore, Text3);
    // A price or cost typed and left for "明細追加" by a click on it is taken by it first.
    for (EntryBox *box : {Text3, Text4})
        box->setTakers({Command1});
    Text5->bind({[this] { return qs(g.SEARCH_TEXT); }, [this] { return qs(qd::text::trim(g.SEARCH_TEXT)); },
                 [this](const QString &typed) {
                     g.SEARCH_TEXT = ss(typed);
                     return true;
                 }});
    Text5->setNext(List1);
    connect(Text5, &EntryBox::Entered, this, [this] { guarded([this] { Text5_Entered(); }, READ_FAILED); });

    auto on = [this](void (SSGARASUFM::*handler)()) { return command(handler, READ_FAILED); };
    connect(List1, &ListBox::Click, this, on(&SSGARASUFM::List1_Click));
    connect(List1, &ListBox::KeyDown, this, [this](int key) { guarded([&] { List1_KeyDown(key); }, READ_FAILED); });
    connect(Option5, &QRadioButton::clicked, this, on(&SSGARASUFM::Option5_Click));
    connect(Command1, &QPushButton::clicked, this, command(&SSGARASUFM::Command1_Click, QStringLiteral("明細を追加できませんでした。")));
    connect(Command4, &QPushButton::clicked, this, on(&SSGARASUFM::Command4_Click));
    connect(Command5, &QPushButton::clicked, this,
            command(&SSGARASUFM::Command5_Click, QStringLiteral("単品ファイルを書き直せませんでした。")));
}

bool SSGARASUFM::takePrice(EntryBox *box, const QString &typed, std::int32_t &value)
{
    const auto v = qd::qt::wholeNumberOf(ss(typed), std::numeric_limits<std::int64_t>::min() / 2,
                                         std::numeric_limits<std::int64_t>::max() / 2);
    if (!v || !qd::entry::itemPriceInRange(*v)) {
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("数値を入力して下さい！"));
        // The refused text stays, selected, with the focus: the box never shows a price other
        // than the one the row gets as if it were taken.
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return false;
    }
    value = static_cast<std::int32_t>(*v);
    return true;
}

void SSGARASUFM::closeEvent(QCloseEvent *event)
{
    // Closed through its frame: the master stays as it is.
    event->accept();
    unloadForm();
}

void SSGARASUFM::Form_Load()
{
    qd::qt::resizeTwips(this, FORM_WIDTH, FORM_HEIGHT);
    qd::qt::centreOnScreen(this);
    for (QPushButton *b : {Command1, Command4, Command5})
        b->setEnabled(false);
    // Each showing tells of a master that ends in a part of a record, once the form stands.
    g.partialNotes.forget();
    holdPendingMessages(true);
    guarded([this] { TANPIN_LIST_ALL(); }, READ_FAILED);
    show();
    List1->setFocus();
    g.ITEM_CODE = 1;
    g.ITEM_NAME = std::string(50, ' ');
    g.ITEM_TANKA = 0;
    g.ITEM_GENKA = 0;
    holdPendingMessages(false);
    showPendingMessages();
}

void SSGARASUFM::TANPIN_LIST_ALL() { m_items.fill(qd::entry::TANPIN_LIST_ALL(g)); }

void SSGARASUFM::TANPIN_LIST_FIND() { m_items.fill(qd::entry::TANPIN_LIST_FIND(g)); }

void SSGARASUFM::enableCommands()
{
    for (QPushButton *b : {Command1, Command4, Command5})
        b->setEnabled(true);
}

void SSGARASUFM::List1_Click()
{
    const qd::entry::ItemLine *item = m_items.chosen();
    if (!item)
        return;
    enableCommands();
    qd::entry::ITEM_CHOOSE(g, item->rec);
    Text1->setTextFromStart(formatted(g.ITEM_CODE, "###0"));
    Text2->setTextFromStart(qs(g.ITEM_NAME));
    Text3->setTextFromStart(formatted(g.ITEM_TANKA, "#,###,###"));
    Text4->setTextFromStart(formatted(g.ITEM_GENKA, "#,###,###"));
}

void SSGARASUFM::List1_KeyDown(int keyCode)
{
    if (keyCode == 13)
        Text1->setFocus();
}

void SSGARASUFM::Option5_Click()
{
    Option5->setChecked(true);
    Text5->setText(QString()); // the search text is kept for the next search
    TANPIN_LIST_ALL();
}

void SSGARASUFM::Text5_Entered()
{
    Option5->setChecked(false);
    TANPIN_LIST_FIND();
}

void SSGARASUFM::Command1_Click()
{
    // A price or cost typed without Enter is taken as Enter takes it; a refused one adds nothing.
    for (EntryBox *box : {Text3, Text4})
        if (!box->takeTyped())
            return;
    qd::grid::RedrawOff redrawOff(g.curGrid());
    g.INSERT_ROWS = 1;
    qd::core::GRID_ROWS_INSERT(g);
    try {
        qd::entry::TANPIN_TO_GRID(g);
    } catch (...) {
        // The row that could not be filled goes again: the sheet is as it was.
        g.curGrid().removeItem(static_cast<int>(g.ROW_NO));
        qd::core::GRID_PAGE_NUMBER(g);
        throw;
    }
    unloadForm();
}

void SSGARASUFM::Command4_Click()
{
    enableCommands();
    for (QLineEdit *box : std::initializer_list<QLineEdit *>{Text1, Text2, Text3, Text4})
        box->clear();
    TANPIN_LIST_ALL();
    List1->setFocus();
}

void SSGARASUFM::Command5_Click()
{
    qd::entry::TANPIN_REWRITE(g);
    unloadForm();
}

} // namespace qd::forms
