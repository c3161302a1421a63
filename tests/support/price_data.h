// A large data folder of list prices for the benchmarks: 100,000 price records in 200 list-price
// files (4 major classes of 50 kinds each, 500 lines a file, 60 MB) by default, with their major
// classes and kind-1 records. One line of every file carries the text "SPECIAL-" in its symbol,
// for the searches.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qd::testing {

struct PriceDataShape {
    int majors = 4;
    int kindsPerMajor = 50; // ten classes of up to ten kinds each
    int linesPerFile = 500;
    int records() const { return majors * kindsPerMajor * linesPerFile; }
};

// Writes "MAKER.TXT", "HISYU1nn.TXT" and the list-price files into the data folder `data`
// (created when missing) and returns the names of the list-price files ("01011000.TXT"), in
// ascending order.
std::vector<std::string> writePriceData(const std::filesystem::path &data, const PriceDataShape &shape = {});

} // namespace qd::testing
