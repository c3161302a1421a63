#include "quotedesk/mainwindow/mitfm.h"

#include "platform/files/file_error.h"
#include "platform/files/file_lock.h"
#include "platform/files/safe_replace.h"
#include "platform/qt/command_guard.h"
#include "platform/qt/focus_selection.h"
#include "platform/qt/forms.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/command_recovery.h"
#include "quotedesk/core/document_name.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/entry/master_reads.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "records/layouts.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

namespace qd::forms {

using qd::qt::qs;

namespace {

using qd::text::Fixed4;
using qd::text::trim;

// The highest rate a product can take as it stands: 掛率 and 原価率 are held in six characters.
const Fixed4 MAX_RATE = Fixed4::fromRaw(9'999'900);

// The header fields of Text1 .. Text6.
constexpr qd::records::DocHeader::Field HEAD_FIELDS[6] = {
    qd::records::DocHeader::TOKUI_NAME,    qd::records::DocHeader::BUKKEN_NAME,
    qd::records::DocHeader::NOUHIN_BASYO,  qd::records::DocHeader::SIHARAI_JOKEN,
    qd::records::DocHeader::NOUKI,         qd::records::DocHeader::YUKO_KIGEN};

struct Place {
    int left, top, width, height;
};

// Labels and boxes in twips: label, box.
const Place LABEL_PLACES[8] = {{0, 0, 0, 0},          {120, 600, 1820, 730},  {120, 1440, 1820, 730},
                               {120, 2280, 1820, 380}, {120, 2760, 1820, 380}, {120, 3240, 1820, 380},
                               {120, 3720, 1820, 380}, {120, 4200, 1820, 610}};
const Place TEXT_PLACES[8] = {{0, 0, 0, 0},           {2040, 600, 5050, 730},  {2040, 1440, 5050, 730},
                              {2040, 2280, 5050, 405}, {2040, 2760, 5050, 405}, {2040, 3240, 2290, 405},
                              {2040, 3720, 2290, 405}, {2040, 4320, 2290, 405}};
const char *const LABEL_CAPTIONS[8] = {"",
                                       "　　　　　　　取引先名",
                                       "　　　　　　　物件名",
                                       "納品場所",
                                       "お支払条件",
                                       "納期",
                                       "有効期限",
                                       "掛率(%) 又は　率ﾗﾝｸ(1～10)"};

// A rate typed into the rate box: a plain decimal number, with an optional sign.
bool isRateNumber(const std::string &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    return number.match(qs(trim(text))).hasMatch();
}

std::string headPath(const qd::core::QdState &g)
{
    return trim(g.DOC_DIR) + "\\" + trim(g.HEAD_NAME) + ".SSS";
}

} // namespace

MITFM::MITFM(QuotedeskApp &a) : QWidget(nullptr), app(a), g(a.g)
{
    setObjectName(QStringLiteral("MITFM"));
    setWindowTitle(QStringLiteral("見積情報"));
    buildControls();
}

MITFM::~MITFM() = default;

void MITFM::buildControls()
{
    const QString face = QStringLiteral("ＭＳ 明朝");
    QFont boxFont(face, 12);
    QFont labelFont(face, 12, QFont::Bold);
    QFont buttonFont(face, 13);
    buttonFont.setPointSizeF(13.5);
    buttonFont.setBold(true);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setFont(boxFont);
    qd::qt::setGeometryTwips(Combo1, 120, 120, 6975, 360);
    connect(Combo1, &QComboBox::activated, this, [this](int index) { guarded([&] { Combo1_Click(index); })(); });

    for (int n = 1; n <= 7; ++n) {
        // The blanks before 取引先名 and 物件名 put the name on the label's second line.
        QString caption = QString::fromUtf8(LABEL_CAPTIONS[n]);
        if (caption.startsWith(QChar(0x3000))) {
            while (caption.startsWith(QChar(0x3000)))
                caption.remove(0, 1);
            caption.prepend(u'\n');
        }
        auto *label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("Label%1").arg(n));
        label->setFont(labelFont);
        label->setWordWrap(true);
        const Place &lp = LABEL_PLACES[n];
        qd::qt::setGeometryTwips(label, lp.left, lp.top, lp.width, lp.height);
        Label[n] = label;

        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(n));
        box->setFont(boxFont);
        const Place &tp = TEXT_PLACES[n];
        qd::qt::setGeometryTwips(box, tp.left, tp.top, tp.width, tp.height);
        box->installEventFilter(this);
        // A click into a box leaves its value selected, for the typing to replace it.
        qd::qt::keepSelectionOnFocusClick(box);
        Text[n] = box;
    }

    Command1 = new QPushButton(QStringLiteral("終了"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(buttonFont);
    qd::qt::setGeometryTwips(Command1, 4440, 3480, 1215, 735);
    Command1->setAutoDefault(true); // Enter on the focused button presses it, as Space does
    connect(Command1, &QPushButton::clicked, this, guarded([this] { Command1_Click(); }));

    Command2 = new QPushButton(QStringLiteral("取消"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setFont(buttonFont);
    qd::qt::setGeometryTwips(Command2, 5880, 3480, 1215, 735);
    Command2->setAutoDefault(true);
    connect(Command2, &QPushButton::clicked, this, guarded([this] { COMMAND2_CLICK(); }));

    // Tab follows the order Enter takes.
    for (int n = 1; n < 7; ++n)
        setTabOrder(Text[n], Text[n + 1]);
    setTabOrder(Text[7], Command1);
    setTabOrder(Command1, Command2);
}

std::string MITFM::partnerLine(const std::string &code, const std::string &name, int recordNo)
{
    const std::string digits = trim(code);
    const bool numeric = !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
    const std::string shownCode = numeric ? qd::text::format(std::stoll(digits), "0000") : code;
    return shownCode + " " + qd::text::fixedChars(name, 50) + std::string(10, ' ') +
           qd::text::format(recordNo, "00000");
}

std::string MITFM::partnerNameOfLine(const std::string &line)
{
    const std::string head = qd::text::leftChars(line, 5);
    return qd::text::leftChars(std::string_view(line).substr(head.size()), 50);
}

void MITFM::Form_Load()
{
    qd::qt::resizeTwips(this, 7400, 5530);
    qd::qt::centreOnScreen(this);
    qd::qt::showModeless(this);
    Command1->setEnabled(true);
    Command2->setEnabled(true);

    // Each showing tells of a partner file that ends in a part of a record.
    g.partialNotes.forget();
    fillPartners();
    for (const std::string &text : g.partialNotes.takeTexts(qd::text::TwoLinesBreak)) {
        qd::qt::beep();
        qd::qt::msgBox(qs(text));
    }

    if (trim(g.CUR_DOC_NAME).empty()) {
        std::string answer = trim(qd::qt::inputBox(QStringLiteral("ファイル名を入れてください。"),
                                                   QStringLiteral("タイトルファイル名"), QStringLiteral("新規"))
                                      .toStdString());
        // The name becomes the names of the document's files.
        if (!answer.empty() && !qd::core::isValidDocumentName(answer)) {
            qd::qt::beep();
            qd::qt::msgBox(qs(qd::core::invalidDocumentNameMessage()));
            answer.clear();
        }
        g.HEAD_NAME = answer.empty() ? "新規" : answer;
        g.CUR_DOC_NAME = g.HEAD_NAME + ".TXT";
        qd::core::BUKKEN_HEAD_CLEAR(g);
        g.HEAD_BUKKEN = g.HEAD_NAME;
    }

    DOC_HEAD_SHOW();
    // A box shown as the form came up (a partner file cut short, the name of a new document) gave
    // the focus back to the main window it was asked from: the form takes it again, for the user
    // to type into the box that has the focus.
    activateWindow();
}

void MITFM::fillPartners()
{
    Combo1->clear();
    try {
        qd::records::TOKF_OPEN(g);
        const std::int32_t count = qd::entry::shownRecordCount(g, g.TOKF_CTL);
        for (int n = 1; n <= count; ++n) {
            g.TOKF_CTL.get(n, g.TOKF_REC);
            const std::string code = g.TOKF_REC.text(qd::records::Partner::TOKUI_CD);
            if (code == "0000")
                continue;
            // The drop-down shows the code and the name; the whole line, with the record number
            // that ends it, is the handler's.
            const std::string line = partnerLine(code, g.TOKF_REC.text(qd::records::Partner::NAME), n);
            const std::string shown = line.substr(0, line.size() - qd::text::format(n, "00000").size());
            Combo1->addItem(qs(qd::text::trimRight(shown)), qs(line));
        }
        g.TOKF_CTL.close();
    } catch (const std::exception &e) {
        g.TOKF_CTL.close();
        qd::qt::beep();
        qd::qt::msgBox(qs(qd::text::twoLines("取引先ファイルを読めません。", qd::files::failureText(e))));
    }
    Combo1->setCurrentIndex(-1);
}

void MITFM::DOC_HEAD_SHOW()
{
    bool read = false;
    try {
        read = qd::core::DOC_HEAD_READ(g);
    } catch (const std::exception &e) {
        qd::qt::beep();
        qd::qt::msgBox(qs(qd::text::twoLines("見積情報を読めません。", qd::files::failureText(e))));
    }
    if (!read)
        return;
    for (int n = 1; n <= 7; ++n)
        Text[n]->setText(qs(shownValue(n)));
    focusBox(1);
}

std::string MITFM::shownValue(int n) const
{
    // The values read from the header carry the blanks that pad their fields; the boxes show
    // them without, so that typing at the end of a value lands right after it.
    switch (n) {
    case 1: return qd::text::trimRight(g.HEAD_TOKUI);
    case 2: return qd::text::trimRight(g.HEAD_BUKKEN);
    case 3: return qd::text::trimRight(g.HEAD_NOUHIN);
    case 4: return qd::text::trimRight(g.HEAD_SIHARAI);
    case 5: return qd::text::trimRight(g.HEAD_NOUKI);
    case 6: return qd::text::trimRight(g.HEAD_YUKOU);
    default: return qd::text::format(g.HEAD_RATE, "##0.00");
    }
}

void MITFM::storeValue(int n, const std::string &text)
{
    switch (n) {
    case 1: g.HEAD_TOKUI = text; break;
    case 2: g.HEAD_BUKKEN = text; break;
    case 3: g.HEAD_NOUHIN = text; break;
    case 4: g.HEAD_SIHARAI = text; break;
    case 5: g.HEAD_NOUKI = text; break;
    case 6: g.HEAD_YUKOU = text; break;
    // Rounded once from the typed text to the two decimals the header field keeps, so that the
    // box, the header file and the rate each product gets are the same: 12.34499 is 12.34.
    default: g.HEAD_RATE = qd::text::valFixedRounded(trim(text), 2); break;
    }
}

void MITFM::focusBox(int n)
{
    Text[n]->setFocus(Qt::OtherFocusReason);
}

void MITFM::Combo1_Click(int index)
{
    if (index < 0 || index >= Combo1->count())
        return;
    const std::string name = partnerNameOfLine(Combo1->itemData(index).toString().toStdString());
    g.HEAD_TOKUI = name;
    Text[1]->setText(qs(qd::text::trimRight(name)));
}

void MITFM::Text_GotFocus(int n)
{
    QLineEdit *box = Text[n];
    box->setText(qs(shownValue(n)));
    box->setSelection(0, static_cast<int>(box->text().size()));
}

void MITFM::Text_KeyDown(int n, int keyCode)
{
    QLineEdit *box = Text[n];
    if (keyCode == 13) {
        if (!takeTyped(n))
            return;
        if (n < 7)
            focusBox(n + 1);
        else
            Command1->setFocus(Qt::OtherFocusReason);
    } else if (keyCode == 27) {
        box->setText(qs(shownValue(n)));
        if (n > 1)
            focusBox(n - 1);
    }
}

bool MITFM::takeTyped(int n)
{
    const std::string typed = Text[n]->text().toStdString();
    const std::string value = n < 7 ? qd::text::trimRight(typed) : typed;
    if (n < 7 ? !fitsField(n, value) : !rateFits(value))
        return false;
    storeValue(n, value);
    Text[n]->setText(qs(shownValue(n)));
    return true;
}

bool MITFM::rateFits(const std::string &typed)
{
    if (!isRateNumber(typed)) {
        // The rate stays as it was; the box shows it again for a new try.
        qd::qt::beep();
        qd::qt::msgBox(QStringLiteral("数値を入力して下さい！"));
        Text[7]->setFocus(Qt::OtherFocusReason);
        Text_GotFocus(7);
        return false;
    }
    // A product takes the rate into its 掛率 and, as a percentage, its 原価率 from the header
    // field's first six characters: beyond 999.99 a product would get another rate than the one
    // shown, and the header field holds no rate of 100,000,000 or more at all.
    const Fixed4 rate = qd::text::valFixedRounded(trim(typed), 2);
    if (rate >= Fixed4() && rate <= MAX_RATE)
        return true;
    const QString shown = qs(trim(typed));
    refuseTyped(7, QStringLiteral("掛率は 0.00～999.99 の範囲で入力して下さい！"), shown, 0, static_cast<int>(shown.size()));
    return false;
}

QString MITFM::fieldName(int n)
{
    QString name = QString::fromUtf8(LABEL_CAPTIONS[n]).trimmed();
    name.remove(QChar(0x3000));
    return name;
}

bool MITFM::fitsField(int n, const std::string &value)
{
    // A value is never changed where the header is written: a character the file cannot hold
    // would be written as "?", a value its field cannot hold would be cut. Either is refused,
    // and the box shows the character, or what lies beyond the field, selected to be changed.
    const std::size_t notHeld = qd::text::firstCharNotInCp932(value);
    if (notHeld != std::string::npos) {
        const QString ch = qs(qd::text::leftChars(std::string_view(value).substr(notHeld), 1));
        refuseTyped(n, QStringLiteral("%1には「%2」を使えません。").arg(fieldName(n), ch), qs(value),
                    static_cast<int>(qs(value.substr(0, notHeld)).size()), static_cast<int>(ch.size()));
        return false;
    }
    const auto bytes = static_cast<std::size_t>(
        qd::records::DocHeader::layout().fields[static_cast<std::size_t>(HEAD_FIELDS[n - 1])].width);
    if (qd::text::cp932Width(value) <= bytes)
        return true;
    const int kept = static_cast<int>(qs(qd::text::cutToWidth(value, bytes)).size());
    refuseTyped(n, QStringLiteral("%1は全角%2文字（半角%3文字）までです。").arg(fieldName(n)).arg(bytes / 2).arg(bytes),
                qs(value), kept, static_cast<int>(qs(value).size()) - kept);
    return false;
}

void MITFM::refuseTyped(int n, const QString &message, const QString &shown, int start, int length)
{
    qd::qt::beep();
    qd::qt::msgBox(message);
    QLineEdit *box = Text[n];
    box->setFocus(Qt::OtherFocusReason); // (a box that gets the focus shows its value)
    // The message put the form in the back: the box gets the focus as the form comes to the
    // front again, and goes on showing what was refused.
    if (QApplication::focusWidget() != box)
        m_focus[static_cast<std::size_t>(n)].givenInTheBack();
    box->setText(shown);
    box->setSelection(start, length);
    box->setModified(true); // still not confirmed: "終了" takes it through the checks again
}

void MITFM::Text_LostFocus(int n)
{
    // Typing left for "終了" stays in its box: the button takes it as Enter would.
    if (Text[n]->isModified() && QApplication::focusWidget() == Command1)
        return;
    Text[n]->setText(qs(shownValue(n)));
}

void MITFM::Command1_Click()
{
    // What is typed into a box and not confirmed with Enter is taken first, through the checks
    // of Enter: a value one of them refuses is said, and nothing is written.
    for (int n = 1; n <= 7; ++n)
        if (Text[n]->isModified() && !takeTyped(n))
            return;
    // Record 1 of the header file is replaced through a work copy: a failure leaves the old
    // header as it was, and the form stays open with what was typed.
    const std::string path = headPath(g);
    try {
        // Locked from the read of what follows record 1 until the slot has taken the new header
        // as its own: no other program's write falls in between.
        const qd::files::FileLock lock(path, qd::files::LockKind::Exclusive);
        qd::core::BUKKEN_HEAD_SEPARATORS(g);
        qd::core::BUKKEN_HEAD_BUILD(g);
        const std::size_t length = qd::files::replaceFileHead(path, g.HEAD_REC.bytes());
        qd::core::headerFileWritten(g, path, length);
    } catch (const std::exception &e) {
        qd::qt::beep();
        qd::qt::msgBox(qd::qt::twoLines(QStringLiteral("見積情報を保存できませんでした。"),
                                        QStringLiteral("元のファイルは変更されていません。(%1)").arg(qs(qd::files::failureText(e)))));
        return;
    }
    unloadSelf();
}

void MITFM::COMMAND2_CLICK()
{
    unloadSelf();
}

void MITFM::unloadSelf()
{
    if (app.forms.ifLoaded<MITFM>() == this)
        app.forms.unload<MITFM>();
    else
        hide();
}

bool MITFM::eventFilter(QObject *watched, QEvent *event)
{
    return qd::qt::runGuardedFilter([&] { return formEvent(watched, event); }, qd::core::failedCommandRecovery(g));
}

std::function<void()> MITFM::guarded(std::function<void()> handler)
{
    return qd::qt::guarded(std::move(handler), qd::core::failedCommandRecovery(g));
}

bool MITFM::formEvent(QObject *watched, QEvent *event)
{
    for (int n = 1; n <= 7; ++n) {
        if (watched != Text[n])
            continue;
        switch (event->type()) {
        // The box that has the focus as the form comes up gets it; the form going to the back
        // and coming to the front again, or a drop-down opening over it, moves no focus.
        case QEvent::FocusIn:
            if (m_focus[static_cast<std::size_t>(n)].gotFocus(static_cast<QFocusEvent *>(event)))
                Text_GotFocus(n);
            break;
        case QEvent::FocusOut:
            if (m_focus[static_cast<std::size_t>(n)].lostFocus(static_cast<QFocusEvent *>(event)))
                Text_LostFocus(n);
            break;
        // A click into another box while the form was in the back moved the focus away from
        // this one without a word: it is left now, as the form comes to the front.
        case QEvent::WindowActivate:
            if (m_focus[static_cast<std::size_t>(n)].windowActivated(focusWidget() == Text[n]))
                Text_LostFocus(n);
            break;
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                Text_KeyDown(n, 13);
                return true;
            }
            if (key == Qt::Key_Escape) {
                Text_KeyDown(n, 27);
                return true;
            }
            break;
        }
        default: break;
        }
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace qd::forms
