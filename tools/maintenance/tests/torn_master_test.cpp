// A master that ends in a part of a record, in every list-type tool: the tool lists its whole
// records and says so once; adding, changing, deleting and the end's rewrite leave it as it is
// and say why.
#include "tools/maintenance/tests/maint_fixture.h"

#include <QPushButton>

#include "tests/support/torn_file.h"

namespace qd::testing {
namespace {

namespace fs = std::filesystem;

const QString WRITE_FAILED = QStringLiteral("ファイルに書き込めませんでした。元のファイルはそのままです。\r");

TEST_F(MaintTest, AMasterThatEndsInAPartOfARecordIsListedSoAndNeverWritten)
{
    fs::create_directories(inst.path() / "ALMI");
    for (const qd::maint::ListTool *tp : qd::maint::listTools()) {
        const qd::maint::ListTool &t = *tp;
        SCOPED_TRACE(t.program);
        const int length = t.layout().length;
        const fs::path master = inst.path() / (t.folder + 1) / t.master;
        writeBytes(master, joined({record(t, 1, "A", 1), record(t, 2, "B", 1)}));
        // Three quarters of a record: counted rounded, it would be listed as one more record.
        const auto part = static_cast<std::size_t>(length * 3 / 4);
        const std::string torn = tearLastRecord(master, length, part);
        const auto tells = [&](const fs::path &file, int recordLength, const QString &start) {
            seam.answerMessage(1, [=](const qd::qt::MessageRequest &m) {
                EXPECT_TRUE(m.text.startsWith(start)) << m.text.toStdString();
                EXPECT_TRUE(tellsOfTornFile(m.text.toStdString(), file, recordLength));
                EXPECT_EQ(m.title.toStdString(), t.program);
            });
        };
        const QString listed =
            QStringLiteral("切れた最後の %1 バイトを除き、揃っているレコード 2 件だけを表示します。\r").arg(part);

        // The major classes of the two-level tools end in a part of a record as well.
        std::string makers;
        if (t.twoLevel()) {
            writeBytes(file("MAKER.TXT"), joined({record(tool("groupmaint"), 1, "アルミ")}));
            makers = tearLastRecord(file("MAKER.TXT"), 32, 20);
            tells(file("MAKER.TXT"), 32, QStringLiteral("切れた最後の 20 バイトを除き、揃っているレコード 1 件だけを表示します。\r"));
        } else {
            tells(master, length, listed);
        }
        auto f = open(t.program);
        if (t.twoLevel()) {
            ASSERT_EQ(f->List2->lineCount(), 1);
            tells(master, length, listed);
            f->List2->setListIndex(0);
        }
        EXPECT_EQ(f->List1->lineCount(), 2);
        EXPECT_EQ(seam.pendingAnswers(), 0);

        // Each write is refused with the file, its size and why; listing again tells nothing new.
        type(f->Text1, QStringLiteral("3"));
        type(f->Text2, QStringLiteral("C"));
        tells(master, length, WRITE_FAILED);
        press(f->Command1);
        f->List1->setListIndex(0);
        tells(master, length, WRITE_FAILED);
        press(f->Command2);
        f->List1->setListIndex(0);
        tells(master, length, WRITE_FAILED);
        press(f->Command3);
        press(f->Command4);
        if (t.deletion == qd::maint::ListTool::Deletion::Mark) {
            tells(master, length, WRITE_FAILED);
            press(f->Command5);
            EXPECT_FALSE(f->isUnloaded()) << "the end's rewrite was refused";
        }
        EXPECT_EQ(seam.pendingAnswers(), 0);
        EXPECT_EQ(readBytes(master), torn);
        EXPECT_FALSE(fs::exists(master.parent_path() / t.work));
        if (t.twoLevel()) {
            EXPECT_EQ(readBytes(file("MAKER.TXT")), makers);
        }
        f.reset();
        fs::remove(file("MAKER.TXT"));
    }
}

} // namespace
} // namespace qd::testing
