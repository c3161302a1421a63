#include "platform/qt/file_filter.h"
#include "platform/qt/forms.h"
#include "platform/qt/scripted_seam.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QRegularExpression>
#include <QWindow>

#include <gtest/gtest.h>

using namespace qd::qt;

namespace {

// Matched as the dialogs match them: in either letter case.
bool filterMatches(const QStringList &nameFilters, const QString &fileName)
{
    for (const QString &f : nameFilters)
        for (const QString &p : patternsOfNameFilter(f))
            if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(p),
                                   QRegularExpression::CaseInsensitiveOption)
                    .match(fileName)
                    .hasMatch())
                return true;
    return false;
}

} // namespace

TEST(FileFilter, EntriesShowThePatternsAsWrittenAndMatchEitherCase)
{
    const QStringList text = qtNameFilters(QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|"));
    EXPECT_EQ(text, QStringList{QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)")}) << "the description names its pattern once";
    struct {
        const char *name;
        bool match;
    } const cases[] = {{"A.TXT", true}, {"b.txt", true},      {"見積.Txt", true},
                       {"c.csv", false}, {"a.txt.bak", false}, {"txt", false}};
    for (const auto &c : cases)
        EXPECT_EQ(filterMatches(text, QString::fromUtf8(c.name)), c.match) << c.name;

    const QStringList two = qtNameFilters(QStringLiteral("SELECT|*.sel;*.SSS|全て|*.*"));
    EXPECT_EQ(two, QStringList({QStringLiteral("SELECT (*.sel *.SSS)"), QStringLiteral("全て (*.*)")}));
    EXPECT_TRUE(filterMatches({two[0]}, QStringLiteral("x.sss")));
    EXPECT_TRUE(filterMatches({two[0]}, QStringLiteral("x.SEL")));
    EXPECT_FALSE(filterMatches({two[0]}, QStringLiteral("x.txt")));
    EXPECT_TRUE(filterMatches({two[1]}, QStringLiteral("x.txt")));

    EXPECT_EQ(qtNameFilters(QString()), QStringList{QStringLiteral("*")});
}

TEST(Twips, ConvertAtTheScreenResolution)
{
    EXPECT_EQ(twipsToPixelsAt(15360, 96), 1024);
    EXPECT_EQ(twipsToPixelsAt(15, 96), 1);
    EXPECT_EQ(twipsToPixelsAt(100, 96), 7); // 6.67 pixels
    EXPECT_EQ(twipsToPixelsAt(15360, 120), 1280);
    EXPECT_DOUBLE_EQ(pixelsToTwipsAt(1024, 96), 15360);
    EXPECT_DOUBLE_EQ(pixelsToTwipsAt(1, 120), 12);

    const ScreenSize s{1024, 768};
    EXPECT_DOUBLE_EQ(s.widthTwips(), 15360);
    EXPECT_DOUBLE_EQ(s.heightTwips(), 11520);
    EXPECT_DOUBLE_EQ(s.twipsPerPixelX(), 15);
}

TEST(Forms, PlacedAndCentredInTwips)
{
    ScriptedSeam script;
    SeamGuard guard(script);
    QWidget w;
    setGeometryTwips(&w, 1500, 750, 5355, 6060);
    EXPECT_EQ(w.geometry(), QRect(100, 50, 357, 404));
    const TwipsRect t = geometryTwips(&w);
    EXPECT_DOUBLE_EQ(t.left, 1500);
    EXPECT_DOUBLE_EQ(t.width, 357 * 15);

    // The same twips on a screen of 120 dpi.
    script.setScreenSizeOverride(ScreenSize{1600, 1200, 120, 120});
    setGeometryTwips(&w, 1500, 750, 5355, 6060);
    EXPECT_EQ(w.geometry(), QRect(125, 63, 446, 505));

    script.setScreenSizeOverride(ScreenSize{1024, 768});
    w.resize(200, 100);
    centreOnScreen(&w);
    EXPECT_EQ(w.pos(), QPoint(412, 334));
}

// A window partly off the screen's free area (here beside a task bar of 40 pixels at the left)
// moves the least way into it; one inside stays, one larger than the area stands at its edge.
TEST(Forms, KeptOnTheScreenByTheLeastMove)
{
    ScriptedSeam script;
    SeamGuard guard(script);
    script.setScreenSizeOverride(ScreenSize{1366, 768, 96, 96, 0, 0, 40, 0, 1326, 768});
    struct Case {
        QRect window;
        QPoint at;
    } const cases[] = {
        {{500, 300, 357, 404}, {500, 300}},
        {{-33, 300, 357, 404}, {40, 300}},
        {{1200, 600, 357, 404}, {1366 - 357, 768 - 404}},
        {{100, 100, 1400, 900}, {40, 0}},
    };
    for (const Case &c : cases) {
        QWidget w;
        w.setGeometry(c.window);
        keepOnScreen(&w);
        EXPECT_EQ(w.pos(), c.at) << c.window.x() << "," << c.window.y();
    }
}

TEST(Forms, ToolWindowStaysEnabledAndAboveTheDisabledMainWindow)
{
    auto *main = new QMainWindow;
    // Created as a child of the main window, as a form might be.
    QPointer<QWidget> tool = new QWidget(main);
    makeTopmost(tool, main);
    main->show();
    tool->show();

    EXPECT_TRUE(tool->isWindow());
    EXPECT_TRUE(tool->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_NE(tool->windowHandle(), nullptr);
    EXPECT_EQ(tool->windowHandle()->transientParent(), main->windowHandle());

    main->setEnabled(false);
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(tool->isEnabled());
    EXPECT_TRUE(tool->isVisible());

    // Hidden and shown again, it is still kept above the main window.
    tool->hide();
    tool->show();
    EXPECT_EQ(tool->windowHandle()->transientParent(), main->windowHandle());

    delete main;
    EXPECT_TRUE(tool.isNull()) << "the tool window outlived its main window";
}

TEST(Forms, SingleFormLoadsOnceUntilUnloaded)
{
    int loads = 0;
    SingleForm<QWidget> form([&] {
        ++loads;
        return new QWidget;
    });
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(form.ifLoaded(), nullptr);
    QWidget *first = &form.get();
    EXPECT_EQ(&form.get(), first);
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(first->isVisible()); // a reference loads the form hidden

    first->show();
    QPointer<QWidget> gone = first;
    form.unload();
    EXPECT_FALSE(form.isLoaded());
    EXPECT_FALSE(gone->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());

    form.get();
    EXPECT_EQ(loads, 2); // its set-up runs again
}
