#include "tools/ratebulk/core/rate_bulk.h"

#include <algorithm>
#include <set>

#include "platform/files/file_error.h"
#include "platform/files/file_lock.h"
#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "records/whole_file.h"

namespace qd::ratebulk {

namespace r = qd::records;
using qd::files::FileLock;
using qd::files::LockKind;
using qd::text::format;

const RateBulkKind &kind1()
{
    static const RateBulkKind k{1, "ratebulk1", "HINSYU1F", "☆☆☆　品種1率の一括設定　☆☆☆", "HISYU1", "WHINSYU1.TXT",
                                &r::Kind1::layout, r::Kind1::HINSYU1_CD, r::Kind1::NAME, r::Kind1::RATE_FIRST,
                                9620, 9090};
    return k;
}

const RateBulkKind &kind2()
{
    static const RateBulkKind k{2, "ratebulk2", "HINSYU2F", "☆☆☆　品種2率の一括設定　☆☆☆", "HISYU2", "WHINSYU2.TXT",
                                &r::Kind2::layout, r::Kind2::HINSYU2_CD, r::Kind2::NAME, r::Kind2::RATE_FIRST,
                                9735, 8385};
    return k;
}

namespace {

constexpr std::int32_t KIND_LENGTH = 256;

std::string dataPath(RateBulkState &g, const std::string &name) { return r::instDir(g) + "\\data\\" + name; }

std::string kindFileName(int kind, std::int32_t major)
{
    return (kind == 1 ? kind1() : kind2()).filePrefix + format(major, "00") + ".TXT";
}

std::int32_t value(const Record &rec, int field) { return static_cast<std::int32_t>(rec.number(field)); }

void sortLines(std::vector<RateLine> &lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const RateLine &a, const RateLine &b) { return a.text < b.text; });
}

std::vector<Record> readKind(RateBulkState &g, int kind, std::int32_t major)
{
    if (major < 0 || major > 99)
        return {};
    return r::readShownRecords(dataPath(g, kindFileName(kind, major)),
                               kind == 1 ? r::Kind1::layout() : r::Kind2::layout(), g.partialNotes);
}

std::int64_t keyOf(std::int32_t major, std::int32_t cls, std::int32_t code)
{
    return static_cast<std::int64_t>(major) * 1000000 + static_cast<std::int64_t>(cls) * 10000 + code;
}

void loadRates(RateBulkState &g, const Record &rec)
{
    for (int k = 1; k <= r::RateSlots; ++k)
        g.RATE[k - 1] = rec.fixedValue(g.KIND->rateFirst + k - 1) / Fixed4::fromInt(100);
}

void resetEnd(RateBulkState &g, int fromLevel)
{
    if (fromLevel <= 0)
        g.END_MAKER = 0;
    if (fromLevel <= 1)
        g.END_BUNRUI = 0;
    if (fromLevel <= 2)
        g.END_HINSYU1 = 0;
    g.END_HINSYU2 = 0;
}

// Locks taken for a rewrite of a kind file: the file itself and the work copy that every major
// class's rewrite shares.
struct KindFileLocks {
    FileLock master, work;
    KindFileLocks(const std::string &masterPath, const std::string &workPath)
        : master(std::string_view(masterPath), LockKind::Exclusive), work(std::string_view(workPath), LockKind::Exclusive) {}
};

} // namespace

std::vector<RateLine> majorLines(RateBulkState &g)
{
    std::vector<RateLine> out;
    std::int32_t n = 0;
    for (const Record &m : r::readShownRecords(dataPath(g, "MAKER.TXT"), r::MajorClass::layout(), g.partialNotes)) {
        ++n;
        out.push_back({m.text(r::MajorClass::MAKER_CD) + " " + m.text(r::MajorClass::NAME), n, m});
    }
    sortLines(out);
    return out;
}

std::vector<RateLine> classLines(RateBulkState &g, std::int32_t major)
{
    std::vector<RateLine> out;
    std::int32_t n = 0;
    for (const Record &c : r::readShownRecords(dataPath(g, "BUNRUI.TXT"), r::Class::layout(), g.partialNotes)) {
        ++n;
        if (value(c, r::Class::MAKER_CD) != major)
            continue;
        out.push_back({c.text(r::Class::BUNRUI_CD) + " " + c.text(r::Class::NAME) + "     " + format(n, "00000"), n, c});
    }
    sortLines(out);
    return out;
}

std::vector<RateLine> kind1Lines(RateBulkState &g, std::int32_t major, std::int32_t cls)
{
    std::vector<RateLine> out;
    std::int32_t n = 0;
    for (const Record &k : g.KIND1_RECS) {
        ++n;
        if (value(k, r::Kind1::MAKER_CD) != major || value(k, r::Kind1::BUNRUI_CD) != cls ||
            k.raw(r::Kind1::HINSYU1_CD) == "0000")
            continue;
        out.push_back({k.text(r::Kind1::HINSYU1_CD) + " " + k.text(r::Kind1::NAME) + std::string(15, ' ') +
                           format(n, "000000"),
                       n, k});
    }
    sortLines(out);
    return out;
}

std::vector<RateLine> kind2Lines(RateBulkState &g, std::int32_t major, std::int32_t cls, const Record &kind1)
{
    const std::string group = kind1.raw(r::Kind1::HINSYU1_CD).substr(0, 2);
    std::vector<RateLine> out;
    std::int32_t n = 0;
    for (const Record &k : g.KIND2_RECS) {
        ++n;
        const std::string code = k.raw(r::Kind2::HINSYU2_CD);
        if (code.substr(0, 2) != group || code == "0000" || value(k, r::Kind2::MAKER_CD) != major ||
            value(k, r::Kind2::BUNRUI_CD) != cls)
            continue;
        out.push_back({k.text(r::Kind2::HINSYU2_CD) + " " + k.text(r::Kind2::NAME) + std::string(15, ' ') +
                           format(n, "000000"),
                       n, k});
    }
    sortLines(out);
    return out;
}

void startMajorChosen(RateBulkState &g, const RateLine &line)
{
    g.START_MAKER = value(line.rec, r::MajorClass::MAKER_CD);
    g.KIND1_RECS = readKind(g, 1, g.START_MAKER);
    g.KIND2_RECS = g.KIND->kind == 2 ? readKind(g, 2, g.START_MAKER) : std::vector<Record>{};
    g.START_CHOSEN = true;
    g.START_BUNRUI = g.START_HINSYU1 = g.START_HINSYU2 = 0;
    // The end side's kind lists were drawn from the previous start major class's files.
    resetEnd(g, 2);
}

void startClassChosen(RateBulkState &g, const RateLine &line)
{
    g.START_BUNRUI = value(line.rec, r::Class::BUNRUI_CD);
    g.START_HINSYU1 = g.START_HINSYU2 = 0;
}

void startKind1Chosen(RateBulkState &g, const RateLine &line)
{
    g.START_HINSYU1 = value(line.rec, r::Kind1::HINSYU1_CD);
    g.START_HINSYU2 = 0;
    if (g.KIND->kind == 1)
        loadRates(g, line.rec);
}

void startKind2Chosen(RateBulkState &g, const RateLine &line)
{
    g.START_HINSYU2 = value(line.rec, r::Kind2::HINSYU2_CD);
    loadRates(g, line.rec);
}

bool endMajorChosen(RateBulkState &g, const RateLine &line)
{
    const std::int32_t v = value(line.rec, r::MajorClass::MAKER_CD);
    resetEnd(g, 0);
    if (v < g.START_MAKER)
        return false;
    g.END_MAKER = v;
    return true;
}

bool endClassChosen(RateBulkState &g, const RateLine &line)
{
    const std::int32_t v = value(line.rec, r::Class::BUNRUI_CD);
    resetEnd(g, 1);
    if (v < g.START_BUNRUI)
        return false;
    g.END_BUNRUI = v;
    return true;
}

bool endKind1Chosen(RateBulkState &g, const RateLine &line)
{
    const std::int32_t v = value(line.rec, r::Kind1::HINSYU1_CD);
    resetEnd(g, 2);
    if (v < g.START_HINSYU1)
        return false;
    g.END_HINSYU1 = v;
    return true;
}

bool endKind2Chosen(RateBulkState &g, const RateLine &line)
{
    const std::int32_t v = value(line.rec, r::Kind2::HINSYU2_CD);
    g.END_HINSYU2 = 0;
    if (v < g.START_HINSYU2)
        return false;
    g.END_HINSYU2 = v;
    return true;
}

void rangeReset(RateBulkState &g)
{
    g.START_MAKER = g.START_BUNRUI = g.START_HINSYU1 = g.START_HINSYU2 = 0;
    resetEnd(g, 0);
    g.START_CHOSEN = false;
}

std::int64_t startKey(const RateBulkState &g)
{
    return keyOf(g.START_MAKER, g.START_BUNRUI, g.KIND->kind == 2 ? g.START_HINSYU2 : g.START_HINSYU1);
}

std::int64_t endKey(const RateBulkState &g)
{
    return keyOf(g.END_MAKER, g.END_BUNRUI, g.KIND->kind == 2 ? g.END_HINSYU2 : g.END_HINSYU1);
}

bool rateFits(Fixed4 rate)
{
    if (rate < Fixed4{} || rate > Fixed4::fromInt(1000))
        return false;
    return (rate * Fixed4::fromInt(100)).rounded(0) <= Fixed4::fromInt(99999);
}

namespace {

// The twenty slot texts, Format(rate x 100, "00000") each.
std::array<std::string, r::RateSlots> slotTexts(const RateBulkState &g)
{
    std::array<std::string, r::RateSlots> out;
    for (int k = 1; k <= r::RateSlots; ++k) {
        const Fixed4 hundredths = (g.RATE[k - 1] * Fixed4::fromInt(100)).rounded(0);
        out[k - 1] = format(hundredths.raw() / Fixed4::Scale, "00000");
    }
    return out;
}

void putSlots(const std::array<std::string, r::RateSlots> &slots, int rateFirst, Record &rec)
{
    for (int k = 1; k <= r::RateSlots; ++k)
        rec.setRaw(rateFirst + k - 1, slots[k - 1]);
}

} // namespace

void RATES_TO_REC(const RateBulkState &g, Record &rec) { putSlots(slotTexts(g), g.KIND->rateFirst, rec); }

RateWriteResult RATE_WRITE(RateBulkState &g)
{
    RateWriteResult result;
    if (!g.START_CHOSEN || g.START_MAKER < 0 || g.START_MAKER > 99 || endKey(g) < startKey(g)) {
        result.rangeRefused = true;
        return result;
    }
    const RateBulkKind &k = *g.KIND;
    result.fileName = kindFileName(k.kind, g.START_MAKER);
    const std::string path = dataPath(g, result.fileName);
    const std::string work = dataPath(g, k.workFile);
    const std::int64_t from = startKey(g), to = endKey(g);

    KindFileLocks locks(path, work);
    const r::WholeRecords current = r::readWholeRecords(path, KIND_LENGTH);
    r::refusePartialRecord(path, current, KIND_LENGTH);
    std::string next = current.bytes;
    const std::array<std::string, r::RateSlots> slots = slotTexts(g);
    Record rec(k.layout());
    for (std::int32_t n = 1; n <= current.count; ++n) {
        rec.setBytes(current.record(n, KIND_LENGTH));
        const std::int64_t key = keyOf(value(rec, r::Kind1::MAKER_CD), value(rec, r::Kind1::BUNRUI_CD), value(rec, k.codeField));
        if (key < from || key > to)
            continue;
        putSlots(slots, k.rateFirst, rec);
        next.replace(static_cast<std::size_t>(n - 1) * KIND_LENGTH, KIND_LENGTH, rec.bytes());
        ++result.written;
    }
    if (result.written > 0)
        r::rewriteRecords(path, work, KIND_LENGTH, next);
    return result;
}

std::string rateWriteMessage(const RateWriteResult &result)
{
    if (result.rangeRefused)
        return RANGE_ERROR_TEXT;
    if (result.written == 0)
        return "指定範囲に該当するレコードはありません。\r" + result.fileName + " は書き換えていません。";
    return result.fileName + " の " + std::to_string(result.written) + " 件に率を書き込みました。";
}

std::vector<CompactFailure> KIND_FILES_COMPACT(RateBulkState &g)
{
    const RateBulkKind &k = *g.KIND;
    std::vector<CompactFailure> failures;
    std::set<std::int32_t> done;
    const std::string work = dataPath(g, k.workFile);
    for (const Record &m : r::readRecordList(dataPath(g, "MAKER.TXT"), r::MajorClass::layout())) {
        const std::int32_t nn = value(m, r::MajorClass::MAKER_CD);
        if (nn < 0 || nn > 99 || !done.insert(nn).second)
            continue;
        const std::string path = dataPath(g, kindFileName(k.kind, nn));
        try {
            KindFileLocks locks(path, work);
            const r::WholeRecords current = r::readWholeRecords(path, KIND_LENGTH);
            r::refusePartialRecord(path, current, KIND_LENGTH);
            std::string kept;
            Record rec(k.layout());
            for (std::int32_t n = 1; n <= current.count; ++n) {
                rec.setBytes(current.record(n, KIND_LENGTH));
                if (rec.raw(k.codeField) != "0000")
                    kept += rec.bytes();
            }
            if (current.exists && kept.size() == current.bytes.size())
                continue; // nothing to take out
            r::rewriteRecords(path, work, KIND_LENGTH, kept);
        } catch (const qd::files::FileError &e) {
            failures.push_back({e.path(), e.reason().empty() ? e.what() : e.reason()});
        }
    }
    return failures;
}

} // namespace qd::ratebulk
