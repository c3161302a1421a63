// classmaint and colormaint: the major classes in List2, the classes or colours of the chosen one
// in List1, and the major classes that take no new records.
#include "tools/maintenance/tests/maint_fixture.h"

#include <QPushButton>

namespace qd::testing {
namespace {

using qd::records::Record;

class TwoLevel : public MaintTest {
protected:
    TwoLevel()
    {
        const auto &g = tool("groupmaint");
        Record gone = record(g, 2, "消えた大分類");
        g.markDeleted(gone);
        writeBytes(file("MAKER.TXT"), joined({record(g, 3, "エクステリア"), gone, record(g, 1, "アルミサッシ")}));
    }
};

TEST_F(TwoLevel, MajorClassesAreListedDeletedOnesIncludedButTakeNoNewRecords)
{
    auto c = open("classmaint");
    EXPECT_EQ(focus(), c->List2);
    EXPECT_FALSE(c->Command1->isEnabled());
    // classmaint sorts its major classes, colormaint keeps the file's order.
    EXPECT_EQ(lines(c->List2), (QStringList{QStringLiteral("00 消えた大分類") + QString(14, u' '),
                                            QStringLiteral("01 アルミサッシ") + QString(14, u' '),
                                            QStringLiteral("03 エクステリア") + QString(14, u' ')}));
    auto k = open("colormaint");
    EXPECT_TRUE(k->List2->lineText(0).startsWith(QStringLiteral("03 ")));
    EXPECT_TRUE(k->List2->lineText(1).startsWith(QStringLiteral("00 ")));
    k.reset();
    QApplication::setActiveWindow(c.get());

    c->List2->setListIndex(0);
    EXPECT_EQ(c->g.CHOSEN_MAJOR, 0);
    EXPECT_FALSE(c->Command1->isEnabled()) << "nothing is added under a deleted major class";
    EXPECT_TRUE(c->Command4->isEnabled());

    c->List2->setListIndex(1);
    EXPECT_TRUE(c->Command1->isEnabled());
    type(c->Text1, QStringLiteral("5"));
    type(c->Text2, QStringLiteral("引違い窓"));
    press(c->Command1);
    EXPECT_EQ(readBytes(file("BUNRUI.TXT")), joined({record(tool("classmaint"), 5, "引違い窓", 1)}));
    EXPECT_EQ(lines(c->List1), QStringList{QStringLiteral("05 引違い窓") + QString(16 + 10, u' ') + QStringLiteral("00001")});
    EXPECT_EQ(focus(), c->Text1);

    // groupmaint deletes the major class meanwhile: the add is refused and the lists start over.
    const auto &g = tool("groupmaint");
    Record gone = record(g, 1, "アルミサッシ");
    g.markDeleted(gone);
    writeBytes(file("MAKER.TXT"), joined({record(g, 3, "エクステリア"), gone}));
    type(c->Text1, QStringLiteral("6"));
    seam.answerMessage(1);
    press(c->Command1);
    EXPECT_TRUE(seam.messages().last().startsWith(QStringLiteral("この大分類は削除されています。")));
    EXPECT_EQ(readBytes(file("BUNRUI.TXT")).size(), 32u);
    EXPECT_EQ(c->List2->lineCount(), 2);
    EXPECT_EQ(c->List1->lineCount(), 0);
    EXPECT_FALSE(c->Command1->isEnabled());
}

TEST_F(TwoLevel, EachClassIsListedUnderItsOwnMajorClassOnly)
{
    const auto &t = tool("colormaint");
    writeBytes(file("IRO.TXT"), joined({record(t, 1, "シルバー", 1), record(t, 1, "ホワイト", 3), record(t, 2, "ブロンズ", 1),
                                        record(t, 4, "孤児", 7)}));
    auto k = open("colormaint");
    k->List2->setListIndex(2); // 01
    EXPECT_EQ(lines(k->List1).size(), 2);
    EXPECT_TRUE(k->List1->lineText(0).endsWith(QString(50, u' ') + QStringLiteral("00001")));
    k->List2->setListIndex(0); // 03
    EXPECT_EQ(lines(k->List1).size(), 1);
    EXPECT_TRUE(k->List1->lineText(0).startsWith(QStringLiteral("01 ホワイト")));

    // A change keeps the record under the major class it was listed under.
    k->List1->setListIndex(0);
    EXPECT_TRUE(k->Command2->isEnabled());
    type(k->Text2, QStringLiteral("パールホワイト"));
    press(k->Command2);
    EXPECT_EQ(readBytes(file("IRO.TXT")).substr(32, 32), record(t, 1, "パールホワイト", 3).bytes());
    EXPECT_TRUE(k->Command1->isEnabled());
    EXPECT_EQ(focus(), k->List1);
}

// Enter lets no such code in (ValuesBeyondTheirFieldsAreRefusedWithWhatTheFieldTakes); a code
// a record was read with is held there when the box is left.
TEST_F(TwoLevel, LeavingTheCodeBoxOutsideItsRangeTakesTheFocusBack)
{
    struct Case {
        const char *program;
        std::int16_t code;
        bool held;
    } const cases[] = {
        {"colormaint", 0, true},  {"colormaint", -3, true}, {"colormaint", 1, false},
        {"colormaint", 99, false}, {"classmaint", 0, true},  {"classmaint", -3, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + std::to_string(c.code));
        auto f = open(c.program);
        f->List2->setListIndex(1);
        f->Text1->setFocus();
        f->g.EDIT_CODE = c.code;
        f->Text2->setFocus();
        EXPECT_EQ(focus(), c.held ? static_cast<QWidget *>(f->Text1) : f->Text2);
        EXPECT_EQ(seam.messages().size(), 0);
    }
    auto f = open("colormaint");
    f->List2->setListIndex(1);
    f->Text1->setFocus();
    f->Text1->setText(QStringLiteral("99"));
    f->Text1->KeyDown(13);
    EXPECT_EQ(focus(), f->Text2);
    EXPECT_EQ(f->g.EDIT_CODE, 99);
}

} // namespace
} // namespace qd::testing
