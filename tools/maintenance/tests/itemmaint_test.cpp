// itemmaint: every item listed, the duplicate-code warning and the refusal of "追加" of a code
// the file holds, and deletion that takes the chosen items out of the file at once, also with
// another program writing the file.
#include "tools/maintenance/tests/maint_fixture.h"

#include <QProcess>
#include <QPushButton>

namespace qd::testing {
namespace {

using qd::records::Record;
namespace fs = std::filesystem;

const QString DUPLICATE = QStringLiteral("ｺｰﾄﾞが重複しています。やり直して下さい！");

class ItemMaint : public MaintTest {
protected:
    const qd::maint::ListTool &t = tool("itemmaint");
    Record item(int code, const std::string &name, int price = 0, int cost = 0) const
    {
        return record(t, code, name, 0, price, cost);
    }
    Record deletedItem() const
    {
        Record r = item(9, "消した品");
        t.markDeleted(r);
        return r;
    }
};

TEST_F(ItemMaint, EveryItemIsListedAndChosenItemsLeaveTheFileAtOnceInFileOrder)
{
    const std::vector<Record> items = {item(4, "D", 1234567, 1000), item(2, "B"), deletedItem(), item(1, "Aアルミ"),
                                       item(3, "C")};
    writeBytes(file("TANPIN.TXT"), joined(items));
    auto f = open("itemmaint");
    ASSERT_EQ(f->List1->lineCount(), 5);
    EXPECT_EQ(f->List1->lineText(0).toStdString(), "0000 消した品" + std::string(46 + 50, ' ') + "00003");
    const int d = lineStartingWith(f->List1, QStringLiteral("0004"));
    f->List1->setListIndex(d);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("4"));
    EXPECT_EQ(f->Text3->text(), QStringLiteral("1,234,567"));
    EXPECT_EQ(f->Text4->text(), QStringLiteral("1,000"));

    // The marked item, chosen and changed as it was read, would be written back with the code no
    // item may have: refused, with what the code takes.
    f->List1->setListIndex(0);
    seam.answerMessage(1);
    press(f->Command2);
    EXPECT_EQ(seam.messages().last(), QStringLiteral("コードは 1～9999 で入力して下さい！"));
    EXPECT_EQ(focus(), f->Text1);
    EXPECT_EQ(readBytes(file("TANPIN.TXT")), joined(items));
    f->List1->setListIndex(d);

    // D and B chosen together (Ctrl-click); 削除 takes them and the marked item out at once.
    f->List1->setLineSelected(lineStartingWith(f->List1, QStringLiteral("0002")), true);
    EXPECT_EQ(f->List1->selectedLines().size(), 2);
    press(f->Command3);
    EXPECT_EQ(readBytes(file("TANPIN.TXT")), joined({items[3], items[4]}));
    EXPECT_FALSE(fs::exists(file("WTANPIN.TXT")));
    EXPECT_EQ(lines(f->List1).size(), 2);
    EXPECT_EQ(focus(), f->Text1);
    EXPECT_TRUE(f->Command1->isEnabled());
    EXPECT_FALSE(f->Command3->isEnabled());
    EXPECT_EQ(f->g.EDIT_CODE, 1) << "the start runs again";

    // 終了 rewrites nothing.
    press(f->Command5);
    EXPECT_TRUE(f->isUnloaded());
    EXPECT_EQ(readBytes(file("TANPIN.TXT")), joined({items[3], items[4]}));
}

TEST_F(ItemMaint, ADuplicateCodeIsReportedButNotTheCodeOfTheItemBeingChanged)
{
    writeBytes(file("TANPIN.TXT"), joined({item(1, "A"), item(3, "C")}));
    auto f = open("itemmaint");
    seam.answerMessage(1);
    type(f->Text1, QStringLiteral("3"));
    EXPECT_EQ(seam.messages().last(), DUPLICATE);
    EXPECT_EQ(focus(), f->Text1);

    f->List1->setListIndex(1);
    type(f->Text1, QStringLiteral("3"));
    EXPECT_EQ(seam.messages().size(), 1) << "its own code";
    EXPECT_EQ(focus(), f->Text2);
    seam.answerMessage(1);
    type(f->Text1, QStringLiteral("1"));
    EXPECT_EQ(seam.messages().size(), 2);

    // A new item takes its place in the list by its code.
    press(f->Command4);
    type(f->Text1, QStringLiteral("2"));
    type(f->Text2, QStringLiteral("B"));
    type(f->Text3, QStringLiteral("100"));
    type(f->Text4, QStringLiteral("60"));
    press(f->Command1);
    EXPECT_TRUE(f->List1->lineText(1).startsWith(QStringLiteral("0002 B")));
    EXPECT_EQ(readBytes(file("TANPIN.TXT")).substr(256), item(2, "B", 100, 60).bytes());

    // A code typed without Enter and taken by "追加" is warned of as Enter warns of it, before
    // anything is written; pressed again, "追加" finds the code in the file and refuses it, the
    // typed values kept for another code.
    const std::string before = readBytes(file("TANPIN.TXT"));
    typeOnly(f->Text1, QStringLiteral("3"));
    seam.answerMessage(1);
    press(f->Command1);
    EXPECT_EQ(seam.messages().size(), 3);
    EXPECT_EQ(seam.messages().last(), DUPLICATE);
    EXPECT_EQ(focus(), f->Text1);
    EXPECT_EQ(readBytes(file("TANPIN.TXT")), before);
    seam.answerMessage(1);
    press(f->Command1);
    EXPECT_EQ(seam.messages().size(), 4);
    EXPECT_EQ(seam.messages().last(), DUPLICATE);
    EXPECT_EQ(readBytes(file("TANPIN.TXT")), before);
    EXPECT_EQ(focus(), f->Text1);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("3"));
    type(f->Text1, QStringLiteral("6"));
    press(f->Command1);
    EXPECT_EQ(readBytes(file("TANPIN.TXT")), before + item(6, "B", 100, 60).bytes());
}

TEST_F(ItemMaint, AnItemAppendedByAnotherProgramSurvivesTheAddAndTheCompaction)
{
    writeBytes(file("TANPIN.TXT"), joined({item(1, "A"), item(2, "B")}));
    auto f = open("itemmaint");

    QProcess other;
    other.setWorkingDirectory(QString::fromStdString(inst.path().string()));
    other.start(QStringLiteral(QD_TEST_BIN_DIR "/maint_append_item_helper"), {QStringLiteral("7"), QStringLiteral("他から")});
    ASSERT_TRUE(other.waitForFinished(10000));
    ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();

    type(f->Text1, QStringLiteral("5"));
    type(f->Text2, QStringLiteral("E"));
    press(f->Command1);
    std::string bytes = readBytes(file("TANPIN.TXT"));
    ASSERT_EQ(bytes.size(), 4u * 128);
    EXPECT_EQ(bytes.substr(2 * 128, 4), "0007");
    EXPECT_EQ(bytes.substr(3 * 128, 128), item(5, "E").bytes());
    EXPECT_EQ(lines(f->List1).size(), 4);

    f->List1->setListIndex(lineStartingWith(f->List1, QStringLiteral("0002")));
    press(f->Command3);
    bytes = readBytes(file("TANPIN.TXT"));
    ASSERT_EQ(bytes.size(), 3u * 128);
    EXPECT_EQ(bytes.substr(128, 4), "0007");
}

TEST_F(ItemMaint, AFailedCompactionLeavesTheFileAsItWasWithoutMarks)
{
    const std::string bytes = joined({item(1, "A"), item(2, "B"), item(3, "C")});
    writeBytes(file("TANPIN.TXT"), bytes);
    for (const auto step : {qd::files::FileStep::Write, qd::files::FileStep::Flush, qd::files::FileStep::Rename}) {
        auto f = open("itemmaint");
        f->List1->setListIndex(1);
        seam.answerMessage(1, [](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.contains(QStringLiteral("TANPIN.TXT"))) << m.text.toStdString();
        });
        {
            qd::files::ScopedFault fault(step, 1);
            press(f->Command3);
            EXPECT_TRUE(qd::files::faults::fired());
        }
        EXPECT_EQ(readBytes(file("TANPIN.TXT")), bytes);
        EXPECT_FALSE(fs::exists(file("WTANPIN.TXT")));
    }
}

} // namespace
} // namespace qd::testing
