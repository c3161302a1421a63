#include "tools/csv/engine/csv_convert.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/files/file_error.h"
#include "platform/files/file_read.h"
#include "platform/files/paths.h"
#include "platform/files/record_file.h"
#include "platform/files/safe_replace.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/layouts.h"

namespace qd::csv {

namespace {

using qd::files::FileError;

bool allDigits(std::string_view s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A sign, digits and at most one decimal point, with at least one digit: a value that a zero
// pattern turns into a whole number.
bool readsAsNumber(std::string_view s)
{
    if (!s.empty() && (s.front() == '-' || s.front() == '+'))
        s.remove_prefix(1);
    bool digit = false, point = false;
    for (char c : s) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

bool onlyZeros(std::string_view pattern)
{
    return std::all_of(pattern.begin(), pattern.end(), [](char c) { return c == '0'; });
}

std::string_view withoutLeadingZeros(std::string_view digits)
{
    const std::size_t z = digits.find_first_not_of('0');
    return z == std::string_view::npos ? std::string_view() : digits.substr(z);
}

// A whole number of digits through a pattern of zeros: at least as many digits as zeros.
std::string padded(std::string_view digits, std::size_t zeros)
{
    std::string_view d = withoutLeadingZeros(digits);
    std::string s;
    if (d.size() < zeros)
        s.assign(zeros - d.size(), '0');
    s += d;
    return s;
}

// A text field as every reader of the masters takes it: up to its first NUL byte, where it holds
// one (another writer may have left NULs in place of blanks). The import refuses a NUL in a cell,
// so none goes out.
std::string_view beforeNul(std::string_view field) { return field.substr(0, field.find('\0')); }

// A cell's value as the user sees it in a message: decoded, at most 20 characters.
std::string shown(std::string_view bytes)
{
    const std::string t = text::fromCp932(bytes);
    return text::charCount(t) > 20 ? text::leftChars(t, 20) + "…" : t;
}

// Refuses the file at one line; the message is only made when it is needed.
class RowRefusal {
public:
    RowRefusal(const std::string &file, int line) : m_file(file), m_line(line) {}
    [[noreturn]] void operator()(const std::string &what) const
    {
        throw CsvRefused(m_file + " の " + std::to_string(m_line) + " 行目：" + what);
    }

private:
    const std::string &m_file;
    int m_line;
};

// A sign at most and digits: what a code or a number of a record reads as.
bool wholeNumber(std::string_view s)
{
    if (!s.empty() && (s.front() == '-' || s.front() == '+'))
        s.remove_prefix(1);
    return allDigits(s);
}

// A first line whose every code reads as a number, or is blank (a record that lacks its code),
// and that holds anything at all is a record, not the caption line: captions are words. Its file
// lost the caption line (deleted in a spreadsheet, say).
bool readsAsRecord(const CsvTable &table, const std::vector<CsvCell> &cells)
{
    bool holdsAnything = false;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        const std::string_view value = trimBlanks(cells[i].bytes);
        holdsAnything = holdsAnything || !value.empty();
        if (table.columns[i].kind == CellKind::Code && !value.empty() && !wholeNumber(value))
            return false;
    }
    return holdsAnything;
}

// Refuses a cell that holds bytes the system cannot show as text, naming the line on which they
// stand, the column and the place in the cell.
void checkText(const CsvColumn &col, const CsvCell &cell, const std::string &csvName)
{
    if (std::all_of(cell.bytes.begin(), cell.bytes.end(),
                    [](char c) { return static_cast<unsigned char>(c - 0x20) < 0x5F; }))
        return; // printable ASCII throughout, as codes and numbers are
    const std::optional<NonText> bad = firstNonText(cell.bytes);
    if (!bad)
        return;
    int line = cell.line;
    const std::string_view before = cell.bytes.substr(0, bad->at);
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] == '\n' || (before[i] == '\r' && (i + 1 >= before.size() || before[i + 1] != '\n')))
            ++line;
    std::string hex;
    for (std::size_t i = 0; i < bad->length; ++i) {
        static const char digits[] = "0123456789ABCDEF";
        const auto b = static_cast<unsigned char>(cell.bytes[bad->at + i]);
        hex += (i ? " 0x" : "0x") + std::string{digits[b >> 4], digits[b & 0x0F]};
    }
    const std::string where = col.caption + " の " + std::to_string(bad->at + 1) + " バイト目";
    RowRefusal(csvName, line)(bad->control ? where + "に制御文字 " + hex + " があります。"
                                           : where + " " + hex + " は Shift-JIS の文字ではありません。");
}

// Puts one cell into its field of the record being built at `rec` (the record's bytes, blank
// with its separators set).
void putCell(const CsvColumn &col, const CsvCell &cell, const records::FieldDef &f, char *rec,
             const std::string &csvName)
{
    const auto width = static_cast<std::size_t>(f.width);
    std::string_view value;
    std::string stored;
    switch (col.kind) {
    case CellKind::Text:
        value = cutCp932(cell.bytes, width);
        break;
    case CellKind::Remark:
        value = cutCp932(trimBlanks(cell.bytes), width);
        break;
    case CellKind::Code:
    case CellKind::Number: {
        const RowRefusal refuse(csvName, cell.line);
        const std::string_view t = trimBlanks(cell.bytes);
        if (t.empty()) {
            if (col.kind == CellKind::Code)
                refuse(col.caption + " が空です。");
            return; // no number: the field stays blank
        }
        // A code is digits alone: the tools never write one with a sign. A number may carry one:
        // a plus sign, and the minus of a zero ("-0", "-00"), say nothing about the value and are
        // dropped, so that a field holds only digits and the minus of a value below zero.
        const bool sign = t.front() == '-' || t.front() == '+';
        std::string_view digits = sign ? t.substr(1) : t;
        const bool negative = t.front() == '-' && digits.find_first_not_of('0') != std::string_view::npos;
        if (!allDigits(digits) || (sign && col.kind == CellKind::Code) || (negative && !col.mayBeNegative))
            refuse(col.caption + "「" + shown(t) + (col.mayBeNegative ? "」は整数ではありません。"
                                                                    : "」は 0 以上の整数ではありません。"));
        if (col.inPattern.empty()) {
            // The digits as read (a discount with its minus); leading zeros that do not fit are
            // dropped, the value kept.
            const std::size_t minus = negative ? 1 : 0;
            while (minus + digits.size() > width && digits.size() > 1 && digits.front() == '0')
                digits.remove_prefix(1);
            stored = (negative ? "-" : "") + std::string(digits);
        } else if (onlyZeros(col.inPattern)) {
            stored = padded(digits, col.inPattern.size());
        } else {
            stored = text::format(text::valFixed(t), col.inPattern);
        }
        value = stored;
        if (value.size() > width)
            refuse(col.caption + "「" + shown(t) + "」は " + std::to_string(width) + " 桁に入りません。");
        break;
    }
    }
    std::memcpy(rec + f.offset, value.data(), value.size());
}

} // namespace

std::string throughPattern(std::string_view field, std::string_view pattern)
{
    const std::string_view t = trimBlanks(field);
    if (allDigits(t) && std::all_of(pattern.begin(), pattern.end(), [](char c) { return c == '0' || c == '#'; }))
        return padded(t, static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), '0')));
    if (readsAsNumber(t))
        return text::format(text::valFixed(t), pattern);
    return std::string(t);
}

std::string failureMessage(const std::exception &e)
{
    if (dynamic_cast<const CsvRefused *>(&e))
        return e.what();
    // The file and the system's reason, as every message of the tools names them.
    if (dynamic_cast<const FileError *>(&e))
        return "ファイルを読み書きできませんでした：" + files::failureText(e);
    return std::string("処理を中断しました：") + e.what();
}

std::string fileNameOf(std::string_view systemPath)
{
    const std::size_t p = systemPath.find_last_of("\\/");
    return std::string(p == std::string_view::npos ? systemPath : systemPath.substr(p + 1));
}

std::string exportBytes(const CsvTable &table, std::string_view masterBytes, int *records)
{
    const records::Layout &layout = *table.layout;
    const auto length = static_cast<std::size_t>(layout.length);
    const auto count = static_cast<std::int32_t>(masterBytes.size() / length);
    const std::string caption = text::toCp932(table.captionLine());

    std::string out;
    out.reserve(static_cast<std::size_t>(count) * length / 2 + caption.size() + 2);
    if (table.captionWhenEmpty) {
        out += caption;
        endLine(out);
    }
    int written = 0;
    for (std::int32_t r = 0; r < count; ++r) {
        const std::string_view rec = masterBytes.substr(static_cast<std::size_t>(r) * length, length);
        auto field = [&](int i) {
            const records::FieldDef &f = layout.fields[static_cast<std::size_t>(i)];
            return rec.substr(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width));
        };
        if (table.skipDeletedSections && field(records::Section::DEL_MARK) == "000000")
            continue;
        if (written == 0 && !table.captionWhenEmpty) {
            out += caption;
            endLine(out);
        }
        bool first = true;
        for (const CsvColumn &col : table.columns) {
            switch (col.kind) {
            case CellKind::Code:
            case CellKind::Number: appendCell(out, throughPattern(field(col.field), col.outPattern), first); break;
            case CellKind::Text: appendCell(out, trimBlanks(beforeNul(field(col.field))), first); break;
            case CellKind::Remark: appendCell(out, trimRightBlanks(beforeNul(field(col.field))), first); break;
            }
            first = false;
        }
        endLine(out);
        ++written;
    }
    if (records)
        *records = written;
    return out;
}

std::string importBytes(const CsvTable &table, std::string_view csvBytes, const std::string &csvName,
                        const ImportCheck &check, int *records)
{
    if (utf16Kind(csvBytes) != Utf16Kind::NotUtf16)
        throw CsvRefused(csvName + " は UTF-16 (Unicode テキスト) で保存されています。Shift-JIS で保存し直して下さい。");
    if (utf8Kind(csvBytes) != Utf8Kind::NotUtf8)
        throw CsvRefused(csvName + " は UTF-8 で保存されています。Shift-JIS で保存し直して下さい。");

    const records::Layout &layout = *table.layout;
    const std::size_t columns = table.columns.size();
    std::vector<std::string> captions;
    for (const CsvColumn &c : table.columns)
        captions.push_back(c.caption);
    CsvReader reader(csvBytes, csvName, captions);

    records::Record blank(layout);
    blank.setSeparators();
    const std::string &blankBytes = blank.bytes();

    std::string out;
    std::vector<CsvCell> cells;
    bool captionLine = true;
    int n = 0;
    while (reader.next(cells)) {
        const RowRefusal refuse(csvName, reader.rowLine());
        if (cells.size() != columns) {
            if (cells.size() == 1 && cells[0].bytes.empty() && !cells[0].quoted)
                refuse("空の行です。");
            refuse("項目が " + std::to_string(cells.size()) + " 個あります（" + std::to_string(columns) +
                   " 個のはずです）。");
        }
        if (captionLine) {
            // The first line holds the captions, whatever words they are; a record there would
            // be lost.
            if (readsAsRecord(table, cells))
                refuse("見出しの行がありません（1 行目がデータです）。見出しの行を先頭に入れて下さい。");
            captionLine = false;
            continue;
        }
        const std::size_t at = out.size();
        out += blankBytes;
        for (std::size_t i = 0; i < columns; ++i) {
            const CsvColumn &col = table.columns[i];
            checkText(col, cells[i], csvName);
            putCell(col, cells[i], layout.fields[static_cast<std::size_t>(col.field)], out.data() + at, csvName);
        }
        if (table.oneMajorClass && check.majorClass >= 0) {
            const CsvColumn &col = table.columns.front();
            const records::FieldDef &f = layout.fields[static_cast<std::size_t>(col.field)];
            const std::string_view code = trimBlanks(std::string_view(out).substr(at + static_cast<std::size_t>(f.offset),
                                                                                  static_cast<std::size_t>(f.width)));
            if (std::stoi(std::string(code)) != check.majorClass)
                RowRefusal(csvName, cells.front().line)(col.caption + "「" + shown(trimBlanks(cells.front().bytes)) +
                                                        "」が選んだ大分類 " + text::format(check.majorClass, "00") +
                                                        " と違います。");
        }
        ++n;
    }
    if (records)
        *records = n;
    return out;
}

int exportFile(const CsvTable &table, const std::string &masterPath, const std::string &csvPath,
               qd::records::PartialRecordNotes *notes)
{
    const files::FileSnapshot master = files::readWholeFile(masterPath);
    int records = 0;
    const std::string csv = exportBytes(table, master.bytes, &records);
    files::writeFileSafely(csvPath, csv);
    if (notes)
        notes->see(masterPath, static_cast<std::int64_t>(master.bytes.size()), table.layout->length,
                   qd::records::PartialRecordUse::Exported);
    return records;
}

int importFile(const CsvTable &table, const std::string &csvPath, const std::string &masterPath,
               const ImportCheck &check)
{
    const std::string name = fileNameOf(csvPath);
    const files::FileSnapshot csv = files::readWholeFile(csvPath);
    if (!csv.exists)
        throw CsvRefused(name + " がありません。");
    int records = 0;
    const std::string master = importBytes(table, csv.bytes, name, check, &records);
    files::writeFileSafely(masterPath, master);
    return records;
}

bool importLeavesEmpty(const CsvTable &table, const std::string &csvPath, const ImportCheck &check)
{
    try {
        const files::FileSnapshot csv = files::readWholeFile(csvPath);
        if (!csv.exists)
            return false;
        // A second row is a record, or the file is refused: only a file of one row at most needs
        // the import's own reading.
        CsvReader reader(csv.bytes, {});
        std::vector<CsvCell> cells;
        int rows = 0;
        while (rows < 2 && reader.next(cells))
            ++rows;
        if (rows > 1)
            return false;
        int records = 0;
        importBytes(table, csv.bytes, fileNameOf(csvPath), check, &records);
        return records == 0;
    } catch (const std::exception &) {
        return false; // the import itself says what is wrong with the file
    }
}

} // namespace qd::csv
