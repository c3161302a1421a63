// SSKENSA "単価検索": the unit-price search. The user narrows the list-price files through the
// cascade of major class, class, kind 1, kind 2 and section (or searches them by text), presses a
// price line to see it in the price panel, picks a colour and adds the product to the current
// sheet with "明細追加".
//
// A modeless window of its own above its owner (the main window): loading it (constructing)
// centres it, opens the masters and fills its lists; "取消", a successful "明細追加" and closing
// the window unload it (it deletes itself), so the next showing starts afresh. The shared choice
// lives in QdState and outlives the form.
//
// The main window's pop-up menu ("SERCH_SYOHIN") blanks the line work fields and shows the one
// instance, which the program's form registry loads with the unloading of that registry.
#pragma once

#include <QList>
#include <QPointer>

#include <functional>

#include "platform/qt/entry_box.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/entry/cascade_lists.h"
#include "quotedesk/entry/picker_window.h"

class QFrame;

namespace qd::forms {

using qd::qt::ListBox;
class PricePanel;

class SSKENSA : public PickerWindow {
    Q_OBJECT
public:
    // Loads the form: places it, opens the masters, fills the lists and shows it. `unload`
    // unloads it where it was loaded from (a form registry); without one it deletes itself.
    explicit SSKENSA(qd::core::QdState &g, QWidget *owner = nullptr, std::function<void()> unload = {});

    qd::core::QdState &g;

    // ---- controls ----
    QLabel *Label6 = nullptr, *Label8 = nullptr;
    qd::qt::EntryBox *Text1 = nullptr, *Text4 = nullptr; // the 記号 and 呼称 search texts
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command5 = nullptr;
    QLabel *Label3 = nullptr, *Label2 = nullptr, *Label7 = nullptr, *Label1 = nullptr, *Label17 = nullptr,
           *Label4 = nullptr, *Label9 = nullptr;
    ListBox *List2 = nullptr, *List3 = nullptr, *List7 = nullptr, *List1 = nullptr, *List4 = nullptr,
            *List5 = nullptr, *List6 = nullptr;
    QFrame *Frame1 = nullptr; // search progress
    QLabel *Label5 = nullptr;
    QLineEdit *Text2 = nullptr, *Text3 = nullptr;
    QPushButton *Command3 = nullptr;
    PricePanel *Frame3 = nullptr;

    // ---- handlers (the controls' events reach these; tests call them too) ----
    void Form_Load();
    void List2_Click();
    void List1_Click();
    void List3_Click();
    void List4_Click();
    void List5_Click();
    void List1_GotFocus();
    void List2_GotFocus();
    void List3_GotFocus();
    void List4_GotFocus();
    void List5_GotFocus();
    void cascadeKeyDown(ListBox *list, int keyCode); // List1_KeyDown .. List5_KeyDown
    void List6_MouseDown();
    void List6_MouseUp();
    void List6_Click();
    void List6_LostFocus();
    void List7_Click();
    void Command5_Click();
    void Command5_GotFocus();
    void COMMAND2_CLICK();
    void Text1_GotFocus();
    void Text1_KeyDown(int keyCode);
    void Text4_GotFocus();
    void Text4_KeyDown(int keyCode);
    void Command1_Click();
    void Command3_Click();
    void FRAME3_SET();

    // True while the text search walks.
    bool searching() const { return m_searching; }
    // The walk lets pending window events run after a record when this many milliseconds have
    // passed since the last pass (0: after every record).
    int eventIntervalMs = 10;

protected:
    void closeEvent(QCloseEvent *event) override;
    // The events of the form's boxes and lists, each run through the command guard.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool formEvent(QObject *watched, QEvent *event);
    void buildControls();
    void showCascadeView();
    void setBusy(bool busy);

    Cascade m_cascade;
    bool m_searching = false;
    bool m_closeAfterSearch = false;
    QList<QPointer<QWidget>> m_disabledWindows; // by the running search
};

} // namespace qd::forms
