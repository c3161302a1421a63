// KIHON: the main window of quotedesk. It holds the menus, the five document sheets Grid1(0..4)
// with the hidden work grid Grid1(5), the list of open documents (Combo2) and the totals, and it
// is the main window the core procedures talk to (CoreUi).
//
// Controls carry the names of the form's controls and are public, as the other forms reach them
// (the sheet views through gridView() / currentGridView()). The sheets' contents are the grid
// models in QdState (g.Grid1); the views here only show them.
//
// The form in parts: kihon.cpp the window itself (controls, layout, start-up, CoreUi),
// kihon_documents.cpp the document slots, kihon_menus.cpp the menu table, kihon_editing.cpp the
// sheet's events, keys and cell editor, kihon_commands.cpp the menu commands,
// kihon_start_screen.cpp the start screen's drawing.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/qt/grid_view.h"
#include "platform/qt/menu_tree.h"
#include "quotedesk/core/core_ui.h"
#include "quotedesk/core/qd_state.h"
#include "quotedesk/sheet/grid_display.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qd::forms {

class QuotedeskApp;
class KihonCanvas;

// The window's caption before any document is set up, and again after the last one is closed.
inline constexpr const char *KIHON_START_CAPTION = "【見積書・納品書・請求書】quotedesk";

class KIHON : public QMainWindow, public qd::core::CoreUi, public qd::sheet::DisplayUi {
    Q_OBJECT
public:
    explicit KIHON(QuotedeskApp &app);
    ~KIHON() override;

    QuotedeskApp &app;
    qd::core::QdState &g;

    // ---- controls ----
    std::array<qd::qt::GridView *, 6> Grid1{}; // 0..4 the document sheets, 5 the work grid
    QFrame *Frame1 = nullptr;                  // holds the sheets
    QComboBox *Combo2 = nullptr;               // open documents
    QComboBox *Combo3 = nullptr;               // scratch: the slots in use (never shown)
    QComboBox *Combo4 = nullptr;               // tax breakdown lines
    QComboBox *Combo5 = nullptr;               // tax breakdown by rate (read by printing)
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QLabel *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr;
    QLabel *Image1 = nullptr;                  // the start screen's logo
    QPushButton *Command4 = nullptr;           // "×" closes the current document
    QLineEdit *Text1 = nullptr;                // in-cell editor of the sheet
    QLineEdit *Text4 = nullptr, *Text5 = nullptr, *Text6 = nullptr, *Text7 = nullptr;

    qd::qt::MenuTree &menus() { return *m_menus; }
    qd::qt::GridView &gridView(int index) { return *Grid1.at(static_cast<std::size_t>(index)); }
    qd::qt::GridView &currentGridView() { return gridView(g.CUR_SLOT); }

    // ---- start-up, layout, shut-down ----
    void Form_Load();
    // Cancel while a document is open.
    void Form_Unload(bool &cancel);
    void KIHON_FIT_SCREEN();
    void KIHON_LAYOUT();

    // ---- document slots (kihon_documents.cpp) ----
    void FILE_NEW_Click();
    void FILE_READ_Click();
    void FILE_WRITE_Click();
    void Command4_Click();
    void END_000_Click();
    void kihon_idx_read();
    // The document switch of Combo2 (a choice of the user, or ListIndex set by the program).
    void Combo2_Click();

    // The window's size and place in twips (Width, Height include the window frame).
    int widthTwips() const;
    int heightTwips() const;
    void setWindowTwips(double left, double top, double width, double height);

    // The Combo2 entry of a document and its parts.
    static std::string comboEntry(const std::string &name, int slot, const std::string &folder);
    struct ComboParts {
        std::string name;
        int slot = -1;
        std::string folder;
    };
    static ComboParts parseComboEntry(const std::string &entry);
    // The Combo2 entry at a position (the list itself shows only the document's name).
    std::string comboEntryAt(int index) const;
    void addComboEntry(const std::string &entry);
    void setComboEntry(int index, const std::string &entry);

    // ---- in-cell editing (kihon_editing.cpp) ----
    // Sheet events (every one acts on the current sheet Grid1(CUR_SLOT)).
    void GRID1_Click();
    void GRID1_DblClick();
    void GRID1_GotFocus();
    void GRID1_KeyDown(int &keyCode, int shift);
    void Grid1_MouseDown(int button, int shift, int x, int y);
    void GRID1_MouseMove(int button, int shift, int x, int y);
    void GRID1_RowColChange();
    void GRID1_SelChange();
    // The cell editor Text1 (key codes 13 Enter, 27 Escape).
    void Text1_GotFocus();
    void Text1_KeyDown(int keyCode);
    void Text1_LostFocus();
    void openCellEditor(bool withFocus);
    void Frame1_DblClick();
    void Label10_DblClick();
    bool cellEditorFocused = false; // Text1 has had its GotFocus and not yet its LostFocus

    // ---- menu commands (kihon_commands.cpp) ----
    // Size-print modes, calculation unit, column display sets.
    void GARASU_MIRI_Click();
    void GARASU_SYAKU_Click();
    void GARASU_DEL_Click();
    void KEISAN_Click(int unit); // KEISAN_001 .. KEISAN_1000: 1, 10, 100, 1000
    void NOMAL_WIDTH_Click();
    void SITEI_WIDTH_Click();
    // The search menu, also the sheet's right-click pop-up.
    void INPUT_bukkenmei_Click();
    void all_grid_calc_Click();
    void SERCH_SYOHIN_Click();
    void SERCH_SETHIN_Click();
    void SERCH_GARASU_Click();
    void HENSYU_MENU_DISP_Click();
    // The colour form, the header form, the tax settings form (modeless), the launcher.
    void IRO_SETTEI_Click();
    void ZOKUSEI_MIT_Click();
    void SYOHIZEI_000_Click();
    void launchFromMenu(const QString &menuEntry);
    // Forms and commands of other parts of the program that these menus reach, set to the
    // program's own when the window is built (a test may set others); a menu entry whose hook is
    // not set does nothing. The form hooks return the form loaded (hidden); the command shows
    // and places it. IRO_SET_SHOWN tells the colour form that it stands.
    struct FormHooks {
        std::function<QWidget *()> SSKENSA, SSSET, SSGARASUFM, IRO_SET;
        std::function<void()> IRO_SET_SHOWN;
        std::function<void()> PRN_HAKKOBI_Click, PRN_PRINT_Click;
        std::function<void()> SERCH_SELECT_OUT_Click, SERCH_SELECT_IN_Click;
    };
    FormHooks hooks;

    // ---- CoreUi ----
    void beep() override;
    int msgBox(const std::string &text, int buttons = qd::core::Buttons::Ok) override;
    void setMenuEnabled(const std::string &name, bool enabled) override;
    void setControlText(const std::string &name, const std::string &text) override;
    void setControlMarked(const std::string &name, bool marked) override;
    void comboClear(const std::string &name) override;
    void comboAddItem(const std::string &name, const std::string &text) override;
    void setMousePointer(int pointer) override;
    void showSheetFrame(int top, int left, int height, int width) override;
    int formWidth() const override { return widthTwips(); }
    int formHeight() const override { return heightTwips(); }
    void setEditAxisOption(bool rows) override;
    void KIHON_CAPTION_SET() override;
    void GRID_HEADER_SET() override;

    // ---- DisplayUi ----
    void setMenuVisible(const std::string &name, bool visible) override;
    void setControlVisible(const std::string &name, bool visible) override;
    void setStoreWidthsEnabled(bool enabled) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    // A handler of this window as a slot that runs through the command guard: a failure it does
    // not handle itself is shown and leaves the window and its documents as they are.
    std::function<void()> guarded(std::function<void()> command);

private:
    void buildControls();
    // The menu tree from the menu table, every entry connected to its command.
    void buildMenus();
    void setDocumentMenusEnabled(bool enabled);
    // Combo4's size, so that its breakdown lines show whole.
    void fitTaxBreakdown();
    // Connects the sheets' events, the cell editor, Frame1 and Label10 to their handlers; run
    // once by the constructor. disconnectEditing takes the hooks off again (the destructor).
    void connectEditing();
    void disconnectEditing();
    void startScreenLayout();
    void placeDocumentWindow();
    void bringSheetToFront(int slot);
    int freeSlot();
    void startValues();
    void readFolderPointer();
    bool openDocumentInSlot(int slot, const std::string &name, const std::string &folder, bool startUp);
    void abandonNewSlot(int slot, int previousIndex);
    // The product pickers, which add to the current document, close when no document is left.
    void closeDocumentPickers();
    // The sheet of a document just set up: page numbers, cursor at its first cell, in front.
    void documentShown();
    void showStartState();
    QWidget *controlByName(const std::string &name) const;

    std::unique_ptr<qd::qt::MenuTree> m_menus;
    KihonCanvas *m_canvas = nullptr;
    double m_widthTwips = 13530, m_heightTwips = 10530;
    bool m_hourglass = false;
};

} // namespace qd::forms
