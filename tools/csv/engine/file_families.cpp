#include "tools/csv/engine/file_families.h"

#include <algorithm>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "tools/csv/engine/csv_convert.h"

namespace qd::csv {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// Every whole record of a master file; none when the file is missing. A file that ends in a
// part of a record is noted in `notes`, when given.
std::vector<records::Record> readAll(const std::string &path, const records::Layout &layout,
                                     records::PartialRecordNotes *notes)
{
    const records::WholeRecords file = records::readWholeRecords(path, layout.length);
    if (notes)
        notes->see(path, file, layout.length);
    return records::recordsOf(file, layout);
}

} // namespace

std::string dataPath(const std::string &instDir, std::string_view name)
{
    return instDir + "\\data\\" + std::string(name);
}

ConversionFiles singleFiles(const std::string &instDir, const CsvTable &table)
{
    return {dataPath(instDir, table.masterName), dataPath(instDir, table.csvName), {}};
}

ConversionFiles kindFiles(const std::string &instDir, int kind, int major)
{
    return {dataPath(instDir, kindMasterName(kind, major)), dataPath(instDir, kindCsvName(kind, major)), {major}};
}

ConversionFiles priceFiles(const std::string &instDir, std::string_view key)
{
    const std::string k(key.substr(0, 8));
    return {dataPath(instDir, k + ".TXT"), dataPath(instDir, k + ".CSV"), {}};
}

std::string kindMasterName(int kind, int major)
{
    return "HISYU" + std::to_string(kind) + text::format(major, "00") + ".TXT";
}

std::string kindCsvName(int kind, int major)
{
    return "品種" + std::to_string(kind) + text::format(major, "00") + ".CSV";
}

std::optional<int> kindFileMajor(std::string_view fileName, int kind, bool csv)
{
    const std::string prefix = (csv ? "品種" : "HISYU") + std::to_string(kind);
    const std::string_view ext = csv ? ".CSV" : ".TXT";
    if (fileName.size() != prefix.size() + 2 + ext.size() || !sameIgnoringCase(fileName.substr(0, prefix.size()), prefix) ||
        !sameIgnoringCase(fileName.substr(prefix.size() + 2), ext))
        return std::nullopt;
    const char a = fileName[prefix.size()], b = fileName[prefix.size() + 1];
    if (!isDigit(a) || !isDigit(b))
        return std::nullopt;
    return (a - '0') * 10 + (b - '0');
}

std::vector<std::string> kindListLines(const std::vector<std::string> &fileNames, int kind, bool csv,
                                       std::string_view makerBytes)
{
    const records::Layout &layout = records::MajorClass::layout();
    const std::size_t length = static_cast<std::size_t>(layout.length);
    const auto count = static_cast<std::int32_t>(makerBytes.size() / length);
    std::vector<std::string> lines;
    for (const std::string &name : fileNames) {
        const std::optional<int> major = kindFileMajor(name, kind, csv);
        if (!major)
            continue;
        const std::string nn = text::format(*major, "00");
        for (std::int32_t r = 0; r < count; ++r) {
            records::Record rec(layout);
            rec.setBytes(makerBytes.substr(static_cast<std::size_t>(r) * length, length));
            if (rec.raw(records::MajorClass::MAKER_CD) == nn)
                lines.push_back(nn + " " + rec.text(records::MajorClass::NAME));
        }
    }
    return lines;
}

bool isPriceFileName(std::string_view fileName, std::string_view ext)
{
    return fileName.size() == 9 + ext.size() && std::all_of(fileName.begin(), fileName.begin() + 8, isDigit) &&
           fileName[8] == '.' && sameIgnoringCase(fileName.substr(9), ext);
}

PriceEntryInfo priceEntryInfo(const std::string &instDir, std::string_view key, records::PartialRecordNotes *notes)
{
    using namespace qd::records;
    const std::string none = "情報がありません。";
    PriceEntryInfo info{none, none, none};
    if (key.size() < 8)
        return info;
    const std::string_view mk = key.substr(0, 2), cls = key.substr(2, 2), kind = key.substr(4, 4);
    for (const Record &r : readAll(dataPath(instDir, "MAKER.TXT"), MajorClass::layout(), notes))
        if (r.raw(MajorClass::MAKER_CD) == mk) {
            info.majorName = r.text(MajorClass::NAME);
            break;
        }
    for (const Record &r : readAll(dataPath(instDir, "BUNRUI.TXT"), Class::layout(), notes))
        if (r.raw(Class::MAKER_CD) == mk && r.raw(Class::BUNRUI_CD) == cls) {
            info.className = r.text(Class::NAME);
            break;
        }
    const std::string kindFile = "HISYU1" + std::string(mk) + ".TXT";
    for (const Record &r : readAll(dataPath(instDir, kindFile), Kind1::layout(), notes))
        if (r.raw(Kind1::MAKER_CD) == mk && r.raw(Kind1::BUNRUI_CD) == cls && r.raw(Kind1::HINSYU1_CD) == kind) {
            info.kindName = r.text(Kind1::NAME);
            break;
        }
    return info;
}

} // namespace qd::csv
