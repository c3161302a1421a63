// The entry box of the tools: a text box that stands for a stored value, shown in two forms.
//
// Getting the focus shows the stored value for editing (editText) with the whole text selected,
// also when a click into the box brought the focus (focus_selection.h).
// Enter (13) hands the typed text to the box's store function, which converts and stores it;
// the box then shows the stored value (shownText), moves the focus on to the next control and
// raises Entered. When the store function refuses the text (it is no value of the box), the
// handler ends there: nothing changes, the focus stays and nothing is reported. Esc (27), where
// the box is told to, shows the stored value again and moves the focus back. Leaving the box
// shows the stored value again, so text typed without Enter is dropped, then raises Left. Line
// breaks, tabs and other control characters, typed or pasted, come into the box as blanks.
//
// The buttons that write what the boxes hold may take text typed without Enter (setTakers):
// leaving the box for one of them, by a click or by Tab, keeps the typed text in the box for the
// button to take (hasTyped, takeTyped), until the focus moves on from there to another control
// of the window; the box is left then. Coming back to the box finds the typed text as it was.
//
// GotFocus(), KeyDown() and LostFocus() run what the focus and key events run; a form or a test
// may call them directly. Which focus events count is told in focus_moves.h.
#pragma once

#include "platform/qt/focus_moves.h"

#include <QLineEdit>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace qd::qt {

// The whole number a typed text stands for: blanks around it, a sign, digits with thousands
// separators (",") and a fraction, taken to the nearest whole number with a half going to the
// even one ("2.5" is 2, "3.5" is 4, "-1,234" is -1234). Full-width digits and signs count as their
// ASCII forms. nullopt for an empty text, a text that is no number, or a value outside
// [min, max].
std::optional<std::int64_t> wholeNumberOf(std::string_view utf8, std::int64_t min, std::int64_t max);

class EntryBox : public QLineEdit {
    Q_OBJECT
public:
    enum class Escape { Ignore, Restore };

    struct Binding {
        std::function<QString()> editText;               // shown, selected, when the box gets the focus
        std::function<QString()> shownText;              // shown after Enter and when the box is left
        std::function<bool(const QString &typed)> store; // false: not a value; nothing changes
    };

    explicit EntryBox(QWidget *parent = nullptr);
    ~EntryBox() override;

    void bind(Binding binding);
    // Where Enter moves the focus after a value is stored (nullptr: it stays).
    void setNext(QWidget *next) { m_next = next; }
    // What Esc does: nothing, or show the stored value again and move the focus to `previous`
    // (nullptr: it stays).
    void setEscape(Escape escape, QWidget *previous = nullptr)
    {
        m_escape = escape;
        m_previous = previous;
    }

    // The controls that take text typed into the box without Enter.
    void setTakers(std::vector<QWidget *> takers);
    // Text is typed into the box and not confirmed with Enter: the box has its window's focus, or
    // it was left for one of its takers.
    bool hasTyped() const;
    // Such text stored as Enter stores it and the stored value shown, the focus left where it
    // is; false when the store function refuses it (the box as the refusal left it). True when
    // nothing is typed.
    bool takeTyped();

    // The stored value as shown (what leaving the box shows).
    void showStored();
    // Sets the text and shows it from its start: a value padded with blanks to its width would
    // otherwise show its blank end in a narrow box.
    void setTextFromStart(const QString &text);

    void GotFocus();
    void KeyDown(int keyCode);
    void LostFocus();

signals:
    // After Enter stored a value, showed it and moved the focus on.
    void Entered();
    // After leaving the box showed the stored value again.
    void Left();

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isTaker(const QWidget *w) const;
    // The box is left for `to`, the window's focus control now.
    void leftFor(const QWidget *to);
    // The focus moved on from where it went when the box was left for a taker.
    void focusMovedOn(QWidget *now);

    Binding m_binding;
    QPointer<QWidget> m_next;
    QPointer<QWidget> m_previous;
    Escape m_escape = Escape::Ignore;
    FocusMoves m_focus;
    std::vector<QPointer<QWidget>> m_takers;
    QMetaObject::Connection m_focusWatch; // the application's focus changes, while there are takers
    bool m_kept = false; // left for a taker with typed text
};

} // namespace qd::qt
