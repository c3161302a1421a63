// The menu tree of a window, built and reached by the names of its entries ("FILE_000",
// "FILE_READ"), with the captions as given: an "&" before a letter stays the entry's mnemonic.
//
// A menu is an entry that holds entries; a plain entry runs a command. Either kind may stand in
// the menu bar itself (a parent name that is empty). Enabled and Visible are the entry's own
// settings: a disabled menu cannot be opened from the bar, a hidden one is off the bar, and its
// entries keep their own settings; disabling and enabling the window leaves a menu as the program
// set it. A menu may still be popped up by program (popup()) whatever
// its settings in the bar, as the sheet does with its right-click menu.
#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QPoint;
class QWidget;

namespace qd::qt {

// What a row of a menu table adds: a menu, a plain entry, or a separator (drawn as a line; it
// keeps its caption, which caption() gives, and runs nothing).
enum class MenuKind { Menu, Item, Separator };

// One row of a menu table: the entry `name` with `caption` (UTF-8) under the menu `parent`
// (empty: the menu bar) and the command it runs on its owner when chosen (none: nothing runs).
template <class Owner>
struct MenuRow {
    MenuKind kind;
    const char *parent;
    const char *name;
    const char *caption;
    std::function<void(Owner &)> command = {};
};

class MenuTree {
public:
    explicit MenuTree(QMenuBar *bar);

    // Adds a menu under the menu `parent` (empty: the menu bar) and returns it.
    QMenu *addMenu(const QString &parent, const QString &name, const QString &caption);
    // Adds a plain entry under the menu `parent` (empty: the menu bar) and returns its action.
    QAction *addItem(const QString &parent, const QString &name, const QString &caption);

    // Adds the rows of a menu table in their order; a row's command runs on `owner` (guarded, as
    // onClick runs it).
    template <class Owner>
    void addRows(const std::vector<MenuRow<Owner>> &rows, Owner &owner)
    {
        for (const MenuRow<Owner> &row : rows) {
            addRow(row.kind, row.parent, row.name, row.caption);
            if (row.command)
                onClick(QString::fromLatin1(row.name), [command = row.command, &owner] { command(owner); });
        }
    }
    // Adds the entry of one row of a menu table.
    void addRow(MenuKind kind, const char *parent, const char *name, const char *caption);

    bool contains(const QString &name) const;
    // The entry's action (for a menu, the action that stands for it in its parent).
    // Unknown names throw std::out_of_range.
    QAction *action(const QString &name) const;
    // The menu of that name; nullptr when the name is a plain entry.
    QMenu *menu(const QString &name) const;

    void setEnabled(const QString &name, bool enabled);
    bool isEnabled(const QString &name) const;
    void setVisible(const QString &name, bool visible);
    bool isVisible(const QString &name) const;
    void setCaption(const QString &name, const QString &caption);
    QString caption(const QString &name) const;

    // Runs `command` when the entry is chosen, through the command guard (command_guard.h): a
    // failure it does not handle itself is shown and ends the command, not the program.
    void onClick(const QString &name, std::function<void()> command);
    // What the guard puts back after a command of these menus failed (the window's sheets drawn
    // again), before the failure is shown.
    void setRecovery(std::function<void()> recover) { m_recover = std::move(recover); }
    // Chooses the entry as a user would: nothing happens when it is disabled.
    void click(const QString &name);

    // Shows the menu `name` as a pop-up at a global position, not waiting for the choice, and
    // returns it. The entries are as enabled as they are set, even while the
    // menu itself is disabled or hidden in the bar.
    QMenu *popup(const QString &name, const QPoint &globalPos);

    // The names in the order they were added.
    QStringList names() const { return m_order; }

private:
    QWidget *container(const QString &parent) const;
    void remember(const QString &name, QAction *action, QMenu *menu);

    QPointer<QMenuBar> m_bar;
    QHash<QString, QPointer<QAction>> m_actions;
    QHash<QString, QPointer<QMenu>> m_menus;
    QStringList m_order;
    std::function<void()> m_recover;
};

} // namespace qd::qt
