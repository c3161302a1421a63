// The sheet editor's column classes: what a typed value becomes in its cell, and the remark's
// full-width conversion.
#include <gtest/gtest.h>

#include "platform/text/cp932.h"
#include "quotedesk/mainwindow/cell_editor.h"

namespace qd::testing {
namespace {

using qd::forms::editorLoadText;
using qd::forms::editorWriteBack;
using qd::forms::toFullWidth;

TEST(CellEditor, TypedValuesAreWrittenBackByTheirColumnClass)
{
    struct Case {
        int col;
        const char *typed;
        const char *cell;
    };
    const Case cases[] = {
        {14, "1,234", "1"},          // the number stops at the comma
        {14, "12345", "12,345"},
        {13, "abc", ""},             // no number: an empty amount
        {13, "0", ""},
        {15, "1234.5", "1,235"},     // rounded half away from zero
        {24, "-1200", "-1,200"},
        {4, "1820", "1820.0"},
        {5, "abc", "0.0"},
        {6, "12.25", "12.3"},
        {12, "65", "65.00"},
        {17, "40.005", "40.01"},
        {23, "x", "0.00"},
        {9, "  12.5  ", "12.5"},     // text columns: trimmed, no number format
        {2, " W1,800 ", "W1,800"},
        {0, " 3 ", "3"},
        {21, "AB-1 ", "AB-1"},
        {16, " abc ", "ａｂｃ"},     // the remark: full width, no blanks around it
        {16, "a b", "ａ　ｂ"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(editorWriteBack(c.col, c.typed), c.cell) << c.col << " " << c.typed;
}

TEST(CellEditor, LoadedValuesLosePaddingAndAmountsTheirSeparatorsAndYenMarks)
{
    EXPECT_EQ(editorLoadText(14, "12,345"), "12345");
    EXPECT_EQ(editorLoadText(13, "\\12,345"), "12345");
    EXPECT_EQ(editorLoadText(20, "-1,200"), "-1200");
    // Other columns are loaded as they stand, without the blanks that pad a field.
    EXPECT_EQ(editorLoadText(2, "W1,800 "), "W1,800");
    EXPECT_EQ(editorLoadText(2, "  山田様亭" + std::string(192, ' ')), "  山田様亭");
    EXPECT_EQ(editorLoadText(14, "12,345    "), "12345");
    EXPECT_EQ(editorLoadText(12, "65.00"), "65.00");
    // Loaded and written back, an amount comes back as it was.
    EXPECT_EQ(editorWriteBack(14, editorLoadText(14, "12,345")), "12,345");
}

TEST(CellEditor, HalfWidthKanaCombineWithTheirVoicedMarks)
{
    EXPECT_EQ(toFullWidth("ｶﾞｷﾞｸﾞｹﾞｺﾞ"), "ガギグゲゴ");
    EXPECT_EQ(toFullWidth("ｻﾞﾀﾞﾂﾞﾄﾞﾊﾞﾋﾟﾌﾟﾍﾟﾎﾞｳﾞ"), "ザダヅドバピプペボヴ");
    EXPECT_EQ(toFullWidth("ｱﾙﾐｻｯｼ ｰ｡"), "アルミサッシ　ー。");
    // A mark that has no kana to join stays a mark of its own.
    EXPECT_EQ(toFullWidth("ｱﾞﾞ"), "ア゛゛");
    EXPECT_EQ(toFullWidth("ﾏﾟ"), "マ゜");
    // ASCII and the code page's yen mark; double-byte text is kept.
    EXPECT_EQ(toFullWidth("Az09 !~"), "Ａｚ０９　！\uFF5E");
    EXPECT_EQ(toFullWidth("\\100"), "￥１００");
    EXPECT_EQ(toFullWidth("白色ガラス"), "白色ガラス");
    // Every character the conversion gives can be stored.
    std::string ascii;
    for (char c = 0x20; c < 0x7F; ++c)
        ascii.push_back(c);
    for (const std::string &s : {toFullWidth(ascii), toFullWidth("｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ")})
        EXPECT_EQ(qd::text::toCp932(s).find('?'), std::string::npos) << s;
}

TEST(CellEditor, ARemarkKeepsWhatItsFieldHolds)
{
    // 60 letters become 60 double-byte characters; the 50-byte field holds 25 of them, so the
    // cell keeps those and a save loses nothing the cell shows.
    const std::string remark = editorWriteBack(16, std::string(60, 'x'));
    EXPECT_EQ(qd::text::charCount(remark), 25u);
    EXPECT_EQ(qd::text::cp932Width(remark), 50u);
    // Mixed widths are cut on a character boundary.
    const std::string mixed = editorWriteBack(16, "ｱ" + std::string(30, 'b'));
    EXPECT_EQ(qd::text::cp932Width(mixed), 50u);
    EXPECT_EQ(qd::text::charCount(mixed), 25u);
    const std::string odd = editorWriteBack(16, "白色ガラス" + std::string(1, '1'));
    EXPECT_EQ(odd, "白色ガラス１");
    EXPECT_EQ(qd::text::cp932Width(editorWriteBack(16, std::string(49, '1') + "ｶﾞ")), 50u);
}

} // namespace
} // namespace qd::testing
