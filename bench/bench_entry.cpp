// The unit-price search's text search over a data folder of 100,000 price records in 200
// list-price files (4 major classes of 50 kinds each, 500 lines a file, 60 MB), run through the
// form as the user runs it: events let through after every record, the count shown, 200 hits.
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include "bench/bench_qt.h"
#include "platform/files/paths.h"
#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/entry/list_lines.h"
#include "quotedesk/entry/sskensa.h"
#include "tests/support/price_data.h"
#include "tests/support/temp_install.h"

namespace {

void BM_TextSearch100k(benchmark::State &state)
{
    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    const qd::testing::PriceDataShape shape;
    qd::testing::writePriceData(inst.data(), shape);
    qd::core::NullCoreUi ui;
    qd::core::QdState g;
    g.ui = &ui;
    g.INST_DIR = inst.dir();
    qd::core::LINE_REC_CLEAR(g);
    auto *form = new qd::forms::SSKENSA(g);
    form->Text1->setText(QStringLiteral("SPECIAL"));
    form->Text1_KeyDown(13);
    int hits = 0;
    for (auto _ : state) {
        form->Command1_Click();
        hits = form->List6->lineCount();
    }
    if (hits != shape.majors * shape.kindsPerMajor)
        state.SkipWithError("the search did not find every line");
    state.counters["records"] = shape.records();
    state.counters["hits"] = hits;
    delete form;
}
BENCHMARK(BM_TextSearch100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    return qd::bench::runQtBenchmarks(argc, argv);
}
