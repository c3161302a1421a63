#include "records/whole_file.h"

#include "platform/files/file_error.h"
#include "platform/files/file_lock.h"
#include "platform/files/file_read.h"
#include "platform/files/file_stamp.h"
#include "platform/files/paths.h"
#include "platform/files/record_append.h"
#include "platform/files/record_file.h"
#include "platform/files/safe_replace.h"
#include "platform/text/numbers.h"

namespace qd::records {

using qd::files::FileError;

WholeRecords readWholeRecords(std::string_view systemPath, std::int32_t length, RecordCount rule)
{
    qd::files::FileSnapshot file = qd::files::readWholeFile(systemPath);
    WholeRecords out;
    out.exists = file.exists;
    const auto size = static_cast<std::int64_t>(file.bytes.size());
    out.count = rule == RecordCount::Rounded ? qd::files::recordCountOf(size, length)
                                             : static_cast<std::int32_t>(size / length);
    out.partialBytes = size % length;
    out.fileSize = size;
    file.bytes.resize(static_cast<std::size_t>(out.count) * static_cast<std::size_t>(length), ' ');
    out.bytes = std::move(file.bytes);
    return out;
}

std::vector<Record> recordsOf(const WholeRecords &file, const Layout &layout)
{
    std::vector<Record> out;
    out.reserve(static_cast<std::size_t>(file.count));
    Record rec(layout);
    for (std::int32_t n = 1; n <= file.count; ++n) {
        rec.setBytes(file.record(n, layout.length));
        out.push_back(rec);
    }
    return out;
}

std::vector<Record> readRecordList(std::string_view systemPath, const Layout &layout, RecordCount rule)
{
    return recordsOf(readWholeRecords(systemPath, layout.length, rule), layout);
}

namespace {

std::string grouped(std::int64_t n) { return qd::text::format(n, "#,##0"); }

} // namespace

std::string partialRecordReason(std::int64_t fileSize, std::int32_t length)
{
    return "最後のレコードが途中で切れています。大きさ " + grouped(fileSize) + " バイト：" + grouped(length) +
           " バイトのレコード " + grouped(fileSize / length) + " 件と " + grouped(fileSize % length) + " バイト";
}

void refusePartialRecord(std::string_view systemPath, std::int64_t fileSize, std::int32_t length)
{
    if (length <= 0 || fileSize % length == 0)
        return;
    throw FileError(qd::files::hostPath(systemPath).string(), "最後のレコードが途中で切れているため、書き込まずにそのままにしました",
                    partialRecordReason(fileSize, length));
}

void refusePartialRecord(std::string_view systemPath, const WholeRecords &file, std::int32_t length)
{
    refusePartialRecord(systemPath, file.fileSize, length);
}

void refusePartialRecord(std::string_view systemPath, std::int32_t length)
{
    const qd::files::FileStamp now = qd::files::stampOf(systemPath);
    if (now.exists)
        refusePartialRecord(systemPath, now.size, length);
}

std::int32_t appendWholeRecords(std::string_view systemPath, std::int32_t length, std::string_view records)
{
    const qd::files::FileLock lock(systemPath, qd::files::LockKind::Exclusive);
    refusePartialRecord(systemPath, length);
    return qd::files::appendRecords(systemPath, length, records);
}

PartialRecordNotice partialRecordNotice(std::string_view systemPath, std::int64_t fileSize, std::int32_t length,
                                        PartialRecordUse use)
{
    const std::int64_t whole = fileSize / length;
    const bool shown = use == PartialRecordUse::Shown;
    PartialRecordNotice n;
    if (whole == 0)
        n.what = shown ? "揃ったレコードが 1 件もないため、何も表示しません。"
                       : "揃ったレコードが 1 件もないため、レコードは書き出していません。";
    else
        n.what = "切れた最後の " + grouped(fileSize % length) + " バイトを除き、揃っているレコード " + grouped(whole) +
                 (shown ? " 件だけを表示します。" : " 件だけを書き出しました。");
    n.file = qd::files::hostPath(systemPath).string() + " (" + partialRecordReason(fileSize, length) + ")";
    return n;
}

void PartialRecordNotes::see(std::string_view systemPath, std::int64_t fileSize, std::int32_t length,
                             PartialRecordUse use)
{
    if (length <= 0 || fileSize % length == 0)
        return;
    // One file however it is spelt: the programs name a list-price file ".txt" in one place and
    // ".TXT" in another.
    if (!m_noted.emplace(qd::files::hostPath(systemPath).string(), fileSize).second)
        return;
    m_pending.push_back(partialRecordNotice(systemPath, fileSize, length, use));
}

std::vector<PartialRecordNotice> PartialRecordNotes::take()
{
    std::vector<PartialRecordNotice> out;
    out.swap(m_pending);
    return out;
}

std::vector<std::string> PartialRecordNotes::takeTexts(std::string_view lineBreak)
{
    std::vector<std::string> out;
    for (const PartialRecordNotice &n : take())
        out.push_back(n.text(lineBreak));
    return out;
}

std::vector<Record> readShownRecords(std::string_view systemPath, const Layout &layout, PartialRecordNotes &notes)
{
    const WholeRecords file = readWholeRecords(systemPath, layout.length);
    notes.see(systemPath, file, layout.length);
    return recordsOf(file, layout);
}

void rewriteRecords(std::string_view masterPath, std::string_view workPath, std::int32_t length,
                    std::string_view bytes)
{
    if (bytes.size() % static_cast<std::size_t>(length) != 0)
        throw FileError(qd::files::hostPath(masterPath).string(), "The new content is not made of whole records");
    // The work copy is written in one piece: the file layer takes the whole content as one
    // record of its length, so ten thousand records cost one write, not ten thousand.
    const auto piece = bytes.empty() || bytes.size() > 0x7fffffffu ? length : static_cast<std::int32_t>(bytes.size());
    qd::files::replaceThroughWorkCopy(masterPath, workPath, piece, [&](qd::files::RecordFile &work) {
        if (piece == static_cast<std::int32_t>(bytes.size())) {
            work.put(1, bytes);
            return;
        }
        const auto count = static_cast<std::int32_t>(bytes.size() / static_cast<std::size_t>(length));
        for (std::int32_t n = 1; n <= count; ++n)
            work.put(n, bytes.substr(static_cast<std::size_t>(n - 1) * length, length));
    });
}

} // namespace qd::records
