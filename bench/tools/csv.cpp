// csvprice over a data folder of 100,000 price records in 200 list-price files (60 MB): every
// file exported to its CSV file, and every CSV file imported back, as one run of the tool does
// it (each file read whole, checked, and written through a work copy, flushed and renamed).
// Beside them, the same bytes read and written with nothing else done, as the floor the tool
// stands on.
#include <benchmark/benchmark.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/price_data.h"
#include "tests/support/temp_install.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"
#include "tools/csv/engine/price_run.h"

namespace {

using namespace qd::csv;
using qd::testing::readBytes;

// One data folder for all the benchmarks of the program: its price files, and a CSV file of
// each as the export writes it.
struct PriceFolder {
    qd::testing::TempInstall inst{qd::testing::TempInstall::Content::Empty};
    std::vector<std::string> keys;
    PriceFolder()
    {
        for (const std::string &name : qd::testing::writePriceData(inst.data()))
            keys.push_back(name.substr(0, 8));
        for (const std::string &key : keys) {
            const ConversionFiles f = priceFiles(inst.dir(), key);
            exportFile(priceTable(), f.master, f.csv);
        }
    }
    std::filesystem::path file(const std::string &key, const char *ext) const
    {
        return inst.data() / (key + ext);
    }
};

PriceFolder &folder()
{
    static PriceFolder f;
    return f;
}

std::string readPlain(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::string bytes(std::filesystem::file_size(p), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void writePlain(const std::filesystem::path &p, const std::string &bytes)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void BM_CsvPriceExport100k(benchmark::State &state)
{
    PriceFolder &f = folder();
    for (auto _ : state) {
        if (!convertPriceKeys(f.inst.dir(), f.keys, Direction::Export).empty())
            state.SkipWithError("an entry failed");
    }
}
BENCHMARK(BM_CsvPriceExport100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CsvPriceImport100k(benchmark::State &state)
{
    PriceFolder &f = folder();
    for (auto _ : state) {
        if (!convertPriceKeys(f.inst.dir(), f.keys, Direction::Import).empty())
            state.SkipWithError("an entry failed");
    }
}
BENCHMARK(BM_CsvPriceImport100k)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor of the export: each price file read whole and its CSV file's bytes written to a
// file of its own, nothing converted, checked, flushed or renamed.
void BM_CsvPriceExportBytesOnly(benchmark::State &state)
{
    PriceFolder &f = folder();
    std::map<std::string, std::string> csv;
    for (const std::string &key : f.keys)
        csv[key] = readBytes(f.file(key, ".CSV"));
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const std::string &key : f.keys) {
            bytes += readPlain(f.file(key, ".TXT")).size();
            writePlain(f.inst.data() / (key + ".plain.csv"), csv[key]);
        }
    }
    state.counters["MB read"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_CsvPriceExportBytesOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor of the import: each CSV file read whole and the price file's bytes written.
void BM_CsvPriceImportBytesOnly(benchmark::State &state)
{
    PriceFolder &f = folder();
    std::map<std::string, std::string> master;
    for (const std::string &key : f.keys)
        master[key] = readBytes(f.file(key, ".TXT"));
    for (auto _ : state) {
        for (const std::string &key : f.keys) {
            benchmark::DoNotOptimize(readPlain(f.file(key, ".CSV")));
            writePlain(f.inst.data() / (key + ".plain.txt"), master[key]);
        }
    }
}
BENCHMARK(BM_CsvPriceImportBytesOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
