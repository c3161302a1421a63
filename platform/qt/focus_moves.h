// Which focus events of a control are moves of the focus between the controls of its window, the
// moves that raise GotFocus and LostFocus: not the focus a menu or a message box takes for a
// moment, nor the window going to the back and coming to the front again. The first time a window
// comes to the front its focus control does get the focus.
#pragma once

#include <QFocusEvent>

namespace qd::qt {

class FocusMoves {
public:
    bool gotFocus(const QFocusEvent *event)
    {
        const bool back = m_heldWhenWindowLeft;
        m_heldWhenWindowLeft = false;
        if (event->reason() == Qt::PopupFocusReason)
            return false;
        return !(event->reason() == Qt::ActiveWindowFocusReason && back);
    }
    bool lostFocus(const QFocusEvent *event)
    {
        if (event->reason() == Qt::PopupFocusReason)
            return false;
        if (event->reason() == Qt::ActiveWindowFocusReason) {
            m_heldWhenWindowLeft = true;
            return false;
        }
        return true;
    }
    // The control was given the focus while its window is in the back, what it shows set
    // already: the focus it gets as the window comes to the front moves nothing.
    void givenInTheBack() { m_heldWhenWindowLeft = true; }
    // Its window comes to the front (before the focus events of that), `hasFocus` telling
    // whether the control is the window's focus control. True when the control held the focus
    // as the window went to the back and another control was given it there (a click into it
    // while the window was in the back): the focus left the control, which hears of it no other
    // way. The focus it gets next is a move.
    bool windowActivated(bool hasFocus)
    {
        if (!m_heldWhenWindowLeft || hasFocus)
            return false;
        m_heldWhenWindowLeft = false;
        return true;
    }

private:
    bool m_heldWhenWindowLeft = false;
};

} // namespace qd::qt
