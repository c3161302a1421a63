// The window of the list-type maintenance tools (groupmaint INMAKER, sectmaint INCIHO,
// classmaint INBUNRUI, colormaint INIRO, itemmaint and glassmaint GARASUFM, partnermaint INTOK),
// run by the tool's table (list_tools.h).
//
// List1 lists the records of the master (classmaint and colormaint: those of the major class
// chosen in List2); a line ends in its record number, which the list does not show. A code, a
// name and (itemmaint, glassmaint) a unit price and a cost are typed into the boxes, each taken
// by Enter, which refuses a number its field cannot hold with a message that names the field and
// what it takes, and text that is no number with "数値を入力して下さい！"; "追加" and "変更" take
// what is typed in the box they were clicked or tabbed to from, through the same checks (and
// itemmaint's duplicate-code warning), before they write. "追加" writes a new record after the
// file's real end unless the file, read afresh under the lock of the append, holds a live record
// of the code (of the chosen major class), which it refuses as a duplicate: a record is never
// written twice, also when a press is repeated after its list could not be read again. "変更"
// and "削除" write the chosen record in its place once it is read again and found to be the
// record that was listed; every change is in the file at once. A write that failed is told with
// the file and the system's reason: the file is as it was, or, where an append could not be cut
// back, it may hold a part of the record; a failure after a write that landed (the list read
// again) is told as the change made and the list that could not be read. A deleted
// record is marked and stays in the file until "終了" rewrites the master without marked records,
// in code order, through its work copy; itemmaint instead takes the chosen items out of the file
// at once, and its "終了" rewrites nothing. The close box ends the tool without the rewrite. A
// master (or the major classes) that ends in a part of a record is listed with its whole
// records, and the user is told so once; the master is then never written.
#pragma once

#include "platform/qt/tool_window.h"
#include "tools/maintenance/lib/list_tools.h"
#include "tools/maintenance/lib/maint_state.h"
#include "tools/maintenance/lib/master_file.h"

#include <QMap>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace qd::qt {
class EntryBox;
class ListBox;
} // namespace qd::qt

namespace qd::maint {

class ListEditor : public qd::qt::ToolWindow {
    Q_OBJECT
public:
    explicit ListEditor(const ListTool &tool);

    const ListTool &tool;
    MaintState g;

    QMap<QString, QLabel *> labels;       // by name: Label1 ...
    qd::qt::EntryBox *Text1 = nullptr;    // code
    qd::qt::EntryBox *Text2 = nullptr;    // name
    qd::qt::EntryBox *Text3 = nullptr;    // unit price (itemmaint, glassmaint)
    qd::qt::EntryBox *Text4 = nullptr;    // cost (itemmaint, glassmaint)
    qd::qt::ListBox *List1 = nullptr;     // the records
    qd::qt::ListBox *List2 = nullptr;     // the major classes (classmaint, colormaint)
    QPushButton *Command1 = nullptr;      // 追加
    QPushButton *Command2 = nullptr;      // 変更
    QPushButton *Command3 = nullptr;      // 削除
    QPushButton *Command4 = nullptr;      // 取消
    QPushButton *Command5 = nullptr;      // 終了

    void Form_Load();
    void List1_Click();
    void List1_KeyDown(int keyCode);
    void List2_Click();
    void List2_KeyDown(int keyCode);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    // The duplicate-code warning after a code is confirmed (itemmaint); the record being changed
    // is not a duplicate of itself. Returns whether it warned.
    bool CODE_CHECK();
    // RANGE_VALUE within [low, high]: CHK_ERR 0; otherwise CHK_ERR 1, a beep and the message.
    void NUM_RANGE_CHECK(std::int64_t low = -999'999'999, std::int64_t high = 999'999'999);
    // List1 from the master (LIST_FILL), List2 from the major classes.
    void LIST_FILL();
    void MAKER_LIST_FILL();

    // The master as it is named now, below the tool's working folder.
    MasterFile master() const;

private:
    // The start, a failure to read the lists told under `readFailed`.
    void load(const QString &readFailed);
    void buildControls();
    void bindBoxes();
    void connectHandlers();
    void setButtons(const char *row);
    void focusTo(Target target);
    void clearBoxes();
    void recSet(Record &rec) const;
    // Takes the text of a box as Enter does: false when it is refused (a number outside the
    // field, with the field's message; text that is no number, with the general message), the
    // refused text left selected in the box with the focus.
    bool take(qd::qt::EntryBox *box, const QString &typed);
    // Text typed without Enter, when "追加" or "変更" is pressed: taken as Enter takes it, a code
    // checked for a duplicate as Enter checks it; false when it is refused or warned of, and
    // the focus is in its box.
    bool takeTyped();
    // What "追加" and "変更" do first: the typed text taken, the focus on the button, the values
    // checked against their fields; false when anything is refused, and nothing is written.
    bool beforeWrite(QPushButton *button);
    bool valuesFit();
    // Runs the write of a command; a failure is told with the file and the system's reason, as
    // leaving the file as it was or as perhaps leaving a part of the write in it. Returns false
    // then.
    bool write(const std::function<void()> &step);
    // Whether `rec` is a live record of the code being edited (under the chosen major class),
    // which "追加" does not write a second time.
    bool holdsCode(const Record &rec) const;
    bool stillListed(const Record &rec) const;
    bool majorStillLive();
    // The records of "\data\MAKER.TXT" as they stand now.
    std::vector<Record> majorClasses();
    // The chosen record read again and, while it is still the one listed, edited in its place;
    // otherwise the user is told and the list filled again. Returns whether it was written.
    bool changeChosen(const std::function<void(Record &)> &edit);
    void listChanged();

    std::vector<std::string> m_listedKeys; // by record number: the code fields as listed
    bool m_chosen = false;                 // a line of List1 has been loaded for 変更 / 削除
};

} // namespace qd::maint
