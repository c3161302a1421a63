// What the three windows of the CSV tools share: the program's state, the title line and the
// notice above the buttons, the question before a run and the report of a run that failed.
#pragma once

#include <QFont>
#include <QString>

#include <functional>
#include <string>

#include "platform/qt/tool_window.h"
#include "records/whole_file.h"
#include "tools/csv/engine/csv_table.h"

class QLabel;
class QPushButton;

namespace qd::csv {

// The globals of a CSV tool.
struct CsvState {
    std::string INST_DIR;  // the install folder: the working folder, trimmed
    int MSG_ANS = 0;       // the answer to the last question
    int MODE = 0;          // kind and list-price tools: 0 nothing listed, 1 export, 2 import
    int MAJOR_NO = 0;      // kind tools: the chosen major class
    std::string CUR_ENTRY; // list-price tool: the list line being shown or converted
    // Masters exported in part (they end in a part of a record) that the user is still to be
    // told of.
    qd::records::PartialRecordNotes partialNotes;
};

// The fonts of the windows: the title line and the lists in a gothic face, the buttons and
// the notice in the system face.
QFont gothicFont(double points, bool bold);
QFont systemFont(double points, bool bold);

class CsvWindow : public qd::qt::ToolWindow {
    Q_OBJECT
public:
    CsvWindow(const CsvTable &table, CsvState &g);

    // The controls every CSV window has; each window places them itself.
    QLabel *Label1 = nullptr;        // the title line
    QLabel *Label2 = nullptr;        // the export's notice
    QPushButton *Command1 = nullptr; // 基本情報－－－＞ＣＳＶ
    QPushButton *Command2 = nullptr; // ＣＳＶ－－－＞基本情報
    QPushButton *Command3 = nullptr; // 終　了

    const CsvTable &table() const { return m_table; }
    CsvState &state() { return g; }

    // "運用中の" + install folder + "の", a line break, the master's word + " を変換します。"
    static QString exportNotice(const std::string &instDir, const std::string &word);

protected:
    // The title line, blue on the window's grey, and the notice, blue on pale cyan, hidden.
    QLabel *addTitle(const qd::qt::TwipsRect &at);
    QLabel *addNotice(const qd::qt::TwipsRect &at);
    QPushButton *addCommand(const QString &name, const QString &caption, const qd::qt::TwipsRect &at);

    // Shows the export notice for the master's word.
    void showExportNotice(QLabel *notice, const std::string &word);
    // "元の" + word + "を削除します。", a line break, "よろしいですか？"; with a note (that the
    // CSV file holds no record and the master is left empty) as a line of its own before the last.
    static QString importQuestion(const std::string &word, const QString &note = {});
    // The note of the import's question for CSV files that hold no record: their names (eight at
    // most, the rest counted) + " にはデータの行がありません。" + what becomes empty.
    static QString emptyCsvNote(const QStringList &csvNames, const QString &emptied);
    // The first eight of `items` joined by `separator`, then `beforeRest` + "ほか n 件" for the
    // rest: a message names no more files than its box shows well.
    static QString firstEight(const QStringList &items, const QString &separator, const QString &beforeRest);
    // A beep went before: the question with Yes and No; true on Yes.
    bool ask(const QString &question);
    // Runs one conversion. A refused CSV file or a file that failed is reported with what stayed
    // as it was; returns false then. A master exported in part is told of afterwards.
    bool convert(bool exporting, const std::function<void()> &run, const std::string &word);
    // The report of a failed conversion: its message and what stayed as it was.
    void reportFailure(bool exporting, const QString &message, const std::string &word);

    CsvState &g;

private:
    const CsvTable &m_table;
};

} // namespace qd::csv
