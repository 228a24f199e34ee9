#include "dialogs/ProjectLinks.h"

#include "dialogs/FormBuilding.h"
#include "platform/ShellServices.h"

const WideStringView ProjectSite = u"www.quorbel.org";

WideString ProjectPage(WideStringView Path) {
    return u"https://" + WideString(ProjectSite) + u"/" + WideString(Path);
}

TLabel* MakeLinkLabel(TForm* Form, TWinControl* Parent, WideStringView Name, int Left, int Top,
                      const WideString& Address) {
    auto* link = MakeControl<TLabel>(Form, Parent, Name, Left, Top, 10, 15);
    link->SetShowAccelChar(false);
    link->SetCaption(Address);
    link->Font()->SetColor(clBlue);
    link->Font()->SetStyle(fsUnderline);
    link->SetCursor(crHandPoint);
    link->OnClick = [link](TObject*) { BrowseTo(link->Caption()); };
    return link;
}
