#include "tools/csv/forms/kind_frm.h"

#include <QLabel>
#include <QPushButton>

#include "platform/files/file_read.h"
#include "platform/qt/file_list_box.h"
#include "platform/qt/list_box.h"
#include "records/layouts.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"

namespace qd::csv::kind {

using namespace qd::qt;

namespace {

const CsvTable &tableOf(int kind) { return kind == 2 ? kind2Table() : kind1Table(); }

} // namespace

FRM001::FRM001(int kind, CsvState &state) : ListingWindow(tableOf(kind), state), m_kind(kind)
{
    // csvkind2's controls stand a little further right than csvkind1's.
    const bool two = kind == 2;
    const double left = two ? 840 : 720;
    Label1 = addTitle({960, 240, 5535, 375});
    Label2 = addNotice({120, 720, 7450, 1210});
    Command1 = addCommand(QStringLiteral("Command1"), QStringLiteral("基本情報－－－＞ＣＳＶ"), {left, 2280, 3735, 375});
    Command2 = addCommand(QStringLiteral("Command2"), QStringLiteral("ＣＳＶ－－－＞基本情報"), {left, 3120, 3735, 375});
    List1 = addListBox(QStringLiteral("List1"), {two ? 4920.0 : 4800.0, 2040, two ? 2175.0 : 2295.0, 1980},
                       gothicFont(14, true), false);
    Command4 = addCommand(QStringLiteral("Command4"), two ? QStringLiteral("実  行") : QStringLiteral("実   行"),
                          {left, 4200, 1575, 495});
    Command5 = addCommand(QStringLiteral("Command5"), QStringLiteral("取  消"), {two ? 3240.0 : 3120.0, 4200, 1575, 495});
    Command3 = addCommand(QStringLiteral("Command3"), QStringLiteral("終　了"), {5520, 4200, 1575, 495});
    File1 = new FileListBox(this);
    File1->setObjectName(QStringLiteral("File1"));
    setGeometryTwips(File1, two ? 7440 : 8280, two ? 3480 : 1800, two ? 1815 : 1575, two ? 2184 : 1644);
    connectEvents();
}

void FRM001::Form_Load()
{
    File1->hide();
    load(m_kind == 2 ? 7910 : 7815, 5370);
}

// Lists the major classes whose kind files (mode 1) or CSV files (mode 2) are in the data folder.
void FRM001::LIST_KIND_FILES(int mode)
{
    g.MODE = mode;
    const bool csv = mode == 2;
    const std::string k = std::to_string(m_kind);
    File1->setPath(QString::fromStdString(g.INST_DIR + "\\data\\"));
    File1->setPattern(QString::fromStdString(csv ? "品種" + k + "*.CSV" : "HISYU" + k + "*.TXT"));
    File1->refresh();
    List1->clearLines();
    std::vector<std::string> names;
    for (int i = 0; i < File1->lineCount(); ++i)
        names.push_back(File1->lineText(i).toStdString());
    const std::string makerPath = dataPath(g.INST_DIR, "MAKER.TXT");
    const qd::files::FileSnapshot makers = qd::files::readWholeFile(makerPath);
    g.partialNotes.see(makerPath, static_cast<std::int64_t>(makers.bytes.size()), qd::records::MajorClass::layout().length);
    for (const std::string &line : kindListLines(names, m_kind, csv, makers.bytes))
        List1->addLine(QString::fromStdString(line));
    listed();
}

void FRM001::List1_Click()
{
    const QString line = List1->lineText(List1->listIndex());
    if (line.size() < 2 || !line[0].isDigit() || !line[1].isDigit())
        return;
    g.MAJOR_NO = line.left(2).toInt();
    Command4->setEnabled(true);
    Command4->setFocus();
}

// Converts the chosen major class's kind file in the listed direction, after its question.
void FRM001::CONVERT_RUN()
{
    const ConversionFiles f = kindFiles(g.INST_DIR, m_kind, g.MAJOR_NO);
    runListed(
        [&](bool exporting) {
            convert(exporting,
                    [&] {
                        if (exporting)
                            exportFile(table(), f.master, f.csv, &g.partialNotes);
                        else
                            importFile(table(), f.csv, f.master, f.check);
                    },
                    table().word);
        },
        [&] {
            // A file without records empties the kind file: the question says so.
            return importLeavesEmpty(table(), f.csv, f.check)
                       ? emptyCsvNote({QString::fromStdString(kindCsvName(m_kind, g.MAJOR_NO))},
                                      QString::fromStdString(table().word) + QStringLiteral(" は空になります。"))
                       : QString();
        });
}

int runKindTool(int argc, char **argv, int kind)
{
    CsvState g;
    return runTool(argc, argv,
                   {QString::fromStdString(tableOf(kind).tool), {QStringLiteral("\\data")},
                    [&]() -> std::unique_ptr<QWidget> {
                        g.INST_DIR = installFolder();
                        auto w = std::make_unique<FRM001>(kind, g);
                        w->Form_Load();
                        return w;
                    }});
}

} // namespace qd::csv::kind
