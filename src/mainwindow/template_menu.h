// The link submenus of the working window: `m_soft_de` and `m_soft_en` each get 17 items
// that name a page of the project's site, as "address - description". The items are
// named "linkde0".."linkde16" and "linken0".."linken16", show the picture of their index
// in the window's image list `softwareicons` (drawn here) and open their address through
// `Tprog.BrowseToMenuCaption`. Captions hold no "&": the menu would take it for a hot-key
// mark, and the handler removes every "&" before it builds the address.
#pragma once

class Tprog;

inline constexpr int SoftwareMenuItems = 17;

// Fills both submenus once; the working window's start-up calls it.
void BuildSoftwareMenus(Tprog& Window);
