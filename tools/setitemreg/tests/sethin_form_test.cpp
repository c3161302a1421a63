// SETHIN on the demo install folder, driven through the handlers a user's clicks and keys reach,
// with every dialog answered by the scripted seam.
#include <gtest/gtest.h>

#include <QApplication>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "platform/qt/scripted_seam.h"
#include "tests/qtsupport/every_step_press.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "records/set_files.h"
#include "tests/qtsupport/list_lines.h"
#include "tests/support/temp_install.h"
#include "tests/support/torn_file.h"
#include "tools/setitemreg/forms/sethin.h"

using namespace qd::setitemreg;
namespace r = qd::records;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;

namespace {

class SethinForm : public ::testing::Test {
protected:
    TempInstall inst;
    qd::qt::ScriptedSeam seam;
    qd::qt::SeamGuard guard{seam};
    SethinState g;
    std::unique_ptr<SETHIN> form;

    SethinForm()
    {
        seam.setScreenSizeOverride(qd::qt::ScreenSize{1280, 800, 96, 96, 0, 0});
        g.INST_DIR = inst.dir();
        form = std::make_unique<SETHIN>(g);
        form->Form_Load();
    }
    void TearDown() override { EXPECT_EQ(seam.problems().toStdString(), ""); }

    static int lineStarting(const ListBox *list, const QString &start)
    {
        for (int i = 0; i < list->lineCount(); ++i)
            if (list->lineText(i).startsWith(start))
                return i;
        return -1;
    }
    void choose(ListBox *list, const QString &start)
    {
        const int i = lineStarting(list, start);
        ASSERT_GE(i, 0) << list->objectName().toStdString() << " has no line " << start.toStdString();
        list->setListIndex(i);
    }
    void typeInto(EntryBox *box, const QString &text)
    {
        box->GotFocus();
        box->setText(text);
        box->KeyDown(13);
    }
    // Major 01, class 01, kind 1 1000, kind 2 `kind2`, section 01, colour 03, the first price line.
    void chooseItem(const QString &kind2 = "1001")
    {
        choose(form->List2, "01");
        choose(form->List1, "01");
        choose(form->List3, "1000");
        choose(form->List4, kind2);
        choose(form->List5, "01");
        choose(form->List7, "03");
        form->List6->setListIndex(0);
    }
    std::filesystem::path setFile(int code) const { return inst.data() / r::setFileName(code); }
};

} // namespace

TEST_F(SethinForm, ANewSetIsMadeThroughTheListsAndShowsTheSharedTotalWhenOpenedAgain)
{
    EXPECT_TRUE(form->List9->isVisible());
    EXPECT_EQ(form->List9->lineCount(), 2); // the demo's two sets
    EXPECT_FALSE(form->Command1->isEnabled());

    typeInto(form->Text1, "12");
    EXPECT_TRUE(g.SET_OPEN);
    EXPECT_FALSE(std::filesystem::exists(setFile(12)));
    typeInto(form->Text52, "勝手口セット");
    EXPECT_TRUE(form->List2->isVisible());
    EXPECT_FALSE(form->Command1->isEnabled()); // no price line chosen yet
    chooseItem();
    ASSERT_TRUE(form->Command1->isEnabled());
    EXPECT_FALSE(form->Command2->isEnabled()); // no component of the set was chosen

    seam.answerInput("2", [](const qd::qt::InputRequest &req) {
        EXPECT_EQ(req.prompt, "数量を入れてください。");
        EXPECT_EQ(req.title, "単位数量");
    });
    form->Command1_Click();
    EXPECT_EQ(readBytes(setFile(12)).size(), 160u);
    EXPECT_FALSE(g.SET_OPEN); // back at the start
    EXPECT_TRUE(form->List9->isVisible());

    const int line = lineStarting(form->List9, "勝手口セット");
    ASSERT_GE(line, 0);
    EXPECT_TRUE(form->List9->lineText(line).endsWith("SET00012.TXT"));
    form->List9->setListIndex(line);
    ASSERT_EQ(form->List8->lineCount(), 1);
    EXPECT_EQ(form->Text1->text(), "00012");
    g.SET_CTL.get(1, g.SET_REC);
    const std::int64_t total = r::SET_TOTAL_OF(g, {g.SET_REC});
    EXPECT_GT(total, 0);
    EXPECT_EQ(form->Text2->text().toStdString(), qd::text::format(total, "####,###,##0"));
    EXPECT_EQ(total, 2 * r::SET_ITEM_PRICE(g, g.SET_REC).listPrice);
}

TEST_F(SethinForm, CancelAddsNothingAndDeleteShrinksTheFileByOneRecord)
{
    typeInto(form->Text1, "1");
    ASSERT_EQ(form->List8->lineCount(), 2);
    const std::string before = readBytes(setFile(1));

    // Cancel in the quantity question changes nothing.
    typeInto(form->Text52, "引違い窓（網戸付）セット");
    chooseItem();
    seam.cancelInput();
    form->Command1_Click();
    EXPECT_EQ(readBytes(setFile(1)), before);

    // A component chosen and deleted: the file is one record shorter, no work copy is left.
    typeInto(form->Text1, "1");
    form->List8->setLineSelected(0, true);
    form->List8->setListIndex(0);
    form->Command3_Click();
    EXPECT_EQ(readBytes(setFile(1)), before.substr(160));
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "WSET00001.TXT"));
    EXPECT_EQ(form->List8->lineCount(), 1);
}

TEST_F(SethinForm, ChangeWaitsForAChosenComponentAndReplacesIt)
{
    typeInto(form->Text1, "1");
    ASSERT_EQ(form->List8->lineCount(), 2);
    EXPECT_FALSE(form->Command2->isEnabled());
    const std::string before = readBytes(setFile(1));

    form->List8->setListIndex(0);                 // the panel shows component 1
    EXPECT_EQ(form->Text26->text(), "1");
    EXPECT_FALSE(form->Frame2->box("Text8")->text().isEmpty());
    form->List8_KeyDown(13);                      // the lists are set on it
    EXPECT_GE(form->List6->listIndex(), 0);
    choose(form->List7, "02");                    // another colour
    ASSERT_TRUE(form->Command2->isEnabled());
    seam.answerInput("4", [](const qd::qt::InputRequest &req) { EXPECT_EQ(req.defaultText, "1"); });
    form->Command2_Click();

    const std::string after = readBytes(setFile(1));
    r::Record rec(r::SetItem::layout());
    rec.setBytes(after.substr(0, 160));
    EXPECT_EQ(rec.raw(r::SetItem::IRO_CD), "02");
    EXPECT_EQ(rec.raw(r::SetItem::SURYO), "00004");
    EXPECT_EQ(rec.raw(r::SetItem::KIGO), before.substr(45, 25)); // the same price line
    EXPECT_EQ(after.substr(160), before.substr(160));
    EXPECT_EQ(form->List8->lineCount(), 2);
}

TEST_F(SethinForm, AnotherMajorClassForgetsTheColourChosenUnderTheLastOne)
{
    typeInto(form->Text1, "40");
    typeInto(form->Text52, "窓セット");
    chooseItem(); // bronze, colour 03 of the sashes
    EXPECT_EQ(g.SEL_IRO, 3);
    // The exterior items have a colour 03 too (white), which the user has not chosen.
    choose(form->List2, "03");
    EXPECT_EQ(g.SEL_IRO, 0);
    EXPECT_LT(form->List7->listIndex(), 0);
    // Back to the sashes, a price line chosen and no colour: the list shows none, nor does the
    // component.
    choose(form->List2, "01");
    EXPECT_LT(form->List7->listIndex(), 0);
    choose(form->List1, "01");
    choose(form->List3, "1000");
    choose(form->List4, "1001");
    choose(form->List5, "01");
    ASSERT_GT(form->List6->lineCount(), 0);
    form->List6->setListIndex(0);
    seam.answerInput("1");
    form->Command1_Click();

    r::Record rec(r::SetItem::layout());
    rec.setBytes(readBytes(setFile(40)));
    EXPECT_EQ(rec.raw(r::SetItem::MAKER_CD), "01");
    EXPECT_EQ(rec.raw(r::SetItem::IRO_CD), "00");
}

TEST_F(SethinForm, RefusedInputsChangeNothing)
{
    // Set codes that no file name could give back.
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
        EXPECT_EQ(m.text, "セットコードは 1～99999 で入力して下さい！");
        EXPECT_EQ(m.title, "setitemreg");
    });
    typeInto(form->Text1, "0");
    seam.answerMessage(qd::qt::Answer::Ok);
    typeInto(form->Text1, "-1");
    form->Text1->GotFocus();
    form->Text1->setText("123456"); // the box takes five characters: "12345"
    EXPECT_EQ(form->Text1->text(), "12345");
    EXPECT_FALSE(g.SET_OPEN);
    typeInto(form->Text1, "abc"); // no number: nothing happens
    EXPECT_FALSE(g.SET_OPEN);

    // A blank name is the mark of a record that is no component.
    typeInto(form->Text1, "30");
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) { EXPECT_EQ(m.text, "セット名を入力して下さい！"); });
    typeInto(form->Text52, "   ");
    EXPECT_FALSE(form->List2->isVisible());

    // A press on the price lines with none chosen shows nothing.
    typeInto(form->Text52, "新しいセット");
    form->List6_MouseDown();
    EXPECT_FALSE(form->Frame3->isVisible());

    // A set file without components, but with records, is deleted only when the user says so.
    r::Record blankName(r::SetItem::layout());
    blankName.setSeparators();
    writeBytes(setFile(31), blankName.bytes());
    typeInto(form->Text1, "31");
    EXPECT_EQ(form->List8->lineCount(), 0);
    seam.answerMessage(qd::qt::Answer::No);
    form->Command3_Click();
    EXPECT_TRUE(std::filesystem::exists(setFile(31)));
    seam.answerMessage(qd::qt::Answer::Yes);
    form->Command3_Click();
    EXPECT_FALSE(std::filesystem::exists(setFile(31)));
}

TEST_F(SethinForm, PanelsShowEveryNameFromItsStart)
{
    // Names are padded to their fields' widths: a box that showed the end of a long padded name
    // would show "違い２枚建" for "引違い２枚建", or "外付" for the section "半外付".
    const auto fromStart = [](const PriceFrame *frame) {
        int shown = 0;
        for (const QLineEdit *b : frame->findChildren<QLineEdit *>()) {
            if (b->text().isEmpty())
                continue;
            ++shown;
            EXPECT_EQ(b->cursorPosition(), 0) << frame->objectName().toStdString() << " "
                                              << b->objectName().toStdString() << " " << b->text().toStdString();
        }
        return shown;
    };
    typeInto(form->Text1, "1");
    form->List8->setListIndex(0);
    EXPECT_EQ(qd::text::trim(form->Frame2->box("Text3")->text().toStdString()), "引違い２枚建");
    EXPECT_GT(fromStart(form->Frame2), 10);

    form->List8_KeyDown(13);
    ASSERT_GE(form->List6->listIndex(), 0);
    form->List6_MouseDown();
    EXPECT_GT(fromStart(form->Frame3), 10);
}

TEST_F(SethinForm, ARefusedWriteSaysWhy)
{
    const auto saysWhy = [this](const char *why) {
        seam.answerMessage(qd::qt::Answer::Ok, [why](const qd::qt::MessageRequest &m) {
            EXPECT_NE(m.text.toStdString().find(why), std::string::npos) << m.text.toStdString();
            EXPECT_NE(m.text.toStdString().find("SET00001.TXT"), std::string::npos) << m.text.toStdString();
        });
    };
    // Another program took a component out after the set was listed.
    typeInto(form->Text1, "1");
    const std::string before = readBytes(setFile(1));
    writeBytes(setFile(1), before.substr(160));
    form->List8->setLineSelected(0, true);
    form->List8->setListIndex(0);
    saysWhy("他のプログラムで変更されています");
    form->Command3_Click();
    EXPECT_EQ(readBytes(setFile(1)), before.substr(160));

    // The set file ends in a part of a record: opening it says so, adding to it is refused.
    const std::string cut = before + before.substr(0, 100);
    writeBytes(setFile(1), cut);
    seam.answerMessage(qd::qt::Answer::Ok, [this](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 100 バイトを除き、揃っているレコード 2 件だけを表示します。\r")));
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), setFile(1), 160));
    });
    typeInto(form->Text1, "1");
    EXPECT_EQ(form->List8->lineCount(), 2);
    typeInto(form->Text52, "窓セット");
    chooseItem();
    seam.answerInput("1");
    seam.answerMessage(qd::qt::Answer::Ok, [this](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), setFile(1), 160));
    });
    form->Command1->click();
    EXPECT_EQ(readBytes(setFile(1)), cut);
    EXPECT_EQ(seam.pendingAnswers(), 0);

    // A set file of a part of a record alone lists nothing, and its removal is refused without
    // asking first.
    const std::string part = before.substr(0, 100);
    writeBytes(setFile(1), part);
    form->Command4->click();
    seam.answerMessage(qd::qt::Answer::Ok, [](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("揃ったレコードが 1 件もないため、何も表示しません。\r")));
    });
    form->File1->setListIndex(lineStarting(form->File1, "SET00001.TXT"));
    EXPECT_EQ(form->List8->lineCount(), 0);
    seam.answerMessage(qd::qt::Answer::Ok, [this](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), setFile(1), 160));
    });
    form->Command3->click();
    EXPECT_EQ(readBytes(setFile(1)), part);
    EXPECT_EQ(seam.pendingAnswers(), 0);
}

// 追加, 変更 and 削除 under every step of the file layer failing (the set's lock, its read, the
// work copy, the rename, the lists read again afterwards), and each pressed again on a sound
// disk: a write that landed is told as landed where the set or a list cannot be read again, the
// window is then back at its start, and nothing is written twice.
TEST_F(SethinForm, AWriteIsToldAsItLandedAndNothingIsWrittenTwice)
{
    const std::string before = readBytes(setFile(1));
    const QString firstKigo = QString::fromStdString(qd::text::trim(before.substr(45, 25)));
    const auto openSet = [this] {
        form->Command4_Click();
        typeInto(form->Text1, "1");
    };
    const auto addItem = [&] {
        openSet();
        typeInto(form->Text52, "引違い窓（網戸付）セット");
        chooseItem("1002");
    };
    const auto changeColour = [&] {
        openSet();
        form->List8->setListIndex(0);
        form->List8_KeyDown(13);
        choose(form->List7, "02");
    };
    // The component the user deletes, chosen by its line where the list still shows it.
    const auto chooseFirst = [&] {
        openSet();
        if (const int i = lineStarting(form->List8, firstKigo); i >= 0) {
            form->List8->setLineSelected(i, true);
            form->List8->setListIndex(i);
        }
    };
    struct Command {
        const char *name;
        const char *landed;
        std::function<void()> choose;
        QPushButton *button;
        const char *quantity; // the answer of the quantity question; none for 削除
        bool chooseAgain;
    };
    const Command commands[] = {
        {"追加", "構成品を追加しました。", addItem, form->Command1, "2", false},
        {"変更", "構成品を変更しました。", changeColour, form->Command2, "4", true},
        {"削除", "構成品を削除しました。", chooseFirst, form->Command3, nullptr, true},
    };
    for (const Command &c : commands) {
        SCOPED_TRACE(c.name);
        qd::testing::EveryStepPress p;
        p.file = setFile(1);
        p.before = before;
        p.fileName = QStringLiteral("SET00001.TXT");
        // The lists read again after the write: the other set files and the price files.
        p.alsoNamed = {QString::fromStdString(inst.data().string())};
        p.asItWas = QStringLiteral("そのまま");
        p.landed = QString::fromUtf8(c.landed);
        p.fresh = [&] {
            writeBytes(setFile(1), before);
            c.choose();
        };
        p.script = [&] {
            if (c.quantity)
                seam.answerInput(QString::fromUtf8(c.quantity));
        };
        p.press = [&] { c.button->click(); };
        // The window is back at its start: no set open, nothing of the write ready to press.
        p.landedLeaves = [&] {
            EXPECT_EQ(g.SET_CODE, 0);
            EXPECT_FALSE(form->List8->isVisible());
            EXPECT_FALSE(form->Command3->isEnabled());
        };
        if (c.chooseAgain)
            p.again = [&] {
                c.choose();
                c.button->click();
            };
        // What a sound press writes.
        p.fresh();
        p.script();
        p.press();
        p.after = readBytes(setFile(1));
        ASSERT_NE(p.after, before);
        ASSERT_EQ(seam.pendingAnswers(), 0);

        const qd::testing::PressOutcomes outcomes = qd::testing::pressUnderEveryStep(seam, p);
        EXPECT_GT(outcomes.count("landed"), 0u) << "a list read again after the write fails in some runs";
        RecordProperty(std::string("outcomes ") + c.name, qd::testing::outcomesText(outcomes));
        EXPECT_EQ(outcomes.count("may hold"), 0u) << "a set is rewritten whole or not at all";
        EXPECT_FALSE(std::filesystem::exists(inst.data() / "WSET00001.TXT"));
    }
}

// The masters the entry lists read, cut short by more than half a record (counted rounded, that
// part would be one more line): each list shows the whole records and says so once.
TEST_F(SethinForm, MasterListsThatEndInAPartOfARecordShowTheirWholeRecordsAndSaySo)
{
    const std::filesystem::path makers = inst.data() / "MAKER.TXT", classes = inst.data() / "BUNRUI.TXT";
    const QString major = QString::fromStdString(readBytes(classes).substr(0, 2)); // of class record 1
    choose(form->List2, major);
    const int majors = form->List2->lineCount(), ofMajor = form->List1->lineCount();
    const std::string tornMakers = qd::testing::tearLastRecord(makers, 32, 20);
    const std::string tornClasses = qd::testing::tearLastRecord(classes, 32, 20);
    const auto tells = [this](const std::filesystem::path &file) {
        seam.answerMessage(qd::qt::Answer::Ok, [this, file](const qd::qt::MessageRequest &m) {
            EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 20 バイトを除き、揃っているレコード"))) << m.text.toStdString();
            EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), file, 32));
            EXPECT_TRUE(form->isVisible()) << "told before the window stands";
        });
    };

    form.reset();
    SethinState fresh;
    fresh.INST_DIR = inst.dir();
    form = std::make_unique<SETHIN>(fresh);
    tells(makers);
    form->Form_Load();
    EXPECT_EQ(form->List2->lineCount(), majors);
    tells(classes);
    choose(form->List2, major);
    EXPECT_EQ(form->List1->lineCount(), ofMajor);
    form->Command4->click(); // the lists filled again: nothing more to tell
    choose(form->List2, major);
    EXPECT_EQ(seam.pendingAnswers(), 0);
    EXPECT_EQ(readBytes(makers), tornMakers);
    EXPECT_EQ(readBytes(classes), tornClasses);
}

// Each list shows its lines whole at the window's size: the sets with their file names, the
// components and the master lists without the record numbers at the ends of their lines, a
// section and a colour with a name as wide as its field.
TEST_F(SethinForm, EveryListLineShowsWholeWithoutItsRecordNumber)
{
    const std::string wideName = qd::text::toCp932("アングル付二重サッシ");
    ASSERT_EQ(wideName.size(), 20u);
    for (const auto &[master, layout, name] : {std::tuple{"CIHO.TXT", &r::Section::layout(), int(r::Section::NAME)},
                                               std::tuple{"IRO.TXT", &r::Color::layout(), int(r::Color::NAME)}}) {
        std::string bytes = readBytes(inst.data() / master);
        const auto at = static_cast<std::size_t>(layout->fields[static_cast<std::size_t>(name)].offset);
        for (std::size_t rec = 0; rec + 32 <= bytes.size(); rec += 32)
            bytes.replace(rec + at, 20, wideName);
        writeBytes(inst.data() / master, bytes);
    }
    form->Command4_Click(); // the lists read the masters again
    QApplication::setActiveWindow(form.get());
    EXPECT_TRUE(qd::testing::linesShowWhole(form->List9));
    EXPECT_TRUE(form->List9->shownText(0).endsWith(QStringLiteral("  SET00001.TXT")));
    form->List9->setListIndex(0);
    EXPECT_TRUE(qd::testing::linesShowWhole(form->List8, 6));

    // Enter on a component puts every master list on it.
    form->List8->setListIndex(0);
    form->List8_KeyDown(13);
    const struct {
        ListBox *list;
        int recordDigits;
    } lists[] = {{form->List2, 0}, {form->List1, 5}, {form->List3, 6}, {form->List4, 6},
                 {form->List5, 4}, {form->List7, 4}, {form->List6, 6}};
    for (const auto &l : lists) {
        EXPECT_TRUE(l.list->isVisible()) << l.list->objectName().toStdString();
        EXPECT_TRUE(qd::testing::linesShowWhole(l.list, l.recordDigits));
    }
}
