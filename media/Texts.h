#pragma once
// The rules and information panels: shown from the menu, closed by clicks.
#include "media/Elements.h"

namespace zt::texts {

inline void show(Elements &e, TextPanel *t) {
    t->setVisible(true);
    e.stacking->raise(t);
}

// Every click on the table closes all three.
inline void hideAll(Elements &e) {
    e.Text1->setVisible(false);
    e.Text3->setVisible(false);
    e.Text4->setVisible(false);
}

inline void Italiano_Click(Elements &e) {
    show(e, e.Text3);
    e.Text1->setVisible(false);
}

inline void english_Click(Elements &e) {
    show(e, e.Text1);
    e.Text3->setVisible(false);
}

inline void menu_about_Click(Elements &e) {
    e.Text3->setVisible(false);
    if (e.Text4->isVisible())
        e.Text4->setVisible(false);
    else
        show(e, e.Text4);
}

} // namespace zt::texts
