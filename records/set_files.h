// Set files and the list price of a set: shared by setitemreg, which writes the sets, and by
// quotedesk's set search, which lists them, shows their components and puts them into a sheet.
//
// A set is one file "\data\SET" + Format(code, "00000") + ".TXT" with one SetItemRecord per
// component. Set codes run from 1 to 99,999; a file named otherwise ("SET123456.TXT",
// "SET-00001.TXT") is no set: it is neither listed nor opened, since its name cannot be read
// back into the code that names it. Only whole records count; a reader never creates a file.
//
// The list price of a component (SET_ITEM_PRICE) is what the row that the set search inserts for
// it shows, and the set's total is the sum of those prices times the quantities, so the total
// that setitemreg shows, the one quotedesk's set search shows and the rows it inserts agree:
//
//  - Price line: the first record of the price file MAKER_CD & BUNRUI_CD & the first two
//    characters of HINSYU2_CD & "00" & ".TXT" (any letter case) whose MAKER_CD, BUNRUI_CD,
//    HINSYU2_CD, CIHO_CD, KIGO and BIKO equal the component's. KIGO and BIKO are compared on
//    both sides cut at their first NUL and without leading and trailing blanks; the codes are
//    compared as text, cut at NUL. Codes that are not digits name no price file.
//  - Colour slot: of the twenty slots of the line, those that are not empty (colour code or
//    price not blank) and whose colour code has the numeric value of the component's IRO_CD
//    ("005", "  5" and "05" are all colour 5; a blank code is colour 0). When several match, the
//    LAST of them gives the price, as it does for a product row.
//  - List price: the numeric value of that slot's TANKA, in whole yen; 0 when no slot matches or
//    no line is found.
//  - Quantity: the numeric value of SURYO, rounded to a whole number as the row shows it.
//  - Total: the sum of list price x quantity over the components (records whose SET_NAME is not
//    blank), in yen.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "records/records_state.h"
#include "records/whole_file.h"

namespace qd::records {

constexpr std::int32_t SetRecordLength = 160;
constexpr std::int32_t SetCodeFirst = 1;
constexpr std::int32_t SetCodeLast = 99999;

// The reason a user reads when a name that is no set file's is opened as a set.
inline constexpr const char *NOT_A_SET_FILE = "セットファイルの名前ではありません";

bool isSetCode(std::int64_t code);
// "SET" + Format(code, "00000") + ".TXT". Throws std::out_of_range for a code outside 1..99,999.
std::string setFileName(std::int64_t code);
// The set code of a file name "SET" + five digits + ".TXT" (any letter case) with a code of 1 to
// 99,999; 0 for every other name.
std::int32_t setCodeOf(std::string_view fileName);
// INST_DIR & "\data\" & the file name.
std::string setFilePath(RecordsState &g, std::string_view fileName);

// A record is a component of its set when its SET_NAME, cut at its first NUL, is not blank.
bool isSetComponent(const Record &rec);
// The set's name as SET_NAME holds it, cut at its first NUL and blank-padded to its 30 bytes.
std::string setNameOf(const Record &rec);

// Opens the set file SET_FILE_NAME (trimmed and stored back) for reading; the previous set file
// is closed first and SET_REC_NO := 0. SET_CTL.recordCount counts whole records only (a missing
// file has none and is not created). Throws qd::files::FileError for a name that is not a set
// file's, or a file that cannot be opened.
void SET_FILE_OPEN(RecordsState &g);
// Bytes after the last whole record of the open set file (0 when it ends on a record).
std::int64_t setPartialBytes(const RecordsState &g);

// One line of the set list.
struct SetListEntry {
    std::string fileName;   // as it stands in the data folder
    std::int32_t code = 0;  // from the file name
    std::string setName;    // SET_NAME of record 1 (setNameOf)
    std::int32_t records = 0;
};

// Every set file of the data folder ("SET*.TXT" in any letter case with a set code of 1 to
// 99,999) that holds at least one whole record, in ascending order of name (letter case aside).
// Reads record 1 of each on a file of its own: the open set and its buffer are not touched.
std::vector<SetListEntry> SET_FILE_LIST(RecordsState &g);

// The list price of one component (see the rule at the top).
struct SetItemPrice {
    bool lineFound = false;        // the component's price line was found
    std::int32_t lineRecord = 0;   // its record number in the price file
    int slot = 0;                  // the colour slot (1..20) giving the price; 0 when none
    std::int64_t listPrice = 0;    // yen
    std::int64_t quantity = 0;
    std::int64_t amount() const { return listPrice * quantity; }
};

// KIGO or BIKO as the match compares it: bytes cut at the first NUL, blanks trimmed at both
// ends, blank-padded to `width` again.
std::string setMatchField(std::string_view raw, std::size_t width);
// Whether the price line is the component's (price file aside).
bool isSetPriceLine(const Record &component, const Record &priceLine);
// The price file of a component, "MMBBKK00.TXT"; empty when the codes are not digits.
std::string setPriceFileName(const Record &component);
// The quantity a component's row shows.
std::int64_t setQuantityOf(const Record &component);

// Prices components against the price files of one install folder. Each price file is read
// whole once per book (under its shared lock) and kept, so a set's total reads each file once.
// A missing price file has no lines and is not created.
class SetPriceBook {
public:
    explicit SetPriceBook(std::string instDir);

    SetItemPrice price(const Record &component);
    // The price line found by the last price(); all blanks when none was found.
    const Record &line() const { return m_line; }

private:
    const WholeRecords &file(const std::string &name);

    std::string m_instDir;
    std::map<std::string, WholeRecords> m_files;
    Record m_line{Price::layout()};
};

// The list price of the component in `component`, read from its price file; TANKA_REC holds the
// price line found (all blanks when none) and TANKA_NAME names its file.
SetItemPrice SET_ITEM_PRICE(RecordsState &g, const Record &component);

// The total of the components among `records` (records that are no component are skipped).
std::int64_t SET_TOTAL_OF(RecordsState &g, const std::vector<Record> &records);
// The total of the open set file, read record by record.
std::int64_t SET_TOTAL_OF_OPEN_SET(RecordsState &g);

} // namespace qd::records
