#include "shell/TableThings.h"

#include "media/CardNames.h"
#include "shell/GameView.h"
#include "shell/TableAccessibility.h"

#include <QGraphicsItem>
#include <QWindow>

namespace zt {

// ---- Every thing --------------------------------------------------------------

bool TableThing::isValid() const { return table_.view() != nullptr; }

QWindow *TableThing::window() const { return table_.view() ? table_.view()->window()->windowHandle() : nullptr; }

QAccessibleInterface *TableThing::parent() const { return QAccessible::queryAccessibleInterface(table_.view()); }

QString TableThing::text(QAccessible::Text t) const {
    if (t == QAccessible::Name) return name();
    if (t == QAccessible::Description) return description();
    return {};
}

QRect TableThing::rect() const {
    const GameView *view = table_.view();
    const QRectF scene = sceneRect();
    if (!view || scene.isNull()) return {};
    const QRect local = view->mapFromScene(scene).boundingRect();
    return QRect(view->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State TableThing::state() const {
    QAccessible::State st;
    st.invisible = !present();
    st.focused = table_.focusedChild() == this;
    return st;
}

const TableReading &TableThing::reading() const { return table_.reading(); }

void *PressableThing::interface_cast(QAccessible::InterfaceType t) {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
}

void PressableThing::doAction(const QString &action) {
    if (action == pressAction() && present()) press();
}

// ---- Cards ------------------------------------------------------------------------

bool CardThing::present() const { return reading().placeOf(card_) != Place::None; }

QAccessible::State CardThing::state() const {
    QAccessible::State st = TableThing::state();
    const Place place = reading().placeOf(card_);
    st.focusable = place == Place::Hand || place == Place::Table || place == Place::ComputerPile;
    st.selectable = place == Place::Table || place == Place::ComputerPile;
    st.selected = reading().selected(card_);
    return st;
}

QString CardThing::name() const { return cardName(card_); }

QString CardThing::description() const {
    QString place;
    switch (reading().placeOf(card_)) {
    case Place::Hand: place = TableAccessibility::tr("In your hand"); break;
    case Place::Table: place = TableAccessibility::tr("On the table"); break;
    case Place::Played: place = TableAccessibility::tr("Your played card"); break;
    case Place::ComputerPile: place = TableAccessibility::tr("Top of the computer's pile"); break;
    case Place::OwnPile: place = TableAccessibility::tr("Top of your pile"); break;
    case Place::None: break;
    }
    return reading().selected(card_) && !place.isEmpty() ? TableAccessibility::tr("%1, selected").arg(place) : place;
}

QRectF CardThing::sceneRect() const { return table_.elements().carta[card_]->sceneBoundingRect(); }

void CardThing::press() {
    // What a click there does: an open panel over the card takes it.
    if (TextPanel *over = reading().panelOver(card_))
        emit over->clicked();
    else
        table_.controls().card(card_);
}

bool BackThing::present() const {
    const std::vector<int> held = reading().computerSlots();
    return std::find(held.begin(), held.end(), slot_) != held.end();
}

QString BackThing::name() const { return TableAccessibility::tr("Computer's card"); }

QRectF BackThing::sceneRect() const { return table_.elements().dorso[slot_]->sceneBoundingRect(); }

// ---- Buttons ------------------------------------------------------------------------

bool ButtonThing::present() const { return face_.item->isVisible(); }

QAccessible::State ButtonThing::state() const {
    QAccessible::State st = TableThing::state();
    st.focusable = face_.focusable && present();
    return st;
}

QRectF ButtonThing::sceneRect() const { return face_.item->sceneBoundingRect(); }

// ---- The status bar and its notices ------------------------------------------------

QAccessibleInterface *NoticeThing::parent() const { return table_.statusBar(); }

QRectF NoticeThing::sceneRect() const { return table_.elements().Label2->sceneBoundingRect(); }

QAccessibleInterface *StatusBarThing::child(int i) const { return table_.notice(i); }

int StatusBarThing::childCount() const { return table_.noticeCount(); }

int StatusBarThing::indexOfChild(const QAccessibleInterface *c) const {
    for (int i = 0; i < table_.noticeCount(); ++i)
        if (table_.notice(i) == c) return i;
    return -1;
}

QString StatusBarThing::name() const { return table_.announcement(); }

QRectF StatusBarThing::sceneRect() const { return table_.elements().Label2->sceneBoundingRect(); }

// ---- Panels ---------------------------------------------------------------------------

bool PanelThing::present() const { return panel_->isVisible(); }

QAccessible::State PanelThing::state() const {
    QAccessible::State st = TableThing::state();
    st.readOnly = true;
    st.focusable = present();
    return st;
}

QString PanelThing::text(QAccessible::Text t) const {
    // The whole text, the rules or the information, to be read out.
    if (t == QAccessible::Value) return panel_->text();
    return TableThing::text(t);
}

void *PanelThing::interface_cast(QAccessible::InterfaceType t) {
    return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface *>(this) : nullptr;
}

int PanelThing::cursorPosition() const {
    const QStringList all = lines();
    int offset = 0;
    for (int i = 0; i < table_.readingLine(panel_) && i < all.size(); ++i) offset += int(all[i].size()) + 1;
    return offset;
}

QString PanelThing::text(int start, int end) const { return panel_->text().mid(start, end - start); }

int PanelThing::characterCount() const { return int(panel_->text().size()); }

QString PanelThing::attributes(int, int *start, int *end) const {
    *start = 0;
    *end = characterCount();
    return {};
}

QString PanelThing::name() const { return lines().value(0).trimmed(); }

QString PanelThing::description() const { return TableAccessibility::tr("Up and Down read the lines, Escape closes"); }

QRectF PanelThing::sceneRect() const { return panel_->sceneBoundingRect(); }

QStringList PanelThing::lines() const { return panel_->text().split(QLatin1Char('\n')); }

} // namespace zt
