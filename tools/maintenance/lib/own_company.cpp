#include "tools/maintenance/lib/own_company.h"

#include "platform/files/file_lock.h"
#include "platform/files/file_read.h"
#include "platform/files/paths.h"
#include "platform/files/record_file.h"
#include "platform/files/safe_replace.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "records/whole_file.h"

#include <array>

namespace qd::maint {

namespace {

namespace O = qd::records::OwnCompany;
constexpr int RecordLength = 512;

const std::array<int, 13> kFields = {-1, O::JISYA_NAME, O::JUSYO_1, O::JUSYO_2, O::YUBIN_NO, O::TEL_NO, O::FAX_NO,
                                     O::KAKERITU, O::TOUROKU_NO, O::FURIKOMI_1, O::FURIKOMI_2, O::FURIKOMI_3,
                                     O::FURIKOMI_4};

} // namespace

int ownField(int n) { return kFields.at(static_cast<std::size_t>(n)); }

int ownFieldWidth(int n) { return O::layout().fields.at(static_cast<std::size_t>(ownField(n))).width; }

void SYSF_FIELDS_CLEAR(OwnState &g)
{
    for (int n = 1; n <= 12; ++n)
        g.SYSF_EDIT[static_cast<std::size_t>(n)] = std::string(static_cast<std::size_t>(ownFieldWidth(n)), ' ');
}

void SYSF_TO_EDIT(OwnState &g)
{
    for (int n = 1; n <= 12; ++n)
        g.SYSF_EDIT[static_cast<std::size_t>(n)] = g.SYSF_REC.text(ownField(n));
}

void SYSF_SEP_SET(OwnState &g) { g.SYSF_REC.setSeparators(); }

void SYSF_REC_SET(OwnState &g)
{
    for (int n = 1; n <= 12; ++n)
        g.SYSF_REC.setText(ownField(n), g.SYSF_EDIT[static_cast<std::size_t>(n)]);
    g.SYSF_REC.blank(O::FILLER);
}

bool isReadableRate(std::string_view text)
{
    const std::string t = qd::text::trim(text);
    if (t.empty())
        return true;
    std::size_t i = 0, digits = 0, decimals = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9')
        ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9')
            ++i, ++decimals;
        if (decimals == 0)
            return false;
    }
    if (digits == 0 || i != t.size() || decimals > 2)
        return false;
    const qd::text::Fixed4 v = qd::text::valFixed(t);
    const bool wholeRank = v.raw() % qd::text::Fixed4::Scale == 0 && v >= qd::text::Fixed4::fromInt(1) &&
                           v <= qd::text::Fixed4::fromInt(10);
    const bool percent = v > qd::text::Fixed4::fromInt(10) && v <= qd::text::Fixed4::fromRaw(9'999'900);
    return wholeRank || percent;
}

void readOwnRecord(OwnState &g, const std::string &path)
{
    const qd::files::FileLock lock(std::string_view(path), qd::files::LockKind::Shared);
    const qd::files::RecordFile file(path, RecordLength);
    // Only a whole record is shown: a file that ends in a part of one is shown so and never
    // written.
    g.recordCount = static_cast<std::int32_t>(file.fileLength() / RecordLength);
    g.partialNotes.see(path, file.fileLength(), RecordLength);
    if (g.recordCount > 0)
        g.SYSF_REC.setBytes(file.get(1));
}

void writeOwnRecord(const OwnState &g, const std::string &path)
{
    const qd::files::FileLock lock(std::string_view(path), qd::files::LockKind::Exclusive);
    std::string bytes = g.SYSF_REC.bytes();
    const qd::files::FileSnapshot old = qd::files::readWholeFile(path);
    qd::records::refusePartialRecord(path, static_cast<std::int64_t>(old.bytes.size()), RecordLength);
    if (old.bytes.size() > static_cast<std::size_t>(RecordLength))
        bytes += old.bytes.substr(RecordLength);
    qd::files::writeFileSafely(path, bytes);
}

} // namespace qd::maint
