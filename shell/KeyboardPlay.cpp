#include "shell/KeyboardPlay.h"

#include "media/CardNames.h"
#include "shell/FocusFrame.h"

#include <QGraphicsView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

namespace zt {

KeyboardPlay::KeyboardPlay(QWidget &window, QGraphicsView &view, const GameState &s, Elements &e,
                           TableControls controls)
    : QObject(&window), view_(view), e_(e), reading_(s, e), controls_(std::move(controls)), frame_(new FocusFrame) {
    e_.scene->addItem(frame_);
    window.installEventFilter(this);
    view_.installEventFilter(this);
    view_.viewport()->installEventFilter(this);
    // An open menu has the keys; Ctrl+Q still quits from there.
    for (QMenu *menu : e_.menu.partita->findChildren<QMenu *>()) menu->installEventFilter(this);
    e_.menu.partita->installEventFilter(this);
    // The table takes the keys; a click on it leaves them there.
    view_.setFocusPolicy(Qt::StrongFocus);
    window.setFocusProxy(&view_);
    // The focus follows what the handlers did, whichever of them runs first.
    for (int k = 1; k <= 40; ++k) {
        connect(e_.carta[k], &PictureItem::clicked, this, &KeyboardPlay::cardClicked);
        connect(e_.carta[k], &QGraphicsObject::xChanged, this, &KeyboardPlay::cardMoved);
        connect(e_.carta[k], &QGraphicsObject::yChanged, this, &KeyboardPlay::cardMoved);
        connect(e_.carta[k], &QGraphicsObject::visibleChanged, this, &KeyboardPlay::cardMoved);
    }
    // A panel that opens has the keys, to be read or closed.
    for (TextPanel *t : {e_.Text1, e_.Text3, e_.Text4})
        connect(t, &QGraphicsObject::visibleChanged, this, [this, t] {
            if (t->isVisible()) panelFocus_ = true;
            updateFrame();
        });
}

TextPanel *KeyboardPlay::focusedPanel() const { return panelFocus_ ? reading_.topPanel() : nullptr; }

void KeyboardPlay::turnBegan(int player) {
    if (player != kHuman) return;
    const std::vector<int> order = reading_.reachable();
    const auto hand = std::find_if(order.begin(), order.end(),
                                   [this](int k) { return reading_.placeOf(k) == Place::Hand; });
    focus(hand != order.end() ? *hand : 0);
}

void KeyboardPlay::choosing() {
    const std::vector<int> order = reading_.reachable();
    const auto table = std::find_if(order.begin(), order.end(),
                                    [this](int k) { return reading_.placeOf(k) != Place::Hand; });
    focus(table != order.end() ? *table : 0);
}

bool KeyboardPlay::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (qobject_cast<QMenu *>(watched)) {
            if (key->key() != Qt::Key_Q || !(key->modifiers() & Qt::ControlModifier)) return false;
            qobject_cast<QMenu *>(watched)->close();
        }
        if (keyPressed(key->key(), key->modifiers())) return true;
    } else if (event->type() == QEvent::MouseButtonPress && watched == view_.viewport()) {
        // Back to the mouse: the frame goes until a key is used again.
        keysUsed_ = false;
        updateFrame();
    }
    return QObject::eventFilter(watched, event);
}

bool KeyboardPlay::keyPressed(int key, Qt::KeyboardModifiers mods) {
    const Menu &m = e_.menu;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    // Menu commands act through their items, so a disabled item's key does nothing.
    if (ctrl && key == Qt::Key_Q) {
        m.esci->trigger();
        return true;
    }
    if (ctrl && key == Qt::Key_N) {
        // On a start screen, what goes on is GO.
        if (!m.new_game->isEnabled())
            emit refused(e_.Command1->isVisible() ? tr("New Game is not available now: press Return for GO to deal")
                                                  : tr("New Game is not available during a match"));
        m.new_game->trigger();
        return true;
    }
    if (ctrl && enter) {
        if (!m.continue_->isEnabled() && m.new_game->isEnabled())
            emit refused(tr("The match is over: press Control+N for a new match"));
        m.continue_->trigger();
        return true;
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (TextPanel *panel = focusedPanel()) {
        switch (key) {
        case Qt::Key_Escape:
            controls_.bareTable();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            // A click on the panel: the rules close, the information stays.
            emit panel->clicked();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            emit readLines(key == Qt::Key_Up ? -1 : +1);
            return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            emit readLines(key == Qt::Key_PageUp ? -10 : +10);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            panelFocus_ = false;
            emit focusMoved(focused_);
            break;
        default:
            break;
        }
    }
    switch (key) {
    case Qt::Key_Escape:
        // Closes an open panel, as a click on the table does.
        if (!reading_.topPanel()) return false;
        controls_.bareTable();
        return true;
    case Qt::Key_F10:
    case Qt::Key_Menu:
    {
        controls_.menu();
        // Onto the first command at once, as Down would, so a screen reader
        // names it (making it active directly would open its submenu too).
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(e_.menu.partita, &down);
        return true;
    }
    case Qt::Key_F1:
        (speechFor(QLocale()) == Speech::Italian ? m.Italiano : m.english)->trigger();
        return true;
    case Qt::Key_Tab:
        keysUsed_ = true;
        step(mods & Qt::ShiftModifier ? -1 : +1);
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
        keysUsed_ = true;
        step(+1);
        return true;
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Up:
        keysUsed_ = true;
        step(-1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: {
        keysUsed_ = true;
        if (e_.Command1->isVisible()) {
            controls_.go();
            return true;
        }
        const std::vector<int> order = reading_.reachable();
        if (std::find(order.begin(), order.end(), focused_) == order.end()) {
            focus(order.empty() ? 0 : order.front());
            return true;
        }
        controls_.card(focused_);
        return true;
    }
    default:
        return false;
    }
}

void KeyboardPlay::step(int delta) {
    const std::vector<int> order = reading_.reachable();
    if (order.empty()) return focus(0);
    const auto it = std::find(order.begin(), order.end(), focused_);
    if (it == order.end()) return focus(delta > 0 ? order.front() : order.back());
    const int n = static_cast<int>(order.size());
    focus(order[((it - order.begin()) + delta + n) % n]);
}

void KeyboardPlay::focus(int card) {
    const bool moved = card != focused_;
    focused_ = card;
    updateFrame();
    if (moved) emit focusMoved(card);
}

void KeyboardPlay::cardClicked(int) {
    // A click on a card closes the panels: the keys are back on the cards.
    panelFocus_ = false;
    updateFrame();
}

void KeyboardPlay::cardMoved() {
    // A card on its way is in no place the focus may show on.
    if (sender() == e_.carta[focused_]) frame_->setVisible(false);
}

void KeyboardPlay::updateFrame() {
    const std::vector<int> order = reading_.reachable();
    const bool show = keysUsed_ && !focusedPanel() && std::find(order.begin(), order.end(), focused_) != order.end();
    if (!show) return frame_->setVisible(false);
    const PictureItem *card = e_.carta[focused_];
    frame_->surround(card->sceneBoundingRect(), card->zValue());
}

} // namespace zt
