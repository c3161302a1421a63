#include "tools/maintenance/lib/list_tools.h"

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "records/records_state.h"

#include <cctype>

namespace qd::maint {

namespace {

namespace R = qd::records;
namespace Glass = qd::records::Glass;
using qd::text::fixedChars;

// A record is deleted when field F holds W zeros; deleting it puts them there.
template <int F, int W>
bool zeros(const Record &r)
{
    return r.raw(F) == std::string(W, '0');
}
template <int F, int W>
void markZeros(Record &r)
{
    r.setRaw(F, std::string(W, '0'));
}

const char *zeroPattern(int digits) { return digits == 4 ? "0000" : "00"; }

// A List1 line: the code (under a zero pattern of `Digits` digits, or as stored when 0), a blank,
// the name at its full width, a run of `Gap` blanks and the record number in five digits.
template <int Code, int Name, int Chars, int Gap, int Digits>
std::string line(const Record &r, std::int32_t recNo)
{
    const std::string code = Digits ? formatCodeText(r.text(Code), zeroPattern(Digits)) : r.text(Code);
    return code + " " + fixedChars(r.text(Name), Chars) + std::string(Gap, ' ') + qd::text::format(recNo, "00000");
}

// The exit rewrite's order: the code as the hidden sorted list held it.
template <int Code, int Digits>
std::string codeKey(const Record &r)
{
    return formatCodeText(r.text(Code), zeroPattern(Digits)) + " ";
}
template <int Major, int Code>
std::string majorCodeKey(const Record &r)
{
    return r.text(Major) + " " + r.text(Code) + " ";
}

bool never(int) { return false; }
bool isZero(int code) { return code == 0; }
// colormaint keeps the focus in its code box outside 1 to 100.
bool outsideColorRange(int code) { return code < 1 || code > 100; }

// The single items are built by the routine itemmaint shares with quotedesk.
void itemRecSet(const MaintState &s, Record &r)
{
    R::RecordsState g;
    g.TANPIN_REC = r;
    g.ITEM_EDIT_CD = s.EDIT_CODE;
    g.ITEM_EDIT_NAME = s.EDIT_NAME;
    g.ITEM_EDIT_TANKA = s.EDIT_PRICE;
    g.ITEM_EDIT_GENKA = s.EDIT_COST;
    R::TANPIN_REC_SET(g);
    r = g.TANPIN_REC;
}

constexpr Place button(int left, int top) { return {left, top, 735, 495}; }

const ListTool kGroup{
    .program = "groupmaint", .form = "INMAKER", .width = 6130, .height = 7180,
    .folder = "\\data", .master = "MAKER.TXT", .work = "WMAKER.TXT", .layout = &R::MajorClass::layout,
    .deletion = ListTool::Deletion::Mark,
    .codeField = R::MajorClass::MAKER_CD, .codePattern = "00", .codeShown = "#0", .code = codes(1, 99),
    .holdsFocus = &isZero, .nameField = R::MajorClass::NAME, .nameChars = 20,
    .isDeleted = &zeros<R::MajorClass::MAKER_CD, 2>, .markDeleted = &markZeros<R::MajorClass::MAKER_CD, 2>,
    .listsDeleted = false,
    .listLine = &line<R::MajorClass::MAKER_CD, R::MajorClass::NAME, 20, 10, 2>,
    .rewriteKey = &codeKey<R::MajorClass::MAKER_CD, 2>,
    .labels = {{"Label1", "コード", {240, 240, 1220, 410}, 13.5, LabelLook::Heading},
               {"Label2", "大分類名", {240, 720, 1210, 410}, 13.5, LabelLook::Heading},
               {"Label3", "ｺｰﾄﾞ 1～99", {1920, 300, 1460, 260}, 12, LabelLook::Hint}},
    .text1 = {{1440, 240, 375, 405}, 2}, .text2 = {{1440, 720, 3130, 405}}, .text3 = {}, .text4 = {},
    .list1 = {{1440, 1200, 3135, 5300}}, .list2 = {}, .extendedSelection = false,
    .commands = {button(4920, 1200), button(4920, 2040), button(4920, 2880), button(4920, 3720), button(4920, 4560)},
    .tabOrder = {"Text1", "Command1", "Command2", "Command3", "Command4", "Command5", "Text2", "List1"},
    .buttons = {"EDDDE", "-----", "DEEEE", "-DD--", "-DD--", "EDDEE"},
    .afterLoad = Target::List1, .afterAdd = Target::List1, .afterChange = Target::List1,
    .afterDelete = Target::List1, .afterCancel = Target::Text1,
};

const ListTool kSection{
    .program = "sectmaint", .form = "INCIHO", .width = 5010, .height = 6430,
    .folder = "\\data", .master = "CIHO.TXT", .work = "WCIHO.TXT", .layout = &R::Section::layout,
    .deletion = ListTool::Deletion::Mark,
    // A section may have the code 0: its mark of deletion is DEL_MARK, not the code.
    .codeField = R::Section::CIHO_CD, .codePattern = "00", .codeShown = "#0", .code = codes(0, 99),
    .holdsFocus = &never, .nameField = R::Section::NAME, .nameChars = 20,
    .isDeleted = &zeros<R::Section::DEL_MARK, 6>, .markDeleted = &markZeros<R::Section::DEL_MARK, 6>,
    .listsDeleted = false,
    .listLine = &line<R::Section::CIHO_CD, R::Section::NAME, 20, 10, 2>,
    .rewriteKey = &codeKey<R::Section::CIHO_CD, 2>,
    .labels = {{"Label1", "CD", {120, 480, 380, 380}, 13.5, LabelLook::Heading},
               {"Label2", "名称", {480, 480, 3250, 380}, 13.5, LabelLook::Heading},
               {"Label3", "ｺｰﾄﾞ 1～10", {120, 120, 1460, 260}, 12, LabelLook::Hint}},
    .text1 = {{120, 840, 375, 405}, 2}, .text2 = {{480, 840, 3250, 405}}, .text3 = {}, .text4 = {},
    .list1 = {{120, 1440, 3610, 4340}}, .list2 = {}, .extendedSelection = false,
    .commands = {button(3960, 1440), button(3960, 2280), button(3960, 3120), button(3960, 3960), button(3960, 4800)},
    .tabOrder = {"Text1", "Command1", "Command2", "Command3", "Command4", "Command5", "Text2", "List1"},
    .buttons = {"EDDEE", "-----", "DEEEE", "EDDEE", "EDDEE", "EDDEE"},
    .afterLoad = Target::List1, .afterAdd = Target::List1, .afterChange = Target::List1,
    .afterDelete = Target::List1, .afterCancel = Target::Text1,
};

const ListTool kClass{
    .program = "classmaint", .form = "INBUNRUI", .width = 9600, .height = 7200,
    .folder = "\\data", .master = "BUNRUI.TXT", .work = "WBUNRUI.TXT", .layout = &R::Class::layout,
    .deletion = ListTool::Deletion::Mark,
    .codeField = R::Class::BUNRUI_CD, .codePattern = "00", .codeShown = "#0", .code = codes(1, 99),
    .holdsFocus = &isZero, .nameField = R::Class::NAME, .nameChars = 20, .majorField = R::Class::MAKER_CD,
    .isDeleted = &zeros<R::Class::BUNRUI_CD, 2>, .markDeleted = &markZeros<R::Class::BUNRUI_CD, 2>,
    .listsDeleted = false,
    .listLine = &line<R::Class::BUNRUI_CD, R::Class::NAME, 20, 10, 0>,
    .rewriteKey = &majorCodeKey<R::Class::MAKER_CD, R::Class::BUNRUI_CD>,
    .labels = {{"Label3", "大分類名", {240, 120, 2775, 375}, 13.5, LabelLook::Heading},
               {"Label1", "コード", {3360, 120, 1095, 375}, 13.5, LabelLook::Heading},
               {"Label4", "ｺｰﾄﾞ 1～99", {4920, 240, 1575, 255}, 12, LabelLook::Hint},
               {"Label2", "分類名", {3360, 600, 1090, 410}, 13.5, LabelLook::Heading}},
    .text1 = {{4440, 120, 375, 375}, 2}, .text2 = {{4440, 600, 3850, 405}}, .text3 = {}, .text4 = {},
    .list1 = {{4440, 1080, 3850, 5300}, 11, true, true}, .list2 = {{240, 480, 2780, 5960}, 11, true, true},
    .extendedSelection = false,
    .commands = {button(8400, 720), button(8400, 1440), button(8400, 2160), button(8400, 2880), button(8400, 3600)},
    .tabOrder = {"Text1", "Command1", "Command2", "Command3", "Command4", "Command5", "List1", "Text2", "List2"},
    .buttons = {"DDDDE", "EDDEE", "DEEEE", "-DD--", "-DD--", "DDDDE"},
    .afterLoad = Target::List2, .afterAdd = Target::Text1, .afterChange = Target::List1,
    .afterDelete = Target::List1, .afterCancel = Target::List2,
};

const ListTool kColor{
    .program = "colormaint", .form = "INIRO", .width = 8140, .height = 7180,
    .folder = "\\data", .master = "IRO.TXT", .work = "WIRO.TXT", .layout = &R::Color::layout,
    .deletion = ListTool::Deletion::Mark,
    .codeField = R::Color::IRO_CD, .codePattern = "00", .codeShown = "#0", .code = codes(1, 99),
    .holdsFocus = &outsideColorRange, .nameField = R::Color::NAME, .nameChars = 20, .majorField = R::Color::MAKER_CD,
    .isDeleted = &zeros<R::Color::IRO_CD, 2>, .markDeleted = &markZeros<R::Color::IRO_CD, 2>,
    .listsDeleted = false,
    .listLine = &line<R::Color::IRO_CD, R::Color::NAME, 20, 50, 0>,
    .rewriteKey = &majorCodeKey<R::Color::MAKER_CD, R::Color::IRO_CD>,
    .labels = {{"Label3", "大分類名", {120, 120, 2780, 380}, 13.5, LabelLook::Heading},
               {"Label1", "コード", {3000, 120, 1340, 380}, 13.5, LabelLook::Heading},
               {"Label4", "ｺｰﾄﾞ 1～99", {4800, 240, 1580, 260}, 12, LabelLook::Hint},
               {"Label2", "色　名", {3000, 600, 1340, 410}, 13.5, LabelLook::Heading}},
    .text1 = {{4320, 120, 375, 375}, 2}, .text2 = {{4320, 600, 2535, 405}}, .text3 = {}, .text4 = {},
    .list1 = {{3000, 1080, 3850, 5420}, 10, false, true}, .list2 = {{120, 480, 2775, 6020}, 10, true, false},
    .extendedSelection = false,
    .commands = {button(7080, 1080), button(7080, 1800), button(7080, 2520), button(7080, 3240), button(7080, 3960)},
    .tabOrder = {"Text1", "Command1", "Command2", "Command3", "Command4", "Command5", "Text2", "List2", "List1"},
    .buttons = {"DDDDE", "EDDEE", "DEEEE", "EDDEE", "EDDEE", "DDDDE"},
    .afterLoad = Target::List2, .afterAdd = Target::Text1, .afterChange = Target::List1,
    .afterDelete = Target::List1, .afterCancel = Target::List2,
};

const ListTool kItem{
    .program = "itemmaint", .form = "GARASUFM", .width = 14160, .height = 8640,
    .folder = "\\data", .master = "TANPIN.TXT", .work = "WTANPIN.TXT", .layout = &R::Item::layout,
    .deletion = ListTool::Deletion::Compact,
    .codeField = R::Item::TANPIN_CD, .codePattern = "0000", .codeShown = "###0", .code = codes(1, 9999),
    .holdsFocus = &isZero, .nameField = R::Item::NAME, .nameChars = 50,
    .priceField = R::Item::TANKA, .costField = R::Item::GENKA,
    .isDeleted = &zeros<R::Item::TANPIN_CD, 4>, .markDeleted = &markZeros<R::Item::TANPIN_CD, 4>,
    .listsDeleted = true, .warnsDuplicate = true,
    .listLine = &line<R::Item::TANPIN_CD, R::Item::NAME, 50, 50, 4>,
    .rewriteKey = nullptr,
    .recSet = &itemRecSet,
    .labels = {{"Label1", "CD", {360, 480, 850, 370}, 13.5, LabelLook::BorderedHeading},
               {"Label2", "名称", {360, 960, 850, 370}, 13.5, LabelLook::BorderedHeading},
               {"Label4", "単価", {360, 1440, 850, 370}, 12, LabelLook::BorderedHeading},
               {"Label5", "原価", {3240, 1440, 850, 370}, 12, LabelLook::BorderedHeading}},
    .text1 = {{1200, 480, 860, 370}, 4, true}, .text2 = {{1200, 960, 12610, 370}},
    .text3 = {{1200, 1440, 1695, 370}, 0, true}, .text4 = {{4080, 1440, 1695, 370}, 0, true},
    .list1 = {{1200, 1920, 12610, 6020}}, .list2 = {}, .extendedSelection = true,
    .commands = {button(4440, 360), button(5760, 360), button(7080, 360), button(8400, 360), button(9720, 360)},
    .tabOrder = {"Command1", "Command2", "Command3", "Command4", "Command5", "List1", "Text2", "Text1", "Text4", "Text3"},
    .buttons = {"EDDEE", "-----", "DEEEE", "EDDEE", "EDDEE", "EDDEE"},
    .afterLoad = Target::List1, .afterAdd = Target::List1, .afterChange = Target::Text1,
    .afterDelete = Target::Text1, .afterCancel = Target::Text1,
};

const ListTool kGlass{
    .program = "glassmaint", .form = "GARASUFM", .width = 6320, .height = 6130,
    .folder = "\\ALMI", .master = "GARASU.TXT", .work = "WGARASU.TXT", .layout = &Glass::layout,
    .deletion = ListTool::Deletion::Mark,
    .codeField = Glass::GARASU_CD, .codePattern = "00", .codeShown = "#0", .code = codes(1, 99),
    .holdsFocus = &isZero, .nameField = Glass::NAME, .nameChars = 20,
    .priceField = Glass::TANKA, .costField = Glass::GENKA,
    .isDeleted = &zeros<Glass::GARASU_CD, 2>, .markDeleted = &markZeros<Glass::GARASU_CD, 2>,
    .listsDeleted = false,
    .listLine = &line<Glass::GARASU_CD, Glass::NAME, 20, 10, 2>,
    .rewriteKey = &codeKey<Glass::GARASU_CD, 2>,
    .labels = {{"Label3", "ｺｰﾄﾞ 1～99", {360, 120, 1460, 260}, 12, LabelLook::Hint},
               {"Label1", "CD", {120, 480, 380, 380}, 13.5, LabelLook::BorderedHeading},
               {"Label2", "名称", {480, 480, 3850, 380}, 13.5, LabelLook::BorderedHeading},
               {"Label4", "単　　価", {4320, 480, 1700, 380}, 12, LabelLook::BorderedHeading},
               {"Label5", "原　　価", {4320, 1240, 1700, 380}, 12, LabelLook::BorderedHeading}},
    .text1 = {{120, 840, 375, 405}, 2, true}, .text2 = {{480, 840, 3850, 405}},
    .text3 = {{4320, 840, 1695, 405}, 0, true}, .text4 = {{4320, 1610, 1695, 405}, 0, true},
    .list1 = {{480, 1320, 3610, 4100}}, .list2 = {}, .extendedSelection = false,
    .commands = {button(4680, 2400), button(4680, 3000), button(4680, 3600), button(4680, 4200), button(4680, 4800)},
    .tabOrder = {"Text1", "Command1", "Command2", "Command3", "Command4", "Command5", "Text2", "List1", "Text3", "Text4"},
    .buttons = {"EDDEE", "-----", "DEEEE", "EDDEE", "EDDEE", "EDDEE"},
    .afterLoad = Target::List1, .afterAdd = Target::List1, .afterChange = Target::List1,
    .afterDelete = Target::List1, .afterCancel = Target::Text1,
};

const ListTool kPartner{
    .program = "partnermaint", .form = "INTOK", .width = 10690, .height = 6330,
    .folder = "\\data", .master = "TOKF.SSS", .work = "WTOKF.SSS", .layout = &R::Partner::layout,
    .deletion = ListTool::Deletion::Mark,
    .codeField = R::Partner::TOKUI_CD, .codePattern = "0000", .codeShown = "###0", .code = codes(1, 9999),
    .holdsFocus = &isZero, .nameField = R::Partner::NAME, .nameChars = 50,
    .isDeleted = &zeros<R::Partner::TOKUI_CD, 4>, .markDeleted = &markZeros<R::Partner::TOKUI_CD, 4>,
    .listsDeleted = false,
    .listLine = &line<R::Partner::TOKUI_CD, R::Partner::NAME, 50, 50, 4>,
    .rewriteKey = &codeKey<R::Partner::TOKUI_CD, 4>,
    .labels = {{"Label3", "ｺｰﾄﾞ 1～9999", {120, 120, 2540, 260}, 12, LabelLook::Hint},
               {"Label1", "CD", {120, 480, 620, 380}, 13.5, LabelLook::Heading},
               {"Label2", "名称", {720, 480, 8650, 370}, 13.5, LabelLook::Heading}},
    .text1 = {{120, 840, 615, 370}, 4}, .text2 = {{720, 840, 8650, 370}}, .text3 = {}, .text4 = {},
    .list1 = {{720, 1320, 8650, 4340}}, .list2 = {}, .extendedSelection = false,
    .commands = {button(9600, 1320), button(9600, 2160), button(9600, 3000), button(9600, 3840), button(9600, 4680)},
    .tabOrder = {"Text1", "Command1", "Command2", "Command3", "Command4", "Command5", "Text2", "List1"},
    .buttons = {"EDDEE", "-----", "DEEEE", "EDDEE", "EDDEE", "EDDEE"},
    .afterLoad = Target::List1, .afterAdd = Target::List1, .afterChange = Target::List1,
    .afterDelete = Target::List1, .afterCancel = Target::Text1,
};

} // namespace

std::string ListTool::masterPath(const std::string &instDir) const
{
    return qd::text::trim(instDir) + folder + "\\" + master;
}

std::string ListTool::workPath(const std::string &instDir) const
{
    return qd::text::trim(instDir) + folder + "\\" + work;
}

const std::vector<const ListTool *> &listTools()
{
    static const std::vector<const ListTool *> all = {&kGroup, &kSection, &kClass, &kColor, &kItem, &kGlass, &kPartner};
    return all;
}

const ListTool *findListTool(std::string_view program)
{
    for (const ListTool *t : listTools())
        if (program == t->program)
            return t;
    return nullptr;
}

std::string NumberRange::refusal(std::int64_t v) const
{
    if (says == Says::EndPassed)
        return std::string(field) + "は " + qd::text::format(v < low ? low : high, "#,##0") +
               (v < low ? " 以上です。" : " までです。");
    return std::string(field) + "は " + std::to_string(low) + "～" + std::to_string(high) + " で入力して下さい！";
}

std::string formatCodeText(const std::string &text, const char *pattern)
{
    const std::string t = qd::text::trim(text);
    std::size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    if (i >= t.size() || t.size() > 18)
        return text;
    for (std::size_t k = i; k < t.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(t[k])))
            return text;
    return qd::text::format(static_cast<std::int64_t>(std::stoll(t)), pattern);
}

std::string recordKey(const ListTool &t, const Record &rec)
{
    return (t.twoLevel() ? rec.raw(t.majorField) + "|" : std::string()) + rec.raw(t.codeField);
}

} // namespace qd::maint
