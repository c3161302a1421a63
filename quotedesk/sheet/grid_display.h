// The display values of the sheets: row heights, column widths and the zoom of the all-columns
// set ("\data\GRID_DISP_NOMAL_FILE.fil") and of the chosen-columns set
// ("\data\GRID_DISP_SITEI_FILE.fil"), the built-in defaults, and the zoom of the current sheet.
//
// A record is 440 bytes in a file of 512-byte records: 27 little-endian 64-bit fixed-point
// values (twips x 10,000), the zoom as a little-endian 32-bit percentage, 218 blanks, LF LF.
// A column is hidden by a width of 20 twips.
#pragma once

#include <string>
#include <string_view>

#include "quotedesk/core/qd_state.h"

namespace qd::sheet {

using qd::core::GridDisplaySettings;
using qd::core::QdState;

inline constexpr int GRID_DISP_RECORD_LENGTH = 512; // record length of the file
inline constexpr int GRID_DISP_RECORD_BYTES = 440;  // bytes of the record itself
inline constexpr int HIDDEN_COL_WIDTH = 20;

// What the SET procedures change on the main window besides the sheet.
class DisplayUi {
public:
    virtual ~DisplayUi() = default;
    virtual void setMenuVisible(const std::string &name, bool visible) = 0;
    virtual void setControlVisible(const std::string &name, bool visible) = 0;
    // The edit tool window's store-widths button Command3 ("巾記憶").
    virtual void setStoreWidthsEnabled(bool enabled) = 0;
};

// The 440 bytes of a record, and back. decode throws std::invalid_argument for fewer than 440
// bytes: a record cut short holds no usable set.
std::string encodeGridDisplay(const GridDisplaySettings &s);
GridDisplaySettings decodeGridDisplay(std::string_view bytes);

// The built-in set: caption row 680, data rows 280, the widths of the sheet's columns with the
// size, colour, rate-class and article-number columns hidden; zoom 100.
GridDisplaySettings defaultGridDisplay();

// Openers (a missing file is created empty; the record count is the length / 512 rounded half
// to even; the file stays open), buffer clear, apply and save of each set.
void GRID_DISP_NOMAL_OPEN(QdState &g);
void GRID_DISP_SITEI_OPEN(QdState &g);
void GRID_DISP_NOMAL_CLEAR(QdState &g);
void GRID_DISP_SITEI_CLEAR(QdState &g);
// The buffer becomes the set in force (DISP_WIDTHS, ROW_HEIGHT_0/1, COL_WIDTH_00, FONT_PCT) and
// its heights and widths go onto the current sheet. Throws qd::grid::GridError when the sheet
// cannot take them.
void GRID_DISP_NOMAL_APPLY(QdState &g);
void GRID_DISP_SITEI_APPLY(QdState &g);
// The current sheet's heights and widths with FONT_PCT become record 1 of the open file, which
// is then closed. Throws qd::files::FileError when it cannot be written.
void GRID_DISP_NOMAL_SAVE(QdState &g);
void GRID_DISP_SITEI_SAVE(QdState &g);

// Reads the set from its file and puts it on the current sheet with its zoom; a missing, empty,
// short or unreadable file, or values the sheet cannot take, give the defaults. Then shows the
// colour and size-print menus and the launcher entries, takes the search menu off the bar and
// hides the glass total. NOMAL first disables the store-widths button.
void GRID_DISP_NOMAL_SET(QdState &g, DisplayUi &ui);
void GRID_DISP_SITEI_SET(QdState &g, DisplayUi &ui);

// The current sheet's font := FONT_PCT / 100 x FONT_BASE points; its current cell goes to
// (0, COL_BASE).
void GRID_ZOOM_SET(QdState &g);

} // namespace qd::sheet
