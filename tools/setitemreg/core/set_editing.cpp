#include "tools/setitemreg/core/set_editing.h"

#include <algorithm>
#include <functional>
#include <set>

#include "platform/files/file_lock.h"
#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/whole_file.h"

namespace qd::setitemreg {

namespace r = qd::records;
using qd::files::FileError;
namespace SetItem = qd::records::SetItem;
using qd::records::SetRecordLength;

namespace {

const std::string BLANK_NAME(30, ' ');
// What the user reads when a set changed by another program since it was listed is not written.
const char *const CHANGED_MEANWHILE = "表示の後に他のプログラムで変更されています";

void requireOpenSet(const SethinState &g)
{
    if (!g.SET_OPEN || g.SET_FILE_PATH.empty())
        throw std::logic_error("no set is open");
}

// Locks the open set's file, reads it whole, lets `build` make the new records from the
// current ones and writes them through the work copy. The set file stays closed.
void rewriteSet(SethinState &g, bool mustBeAsListed, const std::function<std::string(const r::WholeRecords &)> &build)
{
    requireOpenSet(g);
    qd::files::FileLock lock(std::string_view(g.SET_FILE_PATH), qd::files::LockKind::Exclusive);
    const r::WholeRecords current = r::readWholeRecords(g.SET_FILE_PATH, SetRecordLength);
    r::refusePartialRecord(g.SET_FILE_PATH, current, SetRecordLength);
    if (mustBeAsListed && current.bytes != g.LISTED_BYTES)
        throw FileError(qd::files::hostPath(g.SET_FILE_PATH).string(),
                        "The set was changed by another program since it was shown", CHANGED_MEANWHILE);
    const std::string next = build(current);
    g.SET_CTL.close();
    r::rewriteRecords(g.SET_FILE_PATH, g.WSET_FILE_PATH, SetRecordLength, next);
}

// CUR_SET_NAME into every component of the records.
std::string withSetName(const SethinState &g, std::string bytes)
{
    Record rec(SetItem::layout());
    for (std::size_t at = 0; at + SetRecordLength <= bytes.size(); at += SetRecordLength) {
        rec.setBytes(std::string_view(bytes).substr(at, SetRecordLength));
        if (!r::isSetComponent(rec))
            continue;
        rec.setText(SetItem::SET_NAME, g.CUR_SET_NAME);
        bytes.replace(at, SetRecordLength, rec.bytes());
    }
    return bytes;
}

// A text field as the lists show it: cut at its first NUL, blank-padded to its width.
std::string shownField(const Record &rec, int field, std::size_t width)
{
    return qd::text::fromField(qd::text::toField(rec.textToNul(field), width));
}

bool openSet(SethinState &g, const std::string &fileName)
{
    SET_CLOSE(g);
    g.SET_FILE_NAME = fileName;
    g.SET_FILE_PATH = r::setFilePath(g, fileName);
    g.WSET_FILE_PATH = r::setFilePath(g, "W" + fileName);
    r::SET_FILE_OPEN(g);
    g.SET_OPEN = true;
    g.SET_CODE = r::setCodeOf(fileName);
    g.SET_TOTAL = 0;
    g.LISTED_BYTES.clear();
    return g.SET_CTL.recordCount > 0;
}

} // namespace

bool numericInRange(std::int64_t value) { return value >= -999999999 && value <= 999999999; }

bool SET_OPEN_BY_CODE(SethinState &g, std::int32_t code) { return openSet(g, r::setFileName(code)); }

bool SET_OPEN_BY_NAME(SethinState &g, const std::string &fileName)
{
    if (r::setCodeOf(fileName) == 0)
        throw FileError(r::setFilePath(g, fileName), "This is not the name of a set file", r::NOT_A_SET_FILE);
    return openSet(g, fileName);
}

void SET_CLOSE(SethinState &g)
{
    g.SET_CTL.close();
    g.SET_OPEN = false;
    g.CUR_SET_NAME = BLANK_NAME;
    g.LISTED_BYTES.clear();
}

std::vector<ListedComponent> SET_LIST_READ(SethinState &g)
{
    requireOpenSet(g);
    std::vector<ListedComponent> out;
    g.SET_TOTAL = 0;
    g.LISTED_BYTES.clear();
    g.CUR_SET_NAME = BLANK_NAME;
    r::SET_FILE_OPEN(g);
    r::SetPriceBook book(r::instDir(g));
    g.SET_REC.setRaw(SetItem::SET_NAME, BLANK_NAME);
    g.partialNotes.see(g.SET_FILE_PATH, g.SET_CTL.fileLength, SetRecordLength);
    for (std::int32_t n = 1; n <= g.SET_CTL.recordCount; ++n) {
        g.SET_REC_NO = n;
        SET_REC_CLEAR(g);
        g.SET_CTL.get(n, g.SET_REC);
        g.LISTED_BYTES += g.SET_REC.bytes();
        if (!r::isSetComponent(g.SET_REC))
            continue;
        // The set's name is its first component's: a record without a name (left by a delete
        // that was cut off) must not make the set nameless, nor blank every component at the
        // next add or change.
        if (out.empty())
            g.CUR_SET_NAME = r::setNameOf(g.SET_REC);
        ListedComponent c;
        c.recordNo = n;
        c.rec = g.SET_REC;
        c.line = shownField(g.SET_REC, SetItem::KIGO, 25) + " " + shownField(g.SET_REC, SetItem::BIKO, 50) +
                 std::string(30, ' ') + qd::text::format(n, "000000");
        g.SET_TOTAL += book.price(g.SET_REC).amount();
        out.push_back(std::move(c));
    }
    g.SET_REC_NO = g.SET_CTL.recordCount;
    g.SET_CODE = r::setCodeOf(g.SET_FILE_NAME);
    return out;
}

void SET_REC_CLEAR(SethinState &g)
{
    for (int f = SetItem::SET_NAME; f <= SetItem::SURYO; ++f)
        g.SET_REC.blank(f);
}

void SET_REC_SEPARATORS(SethinState &g) { g.SET_REC.setSeparators(); }

void SET_REC_BUILD(SethinState &g)
{
    Record &rec = g.SET_REC;
    rec.setText(SetItem::SET_NAME, g.CUR_SET_NAME);
    rec.setNumber(SetItem::MAKER_CD, g.SEL_MAKER, "00");
    rec.setNumber(SetItem::BUNRUI_CD, g.SEL_BUNRUI, "00");
    rec.setNumber(SetItem::HINSYU2_CD, g.SEL_HINSYU2, "0000");
    rec.setNumber(SetItem::CIHO_CD, g.SEL_CIHO, "00");
    rec.setRaw(SetItem::KIGO, g.SEL_KIGO);
    rec.setRaw(SetItem::BIKO, g.SEL_BIKO);
    rec.setNumber(SetItem::IRO_CD, g.SEL_IRO, "00");
    rec.setNumber(SetItem::SURYO, g.SET_QTY, "00000");
}

bool SET_NAME_TAKE(SethinState &g, const std::string &typed)
{
    const std::string name = qd::text::fromField(qd::text::toField(typed, 30));
    if (qd::text::trim(name).empty())
        return false;
    g.CUR_SET_NAME = name;
    return true;
}

QtyAnswer SET_QTY_TAKE(SethinState &g, const std::string &answer)
{
    if (answer.empty())
        return QtyAnswer::Cancelled;
    const std::string text = qd::text::fixedChars(answer, 5);
    const double v = qd::text::val(text);
    if (!(v > -0.5) || v >= 99999.5)
        return QtyAnswer::Refused;
    g.SET_QTY_TEXT = text;
    g.SET_QTY = static_cast<std::int32_t>(qd::text::roundHalfEven(v));
    return QtyAnswer::Taken;
}

namespace {

// The component of the current item with SET_QTY, as a new record of the open, named set.
std::string builtComponent(SethinState &g)
{
    requireOpenSet(g);
    if (qd::text::trim(g.CUR_SET_NAME).empty())
        throw std::logic_error("the set has no name");
    SET_REC_CLEAR(g);
    SET_REC_SEPARATORS(g);
    SET_REC_BUILD(g);
    return g.SET_REC.bytes();
}

} // namespace

void SET_COMPONENT_ADD(SethinState &g)
{
    const std::string added = builtComponent(g);
    rewriteSet(g, false, [&](const r::WholeRecords &cur) { return withSetName(g, cur.bytes + added); });
}

void SET_COMPONENT_CHANGE(SethinState &g, std::int32_t recordNo)
{
    const std::string changed = builtComponent(g);
    rewriteSet(g, true, [&](const r::WholeRecords &cur) {
        Record old(SetItem::layout());
        if (recordNo >= 1 && recordNo <= cur.count)
            old.setBytes(cur.record(recordNo, SetRecordLength));
        if (recordNo < 1 || recordNo > cur.count || !r::isSetComponent(old))
            throw std::logic_error("no component " + std::to_string(recordNo) + " to change");
        std::string next = cur.bytes;
        next.replace(static_cast<std::size_t>(recordNo - 1) * SetRecordLength, SetRecordLength, changed);
        return withSetName(g, std::move(next));
    });
    g.SET_REC_NO = recordNo;
}

std::int32_t SET_COMPONENTS_DELETE(SethinState &g, const std::vector<std::int32_t> &recordNos)
{
    const std::set<std::int32_t> gone(recordNos.begin(), recordNos.end());
    std::int32_t taken = 0;
    rewriteSet(g, true, [&](const r::WholeRecords &cur) {
        std::string next;
        Record rec(SetItem::layout());
        for (std::int32_t n = 1; n <= cur.count; ++n) {
            rec.setBytes(cur.record(n, SetRecordLength));
            if (gone.count(n) != 0 && r::isSetComponent(rec))
                ++taken;
            else if (r::isSetComponent(rec))
                next += rec.bytes();
        }
        return next;
    });
    return taken;
}

void SET_FILE_REMOVE(SethinState &g)
{
    requireOpenSet(g);
    {
        qd::files::FileLock lock(std::string_view(g.SET_FILE_PATH), qd::files::LockKind::Exclusive);
        const r::WholeRecords current = r::readWholeRecords(g.SET_FILE_PATH, SetRecordLength);
        r::refusePartialRecord(g.SET_FILE_PATH, current, SetRecordLength);
        if (current.bytes != g.LISTED_BYTES)
            throw FileError(qd::files::hostPath(g.SET_FILE_PATH).string(),
                            "The set was changed by another program since it was shown", CHANGED_MEANWHILE);
        g.SET_CTL.close();
        qd::files::removeFile(g.SET_FILE_PATH);
    }
    SET_CLOSE(g);
}

} // namespace qd::setitemreg
