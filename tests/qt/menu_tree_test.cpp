#include "platform/qt/menu_tree.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace qd::qt;

namespace {

struct MainWithMenus {
    QMainWindow window;
    MenuTree tree{window.menuBar()};
    int reads = 0;
    int ends = 0;

    MainWithMenus()
    {
        tree.addMenu({}, QStringLiteral("FILE_000"), QStringLiteral("ﾌｧｲﾙ(&F)"));
        tree.addItem(QStringLiteral("FILE_000"), QStringLiteral("FILE_NEW"), QStringLiteral("新規"));
        tree.addItem(QStringLiteral("FILE_000"), QStringLiteral("FILE_READ"), QStringLiteral("読込み/削除"));
        tree.addMenu({}, QStringLiteral("SERCH_000"), QStringLiteral("検索"));
        tree.addItem(QStringLiteral("SERCH_000"), QStringLiteral("INPUT_bukkenmei"),
                     QStringLiteral("現在の物件名を品名へ読込"));
        tree.addItem(QStringLiteral("SERCH_000"), QStringLiteral("HOJYO_filler99"),
                     QStringLiteral("---------------"));
        tree.addItem({}, QStringLiteral("END_000"), QStringLiteral("終了"));
        tree.onClick(QStringLiteral("FILE_READ"), [this] { ++reads; });
        tree.onClick(QStringLiteral("END_000"), [this] { ++ends; });
    }
};

} // namespace

TEST(MenuTree, BuildsTheTreeByName)
{
    MainWithMenus m;
    const QList<QAction *> bar = m.window.menuBar()->actions();
    ASSERT_EQ(bar.size(), 3);
    EXPECT_EQ(bar[0], m.tree.action(QStringLiteral("FILE_000")));
    EXPECT_EQ(bar[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)")); // the mnemonic stays
    EXPECT_EQ(bar[2]->objectName(), QStringLiteral("END_000"));
    EXPECT_EQ(m.tree.menu(QStringLiteral("END_000")), nullptr);

    QMenu *file = m.tree.menu(QStringLiteral("FILE_000"));
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->actions().size(), 2);
    EXPECT_EQ(file->actions()[1], m.tree.action(QStringLiteral("FILE_READ")));
    EXPECT_EQ(m.tree.names().size(), 7);

    EXPECT_THROW(m.tree.action(QStringLiteral("FILE_WRITE")), std::out_of_range);
    EXPECT_THROW(m.tree.addItem(QStringLiteral("FILE_NEW"), QStringLiteral("X"), QStringLiteral("x")),
                 std::out_of_range);
    EXPECT_THROW(m.tree.addItem(QStringLiteral("FILE_000"), QStringLiteral("FILE_NEW"), QStringLiteral("x")),
                 std::invalid_argument);
}

TEST(MenuTree, EnabledAndVisibleByName)
{
    MainWithMenus m;
    m.tree.click(QStringLiteral("FILE_READ"));
    m.tree.click(QStringLiteral("END_000"));
    EXPECT_EQ(m.reads, 1);
    EXPECT_EQ(m.ends, 1);

    m.tree.setEnabled(QStringLiteral("FILE_READ"), false);
    m.tree.click(QStringLiteral("FILE_READ"));
    EXPECT_EQ(m.reads, 1) << "a disabled entry ran its command";
    EXPECT_FALSE(m.tree.isEnabled(QStringLiteral("FILE_READ")));

    m.tree.setCaption(QStringLiteral("FILE_NEW"), QStringLiteral("新規(&N)"));
    EXPECT_EQ(m.tree.caption(QStringLiteral("FILE_NEW")), QStringLiteral("新規(&N)"));

    // The search menu stands disabled and off the bar, and still pops up with usable entries.
    m.tree.setEnabled(QStringLiteral("SERCH_000"), false);
    m.tree.setVisible(QStringLiteral("SERCH_000"), false);
    QMenu *pop = m.tree.popup(QStringLiteral("SERCH_000"), QPoint(10, 10));
    ASSERT_NE(pop, nullptr);
    EXPECT_TRUE(pop->isEnabled());
    ASSERT_EQ(pop->actions().size(), 2);
    EXPECT_EQ(pop->actions()[0], m.tree.action(QStringLiteral("INPUT_bukkenmei")));
    EXPECT_TRUE(pop->actions()[0]->isEnabled());
    pop->close();
    EXPECT_FALSE(m.tree.isEnabled(QStringLiteral("SERCH_000")));
    EXPECT_FALSE(m.tree.isVisible(QStringLiteral("SERCH_000")));
    EXPECT_FALSE(m.tree.action(QStringLiteral("SERCH_000"))->isVisible());
}

TEST(MenuTree, ATableOfRowsBuildsTheTreeAndRunsEachCommandOnItsOwner)
{
    struct Owner {
        int opened = 0;
        void open() { ++opened; }
    };
    const std::vector<MenuRow<Owner>> rows = {
        {MenuKind::Menu, "", "FILE_000", "ﾌｧｲﾙ"},
        {MenuKind::Item, "FILE_000", "FILE_READ", "読込み/削除", &Owner::open},
        {MenuKind::Separator, "FILE_000", "FILE_filler", "-----"},
        {MenuKind::Item, "FILE_000", "FILE_WRITE", "保存"},
        {MenuKind::Item, "", "END_000", "終了", [](Owner &o) { o.opened += 10; }},
    };
    QMainWindow window;
    MenuTree tree(window.menuBar());
    Owner owner;
    tree.addRows(rows, owner);

    EXPECT_EQ(tree.names(), QStringList({"FILE_000", "FILE_READ", "FILE_filler", "FILE_WRITE", "END_000"}));
    ASSERT_NE(tree.menu(QStringLiteral("FILE_000")), nullptr);
    EXPECT_EQ(tree.caption(QStringLiteral("FILE_READ")), QStringLiteral("読込み/削除"));
    EXPECT_TRUE(tree.action(QStringLiteral("FILE_filler"))->isSeparator());
    EXPECT_FALSE(tree.action(QStringLiteral("FILE_WRITE"))->isSeparator());

    tree.click(QStringLiteral("FILE_READ"));
    tree.click(QStringLiteral("FILE_WRITE")); // no command: nothing runs
    tree.click(QStringLiteral("END_000"));
    EXPECT_EQ(owner.opened, 11);
}

TEST(MenuTree, SeparatorsAreLinesAndMenusKeepTheirSettingWhenTheWindowIsDisabled)
{
    MainWithMenus m;
    m.tree.addRow(MenuKind::Separator, "FILE_000", "FILE_filler", "---------------");
    QAction *separator = m.tree.action(QStringLiteral("FILE_filler"));
    EXPECT_TRUE(separator->isSeparator());
    EXPECT_TRUE(separator->text().isEmpty()) << "a separator shows as a line, no text";
    EXPECT_EQ(m.tree.caption(QStringLiteral("FILE_filler")), QStringLiteral("---------------"));

    // Disabling the window (a form shown over it, a print run) and enabling it again leaves a
    // disabled menu disabled and an enabled one enabled.
    m.tree.setEnabled(QStringLiteral("SERCH_000"), false);
    m.window.setEnabled(false);
    m.window.setEnabled(true);
    EXPECT_FALSE(m.tree.isEnabled(QStringLiteral("SERCH_000")));
    EXPECT_TRUE(m.tree.isEnabled(QStringLiteral("FILE_000")));
    m.tree.setEnabled(QStringLiteral("SERCH_000"), true);
    EXPECT_TRUE(m.tree.isEnabled(QStringLiteral("SERCH_000")));
}
