// The entry box of the tools (a stored value behind its text) and the tool window (size and
// place in twips, the program's title on its messages, the guard around commands, the start).
#include "platform/files/file_error.h"
#include "platform/files/paths.h"
#include "platform/qt/entry_box.h"
#include "platform/qt/focus_moves.h"
#include "platform/qt/scripted_seam.h"
#include "platform/qt/tool_window.h"
#include "tests/support/temp_install.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

using namespace qd::qt;

TEST(EntryBox, TypedNumbersReadAsWholeNumbersHalvesToEven)
{
    struct Case {
        const char *text;
        std::optional<std::int64_t> value;
    } const cases[] = {
        {"5", 5},          {" 12 ", 12},       {"-5", -5},       {"+7", 7},          {"1,234,567", 1234567},
        {"2.5", 2},        {"3.5", 4},         {"2.51", 3},      {"-2.5", -2},       {".5", 0},
        {"１２", 12},      {"－３", -3},       {"", std::nullopt}, {"  ", std::nullopt}, {"abc", std::nullopt},
        {"12a", std::nullopt}, {"1,,2", std::nullopt}, {",1", std::nullopt}, {"1,", std::nullopt},
        {"99999999999999999999999", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(wholeNumberOf(c.text, INT32_MIN, INT32_MAX), c.value) << c.text;
    // A value beyond the box's type is no value either.
    EXPECT_EQ(wholeNumberOf("32767", -32768, 32767), 32767);
    EXPECT_EQ(wholeNumberOf("32767.5", -32768, 32767), std::nullopt);
    EXPECT_EQ(wholeNumberOf("-32768", -32768, 32767), -32768);
    EXPECT_EQ(wholeNumberOf("32768", -32768, 32767), std::nullopt);
}

namespace {

// A form of two boxes over one stored number, and a button to leave them by.
struct TwoBoxes {
    TwoBoxes()
    {
        first = new EntryBox(&form);
        second = new EntryBox(&form);
        button = new QPushButton(&form);
        first->bind({[this] { return QString::number(value); },
                     [this] { return QStringLiteral("[%1]").arg(value); },
                     [this](const QString &t) {
                         const auto v = wholeNumberOf(t.toStdString(), -99, 99);
                         if (v)
                             value = static_cast<int>(*v);
                         return v.has_value();
                     }});
        second->bind({[] { return QStringLiteral("two"); }, [] { return QStringLiteral("two"); },
                      [](const QString &) { return true; }});
        first->setNext(second);
        second->setEscape(EntryBox::Escape::Restore, first);
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    QWidget form;
    EntryBox *first, *second;
    QPushButton *button;
    int value = 7;
};

} // namespace

TEST(EntryBox, EnterStoresAndMovesOnLeavingShowsTheStoredValueAgain)
{
    TwoBoxes f;
    QSignalSpy entered(f.first, &EntryBox::Entered);
    QSignalSpy left(f.first, &EntryBox::Left);
    f.first->setFocus();
    EXPECT_EQ(f.first->text(), QStringLiteral("7"));
    EXPECT_EQ(f.first->selectedText(), QStringLiteral("7"));

    // No value: the handler ends quietly, nothing changes and the focus stays.
    f.first->selectAll();
    QTest::keyClicks(f.first, QStringLiteral("x1"));
    QTest::keyClick(f.first, Qt::Key_Return);
    EXPECT_EQ(f.value, 7);
    EXPECT_EQ(f.first->text(), QStringLiteral("x1"));
    EXPECT_TRUE(f.first->hasFocus());
    EXPECT_EQ(entered.count(), 0);

    f.first->selectAll();
    QTest::keyClicks(f.first, QStringLiteral("12"));
    QTest::keyClick(f.first, Qt::Key_Enter);
    EXPECT_EQ(f.value, 12);
    EXPECT_EQ(f.first->text(), QStringLiteral("[12]"));
    EXPECT_TRUE(f.second->hasFocus());
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(left.count(), 1);

    // Esc in the second box shows its value again and goes back; typing without Enter is
    // dropped when the box is left.
    QTest::keyClicks(f.second, QStringLiteral("zz"));
    QTest::keyClick(f.second, Qt::Key_Escape);
    EXPECT_EQ(f.second->text(), QStringLiteral("two"));
    EXPECT_TRUE(f.first->hasFocus());
    QTest::keyClicks(f.first, QStringLiteral("55"));
    f.button->setFocus();
    EXPECT_EQ(f.value, 12);
    EXPECT_EQ(f.first->text(), QStringLiteral("[12]"));
    EXPECT_EQ(left.count(), 2);
    // Esc where the box is not told to do anything with it.
    f.first->setFocus();
    QTest::keyClick(f.first, Qt::Key_Escape);
    EXPECT_TRUE(f.first->hasFocus());
    EXPECT_EQ(f.first->text(), QStringLiteral("12"));
}

// Another window in front, a click into a box of the form moves the focus there as the form
// comes to the front after the click (a desktop that does not bring the window to the front
// first): the box left shows its stored value again, the box clicked its value selected, each
// time, whichever box had the focus before.
TEST(EntryBox, AClickIntoABoxOfAWindowInTheBackMovesTheFocusThere)
{
    TwoBoxes f;
    QWidget other;
    other.show();
    QSignalSpy left(f.first, &EntryBox::Left);
    const auto clickInTheBack = [&](EntryBox *box) {
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 6, box->height() / 2));
        f.form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&f.form));
        ASSERT_EQ(QApplication::focusWidget(), box);
    };
    f.first->setFocus();
    QTest::keyClicks(f.first, QStringLiteral("55"));
    clickInTheBack(f.second);
    EXPECT_EQ(f.first->text(), QStringLiteral("[7]"));
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(f.second->selectedText(), QStringLiteral("two"));
    clickInTheBack(f.first);
    EXPECT_EQ(f.first->selectedText(), QStringLiteral("7"));
    QTest::keyClicks(f.first, QStringLiteral("3"));
    EXPECT_EQ(f.first->text(), QStringLiteral("3"));
    EXPECT_EQ(f.value, 7);
}

TEST(EntryBox, ALeaveHandlerMayTakeTheFocusBack)
{
    TwoBoxes f;
    QObject::connect(f.first, &EntryBox::Left, f.first, [&f] {
        if (f.value == 0)
            f.first->setFocus();
    });
    f.first->setFocus();
    f.first->selectAll();
    QTest::keyClicks(f.first, QStringLiteral("0"));
    QTest::keyClick(f.first, Qt::Key_Return);
    EXPECT_TRUE(f.first->hasFocus());
    EXPECT_EQ(f.first->selectedText(), QStringLiteral("0")) << "got the focus again: the stored value, selected";
    f.value = 3;
    f.button->setFocus();
    EXPECT_TRUE(f.button->hasFocus());
}

// A box left for a button that takes typed text keeps the text there for the button until the
// focus moves on from it; the box is left then, as any box is left.
TEST(EntryBox, TextLeftForATakerStaysUntilTheFocusMovesOn)
{
    TwoBoxes f;
    f.first->setTakers({f.button});
    QSignalSpy left(f.first, &EntryBox::Left);
    f.first->setFocus();
    EXPECT_FALSE(f.first->hasTyped());
    QTest::keyClicks(f.first, QStringLiteral("55"));
    EXPECT_TRUE(f.first->hasTyped());
    f.button->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.first->text(), QStringLiteral("55"));
    EXPECT_TRUE(f.first->hasTyped());
    EXPECT_EQ(left.count(), 0);
    // Back in the box, the typed text is there to be finished.
    f.first->setFocus(Qt::BacktabFocusReason);
    EXPECT_EQ(f.first->text(), QStringLiteral("55"));
    EXPECT_TRUE(f.first->hasTyped());
    f.button->setFocus(Qt::MouseFocusReason);
    f.second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(f.first->text(), QStringLiteral("[7]"));
    EXPECT_FALSE(f.first->hasTyped());
    EXPECT_EQ(left.count(), 1);
    EXPECT_EQ(f.value, 7);
}

TEST(ToolWindow, OuterSizeInTwipsCentredMessagesUnderTheProgramsTitle)
{
    ScriptedSeam seam;
    SeamGuard guard(seam);
    seam.setScreenSizeOverride(ScreenSize{1280, 800, 96, 96, 0, 0});
    ToolWindow w(QStringLiteral("groupmaint"));
    w.placeCentred(6130, 7180);
    // 6130 x 7180 twips are 409 x 479 pixels with the frame; the inside is what is left.
    EXPECT_EQ(w.width(), 409 - ToolWindow::FrameWidthPx);
    EXPECT_EQ(w.height(), 479 - ToolWindow::FrameHeightPx);
    EXPECT_EQ(w.x(), (1280 - 409) / 2);
    EXPECT_EQ(w.y(), (800 - 479) / 2);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("groupmaint"));

    seam.answerMessage(1).answerMessage(1, [](const MessageRequest &m) {
        EXPECT_EQ(m.title, QStringLiteral("groupmaint"));
        EXPECT_EQ(m.text, QStringLiteral("ファイルに書き込めません。\r/x/data/MAKER.TXT (No space left on device)"));
    });
    w.userError(QStringLiteral("数値を入力して下さい！"));
    EXPECT_EQ(seam.calls()[1].message.title, QStringLiteral("groupmaint"));
    EXPECT_EQ(seam.beepCount(), 1);

    // A failing command is reported with the file and the reason, and the program goes on.
    bool after = false;
    EXPECT_FALSE(w.guarded([] { throw qd::files::FileError("/x/data/MAKER.TXT", "write", "No space left on device"); },
                           QStringLiteral("ファイルに書き込めません。")));
    EXPECT_TRUE(w.guarded([&after] { after = true; }));
    EXPECT_TRUE(after);
    EXPECT_EQ(seam.problems(), QString());

    // The close box and the end button both end the window, once.
    QSignalSpy unloaded(&w, &ToolWindow::unloaded);
    w.show();
    w.close();
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(unloaded.count(), 1);
}

// What a command leaves to be told comes once the outermost command has ended, after its own
// failure, never while a hold stands, and before the window goes.
TEST(ToolWindow, PendingMessagesAreToldWhenTheOutermostCommandEnds)
{
    ScriptedSeam seam;
    SeamGuard guard(seam);
    ToolWindow w(QStringLiteral("groupmaint"));
    std::vector<std::string> pending;
    w.setPendingMessages([&pending] { return std::exchange(pending, {}); });
    QStringList told;
    const auto tell = [&](int times) {
        for (int i = 0; i < times; ++i)
            seam.answerMessage(1, [&told](const MessageRequest &m) { told << m.text; });
    };

    tell(2);
    w.guarded(
        [&] {
            w.guarded([&] { pending.push_back("part"); });
            EXPECT_TRUE(told.isEmpty()) << "told inside the outer command";
            throw qd::files::FileError("/x/data/MAKER.TXT", "write", "No space left on device");
        },
        QStringLiteral("ファイルに書き込めません。"));
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("ファイルに書き込めません。")));
    EXPECT_EQ(told[1], QStringLiteral("part"));

    w.holdPendingMessages(true);
    w.guarded([&] { pending.push_back("held"); });
    EXPECT_EQ(told.size(), 2);
    w.holdPendingMessages(false);
    tell(1);
    w.showPendingMessages();
    EXPECT_EQ(told.last(), QStringLiteral("held"));

    w.show();
    tell(1);
    w.guarded([&] {
        pending.push_back("last");
        w.unload();
        EXPECT_EQ(told.last(), QStringLiteral("last")) << "told before the window goes";
    });
    EXPECT_TRUE(w.isUnloaded());
    EXPECT_EQ(told.size(), 4);
    EXPECT_EQ(seam.problems(), QString());
}

TEST(ToolWindow, EnterOnAButtonThatHasTheFocusPressesIt)
{
    // ownmaint's Enter in its last box moves the focus to "終了": the next Enter ends the tool.
    ToolWindow w(QStringLiteral("ownmaint"));
    EntryBox *box = w.addEntryBox(QStringLiteral("Text12"), {2160, 240, 6135, 730}, toolFont(12));
    QPushButton *end = w.addButton(QStringLiteral("Command1"), QStringLiteral("終了"), {6120, 9000, 970, 380}, toolFont(13.5, true));
    box->bind({[] { return QString(); }, [] { return QString(); }, [](const QString &) { return true; }});
    box->setNext(end);
    w.show();
    QApplication::setActiveWindow(&w);
    QSignalSpy clicks(end, &QPushButton::clicked);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(end->hasFocus());
    EXPECT_EQ(clicks.count(), 0) << "the Enter that brought the focus presses nothing";
    QTest::keyClick(end, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(end, Qt::Key_Enter);
    QTest::keyClick(end, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 3);
    QTest::keyClick(end, Qt::Key_Return, Qt::NoModifier);
    end->setEnabled(false);
    QTest::keyClick(end, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 4);
}

TEST(ToolWindow, AMissingFolderIsNamedAtStart)
{
    qd::testing::TempInstall inst(qd::testing::TempInstall::Content::Empty);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(inst.path());
    EXPECT_EQ(installFolder(), qd::files::systemPath(std::filesystem::current_path()));
    EXPECT_EQ(missingFolder({QStringLiteral("\\data")}), QStringLiteral("\\data"));
    std::filesystem::create_directories(inst.data());
    EXPECT_EQ(missingFolder({QStringLiteral("\\data"), QStringLiteral("\\ALMI")}), QStringLiteral("\\ALMI"));
    std::filesystem::create_directories(inst.path() / "almi"); // found whatever its letter case
    EXPECT_EQ(missingFolder({QStringLiteral("\\data"), QStringLiteral("\\ALMI")}), QString());
    std::filesystem::current_path(before);
    EXPECT_EQ(missingFolderMessage(QStringLiteral("glassmaint"), QStringLiteral("ALMI"), QStringLiteral("/i/ALMI")),
              QStringLiteral("「ALMI」フォルダがありません。\r/i/ALMI\rglassmaintを終了します。"));
}

TEST(EntryBox, TheWindowGoingToTheBackAndToTheFrontMovesNoFocus)
{
    FocusMoves moves;
    const QFocusEvent windowIn(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    const QFocusEvent windowOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    const QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
    const QFocusEvent tabOut(QEvent::FocusOut, Qt::TabFocusReason);
    const QFocusEvent popupOut(QEvent::FocusOut, Qt::PopupFocusReason);
    const QFocusEvent popupIn(QEvent::FocusIn, Qt::PopupFocusReason);
    EXPECT_TRUE(moves.gotFocus(&windowIn)) << "the focus control of a window that comes up";
    EXPECT_FALSE(moves.lostFocus(&windowOut));
    EXPECT_FALSE(moves.gotFocus(&windowIn)) << "back to the front: it had the focus all along";
    EXPECT_FALSE(moves.lostFocus(&popupOut));
    EXPECT_FALSE(moves.gotFocus(&popupIn));
    EXPECT_TRUE(moves.lostFocus(&tabOut));
    EXPECT_TRUE(moves.gotFocus(&tabIn));
}
