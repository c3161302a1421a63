#include "quotedesk/printing/prnt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

#include "platform/files/paths.h"
#include "platform/qt/forms.h"
#include "platform/qt/focus_selection.h"
#include "platform/qt/page_player.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/compose/page_print.h"
#include "quotedesk/printing/fm.h"
#include "quotedesk/printing/form_look.h"
#include "quotedesk/printing/print_context.h"
#include "quotedesk/printing/printer.h"

namespace qd::printing {

using qd::qt::setGeometryTwips;
using qd::text::Fixed4;

namespace {

// The window frame the sizes of the window count in: a width or height of the window is its
// inside plus this.
constexpr double kFrameW = 120, kFrameH = 450;
// The smallest window that still holds the buttons above the scroll bar.
constexpr double kMinWindowW = 6000, kMinWindowH = 3000;

constexpr int kKeyEnter = 13, kKeyPageUp = 33, kKeyPageDown = 34;

// The grey around the page picture.
const QColor kPictureGrey(128, 128, 128);

QString fmt(std::int64_t v, const char *pattern) { return QString::fromStdString(qd::text::format(v, pattern)); }

// A twips value held in 16 bits: nearest, halves to even, kept in range.
std::int16_t to16(Fixed4 v)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v.roundHalfEven(), std::numeric_limits<std::int16_t>::min(),
                                                              std::numeric_limits<std::int16_t>::max()));
}
std::int16_t to16(double v)
{
    if (!std::isfinite(v))
        return v > 0 ? std::numeric_limits<std::int16_t>::max() : std::numeric_limits<std::int16_t>::min();
    return to16(Fixed4::fromDouble(std::clamp(v, -1e9, 1e9)));
}

// The magnification step as a number: a text that is a number above 0, else nothing.
std::optional<Fixed4> zoomValue(const QString &text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || d <= 0 || d > 1e9)
        return std::nullopt;
    const Fixed4 f = qd::text::valFixed(text.trimmed().toStdString());
    if (f <= Fixed4())
        return std::nullopt;
    return f;
}

// A page box's text as a page number: formatted "###" and taken as a 16-bit integer (2.6 is
// page 3); an empty result, a text that is not a number or a page beyond 16 bits gives nothing.
std::optional<std::int16_t> pageValue(const QString &text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    const std::string shown = qd::text::format(d, "###");
    if (shown.empty())
        return std::nullopt;
    const double v = qd::text::val(shown);
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(qd::text::roundHalfEven(v));
}

// Enter in a page box takes the page typed (when it is one) and moves on to `next`.
void takePageOnEnter(qd::core::QdState &g, const QLineEdit *box, int keyCode, QWidget *next)
{
    if (keyCode != kKeyEnter)
        return;
    if (const auto page = pageValue(box->text())) {
        g.PAGE_NO = *page;
        next->setFocus();
    }
}

// Leaving a page box makes the page taken that end of the range, shown again in the box.
void keepPageAs(qd::core::QdState &g, QLineEdit *box, std::int16_t &rangeEnd)
{
    rangeEnd = g.PAGE_NO;
    box->setText(fmt(rangeEnd, "###"));
}

// The PDF file of a print on a machine without a printer: the document's name and the kind of
// document, in the document folder ("見本見積_請求書.pdf"), so the three kinds of one job never
// replace each other. Only the name of the document is taken, never a folder in it.
std::filesystem::path pdfFileOf(const qd::core::QdState &g)
{
    std::string folder = qd::text::trim(g.DOC_DIR);
    if (folder.empty())
        folder = qd::text::trim(g.INST_DIR) + "\\data";
    std::string name = qd::text::trim(g.CUR_DOC_NAME);
    if (const std::size_t cut = name.find_last_of("\\/:"); cut != std::string::npos)
        name.erase(0, cut + 1);
    if (name.empty() || name == "." || name == "..")
        name = "印刷";
    const char *kind = g.DOC_KIND == 1 ? "請求書" : g.DOC_KIND == 2 ? "納品書" : "見積書";
    return qd::files::hostPath(folder + "\\" + name + "_" + kind + ".pdf");
}

int qtKeyToCode(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyEnter;
    case Qt::Key_PageUp: return kKeyPageUp;
    case Qt::Key_PageDown: return kKeyPageDown;
    default: return 0;
    }
}

} // namespace

PagePicture::PagePicture(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PagePicture::setPage(qd::emf::PageImage page)
{
    m_page = std::move(page);
    update();
}

void PagePicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_page) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    // The paper in white on the grey of the picture area, so its edges show.
    const QRectF paper = pageRect();
    p.fillRect(rect(), kPictureGrey);
    p.fillRect(paper, Qt::white);
    try {
        qd::qt::playPage(*m_page, p, paper);
    } catch (...) {
        // Never out of a paint: the page goes and the failure is told once the painting is over.
        m_page.reset();
        p.fillRect(rect(), Qt::white);
        if (onPlayFailure)
            onPlayFailure(std::current_exception());
    }
}

QRectF PagePicture::pageRect() const
{
    // The paper at one scale across and down, as large as the box holds it, in its middle.
    const QSizeF paper = m_page ? qd::qt::pagePaperSizeMm(*m_page) : QSizeF();
    if (paper.width() <= 0 || paper.height() <= 0)
        return QRectF(rect());
    const double scale = std::min(width() / paper.width(), height() / paper.height());
    const QSizeF size = paper * scale;
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

PRNT::PRNT(PrintContext &ctx) : QWidget(nullptr), m_ctx(ctx)
{
    setObjectName(QStringLiteral("PRNT"));
    setWindowTitle(QStringLiteral("印刷イメージ"));
    const QFont buttonFont = formFont(QStringLiteral("ＭＳ ゴシック"), 9, true);

    PicArea = new QWidget(this);
    setBackColor(PicArea, kPictureGrey);
    Preview1 = new PagePicture(PicArea);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar *s : {HScroll1, VScroll1}) {
        s->setSingleStep(500);
        s->setPageStep(1000);
        s->setTracking(false); // a drag moves the picture; the value counts when it ends
        s->setFocusPolicy(Qt::StrongFocus);
        s->installEventFilter(this);
    }
    setGeometryTwips(HScroll1, 0, 8285, 11630, 270);
    setGeometryTwips(VScroll1, 11610, 0, 270, 8295);

    auto button = [&](const QString &caption, double left, double width) {
        auto *b = new QPushButton(caption, this);
        b->setFont(buttonFont);
        setGeometryTwips(b, left, 7920, width, 350);
        return b;
    };
    Command1 = button(QStringLiteral("印刷"), 240, 1095);
    Command6 = button(QStringLiteral("前頁"), 1680, 1095);
    Command2 = button(QStringLiteral("次頁"), 3120, 1095);
    Command3 = button(QStringLiteral("戻る"), 4560, 1095);
    Command4 = button(QStringLiteral("拡大"), 7440, 975);
    Command5 = button(QStringLiteral("縮小"), 8760, 975);
    Command7 = button(QStringLiteral("倍率変更"), 10080, 1335);
    Command1->installEventFilter(this);

    Frame1 = new QGroupBox(QStringLiteral("印刷ページ設定"), this);
    setGeometryTwips(Frame1, 4200, 2640, 3735, 2535);
    setBackColor(Frame1, palette().color(QPalette::Window));
    Label1 = new QLabel(QStringLiteral("開始ページ"), Frame1);
    setGeometryTwips(Label1, 600, 600, 1455, 360);
    Text2 = new QLineEdit(Frame1);
    setGeometryTwips(Text2, 2160, 600, 495, 360);
    Label2 = new QLabel(QStringLiteral("終了ページ"), Frame1);
    setGeometryTwips(Label2, 600, 1320, 1455, 360);
    Text3 = new QLineEdit(Frame1);
    setGeometryTwips(Text3, 2160, 1320, 495, 360);
    Command8 = new QPushButton(QStringLiteral("印 刷"), Frame1);
    setGeometryTwips(Command8, 240, 2040, 1455, 375);
    Command9 = new QPushButton(QStringLiteral("キャンセル"), Frame1);
    setGeometryTwips(Command9, 2040, 2040, 1455, 375);
    Image1 = new QLabel(Frame1);
    setGeometryTwips(Image1, 3000, 960, 490, 430);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(24, 24));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    for (QLineEdit *t : {Text2, Text3}) {
        t->installEventFilter(this);
        qd::qt::keepSelectionOnFocusClick(t); // a click into a page box leaves its page selected
    }

    for (QPushButton *b : {Command1, Command6, Command2, Command3, Command4, Command5, Command7, Command8, Command9})
        b->setAutoDefault(true); // Enter on the focused button presses it, as Space does

    // Every handler runs through the command guard: a failure ends the print command with a
    // message, the preview closed and the main window taking input again.
    auto onClick = [this](QPushButton *b, void (PRNT::*handler)()) {
        connect(b, &QPushButton::clicked, this, m_ctx.guarded([this, handler] { (this->*handler)(); }));
    };
    onClick(Command1, &PRNT::Command1_Click);
    onClick(Command2, &PRNT::COMMAND2_CLICK);
    onClick(Command3, &PRNT::Command3_Click);
    onClick(Command4, &PRNT::Command4_Click);
    onClick(Command5, &PRNT::Command5_Click);
    onClick(Command6, &PRNT::COMMAND6_CLICK);
    onClick(Command7, &PRNT::Command7_Click);
    onClick(Command8, &PRNT::Command8_Click);
    onClick(Command9, &PRNT::Command9_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, m_ctx.guarded([this] { HScroll1_Change(); }));
    connect(HScroll1, &QScrollBar::sliderMoved, this, m_ctx.guarded([this] { HScroll1_Scroll(); }));
    connect(VScroll1, &QScrollBar::valueChanged, this, m_ctx.guarded([this] { VScroll1_Change(); }));
    connect(VScroll1, &QScrollBar::sliderMoved, this, m_ctx.guarded([this] { VScroll1_Scroll(); }));
    // A page the player cannot draw is told once, through the guard, after the painting.
    Preview1->onPlayFailure = [this](std::exception_ptr failure) {
        QTimer::singleShot(0, this, [this, failure] { m_ctx.runGuarded([failure] { std::rethrow_exception(failure); }); });
    };

    Form_Load();
}

void PRNT::Form_Load()
{
    setPicture(0, 0, 11600, 7866);
    setTabOrder(Command1, Command6);
    setTabOrder(Command6, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);
    setTabOrder(Command5, Command7);
    PIC_BASE_W = m_picW;
    PIC_BASE_H = m_picH;
    const qd::qt::ScreenSize s = qd::qt::screen();
    setMinimumSize(qd::qt::twipsToPixelsX(kMinWindowW - kFrameW), qd::qt::twipsToPixelsY(kMinWindowH - kFrameH));
    setGeometryTwips(this, (s.widthTwips() - 12000) / 2, (s.heightTwips() - 9000) / 2, 12000 - kFrameW,
                     9000 - kFrameH);
    viewWholePicture();
    Frame1->hide();
    Command6->setEnabled(false);
    refreshCaption();
    ZOOM_FACTOR = QStringLiteral("1.3");
}

void PRNT::viewWholePicture()
{
    VIEW_W = m_picW;
    VIEW_H = m_picH;
    for (QScrollBar *sb : {HScroll1, VScroll1}) {
        QSignalBlocker quiet(sb);
        sb->setRange(0, 0);
        sb->setValue(0);
    }
    PIC_LEFT = PIC_TOP = HSCROLL_POS = VSCROLL_POS = 0;
}

void PRNT::setPicture(double leftTwips, double topTwips, int widthTwips, int heightTwips)
{
    m_picW = static_cast<std::int16_t>(std::clamp(widthTwips, 1, 32767));
    m_picH = static_cast<std::int16_t>(std::clamp(heightTwips, 1, 32767));
    setGeometryTwips(Preview1, leftTwips, topTwips, m_picW, m_picH);
}

void PRNT::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_ctx.runGuarded([this] { Form_Resize(); });
}

void PRNT::Form_Resize()
{
    if (isMinimized())
        return;
    const qd::qt::TwipsRect inside = qd::qt::geometryTwips(this);
    // A window smaller than its buttons and scroll bars is laid out as the smallest one.
    const double FW = std::max(inside.width + kFrameW, kMinWindowW);
    const double FH = std::max(inside.height + kFrameH, kMinWindowH);
    setPicture(0, 0, to16(PIC_BASE_W / (9000.0 / FH)), to16(PIC_BASE_H / (9000.0 / FH)));
    viewWholePicture();
    setGeometryTwips(HScroll1, 0, FH - 720, FW - 380, 270);
    setGeometryTwips(VScroll1, FW - 390, 0, 270, FH - 700);
    for (QPushButton *b : {Command1, Command6, Command2, Command3, Command4, Command5, Command7}) {
        const qd::qt::TwipsRect r = qd::qt::geometryTwips(b);
        setGeometryTwips(b, r.left, FH - 1050, r.width, r.height);
    }
    setGeometryTwips(PicArea, 0, 0, FW - 390, FH - 1050);
    Frame1->raise();
}

void PRNT::refreshCaption()
{
    const qd::core::QdState &g = m_ctx.g;
    setWindowTitle(fmt(g.PAGE_NO, "##0") + QLatin1Char('/') + fmt(g.PAGE_COUNT, "##0"));
}

bool PRNT::EMF_PAGE_SHOW()
{
    try {
        Preview1->setPage(qd::emf::loadPageImage(pageImagePath(m_ctx.g, m_ctx.g.PAGE_NO)));
        return true;
    } catch (const std::exception &) {
        return false; // the picture stays as it was
    }
}

void PRNT::showPreview()
{
    qd::qt::showModeless(this);
    Command1->setFocus();
}

void PRNT::Command1_GotFocus()
{
    const qd::core::QdState &g = m_ctx.g;
    Command6->setEnabled(g.PAGE_NO > 1);
    Command2->setEnabled(g.PAGE_NO < g.PAGE_COUNT);
    refreshCaption();
}

void PRNT::Command1_KeyDown(int keyCode)
{
    if (keyCode == kKeyPageUp) {
        if (Command6->isEnabled())
            COMMAND6_CLICK();
        Command1->setFocus();
    } else if (keyCode == kKeyPageDown) {
        if (Command2->isEnabled())
            COMMAND2_CLICK();
        Command1->setFocus();
    }
}

void PRNT::restorePlace()
{
    setGeometryTwips(Preview1, PIC_LEFT, PIC_TOP, m_picW, m_picH);
    const std::int16_t h = HSCROLL_POS, v = VSCROLL_POS;
    HScroll1->setValue(h);
    VScroll1->setValue(v);
}

void PRNT::COMMAND2_CLICK()
{
    qd::core::QdState &g = m_ctx.g;
    ++g.PAGE_NO;
    if (g.PAGE_NO == g.PAGE_COUNT)
        Command2->setEnabled(false);
    EMF_PAGE_SHOW();
    restorePlace();
    Command6->setEnabled(true);
    refreshCaption();
}

void PRNT::COMMAND6_CLICK()
{
    qd::core::QdState &g = m_ctx.g;
    --g.PAGE_NO;
    EMF_PAGE_SHOW();
    if (g.PAGE_NO == 1)
        Command6->setEnabled(false);
    restorePlace();
    Command2->setEnabled(true);
    refreshCaption();
}

void PRNT::Command3_Click() { Form_Unload(); }

void PRNT::Form_Unload()
{
    if (m_unloading)
        return;
    m_unloading = true;
    PrintContext &ctx = m_ctx;
    ctx.prnt.unload();
    ctx.fm.unload();
    ctx.host.setMainEnabled(true);
    ctx.host.focusSheet();
    ctx.endPrintRun();
}

void PRNT::closeEvent(QCloseEvent *event)
{
    event->accept();
    m_ctx.runGuarded([this] { Form_Unload(); });
}

void PRNT::zoom(bool in)
{
    const Fixed4 F = zoomValue(ZOOM_FACTOR).value_or(Fixed4::fromRaw(13000));
    const Fixed4 W = Fixed4::fromInt(m_picW), H = Fixed4::fromInt(m_picH);
    const Fixed4 newW = in ? F * W : W / F;
    const Fixed4 newH = in ? F * H : H / F;
    const bool refused = in ? newW > Fixed4::fromInt(32767) : F * W < Fixed4();
    if (refused) {
        qd::qt::beep();
    } else {
        std::int16_t hmax = to16(newW - Fixed4::fromInt(VIEW_W));
        std::int16_t vmax = to16(newH - Fixed4::fromInt(VIEW_H));
        HScroll1->setMinimum(0);
        setPicture(qd::qt::geometryTwips(Preview1).left, qd::qt::geometryTwips(Preview1).top, to16(newW), to16(newH));
        if (m_picW <= VIEW_W)
            hmax = vmax = 0;
        HScroll1->setMaximum(std::max<int>(0, hmax));
        VScroll1->setMaximum(std::max<int>(0, vmax));
    }
    PIC_LEFT = to16(qd::qt::geometryTwips(Preview1).left);
    HSCROLL_POS = static_cast<std::int16_t>(HScroll1->value());
    VSCROLL_POS = static_cast<std::int16_t>(VScroll1->value());
    HScroll1->setFocus();
}

void PRNT::Command4_Click() { zoom(true); }
void PRNT::Command5_Click() { zoom(false); }

void PRNT::Command7_Click()
{
    qd::qt::beep();
    const QString previous = ZOOM_FACTOR;
    const QString answer = qd::qt::inputBox(QStringLiteral("拡大／縮小倍率を入れて下さい。"), QStringLiteral("拡大／縮小率"),
                                            ZOOM_FACTOR);
    if (answer.trimmed().isEmpty()) {
        ZOOM_FACTOR = previous;
        return;
    }
    // Only a number above 0 makes a step; anything else is refused and the step stays.
    if (!zoomValue(answer)) {
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("指定が違います。"));
        ZOOM_FACTOR = previous;
        return;
    }
    ZOOM_FACTOR = answer;
}

void PRNT::HScroll1_Change()
{
    const qd::qt::TwipsRect r = qd::qt::geometryTwips(Preview1);
    setGeometryTwips(Preview1, -HScroll1->value(), r.top, m_picW, m_picH);
    PIC_LEFT = to16(-static_cast<double>(HScroll1->value()));
    HSCROLL_POS = static_cast<std::int16_t>(HScroll1->value());
}

void PRNT::HScroll1_Scroll()
{
    const qd::qt::TwipsRect r = qd::qt::geometryTwips(Preview1);
    setGeometryTwips(Preview1, -HScroll1->sliderPosition(), r.top, m_picW, m_picH);
}

void PRNT::VScroll1_Change()
{
    const qd::qt::TwipsRect r = qd::qt::geometryTwips(Preview1);
    setGeometryTwips(Preview1, r.left, -VScroll1->value(), m_picW, m_picH);
    PIC_TOP = to16(-static_cast<double>(VScroll1->value()));
    VSCROLL_POS = static_cast<std::int16_t>(VScroll1->value());
}

void PRNT::VScroll1_Scroll()
{
    const qd::qt::TwipsRect r = qd::qt::geometryTwips(Preview1);
    setGeometryTwips(Preview1, r.left, -VScroll1->sliderPosition(), m_picW, m_picH);
}

void PRNT::HScroll1_KeyDown(int keyCode)
{
    if (keyCode == kKeyEnter)
        VScroll1->setFocus();
}

void PRNT::VScroll1_KeyDown(int keyCode)
{
    if (keyCode == kKeyEnter)
        HScroll1->setFocus();
}

void PRNT::Command1_Click()
{
    qd::qt::beep();
    const qd::qt::TwipsRect inside = qd::qt::geometryTwips(this);
    // The frame stands in the middle of the picture, always inside the window.
    const double left = std::clamp((m_picW - 3735) / 2.0, 0.0, std::max(0.0, inside.width - 3735));
    const double top = std::clamp((m_picH - 2535) / 2.0, 0.0, std::max(0.0, inside.height - 2535));
    setGeometryTwips(Frame1, left, top, 3735, 2535);
    Frame1->show();
    Frame1->raise();
    Text2->setFocus();
}

void PRNT::Text2_GotFocus()
{
    const QString page = fmt(m_ctx.g.PAGE_NO, "###");
    Text2->setText(page);
    Text3->setText(page);
    Text2->selectAll();
}

void PRNT::Text2_KeyDown(int keyCode) { takePageOnEnter(m_ctx.g, Text2, keyCode, Text3); }

void PRNT::Text2_LostFocus() { keepPageAs(m_ctx.g, Text2, m_ctx.g.PRN_FROM); }

void PRNT::Text3_GotFocus()
{
    Text3->setText(fmt(m_ctx.g.PAGE_COUNT, "###"));
    Text3->selectAll();
}

void PRNT::Text3_KeyDown(int keyCode) { takePageOnEnter(m_ctx.g, Text3, keyCode, Command8); }

void PRNT::Text3_LostFocus() { keepPageAs(m_ctx.g, Text3, m_ctx.g.PRN_TO); }

void PRNT::Command9_Click()
{
    Frame1->hide();
    Command1->setFocus();
    Text2->clear();
    Text3->clear();
    m_ctx.g.PRN_FROM = 0;
    m_ctx.g.PRN_TO = 0;
}

void PRNT::Image1_Click() { m_ctx.host.startProgram(QStringLiteral("\\SETTEI.EXE")); }

void PRNT::Command8_Click()
{
    // A click gives the button the focus: a page box being left takes its page first.
    if (QApplication::focusWidget() == Text2 || QApplication::focusWidget() == Text3)
        Command8->setFocus();
    qd::core::QdState &g = m_ctx.g;
    if (g.PRN_FROM == 0)
        g.PRN_FROM = g.PAGE_NO;
    if (g.PRN_TO == 0)
        g.PRN_TO = g.PAGE_NO;
    if (g.PRN_TO < g.PRN_FROM || g.PRN_FROM < 1 || g.PRN_TO > g.PAGE_COUNT) {
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("指定が違います。"));
        Text2->setText(fmt(g.PAGE_NO, "###"));
        Text3->setText(fmt(g.PAGE_NO, "###"));
        // The start box takes the focus with its page all selected, whether or not the window
        // has got its focus back from the message yet: a digit typed replaces the page.
        Text2->setFocus();
        Text2->selectAll();
        return;
    }
    printRange();
}

void PRNT::printRange()
{
    PrintContext &ctx = m_ctx;
    qd::core::QdState &g = ctx.g;

    const std::filesystem::path pdfFile = pdfFileOf(g);
    const PrintDestination destination = choosePrintDestination(
        ctx.availablePrinters ? ctx.availablePrinters() : QStringList{},
        ctx.defaultPrinter ? ctx.defaultPrinter() : QString{}, pdfFile);
    const QString where = QString::fromStdString(qd::files::systemPath(pdfFile));
    // A PDF file of an earlier print is replaced only when the user says so.
    // A name the system cannot hold (too long) is no file yet: the writing says why it fails.
    std::error_code noFile;
    if (destination.toPdf && std::filesystem::exists(pdfFile, noFile)) {
        qd::qt::beep();
        const int answer = qd::qt::msgBox(
            qd::qt::twoLines(QStringLiteral("「%1」は既にあります。").arg(where), QStringLiteral("置き換えますか？")),
            qd::qt::Buttons::YesNo, {}, qd::qt::Icon::Question);
        if (answer != qd::qt::Answer::Yes)
            return;
    }

    g.PAGE_NO = g.PRN_FROM;
    g.PRN_CANCEL = 0;
    FM &fm = ctx.fm.get();
    fm.Form_Load();
    Frame1->hide();

    auto tellPdf = [&] {
        if (destination.toPdf)
            qd::qt::msgBox(QStringLiteral("プリンタがないため、PDFファイルに出力しました。\n%1").arg(where));
    };
    auto tellFailure = [&](const QString &what) {
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("印刷できませんでした。\n%1").arg(what), qd::qt::Buttons::Ok, {},
                       qd::qt::Icon::Critical);
    };

    PageOutput out;
    QString device;
    if (!out.begin(destination, QString::fromStdString(qd::text::trim(g.CUR_DOC_NAME)), &device)) {
        ctx.fm.unload();
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("印刷できません。\n%1").arg(destination.toPdf ? where : device),
                       qd::qt::Buttons::Ok, {}, qd::qt::Icon::Critical);
        g.PAGE_NO = g.PRN_FROM;
        g.PRN_FROM = g.PRN_TO = 0;
        Command1->setFocus();
        Command1_GotFocus();
        return;
    }

    QString failure;
    while (g.PAGE_NO <= g.PRN_TO) {
        qd::qt::doEvents(); // a click on "印刷中止" is seen here
        if (!EMF_PAGE_SHOW() || !Preview1->page()) {
            // A page without its image is never printed as another page's picture.
            out.end(&failure);
            ctx.fm.unload();
            qd::qt::beep();
            qd::qt::msgBox(QStringLiteral("印刷イメージが読めません。\n%1")
                               .arg(QString::fromStdString(qd::files::systemPath(pageImagePath(g, g.PAGE_NO)))),
                           qd::qt::Buttons::Ok, {}, qd::qt::Icon::Critical);
            Form_Unload();
            return;
        }
        out.printPage(*Preview1->page());
        refreshCaption();
        if (FM *f = ctx.fm.ifLoaded())
            f->Text1->setText(fmt(g.PAGE_NO, "###0"));
        if (g.PRN_CANCEL == 9) {
            // Stopped: the page in hand is printed whole and no other follows; both windows close.
            const bool ended = out.end(&failure);
            ctx.fm.unload();
            Form_Unload();
            if (!ended)
                tellFailure(failure);
            else
                tellPdf();
            return;
        }
        ++g.PAGE_NO;
    }
    const bool ended = out.end(&failure);
    ctx.fm.unload();

    // The preview closes and opens again as it first opened (picture fitted, magnification 1.3,
    // nothing scrolled) on the first page printed; the main window takes input again. This
    // window goes when control returns to the event loop: nothing below touches it.
    const std::int16_t first = g.PRN_FROM;
    ctx.prnt.unload();
    ctx.host.setMainEnabled(true);
    PRNT &preview = ctx.prnt.get();
    preview.showPreview();
    g.PAGE_NO = first;
    preview.EMF_PAGE_SHOW();
    preview.Command6->setEnabled(g.PAGE_NO > 1);
    preview.Command2->setEnabled(g.PAGE_NO < g.PAGE_COUNT);
    preview.refreshCaption();
    g.PRN_FROM = g.PRN_TO = 0;
    if (!ended)
        tellFailure(failure);
    else
        tellPdf();
}

bool PRNT::eventFilter(QObject *watched, QEvent *event)
{
    return m_ctx.runGuardedFilter([&] { return formEvent(watched, event); }) || QWidget::eventFilter(watched, event);
}

bool PRNT::formEvent(QObject *watched, QEvent *event)
{
    const QEvent::Type t = event->type();
    if (t == QEvent::FocusIn) {
        if (watched == Command1)
            Command1_GotFocus();
        else if (watched == Text2)
            Text2_GotFocus();
        else if (watched == Text3)
            Text3_GotFocus();
    } else if (t == QEvent::FocusOut) {
        if (watched == Text2)
            Text2_LostFocus();
        else if (watched == Text3)
            Text3_LostFocus();
    } else if (t == QEvent::KeyPress) {
        const int code = qtKeyToCode(static_cast<QKeyEvent *>(event)->key());
        if (watched == Command1 && (code == kKeyPageUp || code == kKeyPageDown)) {
            Command1_KeyDown(code);
            return true;
        }
        if (code == kKeyEnter) {
            if (watched == Text2) { Text2_KeyDown(code); return true; }
            if (watched == Text3) { Text3_KeyDown(code); return true; }
            if (watched == HScroll1) { HScroll1_KeyDown(code); return true; }
            if (watched == VScroll1) { VScroll1_KeyDown(code); return true; }
        }
    } else if (t == QEvent::MouseButtonPress && watched == Image1) {
        Image1_Click();
        return true;
    }
    return false;
}

} // namespace qd::printing
