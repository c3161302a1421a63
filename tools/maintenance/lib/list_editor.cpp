#include "tools/maintenance/lib/list_editor.h"

#include "platform/files/file_error.h"
#include "platform/qt/entry_box.h"
#include "platform/qt/list_box.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "records/records_state.h"
#include "records/whole_file.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <limits>
#include <optional>
#include <set>

namespace qd::maint {

namespace {

using qd::qt::colorOfBgr;
using qd::qt::EntryBox;
using qd::qt::ListBox;
using qd::qt::toolFont;
using qd::text::fixedChars;
using qd::text::format;

QString q(const std::string &s) { return QString::fromStdString(s); }

const QString NUMBER_MESSAGE = QStringLiteral("数値を入力して下さい！");
const QString DUPLICATE_MESSAGE = QStringLiteral("ｺｰﾄﾞが重複しています。やり直して下さい！");
const QString CHANGED_MESSAGE = QStringLiteral("他のプログラムがこのファイルを書き換えました。") + u'\r' +
                                QStringLiteral("一覧を読み直しました。もう一度選んで下さい。");
const QString MAJOR_GONE_MESSAGE = QStringLiteral("この大分類は削除されています。") + u'\r' +
                                   QStringLiteral("大分類を選び直して下さい。");
const QString READ_FAILED = QStringLiteral("ファイルを読めませんでした。");
const QString WRITE_FAILED = QStringLiteral("ファイルに書き込めませんでした。元のファイルはそのままです。");
const QString WRITE_MAY_HOLD = QStringLiteral("ファイルに書き込めませんでした。") +
                               QStringLiteral("書きかけのレコードがファイルに残っているかもしれません。");
// A write that landed, and the list that could not be read again after it.
const QString ADDED_NOT_RELISTED = QStringLiteral("追加しました。一覧を読み直せませんでした。");
const QString CHANGED_NOT_RELISTED = QStringLiteral("変更しました。一覧を読み直せませんでした。");
const QString DELETED_NOT_RELISTED = QStringLiteral("削除しました。一覧を読み直せませんでした。");

const QColor GREY = colorOfBgr(0x00C0C0C0);
const QColor BLUE = colorOfBgr(0x00FF0000);
const QColor LIGHT_CYAN = colorOfBgr(0x00FFFF80);
const QColor RED = colorOfBgr(0x000000FF);
const QColor MAGENTA = colorOfBgr(0x00FF00FF);

qd::qt::TwipsRect twips(const Place &p) { return {double(p.left), double(p.top), double(p.width), double(p.height)}; }

QString amountText(std::int32_t v) { return q(format(v, "#,###,##0")); }

std::int16_t toInt16(std::int64_t v)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
}

std::int32_t toInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

ListEditor::ListEditor(const ListTool &t) : ToolWindow(QString::fromUtf8(t.program)), tool(t), g(t.layout())
{
    setObjectName(QString::fromUtf8(tool.form));
    g.EDIT_NAME = std::string(static_cast<std::size_t>(tool.nameChars), ' ');
    setPendingMessages([this] { return g.partialNotes.takeTexts("\r"); });
    buildControls();
    bindBoxes();
    connectHandlers();
}

void ListEditor::buildControls()
{
    setColors(this, Qt::black, GREY);
    for (const LabelDef &d : tool.labels) {
        QLabel *l = addLabel(QString::fromUtf8(d.name), QString::fromUtf8(d.caption), twips(d.at), toolFont(d.points, true));
        if (d.look == LabelLook::Hint) {
            setColors(l, RED, GREY);
        } else {
            setColors(l, BLUE, LIGHT_CYAN);
            l->setAlignment(Qt::AlignCenter);
            if (d.look == LabelLook::BorderedHeading)
                l->setFrameStyle(QFrame::Box | QFrame::Plain);
        }
        labels.insert(l->objectName(), l);
    }

    const QFont boxFont = toolFont(12);
    Text1 = addEntryBox(QStringLiteral("Text1"), twips(tool.text1.at), boxFont, tool.text1.maxLength, tool.text1.right);
    Text2 = addEntryBox(QStringLiteral("Text2"), twips(tool.text2.at), boxFont, tool.text2.maxLength, tool.text2.right);
    if (tool.hasPrices()) {
        Text3 = addEntryBox(QStringLiteral("Text3"), twips(tool.text3.at), boxFont, 0, tool.text3.right);
        Text4 = addEntryBox(QStringLiteral("Text4"), twips(tool.text4.at), boxFont, 0, tool.text4.right);
    }

    List1 = addListBox(QStringLiteral("List1"), twips(tool.list1.at), toolFont(tool.list1.points, tool.list1.bold),
                       tool.list1.sorted);
    // A line ends in its record number, for the handlers only.
    List1->setHiddenTail(5);
    if (tool.extendedSelection)
        List1->setSelectionKind(ListBox::Selection::Extended);
    if (tool.twoLevel()) {
        List2 = addListBox(QStringLiteral("List2"), twips(tool.list2.at), toolFont(tool.list2.points, tool.list2.bold),
                           tool.list2.sorted);
        QPalette p = List2->palette();
        p.setColor(QPalette::Text, MAGENTA);
        List2->setPalette(p);
    }

    const char *captions[5] = {"追加", "変更", "削除", "取消", "終了"};
    QPushButton **buttons[5] = {&Command1, &Command2, &Command3, &Command4, &Command5};
    for (int i = 0; i < 5; ++i)
        *buttons[i] = addButton(QStringLiteral("Command%1").arg(i + 1), QString::fromUtf8(captions[i]),
                                twips(tool.commands[i]), toolFont(13.5, true));
    // What is typed into a box and left for "追加" or "変更", by a click or by Tab, stays there for
    // the button to take (takeTyped).
    for (EntryBox *box : {Text1, Text2, Text3, Text4})
        if (box)
            box->setTakers({Command1, Command2});

    QWidget *previous = nullptr;
    for (const char *name : tool.tabOrder) {
        auto *w = findChild<QWidget *>(QString::fromUtf8(name));
        if (previous && w)
            setTabOrder(previous, w);
        if (w)
            previous = w;
    }
}

void ListEditor::bindBoxes()
{
    Text1->bind({[this] { return QString::number(g.EDIT_CODE); },
                 [this] { return q(format(g.EDIT_CODE, tool.codeShown)); },
                 [this](const QString &typed) { return take(Text1, typed); }});
    Text1->setNext(Text2);

    Text2->bind({[this] { return q(g.EDIT_NAME); }, [this] { return q(g.EDIT_NAME); },
                 [this](const QString &typed) { return take(Text2, typed); }});
    Text2->setNext(tool.hasPrices() ? static_cast<QWidget *>(Text3) : Text1);
    Text2->setEscape(EntryBox::Escape::Restore, Text1);

    if (tool.hasPrices()) {
        auto bindAmount = [this](EntryBox *box, std::int32_t &value) {
            box->bind({[&value] { return QString::number(value); }, [&value] { return amountText(value); },
                       [this, box](const QString &typed) { return take(box, typed); }});
        };
        bindAmount(Text3, g.EDIT_PRICE);
        bindAmount(Text4, g.EDIT_COST);
        Text3->setNext(Text4);
        Text3->setEscape(EntryBox::Escape::Restore, Text2);
        Text4->setNext(Text1);
        Text4->setEscape(EntryBox::Escape::Restore, Text3);
    }
}

void ListEditor::connectHandlers()
{
    auto run = [this](void (ListEditor::*handler)(), const QString &headline = READ_FAILED) {
        return [this, handler, headline] { guarded([this, handler] { (this->*handler)(); }, headline); };
    };
    connect(List1, &ListBox::Click, this, run(&ListEditor::List1_Click));
    connect(List1, &ListBox::KeyDown, this, [this](int key) { List1_KeyDown(key); });
    if (List2) {
        connect(List2, &ListBox::Click, this, run(&ListEditor::List2_Click));
        connect(List2, &ListBox::KeyDown, this, [this](int key) { List2_KeyDown(key); });
    }
    connect(Command1, &QPushButton::clicked, this, run(&ListEditor::Command1_Click, WRITE_FAILED));
    connect(Command2, &QPushButton::clicked, this, run(&ListEditor::Command2_Click, WRITE_FAILED));
    connect(Command3, &QPushButton::clicked, this, run(&ListEditor::Command3_Click, WRITE_FAILED));
    connect(Command4, &QPushButton::clicked, this, run(&ListEditor::Command4_Click));
    connect(Command5, &QPushButton::clicked, this, run(&ListEditor::Command5_Click, WRITE_FAILED));

    connect(Text1, &EntryBox::Entered, this, [this] {
        if (tool.warnsDuplicate)
            guarded([this] { CODE_CHECK(); }, READ_FAILED);
    });
    connect(Text1, &EntryBox::Left, this, [this] {
        if (tool.holdsFocus(g.EDIT_CODE))
            Text1->setFocus(Qt::OtherFocusReason);
        g.RANGE_VALUE = g.EDIT_CODE;
        NUM_RANGE_CHECK();
    });
    if (tool.hasPrices()) {
        auto checkAmount = [this](EntryBox *box, const std::int32_t &value) {
            g.RANGE_VALUE = value;
            NUM_RANGE_CHECK();
            if (g.CHK_ERR == 1) {
                box->showStored();
                box->setFocus(Qt::OtherFocusReason);
            }
        };
        connect(Text3, &EntryBox::Left, this, [this, checkAmount] { checkAmount(Text3, g.EDIT_PRICE); });
        connect(Text4, &EntryBox::Left, this, [this, checkAmount] { checkAmount(Text4, g.EDIT_COST); });
    }
}

bool ListEditor::take(EntryBox *box, const QString &typed)
{
    if (box == Text2) {
        g.EDIT_NAME = fixedChars(typed.toStdString(), static_cast<std::size_t>(tool.nameChars));
        return true;
    }
    const NumberRange &range = box == Text1 ? tool.code : box == Text3 ? PriceRange : CostRange;
    const auto v = qd::qt::wholeNumberOf(typed.toStdString(), std::numeric_limits<std::int64_t>::min(),
                                         std::numeric_limits<std::int64_t>::max());
    if (!v || !range.holds(*v)) {
        // A number outside the field is told with what the field takes, text that is no number
        // with the general message. The refused text stays, selected, with the focus, so no box
        // shows a value that is not the one in effect.
        userError(v ? q(range.refusal(*v)) : NUMBER_MESSAGE);
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return false;
    }
    if (box == Text1)
        g.EDIT_CODE = static_cast<std::int16_t>(*v);
    else
        (box == Text3 ? g.EDIT_PRICE : g.EDIT_COST) = static_cast<std::int32_t>(*v);
    return true;
}

bool ListEditor::takeTyped()
{
    for (EntryBox *box : {Text1, Text2, Text3, Text4}) {
        if (!box || !box->hasTyped())
            continue;
        if (!box->takeTyped())
            return false;
        // A code already in use is warned of as Enter warns of it, before anything is written;
        // pressed again, "変更" writes it ("追加" refuses a code the master holds).
        if (box == Text1 && tool.warnsDuplicate) {
            bool warned = false;
            if (!guarded([&] { warned = CODE_CHECK(); }, READ_FAILED) || warned)
                return false;
        }
    }
    return true;
}

MasterFile ListEditor::master() const
{
    const std::string inst = qd::qt::installFolder();
    return MasterFile(tool.masterPath(inst), tool.workPath(inst), tool.layout());
}

void ListEditor::setButtons(const char *row)
{
    QPushButton *buttons[5] = {Command1, Command2, Command3, Command4, Command5};
    for (int i = 0; i < 5 && row[i]; ++i) {
        if (row[i] == 'E')
            buttons[i]->setEnabled(true);
        else if (row[i] == 'D')
            buttons[i]->setEnabled(false);
    }
}

void ListEditor::focusTo(Target target)
{
    QWidget *w = target == Target::List2 && List2 ? static_cast<QWidget *>(List2)
                 : target == Target::Text1        ? static_cast<QWidget *>(Text1)
                                                  : static_cast<QWidget *>(List1);
    w->setFocus(Qt::OtherFocusReason);
}

void ListEditor::clearBoxes()
{
    for (EntryBox *box : {Text1, Text2, Text3, Text4})
        if (box)
            box->clear();
}

void ListEditor::Form_Load() { load(READ_FAILED); }

void ListEditor::load(const QString &readFailed)
{
    placeCentred(tool.width, tool.height);
    setButtons(tool.buttons.load);
    // What the lists could show only in part is told once the window stands.
    holdPendingMessages(true);
    if (tool.twoLevel()) {
        List1->clearLines();
        guarded([this] { MAKER_LIST_FILL(); }, readFailed);
        // The classes or colours are listed once a major class is chosen; a missing master is
        // made empty now, as the tool opens it at start.
        guarded([this] { g.REC_COUNT = static_cast<std::int32_t>(master().readAll().size()); }, readFailed);
    } else {
        guarded([this] { LIST_FILL(); }, readFailed);
    }
    show();
    raise();
    activateWindow();
    focusTo(tool.afterLoad);
    g.EDIT_CODE = 1;
    g.EDIT_NAME = std::string(static_cast<std::size_t>(tool.nameChars), ' ');
    g.EDIT_PRICE = 0;
    g.EDIT_COST = 0;
    g.CHOSEN_MAJOR = 0;
    m_chosen = false;
    holdPendingMessages(false);
    showPendingMessages();
}

void ListEditor::LIST_FILL()
{
    List1->clearLines();
    m_listedKeys.clear();
    const MasterFile file = master();
    const qd::records::WholeRecords read = file.readFile();
    g.partialNotes.see(file.path(), read, tool.layout().length);
    const std::vector<Record> records = qd::records::recordsOf(read, tool.layout());
    g.REC_COUNT = static_cast<std::int32_t>(records.size());
    m_listedKeys.assign(records.size() + 1, std::string());
    std::vector<qd::qt::ListBoxLine> lines;
    lines.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record &rec = records[i];
        const auto n = static_cast<std::int32_t>(i + 1);
        if (!tool.listsDeleted && tool.isDeleted(rec))
            continue;
        if (tool.twoLevel() && rec.number(tool.majorField) != g.CHOSEN_MAJOR)
            continue;
        lines.push_back({q(tool.listLine(rec, n)), n});
        m_listedKeys[i + 1] = recordKey(tool, rec);
    }
    List1->addLines(lines);
}

std::vector<Record> ListEditor::majorClasses()
{
    // Read only: a missing "\data\MAKER.TXT" lists no major class and is not made.
    return qd::records::readShownRecords(qd::text::trim(qd::qt::installFolder()) + "\\data\\MAKER.TXT",
                                         qd::records::MajorClass::layout(), g.partialNotes);
}

void ListEditor::MAKER_LIST_FILL()
{
    List2->clearLines();
    const std::vector<Record> records = majorClasses();
    g.MAJOR_COUNT = static_cast<std::int32_t>(records.size());
    std::vector<qd::qt::ListBoxLine> lines;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record &rec = records[i];
        lines.push_back({q(formatCodeText(rec.text(qd::records::MajorClass::MAKER_CD), "00") + " " +
                           fixedChars(rec.text(qd::records::MajorClass::NAME), 20)),
                         static_cast<int>(i + 1)});
    }
    List2->addLines(lines);
}

bool ListEditor::majorStillLive()
{
    if (g.CHOSEN_MAJOR == 0)
        return false;
    for (const Record &rec : majorClasses())
        if (!qd::records::isDeletedMajorClass(rec) && rec.number(qd::records::MajorClass::MAKER_CD) == g.CHOSEN_MAJOR)
            return true;
    return false;
}

void ListEditor::List1_Click()
{
    const int index = List1->listIndex();
    if (index < 0)
        return;
    setButtons(tool.buttons.list1Click);
    g.LIST_POS = static_cast<std::int16_t>(index);
    g.CUR_REC = List1->lineData(index).toInt();
    const Record rec = master().read(g.CUR_REC);
    const std::size_t n = static_cast<std::size_t>(g.CUR_REC);
    if (n >= m_listedKeys.size() || !stillListed(rec) || recordKey(tool, rec) != m_listedKeys[n]) {
        listChanged();
        return;
    }
    g.REC = rec;
    g.CUR_KEY = recordKey(tool, rec);
    m_chosen = true;
    g.EDIT_CODE = toInt16(rec.fixedValue(tool.codeField).roundHalfEven());
    g.EDIT_NAME = fixedChars(rec.text(tool.nameField), static_cast<std::size_t>(tool.nameChars));
    Text1->setTextFromStart(q(format(g.EDIT_CODE, tool.codeShown)));
    Text2->setTextFromStart(q(g.EDIT_NAME));
    if (tool.hasPrices()) {
        g.EDIT_PRICE = toInt32(rec.fixedValue(tool.priceField).roundHalfEven());
        g.EDIT_COST = toInt32(rec.fixedValue(tool.costField).roundHalfEven());
        Text3->setTextFromStart(amountText(g.EDIT_PRICE));
        Text4->setTextFromStart(amountText(g.EDIT_COST));
    }
}

bool ListEditor::stillListed(const Record &rec) const
{
    return tool.listsDeleted || !tool.isDeleted(rec);
}

bool ListEditor::changeChosen(const std::function<void(Record &)> &edit)
{
    // The record stays chosen when the write fails (FileError): the file still holds it as listed.
    const bool written = master().changeRecord(
        g.CUR_REC, [this](const Record &rec) { return stillListed(rec) && recordKey(tool, rec) == g.CUR_KEY; },
        [this, &edit](Record &rec) {
            edit(rec);
            g.REC = rec;
        });
    m_chosen = false;
    if (!written)
        listChanged();
    return written;
}

void ListEditor::listChanged()
{
    m_chosen = false;
    userError(CHANGED_MESSAGE);
    clearBoxes();
    setButtons(tool.twoLevel() ? tool.buttons.list2Click : tool.buttons.cancel);
    if (tool.twoLevel() && g.CHOSEN_MAJOR == 0)
        Command1->setEnabled(false);
    LIST_FILL();
}

void ListEditor::List1_KeyDown(int keyCode)
{
    if (keyCode == 13)
        Text1->setFocus(Qt::OtherFocusReason);
}

void ListEditor::List2_Click()
{
    const int index = List2->listIndex();
    if (index < 0)
        return;
    setButtons(tool.buttons.list2Click);
    m_chosen = false;
    Text1->clear();
    Text2->clear();
    g.CHOSEN_MAJOR = toInt16(qd::text::roundHalfEven(qd::text::val(qd::text::leftChars(List2->lineText(index).toStdString(), 2))));
    // A deleted major class ("00") takes no new classes or colours: they would belong to none.
    if (g.CHOSEN_MAJOR == 0)
        Command1->setEnabled(false);
    LIST_FILL();
}

void ListEditor::List2_KeyDown(int keyCode)
{
    if (keyCode == 13)
        List1->setFocus(Qt::OtherFocusReason);
}

void ListEditor::recSet(Record &rec) const
{
    if (tool.recSet) {
        tool.recSet(g, rec);
        return;
    }
    rec.setNumber(tool.codeField, g.EDIT_CODE, tool.codePattern);
    rec.setText(tool.nameField, g.EDIT_NAME);
    if (tool.hasPrices()) {
        rec.setNumber(tool.priceField, g.EDIT_PRICE, "0000000");
        rec.setNumber(tool.costField, g.EDIT_COST, "0000000");
    }
    if (tool.twoLevel())
        rec.setNumber(tool.majorField, g.CHOSEN_MAJOR, "00");
}

bool ListEditor::valuesFit()
{
    // A code outside the field (or 0, the mark of a deleted record) and an amount beyond its
    // seven digits would be cut into another value when written. Enter lets none of them in; a
    // record read from the file may still hold one.
    struct Value {
        const NumberRange &range;
        std::int64_t value;
        EntryBox *box;
    };
    std::vector<Value> values = {{tool.code, g.EDIT_CODE, Text1}};
    if (tool.hasPrices()) {
        values.push_back({PriceRange, g.EDIT_PRICE, Text3});
        values.push_back({CostRange, g.EDIT_COST, Text4});
    }
    for (const Value &v : values) {
        if (!v.range.holds(v.value)) {
            userError(q(v.range.refusal(v.value)));
            v.box->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

bool ListEditor::beforeWrite(QPushButton *button)
{
    if (!takeTyped())
        return false;
    // The focus goes to the button as a click would give it, so the boxes are left as usual.
    button->setFocus(Qt::OtherFocusReason);
    return valuesFit();
}

bool ListEditor::write(const std::function<void()> &step)
{
    try {
        step();
        return true;
    } catch (const std::exception &e) {
        userError(qd::qt::failureText(qd::files::mayHaveChanged(e) ? WRITE_MAY_HOLD : WRITE_FAILED, e));
        return false;
    }
}

bool ListEditor::holdsCode(const Record &rec) const
{
    return !tool.isDeleted(rec) && (!tool.twoLevel() || rec.number(tool.majorField) == g.CHOSEN_MAJOR) &&
           rec.number(tool.codeField) == g.EDIT_CODE;
}

void ListEditor::Command1_Click()
{
    if (!beforeWrite(Command1))
        return;
    if (tool.twoLevel()) {
        bool live = false;
        if (!guarded([&] { live = majorStillLive(); }, READ_FAILED))
            return;
        if (!live) {
            userError(MAJOR_GONE_MESSAGE);
            Command4_Click();
            return;
        }
    }
    Record rec(tool.layout());
    recSet(rec);
    rec.setSeparators();
    g.REC = rec;
    // The code is looked for in the master as it stands under the append's lock, so that a
    // record written by another program, or by a press whose list could not be read again, is
    // never written a second time.
    const MasterFile::RecordCheck codeIsFree = [this](std::int32_t count, const auto &recordAt) {
        for (std::int32_t n = 1; n <= count; ++n)
            if (holdsCode(recordAt(n)))
                return false;
        return true;
    };
    bool duplicate = false;
    if (!write([&] { duplicate = !master().append(rec, codeIsFree); }))
        return;
    if (duplicate) {
        userError(DUPLICATE_MESSAGE);
        Text1->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The record is in the file: the boxes are emptied as after any add, whether or not the
    // list can be read again.
    clearBoxes();
    guarded([this] { LIST_FILL(); }, ADDED_NOT_RELISTED);
    focusTo(tool.afterAdd);
}

void ListEditor::Command2_Click()
{
    if (!m_chosen || !beforeWrite(Command2))
        return;
    // A change the disk refused leaves the record chosen and the buttons as they were, with the
    // typed values in their boxes: "変更" again writes them.
    bool changed = false;
    if (!write([&] { changed = changeChosen([this](Record &rec) { recSet(rec); }); }))
        return;
    if (changed) {
        setButtons(tool.buttons.change);
        clearBoxes();
        guarded([this] { LIST_FILL(); }, CHANGED_NOT_RELISTED);
    }
    focusTo(tool.afterChange);
}

void ListEditor::Command3_Click()
{
    // A deletion the disk refused leaves the chosen lines and the buttons as they were: "削除"
    // again deletes them.
    if (tool.deletion == ListTool::Deletion::Compact) {
        // The chosen items leave the file at once; so does every item marked deleted before.
        std::set<std::int32_t> chosen;
        std::vector<std::pair<std::int32_t, std::string>> expected;
        for (int index : List1->selectedLines()) {
            const std::int32_t n = List1->lineData(index).toInt();
            chosen.insert(n);
            expected.emplace_back(n, static_cast<std::size_t>(n) < m_listedKeys.size() ? m_listedKeys[static_cast<std::size_t>(n)]
                                                                                       : std::string());
        }
        std::optional<std::int32_t> kept;
        if (!write([&] {
                kept = master().rewrite(
                    {[this, &expected](std::int32_t count, const std::function<const Record &(std::int32_t)> &recordAt) {
                         for (const auto &[n, key] : expected)
                             if (n < 1 || n > count || recordKey(tool, recordAt(n)) != key)
                                 return false;
                         return true;
                     },
                     [this, &chosen](std::int32_t n, const Record &rec) { return !chosen.count(n) && !tool.isDeleted(rec); },
                     nullptr});
            }))
            return;
        setButtons(tool.buttons.remove);
        m_chosen = false;
        if (!kept) {
            listChanged();
            return;
        }
        // The items are out of the file; the start runs again, and a list it cannot read is
        // told as such after a deletion that was made.
        load(DELETED_NOT_RELISTED);
        clearBoxes();
        Text1->setFocus(Qt::OtherFocusReason);
        return;
    }

    if (!m_chosen) {
        setButtons(tool.buttons.remove);
        return;
    }
    // The record stays in the file with its mark until the end rewrites the master.
    bool marked = false;
    if (!write([&] { marked = changeChosen([this](Record &rec) { tool.markDeleted(rec); }); }))
        return;
    if (marked) {
        setButtons(tool.buttons.remove);
        clearBoxes();
        List1->removeLine(g.LIST_POS);
    }
    focusTo(tool.afterDelete);
}

void ListEditor::Command4_Click()
{
    setButtons(tool.buttons.cancel);
    m_chosen = false;
    clearBoxes();
    if (tool.twoLevel()) {
        List1->clearLines();
        MAKER_LIST_FILL();
    } else {
        LIST_FILL();
    }
    focusTo(tool.afterCancel);
}

void ListEditor::Command5_Click()
{
    if (tool.deletion == ListTool::Deletion::Mark) {
        // The master without its deleted records, in code order, records of equal code in
        // their old order.
        if (!write([this] {
                master().rewrite({nullptr, [this](std::int32_t, const Record &rec) { return !tool.isDeleted(rec); },
                                  [this](const Record &rec) { return tool.rewriteKey(rec); }});
            }))
            return;
    }
    unload();
}

bool ListEditor::CODE_CHECK()
{
    const std::vector<Record> records = master().readAll();
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (m_chosen && static_cast<std::int32_t>(i + 1) == g.CUR_REC)
            continue;
        if (records[i].number(tool.codeField) == g.EDIT_CODE) {
            userError(DUPLICATE_MESSAGE);
            Text1->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return false;
}

void ListEditor::NUM_RANGE_CHECK(std::int64_t low, std::int64_t high)
{
    if (g.RANGE_VALUE >= low && g.RANGE_VALUE <= high) {
        g.CHK_ERR = 0;
        return;
    }
    g.CHK_ERR = 1;
    userError(NUMBER_MESSAGE);
}

} // namespace qd::maint
