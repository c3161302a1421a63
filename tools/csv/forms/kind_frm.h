// The window of csvkind1 and csvkind2: the kind files (or their CSV files) of the data folder
// are listed under their major classes, one is chosen and converted; the window stays open for
// the next one.
#pragma once

#include "tools/csv/forms/csv_window.h"

class QLabel;
class QPushButton;

namespace qd::qt {
class FileListBox;
class ListBox;
} // namespace qd::qt

namespace qd::csv::kind {

class FRM001 : public CsvWindow {
    Q_OBJECT
public:
    // `kind` 1 or 2.
    FRM001(int kind, CsvState &g);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command1 = nullptr; // list the kind files for export
    QPushButton *Command2 = nullptr; // list the CSV files for import
    qd::qt::ListBox *List1 = nullptr;
    QPushButton *Command4 = nullptr; // 実行
    QPushButton *Command5 = nullptr; // 取消
    QPushButton *Command3 = nullptr; // 終　了
    qd::qt::FileListBox *File1 = nullptr;

    void Form_Load();
    void Command1_Click() { LIST_KIND_FILES(1); }
    void Command2_Click() { LIST_KIND_FILES(2); }
    void List1_Click();
    void Command4_Click() { CONVERT_RUN(); }
    void Command5_Click();
    void Command3_Click();

    void LIST_KIND_FILES(int mode);
    void CONVERT_RUN();

private:
    // Back to the start: list empty, both directions open, nothing to run.
    void backToStart();

    int m_kind;
};

// The main program of csvkind1 (`kind` 1) or csvkind2 (2).
int runKindTool(int argc, char **argv, int kind);

} // namespace qd::csv::kind
