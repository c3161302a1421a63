// The window of a tool program and the start of the program around it.
//
// A tool is one window: its outer size is given in twips and it is centred on the screen when it
// loads; every message box it shows carries the program's name as its title; its commands run
// inside a guard that reports a failing file with the file and the system's reason and lets the
// program go on. Unloading the window ("終了") closes it, which ends the program; the close box
// ends it as well, and runs nothing of what the end button does. A tool holds no file open
// between its commands, so ending it leaves no file open either.
//
// The controls are placed in twips inside the window (forms.h), in the face that all the tools use.
#pragma once

#include "platform/qt/forms.h"
#include "platform/qt/seam.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace qd::qt {

class EntryBox;
class ListBox;

// A colour as the forms write it, &H00BBGGRR: 0x00FF0000 is blue, 0x000000FF red.
QColor colorOfBgr(unsigned bgr);
// The tools' face "ＭＳ 明朝" at a size in points (13.5 allowed); where it is not installed, a
// fixed-pitch Japanese face of the same widths.
QFont toolFont(double points, bool bold = false);

// The text of a failure: the headline, then on a line of its own the file and the system's
// reason (a failure that names no file: its own words).
QString failureText(const QString &headline, const std::exception &e);

// The install folder of a tool: its working folder, trimmed of blanks, in the system's form.
std::string installFolder();

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    // `program` is the caption and the title of every message box.
    explicit ToolWindow(const QString &program, QWidget *parent = nullptr);

    const QString &program() const { return m_program; }

    // Gives the window its outer size (frame included) and centres it on the screen.
    void placeCentred(double widthTwips, double heightTwips);
    // The background and the text colour of the window or of one of its controls.
    static void setColors(QWidget *w, const QColor &text, const QColor &back);

    // A message box with an OK button (or the buttons given) under the program's title.
    int message(const QString &text, Buttons buttons = Buttons::Ok);
    // A user error: a beep and the message with an OK button.
    void userError(const QString &text);

    // Runs a command. A failure (a file that cannot be read or written, a bad record) is shown
    // as `headline` with the file and the reason, and the program goes on; returns false then.
    // The pending messages follow once the outermost command has ended.
    bool guarded(const std::function<void()> &command, const QString &headline = {});
    // What a command leaves to be told once it has ended (a file it could show only in part):
    // after every guarded command each message taken is shown as a user error. A command that
    // runs inside another (a list chosen by the program, events let run during a long walk)
    // leaves them to the outer one, so that nothing is told half way through.
    void setPendingMessages(std::function<std::vector<std::string>()> take) { m_pending = std::move(take); }
    // While held (a window that fills its lists before it is shown) they wait for the next
    // showPendingMessages() after the hold.
    void holdPendingMessages(bool held) { m_pendingHeld = held; }
    void showPendingMessages();

    // Ends the window (and with it the program) once the messages still pending are told; no
    // close-box handling beyond closing runs.
    void unload();
    bool isUnloaded() const { return m_unloaded; }

    // Controls placed in twips, named for the forms' handlers and the tests.
    QLabel *addLabel(const QString &name, const QString &caption, const TwipsRect &at, const QFont &font);
    QPushButton *addButton(const QString &name, const QString &caption, const TwipsRect &at, const QFont &font);
    EntryBox *addEntryBox(const QString &name, const TwipsRect &at, const QFont &font, int maxLength = 0,
                          bool rightAligned = false);
    ListBox *addListBox(const QString &name, const TwipsRect &at, const QFont &font, bool sorted);

    // The nominal frame the window system adds around the inside of a window, in pixels.
    static constexpr int FrameWidthPx = 8;
    static constexpr int FrameHeightPx = 34;

signals:
    // The window closed, by the end button or by the close box.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The pending messages shown now, whatever runs or holds them.
    void tellPending();

    QString m_program;
    bool m_unloaded = false;
    std::function<std::vector<std::string>()> m_pending;
    bool m_pendingHeld = false;
    int m_commandDepth = 0; // guarded commands running
};

// How a tool program starts: its name, the folders below the install folder without which it
// cannot work (each as "\data"), and the function that makes its window and loads it.
struct ToolStart {
    QString program;
    QStringList requiredFolders;
    std::function<std::unique_ptr<QWidget>()> open;
};

// The message given when a folder the tool needs is missing.
QString missingFolderMessage(const QString &program, const QString &folder, const QString &hostPath);
// The first folder of `required` missing below the install folder, or an empty text.
QString missingFolder(const QStringList &required);

// The main program of a tool: the application named after the program (made here unless one
// exists), the install folder checked (a missing folder is reported and the program ends
// cleanly, creating nothing), the window opened, the event loop until the window closes.
// Returns the program's exit code: 1 when it could not start.
int runTool(int argc, char **argv, const ToolStart &start);

} // namespace qd::qt
