#include "platform/qt/tool_window.h"

#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/qt/entry_box.h"
#include "platform/qt/list_box.h"
#include "platform/qt/page_player.h"
#include "platform/qt/qt_seam.h"
#include "platform/text/cp932.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <optional>

namespace qd::qt {

QColor colorOfBgr(unsigned bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

QFont toolFont(double points, bool bold)
{
    // A fixed-pitch face where the Mincho face is not installed: the tools' list lines line up
    // their columns (names, record numbers) by counting characters.
    QFont f;
    f.setFamilies(pageFontFamilies(QStringLiteral("ＭＳ 明朝")));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QString failureText(const QString &headline, const std::exception &e)
{
    const QString head = headline.isEmpty() ? QStringLiteral("ファイルを読み書きできませんでした。") : headline;
    return head + u'\r' + QString::fromStdString(qd::files::failureText(e));
}

std::string installFolder()
{
    return qd::text::trim(qd::files::systemPath(qd::files::currentDir()));
}

ToolWindow::ToolWindow(const QString &program, QWidget *parent) : QWidget(parent), m_program(program)
{
    setWindowTitle(program);
}

void ToolWindow::placeCentred(double widthTwips, double heightTwips)
{
    const ScreenSize s = seam().screen();
    int frameW = FrameWidthPx, frameH = FrameHeightPx;
    if (isVisible() && frameGeometry().size() != size()) {
        // The window system has given the window its frame: take the real one.
        frameW = frameGeometry().width() - width();
        frameH = frameGeometry().height() - height();
    }
    resize(std::max(1, twipsToPixelsAt(widthTwips, s.dpiX) - frameW),
           std::max(1, twipsToPixelsAt(heightTwips, s.dpiY) - frameH));
    const int outerW = width() + frameW, outerH = height() + frameH;
    move(s.originX + (s.widthPx - outerW) / 2, s.originY + (s.heightPx - outerH) / 2);
}

void ToolWindow::setColors(QWidget *w, const QColor &text, const QColor &back)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, text);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

int ToolWindow::message(const QString &text, Buttons buttons)
{
    return msgBox(text, buttons, m_program);
}

void ToolWindow::userError(const QString &text)
{
    beep();
    message(text);
}

bool ToolWindow::guarded(const std::function<void()> &command, const QString &headline)
{
    bool done = false;
    {
        struct Depth {
            int &n;
            explicit Depth(int &d) : n(++d) {}
            ~Depth() { --n; }
        } depth(m_commandDepth);
        try {
            command();
            done = true;
        } catch (const std::exception &e) {
            userError(failureText(headline, e));
        }
    }
    showPendingMessages();
    return done;
}

void ToolWindow::showPendingMessages()
{
    if (!m_pendingHeld && m_commandDepth == 0)
        tellPending();
}

void ToolWindow::tellPending()
{
    if (!m_pending)
        return;
    for (const std::string &text : m_pending())
        userError(QString::fromStdString(text));
}

void ToolWindow::unload()
{
    // What the ending command still has to tell comes before the window goes.
    if (!m_unloaded)
        tellPending();
    close();
}

void ToolWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!m_unloaded) {
        m_unloaded = true;
        emit unloaded();
    }
}

namespace {

// Enter (either key) on a button that has the focus presses it, as the space bar does: a user
// who moved along the boxes with Enter and reached "終了" ends the tool with one more Enter. A
// key held down presses nothing by its repeats.
class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        auto *button = static_cast<QPushButton *>(watched);
        if (!key->isAutoRepeat() && button->isEnabled())
            button->click();
        return true;
    }
};

// A control of the window, named and placed in twips.
template <class W>
W *placed(W *w, const QString &name, const TwipsRect &at, const QFont &font)
{
    w->setObjectName(name);
    w->setFont(font);
    setGeometryTwips(w, at.left, at.top, at.width, at.height);
    return w;
}

} // namespace

QLabel *ToolWindow::addLabel(const QString &name, const QString &caption, const TwipsRect &at, const QFont &font)
{
    return placed(new QLabel(caption, this), name, at, font);
}

QPushButton *ToolWindow::addButton(const QString &name, const QString &caption, const TwipsRect &at, const QFont &font)
{
    auto *b = placed(new QPushButton(caption, this), name, at, font);
    b->installEventFilter(new EnterPresses(b));
    return b;
}

EntryBox *ToolWindow::addEntryBox(const QString &name, const TwipsRect &at, const QFont &font, int maxLength,
                                  bool rightAligned)
{
    auto *e = placed(new EntryBox(this), name, at, font);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    if (rightAligned)
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return e;
}

ListBox *ToolWindow::addListBox(const QString &name, const TwipsRect &at, const QFont &font, bool sorted)
{
    auto *l = placed(new ListBox(this), name, at, font);
    l->setSorted(sorted);
    return l;
}

QString missingFolderMessage(const QString &program, const QString &folder, const QString &hostPath)
{
    return QStringLiteral("「%1」フォルダがありません。").arg(folder) + u'\r' + hostPath + u'\r' +
           QStringLiteral("%1を終了します。").arg(program);
}

QString missingFolder(const QStringList &required)
{
    const std::string inst = installFolder();
    for (const QString &folder : required)
        if (!qd::files::dirExists(inst + folder.toStdString()))
            return folder;
    return {};
}

int runTool(int argc, char **argv, const ToolStart &start)
{
    // A program makes its application here; a test that runs a tool's start has one already.
    std::optional<QApplication> own;
    if (!QCoreApplication::instance())
        own.emplace(argc, argv);
    setUpProgram(start.program);

    const QString missing = missingFolder(start.requiredFolders);
    if (!missing.isEmpty()) {
        const std::string host = qd::files::hostPath(installFolder() + missing.toStdString()).string();
        QString shown = missing;
        while (shown.startsWith(u'\\'))
            shown.remove(0, 1);
        beep();
        msgBox(missingFolderMessage(start.program, shown, QString::fromStdString(host)), Buttons::Ok, start.program);
        return 1;
    }
    std::unique_ptr<QWidget> window = start.open();
    if (!window || !window->isVisible())
        return window ? 0 : 1;
    return QApplication::exec();
}

} // namespace qd::qt
