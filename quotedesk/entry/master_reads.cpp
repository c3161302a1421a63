#include "quotedesk/entry/master_reads.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"

namespace qd::entry {

namespace {

using qd::files::RecordFile;

std::string dataPath(QdState &g, const std::string &name)
{
    return qd::records::instDir(g) + "\\data\\" + name;
}

void openRead(QdState &g, RecordFileControl &ctl, const std::string &name, std::int32_t length)
{
    qd::records::openRecordFile(g, ctl, dataPath(g, name), length, RecordFile::Mode::ReadOnly);
}

void openKindRead(QdState &g, RecordFileControl &ctl, const char *prefix)
{
    if (g.MAJOR_NO < 0 || g.MAJOR_NO > 99) {
        ctl.close();
        ctl.recordCount = ctl.lastRecord = ctl.currentRecord = 0;
        ctl.fileLength = 0;
        ctl.path.clear();
        g.REC_CURSOR = 1;
        return;
    }
    openRead(g, ctl, prefix + qd::text::format(g.MAJOR_NO, "00") + ".TXT", 256);
    g.REC_CURSOR = 1;
}

// Opens a form master again when its file is not open.
void keepOpen(QdState &g, RecordFileControl &ctl, void (*opener)(QdState &))
{
    if (!ctl.file.isOpen())
        opener(g);
}

} // namespace

void MAKER_OPEN_READ(QdState &g)
{
    openRead(g, g.MAKER_CTL, "MAKER.TXT", 32);
    g.REC_CURSOR = 1;
}

void BUNRUI_OPEN_READ(QdState &g)
{
    openRead(g, g.BUNRUI_CTL, "BUNRUI.TXT", 32);
    g.REC_CURSOR = 1;
}

void CIHO_OPEN_READ(QdState &g) { openRead(g, g.CIHO_CTL, "CIHO.TXT", 32); }

void IRO_OPEN_READ(QdState &g)
{
    openRead(g, g.IRO_CTL, "IRO.TXT", 32);
    g.REC_CURSOR = 1;
}

void HISYU1_OPEN_READ(QdState &g) { openKindRead(g, g.HISYU1_CTL, "HISYU1"); }
void HISYU2_OPEN_READ(QdState &g) { openKindRead(g, g.HISYU2_CTL, "HISYU2"); }

void openFormMasters(QdState &g)
{
    keepOpen(g, g.MAKER_CTL, MAKER_OPEN_READ);
    keepOpen(g, g.BUNRUI_CTL, BUNRUI_OPEN_READ);
    keepOpen(g, g.CIHO_CTL, CIHO_OPEN_READ);
    keepOpen(g, g.IRO_CTL, IRO_OPEN_READ);
}

void closeFormMasters(QdState &g)
{
    g.MAKER_CTL.close();
    g.BUNRUI_CTL.close();
    g.CIHO_CTL.close();
    g.IRO_CTL.close();
}

std::string codeField(const Record &rec, int field)
{
    std::string b = rec.raw(field);
    const std::size_t width = b.size();
    const std::size_t nul = b.find('\0');
    if (nul != std::string::npos)
        b.resize(nul);
    b.resize(width, ' ');
    return b;
}

std::string nameField(const Record &rec, int field)
{
    return qd::text::fromField(codeField(rec, field));
}

std::int64_t fieldValue(const Record &rec, int field) { return rec.number(field); }

bool isDigitCode(std::string_view s, std::size_t width)
{
    if (s.size() != width)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::int32_t shownRecordCount(QdState &g, const RecordFileControl &ctl)
{
    if (ctl.recordLength <= 0 || !ctl.file.isOpen())
        return 0;
    g.partialNotes.see(ctl.path, ctl.fileLength, ctl.recordLength);
    return static_cast<std::int32_t>(ctl.fileLength / ctl.recordLength);
}

bool findFirst(RecordFileControl &ctl, Record &rec, const std::function<bool(const Record &)> &match)
{
    for (std::int32_t n = 1; n <= ctl.recordCount; ++n) {
        ctl.get(n, rec);
        if (match(rec))
            return true;
    }
    rec.clearFields();
    return false;
}

void forEachMatch(RecordFileControl &ctl, Record &rec, const std::function<bool(const Record &)> &match,
                  const std::function<void(const Record &)> &each)
{
    for (std::int32_t n = 1; n <= ctl.recordCount; ++n) {
        ctl.get(n, rec);
        if (match(rec))
            each(rec);
    }
}

} // namespace qd::entry
