// HENSYU_MENU "==== 編集ﾒﾆｭｰ ====": the edit tool window that floats above the main window and
// acts on the current sheet Grid1(CUR_SLOT): row and block commands, value fill, grouping,
// single-item registration, font size, row heights and column widths. It stays enabled while
// the main window is disabled.
//
// The main window builds it with what the commands need of the windows (EditCommandUi: the
// sheet's focus, the value box, the main window's cell editor) and shows it itself (the F1 key,
// the menu entry "編集ﾒﾆｭｰの表示", the double click on the sheet frame).
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>

#include "quotedesk/sheet/edit_tool_link.h"
#include "quotedesk/sheet/selection.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qd::forms {

// Button hints: lines and size of the hint box Text1 in twips (the box grows where the font
// needs more).
struct EditToolHint {
    QStringList lines;
    int width = 0, height = 0;
};

class HENSYU_MENU : public QWidget, public EditToolWindow {
    Q_OBJECT
public:
    // Loads the window above `owner` (the main window, or none).
    HENSYU_MENU(qd::core::QdState &g, QWidget *owner, std::unique_ptr<qd::sheet::EditCommandUi> ui);
    ~HENSYU_MENU() override;

    qd::core::QdState &g;

    // ---- controls ----
    QGroupBox *Frame3 = nullptr, *Frame4 = nullptr, *Frame5 = nullptr, *Frame6 = nullptr, *Frame2 = nullptr;
    QPushButton *Command8 = nullptr, *Command7 = nullptr, *Command10 = nullptr, *Command9 = nullptr;
    QPushButton *Command2 = nullptr, *Command11 = nullptr;
    QPushButton *Command19 = nullptr, *Command18 = nullptr, *Command3 = nullptr;
    QPushButton *Command23 = nullptr, *Command22 = nullptr;
    QPushButton *Command15 = nullptr, *Command16 = nullptr, *Command20 = nullptr, *Command17 = nullptr;
    QRadioButton *Option1 = nullptr, *Option2 = nullptr;
    QLineEdit *Text3 = nullptr; // value box
    QLabel *Text1 = nullptr;    // hint box, a window of its own beside this one

    // ---- handlers ----
    void Form_Load();
    void Form_MouseMove();
    void Option1_Click();
    void Option2_Click();
    // The hint of a button (nothing for a button without one).
    void showHint(QPushButton *button);
    static EditToolHint hintOf(const QString &buttonName);

    void Text3_GotFocus();
    // Enter (13) keeps the typed value, Esc (27) drops it; other keys change nothing.
    void Text3_KeyDown(int keyCode);
    void Text3_LostFocus();

    void Command8_Click();  // 挿
    void Command7_Click();  // 削
    void Command10_Click(); // 写
    void Command9_Click();  // 貼
    void Command2_Click();  // 値
    void Command11_Click(); // 固
    void Command15_Click(); // 設
    void Command16_Click(); // 解
    void Command20_Click(); // 行高↑ / 行高↓
    void Command17_Click(); // 単品登録
    void Command19_Click(); // 文字 ＋
    void Command18_Click(); // 文字 ー
    void Command3_Click();  // 巾記憶
    void Command23_Click(); // 行高・列巾 ＋
    void Command22_Click(); // 行高・列巾 ー

    // ---- EditToolWindow ----
    void setValueText(const QString &text) override;
    void setRowsOption(bool rows) override;
    void setStoreWidthsEnabled(bool enabled) override;
    bool storeWidthsEnabled() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Where the hint of a button stands on the screen (its top left).
    QPoint hintPlace(const QPushButton *button, const QSize &size) const;
    void buildControls();
    // Runs a command through the command guard (platform/qt/command_guard.h).
    template <class F>
    void guarded(F f);

    qd::sheet::EditCommandUi &ui();
    QPointer<QWidget> m_owner;
    std::unique_ptr<qd::sheet::EditCommandUi> m_ui;
};

} // namespace qd::forms
