// The window of a product picker (the unit-price search, the set search, the single-item
// picker): a modeless window of its own above the main window, centred when it loads, gone with
// the main window. "取消", a successful "明細追加" and closing the window unload it, so the next
// showing loads it afresh; the program's form registry unloads it when it loaded it, else it
// deletes itself.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "platform/qt/list_box.h"
#include "records/whole_file.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace qd::forms {

class PickerWindow : public QWidget {
    Q_OBJECT
public:
    // `name` is the form's name, `caption` its window caption; `closeFiles` releases the files
    // the picker holds open (the shared masters among them) when it unloads or goes.
    PickerWindow(const char *name, const QString &caption, QWidget *owner, std::function<void()> unload,
                 std::function<void()> closeFiles = {});
    ~PickerWindow() override;

    bool isUnloaded() const { return m_unloaded; }
    // What a command that stops half way leaves to put back (the program's sheets, the pointer).
    void setRecovery(std::function<void()> recover) { m_recover = std::move(recover); }
    // What a command leaves to be told once it has ended (the files it could show only in part,
    // noted in the program's `notes`, the two lines of each joined by `lineBreak`): after every
    // guarded command each is shown with a beep and an OK box; a command run inside another (a
    // list chosen by the program, events let run during a search, of this picker or another that
    // shares the notes) leaves them to the outermost, and an unload tells them before the picker
    // goes. While held (a form that fills its lists before it is shown) they wait for the next
    // showPendingMessages() after the hold.
    void setPendingMessages(qd::records::PartialRecordNotes &notes, std::string lineBreak)
    {
        m_notes = &notes;
        m_lineBreak = std::move(lineBreak);
    }
    void holdPendingMessages(bool held) { m_pendingHeld = held; }
    void showPendingMessages();

protected:
    void closeFiles()
    {
        if (m_closeFiles)
            m_closeFiles();
    }
    // Unloads the picker, its files released first.
    void unloadForm();
    // Runs a command through the command guard; a failure ends it with `headline`, the file and
    // the system's reason, and the picker stays. Returns false then.
    bool guarded(const std::function<void()> &command, const QString &headline);
    // A handler that answers whether it took its event or its value (an event filter's, an
    // entry box's store) through guarded(): false after a failure.
    bool guardedTaken(const std::function<bool()> &handler, const QString &headline);
    // A handler wrapped in guarded(), for connecting a control's event.
    template <class Form>
    std::function<void()> command(void (Form::*handler)(), const QString &headline)
    {
        return [this, handler, headline] { guarded([this, handler] { (static_cast<Form *>(this)->*handler)(); }, headline); };
    }

    // Controls placed in twips inside `parent`, named for the handlers and the tests.
    static QLabel *label(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h);
    static QLineEdit *textBox(QWidget *parent, const char *name, int l, int t, int w, int h);
    static QPushButton *button(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h);
    // A list of fixed-width columns: a fixed-pitch font of `points`. Lines that end in a record
    // number for the handlers show without it (ListBox::setHiddenTail).
    static qd::qt::ListBox *listBox(QWidget *parent, const char *name, int l, int t, int w, int h, double points = 9);

    void showEvent(QShowEvent *event) override;

    QPointer<QWidget> m_owner;

private:
    bool m_unloaded = false;
    std::function<void()> m_unload;
    std::function<void()> m_closeFiles;
    std::function<void()> m_recover;
    qd::records::PartialRecordNotes *m_notes = nullptr;
    std::string m_lineBreak;
    bool m_pendingHeld = false;

    void tellPending();
    bool runCommand(const std::function<bool()> &run);
};

} // namespace qd::forms
