// The project's own web pages and the labels that link to them. Every address the program
// shows for its own pages lies under one site, named here and nowhere else, so that moving
// the pages means changing one line.
#pragma once

#include "platform/StdCtrls.h"
#include "text/WideTypes.h"

class TForm;
class TWinControl;

// The project's site as the link menus show it (no scheme): "www.quorbel.org".
extern const WideStringView ProjectSite;

// The full address of a page of the project's site: "https://" + ProjectSite + "/" + Path.
WideString ProjectPage(WideStringView Path);

// A link label: blue, underlined, hand cursor; its caption is the address it opens, and a
// click hands exactly that caption to the browser (BrowseTo).
TLabel* MakeLinkLabel(TForm* Form, TWinControl* Parent, WideStringView Name, int Left, int Top,
                      const WideString& Address);
