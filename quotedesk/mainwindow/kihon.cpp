#include "quotedesk/mainwindow/kihon.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

#include "platform/files/paths.h"
#include "platform/qt/forms.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/mainwindow/document_name.h"
#include "quotedesk/mainwindow/form_links.h"
#include "quotedesk/mainwindow/iro_set.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/mainwindow/select_files.h"
#include "quotedesk/mainwindow/syohizei_calc_frm.h"
#include "quotedesk/sheet/sheet_header.h"

namespace qd::forms {

using qd::core::Fixed4;
using qd::grid::FlexGrid;
using qd::text::trim;

namespace {

const std::string TWO_PART = "\n\r\n\r"; // joins the two sentences of a message
const char *const FIVE_DOCUMENTS = "同時に読込可能な数は・・・5ﾌｧｲﾙまでです。";
constexpr int MAX_DOCUMENTS = 5;
const char *const POINTER_FILE = "c:\\tamo\\tamo_dir.SSS";

QString qs(const std::string &s) { return QString::fromStdString(s); }
std::string ss(const QString &s) { return s.toStdString(); }

// The menus that wait for a document.
const char *const DOCUMENT_MENUS[] = {"PRN_000", "SERCH_000", "FILE_WRITE", "ZOKUSEI_MIT",
                                      "ZOKUSEI_000", "KEISAN_000", "GARASU_000"};

// Every record file of the program closed, as at the end of a command.
void closeAllFiles(qd::core::QdState &g)
{
    for (qd::records::RecordFileControl *c :
         {&g.MAKER_CTL, &g.CIHO_CTL, &g.BUNRUI_CTL, &g.IRO_CTL, &g.HISYU1_CTL, &g.HISYU2_CTL, &g.TANKA_CTL,
          &g.TANPIN_CTL, &g.WTANPIN_CTL, &g.TOKF_CTL, &g.SYSF_CTL, &g.DIR_CTL, &g.SYOHIZEI_CTL, &g.HEAD_CTL,
          &g.LINE_CTL, &g.GRID_DISP_NOMAL_CTL, &g.GRID_DISP_SITEI_CTL})
        c->close();
}

} // namespace

// The window's inside: the start screen's band from black at the top to RGB(0, 128, 255) at the
// bottom, drawn in 256 steps of the inside's height, under every control.
class KihonCanvas : public QWidget {
public:
    explicit KihonCanvas(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int h = height();
        for (int y = 0; y < 256; ++y) {
            const int i = y + 1;
            const int green = std::min(255, static_cast<int>(qd::text::roundHalfEven(i / 2.0)));
            const int blue = std::min(255, i);
            const int top = y * h / 256;
            const int bottom = (y + 1) * h / 256;
            p.fillRect(QRect(0, top, width(), std::max(1, bottom - top)), QColor(0, green, blue));
        }
    }
};

namespace {

// The start screen's logo: a two-pane sliding sash in its aluminium frame, drawn for the size
// given.
QPixmap logoPixmap(QSize size)
{
    QPixmap pm(size.expandedTo(QSize(8, 8)));
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The drawing keeps to the upper part of the picture, clear of the title below it on small
    // screens.
    const QRectF box = QRectF(pm.rect()).adjusted(2, 2, -2, -2);
    const double h = box.height() * 0.75;
    const double w = std::min(box.width(), h * 1.6);
    const QRectF frame(box.center().x() - w / 2, box.top(), w, h);
    const double bar = std::max(2.0, w / 18);

    // The outer frame.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 195, 200));
    p.drawRect(frame);
    // Two sashes, the right one on the outer rail overlapping the meeting stile.
    const QRectF inner = frame.adjusted(bar, bar, -bar, -bar);
    const double paneW = inner.width() / 2 + bar / 2;
    const QRectF left(inner.left(), inner.top(), paneW, inner.height());
    const QRectF right(inner.right() - paneW, inner.top(), paneW, inner.height());
    for (const QRectF &sash : {left, right}) {
        p.setPen(QPen(QColor(150, 155, 160), bar));
        QLinearGradient glass(sash.topLeft(), sash.bottomRight());
        glass.setColorAt(0, QColor(225, 240, 250));
        glass.setColorAt(1, QColor(150, 190, 215));
        p.setBrush(glass);
        p.drawRect(sash.adjusted(bar / 2, bar / 2, -bar / 2, -bar / 2));
    }
    // The pull of each sash.
    p.setPen(QPen(QColor(90, 95, 100), std::max(1.0, bar / 2)));
    p.drawLine(QPointF(left.right() - bar * 1.5, inner.center().y() - bar),
               QPointF(left.right() - bar * 1.5, inner.center().y() + bar));
    p.drawLine(QPointF(right.left() + bar * 1.5, inner.center().y() - bar),
               QPointF(right.left() + bar * 1.5, inner.center().y() + bar));
    return pm;
}

} // namespace

KIHON::KIHON(QuotedeskApp &a) : QMainWindow(nullptr), app(a), g(a.g)
{
    setObjectName(QStringLiteral("KIHON"));
    g.ui = this;
    buildControls();
    buildMenus();
    showStartState();
    connectEditingAndCommands();
    hooks.PRN_HAKKOBI_Click = [this] { PRN_HAKKOBI_Click(app); };
    hooks.PRN_PRINT_Click = [this] { PRN_PRINT_Click(app); };
    installEditTool(app);
    hooks.IRO_SET = [this]() -> QWidget * { return &app.forms.get<IRO_SET>(); };
    hooks.SERCH_SELECT_OUT_Click = [this] { SERCH_SELECT_OUT_Click(app); };
    hooks.SERCH_SELECT_IN_Click = [this] { SERCH_SELECT_IN_Click(app); };
    hooks.SSKENSA = [this]() -> QWidget * { return &app.forms.get<SSKENSA>(); }; // product entry
}

KIHON::~KIHON()
{
    disconnectEditing();
    for (FlexGrid &grid : g.Grid1)
        grid.events = {};
    if (g.ui == this)
        g.ui = nullptr;
}

// ---- controls and menus ---------------------------------------------------------------------

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

    connect(Combo2, qOverload<int>(&QComboBox::activated), this, [this](int) { Combo2_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

void KIHON::buildMenus()
{
    m_menus = std::make_unique<qd::qt::MenuTree>(menuBar());
    qd::qt::MenuTree &m = *m_menus;
    auto menu = [&m](const char *name, const char *caption) { m.addMenu({}, QString::fromLatin1(name), QString::fromUtf8(caption)); };
    auto item = [&m](const char *parent, const char *name, const char *caption) {
        m.addItem(QString::fromLatin1(parent), QString::fromLatin1(name), QString::fromUtf8(caption));
    };
    // Separators keep their caption of hyphens (or none) and run no command.
    auto separator = [&m](const char *parent, const char *name, const char *caption) {
        m.addItem(QString::fromLatin1(parent), QString::fromLatin1(name), QString::fromUtf8(caption))->setSeparator(true);
    };
    const char *const line = "---------------";

    menu("FILE_000", "ﾌｧｲﾙ");
    item("FILE_000", "FILE_NEW", "新規");
    item("FILE_000", "FILE_READ", "読込み/削除");
    item("FILE_000", "FILE_WRITE", "保存");

    menu("KEISAN_000", "計算単位");
    item("KEISAN_000", "IRO_SETTEI", "色指定　又は　指定範囲行");
    item("KEISAN_000", "KEISAN_001", "１円（指定範囲行）");
    item("KEISAN_000", "KEISAN_010", "１０円（指定範囲行）");
    item("KEISAN_000", "KEISAN_100", "１００円（指定範囲行）");
    item("KEISAN_000", "KEISAN_1000", "１０００円（指定範囲行）");

    menu("GARASU_000", "寸法の印刷設定");
    item("GARASU_000", "GARASU_MIRI", "（全行）ﾐﾘ寸法を表示");
    item("GARASU_000", "GARASU_SYAKU", "（全行）尺寸法を表示");
    item("GARASU_000", "GARASU_DEL", "（全行）ﾐﾘ寸法を非表示");

    menu("ZOKUSEI_000", "属性");
    item("ZOKUSEI_000", "ZOKUSEI_OWN", "ownmaint");
    item("ZOKUSEI_000", "SYOHIZEI_000", "消費税率の設定");
    item("ZOKUSEI_000", "NOMAL_WIDTH", "全項目の表示");
    item("ZOKUSEI_000", "SITEI_WIDTH", "【指定項目】のみ表示");

    menu("SERCH_000", "検索");
    item("SERCH_000", "INPUT_bukkenmei", "現在の物件名を品名へ読込");
    separator("SERCH_000", "HOJYO_filler99", line);
    item("SERCH_000", "SERCH_SYOHIN", "pricemaint");
    item("SERCH_000", "SERCH_SETHIN", "セット品");
    separator("SERCH_000", "HOJYO_filler96", line);
    item("SERCH_000", "SERCH_SELECT_OUT", "SELECT品登録");
    item("SERCH_000", "SERCH_SELECT_IN", "SELECT品挿入");
    separator("SERCH_000", "HOJYO_filler97", line);
    item("SERCH_000", "SERCH_GARASU", "itemmaint");
    separator("SERCH_000", "HOJYO_filler95", line);
    item("SERCH_000", "HENSYU_MENU_DISP", "編集ﾒﾆｭｰの表示");
    separator("SERCH_000", "HOJYO_filler94", line);
    item("SERCH_000", "all_grid_calc", "全行再計算");

    menu("PRN_000", "印刷");
    item("PRN_000", "ZOKUSEI_PRN", "ﾌﾟﾘﾝﾀｰ設定");
    item("PRN_000", "ZOKUSEI_MIT", "見積情報");
    item("PRN_000", "PRN_HAKKOBI", "発行日の設定");
    item("PRN_000", "PRN_PRINT", "印刷実行");

    menu("HYO_000", "表計算");
    item("HYO_000", "HYO_123", "ロータス１２３");
    item("HYO_000", "HYO_EXCEL", "ＥＸＣＥＬ");

    menu("HOJYO_000", "ファイル補助");
    item("HOJYO_000", "HOJYO_TOKUI", "取引先名情報");
    item("HOJYO_000", "HOJYO_MAKER", "groupmaint");
    item("HOJYO_000", "HOJYO_BUNRUI", "classmaint");
    item("HOJYO_000", "HOJYO_HINSYU1", "kind1maint");
    item("HOJYO_000", "HOJYO_HINSYU2", "kind2maint");
    item("HOJYO_000", "HOJYO_IRO", "colormaint");
    item("HOJYO_000", "HOJYO_CIHO", "sectmaint");
    item("HOJYO_000", "HOJYO_TANKA", "pricemaint");
    item("HOJYO_000", "HOJYO_GARASU", "itemmaint");
    item("HOJYO_000", "HOJYO_SETHIN", "セット品情報");
    separator("HOJYO_000", "HOJYO_filler98", "");
    item("HOJYO_000", "HOJYO_ikkatu_hisyu1", "品種1の率の一括変更");
    item("HOJYO_000", "HOJYO_ikkatu_hisyu2", "品種2の率の一括変更");

    menu("HENKAN_000", "CSVへの相互変換");
    item("HENKAN_000", "HENKAN_010", "groupmaint");
    item("HENKAN_000", "HENKAN_020", "colormaint");
    item("HENKAN_000", "HENKAN_030", "sectmaint");
    item("HENKAN_000", "HENKAN_040", "classmaint");
    item("HENKAN_000", "HENKAN_050", "kind1maint");
    item("HENKAN_000", "HENKAN_060", "kind2maint");
    item("HENKAN_000", "HENKAN_070", "pricemaint");
    item("HENKAN_000", "HENKAN_080", "itemmaint");

    m.addItem({}, QStringLiteral("END_000"), QStringLiteral("終了"));

    m.onClick(QStringLiteral("FILE_NEW"), [this] { FILE_NEW_Click(); });
    m.onClick(QStringLiteral("FILE_READ"), [this] { FILE_READ_Click(); });
    m.onClick(QStringLiteral("FILE_WRITE"), [this] { FILE_WRITE_Click(); });
    m.onClick(QStringLiteral("END_000"), [this] { END_000_Click(); });
    m.onClick(QStringLiteral("SYOHIZEI_000"), [this] { SYOHIZEI_000_Click(); });
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
    // Never available: the spreadsheet menu and the shaku sizes.
    for (const char *name : {"HYO_000", "HYO_123", "GARASU_SYAKU"})
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
    auto scaled = [this](int design) {
        return static_cast<double>(static_cast<float>((Fixed4::fromInt(design) * g.SCREEN_SCALE).toDouble()));
    };
    auto place = [&](QWidget *w, int top, int left, int width, int height) {
        qd::qt::setGeometryTwips(w, scaled(left), scaled(top), scaled(width), scaled(height));
    };
    auto fontSize = [&](QWidget *w, int points) {
        QFont f = w->font();
        f.setPointSizeF(std::max(1.0, scaled(points)));
        w->setFont(f);
    };
    // A combo box keeps the height its font gives it.
    auto placeCombo = [&](QComboBox *c, int top, int left, int width) {
        qd::qt::setGeometryTwips(c, scaled(left), scaled(top), scaled(width), 0);
        c->resize(c->width(), c->sizeHint().height());
    };

    place(Command4, 360, 4420, 370, 320);
    fontSize(Command4, 14);
    placeCombo(Combo2, 370, 120, 4300);
    placeCombo(Combo4, 120, 7680, 3250);
    place(Label3, 120, 120, 4670, 260);
    fontSize(Label3, 8);
    place(Label8, 120, 4920, 1940, 260);
    fontSize(Label8, 8);
    place(Label10, 120, 11040, 1940, 260);
    fontSize(Label10, 8);
    place(Label11, 120, 6960, 730, 540);
    fontSize(Label11, 8);
    place(Text4, 360, 4920, 1935, 300);
    fontSize(Text4, 10);
    place(Text6, 360, 7680, 1820, 300);
    fontSize(Text6, 10);
    place(Text7, 360, 11040, 1935, 300);
    fontSize(Text7, 10);
    // The glass total stands below the product total while it is shown (the start screen).
    place(Label9, 700, 4920, 1940, 260);
    fontSize(Label9, 8);
    place(Text5, 960, 4920, 1935, 300);
    fontSize(Text5, 10);
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
            // A record naming a folder this machine does not have counts as no record.
            if (!folder.empty() && qd::files::dirExists(folder)) {
                g.DIR_REC_NAME = g.DIR_REC.trimmed(ID::DOC_NAME);
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
    g.ISSUE_DATE = ss(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))) + "  ";
    g.ISSUE_DATE_NUM = static_cast<std::int32_t>(qd::text::val(g.ISSUE_DATE));
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
    for (const char *name : DOCUMENT_MENUS)
        m_menus->setEnabled(QString::fromLatin1(name), false);
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

// ---- document slots -------------------------------------------------------------------------

std::string KIHON::comboEntry(const std::string &name, int slot, const std::string &folder)
{
    return trim(name) + std::string(70, ' ') + "#" + qd::text::format(slot, "00") + trim(folder);
}

KIHON::ComboParts KIHON::parseComboEntry(const std::string &entry)
{
    ComboParts parts;
    // The name ends where the 70 blanks before "#" begin, so a "#" in the name does no harm.
    std::size_t hash = entry.find(std::string(70, ' ') + "#");
    hash = hash == std::string::npos ? entry.find('#') : hash + 70;
    if (hash == std::string::npos) {
        parts.name = trim(entry);
        return parts;
    }
    parts.name = trim(entry.substr(0, hash));
    const std::string slot = entry.substr(hash + 1, 2);
    parts.slot = slot.size() == 2 && std::isdigit(static_cast<unsigned char>(slot[0])) &&
                         std::isdigit(static_cast<unsigned char>(slot[1]))
                     ? (slot[0] - '0') * 10 + (slot[1] - '0')
                     : -1;
    parts.folder = hash + 3 <= entry.size() ? entry.substr(hash + 3) : std::string();
    return parts;
}

int KIHON::freeSlot()
{
    Combo3->clear();
    for (int i = 0; i < Combo2->count(); ++i)
        Combo3->addItem(qs(qd::text::format(parseComboEntry(ss(Combo2->itemText(i))).slot, "00")));
    for (int s = 0;; ++s) {
        bool used = false;
        for (int i = 0; i < Combo3->count(); ++i)
            used = used || Combo3->itemText(i).toInt() == s;
        if (!used)
            return s;
    }
}

void KIHON::bringSheetToFront(int slot)
{
    for (int i = 0; i < qd::core::SlotCount; ++i)
        if (i != slot)
            Grid1[static_cast<std::size_t>(i)]->hide();
    if (slot >= 0 && slot < qd::core::SlotCount) {
        Grid1[static_cast<std::size_t>(slot)]->show();
        Grid1[static_cast<std::size_t>(slot)]->raise();
    }
}

void KIHON::placeDocumentWindow()
{
    const qd::qt::ScreenSize s = qd::qt::screen();
    const double sw = std::round(s.widthTwips());
    const double sh = std::round(s.heightTwips());
    auto scaled = [this](int design) { return (Fixed4::fromInt(design) * g.SCREEN_SCALE).toDouble(); };
    setWindowTwips(0, 0, sw, sh);
    qd::qt::setGeometryTwips(Frame1, scaled(120), scaled(600), scaled(13090), scaled(9490));
    double w = scaled(11650), h = scaled(7650);
    if (sw >= 13510 && sh >= 10500) {
        w = sw - 400;
        h = sh - 2000;
    }
    for (int i = 0; i < qd::core::SlotCount; ++i)
        qd::qt::setGeometryTwips(Grid1[static_cast<std::size_t>(i)], scaled(120), scaled(720), w, h);
}

void KIHON::kihon_idx_read()
{
    const int index = Combo2->currentIndex();
    if (index < 0)
        return;
    const ComboParts e = parseComboEntry(trim(ss(Combo2->itemText(index))));
    g.CUR_DOC_NAME = e.name;
    g.HEAD_NAME = e.name;
    g.DOC_DIR = e.folder;
    if (e.slot >= 0 && e.slot < qd::core::SlotCount)
        g.CUR_SLOT = static_cast<std::int16_t>(e.slot);
    bringSheetToFront(g.CUR_SLOT);
}

void KIHON::Combo2_Click()
{
    try {
        FlexGrid &before = g.curGrid();
        before.setRow(0);
        before.setCol(0);
    } catch (const std::exception &) {
    }
    g.CUR_LIST_INDEX = static_cast<std::int16_t>(Combo2->currentIndex());
    kihon_idx_read();
    try {
        qd::core::DOC_HEAD_READ(g);
        if (g.SKIP_BREAKDOWN == 0) {
            FlexGrid &grid = g.curGrid();
            grid.setRedraw(false);
            qd::core::TAX_BREAKDOWN(g);
            grid.setRedraw(true);
        }
    } catch (const std::exception &e) {
        g.curGrid().setRedraw(true);
        beep();
        msgBox("見積ファイルを読み込めません。" + TWO_PART + e.what());
    }
    g.SKIP_BREAKDOWN = 0;
}

// After a new or open command that could not set up its sheet: the entry goes, the slot is
// emptied, and the window returns to the document that was current before (or to the start
// screen, with the attributes menu open so that the common tax rate can be set).
void KIHON::abandonNewSlot(int slot, int previousIndex)
{
    const int added = Combo2->count() - 1;
    if (added >= 0 && parseComboEntry(ss(Combo2->itemText(added))).slot == slot)
        Combo2->removeItem(added);
    FlexGrid &grid = g.Grid1.at(static_cast<std::size_t>(slot));
    grid.clear();
    grid.setRows(2);
    grid.setCols(2);
    grid.setRedraw(true);
    Grid1[static_cast<std::size_t>(slot)]->hide();

    if (Combo2->count() > 0) {
        const int index = previousIndex >= 0 && previousIndex < Combo2->count() ? previousIndex : 0;
        Combo2->setCurrentIndex(index);
        g.SKIP_BREAKDOWN = 1;
        Combo2_Click();
    } else {
        Combo2->setCurrentIndex(-1);
        g.CUR_LIST_INDEX = -1;
        g.CUR_SLOT = 0;
        qd::core::BUKKEN_HEAD_CLEAR(g);
        setWindowTitle(QString::fromUtf8(KIHON_START_CAPTION));
        for (const char *name : DOCUMENT_MENUS)
            m_menus->setEnabled(QString::fromLatin1(name), false);
        // The message names 属性 > 消費税率の設定: that way stays open; the column display
        // sets need a sheet.
        m_menus->setEnabled(QStringLiteral("ZOKUSEI_000"), true);
        m_menus->setEnabled(QStringLiteral("NOMAL_WIDTH"), false);
        m_menus->setEnabled(QStringLiteral("SITEI_WIDTH"), false);
        Frame1->hide();
    }
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
    }
}

void KIHON::FILE_NEW_Click()
{
    if (Combo2->count() >= MAX_DOCUMENTS) {
        beep();
        msgBox(FIVE_DOCUMENTS);
        return;
    }
    const int previousIndex = g.CUR_LIST_INDEX;
    const int slot = freeSlot();
    const std::string answer =
        ss(qd::qt::inputBox(QStringLiteral("物件名を入れてください。"), QStringLiteral("タイトルファイル名"),
                            QStringLiteral("新規")));
    const std::string headName = trim(answer).empty() ? std::string("新規物件") : answer;
    if (!isValidDocumentName(headName)) {
        beep();
        msgBox(invalidDocumentNameMessage());
        return;
    }
    g.CUR_LIST_INDEX = static_cast<std::int16_t>(Combo2->count());
    g.CUR_SLOT = static_cast<std::int16_t>(slot);
    g.HEAD_NAME = headName;
    g.CUR_DOC_NAME = trim(headName);

    try {
        qd::core::BUKKEN_HEAD_CLEAR(g);
        g.HEAD_BUKKEN = g.CUR_DOC_NAME;
        g.SKIP_BREAKDOWN = 1;
        Combo2->addItem(qs(comboEntry(g.CUR_DOC_NAME, g.CUR_SLOT, g.DOC_DIR)));
        Combo2->setCurrentIndex(g.CUR_LIST_INDEX);
        Combo2_Click();

        FlexGrid &grid = g.curGrid();
        bringSheetToFront(slot);
        grid.setRedraw(false);
        grid.setRows(2);
        grid.setCols(2);
        grid.setRow(1);
        grid.setCol(1);

        qd::core::SHEET_INIT(g);
        if (g.TAX_RATE == Fixed4()) { // no common tax rate: the sheet cannot be used
            abandonNewSlot(slot, previousIndex);
            return;
        }
        g.DISP_MODE = 1;
        qd::sheet::GRID_DISP_SITEI_SET(g, *this);
        placeDocumentWindow();
        app.editTool().setStoreWidthsEnabled(true);

        qd::core::TAX_TOTAL_CALC(g);
        qd::core::SHEET_INIT(g);
        grid.setRedraw(false);
        qd::core::GRID_PAGE_NUMBER(g);
        grid.setRow(1);
        grid.setCol(1);
        grid.setRedraw(true);
        documentShown();
    } catch (const std::exception &e) {
        beep();
        msgBox("新しい見積を作れませんでした。" + TWO_PART + e.what());
        abandonNewSlot(slot, previousIndex);
    }
}

void KIHON::documentShown()
{
    m_menus->setEnabled(QStringLiteral("NOMAL_WIDTH"), true);
    m_menus->setEnabled(QStringLiteral("SITEI_WIDTH"), true);
    bringSheetToFront(g.CUR_SLOT);
    show();
    currentGridView().setFocus();
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
    }
}

void KIHON::FILE_READ_Click()
{
    const bool startUp = !trim(g.DIR_REC_NAME).empty();
    if (startUp) {
        openDocumentInSlot(g.CUR_SLOT, g.CUR_DOC_NAME, g.DOC_DIR, true);
        return;
    }

    auto endQuietly = [this] {
        try {
            qd::files::changeDir(qd::records::instDir(g));
        } catch (const std::exception &) {
        }
    };
    const std::string folder = qd::records::instDir(g) + "\\data\\TXT";
    if (!qd::files::dirExists(folder)) {
        beep();
        msgBox("見積データのフォルダがありません。" + TWO_PART + folder);
        return;
    }
    try {
        qd::files::changeDir(folder);
    } catch (const std::exception &) {
        endQuietly();
        return;
    }
    qd::qt::FileDialogRequest request;
    request.flags = 2;
    request.filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
    request.fileName = QStringLiteral("*.TXT");
    request.cancelError = true;
    request.initDir = qs(folder);
    const qd::qt::FileDialogResult chosen = qd::qt::showOpen(request);
    if (chosen.cancelled) {
        endQuietly();
        return;
    }
    if (Combo2->count() >= MAX_DOCUMENTS) {
        beep();
        msgBox(FIVE_DOCUMENTS);
        endQuietly();
        return;
    }
    const int slot = freeSlot();
    const QString title = chosen.fileTitle.trimmed();
    const QString fileName = chosen.fileName.trimmed();
    if (title.size() < 4 || fileName.size() < title.size() + 1) {
        endQuietly();
        return;
    }
    const std::string name = ss(title.left(title.size() - 4));
    const std::string docFolder = ss(fileName.left(fileName.size() - title.size() - 1));
    openDocumentInSlot(slot, name, docFolder, false);
    endQuietly();
}

bool KIHON::openDocumentInSlot(int slot, const std::string &name, const std::string &folder, bool startUp)
{
    for (int i = 0; i < Combo2->count(); ++i)
        if (parseComboEntry(ss(Combo2->itemText(i))).name == trim(name)) {
            beep();
            msgBox("既に読込中です。");
            return false;
        }
    if (Combo2->count() >= MAX_DOCUMENTS) {
        beep();
        msgBox(FIVE_DOCUMENTS);
        return false;
    }
    const int previousIndex = g.CUR_LIST_INDEX;
    g.CUR_LIST_INDEX = static_cast<std::int16_t>(Combo2->count());
    g.CUR_SLOT = static_cast<std::int16_t>(slot);
    g.CUR_DOC_NAME = name;
    g.DOC_DIR = folder;

    try {
        g.SKIP_BREAKDOWN = 1;
        Combo2->addItem(qs(comboEntry(g.CUR_DOC_NAME, g.CUR_SLOT, g.DOC_DIR)));
        Combo2->setCurrentIndex(g.CUR_LIST_INDEX);
        Combo2_Click();

        FlexGrid &grid = g.curGrid();
        grid.setRedraw(false);
        qd::core::LINE_REC_CLEAR(g);
        grid.setRow(std::min(1, grid.rows() - 1));
        grid.setCol(std::min(1, grid.cols() - 1));
        g.ROW_NO = 1;
        g.COL_NO = 1;
        qd::core::SHEET_INIT(g);
        if (g.TAX_RATE == Fixed4()) { // no common tax rate: the sheet cannot be used
            abandonNewSlot(slot, previousIndex);
            return false;
        }
        g.DISP_MODE = 1;
        qd::sheet::GRID_DISP_SITEI_SET(g, *this);
        placeDocumentWindow();

        // A document that cannot be read whole is not kept open, so that no save can put
        // an empty sheet over its files.
        if (!qd::core::BUKKEN_FILE_READ(g) || g.TAX_RATE == Fixed4()) {
            abandonNewSlot(slot, previousIndex);
            return false;
        }

        if (startUp) {
            // The folder-pointer record hands over one document at one start only.
            g.DIR_REC_NAME = std::string(128, ' ');
            g.DIR_REC_PATH = std::string(512, ' ');
            try {
                qd::records::DIR_FILE_OPEN(g);
                g.DIR_CTL.close();
                qd::files::removeFile(POINTER_FILE);
            } catch (const std::exception &) {
                g.DIR_CTL.close();
            }
        }

        grid.setRedraw(false);
        qd::core::GRID_PAGE_NUMBER(g);
        grid.setRow(1);
        grid.setCol(1);
        grid.setRedraw(true);
        documentShown();
        return true;
    } catch (const std::exception &e) {
        beep();
        msgBox("見積ファイルを読み込めません。" + TWO_PART + e.what());
        abandonNewSlot(slot, previousIndex);
        return false;
    }
}

void KIHON::FILE_WRITE_Click()
{
    if (Combo2->count() == 0)
        return;
    qd::core::SaveDialogSetup setup;
    try {
        if (!qd::core::FILE_WRITE_PREPARE(g, setup))
            return;
    } catch (const std::exception &) {
        qd::core::FILE_WRITE_END(g);
        return;
    }
    qd::qt::FileDialogRequest request;
    request.flags = setup.flags;
    request.filter = qs(setup.filter);
    request.fileName = qs(setup.fileName);
    request.cancelError = true;
    request.initDir = qs(setup.initDir);
    const qd::qt::FileDialogResult chosen = qd::qt::showSave(request);
    if (chosen.cancelled) {
        qd::core::FILE_WRITE_END(g);
        currentGridView().setFocus();
        return;
    }
    if (qd::core::BUKKEN_FILE_WRITE(g, ss(chosen.fileName), ss(chosen.fileTitle))) {
        // The list shows the document under the name and folder it now has.
        if (g.CUR_LIST_INDEX >= 0 && g.CUR_LIST_INDEX < Combo2->count())
            Combo2->setItemText(g.CUR_LIST_INDEX, qs(comboEntry(g.CUR_DOC_NAME, g.CUR_SLOT, g.DOC_DIR)));
    }
    currentGridView().setFocus();
}

void KIHON::Command4_Click()
{
    if (Combo2->count() == 0 || g.CUR_LIST_INDEX < 0 || g.CUR_LIST_INDEX >= Combo2->count())
        return;
    beep();
    const int answer = msgBox("※警告※--->保存せずに解放すると、無くなる場合があります。" + TWO_PART +
                                  "このﾌｧｲﾙを解放しますか？ ",
                              qd::core::vbYesNo);
    if (answer != qd::core::vbYes)
        return;
    g.curGrid().clear();
    Grid1[static_cast<std::size_t>(g.CUR_SLOT)]->hide();
    Combo2->removeItem(g.CUR_LIST_INDEX);
    if (Combo2->count() > 0) {
        Combo2->setCurrentIndex(0);
        Combo2_Click();
        const int first = parseComboEntry(ss(Combo2->itemText(0))).slot;
        if (first >= 0 && first < qd::core::SlotCount)
            g.CUR_SLOT = static_cast<std::int16_t>(first);
        bringSheetToFront(g.CUR_SLOT);
        return;
    }
    // The last document is gone: the window starts afresh.
    closeAllFiles(g);
    showStartState();
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
    }
    Form_Load();
}

void KIHON::END_000_Click()
{
    if (Combo2->count() > 0) {
        beep();
        const int answer = msgBox("※警告※--->保存せずに終了すると、編集内容が無くなる場合があります。" + TWO_PART +
                                      "終了しますか？ ",
                                  qd::core::vbYesNo);
        if (answer != qd::core::vbYes)
            return;
    }
    closeAllFiles(g);
    app.unloadEditTool();
    hide();
    if (app.endProgram)
        app.endProgram();
}

void KIHON::SYOHIZEI_000_Click()
{
    syohizei_calc_frm &form = app.forms.get<syohizei_calc_frm>();
    qd::qt::showModeless(&form);
    g.LINE_TAX_RATE = Fixed4();
}

// ---- CoreUi ---------------------------------------------------------------------------------

void KIHON::beep() { qd::qt::beep(); }

int KIHON::msgBox(const std::string &text, int buttons)
{
    const qd::qt::Buttons b = buttons == qd::core::vbYesNo     ? qd::qt::Buttons::YesNo
                              : buttons == qd::core::vbOKCancel ? qd::qt::Buttons::OkCancel
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

void KIHON::comboClear(const std::string &name)
{
    if (auto *c = qobject_cast<QComboBox *>(controlByName(name)))
        c->clear();
}

void KIHON::comboAddItem(const std::string &name, const std::string &text)
{
    if (auto *c = qobject_cast<QComboBox *>(controlByName(name)))
        c->addItem(qs(text));
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
