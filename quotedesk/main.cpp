// quotedesk: the main program. Starts in the current folder, which is the install folder
// unless the folder-pointer file names another.
#include <QApplication>

#include "platform/qt/qt_seam.h"
#include "quotedesk/mainwindow/kihon.h"
#include "quotedesk/mainwindow/quotedesk_app.h"

int main(int argc, char **argv)
{
    QApplication qtApp(argc, argv);
    qd::qt::setUpProgram(QStringLiteral("quotedesk"));
    // The end command ends the program, whatever tool windows are still open.
    QApplication::setQuitOnLastWindowClosed(false);

    qd::forms::QuotedeskApp app;
    app.kihon().Form_Load();
    return QApplication::exec();
}
