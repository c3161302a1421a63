#include "records/set_files.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"

namespace qd::records {

namespace fs = std::filesystem;
using qd::files::FileError;
using qd::files::RecordFile;

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperAscii(std::string_view s)
{
    std::string u(s);
    std::transform(u.begin(), u.end(), u.begin(), upper);
    return u;
}

bool isDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A field's bytes cut at the first NUL and blank-padded to the field's width again.
std::string cutAtNul(std::string_view raw)
{
    std::string b(raw.substr(0, raw.find('\0')));
    b.resize(raw.size(), ' ');
    return b;
}

bool blank(std::string_view raw) { return raw.find_first_not_of(' ') == std::string_view::npos; }

std::string dataFolder(RecordsState &g) { return instDir(g) + "\\data"; }

} // namespace

bool isSetCode(std::int64_t code) { return code >= SetCodeFirst && code <= SetCodeLast; }

std::string setFileName(std::int64_t code)
{
    if (!isSetCode(code))
        throw std::out_of_range("set code " + std::to_string(code) + " is outside 1 to 99999");
    return "SET" + qd::text::format(code, "00000") + ".TXT";
}

std::int32_t setCodeOf(std::string_view fileName)
{
    const std::string u = upperAscii(fileName);
    if (u.size() != 12 || u.compare(0, 3, "SET") != 0 || u.compare(8, 4, ".TXT") != 0)
        return 0;
    const std::string digits = u.substr(3, 5);
    if (!isDigits(digits))
        return 0;
    const int code = std::stoi(digits);
    return isSetCode(code) ? code : 0;
}

std::string setFilePath(RecordsState &g, std::string_view fileName)
{
    return dataFolder(g) + "\\" + std::string(fileName);
}

bool isSetComponent(const Record &rec) { return !blank(cutAtNul(rec.raw(SetItem::SET_NAME))); }

std::string setNameOf(const Record &rec) { return qd::text::fromField(cutAtNul(rec.raw(SetItem::SET_NAME))); }

void SET_FILE_OPEN(RecordsState &g)
{
    g.SET_CTL.close();
    g.SET_REC_NO = 0;
    g.SET_FILE_NAME = qd::text::trim(g.SET_FILE_NAME);
    const std::string path = setFilePath(g, g.SET_FILE_NAME);
    if (setCodeOf(g.SET_FILE_NAME) == 0)
        throw FileError(path, "This is not the name of a set file", NOT_A_SET_FILE);
    openRecordFile(g, g.SET_CTL, path, SetRecordLength, RecordFile::Mode::ReadOnly);
    // Whole records only: a record cut short is never read as a component.
    g.SET_CTL.recordCount = g.SET_CTL.lastRecord =
        static_cast<std::int32_t>(g.SET_CTL.fileLength / SetRecordLength);
}

std::int64_t setPartialBytes(const RecordsState &g) { return g.SET_CTL.fileLength % SetRecordLength; }

std::vector<SetListEntry> SET_FILE_LIST(RecordsState &g)
{
    std::vector<SetListEntry> out;
    const fs::path folder = qd::files::hostPath(dataFolder(g));
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::int32_t code = setCodeOf(name);
        if (code == 0 || !it->is_regular_file(ec))
            continue;
        out.push_back(SetListEntry{name, code, {}, 0});
    }
    std::sort(out.begin(), out.end(), [](const SetListEntry &a, const SetListEntry &b) {
        const std::string ua = upperAscii(a.fileName), ub = upperAscii(b.fileName);
        return ua != ub ? ua < ub : a.fileName < b.fileName;
    });

    std::vector<SetListEntry> listed;
    Record first(SetItem::layout());
    for (SetListEntry &e : out) {
        RecordFile file(setFilePath(g, e.fileName), SetRecordLength, RecordFile::Mode::ReadOnly);
        e.records = static_cast<std::int32_t>(file.fileLength() / SetRecordLength);
        if (e.records == 0)
            continue; // a set file without records is no set
        first.setBytes(file.get(1));
        e.setName = setNameOf(first);
        listed.push_back(std::move(e));
    }
    return listed;
}

// ---- the list price of a component ----------------------------------------------------------

std::string setMatchField(std::string_view raw, std::size_t width)
{
    std::string_view s = raw.substr(0, raw.find('\0'));
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return std::string(width, ' ');
    s = s.substr(b, s.find_last_not_of(' ') - b + 1);
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

bool isSetPriceLine(const Record &component, const Record &priceLine)
{
    using S = SetItem::Field;
    using P = Price::Field;
    const auto codes = [&](S s, P p) { return cutAtNul(component.raw(s)) == cutAtNul(priceLine.raw(p)); };
    const auto text = [&](S s, P p, std::size_t w) {
        return setMatchField(component.raw(s), w) == setMatchField(priceLine.raw(p), w);
    };
    return codes(S::MAKER_CD, P::MAKER_CD) && codes(S::BUNRUI_CD, P::BUNRUI_CD) &&
           codes(S::HINSYU2_CD, P::HINSYU2_CD) && codes(S::CIHO_CD, P::CIHO_CD) && text(S::KIGO, P::KIGO, 25) &&
           text(S::BIKO, P::BIKO, 50);
}

std::string setPriceFileName(const Record &component)
{
    const std::string maker = component.raw(SetItem::MAKER_CD);
    const std::string bunrui = component.raw(SetItem::BUNRUI_CD);
    const std::string kk = component.raw(SetItem::HINSYU2_CD).substr(0, 2);
    if (!isDigits(maker) || !isDigits(bunrui) || !isDigits(kk))
        return {};
    return maker + bunrui + kk + "00.TXT";
}

std::int64_t setQuantityOf(const Record &component)
{
    return static_cast<std::int64_t>(qd::text::roundHalfAway(component.fixedValue(SetItem::SURYO).toDouble(), 0));
}

SetPriceBook::SetPriceBook(std::string instDir) : m_instDir(qd::text::trim(instDir)) {}

const WholeRecords &SetPriceBook::file(const std::string &name)
{
    auto it = m_files.find(name);
    if (it != m_files.end())
        return it->second;
    const std::string path = m_instDir + "\\data\\" + name;
    return m_files.emplace(name, readWholeRecords(path, Price::layout().length)).first->second;
}

SetItemPrice SetPriceBook::price(const Record &component)
{
    SetItemPrice out;
    out.quantity = setQuantityOf(component);
    m_line.setBytes("");
    const std::string name = setPriceFileName(component);
    if (name.empty())
        return out;

    const WholeRecords &lines = file(name);
    const std::int32_t length = Price::layout().length;
    // The codes are compared on the raw bytes first: most lines of a file differ there.
    const std::string kind = cutAtNul(component.raw(SetItem::HINSYU2_CD));
    const std::string ciho = cutAtNul(component.raw(SetItem::CIHO_CD));
    const FieldDef &kindField = Price::layout().fields[Price::HINSYU2_CD];
    const FieldDef &cihoField = Price::layout().fields[Price::CIHO_CD];
    Record line(Price::layout());
    for (std::int32_t n = 1; n <= lines.count; ++n) {
        const std::string_view bytes = lines.record(n, length);
        if (cutAtNul(bytes.substr(kindField.offset, kindField.width)) != kind ||
            cutAtNul(bytes.substr(cihoField.offset, cihoField.width)) != ciho)
            continue;
        line.setBytes(bytes);
        if (!isSetPriceLine(component, line))
            continue;
        out.lineFound = true;
        out.lineRecord = n;
        m_line = line;
        break;
    }
    if (!out.lineFound)
        return out;

    const std::int64_t colour = component.number(SetItem::IRO_CD);
    for (int s = 1; s <= PriceSlots; ++s) {
        const bool empty = blank(m_line.raw(Price::iroCd(s))) && blank(m_line.raw(Price::tanka(s)));
        if (!empty && m_line.number(Price::iroCd(s)) == colour)
            out.slot = s;
    }
    if (out.slot != 0)
        out.listPrice = m_line.number(Price::tanka(out.slot));
    return out;
}

SetItemPrice SET_ITEM_PRICE(RecordsState &g, const Record &component)
{
    SetPriceBook book(instDir(g));
    const SetItemPrice p = book.price(component);
    g.TANKA_REC = book.line();
    g.TANKA_NAME = setPriceFileName(component);
    return p;
}

std::int64_t SET_TOTAL_OF(RecordsState &g, const std::vector<Record> &records)
{
    SetPriceBook book(instDir(g));
    std::int64_t total = 0;
    for (const Record &r : records)
        if (isSetComponent(r))
            total += book.price(r).amount();
    return total;
}

std::int64_t SET_TOTAL_OF_OPEN_SET(RecordsState &g)
{
    std::vector<Record> records;
    Record rec(SetItem::layout());
    for (std::int32_t n = 1; n <= g.SET_CTL.recordCount; ++n) {
        rec.setBytes(g.SET_CTL.file.get(n));
        records.push_back(rec);
    }
    return SET_TOTAL_OF(g, records);
}

} // namespace qd::records
