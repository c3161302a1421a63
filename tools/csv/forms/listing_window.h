// The windows that list a family of files first and convert what is picked: csvkind1, csvkind2
// and csvprice. A listing closes both direction buttons until a run ends or the listing is
// cancelled; the window stays open for the next run.
#pragma once

#include <functional>

#include "tools/csv/forms/csv_window.h"

class QPushButton;

namespace qd::qt {
class ListBox;
} // namespace qd::qt

namespace qd::csv {

class ListingWindow : public CsvWindow {
    Q_OBJECT
public:
    ListingWindow(const CsvTable &table, CsvState &g);

    // Command1 lists the files for export, Command2 for import.
    qd::qt::ListBox *List1 = nullptr;
    QPushButton *Command4 = nullptr; // 実行
    QPushButton *Command5 = nullptr; // 取消

    virtual void Command1_Click() = 0;
    virtual void Command2_Click() = 0;
    virtual void List1_Click() = 0;
    virtual void Command4_Click() = 0;
    // Cancels the listing.
    void Command5_Click() { backToStart(); }
    void Command3_Click() { unload(); }

protected:
    // Wires the controls' events to the handlers, each under the guard; once the controls exist.
    void connectEvents();
    // Sizes, centres and shows the window, nothing to run yet, the end button focused.
    void load(double widthTwips, double heightTwips);
    // After a listing: both directions closed, the list focused.
    void listed();
    // The run of the listed direction: its beep and question (the export's notice first; the
    // import's with the note `importNote` gives, if any), on Yes `run` (true: export), then back
    // to the start with the end button focused.
    void runListed(const std::function<void(bool exporting)> &run,
                   const std::function<QString()> &importNote = {});
    // List empty, both directions open, nothing to run.
    void backToStart();
};

} // namespace qd::csv
