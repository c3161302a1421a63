// The window of csvprice: the list-price files (or their CSV files) of the data folder are
// listed, any number of them picked, and all of them converted in one run; the window stays open
// for the next run.
#pragma once

#include <array>

#include "tools/csv/forms/csv_window.h"

class QFrame;
class QLabel;
class QPushButton;

namespace qd::qt {
class FileListBox;
class ListBox;
} // namespace qd::qt

namespace qd::csv::price {

class FRM001 : public CsvWindow {
    Q_OBJECT
public:
    explicit FRM001(CsvState &g);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command1 = nullptr; // list the price files for export
    QPushButton *Command2 = nullptr; // list the CSV files for import
    QLabel *Label5 = nullptr;        // major-class name of the entry clicked
    QLabel *Label6 = nullptr;        // class name
    QLabel *Label7 = nullptr;        // kind name
    qd::qt::ListBox *List1 = nullptr;
    QPushButton *Command4 = nullptr; // 実  行
    QPushButton *Command5 = nullptr; // 取  消
    QPushButton *Command3 = nullptr; // 終　了
    QFrame *Frame1 = nullptr;        // "しばらくお待ち下さい。" while a run works
    QLabel *Label4 = nullptr;
    std::array<qd::qt::FileListBox *, 10> File{}; // File1 .. File10: one per first digit

    void Form_Load();
    void Command1_Click() { LIST_PRICE_FILES(1); }
    void Command2_Click() { LIST_PRICE_FILES(2); }
    void List1_Click() { PRICE_FILE_INFO(); }
    void Command4_Click() { CONVERT_RUN(); }
    void Command5_Click();
    void Command3_Click();

    void LIST_PRICE_FILES(int mode);
    void PRICE_FILE_INFO();
    void CONVERT_RUN();

private:
    void backToStart();
    // Converts the picked entries with the progress panel shown at `at`; reports the failures.
    void runPicked(bool exporting, const qd::qt::TwipsRect &at);
};

// The main program of csvprice.
int runPriceTool(int argc, char **argv);

} // namespace qd::csv::price
