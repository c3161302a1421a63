#include "platform/qt/focus_selection.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include <utility>

namespace qd::qt {

namespace {

// Watches the box's events, ahead of the box itself.
class FocusClickSelection : public QObject {
public:
    explicit FocusClickSelection(QLineEdit *box) : QObject(box), m_box(box) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_box)
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
            // The focus that a press gives comes just before the press itself reaches the box,
            // within the same event; a focus given this way by anything else is forgotten as
            // soon as the events of the moment are done.
            m_pressBringsFocus = static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason;
            m_restore = false;
            if (m_pressBringsFocus)
                QTimer::singleShot(0, this, [this] { m_pressBringsFocus = false; });
            break;
        case QEvent::FocusOut:
            m_pressBringsFocus = m_restore = false;
            break;
        case QEvent::MouseButtonPress: {
            const bool bringsFocus = std::exchange(m_pressBringsFocus, false);
            m_restore = bringsFocus && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
                        m_box->hasSelectedText();
            if (m_restore) {
                m_text = m_box->text();
                m_start = m_box->selectionStart();
                m_length = m_box->selectionLength();
                m_cursorAtStart = m_box->cursorPosition() == m_start;
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            // The press placed the cursor; without a drag nothing is selected now.
            if (std::exchange(m_restore, false) && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
                m_box->hasFocus() && !m_box->hasSelectedText() && m_box->text() == m_text) {
                if (m_cursorAtStart)
                    m_box->setSelection(m_start + m_length, -m_length);
                else
                    m_box->setSelection(m_start, m_length);
            }
            break;
        default: break;
        }
        return false;
    }

private:
    QLineEdit *m_box;
    bool m_pressBringsFocus = false; // the focus came by a press that has not reached the box yet
    bool m_restore = false;          // that press reached it: its release selects again
    QString m_text;                  // what the box showed, and selected, as the press came
    int m_start = 0;
    int m_length = 0;
    bool m_cursorAtStart = false;
};

} // namespace

void keepSelectionOnFocusClick(QLineEdit *box) { new FocusClickSelection(box); }

} // namespace qd::qt
