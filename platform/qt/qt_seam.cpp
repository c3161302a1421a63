#include "platform/qt/qt_seam.h"

#include "platform/files/paths.h"
#include "platform/qt/file_filter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <QWindow>

#include <algorithm>
#include <filesystem>

namespace qd::qt {

namespace {

QString hostOf(const QString &systemPath)
{
    return QString::fromStdString(qd::files::hostPath(systemPath.toStdString()).string());
}

QString systemOf(const QString &hostPath)
{
    return QString::fromStdString(
        qd::files::systemPath(std::filesystem::path(hostPath.toStdString())));
}

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The widget of a window of this program.
QWidget *widgetOfWindow(const QWindow *window)
{
    if (!window)
        return nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->windowHandle() == window)
            return w;
    return nullptr;
}

bool isFloating(const QWidget *w)
{
    const Qt::WindowType type = w->windowType();
    return type == Qt::Tool || type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen;
}

// The window a dialog belongs to: the dialog standing open, else the active window; a floating
// tool window hands its dialogs to the window it floats over. Without either, the program's
// main window, else its first window shown.
QWidget *ownerWindow()
{
    QWidget *w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    if (w)
        w = w->window();
    for (int depth = 0; w && w->windowType() == Qt::Tool && depth < 8; ++depth) {
        QWidget *under = w->windowHandle() ? widgetOfWindow(w->windowHandle()->transientParent()) : nullptr;
        if (!under)
            break;
        w = under;
    }
    if (w && w->isVisible() && !isFloating(w))
        return w;
    QWidget *first = nullptr;
    for (QWidget *t : QApplication::topLevelWidgets()) {
        if (!t->isVisible() || isFloating(t))
            continue;
        if (t->inherits("QMainWindow"))
            return t;
        if (!first)
            first = t;
    }
    return first ? first : w;
}

// The parent of a dialog: its owner, unless the owner is disabled (a form shown over it), which
// would disable the dialog too.
QWidget *dialogParent(QWidget *owner)
{
    return owner && owner->isEnabled() ? owner : nullptr;
}

// Centres a dialog on the window it belongs to as it comes up, inside that window's screen.
class CentreOnOwner : public QObject {
public:
    CentreOnOwner(QWidget *dialog, QWidget *owner) : QObject(dialog), m_owner(owner)
    {
        dialog->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // After the show the dialog has its final size.
        if (event->type() == QEvent::ShowToParent && m_owner)
            centreOn(static_cast<QWidget *>(watched), m_owner);
        return false;
    }

private:
    QPointer<QWidget> m_owner;
};

// Gives the window a dialog belonged to the focus back as the dialog closes: where the window
// system leaves no window active, the focus control of the window would otherwise never be left
// as the user goes on, and a box would go on showing text it did not take.
class FocusBackToOwner {
public:
    explicit FocusBackToOwner(QWidget *owner) : m_owner(owner) {}
    ~FocusBackToOwner()
    {
        if (m_owner && m_owner->isVisible() && !m_owner->isActiveWindow())
            m_owner->activateWindow();
    }
    FocusBackToOwner(const FocusBackToOwner &) = delete;
    FocusBackToOwner &operator=(const FocusBackToOwner &) = delete;

private:
    QPointer<QWidget> m_owner;
};

} // namespace

void centreOn(QWidget *dialog, const QWidget *owner)
{
    if (!dialog || !owner)
        return;
    const QRect around = owner->frameGeometry();
    const QSize size = dialog->frameGeometry().size().expandedTo(dialog->size());
    QPoint at = around.center() - QPoint(size.width() / 2, size.height() / 2);
    if (const QScreen *screen = owner->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    dialog->move(at);
}

namespace {

// The least size of the file dialogs, in pixels: the list shows a name, size, kind and date
// side by side.
constexpr int FILE_DIALOG_WIDTH = 880;
constexpr int FILE_DIALOG_HEIGHT = 520;

// Gives the file dialog room for its words, as far as the window it belongs to is large: the
// list's size, kind and date columns as wide as what they show once the folder is read, and the
// side bar as wide as its places.
void fitFileDialog(QFileDialog &dlg, const QWidget *owner)
{
    QSize room(FILE_DIALOG_WIDTH, FILE_DIALOG_HEIGHT);
    if (owner)
        room = room.boundedTo(owner->frameGeometry().size());
    dlg.resize(dlg.size().expandedTo(room));
    auto *model = dlg.findChild<QFileSystemModel *>();
    auto *list = dlg.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (model && list)
        QObject::connect(model, &QFileSystemModel::directoryLoaded, list, [list] {
            for (int column = 1; column < list->header()->count(); ++column)
                list->resizeColumnToContents(column);
        });
    // The side bar has its share of the width once the dialog stands open.
    QTimer::singleShot(0, &dlg, [&dlg] {
        auto *places = dlg.findChild<QListView *>(QStringLiteral("sidebar"));
        auto *split = dlg.findChild<QSplitter *>(QStringLiteral("splitter"));
        if (!places || !split || split->count() != 2)
            return;
        const QList<int> sizes = split->sizes();
        const int room = places->sizeHintForColumn(0) + 2 * places->frameWidth() + 8;
        if (room > sizes.value(0) && sizes.value(0) + sizes.value(1) > 2 * room)
            split->setSizes({room, sizes.value(0) + sizes.value(1) - room});
    });
}

bool hasWildcard(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

FileDialogResult runFileDialog(const FileDialogRequest &request, bool save)
{
    QWidget *owner = ownerWindow();
    QFileDialog dlg(dialogParent(owner));
    new CentreOnOwner(&dlg, owner);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    // The overwrite question is asked below, in the system's own words.
    dlg.setOption(QFileDialog::DontConfirmOverwrite);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setWindowTitle(!request.dialogTitle.isEmpty() ? request.dialogTitle
                       : save                         ? QStringLiteral("名前を付けて保存")
                                                      : QStringLiteral("開く"));
    dlg.setLabelText(QFileDialog::LookIn, QStringLiteral("ファイルの場所:"));
    dlg.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dlg.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dlg.setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存") : QStringLiteral("開く"));
    dlg.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    dlg.setNameFilters(qtNameFilters(request.filter));
    fitFileDialog(dlg, owner);
    // The patterns match the names in either letter case.
    dlg.setFilter(dlg.filter() & ~QDir::CaseSensitive);

    QString dir = request.initDir.isEmpty() ? QString() : hostOf(request.initDir);
    if (!dir.isEmpty() && QFileInfo(dir).isDir())
        dlg.setDirectory(dir);
    if (!request.fileName.isEmpty() && !hasWildcard(request.fileName))
        dlg.selectFile(request.fileName);

    while (dlg.exec() == QDialog::Accepted) {
        const QStringList files = dlg.selectedFiles();
        if (files.isEmpty())
            continue;
        // A name typed in another letter case finds the file that is there.
        const QString system = systemOf(files.first());
        const QString host = hostOf(system);
        const QFileInfo info(host);
        if (save && (request.flags & OverwritePromptFlag) && info.exists()) {
            QMessageBox box(QMessageBox::Warning, dlg.windowTitle(),
                            info.fileName() + QStringLiteral("は既に存在します。上書きしますか？"),
                            QMessageBox::NoButton, &dlg);
            new CentreOnOwner(&box, &dlg);
            QPushButton *yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
            QPushButton *no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
            box.setDefaultButton(no);
            box.setEscapeButton(no);
            box.exec();
            if (box.clickedButton() != yes)
                continue;
        }
        FileDialogResult result;
        result.cancelled = false;
        result.fileName = systemOf(host);
        result.fileTitle = info.fileName();
        return result;
    }
    return {};
}

} // namespace

void setUpProgram(const QString &program)
{
    QCoreApplication::setApplicationName(program);
    // Dates, sizes and file kinds in the dialogs are written the Japanese way too.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *t = new QTranslator(QCoreApplication::instance());
    if (t->load(QStringLiteral("qtbase_ja"), folder))
        QCoreApplication::installTranslator(t);
    else
        delete t; // without the translations the dialogs keep Qt's own words
}

QString displayText(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

int QtSeam::messageBox(const MessageRequest &request)
{
    QWidget *owner = ownerWindow();
    const FocusBackToOwner back(owner);
    QMessageBox box(qtIcon(request.icon),
                    request.title.isEmpty() ? programTitle() : request.title,
                    displayText(request.text), QMessageBox::NoButton, dialogParent(owner));
    new CentreOnOwner(&box, owner);
    QPushButton *first = nullptr;
    QPushButton *escape = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    QPushButton *yes = nullptr;
    QPushButton *no = nullptr;
    switch (request.buttons) {
    case Buttons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        first = escape = ok;
        break;
    case Buttons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        first = ok;
        escape = cancel;
        break;
    case Buttons::YesNo:
        yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
        first = yes;
        // Esc or the close box answers No: a question goes on only on Yes.
        escape = no;
        break;
    }
    box.setDefaultButton(first);
    box.setEscapeButton(escape);
    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    if (clicked == yes && yes)
        return Answer::Yes;
    if (clicked == no && no)
        return Answer::No;
    if (clicked == cancel && cancel)
        return Answer::Cancel;
    if (request.buttons == Buttons::YesNo)
        return Answer::No;
    if (request.buttons == Buttons::OkCancel && clicked != ok)
        return Answer::Cancel;
    return Answer::Ok;
}

void QtSeam::beep()
{
    QApplication::beep();
}

QString QtSeam::inputBox(const InputRequest &request)
{
    QWidget *owner = ownerWindow();
    const FocusBackToOwner back(owner);
    QInputDialog dlg(dialogParent(owner));
    new CentreOnOwner(&dlg, owner);
    dlg.setWindowTitle(request.title.isEmpty() ? programTitle() : request.title);
    dlg.setLabelText(displayText(request.prompt));
    dlg.setTextValue(request.defaultText);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dlg.exec() != QDialog::Accepted)
        return {};
    return dlg.textValue();
}

FileDialogResult QtSeam::showOpen(const FileDialogRequest &request)
{
    return runFileDialog(request, false);
}

FileDialogResult QtSeam::showSave(const FileDialogRequest &request)
{
    return runFileDialog(request, true);
}

QString resolveProgram(const QString &program)
{
    if (program.isEmpty())
        return {};
    const bool hasFolder = program.contains(u'/') || program.contains(u'\\');
    if (!hasFolder)
        return program; // found on the search path when started
    const QString host = hostOf(program);
    if (QFileInfo(host).isFile())
        return host;
    if (program.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
        const QString bare = hostOf(program.left(program.size() - 4));
        if (QFileInfo(bare).isFile())
            return bare;
    }
    return {};
}

bool QtSeam::startProcess(const ProcessRequest &request)
{
    const QString program = resolveProgram(request.program);
    if (program.isEmpty())
        return false;
    QString dir;
    if (!request.workingDir.isEmpty()) {
        dir = hostOf(request.workingDir);
        if (!QFileInfo(dir).isDir())
            return false;
    }
    return QProcess::startDetached(program, request.arguments, dir);
}

void QtSeam::doEvents()
{
    QCoreApplication::processEvents();
}

ScreenSize QtSeam::realScreen() const
{
    ScreenSize s;
    if (QScreen *scr = QGuiApplication::primaryScreen()) {
        const QRect g = scr->geometry();
        s.widthPx = g.width();
        s.heightPx = g.height();
        s.originX = g.x();
        s.originY = g.y();
        const QRect free = scr->availableGeometry();
        s.availableX = free.x();
        s.availableY = free.y();
        s.availableWidthPx = free.width();
        s.availableHeightPx = free.height();
        if (scr->logicalDotsPerInchX() > 0)
            s.dpiX = scr->logicalDotsPerInchX();
        if (scr->logicalDotsPerInchY() > 0)
            s.dpiY = scr->logicalDotsPerInchY();
    }
    return s;
}

} // namespace qd::qt
