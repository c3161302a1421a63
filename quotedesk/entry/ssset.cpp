#include "quotedesk/entry/ssset.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/file_list_box.h"
#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/entry/cascade_lists.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/entry/price_panel_view.h"
#include "quotedesk/entry/set_panel_view.h"
#include "records/set_files.h"

namespace qd::forms {

using qd::qt::qs;
using qd::qt::ss;

namespace {

namespace P = qd::records::Price;
namespace S = qd::records::SetItem;

constexpr int FORM_WIDTH = 9720, FORM_HEIGHT = 7350;
const QString READ_FAILED = QStringLiteral("ファイルを読み込めません。");

// A component's code field as the list lines carry codes: cut at its first NUL, without the
// blanks after it.
std::string componentCode(const qd::records::Record &rec, int field)
{
    return qd::text::trimRight(qd::text::fromField(qd::entry::codeField(rec, field)));
}

// Hides `w`; when it holds the focus, the focus goes to `to` first, so that it does not wander to
// a control whose focus handler changes the form.
void hideFrom(QWidget *w, QWidget *to)
{
    if (w->hasFocus() && to)
        to->setFocus();
    w->hide();
}

} // namespace

SSSET::SSSET(qd::core::QdState &state, QWidget *owner, std::function<void()> unload)
    : PickerWindow("SSSET", QStringLiteral("セット品検索"), owner, std::move(unload),
                   [&state] {
                       closeCascadeFiles(state);
                       state.SET_CTL.close();
                   }),
      g(state), m_cascade(state)
{
    setRecovery(qd::core::failedCommandRecovery(g));
    setPendingMessages(g.partialNotes, std::string(qd::text::TwoLinesBreak));
    buildControls();
    Form_Load();
}

void SSSET::buildControls()
{
    File1 = new qd::qt::FileListBox(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setPattern(QStringLiteral("SET*.TXT"));
    qd::qt::setGeometryTwips(File1, 120, 120, 2055, 980);

    Label7 = label(this, "Label7", QStringLiteral("セットコード"), 2520, 120, 1575, 240);
    Label6 = label(this, "Label6", QStringLiteral("SET"), 2520, 360, 720, 405);
    Text1 = textBox(this, "Text1", 3240, 360, 1335, 405);
    Label8 = label(this, "Label8", QStringLiteral("トータル金額"), 4800, 120, 2295, 240);
    Text2 = textBox(this, "Text2", 4800, 360, 2295, 405);
    Text2->setAlignment(Qt::AlignRight);
    Label29 = label(this, "Label29", QStringLiteral("セット名"), 2520, 720, 720, 405);
    Text52 = textBox(this, "Text52", 3240, 720, 3855, 405);
    Label24 = label(this, "Label24", QStringLiteral("数量"), 7080, 720, 600, 405);
    Text26 = textBox(this, "Text26", 7680, 720, 855, 405);
    Text26->setAlignment(Qt::AlignRight);
    // The set's code, total, name and a component's quantity are shown, never taken from the
    // boxes; Text1 gets the focus to return to the set list.
    for (QLineEdit *box : {Text1, Text2, Text52, Text26})
        box->setReadOnly(true);

    Command1 = button(this, "Command1", QStringLiteral("明細追加"), 7320, 120, 975, 495);
    Command4 = button(this, "Command4", QStringLiteral("取消"), 8520, 120, 615, 495);

    // Wide enough for a whole line: the set's name and, after it, its file name.
    List9 = listBox(this, "List9", 2520, 1200, 5400, 5300);
    List8 = listBox(this, "List8", 120, 1320, 9255, 1785);

    Label3 = label(this, "Label3", QStringLiteral("大分類名"), 120, 1320, 2775, 240);
    List2 = listBox(this, "List2", 120, 1560, 2775, 620);
    Label1 = label(this, "Label1", QStringLiteral("分類名"), 120, 2400, 2775, 240);
    List1 = listBox(this, "List1", 120, 2640, 2775, 1420);
    Label2 = label(this, "Label2", QStringLiteral("品　種　名　１"), 3000, 1320, 4335, 240);
    List3 = listBox(this, "List3", 3000, 1560, 4335, 620);
    Label17 = label(this, "Label17", QStringLiteral("品　種　名　２"), 3000, 2400, 4335, 240);
    List4 = listBox(this, "List4", 3000, 2640, 4335, 1420);
    Label4 = label(this, "Label4", QStringLiteral("区分名"), 7440, 1320, 1935, 240);
    List5 = listBox(this, "List5", 7440, 1560, 1935, 620);
    Label5 = label(this, "Label5", QStringLiteral("色名"), 7440, 2400, 1935, 240);
    List7 = listBox(this, "List7", 7440, 2640, 1935, 1420);
    Label9 = label(this, "Label9", QStringLiteral("単　　価　　情　　報"), 120, 4320, 9255, 240);
    List6 = listBox(this, "List6", 120, 4560, 9255, 2020, 8);
    // A component's line ends in its record number (six digits), for the handlers only; the
    // cascade's lists hide theirs as they are attached.
    List8->setHiddenTail(6);
    fitSideColumn({List3, List4, {Label2, Label17}, List5, List7, {Label4, Label5}},
                  qd::qt::twipsToPixelsX(FORM_WIDTH - 120));

    Frame2 = new SetComponentPanel(this);
    Frame2->hide();
    Frame3 = new PricePanel(this);
    Frame3->hide();

    // Events. A file that cannot be read ends the handler with a message, never the program.
    auto on = [this](void (SSSET::*handler)()) { return command(handler, READ_FAILED); };
    connect(File1, &ListBox::Click, this, on(&SSSET::FILE1_CLICK));
    connect(File1, &ListBox::KeyDown, this, [this](int key) { guarded([&] { File1_KeyDown(key); }, READ_FAILED); });
    connect(List9, &ListBox::Click, this, on(&SSSET::List9_Click));
    connect(List9, &ListBox::KeyDown, this, [this](int key) { guarded([&] { List9_KeyDown(key); }, READ_FAILED); });
    connect(List8, &ListBox::Click, this, on(&SSSET::List8_Click));
    connect(List8, &ListBox::GotFocus, this, on(&SSSET::List8_GotFocus));
    connect(List8, &ListBox::KeyDown, this, [this](int key) { guarded([&] { List8_KeyDown(key); }, READ_FAILED); });
    connect(List2, &ListBox::Click, this, on(&SSSET::List2_Click));
    connect(List1, &ListBox::Click, this, on(&SSSET::List1_Click));
    connect(List3, &ListBox::Click, this, on(&SSSET::List3_Click));
    connect(List4, &ListBox::Click, this, on(&SSSET::List4_Click));
    connect(List5, &ListBox::Click, this, on(&SSSET::List5_Click));
    connect(List6, &ListBox::Click, this, on(&SSSET::List6_Click));
    connect(List7, &ListBox::Click, this, on(&SSSET::List7_Click));
    m_cascade.attach(List2, List1, List3, List4, List5, List6, List7, List7);
    for (ListBox *list : {List2, List1, List3, List4, List5})
        connect(list, &ListBox::GotFocus, this,
                [this, list] { guarded([&] { m_cascade.gotFocus(list); }, READ_FAILED); });
    for (ListBox *list : {List2, List1, List3, List4, List5, List7})
        connect(list, &ListBox::KeyDown, this,
                [this, list](int key) { guarded([&] { m_cascade.keyDown(list, key); }, READ_FAILED); });
    connect(List6, &ListBox::MouseDown, this, on(&SSSET::List6_MouseDown));
    connect(List6, &ListBox::MouseUp, this, on(&SSSET::List6_MouseUp));
    connect(List6, &ListBox::LostFocus, this, on(&SSSET::List6_LostFocus));
    connect(Command1, &QPushButton::clicked, this, command(&SSSET::Command1_Click, QStringLiteral("明細を追加できませんでした。")));
    connect(Command4, &QPushButton::clicked, this, on(&SSSET::Command4_Click));
    Text1->installEventFilter(this);
}

bool SSSET::eventFilter(QObject *watched, QEvent *event)
{
    return guardedTaken(
        [&] {
            if (watched == Text1 && event->type() == QEvent::FocusIn &&
                m_text1Focus.gotFocus(static_cast<QFocusEvent *>(event)))
                Text1_GotFocus();
            else if (watched == Text1 && event->type() == QEvent::FocusOut)
                m_text1Focus.lostFocus(static_cast<QFocusEvent *>(event));
            return PickerWindow::eventFilter(watched, event);
        },
        READ_FAILED);
}

void SSSET::closeEvent(QCloseEvent *event)
{
    event->accept();
    unloadForm();
}

// ---- loading, closing ----

void SSSET::showMasters(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *>{Label1, Label2, Label3, Label4, Label5, Label17, Label9, List1,
                                                       List2, List3, List4, List5, List6, List7})
        w->setVisible(shown);
}

void SSSET::Form_Load()
{
    qd::qt::resizeTwips(this, FORM_WIDTH, FORM_HEIGHT);
    qd::qt::centreOnScreen(this);
    Command1->setEnabled(false);
    Command4->setEnabled(true);
    g.CUR_SET_NAME = std::string(30, ' ');
    showMasters(false);
    for (QWidget *w : std::initializer_list<QWidget *>{List8, Frame2, Frame3})
        w->hide();

    g.partialNotes.forget(); // each showing tells of a file that ends in a part of a record
    File1->show();
    File1->setPath(qs(qd::records::instDir(g) + "\\data\\"));
    // Only files whose names give a set code back are sets.
    for (int i = File1->lineCount() - 1; i >= 0; --i)
        if (qd::records::setCodeOf(ss(File1->lineText(i))) == 0)
            File1->removeLine(i);
    show();

    guarded(
        [this] {
            qd::entry::openFormMasters(g);
            SET_FILE_LIST();
            fillMajors(g, List2);
            fillSections(g, List5);
        },
        READ_FAILED);

    g.MAJOR_NO = g.CLASS_NO = g.KIND1_NO = g.KIND2_NO = g.SECTION_NO = 0;
    g.LINE_WORK.HACHU_HINBAN = std::string(25, ' ');
    g.LINE_WORK.BIKO = std::string(50, ' ');
    g.COLOR_NO = 0;
    List9->setFocus();
}

void SSSET::SET_FILE_LIST()
{
    List9->show();
    List9->clearLines();
    for (const qd::records::SetListEntry &e : qd::records::SET_FILE_LIST(g))
        List9->addLine(qs(e.setName + std::string(11, ' ') + e.fileName), qs(e.fileName));
}

void SSSET::Command4_Click() { unloadForm(); }

// ---- the sets and their components ----

void SSSET::FILE1_CLICK()
{
    const QString name = File1->fileName();
    if (name.isEmpty())
        return;
    List9->hide(); // the components take the set list's place
    LIST8_SET(ss(name));
}

void SSSET::List9_Click()
{
    const int i = List9->listIndex();
    if (i < 0)
        return;
    LIST8_SET(ss(List9->lineData(i).toString()));
    hideFrom(List9, Command1);
}

void SSSET::File1_KeyDown(int keyCode)
{
    if (keyCode == 13 && Command1->isEnabled())
        Command1->setFocus();
}

void SSSET::List9_KeyDown(int keyCode) { File1_KeyDown(keyCode); }

void SSSET::LIST8_SET(const std::string &fileName)
{
    std::vector<qd::entry::SetComponent> components = qd::entry::SET_COMPONENTS_READ(g, fileName);
    std::vector<qd::records::Record> records;
    for (const qd::entry::SetComponent &c : components)
        records.push_back(c.rec);
    g.SET_TOTAL = qd::records::SET_TOTAL_OF(g, records);
    m_listedFile = fileName;
    m_components = std::move(components);
    m_component = m_components.empty() ? -1 : static_cast<int>(m_components.size()) - 1;

    Command1->setEnabled(true);
    Command4->setEnabled(true);
    qd::qt::setGeometryTwips(List8, 120, 1320, 9255, 1785);
    qd::qt::setGeometryTwips(Frame2, 0, 3000, 9495, 3735);
    showMasters(false);
    List8->show();
    Frame2->showContent({});
    Frame2->show();
    Frame3->hide();
    Text26->clear();

    List8->clearLines();
    for (const qd::entry::SetComponent &c : m_components)
        List8->addLine(qs(qd::entry::nameField(c.rec, S::KIGO) + " " + qd::entry::nameField(c.rec, S::BIKO) +
                          std::string(30, ' ') + qd::text::format(c.recNo, "000000")),
                       c.recNo);
    g.CUR_SET_NAME = qd::entry::setNameOfComponents(m_components);
    Text52->setText(qs(g.CUR_SET_NAME));
    Text1->setText(qs(qd::text::format(qd::records::setCodeOf(fileName), "00000")));
    Text2->setText(qs(qd::text::format(g.SET_TOTAL, "####,###,###")));
    for (QLineEdit *box : {Text1, Text2, Text52})
        box->setCursorPosition(0);
}

void SSSET::List8_Click()
{
    Command1->setEnabled(false);
    Command4->setEnabled(true);
    qd::qt::setGeometryTwips(Frame2, 0, 3000, 9495, 3735);
    FRAME2_SET();
}

void SSSET::FRAME2_SET()
{
    const int index = List8->listIndex();
    if (index < 0 || index >= static_cast<int>(m_components.size()))
        return;
    Frame2->show();
    Frame2->repaint();
    const qd::entry::SetComponent &c = m_components[static_cast<std::size_t>(index)];
    m_component = index;
    g.SET_ITEM_NO = static_cast<std::int16_t>(index);
    g.SET_REC = c.rec;
    g.SET_REC_NO = c.recNo;
    const qd::entry::ComponentPanelContent content = qd::entry::FRAME2_SET(g, c.rec);
    Frame2->showContent(content);
    Text26->setText(qs(content.quantity));
}

void SSSET::List8_GotFocus()
{
    Command1->setEnabled(false);
    Command4->setEnabled(true);
    qd::qt::setGeometryTwips(List8, 120, 1320, 9255, 1785);
}

void SSSET::List8_KeyDown(int keyCode)
{
    if (keyCode != 13 || m_component < 0)
        return;
    // The master face, positioned on the component last shown (or the set's last one).
    Command4->setFocus();
    List8->hide();
    Frame2->hide();
    showMasters(true);

    const qd::records::Record comp = m_components[static_cast<std::size_t>(m_component)].rec;
    auto choose = [](ListBox *list, const std::function<bool(const std::string &code)> &match) {
        for (int i = 0; i < list->lineCount(); ++i)
            if (match(lineAt(list, i).code)) {
                list->setListIndex(i);
                return;
            }
    };
    const std::string kind2 = componentCode(comp, S::HINSYU2_CD);
    choose(List2, [&](const std::string &c) { return c == componentCode(comp, S::MAKER_CD); });
    choose(List1, [&](const std::string &c) { return c == componentCode(comp, S::BUNRUI_CD); });
    choose(List3, [&](const std::string &c) { return c.size() >= 2 && c.compare(0, 2, kind2, 0, 2) == 0; });
    choose(List4, [&](const std::string &c) { return c == kind2; });
    choose(List5, [&](const std::string &c) { return c == componentCode(comp, S::CIHO_CD); });
    choose(List7, [&](const std::string &c) { return c == componentCode(comp, S::IRO_CD); });

    // The price lines of the choice, and among them the component's own.
    fillPriceLines(g, List6);
    for (int i = 0; i < List6->lineCount(); ++i) {
        const qd::entry::ListLine line = lineAt(List6, i);
        if (readPriceLine(g, line.file, line.recNo) && qd::records::isSetPriceLine(comp, g.TANKA_REC)) {
            List6->setListIndex(i);
            break;
        }
    }
    g.TANKA_CTL.close();
}

void SSSET::Text1_GotFocus()
{
    for (QWidget *w : std::initializer_list<QWidget *>{List8, Frame2, Frame3})
        w->hide();
    showMasters(false);
    SET_FILE_LIST();
}

// ---- the master lists ----

void SSSET::enableCommands()
{
    // "明細追加" puts in the listed set; without one there is nothing to put in.
    Command1->setEnabled(!m_listedFile.empty());
    Command4->setEnabled(true);
}

void SSSET::List2_Click()
{
    enableCommands();
    m_cascade.majorChosen();
}

void SSSET::List1_Click()
{
    enableCommands();
    m_cascade.classChosen();
}

void SSSET::List3_Click()
{
    enableCommands();
    m_cascade.kind1Chosen();
}

void SSSET::List4_Click()
{
    enableCommands();
    m_cascade.kind2Chosen();
}

void SSSET::List5_Click()
{
    enableCommands();
    m_cascade.sectionChosen();
}

void SSSET::List6_Click()
{
    enableCommands();
    if (!hasCurrent(List6))
        return;
    const qd::entry::ListLine line = currentLine(List6);
    if (!readPriceLine(g, line.file, line.recNo))
        return;
    g.LINE_WORK.HACHU_HINBAN = qd::text::fixedChars(g.TANKA_REC.text(P::KIGO), 25);
    g.LINE_WORK.BIKO = qd::text::fixedChars(qd::entry::nameField(g.TANKA_REC, P::BIKO), 50);
}

void SSSET::List7_Click()
{
    enableCommands();
    m_cascade.colourChosen();
}

// ---- price detail ----

void SSSET::List6_MouseDown()
{
    qd::qt::setGeometryTwips(Frame3, 0, 0, 9495, 4335);
    if (!hasCurrent(List6))
        return;
    const qd::entry::ListLine line = currentLine(List6);
    if (!readPriceLine(g, line.file, line.recNo))
        return;
    g.LINE_WORK.BIKO = qd::text::fixedChars(g.TANKA_REC.text(P::BIKO), 50);
    g.LINE_WORK.HACHU_HINBAN = qd::text::fixedChars(g.TANKA_REC.text(P::KIGO), 25);
    FRAME3_SET();
}

void SSSET::FRAME3_SET() { Frame3->popUp(g, qd::entry::PanelVariant::Set); }

void SSSET::List6_MouseUp() { Frame3->hide(); }

void SSSET::List6_LostFocus() { g.TANKA_CTL.close(); }

// ---- the set into the sheet ----

void SSSET::Command1_Click()
{
    if (m_listedFile.empty()) {
        qd::qt::beep();
        return;
    }
    // The set listed, as its file holds it now. One without components puts nothing in: it is
    // said, and the sheet stays as it was.
    const std::vector<qd::entry::SetComponent> components = qd::entry::SET_COMPONENTS_READ(g, m_listedFile);
    if (components.empty()) {
        LIST8_SET(m_listedFile); // show it as it is now
        qd::qt::beep();
        qd::qt::msgBox(qd::qt::twoLines(QStringLiteral("明細を追加できませんでした。"),
                                        QStringLiteral("%1 には明細がありません。").arg(qs(m_listedFile))));
        return;
    }
    qd::grid::RedrawOff redrawOff(g.curGrid());
    // The rates of the rows: the document's, else the company's, as their files hold them now.
    qd::entry::OWN_COMPANY_READ(g);
    if (!qd::entry::SET_HEAD_RATE_READ(g)) {
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("見積情報を設定して下さい！"));
    }
    closeFiles();
    qd::entry::SET_INTO_SHEET(g, components);
    unloadForm();
}

} // namespace qd::forms
