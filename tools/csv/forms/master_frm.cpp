#include "tools/csv/forms/master_frm.h"

#include <QLabel>
#include <QPushButton>

#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"

namespace qd::csv::master {

using namespace qd::qt;

FRM001::FRM001(const CsvTable &table, CsvState &state) : CsvWindow(table, state)
{
    if (&table == &itemTable())
        setObjectName(QStringLiteral("FRM008"));
    // The colour tool's notice and buttons stand a little lower than the others'.
    const double down = &table == &colorTable() ? 120 : 0;
    Label1 = addTitle({960, 240, 5535, 375});
    Label2 = addNotice({120, 720 + down, 7450, 1210});
    Command1 = addCommand(QStringLiteral("Command1"), QStringLiteral("基本情報－－－＞ＣＳＶ"), {1920, 2160 + down, 3735, 375});
    Command2 = addCommand(QStringLiteral("Command2"), QStringLiteral("ＣＳＶ－－－＞基本情報"), {1920, 2760 + down, 3735, 375});
    Command3 = addCommand(QStringLiteral("Command3"), QStringLiteral("終　了"), {2760, 3480 + down, 1935, 495});
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    connect(Command1, &QPushButton::clicked, this, [this] { guarded([this] { Command1_Click(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { guarded([this] { Command2_Click(); }); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

void FRM001::Form_Load()
{
    placeCentred(7815, 5265);
    Label2->hide();
    showModeless(this);
    Command3->setFocus();
}

// Export: after the question the master goes to its CSV file, and the tool ends either way.
void FRM001::Command1_Click()
{
    beep();
    showExportNotice(Label2, table().word);
    if (ask(QStringLiteral("よろしいですか？"))) {
        const ConversionFiles f = singleFiles(g.INST_DIR, table());
        convert(true, [&] { exportFile(table(), f.master, f.csv, &g.partialNotes); }, table().word);
    }
    unload();
}

// Import: the CSV file is read and checked whole before the master is replaced; the tool ends
// either way.
void FRM001::Command2_Click()
{
    beep();
    const ConversionFiles f = singleFiles(g.INST_DIR, table());
    // A file without records empties the master: the question says so.
    const QString note = importLeavesEmpty(table(), f.csv, f.check)
                             ? emptyCsvNote({QString::fromStdString(table().csvName)},
                                            QString::fromStdString(table().word) + QStringLiteral(" は空になります。"))
                             : QString();
    if (ask(importQuestion(table().word, note))) {
        convert(false, [&] { importFile(table(), f.csv, f.master, f.check); }, table().word);
    }
    unload();
}

void FRM001::Command3_Click() { unload(); }

int runMasterTool(int argc, char **argv, const CsvTable &table)
{
    CsvState g;
    return runTool(argc, argv,
                   {QString::fromStdString(table.tool), {QStringLiteral("\\data")}, [&]() -> std::unique_ptr<QWidget> {
                        g.INST_DIR = installFolder();
                        auto w = std::make_unique<FRM001>(table, g);
                        w->Form_Load();
                        return w;
                    }});
}

} // namespace qd::csv::master
