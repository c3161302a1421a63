// Writes a demo install folder into the folder named by its argument, gives some single items
// and a major class names that a CSV file must quote, exports every master of the eight tools,
// and writes beside each CSV file (name + ".json") its cells as this suite reads them back, in
// UTF-8. check_exports.py then reads the CSV files with Python's own csv module and compares.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files/paths.h"
#include "platform/files/record_file.h"
#include "platform/text/cp932.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"
#include "tools/demodata/lib/demo_data.h"

namespace {

using namespace qd::csv;
using namespace qd::records;

std::string json(const std::string &s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// The cells of a CSV file as the import reads them, as a JSON list of rows.
std::string cellsJson(const std::string &bytes)
{
    CsvReader reader(bytes, "");
    std::vector<CsvCell> cells;
    std::string out = "[";
    bool firstRow = true;
    while (reader.next(cells)) {
        out += firstRow ? "\n[" : ",\n[";
        firstRow = false;
        for (std::size_t i = 0; i < cells.size(); ++i)
            out += (i ? "," : "") + json(qd::text::fromCp932(cells[i].bytes));
        out += "]";
    }
    return out + "\n]\n";
}

void appendRecord(const std::string &path, Record &rec)
{
    rec.setSeparators();
    qd::files::RecordFile f(path, rec.layout().length);
    f.append(rec.bytes());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string inst = argv[1];
    qd::demo::writeDemoInstall(inst);

    const char *names[] = {"株式会社,山川", "24\"モニター", "\"引用\"で始まる", "二行\r\n目", "表示ソ能"};
    int cd = 90;
    for (const char *n : names) {
        Record item(Item::layout());
        item.setNumber(Item::TANPIN_CD, cd++, "0000");
        item.setText(Item::NAME, n);
        item.setText(Item::TANKA, "0001200");
        item.setText(Item::GENKA, "0000000");
        appendRecord(dataPath(inst, "TANPIN.TXT"), item);
    }
    Record major(MajorClass::layout());
    major.setText(MajorClass::MAKER_CD, "09");
    major.setText(MajorClass::NAME, "サッシ,ドア");
    appendRecord(dataPath(inst, "MAKER.TXT"), major);

    std::vector<std::pair<const CsvTable *, ConversionFiles>> runs;
    for (const CsvTable *t : {&groupTable(), &sectTable(), &colorTable(), &classTable(), &itemTable()})
        runs.push_back({t, singleFiles(inst, *t)});
    for (int major = 1; major <= 3; ++major) {
        runs.push_back({&kind1Table(), kindFiles(inst, 1, major)});
        runs.push_back({&kind2Table(), kindFiles(inst, 2, major)});
    }
    runs.push_back({&priceTable(), priceFiles(inst, "01011000")});
    runs.push_back({&priceTable(), priceFiles(inst, "02022000")});
    for (const auto &[table, files] : runs) {
        exportFile(*table, files.master, files.csv);
        const auto host = qd::files::hostPath(files.csv);
        qd::testing::writeBytes(host.string() + ".json", cellsJson(qd::testing::readBytes(host)));
        std::printf("%s\n", host.filename().c_str());
    }
    return 0;
}
