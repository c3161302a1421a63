#include "quotedesk/entry/picker_window.h"

#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include "platform/qt/command_guard.h"
#include "platform/qt/forms.h"
#include "platform/qt/page_player.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/seam.h"

namespace qd::forms {

PickerWindow::PickerWindow(const char *name, const QString &caption, QWidget *owner, std::function<void()> unload,
                           std::function<void()> closeFiles)
    : QWidget(nullptr, Qt::Window), m_owner(owner), m_unload(std::move(unload)), m_closeFiles(std::move(closeFiles))
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // A window of its own, so that disabling the main window leaves it usable; it goes with the
    // main window all the same.
    if (owner)
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
}

PickerWindow::~PickerWindow()
{
    // A picker that unloaded has released its files already; they may be a newer picker's by now.
    if (!m_unloaded)
        closeFiles();
}

void PickerWindow::unloadForm()
{
    if (!m_pendingHeld)
        tellPending();
    closeFiles();
    m_unloaded = true;
    if (m_unload) {
        m_unload();
        return;
    }
    hide();
    deleteLater();
}

bool PickerWindow::runCommand(const std::function<bool()> &run)
{
    bool result = false;
    {
        struct Running {
            qd::records::PartialRecordNotes *notes;
            explicit Running(qd::records::PartialRecordNotes *n) : notes(n)
            {
                if (notes)
                    notes->commandStarted();
            }
            ~Running()
            {
                if (notes)
                    notes->commandEnded();
            }
        } running(m_notes);
        result = run();
    }
    showPendingMessages();
    return result;
}

bool PickerWindow::guarded(const std::function<void()> &command, const QString &headline)
{
    return runCommand([&] { return qd::qt::runGuarded(command, m_recover, headline.toStdString()); });
}

bool PickerWindow::guardedTaken(const std::function<bool()> &handler, const QString &headline)
{
    return runCommand([&] { return qd::qt::runGuardedFilter(handler, m_recover, headline.toStdString()); });
}

void PickerWindow::showPendingMessages()
{
    if (m_pendingHeld || !m_notes || m_notes->commandRunning())
        return;
    tellPending();
}

void PickerWindow::tellPending()
{
    if (!m_notes)
        return;
    for (const std::string &text : m_notes->takeTexts(m_lineBreak)) {
        qd::qt::beep();
        qd::qt::msgBox(qd::qt::qs(text));
    }
}

void PickerWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Kept above the main window, as a picker of its documents.
    if (m_owner) {
        winId();
        if (QWindow *handle = windowHandle())
            handle->setTransientParent(m_owner->window()->windowHandle());
    }
}

QLabel *PickerWindow::label(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    qd::qt::setGeometryTwips(label, l, t, w, h);
    return label;
}

QLineEdit *PickerWindow::textBox(QWidget *parent, const char *name, int l, int t, int w, int h)
{
    auto *text = new QLineEdit(parent);
    text->setObjectName(QString::fromLatin1(name));
    qd::qt::setGeometryTwips(text, l, t, w, h);
    return text;
}

QPushButton *PickerWindow::button(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                                  int h)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    qd::qt::setGeometryTwips(button, l, t, w, h);
    button->setAutoDefault(true); // Enter on the focused button presses it
    return button;
}

qd::qt::ListBox *PickerWindow::listBox(QWidget *parent, const char *name, int l, int t, int w, int h, double points)
{
    auto *list = new qd::qt::ListBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    qd::qt::setGeometryTwips(list, l, t, w, h);
    // A fixed-pitch Gothic whose full-width characters are exactly two half-width ones wide, so
    // that the columns of the lines (codes, names padded by bytes, record numbers) stay aligned
    // whatever the names hold.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies(qd::qt::pageFontFamilies(QStringLiteral("標準ゴシック")) + QStringList{font.family()});
    font.setPointSizeF(points);
    list->setFont(font);
    return list;
}

} // namespace qd::forms
