// The window of csvkind1 and csvkind2: the kind files (or their CSV files) of the data folder
// are listed under their major classes, one is chosen and converted; the window stays open for
// the next one.
#pragma once

#include "tools/csv/forms/listing_window.h"

namespace qd::qt {
class FileListBox;
} // namespace qd::qt

namespace qd::csv::kind {

class FRM001 : public ListingWindow {
    Q_OBJECT
public:
    // `kind` 1 or 2.
    FRM001(int kind, CsvState &g);

    qd::qt::FileListBox *File1 = nullptr; // finds the kind or CSV files; never shown

    void Form_Load();
    void Command1_Click() override { LIST_KIND_FILES(1); }
    void Command2_Click() override { LIST_KIND_FILES(2); }
    void List1_Click() override;
    void Command4_Click() override { CONVERT_RUN(); }

    void LIST_KIND_FILES(int mode);
    void CONVERT_RUN();

private:
    int m_kind;
};

// The main program of csvkind1 (`kind` 1) or csvkind2 (2).
int runKindTool(int argc, char **argv, int kind);

} // namespace qd::csv::kind
