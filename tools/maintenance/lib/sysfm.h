// SYSFM, the window of ownmaint: the twelve fields of the own-company record in twelve boxes,
// each taken by Enter, or by "終了" from the box it was clicked or tabbed to from. "終了" writes
// record 1 of "\data\SYSF.SSS" and ends the tool; "取消" and the close box end it without
// writing. The rate field takes only what quotedesk's rate selection can read: a rank 1 to 10, a
// percentage, or nothing.
#pragma once

#include "platform/qt/tool_window.h"
#include "tools/maintenance/lib/maint_state.h"

#include <array>
#include <string>

class QLabel;
class QPushButton;

namespace qd::qt {
class EntryBox;
}

namespace qd::maint {

class SYSFM : public qd::qt::ToolWindow {
    Q_OBJECT
public:
    SYSFM();

    OwnState g;

    std::array<QLabel *, 13> Label{};           // Label1 .. Label12 (index 0 unused)
    std::array<qd::qt::EntryBox *, 13> Text{};  // Text1 .. Text12 (index 0 unused)
    QPushButton *Command1 = nullptr;            // 終了
    QPushButton *Command2 = nullptr;            // 取消

    void Form_Load();
    void Command1_Click();
    void Command2_Click();

    // What box n shows of its edit string: the rate and the registration number trimmed, the
    // others at their full width.
    QString displayValue(int n) const;
    // "\data\SYSF.SSS" below the working folder.
    std::string path() const;

private:
    void buildControls();
    // Takes the text of box n as Enter does; false (with the message) for a rate quotedesk could
    // not read.
    bool take(int n, const QString &typed);
};

} // namespace qd::maint
