#include "platform/WideTextProperties.h"

#include <algorithm>
#include <functional>

namespace {
AnsiString ToAnsi(WideStringView s) {
    return WideToAnsiCP(s, 0);
}

bool ComponentBefore(const TWideComponentHelper* h, const TComponent* c) {
    return std::less<const TComponent*>()(h->Component(), c);
}
} // namespace

WideString GetSyncedWideText(WideString& Shadow, const AnsiString& AnsiValue) {
    if (ToAnsi(Shadow) != AnsiValue) Shadow = AnsiToWideCP(AnsiValue, 0);
    return Shadow;
}

void SetSyncedWideText(const WideString& Value, WideString& Shadow, const AnsiString& AnsiValue,
                       const TAnsiTextSetter& Setter, TObject* Obj) {
    WideString current = GetSyncedWideText(Shadow, AnsiValue);
    if (Value == current) return;
    AnsiString ansi = ToAnsi(Value);
    if (AnsiToWideCP(ansi, 0) != Value && ansi == AnsiValue) Setter(Obj, AnsiString());
    Shadow = Value;
    Setter(Obj, ansi);
}

TWideComponentHelper::TWideComponentHelper(TComponent* AOwner) : TComponent(AOwner) {
    throw EUCodeInternalError(std::string(
        "UCode Internal Error: TWideComponentHelper.Create should never be encountered."));
}

TWideComponentHelper::TWideComponentHelper(ForComponent, TComponent* Component,
                                           TWideComponentHelperList& List)
    : TComponent(nullptr), FComponent(Component), FList(&List) {
    auto at = std::lower_bound(List.begin(), List.end(), Component, ComponentBefore);
    List.insert(at, this);
    if (Component) Component->FreeNotification(this);
}

TWideComponentHelper* TWideComponentHelper::CreateForComponent(TComponent* Component,
                                                               TWideComponentHelperList& List) {
    return new TWideComponentHelper(ForComponent{}, Component, List);
}

TWideComponentHelper::~TWideComponentHelper() {
    Leave();
}

void TWideComponentHelper::Leave() {
    if (!FList) return;
    auto it = std::find(FList->begin(), FList->end(), this);
    if (it != FList->end()) FList->erase(it);
    FList = nullptr;
}

void TWideComponentHelper::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || AComponent != FComponent || !FComponent) return;
    FComponent = nullptr;
    Leave();
    delete this;
}

TWideComponentHelper* FindWideComponentHelper(const TWideComponentHelperList& List,
                                              const TComponent* Component) {
    auto it = std::lower_bound(List.begin(), List.end(), Component, ComponentBefore);
    if (it == List.end() || std::less<const TComponent*>()(Component, (*it)->Component()))
        return nullptr;
    // Neither before nor after: it must be the one (a list out of order is a broken invariant).
    if ((*it)->Component() != Component)
        throw EUCodeInternalError(
            std::string("UCode Internal Error: FindWideComponentHelperIndex failed."));
    return *it;
}
