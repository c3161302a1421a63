// The one door through which every program reaches the user and the desktop: message boxes, the
// beep, the input box, the file dialogs, starting another program, the screen size and letting
// pending window events run.
//
// Forms and procedures never call QMessageBox or QFileDialog themselves; they call seam() (or the
// free helpers below). The running program uses QtSeam; a test installs a ScriptedSeam that answers
// from a script and records every call.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "platform/text/message_text.h"

namespace qd::qt {

// Answers of a message box (Answer::Yes ...), by the numbers the programs keep and compare.
namespace Answer = qd::text::MessageAnswer;

enum class Buttons { Ok, OkCancel, YesNo };
enum class Icon { None, Information, Question, Warning, Critical };

struct MessageRequest {
    QString text;  // as composed by the program; LF CR pairs are shown as line breaks
    QString title; // empty: the program's own title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

struct InputRequest {
    QString prompt;
    QString title; // empty: the program's own title
    QString defaultText;
};

// Flag bit of a file-dialog request: a save asks before it replaces a file. Other bits are
// carried in the request and recorded, and change nothing (the open dialog always takes an
// existing file only).
inline constexpr int OverwritePromptFlag = 0x2;

// What a file command sets up before it shows the open or save dialog. Paths are in the system's
// own form (INST_DIR & "\data\TXT"); the dialog maps them onto the host.
struct FileDialogRequest {
    QString dialogTitle; // empty: "開く" or "名前を付けて保存"
    QString initDir;
    QString filter;      // "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|": description and pattern(s) in pairs
    QString fileName;    // proposed file name, or a pattern such as "*.TXT"
    int flags = 0;       // the flag bits as the command sets them (2: OverwritePromptFlag)
    bool cancelError = false; // the command treats Cancel as an error (the result says cancelled)
};

struct FileDialogResult {
    bool cancelled = true;
    QString fileName;  // full path of the chosen file, in the system's form
    QString fileTitle; // its name without the folder
};

struct ProcessRequest {
    QString program;    // system path of the program file
    QStringList arguments;
    QString workingDir; // empty: the new program inherits this program's working folder
};

// The screen the windows are laid out on. The forms give sizes in twips: 1440 per inch at the
// screen's logical resolution (15 twips per pixel at 96 dpi).
struct ScreenSize {
    int widthPx = 1024;
    int heightPx = 768;
    double dpiX = 96;
    double dpiY = 96;
    int originX = 0; // top-left corner of the screen in desktop pixels
    int originY = 0;
    // The part of the screen the window system leaves to windows (the screen without its task
    // bars and docks), in desktop pixels; a width or height of 0 stands for the whole screen.
    int availableX = 0;
    int availableY = 0;
    int availableWidthPx = 0;
    int availableHeightPx = 0;

    double twipsPerPixelX() const { return 1440.0 / dpiX; }
    double twipsPerPixelY() const { return 1440.0 / dpiY; }
    double widthTwips() const { return widthPx * twipsPerPixelX(); }
    double heightTwips() const { return heightPx * twipsPerPixelY(); }
};

class Seam {
public:
    virtual ~Seam() = default;

    // Shows the message and returns the answer: Answer::Ok, Answer::Cancel, Answer::Yes or Answer::No.
    virtual int messageBox(const MessageRequest &request) = 0;
    virtual void beep() = 0;
    // Returns the text typed; Cancel returns the empty text.
    virtual QString inputBox(const InputRequest &request) = 0;
    virtual FileDialogResult showOpen(const FileDialogRequest &request) = 0;
    virtual FileDialogResult showSave(const FileDialogRequest &request) = 0;
    // Starts the program without waiting for it; false when it could not be started.
    virtual bool startProcess(const ProcessRequest &request) = 0;
    // Lets pending window events run (DoEvents).
    virtual void doEvents() = 0;

    // The screen size in force: the override when one is set, else the real screen.
    ScreenSize screen() const { return m_screenOverride ? *m_screenOverride : realScreen(); }
    // Lays the windows out for a screen of this size (tests); nullopt returns to the real one.
    void setScreenSizeOverride(std::optional<ScreenSize> size) { m_screenOverride = size; }

protected:
    virtual ScreenSize realScreen() const = 0;

private:
    std::optional<ScreenSize> m_screenOverride;
};

// The seam in force: the one installed by setSeam(), else the program's QtSeam.
Seam &seam();
// Installs a seam (a test's ScriptedSeam); nullptr returns to the QtSeam. The caller keeps
// ownership and must keep it alive while it is installed.
void setSeam(Seam *seam);

// Installs a seam for the lifetime of the guard and puts the previous one back afterwards.
class SeamGuard {
public:
    explicit SeamGuard(Seam &seam);
    ~SeamGuard();
    SeamGuard(const SeamGuard &) = delete;
    SeamGuard &operator=(const SeamGuard &) = delete;

private:
    Seam *m_previous;
};

// The program's own title, which message and input boxes carry when none is given.
QString programTitle();

// Short forms of the calls above, in the order the programs think of them. An empty title becomes
// the program's own title before the request reaches the seam.
int msgBox(const QString &text, Buttons buttons = Buttons::Ok, const QString &title = {},
           Icon icon = Icon::None);
void beep();
QString inputBox(const QString &prompt, const QString &title = {}, const QString &defaultText = {});
FileDialogResult showOpen(const FileDialogRequest &request);
FileDialogResult showSave(const FileDialogRequest &request);
bool startProcess(const QString &program, const QStringList &arguments = {},
                  const QString &workingDir = {});
ScreenSize screen();
void doEvents();

} // namespace qd::qt
