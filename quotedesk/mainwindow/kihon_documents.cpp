// The document slots of the main window: up to five documents open at once, one sheet each
// (Grid1(0..4)), listed in Combo2 as name, slot and folder; new, open, save, switch and close
// (FILE_NEW, FILE_READ, FILE_WRITE, Combo2, Command4) and the end command.
#include "quotedesk/mainwindow/kihon.h"

#include <QComboBox>
#include <QFrame>

#include <algorithm>
#include <cctype>

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/document_name.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/entry/ssgarasufm.h"
#include "quotedesk/entry/sskensa.h"
#include "quotedesk/entry/ssset.h"
#include "quotedesk/mainwindow/quotedesk_app.h"
#include "quotedesk/sheet/grid_display.h"

namespace qd::forms {

using qd::core::Fixed4;
using qd::grid::FlexGrid;
using qd::qt::qs;
using qd::qt::ss;
using qd::text::trim;

namespace {

const char *const FIVE_DOCUMENTS = "同時に読込可能な数は・・・5ﾌｧｲﾙまでです。";
constexpr int MAX_DOCUMENTS = 5;
const char *const POINTER_FILE = "c:\\tamo\\tamo_dir.SSS";

// Every record file of the program closed, as at the end of a command.
void closeAllFiles(qd::core::QdState &g)
{
    for (qd::records::RecordFileControl *c :
         {&g.MAKER_CTL, &g.CIHO_CTL, &g.BUNRUI_CTL, &g.IRO_CTL, &g.HISYU1_CTL, &g.HISYU2_CTL, &g.TANKA_CTL,
          &g.TANPIN_CTL, &g.WTANPIN_CTL, &g.TOKF_CTL, &g.SYSF_CTL, &g.DIR_CTL, &g.SYOHIZEI_CTL, &g.HEAD_CTL,
          &g.LINE_CTL, &g.GRID_DISP_NOMAL_CTL, &g.GRID_DISP_SITEI_CTL})
        c->close();
}

// A warning with a beep that asks Yes or No; true when the answer is Yes.
bool warnedYes(KIHON &k, const std::string &warning, const std::string &question)
{
    k.beep();
    return k.msgBox(qd::text::twoLines(warning, question), qd::core::Buttons::YesNo) == qd::core::Answer::Yes;
}

} // namespace

std::string KIHON::comboEntry(const std::string &name, int slot, const std::string &folder)
{
    return trim(name) + std::string(70, ' ') + "#" + qd::text::format(slot, "00") + trim(folder);
}

KIHON::ComboParts KIHON::parseComboEntry(const std::string &entry)
{
    ComboParts parts;
    // The name ends where the 70 blanks before "#" begin, so a "#" in the name does no harm.
    std::size_t hash = entry.find(std::string(70, ' ') + "#");
    hash = hash == std::string::npos ? entry.find('#') : hash + 70;
    if (hash == std::string::npos) {
        parts.name = trim(entry);
        return parts;
    }
    parts.name = trim(entry.substr(0, hash));
    const std::string slot = entry.substr(hash + 1, 2);
    parts.slot = slot.size() == 2 && std::isdigit(static_cast<unsigned char>(slot[0])) &&
                         std::isdigit(static_cast<unsigned char>(slot[1]))
                     ? (slot[0] - '0') * 10 + (slot[1] - '0')
                     : -1;
    parts.folder = hash + 3 <= entry.size() ? entry.substr(hash + 3) : std::string();
    return parts;
}

// The list shows each document by its name; the whole entry, with its slot and folder, stays
// with the item for the program.
std::string KIHON::comboEntryAt(int index) const
{
    return ss(Combo2->itemData(index).toString());
}

void KIHON::addComboEntry(const std::string &entry)
{
    Combo2->addItem(qs(parseComboEntry(entry).name), qs(entry));
}

void KIHON::setComboEntry(int index, const std::string &entry)
{
    Combo2->setItemText(index, qs(parseComboEntry(entry).name));
    Combo2->setItemData(index, qs(entry));
}

int KIHON::freeSlot()
{
    Combo3->clear();
    for (int i = 0; i < Combo2->count(); ++i)
        Combo3->addItem(qs(qd::text::format(parseComboEntry(comboEntryAt(i)).slot, "00")));
    for (int s = 0;; ++s) {
        bool used = false;
        for (int i = 0; i < Combo3->count(); ++i)
            used = used || Combo3->itemText(i).toInt() == s;
        if (!used)
            return s;
    }
}

void KIHON::bringSheetToFront(int slot)
{
    for (int i = 0; i < qd::core::SlotCount; ++i)
        if (i != slot)
            Grid1[static_cast<std::size_t>(i)]->hide();
    if (slot >= 0 && slot < qd::core::SlotCount) {
        Grid1[static_cast<std::size_t>(slot)]->show();
        Grid1[static_cast<std::size_t>(slot)]->raise();
    }
}

void KIHON::placeDocumentWindow()
{
    const qd::qt::ScreenSize s = qd::qt::screen();
    const double sw = std::round(s.widthTwips());
    const double sh = std::round(s.heightTwips());
    auto scaled = [this](int twips) { return (Fixed4::fromInt(twips) * g.SCREEN_SCALE).toDouble(); };
    setWindowTwips(0, 0, sw, sh);
    qd::qt::setGeometryTwips(Frame1, scaled(120), scaled(600), scaled(13090), scaled(9490));
    double w = scaled(11650), h = scaled(7650);
    if (sw >= 13510 && sh >= 10500) {
        w = sw - 400;
        h = sh - 2000;
    }
    for (int i = 0; i < qd::core::SlotCount; ++i)
        qd::qt::setGeometryTwips(Grid1[static_cast<std::size_t>(i)], scaled(120), scaled(720), w, h);
}

void KIHON::kihon_idx_read()
{
    const int index = Combo2->currentIndex();
    if (index < 0)
        return;
    const ComboParts e = parseComboEntry(trim(comboEntryAt(index)));
    g.CUR_DOC_NAME = e.name;
    g.HEAD_NAME = e.name;
    g.DOC_DIR = e.folder;
    if (e.slot >= 0 && e.slot < qd::core::SlotCount)
        g.CUR_SLOT = static_cast<std::int16_t>(e.slot);
    bringSheetToFront(g.CUR_SLOT);
}

void KIHON::Combo2_Click()
{
    try {
        FlexGrid &before = g.curGrid();
        before.setRow(0);
        before.setCol(0);
    } catch (const std::exception &) {
    }
    g.CUR_LIST_INDEX = static_cast<std::int16_t>(Combo2->currentIndex());
    kihon_idx_read();
    try {
        // The header of the document shown before goes first: a document without a header file
        // must not take (and a save then write) another's partner and project.
        qd::core::blankHeader(g);
        qd::core::DOC_HEAD_READ(g);
        if (g.SKIP_BREAKDOWN == 0) {
            FlexGrid &grid = g.curGrid();
            grid.setRedraw(false);
            qd::core::TAX_BREAKDOWN(g);
            grid.setRedraw(true);
        }
    } catch (const std::exception &e) {
        g.curGrid().setRedraw(true);
        beep();
        msgBox(qd::text::twoLines("見積ファイルを読み込めません。", qd::files::failureText(e)));
    }
    g.SKIP_BREAKDOWN = 0;
}

// After a new or open command that could not set up its sheet: the entry goes, the slot is
// emptied, and the window returns to the document that was current before (or to the start
// screen, with the attributes menu open so that the common tax rate can be set).
void KIHON::abandonNewSlot(int slot, int previousIndex)
{
    const int added = Combo2->count() - 1;
    if (added >= 0 && parseComboEntry(comboEntryAt(added)).slot == slot)
        Combo2->removeItem(added);
    FlexGrid &grid = g.Grid1.at(static_cast<std::size_t>(slot));
    grid.clear();
    grid.setRows(2);
    grid.setCols(2);
    grid.setRedraw(true);
    Grid1[static_cast<std::size_t>(slot)]->hide();

    if (Combo2->count() > 0) {
        const int index = previousIndex >= 0 && previousIndex < Combo2->count() ? previousIndex : 0;
        Combo2->setCurrentIndex(index);
        g.SKIP_BREAKDOWN = 1;
        Combo2_Click();
    } else {
        Combo2->setCurrentIndex(-1);
        g.CUR_LIST_INDEX = -1;
        g.CUR_SLOT = 0;
        qd::core::BUKKEN_HEAD_CLEAR(g);
        setWindowTitle(QString::fromUtf8(KIHON_START_CAPTION));
        setDocumentMenusEnabled(false);
        // The message names 属性 > 消費税率の設定: that way stays open; the column display
        // sets need a sheet.
        m_menus->setEnabled(QStringLiteral("ZOKUSEI_000"), true);
        m_menus->setEnabled(QStringLiteral("NOMAL_WIDTH"), false);
        m_menus->setEnabled(QStringLiteral("SITEI_WIDTH"), false);
        Frame1->hide();
    }
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
    }
}

void KIHON::FILE_NEW_Click()
{
    if (Combo2->count() >= MAX_DOCUMENTS) {
        beep();
        msgBox(FIVE_DOCUMENTS);
        return;
    }
    const int previousIndex = g.CUR_LIST_INDEX;
    const int slot = freeSlot();
    const std::string answer =
        ss(qd::qt::inputBox(QStringLiteral("物件名を入れてください。"), QStringLiteral("タイトルファイル名"),
                            QStringLiteral("新規")));
    const std::string headName = trim(answer).empty() ? std::string("新規物件") : answer;
    if (!qd::core::isValidDocumentName(headName)) {
        beep();
        msgBox(qd::core::invalidDocumentNameMessage());
        return;
    }
    g.CUR_LIST_INDEX = static_cast<std::int16_t>(Combo2->count());
    g.CUR_SLOT = static_cast<std::int16_t>(slot);
    g.HEAD_NAME = headName;
    g.CUR_DOC_NAME = trim(headName);
    // A new document has written no file yet: whatever lies on the disk under its name is asked
    // about before its first save replaces it.
    g.DOC_FILES_SEEN.at(static_cast<std::size_t>(slot)) = {};

    try {
        g.SKIP_BREAKDOWN = 1;
        addComboEntry(comboEntry(g.CUR_DOC_NAME, g.CUR_SLOT, g.DOC_DIR));
        Combo2->setCurrentIndex(g.CUR_LIST_INDEX);
        Combo2_Click();
        // The project name of a new header starts as the document name; a header file already
        // there under that name keeps what it holds.
        if (g.HEAD_CTL.fileLength <= 0) {
            qd::core::BUKKEN_HEAD_CLEAR(g);
            g.HEAD_BUKKEN = g.CUR_DOC_NAME;
        }

        FlexGrid &grid = g.curGrid();
        bringSheetToFront(slot);
        grid.setRedraw(false);
        grid.setRows(2);
        grid.setCols(2);
        grid.setRow(1);
        grid.setCol(1);

        qd::core::SHEET_INIT(g);
        if (g.TAX_RATE == Fixed4()) { // no common tax rate: the sheet cannot be used
            abandonNewSlot(slot, previousIndex);
            return;
        }
        g.DISP_MODE = 1;
        qd::sheet::GRID_DISP_SITEI_SET(g, *this);
        placeDocumentWindow();
        app.editTool().setStoreWidthsEnabled(true);

        qd::core::TAX_TOTAL_CALC(g);
        qd::core::SHEET_INIT(g);
        documentShown();
    } catch (const std::exception &e) {
        beep();
        msgBox(qd::text::twoLines("新しい見積を作れませんでした。", qd::files::failureText(e)));
        abandonNewSlot(slot, previousIndex);
    }
}

void KIHON::documentShown()
{
    FlexGrid &grid = g.curGrid();
    grid.setRedraw(false);
    qd::core::GRID_PAGE_NUMBER(g);
    grid.setRow(1);
    grid.setCol(1);
    grid.setRedraw(true);
    m_menus->setEnabled(QStringLiteral("NOMAL_WIDTH"), true);
    m_menus->setEnabled(QStringLiteral("SITEI_WIDTH"), true);
    bringSheetToFront(g.CUR_SLOT);
    show();
    currentGridView().setFocus();
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
    }
}

void KIHON::FILE_READ_Click()
{
    const bool startUp = !trim(g.DIR_REC_NAME).empty();
    if (startUp) {
        openDocumentInSlot(g.CUR_SLOT, g.CUR_DOC_NAME, g.DOC_DIR, true);
        return;
    }

    auto endQuietly = [this] {
        try {
            qd::files::changeDir(qd::records::instDir(g));
        } catch (const std::exception &) {
        }
    };
    const std::string folder = qd::records::instDir(g) + "\\data\\TXT";
    if (!qd::files::dirExists(folder)) {
        beep();
        msgBox(qd::text::twoLines("見積データのフォルダがありません。", folder));
        return;
    }
    try {
        qd::files::changeDir(folder);
    } catch (const std::exception &) {
        endQuietly();
        return;
    }
    qd::qt::FileDialogRequest request;
    request.flags = 2;
    request.filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|");
    request.fileName = QStringLiteral("*.TXT");
    request.cancelError = true;
    request.initDir = qs(folder);
    const qd::qt::FileDialogResult chosen = qd::qt::showOpen(request);
    if (chosen.cancelled) {
        endQuietly();
        return;
    }
    if (Combo2->count() >= MAX_DOCUMENTS) {
        beep();
        msgBox(FIVE_DOCUMENTS);
        endQuietly();
        return;
    }
    const int slot = freeSlot();
    const QString title = chosen.fileTitle.trimmed();
    const QString fileName = chosen.fileName.trimmed();
    if (title.size() < 4 || fileName.size() < title.size() + 1) {
        endQuietly();
        return;
    }
    const std::string name = ss(title.left(title.size() - 4));
    const std::string docFolder = ss(fileName.left(fileName.size() - title.size() - 1));
    if (!qd::core::isValidDocumentName(name)) {
        beep();
        msgBox(qd::core::invalidDocumentNameMessage());
        endQuietly();
        return;
    }
    openDocumentInSlot(slot, name, docFolder, false);
    endQuietly();
}

bool KIHON::openDocumentInSlot(int slot, const std::string &name, const std::string &folder, bool startUp)
{
    for (int i = 0; i < Combo2->count(); ++i)
        if (parseComboEntry(comboEntryAt(i)).name == trim(name)) {
            beep();
            msgBox("既に読込中です。");
            return false;
        }
    if (Combo2->count() >= MAX_DOCUMENTS) {
        beep();
        msgBox(FIVE_DOCUMENTS);
        return false;
    }
    const int previousIndex = g.CUR_LIST_INDEX;
    g.CUR_LIST_INDEX = static_cast<std::int16_t>(Combo2->count());
    g.CUR_SLOT = static_cast<std::int16_t>(slot);
    g.CUR_DOC_NAME = name;
    g.DOC_DIR = folder;

    try {
        g.SKIP_BREAKDOWN = 1;
        addComboEntry(comboEntry(g.CUR_DOC_NAME, g.CUR_SLOT, g.DOC_DIR));
        Combo2->setCurrentIndex(g.CUR_LIST_INDEX);
        Combo2_Click();

        FlexGrid &grid = g.curGrid();
        grid.setRedraw(false);
        qd::core::LINE_REC_CLEAR(g);
        grid.setRow(std::min(1, grid.rows() - 1));
        grid.setCol(std::min(1, grid.cols() - 1));
        g.ROW_NO = 1;
        g.COL_NO = 1;
        qd::core::SHEET_INIT(g);
        if (g.TAX_RATE == Fixed4()) { // no common tax rate: the sheet cannot be used
            abandonNewSlot(slot, previousIndex);
            return false;
        }
        g.DISP_MODE = 1;
        qd::sheet::GRID_DISP_SITEI_SET(g, *this);
        placeDocumentWindow();

        // A document that cannot be read whole is not kept open, so that no save can put
        // an empty sheet over its files.
        if (!qd::core::BUKKEN_FILE_READ(g) || g.TAX_RATE == Fixed4()) {
            abandonNewSlot(slot, previousIndex);
            return false;
        }

        if (startUp) {
            // The folder-pointer record hands over one document at one start only.
            g.DIR_REC_NAME = std::string(128, ' ');
            g.DIR_REC_PATH = std::string(512, ' ');
            try {
                qd::records::DIR_FILE_OPEN(g);
                g.DIR_CTL.close();
                qd::files::removeFile(POINTER_FILE);
            } catch (const std::exception &) {
                g.DIR_CTL.close();
            }
        }

        documentShown();
        return true;
    } catch (const std::exception &e) {
        beep();
        msgBox(qd::text::twoLines("見積ファイルを読み込めません。", qd::files::failureText(e)));
        abandonNewSlot(slot, previousIndex);
        return false;
    }
}

void KIHON::FILE_WRITE_Click()
{
    if (Combo2->count() == 0)
        return;
    qd::core::SaveDialogSetup setup;
    try {
        if (!qd::core::FILE_WRITE_PREPARE(g, setup))
            return;
    } catch (const std::exception &) {
        qd::core::FILE_WRITE_END(g);
        return;
    }
    qd::qt::FileDialogRequest request;
    request.flags = setup.flags;
    request.filter = qs(setup.filter);
    request.fileName = qs(setup.fileName);
    request.cancelError = true;
    request.initDir = qs(setup.initDir);
    const qd::qt::FileDialogResult chosen = qd::qt::showSave(request);
    if (chosen.cancelled) {
        qd::core::FILE_WRITE_END(g);
        currentGridView().setFocus();
        return;
    }
    if (qd::core::BUKKEN_FILE_WRITE(g, ss(chosen.fileName), ss(chosen.fileTitle))) {
        // The list shows the document under the name and folder it now has.
        if (g.CUR_LIST_INDEX >= 0 && g.CUR_LIST_INDEX < Combo2->count())
            setComboEntry(g.CUR_LIST_INDEX, comboEntry(g.CUR_DOC_NAME, g.CUR_SLOT, g.DOC_DIR));
    }
    currentGridView().setFocus();
}

void KIHON::Command4_Click()
{
    if (Combo2->count() == 0 || g.CUR_LIST_INDEX < 0 || g.CUR_LIST_INDEX >= Combo2->count())
        return;
    if (!warnedYes(*this, "※警告※--->保存せずに解放すると、無くなる場合があります。", "このﾌｧｲﾙを解放しますか？ "))
        return;
    g.curGrid().clear();
    g.DOC_FILES_SEEN.at(static_cast<std::size_t>(g.CUR_SLOT)) = {}; // the slot holds no document's files now
    Grid1[static_cast<std::size_t>(g.CUR_SLOT)]->hide();
    Combo2->removeItem(g.CUR_LIST_INDEX);
    if (Combo2->count() > 0) {
        Combo2->setCurrentIndex(0);
        Combo2_Click();
        const int first = parseComboEntry(comboEntryAt(0)).slot;
        if (first >= 0 && first < qd::core::SlotCount)
            g.CUR_SLOT = static_cast<std::int16_t>(first);
        bringSheetToFront(g.CUR_SLOT);
        return;
    }
    // The last document is gone: the pickers that add to it close with it, and the window
    // starts afresh.
    closeDocumentPickers();
    closeAllFiles(g);
    showStartState();
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
    }
    Form_Load();
}

void KIHON::closeDocumentPickers()
{
    if (app.forms.isLoaded<SSSET>())
        app.forms.unload<SSSET>();
    if (app.forms.isLoaded<SSGARASUFM>())
        app.forms.unload<SSGARASUFM>();
    if (app.forms.isLoaded<SSKENSA>())
        app.forms.unload<SSKENSA>();
}

void KIHON::END_000_Click()
{
    if (Combo2->count() > 0 &&
        !warnedYes(*this, "※警告※--->保存せずに終了すると、編集内容が無くなる場合があります。", "終了しますか？ "))
        return;
    closeAllFiles(g);
    app.unloadEditTool();
    hide();
    if (app.endProgram)
        app.endProgram();
}

} // namespace qd::forms
