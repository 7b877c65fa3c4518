#include "shell/TableAccessibility.h"

#include "rules/TurnFlow.h"
#include "shell/GameView.h"
#include "shell/TableThings.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QGraphicsItem>
#include <QMenu>
#include <QWindow>
#include <algorithm>

namespace zt {

namespace {

// The view's own accessible face: a pane whose children are the table's things.
class GameViewAccessible : public QAccessibleWidget {
public:
    GameViewAccessible(GameView *view, TableAccessibility *table)
        : QAccessibleWidget(view, QAccessible::Pane, TableAccessibility::tr("Card table")), table_(table) {}

    int childCount() const override { return table_ ? int(table_->children().size()) : 0; }
    QAccessibleInterface *child(int index) const override {
        if (!table_) return nullptr;
        const QList<QAccessibleInterface *> c = table_->children();
        return index >= 0 && index < c.size() ? c[index] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return table_ ? int(table_->children().indexOf(const_cast<QAccessibleInterface *>(child))) : -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override {
        if (!table_) return nullptr;
        const QList<QAccessibleInterface *> c = table_->children();
        for (auto it = c.rbegin(); it != c.rend(); ++it)
            if ((*it)->rect().contains(x, y)) return *it;
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override { return table_ ? table_->focusedChild() : nullptr; }

private:
    QPointer<TableAccessibility> table_;
};

QAccessibleInterface *viewFactory(const QString &className, QObject *object) {
    // The main window is a plain widget, which would read as a filler: screen
    // readers find the title and the status bar only on a frame.
    if (className == QLatin1String("zt::MainWindow") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    if (className != QLatin1String("zt::GameView")) return nullptr;
    auto *view = qobject_cast<GameView *>(object);
    auto *table = view ? view->findChild<TableAccessibility *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    return table ? new GameViewAccessible(view, table) : nullptr;
}

void sendEvent(QAccessibleInterface *iface, QAccessible::Event type) {
    if (!QAccessible::isActive() || !iface) return;
    QAccessibleEvent event(iface, type);
    QAccessible::updateAccessibility(&event);
}

QString joined(const QStringList &parts) {
    QStringList out;
    for (QString p : parts) {
        p = p.trimmed();
        if (p.isEmpty()) continue;
        if (!p.endsWith(QLatin1Char('.'))) p += QLatin1Char('.');
        out << p;
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

TableAccessibility::TableAccessibility(GameView *view, const GameState &s, const Elements &e, TableControls controls,
                                       Focus focus)
    : QObject(view), view_(view), e_(e), reading_(s, e), controls_(std::move(controls)), focus_(std::move(focus)) {
    static const bool factoryInstalled = (QAccessible::installFactory(viewFactory), true);
    Q_UNUSED(factoryInstalled);
    // A plain face made before this one existed would hide the table.
    for (QObject *o : {static_cast<QObject *>(view), static_cast<QObject *>(view->window())})
        if (QAccessibleInterface *old = QAccessible::queryAccessibleInterface(o);
            old && (o == view ? !dynamic_cast<GameViewAccessible *>(old) : old->role() != QAccessible::Window))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));

    cards_.push_back(nullptr);
    for (int k = 1; k <= 40; ++k) cards_.push_back(make(new CardThing(*this, k)));
    for (int i = 0; i <= 2; ++i) backs_.push_back(make(new BackThing(*this, i)));
    go_ = make(new ButtonThing(*this, {QStringLiteral("GO"), tr("Press Return or Space to deal"), QStringLiteral("Return"),
                                       e_.Command1, [this] { controls_.go(); }, true}));
    menu_ = make(new ButtonThing(*this, {QStringLiteral("Menu"), {}, QStringLiteral("F10"), e_.LBLmenu,
                                         [this] { controls_.menu(); }, false}));
    light_ = make(new LabelThing(
        *this, QAccessible::Indicator,
        [this] {
            const int mover = reading_.toMove();
            return mover == kHuman ? tr("Your turn") : mover == kComputer ? tr("Computer's turn") : QString();
        },
        [this] { return e_.Verde[0]->sceneBoundingRect(); }));
    score_ = make(new LabelThing(
        *this, QAccessible::StaticText,
        [this] {
            if (!e_.Label2->isVisible()) return QString();
            return tr("You %1, Computer %2").arg(reading_.taken(kHuman)).arg(reading_.taken(kComputer));
        },
        [this] { return e_.Label2->sceneBoundingRect(); }));
    for (const TextPanel *t : {e_.Text1, e_.Text3, e_.Text4}) panels_.push_back(make(new PanelThing(*this, t)));
    live_ = make(new StatusBarThing(*this));
    for (int i = 0; i < 4; ++i) notices_.push_back(make(new NoticeThing(*this)));
    connect(e_.Command1, &QGraphicsObject::visibleChanged, this, [this] {
        childrenChanged();
        update();
    });
    for (const TextPanel *t : {e_.Text1, e_.Text3, e_.Text4})
        connect(t, &QGraphicsObject::visibleChanged, this, [this, t] {
            lineOf_.remove(t);
            // Closed: the reader hears where the keys are now.
            if (!t->isVisible()) nameFocus_ = true;
            childrenChanged();
            update();
        });
    // Named, so a reader says which menu opened.
    e_.menu.partita->setAccessibleName(tr("Game menu"));
    // A popup reads as no window of its own: say which menu opened and
    // where it stands, once the window's own stir has passed.
    // The command it stands on is the menu's own focus, which the reader says.
    connect(e_.menu.partita, &QMenu::aboutToShow, this, [this] {
        QMetaObject::invokeMethod(this, [this] {
            if (e_.menu.partita->isVisible()) showNotice(joined({tr("Game menu")}));
        }, Qt::QueuedConnection);
    });
    // The menu had the screen reader's focus: the table's is named again.
    connect(e_.menu.partita, &QMenu::aboutToHide, this, [this] {
        locus_ = readerFocus_ = nullptr;
        nameFocus_ = true;
        update();
    });
    view->installEventFilter(this);
}

TableAccessibility::~TableAccessibility() {
    for (unsigned id : ids_) QAccessible::deleteAccessibleInterface(id);
}

template <class Thing> Thing *TableAccessibility::make(Thing *element) const {
    ids_.push_back(QAccessible::registerAccessibleInterface(element));
    return element;
}

QList<QAccessibleInterface *> TableAccessibility::children() const {
    QList<QAccessibleInterface *> out;
    auto add = [&out](TableThing *el) {
        if (el->present()) out << el;
    };
    auto cardsAt = [&](Place place) {
        for (int k = 1; k <= 40; ++k)
            if (reading_.placeOf(k) == place) add(cards_[k]);
    };
    add(menu_);
    add(go_);
    for (TableThing *b : backs_) add(b);
    cardsAt(Place::ComputerPile);
    for (int k : reading_.table()) add(cards_[k]);
    cardsAt(Place::Played);
    for (int k : reading_.hand())
        if (k != 0) add(cards_[k]);
    cardsAt(Place::OwnPile);
    add(light_);
    add(score_);
    const int lineCount = int(reading_.printed().size());
    while (int(lines_.size()) < lineCount)
        lines_.push_back(make(new LabelThing(
            *this, QAccessible::StaticText, [this, i = lines_.size()] { return reading_.printed().value(int(i)).trimmed(); },
            [this, i = lines_.size()] { return e_.printer->lineRects().value(int(i)); })));
    for (int i = 0; i < lineCount; ++i) add(lines_[i]);
    for (TableThing *p : panels_) add(p);
    add(live_);
    return out;
}

QAccessibleInterface *TableAccessibility::focusedChild() const {
    if (!view_ || !view_->hasFocus()) return nullptr;
    if (const TextPanel *panel = focus_.panel()) {
        for (PanelThing *p : panels_)
            if (p->panel() == panel) return p;
    }
    if (go_->present()) return go_;
    const int k = focus_.card();
    const std::vector<int> order = reading_.focusOrder();
    return std::find(order.begin(), order.end(), k) != order.end() ? cards_[k] : nullptr;
}

bool TableAccessibility::eventFilter(QObject *watched, QEvent *event) {
    // Back to the table, from another window or from the menu: the reader
    // hears the table's own focus, not the view's.
    if (watched == view_ && event->type() == QEvent::FocusIn) {
        locus_ = readerFocus_ = nullptr;
        update();
    }
    return QObject::eventFilter(watched, event);
}

void TableAccessibility::tell(const QString &text) {
    pending_ << text;
    update();
}

void TableAccessibility::update() {
    // What happens in one turn of the event loop is said at once: a reader
    // cuts short whatever it is saying for each new thing it is told.
    if (flushQueued_) return;
    flushQueued_ = true;
    QMetaObject::invokeMethod(this, &TableAccessibility::flush, Qt::QueuedConnection);
}

QAccessibleInterface *TableAccessibility::statusBar() const { return live_; }
QAccessibleInterface *TableAccessibility::notice(int i) const {
    return i >= 0 && i < int(notices_.size()) ? notices_[i] : nullptr;
}
int TableAccessibility::noticeCount() const { return int(notices_.size()); }

void TableAccessibility::flush() {
    flushQueued_ = false;
    QStringList news = std::exchange(pending_, {});
    if (!view_) return;
    // Read once the click's handlers have all run, in whatever order.
    if (const int card = std::exchange(clicked_, 0); card != 0 && cards_[card] == focusedChild() &&
                                                    cards_[card]->state().selectable)
        news.prepend(reading_.selected(card) ? tr("Selected") : tr("Not selected"));
    if (!news.isEmpty()) {
        news_ = joined(news);
        sendEvent(live_, QAccessible::NameChanged);
    }
    const bool name = std::exchange(nameFocus_, false);
    if (!view_->hasFocus()) {
        locus_ = readerFocus_ = nullptr;
        if (!news.isEmpty()) showNotice(news_);
        return;
    }
    // With nothing of its own focused, the table leaves the reader where it
    // was: the view itself would only be read out as "card table" again.
    QAccessibleInterface *target = focusedChild();
    const bool moved = target && target != locus_;
    if (moved) {
        // A reader keeps what it read of an object until told it changed:
        // the place or the selection may have, since.
        sendEvent(target, QAccessible::DescriptionChanged);
        locus_ = target;
    }
    // A move of the focus alone is the reader's to say, unless it believes
    // the focus is there already and would stay silent.
    if (moved && news.isEmpty() && target != readerFocus_) {
        readerFocus_ = target;
        sendEvent(target, QAccessible::Focus);
        return;
    }
    // Otherwise one notice: the news, then where the focus is when it moved
    // or a key closed what had it. A reader cuts short what it is saying for
    // each new thing it hears, and a focus event beside it would say the
    // card a second time.
    QStringList parts;
    if (!news.isEmpty()) parts << news_;
    if (target && (moved || name)) parts << target->text(QAccessible::Name) << target->text(QAccessible::Description);
    if (!parts.isEmpty()) showNotice(joined(parts));
}

void TableAccessibility::showNotice(const QString &text) {
    // A notice in the status bar is spoken as it shows, whatever has the
    // focus. Several take turns, so each keeps its words until read.
    NoticeThing *notice = notices_[nextNotice_++ % notices_.size()];
    notice->words = text;
    sendEvent(notice, QAccessible::NameChanged);
    sendEvent(notice, QAccessible::ObjectShow);
}

void TableAccessibility::turnBegan(int player) {
    childrenChanged();
    tell(player == kHuman ? tr("Your turn") : tr("Computer's turn"));
}

void TableAccessibility::moveMade(const MoveNews &m) {
    childrenChanged();
    const QString card = cardName(m.card);
    const bool computer = m.player == kComputer;
    QString text;
    if (m.kind == MoveNews::Steal) {
        text = computer ? tr("Computer plays %1 and steals your pile").arg(card)
                        : tr("You play %1 and steal the computer's pile").arg(card);
    } else if (m.kind == MoveNews::Capture) {
        QStringList taken;
        for (int k : m.taken) taken << cardName(k);
        const QString list = taken.join(QStringLiteral(", "));
        text = computer ? tr("Computer plays %1 and takes %2").arg(card, list)
                        : tr("You play %1 and take %2").arg(card, list);
    } else {
        text = computer ? tr("Computer plays %1 on the table").arg(card) : tr("You play %1 on the table").arg(card);
    }
    tell(text);
    tell(tr("Cards taken: you %1, computer %2").arg(m.piles[kHuman]).arg(m.piles[kComputer]));
}

void TableAccessibility::choosing(int card) {
    tell(tr("%1 can take: choose the table cards with Tab and Space").arg(cardName(card)));
}

void TableAccessibility::gameOver(const GameResult &result) {
    childrenChanged();
    for (const QString &line : TurnFlow::resultLines(result)) tell(line);
    tell(tr("Cards taken: you %1, computer %2").arg(reading_.taken(kHuman)).arg(reading_.taken(kComputer)));
    tell(reading_.continues() ? tr("Press Control+Return to continue") : tr("Press Control+N for a new match"));
}

void TableAccessibility::focusMoved(int) { update(); }

void TableAccessibility::cardClicked(int card) {
    if (card < 1 || card > 40) return;
    childrenChanged();
    // Said of the card that has the focus, once the click is done; other cards change silently.
    clicked_ = card;
    update();
}

void TableAccessibility::refused(const QString &hint) { tell(hint); }

void TableAccessibility::readLines(int delta) {
    const TextPanel *panel = focus_.panel();
    if (!panel) return;
    const int count = int(panel->text().count(QLatin1Char('\n'))) + 1;
    const int line = std::clamp(lineOf_.value(panel) + delta, 0, count - 1);
    if (line == lineOf_.value(panel)) return;
    lineOf_[panel] = line;
    if (QAccessibleInterface *iface = focusedChild(); iface && QAccessible::isActive()) {
        QAccessibleTextCursorEvent event(iface, iface->textInterface()->cursorPosition());
        QAccessible::updateAccessibility(&event);
    }
}

void TableAccessibility::childrenChanged() {
    if (view_) sendEvent(QAccessible::queryAccessibleInterface(view_), QAccessible::ObjectReorder);
}

} // namespace zt
