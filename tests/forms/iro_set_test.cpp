// The colour form: its lists, the remembered choice, and the re-pricing of the selected rows by
// the colour slots of their list-price records.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "platform/files/record_file.h"
#include "platform/qt/list_box.h"
#include "platform/text/cp932.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/mainwindow/iro_set.h"
#include "records/layouts.h"
#include "tests/forms/edit_fixture.h"
#include "tests/qtsupport/list_lines.h"
#include "tests/support/torn_file.h"

using qd::forms::IRO_SET;
using qd::forms::KIHON;
namespace P = qd::records::Price;

namespace qd::testing {
namespace {

// Keys of the fixture's price lines: major class 01, class 09, kind 9901, section 01, then KIGO
// and BIKO in their 25 and 50 places, as product entry puts them into the sheet.
std::string key(const std::string &kigo, const std::string &biko = "")
{
    std::string k = "0109990101" + kigo;
    k.resize(35, ' ');
    k += biko;
    k.resize(85, ' ');
    return k;
}

class ColourForm : public EditFixture {
protected:
    // "\data\01099900.txt": TEST-1 with シルバー (01) 10,000 and ブロンズ (03) first at 12,000, then
    // again at 12,500; TEST-2 (BIKO 網戸別途) with シルバー only.
    void writePrices()
    {
        auto line = [](const std::string &kigo, const std::string &biko, std::vector<std::pair<int, int>> colourSlots) {
            qd::records::Record r(P::layout());
            r.setSeparators();
            r.setText(P::MAKER_CD, "01");
            r.setText(P::BUNRUI_CD, "09");
            r.setText(P::HINSYU2_CD, "9901");
            r.setText(P::CIHO_CD, "01");
            r.setText(P::KIGO, kigo);
            r.setText(P::BIKO, biko);
            int s = 1;
            for (const auto &[colour, price] : colourSlots) {
                r.setNumber(P::iroCd(s), colour, "000");
                r.setNumber(P::tanka(s), price, "0000000");
                ++s;
            }
            return r;
        };
        qd::files::RecordFile f((inst.data() / "01099900.txt").string(), 600);
        f.put(1, line("TEST-1", "", {{1, 10000}, {3, 12000}, {3, 12500}}).bytes());
        f.put(2, line("TEST-2", "網戸別途", {{1, 9000}}).bytes());
    }
    IRO_SET &form() { return *app->forms.ifLoaded<IRO_SET>(); }
    bool formLoaded() { return app->forms.isLoaded<IRO_SET>(); }
};

TEST_F(ColourForm, OkRepricesTheSelectedRowsOfTheChosenGroup)
{
    KIHON &k = openNew();
    writePrices();
    fill(2, {{col::HINMEI, "窓1"}, {col::IRO, "シルバー"}, {col::SURYO, "2"}, {col::KAKERITU, "60.00"},
             {col::TEIKA, "10,000"}});
    sheet().setCell(2, col::HACHU, key("TEST-1"));
    fill(3, {{col::HINMEI, "セット"}, {col::HACHU, "SE0109990101TEST-1"}, {col::IRO, "シルバー"}, {col::TEIKA, "5,000"}});
    fill(4, {{col::HINMEI, "ガラス"}, {col::HACHU, "0201100001FL-1"}, {col::IRO, "透明"}, {col::TEIKA, "700"}});
    fill(5, {{col::HINMEI, "窓2"}, {col::SURYO, "1"}, {col::KAKERITU, "50.00"}, {col::TEIKA, "9,000"}});
    sheet().setCell(5, col::HACHU, key("TEST-2", "網戸別途"));
    fill(6, {{col::HINMEI, "手入力"}, {col::HACHU, "abcdef-1"}, {col::TEIKA, "100"}});
    fill(7, {{col::HINMEI, "廃番"}, {col::HACHU, "0109980101OLD-1"}, {col::TEIKA, "200"}});

    // Rows 7 up to 2, the cursor in the last column.
    select(7, col::ZEI_GAKU, 2, col::ZEI_GAKU);
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    ASSERT_TRUE(formLoaded());
    IRO_SET &f = form();
    EXPECT_FALSE(k.isEnabled());
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(f.List1->lineCount(), 3);
    // The name fills 20 characters, so the record number stands in one column whatever the name.
    EXPECT_EQ(f.List1->lineText(1).toStdString(), "02 ガラス" + std::string(17, ' ') + "     00002");

    f.List1->setListIndex(0);
    ASSERT_EQ(f.List2->lineCount(), 5) << "the colours of group 01";
    f.List2->setListIndex(2);
    EXPECT_EQ(g().COLOR_PICK_CODE, "03");
    EXPECT_EQ(g().COLOR_PICK_NAME, "ブロンズ" + std::string(16, ' '));
    f.Command12_Click();

    EXPECT_EQ(cell(2, col::TEIKA), "12,500") << "the last slot of the colour wins";
    EXPECT_EQ(cell(2, col::IRO), "ブロンズ");
    EXPECT_EQ(cell(2, col::TANKA), "7,500");
    EXPECT_EQ(cell(2, col::KINGAKU), "15,000");
    EXPECT_EQ(cell(3, col::IRO), "シルバー") << "a set row keeps its cells";
    EXPECT_EQ(cell(3, col::TEIKA), "5,000");
    EXPECT_EQ(cell(4, col::IRO), "透明") << "a row of another group keeps its cells";
    EXPECT_EQ(cell(4, col::TEIKA), "700");
    EXPECT_EQ(trimmed(5, col::TEIKA), "") << "no slot for the colour: no list price";
    EXPECT_EQ(cell(5, col::IRO), "ブロンズ");
    EXPECT_EQ(trimmed(5, col::TANKA), "");
    EXPECT_EQ(cell(6, col::TEIKA), "100");
    EXPECT_FALSE(qd::files::fileExists((inst.data() / "abcdef00.txt").string()))
        << "a key that is no product names no price file";
    EXPECT_EQ(cell(7, col::TEIKA), "200");
    EXPECT_FALSE(qd::files::fileExists((inst.data() / "01099800.txt").string())) << "price files are only read";

    EXPECT_TRUE(k.isEnabled());
    EXPECT_TRUE(formLoaded()) << "the form stays for further colours";
    EXPECT_EQ(g().SEL_ROW, 2);
    EXPECT_EQ(g().SEL_ROW_END, 7);
    EXPECT_TRUE(sheet().redraw());

    // キャンセル: the cursor goes to the remembered row, one column right but never past the last.
    f.Command1_Click();
    EXPECT_FALSE(formLoaded());
    EXPECT_EQ(sheet().row(), 7);
    EXPECT_EQ(sheet().col(), col::ZEI_GAKU);
    EXPECT_EQ(cell(2, col::TEIKA), "12,500");
}

TEST_F(ColourForm, AnotherGroupDropsTheColourAndOkWaitsForOne)
{
    KIHON &k = openNew();
    writePrices();
    fill(2, {{col::HINMEI, "窓1"}, {col::IRO, "シルバー"}, {col::TEIKA, "10,000"}});
    sheet().setCell(2, col::HACHU, key("TEST-1"));
    click(2, col::HINMEI);
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    IRO_SET &f = form();
    f.List1->setListIndex(0);
    f.List2->setListIndex(2);
    f.List1->setListIndex(1);
    EXPECT_EQ(g().COLOR_PICK_GROUP, "02");
    EXPECT_EQ(g().COLOR_PICK_CODE, "00");
    EXPECT_EQ(g().COLOR_PICK_NAME, std::string(20, ' '));
    EXPECT_EQ(f.List2->lineCount(), 3);

    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "色名を選択して下さい！");
    });
    f.Command12_Click();
    EXPECT_EQ(cell(2, col::IRO), "シルバー");
    EXPECT_FALSE(k.isEnabled()) << "the form waits for a colour";

    f.List2->setListIndex(1);
    f.Command1_Click();
    EXPECT_TRUE(k.isEnabled());
    EXPECT_EQ(sheet().row(), 2);
    EXPECT_EQ(sheet().col(), col::KOSYO);

    // The choice is selected again when the form is shown again.
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    IRO_SET &again = form();
    EXPECT_EQ(again.List1->listIndex(), 1);
    EXPECT_EQ(again.List2->listIndex(), 1);
    EXPECT_EQ(g().COLOR_PICK_NAME, "型板" + std::string(18, ' '));
    // Group 01 with colour 01 gives no colour name.
    again.List1->setListIndex(0);
    again.List2->setListIndex(0);
    EXPECT_EQ(g().COLOR_PICK_NAME, std::string(20, ' '));

    // Closed by its title bar, the form gives the main window back.
    again.close();
    EXPECT_TRUE(k.isEnabled());
    EXPECT_FALSE(formLoaded());
}

// A master the form cannot open (a folder in its place) ends the command with a message, never
// the program: the main window and its document stay usable.
TEST_F(ColourForm, MastersThatCannotBeOpenedEndTheCommandNotTheProgram)
{
    KIHON &k = openNew();
    namespace fs = std::filesystem;
    auto aFolderInPlaceOf = [this](const char *file) {
        fs::rename(inst.data() / file, inst.data() / (std::string(file) + ".bak"));
        fs::create_directory(inst.data() / file);
    };
    auto putBack = [this](const char *file) {
        fs::remove(inst.data() / file);
        fs::rename(inst.data() / (std::string(file) + ".bak"), inst.data() / file);
    };
    auto tells = [](const char *file) {
        return [file](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.contains(QString::fromLatin1(file))) << m.text.toStdString();
        };
    };

    aFolderInPlaceOf("MAKER.TXT");
    sheet().setRedraw(false);
    seam.answerMessage(qd::qt::Answer::Ok, tells("MAKER.TXT"));
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    EXPECT_FALSE(formLoaded());
    EXPECT_TRUE(k.isEnabled());
    EXPECT_TRUE(sheet().redraw()) << "the sheet is drawn again";
    EXPECT_EQ(k.Combo2->count(), 1);
    putBack("MAKER.TXT");

    aFolderInPlaceOf("IRO.TXT");
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    ASSERT_TRUE(formLoaded());
    seam.answerMessage(qd::qt::Answer::Ok, tells("IRO.TXT"));
    form().List1->setListIndex(0);
    ASSERT_TRUE(formLoaded());
    form().Command1_Click();
    EXPECT_TRUE(k.isEnabled());
    EXPECT_EQ(k.Combo2->count(), 1);
}

TEST_F(ColourForm, TheFocusAloneChoosesNoGroupAndNoColour)
{
    KIHON &k = openNew();
    writePrices();
    fill(2, {{col::HINMEI, "窓1"}, {col::IRO, "シルバー"}, {col::TEIKA, "10,000"}});
    sheet().setCell(2, col::HACHU, key("TEST-1"));
    click(2, col::HINMEI);
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    IRO_SET &f = form();
    f.activateWindow();
    f.List1->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(g().COLOR_PICK_GROUP, "00") << "List1 has the focus, no group is chosen yet";

    f.List1->setListIndex(0);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(f.List1, &enter);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), f.List2);
    EXPECT_EQ(g().COLOR_PICK_CODE, "00") << "Enter moved the focus, it chose no colour";
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "色名を選択して下さい！");
    });
    f.Command12_Click();
    EXPECT_EQ(cell(2, col::IRO), "シルバー");
    f.Command1_Click();
}

TEST_F(ColourForm, ARowSavedAndOpenedAgainKeepsTheKeyTheRepricingNeeds)
{
    KIHON &k = openNew();
    writePrices();
    // TEST-2 carries a remark, so its key is longer than the line file's 発注品番 field.
    fill(3, {{col::HINMEI, "窓2"}, {col::IRO, "ブロンズ"}, {col::SURYO, "1"}, {col::KAKERITU, "50.00"},
             {col::TEIKA, "1"}});
    sheet().setCell(3, col::HACHU, key("TEST-2", "網戸別途"));
    const std::string txt = (inst.data() / "TXT").string();
    ASSERT_TRUE(qd::core::BUKKEN_FILE_WRITE(g(), txt + "/鍵見本.TXT", "鍵見本.TXT"));
    g().DOC_DIR = txt;
    g().CUR_DOC_NAME = "鍵見本";
    ASSERT_TRUE(qd::core::BUKKEN_FILE_READ(g()));
    EXPECT_EQ(qd::text::trimRight(cell(3, col::HACHU)), qd::text::trimRight(key("TEST-2", "網戸別途")));

    select(3, col::HINMEI, 3, col::HINMEI);
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    IRO_SET &f = form();
    f.List1->setListIndex(0);
    f.List2->setListIndex(0); // シルバー
    f.Command12_Click();
    EXPECT_EQ(cell(3, col::TEIKA), "9,000");
    EXPECT_EQ(cell(3, col::TANKA), "4,500");
    f.Command1_Click();
}

// The group and colour lists show a code and a name as wide as its field whole, without the
// record number at the end of the line and without a scroll bar; the form is as wide as its lists
// need, the colour list beside the group list.
TEST_F(ColourForm, EveryListLineShowsWholeWithoutItsRecordNumber)
{
    KIHON &k = openNew();
    const std::string wide = "アアアアアアアアアア"; // the 20 bytes of the name field
    auto append = [this](const char *file, qd::records::Record r) {
        r.setSeparators();
        writeBytes(inst.data() / file, readBytes(inst.data() / file) + r.bytes());
    };
    qd::records::Record group(qd::records::MajorClass::layout());
    group.setText(qd::records::MajorClass::MAKER_CD, "09");
    group.setText(qd::records::MajorClass::NAME, wide);
    append("MAKER.TXT", group);
    qd::records::Record colour(qd::records::Color::layout());
    colour.setText(qd::records::Color::MAKER_CD, "01");
    colour.setText(qd::records::Color::IRO_CD, "09");
    colour.setText(qd::records::Color::NAME, wide);
    append("IRO.TXT", colour);

    k.menus().click(QStringLiteral("IRO_SETTEI"));
    IRO_SET &f = form();
    f.List1->setListIndex(0);
    EXPECT_TRUE(linesShowWhole(f.List1, 5));
    EXPECT_TRUE(linesShowWhole(f.List2, 4));
    EXPECT_EQ(f.List1->shownText(f.List1->lineCount() - 1).toStdString(), "09 " + wide);
    EXPECT_EQ(f.Label2->x(), f.List2->x());
    EXPECT_LE(f.List2->x(), f.List1->geometry().right() + 1);
    EXPECT_LT(f.List2->geometry().right(), f.width());
    // The group chosen again keeps its colour, shown chosen.
    f.List2->setListIndex(2);
    f.List1->setListIndex(0);
    EXPECT_EQ(f.List2->listIndex(), 2);
    EXPECT_EQ(g().COLOR_PICK_CODE, f.List2->lineText(2).left(2).toStdString());
    f.Command1_Click();
}

// The form stands below and left of the last mouse position over the sheet; where that would put
// a part of it off the screen's free area (here 1366 x 768 with a task bar of 40 pixels at the
// foot), it moves the least way that shows it whole.
TEST_F(ColourForm, TheFormStandsWhereTheMouseWasInsideTheScreen)
{
    seam.setScreenSizeOverride(qd::qt::ScreenSize{1366, 768, 96, 96, 0, 0, 0, 0, 1366, 728});
    KIHON &k = openNew();
    struct Case {
        int mouseX, mouseY; // twips over the sheet
        int x, y;           // pixels; -1: as far right or down as the free area lets it stand
    } const cases[] = {
        {6000, 1500, 367, 180}, // (6000 - 500) / 15, (1500 + 1200) / 15: where the rule puts it
        {100, 1500, 0, 180},    // 33 pixels off the left edge
        {20000, 1500, -1, 180},
        {6000, 8000, 367, -1},
        {0, 9000, 0, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.mouseX) + ", " + std::to_string(c.mouseY));
        k.GRID1_MouseMove(0, 0, c.mouseX, c.mouseY);
        k.menus().click(QStringLiteral("IRO_SETTEI"));
        IRO_SET &f = form();
        const QRect frame = f.frameGeometry();
        EXPECT_EQ(frame.x(), c.x >= 0 ? c.x : 1366 - frame.width());
        EXPECT_EQ(frame.y(), c.y >= 0 ? c.y : 728 - frame.height());
        f.Command1_Click();
    }
}

// Major classes and colours that end in a part of a record (more than half of one: counted
// rounded it would be a line) list their whole records, and the form says so once it stands.
TEST_F(ColourForm, ListsThatEndInAPartOfARecordShowTheWholeRecordsAndSaySo)
{
    KIHON &k = openNew();
    const std::filesystem::path makers = inst.data() / "MAKER.TXT", colours = inst.data() / "IRO.TXT";
    const std::string firstGroup = readBytes(colours).substr(0, 2); // the group of colour record 1
    k.menus().click(QStringLiteral("IRO_SETTEI"));
    ASSERT_TRUE(form().List1->lineText(0).startsWith(QString::fromStdString(firstGroup)));
    form().List1->setListIndex(0);
    const int groups = form().List1->lineCount(), shades = form().List2->lineCount();
    form().Command1_Click();

    const std::string tornMakers = tearLastRecord(makers, 32, 20);
    const std::string tornColours = tearLastRecord(colours, 32, 20);
    for (const std::filesystem::path &file : {makers, colours})
        seam.answerMessage(qd::qt::Answer::Ok, [this, file](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(formLoaded() && form().isVisible()) << "told before the form stands";
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 20 バイトを除き、揃っているレコード")));
            EXPECT_TRUE(tellsOfTornFile(m.text.toStdString(), file, 32));
        });
    k.menus().click(QStringLiteral("IRO_SETTEI")); // the group chosen before is chosen again
    IRO_SET &f = form();
    EXPECT_EQ(f.List1->lineCount(), groups);
    EXPECT_EQ(f.List2->lineCount(), shades);
    EXPECT_EQ(seam.messages().size(), 2u);
    f.List1->setListIndex(1);
    f.List1->setListIndex(0);
    EXPECT_EQ(f.List2->lineCount(), shades);
    EXPECT_EQ(seam.messages().size(), 2u) << "told once";
    f.Command1_Click();
    EXPECT_EQ(readBytes(makers), tornMakers);
    EXPECT_EQ(readBytes(colours), tornColours);
}

} // namespace
} // namespace qd::testing
