#include "media/MenuChoiceAccessibility.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QStyle>

namespace zt {

namespace {

QMenu *ownerMenu(QAction *action) {
    for (QObject *owner : action->associatedObjects())
        if (auto *menu = qobject_cast<QMenu *>(owner)) return menu;
    return nullptr;
}

// One entry of a menu, as Qt shows it, but a check box when it is a choice.
class MenuEntry : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuEntry(QMenu *menu, QAction *action) : menu_(menu), action_(action) {}

    bool isValid() const override { return menu_ && action_; }
    QObject *object() const override { return action_; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(menu_); }
    int childCount() const override { return isValid() && action_->menu() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override {
        return index == 0 && childCount() ? QAccessible::queryAccessibleInterface(action_->menu()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child && childCount() && child->object() == action_->menu() ? 0 : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override {
        QAccessibleInterface *c = child(0);
        return c && c->rect().contains(x, y) ? c : nullptr;
    }
    QAccessible::Role role() const override {
        if (!isValid()) return QAccessible::MenuItem;
        if (action_->isSeparator()) return QAccessible::Separator;
        return action_->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
    }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return withoutMnemonic(action_->text());
        if (t == QAccessible::Accelerator) {
            const QKeySequence key = action_->shortcut().isEmpty() ? QKeySequence::mnemonic(action_->text())
                                                                  : action_->shortcut();
            return key.toString(QKeySequence::NativeText);
        }
        return {};
    }

    QRect rect() const override {
        if (!isValid()) return {};
        return menu_->actionGeometry(action_).translated(menu_->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) return s;
        s.invisible = !menu_->isVisible() || !action_->isVisible();
        s.focused = menu_->activeAction() == action_;
        s.hotTracked = menu_->style()->styleHint(QStyle::SH_Menu_MouseTracking) != 0;
        s.disabled = action_->isSeparator() || !action_->isEnabled();
        s.checkable = action_->isCheckable();
        s.checked = action_->isChecked();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override {
        if (!isValid() || action_->isSeparator()) return {};
        return {action_->menu() ? showMenuAction() : pressAction()};
    }
    void doAction(const QString &name) override {
        if (!isValid() || !action_->isEnabled()) return;
        if (name == pressAction()) {
            action_->trigger();
        } else if (name == showMenuAction()) {
            if (action_->menu()->isVisible())
                action_->menu()->hide();
            else
                menu_->setActiveAction(action_);
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    // "&Music" is heard as "Music", "R&&B" as "R&B".
    static QString withoutMnemonic(const QString &caption) {
        QString out;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == QLatin1Char('&') && ++i == caption.size()) break;
            out += caption[i];
        }
        return out;
    }

    QPointer<QMenu> menu_;
    QPointer<QAction> action_;
};

// A pop-up menu whose children are its entries, whatever their role.
class MenuFace : public QAccessibleWidget {
public:
    explicit MenuFace(QMenu *menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    int childCount() const override { return menu()->actions().size(); }
    QAccessibleInterface *child(int index) const override {
        const QList<QAction *> actions = menu()->actions();
        return index >= 0 && index < actions.size() ? QAccessible::queryAccessibleInterface(actions[index]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child ? menu()->actions().indexOf(qobject_cast<QAction *>(child->object())) : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override {
        QAction *a = menu()->actionAt(menu()->mapFromGlobal(QPoint(x, y)));
        return a && !a->isSeparator() ? QAccessible::queryAccessibleInterface(a) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        const QString own = QAccessibleWidget::text(t);
        return own.isEmpty() && t == QAccessible::Name ? menu()->windowTitle() : own;
    }
    // A submenu belongs to the entry that opens it.
    QAccessibleInterface *parent() const override {
        QAction *opener = menu()->menuAction();
        QMenu *outer = opener ? ownerMenu(opener) : nullptr;
        return outer ? QAccessible::queryAccessibleInterface(opener) : QAccessibleWidget::parent();
    }

private:
    QMenu *menu() const { return static_cast<QMenu *>(widget()); }
};

QAccessibleInterface *menuFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("QMenu"))
        if (auto *menu = qobject_cast<QMenu *>(object)) return new MenuFace(menu);
    if (className == QLatin1String("QAction"))
        if (auto *action = qobject_cast<QAction *>(object))
            if (QMenu *menu = ownerMenu(action)) return new MenuEntry(menu, action);
    return nullptr;
}

} // namespace

void exposeMenuChoices() {
    // Qt keeps a factory once, however often it is installed.
    QAccessible::installFactory(menuFactory);
}

} // namespace zt
