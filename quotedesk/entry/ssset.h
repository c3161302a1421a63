// SSSET "セット品検索": the set search. The user picks a set by its name (List9) or by its file
// (File1); the form lists its components (List8) with the set's code, name and total list price,
// shows a clicked component in the component panel (Frame2), and "明細追加" puts the whole set
// into the current sheet: a heading row with the set's name and one priced row per component.
// Enter on a component turns the form to the master lists, positioned on that component; the
// lists also work as a free cascade, and holding the mouse on a price line shows the price
// detail panel (Frame3). The form writes no file.
//
// A modeless picker window (picker_window.h). The main window's pop-up menu ("SERCH_SETHIN")
// blanks the line work fields and shows the one instance.
#pragma once

#include <string>
#include <vector>

#include "platform/qt/focus_moves.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/entry/cascade_lists.h"
#include "quotedesk/entry/picker_window.h"
#include "quotedesk/entry/set_rows.h"

namespace qd::qt {
class FileListBox;
}

namespace qd::forms {

using qd::qt::ListBox;
class PricePanel;
class SetComponentPanel;

class SSSET : public PickerWindow {
    Q_OBJECT
public:
    // Loads the form: places it, opens the masters, lists the sets and the master lists' first
    // level and shows it. `unload` unloads it where it was loaded from; without one it deletes
    // itself.
    explicit SSSET(qd::core::QdState &g, QWidget *owner = nullptr, std::function<void()> unload = {});

    qd::core::QdState &g;

    // ---- controls ----
    qd::qt::FileListBox *File1 = nullptr;
    ListBox *List9 = nullptr, *List8 = nullptr;
    QLabel *Label7 = nullptr, *Label6 = nullptr, *Label8 = nullptr, *Label29 = nullptr, *Label24 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text52 = nullptr, *Text26 = nullptr;
    QLabel *Label3 = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label17 = nullptr, *Label4 = nullptr,
           *Label5 = nullptr, *Label9 = nullptr;
    ListBox *List2 = nullptr, *List1 = nullptr, *List3 = nullptr, *List4 = nullptr, *List5 = nullptr,
            *List7 = nullptr, *List6 = nullptr;
    QPushButton *Command1 = nullptr, *Command4 = nullptr;
    SetComponentPanel *Frame2 = nullptr;
    PricePanel *Frame3 = nullptr;

    // ---- handlers (the controls' events reach these; tests call them too) ----
    void Form_Load();
    void FILE1_CLICK();
    void List9_Click();
    void File1_KeyDown(int keyCode);
    void List9_KeyDown(int keyCode);
    void LIST8_SET(const std::string &fileName);
    void List8_Click();
    void List8_GotFocus();
    void List8_KeyDown(int keyCode);
    void Text1_GotFocus();
    void List2_Click();
    void List1_Click();
    void List3_Click();
    void List4_Click();
    void List5_Click();
    void List6_Click();
    void List7_Click();
    void List6_MouseDown();
    void List6_MouseUp();
    void List6_LostFocus();
    void Command1_Click();
    void Command4_Click();
    void FRAME2_SET();
    void FRAME3_SET();

    // The set file whose components List8 lists (empty when none): "明細追加" puts this set in.
    const std::string &listedSetFile() const { return m_listedFile; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void showMasters(bool shown);
    void SET_FILE_LIST();
    void enableCommands();

    Cascade m_cascade;
    std::string m_listedFile;
    std::vector<qd::entry::SetComponent> m_components;
    int m_component = -1; // the component the master lists are positioned on (index)
    qd::qt::FocusMoves m_text1Focus;
};

} // namespace qd::forms
