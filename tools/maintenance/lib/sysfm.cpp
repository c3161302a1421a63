#include "tools/maintenance/lib/sysfm.h"

#include "platform/qt/entry_box.h"
#include "platform/text/cp932.h"
#include "tools/maintenance/lib/own_company.h"

#include <QLabel>
#include <QPushButton>

namespace qd::maint {

namespace {

using qd::qt::colorOfBgr;
using qd::qt::EntryBox;
using qd::qt::toolFont;

struct BoxPlace {
    int label;            // the label beside the box
    const char *caption;  // its caption; a leading run of ideographic spaces puts it on the second line
    int labelTop, labelHeight;
    int top, width, height;
};

// Box n (1 .. 12) and its label, in twips; labels stand at left 240, boxes at left 2160.
const std::array<BoxPlace, 13> kPlaces = {{
    {0, "", 0, 0, 0, 0, 0},
    {1, "　　　　　　　自社商号", 240, 730, 240, 6135, 730},
    {2, "　　　　　　　所在地１", 1080, 730, 1080, 6135, 730},
    {3, "　　　　　　　所在地２", 1920, 730, 1920, 6135, 730},
    {4, "郵便番号", 2760, 380, 2760, 1335, 405},
    {5, "電話番号", 3240, 380, 3240, 1935, 405},
    {6, "ＦＡＸ番号", 3720, 380, 3720, 1935, 405},
    {8, "掛率(%) 又は　率ﾗﾝｸ(1～10)", 4200, 610, 4320, 1930, 405},
    {7, "登録番号", 5040, 380, 5040, 1930, 405},
    {10, "　　　　　　　振込先記載1", 5640, 730, 5640, 6135, 730},
    {9, "　　　　　　　振込先記載2", 6480, 730, 6480, 6135, 730},
    {12, "　　　　　　　振込先記載3", 7320, 730, 7320, 6135, 730},
    {11, "　　　　　　　振込先記載4", 8160, 730, 8160, 6135, 730},
}};

constexpr int RATE_BOX = 7;
constexpr int NUMBER_BOX = 8;

} // namespace

SYSFM::SYSFM() : ToolWindow(QStringLiteral("ownmaint"))
{
    setObjectName(QStringLiteral("SYSFM"));
    buildControls();
}

std::string SYSFM::path() const { return qd::text::trim(qd::qt::installFolder()) + "\\data\\SYSF.SSS"; }

QString SYSFM::displayValue(int n) const
{
    const std::string &v = g.SYSF_EDIT[static_cast<std::size_t>(n)];
    return QString::fromStdString(n == RATE_BOX || n == NUMBER_BOX ? qd::text::trim(v) : v);
}

void SYSFM::buildControls()
{
    setColors(this, Qt::black, colorOfBgr(0x00C0C0C0));
    const QFont labelFont = toolFont(12, true);
    const QFont boxFont = toolFont(12);
    for (int n = 1; n <= 12; ++n) {
        const BoxPlace &p = kPlaces[static_cast<std::size_t>(n)];
        QString caption = QString::fromUtf8(p.caption);
        if (caption.startsWith(QChar(0x3000))) {
            while (caption.startsWith(QChar(0x3000)))
                caption.remove(0, 1);
            caption.prepend(u'\n');
        }
        QLabel *l = addLabel(QStringLiteral("Label%1").arg(p.label), caption, {240, double(p.labelTop), 1820, double(p.labelHeight)},
                             labelFont);
        l->setWordWrap(true);
        setColors(l, colorOfBgr(0x00FF0000), colorOfBgr(0x00FFFF80));
        Label[static_cast<std::size_t>(p.label)] = l;

        EntryBox *box = addEntryBox(QStringLiteral("Text%1").arg(n), {2160, double(p.top), double(p.width), double(p.height)},
                                    boxFont);
        Text[static_cast<std::size_t>(n)] = box;
    }
    // The sample registration number stands in its box until the box gets the focus.
    Text[NUMBER_BOX]->setText(QStringLiteral("T1234567890123"));

    const QFont buttonFont = toolFont(13.5, true);
    Command1 = addButton(QStringLiteral("Command1"), QStringLiteral("終了"), {6120, 9000, 970, 380}, buttonFont);
    Command2 = addButton(QStringLiteral("Command2"), QStringLiteral("取消"), {7320, 9000, 970, 380}, buttonFont);

    for (int n = 1; n <= 12; ++n) {
        EntryBox *box = Text[static_cast<std::size_t>(n)];
        box->bind({[this, n] { return displayValue(n); }, [this, n] { return displayValue(n); },
                   [this, n](const QString &typed) { return take(n, typed); }});
        box->setNext(n < 12 ? static_cast<QWidget *>(Text[static_cast<std::size_t>(n + 1)]) : Command1);
        box->setEscape(EntryBox::Escape::Restore, n > 1 ? Text[static_cast<std::size_t>(n - 1)] : nullptr);
        // What is typed into a box and left for 終了, by a click or by Tab, stays there for 終了
        // to take.
        box->setTakers({Command1});
    }

    // Tab runs Text1 to Text6, the two buttons, then Text7 to Text12.
    QWidget *order[] = {Text[1], Text[2], Text[3], Text[4], Text[5], Text[6], Command1, Command2,
                        Text[7], Text[8], Text[9], Text[10], Text[11], Text[12]};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void SYSFM::Form_Load()
{
    placeCentred(8720, 10080);
    setPendingMessages([this] { return g.partialNotes.takeTexts("\r"); });
    holdPendingMessages(true); // a record shown in part is told once the window stands
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    SYSF_FIELDS_CLEAR(g);
    const bool read = guarded(
        [this] {
            readOwnRecord(g, path());
            if (g.recordCount > 0) {
                SYSF_TO_EDIT(g);
                for (int n = 1; n <= 12; ++n)
                    Text[static_cast<std::size_t>(n)]->setTextFromStart(QString::fromStdString(g.SYSF_EDIT[static_cast<std::size_t>(n)]));
            }
        },
        QStringLiteral("自社データを読めませんでした。"));
    // A record that could not be read is never written over with the empty boxes: only 取消
    // ends the tool then.
    Command1->setEnabled(read);
    show();
    raise();
    activateWindow();
    Text[1]->setFocus(Qt::OtherFocusReason);
    holdPendingMessages(false);
    showPendingMessages();
}

bool SYSFM::take(int n, const QString &typed)
{
    if (n == RATE_BOX && !isReadableRate(typed.toStdString())) {
        userError(QString::fromUtf8(RATE_REFUSAL));
        // The refused text stays, selected, with the focus: the box shows no rate that is not
        // the one in effect.
        Text[RATE_BOX]->setFocus(Qt::OtherFocusReason);
        Text[RATE_BOX]->selectAll();
        return false;
    }
    // The rate goes in without blanks around it, as its box shows it: quotedesk reads a
    // percentage's cost rate from the field's first six characters, which leading blanks would
    // push the digits out of.
    g.SYSF_EDIT[static_cast<std::size_t>(n)] = n == RATE_BOX ? qd::text::trim(typed.toStdString()) : typed.toStdString();
    return true;
}

void SYSFM::Command1_Click()
{
    // Text typed without Enter is taken as Enter takes it; a refused rate writes nothing.
    for (int n = 1; n <= 12; ++n)
        if (!Text[static_cast<std::size_t>(n)]->takeTyped())
            return;
    Command1->setFocus(Qt::OtherFocusReason);
    SYSF_SEP_SET(g);
    SYSF_REC_SET(g);
    // The window stays open when the record cannot be written, with what was typed.
    if (!guarded([this] { writeOwnRecord(g, path()); },
                 QStringLiteral("自社データを保存できませんでした。元のファイルはそのままです。")))
        return;
    unload();
}

void SYSFM::Command2_Click() { unload(); }

} // namespace qd::maint
