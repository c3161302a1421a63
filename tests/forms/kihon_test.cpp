// The main window: start-up with and without a folder-pointer record, the screen fit, and the
// document slots with their commands (new, open, save, close, quit).
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "quotedesk/core/document_name.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/tax_settings.h"
#include "quotedesk/mainwindow/mitfm.h"
#include "tests/forms/forms_fixture.h"

using qd::core::Fixed4;
using qd::forms::KIHON;
using qd::qt::MessageRequest;
namespace Answer = qd::qt::Answer;

namespace qd::testing {
namespace {

const char *const DOCUMENT_MENUS[] = {"PRN_000", "SERCH_000", "FILE_WRITE", "ZOKUSEI_MIT",
                                      "ZOKUSEI_000", "KEISAN_000", "GARASU_000"};
const std::string CHOSEN_CAPTION = "quotedesk 【指定項目表示】  【計算単位１円】  【寸法:ﾐﾘ印刷】";

std::function<void(const MessageRequest &)> says(const char *part)
{
    return [part](const MessageRequest &m) { EXPECT_TRUE(m.text.contains(QString::fromUtf8(part))) << m.text.toStdString(); };
}

std::string title(const KIHON &k) { return k.windowTitle().toStdString(); }

using KihonStart = QuotedeskFixture;
using KihonDocuments = QuotedeskFixture;

TEST_F(KihonStart, FirstStartMakesThePointerFileAndShowsTheStartScreen)
{
    ASSERT_FALSE(std::filesystem::exists(inst.driveC() / "tamo"));
    KIHON &k = start();

    const auto pointer = inst.driveC() / "tamo" / "tamo_dir.SSS";
    ASSERT_TRUE(std::filesystem::exists(pointer));
    EXPECT_EQ(std::filesystem::file_size(pointer), 0u);
    EXPECT_EQ(title(k), "【見積書・納品書・請求書】quotedesk");
    for (const char *menu : DOCUMENT_MENUS)
        EXPECT_FALSE(k.menus().isEnabled(QString::fromLatin1(menu))) << menu;
    for (const char *menu : {"FILE_000", "FILE_NEW", "FILE_READ", "HOJYO_000", "HENKAN_000", "END_000"})
        EXPECT_TRUE(k.menus().isEnabled(QString::fromLatin1(menu))) << menu;
    EXPECT_FALSE(k.menus().isEnabled(QStringLiteral("HYO_000")));
    EXPECT_EQ(k.Combo2->count(), 0);
    EXPECT_FALSE(k.Frame1->isVisible());
    EXPECT_TRUE(k.isVisible());

    EXPECT_EQ(g().INST_DIR, instDir());
    EXPECT_EQ(g().DOC_DIR, instDir() + "\\data\\txt");
    EXPECT_EQ(g().CUR_LIST_INDEX, -1);
    EXPECT_EQ(g().CALC_UNIT, 1);
    EXPECT_EQ(g().SIZE_MODE, 1);
    EXPECT_EQ(g().DOC_KIND, 0);
    EXPECT_EQ(g().COLOR_PICK_GROUP, "00");
    EXPECT_EQ(g().COLOR_PICK_NAME, std::string(20, ' '));
    const std::string today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    EXPECT_EQ(g().ISSUE_DATE, today + "  ");
    EXPECT_EQ(g().ISSUE_DATE_NUM, qd::text::Fixed4::fromInt(std::stoi(today)));
    EXPECT_EQ(app->editTool().storeWidthsEnabled(), true);

    bool cancel = true;
    k.Form_Unload(cancel);
    EXPECT_FALSE(cancel);
}

TEST_F(KihonStart, PointerRecordOpensItsDocumentOnceAndIsDeleted)
{
    // Started from another folder: the record names the install folder.
    std::filesystem::current_path(inst.driveC());
    writePointer(pointerRecord("見本見積", instDir()));
    KIHON &k = start();

    EXPECT_EQ(g().INST_DIR, instDir());
    ASSERT_EQ(k.Combo2->count(), 1);
    EXPECT_EQ(g().CUR_DOC_NAME, "見本見積");
    EXPECT_FALSE(std::filesystem::exists(inst.driveC() / "tamo" / "tamo_dir.SSS"));
    EXPECT_EQ(qd::text::trim(g().DIR_REC_NAME), "");
    EXPECT_EQ(title(k), CHOSEN_CAPTION);
    EXPECT_EQ(qd::text::trim(g().Grid1[0].cell(1, 9)), "2.00");
    EXPECT_FALSE(k.Text4->text().isEmpty());
    EXPECT_TRUE(k.menus().isEnabled(QStringLiteral("FILE_WRITE")));

    bool cancel = false;
    k.Form_Unload(cancel);
    EXPECT_TRUE(cancel); // a window with an open document does not close

    // Closing the document brings the start screen back; nothing opens a second time.
    seam.answerMessage(Answer::Yes);
    k.Command4_Click();
    EXPECT_EQ(k.Combo2->count(), 0);
    EXPECT_EQ(title(k), "【見積書・納品書・請求書】quotedesk");
    EXPECT_FALSE(k.menus().isEnabled(QStringLiteral("FILE_WRITE")));
    EXPECT_EQ(std::filesystem::file_size(inst.driveC() / "tamo" / "tamo_dir.SSS"), 0u);
}

TEST_F(KihonStart, APointerDocumentThatFailsToOpenLeavesTheOpenDialogToTheMenu)
{
    writeBytes(inst.data() / "syohizei_calc.fil", "");
    writePointer(pointerRecord("見本見積", instDir()));
    seam.answerMessage(Answer::Ok, says("共通の消費税率"));
    KIHON &k = start();
    ASSERT_EQ(k.Combo2->count(), 0);

    // 読込み/削除 opens what the user chooses; the record is kept for the next start.
    writeBytes(inst.data() / "syohizei_calc.fil", qd::core::encodeTaxSettings({Fixed4::fromInt(10), 1, 2, 1}));
    seam.answerOpen(docPath("見本見積.TXT"));
    k.FILE_READ_Click();
    EXPECT_EQ(k.Combo2->count(), 1);
    EXPECT_TRUE(std::filesystem::exists(inst.driveC() / "tamo" / "tamo_dir.SSS"));
}

TEST_F(KihonStart, PointerFilesWithoutOneUsableRecordAreIgnored)
{
    const std::string here = instDir();
    const struct {
        const char *what;
        std::string bytes;
        std::string instDir;
    } cases[] = {
        {"two records", pointerRecord("見本見積", here) + pointerRecord("見本見積", here), here},
        {"a folder this machine lacks", pointerRecord("見本見積", here + "/gone"), here},
        {"no document name", pointerRecord("", qd::files::systemPath(inst.path())), here},
        // A name that leads out of the document folder counts as no record.
        {"a document name that leaves its folder", pointerRecord("..\\..\\outside\\evil", here), here},
    };
    std::filesystem::create_directories(inst.path() / "outside");
    for (const auto &c : cases) {
        app = std::make_unique<qd::forms::QuotedeskApp>();
        writePointer(c.bytes);
        KIHON &k = start();
        EXPECT_EQ(k.Combo2->count(), 0) << c.what;
        EXPECT_EQ(g().INST_DIR, c.instDir) << c.what;
        EXPECT_EQ(readBytes(inst.driveC() / "tamo" / "tamo_dir.SSS"), c.bytes) << c.what; // the file stays
    }
    EXPECT_TRUE(std::filesystem::is_empty(inst.path() / "outside"));
}

TEST_F(KihonStart, LayoutScalesWithTheScreen)
{
    // 1024 x 768 pixels at 96 dpi are 15360 x 11520 twips: wider than the window's own 13530 x
    // 10530, so the height fills the screen.
    seam.setScreenSizeOverride(qd::qt::ScreenSize{1024, 768, 96, 96, 0, 0});
    KIHON &k = start();
    EXPECT_EQ(g().SCREEN_SCALE, Fixed4::fromRaw(10940));
    EXPECT_EQ(k.Command4->x(), 322); // 4420 x 1.094 = 4835.48 twips
    EXPECT_EQ(k.width(), 1024);
    EXPECT_EQ(k.height(), 768);

    // A screen taller than the window's own shape: the width fills it.
    app = std::make_unique<qd::forms::QuotedeskApp>();
    seam.setScreenSizeOverride(qd::qt::ScreenSize{1024, 1280, 96, 96, 0, 0});
    start();
    EXPECT_EQ(g().SCREEN_SCALE, Fixed4::fromRaw(11353)); // 15360 / 13530
}

TEST_F(KihonDocuments, NewDocumentGetsASheetTheCaptionAndTheMenus)
{
    KIHON &k = start();
    seam.answerInput(QStringLiteral("テスト邸"), [](const qd::qt::InputRequest &r) {
        EXPECT_EQ(r.prompt.toStdString(), "物件名を入れてください。");
        EXPECT_EQ(r.title.toStdString(), "タイトルファイル名");
        EXPECT_EQ(r.defaultText.toStdString(), "新規");
    });
    k.FILE_NEW_Click();

    ASSERT_EQ(k.Combo2->count(), 1);
    EXPECT_EQ(k.comboEntryAt(0), "テスト邸" + std::string(70, ' ') + "#00" + g().DOC_DIR);
    EXPECT_EQ(k.Combo2->itemText(0).toStdString(), "テスト邸") << "the list shows the name, not the folder";
    EXPECT_EQ(g().CUR_DOC_NAME, "テスト邸");
    EXPECT_EQ(g().HEAD_BUKKEN, "テスト邸");
    EXPECT_EQ(title(k), CHOSEN_CAPTION);

    const qd::grid::FlexGrid &sheet = g().Grid1[0];
    EXPECT_EQ(sheet.rows(), 1000);
    EXPECT_EQ(sheet.cols(), 25);
    EXPECT_EQ(sheet.cell(0, 0), "頁");
    EXPECT_EQ(sheet.cell(0, 2), "品名");
    EXPECT_EQ(sheet.cell(0, 24), "消費税額(端数処理後)");
    EXPECT_EQ(sheet.colWidth(2), 4340); // the built-in chosen-columns set
    EXPECT_EQ(sheet.colWidth(4), 20);
    EXPECT_DOUBLE_EQ(sheet.fontSize(), 12.0);
    EXPECT_EQ(sheet.row(), 1);
    EXPECT_EQ(sheet.col(), 1);
    EXPECT_TRUE(k.Grid1[0]->isVisible());
    EXPECT_TRUE(k.Frame1->isVisible());

    for (const char *menu : {"PRN_000", "FILE_WRITE", "ZOKUSEI_MIT", "ZOKUSEI_000", "KEISAN_000", "GARASU_000"})
        EXPECT_TRUE(k.menus().isEnabled(QString::fromLatin1(menu))) << menu;
    EXPECT_FALSE(k.menus().isEnabled(QStringLiteral("SERCH_000")));
    EXPECT_FALSE(k.menus().isVisible(QStringLiteral("SERCH_000")));
    EXPECT_FALSE(k.Label9->isVisible());
    EXPECT_FALSE(k.Text5->isVisible());
    EXPECT_TRUE(app->editTool().storeWidthsEnabled());

    // Cancel and blanks give the default name.
    seam.cancelInput();
    k.FILE_NEW_Click();
    ASSERT_EQ(k.Combo2->count(), 2);
    EXPECT_EQ(g().CUR_DOC_NAME, "新規物件");
    EXPECT_EQ(g().HEAD_BUKKEN, "新規物件");
    EXPECT_EQ(g().CUR_SLOT, 1);
}

TEST_F(KihonDocuments, FiveDocumentsAtMostEachNameOnce)
{
    KIHON &k = start();
    newDocument(k, QStringLiteral("A"));
    newDocument(k, QStringLiteral("B"));
    newDocument(k, QStringLiteral("C"));

    // Closing slot 1 frees it for the next new document, which is listed last.
    k.Combo2->setCurrentIndex(1);
    k.Combo2_Click();
    ASSERT_EQ(g().CUR_DOC_NAME, "B");
    seam.answerMessage(Answer::Yes, says("このﾌｧｲﾙを解放しますか？"));
    k.Command4_Click();
    EXPECT_EQ(g().CUR_DOC_NAME, "A"); // the first listed document is current
    newDocument(k, QStringLiteral("D"));
    EXPECT_EQ(g().CUR_SLOT, 1);
    EXPECT_TRUE(k.comboEntryAt(2).starts_with("D" + std::string(70, ' ') + "#01"));

    openSample(k);
    EXPECT_EQ(g().CUR_SLOT, 3);
    EXPECT_EQ(g().DOC_DIR, txtDir());

    // The same name again, from the dialog: refused, nothing changes.
    seam.answerOpen(docPath("見本見積.TXT"));
    seam.answerMessage(Answer::Ok, says("既に読込中です。"));
    k.FILE_READ_Click();
    EXPECT_EQ(k.Combo2->count(), 4);
    EXPECT_EQ(g().CUR_SLOT, 3);

    newDocument(k, QStringLiteral("E"));
    EXPECT_EQ(g().CUR_SLOT, 4);
    ASSERT_EQ(k.Combo2->count(), 5);

    // A sixth: 新規 refuses at once, the open after the file was chosen.
    seam.answerMessage(Answer::Ok, says("5ﾌｧｲﾙまでです。"));
    k.FILE_NEW_Click();
    seam.answerOpen(docPath("見本見積.TXT"));
    seam.answerMessage(Answer::Ok, says("5ﾌｧｲﾙまでです。"));
    k.FILE_READ_Click();
    EXPECT_EQ(k.Combo2->count(), 5);
    EXPECT_EQ(g().CUR_SLOT, 4);
}

TEST_F(KihonDocuments, ClosingAndQuittingAskFirst)
{
    KIHON &k = start();
    newDocument(k, QStringLiteral("A"));
    seam.answerMessage(Answer::No, [](const MessageRequest &m) {
        EXPECT_EQ(m.buttons, qd::qt::Buttons::YesNo);
        EXPECT_EQ(m.text.toStdString(), "※警告※--->保存せずに解放すると、無くなる場合があります。\n\r\n\r"
                                        "このﾌｧｲﾙを解放しますか？ ");
    });
    k.Command4_Click();
    EXPECT_EQ(k.Combo2->count(), 1);

    seam.answerMessage(Answer::No, says("終了しますか？"));
    k.END_000_Click();
    EXPECT_EQ(ended, 0);

    seam.answerMessage(Answer::Yes);
    k.Command4_Click();
    EXPECT_EQ(k.Combo2->count(), 0);
    EXPECT_FALSE(k.Frame1->isVisible());

    // With nothing open the end comes without a question.
    k.END_000_Click();
    EXPECT_EQ(ended, 1);
}

TEST_F(KihonDocuments, WithoutACommonTaxRateNothingIsLeftHalfOpen)
{
    writeBytes(inst.data() / "syohizei_calc.fil", "");
    KIHON &k = start();
    seam.answerInput(QStringLiteral("A"));
    seam.answerMessage(Answer::Ok, says("共通の消費税率を【ﾒﾆｭｰ・属性・消費税率の設定】から設定して下さい。"));
    k.FILE_NEW_Click();

    EXPECT_EQ(k.Combo2->count(), 0);
    EXPECT_EQ(g().Grid1[0].rows(), 2);
    EXPECT_EQ(title(k), "【見積書・納品書・請求書】quotedesk");
    EXPECT_FALSE(k.Frame1->isVisible());
    EXPECT_FALSE(k.menus().isEnabled(QStringLiteral("FILE_WRITE")));
    EXPECT_FALSE(k.menus().isEnabled(QStringLiteral("PRN_000")));
    // The way the message names stays open.
    EXPECT_TRUE(k.menus().isEnabled(QStringLiteral("ZOKUSEI_000")));
    EXPECT_TRUE(k.menus().isEnabled(QStringLiteral("SYOHIZEI_000")));
    EXPECT_FALSE(k.menus().isEnabled(QStringLiteral("SITEI_WIDTH")));

    // With a document open, a failed open leaves that document current.
    writeBytes(inst.data() / "syohizei_calc.fil", qd::core::encodeTaxSettings({Fixed4::fromInt(10), 1, 2, 1}));
    newDocument(k, QStringLiteral("A"));
    ASSERT_EQ(k.Combo2->count(), 1);
    writeBytes(inst.data() / "syohizei_calc.fil", "");
    seam.answerOpen(docPath("見本見積.TXT"));
    seam.answerMessage(Answer::Ok, says("共通の消費税率"));
    k.FILE_READ_Click();
    EXPECT_EQ(k.Combo2->count(), 1);
    EXPECT_EQ(g().CUR_DOC_NAME, "A");
    EXPECT_EQ(g().CUR_SLOT, 0);
    EXPECT_EQ(g().Grid1[1].rows(), 2);
    EXPECT_TRUE(k.Grid1[0]->isVisible());
    EXPECT_FALSE(k.Grid1[1]->isVisible());
    EXPECT_TRUE(k.menus().isEnabled(QStringLiteral("FILE_WRITE")));
}

TEST_F(KihonDocuments, SaveAsRenamesTheListEntry)
{
    KIHON &k = start();
    openSample(k);
    const std::string sampleEntry = k.comboEntryAt(0);

    seam.cancelSave();
    k.FILE_WRITE_Click();
    EXPECT_EQ(k.comboEntryAt(0), sampleEntry);

    seam.answerSave(docPath("別名.TXT"), [this](const qd::qt::FileDialogRequest &r) {
        EXPECT_EQ(r.fileName.toStdString(), "見本見積.TXT");
        EXPECT_EQ(r.initDir.toStdString(), instDir() + "\\data\\TXT");
        EXPECT_EQ(r.flags, 2);
        EXPECT_TRUE(r.cancelError);
    });
    k.FILE_WRITE_Click();
    EXPECT_TRUE(std::filesystem::exists(inst.data() / "TXT" / "別名.TXT"));
    EXPECT_TRUE(std::filesystem::exists(inst.data() / "TXT" / "別名.SSS"));
    EXPECT_EQ(k.comboEntryAt(0), "別名" + std::string(70, ' ') + "#00" + txtDir());
    EXPECT_EQ(k.Combo2->itemText(0).toStdString(), "別名");
    EXPECT_EQ(std::filesystem::file_size(inst.data() / "TXT" / "別名.TXT"),
              std::filesystem::file_size(inst.data() / "TXT" / "見本見積.TXT"));

    // The entry names the document as saved: making it current again keeps the new name.
    k.Combo2_Click();
    EXPECT_EQ(g().CUR_DOC_NAME, "別名");
    EXPECT_EQ(g().DOC_DIR, txtDir());
}

TEST_F(KihonDocuments, NamesThatCannotNameAFileAreRefused)
{
    for (const char *bad : {"a/b", "..", "x..y", "a\\b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a|b", "a\tb", ".見積", "."})
        EXPECT_FALSE(qd::core::isValidDocumentName(bad)) << bad;
    for (const char *good : {"見本見積", "A-1 山田邸", "新規物件", "a.b"})
        EXPECT_TRUE(qd::core::isValidDocumentName(good)) << good;
    // The longest file built from a name is the PDF of a print: "<name>_請求書.pdf" may not pass
    // the 255 bytes of a file name.
    EXPECT_TRUE(qd::core::isValidDocumentName(std::string(241, 'a')));
    EXPECT_FALSE(qd::core::isValidDocumentName(std::string(242, 'a')));

    KIHON &k = start();
    seam.answerInput(QStringLiteral("../外"));
    seam.answerMessage(Answer::Ok, says("ファイル名に使えません"));
    k.FILE_NEW_Click();
    EXPECT_EQ(k.Combo2->count(), 0);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "外.SSS"));

    // A name chosen in a dialog goes through the same check.
    seam.answerOpen(docPath("x..y.TXT"));
    seam.answerMessage(Answer::Ok, says("ファイル名に使えません"));
    k.FILE_READ_Click();
    EXPECT_EQ(k.Combo2->count(), 0);
    EXPECT_FALSE(std::filesystem::exists(inst.data() / "TXT" / "x..y.SSS"));
}

TEST_F(KihonDocuments, ANameTypedWithoutItsTxtIsAskedAboutByItsFiles)
{
    KIHON &k = start();
    openSample(k);
    g().curGrid().setCell(1, 2, "書き換えた行");
    const std::string lines = readBytes(inst.data() / "TXT" / "見本見積.TXT");

    // The dialog asked about "見本見積", which is no file; the save writes 見本見積.TXT and .SSS.
    seam.answerSave(docPath("見本見積"));
    seam.answerMessage(Answer::No, [](const MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "見本見積.TXT、見本見積.SSSは既に存在します。上書きしますか？");
        EXPECT_EQ(m.buttons, qd::qt::Buttons::YesNo);
    });
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(inst.data() / "TXT" / "見本見積.TXT"), lines);

    seam.answerSave(docPath("見本見積"));
    seam.answerMessage(Answer::Yes);
    k.FILE_WRITE_Click();
    EXPECT_NE(readBytes(inst.data() / "TXT" / "見本見積.TXT"), lines);
}

// The header form of the current document, a partner confirmed with Enter and "終了" pressed: the
// header file is written at once.
void writeHeaderThroughItsForm(KIHON &k, qd::forms::QuotedeskApp &app, const QString &partner)
{
    k.menus().click(QStringLiteral("ZOKUSEI_MIT"));
    qd::forms::MITFM *f = app.forms.ifLoaded<qd::forms::MITFM>();
    ASSERT_NE(f, nullptr);
    f->Text_GotFocus(1);
    f->Text[1]->setText(partner);
    f->Text_KeyDown(1, 13);
    f->Command1_Click();
    EXPECT_EQ(app.forms.ifLoaded<qd::forms::MITFM>(), nullptr);
}

// The files a new document's header form and saves wrote are its own: saving replaces them
// without a question, under the name typed with or without its ".TXT". Written since by another
// program, they are asked about.
TEST_F(KihonDocuments, ASaveReplacesWithoutAskingTheFilesItsDocumentWrote)
{
    KIHON &k = start();
    newDocument(k, QStringLiteral("試験A"));
    const std::filesystem::path head = inst.data() / "TXT" / "試験A.SSS", lines = inst.data() / "TXT" / "試験A.TXT";
    writeHeaderThroughItsForm(k, *app, QStringLiteral("山田工務店"));
    ASSERT_EQ(readBytes(head).size(), 256u);

    g().curGrid().setCell(1, 2, "最初の行");
    seam.answerSave(docPath("試験A.TXT"));
    k.FILE_WRITE_Click(); // no question: the seam fails on any message
    EXPECT_EQ(qd::text::trimRight(qd::text::fromCp932(readBytes(head).substr(0, 50))), "山田工務店");
    EXPECT_EQ(readBytes(lines).size(), 1024u);

    g().curGrid().setCell(2, 2, "次の行");
    writeHeaderThroughItsForm(k, *app, QStringLiteral("川田商店"));
    seam.answerSave(docPath("試験A"));
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(lines).size(), 2048u);
    EXPECT_EQ(seam.messages().size(), 0);

    // Another program writes the header in between (a second record after it): asked, and No
    // leaves the header as that program wrote it.
    const std::string theirs = readBytes(head) + std::string(254, ' ') + "\r\n";
    writeBytes(head, theirs);
    g().curGrid().setCell(3, 2, "三行目");
    seam.answerSave(docPath("試験A.TXT"));
    seam.answerMessage(Answer::No, says("他のプログラムで変更されています"));
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(head), theirs);
    EXPECT_EQ(readBytes(lines).size(), 2048u);
}

// A new document named as another document on disk is not that document: its first save asks
// before it replaces the other's files, and No leaves them as they are.
TEST_F(KihonDocuments, ANewDocumentAsksBeforeReplacingAnotherDocumentOfItsName)
{
    const std::filesystem::path txt = inst.data() / "TXT";
    const std::string sampleHead = readBytes(txt / "見本見積.SSS"), sampleLines = readBytes(txt / "見本見積.TXT");
    writeBytes(txt / "他件.SSS", sampleHead);
    writeBytes(txt / "他件.TXT", sampleLines);
    KIHON &k = start();
    newDocument(k, QStringLiteral("他件"));
    g().curGrid().setCell(1, 2, "新しい行");

    seam.answerSave(docPath("他件"));
    seam.answerMessage(Answer::No, [](const MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "他件.TXT、他件.SSSは既に存在します。上書きしますか？");
    });
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(txt / "他件.SSS"), sampleHead);
    EXPECT_EQ(readBytes(txt / "他件.TXT"), sampleLines);

    // The header form writes its header at once; the other's line file is still asked about.
    writeHeaderThroughItsForm(k, *app, QStringLiteral("山田工務店"));
    seam.answerSave(docPath("他件"));
    seam.answerMessage(Answer::No, [](const MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "他件.TXTは既に存在します。上書きしますか？");
    });
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(txt / "他件.TXT"), sampleLines);

    // A header of the name that another quotedesk wrote after this document was made.
    newDocument(k, QStringLiteral("後から"));
    writeBytes(txt / "後から.SSS", sampleHead);
    seam.answerSave(docPath("後から.TXT"));
    seam.answerMessage(Answer::No, [](const MessageRequest &m) {
        EXPECT_EQ(m.text.toStdString(), "後から.SSSは既に存在します。上書きしますか？");
    });
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(txt / "後から.SSS"), sampleHead);
    EXPECT_FALSE(std::filesystem::exists(txt / "後から.TXT"));
}

TEST_F(KihonDocuments, ADocumentWithoutAHeaderTakesNothingOfTheOneShownBefore)
{
    KIHON &k = start();
    openSample(k);
    ASSERT_EQ(qd::text::trim(g().HEAD_TOKUI), "株式会社　山川建設");
    newDocument(k, QStringLiteral("新件"));
    EXPECT_EQ(qd::text::trim(g().HEAD_TOKUI), "");
    EXPECT_EQ(qd::text::trim(g().HEAD_BUKKEN), "新件");

    // Back to the sample and again to the new document, which has no header file yet.
    k.Combo2->setCurrentIndex(0);
    k.Combo2_Click();
    ASSERT_EQ(qd::text::trim(g().HEAD_TOKUI), "株式会社　山川建設");
    k.Combo2->setCurrentIndex(1);
    k.Combo2_Click();
    EXPECT_EQ(qd::text::trim(g().HEAD_TOKUI), "");
    EXPECT_EQ(g().HEAD_RATE, Fixed4());

    g().curGrid().setCell(1, 2, "行");
    seam.answerSave(docPath("新件.TXT"));
    k.FILE_WRITE_Click();
    EXPECT_EQ(readBytes(inst.data() / "TXT" / "新件.SSS").substr(0, 50), std::string(50, ' '));
}

TEST(KihonComboEntry, NameSlotAndFolderComeBack)
{
    const std::string e = KIHON::comboEntry(" 山田#邸 ", 3, "/data/TXT");
    EXPECT_EQ(e, "山田#邸" + std::string(70, ' ') + "#03/data/TXT");
    const KIHON::ComboParts p = KIHON::parseComboEntry(e);
    EXPECT_EQ(p.name, "山田#邸");
    EXPECT_EQ(p.slot, 3);
    EXPECT_EQ(p.folder, "/data/TXT");
}

} // namespace
} // namespace qd::testing
