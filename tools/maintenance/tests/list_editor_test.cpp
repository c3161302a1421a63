// The list-type tools that mark deleted records (groupmaint, sectmaint, classmaint, colormaint,
// glassmaint, partnermaint): adding, changing, deleting and the exit rewrite, the values they
// refuse, and what they do when another program changed the master in between.
#include "tools/maintenance/tests/maint_fixture.h"

#include <QClipboard>
#include <QPushButton>

#include <cerrno>

#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "tests/qtsupport/fault_press.h"
#include "tests/qtsupport/list_lines.h"
#include "tests/support/fault_runs.h"

namespace qd::testing {
namespace {

using qd::maint::ListEditor;
using qd::records::Record;
namespace fs = std::filesystem;

TEST_F(MaintTest, GroupmaintAddsTheRecordOfTheLayoutAndRewritesOnlyOnEnd)
{
    auto f = open("groupmaint");
    EXPECT_TRUE(fs::exists(file("MAKER.TXT"))) << "a missing master is made empty";
    EXPECT_EQ(f->windowTitle(), QStringLiteral("groupmaint"));
    EXPECT_EQ(f->objectName(), QStringLiteral("INMAKER"));
    EXPECT_EQ(f->List1->lineCount(), 0);
    EXPECT_EQ(focus(), f->List1);
    EXPECT_TRUE(f->Command1->isEnabled());
    EXPECT_FALSE(f->Command2->isEnabled());
    EXPECT_FALSE(f->Command4->isEnabled());

    type(f->Text1, QStringLiteral("5"));
    EXPECT_EQ(f->Text1->text(), QStringLiteral("5"));
    EXPECT_EQ(focus(), f->Text2);
    type(f->Text2, QStringLiteral("ABC"));
    EXPECT_EQ(focus(), f->Text1);
    press(f->Command1);
    const std::string first = "05,ABC" + std::string(17, ' ') + "," + std::string(6, ' ') + "\r\n";
    EXPECT_EQ(readBytes(file("MAKER.TXT")), first);
    ASSERT_EQ(f->List1->lineCount(), 1);
    EXPECT_EQ(f->List1->lineText(0).toStdString(), "05 ABC" + std::string(17 + 10, ' ') + "00001");
    EXPECT_EQ(f->Text1->text(), QString());
    EXPECT_EQ(focus(), f->List1);

    // A second one, then the first deleted: it stays in the file, marked, until the end.
    type(f->Text1, QStringLiteral("3"));
    type(f->Text2, QStringLiteral("XYZ"));
    press(f->Command1);
    EXPECT_EQ(lines(f->List1).size(), 2);
    EXPECT_TRUE(f->List1->lineText(0).startsWith(QStringLiteral("03 XYZ")));
    f->List1->setListIndex(1);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("5"));
    EXPECT_FALSE(f->Command1->isEnabled());
    press(f->Command3);
    EXPECT_EQ(lines(f->List1).size(), 1);
    EXPECT_EQ(readBytes(file("MAKER.TXT")).substr(0, 32), "00" + first.substr(2));
    EXPECT_EQ(readBytes(file("MAKER.TXT")).size(), 64u);

    press(f->Command5);
    EXPECT_TRUE(f->isUnloaded());
    EXPECT_EQ(readBytes(file("MAKER.TXT")), "03,XYZ" + std::string(17, ' ') + "," + std::string(6, ' ') + "\r\n");
    EXPECT_FALSE(fs::exists(file("WMAKER.TXT")));
}

// Per tool: the records of a master (major class 1 where the tool has one), and what the list,
// a deletion and the exit rewrite make of them.
TEST_F(MaintTest, DeletedRecordsAreMarkedThenTheEndRewritesInCodeOrderByteForByte)
{
    for (const char *program : {"groupmaint", "sectmaint", "classmaint", "colormaint", "glassmaint", "partnermaint"}) {
        SCOPED_TRACE(program);
        const qd::maint::ListTool &t = tool(program);
        const fs::path folder = inst.path() / (t.folder + 1);
        fs::create_directories(folder);
        writeBytes(inst.data() / "MAKER.TXT", joined({record(tool("groupmaint"), 1, "アルミ")}));

        Record g = record(t, 7, "Gガラス", 1, 1200, 800);
        Record deleted = record(t, 3, "消えた", 1);
        t.markDeleted(deleted);
        Record a = record(t, 1, "A", 1, 5, 4);
        // Bytes the tool has no field for stay as they were.
        std::string odd = a.bytes();
        odd[static_cast<std::size_t>(t.layout().length - 3)] = '#';
        a.setBytes(odd);
        Record h = record(t, 7, "HH", 1);
        Record b = record(t, 2, "B", 1);
        std::vector<Record> records = {g, deleted, a, h, b};
        if (t.twoLevel())
            records.push_back(record(t, 1, "よその大分類", 9)); // an orphan: never listed, kept
        const fs::path master = folder / t.master;
        writeBytes(master, joined(records));

        auto f = open(program);
        if (t.twoLevel()) {
            ASSERT_EQ(f->List2->lineCount(), 1);
            f->List2->setListIndex(0);
            EXPECT_EQ(f->g.CHOSEN_MAJOR, 1);
        }
        const QStringList listed = lines(f->List1);
        ASSERT_EQ(listed.size(), 4);
        const int width = std::string(t.codePattern).size();
        const auto code = [width](int c) { return QString::fromStdString(qd::text::format(c, width == 4 ? "0000" : "00")); };
        EXPECT_TRUE(listed[0].startsWith(code(1) + u' ')) << listed[0].toStdString();
        EXPECT_TRUE(listed[1].startsWith(code(2) + u' '));
        EXPECT_TRUE(listed[2].endsWith(QStringLiteral("00001")));
        EXPECT_TRUE(listed[3].endsWith(QStringLiteral("00004")));

        // Deleting B marks it in its place; the mark of sections keeps the code and the name.
        f->List1->setListIndex(1);
        press(f->Command3);
        EXPECT_EQ(lines(f->List1).size(), 3);
        Record marked = b;
        t.markDeleted(marked);
        EXPECT_EQ(readBytes(master).substr(4 * t.layout().length, t.layout().length), marked.bytes());
        if (std::string(program) == "sectmaint") {
            EXPECT_EQ(marked.raw(qd::records::Section::CIHO_CD), "02");
        }

        press(f->Command5);
        std::vector<Record> expected = {a, g, h};
        if (t.twoLevel())
            expected.push_back(records.back());
        EXPECT_EQ(readBytes(master), joined(expected));
        EXPECT_FALSE(fs::exists(folder / t.work));
        EXPECT_TRUE(f->isUnloaded());
    }
}

// At the window's own size every line shows its code and name whole, the name as wide as its
// field takes, and not the record number at its end; no scroll bar lies under lines that have
// nothing past the list's edge.
TEST_F(MaintTest, EveryListLineShowsWholeWithoutItsRecordNumber)
{
    const TempInstall demo;
    fs::copy(demo.data(), inst.data(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::create_directories(inst.path() / "ALMI");
    for (const qd::maint::ListTool *t : qd::maint::listTools()) {
        SCOPED_TRACE(t->program);
        // The widest name its field takes: full-width characters to its last byte.
        std::string name;
        while (qd::text::toCp932(name + "ア").size() <= static_cast<std::size_t>(t->nameChars))
            name += "ア";
        const fs::path master = inst.path() / (t->folder + 1) / t->master;
        writeBytes(master, readBytes(master) + record(*t, t->code.high - 1, name, 1, 9'999'999, -999'999).bytes() +
                               record(*t, 1, "短い名", 1, 100, 80).bytes());
        auto f = open(t->program);
        if (t->twoLevel()) {
            EXPECT_TRUE(linesShowWhole(f->List2));
            f->List2->setListIndex(0);
        }
        EXPECT_TRUE(linesShowWhole(f->List1, 5));
    }
}

TEST_F(MaintTest, TheCloseBoxEndsWithoutTheRewrite)
{
    const std::string bytes = writeThreeWithADeletedOne(tool("partnermaint"), file("TOKF.SSS"));
    auto f = open("partnermaint");
    EXPECT_EQ(f->List1->lineText(0).toStdString(),
              "0001 A" + std::string(49 + 50, ' ') + "00003");
    f->close();
    EXPECT_TRUE(f->isUnloaded());
    EXPECT_EQ(readBytes(file("TOKF.SSS")), bytes);
}

// Values that their fields cannot hold are refused with a message that names the field and what
// it takes, by Enter and by "追加" for text typed without Enter, and nothing is written: code 0 is
// the mark of a deleted record (a section's code 0 is an ordinary code), a negative code does not
// fit its digits, an amount beyond seven digits would be cut. Text that is no number gets the
// general message.
TEST_F(MaintTest, ValuesBeyondTheirFieldsAreRefusedWithWhatTheFieldTakes)
{
    fs::create_directories(inst.path() / "ALMI");
    enum Box { Code = 1, Price = 3, Cost = 4 };
    struct Case {
        const char *program;
        Box box;
        const char *typed;
        const char *message; // nullptr: taken
    } const cases[] = {
        {"groupmaint", Code, "0", "コードは 1～99 で入力して下さい！"},
        {"groupmaint", Code, "-5", "コードは 1～99 で入力して下さい！"},
        {"groupmaint", Code, "99", nullptr},
        {"sectmaint", Code, "0", nullptr},
        {"sectmaint", Code, "-1", "コードは 0～99 で入力して下さい！"},
        {"classmaint", Code, "0", "コードは 1～99 で入力して下さい！"},
        {"colormaint", Code, "-3", "コードは 1～99 で入力して下さい！"},
        {"partnermaint", Code, "0", "コードは 1～9999 で入力して下さい！"},
        {"partnermaint", Code, "-999", "コードは 1～9999 で入力して下さい！"},
        {"partnermaint", Code, "9999", nullptr},
        {"itemmaint", Code, "0", "コードは 1～9999 で入力して下さい！"},
        {"itemmaint", Price, "12,345,678", "単価は 9,999,999 までです。"},
        {"itemmaint", Cost, "-1000000", "原価は -999,999 以上です。"},
        {"glassmaint", Price, "10000000", "単価は 9,999,999 までです。"},
        {"glassmaint", Price, "9999999", nullptr},
        {"glassmaint", Price, "-999999", nullptr},
        {"glassmaint", Price, "-1000000", "単価は -999,999 以上です。"},
        {"glassmaint", Cost, "12,345,678", "原価は 9,999,999 までです。"},
        {"glassmaint", Code, "x", "数値を入力して下さい！"},
    };
    for (const bool byEnter : {true, false}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.program) + " Text" + std::to_string(c.box) + " " + c.typed +
                         (byEnter ? " Enter" : " 追加"));
            const qd::maint::ListTool &t = tool(c.program);
            const fs::path master = inst.path() / (t.folder + 1) / t.master;
            fs::remove(master);
            if (t.twoLevel())
                writeBytes(file("MAKER.TXT"), joined({record(tool("groupmaint"), 1, "アルミ")}));
            auto f = open(c.program);
            if (t.twoLevel())
                f->List2->setListIndex(0);
            type(f->Text1, QStringLiteral("5"));
            type(f->Text2, QStringLiteral("名前"));
            qd::qt::EntryBox *box = c.box == Code ? f->Text1 : c.box == Price ? f->Text3 : f->Text4;
            const QString typed = QString::fromUtf8(c.typed);
            const bool refused = c.message != nullptr;
            if (refused)
                seam.answerMessage(1);
            typeOnly(box, typed);
            if (byEnter)
                QTest::keyClick(box, Qt::Key_Return);
            else
                press(f->Command1);
            EXPECT_EQ(seam.messages().size(), refused ? 1 : 0);
            if (refused) {
                EXPECT_EQ(seam.messages().last(), QString::fromUtf8(c.message));
                EXPECT_EQ(seam.calls().back().message.title.toStdString(), c.program);
                // The refused text stays in its box, selected, with the focus: no box shows a
                // value that is not the one in effect.
                EXPECT_EQ(focus(), box);
                EXPECT_EQ(box->text(), typed);
                EXPECT_EQ(box->selectedText(), typed);
                EXPECT_EQ(c.box == Code ? f->g.EDIT_CODE : c.box == Price ? f->g.EDIT_PRICE : f->g.EDIT_COST,
                          c.box == Code ? 5 : 0);
                if (byEnter) {
                    seam.answerMessage(1);
                    press(f->Command1); // the box still holds the refused text: refused again
                }
                EXPECT_EQ(fs::file_size(master), 0u) << "nothing written";
            } else {
                if (byEnter)
                    press(f->Command1);
                ASSERT_EQ(fs::file_size(master), static_cast<std::uintmax_t>(t.layout().length));
                // What was written reads back as the value typed, a negative one with its sign.
                Record written(t.layout());
                written.setBytes(readBytes(master));
                const int field = c.box == Code ? t.codeField : c.box == Price ? t.priceField : t.costField;
                EXPECT_EQ(written.number(field), std::stoll(QString(typed).remove(u',').toStdString()));
            }
            seam.clearCalls();
            f.reset();
        }
    }
}

// Text typed into a box without Enter is taken by "追加" and "変更" from the box that has the
// focus, as Enter would take it; leaving the box any other way drops it (BoxesTakeValuesOnlyWithEnter).
TEST_F(MaintTest, AddAndChangeTakeTextTypedWithoutEnter)
{
    auto f = open("groupmaint");
    type(f->Text1, QStringLiteral("7"));
    typeOnly(f->Text2, QStringLiteral("アルミ"));
    press(f->Command1);
    EXPECT_EQ(readBytes(file("MAKER.TXT")), record(tool("groupmaint"), 7, "アルミ").bytes());
    EXPECT_EQ(f->Text2->text(), QString()) << "the boxes are emptied after 追加 as before";
    EXPECT_EQ(focus(), f->List1);

    f->List1->setListIndex(0);
    typeOnly(f->Text1, QStringLiteral("8"));
    press(f->Command2);
    EXPECT_EQ(readBytes(file("MAKER.TXT")), record(tool("groupmaint"), 8, "アルミ").bytes());
    EXPECT_EQ(focus(), f->List1);

    // By the keys alone: Tab onto "追加" keeps the typed code for it, Enter there takes it; Tab
    // on past "追加" leaves the box, and the code typed is dropped.
    press(f->Command4);
    f->Text1->setFocus();
    QTest::keyClicks(f->Text1, QStringLiteral("4"));
    QTest::keyClick(f->Text1, Qt::Key_Tab);
    ASSERT_EQ(focus(), f->Command1);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("4"));
    QTest::keyClick(f->Command1, Qt::Key_Tab);
    EXPECT_EQ(f->Text1->text(), QStringLiteral("8"));
    f->Text1->setFocus();
    QTest::keyClicks(f->Text1, QStringLiteral("9"));
    QTest::keyClick(f->Text1, Qt::Key_Tab);
    QTest::keyClick(f->Command1, Qt::Key_Return);
    EXPECT_EQ(readBytes(file("MAKER.TXT")), joined({record(tool("groupmaint"), 8, "アルミ"), record(tool("groupmaint"), 9, "アルミ")}));
}

// "追加" and "変更" with a value typed and not confirmed, on a disk that fails at each step of
// their write in turn: the append is cut back, the change's rewrite keeps the old master up to
// its rename (the folder's flush after it comes when the new master is in place whole, and the
// change has happened). A failed write leaves the master byte for byte as it was and no work
// copy, says so once with the file and the system's reason, and leaves the tool as it was with
// the typed value; the button again writes it.
TEST_F(MaintTest, AddAndChangeUnderAFailingDiskKeepTheOldMasterOrWriteTheNewOne)
{
    fs::create_directories(inst.path() / "ALMI");
    enum Box { Code = 1, Name = 2, Price = 3 };
    struct Case {
        const char *program;
        bool change; // 変更 of the record of code 2, or 追加 of code 7
        Box box;
        const char *typed;
        Record written;
    } const cases[] = {
        {"groupmaint", false, Name, "アルミ", record(tool("groupmaint"), 7, "アルミ")},
        {"classmaint", false, Code, "7", record(tool("classmaint"), 7, "", 1)},
        {"groupmaint", true, Code, "8", record(tool("groupmaint"), 8, "B")},
        {"glassmaint", true, Price, "12,000", record(tool("glassmaint"), 2, "B", 0, 12000)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.program) + (c.change ? " 変更 " : " 追加 ") + c.typed);
        const qd::maint::ListTool &t = tool(c.program);
        const fs::path folder = inst.path() / (t.folder + 1);
        const fs::path master = folder / t.master;
        writeBytes(file("MAKER.TXT"), joined({record(tool("groupmaint"), 1, "アルミ")}));
        const std::string before = joined({record(t, 1, "A", 1), record(t, 2, "B", 1)});
        const std::string after = c.change ? before.substr(0, before.size() / 2) + c.written.bytes() : before + c.written.bytes();
        const std::vector<std::string> entries = [&] {
            writeBytes(master, before);
            return entriesOf(folder);
        }();
        // The tool opened afresh on the master as it was, the value typed into its box.
        std::unique_ptr<ListEditor> f;
        const auto typed = [&] {
            writeBytes(master, before);
            f = open(c.program);
            if (t.twoLevel())
                f->List2->setListIndex(0);
            if (c.change)
                f->List1->setListIndex(lineStartingWith(f->List1, QStringLiteral("02 ")));
            else if (c.box != Code)
                type(f->Text1, QStringLiteral("7"));
            typeOnly(c.box == Code ? f->Text1 : c.box == Name ? f->Text2 : f->Text3, QString::fromUtf8(c.typed));
        };
        QPushButton *ListEditor::*button = c.change ? &ListEditor::Command2 : &ListEditor::Command1;
        typed();
        const int steps = stepsOf([&] { press(f.get()->*button); });
        ASSERT_EQ(readBytes(master), after);
        ASSERT_GT(steps, 0);

        FaultPress run(master, folder, entries, QString::fromUtf8(t.master), before, after, steps);
        run.lastStepAfterTheWrite = c.change; // 追加 appends: no rename, its last step is cut back
        run.fresh = typed;
        run.press = [&] { press(f.get()->*button); };
        run.refused = [&](const QString &) {
            EXPECT_FALSE(f->isUnloaded());
            qd::qt::EntryBox *box = c.box == Code ? f->Text1 : c.box == Name ? f->Text2 : f->Text3;
            EXPECT_EQ(box->text().trimmed(), QString::fromUtf8(c.typed));
        };
        pressUnderEachFault(seam, run);
        f.reset();
    }
}

TEST_F(MaintTest, AnAddGoesAfterTheRealEndAndAChangeChecksTheRecordIsStillTheListedOne)
{
    const qd::maint::ListTool &t = tool("groupmaint");
    writeBytes(file("MAKER.TXT"), joined({record(t, 1, "A"), record(t, 2, "B")}));
    auto f = open("groupmaint");

    // Another program adds a record while the list is shown: the new one goes after it.
    writeBytes(file("MAKER.TXT"), joined({record(t, 1, "A"), record(t, 2, "B"), record(t, 4, "D")}));
    type(f->Text1, QStringLiteral("3"));
    type(f->Text2, QStringLiteral("C"));
    press(f->Command1);
    const std::string four = joined({record(t, 1, "A"), record(t, 2, "B"), record(t, 4, "D"), record(t, 3, "C")});
    EXPECT_EQ(readBytes(file("MAKER.TXT")), four);
    EXPECT_EQ(lines(f->List1).size(), 4);

    // B is chosen, then another program rewrites the master: record 2 is now another one.
    f->List1->setListIndex(1);
    EXPECT_EQ(f->g.CUR_REC, 2);
    const std::string rewritten = joined({record(t, 1, "A"), record(t, 4, "D"), record(t, 3, "C")});
    writeBytes(file("MAKER.TXT"), rewritten);
    type(f->Text2, QStringLiteral("BB"));
    seam.answerMessage(1);
    press(f->Command2);
    EXPECT_EQ(seam.messages().last(), CHANGED_MESSAGE);
    EXPECT_EQ(readBytes(file("MAKER.TXT")), rewritten);
    EXPECT_EQ(lines(f->List1).size(), 3);

    // Choosing a line whose record has gone since the list was filled says so as well.
    writeBytes(file("MAKER.TXT"), joined({record(t, 1, "A")}));
    seam.answerMessage(1);
    f->List1->setListIndex(2);
    EXPECT_EQ(seam.messages().last(), CHANGED_MESSAGE);
    EXPECT_EQ(lines(f->List1).size(), 1);

    // A change of the record still listed goes in its place.
    f->List1->setListIndex(0);
    type(f->Text1, QStringLiteral("1"));
    type(f->Text2, QStringLiteral("AA"));
    press(f->Command2);
    EXPECT_EQ(readBytes(file("MAKER.TXT")), joined({record(t, 1, "AA")}));
}

TEST_F(MaintTest, NamesAreCutAtTheirByteWidthWithoutHalfACharacter)
{
    auto f = open("groupmaint");
    type(f->Text1, QStringLiteral("1"));
    type(f->Text2, QStringLiteral("Aあいうえおかきくけこさしすせそ"));
    EXPECT_EQ(qd::text::charCount(f->g.EDIT_NAME), 20u);
    press(f->Command1);
    const std::string rec = readBytes(file("MAKER.TXT"));
    EXPECT_EQ(rec.substr(3, 20), qd::text::toCp932("Aあいうえおかきくけ") + " ");
    EXPECT_EQ(rec[23], ',');
}

TEST_F(MaintTest, ANamePastedFromASpreadsheetCellBringsNoLineBreakIntoTheRecord)
{
    // A cell copied from a spreadsheet ends in CR LF, and may hold a tab: in a record they would
    // end the line in the middle of its fields.
    auto f = open("groupmaint");
    type(f->Text1, QStringLiteral("1"));
    f->Text2->setFocus();
    f->Text2->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("アルミ\tサッシ\r\n"));
    f->Text2->paste();
    f->Text2->KeyDown(13);
    press(f->Command1);
    const std::string rec = readBytes(file("MAKER.TXT"));
    ASSERT_EQ(rec.size(), 32u);
    EXPECT_EQ(rec.substr(3, 20), qd::text::toCp932("アルミ サッシ") + std::string(7, ' '));
}

TEST_F(MaintTest, BoxesTakeValuesOnlyWithEnter)
{
    fs::create_directories(inst.path() / "ALMI");
    auto f = open("glassmaint");
    seam.answerMessage(1);
    type(f->Text1, QStringLiteral("x"));
    EXPECT_EQ(seam.messages().last(), NUMBER_MESSAGE);
    EXPECT_EQ(f->g.EDIT_CODE, 1) << "no number: nothing changes";
    EXPECT_EQ(focus(), f->Text1);
    f->Text1->setText(QStringLiteral("12"));
    f->List1->setFocus();
    EXPECT_EQ(f->Text1->text(), QStringLiteral("1")) << "typed without Enter: dropped";
    type(f->Text1, QStringLiteral("5"));
    type(f->Text2, QStringLiteral("フロート"));
    EXPECT_EQ(focus(), f->Text3);
    type(f->Text3, QStringLiteral("12000"));
    EXPECT_EQ(f->Text3->text(), QStringLiteral("12,000"));
    type(f->Text4, QStringLiteral("8,000"));
    EXPECT_EQ(focus(), f->Text1);
    type(f->Text4, QStringLiteral("1"), 27);
    EXPECT_EQ(f->Text4->text(), QStringLiteral("8,000"));
    EXPECT_EQ(focus(), f->Text3);
    press(f->Command1);
    EXPECT_EQ(readBytes(inst.path() / "ALMI" / "GARASU.TXT"),
              "05," + qd::text::toCp932("フロート") + std::string(12, ' ') + ",0012000,0008000," + std::string(22, ' ') + "\r\n");
    EXPECT_TRUE(f->List1->lineText(0).startsWith(QStringLiteral("05 フロート")));

    // Code 0 is refused by Enter; a record read with it keeps the focus in the code box when
    // the box is left.
    seam.answerMessage(1);
    type(f->Text1, QStringLiteral("0"));
    EXPECT_EQ(focus(), f->Text1);
    EXPECT_EQ(f->g.EDIT_CODE, 5);
    f->g.EDIT_CODE = 0;
    f->List1->setFocus();
    EXPECT_EQ(focus(), f->Text1);
}

TEST_F(MaintTest, AFailingRewriteLeavesTheMasterAndTheToolGoesOn)
{
    const qd::maint::ListTool &t = tool("sectmaint");
    const std::string bytes = writeThreeWithADeletedOne(t, file("CIHO.TXT"));
    auto f = open("sectmaint");
    seam.answerMessage(1, [](const qd::qt::MessageRequest &m) {
        EXPECT_TRUE(m.text.contains(QStringLiteral("CIHO.TXT"))) << m.text.toStdString();
        EXPECT_EQ(m.title, QStringLiteral("sectmaint"));
    });
    {
        qd::files::ScopedFault fault(qd::files::FileStep::Rename, 1);
        press(f->Command5);
    }
    EXPECT_EQ(readBytes(file("CIHO.TXT")), bytes);
    EXPECT_FALSE(fs::exists(file("WCIHO.TXT")));
    EXPECT_FALSE(f->isUnloaded()) << "the tool goes on";
    press(f->Command5);
    EXPECT_TRUE(f->isUnloaded());
    EXPECT_EQ(readBytes(file("CIHO.TXT")), joined({record(t, 1, "A"), record(t, 5, "E")}));
}

} // namespace
} // namespace qd::testing
