#include "shell/TableAccessibility.h"

#include "shell/GameView.h"
#include "shell/KeyboardPlay.h"
#include "table/Places.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGraphicsItem>
#include <QWindow>
#include <algorithm>

namespace zt {

namespace {

enum class CardPlace { None, Hand, Table, Played, ComputerPile, OwnPile };

bool onTable(const QGraphicsItem *item) {
    return item->isVisible() && QRectF(0, 0, 800, 600).intersects(item->sceneBoundingRect());
}

CardPlace placeOf(int k, const GameState &s, const Elements &e) {
    const PictureItem *c = e.carta[k];
    if (!onTable(c)) return CardPlace::None;
    const std::vector<int> order = focusOrder(s, e);
    if (std::find(order.begin(), order.end(), k) != order.end()) {
        if (c->tag == QLatin1String("jolly")) return CardPlace::Hand;
        return k == s.pileTop[kComputer] && c->tag == QLatin1String("2") ? CardPlace::ComputerPile : CardPlace::Table;
    }
    for (int j = 1; j <= s.extraN; ++j)
        if (s.extraCards[j] == k) return CardPlace::Table;
    if (k == s.pileTop[kHuman] && c->tag == QLatin1String("1")) return CardPlace::OwnPile;
    if (k == s.playedCard && s.turnPlayer == kHuman && c->tag == QLatin1String("jolly") &&
        qFuzzyCompare(c->left(), places::playSpotLeft(s.midX)))
        return CardPlace::Played;
    return CardPlace::None;
}

// "   You         Computer        3                  5" reads "You 3, Computer 5".
QString scoreText(const QString &caption) {
    const QStringList w = caption.simplified().split(QLatin1Char(' '));
    if (w.size() == 4) return QStringLiteral("%1 %2, %3 %4").arg(w[0], w[2], w[1], w[3]);
    return caption.simplified();
}

} // namespace

// One thing on the table as an accessible object. It owns no item: it reads
// the game each time it is asked, so it is never out of date.
class TableElement : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    enum class Kind { Card, Back, Go, Light, Score, Line, MenuStrip, Panel, Live };

    TableElement(const TableAccessibility &table, Kind kind, int index = 0)
        : table_(table), kind_(kind), index_(index) {}

    Kind kind() const { return kind_; }
    int index() const { return index_; }

    // Whether it is on the table now.
    bool present() const {
        const Elements &e = table_.elements();
        switch (kind_) {
        case Kind::Card: return placeOf(index_, table_.state(), e) != CardPlace::None;
        case Kind::Back: return onTable(e.dorso[index_]) && e.dorso[index_]->tag.toInt() != 0;
        case Kind::Go: return e.Command1->isVisible();
        case Kind::Light: return !turnText().isEmpty();
        case Kind::Score: return onTable(e.Label2);
        case Kind::Line: return index_ < e.printer->lines().size();
        case Kind::MenuStrip: return e.LBLmenu->isVisible();
        case Kind::Panel: return panel()->isVisible();
        case Kind::Live: return true;
        }
        return false;
    }

    bool isValid() const override { return table_.view() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override {
        return table_.view() ? table_.view()->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(table_.view()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return name();
        if (t == QAccessible::Description) return description();
        // A panel's whole text, the rules or the information, to be read out.
        if (t == QAccessible::Value && kind_ == Kind::Panel) return panel()->text();
        return {};
    }

    QRect rect() const override {
        GameView *view = table_.view();
        const QGraphicsItem *item = graphic();
        if (!view || !item) return {};
        const QRect local = view->mapFromScene(item->sceneBoundingRect()).boundingRect();
        return QRect(view->viewport()->mapToGlobal(local.topLeft()), local.size());
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
        }
        return QAccessible::NoRole;
    }

    QAccessible::State state() const override {
        QAccessible::State st;
        st.invisible = !present();
        if (kind_ != Kind::Card) return st;
        const Elements &e = table_.elements();
        const CardPlace place = placeOf(index_, table_.state(), e);
        st.focusable = place == CardPlace::Hand || place == CardPlace::Table || place == CardPlace::ComputerPile;
        st.selectable = place == CardPlace::Table || place == CardPlace::ComputerPile;
        st.selected = e.carta[index_]->border() == 1;
        st.focused = st.focusable && table_.controls().focusedCard() == index_ && table_.view() &&
                     table_.view()->hasFocus();
        return st;
    }

    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ActionInterface && !actionNames().isEmpty())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    QStringList actionNames() const override {
        if (kind_ == Kind::Card || kind_ == Kind::Go || kind_ == Kind::MenuStrip) return {pressAction()};
        return {};
    }
    void doAction(const QString &action) override {
        if (action != pressAction() || !present()) return;
        const TableAccessibility::Controls &c = table_.controls();
        if (kind_ == Kind::Go && c.go) c.go();
        if (kind_ == Kind::MenuStrip && c.menu) c.menu();
        if (kind_ == Kind::Card && c.card) c.card(index_);
    }
    QStringList keyBindingsForAction(const QString &) const override {
        if (kind_ == Kind::Go) return {QStringLiteral("Return")};
        if (kind_ == Kind::MenuStrip) return {QStringLiteral("F10")};
        if (kind_ == Kind::Card) return {QStringLiteral("Space")};
        return {};
    }

private:
    QString turnText() const {
        const Elements &e = table_.elements();
        if (!onTable(e.Verde[0]) || !onTable(e.Verde[1])) return {};
        if (e.Verde[0]->zValue() > e.Rosso[0]->zValue()) return QStringLiteral("Your turn");
        if (e.Verde[1]->zValue() > e.Rosso[1]->zValue()) return QStringLiteral("Computer's turn");
        return {};
    }

    QString name() const {
        const Elements &e = table_.elements();
        switch (kind_) {
        case Kind::Card: return cardName(index_, table_.speech());
        case Kind::Back: return QStringLiteral("Computer's card");
        case Kind::Go: return e.Command1->caption();
        case Kind::Light: return turnText();
        case Kind::Score: return scoreText(e.Label2->caption());
        case Kind::Line: {
            const QStringList lines = e.printer->lines();
            return index_ < lines.size() ? lines[index_].trimmed() : QString();
        }
        case Kind::MenuStrip: return e.LBLmenu->caption().trimmed();
        case Kind::Panel: return panel()->text().section(QLatin1Char('\n'), 0, 0).trimmed();
        case Kind::Live: return table_.announcement();
        }
        return {};
    }

    QString description() const {
        if (kind_ != Kind::Card) return {};
        switch (placeOf(index_, table_.state(), table_.elements())) {
        case CardPlace::Hand: return QStringLiteral("In your hand");
        case CardPlace::Table: return QStringLiteral("On the table");
        case CardPlace::Played: return QStringLiteral("Your played card");
        case CardPlace::ComputerPile: return QStringLiteral("Top of the computer's pile");
        case CardPlace::OwnPile: return QStringLiteral("Top of your pile");
        case CardPlace::None: break;
        }
        return {};
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
        case Kind::Line:
        case Kind::Live: return nullptr;
        }
        return nullptr;
    }

    // Panels by index: the English rules, the Italian rules, the information.
    const TextPanel *panel() const {
        const Elements &e = table_.elements();
        return index_ == 0 ? e.Text1 : index_ == 1 ? e.Text3 : e.Text4;
    }

    const TableAccessibility &table_;
    Kind kind_;
    int index_;
};

namespace {

// The view's own accessible face: a pane whose children are the table's things.
class GameViewAccessible : public QAccessibleWidget {
public:
    GameViewAccessible(GameView *view, TableAccessibility *table)
        : QAccessibleWidget(view, QAccessible::Pane, QStringLiteral("Card table")), table_(table) {}

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

} // namespace

TableAccessibility::TableAccessibility(GameView *view, const GameState &s, const Elements &e, Controls controls)
    : QObject(view), view_(view), s_(s), e_(e), controls_(std::move(controls)), speech_(speechFor(QLocale())) {
    static const bool factoryInstalled = (QAccessible::installFactory(viewFactory), true);
    Q_UNUSED(factoryInstalled);
    // A plain face made before this one existed would hide the table.
    if (QAccessibleInterface *old = QAccessible::queryAccessibleInterface(view);
        old && !dynamic_cast<GameViewAccessible *>(old))
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
    connect(e_.Command1, &QGraphicsObject::visibleChanged, this, &TableAccessibility::childrenChanged);
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
    auto cardsAt = [&](CardPlace place) {
        std::vector<int> codes;
        if (place == CardPlace::Hand || place == CardPlace::Table) {
            for (int k : focusOrder(s_, e_))
                if (placeOf(k, s_, e_) == place) codes.push_back(k);
            if (place == CardPlace::Table)
                for (int j = 1; j <= s_.extraN; ++j) codes.push_back(s_.extraCards[j]);
        } else {
            for (int k = 1; k <= 40; ++k)
                if (placeOf(k, s_, e_) == place) codes.push_back(k);
        }
        for (int k : codes) add(cards_[k]);
    };
    add(menu_);
    add(go_);
    for (TableElement *b : backs_) add(b);
    cardsAt(CardPlace::ComputerPile);
    cardsAt(CardPlace::Table);
    cardsAt(CardPlace::Played);
    cardsAt(CardPlace::Hand);
    cardsAt(CardPlace::OwnPile);
    add(light_);
    add(score_);
    const int lineCount = int(e_.printer->lines().size());
    while (int(lines_.size()) < lineCount)
        lines_.push_back(make(new TableElement(*this, TableElement::Kind::Line, int(lines_.size()))));
    for (int i = 0; i < lineCount; ++i) add(lines_[i]);
    for (TableElement *p : panels_) add(p);
    add(live_);
    return out;
}

QAccessibleInterface *TableAccessibility::focusedChild() const {
    const int k = controls_.focusedCard ? controls_.focusedCard() : 0;
    if (k < 1 || k > 40 || !cards_[k]->state().focused) return nullptr;
    return cards_[k];
}

void TableAccessibility::announce(const QString &text) {
    news_ = text;
    sendEvent(live_, QAccessible::NameChanged);
}

void TableAccessibility::turnBegan(int player) {
    childrenChanged();
    announce(player == kHuman ? QStringLiteral("Your turn") : QStringLiteral("Computer's turn"));
}

void TableAccessibility::moveMade(const MoveNews &m) {
    childrenChanged();
    const QString card = cardName(m.card, speech_);
    const bool computer = m.player == kComputer;
    QString text = computer ? QStringLiteral("Computer plays %1").arg(card) : QStringLiteral("You play %1").arg(card);
    if (m.kind == MoveNews::Steal) {
        text += computer ? QStringLiteral(" and steals your pile") : QStringLiteral(" and steal the computer's pile");
    } else if (m.kind == MoveNews::Capture) {
        QStringList taken;
        for (int k : m.taken) taken << cardName(k, speech_);
        text += (computer ? QStringLiteral(" and takes ") : QStringLiteral(" and take ")) +
                taken.join(QStringLiteral(", "));
    } else {
        text += QStringLiteral(" on the table");
    }
    announce(text + QStringLiteral(". Cards taken: you %1, computer %2.").arg(m.piles[kHuman]).arg(m.piles[kComputer]));
}

void TableAccessibility::gameOver(const QStringList &lines) {
    childrenChanged();
    QStringList said;
    for (const QString &line : lines)
        if (!line.trimmed().endsWith(QLatin1String("^ game"))) said << line.trimmed();
    announce(said.join(QStringLiteral(". ")));
}

void TableAccessibility::focusMoved(int card) {
    if (card >= 1 && card <= 40 && view_ && view_->hasFocus()) sendEvent(cards_[card], QAccessible::Focus);
}

void TableAccessibility::cardClicked(int card) {
    if (card < 1 || card > 40 || !QAccessible::isActive()) return;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(cards_[card], changed);
    QAccessible::updateAccessibility(&event);
    childrenChanged();
}

void TableAccessibility::childrenChanged() {
    if (view_) sendEvent(QAccessible::queryAccessibleInterface(view_), QAccessible::ObjectReorder);
}

} // namespace zt
