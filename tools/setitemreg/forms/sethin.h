// SETHIN, the one window of setitemreg: the set list, the set code and name, the components of
// the open set with its total, the master lists through which a component is chosen, the two
// price panels, and the commands 追加, 変更, 削除, 取消 and 終了.
//
// 追加 is enabled only while a set is open and a price line is chosen; 変更 only while a set is
// open, a component of it was chosen in the component list and a price line is chosen.
#pragma once

#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "platform/qt/entry_box.h"
#include "platform/qt/file_list_box.h"
#include "platform/qt/list_box.h"
#include "platform/qt/listed_lines.h"
#include "platform/qt/tool_window.h"
#include "tools/setitemreg/core/item_choice.h"
#include "tools/setitemreg/core/set_editing.h"
#include "tools/setitemreg/core/sethin_state.h"
#include "tools/setitemreg/forms/price_frame.h"

class QLabel;

namespace qd::setitemreg {

using qd::qt::EntryBox;
using qd::qt::FileListBox;
using qd::qt::ListBox;

class SETHIN : public qd::qt::ToolWindow {
    Q_OBJECT
public:
    explicit SETHIN(SethinState &g, QWidget *parent = nullptr);

    // Loads the window: its start state, shown, the set list filled, the focus on the set list.
    void Form_Load();

    // Handlers, as the controls' events reach them.
    void Command1_Click(); // 追加
    void Command2_Click(); // 変更
    void Command3_Click(); // 削除
    void Command4_Click(); // 取消
    void Command5_Click(); // 終了
    void File1_Click();
    void File1_KeyDown(int keyCode);
    void Text1_GotFocus();
    void Text1_LostFocus();
    void Text52_GotFocus();
    void List9_Click();
    void List9_KeyDown(int keyCode);
    void List8_GotFocus();
    void List8_Click();
    void List8_KeyDown(int keyCode);
    void List2_Click();
    void List1_Click();
    void List3_Click();
    void List4_Click();
    void List5_Click();
    void List7_Click();
    void List6_Click();
    void List6_MouseDown();
    void List6_MouseUp();
    void ListN_GotFocus(ListBox *list);
    void ListN_KeyDown(ListBox *list, int keyCode);

    // Procedures.
    void SET_FILE_LIST();
    void SET_LIST_SHOW();
    void SET_ITEM_LOCATE();
    void TANKA_DISP_FRAME2();

    SethinState &g;

    // Controls under their names.
    QLabel *Label7, *Label6, *Label29, *Label8, *Label24;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label9, *Label17;
    EntryBox *Text1, *Text52;
    QLineEdit *Text2, *Text26;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5;
    FileListBox *File1;
    ListBox *List1, *List2, *List3, *List4, *List5, *List6, *List7, *List8, *List9;
    PriceFrame *Frame2, *Frame3;

private:
    // The enabled state of the five commands; nullopt leaves one as it is. 追加 and 変更 are
    // enabled only when what they need is there.
    void commands(std::optional<bool> add, std::optional<bool> change, std::optional<bool> del,
                  std::optional<bool> cancel, std::optional<bool> end);
    void applyCommandRules();
    void startState();
    void showMasters(bool shown);
    // The master lists List1 .. List7 with the records behind their lines.
    qd::qt::ListedLines<ChoiceLine> &choices(ListBox *list);
    const ChoiceLine *chosen(ListBox *list) { return choices(list).chosen(); }
    void itemChanged(); // the price line chosen so far no longer belongs to the choice
    bool askQuantity();
    // What follows a write that landed: `show` fills the window from the files again. A file
    // that cannot be read now is told together with `written` (what the write did), so that the
    // user does not do it a second time; the window then goes back to its start, where nothing
    // of the write can be pressed again. Returns whether everything was read.
    bool afterWrite(const QString &written, const std::function<void()> &show);
    // The headline of a list that cannot be read: after a write, what the write did first.
    QString readFailed() const;
    void reloadLists(); // the set list and the first master lists, as the start shows them
    bool takeName(const QString &typed);
    bool takeCode(const QString &typed);

    std::array<qd::qt::ListedLines<ChoiceLine>, 8> m_choices; // by list number
    bool m_itemChosen = false;       // a price line is chosen (from the list or the component)
    std::int32_t m_chosenComponent = 0; // record of the component chosen in List8 since listing
    bool m_newSet = false;           // the last code entered names a set without records
    bool m_wantAdd = false, m_wantChange = false;
    QString m_written; // what the write being followed up did, while its lists are read again
};

} // namespace qd::setitemreg
