// The real dialogs of QtSeam answered as a user answers them: a timer waits for each modal
// dialog of the kind a step expects and acts on it (a click on a button, a rejection).
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>

namespace qd::testing {

// Runs each step as soon as a modal dialog of its kind stands open.
class DialogDriver {
public:
    struct Step {
        const char *className;
        std::function<void(QWidget *)> act;
    };

    explicit DialogDriver(std::deque<Step> steps) : m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(10);
    }
    bool done() const { return m_steps.empty(); }
    QStringList seenTexts;

private:
    void poll()
    {
        QWidget *w = QApplication::activeModalWidget();
        if (++m_ticks > 500) { // give up: close whatever stands open so the test can fail
            if (w)
                static_cast<QDialog *>(w)->reject();
            return;
        }
        if (m_steps.empty() || !w || !w->isVisible() || !w->inherits(m_steps.front().className))
            return;
        if (auto *box = qobject_cast<QMessageBox *>(w))
            seenTexts << box->text();
        Step s = std::move(m_steps.front());
        m_steps.pop_front();
        s.act(w);
    }

    std::deque<Step> m_steps;
    QTimer m_timer;
    int m_ticks = 0;
};

inline void clickButton(QWidget *box, const QString &text)
{
    for (QPushButton *b : box->findChildren<QPushButton *>())
        if (b->text() == text) {
            b->click();
            return;
        }
    ADD_FAILURE() << "no button " << text.toStdString();
    static_cast<QDialog *>(box)->reject();
}

} // namespace qd::testing
