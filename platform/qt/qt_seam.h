// The seam of the running program: Qt's message box, input box and non-native file dialogs with
// Japanese button texts, the system beep, and programs started detached.
#pragma once

#include "platform/qt/seam.h"

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

// The message as shown: the LF CR, CR LF and lone CR line breaks of the programs' texts become
// plain line breaks.
QString displayText(const QString &text);

// The host program file a launch resolves to (see QtSeam::startProcess); empty when none exists.
QString resolveProgram(const QString &program);

} // namespace qd::qt
