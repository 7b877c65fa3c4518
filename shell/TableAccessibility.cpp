#include "shell/TableAccessibility.h"

#include "rules/TurnFlow.h"
#include "shell/GameView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QGraphicsItem>
#include <QMenu>
#include <QWindow>
#include <algorithm>

namespace zt {

namespace {

QRect onScreen(const GameView *view, const QRectF &scene) {
    const QRect local = view->mapFromScene(scene).boundingRect();
    return QRect(view->viewport()->mapToGlobal(local.topLeft()), local.size());
}

} // namespace

// One thing on the table as an accessible object. It owns no item: it reads
// the game each time it is asked, so it is never out of date.
class TableElement : public QAccessibleInterface,
                     public QAccessibleActionInterface,
                     public QAccessibleTextInterface {
public:
    enum class Kind { Card, Back, Go, Light, Score, Line, MenuStrip, Panel, Live, Notice };

    TableElement(const TableAccessibility &table, Kind kind, int index = 0)
        : table_(table), kind_(kind), index_(index) {}

    Kind kind() const { return kind_; }
    int index() const { return index_; }

    // Whether it is on the table now.
    bool present() const {
        const Elements &e = table_.elements();
        switch (kind_) {
        case Kind::Card: return reading().placeOf(index_) != Place::None;
        case Kind::Back: {
            const std::vector<int> held = reading().computerSlots();
            return std::find(held.begin(), held.end(), index_) != held.end();
        }
        case Kind::Go: return e.Command1->isVisible();
        case Kind::Light: return reading().toMove() != 0;
        case Kind::Score: return e.Label2->isVisible();
        case Kind::Line: return index_ < reading().printed().size();
        case Kind::MenuStrip: return e.LBLmenu->isVisible();
        case Kind::Panel: return panel()->isVisible();
        case Kind::Live: return true;
        case Kind::Notice: return !notice.isEmpty();
        }
        return false;
    }

    // A notice's words: what the status bar was last told through it.
    QString notice;

    bool isValid() const override { return table_.view() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override {
        return table_.view() ? table_.view()->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override {
        if (kind_ == Kind::Notice) return table_.statusBar();
        return QAccessible::queryAccessibleInterface(table_.view());
    }
    // The status bar holds the notices it has shown.
    QAccessibleInterface *child(int i) const override {
        return kind_ == Kind::Live ? table_.notice(i) : nullptr;
    }
    int childCount() const override { return kind_ == Kind::Live ? table_.noticeCount() : 0; }
    int indexOfChild(const QAccessibleInterface *c) const override {
        for (int i = 0; kind_ == Kind::Live && i < table_.noticeCount(); ++i)
            if (table_.notice(i) == c) return i;
        return -1;
    }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return name();
        if (t == QAccessible::Description) return description();
        // A panel's whole text, the rules or the information, to be read out.
        if (t == QAccessible::Value && kind_ == Kind::Panel) return panel()->text();
        return {};
    }

    QRect rect() const override {
        const GameView *view = table_.view();
        if (!view) return {};
        if (kind_ == Kind::Line) {
            const QList<QRectF> rects = table_.elements().printer->lineRects();
            return index_ < rects.size() ? onScreen(view, rects[index_]) : QRect();
        }
        const QGraphicsItem *item = graphic();
        return item ? onScreen(view, item->sceneBoundingRect()) : QRect();
    }

    QAccessible::Role role() const override {
        switch (kind_) {
        case Kind::Card: return QAccessible::ListItem;
        case Kind::Back: return QAccessible::Graphic;
        case Kind::Go:
        case Kind::MenuStrip: return QAccessible::Button;
        case Kind::Light: return QAccessible::Indicator;
        case Kind::Score:
        case Kind::Line: return QAccessible::StaticText;
        case Kind::Panel: return QAccessible::Document;
        case Kind::Live: return QAccessible::StatusBar;
        case Kind::Notice: return QAccessible::Notification;
        }
        return QAccessible::NoRole;
    }

    QAccessible::State state() const override {
        QAccessible::State st;
        st.invisible = !present();
        st.readOnly = kind_ == Kind::Panel;
        st.focused = table_.focusedChild() == this;
        if (kind_ == Kind::Go || kind_ == Kind::Panel) st.focusable = present();
        if (kind_ != Kind::Card) return st;
        const Place place = reading().placeOf(index_);
        st.focusable = place == Place::Hand || place == Place::Table || place == Place::ComputerPile;
        st.selectable = place == Place::Table || place == Place::ComputerPile;
        st.selected = reading().selected(index_);
        return st;
    }

    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ActionInterface && !actionNames().isEmpty())
            return static_cast<QAccessibleActionInterface *>(this);
        if (t == QAccessible::TextInterface && kind_ == Kind::Panel) return static_cast<QAccessibleTextInterface *>(this);
        return nullptr;
    }

    QStringList actionNames() const override {
        if (kind_ == Kind::Card || kind_ == Kind::Go || kind_ == Kind::MenuStrip) return {pressAction()};
        return {};
    }
    void doAction(const QString &action) override {
        if (action != pressAction() || !present()) return;
        const TableControls &c = table_.controls();
        if (kind_ == Kind::Go) c.go();
        if (kind_ == Kind::MenuStrip) c.menu();
        if (kind_ != Kind::Card) return;
        // What a click there does: an open panel over the card takes it.
        if (TextPanel *over = reading().panelOver(index_))
            emit over->clicked();
        else
            c.card(index_);
    }
    QStringList keyBindingsForAction(const QString &) const override {
        if (kind_ == Kind::Go) return {QStringLiteral("Return")};
        if (kind_ == Kind::MenuStrip) return {QStringLiteral("F10")};
        if (kind_ == Kind::Card) return {QStringLiteral("Space")};
        return {};
    }

    // A panel read as plain text, one line at a time; nothing to select or edit.
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override {
        const QStringList lines = panelLines();
        int offset = 0;
        for (int i = 0; i < table_.readingLine(panel()) && i < lines.size(); ++i) offset += int(lines[i].size()) + 1;
        return offset;
    }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return panel()->text().mid(start, end - start); }
    int characterCount() const override { return int(panel()->text().size()); }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    const TableReading &reading() const { return table_.reading(); }

    QString turnText() const {
        switch (reading().toMove()) {
        case kHuman: return TableAccessibility::tr("Your turn");
        case kComputer: return TableAccessibility::tr("Computer's turn");
        default: return {};
        }
    }

    QString name() const {
        switch (kind_) {
        case Kind::Card: return cardName(index_);
        case Kind::Back: return TableAccessibility::tr("Computer's card");
        case Kind::Go: return QStringLiteral("GO");
        case Kind::Light: return turnText();
        case Kind::Score:
            return TableAccessibility::tr("You %1, Computer %2").arg(reading().taken(kHuman)).arg(reading().taken(kComputer));
        case Kind::Line: return reading().printed().value(index_).trimmed();
        case Kind::MenuStrip: return QStringLiteral("Menu");
        case Kind::Panel: return panelLines().value(0).trimmed();
        case Kind::Live: return table_.announcement();
        case Kind::Notice: return notice;
        }
        return {};
    }

    QString description() const {
        switch (kind_) {
        case Kind::Go: return TableAccessibility::tr("Press Return or Space to deal");
        case Kind::Panel: return TableAccessibility::tr("Up and Down read the lines, Escape closes");
        case Kind::Card: break;
        default: return {};
        }
        QString place;
        switch (reading().placeOf(index_)) {
        case Place::Hand: place = TableAccessibility::tr("In your hand"); break;
        case Place::Table: place = TableAccessibility::tr("On the table"); break;
        case Place::Played: place = TableAccessibility::tr("Your played card"); break;
        case Place::ComputerPile: place = TableAccessibility::tr("Top of the computer's pile"); break;
        case Place::OwnPile: place = TableAccessibility::tr("Top of your pile"); break;
        case Place::None: break;
        }
        return reading().selected(index_) && !place.isEmpty() ? TableAccessibility::tr("%1, selected").arg(place) : place;
    }

    const QGraphicsItem *graphic() const {
        const Elements &e = table_.elements();
        switch (kind_) {
        case Kind::Card: return e.carta[index_];
        case Kind::Back: return e.dorso[index_];
        case Kind::Go: return e.Command1;
        case Kind::Light: return e.Verde[0];
        case Kind::Score: return e.Label2;
        case Kind::MenuStrip: return e.LBLmenu;
        case Kind::Panel: return panel();
        case Kind::Live:
        case Kind::Notice: return e.Label2;
        case Kind::Line: return nullptr;
        }
        return nullptr;
    }

public:
    // Panels by index: the English rules, the Italian rules, the information.
    const TextPanel *panel() const {
        const Elements &e = table_.elements();
        return index_ == 0 ? e.Text1 : index_ == 1 ? e.Text3 : e.Text4;
    }

private:
    QStringList panelLines() const { return panel()->text().split(QLatin1Char('\n')); }

    const TableAccessibility &table_;
    Kind kind_;
    int index_;
};

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
    for (int k = 1; k <= 40; ++k) cards_.push_back(make(new TableElement(*this, TableElement::Kind::Card, k)));
    for (int i = 0; i <= 2; ++i) backs_.push_back(make(new TableElement(*this, TableElement::Kind::Back, i)));
    go_ = make(new TableElement(*this, TableElement::Kind::Go));
    light_ = make(new TableElement(*this, TableElement::Kind::Light));
    score_ = make(new TableElement(*this, TableElement::Kind::Score));
    menu_ = make(new TableElement(*this, TableElement::Kind::MenuStrip));
    for (int i = 0; i <= 2; ++i) panels_.push_back(make(new TableElement(*this, TableElement::Kind::Panel, i)));
    live_ = make(new TableElement(*this, TableElement::Kind::Live));
    for (int i = 0; i < 4; ++i) notices_.push_back(make(new TableElement(*this, TableElement::Kind::Notice, i)));
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

TableElement *TableAccessibility::make(TableElement *element) const {
    ids_.push_back(QAccessible::registerAccessibleInterface(element));
    return element;
}

QList<QAccessibleInterface *> TableAccessibility::children() const {
    QList<QAccessibleInterface *> out;
    auto add = [&out](TableElement *el) {
        if (el->present()) out << el;
    };
    auto cardsAt = [&](Place place) {
        for (int k = 1; k <= 40; ++k)
            if (reading_.placeOf(k) == place) add(cards_[k]);
    };
    add(menu_);
    add(go_);
    for (TableElement *b : backs_) add(b);
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
        lines_.push_back(make(new TableElement(*this, TableElement::Kind::Line, int(lines_.size()))));
    for (int i = 0; i < lineCount; ++i) add(lines_[i]);
    for (TableElement *p : panels_) add(p);
    add(live_);
    return out;
}

QAccessibleInterface *TableAccessibility::focusedChild() const {
    if (!view_ || !view_->hasFocus()) return nullptr;
    if (const TextPanel *panel = focus_.panel()) {
        for (TableElement *p : panels_)
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
    TableElement *notice = notices_[nextNotice_++ % notices_.size()];
    notice->notice = text;
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
