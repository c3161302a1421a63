// Timings of the core on a full document: 999 filled rows, the most a document holds.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/text/cp932.h"
#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "tests/support/temp_install.h"

namespace {

using namespace qd::core;
using qd::testing::TempInstall;

constexpr int FullRows = 999;

// A state on the demo install with the sheet set up and all 999 rows typed as priced lines.
struct FullDocument {
    TempInstall inst;
    NullCoreUi ui;
    QdState g;

    FullDocument()
    {
        g.ui = &ui;
        g.INST_DIR = inst.dir();
        g.DOC_DIR = inst.dir() + "\\data\\TXT";
        SHEET_INIT(g);
        fill(g.curGrid());
    }

    static void fill(qd::grid::FlexGrid &grid)
    {
        for (int r = 1; r <= FullRows; ++r) {
            const std::string n = std::to_string(r);
            const char *cells[25] = {nullptr, "2026/01/15", nullptr, "16511", "1690.0", "1170.0", "", "",
                                     "シルバー", "2.00", "窓", "3", "66.00", "69,400", "45,810", "91,620", "至急",
                                     "52.50", "36,440", "72,880", "18,740", "0101100101HW2-116911", "HW2-1169",
                                     "10.00", "9,162"};
            grid.setCell(r, 2, "引違い２枚建 標準タイプ " + n);
            for (int c = 1; c <= 24; ++c)
                if (cells[c])
                    grid.setCell(r, c, cells[c]);
        }
    }

    std::string txtDir() const { return inst.dir() + "/data/TXT"; }
};

void BM_DocumentSave999(benchmark::State &state)
{
    FullDocument doc;
    const std::string fileName = doc.txtDir() + "/満杯.TXT";
    for (auto _ : state) {
        if (!BUKKEN_FILE_WRITE(doc.g, fileName, "満杯.TXT"))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_DocumentSave999)->Unit(benchmark::kMillisecond);

void BM_DocumentLoad999(benchmark::State &state)
{
    FullDocument doc;
    if (!BUKKEN_FILE_WRITE(doc.g, doc.txtDir() + "/満杯.TXT", "満杯.TXT")) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        doc.g.CUR_DOC_NAME = "満杯";
        if (!BUKKEN_FILE_READ(doc.g))
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_DocumentLoad999)->Unit(benchmark::kMillisecond);

// Recalculation of every row of a full document, then the tax totals, as the command that
// recalculates all rows does.
void BM_RecalcAll999(benchmark::State &state)
{
    FullDocument doc;
    QdState &g = doc.g;
    qd::grid::FlexGrid &grid = g.curGrid();
    g.CALC_UNIT = 10;
    g.CALC_ADJ = 9;
    for (int r = 50; r <= FullRows; r += 50) // a few grouped rows, shaded by the totals
        grid.setCell(r, 2, "【x】" + grid.cell(r, 2));
    for (auto _ : state) {
        grid.setRedraw(false);
        for (int r = 1; r <= FullRows; ++r) {
            grid.setRow(r);
            g.ROW_NO = r;
            g.COL_NO = 2;
            ROW_CALC(g);
        }
        g.ROW_NO = 1;
        TAX_TOTAL_CALC(g);
        grid.setRedraw(true);
        benchmark::DoNotOptimize(g.DOC_GROSS_TOTAL);
    }
}
BENCHMARK(BM_RecalcAll999)->Unit(benchmark::kMillisecond);

// The code page 932 conversion of a full document alone: 1000 rows of 24 fields written into
// their fields and read back, as the save and the load convert them.
void BM_Cp932Document(benchmark::State &state)
{
    const std::string row = "アルミサッシ引違い窓 ｶﾞﾗｽ 1,234,567 ABC-123";
    (void)qd::text::toCp932(row); // the tables are built once per process
    for (auto _ : state) {
        std::size_t total = 0;
        for (int i = 0; i < 1000 * 24; ++i)
            total += qd::text::fromField(qd::text::toField(row, 40)).size();
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_Cp932Document)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
