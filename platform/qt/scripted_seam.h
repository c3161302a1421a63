// The seam of the tests: every dialog takes the next answer of a script, every call is recorded.
//
// A dialog that the script did not expect (the script is empty, or its next answer is for
// another kind of dialog, or a message answer its buttons cannot give) is a fault of the code
// under test: the seam notes it in errors(), prints it and throws ScriptError, so the test fails
// where the dialog came. Programs are never started; startProcess() records the request and
// returns the result set by setProcessResult().
#pragma once

#include "platform/qt/seam.h"

#include <deque>
#include <functional>
#include <stdexcept>
#include <vector>

namespace qd::qt {

class ScriptError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

struct SeamCall {
    enum class Kind { Message, Beep, Input, Open, Save, Process };
    Kind kind = Kind::Beep;
    MessageRequest message;      // Message
    InputRequest input;          // Input
    FileDialogRequest file;      // Open, Save
    ProcessRequest process;      // Process
    int answer = 0;              // Message: the code given back; Process: 1 started, 0 failed
    QString answerText;          // Input: the text given back; Open/Save: the file name
};

class ScriptedSeam : public Seam {
public:
    ScriptedSeam();

    // Script: answers in the order the dialogs are to come. `check` runs when the dialog comes,
    // before the answer is given (a test can look at the program's state at that moment).
    ScriptedSeam &answerMessage(int code, std::function<void(const MessageRequest &)> check = {});
    ScriptedSeam &answerInput(const QString &text,
                              std::function<void(const InputRequest &)> check = {});
    ScriptedSeam &cancelInput() { return answerInput(QString()); }
    // fileName is the full path in the system's form; the file title is its last component.
    ScriptedSeam &answerOpen(const QString &fileName,
                             std::function<void(const FileDialogRequest &)> check = {});
    ScriptedSeam &answerSave(const QString &fileName,
                             std::function<void(const FileDialogRequest &)> check = {});
    ScriptedSeam &cancelOpen();
    ScriptedSeam &cancelSave();

    void setProcessResult(bool started) { m_processResult = started; }

    // Records.
    const std::vector<SeamCall> &calls() const { return m_calls; }
    std::vector<SeamCall> callsOf(SeamCall::Kind kind) const;
    // The texts of the message boxes shown, in order.
    QStringList messages() const;
    int beepCount() const;
    int doEventsCount() const { return m_doEvents; }
    // Answers of the script not yet taken.
    int pendingAnswers() const { return static_cast<int>(m_script.size()); }
    // Dialogs that came against the script.
    const QStringList &errors() const { return m_errors; }
    // Empty when every answer was taken and no dialog came unexpected, else what went wrong.
    QString problems() const;
    // Forgets the records (not the script).
    void clearCalls();
    // Drops the answers not yet taken.
    void clearScript() { m_script.clear(); }

    int messageBox(const MessageRequest &request) override;
    void beep() override;
    QString inputBox(const InputRequest &request) override;
    FileDialogResult showOpen(const FileDialogRequest &request) override;
    FileDialogResult showSave(const FileDialogRequest &request) override;
    bool startProcess(const ProcessRequest &request) override;
    // Counted, and the pending events do run, as in the program.
    void doEvents() override;

protected:
    // 1024 x 768 pixels at 96 dpi unless an override is set.
    ScreenSize realScreen() const override { return ScreenSize{}; }

private:
    struct Step {
        explicit Step(SeamCall::Kind k) : kind(k) {}
        SeamCall::Kind kind;
        int code = 0;
        QString text;
        bool cancelled = false;
        std::function<void(const MessageRequest &)> checkMessage;
        std::function<void(const InputRequest &)> checkInput;
        std::function<void(const FileDialogRequest &)> checkFile;
    };

    Step take(SeamCall::Kind kind, const QString &what);
    [[noreturn]] void fail(const QString &why);
    FileDialogResult fileDialog(SeamCall::Kind kind, const FileDialogRequest &request);

    std::deque<Step> m_script;
    std::vector<SeamCall> m_calls;
    QStringList m_errors;
    int m_doEvents = 0;
    bool m_processResult = true;
};

} // namespace qd::qt
