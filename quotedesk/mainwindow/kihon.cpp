// The main window itself: its controls, its size and layout in twips, start-up and shut-down,
// and what the core procedures and the sheet display ask of it (CoreUi, DisplayUi).
#include "quotedesk/mainwindow/kihon.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>
#include <cmath>

#include "platform/files/paths.h"
#include "platform/qt/command_guard.h"
#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/core/document_name.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/entry/ssset.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/mainwindow/iro_set.h"
#include "quotedesk/mainwindow/kihon_start_screen.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/mainwindow/select_files.h"
#include "quotedesk/sheet/sheet_face.h"
#include "quotedesk/sheet/sheet_header.h"

namespace qd::forms {

using qd::core::Fixed4;
using qd::qt::qs;
using qd::text::trim;

KIHON::KIHON(QuotedeskApp &a) : QMainWindow(nullptr), app(a), g(a.g)
{
    setObjectName(QStringLiteral("KIHON"));
    g.ui = this;
    buildControls();
    buildMenus();
    showStartState();
    connectEditing();
    hooks.PRN_HAKKOBI_Click = [this] { PRN_HAKKOBI_Click(app); };
    hooks.PRN_PRINT_Click = [this] { PRN_PRINT_Click(app); };
    installEditTool(app);
    hooks.IRO_SET = [this]() -> QWidget * { return &app.forms.get<IRO_SET>(); };
    hooks.IRO_SET_SHOWN = [this] {
        if (IRO_SET *form = app.forms.ifLoaded<IRO_SET>())
            form->formShown();
    };
    hooks.SERCH_SELECT_OUT_Click = [this] { SERCH_SELECT_OUT_Click(app); };
    hooks.SERCH_SELECT_IN_Click = [this] { SERCH_SELECT_IN_Click(app); };
    hooks.SSKENSA = [this]() -> QWidget * { return &app.forms.get<SSKENSA>(); }; // product entry
    hooks.SSSET = [this]() -> QWidget * { return &app.forms.get<SSSET>(); };
    hooks.SSGARASUFM = [this]() -> QWidget * { return &app.forms.get<SSGARASUFM>(); };
}

KIHON::~KIHON()
{
    disconnectEditing();
    for (qd::grid::FlexGrid &grid : g.Grid1)
        grid.events = {};
    if (g.ui == this)
        g.ui = nullptr;
}

// ---- controls -------------------------------------------------------------------------------

std::function<void()> KIHON::guarded(std::function<void()> command)
{
    return qd::qt::guarded(std::move(command), qd::core::failedCommandRecovery(g));
}

void KIHON::buildControls()
{
    m_canvas = new KihonCanvas(this);
    setCentralWidget(m_canvas);

    auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, m_canvas);
        l->setObjectName(QString::fromLatin1(name));
        l->setAutoFillBackground(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    };
    auto textBox = [this](const char *name) {
        auto *t = new QLineEdit(m_canvas);
        t->setObjectName(QString::fromLatin1(name));
        t->setReadOnly(true);
        t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        t->setFocusPolicy(Qt::ClickFocus);
        return t;
    };
    auto combo = [this](const char *name) {
        auto *c = new QComboBox(m_canvas);
        c->setObjectName(QString::fromLatin1(name));
        return c;
    };

    // Start-screen items lie under the sheet frame.
    Image1 = new QLabel(m_canvas);
    Image1->setObjectName(QStringLiteral("Image1"));
    Label2 = new QLabel(m_canvas);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(QStringLiteral("見積書・納品書・請求書　quotedesk"), m_canvas);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    {
        QPalette pal = Label1->palette();
        pal.setColor(QPalette::WindowText, Qt::white);
        Label1->setPalette(pal);
    }

    Frame1 = new QFrame(m_canvas);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::NoFrame);
    Frame1->setAutoFillBackground(true);
    Frame1->hide();
    for (std::size_t i = 0; i < Grid1.size(); ++i) {
        Grid1[i] = new qd::qt::GridView(g.Grid1[i], Frame1);
        Grid1[i]->setObjectName(QStringLiteral("Grid1_%1").arg(i));
        Grid1[i]->hide();
    }
    Text1 = new QLineEdit(Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->hide();

    Label3 = label("Label3", QStringLiteral("<<<   表示物件の指定   >>>"));
    Label3->setAlignment(Qt::AlignCenter);
    Label8 = label("Label8", QStringLiteral("製品合計金額"));
    Label9 = label("Label9", QStringLiteral("ガラス合計金額"));
    Label10 = label("Label10", QStringLiteral("総合計(見積書)"));
    Label11 = label("Label11", QStringLiteral("消費税額"));
    Label11->setWordWrap(true);
    Combo2 = combo("Combo2");
    Combo3 = combo("Combo3");
    Combo3->hide();
    Combo4 = combo("Combo4");
    Combo5 = combo("Combo5");
    Combo5->hide();
    Command4 = new QPushButton(QStringLiteral("×"), m_canvas);
    Command4->setObjectName(QStringLiteral("Command4"));
    Text4 = textBox("Text4");
    Text5 = textBox("Text5");
    Text6 = textBox("Text6");
    Text7 = textBox("Text7");

    connect(Combo2, qOverload<int>(&QComboBox::activated), this, guarded([this] { Combo2_Click(); }));
    connect(Command4, &QPushButton::clicked, this, guarded([this] { Command4_Click(); }));
}


void KIHON::showStartState()
{
    // What the window holds when it has just been loaded.
    setWindowTitle(QString::fromUtf8(KIHON_START_CAPTION));
    qd::qt::MenuTree &m = *m_menus;
    for (const QString &name : m.names()) {
        m.setEnabled(name, true);
        m.setVisible(name, true);
    }
    // Never available: the spreadsheet menu, whose entries start nothing, and the shaku sizes.
    for (const char *name : {"HYO_000", "HYO_123", "HYO_EXCEL", "GARASU_SYAKU"})
        m.setEnabled(QString::fromLatin1(name), false);

    Label10->setText(QStringLiteral("総合計(見積書)"));
    QPalette pal = Label10->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label10->setPalette(pal);
    Label11->setText(QStringLiteral("消費税額"));
    for (QComboBox *c : {Combo2, Combo3, Combo4, Combo5})
        c->clear();
    for (QLineEdit *t : {Text1, Text4, Text5, Text6, Text7})
        t->clear();
    Label9->show();
    Text5->show();
    Text1->hide();
    for (qd::qt::GridView *v : Grid1)
        v->hide();
    Frame1->hide();
}

QWidget *KIHON::controlByName(const std::string &name) const
{
    QWidget *const controls[] = {Frame1, Combo2, Combo3, Combo4, Combo5, Label1, Label2, Label3, Label8,
                                 Label9, Label10, Label11, Image1, Command4, Text1, Text4, Text5, Text6, Text7};
    for (QWidget *w : controls)
        if (w->objectName() == QString::fromStdString(name))
            return w;
    return nullptr;
}

// ---- window size in twips -------------------------------------------------------------------

int KIHON::widthTwips() const { return static_cast<int>(std::lround(m_widthTwips)); }
int KIHON::heightTwips() const { return static_cast<int>(std::lround(m_heightTwips)); }

void KIHON::setWindowTwips(double left, double top, double width, double height)
{
    const qd::qt::ScreenSize s = qd::qt::screen();
    // Width and Height are the outer size; the window system adds its frame around the inside.
    const QSize extra = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    m_widthTwips = width;
    m_heightTwips = height;
    resize(std::max(1, qd::qt::twipsToPixelsAt(width, s.dpiX) - extra.width()),
           std::max(1, qd::qt::twipsToPixelsAt(height, s.dpiY) - extra.height()));
    move(s.originX + qd::qt::twipsToPixelsAt(left, s.dpiX), s.originY + qd::qt::twipsToPixelsAt(top, s.dpiY));
}

// ---- start-up -------------------------------------------------------------------------------

void KIHON::KIHON_FIT_SCREEN()
{
    setWindowTwips(0, 0, 13530, 10530);
    const qd::qt::ScreenSize s = qd::qt::screen();
    const double sw = std::round(s.widthTwips());
    const double sh = std::round(s.heightTwips());
    const float windowRatio = static_cast<float>(widthTwips()) / static_cast<float>(heightTwips());
    const float screenRatio = static_cast<float>(sw / sh);
    const double scale = screenRatio > windowRatio ? sh / heightTwips() : sw / widthTwips();
    g.SCREEN_SCALE = Fixed4::fromDouble(scale);
    KIHON_LAYOUT();
    setWindowTwips((sw - widthTwips()) / 2, (sh - heightTwips()) / 2, m_widthTwips, m_heightTwips);
}

void KIHON::KIHON_LAYOUT()
{
    qd::qt::doEvents();
    auto scaled = [this](int twips) {
        return static_cast<double>(static_cast<float>((Fixed4::fromInt(twips) * g.SCREEN_SCALE).toDouble()));
    };
    // A combo box keeps the height its font gives it.
    auto placeCombo = [&](QComboBox *c, int top, int left, int width) {
        qd::qt::setGeometryTwips(c, scaled(left), scaled(top), scaled(width), 0);
        c->resize(c->width(), c->sizeHint().height());
    };
    placeCombo(Combo2, 370, 120, 4300);
    placeCombo(Combo4, 120, 7680, 3250);
    fitTaxBreakdown();

    // Place and font size of the captions and boxes of the top bar, at a screen scale of 1.
    struct Placement {
        QWidget *control;
        int top, left, width, height, points;
    };
    const Placement placements[] = {
        {Command4, 360, 4420, 370, 320, 14},
        {Label3, 120, 120, 4670, 260, 8},
        {Label8, 120, 4920, 1940, 260, 8},
        {Label10, 120, 11040, 1940, 260, 8},
        {Label11, 120, 6960, 730, 540, 8},
        {Text4, 360, 4920, 1935, 300, 10},
        {Text6, 360, 7680, 1820, 300, 10},
        {Text7, 360, 11040, 1935, 300, 10},
        // The glass total stands below the product total while it is shown (the start screen).
        {Label9, 700, 4920, 1940, 260, 8},
        {Text5, 960, 4920, 1935, 300, 10},
    };
    for (const Placement &p : placements) {
        qd::qt::setGeometryTwips(p.control, scaled(p.left), scaled(p.top), scaled(p.width), scaled(p.height));
        QFont f = p.control->font();
        f.setPointSizeF(std::max(1.0, scaled(p.points)));
        p.control->setFont(f);
    }
}

void KIHON::readFolderPointer()
{
    g.DIR_REC_NAME = std::string(128, ' ');
    g.DIR_REC_PATH = trim(qd::files::systemPath(qd::files::currentDir()));
    g.INST_DIR = g.DIR_REC_PATH;
    try {
        qd::records::DIR_FILE_OPEN(g);
        if (g.DIR_CTL.recordCount == 1) {
            namespace ID = qd::records::InstallDir;
            for (int f : {ID::DOC_NAME, ID::INSTALL_DIR, ID::FILLER, ID::END_1, ID::END_2})
                g.DIR_REC.blank(f);
            g.DIR_CTL.get(1, g.DIR_REC);
            const std::string folder = g.DIR_REC.trimmed(ID::INSTALL_DIR);
            const std::string name = g.DIR_REC.trimmed(ID::DOC_NAME);
            // A record naming a folder this machine does not have counts as no record; so does
            // one whose document name is no plain file name (it could reach outside the folder).
            const bool plainName = name.empty() || qd::core::isValidDocumentName(name);
            if (plainName && !folder.empty() && qd::files::dirExists(folder)) {
                g.DIR_REC_NAME = name;
                g.DIR_REC_PATH = folder;
                g.INST_DIR = g.DIR_REC_PATH;
            }
        }
    } catch (const std::exception &) {
        // The start goes on from the current folder.
    }
    g.DIR_CTL.close();
    g.CUR_DOC_NAME = trim(g.DIR_REC_NAME);
    g.DOC_DIR = trim(g.DIR_REC_PATH) + "\\data\\txt";
}

void KIHON::startValues()
{
    g.FONT_BASE = Fixed4::fromInt(12);
    // The sheets' widths and heights are as stored at the base font size and follow the zoom.
    for (qd::qt::GridView *v : Grid1)
        qd::sheet::setSheetFace(*v, g.FONT_BASE.toDouble());
    g.CUR_LIST_INDEX = -1;
    g.PRN_SCALE_X = Fixed4::fromInt(100);
    g.PRN_SCALE_Y = Fixed4::fromInt(100);
    g.PRN_OFS_X = Fixed4();
    g.PRN_OFS_Y = Fixed4();
    g.PAGE_W = Fixed4::fromInt(257);
    g.PAGE_H = Fixed4::fromInt(182);
    m_canvas->update(); // the start screen's band

    g.DOC_KIND = 0;
    g.PRN_OPTION = 1;
    g.COLOR_PICK_GROUP = "00";
    g.COLOR_PICK_CODE = "00";
    g.COLOR_PICK_NAME = std::string(20, ' ');
    g.FIXED_COLS = 1;
    g.TAX_PRINT = 1;
    g.ISSUE_DATE = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString() + "  ";
    g.ISSUE_DATE_NUM = qd::text::valFixed(g.ISSUE_DATE);
    g.LINE_TAX_RATE = Fixed4();
    g.CALC_UNIT = 1;
    g.CALC_ADJ = 0;
    g.SIZE_MODE = 1;
    g.EDIT_VALUE = std::string(100, ' ');
}

void KIHON::startScreenLayout()
{
    const double w = m_widthTwips;
    const double h = m_heightTwips;
    qd::qt::setGeometryTwips(Image1, (w - 1200) / 2, h / 5 * 2, 1200, 1000);
    Image1->setPixmap(logoPixmap(Image1->size()));
    const double label2Width = 3375;
    qd::qt::setGeometryTwips(Label1, (w - label2Width) / 2.15, h / 5 * 2.35, 5000, 375);
    qd::qt::setGeometryTwips(Label2, (w - label2Width) / 2, h / 5 * 1.88, label2Width, 375);
    QFont f = Label1->font();
    f.setBold(true);
    f.setPixelSize(std::max(8, Label1->height() * 2 / 3));
    Label1->setFont(f);
}

void KIHON::Form_Load()
{
    KIHON_FIT_SCREEN();
    // From here on a failing step is skipped and the next one runs.
    try {
        qd::files::makeDir("c:\\tamo");
    } catch (const std::exception &) {
    }
    readFolderPointer();
    startValues();
    try {
        app.editTool().setValueText(qs(trim(g.EDIT_VALUE)));
    } catch (const std::exception &) {
    }
    const qd::qt::ScreenSize s = qd::qt::screen();
    setWindowTwips(0, 0, std::round(s.widthTwips()), std::round(s.heightTwips()));
    setDocumentMenusEnabled(false);
    startScreenLayout();
    show();
    if (!trim(g.DIR_REC_NAME).empty()) {
        FILE_READ_Click();
        // The record's document is opened at start only: a later 読込み/削除 shows the dialog,
        // also when that document could not be opened (its record stays for the next start).
        g.DIR_REC_NAME = std::string(128, ' ');
    }
}

void KIHON::Form_Unload(bool &cancel)
{
    cancel = Combo2->count() >= 1;
}

void KIHON::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    event->accept();
    if (app.endProgram)
        app.endProgram();
}

void KIHON::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // A size the user gives the window becomes its Width and Height.
    const qd::qt::ScreenSize s = qd::qt::screen();
    const QSize outer = frameGeometry().size().expandedTo(size());
    if (qd::qt::twipsToPixelsAt(m_widthTwips, s.dpiX) != outer.width())
        m_widthTwips = qd::qt::pixelsToTwipsAt(outer.width(), s.dpiX);
    if (qd::qt::twipsToPixelsAt(m_heightTwips, s.dpiY) != outer.height())
        m_heightTwips = qd::qt::pixelsToTwipsAt(outer.height(), s.dpiY);
}

// ---- CoreUi ---------------------------------------------------------------------------------

void KIHON::beep() { qd::qt::beep(); }

int KIHON::msgBox(const std::string &text, int buttons)
{
    const qd::qt::Buttons b = buttons == qd::core::Buttons::YesNo      ? qd::qt::Buttons::YesNo
                              : buttons == qd::core::Buttons::OkCancel ? qd::qt::Buttons::OkCancel
                                                                       : qd::qt::Buttons::Ok;
    g.MSG_ANS = qd::qt::msgBox(qs(text), b);
    return g.MSG_ANS;
}

void KIHON::setMenuEnabled(const std::string &name, bool enabled)
{
    m_menus->setEnabled(qs(name), enabled);
}

void KIHON::setControlText(const std::string &name, const std::string &text)
{
    QWidget *w = controlByName(name);
    if (auto *l = qobject_cast<QLineEdit *>(w))
        l->setText(qs(text));
    else if (auto *label = qobject_cast<QLabel *>(w))
        label->setText(qs(text));
    else if (auto *c = qobject_cast<QComboBox *>(w))
        c->setEditText(qs(text));
}

void KIHON::setControlMarked(const std::string &name, bool marked)
{
    QWidget *w = controlByName(name);
    if (!w)
        return;
    QPalette pal = w->palette();
    const QColor beyond(QRgb(static_cast<unsigned>(qd::core::BEYOND_FIELD_COLOR)));
    pal.setColor(QPalette::Base, marked ? beyond : QApplication::palette(w).color(QPalette::Base));
    w->setPalette(pal);
}

void KIHON::comboClear(const std::string &name)
{
    if (auto *c = qobject_cast<QComboBox *>(controlByName(name)))
        c->clear();
}

void KIHON::comboAddItem(const std::string &name, const std::string &text)
{
    if (auto *c = qobject_cast<QComboBox *>(controlByName(name))) {
        c->addItem(qs(text));
        if (c == Combo4)
            fitTaxBreakdown();
    }
}

void KIHON::fitTaxBreakdown()
{
    // A breakdown line names the rate, the base and the tax: the box shows the line whole, in a
    // smaller size where the box is narrower than the line, and its list is as wide as the
    // widest line.
    QStyleOptionComboBox option;
    option.initFrom(Combo4);
    const int room = Combo4->style()
                         ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, Combo4)
                         .width() - 4;
    auto widest = [this](const QFont &f) {
        const QFontMetrics m(f);
        int w = 0;
        for (int i = 0; i < Combo4->count(); ++i)
            w = std::max(w, m.horizontalAdvance(Combo4->itemText(i)));
        return w;
    };
    QFont f = font();
    const double full = f.pointSizeF() > 0 ? f.pointSizeF() : 9.0;
    for (double points = full; points >= 5.0; points -= 0.25) {
        f.setPointSizeF(points);
        if (widest(f) <= room)
            break;
    }
    Combo4->setFont(f);
    Combo4->view()->setMinimumWidth(widest(f) + Combo4->view()->verticalScrollBar()->sizeHint().width() + 8);
}

void KIHON::setMousePointer(int pointer)
{
    if (pointer == 11 && !m_hourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_hourglass = true;
    } else if (pointer == 0 && m_hourglass) {
        QApplication::restoreOverrideCursor();
        m_hourglass = false;
    }
}

void KIHON::showSheetFrame(int top, int left, int height, int width)
{
    qd::qt::setGeometryTwips(Frame1, left, top, width, height);
    Frame1->show();
    // The captions and boxes of the top bar stay in front of the sheets.
    Frame1->raise();
    for (QWidget *w : std::initializer_list<QWidget *>{Label3, Label8, Label9, Label10, Label11, Combo2, Command4,
                                                      Combo4, Text4, Text5, Text6, Text7})
        w->raise();
}

void KIHON::setEditAxisOption(bool rows) { app.editTool().setRowsOption(rows); }

void KIHON::KIHON_CAPTION_SET()
{
    if (const auto caption = qd::sheet::composeKihonCaption(g))
        setWindowTitle(qs(*caption));
}

void KIHON::GRID_HEADER_SET() { qd::sheet::GRID_HEADER_SET(g); }

// ---- DisplayUi ------------------------------------------------------------------------------

void KIHON::setMenuVisible(const std::string &name, bool visible) { m_menus->setVisible(qs(name), visible); }

void KIHON::setControlVisible(const std::string &name, bool visible)
{
    if (QWidget *w = controlByName(name))
        w->setVisible(visible);
}

void KIHON::setStoreWidthsEnabled(bool enabled) { app.editTool().setStoreWidthsEnabled(enabled); }

} // namespace qd::forms
