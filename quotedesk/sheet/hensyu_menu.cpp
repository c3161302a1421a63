#include "quotedesk/sheet/hensyu_menu.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <map>

#include "platform/qt/command_guard.h"
#include "platform/qt/focus_selection.h"
#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/sheet/block_commands.h"
#include "quotedesk/sheet/row_commands.h"
#include "quotedesk/sheet/view_commands.h"

namespace qd::forms {

using qd::qt::qs;
using qd::qt::ss;
using qd::text::trim;

namespace {

const QString FONT_FAMILY = QStringLiteral("ＭＳ Ｐゴシック");
constexpr int EDIT_VALUE_LENGTH = 100;

QFont formFont(double points, bool bold)
{
    QFont f(FONT_FAMILY);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Lines and size of each button's hint, in twips.
const std::map<QString, EditToolHint> &hintTable()
{
    static const std::map<QString, EditToolHint> table = {
        {"Command8", {{"指定行数を挿入"}, 1680, 220}},
        {"Command7", {{"指定行数を削除"}, 1680, 220}},
        {"Command10", {{"行・列の指定範囲を複写"}, 2730, 220}},
        {"Command9", {{"複写した範囲を指定場所へ貼付"}, 2940, 220}},
        {"Command2", {{"boxへ設定した値を", "指定のｾﾙ範囲に貼付"}, 2100, 440}},
        {"Command11", {{"品名の列表示を", "固定化します"}, 1680, 440}},
        {"Command15",
         {{"指定行範囲を【X】として、まとめます", "まとめ行の下に金額合計行を作成し", "まとめ行は印刷・合計されません"},
          3360, 660}},
        {"Command16", {{"指定範囲のまとめ行を解除します", "まとめ行の下の合計行を削除必要です"}, 3570, 440}},
        {"Command17", {{"指定行を単品として登録します"}, 2940, 220}},
        {"Command19", {{"文字ｻｲｽﾞ拡大"}, 1470, 220}},
        {"Command18", {{"文字ｻｲｽﾞ縮小"}, 1470, 220}},
        {"Command3", {{"このｼｰﾄの現在表示の", "行高・列巾を記録"}, 2310, 440}},
        {"Command23", {{"行高/列巾 拡大"}, 1680, 220}},
        {"Command22", {{"行高/列巾 縮小"}, 1680, 220}},
    };
    return table;
}

} // namespace

HENSYU_MENU::HENSYU_MENU(qd::core::QdState &state, QWidget *owner, std::unique_ptr<qd::sheet::EditCommandUi> ui)
    : QWidget(nullptr), g(state), m_owner(owner), m_ui(std::move(ui))
{
    setObjectName(QStringLiteral("HENSYU_MENU"));
    setWindowTitle(QStringLiteral("==== 編集ﾒﾆｭｰ ===="));
    buildControls();
    Form_Load();
}

HENSYU_MENU::~HENSYU_MENU() = default;

qd::sheet::EditCommandUi &HENSYU_MENU::ui() { return *m_ui; }

void HENSYU_MENU::buildControls()
{
    qd::qt::resizeTwips(this, 6570, 1510);
    setMouseTracking(true);

    auto frame = [](QWidget *parent, const char *name, const QString &caption, double l, double t, double w, double h) {
        auto *f = new QGroupBox(caption, parent);
        f->setObjectName(QString::fromLatin1(name));
        f->setFont(formFont(8, false));
        qd::qt::setGeometryTwips(f, l, t, w, h);
        return f;
    };
    auto button = [this](QWidget *parent, const char *name, const QString &caption, double l, double t, double w,
                         double h, double points, bool bold) {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(formFont(points, bold));
        b->setAutoDefault(true); // Enter on a focused button clicks it
        b->setStyleSheet(QStringLiteral("QPushButton { background-color: rgb(192, 255, 255); border: 1px solid "
                                        "rgb(96, 128, 128); padding: 0px; }"
                                        "QPushButton:pressed { background-color: rgb(150, 220, 220); }"
                                        "QPushButton:disabled { color: rgb(140, 140, 140); }"));
        b->setMouseTracking(true);
        b->installEventFilter(this);
        qd::qt::setGeometryTwips(b, l, t, w, h);
        return b;
    };

    Frame3 = frame(this, "Frame3", QStringLiteral("行・列の操作【列全体の指定は不可】"), 120, 120, 6370, 610);
    Command8 = button(Frame3, "Command8", QStringLiteral("挿"), 360, 240, 300, 300, 10, true);
    Command7 = button(Frame3, "Command7", QStringLiteral("削"), 840, 240, 300, 300, 10, true);
    Command10 = button(Frame3, "Command10", QStringLiteral("写"), 1560, 240, 300, 300, 10, true);
    Command9 = button(Frame3, "Command9", QStringLiteral("貼"), 2040, 240, 300, 300, 10, true);
    Command2 = button(Frame3, "Command2", QStringLiteral("値"), 2950, 240, 300, 300, 10, true);
    Text3 = new QLineEdit(Frame3);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setFont(formFont(10, true));
    Text3->installEventFilter(this);
    qd::qt::keepSelectionOnFocusClick(Text3); // a click into the value box leaves the value selected
    qd::qt::setGeometryTwips(Text3, 3240, 240, 2770, 300);
    Command11 = button(Frame3, "Command11", QStringLiteral("固"), 6000, 240, 300, 300, 10, true);

    Frame4 = frame(this, "Frame4", QStringLiteral("文字ｻｲｽﾞ・ 巾記憶"), 120, 840, 1450, 610);
    Command19 = button(Frame4, "Command19", QStringLiteral("＋"), 120, 240, 300, 300, 12, false);
    Command18 = button(Frame4, "Command18", QStringLiteral("ー"), 430, 240, 300, 300, 12, false);
    Command3 = button(Frame4, "Command3", QStringLiteral("巾記憶"), 840, 240, 540, 300, 7, true);

    Frame5 = frame(this, "Frame5", QStringLiteral("行高・列巾ｻｲｽﾞ変更"), 1680, 840, 2170, 610);
    Command23 = button(Frame5, "Command23", QStringLiteral("＋"), 120, 240, 300, 300, 12, false);
    Command22 = button(Frame5, "Command22", QStringLiteral("ー"), 430, 240, 300, 300, 12, false);
    Frame6 = frame(Frame5, "Frame6", QString(), 840, 180, 1210, 370);
    Option1 = new QRadioButton(QStringLiteral("行"), Frame6);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setFont(formFont(8, false));
    qd::qt::setGeometryTwips(Option1, 120, 120, 490, 180);
    Option2 = new QRadioButton(QStringLiteral("列"), Frame6);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setFont(formFont(8, false));
    qd::qt::setGeometryTwips(Option2, 600, 120, 490, 180);
    // As tall as the font needs, within the frame that holds them.
    for (QRadioButton *o : {Option1, Option2})
        o->resize(o->width(), std::clamp(o->sizeHint().height(), o->height(), Frame6->height() - o->y()));

    Frame2 = frame(this, "Frame2", QStringLiteral("行まとめ"), 3960, 840, 1450, 610);
    Command15 = button(Frame2, "Command15", QStringLiteral("設"), 60, 240, 300, 300, 10, true);
    Command16 = button(Frame2, "Command16", QStringLiteral("解"), 380, 240, 300, 300, 10, true);
    Command20 = button(Frame2, "Command20", QString::fromUtf8(qd::sheet::GROUP_HEIGHT_RESTORE), 720, 240, 610, 300, 8,
                       true);

    Command17 = button(this, "Command17", QStringLiteral("単品登録"), 5520, 960, 970, 500, 10, true);

    // The hint floats beside the window, next to the row of the button it explains: over the
    // window it would cover the buttons it is about and catch their clicks.
    Text1 = new QLabel(this, Qt::ToolTip | Qt::FramelessWindowHint);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(formFont(10, true));
    Text1->setAutoFillBackground(true);
    Text1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Text1->setAttribute(Qt::WA_ShowWithoutActivating);
    Text1->setStyleSheet(QStringLiteral("QLabel { background-color: rgb(255, 255, 192); border: 1px solid black; "
                                        "padding-left: 2px; }"));
    Text1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    qd::qt::resizeTwips(Text1, 250, 300);
    Text1->hide();

    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    connect(Command15, &QPushButton::clicked, this, [this] { Command15_Click(); });
    connect(Command16, &QPushButton::clicked, this, [this] { Command16_Click(); });
    connect(Command20, &QPushButton::clicked, this, [this] { Command20_Click(); });
    connect(Command17, &QPushButton::clicked, this, [this] { Command17_Click(); });
    connect(Command19, &QPushButton::clicked, this, [this] { Command19_Click(); });
    connect(Command18, &QPushButton::clicked, this, [this] { Command18_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command23, &QPushButton::clicked, this, [this] { Command23_Click(); });
    connect(Command22, &QPushButton::clicked, this, [this] { Command22_Click(); });
    connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { Option2_Click(); });
}

// ---- load, options, hints -------------------------------------------------------------------

void HENSYU_MENU::Form_Load()
{
    qd::qt::makeTopmost(this, m_owner.data());
    if (g.EDIT_AXIS == 0) {
        Option1->setChecked(true);
        Option2->setChecked(false);
    } else if (g.EDIT_AXIS == 1) {
        Option1->setChecked(false);
        Option2->setChecked(true);
    }
    Text3->setText(qs(trim(g.EDIT_VALUE)));
}

void HENSYU_MENU::Option1_Click()
{
    g.EDIT_AXIS = 0;
    Option1->setChecked(true);
    Option2->setChecked(false);
}

void HENSYU_MENU::Option2_Click()
{
    g.EDIT_AXIS = 1;
    Option1->setChecked(false);
    Option2->setChecked(true);
}

void HENSYU_MENU::Form_MouseMove() { Text1->setVisible(false); }

EditToolHint HENSYU_MENU::hintOf(const QString &buttonName)
{
    const auto &table = hintTable();
    const auto it = table.find(buttonName);
    return it == table.end() ? EditToolHint{} : it->second;
}

void HENSYU_MENU::showHint(QPushButton *button)
{
    if (!button)
        return;
    const EditToolHint hint = hintOf(button->objectName());
    if (hint.lines.isEmpty())
        return;
    Text1->setText(hint.lines.join(QLatin1Char('\n')));
    qd::qt::resizeTwips(Text1, hint.width, hint.height);
    // A font wider or taller than the window was laid out for gets a box that shows all of it.
    Text1->resize(Text1->size().expandedTo(Text1->sizeHint()));
    Text1->move(hintPlace(button, Text1->size()));
    Text1->setVisible(true);
    Text1->raise();
}

QPoint HENSYU_MENU::hintPlace(const QPushButton *button, const QSize &size) const
{
    // Beside the window, at the button's left: above it for the buttons of the top row, below
    // it for the others; on the other side where the screen has no room.
    constexpr int gap = 2;
    const QRect window = frameGeometry();
    const QPoint at = button->mapToGlobal(QPoint(0, 0));
    const bool topRow = button->parentWidget() == Frame3;
    const int above = window.top() - gap - size.height();
    const int below = window.bottom() + 1 + gap;
    const QScreen *screen = this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(window.topLeft(), QSize(1 << 20, 1 << 20));
    int y = topRow ? above : below;
    if (topRow && y < area.top())
        y = below;
    else if (!topRow && y + size.height() > area.bottom() + 1)
        y = above;
    const int x = std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    return {x, y};
}

bool HENSYU_MENU::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text3) {
        if (event->type() == QEvent::FocusIn)
            Text3_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            Text3_LostFocus();
        else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Text3_KeyDown(13);
                return true;
            }
            if (key == Qt::Key_Escape) {
                Text3_KeyDown(27);
                return true;
            }
        }
    } else if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        if (auto *b = qobject_cast<QPushButton *>(watched))
            showHint(b);
    }
    return QWidget::eventFilter(watched, event);
}

void HENSYU_MENU::mouseMoveEvent(QMouseEvent *event)
{
    // Only the bare window hides the hint; over a frame it stays.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void HENSYU_MENU::leaveEvent(QEvent *event)
{
    // The hint stands outside the window: it goes when the pointer leaves the window.
    Text1->hide();
    QWidget::leaveEvent(event);
}

void HENSYU_MENU::hideEvent(QHideEvent *event)
{
    Text1->hide();
    QWidget::hideEvent(event);
}

void HENSYU_MENU::closeEvent(QCloseEvent *event)
{
    // Closed by its title bar the window is only hidden: its state stays for the next showing.
    event->accept();
    hide();
}

// ---- value box ------------------------------------------------------------------------------

void HENSYU_MENU::Text3_GotFocus()
{
    // The remembered block stays as it is: only copy and the C key set it.
    qd::grid::FlexGrid &sheet = g.curGrid();
    g.COL_NO = sheet.col();
    g.ROW_NO = sheet.row();
    Text3->setText(qs(trim(g.EDIT_VALUE)));
    Text3->selectAll();
}

void HENSYU_MENU::Text3_KeyDown(int keyCode)
{
    if (keyCode == 13) {
        try {
            g.EDIT_VALUE = qd::text::fixedChars(trim(ss(Text3->text())), EDIT_VALUE_LENGTH);
            Text3->setText(qs(trim(g.EDIT_VALUE)));
            Command2->setFocus();
        } catch (const std::exception &) {
            // The value stays as it was.
        }
    } else if (keyCode == 27) {
        Text3->setText(qs(trim(g.EDIT_VALUE)));
    }
}

void HENSYU_MENU::Text3_LostFocus() { Text3->setText(qs(trim(g.EDIT_VALUE))); }

// ---- commands -------------------------------------------------------------------------------

template <class F>
void HENSYU_MENU::guarded(F f)
{
    qd::qt::runGuarded(f, qd::core::failedCommandRecovery(g));
}

void HENSYU_MENU::Command8_Click() { guarded([&] { qd::sheet::rowsInsert(g, ui()); }); }
void HENSYU_MENU::Command7_Click() { guarded([&] { qd::sheet::rowsDelete(g, ui()); }); }
void HENSYU_MENU::Command10_Click() { guarded([&] { qd::sheet::blockCopy(g, ui()); }); }
void HENSYU_MENU::Command9_Click() { guarded([&] { qd::sheet::blockPaste(g, ui()); }); }
void HENSYU_MENU::Command2_Click() { guarded([&] { qd::sheet::valueFill(g, ui()); }); }
void HENSYU_MENU::Command11_Click() { guarded([&] { qd::sheet::toggleFixedCols(g); }); }
void HENSYU_MENU::Command15_Click() { guarded([&] { qd::sheet::groupRows(g, ui()); }); }
void HENSYU_MENU::Command16_Click() { guarded([&] { qd::sheet::ungroupRows(g, ui()); }); }

void HENSYU_MENU::Command20_Click()
{
    guarded([&] { Command20->setText(qs(qd::sheet::groupHeights(g, ss(Command20->text())))); });
}

void HENSYU_MENU::Command17_Click() { guarded([&] { qd::sheet::registerItems(g); }); }
void HENSYU_MENU::Command19_Click() { guarded([&] { qd::sheet::fontUp(g); }); }
void HENSYU_MENU::Command18_Click() { guarded([&] { qd::sheet::fontDown(g); }); }
void HENSYU_MENU::Command3_Click() { qd::sheet::storeWidths(g); }
void HENSYU_MENU::Command23_Click() { guarded([&] { qd::sheet::sizeUp(g); }); }
void HENSYU_MENU::Command22_Click() { guarded([&] { qd::sheet::sizeDown(g); }); }

// ---- EditToolWindow -------------------------------------------------------------------------

void HENSYU_MENU::setValueText(const QString &text) { Text3->setText(text); }

void HENSYU_MENU::setRowsOption(bool rows)
{
    if (rows) {
        if (!Option1->isChecked())
            Option1_Click();
    } else if (!Option2->isChecked()) {
        Option2_Click();
    }
}

void HENSYU_MENU::setStoreWidthsEnabled(bool enabled) { Command3->setEnabled(enabled); }
bool HENSYU_MENU::storeWidthsEnabled() const { return Command3->isEnabled(); }

} // namespace qd::forms
