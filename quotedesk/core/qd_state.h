// The globals of quotedesk, by their names, in one object. Forms and procedures get
// it by reference; a test starts from a fresh one.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/files/file_stamp.h"
#include "platform/grid/flex_grid.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/core_ui.h"
#include "records/records_state.h"

namespace qd::core {

using qd::text::Fixed4;

// "\data\syohizei_calc.fil", record 1: numbers as raw little-endian integers, no "," fields,
// ending LF CR.
struct TaxSettings {
    Fixed4 ZEI_RITU;             // common rate in percent
    std::int16_t HASU_TANI = 0;  // rounding unit 1, 10, 100 (other: unrounded)
    std::int16_t HASU_MODE = 0;  // 1 up, 2 down, 3 half up
    std::int16_t ZEI_KBN = 0;    // 0 included, 1 added
};

// One sheet row in fixed-width work fields: the stage between the sheet and LINE_REC.
struct LineWork {
    std::string HIDUKE;        // 10
    std::string HINMEI;        // its own field (200 bytes in the record)
    std::string KOSYO;         // 20
    std::string W_MIRI, H_MIRI, D_MIRI; // 7 each
    std::string M2_TANKA;      // 7
    std::string IRO_NAME;      // 20
    std::string SURYO;         // 5
    std::string TANI;          // 10
    std::string RITU_KBN;      // 6
    std::string KAKERITU;      // 6
    std::string TEIKA, TANKA;  // 7 each
    std::string KINGAKU;       // 8
    std::string BIKO;          // 50
    std::string GENKA_RITU;    // 6
    std::string GENKA;         // 7
    std::string GENKA_KINGAKU, ARARI; // 8 each
    std::string HACHU_HINBAN;  // 25
    std::string HINBAN;        // 85
    Fixed4 ZEI_RITU;           // currency
    Fixed4 ZEI_GAKU;           // currency
};

// "\data\GRID_DISP_NOMAL_FILE.fil" / "\data\GRID_DISP_SITEI_FILE.fil", record 1 (440 bytes in a
// file of 512-byte records): heights and widths in twips as fixed point, the zoom percentage,
// 218 blanks, LF LF.
struct GridDisplaySettings {
    Fixed4 ROW_HEIGHT_0;                 // caption row
    Fixed4 ROW_HEIGHT_1;                 // data rows
    std::array<Fixed4, 25> COL_WIDTH{};  // COL_WIDTH_00 .. COL_WIDTH_24
    std::int32_t ZOOM = 0;               // font percentage
};

// What the program last saw of a document's two files, from its load, its last save or the
// header form's "終了": a save that finds them changed since then asks before it overwrites
// another program's work. A file the slot wrote itself and finds as it left it is the open
// document's own: a save replaces it without asking whether it may.
struct DocFilesSeen {
    std::string headFile, lineFile; // the files as the host names them (empty: not seen)
    qd::files::FileStamp head, line;
    bool headWritten = false, lineWritten = false; // written by this slot, not only loaded
};

constexpr int SlotCount = 5;      // document slots Grid1(0..4)
constexpr int WorkGridIndex = 5;  // Grid1(5): the hidden work grid, never a document
constexpr int COL_BASE = 1;

struct QdState : qd::records::RecordsState {
    CoreUi *ui = nullptr; // the main window (or a test's script); never null while in use
    CoreUi &UI() const { return *ui; }

    // The sheets of KIHON: five document slots and the work grid.
    std::array<qd::grid::FlexGrid, 6> Grid1;
    qd::grid::FlexGrid &curGrid() { return Grid1.at(CUR_SLOT); }

    // Folders and names.
    std::string DOC_DIR;
    std::string CUR_DOC_NAME, HEAD_NAME;
    std::string SELECT_DIR, SELECT_NAME;
    std::int16_t CUR_SLOT = 0, CUR_LIST_INDEX = 0;

    // Cell being worked on, live and saved selections, the remembered block.
    std::int32_t ROW_NO = 1, COL_NO = 1;
    std::int16_t SEL_ROW = 1, SEL_COL = 1, SEL_ROW_END = 1, SEL_COL_END = 1, SEL_ROW_SPAN = 0, SEL_COL_SPAN = 0;
    std::int32_t SAVED_ROW = 0, SAVED_ROW_END = 0, SAVED_COL = 0, SAVED_COL_END = 0;
    std::int16_t BLOCK_ROW = 0, BLOCK_ROW_END = 0, BLOCK_COL = 0, BLOCK_COL_END = 0;
    std::int16_t BLOCK_ROW_SPAN = 0, BLOCK_COL_SPAN = 0, COPY_GRID_IDX = 0;

    // Row insertion, last row, scan limits.
    std::int16_t INSERT_ROWS = 0, LAST_ROW = 0;
    std::int16_t SUM_ROW_LIMIT = 0, PAGE_ROW_LIMIT = 0;

    // Modes.
    std::int16_t CALC_UNIT = 1, CALC_ADJ = 0;
    std::int16_t DOC_KIND = 0, SIZE_MODE = 0, DISP_MODE = 0, FIXED_COLS = 1, EDIT_AXIS = 0;

    // Display: zoom percentage, base font size, heights and widths in force (twips).
    std::int32_t FONT_PCT = 100;
    Fixed4 FONT_BASE = Fixed4::fromInt(12);
    Fixed4 ROW_HEIGHT_0 = Fixed4::fromInt(300), ROW_HEIGHT_1 = Fixed4::fromInt(300);
    Fixed4 COL_WIDTH_00 = Fixed4::fromInt(400);
    std::array<Fixed4, 25> DISP_WIDTHS{}; // column widths in force, columns 0..24

    std::string EDIT_VALUE; // 100
    std::int32_t GRID_MOUSE_X = 0, GRID_MOUSE_Y = 0;
    std::int16_t SKIP_BREAKDOWN = 0;
    std::int32_t MSG_ANS = 0;
    Fixed4 SCREEN_SCALE = Fixed4::fromInt(1);

    // Document header and line buffers.
    std::string HEAD_TOKUI, HEAD_BUKKEN, HEAD_NOUHIN, HEAD_SIHARAI, HEAD_NOUKI, HEAD_YUKOU;
    Fixed4 HEAD_RATE, RATE_VALUE;
    qd::records::Record HEAD_REC{qd::records::DocHeader::layout()};
    qd::records::Record LINE_REC{qd::records::DocLine::layout()};
    LineWork LINE_WORK;
    qd::records::RecordFileControl HEAD_CTL, LINE_CTL; // the SELECT line file shares LINE_CTL
    std::array<DocFilesSeen, SlotCount> DOC_FILES_SEEN{}; // per document slot

    // Consumption tax.
    TaxSettings TAX_REC;
    Fixed4 TAX_RATE;
    std::int16_t TAX_ROUND_UNIT = 0, TAX_ROUND_MODE = 0, TAX_MODE = 1;
    Fixed4 LINE_TAX_RATE;
    std::array<Fixed4, 11> TAX_TBL_RATE{}, TAX_TBL_BASE{}, TAX_TBL_TAX{}; // slots 1..10
    std::int16_t TAX_TBL_INDEX = 0;
    double TAX_WORK = 0;
    std::int32_t DOC_AMOUNT_TOTAL = 0, DOC_TAX_TOTAL = 0, DOC_GROSS_TOTAL = 0;
    // A total beyond what the 32-bit totals hold: they stand at their limit, and the main window
    // shows the whole figure marked. Nothing may print or use them as the document's totals then.
    bool TOTALS_BEYOND_FIELDS = false;

    // Colour last chosen in the colour form.
    std::string COLOR_PICK_GROUP, COLOR_PICK_CODE, COLOR_PICK_NAME; // 2, 2, 20

    // Product entry: the choice shared by the pickers (codes as numbers, 0 = nothing chosen;
    // MAJOR_NO is the openers'), the search ranges of the cascade lists (a lower end of 0 = no
    // limit), the colour codes and prices behind the price panels, and the text search.
    std::int16_t CLASS_NO = 0, KIND1_NO = 0, KIND2_NO = 0, SECTION_NO = 0, COLOR_NO = 0;
    std::int32_t MAJOR_FROM = 0, MAJOR_TO = 0, CLASS_FROM = 0, CLASS_TO = 0, KIND1_FROM = 0, KIND1_TO = 0;
    std::array<std::int16_t, 17> PANEL_COLORS{};  // 1..16
    std::array<std::int32_t, 101> PANEL_PRICES{}; // 1..100
    std::int16_t PANEL_POS = 0;
    std::int16_t SEARCH_STOP = 0; // 9: a stop has been asked for
    std::int32_t SEARCH_COUNT = 0;
    std::int16_t SEARCH_HIT = 0;
    // The set search: the listed set's name and list price, the component being written.
    std::string CUR_SET_NAME = std::string(30, ' ');
    std::int64_t SET_TOTAL = 0; // yen
    std::int16_t SET_ITEM_NO = 0;
    // The single-item picker: the chosen item and the price and cost its row gets, and the text
    // searched for in the item names.
    std::int16_t ITEM_CODE = 1;
    std::string ITEM_NAME = std::string(50, ' ');
    std::int32_t ITEM_TANKA = 0, ITEM_GENKA = 0;
    std::string SEARCH_TEXT;

    // Start-up: the folder-pointer record as read, and the window caption's three pieces.
    std::string DIR_REC_NAME, DIR_REC_PATH; // 128, 512
    std::string CAPTION_MODE_TEXT, CAPTION_UNIT_TEXT, CAPTION_SIZE_TEXT;

    // Display settings files: one buffer and file control for each column display set.
    GridDisplaySettings GRID_DISP_NOMAL_REC, GRID_DISP_SITEI_REC;
    qd::records::RecordFileControl GRID_DISP_NOMAL_CTL, GRID_DISP_SITEI_CTL;

    // Printing.
    Fixed4 PRN_SCALE_X = Fixed4::fromInt(100), PRN_SCALE_Y = Fixed4::fromInt(100);
    Fixed4 PRN_OFS_X, PRN_OFS_Y;
    Fixed4 PAGE_W = Fixed4::fromInt(257), PAGE_H = Fixed4::fromInt(182); // mm
    std::int16_t PRN_OPTION = 1;
    std::string ISSUE_DATE;
    Fixed4 ISSUE_DATE_NUM; // the number ISSUE_DATE starts with
    std::int16_t TAX_PRINT = 1;
    // The print run: what goes beside the product name, the page shown or printed, the pages
    // composed, the range to print, the sum of the printed amounts and the stop request (9).
    std::int16_t PRN_NAME_COL = 0;
    std::int16_t PAGE_NO = 0, PAGE_COUNT = 0, PRN_FROM = 0, PRN_TO = 0;
    std::int64_t PRN_AMOUNT_SUM = 0; // wide enough for any sheet
    std::int16_t PRN_CANCEL = 0;
};

} // namespace qd::core
