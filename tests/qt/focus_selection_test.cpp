// A box that selects its text when the focus arrives keeps that selection when a click brought
// the focus, whoever decides what is selected: a form's own focus handling or the tools' entry
// box. A click or a drag into a box that has the focus works as it always does.
#include "platform/qt/entry_box.h"
#include "platform/qt/focus_selection.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace qd::qt;

namespace {

// A form's focus handling: what to show and select as the focus arrives.
class OnFocus : public QObject {
public:
    OnFocus(QLineEdit *box, std::function<void()> gotFocus) : QObject(box), m_gotFocus(std::move(gotFocus))
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            m_gotFocus();
        return false;
    }

private:
    std::function<void()> m_gotFocus;
};

// A window of a button and three boxes showing "3.00": a form's box that selects all of it, one
// that selects its decimals only, and a tools' entry box.
struct Boxes {
    Boxes()
    {
        auto *layout = new QHBoxLayout(&form);
        button = new QPushButton(QStringLiteral("OK"), &form);
        layout->addWidget(button);
        for (QLineEdit *&box : all) {
            box = &box == &all[2] ? new EntryBox(&form) : new QLineEdit(&form);
            box->setText(QStringLiteral("3.00"));
            box->setMinimumWidth(160);
            layout->addWidget(box);
        }
        new OnFocus(all[0], [this] { all[0]->selectAll(); });
        new OnFocus(all[1], [this] { all[1]->setSelection(2, 2); });
        keepSelectionOnFocusClick(all[0]);
        keepSelectionOnFocusClick(all[1]);
        static_cast<EntryBox *>(all[2])->bind({[] { return QStringLiteral("3.00"); },
                                               [] { return QStringLiteral("3.00"); },
                                               [](const QString &) { return true; }});
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // Points inside a box: near its left edge, in the middle of its text, past its end.
    static QPoint left(QLineEdit *b) { return {4, b->height() / 2}; }
    static QPoint past(QLineEdit *b) { return {b->width() - 6, b->height() / 2}; }
    static QPoint between(QLineEdit *b, int pos)
    {
        const int y = b->height() / 2;
        for (int x = 0; x < b->width(); ++x)
            if (b->cursorPositionAt({x, y}) == pos)
                return {x + 1, y};
        ADD_FAILURE() << "no place of the cursor before character " << pos;
        return {0, y};
    }

    QWidget form;
    QPushButton *button;
    QLineEdit *all[3] = {};
    const char *selected[3] = {"3.00", "00", "3.00"}; // what each box's focus handling selects
};

} // namespace

TEST(FocusSelection, AClickThatBringsTheFocusKeepsWhatTheFocusSelected)
{
    Boxes f;
    for (int i = 0; i < 3; ++i) {
        QLineEdit *box = f.all[i];
        SCOPED_TRACE(i);
        f.button->setFocus();
        QTest::mouseClick(box, Qt::LeftButton, {}, Boxes::past(box));
        ASSERT_TRUE(box->hasFocus());
        EXPECT_EQ(box->selectedText().toStdString(), f.selected[i]);
        QTest::keyClicks(box, QStringLiteral("80"));
        EXPECT_EQ(box->text().toStdString(), i == 1 ? "3.80" : "80");

        // With the focus in the box a click places the cursor.
        box->setText(QStringLiteral("3.00"));
        QTest::mouseClick(box, Qt::LeftButton, {}, Boxes::past(box));
        EXPECT_FALSE(box->hasSelectedText());
        EXPECT_EQ(box->cursorPosition(), 4);
        QTest::keyClicks(box, QStringLiteral("5"));
        EXPECT_EQ(box->text().toStdString(), "3.005");
        box->setText(QStringLiteral("3.00"));

        // Tab brings the focus with the same selection.
        f.button->setFocus();
        QTest::keyClick(f.button, Qt::Key_Tab);
        for (int j = 0; j < i; ++j)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->selectedText().toStdString(), f.selected[i]);
    }
}

TEST(FocusSelection, ADragSelectsWhatItCoversWithTheFocusOrBringingIt)
{
    Boxes f;
    for (QLineEdit *box : f.all) {
        SCOPED_TRACE(box->metaObject()->className());
        // The press that brings the focus starts a drag over "3.".
        f.button->setFocus();
        QTest::mousePress(box, Qt::LeftButton, {}, Boxes::left(box));
        ASSERT_TRUE(box->hasFocus());
        QTest::mouseMove(box, Boxes::between(box, 2));
        QTest::mouseRelease(box, Qt::LeftButton, {}, Boxes::between(box, 2));
        EXPECT_EQ(box->selectedText().toStdString(), "3.");

        // With the focus in the box, a drag from the end back over "00".
        QTest::mousePress(box, Qt::LeftButton, {}, Boxes::past(box));
        EXPECT_FALSE(box->hasSelectedText());
        QTest::mouseMove(box, Boxes::between(box, 2));
        QTest::mouseRelease(box, Qt::LeftButton, {}, Boxes::between(box, 2));
        EXPECT_EQ(box->selectedText().toStdString(), "00");
        QTest::keyClicks(box, QStringLiteral("5"));
        EXPECT_EQ(box->text().toStdString(), "3.5");
        box->setText(QStringLiteral("3.00"));
    }
}
