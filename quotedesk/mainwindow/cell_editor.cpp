#include "quotedesk/mainwindow/cell_editor.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/core/documents.h"
#include "quotedesk/core/row_pricing.h"

#include <QString>

namespace qd::forms {

namespace {

// Half-width katakana U+FF61..U+FF9F and their full-width forms, in code order.
constexpr char32_t KANA_WIDE[] = {
    U'。', U'「', U'」', U'、', U'・', U'ヲ', U'ァ', U'ィ', U'ゥ', U'ェ', U'ォ', U'ャ', U'ュ', U'ョ', U'ッ',
    U'ー', U'ア', U'イ', U'ウ', U'エ', U'オ', U'カ', U'キ', U'ク', U'ケ', U'コ', U'サ', U'シ', U'ス', U'セ',
    U'ソ', U'タ', U'チ', U'ツ', U'テ', U'ト', U'ナ', U'ニ', U'ヌ', U'ネ', U'ノ', U'ハ', U'ヒ', U'フ', U'ヘ',
    U'ホ', U'マ', U'ミ', U'ム', U'メ', U'モ', U'ヤ', U'ユ', U'ヨ', U'ラ', U'リ', U'ル', U'レ', U'ロ', U'ワ',
    U'ン', U'゛', U'゜'};
static_assert(std::size(KANA_WIDE) == 0xFF9F - 0xFF61 + 1);

constexpr char32_t VOICED_MARK = 0xFF9E;      // ﾞ
constexpr char32_t SEMI_VOICED_MARK = 0xFF9F; // ﾟ

// The kana that take the voiced mark: ｶ..ﾄ and ﾊ..ﾎ become the next code point (カ -> ガ),
// ｳ becomes ヴ.
bool takesVoicedMark(char32_t halfKana)
{
    return (halfKana >= 0xFF76 && halfKana <= 0xFF84) || (halfKana >= 0xFF8A && halfKana <= 0xFF8E) ||
           halfKana == 0xFF73;
}

// ﾊ..ﾎ take the semi-voiced mark: two code points on (ハ -> パ).
bool takesSemiVoicedMark(char32_t halfKana) { return halfKana >= 0xFF8A && halfKana <= 0xFF8E; }

char32_t wideAscii(char32_t c)
{
    switch (c) {
    case U' ': return 0x3000;  // ideographic space
    case U'\\': return 0xFFE5; // the yen mark of the code page
    case U'"': return 0x201D;  // ”
    case U'\'': return 0x2019; // ’
    case U'`': return 0x2018;  // ‘
    default: return c - 0x21 + 0xFF01;
    }
}

std::string fromUcs4(const std::u32string &s)
{
    return QString::fromUcs4(s.data(), static_cast<qsizetype>(s.size())).toStdString();
}

} // namespace

EditorColumnClass editorColumnClass(int col)
{
    switch (col) {
    case 7: case 13: case 14: case 15: case 18: case 19: case 20: case 24:
        return EditorColumnClass::Amount;
    case 4: case 5: case 6:
        return EditorColumnClass::Size;
    case 12: case 17: case 23:
        return EditorColumnClass::Rate;
    case 16:
        return EditorColumnClass::Remark;
    default:
        return EditorColumnClass::Text;
    }
}

std::string editorLoadText(int col, std::string_view cellText)
{
    if (editorColumnClass(col) == EditorColumnClass::Amount)
        return qd::text::trimRight(qd::core::withoutMoneyMarks(cellText));
    return qd::text::trimRight(cellText);
}


std::string editorWriteBack(int col, std::string_view editorText)
{
    using qd::text::format;
    using qd::text::val;
    switch (editorColumnClass(col)) {
    case EditorColumnClass::Amount: return format(val(editorText), "###,###,###");
    case EditorColumnClass::Size: return format(val(editorText), "##0.0");
    case EditorColumnClass::Rate: return format(val(editorText), "##0.00");
    case EditorColumnClass::Remark: {
        // Blanks around the typing go before it turns full-width (a full-width blank would
        // survive the trim); the remark is cut on a character boundary to what its field holds,
        // so the save loses nothing of what the cell shows.
        const std::string wide = qd::text::trim(toFullWidth(qd::text::trim(editorText)));
        return qd::text::cutToWidth(wide, REMARK_FIELD_BYTES);
    }
    case EditorColumnClass::Text: break;
    }
    return qd::text::trim(editorText);
}

bool editorValueFits(int col, std::string_view cellText) { return qd::core::cellFitsItsField(col, cellText); }

std::string toFullWidth(std::string_view utf8)
{
    const std::u32string in = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toStdU32String();
    std::u32string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const char32_t c = in[i];
        if (c >= 0x20 && c <= 0x7E) {
            out.push_back(wideAscii(c));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            char32_t wide = KANA_WIDE[c - 0xFF61];
            const char32_t next = i + 1 < in.size() ? in[i + 1] : 0;
            if (next == VOICED_MARK && takesVoicedMark(c)) {
                wide = c == 0xFF73 ? U'ヴ' : wide + 1;
                ++i;
            } else if (next == SEMI_VOICED_MARK && takesSemiVoicedMark(c)) {
                wide += 2;
                ++i;
            }
            out.push_back(wide);
        } else {
            out.push_back(c);
        }
    }
    return fromUcs4(out);
}

} // namespace qd::forms
