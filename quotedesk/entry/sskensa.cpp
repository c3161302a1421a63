#include "quotedesk/entry/sskensa.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <chrono>
#include <string_view>

#include "platform/files/file_error.h"
#include "platform/qt/entry_box.h"
#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/entry/cascade_lists.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/entry/price_item.h"
#include "quotedesk/entry/price_lists.h"
#include "quotedesk/entry/price_panel_view.h"
#include "quotedesk/entry/text_search.h"

namespace qd::forms {

using qd::qt::qs;

namespace {

using qd::entry::ListLine;
namespace P = qd::records::Price;
namespace Col = qd::records::Color;

constexpr int FORM_WIDTH = 9720, FORM_HEIGHT = 7350;

// The first and the last selected line's code, in list order (0 and 0 when none is selected).
void selectionRange(ListBox *list, std::int32_t &from, std::int32_t &to)
{
    bool first = true;
    for (int i : list->selectedLines()) {
        const std::int32_t v = codeNumber(lineAt(list, i).code);
        if (first)
            from = v;
        first = false;
        to = v;
    }
}

// The walk's view onto the form.
class FormSearchView : public qd::entry::SearchView {
public:
    explicit FormSearchView(SSKENSA &form) : m_form(form) {}
    void clearHits() override { m_form.List6->clearLines(); }
    void addHit(const ListLine &line) override { addLine(m_form.List6, line); }
    void showCount(const std::string &count) override { m_form.Text2->setText(qs(count)); }
    void showFile(const std::string &file) override { m_form.Text3->setText(qs(file)); }
    // Pending events run after every record, but no more often than the form's interval asks:
    // a pass costs far more than reading a record, and the window answers within the interval.
    void letEventsRun() override
    {
        const auto now = std::chrono::steady_clock::now();
        if (m_form.eventIntervalMs > 0 && now - m_lastPass < std::chrono::milliseconds(m_form.eventIntervalMs))
            return;
        qd::qt::doEvents();
        m_lastPass = std::chrono::steady_clock::now();
    }

private:
    SSKENSA &m_form;
    std::chrono::steady_clock::time_point m_lastPass = std::chrono::steady_clock::now();
};

} // namespace

SSKENSA::SSKENSA(qd::core::QdState &state, QWidget *owner, std::function<void()> unload)
    : PickerWindow("SSKENSA", QStringLiteral("単価検索"), owner, std::move(unload),
                   [&state] { closeCascadeFiles(state); }),
      g(state), m_cascade(state)
{
    setRecovery(qd::core::failedCommandRecovery(g));
    setPendingMessages(g.partialNotes, std::string(qd::text::TwoLinesBreak));
    buildControls();
    Form_Load();
}

void SSKENSA::buildControls()
{
    // The cascade lists: the major classes, classes and kind-1 entries allow several lines to be
    // chosen (the search ranges); the price lines in a size that shows them whole: the 87
    // characters before the record number that ends them.
    auto makeList = [this](const char *name, int l, int t, int w, int h, bool multi) {
        ListBox *list = listBox(this, name, l, t, w, h);
        list->setSelectionKind(multi ? ListBox::Selection::Extended : ListBox::Selection::Single);
        if (std::string_view(name) == "List6") {
            QFont font = list->font();
            for (double points = 10; points > 6; points -= 0.5) {
                font.setPointSizeF(points);
                list->setFont(font);
                if (list->widthToShow(QString(87, QLatin1Char('0'))) <= list->width())
                    break;
            }
        }
        return list;
    };
    auto searchBox = [this](const char *name, int l, int t, int w, int h) {
        auto *box = new qd::qt::EntryBox(this);
        box->setObjectName(QString::fromLatin1(name));
        qd::qt::setGeometryTwips(box, l, t, w, h);
        return box;
    };
    Label6 = label(this, "Label6", QStringLiteral("記号検索文字"), 120, 120, 3135, 255);
    Text1 = searchBox("Text1", 120, 360, 3135, 405);
    Label8 = label(this, "Label8", QStringLiteral("呼称検索文字"), 3360, 120, 3135, 255);
    Text4 = searchBox("Text4", 3360, 360, 3135, 405);
    Command1 = button(this, "Command1", QStringLiteral("検索"), 6600, 120, 735, 615);
    Command2 = button(this, "Command2", QStringLiteral("取消"), 7440, 120, 735, 615);
    Command5 = button(this, "Command5", QStringLiteral("明細追加"), 8280, 120, 1095, 615);

    Label3 = label(this, "Label3", QStringLiteral("大分類名"), 120, 840, 2775, 240);
    List2 = makeList("List2", 120, 1080, 2775, 1020, true);
    Label2 = label(this, "Label2", QStringLiteral("品　種　名　１"), 3000, 840, 4340, 240);
    List3 = makeList("List3", 3000, 1080, 4340, 820, true);
    Label7 = label(this, "Label7", QStringLiteral("色　名"), 7440, 840, 1940, 240);
    List7 = makeList("List7", 7440, 1080, 1940, 1020, false);
    Label1 = label(this, "Label1", QStringLiteral("分類名"), 120, 2160, 2780, 240);
    List1 = makeList("List1", 120, 2400, 2780, 1220, true);
    Label17 = label(this, "Label17", QStringLiteral("品　種　名　２"), 3000, 1920, 4335, 240);
    List4 = makeList("List4", 3000, 2160, 4335, 1420, false);
    Label4 = label(this, "Label4", QStringLiteral("区分名"), 7440, 2160, 1935, 240);
    List5 = makeList("List5", 7440, 2400, 1935, 1220, false);
    Label9 = label(this, "Label9", QStringLiteral("単　　価　　情　　報"), 0, 3840, 9495, 255);
    List6 = makeList("List6", 0, 4080, 9495, 2660, false);

    fitSideColumn({List3, List4, {Label2, Label17}, List5, List7, {Label4, Label7}},
                  qd::qt::twipsToPixelsX(FORM_WIDTH - 120));

    // The search texts: Enter takes the typed text, cut or filled to its field, and moves on; a
    // text typed and left for "検索", by a click or by Tab, is taken by the search first. Left
    // any other way, a box shows the text in effect again.
    Text1->bind({[this] { return qs(g.LINE_WORK.HACHU_HINBAN); }, [this] { return qs(g.LINE_WORK.HACHU_HINBAN); },
                 [this](const QString &typed) {
                     g.LINE_WORK.HACHU_HINBAN = qd::text::fixedChars(typed.toStdString(), 25);
                     return true;
                 }});
    Text1->setNext(Text4);
    Text4->bind({[this] { return qs(g.LINE_WORK.KOSYO); }, [this] { return qs(g.LINE_WORK.KOSYO); },
                 [this](const QString &typed) {
                     g.LINE_WORK.KOSYO = qd::text::fixedChars(typed.toStdString(), 20);
                     return true;
                 }});
    Text4->setNext(Command1);
    for (qd::qt::EntryBox *box : {Text1, Text4})
        box->setTakers({Command1});

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setAutoFillBackground(true);
    Label5 = label(Frame1, "Label5", QStringLiteral("検索中しばらくお待ち下さい。"), 240, 240, 3735, 255);
    Text2 = textBox(Frame1, "Text2", 1320, 600, 1695, 405);
    Text3 = textBox(Frame1, "Text3", 1320, 1080, 1695, 315);
    Text2->setReadOnly(true);
    Text3->setReadOnly(true);
    Command3 = button(Frame1, "Command3", QStringLiteral("検索中止"), 1560, 1560, 1215, 375);
    Frame1->hide();

    Frame3 = new PricePanel(this);
    Frame3->hide();

    // Events, each through the command guard: a file that cannot be read ends the handler with a
    // message, never the program.
    auto on = [this](void (SSKENSA::*handler)()) { return command(handler, QStringLiteral("ファイルを読み込めません。")); };
    connect(List2, &ListBox::Click, this, on(&SSKENSA::List2_Click));
    connect(List1, &ListBox::Click, this, on(&SSKENSA::List1_Click));
    connect(List3, &ListBox::Click, this, on(&SSKENSA::List3_Click));
    connect(List4, &ListBox::Click, this, on(&SSKENSA::List4_Click));
    connect(List5, &ListBox::Click, this, on(&SSKENSA::List5_Click));
    connect(List2, &ListBox::GotFocus, this, on(&SSKENSA::List2_GotFocus));
    connect(List1, &ListBox::GotFocus, this, on(&SSKENSA::List1_GotFocus));
    connect(List3, &ListBox::GotFocus, this, on(&SSKENSA::List3_GotFocus));
    connect(List4, &ListBox::GotFocus, this, on(&SSKENSA::List4_GotFocus));
    connect(List5, &ListBox::GotFocus, this, on(&SSKENSA::List5_GotFocus));
    m_cascade.attach(List2, List1, List3, List4, List5, List6, List7, List6);
    for (ListBox *list : {List2, List1, List3, List4, List5})
        connect(list, &ListBox::KeyDown, this, [this, list](int key) {
            guarded([&] { m_cascade.keyDown(list, key); }, QStringLiteral("ファイルを読み込めません。"));
        });
    connect(List6, &ListBox::MouseDown, this, on(&SSKENSA::List6_MouseDown));
    connect(List6, &ListBox::MouseUp, this, on(&SSKENSA::List6_MouseUp));
    connect(List6, &ListBox::Click, this, on(&SSKENSA::List6_Click));
    connect(List6, &ListBox::LostFocus, this, on(&SSKENSA::List6_LostFocus));
    connect(List7, &ListBox::Click, this, on(&SSKENSA::List7_Click));
    connect(Command1, &QPushButton::clicked, this, on(&SSKENSA::Command1_Click));
    connect(Command2, &QPushButton::clicked, this, on(&SSKENSA::COMMAND2_CLICK));
    connect(Command3, &QPushButton::clicked, this, on(&SSKENSA::Command3_Click));
    connect(Command5, &QPushButton::clicked, this, on(&SSKENSA::Command5_Click));
    for (QWidget *w : {static_cast<QWidget *>(Text1), static_cast<QWidget *>(Text4), static_cast<QWidget *>(Command5)})
        w->installEventFilter(this);
}

bool SSKENSA::eventFilter(QObject *watched, QEvent *event)
{
    return guardedTaken([&] { return formEvent(watched, event); }, QStringLiteral("ファイルを読み込めません。"));
}

bool SSKENSA::formEvent(QObject *watched, QEvent *event)
{
    // Enter and leaving the search boxes are the boxes' own (entry_box.h).
    if (event->type() == QEvent::FocusIn) {
        if (watched == Text1)
            Text1_GotFocus();
        else if (watched == Text4)
            Text4_GotFocus();
        else if (watched == Command5)
            Command5_GotFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void SSKENSA::closeEvent(QCloseEvent *event)
{
    // Closing through the window frame ends a running search first; the files are released.
    if (m_searching) {
        g.SEARCH_STOP = 9;
        m_closeAfterSearch = true;
        event->ignore();
        return;
    }
    event->accept();
    unloadForm();
}

// ---- loading, closing ----

void SSKENSA::Form_Load()
{
    qd::qt::resizeTwips(this, FORM_WIDTH, FORM_HEIGHT);
    qd::qt::centreOnScreen(this);
    g.COLOR_NO = 0;
    g.partialNotes.forget(); // each showing tells of a file that ends in a part of a record
    qd::entry::openFormMasters(g);
    show();

    List2->show();
    fillMajors(g, List2);
    fillSections(g, List5);

    g.MAJOR_FROM = g.MAJOR_TO = g.CLASS_FROM = g.CLASS_TO = g.KIND1_FROM = g.KIND1_TO = 0;
    g.MAJOR_NO = g.CLASS_NO = g.KIND1_NO = g.KIND2_NO = g.SECTION_NO = 0;
    g.LINE_WORK.HACHU_HINBAN = std::string(25, ' ');
    g.COLOR_NO = 0;
    Text1->setFocus();
    showPendingMessages();
}

void SSKENSA::COMMAND2_CLICK() { unloadForm(); }

// ---- cascade ----

void SSKENSA::List2_Click()
{
    if (!m_cascade.majorChosen())
        return;
    g.MAJOR_FROM = g.MAJOR_TO = g.CLASS_FROM = g.CLASS_TO = g.KIND1_FROM = g.KIND1_TO = 0;
    selectionRange(List2, g.MAJOR_FROM, g.MAJOR_TO);
}

void SSKENSA::List1_Click()
{
    if (!m_cascade.classChosen())
        return;
    g.CLASS_FROM = g.CLASS_TO = g.KIND1_FROM = g.KIND1_TO = 0;
    selectionRange(List1, g.CLASS_FROM, g.CLASS_TO);
}

void SSKENSA::List3_Click()
{
    if (!m_cascade.kind1Chosen())
        return;
    g.KIND1_FROM = g.KIND1_TO = 0;
    selectionRange(List3, g.KIND1_FROM, g.KIND1_TO);
}

void SSKENSA::List4_Click() { m_cascade.kind2Chosen(); }

void SSKENSA::List5_Click()
{
    if (!m_cascade.sectionChosen())
        return;
    List6->show();
    Label9->show();
}

void SSKENSA::List2_GotFocus() { m_cascade.gotFocus(List2); }
void SSKENSA::List1_GotFocus() { m_cascade.gotFocus(List1); }
void SSKENSA::List3_GotFocus() { m_cascade.gotFocus(List3); }
void SSKENSA::List4_GotFocus() { m_cascade.gotFocus(List4); }
void SSKENSA::List5_GotFocus() { m_cascade.gotFocus(List5); }

void SSKENSA::cascadeKeyDown(ListBox *list, int keyCode) { m_cascade.keyDown(list, keyCode); }

// ---- price lines ----

void SSKENSA::List6_MouseDown()
{
    qd::qt::setGeometryTwips(Frame3, 0, 0, 9495, 3820);
    if (!hasCurrent(List6))
        return;
    const ListLine line = currentLine(List6);
    if (!readPriceLine(g, line.file, line.recNo))
        return;
    g.LINE_WORK.HACHU_HINBAN = qd::text::fixedChars(g.TANKA_REC.text(P::KIGO), 25);
    Text1->showStored(); // the pressed line's symbol is the search text now
    FRAME3_SET();
    Text4->showStored(); // and the panel made its designation the 呼称 search text
    g.MAJOR_NO = static_cast<std::int16_t>(g.TANKA_REC.number(P::MAKER_CD));
    fillColours(g, List7);
}

void SSKENSA::FRAME3_SET() { Frame3->popUp(g, qd::entry::PanelVariant::UnitPrice); }

void SSKENSA::List6_MouseUp() { Frame3->hide(); }

void SSKENSA::List6_Click()
{
    // The line begins with the 25 bytes of its symbol: a symbol of double-byte characters is
    // fewer characters, so the cut counts bytes, never halving a character.
    if (!hasCurrent(List6))
        return;
    g.LINE_WORK.HACHU_HINBAN = qd::text::fixedChars(qd::text::cutToWidth(currentLine(List6).text, 25), 25);
    Text1->showStored();
}

void SSKENSA::List6_LostFocus() { g.TANKA_CTL.close(); }

void SSKENSA::List7_Click()
{
    if (!m_cascade.colourChosen())
        return;
    g.LINE_WORK.IRO_NAME = g.IRO_REC.raw(Col::IRO_CD) == "01" ? std::string(20, ' ')
                                                              : qd::text::fixedChars(g.IRO_REC.text(Col::NAME), 20);
}

// ---- adding the product ----

void SSKENSA::Command5_GotFocus()
{
    Label9->show();
    List6->show();
}

void SSKENSA::Command5_Click()
{
    // Without an open document there is no sheet to add to (the form closes with the last one).
    if (g.CUR_LIST_INDEX < 0) {
        qd::qt::beep();
        qd::qt::msgBox(qd::qt::twoLines(QStringLiteral("開いている見積がありません。"),
                                        QStringLiteral("見積を開いてから明細を追加して下さい！")));
        return;
    }
    qd::grid::RedrawOff redrawOff(g.curGrid());

    // The product is the chosen price line, read again from its file.
    if (!hasCurrent(List6)) {
        qd::qt::beep();
        List6->show();
        Label9->show();
        List6->setFocus();
        return;
    }
    const ListLine line = currentLine(List6);
    try {
        if (!readPriceLine(g, line.file, line.recNo)) {
            qd::qt::beep();
            qd::qt::msgBox(qs(qd::text::twoLines("単価情報を読み込めません。",
                                                 "単価ファイルが変更されています。検索し直して下さい！(" + line.file + ")")));
            return;
        }
    } catch (const std::exception &e) {
        qd::qt::beep();
        qd::qt::msgBox(qs(qd::text::twoLines("単価情報を読み込めません。", qd::files::failureText(e))));
        return;
    }
    g.MAJOR_NO = static_cast<std::int16_t>(g.TANKA_REC.number(P::MAKER_CD));

    // A colour chosen under another major class is no colour of this line: it has no price here.
    if (g.COLOR_NO != 0 && !qd::entry::colourOfMajor(g, g.MAJOR_NO, g.COLOR_NO)) {
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("色名を選択して下さい！"));
        List7->setFocus();
        return;
    }

    // Without a colour of its own the line takes the colour form's, if it is of this group.
    if (g.COLOR_NO == 0) {
        const std::int64_t group = qd::text::fix(qd::text::val(qd::text::trim(g.COLOR_PICK_GROUP)));
        const std::int64_t code = qd::text::fix(qd::text::val(qd::text::trim(g.COLOR_PICK_CODE)));
        if (group == g.MAJOR_NO && code != 0) {
            g.COLOR_NO = static_cast<std::int16_t>(code);
            g.LINE_WORK.IRO_NAME = qd::text::fixedChars(g.COLOR_PICK_NAME, 20);
        } else {
            qd::qt::beep();
            qd::qt::msgBox(QStringLiteral("色名を選択して下さい！"));
            List7->setFocus();
            return;
        }
    }

    closeFiles();
    bool inserted = false;
    try {
        g.INSERT_ROWS = 1;
        qd::core::GRID_ROWS_INSERT(g);
        inserted = true;
        qd::entry::PRICE_ITEM_TO_GRID(g);
    } catch (const std::exception &e) {
        g.INSERT_ROWS = 0;
        if (inserted) {
            // The row that could not be filled goes again: the sheet is as it was.
            g.curGrid().removeItem(static_cast<int>(g.ROW_NO));
            qd::core::GRID_PAGE_NUMBER(g);
        }
        qd::qt::beep();
        qd::qt::msgBox(qs(qd::text::twoLines("明細を追加できませんでした。", qd::files::failureText(e))));
        return; // the form stays, its masters are opened again as they are needed
    }
    unloadForm();
}

// ---- text search ----

void SSKENSA::showCascadeView()
{
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, Label2, Label3, Label4, Label17, List1, List2, List3,
                                                       List4, List5})
        w->show();
    Label9->hide();
    List6->hide();
}

void SSKENSA::Text1_GotFocus()
{
    // Text typed and not yet taken (back from "検索" before it was pressed) stays the box's.
    if (!Text1->isModified())
        g.LINE_WORK.HACHU_HINBAN = qd::text::fixedChars(Text1->text().toStdString(), 25);
    showCascadeView();
}

void SSKENSA::Text1_KeyDown(int keyCode) { Text1->KeyDown(keyCode); }

void SSKENSA::Text4_GotFocus()
{
    if (!Text4->isModified())
        g.LINE_WORK.KOSYO = qd::text::fixedChars(Text4->text().toStdString(), 20);
    showCascadeView();
}

void SSKENSA::Text4_KeyDown(int keyCode) { Text4->KeyDown(keyCode); }

void SSKENSA::setBusy(bool busy)
{
    // While the walk runs only "検索中止" is at the user's hand: the rest of this form and every
    // other window (the main window, its tool windows) work on the files and values the walk is
    // using. Each window gets back the state it had.
    for (QObject *child : children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (w && w != Frame1)
            w->setEnabled(!busy);
    }
    if (busy) {
        m_disabledWindows.clear();
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w != this && w->isEnabled()) {
                m_disabledWindows.append(w);
                w->setEnabled(false);
            }
        }
    } else {
        for (const QPointer<QWidget> &w : std::as_const(m_disabledWindows))
            if (w)
                w->setEnabled(true);
        m_disabledWindows.clear();
    }
}

void SSKENSA::Command1_Click()
{
    if (m_searching)
        return;
    // Search texts typed without Enter are taken as Enter takes them.
    for (qd::qt::EntryBox *box : {Text1, Text4})
        if (!box->takeTyped())
            return;
    g.SEARCH_STOP = 0;
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, Label2, Label3, Label4, Label17, List1, List2, List3,
                                                       List4, List5})
        w->hide();
    Label9->show();
    List6->show();
    qd::qt::setGeometryTwips(Frame1, 2760, 2760, 4215, 2175);
    Text2->clear();
    Text3->clear();
    Frame1->show();
    Frame1->raise();
    Frame1->repaint();

    m_searching = true;
    Command3->setFocus(); // before the rest is disabled, so the focus does not wander to a search box
    setBusy(true);
    FormSearchView view(*this);
    QString failure;
    try {
        qd::entry::SERCH_TXT_001(g, view);
    } catch (const std::exception &e) {
        failure = qs(qd::files::failureText(e));
    }
    g.TANKA_CTL.close();
    g.HISYU1_CTL.close();
    setBusy(false);
    m_searching = false;

    if (m_closeAfterSearch) {
        unloadForm();
        return;
    }
    // The focus leaves the stop button before its frame goes, so it does not wander to a search
    // box (which would show the cascade view again).
    Command5->setFocus();
    Command5_GotFocus();
    Frame1->hide();
    if (!failure.isEmpty()) {
        qd::qt::beep();
        qd::qt::msgBox(qd::qt::twoLines(QStringLiteral("単価ファイルを読み込めません。"), failure));
    }
}

void SSKENSA::Command3_Click() { g.SEARCH_STOP = 9; }

} // namespace qd::forms
