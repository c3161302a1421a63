#include "platform/qt/seam.h"

#include "platform/qt/qt_seam.h"

#include <QGuiApplication>

namespace qd::qt {

namespace {

// The seam a test installed, if any. The program's QtSeam has no state worth resetting, so one
// instance serves the whole process.
Seam *g_installed = nullptr;

Seam &defaultSeam()
{
    static QtSeam qtSeam;
    return qtSeam;
}

} // namespace

Seam &seam()
{
    return g_installed ? *g_installed : defaultSeam();
}

void setSeam(Seam *s)
{
    g_installed = s;
}

SeamGuard::SeamGuard(Seam &s) : m_previous(g_installed)
{
    g_installed = &s;
}

SeamGuard::~SeamGuard()
{
    g_installed = m_previous;
}

QString programTitle()
{
    return QGuiApplication::applicationDisplayName();
}

int msgBox(const QString &text, Buttons buttons, const QString &title, Icon icon)
{
    return seam().messageBox({text, title.isEmpty() ? programTitle() : title, buttons, icon});
}

void beep()
{
    seam().beep();
}

QString inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    return seam().inputBox({prompt, title.isEmpty() ? programTitle() : title, defaultText});
}

FileDialogResult showOpen(const FileDialogRequest &request)
{
    return seam().showOpen(request);
}

FileDialogResult showSave(const FileDialogRequest &request)
{
    return seam().showSave(request);
}

bool startProcess(const QString &program, const QStringList &arguments, const QString &workingDir)
{
    return seam().startProcess({program, arguments, workingDir});
}

ScreenSize screen()
{
    return seam().screen();
}

void doEvents()
{
    seam().doEvents();
}

} // namespace qd::qt
