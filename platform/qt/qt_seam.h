// The seam of the running program: Qt's message box, input box and non-native file dialogs with
// Japanese button texts, the system beep, and programs started detached.
#pragma once

#include "platform/qt/seam.h"

class QWidget;

namespace qd::qt {

class QtSeam : public Seam {
public:
    int messageBox(const MessageRequest &request) override;
    void beep() override;
    QString inputBox(const InputRequest &request) override;
    FileDialogResult showOpen(const FileDialogRequest &request) override;
    FileDialogResult showSave(const FileDialogRequest &request) override;
    // Started detached, so that the program lives on after this one ends and never lingers as a
    // zombie. A program path ending in ".exe" that has no such file falls back to the same path
    // without the extension (the programs of this suite carry no extension on this host).
    bool startProcess(const ProcessRequest &request) override;
    void doEvents() override;

protected:
    ScreenSize realScreen() const override;
};

// What a program of the suite sets when it starts: its name, which its message boxes carry as
// their title (the window titles are left as the program gives them: the name is not added to
// them), and Qt's Japanese translations, so that the standard dialogs speak Japanese. Needs the
// application object.
void setUpProgram(const QString &program);

// Moves a dialog so that its centre is the centre of `owner`, the window it belongs to, keeping
// it on that window's screen. Every message box, input box and file dialog of QtSeam comes up
// centred so on the window it belongs to (a floating tool window's dialogs on the window it
// floats over).
void centreOn(QWidget *dialog, const QWidget *owner);

// The message as shown: the LF CR, CR LF and lone CR line breaks of the programs' texts become
// plain line breaks.
QString displayText(const QString &text);

// The host program file a launch resolves to (see QtSeam::startProcess); empty when none exists.
QString resolveProgram(const QString &program);

} // namespace qd::qt
