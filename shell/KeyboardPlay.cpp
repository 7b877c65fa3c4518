#include "shell/KeyboardPlay.h"

#include "media/CardNames.h"
#include "shell/FocusFrame.h"
#include "shell/MainWindow.h"
#include "table/Places.h"

#include <QGraphicsScene>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

namespace zt {

namespace {

bool at(const PictureItem *card, double left, double top) {
    return qFuzzyCompare(card->left() + 1, left + 1) && qFuzzyCompare(card->top() + 1, top + 1);
}

} // namespace

std::vector<int> focusOrder(const GameState &s, const Elements &e) {
    std::vector<int> order;
    const double W = e.carta[1]->width(), H = e.carta[1]->height();
    for (int slot = 0; slot <= 2; ++slot)
        for (int k = 1; k <= 40; ++k) {
            const PictureItem *c = e.carta[k];
            if (c->tag == QLatin1String("jolly") && c->isVisible() &&
                at(c, places::handLeft(slot), places::humanHandTop(H)))
                order.push_back(k);
        }
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= 4; ++col) {
            const int k = s.tableCards[row][col];
            if (k != 0 && e.carta[k]->isVisible() &&
                at(e.carta[k], places::slotLeft(W, col), places::slotTop(H, row)))
                order.push_back(k);
        }
    const int top = s.pileTop[kComputer];
    if (top != 0 && e.carta[top]->isVisible() && e.carta[top]->tag == QLatin1String("2")) order.push_back(top);
    return order;
}

KeyboardPlay::KeyboardPlay(MainWindow &window)
    : QObject(&window), w_(window), s_(window.state()), e_(window.elements()), frame_(new FocusFrame) {
    e_.scene->addItem(frame_);
    w_.installEventFilter(this);
    w_.view()->installEventFilter(this);
    w_.view()->viewport()->installEventFilter(this);
    // An open menu has the keys; Ctrl+Q still quits from there.
    for (QMenu *menu : e_.menu.partita->findChildren<QMenu *>()) menu->installEventFilter(this);
    e_.menu.partita->installEventFilter(this);
    // The table takes the keys; a click on it leaves them there.
    w_.view()->setFocusPolicy(Qt::StrongFocus);
    w_.setFocusProxy(w_.view());
    // After the window's own handlers: they decide, this only follows.
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

const TextPanel *KeyboardPlay::focusedPanel() const {
    if (!panelFocus_) return nullptr;
    const TextPanel *top = nullptr;
    for (const TextPanel *t : {e_.Text1, e_.Text3, e_.Text4})
        if (t->isVisible() && (!top || t->zValue() > top->zValue())) top = t;
    return top;
}

std::vector<int> KeyboardPlay::reachable() const {
    std::vector<int> order = focusOrder(s_, e_);
    std::erase_if(order, [this](int k) {
        const QPointF centre = e_.carta[k]->sceneBoundingRect().center();
        for (const TextPanel *t : {e_.Text1, e_.Text3, e_.Text4})
            if (t->isVisible() && t->sceneBoundingRect().contains(centre)) return true;
        return false;
    });
    return order;
}

bool KeyboardPlay::frameShown() const { return frame_->isVisible(); }

void KeyboardPlay::turnBegan(int player) {
    if (player != kHuman) return;
    const std::vector<int> order = reachable();
    const auto hand = std::find_if(order.begin(), order.end(),
                                   [this](int k) { return e_.carta[k]->tag == QLatin1String("jolly"); });
    focus(hand != order.end() ? *hand : 0);
}

void KeyboardPlay::choosing() {
    const std::vector<int> order = reachable();
    const auto table = std::find_if(order.begin(), order.end(),
                                    [this](int k) { return e_.carta[k]->tag != QLatin1String("jolly"); });
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
    } else if (event->type() == QEvent::MouseButtonPress && watched == w_.view()->viewport()) {
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
        if (!m.new_game->isEnabled()) emit refused(tr("New Game is not available during a match"));
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
    if (const TextPanel *panel = focusedPanel()) {
        switch (key) {
        case Qt::Key_Escape:
            w_.Form_MouseDown();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            // What a click on the panel does: the rules close, the information stays.
            if (panel == e_.Text1) w_.Text1_Click();
            if (panel == e_.Text3) w_.Text3_Click();
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
        if (!e_.Text1->isVisible() && !e_.Text3->isVisible() && !e_.Text4->isVisible()) return false;
        w_.Form_MouseDown();
        return true;
    case Qt::Key_F10:
    case Qt::Key_Menu:
    {
        w_.LBLmenu_Click();
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
            w_.Command1_Click();
            return true;
        }
        const std::vector<int> order = reachable();
        if (std::find(order.begin(), order.end(), focused_) == order.end()) {
            focus(order.empty() ? 0 : order.front());
            return true;
        }
        // The click's own signal: the window's handler, then the focus follows.
        emit e_.carta[focused_]->clicked(focused_);
        return true;
    }
    default:
        return false;
    }
}

void KeyboardPlay::step(int delta) {
    const std::vector<int> order = reachable();
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
    const std::vector<int> order = reachable();
    const bool show = keysUsed_ && !focusedPanel() && std::find(order.begin(), order.end(), focused_) != order.end();
    if (!show) return frame_->setVisible(false);
    const PictureItem *card = e_.carta[focused_];
    frame_->surround(card->sceneBoundingRect(), card->zValue());
}

} // namespace zt
