// SSGARASUFM: the single-item picker. The user picks an item of the item master
// "\data\TANPIN.TXT" from a list in code order (narrowed to the names holding a search text),
// may change its price and cost for the new row, and adds it to the current sheet as one row
// with "明細追加". "終了" rewrites the master in code order without its deleted items before the
// picker goes; closing the window leaves the master as it is.
//
// A modeless picker window (picker_window.h). The main window's pop-up menu ("SERCH_GARASU")
// blanks the line work fields and shows the one instance.
#pragma once

#include "platform/qt/listed_lines.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/entry/picker_window.h"
#include "quotedesk/entry/tanpin_items.h"

class QFrame;
class QRadioButton;

namespace qd::qt {
class EntryBox;
}

namespace qd::forms {

using qd::qt::ListBox;

class SSGARASUFM : public PickerWindow {
    Q_OBJECT
public:
    // Loads the form: places it, lists the items and shows it. `unload` unloads it where it was
    // loaded from; without one it deletes itself.
    explicit SSGARASUFM(qd::core::QdState &g, QWidget *owner = nullptr, std::function<void()> unload = {});

    qd::core::QdState &g;

    // ---- controls ----
    QFrame *Frame3 = nullptr;
    QRadioButton *Option5 = nullptr;
    qd::qt::EntryBox *Text5 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
    qd::qt::EntryBox *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr;
    ListBox *List1 = nullptr;
    QPushButton *Command1 = nullptr, *Command4 = nullptr, *Command5 = nullptr;

    // ---- handlers (the controls' events reach these; tests call them too) ----
    void Form_Load();
    void List1_Click();
    void List1_KeyDown(int keyCode);
    void Option5_Click();
    void Text5_Entered(); // Enter in the search box, after the text is taken
    void Command1_Click();
    void Command4_Click();
    void Command5_Click();
    void TANPIN_LIST_ALL();
    void TANPIN_LIST_FIND();

    // The item behind list line `index` (nullptr for none).
    const qd::entry::ItemLine *itemAt(int index) const { return m_items.at(index); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void enableCommands();
    // A price or cost typed into `box`: a text that is no number, or a number the row cannot
    // hold, is refused with a message, and stays selected in the box with the focus.
    bool takePrice(qd::qt::EntryBox *box, const QString &typed, std::int32_t &value);

    qd::qt::ListedLines<qd::entry::ItemLine> m_items;
};

} // namespace qd::forms
