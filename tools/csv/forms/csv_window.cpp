#include "tools/csv/forms/csv_window.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "tools/csv/engine/csv_convert.h"

namespace qd::csv {

using namespace qd::qt;

QFont gothicFont(double points, bool bold)
{
    QFont f(QStringLiteral("ＭＳ ゴシック"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont systemFont(double points, bool bold)
{
    QFont f(QStringLiteral("System"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

CsvWindow::CsvWindow(const CsvTable &table, CsvState &state)
    : ToolWindow(QString::fromStdString(table.tool)), g(state), m_table(table)
{
    setObjectName(QStringLiteral("FRM001"));
    setColors(this, Qt::black, colorOfBgr(0x00C0C0C0));
    setPendingMessages([this] { return g.partialNotes.takeTexts("\r"); });
}

QString CsvWindow::exportNotice(const std::string &instDir, const std::string &word)
{
    return QStringLiteral("運用中の") + QString::fromStdString(instDir) + QStringLiteral("の\n") +
           QString::fromStdString(word) + QStringLiteral(" を変換します。");
}

QLabel *CsvWindow::addTitle(const TwipsRect &at)
{
    QLabel *l = addLabel(QStringLiteral("Label1"), QString::fromStdString(m_table.title), at, gothicFont(14, true));
    l->setAlignment(Qt::AlignCenter);
    setColors(l, colorOfBgr(0x00FF0000), colorOfBgr(0x00C0C0C0));
    return l;
}

QLabel *CsvWindow::addNotice(const TwipsRect &at)
{
    QLabel *l = addLabel(QStringLiteral("Label2"), QString(), at, systemFont(11, true));
    l->setAlignment(Qt::AlignCenter);
    setColors(l, colorOfBgr(0x00FF0000), colorOfBgr(0x00FFFF80));
    l->hide();
    return l;
}

QPushButton *CsvWindow::addCommand(const QString &name, const QString &caption, const TwipsRect &at)
{
    QPushButton *b = addButton(name, caption, at, systemFont(11, true));
    b->setAutoDefault(true); // Enter on the focused button presses it, as Space does
    return b;
}

void CsvWindow::showExportNotice(QLabel *notice, const std::string &word)
{
    notice->setText(exportNotice(g.INST_DIR, word));
    notice->show();
}

QString CsvWindow::importQuestion(const std::string &word, const QString &note)
{
    return QStringLiteral("元の") + QString::fromStdString(word) + QStringLiteral("を削除します。") + u'\r' +
           (note.isEmpty() ? QString() : note + u'\r') + QStringLiteral("よろしいですか？");
}

QString CsvWindow::emptyCsvNote(const QStringList &csvNames, const QString &emptied)
{
    return firstEight(csvNames, QStringLiteral("、"), QStringLiteral(" ")) + QStringLiteral(" にはデータの行がありません。") +
           emptied;
}

QString CsvWindow::firstEight(const QStringList &items, const QString &separator, const QString &beforeRest)
{
    constexpr qsizetype Shown = 8;
    QString text = items.mid(0, Shown).join(separator);
    if (items.size() > Shown)
        text += beforeRest + QStringLiteral("ほか %1 件").arg(items.size() - Shown);
    return text;
}

bool CsvWindow::ask(const QString &question)
{
    g.MSG_ANS = message(question, Buttons::YesNo);
    return g.MSG_ANS == Answer::Yes;
}

bool CsvWindow::convert(bool exporting, const std::function<void()> &run, const std::string &word)
{
    bool done = false;
    try {
        run();
        done = true;
    } catch (const CsvRefused &e) {
        reportFailure(exporting, QString::fromStdString(e.what()), word);
    } catch (const std::exception &e) {
        reportFailure(exporting, failureText({}, e), word);
    }
    showPendingMessages();
    return done;
}

void CsvWindow::reportFailure(bool exporting, const QString &message, const std::string &word)
{
    const QString kept = exporting ? QStringLiteral("ＣＳＶファイルは前のままです。")
                                   : QStringLiteral("元の") + QString::fromStdString(word) + QStringLiteral("はそのままです。");
    userError(message + u'\r' + kept);
}

} // namespace qd::csv
