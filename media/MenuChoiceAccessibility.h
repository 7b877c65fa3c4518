#pragma once
// Qt tells screen readers that a menu's check item is checked, but not that
// an unchecked one could be, and its bridge to AT-SPI passes on no
// "checkable" state: "1", "2", "4 checked". So menus get faces of their own:
// each checkable entry is a check box, heard as "checked" or "not checked",
// the rest are menu items as before, and the menus know them as their
// children. What the menus show is untouched.

namespace zt {

// Installs the factory of those faces; the second and later calls do nothing.
void exposeMenuChoices();

} // namespace zt
