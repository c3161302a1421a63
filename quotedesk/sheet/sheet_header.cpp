#include "quotedesk/sheet/sheet_header.h"

#include <algorithm>
#include <limits>

namespace qd::sheet {

using qd::core::QdState;

const std::array<const char *, SHEET_COLUMN_COUNT> &columnCaptions()
{
    static const std::array<const char *, SHEET_COLUMN_COUNT> captions = {
        "頁",     "日付",   "品名",     "呼称",     "Wﾐﾘ",     "Hﾐﾘ",     "Dﾐﾘ",
        "平米/立米単価",    "色名",     "数量",     "単位",    "率区分",  "掛率",
        "定価",   "単価",   "金額",     "備考",     "原価率",  "原価",    "原価金額",
        "粗利額", "発注品番", "品番",   "消費税率", "消費税額(端数処理後)"};
    return captions;
}

void GRID_HEADER_SET(QdState &g)
{
    qd::grid::FlexGrid &grid = g.curGrid();
    const auto &captions = columnCaptions();
    const int cols = std::min(SHEET_COLUMN_COUNT, grid.cols());
    for (int c = 0; c < cols; ++c) {
        grid.setCell(0, c, captions[static_cast<std::size_t>(c)]);
        grid.setColAlignment(c, qd::grid::Align::CenterCenter);
        const std::int64_t w = g.DISP_WIDTHS[static_cast<std::size_t>(c)].roundHalfEven();
        grid.setColWidth(c, static_cast<int>(std::clamp<std::int64_t>(w, 0, std::numeric_limits<int>::max())));
    }
    grid.setRow(0);
    grid.setCol(cols - 1);
}

std::optional<std::string> composeKihonCaption(QdState &g)
{
    switch (g.SIZE_MODE) {
    case 0: g.CAPTION_SIZE_TEXT = "寸法:印刷しない"; break;
    case 1: g.CAPTION_SIZE_TEXT = "寸法:ﾐﾘ印刷"; break;
    case 2: g.CAPTION_SIZE_TEXT = "寸法:尺印刷"; break;
    default: break;
    }
    switch (g.CALC_UNIT) {
    case 1: g.CAPTION_UNIT_TEXT = "計算単位１円"; break;
    case 10: g.CAPTION_UNIT_TEXT = "計算単位１０円"; break;
    case 100: g.CAPTION_UNIT_TEXT = "計算単位１００円"; break;
    case 1000: g.CAPTION_UNIT_TEXT = "計算単位１０００円"; break;
    default: break;
    }
    if (g.DISP_MODE == 0) {
        g.CAPTION_MODE_TEXT = "quotedesk 【全列表示】";
        return g.CAPTION_MODE_TEXT + "  【" + g.CAPTION_UNIT_TEXT + "】" + " 【" + g.CAPTION_SIZE_TEXT + "】";
    }
    if (g.DISP_MODE == 1) {
        // The unit piece is followed by a blank here, so two blanks stand before the size piece.
        g.CAPTION_MODE_TEXT = "quotedesk 【指定項目表示】";
        return g.CAPTION_MODE_TEXT + "  【" + g.CAPTION_UNIT_TEXT + "】 " + " 【" + g.CAPTION_SIZE_TEXT + "】";
    }
    return std::nullopt;
}

} // namespace qd::sheet
