// One run of csvprice over the entries picked in its list: every list-price file exported to
// its CSV file, or every CSV file imported into its list-price file.
#pragma once

#include <string>
#include <vector>

#include "records/whole_file.h"

namespace qd::csv {

enum class Direction { Export, Import };

// An entry that could not be converted, with the message the user sees.
struct EntryFailure {
    std::string key;
    std::string message;
};

// Converts the files of each key (eight digits) in the direction given. Each key is converted
// once however often it is picked; a failed or refused entry leaves its files as they were and
// does not stop the others. Returns the failures in the order of the keys.
//
// Every file written is flushed to the disk before it replaces the old one, and one flush after
// another would make a run of a few hundred files take seconds; so the entries run on up to
// `workers` threads (0: as many as the machine has cores, at most 8), the calling thread among
// them, which returns when all are done. What makes that safe: two distinct keys never name the
// same file, so no file is touched by two threads (the file locks, which keep programs apart, are
// not needed between them); the threads share only the read-only column table and the list of
// keys, and each writes only its entries' slots of the result; nothing here shows anything, and
// the window reports the failures after the run. The fault plan of the tests counts steps across
// threads, so a test that arms it runs with `workers` 1.
//
// An exported list-price file that ends in a part of a record gives its whole records; its
// notice goes into `exportedInPart`, when given, in the order of the keys.
std::vector<EntryFailure> convertPriceKeys(const std::string &instDir, const std::vector<std::string> &keys,
                                           Direction direction, int workers = 0,
                                           std::vector<qd::records::PartialRecordNotice> *exportedInPart = nullptr);

} // namespace qd::csv
