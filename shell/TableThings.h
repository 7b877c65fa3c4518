#pragma once
// The things on the table as a screen reader finds them, one class a role.
// None owns an item: each reads the game whenever it is asked, so it is
// never out of date.
#include <QAccessible>
#include <QAccessibleInterface>
#include <functional>

class QGraphicsItem;

namespace zt {

class TableAccessibility;
class TableReading;
class TextPanel;

class TableThing : public QAccessibleInterface {
public:
    explicit TableThing(const TableAccessibility &table) : table_(table) {}
    // Whether it is on the table now.
    virtual bool present() const = 0;

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::State state() const override;

protected:
    virtual QString name() const = 0;
    virtual QString description() const { return {}; }
    // Where it is drawn, in the scene.
    virtual QRectF sceneRect() const = 0;
    const TableReading &reading() const;

    const TableAccessibility &table_;
};

// A thing a "press" acts on, as a click does.
class PressableThing : public TableThing, public QAccessibleActionInterface {
public:
    using TableThing::TableThing;
    void *interface_cast(QAccessible::InterfaceType t) override;
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override;
    QStringList keyBindingsForAction(const QString &) const override { return {key()}; }

protected:
    virtual void press() = 0;
    virtual QString key() const = 0;
};

// A card face, named by rank and suit, with its place and selection.
class CardThing : public PressableThing {
public:
    CardThing(const TableAccessibility &table, int card) : PressableThing(table), card_(card) {}
    bool present() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

protected:
    QString name() const override;
    QString description() const override;
    QRectF sceneRect() const override;
    void press() override;
    QString key() const override { return QStringLiteral("Space"); }

private:
    int card_;
};

// One of the computer's hidden cards.
class BackThing : public TableThing {
public:
    BackThing(const TableAccessibility &table, int slot) : TableThing(table), slot_(slot) {}
    bool present() const override;
    QAccessible::Role role() const override { return QAccessible::Graphic; }

protected:
    QString name() const override;
    QRectF sceneRect() const override;

private:
    int slot_;
};

// "GO" or the menu strip.
class ButtonThing : public PressableThing {
public:
    struct Face {
        QString name, description, key;
        const QGraphicsItem *item;
        std::function<void()> press;
        bool focusable;
    };
    ButtonThing(const TableAccessibility &table, Face face) : PressableThing(table), face_(std::move(face)) {}
    bool present() const override;
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override;

protected:
    QString name() const override { return face_.name; }
    QString description() const override { return face_.description; }
    QRectF sceneRect() const override;
    void press() override { face_.press(); }
    QString key() const override { return face_.key; }

private:
    Face face_;
};

// Words on the table: the turn light, the score, a printed line. Shown
// while it has words.
class LabelThing : public TableThing {
public:
    LabelThing(const TableAccessibility &table, QAccessible::Role role, std::function<QString()> words,
               std::function<QRectF()> where)
        : TableThing(table), role_(role), words_(std::move(words)), where_(std::move(where)) {}
    bool present() const override { return !words_().isEmpty(); }
    QAccessible::Role role() const override { return role_; }

protected:
    QString name() const override { return words_(); }
    QRectF sceneRect() const override { return where_(); }

private:
    QAccessible::Role role_;
    std::function<QString()> words_;
    std::function<QRectF()> where_;
};

// One notice in the status bar: the words it was last given.
class NoticeThing : public TableThing {
public:
    using TableThing::TableThing;
    bool present() const override { return !words.isEmpty(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessibleInterface *parent() const override;
    QString words;

protected:
    QString name() const override { return words; }
    QRectF sceneRect() const override;
};

// The status bar with the latest news; it holds the notices it has shown.
class StatusBarThing : public TableThing {
public:
    using TableThing::TableThing;
    bool present() const override { return true; }
    QAccessible::Role role() const override { return QAccessible::StatusBar; }
    QAccessibleInterface *child(int i) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *c) const override;

protected:
    QString name() const override;
    QRectF sceneRect() const override;
};

// An open rules or information panel, read as plain text one line at a
// time; nothing to select or edit.
class PanelThing : public TableThing, public QAccessibleTextInterface {
public:
    PanelThing(const TableAccessibility &table, const TextPanel *panel) : TableThing(table), panel_(panel) {}
    const TextPanel *panel() const { return panel_; }
    bool present() const override;
    QAccessible::Role role() const override { return QAccessible::Document; }
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void *interface_cast(QAccessible::InterfaceType t) override;

    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override;
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override;

protected:
    QString name() const override;
    QString description() const override;
    QRectF sceneRect() const override;

private:
    QStringList lines() const;
    const TextPanel *panel_;
};

} // namespace zt
