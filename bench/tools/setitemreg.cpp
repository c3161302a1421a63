// The total of a 50-component set over five list-price files of 1,000 lines each: the shared
// routine that setitemreg and the set search price a set with.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "records/set_files.h"
#include "tests/support/temp_install.h"

namespace {

namespace r = qd::records;
using qd::text::format;

void BM_SetTotal(benchmark::State &state)
{
    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    std::vector<r::Record> components;
    for (int file = 0; file < 5; ++file) {
        const std::string kk = format(10 + file, "00");
        std::string bytes;
        r::Record p(r::Price::layout());
        for (int n = 0; n < 1000; ++n) {
            p.setRaw(r::Price::MAKER_CD, "01");
            p.setRaw(r::Price::BUNRUI_CD, "01");
            p.setRaw(r::Price::HINSYU2_CD, kk + format(1 + n % 3, "00"));
            p.setRaw(r::Price::CIHO_CD, format(1 + n % 4, "00"));
            p.setText(r::Price::KIGO, "HW" + kk + "-" + std::to_string(n));
            p.setText(r::Price::BIKO, n % 5 == 0 ? "網戸別途" : "");
            for (int s = 1; s <= 5; ++s) {
                p.setNumber(r::Price::iroCd(s), s, "000");
                p.setNumber(r::Price::tanka(s), 10000 + 10 * n + s, "0000000");
            }
            p.setSeparators();
            bytes += p.bytes();
            // Ten components per file, spread over it, the last near its end.
            if (n % 100 == 99) {
                r::Record c(r::SetItem::layout());
                c.setText(r::SetItem::SET_NAME, "性能見本セット");
                const std::pair<int, int> copied[] = {{r::SetItem::MAKER_CD, r::Price::MAKER_CD},
                                                       {r::SetItem::BUNRUI_CD, r::Price::BUNRUI_CD},
                                                       {r::SetItem::HINSYU2_CD, r::Price::HINSYU2_CD},
                                                       {r::SetItem::CIHO_CD, r::Price::CIHO_CD},
                                                       {r::SetItem::KIGO, r::Price::KIGO},
                                                       {r::SetItem::BIKO, r::Price::BIKO}};
                for (const auto &[setField, priceField] : copied)
                    c.setRaw(setField, p.raw(priceField));
                c.setNumber(r::SetItem::IRO_CD, 1 + n % 5, "00");
                c.setNumber(r::SetItem::SURYO, 2, "00000");
                c.setSeparators();
                components.push_back(c);
            }
        }
        qd::testing::writeBytes(inst.data() / ("0101" + kk + "00.TXT"), bytes);
    }

    r::RecordsState g;
    g.INST_DIR = inst.dir();
    for (auto _ : state)
        benchmark::DoNotOptimize(r::SET_TOTAL_OF(g, components));
    if (r::SET_TOTAL_OF(g, components) == 0)
        state.SkipWithError("no component was priced");
}
BENCHMARK(BM_SetTotal)->Unit(benchmark::kMillisecond);

} // namespace
