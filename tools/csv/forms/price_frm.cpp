#include "tools/csv/forms/price_frm.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include <algorithm>

#include "platform/qt/file_list_box.h"
#include "platform/qt/list_box.h"
#include "tools/csv/engine/csv_convert.h"
#include "tools/csv/engine/file_families.h"
#include "tools/csv/engine/price_run.h"

namespace qd::csv::price {

using namespace qd::qt;

namespace {

QLabel *nameLabel(CsvWindow *w, const QString &name, double top)
{
    auto *l = new QLabel(w);
    l->setObjectName(name);
    l->setFont(gothicFont(14, false));
    l->setFrameShape(QFrame::Box);
    ToolWindow::setColors(l, colorOfBgr(0x00FF0000), colorOfBgr(0x00C0C0C0));
    setGeometryTwips(l, 120, top, 4940, 380);
    return l;
}

} // namespace

FRM001::FRM001(CsvState &state) : ListingWindow(priceTable(), state)
{
    Label1 = addTitle({960, 120, 5540, 380});
    Label2 = addNotice({120, 720, 7450, 1210});
    Command1 = addCommand(QStringLiteral("Command1"), QStringLiteral("基本情報－－－＞ＣＳＶ"), {840, 2040, 3735, 375});
    Command2 = addCommand(QStringLiteral("Command2"), QStringLiteral("ＣＳＶ－－－＞基本情報"), {840, 2520, 3735, 375});
    Label5 = nameLabel(this, QStringLiteral("Label5"), 3000);
    Label6 = nameLabel(this, QStringLiteral("Label6"), 3360);
    Label7 = nameLabel(this, QStringLiteral("Label7"), 3720);
    List1 = addListBox(QStringLiteral("List1"), {5160, 2040, 2295, 1980}, gothicFont(14, true), false);
    List1->setSelectionKind(ListBox::Selection::Extended);
    Command4 = addCommand(QStringLiteral("Command4"), QStringLiteral("実  行"), {840, 4200, 1575, 495});
    Command5 = addCommand(QStringLiteral("Command5"), QStringLiteral("取  消"), {2880, 4200, 1575, 495});
    Command3 = addCommand(QStringLiteral("Command3"), QStringLiteral("終　了"), {4920, 4200, 1575, 495});
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);
    setTabOrder(Command4, Command5);
    setTabOrder(Command5, List1);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    setColors(Frame1, Qt::black, colorOfBgr(0x00C0C0C0));
    Frame1->setFrameShape(QFrame::Box);
    Label4 = new QLabel(QStringLiteral("しばらくお待ち下さい。"), Frame1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(gothicFont(14, true));
    setColors(Label4, colorOfBgr(0x000000FF), colorOfBgr(0x00C0C0C0));
    setGeometryTwips(Label4, 600, 960, 3255, 375);
    Frame1->hide();

    for (std::size_t d = 0; d < File.size(); ++d) {
        File[d] = new FileListBox(this);
        File[d]->setObjectName(QStringLiteral("File%1").arg(d + 1));
        File[d]->hide();
    }

    connectEvents();
}

void FRM001::Form_Load()
{
    load(7815, 5370);
    fitFileList();
}

void FRM001::fitFileList()
{
    // Every name listed is eight digits and an extension of three letters in either case; the
    // widest of them at the list's font is the width the names need to show whole.
    int needed = 0, lineHeight = 0;
    for (const QString &name : {QStringLiteral("00000000.TXT"), QStringLiteral("88888888.CSV"),
                                QStringLiteral("00000000.txt"), QStringLiteral("88888888.csv")}) {
        needed = std::max(needed, List1->widthToShow(name));
        lineHeight = std::max(lineHeight, List1->lineSize(name).height());
    }
    const int frame = 2 * List1->frameWidth();
    // Wider as far as the margin the name labels keep at the window's left edge.
    const int room = width() - twipsToPixelsX(120) - List1->x();
    const int w = needed > List1->width() ? std::min(needed, std::max(room, List1->width())) : List1->width();
    // Lower by what a line cut at the foot would show: the list shows whole lines only.
    const int h = lineHeight > 0 ? frame + std::max(1, (List1->height() - frame) / lineHeight) * lineHeight
                                 : List1->height();
    List1->resize(w, h);
}

// Lists the list-price files (mode 1) or their CSV files (mode 2) of the data folder, grouped by
// their first digit. Only names of eight digits are price files: any other name would stand for
// another file than itself.
void FRM001::LIST_PRICE_FILES(int mode)
{
    g.MODE = mode;
    const QString ext = mode == 2 ? QStringLiteral("CSV") : QStringLiteral("TXT");
    const QString data = QString::fromStdString(g.INST_DIR + "\\data\\");
    for (std::size_t d = 0; d < File.size(); ++d) {
        File[d]->setPath(data);
        File[d]->setPattern(QString::number(d) + QStringLiteral("*.") + ext);
        File[d]->refresh();
    }
    List1->clearLines();
    for (FileListBox *box : File)
        for (int i = 0; i < box->lineCount(); ++i)
            if (isPriceFileName(box->lineText(i).toStdString(), ext.toStdString()))
                List1->addLine(box->lineText(i));
    listed();
}

// Shows the names of the major class, class and kind of the entry clicked.
void FRM001::PRICE_FILE_INFO()
{
    const int index = List1->listIndex();
    if (index < 0)
        return;
    g.CUR_ENTRY = List1->lineText(index).toStdString();
    const PriceEntryInfo info = priceEntryInfo(g.INST_DIR, g.CUR_ENTRY.substr(0, 8), &g.partialNotes);
    Label5->setText(QString::fromStdString(info.majorName));
    Label6->setText(QString::fromStdString(info.className));
    Label7->setText(QString::fromStdString(info.kindName));
    Command4->setEnabled(true);
    Command4->setFocus();
}

// Converts every picked entry in the listed direction, after one question for them all.
void FRM001::CONVERT_RUN()
{
    runListed(
        [this](bool exporting) {
            // The export's panel stands in the middle of the window, the import's at a fixed place.
            runPicked(exporting, exporting ? TwipsRect{(7815 - 4215) / 2.0, (5370 - 2175) / 2.0, 4215, 2175}
                                           : TwipsRect{3720, 2760, 4215, 2175});
        },
        [this] {
            // The picked files without records empty their list-price files: the question names them.
            QStringList empty;
            std::vector<std::string> seen;
            for (int i : List1->selectedLines()) {
                const std::string key = List1->lineText(i).toStdString().substr(0, 8);
                if (std::find(seen.begin(), seen.end(), key) != seen.end())
                    continue;
                seen.push_back(key);
                if (importLeavesEmpty(priceTable(), priceFiles(g.INST_DIR, key).csv))
                    empty << QString::fromStdString(key) + QStringLiteral(".CSV");
            }
            if (empty.isEmpty())
                return QString();
            return emptyCsvNote(empty, empty.size() == 1 ? QStringLiteral("その定価情報は空になります。")
                                                         : QStringLiteral("これらの定価情報は空になります。"));
        });
}

void FRM001::runPicked(bool exporting, const TwipsRect &at)
{
    std::vector<std::string> keys;
    for (int i : List1->selectedLines()) {
        g.CUR_ENTRY = List1->lineText(i).toStdString();
        keys.push_back(g.CUR_ENTRY.substr(0, 8));
    }
    setGeometryTwips(Frame1, at.left, at.top, at.width, at.height);
    Frame1->show();
    Frame1->raise();
    Frame1->repaint();
    std::vector<qd::records::PartialRecordNotice> inPart;
    const std::vector<EntryFailure> failures =
        convertPriceKeys(g.INST_DIR, keys, exporting ? Direction::Export : Direction::Import, 0, &inPart);
    Frame1->hide();
    const QString lineBreak = QStringLiteral("\r");
    if (!inPart.empty()) {
        // One notice for the run: the files exported with their whole records only.
        QStringList notices;
        for (const qd::records::PartialRecordNotice &n : inPart)
            notices << QString::fromStdString(n.text("\r"));
        userError(firstEight(notices, lineBreak, lineBreak));
    }
    if (failures.empty())
        return;
    // One report for the run: the other entries were converted.
    QStringList messages;
    for (const EntryFailure &f : failures)
        messages << QString::fromStdString(f.message);
    userError(QStringLiteral("変換できなかったファイルがあります。") + lineBreak + firstEight(messages, lineBreak, lineBreak) +
              lineBreak +
              (exporting ? QStringLiteral("これらのＣＳＶファイルは前のままです。")
                         : QStringLiteral("これらの定価情報は元のままです。")));
}

int runPriceTool(int argc, char **argv)
{
    CsvState g;
    return runTool(argc, argv,
                   {QStringLiteral("csvprice"), {QStringLiteral("\\data")}, [&]() -> std::unique_ptr<QWidget> {
                        g.INST_DIR = installFolder();
                        auto w = std::make_unique<FRM001>(g);
                        w->Form_Load();
                        return w;
                    }});
}

} // namespace qd::csv::price
