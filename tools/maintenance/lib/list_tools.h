// The tables of the list-type maintenance tools: for each program its window (size, captions,
// places in twips, fonts, tab order), its master file and record type, its code, name and
// amount fields, its deleted test and mark, its list lines, the button states and focus moves of
// its commands, and the sort key of its exit rewrite. One window class (list_editor.h) runs them
// all; two tools share a form name (itemmaint and glassmaint both call theirs GARASUFM), so the
// tables are found by program name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records/record.h"
#include "tools/maintenance/lib/maint_state.h"

namespace qd::maint {

using qd::records::Layout;
using qd::records::Record;

struct Place {
    int left, top, width, height;
};

enum class LabelLook {
    Heading,         // blue text on light cyan, centred
    BorderedHeading, // the same with a single border
    Hint,            // red text on the window's grey
};

struct LabelDef {
    const char *name;
    const char *caption;
    Place at;
    double points;
    LabelLook look;
};

struct BoxDef {
    Place at;
    int maxLength = 0; // 0: no limit
    bool right = false;
};

struct ListDef {
    Place at;
    double points = 12;
    bool bold = false;
    bool sorted = true;
};

// The numbers a box takes, and what the tool says of a number outside them: a code names both
// ends ("コードは 1～99 で入力して下さい！"), an amount the end it passed ("単価は 9,999,999 までです。",
// "単価は -999,999 以上です。").
struct NumberRange {
    enum class Says { BothEnds, EndPassed };
    const char *field; // "コード", "単価", "原価"
    std::int64_t low, high;
    Says says = Says::BothEnds;

    bool holds(std::int64_t v) const { return v >= low && v <= high; }
    // The message for `v` outside the range.
    std::string refusal(std::int64_t v) const;
};

// The codes a record may be written with.
constexpr NumberRange codes(std::int64_t low, std::int64_t high) { return {"コード", low, high}; }
// The price and cost fields (7 digits, "0000000"): the values they can hold.
inline constexpr NumberRange PriceRange{"単価", -999'999, 9'999'999, NumberRange::Says::EndPassed};
inline constexpr NumberRange CostRange{"原価", -999'999, 9'999'999, NumberRange::Says::EndPassed};

// Where a command leaves the focus.
enum class Target { List1, List2, Text1 };

// The states of 追加, 変更, 削除, 取消 and 終了 after an event, one character each: 'E' enabled,
// 'D' disabled, '-' as before.
struct ButtonRows {
    const char *load;
    const char *list2Click;
    const char *list1Click;
    const char *change;
    const char *remove;
    const char *cancel;
};

struct ListTool {
    // What deletion does: mark the record until the exit rewrite drops it, or take the chosen
    // records out of the file at once (itemmaint, whose end button rewrites nothing).
    enum class Deletion { Mark, Compact };

    const char *program; // caption of the window and title of its messages
    const char *form;
    int width, height;   // outer size in twips
    const char *folder;  // "\\data" or "\\ALMI"
    const char *master;  // file name in the folder
    const char *work;    // its work copy
    const Layout &(*layout)();
    Deletion deletion;

    int codeField;
    const char *codePattern; // as stored: "00", "0000"
    const char *codeShown;   // as shown in the code box: "#0", "###0"
    NumberRange code;        // the codes a record may be written with
    bool (*holdsFocus)(int code); // leaving the code box with this code puts the focus back
    int nameField;
    int nameChars;
    int priceField = -1; // TANKA and GENKA where the tool has the price and cost boxes
    int costField = -1;
    int majorField = -1; // MAKER_CD where List2 holds the major classes

    bool (*isDeleted)(const Record &);
    void (*markDeleted)(Record &);
    bool listsDeleted;   // List1 lists every record, marked ones too
    bool warnsDuplicate = false; // a code confirmed in the code box is looked for in the master
    std::string (*listLine)(const Record &, std::int32_t recNo);
    std::string (*rewriteKey)(const Record &);
    // Fills the data fields of a record from the edit values; nullptr: the code, name, amount
    // and major class fields under their patterns.
    void (*recSet)(const MaintState &, Record &) = nullptr;

    std::vector<LabelDef> labels;
    BoxDef text1, text2, text3, text4; // text3 / text4 have width 0 where there are none
    ListDef list1, list2;              // list2 has width 0 where there is none
    bool extendedSelection;
    Place commands[5];
    std::vector<const char *> tabOrder; // the focusable controls in TabIndex order

    ButtonRows buttons;
    Target afterLoad, afterAdd, afterChange, afterDelete, afterCancel;

    bool hasPrices() const { return priceField >= 0; }
    bool twoLevel() const { return majorField >= 0; }
    std::string masterPath(const std::string &instDir) const;
    std::string workPath(const std::string &instDir) const;
};

// The tables of the seven list-type tools, and one by its program name (nullptr when unknown).
const std::vector<const ListTool *> &listTools();
const ListTool *findListTool(std::string_view program);

// A code field's text under a zero pattern when it reads as a whole number ("5 " under "00" is
// "05"), else the text as it stands.
std::string formatCodeText(const std::string &text, const char *pattern);

// The code fields that identify a listed record: the code, and the major class's code where the
// tool has one, as stored.
std::string recordKey(const ListTool &t, const Record &rec);

} // namespace qd::maint
