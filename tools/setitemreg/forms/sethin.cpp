#include "tools/setitemreg/forms/sethin.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/qt/focus_moves.h"
#include "platform/qt/forms.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/set_files.h"
#include "tools/setitemreg/core/price_panels.h"

namespace qd::setitemreg {

namespace r = qd::records;
using qd::qt::setGeometryTwips;
using qd::qt::TwipsRect;
using qd::text::format;

namespace {

constexpr int KEY_ENTER = 13;

QString q(const std::string &s) { return QString::fromStdString(s); }
std::string s(const QString &t) { return t.toStdString(); }

// Runs `in` when the focus moves into `watched` (not when a message box gives it back), ahead of
// the widget's own handling.
class FocusHook : public QObject {
public:
    FocusHook(QWidget *watched, std::function<void()> in) : QObject(watched), m_in(std::move(in))
    {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && m_moves.gotFocus(static_cast<QFocusEvent *>(event)))
            m_in();
        else if (event->type() == QEvent::FocusOut)
            m_moves.lostFocus(static_cast<QFocusEvent *>(event));
        return false;
    }

private:
    std::function<void()> m_in;
    qd::qt::FocusMoves m_moves;
};

// Hides `w`; when it holds the focus, the focus goes to `to` first, so that hiding it does not
// hand the focus to whatever control comes next.
void hideFrom(QWidget *w, QWidget *to)
{
    if (w->hasFocus() && to)
        to->setFocus();
    w->hide();
}

} // namespace

SETHIN::SETHIN(SethinState &state, QWidget *parent) : ToolWindow(QStringLiteral("setitemreg"), parent), g(state)
{
    setObjectName("SETHIN");
    setWindowTitle(QStringLiteral("☆☆☆　セット品情報　☆☆☆"));
    setPendingMessages([this] { return g.partialNotes.takeTexts("\r"); });
    const QFont font = qd::qt::toolFont(9);
    const QFont bold = qd::qt::toolFont(9, true);

    Label7 = addLabel("Label7", "セットコード", {2520, 120, 2295, 255}, font);
    Label6 = addLabel("Label6", "SET", {2520, 360, 735, 405}, bold);
    Text1 = addEntryBox("Text1", {3240, 360, 1575, 405}, bold, 5);
    Label29 = addLabel("Label29", "セット名", {2520, 720, 735, 405}, font);
    Text52 = addEntryBox("Text52", {3240, 720, 3855, 405}, font);
    Label8 = addLabel("Label8", "トータル金額", {4800, 120, 2295, 255}, font);
    Text2 = new QLineEdit(this);
    Text2->setObjectName("Text2");
    Text2->setReadOnly(true);
    Text2->setFocusPolicy(Qt::NoFocus);
    Text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text2->setFont(bold);
    setGeometryTwips(Text2, 4800, 360, 2295, 405);
    Label24 = addLabel("Label24", "数量", {7080, 720, 615, 405}, font);
    Text26 = new QLineEdit(this);
    Text26->setObjectName("Text26");
    Text26->setReadOnly(true);
    Text26->setFocusPolicy(Qt::NoFocus);
    Text26->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text26->setFont(font);
    setGeometryTwips(Text26, 7680, 720, 975, 405);

    Command1 = addButton("Command1", "追加", {8160, 120, 735, 495}, font);
    Command2 = addButton("Command2", "変更", {9000, 120, 735, 495}, font);
    Command5 = addButton("Command5", "終了", {9840, 120, 735, 495}, font);
    Command4 = addButton("Command4", "取消", {8880, 720, 735, 495}, font);
    Command3 = addButton("Command3", "削除", {9840, 720, 735, 495}, font);

    File1 = new FileListBox(this);
    File1->setObjectName("File1");
    File1->setFont(font);
    File1->setPattern(QStringLiteral("SET*.TXT"));
    setGeometryTwips(File1, 120, 120, 2055, 984);

    List9 = addListBox("List9", {2520, 1200, 4575, 6510}, font, false);
    List8 = addListBox("List8", {240, 1320, 10215, 400}, font, false);
    List8->setSelectionKind(ListBox::Selection::Extended);
    Label3 = addLabel("Label3", "メーカー", {720, 1320, 2775, 255}, font);
    List2 = addListBox("List2", {720, 1560, 2775, 970}, font, false);
    Label1 = addLabel("Label1", "分類名", {720, 2640, 2775, 255}, font);
    List1 = addListBox("List1", {720, 2880, 2775, 1540}, font, false);
    Label2 = addLabel("Label2", "品　種　名　１", {3600, 1320, 4335, 255}, font);
    List3 = addListBox("List3", {3600, 1560, 4335, 970}, font, false);
    Label17 = addLabel("Label17", "品　種　名　２", {3600, 2640, 4335, 255}, font);
    List4 = addListBox("List4", {3600, 2880, 4335, 1540}, font, false);
    Label4 = addLabel("Label4", "地方間名", {8040, 1320, 1935, 255}, font);
    List5 = addListBox("List5", {8040, 1560, 1935, 970}, font, false);
    Label5 = addLabel("Label5", "色名", {8040, 2640, 1935, 255}, font);
    List7 = addListBox("List7", {8040, 2880, 1935, 1540}, font, false);
    Label9 = addLabel("Label9", "単　　価　　情　　報", {720, 4560, 9255, 255}, font);
    List6 = addListBox("List6", {720, 4800, 9255, 2680}, font, false);

    // A section or colour line shows its code and a name of the field's 20 bytes whole: the list
    // and its heading widen to the right as far as the font needs.
    for (const auto &[list, heading] : {std::pair{List5, Label4}, std::pair{List7, Label5}}) {
        const int w = std::max(list->width(), list->widthToShow(QStringLiteral("00 ") + QString(10, QChar(0x30A2))));
        list->resize(w, list->height());
        heading->resize(w, heading->height());
    }
    // Lines end in their record numbers, for the handlers only: five digits for the classes,
    // four for the sections and colours, six for the kinds, the price lines and the components.
    List1->setHiddenTail(5);
    for (ListBox *l : {List5, List7})
        l->setHiddenTail(4);
    for (ListBox *l : {List3, List4, List6, List8})
        l->setHiddenTail(6);

    ListBox *const masters[] = {List1, List2, List3, List4, List5, List6, List7};
    for (int n = 1; n <= 7; ++n)
        m_choices[static_cast<std::size_t>(n)].attach(masters[n - 1]);

    Frame2 = new PriceFrame(PriceFrame::Kind::Component, this);
    setGeometryTwips(Frame2, 120, 3840, 10455, 3855);
    Frame3 = new PriceFrame(PriceFrame::Kind::PriceLine, this);
    setGeometryTwips(Frame3, 0, 0, 1810, 610);

    // The commands.
    const auto on = [this](void (SETHIN::*handler)()) { return [this, handler] { guarded([&] { (this->*handler)(); }); }; };
    connect(Command1, &QPushButton::clicked, this, on(&SETHIN::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, on(&SETHIN::Command2_Click));
    connect(Command3, &QPushButton::clicked, this, on(&SETHIN::Command3_Click));
    connect(Command4, &QPushButton::clicked, this, on(&SETHIN::Command4_Click));
    connect(Command5, &QPushButton::clicked, this, on(&SETHIN::Command5_Click));

    // The set code and the set name.
    Text1->bind({[this] { return g.SET_CODE > 0 ? q(format(g.SET_CODE, "00000")) : Text1->text(); },
                 [this] { return g.SET_CODE > 0 ? q(format(g.SET_CODE, "00000")) : QString(); },
                 [this](const QString &typed) { return takeCode(typed); }});
    connect(Text1, &EntryBox::Entered, this, [this] { (m_newSet ? static_cast<QWidget *>(Text52) : List8)->setFocus(); });
    connect(Text1, &EntryBox::Left, this, [this] { Text1_LostFocus(); });
    new FocusHook(Text1, [this] { Text1_GotFocus(); });
    Text52->bind({[this] { return q(g.CUR_SET_NAME); }, [this] { return q(g.CUR_SET_NAME); },
                  [this](const QString &typed) { return takeName(typed); }});
    Text52->setEscape(EntryBox::Escape::Restore, nullptr);
    connect(Text52, &EntryBox::Entered, this, [this] {
        commands(true, std::nullopt, false, true, true);
        List8->hide();
        Frame2->hide();
        showMasters(true);
        Label7->show();
        List2->setFocus();
    });
    connect(Text52, &EntryBox::Left, this, [this] { List9->hide(); });
    new FocusHook(Text52, [this] { Text52_GotFocus(); });

    // The set list and the file list.
    connect(File1, &ListBox::Click, this, on(&SETHIN::File1_Click));
    connect(File1, &ListBox::KeyDown, this, [this](int k) { File1_KeyDown(k); });
    connect(List9, &ListBox::Click, this, on(&SETHIN::List9_Click));
    connect(List9, &ListBox::KeyDown, this, [this](int k) { List9_KeyDown(k); });
    connect(List8, &ListBox::GotFocus, this, on(&SETHIN::List8_GotFocus));
    connect(List8, &ListBox::Click, this, on(&SETHIN::List8_Click));
    connect(List8, &ListBox::KeyDown, this, [this](int k) { guarded([&] { List8_KeyDown(k); }); });

    // The master lists.
    connect(List2, &ListBox::Click, this, on(&SETHIN::List2_Click));
    connect(List1, &ListBox::Click, this, on(&SETHIN::List1_Click));
    connect(List3, &ListBox::Click, this, on(&SETHIN::List3_Click));
    connect(List4, &ListBox::Click, this, on(&SETHIN::List4_Click));
    connect(List5, &ListBox::Click, this, on(&SETHIN::List5_Click));
    connect(List7, &ListBox::Click, this, on(&SETHIN::List7_Click));
    connect(List6, &ListBox::Click, this, on(&SETHIN::List6_Click));
    connect(List6, &ListBox::MouseDown, this, on(&SETHIN::List6_MouseDown));
    connect(List6, &ListBox::MouseUp, this, on(&SETHIN::List6_MouseUp));
    for (ListBox *l : {List2, List1, List3, List4, List5, List7}) {
        connect(l, &ListBox::GotFocus, this, [this, l] { ListN_GotFocus(l); });
        connect(l, &ListBox::KeyDown, this, [this, l](int k) { ListN_KeyDown(l, k); });
    }
}

// ---- the window's states -----------------------------------------------------------------

void SETHIN::commands(std::optional<bool> add, std::optional<bool> change, std::optional<bool> del,
                      std::optional<bool> cancel, std::optional<bool> end)
{
    if (add)
        m_wantAdd = *add;
    if (change)
        m_wantChange = *change;
    if (del)
        Command3->setEnabled(*del);
    if (cancel)
        Command4->setEnabled(*cancel);
    if (end)
        Command5->setEnabled(*end);
    applyCommandRules();
}

void SETHIN::applyCommandRules()
{
    Command1->setEnabled(m_wantAdd && g.SET_OPEN && m_itemChosen);
    Command2->setEnabled(m_wantChange && g.SET_OPEN && m_chosenComponent > 0 && m_itemChosen);
}

void SETHIN::showMasters(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, Label2, Label3, Label4, Label5, Label17, Label9, List1,
                                                       List2, List3, List4, List5, List6, List7})
        w->setVisible(shown);
}

// The state after loading and after 取消: no set open, the set list and file list shown.
void SETHIN::startState()
{
    SET_CLOSE(g);
    m_itemChosen = false;
    m_chosenComponent = 0;
    m_newSet = false;
    commands(false, false, false, true, true);
    showMasters(false);
    for (QWidget *w : std::initializer_list<QWidget *>{List8, List9, Frame2, Frame3})
        w->hide();
    Text1->clear();
    Text52->clear();
    Text2->clear();
    Text26->clear();
    g.SET_CODE = 0;
    File1->show();
    File1->setPath(q(r::instDir(g) + "\\data\\"));
    // Only files whose names give a set code back are sets.
    for (int i = File1->lineCount() - 1; i >= 0; --i)
        if (r::setCodeOf(s(File1->lineText(i))) == 0)
            File1->removeLine(i);

    for (ListBox *l : {List1, List2, List3, List4, List5, List6, List7})
        choices(l).clear();
    List8->clearLines();
    g.SEL_MAKER = g.SEL_BUNRUI = g.SEL_HINSYU1 = g.SEL_HINSYU2 = g.SEL_CIHO = g.SEL_IRO = 0;
    g.SEL_KIGO = std::string(25, ' ');
    g.SEL_BIKO = std::string(50, ' ');
}

void SETHIN::Form_Load()
{
    startState();
    placeCentred(10845, 8355);
    setGeometryTwips(List9, 2520, 1200, 4575, 6510);
    show();
    reloadLists();
    List9->setFocus();
}

void SETHIN::reloadLists()
{
    SET_FILE_LIST();
    guarded(
        [&] {
            choices(List2).fill(majorLines(g));
            choices(List5).fill(sectionLines(g));
        },
        readFailed());
}

QString SETHIN::readFailed() const
{
    return m_written.isEmpty() ? QString() : m_written + QStringLiteral("\r一覧を読み直せませんでした。");
}

bool SETHIN::afterWrite(const QString &written, const std::function<void()> &show)
{
    m_written = written;
    const bool shown = guarded(show, readFailed());
    if (!shown) {
        // Back to the start: what the window showed of the set is no longer what the file
        // holds, and nothing of the write stands ready to be pressed again.
        startState();
        reloadLists();
        List9->setFocus();
    }
    m_written.clear();
    return shown;
}

// ---- lists of choices ----------------------------------------------------------------------

qd::qt::ListedLines<ChoiceLine> &SETHIN::choices(ListBox *list)
{
    for (auto &c : m_choices)
        if (c.list() == list)
            return c;
    throw std::logic_error("not a master list");
}

void SETHIN::itemChanged()
{
    m_itemChosen = false;
    choices(List6).clear();
    applyCommandRules();
}

// ---- the set -------------------------------------------------------------------------------

void SETHIN::SET_FILE_LIST()
{
    List9->show();
    List9->clearLines();
    guarded(
        [&] {
            for (const r::SetListEntry &e : r::SET_FILE_LIST(g))
                // The name and its file side by side: the line's wide gap would push the file name
                // past the list's edge.
                List9->addLine(q(e.setName) + QString(11, u' ') + q(e.fileName), q(e.fileName),
                               q(qd::text::fromField(qd::text::toField(e.setName, 30))) + QStringLiteral("  ") +
                                   q(e.fileName));
        },
        readFailed());
}

void SETHIN::SET_LIST_SHOW()
{
    commands(false, false, true, false, true);
    showMasters(false);
    setGeometryTwips(List8, 240, 1320, 10215, 2565);
    setGeometryTwips(Frame2, 120, 3840, 10455, 3855);
    Frame3->hide();
    Frame2->blank();
    Frame2->show();
    List8->show();
    hideFrom(List9, List8);
    Text26->clear();
    m_chosenComponent = 0;
    List8->clearLines();
    for (const ListedComponent &c : SET_LIST_READ(g))
        List8->addLine(q(c.line), c.recordNo);
    Text52->setText(q(g.CUR_SET_NAME));
    Text1->setText(q(format(g.SET_CODE, "00000")));
    Text2->setText(q(format(g.SET_TOTAL, "####,###,##0")));
    applyCommandRules();
}

bool SETHIN::takeCode(const QString &typed)
{
    const std::optional<double> v = qd::text::numberText(s(typed));
    if (!v)
        return false;
    if (std::fabs(*v) > 2147483647.0 || !r::isSetCode(qd::text::roundHalfEven(*v))) {
        userError(QStringLiteral("セットコードは 1～99999 で入力して下さい！"));
        return false;
    }
    const auto code = static_cast<std::int32_t>(qd::text::roundHalfEven(*v));
    bool hasRecords = false;
    if (!guarded([&] { hasRecords = SET_OPEN_BY_CODE(g, code); }))
        return false;
    m_newSet = !hasRecords;
    m_chosenComponent = 0;
    if (hasRecords) {
        guarded([&] { SET_LIST_SHOW(); });
    } else {
        // A new set: it gets its file with its first component; first its name.
        List8->hide();
        Frame2->hide();
        Text52->clear();
        Text2->clear();
        applyCommandRules();
    }
    return true;
}

void SETHIN::Text1_GotFocus()
{
    commands(true, false, false, false, true);
    for (QWidget *w : std::initializer_list<QWidget *>{List8, Frame2, Frame3})
        w->hide();
    showMasters(false);
    SET_FILE_LIST();
}

void SETHIN::Text1_LostFocus()
{
    g.RANGE_ERROR_FLAG = numericInRange(g.SET_CODE) ? 0 : 1;
    if (g.RANGE_ERROR_FLAG == 1) {
        userError(QStringLiteral("数値を入力して下さい！"));
        Text1->showStored();
        Text1->setFocus();
    }
}

bool SETHIN::takeName(const QString &typed)
{
    if (!g.SET_OPEN) {
        userError(QStringLiteral("セットコードを入力して下さい！"));
        return false;
    }
    if (!SET_NAME_TAKE(g, s(typed))) {
        userError(QStringLiteral("セット名を入力して下さい！"));
        return false;
    }
    return true;
}

void SETHIN::Text52_GotFocus()
{
    List8->hide();
    Frame2->hide();
}

void SETHIN::File1_Click()
{
    const QString name = File1->fileName();
    if (name.isEmpty())
        return;
    SET_OPEN_BY_NAME(g, s(name));
    m_newSet = false;
    SET_LIST_SHOW();
}

void SETHIN::File1_KeyDown(int keyCode)
{
    if (keyCode == KEY_ENTER)
        List8->setFocus();
}

void SETHIN::List9_Click()
{
    const int i = List9->listIndex();
    if (i < 0)
        return;
    SET_OPEN_BY_NAME(g, s(List9->lineData(i).toString()));
    m_newSet = false;
    SET_LIST_SHOW();
}

void SETHIN::List9_KeyDown(int keyCode)
{
    if (keyCode == KEY_ENTER)
        File1->setFocus();
}

void SETHIN::List8_GotFocus()
{
    commands(false, false, false, true, true);
    setGeometryTwips(List8, 240, 1320, 10215, 2565);
}

void SETHIN::List8_Click()
{
    commands(false, false, true, true, true);
    setGeometryTwips(Frame2, 120, 3840, 10455, 3855);
    TANKA_DISP_FRAME2();
}

void SETHIN::TANKA_DISP_FRAME2()
{
    const int i = List8->listIndex();
    if (i < 0 || !g.SET_OPEN)
        return;
    const std::int32_t recordNo = List8->lineData(i).toInt();
    if (recordNo < 1 || recordNo > g.SET_CTL.recordCount)
        return;
    g.SET_CTL.get(recordNo, g.SET_REC);
    const PanelContent content = componentPanel(g, g.SET_REC, recordNo);
    Frame2->show(content);
    Text26->setText(q(content.quantity));
    m_chosenComponent = recordNo;
    m_itemChosen = content.lineFound;
    applyCommandRules();
}

void SETHIN::List8_KeyDown(int keyCode)
{
    if (keyCode != KEY_ENTER)
        return;
    Text52->setFocus();
    List8->hide();
    Frame2->hide();
    showMasters(true);
    SET_ITEM_LOCATE();
}

// Positions the master lists on the component in SET_REC, each by choosing its line as a click
// would; a list without the component's line keeps its choice and the next list is searched.
void SETHIN::SET_ITEM_LOCATE()
{
    using S = r::SetItem::Field;
    const r::Record comp = g.SET_REC;
    const auto choose = [this](ListBox *list, const std::function<bool(const r::Record &)> &match) {
        for (int i = 0; i < list->lineCount(); ++i)
            if (const ChoiceLine *line = choices(list).at(i); line && match(line->rec)) {
                list->setListIndex(i);
                return;
            }
    };
    choose(List2, [&](const r::Record &m) { return m.raw(r::MajorClass::MAKER_CD) == comp.raw(S::MAKER_CD); });
    choose(List1, [&](const r::Record &c) { return c.raw(r::Class::BUNRUI_CD) == comp.raw(S::BUNRUI_CD); });
    choose(List3, [&](const r::Record &k) {
        return k.raw(r::Kind1::HINSYU1_CD).substr(0, 2) == comp.raw(S::HINSYU2_CD).substr(0, 2);
    });
    choose(List4, [&](const r::Record &k) { return k.raw(r::Kind2::HINSYU2_CD) == comp.raw(S::HINSYU2_CD); });
    choose(List5, [&](const r::Record &c) { return c.raw(r::Section::CIHO_CD) == comp.raw(S::CIHO_CD); });
    choose(List7, [&](const r::Record &c) { return c.raw(r::Color::IRO_CD) == comp.raw(S::IRO_CD); });
    PRICE_FILE_KEY_SET(g);
    choices(List6).fill(priceLines(g));
    choose(List6, [&](const r::Record &line) { return r::isSetPriceLine(comp, line); });
}

// ---- the master lists ------------------------------------------------------------------------

void SETHIN::List2_Click()
{
    commands(true, true, false, true, true);
    const ChoiceLine *line = chosen(List2);
    if (!line)
        return;
    majorChosen(g, *line);
    choices(List1).clear();
    choices(List3).clear();
    choices(List4).clear();
    itemChanged();
    choices(List1).fill(classLines(g));
    choices(List7).fill(colourLines(g));
}

void SETHIN::List1_Click()
{
    commands(true, true, false, true, true);
    const ChoiceLine *line = chosen(List1);
    if (!line)
        return;
    classChosen(g, *line);
    choices(List4).clear();
    itemChanged();
    choices(List3).fill(kind1Lines(g));
}

void SETHIN::List3_Click()
{
    commands(true, true, false, true, true);
    const ChoiceLine *line = chosen(List3);
    if (!line)
        return;
    kind1Chosen(g, *line);
    itemChanged();
    choices(List4).fill(kind2Lines(g, line->rec));
}

void SETHIN::List4_Click()
{
    commands(true, true, false, true, true);
    const ChoiceLine *line = chosen(List4);
    if (!line)
        return;
    kind2Chosen(g, *line);
    itemChanged();
}

void SETHIN::List5_Click()
{
    commands(true, true, false, true, true);
    const ChoiceLine *line = chosen(List5);
    if (!line)
        return;
    sectionChosen(g, *line);
    itemChanged();
    choices(List6).fill(priceLines(g));
}

void SETHIN::List7_Click()
{
    commands(true, true, false, true, true);
    if (const ChoiceLine *line = chosen(List7))
        colourChosen(g, *line);
}

void SETHIN::List6_Click()
{
    const ChoiceLine *line = chosen(List6);
    if (!line)
        return;
    priceLineChosen(g, *line);
    m_itemChosen = true;
    commands(true, true, false, true, true);
}

void SETHIN::List6_MouseDown()
{
    // A press where no line is chosen has nothing to show.
    const ChoiceLine *line = chosen(List6);
    if (!line)
        return;
    setGeometryTwips(Frame3, 0, 0, 10725, 3500);
    priceLineChosen(g, *line);
    Frame3->show(priceLinePanel(g, line->rec));
    Frame3->raise();
}

void SETHIN::List6_MouseUp() { Frame3->hide(); }

// Entering a list clears the price lines and the choices from its level down.
void SETHIN::ListN_GotFocus(ListBox *list)
{
    std::vector<ListBox *> reset;
    if (list == List2) {
        g.SEL_MAKER = g.SEL_BUNRUI = g.SEL_HINSYU1 = g.SEL_HINSYU2 = 0;
        reset = {List2, List1, List3, List4};
    } else if (list == List1) {
        g.SEL_BUNRUI = g.SEL_HINSYU1 = g.SEL_HINSYU2 = 0;
        reset = {List1, List3, List4};
    } else if (list == List3) {
        g.SEL_HINSYU1 = g.SEL_HINSYU2 = 0;
        reset = {List3, List4};
    } else if (list == List4) {
        g.SEL_HINSYU2 = 0;
        reset = {List4};
    } else if (list != List5) {
        return;
    }
    for (ListBox *l : reset)
        l->setListIndex(-1);
    itemChanged();
}

void SETHIN::ListN_KeyDown(ListBox *list, int keyCode)
{
    if (keyCode != KEY_ENTER)
        return;
    ListBox *next = list == List2   ? List1
                    : list == List1 ? List3
                    : list == List3 ? List4
                    : list == List4 ? List5
                    : list == List5 ? List7
                                    : List6;
    next->setFocus();
}

// ---- the commands ----------------------------------------------------------------------------

bool SETHIN::askQuantity()
{
    const QString answer =
        qd::qt::inputBox(QStringLiteral("数量を入れてください。"), QStringLiteral("単位数量"), q(format(g.SET_QTY, "####0")));
    switch (SET_QTY_TAKE(g, s(answer))) {
    case QtyAnswer::Cancelled:
        return false;
    case QtyAnswer::Refused:
        userError(QStringLiteral("数値を入力して下さい！"));
        return false;
    case QtyAnswer::Taken:
        break;
    }
    return true;
}

void SETHIN::Command1_Click()
{
    if (!g.SET_OPEN || !m_itemChosen)
        return;
    if (qd::text::trim(g.CUR_SET_NAME).empty()) {
        userError(QStringLiteral("セット名を入力して下さい！"));
        Text52->setFocus();
        return;
    }
    if (!askQuantity())
        return;
    SET_COMPONENT_ADD(g);
    afterWrite(QStringLiteral("構成品を追加しました。"), [&] { Form_Load(); });
}

void SETHIN::Command2_Click()
{
    if (!g.SET_OPEN || m_chosenComponent < 1 || !m_itemChosen)
        return;
    const std::int32_t component = m_chosenComponent;
    commands(true, false, false, true, true);
    if (!askQuantity())
        return;
    if (!guarded([&] { SET_COMPONENT_CHANGE(g, component); })) {
        SET_OPEN_BY_NAME(g, g.SET_FILE_NAME); // show the set as it stands now
        SET_LIST_SHOW();
        List8->setFocus();
        return;
    }
    if (afterWrite(QStringLiteral("構成品を変更しました。"), [&] { SET_LIST_SHOW(); }))
        List8->setFocus();
}

void SETHIN::Command3_Click()
{
    if (!g.SET_OPEN)
        return;
    commands(true, false, false, true, true);
    if (List8->lineCount() == 0) {
        // A set without components: its file goes. Records that are no component (a blank name)
        // are there still: ask first. A file that ends in a part of a record is refused as it is.
        if (g.SET_CTL.recordCount > 0 && r::setPartialBytes(g) == 0 &&
            message(QStringLiteral("このセットファイルにはまだレコードがあります。\r削除しますか？"),
                    qd::qt::Buttons::YesNo) != qd::qt::Answer::Yes)
            return;
        if (!guarded([&] { SET_FILE_REMOVE(g); })) {
            SET_OPEN_BY_NAME(g, g.SET_FILE_NAME); // show the set as it stands now
            SET_LIST_SHOW();
            return;
        }
        afterWrite(QStringLiteral("セットファイルを削除しました。"), [&] { Form_Load(); });
        return;
    }
    std::vector<std::int32_t> records;
    for (int i : List8->selectedLines())
        records.push_back(List8->lineData(i).toInt());
    if (records.empty())
        return;
    if (!guarded([&] { SET_COMPONENTS_DELETE(g, records); })) {
        SET_OPEN_BY_NAME(g, g.SET_FILE_NAME);
        SET_LIST_SHOW();
        return;
    }
    afterWrite(QStringLiteral("構成品を削除しました。"), [&] { SET_LIST_SHOW(); });
}

void SETHIN::Command4_Click()
{
    startState();
    reloadLists();
    List9->setFocus();
}

void SETHIN::Command5_Click() { unload(); }

} // namespace qd::setitemreg
