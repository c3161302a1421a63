#include "tools/ratebulk/forms/hinsyu2f.h"

#include <QEvent>
#include <QKeyEvent>

#include "platform/qt/forms.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"

namespace qd::ratebulk {

using qd::qt::TwipsRect;
using qd::text::format;

namespace {

constexpr int KEY_ENTER = 13;

QString q(const std::string &s) { return QString::fromStdString(s); }

// A caption that runs downwards, one character a line.
QString downwards(const QString &text)
{
    QStringList chars;
    for (const QChar c : text)
        chars << QString(c);
    return chars.join(u'\n');
}

// Where the twenty boxes and the controls stand in each window (twips).
struct Places {
    TwipsRect label4, list2, label1, list1, list3, label18, label20, list7, label22, list8, label21, list6;
    TwipsRect command4, command2, command5;
    double gridLeft, salesTop, purchaseTop, numbersTop, captionLeft;
};

const Places PLACES_2{{240, 120, 380, 3220},  {600, 480, 2775, 970},   {600, 1470, 2780, 380}, {600, 1800, 2775, 1540},
                      {3480, 480, 4695, 970}, {240, 3480, 380, 3220},  {600, 3480, 2780, 380}, {600, 3840, 2775, 970},
                      {600, 4830, 2780, 380}, {600, 5160, 2775, 1540}, {3480, 3480, 4700, 380}, {3480, 3840, 4695, 970},
                      {8280, 1800, 855, 855}, {8280, 3120, 855, 855},  {8280, 4440, 855, 855},
                      1320, 7140, 7440, 6900, 600};
const Places PLACES_1{{240, 120, 380, 3460},  {600, 480, 2775, 1160},  {600, 1710, 2780, 380}, {600, 2040, 2780, 1540},
                      {3480, 480, 4695, 3060}, {240, 3840, 380, 3460}, {600, 3840, 2780, 380}, {600, 4200, 2775, 1160},
                      {600, 5450, 2780, 380}, {600, 5760, 2775, 1540}, {3480, 3840, 4700, 380}, {3480, 4200, 4695, 3060},
                      {8280, 1920, 855, 855}, {8280, 3240, 855, 855},  {8280, 4560, 855, 855},
                      1080, 7740, 8040, 7500, 360};

} // namespace

HINSYU2F::HINSYU2F(RateBulkState &state, QWidget *parent) : ToolWindow(q(state.KIND->program), parent), g(state)
{
    setObjectName(g.KIND->formName);
    setWindowTitle(q(g.KIND->caption));
    setPendingMessages([this] { return g.partialNotes.takeTexts("\r"); });
    const Places &at = isKind2() ? PLACES_2 : PLACES_1;
    const QFont font = qd::qt::toolFont(9);
    const QFont bold = qd::qt::toolFont(9, true);

    Label4 = addLabel("Label4", downwards("　 開　始　範　囲"), at.label4, font);
    Label3 = addLabel("Label3", "大分類", {600, 120, 2780, 380}, font);
    List2 = addListBox("List2", at.list2, bold, true);
    Label1 = addLabel("Label1", "分類名", at.label1, font);
    List1 = addListBox("List1", at.list1, bold, true);
    Label2 = addLabel("Label2", "品　種　名　１", {3480, 120, 4700, 380}, font);
    List3 = addListBox("List3", at.list3, bold, true);
    Label17 = Label19 = nullptr;
    if (isKind2()) {
        Label17 = addLabel("Label17", "品　種　名　２", {3480, 1470, 4700, 380}, font);
        List4 = addListBox("List4", {3480, 1800, 4695, 1540}, bold, true);
    }
    Label18 = addLabel("Label18", downwards("　 終　了　範　囲"), at.label18, font);
    Label20 = addLabel("Label20", "大分類", at.label20, font);
    List7 = addListBox("List7", at.list7, bold, true);
    Label22 = addLabel("Label22", "分類名", at.label22, font);
    List8 = addListBox("List8", at.list8, bold, true);
    Label21 = addLabel("Label21", "品　種　名　１", at.label21, font);
    List6 = addListBox("List6", at.list6, bold, true);
    if (isKind2()) {
        Label19 = addLabel("Label19", "品　種　名　２", {3480, 4830, 4700, 380}, font);
        List5 = addListBox("List5", {3480, 5160, 4695, 1540}, bold, true);
    }
    Command4 = addButton("Command4", "取消", at.command4, font);
    Command2 = addButton("Command2", "実行", at.command2, font);
    Command5 = addButton("Command5", "終了", at.command5, font);
    ListBox *const lists[] = {List1, List2, List3, List4, List5, List6, List7, List8};
    for (int n = 1; n <= 8; ++n)
        m_choices[static_cast<std::size_t>(n)].attach(lists[n - 1]);
    // The class lines end in a record number of five digits, the kind lines in one of six: the
    // program's, not shown.
    for (ListBox *l : {List1, List8})
        l->setHiddenTail(5);
    for (ListBox *l : {List3, List4, List5, List6})
        if (l)
            l->setHiddenTail(6);
    for (QLabel *l : {Label4, Label18})
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The rate grid: sales rates in the upper row, purchase rates in the lower, columns 1 to 10.
    Label5 = addLabel("Label5", "売上率", {at.captionLeft, at.salesTop, 740, 320}, font);
    Label6 = addLabel("Label6", "仕入率", {at.captionLeft, at.purchaseTop, 740, 320}, font);
    for (int n = 1; n <= 10; ++n) {
        const double left = at.gridLeft + 720 * (n - 1);
        QLabel *number = addLabel(QString("Label%1").arg(n + 6), QString::number(n), {left, at.numbersTop, 740, 260}, font);
        number->setAlignment(Qt::AlignCenter);
        m_rateBoxes[static_cast<std::size_t>(2 * n - 2)] =
            addEntryBox(QString("Text%1").arg(2 * n + 1), {left, at.salesTop, 735, 315}, font, 7, true);
        m_rateBoxes[static_cast<std::size_t>(2 * n - 1)] =
            addEntryBox(QString("Text%1").arg(2 * n + 2), {left, at.purchaseTop, 735, 315}, font, 7, true);
    }
    for (int k = 1; k <= 20; ++k) {
        EntryBox *box = rateBox(k);
        box->bind({[this, k] { return q(qd::text::trim(qd::text::str(g.RATE[static_cast<std::size_t>(k - 1)]))); },
                   [this, k] { return q(format(g.RATE[static_cast<std::size_t>(k - 1)], "##0.00")); },
                   [this, k](const QString &typed) { return takeRate(k, typed); }});
        box->setNext(k < 20 ? static_cast<QWidget *>(rateBox(k + 1)) : Command2);
        box->installEventFilter(this); // Esc stores, then moves back
        connect(box, &EntryBox::Left, this, [this, k] { rateLostFocus(k); });
        // A rate typed and left for 実行, by a click or by Tab, stays for 実行 to take.
        box->setTakers({Command2});
    }

    const auto on = [this](void (HINSYU2F::*handler)()) { return [this, handler] { guarded([&] { (this->*handler)(); }); }; };
    connect(List2, &ListBox::Click, this, on(&HINSYU2F::List2_Click));
    connect(List1, &ListBox::Click, this, on(&HINSYU2F::List1_Click));
    connect(List3, &ListBox::Click, this, on(&HINSYU2F::List3_Click));
    connect(List7, &ListBox::Click, this, on(&HINSYU2F::List7_Click));
    connect(List8, &ListBox::Click, this, on(&HINSYU2F::List8_Click));
    connect(List6, &ListBox::Click, this, on(&HINSYU2F::List6_Click));
    if (isKind2()) {
        connect(List4, &ListBox::Click, this, on(&HINSYU2F::List4_Click));
        connect(List5, &ListBox::Click, this, on(&HINSYU2F::List5_Click));
    }
    for (ListBox *l : {List2, List1, List3, List4, List7, List8, List6, List5})
        if (l)
            connect(l, &ListBox::KeyDown, this, [this, l](int k) { ListN_KeyDown(l, k); });
    connect(Command2, &QPushButton::clicked, this, on(&HINSYU2F::Command2_Click));
    connect(Command4, &QPushButton::clicked, this, on(&HINSYU2F::Command4_Click));
    connect(Command5, &QPushButton::clicked, this, on(&HINSYU2F::Command5_Click));
}

void HINSYU2F::Form_Load()
{
    for (QPushButton *b : {Command2, Command4, Command5})
        b->setEnabled(true);
    placeCentred(g.KIND->widthTwips, g.KIND->heightTwips);
    show();
    guarded([&] {
        fill(List2, majorLines(g));
        fill(List7, majorLines(g));
    });
    g.START_MAKER = g.START_BUNRUI = 0;
    g.START_HINSYU1 = 100;
    g.START_HINSYU2 = 101;
    g.START_CHOSEN = false;
    g.RATE.fill(Fixed4{});
    List2->setFocus();
}

// ---- lists ---------------------------------------------------------------------------------

qd::qt::ListedLines<RateLine> *HINSYU2F::choices(ListBox *list)
{
    for (auto &c : m_choices)
        if (list && c.list() == list)
            return &c;
    return nullptr;
}

void HINSYU2F::clear(ListBox *list)
{
    if (auto *c = choices(list))
        c->clear();
}

void HINSYU2F::List2_Click()
{
    const RateLine *line = chosen(List2);
    if (!line)
        return;
    RATE_TEXT_CLEAR();
    startMajorChosen(g, *line);
    for (ListBox *l : {List1, List3, List4, List6, List5})
        clear(l);
    fill(List1, classLines(g, g.START_MAKER));
}

void HINSYU2F::List1_Click()
{
    const RateLine *line = chosen(List1);
    if (!line)
        return;
    RATE_TEXT_CLEAR();
    startClassChosen(g, *line);
    clear(List4);
    fill(List3, kind1Lines(g, g.START_MAKER, g.START_BUNRUI));
}

void HINSYU2F::List3_Click()
{
    const RateLine *line = chosen(List3);
    if (!line)
        return;
    RATE_TEXT_CLEAR();
    startKind1Chosen(g, *line);
    if (isKind2())
        fill(List4, kind2Lines(g, g.START_MAKER, g.START_BUNRUI, line->rec));
    else
        showRates();
}

void HINSYU2F::List4_Click()
{
    if (const RateLine *line = chosen(List4)) {
        startKind2Chosen(g, *line);
        showRates();
    }
}

void HINSYU2F::endRefused(ListBox *list)
{
    list->setListIndex(-1);
    userError(q(RANGE_ERROR_TEXT));
    list->setFocus();
}

void HINSYU2F::List7_Click()
{
    const RateLine *line = chosen(List7);
    if (!line)
        return;
    for (ListBox *l : {List8, List6, List5})
        clear(l);
    if (!endMajorChosen(g, *line))
        return endRefused(List7);
    fill(List8, classLines(g, g.END_MAKER));
}

void HINSYU2F::List8_Click()
{
    const RateLine *line = chosen(List8);
    if (!line)
        return;
    clear(List6);
    clear(List5);
    if (!endClassChosen(g, *line))
        return endRefused(List8);
    fill(List6, kind1Lines(g, g.END_MAKER, g.END_BUNRUI));
}

void HINSYU2F::List6_Click()
{
    const RateLine *line = chosen(List6);
    if (!line)
        return;
    clear(List5);
    if (!endKind1Chosen(g, *line))
        return endRefused(List6);
    if (isKind2())
        fill(List5, kind2Lines(g, g.END_MAKER, g.END_BUNRUI, line->rec));
}

void HINSYU2F::List5_Click()
{
    const RateLine *line = chosen(List5);
    if (line && !endKind2Chosen(g, *line))
        endRefused(List5);
}

void HINSYU2F::ListN_KeyDown(ListBox *list, int keyCode)
{
    if (keyCode != KEY_ENTER)
        return;
    // ratebulk2: List2 → List1 → List3 → List4 → List7 → List8 → List6 → List5 → Text3;
    // ratebulk1 leaves out List4 and List5.
    QWidget *next = nullptr;
    if (list == List2)
        next = List1;
    else if (list == List1)
        next = List3;
    else if (list == List3)
        next = isKind2() ? static_cast<QWidget *>(List4) : List7;
    else if (list == List4)
        next = List7;
    else if (list == List7)
        next = List8;
    else if (list == List8)
        next = List6;
    else if (list == List6)
        next = isKind2() ? static_cast<QWidget *>(List5) : rateBox(1);
    else if (list == List5)
        next = rateBox(1);
    if (next)
        next->setFocus();
}

// ---- the rates -----------------------------------------------------------------------------

void HINSYU2F::RATE_TEXT_CLEAR()
{
    for (EntryBox *b : m_rateBoxes)
        b->setText(QString());
}

void HINSYU2F::showRates()
{
    for (EntryBox *b : m_rateBoxes)
        b->showStored();
}

bool HINSYU2F::takeRate(int k, const QString &typed)
{
    const std::optional<Fixed4> rate = qd::text::numberTextFixed(typed.toStdString());
    // A slot holds 0.00 to 999.99: anything else would be written as another number.
    if (!rate || !rateFits(*rate)) {
        userError(rate ? QStringLiteral("率は 0.00～999.99 の範囲で入力して下さい！") : QStringLiteral("数値を入力して下さい！"));
        // The refused text stays, selected, with the focus: the box never shows a rate other
        // than the stored one as if it were taken.
        rateBox(k)->setFocus();
        rateBox(k)->selectAll();
        return false;
    }
    g.RATE[static_cast<std::size_t>(k - 1)] = *rate;
    return true;
}

void HINSYU2F::rateLostFocus(int k)
{
    const std::int64_t whole = g.RATE[static_cast<std::size_t>(k - 1)].roundHalfEven();
    if (whole >= -999999999 && whole <= 999999999)
        return;
    userError(QStringLiteral("数値を入力して下さい！"));
    rateBox(k)->showStored();
    rateBox(k)->setFocus();
}

bool HINSYU2F::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
        return ToolWindow::eventFilter(watched, event);
    for (int k = 1; k <= 20; ++k) {
        EntryBox *box = rateBox(k);
        if (box != watched)
            continue;
        // Esc stores the typed rate as Enter does, then moves up in the column (a purchase box)
        // or to the previous column (a sales box).
        if (takeRate(k, box->text())) {
            box->showStored();
            const int back = k % 2 == 0 ? k - 1 : std::max(1, k - 2);
            rateBox(back)->setFocus();
        }
        return true;
    }
    return ToolWindow::eventFilter(watched, event);
}

// ---- the commands --------------------------------------------------------------------------

void HINSYU2F::Command2_Click()
{
    // A rate typed without Enter is taken as Enter takes it; a refused one writes nothing.
    for (int k = 1; k <= 20; ++k)
        if (!rateBox(k)->takeTyped())
            return;
    const RateWriteResult result = RATE_WRITE(g);
    if (result.rangeRefused) {
        userError(q(RANGE_ERROR_TEXT));
        List2->setFocus();
        return;
    }
    if (result.written == 0)
        qd::qt::beep();
    message(q(rateWriteMessage(result)));
    (isKind2() ? List4 : List3)->setFocus();
}

void HINSYU2F::Command4_Click()
{
    for (ListBox *l : {List1, List2, List3, List4, List5, List6, List7, List8})
        clear(l);
    RATE_TEXT_CLEAR();
    fill(List2, majorLines(g));
    fill(List7, majorLines(g));
    rangeReset(g);
    List2->setFocus();
}

void HINSYU2F::Command5_Click()
{
    const std::vector<CompactFailure> failures = KIND_FILES_COMPACT(g);
    if (!failures.empty()) {
        QString text = QStringLiteral("次のファイルは整理できませんでした。");
        for (const CompactFailure &f : failures)
            text += u'\r' + q(f.path) + u'\r' + q(f.what);
        userError(text);
    }
    unload();
}

} // namespace qd::ratebulk
