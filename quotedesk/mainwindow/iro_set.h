// IRO_SET: the colour form. The user picks a major class and one of its colours; "ＯＫ" gives the
// selected rows of the current sheet that colour, each priced again from its list-price record.
// The form stays above the main window, which is disabled while the form is shown and enabled
// again by "ＯＫ" (the form then stays open for further colours) or "キャンセル" (which closes it).
#pragma once

#include <functional>

#include <QWidget>

#include <string>
#include <vector>

#include "quotedesk/core/qd_state.h"

class QLabel;
class QPushButton;

namespace qd::qt {
class ListBox;
}

namespace qd::forms {

class QuotedeskApp;

class IRO_SET : public QWidget {
    Q_OBJECT
public:
    explicit IRO_SET(QuotedeskApp &app);
    ~IRO_SET() override;

    QuotedeskApp &app;
    qd::core::QdState &g;

    QLabel *Label1 = nullptr, *Label2 = nullptr;
    qd::qt::ListBox *List1 = nullptr; // major classes
    qd::qt::ListBox *List2 = nullptr; // colours of the chosen major class
    QPushButton *Command12 = nullptr; // ＯＫ
    QPushButton *Command1 = nullptr;  // キャンセル

    void Form_Load();
    // The form stands (the main window has shown and placed it): what its lists could show only
    // in part is told now, and after each of its commands from here on.
    void formShown();
    // Fills both lists from the files and selects the remembered group and colour again.
    void IRO_SET_LIST_LOAD();
    void List1_Click();
    void List2_Click();
    void List1_KeyDown(int keyCode);
    void List2_KeyDown(int keyCode);
    void Command12_Click();
    void Command1_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Widens the lists, and the form with them, to show a code and a name of the field's 20
    // bytes whole.
    void fitLists();
    // A handler of the form as a slot through the command guard.
    std::function<void()> guarded(std::function<void()> handler);
    struct Entry {
        std::string code; // two characters
        std::string name; // the record's name, cut at a NUL
    };
    std::vector<Entry> m_groups, m_colours;
    bool m_cancelling = false;
    bool m_shown = false;
    // Tells of the files its lists showed in part (once per file and size while it is loaded).
    void showPendingMessages();
};

// Re-prices the rows of the saved selection (SAVED_ROW .. SAVED_ROW_END, top to bottom) of the
// current sheet by the chosen colour: a row whose key (発注品番) begins with a major class, class
// and kind of six digits in the chosen group, and matches a record of its list-price file, gets
// the colour's list price, the colour name, its unit price and amount, and is recalculated;
// then the document is totalled. Other rows keep all their cells. List-price files are only read.
void IRO_SET_APPLY(qd::core::QdState &g);

} // namespace qd::forms
