// One run of csvprice over the entries picked in its list: every list-price file exported to
// its CSV file, or every CSV file imported into its list-price file.
#pragma once

#include <string>
#include <vector>

namespace qd::csv {

enum class Direction { Export, Import };

// An entry that could not be converted, with the message the user sees.
struct EntryFailure {
    std::string key;
    std::string message;
};

// Converts the files of each key (eight digits) in the direction given. Each key is converted
// once however often it is picked; a failed or refused entry leaves its files as they were and
// does not stop the others. The entries run on up to `workers` threads (0: as many as the
// machine has cores, at most 8), each file in one thread only, so that the writes of many small
// files reach the disk together. Returns the failures in the order of the keys.
std::vector<EntryFailure> convertPriceKeys(const std::string &instDir, const std::vector<std::string> &keys,
                                           Direction direction, int workers = 0);

} // namespace qd::csv
