// Timings of printing on a long document: 900 priced rows composed into page image files (the
// composition alone, no window system: a call before every text where the print button lets
// events run), and those pages printed into a PDF file as on a machine without a printer.
#include <QString>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_qt.h"
#include "platform/emf/page_canvas.h"
#include "quotedesk/compose/doc_compose.h"
#include "quotedesk/compose/page_print.h"
#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "quotedesk/printing/printer.h"
#include "tests/support/temp_install.h"

namespace {

using namespace qd::core;
using qd::testing::TempInstall;

constexpr int Rows = 900;

// The main window as the totals fill it: only the tax breakdown by rate is kept.
class BreakdownUi : public NullCoreUi {
public:
    void comboClear(const std::string &name) override
    {
        if (name == "Combo5")
            entries.clear();
    }
    void comboAddItem(const std::string &name, const std::string &text) override
    {
        if (name == "Combo5")
            entries.push_back(text);
    }
    std::vector<std::string> entries;
};

struct LongDocument {
    TempInstall inst;
    BreakdownUi ui;
    QdState g;
    qd::printing::PrintSource source;

    LongDocument()
    {
        g.ui = &ui;
        g.INST_DIR = inst.dir();
        SHEET_INIT(g);
        qd::grid::FlexGrid &grid = g.curGrid();
        for (int r = 1; r <= Rows; ++r) {
            const char *cells[25] = {nullptr, "2026/01/15", nullptr, "16511", "1690.0", "1170.0", "", "",
                                     "シルバー", "2.00", "窓", "3", "66.00", "69,400", "45,810", "91,620",
                                     "現場にて寸法確認のうえ製作", "52.50", "36,440", "72,880", "18,740",
                                     "0101100101HW2-116911", "HW2-1169", r % 3 ? "10.00" : "8.00", "9,162"};
            grid.setCell(r, 2, "引違い２枚建 標準タイプ " + std::to_string(r));
            for (int c = 1; c <= 24; ++c)
                if (cells[c])
                    grid.setCell(r, c, cells[c]);
        }
        TAX_TOTAL_CALC(g);
        g.HEAD_TOKUI = "株式会社　山川建設";
        g.HEAD_BUKKEN = "見本邸　新築工事";
        g.ISSUE_DATE = "20260115";
        g.LAST_ROW = static_cast<std::int16_t>(qd::printing::lastPrintedRow(grid));
        source = qd::printing::takePrintSource(g, ui.entries);
    }

    int compose()
    {
        int calls = 0;
        const int pages = qd::printing::composeDocument(g, source, [&calls] { ++calls; }).pagesWritten;
        benchmark::DoNotOptimize(calls);
        return pages;
    }
};

void BM_Compose900(benchmark::State &state)
{
    LongDocument doc;
    int pages = 0;
    for (auto _ : state)
        pages = doc.compose();
    state.counters["pages"] = pages;
}
BENCHMARK(BM_Compose900)->Unit(benchmark::kMillisecond);

void BM_PrintPdf900(benchmark::State &state)
{
    qd::bench::needQtApp();
    LongDocument doc;
    const int pages = doc.compose();
    const std::filesystem::path pdf = doc.inst.data() / "TXT" / "長い見積.pdf";
    for (auto _ : state) {
        // As the preview prints a range: every page image read back, then played.
        std::vector<qd::emf::PageImage> images;
        images.reserve(static_cast<std::size_t>(pages));
        for (int n = 1; n <= pages; ++n)
            images.push_back(qd::emf::loadPageImage(qd::printing::pageImagePath(doc.g, n)));
        if (!qd::printing::writePdf(images, pdf, QStringLiteral("長い見積")))
            state.SkipWithError("the PDF could not be written");
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
}
BENCHMARK(BM_PrintPdf900)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return qd::bench::runBenchmarks(argc, argv);
}
