#include "quotedesk/printing/mitumori.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/qt/seam.h"
#include "platform/text/numbers.h"
#include "quotedesk/compose/doc_compose.h"
#include "quotedesk/printing/fm.h"
#include "quotedesk/printing/form_look.h"
#include "quotedesk/printing/print_command.h"
#include "quotedesk/printing/print_context.h"
#include "quotedesk/printing/prnt.h"

namespace qd::printing {

using qd::qt::setGeometryTwips;

namespace {

// Composes every page of the current document with the progress window up, modal, so that
// only its stop button works meanwhile. False when a page image could not be written: the
// user has been told and the print command is over.
bool composePages(PrintContext &ctx)
{
    qd::core::QdState &g = ctx.g;
    const PrintSource source = takePrintSource(g, ctx.host.taxEntries());
    FM &fm = ctx.fm.get();
    fm.Form_Load();
    int shown = -1;
    auto events = [&] {
        if (FM *f = ctx.fm.ifLoaded(); f && shown != g.PAGE_NO) {
            shown = g.PAGE_NO;
            f->Text1->setText(QString::fromStdString(qd::text::format(g.PAGE_NO, "###0")));
        }
        qd::qt::doEvents();
    };
    try {
        const ComposeResult r = composeDocument(g, source, events);
        ctx.fm.unload();
        // The pages written, also after a stop: the page being composed then is lost.
        g.PAGE_COUNT = static_cast<std::int16_t>(r.pagesWritten);
        return true;
    } catch (const qd::emf::PageWriteError &e) {
        ctx.fm.unload();
        g.PAGE_COUNT = 0;
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("印刷イメージが書き込めません。\n%1")
                           .arg(QString::fromStdString(qd::files::failureText(e))),
                       qd::qt::Buttons::Ok, {}, qd::qt::Icon::Critical);
        return false;
    } catch (const std::exception &e) {
        ctx.fm.unload();
        g.PAGE_COUNT = 0;
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("印刷イメージが作成できません。\n%1").arg(QString::fromLocal8Bit(e.what())),
                       qd::qt::Buttons::Ok, {}, qd::qt::Icon::Critical);
        return false;
    }
}

// The print command has ended without a preview: the page images given up, the main window
// taking input again.
void endWithoutPreview(PrintContext &ctx)
{
    ctx.endPrintRun();
    ctx.host.setMousePointer(0);
    ctx.host.setMainEnabled(true);
    ctx.host.focusSheet();
}

void compose(PrintContext &ctx)
{
    qd::core::QdState &g = ctx.g;
    if (refuseTotalsBeyondPrint(g)) {
        endWithoutPreview(ctx);
        return;
    }
    qd::grid::FlexGrid &sheet = g.curGrid();
    sheet.setRedraw(false);
    g.PAGE_NO = 1;
    g.LAST_ROW = static_cast<std::int16_t>(lastPrintedRow(sheet));
    if (g.LAST_ROW != 0) {
        loadOwnCompany(g);
        const bool written = composePages(ctx);
        sheet.setRedraw(true);
        if (!written) {
            endWithoutPreview(ctx);
            return;
        }
    } else {
        g.PAGE_COUNT = 0; // nothing composed: no page to show or print
    }
    PRNT &preview = ctx.prnt.get();
    preview.showPreview();
    g.PAGE_NO = 1;
    preview.EMF_PAGE_SHOW();
    preview.Command1_GotFocus();
    sheet.setRedraw(true);
    ctx.host.setMousePointer(0);
}

} // namespace

MITUMORI::MITUMORI(PrintContext &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setWindowTitle(QString());
    setObjectName(QStringLiteral("MITUMORI"));
    setBackColor(this, kLightYellow);
    const QFont optionFont = formFont(QStringLiteral("ＭＳ 明朝"), 12, true, true);
    const QFont frameFont = formFont(QStringLiteral("ＭＳ Ｐゴシック"), 9, false);
    QPalette blue;
    blue.setColor(QPalette::WindowText, Qt::blue);

    auto frame = [&](const QString &caption, double l, double t, double w, double h) {
        auto *f = new QGroupBox(caption, this);
        f->setFont(frameFont);
        setGeometryTwips(f, l, t, w, h);
        return f;
    };
    auto option = [&](QGroupBox *in, const QString &caption, double l, double t, double w, double h) {
        auto *o = new QRadioButton(caption, in);
        o->setFont(optionFont);
        o->setPalette(blue);
        setGeometryTwips(o, l, t, w, h);
        return o;
    };
    // Each option line is as high as its blue text needs, so the two lines of a frame never run
    // into each other; the frames, the buttons and the window grow by what the lines need beyond
    // 270 twips. Where 270 twips hold the text, nothing moves.
    const double line = std::max(270.0, qd::qt::pixelsToTwipsY(QFontMetrics(optionFont).height() + 4));
    const double step = std::max(240.0, line);
    const double pairGrow = (step - 240) + (line - 270), singleGrow = line - 270;

    Frame1 = frame(QString(), 120, 0, 4935, 970 + pairGrow);
    Option1 = option(Frame1, QStringLiteral("呼称を製品名の欄に印字します。"), 120, 240, 4695, line);
    Option2 = option(Frame1, QStringLiteral("発注品番を製品名の欄に印字します。"), 120, 240 + step, 4695, line);
    Frame2 = frame(QStringLiteral("納品書・請求書の物件名表示"), 840, 1200 + pairGrow, 3490, 850 + pairGrow);
    Option3 = option(Frame2, QStringLiteral("表紙の上部に印字しない"), 120, 240, 3250, line);
    Option4 = option(Frame2, QStringLiteral("表紙の上部に印字する"), 120, 240 + step, 3010, line);
    Frame3 = frame(QStringLiteral("印刷方向"), 2040, 2280 + 2 * pairGrow, 1090, 730 + singleGrow);
    Option5 = option(Frame3, QStringLiteral("A4横"), 120, 240, 850, line);
    Option5->setChecked(true);
    m_grow = 2 * pairGrow + singleGrow;

    Command1 = new QPushButton(QStringLiteral("終了"), this);
    setGeometryTwips(Command1, 600, 3240 + m_grow, 1695, 615);
    Command2 = new QPushButton(QStringLiteral("印刷実行"), this);
    setGeometryTwips(Command2, 2880, 3240 + m_grow, 1695, 615);
    for (QPushButton *b : {Command1, Command2})
        b->setAutoDefault(true); // Enter on the focused button presses it, as Space does
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Option3);
    setTabOrder(Option3, Option4);
    setTabOrder(Option4, Option5);

    // Selecting a button, by the user or by code, runs its handler.
    // Every handler runs through the command guard: a failure ends the print command with a
    // message and leaves the main window taking input again.
    auto onSelected = [this](QRadioButton *o, void (MITUMORI::*handler)()) {
        connect(o, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on)
                m_ctx.runGuarded([&] { (this->*handler)(); });
        });
    };
    onSelected(Option1, &MITUMORI::Option1_Click);
    onSelected(Option2, &MITUMORI::Option2_Click);
    onSelected(Option3, &MITUMORI::Option3_Click);
    onSelected(Option4, &MITUMORI::Option4_Click);
    connect(Command1, &QPushButton::clicked, this, m_ctx.guarded([this] { Command1_Click(); }));
    connect(Command2, &QPushButton::clicked, this, m_ctx.guarded([this] { COMMAND2_CLICK(); }));
}

void MITUMORI::Form_Load()
{
    const qd::qt::ScreenSize s = qd::qt::screen();
    setGeometryTwips(this, (s.widthTwips() - 5295) / 2, (s.heightTwips() - 2595 - m_grow) / 2, 5390, 4190 + m_grow);
}

void MITUMORI::Command1_Click()
{
    PrintContext &ctx = m_ctx;
    ctx.mitumori.unload();
    ctx.endPrintRun();
    ctx.host.setMainEnabled(true);
    ctx.host.focusSheet();
}

void MITUMORI::COMMAND2_CLICK()
{
    PrintContext &ctx = m_ctx;
    ctx.mitumori.unload(); // this form is gone from here on
    compose(ctx);
}

void MITUMORI::Option1_Click() { m_ctx.g.PRN_NAME_COL = 0; }
void MITUMORI::Option2_Click() { m_ctx.g.PRN_NAME_COL = 1; }
void MITUMORI::Option3_Click() { m_ctx.g.PRN_OPTION = 1; }
void MITUMORI::Option4_Click() { m_ctx.g.PRN_OPTION = 0; }

void MITUMORI::closeEvent(QCloseEvent *event)
{
    // Closing by the window frame leaves as "終了" does, never with the main window disabled.
    event->ignore();
    m_ctx.runGuarded([this] { Command1_Click(); });
}

} // namespace qd::printing
