#include "quotedesk/sheet/grid_display.h"

#include <cstring>
#include <limits>
#include <stdexcept>

#include "platform/files/safe_replace.h"
#include "platform/grid/flex_grid.h"
#include "records/records_state.h"

namespace qd::sheet {

using qd::core::Fixed4;
using qd::records::RecordFileControl;

namespace {

constexpr int ZOOM_OFFSET = 216;
constexpr int FILLER_OFFSET = 220;
constexpr int FILLER_BYTES = 218;

void putLe(std::string &out, std::size_t at, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint64_t getLe(std::string_view in, std::size_t at, int bytes)
{
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)])) << (8 * i);
    return v;
}

Fixed4 fixedAt(std::string_view in, std::size_t at)
{
    return Fixed4::fromRaw(static_cast<std::int64_t>(getLe(in, at, 8)));
}

// A stored height or width as the whole twips the sheet takes; a value no sheet can take is a
// failure of the set, which then gives way to the defaults.
int wholeTwips(Fixed4 v)
{
    const std::int64_t t = v.roundHalfEven();
    if (t < 0 || t > std::numeric_limits<int>::max())
        throw qd::grid::GridError("display setting out of range: " + std::to_string(t));
    return static_cast<int>(t);
}

// The set in force and its heights and widths on the current sheet.
void putOnSheet(QdState &g, const GridDisplaySettings &s)
{
    g.ROW_HEIGHT_0 = s.ROW_HEIGHT_0;
    g.ROW_HEIGHT_1 = s.ROW_HEIGHT_1;
    g.DISP_WIDTHS = s.COL_WIDTH;
    g.COL_WIDTH_00 = s.COL_WIDTH[0];
    qd::grid::FlexGrid &grid = g.curGrid();
    grid.setRowHeight(0, wholeTwips(s.ROW_HEIGHT_0));
    grid.setRowHeight(1, wholeTwips(s.ROW_HEIGHT_1));
    for (int n = 0; n < 25; ++n)
        grid.setColWidth(n, wholeTwips(s.COL_WIDTH[static_cast<std::size_t>(n)]));
}

void openSet(QdState &g, RecordFileControl &ctl, const char *file)
{
    qd::records::openRecordFile(g, ctl, qd::records::instDir(g) + "\\data\\" + file, GRID_DISP_RECORD_LENGTH);
}

void saveSet(QdState &g, RecordFileControl &ctl, GridDisplaySettings &rec)
{
    const qd::grid::FlexGrid &grid = g.curGrid();
    rec.ROW_HEIGHT_0 = Fixed4::fromInt(grid.rowHeight(0));
    rec.ROW_HEIGHT_1 = Fixed4::fromInt(grid.rowHeight(1));
    for (int n = 0; n < 25; ++n)
        rec.COL_WIDTH[static_cast<std::size_t>(n)] = Fixed4::fromInt(grid.colWidth(n));
    rec.ZOOM = g.FONT_PCT;
    // The record is the file's first 440 bytes; a longer file keeps what follows. The file is
    // rewritten through a work copy, so a failure leaves the old settings as they were.
    ctl.close();
    qd::files::replaceFileHead(ctl.path, encodeGridDisplay(rec));
}

void setDisplay(QdState &g, DisplayUi &ui, RecordFileControl &ctl, GridDisplaySettings &rec, const char *file)
{
    bool applied = false;
    try {
        openSet(g, ctl, file);
        if (ctl.recordCount >= 1) {
            // A record cut short (a file of 257 to 439 bytes) holds no usable set.
            const std::int64_t length = ctl.file.fileLength();
            const std::string bytes = ctl.file.get(1);
            ctl.close();
            if (length < GRID_DISP_RECORD_BYTES)
                throw std::invalid_argument("display settings record cut short");
            rec = decodeGridDisplay(bytes);
            putOnSheet(g, rec);
            g.FONT_PCT = rec.ZOOM;
            applied = true;
        } else {
            ctl.close();
        }
        if (applied)
            GRID_ZOOM_SET(g);
    } catch (const std::exception &) {
        ctl.close();
        applied = false;
    }
    if (!applied) {
        putOnSheet(g, defaultGridDisplay());
        g.FONT_PCT = 100;
        GRID_ZOOM_SET(g);
    }

    ui.setMenuVisible("IRO_SETTEI", true);
    ui.setMenuVisible("GARASU_000", true);
    ui.setMenuVisible("SERCH_000", false);
    for (const char *entry : {"HOJYO_GARASU", "HOJYO_MAKER", "HOJYO_IRO", "HOJYO_CIHO", "HOJYO_TANKA",
                              "HOJYO_HINSYU1", "HOJYO_HINSYU2", "HOJYO_BUNRUI", "HOJYO_SETHIN"})
        ui.setMenuVisible(entry, true);
    ui.setControlVisible("Label9", false);
    ui.setControlVisible("Text5", false);
}

void clearSet(GridDisplaySettings &rec)
{
    // FILLER and the end bytes are written afresh by every save; the numbers stay.
    (void)rec;
}

} // namespace

std::string encodeGridDisplay(const GridDisplaySettings &s)
{
    std::string out(GRID_DISP_RECORD_BYTES, ' ');
    putLe(out, 0, static_cast<std::uint64_t>(s.ROW_HEIGHT_0.raw()), 8);
    putLe(out, 8, static_cast<std::uint64_t>(s.ROW_HEIGHT_1.raw()), 8);
    for (std::size_t n = 0; n < 25; ++n)
        putLe(out, 16 + 8 * n, static_cast<std::uint64_t>(s.COL_WIDTH[n].raw()), 8);
    putLe(out, ZOOM_OFFSET, static_cast<std::uint32_t>(s.ZOOM), 4);
    out[FILLER_OFFSET + FILLER_BYTES] = '\n';
    out[FILLER_OFFSET + FILLER_BYTES + 1] = '\n';
    return out;
}

GridDisplaySettings decodeGridDisplay(std::string_view bytes)
{
    if (bytes.size() < static_cast<std::size_t>(GRID_DISP_RECORD_BYTES))
        throw std::invalid_argument("display settings record cut short");
    GridDisplaySettings s;
    s.ROW_HEIGHT_0 = fixedAt(bytes, 0);
    s.ROW_HEIGHT_1 = fixedAt(bytes, 8);
    for (std::size_t n = 0; n < 25; ++n)
        s.COL_WIDTH[n] = fixedAt(bytes, 16 + 8 * n);
    s.ZOOM = static_cast<std::int32_t>(static_cast<std::uint32_t>(getLe(bytes, ZOOM_OFFSET, 4)));
    return s;
}

GridDisplaySettings defaultGridDisplay()
{
    static constexpr int widths[25] = {300,  1250, 4340, 2290, 20,   20,   20,   20,   20,
                                       1580, 1250, 20,   1260, 1000, 1000, 1000, 1860, 1300,
                                       1300, 1300, 1300, 20,   20,   1300, 1300};
    GridDisplaySettings s;
    s.ROW_HEIGHT_0 = Fixed4::fromInt(680);
    s.ROW_HEIGHT_1 = Fixed4::fromInt(280);
    for (std::size_t n = 0; n < 25; ++n)
        s.COL_WIDTH[n] = Fixed4::fromInt(widths[n]);
    s.ZOOM = 100;
    return s;
}

void GRID_DISP_NOMAL_OPEN(QdState &g) { openSet(g, g.GRID_DISP_NOMAL_CTL, "GRID_DISP_NOMAL_FILE.fil"); }
void GRID_DISP_SITEI_OPEN(QdState &g) { openSet(g, g.GRID_DISP_SITEI_CTL, "GRID_DISP_SITEI_FILE.fil"); }
void GRID_DISP_NOMAL_CLEAR(QdState &g) { clearSet(g.GRID_DISP_NOMAL_REC); }
void GRID_DISP_SITEI_CLEAR(QdState &g) { clearSet(g.GRID_DISP_SITEI_REC); }

void GRID_DISP_NOMAL_APPLY(QdState &g)
{
    putOnSheet(g, g.GRID_DISP_NOMAL_REC);
    g.FONT_PCT = g.GRID_DISP_NOMAL_REC.ZOOM;
}

void GRID_DISP_SITEI_APPLY(QdState &g)
{
    putOnSheet(g, g.GRID_DISP_SITEI_REC);
    g.FONT_PCT = g.GRID_DISP_SITEI_REC.ZOOM;
}

void GRID_DISP_NOMAL_SAVE(QdState &g) { saveSet(g, g.GRID_DISP_NOMAL_CTL, g.GRID_DISP_NOMAL_REC); }
void GRID_DISP_SITEI_SAVE(QdState &g) { saveSet(g, g.GRID_DISP_SITEI_CTL, g.GRID_DISP_SITEI_REC); }

void GRID_DISP_NOMAL_SET(QdState &g, DisplayUi &ui)
{
    ui.setStoreWidthsEnabled(false);
    setDisplay(g, ui, g.GRID_DISP_NOMAL_CTL, g.GRID_DISP_NOMAL_REC, "GRID_DISP_NOMAL_FILE.fil");
}

void GRID_DISP_SITEI_SET(QdState &g, DisplayUi &ui)
{
    setDisplay(g, ui, g.GRID_DISP_SITEI_CTL, g.GRID_DISP_SITEI_REC, "GRID_DISP_SITEI_FILE.fil");
}

void GRID_ZOOM_SET(QdState &g)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    grid.setRow(0);
    grid.setCol(qd::core::COL_BASE);
    const double points = static_cast<double>(g.FONT_PCT) / 100.0 * g.FONT_BASE.toDouble();
    grid.setFontSize(static_cast<float>(points));
}

} // namespace qd::sheet
