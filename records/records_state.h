// The record buffers, their file control groups and the shared values the openers use.
// Every program of the suite holds one of these in its state object.
#pragma once

#include <cstdint>
#include <string>

#include "platform/files/record_file.h"
#include "records/layouts.h"
#include "records/whole_file.h"

namespace qd::records {

// The group beside each record buffer, filled by the record type's opener.
struct RecordFileControl {
    std::int32_t recordLength = 0;
    int fileNumber = 0;
    std::int32_t recordCount = 0;
    std::int32_t lastRecord = 0;   // writers that append use and advance it
    std::int32_t currentRecord = 0;
    std::int64_t fileLength = 0;
    std::string path;
    qd::files::RecordFile file;

    // Reads record n into the buffer (the buffer keeps the bytes as read).
    void get(std::int32_t n, Record &rec);
    // Writes the buffer as record n.
    void put(std::int32_t n, const Record &rec);
    // Closes the file; throws FileError when records written through it may not have reached
    // the disk (a file that was only read closes quietly).
    void close() { file.close(); }
};

// Closes a record file when the procedure that opened it ends, whichever way (a stop or a
// failure included).
struct CloseOnExit {
    RecordFileControl &ctl;
    ~CloseOnExit() { ctl.close(); }
};

struct RecordsState {
    // Shared values of the openers.
    std::string INST_DIR;         // install folder, kept left-justified (trimmed by every opener)
    std::int16_t MAJOR_NO = 0;    // major class of the kind files
    std::string TANKA_NAME;       // file name of the list-price file to open
    std::int32_t REC_CURSOR = 0;  // shared record and loop number of the list fills

    // Record buffers and their control groups.
    Record MAKER_REC{MajorClass::layout()};   RecordFileControl MAKER_CTL;
    Record CIHO_REC{Section::layout()};       RecordFileControl CIHO_CTL;
    Record BUNRUI_REC{Class::layout()};       RecordFileControl BUNRUI_CTL;
    Record IRO_REC{Color::layout()};          RecordFileControl IRO_CTL;
    Record HISYU1_REC{Kind1::layout()};       RecordFileControl HISYU1_CTL;
    Record HISYU2_REC{Kind2::layout()};       RecordFileControl HISYU2_CTL;
    Record TANKA_REC{Price::layout()};        RecordFileControl TANKA_CTL;
    Record TANPIN_REC{Item::layout()};        RecordFileControl TANPIN_CTL;
    Record WTANPIN_REC{Item::layout()};       RecordFileControl WTANPIN_CTL;
    Record TOKF_REC{Partner::layout()};       RecordFileControl TOKF_CTL;
    Record SYSF_REC{OwnCompany::layout()};    RecordFileControl SYSF_CTL;
    Record DIR_REC{InstallDir::layout()};     RecordFileControl DIR_CTL;
    RecordFileControl SYOHIZEI_CTL; // the tax settings file (its buffer belongs to the tax settings)

    // The open set (records/set_files.h): its bare file name ("SET00012.TXT"), buffer, control
    // group (the count holds whole records only) and the record last read.
    std::string SET_FILE_NAME;
    Record SET_REC{SetItem::layout()};        RecordFileControl SET_CTL;
    std::int32_t SET_REC_NO = 0;

    // Own-company globals, written by SYSF_TO_GLOBALS.
    std::string OWN_JISYA_NAME, OWN_JUSYO_1, OWN_JUSYO_2; // 50 each
    std::string OWN_YUBIN_NO;                            // 10
    std::string OWN_TEL_NO, OWN_FAX_NO;                  // 15 each
    std::string OWN_KAKERITU, OWN_TOUROKU_NO;            // 29 characters once read

    // Single-item edit values, set before TANPIN_REC_SET.
    std::int16_t ITEM_EDIT_CD = 0;
    std::string ITEM_EDIT_NAME;        // 50
    std::int32_t ITEM_EDIT_TANKA = 0;
    std::int32_t ITEM_EDIT_GENKA = 0;

    int nextFileNumber = 1; // the "free file number" the openers hand out
    // Files shown in part (they end in a part of a record) that the user is still to be told of.
    PartialRecordNotes partialNotes;
};

// Opens a file of `length`-byte records for random access (a missing file is created empty)
// and fills the control group; the caller closes it when its operation ends.
void openRecordFile(RecordsState &g, RecordFileControl &ctl, const std::string &path, std::int32_t length,
                    qd::files::RecordFile::Mode mode = qd::files::RecordFile::Mode::CreateIfMissing);

// Trim(INST_DIR) stored back, as every opener does first; returns it.
const std::string &instDir(RecordsState &g);

// The openers of the master and settings files.
void TOKF_OPEN(RecordsState &g);
void MAKER_OPEN(RecordsState &g);
void CIHO_OPEN(RecordsState &g);
void BUNRUI_OPEN(RecordsState &g);
void IRO_OPEN(RecordsState &g);
void HISYU1_OPEN(RecordsState &g);
void HISYU2_OPEN(RecordsState &g);
void TANKA_OPEN(RecordsState &g);
void TANPIN_OPEN(RecordsState &g);
void WTANPIN_OPEN(RecordsState &g);
void SYSF_OPEN(RecordsState &g);
void SYOHIZEI_OPEN(RecordsState &g);
void DIR_FILE_OPEN(RecordsState &g);

// Read-only variants for the readers that must never create a master (a missing file then
// opens as 0 records without being created).
void TANKA_OPEN_READ(RecordsState &g);

// Buffer routines.
void TANKA_REC_CLEAR(RecordsState &g);
void TANPIN_REC_CLEAR(RecordsState &g);
void TANPIN_SEP_SET(RecordsState &g);
void TANPIN_REC_SET(RecordsState &g);
// Registers the single item of the edit values ITEM_EDIT_NAME, ITEM_EDIT_TANKA and
// ITEM_EDIT_GENKA as a new record of "\data\TANPIN.TXT", appended after the file's last record
// under the code after the highest in the file (deleted records count 0). The file's exclusive
// lock is held from the read of the codes to the append, so two programs registering at once
// never give out one code, and the append writes the whole record or nothing. Sets ITEM_EDIT_CD
// and TANPIN_REC (as TANPIN_REC_CLEAR, TANPIN_SEP_SET and TANPIN_REC_SET do) and returns true.
// When the next code would pass `maxCode` nothing is written and false is returned. Throws
// qd::files::FileError when the file cannot be read or written, or ends in a part of a record
// (refusePartialRecord: nothing is written).
bool appendNextItem(RecordsState &g, std::int32_t maxCode);
void SYSF_REC_CLEAR(RecordsState &g);
void SYSF_TO_GLOBALS(RecordsState &g);

// The same shape for the other record types the tools use: blank the data fields, or set the
// separators, FILLER and end bytes before a first write.
inline void recClear(Record &rec) { rec.clearFields(); }
inline void recSepSet(Record &rec) { rec.setSeparators(); }

// True when a record's code marks it deleted (all zeros, or the section mark "000000").
bool isDeletedMajorClass(const Record &rec);
bool isDeletedClass(const Record &rec);
bool isDeletedSection(const Record &rec);
bool isDeletedItem(const Record &rec);

} // namespace qd::records
