// The bulk rate change of ratebulk2 (kind-2 records) and ratebulk1 (kind-1 records): one source
// for both, told apart by a table of what differs. The user picks the start and the end of a key
// range (major class x 1,000,000 + class x 10,000 + code) through the lists, edits twenty rates,
// and 実行 writes them into every record of the range of the start major class's kind file.
// 終了 rewrites every major class's kind file without its deleted ("0000") records.
//
// Every write locks the kind file, reads it whole again, and writes it through the work copy
// ("\data\WHINSYU2.TXT" / "\data\WHINSYU1.TXT", locked too, as every major class shares it),
// renamed over the kind file. A kind file that ends in a part of a record is reported and left
// as it is; the lists show the whole records of the files they read, and each file that ends in
// a part of a record is noted in partialNotes for the user.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "records/records_state.h"

namespace qd::ratebulk {

using qd::records::Record;
using qd::text::Fixed4;

// What ratebulk1 and ratebulk2 differ in.
struct RateBulkKind {
    int kind;                 // 1 or 2
    const char *program;      // "ratebulk1" / "ratebulk2"
    const char *formName;     // "HINSYU1F" / "HINSYU2F"
    const char *caption;
    const char *filePrefix;   // "HISYU1" / "HISYU2"
    const char *workFile;     // "WHINSYU1.TXT" / "WHINSYU2.TXT"
    const qd::records::Layout &(*layout)();
    int codeField;            // HINSYU1_CD / HINSYU2_CD
    int nameField;
    int rateFirst;            // the field of rate slot 1
    double widthTwips, heightTwips;
};
const RateBulkKind &kind1();
const RateBulkKind &kind2();

struct RateLine {
    std::string text;
    std::int32_t recordNo = 0;
    Record rec;
};

struct RateBulkState : qd::records::RecordsState {
    explicit RateBulkState(const RateBulkKind &kind) : KIND(&kind) {}
    const RateBulkKind *KIND;

    // The range: start and end values of each level.
    std::int32_t START_MAKER = 0, START_BUNRUI = 0, START_HINSYU1 = 100, START_HINSYU2 = 101;
    std::int32_t END_MAKER = 0, END_BUNRUI = 0, END_HINSYU1 = 0, END_HINSYU2 = 0;
    bool START_CHOSEN = false; // a start major class was chosen since the start or 取消

    // The twenty rates, slot k = 1..20 at [k - 1]: odd slots the sales rates 1..10, even slots
    // the purchase rates. The boxes Text3..Text22 show slots 1..20.
    std::array<Fixed4, 20> RATE{};

    // The kind files of the start major class as read when it was chosen (the lists come from
    // them; 実行 reads the file again).
    std::vector<Record> KIND1_RECS, KIND2_RECS;
};

// The error of a range that ends before it starts.
inline constexpr const char *RANGE_ERROR_TEXT = "指定が間違っています。\r指定し直して下さい。";

// The lists, each in ascending order of its text.
std::vector<RateLine> majorLines(RateBulkState &g);                          // List2, List7
std::vector<RateLine> classLines(RateBulkState &g, std::int32_t major);      // List1, List8
std::vector<RateLine> kind1Lines(RateBulkState &g, std::int32_t major, std::int32_t cls); // List3, List6
// List4, List5 (ratebulk2): the kind-2 records whose code begins as the chosen kind-1 line's.
std::vector<RateLine> kind2Lines(RateBulkState &g, std::int32_t major, std::int32_t cls, const Record &kind1);

// Start side. Each choice resets the levels below it; the start major class also reads its kind
// files (the end side's kind lists come from them, so its kind values are reset too).
void startMajorChosen(RateBulkState &g, const RateLine &line);
void startClassChosen(RateBulkState &g, const RateLine &line);
void startKind1Chosen(RateBulkState &g, const RateLine &line); // ratebulk1: loads the rates
void startKind2Chosen(RateBulkState &g, const RateLine &line); // ratebulk2: loads the rates

// End side: false (nothing taken, the levels below reset) when the value is below the start
// value of its level.
bool endMajorChosen(RateBulkState &g, const RateLine &line);
bool endClassChosen(RateBulkState &g, const RateLine &line);
bool endKind1Chosen(RateBulkState &g, const RateLine &line);
bool endKind2Chosen(RateBulkState &g, const RateLine &line);

// 取消: every start and end value 0, no start chosen; the rates stay.
void rangeReset(RateBulkState &g);

std::int64_t startKey(const RateBulkState &g);
std::int64_t endKey(const RateBulkState &g);

// A rate a slot can hold: 0.00 to 999.99 once rounded to hundredths.
bool rateFits(Fixed4 rate);
// RATES_TO_REC: the twenty rates into the rate slots of `rec` as Format(rate x 100, "00000").
void RATES_TO_REC(const RateBulkState &g, Record &rec);

// 実行.
struct RateWriteResult {
    bool rangeRefused = false; // the end lies before the start, or no start was chosen
    std::string fileName;      // the kind file written ("HISYU201.TXT")
    std::int32_t written = 0;  // records that received the rates
};
// Throws qd::files::FileError when the kind file cannot be read or written (it is left as it was).
RateWriteResult RATE_WRITE(RateBulkState &g);
// The message that tells the user what 実行 did.
std::string rateWriteMessage(const RateWriteResult &result);

// 終了: every major class's kind file without its "0000" records (a missing one is made empty).
// Files that cannot be compacted are left as they were and named in the result.
struct CompactFailure {
    std::string path, what; // what: the reason the user reads
};
std::vector<CompactFailure> KIND_FILES_COMPACT(RateBulkState &g);

} // namespace qd::ratebulk
