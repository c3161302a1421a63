// The window of the single-file tools, driven as a user drives it: a button, the question
// answered, the file written or the refusal read, the tool ended.
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/files/paths.h"
#include "platform/qt/scripted_seam.h"
#include "platform/text/cp932.h"
#include "tests/support/temp_install.h"
#include "tests/support/torn_file.h"
#include "tools/csv/engine/file_families.h"
#include "tools/csv/forms/master_frm.h"

namespace {

using namespace qd::csv;
using namespace qd::qt;
using qd::testing::readBytes;
using qd::testing::TempInstall;
using qd::testing::writeBytes;

struct MasterTool {
    explicit MasterTool(const CsvTable &table) : table(table), guard(seam)
    {
        g.INST_DIR = inst.dir();
        form = std::make_unique<master::FRM001>(table, g);
        form->Form_Load();
        files = singleFiles(inst.dir(), table);
        masterBytes = readBytes(host(files.master));
    }
    static std::filesystem::path host(const std::string &p) { return qd::files::hostPath(p); }

    const CsvTable &table;
    TempInstall inst;
    ScriptedSeam seam;
    SeamGuard guard;
    CsvState g;
    std::unique_ptr<master::FRM001> form;
    ConversionFiles files;
    std::string masterBytes;
};

TEST(CsvMasterWindow, ExportAsksThenWritesTheCsvFileAndEnds)
{
    MasterTool t(groupTable());
    t.seam.answerMessage(Answer::Yes, [&](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("よろしいですか？"));
        EXPECT_EQ(m.title, QStringLiteral("csvgroup"));
        EXPECT_EQ(m.buttons, Buttons::YesNo);
        EXPECT_EQ(m.icon, Icon::None);
        EXPECT_TRUE(t.form->Label2->isVisible());
    });
    t.form->Command1->click();
    EXPECT_EQ(t.form->Label2->text(), QString::fromStdString("運用中の" + t.inst.dir() + "の\ngroupmaint を変換します。"));
    EXPECT_EQ(t.seam.beepCount(), 1);
    EXPECT_TRUE(qd::text::fromCp932(readBytes(t.host(t.files.csv))).starts_with("大分類ｺｰﾄﾞ,大分類名\r\n01,アルミサッシ\r\n"));
    EXPECT_TRUE(t.form->isUnloaded());
    EXPECT_EQ(t.seam.problems(), QString());
}

// A master that ends in a part of a record: the export writes its whole records and says so;
// the import replaces it whole from the CSV file after its question, as it replaces any master.
TEST(CsvMasterWindow, AMasterThatEndsInAPartOfARecordIsExportedWholeAndSaidSo)
{
    MasterTool t(groupTable());
    const std::filesystem::path master = t.host(t.files.master);
    // More than half a record: counted rounded, it would go out as a line completed with blanks.
    const std::string torn = qd::testing::tearLastRecord(master, 32, 20);
    t.seam.answerMessage(Answer::Yes);
    t.seam.answerMessage(Answer::Ok, [&](const MessageRequest &m) {
        EXPECT_TRUE(m.text.startsWith(QStringLiteral("切れた最後の 20 バイトを除き、揃っているレコード 3 件だけを書き出しました。\r")))
            << m.text.toStdString();
        EXPECT_TRUE(qd::testing::tellsOfTornFile(m.text.toStdString(), master, 32));
        EXPECT_EQ(m.title, QStringLiteral("csvgroup"));
    });
    t.form->Command1->click();
    EXPECT_TRUE(t.form->isUnloaded());
    const std::string csv = qd::text::fromCp932(readBytes(t.host(t.files.csv)));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4) << csv; // the caption and the three whole records
    EXPECT_EQ(readBytes(master), torn);

    MasterTool again(groupTable());
    writeBytes(again.host(again.files.master), torn);
    writeBytes(again.host(again.files.csv), readBytes(t.host(t.files.csv)));
    again.seam.answerMessage(Answer::Yes);
    again.form->Command2->click();
    EXPECT_TRUE(again.form->isUnloaded());
    EXPECT_EQ(readBytes(again.host(again.files.master)), torn.substr(0, 3 * 32));
    EXPECT_EQ(again.seam.problems(), QString());
    EXPECT_EQ(t.seam.problems(), QString());
}

TEST(CsvMasterWindow, ImportReplacesTheMasterFromTheCsvFileAndEnds)
{
    MasterTool t(colorTable());
    writeBytes(t.host(t.files.csv), qd::text::toCp932("大分類ｺｰﾄﾞ,色コード,色名\r\n1,1,白\r\n1,2,\"黒,艶消し\"\r\n"));
    t.seam.answerMessage(Answer::Yes, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("元のcolormaintを削除します。\rよろしいですか？"));
        EXPECT_EQ(m.title, QStringLiteral("csvcolor"));
    });
    t.form->Command2->click();
    EXPECT_EQ(qd::text::fromCp932(readBytes(t.host(t.files.master))),
              "01,01,白" + std::string(18, ' ') + ",   \r\n01,02,黒,艶消し" + std::string(11, ' ') + ",   \r\n");
    EXPECT_TRUE(t.form->isUnloaded());
    EXPECT_EQ(t.seam.problems(), QString());
}

TEST(CsvMasterWindow, NoTouchesNoFileAndEnds)
{
    for (int button : {1, 2}) {
        MasterTool t(itemTable());
        t.seam.answerMessage(Answer::No);
        (button == 1 ? t.form->Command1 : t.form->Command2)->click();
        EXPECT_FALSE(std::filesystem::exists(t.host(t.files.csv)));
        EXPECT_EQ(readBytes(t.host(t.files.master)), t.masterBytes);
        EXPECT_TRUE(t.form->isUnloaded());
        EXPECT_EQ(t.seam.problems(), QString());
    }
}

TEST(CsvMasterWindow, RefusedImportNamesLineAndFieldAndKeepsTheMaster)
{
    MasterTool t(itemTable());
    writeBytes(t.host(t.files.csv), qd::text::toCp932("単品ｺｰﾄﾞ,単品名,単価,原価\r\n1,網戸,4800,3100\r\n12345,戸車,1200,650\r\n"));
    t.seam.answerMessage(Answer::Yes).answerMessage(Answer::Ok, [](const MessageRequest &m) {
        EXPECT_EQ(m.text, QStringLiteral("単品.CSV の 3 行目：単品ｺｰﾄﾞ「12345」は 4 桁に入りません。\r"
                                         "元のitemmaintはそのままです。"));
        EXPECT_EQ(m.title, QStringLiteral("csvitem"));
    });
    t.form->Command2->click();
    EXPECT_EQ(t.seam.beepCount(), 2);
    EXPECT_EQ(readBytes(t.host(t.files.master)), t.masterBytes);
    EXPECT_TRUE(t.form->isUnloaded());
    EXPECT_EQ(t.seam.problems(), QString());
}

// A file without records leaves the master empty, as the question now says before Yes.
TEST(CsvMasterWindow, ImportOfAFileWithoutRecordsSaysTheMasterIsLeftEmpty)
{
    for (const char *csv : {"", "大分類ｺｰﾄﾞ,大分類名\r\n"}) {
        MasterTool t(groupTable());
        writeBytes(t.host(t.files.csv), qd::text::toCp932(csv));
        t.seam.answerMessage(Answer::Yes, [](const MessageRequest &m) {
            EXPECT_EQ(m.text, QStringLiteral("元のgroupmaintを削除します。\r"
                                             "大分類.CSV にはデータの行がありません。groupmaint は空になります。\r"
                                             "よろしいですか？"));
        });
        t.form->Command2->click();
        EXPECT_TRUE(std::filesystem::exists(t.host(t.files.master)));
        EXPECT_EQ(readBytes(t.host(t.files.master)), "");
        EXPECT_EQ(t.seam.problems(), QString());
    }
}

// The refusals of what the master cannot keep, as the import button shows them.
TEST(CsvMasterWindow, ImportRefusesWhatTheMasterCannotKeep)
{
    struct Case {
        const CsvTable *table;
        std::string csv;
        const char *message;
    };
    const Case cases[] = {
        {&groupTable(), qd::text::toCp932("大分類ｺｰﾄﾞ,大分類名\r\n") + "01,ABCDEFGHIJKLMNOPQRS\x82\r\n",
         "大分類.CSV の 2 行目：大分類名 の 20 バイト目 0x82 は Shift-JIS の文字ではありません。\r"
         "元のgroupmaintはそのままです。"},
        {&colorTable(), qd::text::toCp932("01,01,白\r\n01,02,黒\r\n"),
         "色.CSV の 1 行目：見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。\r"
         "元のcolormaintはそのままです。"},
        {&itemTable(), std::string("\xFF\xFE" "0\0" "0\0" "1\0" ",\0" "a\0" "\r\0\n\0", 16),
         "単品.CSV は UTF-16 (Unicode テキスト) で保存されています。Shift-JIS で保存し直して下さい。\r"
         "元のitemmaintはそのままです。"},
    };
    for (const Case &c : cases) {
        MasterTool t(*c.table);
        writeBytes(t.host(t.files.csv), c.csv);
        t.seam.answerMessage(Answer::Yes, [&](const MessageRequest &m) {
            EXPECT_EQ(m.text, QStringLiteral("元の%1を削除します。\rよろしいですか？").arg(QString::fromStdString(c.table->word)));
        });
        t.seam.answerMessage(Answer::Ok,
                             [&](const MessageRequest &m) { EXPECT_EQ(m.text, QString::fromUtf8(c.message)); });
        t.form->Command2->click();
        EXPECT_EQ(readBytes(t.host(t.files.master)), t.masterBytes) << c.table->tool;
        EXPECT_TRUE(t.form->isUnloaded());
        EXPECT_EQ(t.seam.problems(), QString());
    }
}

TEST(CsvMasterWindow, EachToolShowsItsOwnTitleAndLayout)
{
    struct Case {
        const CsvTable *table;
        const char *name, *title;
        double commandTop;
    };
    const Case cases[] = {
        {&groupTable(), "FRM001", "groupmaint の変換をします。", 2160},
        {&sectTable(), "FRM001", "sectmaint の変換をします。", 2160},
        {&colorTable(), "FRM001", "colormaint の変換をします。", 2280},
        {&classTable(), "FRM001", "classmaint の変換をします。", 2160},
        {&itemTable(), "FRM008", "itemmaint の変換をします。", 2160},
    };
    for (const Case &c : cases) {
        MasterTool t(*c.table);
        EXPECT_EQ(t.form->objectName(), QString::fromUtf8(c.name));
        EXPECT_EQ(t.form->windowTitle(), QString::fromStdString(c.table->tool));
        EXPECT_EQ(t.form->Label1->text(), QString::fromUtf8(c.title));
        EXPECT_NEAR(geometryTwips(t.form->Command1).top, c.commandTop, 15);
        EXPECT_EQ(t.form->Command3->text(), QStringLiteral("終　了"));
        EXPECT_FALSE(t.form->Label2->isVisible());
        EXPECT_TRUE(t.form->Command3->hasFocus() || !t.form->isActiveWindow());
        t.form->Command3->click();
        EXPECT_TRUE(t.form->isUnloaded());
    }
}

} // namespace
