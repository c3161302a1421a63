// quotedesk: the main program. Starts in the current folder, which is the install folder
// unless the folder-pointer file names another.
#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel w(QString::fromUtf8("【見積書・納品書・請求書】quotedesk"));
    w.setWindowTitle(QString::fromUtf8("【見積書・納品書・請求書】quotedesk"));
    w.resize(800, 600);
    w.show();
    return app.exec();
}
