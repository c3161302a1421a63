#include "quotedesk/mainwindow/launcher.h"

#include "platform/files/paths.h"
#include "platform/qt/qt_seam.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"
#include "platform/text/cp932.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace qd::forms {

namespace {

const std::array<LaunchEntry, 22> LAUNCH_TABLE = {{
    {"ZOKUSEI_OWN", "\\ownmaint.exe"},
    {"ZOKUSEI_PRN", "\\SETTEI.EXE"},
    {"HOJYO_TOKUI", "\\partnermaint.exe"},
    {"HOJYO_MAKER", "\\groupmaint.exe"},
    {"HOJYO_BUNRUI", "\\classmaint.exe"},
    {"HOJYO_HINSYU1", "\\kind1maint.exe"},
    {"HOJYO_HINSYU2", "\\kind2maint.exe"},
    {"HOJYO_IRO", "\\colormaint.exe"},
    {"HOJYO_CIHO", "\\sectmaint.exe"},
    {"HOJYO_TANKA", "\\pricemaint.exe"},
    {"HOJYO_GARASU", "\\itemmaint.exe"},
    {"HOJYO_SETHIN", "\\setitemreg.exe"},
    {"HOJYO_ikkatu_hisyu1", "\\ratebulk1.exe"},
    {"HOJYO_ikkatu_hisyu2", "\\ratebulk2.exe"},
    {"HENKAN_010", "\\csvgroup.exe"},
    {"HENKAN_020", "\\csvcolor.exe"},
    {"HENKAN_030", "\\csvsect.exe"},
    {"HENKAN_040", "\\csvclass.exe"},
    {"HENKAN_050", "\\csvkind1.exe"},
    {"HENKAN_060", "\\csvkind2.exe"},
    {"HENKAN_070", "\\csvprice.exe"},
    {"HENKAN_080", "\\csvitem.exe"},
}};

// "\partnermaint.exe" -> "partnermaint".
QString bareName(const QString &literal)
{
    QString name = literal;
    while (name.startsWith(u'\\') || name.startsWith(u'/'))
        name.remove(0, 1);
    if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

QString installPath(const std::string &instDir, const QString &literal)
{
    return QString::fromStdString(qd::text::trim(instDir)) + literal;
}

} // namespace

const std::array<LaunchEntry, 22> &launchTable() { return LAUNCH_TABLE; }

const char *launchLiteral(const QString &menu)
{
    for (const LaunchEntry &e : LAUNCH_TABLE)
        if (menu == QLatin1String(e.menu))
            return e.literal;
    return nullptr;
}

QString resolveLaunchProgram(const std::string &instDir, const QString &literal, const QString &besideDir)
{
    const QString inInstall = installPath(instDir, literal);
    if (!qd::qt::resolveProgram(inInstall).isEmpty())
        return inInstall;
    const QString name = bareName(literal);
    if (!besideDir.isEmpty() && !name.isEmpty()) {
        const std::string beside = besideDir.toStdString() + "/" + name.toStdString();
        const QFileInfo host(QString::fromStdString(qd::files::hostPath(beside).string()));
        if (host.isFile() && host.isExecutable())
            return host.absoluteFilePath();
    }
    return inInstall;
}

QString launchFailedMessage(const QString &literal, const QString &program)
{
    const QString shown = QString::fromStdString(qd::files::hostPath(program.toStdString()).string());
    return qd::qt::twoLines(QStringLiteral("「%1」を起動できません。").arg(bareName(literal)),
                            QStringLiteral("プログラムが見つからないか、実行できません。(%1)").arg(shown));
}

bool launchProgram(const std::string &instDir, const QString &literal)
{
    const QString program = resolveLaunchProgram(instDir, literal, QCoreApplication::applicationDirPath());
    const QString workingDir = QString::fromStdString(qd::text::trim(instDir));
    if (qd::qt::startProcess(program, {}, workingDir))
        return true;
    qd::qt::beep();
    qd::qt::msgBox(launchFailedMessage(literal, program));
    return false;
}

} // namespace qd::forms
