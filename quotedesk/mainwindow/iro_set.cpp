#include "quotedesk/mainwindow/iro_set.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

#include "platform/files/file_error.h"
#include "platform/qt/command_guard.h"
#include "platform/qt/forms.h"
#include "platform/qt/list_box.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/sheet/selection.h"

namespace qd::forms {

using qd::grid::FlexGrid;
using qd::qt::qs;
using qd::text::Fixed4;
using qd::text::trim;
namespace P = qd::records::Price;

namespace {

const QString FONT_FAMILY = QStringLiteral("ＭＳ 明朝");
constexpr int C_IRO = 8, C_SURYO = 9, C_KAKERITU = 12, C_TEIKA = 13, C_TANKA = 14, C_KINGAKU = 15, C_HACHU = 21;

QFont formFont(double points)
{
    QFont f(FONT_FAMILY);
    f.setPointSizeF(points);
    f.setBold(true);
    return f;
}

// A name as the lists show it: cut at a NUL, filled with blanks to 20 characters, so that the
// record number after it stands in the same column whatever the name's characters.
std::string listName(const qd::records::Record &rec, int field)
{
    return qd::text::fixedChars(rec.textToNul(field), 20);
}

std::string code2(const qd::records::Record &rec, int field) { return qd::text::leftChars(rec.text(field), 2); }

double numberOf(std::string_view s) { return qd::text::val(trim(s)); }

bool sixDigits(std::string_view s)
{
    return s.size() >= 6 && std::all_of(s.begin(), s.begin() + 6, [](char c) { return c >= '0' && c <= '9'; });
}

// The product key of a price record as product entry puts it into the sheet.
std::string keyOf(const qd::records::Record &rec)
{
    return rec.text(P::MAKER_CD) + rec.text(P::BUNRUI_CD) + rec.text(P::HINSYU2_CD) + rec.text(P::CIHO_CD) +
           rec.text(P::KIGO) + rec.text(P::BIKO);
}

// One row re-priced by the chosen colour; false when the row is left as it is.
bool repriceRow(qd::core::QdState &g, int r)
{
    FlexGrid &sheet = g.curGrid();
    const std::string t = trim(sheet.cell(r, C_HACHU));
    if (qd::text::leftChars(t, 2) == "SE")
        return false; // a set row
    // Only a key that begins with six digits names a list-price file; nothing else is opened.
    if (!sixDigits(t) || t.compare(0, 2, trim(g.COLOR_PICK_GROUP)) != 0)
        return false;
    g.TANKA_NAME = t.substr(0, 6) + "00" + ".txt";
    qd::records::TANKA_OPEN_READ(g);
    qd::records::CloseOnExit closer{g.TANKA_CTL};

    bool found = false;
    for (std::int32_t n = 1; n <= g.TANKA_CTL.recordCount && !found; ++n) {
        g.TANKA_CTL.get(n, g.TANKA_REC);
        found = qd::text::trimRight(keyOf(g.TANKA_REC)) == t;
    }
    if (!found)
        return false;

    const double colour = numberOf(g.COLOR_PICK_CODE);
    std::string listPrice;
    for (int nn = 1; nn <= qd::records::PriceSlots; ++nn)
        if (numberOf(g.TANKA_REC.raw(P::iroCd(nn))) == colour)
            listPrice = g.TANKA_REC.text(P::tanka(nn)); // a later slot of the same colour wins

    const Fixed4 price = qd::text::valFixed(trim(listPrice));
    sheet.setCell(r, C_TEIKA, price != Fixed4() ? qd::text::format(price, "##,###,###") : std::string(8, ' '));
    sheet.setCell(r, C_IRO, trim(g.COLOR_PICK_NAME));

    const std::string qty = numberOf(sheet.cell(r, C_SURYO)) != 0
                                ? qd::text::fixedChars(trim(sheet.cell(r, C_SURYO)), 5)
                                : std::string(5, ' ');
    const std::string rate = numberOf(sheet.cell(r, C_KAKERITU)) != 0
                                 ? qd::text::fixedChars(trim(sheet.cell(r, C_KAKERITU)), 6)
                                 : std::string(6, ' ');
    // The unit price is kept whole, also from ten million yen on.
    const std::int64_t unit = qd::core::ratedPrice(qd::text::valFixed(trim(rate)), price, g.CALC_UNIT, g.CALC_ADJ);
    sheet.setCell(r, C_TANKA, unit != 0 ? qd::text::format(unit, "#,###,###") : std::string(7, ' '));
    const Fixed4 amount = Fixed4::fromInt(unit) * qd::text::valFixed(trim(qty));
    sheet.setCell(r, C_KINGAKU, amount != Fixed4() ? qd::text::format(amount, "##,###,###") : std::string(7, ' '));

    sheet.setRow(r);
    qd::core::ROW_CALC(g);
    return true;
}

// The current cell the colour form returns to: the recorded row, one column right of the
// recorded column, never past the sheet's last column.
void returnToRecordedCell(qd::core::QdState &g)
{
    FlexGrid &sheet = g.curGrid();
    qd::sheet::clampWorkCell(g);
    sheet.setRow(static_cast<int>(g.ROW_NO));
    sheet.setCol(qd::sheet::clampCol(sheet, qd::core::COL_BASE + g.COL_NO));
}

} // namespace

void IRO_SET_APPLY(qd::core::QdState &g)
{
    const FlexGrid &sheet = g.curGrid();
    qd::sheet::clampWorkCell(g);
    const int top = std::max<int>(std::min(g.SAVED_ROW, g.SAVED_ROW_END), 1);
    const int bottom = std::min<int>(std::max(g.SAVED_ROW, g.SAVED_ROW_END), sheet.rows() - 1);
    for (int r = top; r <= bottom; ++r)
        repriceRow(g, r);
    qd::core::TAX_TOTAL_CALC(g);
}

IRO_SET::IRO_SET(QuotedeskApp &a) : QWidget(nullptr), app(a), g(a.g)
{
    setObjectName(QStringLiteral("IRO_SET"));
    setWindowTitle(QStringLiteral("色指定"));

    auto label = [this](const char *name, const QString &caption, double l, double t, double w, double h) {
        auto *x = new QLabel(caption, this);
        x->setObjectName(QString::fromLatin1(name));
        x->setFont(formFont(12));
        qd::qt::setGeometryTwips(x, l, t, w, h);
        return x;
    };
    auto list = [this](const char *name, double l, double t, double w, double h) {
        auto *x = new qd::qt::ListBox(this);
        x->setObjectName(QString::fromLatin1(name));
        x->setFont(formFont(10));
        qd::qt::setGeometryTwips(x, l, t, w, h);
        return x;
    };
    auto button = [this](const char *name, const QString &caption, double l, double t, double w, double h) {
        auto *x = new QPushButton(caption, this);
        x->setObjectName(QString::fromLatin1(name));
        x->setFont(formFont(12));
        x->setAutoDefault(true);
        qd::qt::setGeometryTwips(x, l, t, w, h);
        return x;
    };
    Label1 = label("Label1", QStringLiteral("大分類名"), 600, 240, 1815, 375);
    List1 = list("List1", 600, 600, 1815, 4220);
    Label2 = label("Label2", QStringLiteral("色　名"), 2400, 240, 2175, 375);
    List2 = list("List2", 2400, 600, 2175, 4220);
    Command12 = button("Command12", QStringLiteral("ＯＫ"), 2760, 5040, 1695, 375);
    Command1 = button("Command1", QStringLiteral("キャンセル"), 720, 5040, 1695, 375);
    qd::qt::resizeTwips(this, 5235, 5640);
    // A group line ends in its record number of five digits, a colour line in one of four: the
    // program's, not shown.
    List1->setHiddenTail(5);
    List2->setHiddenTail(4);
    fitLists();

    // A choice is a chosen line; the list's first line made current by the focus alone chooses
    // nothing.
    connect(List1, &qd::qt::ListBox::Click, this, guarded([this] { List1_Click(); }));
    connect(List2, &qd::qt::ListBox::Click, this, guarded([this] { List2_Click(); }));
    connect(List1, &qd::qt::ListBox::KeyDown, this, [this](int key) { guarded([this, key] { List1_KeyDown(key); })(); });
    connect(List2, &qd::qt::ListBox::KeyDown, this, [this](int key) { guarded([this, key] { List2_KeyDown(key); })(); });
    connect(Command12, &QPushButton::clicked, this, guarded([this] { Command12_Click(); }));
    connect(Command1, &QPushButton::clicked, this, guarded([this] { Command1_Click(); }));

    Form_Load();
}

IRO_SET::~IRO_SET() = default;

void IRO_SET::fitLists()
{
    // The colour list stays beside the group list as the group list widens; the form keeps its
    // margin right of the colour list, and the showing command's width never makes it narrower.
    const QString widest = QStringLiteral("00 ") + QString(10, QChar(0x30A2));
    const int margin = width() - (List2->x() + List2->width());
    const int overlap = List1->x() + List1->width() - List2->x();
    List1->resize(std::max(List1->width(), List1->widthToShow(widest)), List1->height());
    const int left = List1->x() + List1->width() - overlap;
    Label2->move(Label2->x() + left - List2->x(), Label2->y());
    List2->setGeometry(left, List2->y(), std::max(List2->width(), List2->widthToShow(widest)), List2->height());
    setMinimumWidth(List2->x() + List2->width() + margin);
}

void IRO_SET::Form_Load()
{
    qd::qt::makeTopmost(this, app.hasKihon() ? &app.kihon() : nullptr);
    g.partialNotes.forget(); // each loading tells of a file that ends in a part of a record
    IRO_SET_LIST_LOAD();
}

void IRO_SET::formShown()
{
    m_shown = true;
    showPendingMessages();
}

void IRO_SET::showPendingMessages()
{
    if (!m_shown || g.partialNotes.commandRunning())
        return;
    const std::vector<std::string> notes = g.partialNotes.takeTexts(qd::text::TwoLinesBreak);
    qd::core::showNotes(g, notes);
    // The box gave the focus back to the window it was asked from, the main window when the form
    // has just come up: the form, the one window the user can work in now, takes it again.
    if (!notes.empty())
        activateWindow();
}

void IRO_SET::IRO_SET_LIST_LOAD()
{
    List1->clearLines();
    List2->clearLines();
    m_groups.clear();
    m_colours.clear();
    qd::records::MAKER_OPEN(g);
    qd::records::CloseOnExit closer{g.MAKER_CTL};
    const std::int32_t groups = qd::entry::shownRecordCount(g, g.MAKER_CTL);
    for (std::int32_t n = 1; n <= groups; ++n) {
        g.MAKER_CTL.get(n, g.MAKER_REC);
        const std::string code = code2(g.MAKER_REC, qd::records::MajorClass::MAKER_CD);
        const std::string name = listName(g.MAKER_REC, qd::records::MajorClass::NAME);
        m_groups.push_back({code, qd::text::trimRight(name)});
        List1->addLine(qs(code + " " + name + "     " + qd::text::format(n, "00000")));
    }
    // The remembered choice is selected again; choosing the group fills the colours.
    const std::string pickedGroup = g.COLOR_PICK_GROUP, pickedCode = g.COLOR_PICK_CODE;
    for (std::size_t i = 0; i < m_groups.size(); ++i)
        if (m_groups[i].code == qd::text::leftChars(pickedGroup, 2)) {
            List1->setListIndex(static_cast<int>(i));
            break;
        }
    for (std::size_t i = 0; i < m_colours.size(); ++i)
        if (m_colours[i].code == qd::text::leftChars(pickedCode, 2)) {
            List2->setListIndex(static_cast<int>(i));
            break;
        }
}

void IRO_SET::List1_Click()
{
    const int row = List1->listIndex();
    if (row < 0 || row >= static_cast<int>(m_groups.size()))
        return;
    const std::string group = m_groups[static_cast<std::size_t>(row)].code;
    // A colour belongs to its group: another group drops the colour chosen before.
    const bool sameGroup = group == qd::text::leftChars(g.COLOR_PICK_GROUP, 2);
    if (!sameGroup) {
        g.COLOR_PICK_CODE = "00";
        g.COLOR_PICK_NAME = std::string(20, ' ');
    }
    g.COLOR_PICK_GROUP = group;

    List2->clearLines();
    m_colours.clear();
    qd::records::IRO_OPEN(g);
    qd::records::CloseOnExit closer{g.IRO_CTL};
    const std::int32_t colours = qd::entry::shownRecordCount(g, g.IRO_CTL);
    for (std::int32_t n = 1; n <= colours; ++n) {
        g.IRO_CTL.get(n, g.IRO_REC);
        if (code2(g.IRO_REC, qd::records::Color::MAKER_CD) != group)
            continue;
        const std::string code = code2(g.IRO_REC, qd::records::Color::IRO_CD);
        const std::string name = listName(g.IRO_REC, qd::records::Color::NAME);
        m_colours.push_back({code, qd::text::trimRight(name)});
        List2->addLine(qs(code + " " + name + qd::text::format(n, "0000")));
    }
    // The group clicked again keeps its colour, and the colour list shows it chosen.
    if (sameGroup)
        for (std::size_t i = 0; i < m_colours.size(); ++i)
            if (m_colours[i].code == qd::text::leftChars(g.COLOR_PICK_CODE, 2)) {
                List2->setLineSelected(static_cast<int>(i), true);
                break;
            }
}

void IRO_SET::List2_Click()
{
    const int row = List2->listIndex();
    if (row < 0 || row >= static_cast<int>(m_colours.size()))
        return;
    const Entry &e = m_colours[static_cast<std::size_t>(row)];
    g.COLOR_PICK_CODE = e.code;
    g.COLOR_PICK_NAME = qd::text::fixedChars(trim(e.name), 20);
    if (qd::text::leftChars(g.COLOR_PICK_GROUP, 2) == "01" && g.COLOR_PICK_CODE == "01")
        g.COLOR_PICK_NAME = std::string(20, ' ');
}

void IRO_SET::List1_KeyDown(int keyCode)
{
    if (keyCode == 13)
        List2->setFocus();
}

void IRO_SET::List2_KeyDown(int keyCode)
{
    if (keyCode == 13)
        Command12->setFocus();
}

std::function<void()> IRO_SET::guarded(std::function<void()> handler)
{
    return [this, command = qd::qt::guarded(std::move(handler), qd::core::failedCommandRecovery(g))] {
        command();
        showPendingMessages();
    };
}

void IRO_SET::Command12_Click()
{
    qd::core::CoreUi &core = g.UI();
    // Without a colour of the chosen group there is nothing to price by.
    if (numberOf(g.COLOR_PICK_CODE) == 0) {
        core.beep();
        g.MSG_ANS = core.msgBox("色名を選択して下さい！", qd::core::Buttons::Ok);
        return;
    }
    FlexGrid &sheet = g.curGrid();
    qd::sheet::SEL_RANGE_ORDER(g);
    if (app.hasKihon())
        app.kihon().setEnabled(true);
    sheet.setRedraw(false);
    qd::sheet::SEL_RANGE_SAVE(g);
    core.setMousePointer(11);

    qd::sheet::takeBlockFromSelection(g);

    std::string failure;
    try {
        IRO_SET_APPLY(g);
        returnToRecordedCell(g);
        qd::sheet::SEL_RANGE_SET(g);
    } catch (const std::exception &e) {
        failure = qd::files::failureText(e);
    }
    sheet.setRedraw(true);
    if (app.hasKihon())
        if (QWidget *view = app.kihon().Grid1.at(static_cast<std::size_t>(g.CUR_SLOT)))
            view->setFocus();
    core.setMousePointer(0);
    if (!failure.empty()) {
        core.beep();
        g.MSG_ANS = core.msgBox(qd::text::twoLines("色の変更を中断しました。", failure), qd::core::Buttons::Ok);
    }
}

void IRO_SET::Command1_Click()
{
    m_cancelling = true;
    app.forms.unload<IRO_SET>();
    FlexGrid &sheet = g.curGrid();
    sheet.setRedraw(false);
    if (app.hasKihon())
        app.kihon().setEnabled(true);
    returnToRecordedCell(g);
    sheet.setRedraw(true);
    if (app.hasKihon())
        if (QWidget *view = app.kihon().Grid1.at(static_cast<std::size_t>(g.CUR_SLOT)))
            view->setFocus();
}

void IRO_SET::closeEvent(QCloseEvent *event)
{
    // Closed by its title bar, the form ends as "キャンセル" does: the main window comes back.
    event->accept();
    if (!m_cancelling)
        Command1_Click();
}

} // namespace qd::forms
