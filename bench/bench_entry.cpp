// The unit-price search's text search over a data folder of 100,000 price records in 200
// list-price files (4 major classes of 50 kinds each, 500 lines a file, 60 MB), run through the
// form as the user runs it: events let through after every record, the count shown, 200 hits.
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "bench/bench_qt.h"
#include "platform/files/paths.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/entry/list_lines.h"
#include "quotedesk/entry/sskensa.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"

namespace {

using namespace qd::records;
using qd::text::format;

constexpr int MAJORS = 4, KINDS_PER_MAJOR = 50, LINES_PER_FILE = 500;

void writeFile(const std::filesystem::path &p, const std::string &bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeData(const std::filesystem::path &data)
{
    std::filesystem::create_directories(data);
    std::string makers;
    for (int m = 1; m <= MAJORS; ++m) {
        Record mk(MajorClass::layout());
        mk.setSeparators();
        mk.setText(MajorClass::MAKER_CD, format(m, "00"));
        mk.setText(MajorClass::NAME, "大分類" + std::to_string(m));
        makers += mk.bytes();

        std::string kinds;
        for (int k = 0; k < KINDS_PER_MAJOR; ++k) {
            const int cls = k / 10 + 1, kk = k % 10 + 10;
            Record k1(Kind1::layout());
            k1.setSeparators();
            k1.setText(Kind1::MAKER_CD, format(m, "00"));
            k1.setText(Kind1::BUNRUI_CD, format(cls, "00"));
            k1.setText(Kind1::HINSYU1_CD, format(kk, "00") + "00");
            k1.setText(Kind1::NAME, "品種" + std::to_string(k));
            kinds += k1.bytes();

            std::string prices;
            prices.reserve(static_cast<std::size_t>(LINES_PER_FILE) * 600);
            for (int r = 1; r <= LINES_PER_FILE; ++r) {
                Record p(Price::layout());
                p.setSeparators();
                p.setText(Price::MAKER_CD, format(m, "00"));
                p.setText(Price::BUNRUI_CD, format(cls, "00"));
                p.setText(Price::HINSYU2_CD, format(kk, "00") + "01");
                p.setText(Price::CIHO_CD, "01");
                // One line a file carries the text searched for.
                p.setText(Price::KIGO, (r == 250 ? "SPECIAL-" : "P") + std::to_string(m * 1000 + k) + "-" +
                                           std::to_string(r));
                p.setText(Price::KOSYO, format(r, "00000"));
                p.setNumber(Price::W_MIRI, 16900, "00000");
                p.setNumber(Price::H_MIRI, 11700, "00000");
                for (int s = 1; s <= 5; ++s) {
                    p.setNumber(Price::iroCd(s), s, "000");
                    p.setNumber(Price::tanka(s), 10000 + 100 * r + s, "0000000");
                }
                p.setText(Price::BIKO, "網戸別途");
                prices += p.bytes();
            }
            writeFile(data / (format(m, "00") + format(cls, "00") + format(kk, "00") + "00.TXT"), prices);
        }
        writeFile(data / ("HISYU1" + format(m, "00") + ".TXT"), kinds);
    }
    writeFile(data / "MAKER.TXT", makers);
}

void BM_TextSearch100k(benchmark::State &state)
{
    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    writeData(inst.data());
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
    if (hits != MAJORS * KINDS_PER_MAJOR)
        state.SkipWithError("the search did not find every line");
    state.counters["records"] = MAJORS * KINDS_PER_MAJOR * LINES_PER_FILE;
    state.counters["hits"] = hits;
    delete form;
}
BENCHMARK(BM_TextSearch100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char **argv)
{
    return qd::bench::runQtBenchmarks(argc, argv);
}
