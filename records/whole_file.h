// A record file read and rewritten whole, as the tools change their masters: read every whole
// record under the file's lock, build the new content in memory, write it through the work copy.
//
// Only whole records count. Bytes after the last whole record (a record cut short by a copy or
// a full disk) are reported by the writers and never written over: a file that ends in a part of
// a record is left as it is until someone has looked at it. A program that shows such a file
// shows its whole records and tells the user so, once, in the words below; every program says
// it the same way.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "records/record.h"

namespace qd::records {

// How the records of a file are counted.
enum class RecordCount {
    Whole,   // the whole records only
    Rounded, // file length / record length rounded half to even, as the masters' openers count:
             // a part of a record at the end that counts as a record is completed with blanks,
             // one that does not is left out
};

struct WholeRecords {
    bool exists = false;
    std::string bytes;              // the records as counted, count x length bytes
    std::int32_t count = 0;         // records as counted
    std::int64_t partialBytes = 0;  // bytes after the last whole record of the file
    std::int64_t fileSize = 0;      // the file's length in bytes (0 when missing)

    std::string_view record(std::int32_t n, std::int32_t length) const // n from 1
    {
        return std::string_view(bytes).substr(static_cast<std::size_t>(n - 1) * length, length);
    }
};

// Reads the file (a system path) whole under its shared lock (which nests with a lock the caller
// holds). A missing file reads as no records and is not created. Throws qd::files::FileError
// when it cannot be read.
WholeRecords readWholeRecords(std::string_view systemPath, std::int32_t length,
                              RecordCount rule = RecordCount::Whole);

// The records of a file as record buffers, for the lists that read a master from record 1 to its
// count. A missing file has none and is not created.
std::vector<Record> readRecordList(std::string_view systemPath, const Layout &layout,
                                   RecordCount rule = RecordCount::Whole);
// The same for records already read.
std::vector<Record> recordsOf(const WholeRecords &file, const Layout &layout);

// Throws qd::files::FileError naming the file when it ends in a part of a record, so that no
// writer replaces or extends it. The user reads the file and partialRecordReason().
void refusePartialRecord(std::string_view systemPath, const WholeRecords &file, std::int32_t length);
void refusePartialRecord(std::string_view systemPath, std::int64_t fileSize, std::int32_t length);
// The same for the file as it stands now; a missing file has no part of a record.
void refusePartialRecord(std::string_view systemPath, std::int32_t length);

// Appends `records` (whole records of `length`) after the last record of the file under its
// exclusive lock (platform/files/record_append.h), unless the file ends in a part of a record:
// a record appended after it would put every later record out of step, so the file is refused
// as refusePartialRecord() refuses it. Returns the record number of the first record appended.
std::int32_t appendWholeRecords(std::string_view systemPath, std::int32_t length, std::string_view records);

// ---- what the user reads about a file that ends in a part of a record ----

// "最後のレコードが途中で切れています。大きさ 2,314 バイト：128 バイトのレコード 18 件と 10 バイト"
std::string partialRecordReason(std::int64_t fileSize, std::int32_t length);

// What a program does with such a file: shows it, or copies it out (the CSV export).
enum class PartialRecordUse { Shown, Exported };

// The notice of a program that shows such a file: what it does with it, then the file and the
// reason as every file message names them, "<file> (<reason>)". The program joins the two lines
// in its own message style.
struct PartialRecordNotice {
    std::string what;
    std::string file;
    std::string text(std::string_view lineBreak) const { return what + std::string(lineBreak) + file; }
};
PartialRecordNotice partialRecordNotice(std::string_view systemPath, std::int64_t fileSize, std::int32_t length,
                                        PartialRecordUse use = PartialRecordUse::Shown);

// The notices a program owes its user: a file that ends in a part of a record is noted once,
// however often its lists are filled again, and again only when its size has changed or the
// form that shows it was loaded afresh (forget()).
class PartialRecordNotes {
public:
    // Notes the file when it ends in a part of a record, unless it was noted at this size.
    void see(std::string_view systemPath, std::int64_t fileSize, std::int32_t length,
             PartialRecordUse use = PartialRecordUse::Shown);
    void see(std::string_view systemPath, const WholeRecords &file, std::int32_t length,
             PartialRecordUse use = PartialRecordUse::Shown)
    {
        see(systemPath, file.fileSize, length, use);
    }
    // The notices noted since the last take(), oldest first.
    std::vector<PartialRecordNotice> take();
    // Their texts, the two lines of each joined by `lineBreak`.
    std::vector<std::string> takeTexts(std::string_view lineBreak);
    // Every file may be noted again.
    void forget() { m_noted.clear(); }

    // The commands of the windows that share these notes, while they run: the notices wait
    // until the outermost of them has ended, whichever window it belongs to, so that nothing is
    // told half way through a command (one window's events run during another's search).
    void commandStarted() { ++m_commands; }
    void commandEnded() { --m_commands; }
    bool commandRunning() const { return m_commands > 0; }

private:
    std::set<std::pair<std::string, std::int64_t>> m_noted;
    std::vector<PartialRecordNotice> m_pending;
    int m_commands = 0;
};

// The whole records of a file shown to the user (readRecordList), the file noted in `notes`
// when it ends in a part of a record.
std::vector<Record> readShownRecords(std::string_view systemPath, const Layout &layout, PartialRecordNotes &notes);

// Writes `bytes` (whole records of `length`) into the work copy, flushes it and renames it over
// the master (both system paths), under the master's exclusive lock; a caller that built the
// records from what it read holds that lock from its read on. On failure the master is as it
// was, the work copy is gone and qd::files::FileError says why.
void rewriteRecords(std::string_view masterPath, std::string_view workPath, std::int32_t length,
                    std::string_view bytes);

} // namespace qd::records
