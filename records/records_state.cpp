#include "records/records_state.h"

#include <algorithm>
#include <cstdint>

#include "platform/files/file_lock.h"
#include "platform/files/paths.h"
#include "platform/files/record_append.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"

namespace qd::records {

using qd::files::RecordFile;

void RecordFileControl::get(std::int32_t n, Record &rec)
{
    if (!file.isOpen())
        throw qd::files::FileError(path, "file is not open");
    rec.setBytes(file.get(n));
    currentRecord = n;
}

void RecordFileControl::put(std::int32_t n, const Record &rec)
{
    if (!file.isOpen())
        throw qd::files::FileError(path, "file is not open");
    file.put(n, rec.bytes());
    currentRecord = n;
}

const std::string &instDir(RecordsState &g)
{
    g.INST_DIR = qd::text::trim(g.INST_DIR);
    return g.INST_DIR;
}

void openRecordFile(RecordsState &g, RecordFileControl &ctl, const std::string &path, std::int32_t length,
                    RecordFile::Mode mode)
{
    ctl.file.close();
    ctl.fileNumber = g.nextFileNumber++;
    ctl.recordLength = length;
    ctl.recordCount = ctl.lastRecord = ctl.currentRecord = 0;
    ctl.fileLength = 0;
    ctl.path = path;
    if (mode == RecordFile::Mode::ReadOnly && !qd::files::fileExists(path))
        return; // a reader that must not create the file sees 0 records
    ctl.file.open(path, length, mode);
    ctl.fileLength = ctl.file.fileLength();
    ctl.recordCount = ctl.file.recordCount();
    ctl.lastRecord = ctl.recordCount;
}

namespace {
std::string dataPath(RecordsState &g, const std::string &name) { return instDir(g) + "\\data\\" + name; }

std::string kindFile(RecordsState &g, const char *prefix)
{
    return dataPath(g, prefix + qd::text::format(static_cast<std::int64_t>(g.MAJOR_NO), "00") + ".TXT");
}
} // namespace

void TOKF_OPEN(RecordsState &g) { openRecordFile(g, g.TOKF_CTL, dataPath(g, "TOKF.SSS"), 64); }

void MAKER_OPEN(RecordsState &g)
{
    openRecordFile(g, g.MAKER_CTL, dataPath(g, "MAKER.TXT"), 32);
    g.REC_CURSOR = 1;
}

void CIHO_OPEN(RecordsState &g) { openRecordFile(g, g.CIHO_CTL, dataPath(g, "CIHO.TXT"), 32); }

void BUNRUI_OPEN(RecordsState &g)
{
    openRecordFile(g, g.BUNRUI_CTL, dataPath(g, "BUNRUI.TXT"), 32);
    g.REC_CURSOR = 1;
}

void IRO_OPEN(RecordsState &g)
{
    openRecordFile(g, g.IRO_CTL, dataPath(g, "IRO.TXT"), 32);
    g.REC_CURSOR = 1;
}

void HISYU1_OPEN(RecordsState &g)
{
    openRecordFile(g, g.HISYU1_CTL, kindFile(g, "HISYU1"), 256);
    g.REC_CURSOR = 1;
}

void HISYU2_OPEN(RecordsState &g)
{
    openRecordFile(g, g.HISYU2_CTL, kindFile(g, "HISYU2"), 256);
    g.REC_CURSOR = 1;
}

void TANKA_OPEN(RecordsState &g)
{
    g.TANKA_NAME = qd::text::trim(g.TANKA_NAME);
    openRecordFile(g, g.TANKA_CTL, dataPath(g, g.TANKA_NAME), 600);
}

void TANKA_OPEN_READ(RecordsState &g)
{
    g.TANKA_NAME = qd::text::trim(g.TANKA_NAME);
    openRecordFile(g, g.TANKA_CTL, dataPath(g, g.TANKA_NAME), 600, RecordFile::Mode::ReadOnly);
}

void TANPIN_OPEN(RecordsState &g) { openRecordFile(g, g.TANPIN_CTL, dataPath(g, "TANPIN.TXT"), 128); }
void WTANPIN_OPEN(RecordsState &g) { openRecordFile(g, g.WTANPIN_CTL, dataPath(g, "WTANPIN.TXT"), 128); }
void SYSF_OPEN(RecordsState &g) { openRecordFile(g, g.SYSF_CTL, dataPath(g, "SYSF.SSS"), 512); }
void SYOHIZEI_OPEN(RecordsState &g) { openRecordFile(g, g.SYOHIZEI_CTL, dataPath(g, "syohizei_calc.fil"), 64); }
void DIR_FILE_OPEN(RecordsState &g) { openRecordFile(g, g.DIR_CTL, "c:\\tamo\\tamo_dir.SSS", 768); }

void TANKA_REC_CLEAR(RecordsState &g)
{
    for (int i = Price::MAKER_CD; i <= Price::BIKO; ++i)
        g.TANKA_REC.blank(i);
}

void TANPIN_REC_CLEAR(RecordsState &g)
{
    // Every byte blank but the end, which stands as LF CR until the separators are set.
    std::string b(Item::layout().length, ' ');
    b[b.size() - 2] = '\n';
    b[b.size() - 1] = '\r';
    g.TANPIN_REC.setBytes(b);
}

void TANPIN_SEP_SET(RecordsState &g) { g.TANPIN_REC.setSeparators(); }

void TANPIN_REC_SET(RecordsState &g)
{
    Record &r = g.TANPIN_REC;
    r.setNumber(Item::TANPIN_CD, g.ITEM_EDIT_CD, "0000");
    r.setText(Item::NAME, g.ITEM_EDIT_NAME);
    r.setNumber(Item::TANKA, g.ITEM_EDIT_TANKA, "0000000");
    r.setNumber(Item::GENKA, g.ITEM_EDIT_GENKA, "0000000");
}

bool appendNextItem(RecordsState &g, std::int32_t maxCode)
{
    const std::string path = dataPath(g, "TANPIN.TXT");
    const qd::files::FileLock lock(path, qd::files::LockKind::Exclusive);
    TANPIN_OPEN(g);
    double highest = 0;
    try {
        // A file that ends in a part of a record takes no item: it would stand out of step.
        refusePartialRecord(path, g.TANPIN_CTL.fileLength, Item::layout().length);
        for (std::int32_t n = 1; n <= g.TANPIN_CTL.recordCount; ++n) {
            g.TANPIN_CTL.get(n, g.TANPIN_REC);
            highest = std::max(highest, qd::text::val(qd::text::trim(g.TANPIN_REC.raw(Item::TANPIN_CD))));
        }
    } catch (...) {
        g.TANPIN_CTL.close();
        throw;
    }
    g.TANPIN_CTL.close();

    // A code field holds four digits; anything read beyond the limit only says the codes ran out.
    const std::int64_t code = highest >= maxCode ? std::int64_t{maxCode} + 1 : qd::text::fix(highest) + 1;
    g.ITEM_EDIT_CD = static_cast<std::int16_t>(std::min<std::int64_t>(code, INT16_MAX));
    if (code > maxCode)
        return false;
    TANPIN_REC_CLEAR(g);
    TANPIN_SEP_SET(g);
    TANPIN_REC_SET(g);
    const std::int32_t n = appendWholeRecords(path, Item::layout().length, g.TANPIN_REC.bytes());
    g.TANPIN_CTL.recordCount = g.TANPIN_CTL.lastRecord = g.TANPIN_CTL.currentRecord = n;
    g.TANPIN_CTL.fileLength = static_cast<std::int64_t>(n) * Item::layout().length;
    return true;
}

void SYSF_REC_CLEAR(RecordsState &g)
{
    for (int i = OwnCompany::JISYA_NAME; i <= OwnCompany::TOUROKU_NO; ++i)
        g.SYSF_REC.blank(i);
}

void SYSF_TO_GLOBALS(RecordsState &g)
{
    Record &r = g.SYSF_REC;
    auto cutAtNul = [&](int field, std::string &global) {
        const std::string raw = r.raw(field);
        if (raw.find('\0') != std::string::npos)
            r.setText(field, r.textToNul(field));
        global = r.text(field);
    };
    cutAtNul(OwnCompany::JISYA_NAME, g.OWN_JISYA_NAME);
    cutAtNul(OwnCompany::JUSYO_1, g.OWN_JUSYO_1);
    cutAtNul(OwnCompany::JUSYO_2, g.OWN_JUSYO_2);
    g.OWN_YUBIN_NO = r.text(OwnCompany::YUBIN_NO);
    g.OWN_TEL_NO = r.text(OwnCompany::TEL_NO);
    g.OWN_FAX_NO = r.text(OwnCompany::FAX_NO);
    g.OWN_KAKERITU = r.text(OwnCompany::KAKERITU);
    g.OWN_TOUROKU_NO = r.text(OwnCompany::TOUROKU_NO);
}

bool isDeletedMajorClass(const Record &rec) { return rec.raw(MajorClass::MAKER_CD) == "00"; }
bool isDeletedClass(const Record &rec) { return rec.raw(Class::BUNRUI_CD) == "00"; }
bool isDeletedSection(const Record &rec) { return rec.raw(Section::DEL_MARK) == "000000"; }
bool isDeletedItem(const Record &rec) { return rec.raw(Item::TANPIN_CD) == "0000"; }

} // namespace qd::records
