#include "quotedesk/core/documents.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "platform/files/file_error.h"
#include "platform/files/file_lock.h"
#include "platform/files/file_read.h"
#include "platform/files/paths.h"
#include "platform/files/safe_replace.h"
#include "platform/text/cp932.h"
#include "platform/text/message_text.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/document_name.h"
#include "quotedesk/core/item_key.h"
#include "quotedesk/core/row_pricing.h"
#include "quotedesk/core/sheet_setup.h"
#include "quotedesk/core/tax_totals.h"
#include "records/whole_file.h"

namespace qd::core {

using qd::grid::FlexGrid;
using qd::text::Fixed4;
namespace DocLine = qd::records::DocLine;
namespace DocHeader = qd::records::DocHeader;

namespace {

constexpr int HEAD_LENGTH = 256;
constexpr int LINE_LENGTH = 1024;
// How a save turns a cell's text into its work field.
enum class Put {
    AsTyped, // the text itself (日付, 品名, 呼称)
    Size,    // Val of the trimmed text x 10, "#######" (tenths of a millimetre)
    Cleaned, // the text without "," and "\"
    Number,  // Val of the cleaned text under the column's pattern
    Percent, // Val of the cleaned text x 100 under "####0.00" (65 % is 6500.00)
    TaxRate, // Val x 100 under "####0.00", taken as currency
    TaxYen,  // blank: 0; else Val under "#########", taken as currency
};

// How a load turns the stored field back into the cell's text.
enum class Show {
    AsStored,  // the field's text, trailing blanks included
    SizeBack,  // when not 0: Val / 10 under "###0.0"
    NonZero,   // when not 0: Val under the column's pattern
    Always,    // Val under the column's pattern, also 0
    PercentBack, // when not 0: Val / 100 under "##0.00"
    TaxRateBack, // 0: the common rate; else Val / 100; both "##0.00"
};

struct Column {
    int col;
    int field;
    std::string LineWork::*work; // null for the two currency work values
    int width;                   // characters of the work field (0: not cut)
    Put put;
    const char *putPattern;
    Show show;
    const char *showPattern;
};

// Sheet column, line field, work field and the two conversions of every stored column.
const Column COLUMNS[24] = {
    {1, DocLine::HIDUKE, &LineWork::HIDUKE, 10, Put::AsTyped, nullptr, Show::AsStored, nullptr},
    {2, DocLine::HINMEI, &LineWork::HINMEI, 0, Put::AsTyped, nullptr, Show::AsStored, nullptr},
    {3, DocLine::KOSYO, &LineWork::KOSYO, 20, Put::AsTyped, nullptr, Show::AsStored, nullptr},
    {4, DocLine::W_MIRI, &LineWork::W_MIRI, 7, Put::Size, "#######", Show::SizeBack, "###0.0"},
    {5, DocLine::H_MIRI, &LineWork::H_MIRI, 7, Put::Size, "#######", Show::SizeBack, "###0.0"},
    {6, DocLine::D_MIRI, &LineWork::D_MIRI, 7, Put::Size, "#######", Show::SizeBack, "###0.0"},
    {7, DocLine::M2_TANKA, &LineWork::M2_TANKA, 7, Put::Number, "#########", Show::NonZero, "#,###,###"},
    {8, DocLine::IRO_NAME, &LineWork::IRO_NAME, 20, Put::Cleaned, nullptr, Show::AsStored, nullptr},
    {9, DocLine::SURYO, &LineWork::SURYO, 5, Put::Number, "####0.00", Show::NonZero, "##0.00"},
    {10, DocLine::TANI, &LineWork::TANI, 10, Put::Cleaned, nullptr, Show::AsStored, nullptr},
    {11, DocLine::RITU_KBN, &LineWork::RITU_KBN, 6, Put::Number, "##0.00", Show::Always, "##0"},
    {12, DocLine::KAKERITU, &LineWork::KAKERITU, 6, Put::Percent, "####0.00", Show::PercentBack, "##0.00"},
    {13, DocLine::TEIKA, &LineWork::TEIKA, 7, Put::Number, "#########", Show::NonZero, "#,###,###"},
    {14, DocLine::TANKA, &LineWork::TANKA, 7, Put::Number, "#########", Show::NonZero, "#,###,###"},
    {15, DocLine::KINGAKU, &LineWork::KINGAKU, 8, Put::Number, "#########", Show::NonZero, "##,###,###"},
    {16, DocLine::BIKO, &LineWork::BIKO, 50, Put::Cleaned, nullptr, Show::AsStored, nullptr},
    {17, DocLine::GENKA_RITU, &LineWork::GENKA_RITU, 6, Put::Percent, "####0.00", Show::PercentBack, "##0.00"},
    {18, DocLine::GENKA, &LineWork::GENKA, 7, Put::Number, "#########", Show::NonZero, "#,###,###"},
    {19, DocLine::GENKA_KINGAKU, &LineWork::GENKA_KINGAKU, 8, Put::Number, "#########", Show::NonZero, "##,###,###"},
    {20, DocLine::ARARI, &LineWork::ARARI, 8, Put::Number, "#########", Show::NonZero, "#,###,###"},
    {21, DocLine::HACHU_HINBAN, &LineWork::HACHU_HINBAN, 25, Put::Cleaned, nullptr, Show::AsStored, nullptr},
    {22, DocLine::HINBAN, &LineWork::HINBAN, 85, Put::Cleaned, nullptr, Show::AsStored, nullptr},
    {23, DocLine::ZEI_RITU, nullptr, 0, Put::TaxRate, "####0.00", Show::TaxRateBack, "##0.00"},
    {24, DocLine::ZEI_GAKU, nullptr, 0, Put::TaxYen, "#########", Show::Always, "##,###,###"},
};

bool isAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A work field holds exactly its width of characters; 品名 holds what it is given. The field
// keeps its storage from row to row.
void setWork(std::string &work, std::string_view text, int width)
{
    if (width <= 0) {
        work.assign(text);
        return;
    }
    const auto w = static_cast<std::size_t>(width);
    if (isAscii(text)) { // most fields: digits, codes, dates
        work.assign(text.substr(0, std::min(w, text.size())));
        work.resize(w, ' ');
        return;
    }
    work = qd::text::fixedChars(text, w);
}

// Prices are mostly typed as plain digits: under "#########" such a text is its digits
// without leading zeros (nothing for zero), which saves reading and formatting the number.
bool wholeYen(std::string_view pattern, std::string_view text, std::string_view &digits)
{
    if (pattern != "#########")
        return false;
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return false;
    text.remove_prefix(first);
    if (text.size() > 15 || !std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        return false;
    const auto lead = text.find_first_not_of('0');
    digits = lead == std::string_view::npos ? std::string_view() : text.substr(lead);
    return true;
}

// A field's text into the bytes of a record at its place in the layout, cut on a character
// boundary and blank-padded; plain ASCII is the same in code page 932 and is copied as it is.
void putField(std::string &bytes, const qd::records::FieldDef &f, std::string_view text)
{
    const auto width = static_cast<std::size_t>(f.width);
    if (isAscii(text)) {
        const std::size_t n = std::min(width, text.size());
        bytes.replace(static_cast<std::size_t>(f.offset), n, text.substr(0, n));
        bytes.replace(static_cast<std::size_t>(f.offset) + n, width - n, width - n, ' ');
    } else {
        bytes.replace(static_cast<std::size_t>(f.offset), width, qd::text::toField(text, width));
    }
}

std::string headPathOf(const std::string &dir, const std::string &name)
{
    return qd::text::trim(dir) + "\\" + qd::text::trim(name) + ".SSS";
}

std::string linePathOf(const std::string &dir, const std::string &name)
{
    return qd::text::trim(dir) + "\\" + qd::text::trim(name) + ".TXT";
}

// A field's bytes in place.
std::string_view fieldBytes(const qd::records::Record &rec, int field)
{
    const qd::records::FieldDef &f = rec.layout().fields.at(static_cast<std::size_t>(field));
    return std::string_view(rec.bytes()).substr(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width));
}

// The number at the start of a field's trimmed bytes; only ASCII can begin a number, so the
// code page 932 bytes need no decoding (a blank is never the second byte of a character).
double fieldVal(const qd::records::Record &rec, int field)
{
    std::string_view b = fieldBytes(rec, field);
    const auto first = b.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return 0;
    b = b.substr(first, b.find_last_not_of(' ') - first + 1);
    return qd::text::val(b);
}

// A field's text as stored; plain ASCII reads the same in code page 932.
std::string fieldText(const qd::records::Record &rec, int field)
{
    const std::string_view b = fieldBytes(rec, field);
    return isAscii(b) ? std::string(b) : rec.text(field);
}

// The rate as the header form edits it: the stored text read as a number under "##0.00".
Fixed4 storedRate(const qd::records::Record &rec)
{
    return qd::text::valFixed(qd::text::format(fieldVal(rec, DocHeader::KAKERITU), "##0.00"));
}

void headerToGlobals(QdState &g)
{
    g.HEAD_TOKUI = g.HEAD_REC.text(DocHeader::TOKUI_NAME);
    g.HEAD_BUKKEN = g.HEAD_REC.text(DocHeader::BUKKEN_NAME);
    g.HEAD_NOUHIN = g.HEAD_REC.text(DocHeader::NOUHIN_BASYO);
    g.HEAD_SIHARAI = g.HEAD_REC.text(DocHeader::SIHARAI_JOKEN);
    g.HEAD_NOUKI = g.HEAD_REC.text(DocHeader::NOUKI);
    g.HEAD_YUKOU = g.HEAD_REC.text(DocHeader::YUKO_KIGEN);
}

// Record 1 of the open header file into HEAD_REC and the header globals. A file shorter than a
// record (cut by a full disk or another program) gives what it holds, the rest blank. False when
// the file holds nothing.
bool readHeaderRecord(QdState &g)
{
    if (g.HEAD_CTL.fileLength <= 0)
        return false;
    DOC_HEAD_CLEAR(g);
    g.HEAD_CTL.get(1, g.HEAD_REC);
    headerToGlobals(g);
    return true;
}

// Row numbers for a message: the first ten, and how many more.
std::string rowList(const std::vector<int> &rows)
{
    constexpr std::size_t shown = 10;
    std::string list;
    for (std::size_t i = 0; i < rows.size() && i < shown; ++i)
        list += (i ? ", " : "") + std::to_string(rows[i]);
    if (rows.size() > shown)
        list += " ほか" + std::to_string(rows.size() - shown) + "行";
    return list;
}

// A file as the host names it, the same however the folder was spelt: what a document slot
// remembers of the files it saw.
std::string fileKey(const std::string &systemPath)
{
    std::error_code ec;
    const std::filesystem::path host = qd::files::hostPath(systemPath);
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(host, ec);
    return ec ? host.lexically_normal().string() : canonical.string();
}

// Whether the file at `path` is one the slot has seen (loaded or written) and another program has
// changed since: its content now is not what this program last read or wrote.
bool changedSince(const std::string &seenFile, const qd::files::FileStamp &seenStamp, const std::string &path,
                  const qd::files::FileStamp &now)
{
    return !seenFile.empty() && seenFile == fileKey(path) && now != seenStamp;
}

// Whether another program has changed the slot's document files since this program loaded or
// last wrote them. Files the slot never saw (a save under another name, the line file of a
// document not saved yet) are not asked about here: the save dialog or confirmPairOverwrite
// has asked before overwriting them.
bool changedSinceSeen(const DocFilesSeen &seen, const std::string &headPath, const std::string &linePath,
                      const qd::files::FileStamp &head, const qd::files::FileStamp &line)
{
    return changedSince(seen.headFile, seen.head, headPath, head) ||
           changedSince(seen.lineFile, seen.line, linePath, line);
}

DocFilesSeen &slotSeen(QdState &g) { return g.DOC_FILES_SEEN.at(static_cast<std::size_t>(g.CUR_SLOT)); }

bool endsWithTxt(const std::string &s)
{
    if (s.size() < 4)
        return false;
    std::string tail = s.substr(s.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".txt";
}

// The folder of the dialog's FileName: the name without its title and the "\" before it.
std::string folderOf(const std::string &fileName, const std::string &title)
{
    std::string dir;
    if (!title.empty() && fileName.size() > title.size() &&
        fileName.compare(fileName.size() - title.size(), title.size(), title) == 0) {
        dir = fileName.substr(0, fileName.size() - title.size());
        if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/'))
            dir.pop_back();
    } else {
        const auto cut = fileName.find_last_of("\\/");
        dir = cut == std::string::npos ? std::string() : fileName.substr(0, cut);
    }
    if (dir.empty() && !fileName.empty() && (fileName.front() == '/' || fileName.front() == '\\'))
        dir = "/";
    if (dir.empty())
        dir = qd::files::systemPath(qd::files::currentDir());
    return dir;
}

void restoreWorkingFolder(QdState &g)
{
    try {
        qd::files::changeDir(qd::records::instDir(g));
    } catch (const std::exception &) {
        // The install folder has gone; the next command that needs it reports it.
    }
}

} // namespace

// ---- openers ----

void BUKKEN_HEAD_OPEN(QdState &g)
{
    qd::records::openRecordFile(g, g.HEAD_CTL, headPathOf(g.DOC_DIR, g.HEAD_NAME), HEAD_LENGTH);
}

void BUKKEN_HEAD_OPEN_READ(QdState &g)
{
    qd::records::openRecordFile(g, g.HEAD_CTL, headPathOf(g.DOC_DIR, g.HEAD_NAME), HEAD_LENGTH,
                                qd::files::RecordFile::Mode::ReadOnly);
}

void BUKKEN_FILE_OPEN(QdState &g)
{
    qd::records::openRecordFile(g, g.LINE_CTL, linePathOf(g.DOC_DIR, g.CUR_DOC_NAME), LINE_LENGTH);
}

void SELECT_FILE_OPEN(QdState &g)
{
    qd::records::openRecordFile(g, g.LINE_CTL, linePathOf(g.SELECT_DIR, g.SELECT_NAME), LINE_LENGTH);
}

// ---- header ----

void BUKKEN_HEAD_SEPARATORS(QdState &g) { g.HEAD_REC.setSeparators(); }

void BUKKEN_HEAD_BUILD(QdState &g)
{
    qd::records::Record &h = g.HEAD_REC;
    h.setText(DocHeader::TOKUI_NAME, g.HEAD_TOKUI);
    h.setText(DocHeader::BUKKEN_NAME, g.HEAD_BUKKEN);
    h.setText(DocHeader::NOUHIN_BASYO, g.HEAD_NOUHIN);
    h.setText(DocHeader::SIHARAI_JOKEN, g.HEAD_SIHARAI);
    h.setText(DocHeader::NOUKI, g.HEAD_NOUKI);
    h.setText(DocHeader::YUKO_KIGEN, g.HEAD_YUKOU);
    h.setText(DocHeader::KAKERITU, qd::text::format(g.HEAD_RATE, "##0.00"));
}

void BUKKEN_HEAD_CLEAR(QdState &g)
{
    g.HEAD_TOKUI = g.HEAD_BUKKEN = std::string(50, ' ');
    g.HEAD_NOUHIN = g.HEAD_SIHARAI = std::string(30, ' ');
    g.HEAD_NOUKI = g.HEAD_YUKOU = std::string(8, ' ');
    g.RATE_VALUE = Fixed4();
}

void DOC_HEAD_CLEAR(QdState &g)
{
    for (int f = DocHeader::TOKUI_NAME; f <= DocHeader::YUKO_KIGEN; ++f)
        g.HEAD_REC.blank(f);
}

void blankHeader(QdState &g)
{
    BUKKEN_HEAD_CLEAR(g);
    g.HEAD_RATE = Fixed4();
    g.HEAD_REC.clearFields();
}

bool DOC_HEAD_READ(QdState &g)
{
    BUKKEN_HEAD_OPEN(g);
    qd::records::CloseOnExit closer{g.HEAD_CTL};
    if (!readHeaderRecord(g))
        return false;
    g.HEAD_RATE = storedRate(g.HEAD_REC);
    return true;
}

// ---- line work and line record ----

void LINE_REC_CLEAR(QdState &g)
{
    LineWork &w = g.LINE_WORK;
    for (const Column &c : COLUMNS) {
        if (!c.work || c.field == DocLine::D_MIRI || c.field == DocLine::M2_TANKA || c.field == DocLine::TANI)
            continue;
        setWork(w.*c.work, "", c.width);
    }
    w.ZEI_RITU = Fixed4();
    w.ZEI_GAKU = Fixed4();
}

void TX_FIL_MOVE(QdState &g) { g.LINE_REC.setSeparators(); }

void TX_REC_MOVE(QdState &g)
{
    // The record is composed in one buffer: a document of 999 rows is 24,000 fields.
    const auto &fields = g.LINE_REC.layout().fields;
    std::string bytes = g.LINE_REC.bytes();
    for (const Column &c : COLUMNS) {
        if (c.work)
            putField(bytes, fields[c.field], g.LINE_WORK.*c.work);
    }
    putField(bytes, fields[DocLine::ZEI_RITU], qd::text::str(g.LINE_WORK.ZEI_RITU.rounded(2)));
    putField(bytes, fields[DocLine::ZEI_GAKU], qd::text::str(g.LINE_WORK.ZEI_GAKU));
    g.LINE_REC.setBytes(bytes);
}

namespace {

// A cell's text as a save takes it: thousands separators and yen marks gone ("¥" is the same
// byte as "\" in the files) from every column but 日付, 品名 and 呼称.
std::string_view cleanedText(const Column &c, std::string_view text, std::string &buffer)
{
    if (c.put == Put::AsTyped || c.put == Put::Size || text.find_first_of(",\\\xC2") == std::string_view::npos)
        return text;
    buffer = withoutMoneyMarks(text);
    return buffer;
}

// The text a save puts into the field of a number column before it is cut to its width.
std::string savedForm(const Column &c, std::string_view cleaned)
{
    using qd::text::format;
    using qd::text::val;
    switch (c.put) {
    case Put::Size: return format(val(qd::text::trim(cleaned)) * 10, c.putPattern);
    case Put::Number: {
        std::string_view digits;
        if (wholeYen(c.putPattern, cleaned, digits))
            return std::string(digits);
        return format(val(cleaned), c.putPattern);
    }
    case Put::Percent: return format(val(cleaned) * 100, c.putPattern);
    case Put::TaxRate: return qd::text::str(qd::text::valFixed(format(val(cleaned) * 100, c.putPattern)).rounded(2));
    case Put::TaxYen: {
        if (qd::text::trim(cleaned).empty())
            return qd::text::str(0);
        const std::string yen = format(val(cleaned), c.putPattern);
        return qd::text::str(yen.empty() ? Fixed4() : qd::text::valFixed(yen));
    }
    default: return std::string(cleaned);
    }
}

} // namespace

void cellToLineWork(QdState &g, int col, std::string_view text)
{
    if (col < 1 || col > 24)
        return; // the page number is not stored
    const Column &c = COLUMNS[col - 1];
    std::string buffer;
    const std::string_view cleaned = cleanedText(c, text, buffer);
    switch (c.put) {
    case Put::AsTyped:
    case Put::Cleaned: setWork(g.LINE_WORK.*c.work, cleaned, c.width); break;
    case Put::TaxRate: g.LINE_WORK.ZEI_RITU = qd::text::valFixed(savedForm(c, cleaned)); break;
    case Put::TaxYen: g.LINE_WORK.ZEI_GAKU = qd::text::valFixed(savedForm(c, cleaned)); break;
    default: setWork(g.LINE_WORK.*c.work, savedForm(c, cleaned), c.width); break;
    }
}

bool cellFitsItsField(int col, std::string_view text)
{
    if (col < 1 || col > 24)
        return true;
    const Column &c = COLUMNS[col - 1];
    if (c.put == Put::AsTyped || c.put == Put::Cleaned)
        return true; // a text is cut on a character boundary, as it always was
    const auto fieldWidth = static_cast<std::size_t>(DocLine::layout().fields.at(static_cast<std::size_t>(c.field)).width);
    const std::size_t width = c.width > 0 ? std::min(static_cast<std::size_t>(c.width), fieldWidth) : fieldWidth;
    std::string buffer;
    return wholePartFits(savedForm(c, cleanedText(c, text, buffer)), width);
}

bool refuseRowsBeyondFields(QdState &g, FlexGrid &grid, int first, int last)
{
    std::vector<int> rows;
    last = std::min(last, grid.rows() - 1);
    for (int row = std::max(first, 1); row <= last; ++row) {
        bool beyond = false;
        for (int col = 1; col <= 24 && col < grid.cols(); ++col) {
            markBeyondField(grid, row, col);
            beyond = beyond || grid.backColor(row, col) == BEYOND_FIELD_COLOR;
        }
        if (beyond)
            rows.push_back(row);
    }
    if (rows.empty())
        return false;
    const std::string list = rowList(rows);
    g.UI().beep();
    g.MSG_ANS = g.UI().msgBox(qd::text::twoLines("桁が多すぎて保存できない数値がある行があります。(" + list + "行目)",
                                                 "色の付いた欄の数値を直してから保存して下さい！"),
                              Buttons::Ok);
    return true;
}

void rowToLineRec(QdState &g, const FlexGrid &grid, int row)
{
    LINE_REC_CLEAR(g);
    for (int col = 1; col <= 24; ++col)
        cellToLineWork(g, col, grid.cell(row, col));
    TX_FIL_MOVE(g);
    TX_REC_MOVE(g);
    keepItemKey(g, grid, row); // product entry: the whole item key of column 21 (item_key.h)
}

bool readBackCell(const QdState &g, int col, std::string &text)
{
    if (col < 1 || col > 24)
        return false;
    const Column &c = COLUMNS[col - 1];
    const qd::records::Record &rec = g.LINE_REC;
    if (c.show == Show::AsStored) {
        text = fieldText(rec, c.field);
        return true;
    }
    const double v = fieldVal(rec, c.field);
    switch (c.show) {
    case Show::SizeBack:
        if (v == 0)
            return false;
        text = qd::text::format(v / 10, c.showPattern);
        return true;
    case Show::NonZero:
        if (v == 0)
            return false;
        text = qd::text::format(v, c.showPattern);
        return true;
    case Show::Always:
        text = qd::text::format(v, c.showPattern);
        return true;
    case Show::PercentBack:
        if (v == 0)
            return false;
        text = qd::text::format(v / 100, c.showPattern);
        return true;
    case Show::TaxRateBack:
        text = v == 0 ? qd::text::format(g.TAX_RATE, c.showPattern) : qd::text::format(v / 100, c.showPattern);
        return true;
    default:
        return false;
    }
}

void lineRecToRow(const QdState &g, FlexGrid &grid, int row)
{
    std::string text;
    for (int col = 1; col <= 24; ++col) {
        if (readBackCell(g, col, text))
            grid.setCell(row, col, text);
    }
    restoreItemKey(g, grid, row); // product entry: the whole item key back into column 21 (item_key.h)
}

// ---- what a load tells the user ----

bool lineNumbersAreNumbers(const QdState &g)
{
    for (const Column &c : COLUMNS) {
        if (c.put == Put::AsTyped || c.put == Put::Cleaned)
            continue;
        const std::string_view b = fieldBytes(g.LINE_REC, c.field);
        // A blank field holds no number and is meant to hold none.
        if (b.find_first_not_of(' ') != std::string_view::npos && !qd::text::numberText(b))
            return false;
    }
    return true;
}

std::string notNumbersMessage(const std::vector<int> &rows)
{
    const std::string list = rowList(rows);
    return qd::text::twoLines("数値の欄に数値でない文字がある行があります。(" + list + "行目)",
                              "数値として読める所までを読み込みました。内容を確認して下さい！");
}

std::string byteMarksMessage(const std::string &file)
{
    return qd::text::twoLines("ファイルに文字として読めないバイトがあります。(" + file + ")",
                              "その所は記号で表示します。書き換えずに保存すれば元のまま残ります。");
}

std::string cutLineFileMessage(const std::string &linePath, std::int64_t length, std::int32_t rowsRead)
{
    const auto grouped = [](std::int64_t n) { return qd::text::format(n, "#,##0"); };
    const std::int64_t whole = length / LINE_LENGTH, cut = length % LINE_LENGTH;
    // The rows are counted as the openers count records: a cut row of more than half a record
    // is read, completed with blanks.
    const std::string what =
        rowsRead > whole
            ? "切れた最後の行は、ある " + grouped(cut) + " バイトの後を空白で補い、" + grouped(rowsRead) + " 行を読み込みました。"
            : "切れた最後の " + grouped(cut) + " バイトを除き、揃っている " + grouped(whole) + " 行を読み込みました。";
    return qd::text::twoLines(what + "このファイルには上書きできません。内容を確認し、別の名前で保存して下さい。",
                              qd::files::hostPath(linePath).string() + " (" +
                                  qd::records::partialRecordReason(length, LINE_LENGTH) + ")");
}

void refuseCutLineFile(const std::string &linePath) { qd::records::refusePartialRecord(linePath, LINE_LENGTH); }

void showNotes(QdState &g, const std::vector<std::string> &notes)
{
    for (const std::string &note : notes) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(note, Buttons::Ok);
    }
}

// ---- load ----

bool BUKKEN_FILE_READ(QdState &g)
{
    FlexGrid &grid = g.curGrid();
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setRows(2);
    grid.setCols(2);
    DocFilesSeen &seen = slotSeen(g);
    seen = DocFilesSeen();
    std::vector<std::string> notes; // what the user is told once the document is shown
    try {
        // Bytes that are no text are kept as marks, and said once.
        qd::text::ByteMarkWatch marks;
        const bool named = !qd::text::trim(g.CUR_DOC_NAME).empty();
        const std::string headPath = headPathOf(g.DOC_DIR, qd::text::trim(g.CUR_DOC_NAME));
        const std::string linePath = linePathOf(g.DOC_DIR, g.CUR_DOC_NAME);
        // Both files are read under their shared locks, taken in the order a save takes them,
        // so that the header and the lines come from one save; the locks go before anything is
        // shown, so that no message keeps other programs waiting.
        qd::files::FileLock headLock;
        if (named)
            headLock = qd::files::FileLock(headPath, qd::files::LockKind::Shared);
        qd::files::FileLock lineLock(linePath, qd::files::LockKind::Shared);
        DocFilesSeen read;
        if (named) {
            // Nothing of the document shown before stays in the header: a save of this one must
            // not write another's partner or project into it.
            blankHeader(g);
            g.HEAD_NAME = qd::text::trim(g.CUR_DOC_NAME);
            BUKKEN_HEAD_OPEN(g);
            qd::records::CloseOnExit closer{g.HEAD_CTL};
            if (readHeaderRecord(g)) {
                g.RATE_VALUE = g.HEAD_RATE = storedRate(g.HEAD_REC);
                if (g.HEAD_CTL.fileLength < HEAD_LENGTH)
                    notes.push_back(qd::text::twoLines(
                        "見積情報のファイルが途中で切れています。(" + headPath + ")",
                        "読み込めた所までを読み込みました。内容を確認して下さい！"));
            }
            read.headFile = fileKey(headPath);
            read.head = g.HEAD_CTL.file.stamp();
        }

        // The whole line file is read before any row is filled, so that a file that cannot be
        // shown leaves an empty sheet rather than part of a document. The count is that of the
        // bytes read, from the one open file.
        BUKKEN_FILE_OPEN(g);
        std::string lines;
        {
            qd::records::CloseOnExit closer{g.LINE_CTL};
            lines = g.LINE_CTL.file.readAll();
            read.lineFile = fileKey(linePath);
            read.line = g.LINE_CTL.file.stamp();
        }
        lineLock.release();
        headLock.release();
        const auto length = static_cast<std::int64_t>(lines.size());
        const std::int32_t count = qd::files::recordCountOf(length, LINE_LENGTH);
        g.LINE_CTL.fileLength = length;
        g.LINE_CTL.recordCount = g.LINE_CTL.lastRecord = count;
        SHEET_INIT(g);
        if (count > grid.rows() - 1) {
            g.UI().beep();
            g.MSG_ANS = g.UI().msgBox(qd::text::twoLines("この見積の明細は" + std::to_string(count) +
                                                             "行あり、読み込める" + std::to_string(grid.rows() - 1) +
                                                             "行を超えています。",
                                                         "読込みを中断します。"),
                                      Buttons::Ok);
            grid.setRedraw(true);
            return false;
        }
        std::vector<int> notNumbers;
        for (std::int32_t n = 1; n <= count; ++n) {
            const std::size_t at = static_cast<std::size_t>(n - 1) * LINE_LENGTH;
            g.LINE_REC.setBytes(at < lines.size() ? std::string_view(lines).substr(at, LINE_LENGTH)
                                                  : std::string_view());
            g.LINE_CTL.currentRecord = n;
            lineRecToRow(g, grid, n);
            if (!lineNumbersAreNumbers(g))
                notNumbers.push_back(n);
        }
        if (length % LINE_LENGTH != 0)
            notes.push_back(cutLineFileMessage(linePath, length, count));
        if (!notNumbers.empty())
            notes.push_back(notNumbersMessage(notNumbers));
        if (marks.any())
            notes.push_back(byteMarksMessage(named ? headPath + " / " + linePath : linePath));
        seen = read;
    } catch (const std::exception &e) {
        g.HEAD_CTL.close();
        g.LINE_CTL.close();
        // Nothing of the document stays on the sheet.
        for (int r = 1; r < grid.rows(); ++r)
            for (int c = 1; c < grid.cols(); ++c)
                grid.setCell(r, c, "");
        grid.setRedraw(true);
        g.UI().beep();
        g.MSG_ANS =
            g.UI().msgBox(qd::text::twoLines("見積ファイルを読み込めません。", qd::files::failureText(e)), Buttons::Ok);
        return false;
    }

    TAX_TOTAL_CALC(g);
    grid.setRedraw(true);
    grid.setRow(1);
    grid.setCol(std::min(2, grid.cols() - 1));
    showNotes(g, notes);
    return true;
}

// ---- save ----

bool FILE_WRITE_PREPARE(QdState &g, SaveDialogSetup &setup)
{
    const std::string folder = qd::records::instDir(g) + "\\data\\TXT";
    if (!qd::files::dirExists(folder)) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(qd::text::twoLines("見積データのフォルダがありません。", folder), Buttons::Ok);
        return false;
    }
    qd::files::changeDir(folder);
    setup.initDir = folder;
    setup.fileName = qd::text::trim(g.HEAD_NAME) + ".TXT";
    setup.filter = "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|";
    setup.flags = 2;
    return true;
}

void FILE_WRITE_END(QdState &g)
{
    restoreWorkingFolder(g);
    g.curGrid().setRedraw(true);
}

bool confirmPairOverwrite(QdState &g, const std::string &dir, const std::string &name, const std::string &title)
{
    const std::string headPath = headPathOf(dir, name), linePath = linePathOf(dir, name);
    // The dialog asked about the file of the typed name: the line file itself, when the name was
    // typed with its ".TXT".
    if (endsWithTxt(qd::text::trim(title)) && qd::files::fileExists(linePath))
        return true;
    // An empty file (the header file an open of a new document leaves) holds nothing to lose.
    auto holdsSomething = [](const std::string &path) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(qd::files::hostPath(path), ec);
        return !ec && size > 0;
    };
    // A file the current slot wrote itself (its header form, its last save) and finds as it left
    // it is the open document's own: replacing it loses nothing that is not on the sheet or in
    // the header. One the slot has seen and another program has changed since is left to the
    // save's own question, which says so.
    const DocFilesSeen &seen = slotSeen(g);
    const struct {
        const std::string &path, &seenFile;
        const qd::files::FileStamp &seenStamp;
        bool written;
    } files[] = {{linePath, seen.lineFile, seen.line, seen.lineWritten},
                 {headPath, seen.headFile, seen.head, seen.headWritten}};
    std::string existing;
    for (const auto &f : files) {
        if (!holdsSomething(f.path))
            continue;
        const bool seenBySlot = !f.seenFile.empty() && f.seenFile == fileKey(f.path);
        if (seenBySlot && (f.written || qd::files::stampOf(f.path) != f.seenStamp))
            continue;
        if (!existing.empty())
            existing += "、";
        existing += qd::files::hostPath(f.path).filename().string(); // as the folder spells it
    }
    if (existing.empty())
        return true;
    g.UI().beep();
    g.MSG_ANS = g.UI().msgBox(existing + "は既に存在します。上書きしますか？", Buttons::YesNo);
    return g.MSG_ANS == Answer::Yes;
}

bool isOpenDocument(const QdState &g, const std::string &dir, const std::string &name)
{
    const std::string head = fileKey(headPathOf(dir, name)), line = fileKey(linePathOf(dir, name));
    return std::any_of(g.DOC_FILES_SEEN.begin(), g.DOC_FILES_SEEN.end(), [&](const DocFilesSeen &seen) {
        return !seen.headFile.empty() && (seen.headFile == head || seen.lineFile == line);
    });
}

void headerFileWritten(QdState &g, const std::string &headPath, std::size_t headLength)
{
    // The header file now holds the record in HEAD_REC, as an open of it would find: products
    // entered next take their rate from this header, not from a "no header record" count left
    // by an earlier open.
    g.HEAD_CTL.path = headPath;
    g.HEAD_CTL.recordLength = HEAD_LENGTH;
    g.HEAD_CTL.fileLength = static_cast<std::int64_t>(headLength);
    g.HEAD_CTL.recordCount = g.HEAD_CTL.lastRecord =
        qd::files::recordCountOf(static_cast<std::int64_t>(headLength), HEAD_LENGTH);
    g.HEAD_CTL.currentRecord = 1;
    // This program wrote it: the next save of the document takes it for the document's own, not
    // for a change made by another program, also before the document was first saved.
    DocFilesSeen &seen = slotSeen(g);
    seen.headFile = fileKey(headPath);
    seen.head = qd::files::stampOf(headPath);
    seen.headWritten = true;
}

bool BUKKEN_FILE_WRITE(QdState &g, const std::string &fileName, const std::string &fileTitle)
{
    const std::string title = qd::text::trim(fileTitle);
    const std::string name = qd::text::trim(endsWithTxt(title) ? title.substr(0, title.size() - 4) : title);
    if (name.empty()) {
        FILE_WRITE_END(g);
        return false;
    }
    if (!isValidDocumentName(name)) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(invalidDocumentNameMessage(), Buttons::Ok);
        FILE_WRITE_END(g);
        return false;
    }
    const std::string dir = folderOf(qd::text::trim(fileName), title);
    FlexGrid &grid = g.curGrid();
    grid.setRedraw(false);

    const std::string headPath = headPathOf(dir, name);
    const std::string linePath = linePathOf(dir, name);
    std::size_t headLength = 0;
    std::pair<qd::files::FileStamp, qd::files::FileStamp> written;
    try {
        GRID_LAST_ROW(g);
        if (g.LAST_ROW > DOC_MAX_ROWS) {
            g.UI().beep();
            g.MSG_ANS = g.UI().msgBox(
                qd::text::twoLines(std::to_string(DOC_MAX_ROWS) + "行目より後の行は保存できません。",
                                   std::to_string(DOC_MAX_ROWS + 1) + "行目以降の行を削除してから保存して下さい！"),
                Buttons::Ok);
            FILE_WRITE_END(g);
            return false;
        }

        // A number that its field cannot hold would be stored as another number: the rows
        // holding one are marked and the save is refused.
        if (refuseRowsBeyondFields(g, grid, 1, g.LAST_ROW)) {
            FILE_WRITE_END(g);
            return false;
        }
        // A line file that ends in a part of a row stays as it is (told before any question).
        refuseCutLineFile(linePath);
        if (!confirmPairOverwrite(g, dir, name, title)) {
            FILE_WRITE_END(g);
            return false;
        }

        // Every row from 1 to the last filled one, empty rows between filled ones included.
        std::string lines;
        lines.reserve(static_cast<std::size_t>(std::max<int>(g.LAST_ROW, 0)) * LINE_LENGTH);
        // (Each row starts from blank work fields, and they are left blank.)
        for (int row = 1; row <= g.LAST_ROW; ++row) {
            rowToLineRec(g, grid, row);
            lines += g.LINE_REC.bytes();
        }
        LINE_REC_CLEAR(g);
        BUKKEN_HEAD_SEPARATORS(g);
        BUKKEN_HEAD_BUILD(g);

        // Both files stay locked from the look at them to their replacement. Files that another
        // program changed since this one read them are overwritten only when the user says so;
        // the question is asked with the locks given up, so that the other program is not held
        // up while the user thinks, and the files are looked at again afterwards.
        qd::files::FileStamp agreedHead, agreedLine;
        bool agreed = false;
        for (;;) {
            qd::files::FileLock headLock(headPath, qd::files::LockKind::Exclusive);
            qd::files::FileLock lineLock(linePath, qd::files::LockKind::Exclusive);
            const qd::files::FileStamp nowHead = qd::files::stampOf(headPath);
            const qd::files::FileStamp nowLine = qd::files::stampOf(linePath);
            if (changedSinceSeen(slotSeen(g), headPath, linePath, nowHead, nowLine) &&
                !(agreed && nowHead == agreedHead && nowLine == agreedLine)) {
                lineLock.release();
                headLock.release();
                g.UI().beep();
                g.MSG_ANS = g.UI().msgBox(
                    qd::text::twoLines("この見積ファイルは、読込み又は保存の後に他のプログラムで変更されています。",
                                       "上書きしますか？"),
                    Buttons::YesNo);
                if (g.MSG_ANS != Answer::Yes) {
                    FILE_WRITE_END(g);
                    return false;
                }
                agreed = true;
                agreedHead = nowHead;
                agreedLine = nowLine;
                continue;
            }
            refuseCutLineFile(linePath);
            // Record 1 of the header file is replaced; anything after it stays as it was.
            const qd::files::FileSnapshot oldHead = qd::files::readWholeFile(headPath);
            std::string head = g.HEAD_REC.bytes();
            if (oldHead.bytes.size() > static_cast<std::size_t>(HEAD_LENGTH))
                head += oldHead.bytes.substr(HEAD_LENGTH);
            // Header and lines are replaced as a pair: should the line file fail, the old header
            // is put back and the pair stays as it was.
            written = qd::files::replaceFilePair({headPath, head}, {linePath, lines});
            headLength = head.size();
            break;
        }
    } catch (const qd::files::PairNotRestored &e) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(qd::text::twoLines("ファイルを保存できませんでした。",
                                                     "見積の属性ファイルを元に戻せませんでした。(" +
                                                         qd::files::failureText(e) + ")"),
                                  Buttons::Ok);
        FILE_WRITE_END(g);
        return false;
    } catch (const std::exception &e) {
        g.UI().beep();
        g.MSG_ANS = g.UI().msgBox(qd::text::twoLines("ファイルを保存できませんでした。",
                                                     "元のファイルは変更されていません。(" +
                                                         qd::files::failureText(e) + ")"),
                                  Buttons::Ok);
        FILE_WRITE_END(g);
        return false;
    }

    g.HEAD_NAME = name;
    g.CUR_DOC_NAME = name;
    g.DOC_DIR = dir;
    headerFileWritten(g, headPath, headLength);
    slotSeen(g) = DocFilesSeen{fileKey(headPath), fileKey(linePath), written.first, written.second, true, true};
    g.UI().setMenuEnabled("FILE_READ", true);
    FILE_WRITE_END(g);
    grid.setRow(std::max<int>(g.LAST_ROW, 0));
    grid.setCol(std::min(24, grid.cols() - 1));
    return true;
}

} // namespace qd::core
