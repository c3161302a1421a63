// "実行" of ratebulk2 over a range of 10,000 kind-2 records: every record read, re-rated and
// written through the work copy.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/text/numbers.h"
#include "tests/support/temp_install.h"
#include "tools/ratebulk/core/rate_bulk.h"

namespace {

namespace r = qd::records;
using namespace qd::ratebulk;

void BM_RateBulk10k(benchmark::State &state)
{
    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    std::string bytes;
    r::Record rec(r::Kind2::layout());
    for (int n = 0; n < 10000; ++n) {
        rec.setRaw(r::Kind2::MAKER_CD, "01");
        rec.setNumber(r::Kind2::BUNRUI_CD, 1 + n / 2000, "00");
        rec.setNumber(r::Kind2::HINSYU2_CD, 1001 + n % 2000, "0000");
        rec.setText(r::Kind2::NAME, "品種" + std::to_string(n));
        rec.setSeparators();
        bytes += rec.bytes();
    }
    qd::testing::writeBytes(inst.data() / "HISYU201.TXT", bytes);

    RateBulkState g(kind2());
    g.INST_DIR = inst.dir();
    g.START_CHOSEN = true;
    g.START_MAKER = g.END_MAKER = 1;
    g.START_BUNRUI = 1;
    g.END_BUNRUI = 5;
    g.START_HINSYU2 = 0;
    g.END_HINSYU2 = 9999;
    g.RATE.fill(qd::text::valFixed("85"));
    for (auto _ : state) {
        const RateWriteResult result = RATE_WRITE(g);
        if (result.written != 10000)
            state.SkipWithError("not every record was written");
    }
}
BENCHMARK(BM_RateBulk10k)->Unit(benchmark::kMillisecond);

} // namespace
