// The window of csvprice: the list-price files (or their CSV files) of the data folder are
// listed, any number of them picked, and all of them converted in one run; the window stays open
// for the next run.
#pragma once

#include <array>

#include "tools/csv/forms/listing_window.h"

class QFrame;
class QLabel;

namespace qd::qt {
class FileListBox;
} // namespace qd::qt

namespace qd::csv::price {

class FRM001 : public ListingWindow {
    Q_OBJECT
public:
    explicit FRM001(CsvState &g);

    QLabel *Label5 = nullptr;        // major-class name of the entry clicked
    QLabel *Label6 = nullptr;        // class name
    QLabel *Label7 = nullptr;        // kind name
    QFrame *Frame1 = nullptr;        // "しばらくお待ち下さい。" while a run works
    QLabel *Label4 = nullptr;
    std::array<qd::qt::FileListBox *, 10> File{}; // File1 .. File10: one per first digit

    void Form_Load();
    void Command1_Click() override { LIST_PRICE_FILES(1); }
    void Command2_Click() override { LIST_PRICE_FILES(2); }
    void List1_Click() override { PRICE_FILE_INFO(); }
    void Command4_Click() override { CONVERT_RUN(); }

    void LIST_PRICE_FILES(int mode);
    void PRICE_FILE_INFO();
    void CONVERT_RUN();

private:
    // Widens the file list to the right, within the window's margin, where a name and the scroll
    // bar beside it do not fit its width at the font in use, and fits its height to whole lines.
    void fitFileList();
    // Converts the picked entries with the progress panel shown at `at`; reports the failures.
    void runPicked(bool exporting, const qd::qt::TwipsRect &at);
};

// The main program of csvprice.
int runPriceTool(int argc, char **argv);

} // namespace qd::csv::price
