// The window of the single-file CSV tools (csvgroup, csvsect, csvcolor, csvclass and csvitem):
// one master, one CSV file, one conversion per start. Each run, and a No to its question, ends
// the tool.
#pragma once

#include "tools/csv/forms/csv_window.h"

namespace qd::csv::master {

class FRM001 : public CsvWindow {
    Q_OBJECT
public:
    FRM001(const CsvTable &table, CsvState &g);

    // Command1 exports, Command2 imports, Command3 ends.
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
};

// csvitem's window is the same form under its own name.
using FRM008 = FRM001;

// The main program of a single-file tool.
int runMasterTool(int argc, char **argv, const CsvTable &table);

} // namespace qd::csv::master
