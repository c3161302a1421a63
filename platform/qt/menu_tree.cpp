#include "platform/qt/menu_tree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <stdexcept>

#include "platform/qt/command_guard.h"

namespace qd::qt {

namespace {
const char *const SEPARATOR_CAPTION = "qd_separatorCaption";
const char *const ENABLED_SETTING = "qd_enabledSetting";
} // namespace

MenuTree::MenuTree(QMenuBar *bar) : m_bar(bar) {}

QWidget *MenuTree::container(const QString &parent) const
{
    if (parent.isEmpty())
        return m_bar.data();
    QMenu *m = menu(parent);
    if (!m)
        throw std::out_of_range("menu entry is not a menu: " + parent.toStdString());
    return m;
}

void MenuTree::remember(const QString &name, QAction *action, QMenu *menu)
{
    if (m_actions.contains(name))
        throw std::invalid_argument("menu entry added twice: " + name.toStdString());
    action->setObjectName(name);
    m_actions.insert(name, action);
    if (menu) {
        menu->setObjectName(name);
        m_menus.insert(name, menu);
        // Disabling and enabling the window disables and enables its menus' entries in the bar
        // with it; a menu keeps the setting the program gave it.
        QObject::connect(action, &QAction::changed, action, [action] {
            const QVariant setting = action->property(ENABLED_SETTING);
            if (setting.isValid() && action->isEnabled() != setting.toBool())
                action->setEnabled(setting.toBool());
        });
    }
    m_order << name;
}

QMenu *MenuTree::addMenu(const QString &parent, const QString &name, const QString &caption)
{
    QWidget *c = container(parent);
    QMenu *m = parent.isEmpty() ? m_bar->addMenu(caption) : static_cast<QMenu *>(c)->addMenu(caption);
    remember(name, m->menuAction(), m);
    return m;
}

QAction *MenuTree::addItem(const QString &parent, const QString &name, const QString &caption)
{
    QWidget *c = container(parent);
    QAction *a = parent.isEmpty() ? m_bar->addAction(caption) : static_cast<QMenu *>(c)->addAction(caption);
    remember(name, a, nullptr);
    return a;
}

void MenuTree::addRow(MenuKind kind, const char *parent, const char *name, const char *caption)
{
    const QString p = QString::fromLatin1(parent), n = QString::fromLatin1(name), c = QString::fromUtf8(caption);
    if (kind == MenuKind::Menu) {
        addMenu(p, n, c);
    } else if (kind == MenuKind::Separator) {
        // A separator is drawn as a line; its caption is kept, not shown.
        QAction *a = addItem(p, n, QString());
        a->setSeparator(true);
        a->setProperty(SEPARATOR_CAPTION, c);
    } else {
        addItem(p, n, c);
    }
}

bool MenuTree::contains(const QString &name) const
{
    return m_actions.contains(name);
}

QAction *MenuTree::action(const QString &name) const
{
    auto it = m_actions.find(name);
    if (it == m_actions.end() || it->isNull())
        throw std::out_of_range("no menu entry named " + name.toStdString());
    return it->data();
}

QMenu *MenuTree::menu(const QString &name) const
{
    action(name); // unknown names throw
    return m_menus.value(name).data();
}

void MenuTree::setEnabled(const QString &name, bool enabled)
{
    QAction *a = action(name);
    a->setProperty(ENABLED_SETTING, enabled);
    a->setEnabled(enabled);
}

bool MenuTree::isEnabled(const QString &name) const
{
    return action(name)->isEnabled();
}

void MenuTree::setVisible(const QString &name, bool visible)
{
    action(name)->setVisible(visible);
}

bool MenuTree::isVisible(const QString &name) const
{
    return action(name)->isVisible();
}

void MenuTree::setCaption(const QString &name, const QString &caption)
{
    action(name)->setText(caption);
}

QString MenuTree::caption(const QString &name) const
{
    const QAction *a = action(name);
    return a->isSeparator() ? a->property(SEPARATOR_CAPTION).toString() : a->text();
}

void MenuTree::onClick(const QString &name, std::function<void()> command)
{
    QAction *a = action(name);
    QObject::connect(a, &QAction::triggered, a,
                     [this, command = std::move(command)] { runGuarded(command, m_recover); });
}

void MenuTree::click(const QString &name)
{
    QAction *a = action(name);
    if (a->isEnabled())
        a->trigger();
}

QMenu *MenuTree::popup(const QString &name, const QPoint &globalPos)
{
    QMenu *m = menu(name);
    if (!m)
        throw std::out_of_range("menu entry is not a menu: " + name.toStdString());
    // Disabling or hiding the entry in the bar leaves the menu itself as it is.
    m->popup(globalPos);
    return m;
}

} // namespace qd::qt
