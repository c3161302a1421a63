#include "tools/csv/engine/price_run.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <system_error>
#include <thread>

#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"

namespace qd::csv {

std::vector<EntryFailure> convertPriceKeys(const std::string &instDir, const std::vector<std::string> &keys,
                                           Direction direction, int workers,
                                           std::vector<qd::records::PartialRecordNotice> *exportedInPart)
{
    std::vector<std::string> unique;
    for (const std::string &key : keys)
        if (std::find(unique.begin(), unique.end(), key) == unique.end())
            unique.push_back(key);

    std::vector<std::optional<std::string>> failures(unique.size());
    std::vector<qd::records::PartialRecordNotes> notes(unique.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < unique.size(); i = next++) {
            const ConversionFiles f = priceFiles(instDir, unique[i]);
            try {
                if (direction == Direction::Export)
                    exportFile(priceTable(), f.master, f.csv, &notes[i]);
                else
                    importFile(priceTable(), f.csv, f.master, f.check);
            } catch (const std::exception &e) {
                failures[i] = failureMessage(e);
            }
        }
    };
    if (workers <= 0)
        workers = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    workers = std::min<int>(workers, static_cast<int>(unique.size()));
    // The calling thread takes entries as well. When the system gives no further thread, those
    // started and this one share the entries: the run never ends for want of a thread.
    std::vector<std::thread> threads;
    try {
        for (int t = 1; t < workers; ++t)
            threads.emplace_back(work);
    } catch (const std::system_error &) {
    }
    work();
    for (std::thread &t : threads)
        t.join();

    std::vector<EntryFailure> out;
    for (std::size_t i = 0; i < unique.size(); ++i) {
        if (failures[i])
            out.push_back({unique[i], *failures[i]});
        if (exportedInPart)
            for (qd::records::PartialRecordNotice &n : notes[i].take())
                exportedInPart->push_back(std::move(n));
    }
    return out;
}

} // namespace qd::csv
