#include "quotedesk/mainwindow/syohizei_calc_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>
#include <limits>
#include <optional>

#include "platform/files/file_error.h"
#include "platform/qt/command_guard.h"
#include "platform/qt/focus_selection.h"
#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/core/tax_settings.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/quotedesk_app.h"

namespace qd::forms {

using qd::text::Fixed4;

namespace {

constexpr int KEY_ENTER = 13;
constexpr int KEY_ESC = 27;

// The number a box holds, when it holds one and nothing else.
std::optional<double> numberIn(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// A value as typed back into a box: no leading blank, no trailing zeros.
QString plain(const std::string &general) { return qd::qt::qs(qd::text::trim(general)); }

void refuseNumber()
{
    qd::qt::beep();
    qd::qt::msgBox(QStringLiteral("数値を入力して下さい！"));
}

} // namespace

syohizei_calc_frm::syohizei_calc_frm(QuotedeskApp &a)
    : QWidget(a.hasKihon() ? static_cast<QWidget *>(&a.kihon()) : nullptr, Qt::Dialog), app(a), g(a.g)
{
    setObjectName(QStringLiteral("syohizei_calc_frm"));
    setWindowTitle(QStringLiteral("= 消費税・端数処理の属性値 ="));

    Frame1 = new QGroupBox(QStringLiteral("端数処理"), this);
    Option1 = new QRadioButton(QStringLiteral("切り上げ"), Frame1);
    Option2 = new QRadioButton(QStringLiteral("切り捨て"), Frame1);
    Option3 = new QRadioButton(QStringLiteral("四捨五入"), Frame1);
    Text1 = new QLineEdit(Frame1);
    Label1 = new QLabel(QStringLiteral("円未満"), Frame1);
    Frame2 = new QGroupBox(QStringLiteral("消費税"), this);
    Option4 = new QRadioButton(QStringLiteral("内税"), Frame2);
    Option5 = new QRadioButton(QStringLiteral("外税"), Frame2);
    Label2 = new QLabel(QStringLiteral("共通税率(%)"), Frame2);
    Text2 = new QLineEdit(Frame2);
    Command1 = new QPushButton(QStringLiteral("設定して終了"), this);
    Command2 = new QPushButton(QStringLiteral("キャンセル"), this);

    const struct {
        QWidget *w;
        const char *name;
    } names[] = {{Frame1, "Frame1"}, {Frame2, "Frame2"}, {Option1, "Option1"}, {Option2, "Option2"},
                 {Option3, "Option3"}, {Option4, "Option4"}, {Option5, "Option5"}, {Text1, "Text1"},
                 {Text2, "Text2"},   {Label1, "Label1"}, {Label2, "Label2"},   {Command1, "Command1"},
                 {Command2, "Command2"}};
    for (const auto &n : names)
        n.w->setObjectName(QString::fromLatin1(n.name));

    // Places in twips inside the form.
    using qd::qt::setGeometryTwips;
    setGeometryTwips(Frame1, 120, 60, 2160, 1440);
    setGeometryTwips(Option1, 120, 260, 1500, 270);
    setGeometryTwips(Option2, 120, 530, 1500, 270);
    setGeometryTwips(Option3, 120, 800, 1500, 270);
    setGeometryTwips(Text1, 120, 1080, 780, 300);
    setGeometryTwips(Label1, 960, 1080, 1000, 300);
    setGeometryTwips(Frame2, 2400, 60, 2130, 1440);
    setGeometryTwips(Option4, 120, 260, 1500, 270);
    setGeometryTwips(Option5, 120, 530, 1500, 270);
    setGeometryTwips(Label2, 120, 800, 1800, 270);
    setGeometryTwips(Text2, 120, 1080, 1100, 300);
    setGeometryTwips(Command1, 120, 1580, 2160, 420);
    setGeometryTwips(Command2, 2400, 1580, 2130, 420);
    Text1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Text2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The two groups are exclusive each within its own frame, and only by the click handlers
    // (a group with no record read shows no choice).
    for (QRadioButton *o : {Option1, Option2, Option3, Option4, Option5})
        o->setAutoExclusive(false);
    connect(Option1, &QRadioButton::clicked, this, guarded([this] { Option_Click(1); }));
    connect(Option2, &QRadioButton::clicked, this, guarded([this] { Option_Click(2); }));
    connect(Option3, &QRadioButton::clicked, this, guarded([this] { Option_Click(3); }));
    connect(Option4, &QRadioButton::clicked, this, guarded([this] { Option_Click(4); }));
    connect(Option5, &QRadioButton::clicked, this, guarded([this] { Option_Click(5); }));
    Command1->setAutoDefault(true); // Enter on the focused button presses it, as Space does
    Command2->setAutoDefault(true);
    connect(Command1, &QPushButton::clicked, this, guarded([this] { Command1_Click(); }));
    connect(Command2, &QPushButton::clicked, this, guarded([this] { Command2_Click(); }));
    Text1->installEventFilter(this);
    Text2->installEventFilter(this);
    // A click into a box leaves its value selected, for the typing to replace it.
    for (QLineEdit *box : {Text1, Text2})
        qd::qt::keepSelectionOnFocusClick(box);

    Form_Load();
}

void syohizei_calc_frm::Form_Load()
{
    qd::qt::resizeTwips(this, 4650, 2100); // the inside; the frame and caption make up 2470
    qd::qt::centreOnScreen(this);
    show();
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    g.TAX_ROUND_UNIT = 0;
    g.TAX_ROUND_MODE = 0;
    g.TAX_RATE = Fixed4();
    g.TAX_MODE = 1;
    bool found = false;
    try {
        found = qd::core::readTaxSettings(g);
    } catch (const std::exception &) {
        found = false;
    }
    if (found) {
        g.TAX_ROUND_UNIT = g.TAX_REC.HASU_TANI;
        g.TAX_RATE = g.TAX_REC.ZEI_RITU;
        Text2->setText(qd::qt::qs(qd::text::format(g.TAX_RATE, "##0.00")));
        Text1->setText(qd::qt::qs(qd::text::format(g.TAX_ROUND_UNIT, "##0")));
        g.TAX_ROUND_MODE = g.TAX_REC.HASU_MODE;
        Option1->setChecked(g.TAX_ROUND_MODE == 1);
        Option2->setChecked(g.TAX_ROUND_MODE == 2);
        Option3->setChecked(g.TAX_ROUND_MODE == 3);
        g.TAX_MODE = g.TAX_REC.ZEI_KBN;
        Option4->setChecked(g.TAX_MODE == 0);
        Option5->setChecked(g.TAX_MODE == 1);
    }
    m_loadedRate = g.TAX_RATE;
    m_loadedUnit = g.TAX_ROUND_UNIT;
    m_loadedMode = g.TAX_ROUND_MODE;
    m_loadedTaxMode = g.TAX_MODE;
    Text2->setFocus();
    Text2_GotFocus();
}

void syohizei_calc_frm::Option_Click(int option)
{
    QRadioButton *const rounding[] = {Option1, Option2, Option3};
    if (option >= 1 && option <= 3) {
        g.TAX_ROUND_MODE = static_cast<std::int16_t>(option);
        for (int i = 0; i < 3; ++i)
            rounding[i]->setChecked(i + 1 == option);
    } else if (option == 4 || option == 5) {
        g.TAX_MODE = static_cast<std::int16_t>(option - 4);
        Option4->setChecked(option == 4);
        Option5->setChecked(option == 5);
    }
}

void syohizei_calc_frm::Text1_GotFocus()
{
    Text1->setText(plain(qd::text::str(g.TAX_ROUND_UNIT)));
    Text1->selectAll();
}

void syohizei_calc_frm::Text1_KeyDown(int keyCode)
{
    if (keyCode == KEY_ENTER) {
        if (!takeUnit())
            return;
        Command1->setFocus();
    } else if (keyCode == KEY_ESC) {
        Text2->setFocus();
    }
}

bool syohizei_calc_frm::takeUnit()
{
    const std::optional<double> v = numberIn(Text1->text());
    if (!v)
        return false;
    const std::int64_t n = qd::text::roundHalfEven(*v);
    if (n < std::numeric_limits<std::int16_t>::min() || n > std::numeric_limits<std::int16_t>::max())
        return false;
    g.TAX_ROUND_UNIT = static_cast<std::int16_t>(n);
    Text1->setModified(false); // taken: what the box holds is the unit
    return true;
}

void syohizei_calc_frm::showStored(QLineEdit *box)
{
    box->setText(qd::qt::qs(box == Text1 ? qd::text::format(g.TAX_ROUND_UNIT, "##0")
                                         : qd::text::format(g.TAX_RATE, "##0.00")));
}

void syohizei_calc_frm::Text1_LostFocus()
{
    Text1->setText(qd::qt::qs(qd::text::format(g.TAX_ROUND_UNIT, "##0")));
    CHK_VALUE = Fixed4::fromInt(g.TAX_ROUND_UNIT);
    TAX_RATE_CHECK();
    if (m_error != 0) {
        Text1->setText(qd::qt::qs(qd::text::format(g.TAX_ROUND_UNIT, "##0")));
        returnFocusTo(Text1);
    }
}

void syohizei_calc_frm::returnFocusTo(QLineEdit *box)
{
    // The box that holds the refused value gets the focus back with its text selected, for the
    // user to type the value again. The message box took the active window from the form: the
    // focus is given again when the form is active once more.
    m_refocus = box;
    activateWindow();
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void syohizei_calc_frm::Text2_GotFocus()
{
    Text2->setText(plain(qd::text::str(g.TAX_RATE)));
    Text2->selectAll();
}

void syohizei_calc_frm::Text2_KeyDown(int keyCode)
{
    if (keyCode == KEY_ENTER) {
        if (!takeRate())
            return;
        Text1->setFocus();
    } else if (keyCode == KEY_ESC) {
        Text2->setText(qd::qt::qs(qd::text::format(g.TAX_RATE, "##0.00")));
    }
}

bool syohizei_calc_frm::takeRate()
{
    const std::optional<double> v = numberIn(Text2->text());
    if (!v || std::fabs(*v) > 9.0e14)
        return false;
    // Rounded once from the typed text to the two decimals the rows take and the box shows:
    // 10.004999 is 10.00, not 10.0050 and then 10.01.
    g.TAX_RATE = qd::text::valFixedRounded(Text2->text().trimmed().toStdString(), 2);
    Text2->setText(qd::qt::qs(qd::text::format(g.TAX_RATE, "##0.00")));
    return true;
}

void syohizei_calc_frm::Text2_LostFocus()
{
    Text2->setText(qd::qt::qs(qd::text::format(g.TAX_RATE, "##0.00")));
    CHK_VALUE = Fixed4::fromInt(g.TAX_RATE.roundHalfEven());
    TAX_RATE_CHECK();
    if (m_error != 0) {
        Text2->setText(qd::qt::qs(qd::text::format(g.TAX_RATE, "##0.00")));
        returnFocusTo(Text2);
    }
}

void syohizei_calc_frm::TAX_RATE_CHECK()
{
    if (CHK_VALUE >= Fixed4() && CHK_VALUE <= Fixed4::fromInt(100)) {
        m_error = 0;
        return;
    }
    m_error = 1;
    refuseNumber();
}

void syohizei_calc_frm::Command1_Click()
{
    // What is typed into a box and not confirmed with Enter is taken first, as Enter takes it;
    // text that is no number is said, and nothing is written.
    for (QLineEdit *box : {Text2, Text1}) {
        if (!box->isModified() || (box == Text2 ? takeRate() : takeUnit()))
            continue;
        refuseNumber();
        returnFocusTo(box);
        return;
    }
    // A value refused on leaving its box is never stored.
    CHK_VALUE = Fixed4::fromInt(g.TAX_RATE.roundHalfEven());
    TAX_RATE_CHECK();
    if (m_error != 0) {
        returnFocusTo(Text2);
        return;
    }
    CHK_VALUE = Fixed4::fromInt(g.TAX_ROUND_UNIT);
    TAX_RATE_CHECK();
    if (m_error != 0) {
        returnFocusTo(Text1);
        return;
    }

    g.TAX_REC.ZEI_RITU = g.TAX_RATE;
    g.TAX_REC.HASU_TANI = g.TAX_ROUND_UNIT;
    g.TAX_REC.HASU_MODE = g.TAX_ROUND_MODE;
    g.TAX_REC.ZEI_KBN = g.TAX_MODE;
    try {
        qd::core::writeTaxSettings(g);
    } catch (const std::exception &e) {
        qd::qt::beep();
        qd::qt::msgBox(qd::qt::qs(qd::text::twoLines("消費税の設定を保存できませんでした。", qd::files::failureText(e))));
        return;
    }
    unloadForm();
    // The open document is totalled again with the new settings.
    if (app.hasKihon() && app.kihon().Combo2->count() > 0) {
        qd::grid::FlexGrid &grid = g.curGrid();
        grid.setRedraw(false);
        qd::core::TAX_TOTAL_CALC(g);
        grid.setRedraw(true);
    }
}

void syohizei_calc_frm::Command2_Click()
{
    restoreFromRecord();
    unloadForm();
}

void syohizei_calc_frm::restoreFromRecord()
{
    // Nothing of a cancelled edit reaches the totals or the printing.
    g.TAX_RATE = m_loadedRate;
    g.TAX_ROUND_UNIT = m_loadedUnit;
    g.TAX_ROUND_MODE = m_loadedMode;
    g.TAX_MODE = m_loadedTaxMode;
}

void syohizei_calc_frm::unloadForm()
{
    m_unloading = true;
    app.forms.unload<syohizei_calc_frm>();
}

bool syohizei_calc_frm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && m_refocus) {
        QLineEdit *box = m_refocus;
        m_refocus = nullptr;
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
    return QWidget::event(event);
}

bool syohizei_calc_frm::eventFilter(QObject *watched, QEvent *event)
{
    return qd::qt::runGuardedFilter([&] { return formEvent(watched, event); }, qd::core::failedCommandRecovery(g));
}

std::function<void()> syohizei_calc_frm::guarded(std::function<void()> handler)
{
    return qd::qt::guarded(std::move(handler), qd::core::failedCommandRecovery(g));
}

bool syohizei_calc_frm::formEvent(QObject *watched, QEvent *event)
{
    // The box to return to has the focus in the active form: nothing more to give back.
    if (event->type() == QEvent::FocusIn && watched == m_refocus && isActiveWindow())
        m_refocus = nullptr;
    const bool unit = watched == Text1;
    if (watched != Text1 && watched != Text2)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        unit ? Text1_GotFocus() : Text2_GotFocus();
        break;
    case QEvent::FocusOut: {
        // A message box or another window taking the focus is no leaving of the box.
        const Qt::FocusReason r = static_cast<QFocusEvent *>(event)->reason();
        if (m_unloading || r == Qt::ActiveWindowFocusReason || r == Qt::PopupFocusReason)
            break;
        // A click on a button checks nothing on the way: "設定して終了" checks both values itself
        // and "キャンセル" keeps none, so one click shows one message at most. Typing left for
        // "設定して終了" stays in its box: the button takes it as Enter would.
        QLineEdit *box = unit ? Text1 : Text2;
        const QWidget *to = QApplication::focusWidget();
        if (to == Command1 && box->isModified())
            break;
        const bool toButton = r == Qt::MouseFocusReason && (to == Command1 || to == Command2);
        QTimer::singleShot(0, this, guarded([this, unit, box, toButton] {
            if (m_unloading)
                return;
            if (toButton)
                showStored(box);
            else
                unit ? Text1_LostFocus() : Text2_LostFocus();
        }));
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            const int code = key == Qt::Key_Escape ? KEY_ESC : KEY_ENTER;
            unit ? Text1_KeyDown(code) : Text2_KeyDown(code);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void syohizei_calc_frm::closeEvent(QCloseEvent *event)
{
    if (!m_unloading) {
        restoreFromRecord();
        m_unloading = true;
        event->accept();
        app.forms.unload<syohizei_calc_frm>();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace qd::forms
