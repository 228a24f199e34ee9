// Wide text properties: a wide shadow copy kept in step with an 8-bit property,
// and companion objects that attach state to a component and are found again by a
// binary search over the components' addresses.
#pragma once

#include <functional>
#include <vector>

#include "platform/Classes.h"
#include "text/UCodeSysUtils.h"

// When the 8-bit form of Shadow (ANSI code page) differs from AnsiValue, the 8-bit
// property was changed behind the shadow: Shadow becomes AnsiValue converted.
// Returns Shadow.
WideString GetSyncedWideText(WideString& Shadow, const AnsiString& AnsiValue);

using TAnsiTextSetter = std::function<void(TObject* Obj, const AnsiString& Value)>;

// Sets Value as the wide text: nothing happens when it equals the current wide text;
// otherwise Shadow := Value and Setter(Obj, the 8-bit form of Value). When Value is
// lost in the code page and its 8-bit form equals AnsiValue, Setter first receives an
// empty text, so that the owner of the 8-bit property notices the change.
void SetSyncedWideText(const WideString& Value, WideString& Shadow, const AnsiString& AnsiValue,
                       const TAnsiTextSetter& Setter, TObject* Obj);

class TWideComponentHelper;
// Kept sorted by the address of the helpers' components.
using TWideComponentHelperList = std::vector<TWideComponentHelper*>;

// The companion of one component. It lives as long as its component: when the
// component is freed the helper drops the link, leaves its list and frees itself.
class TWideComponentHelper : public TComponent {
public:
    // Companions are only made for a component; this constructor raises
    // EUCodeInternalError.
    explicit TWideComponentHelper(TComponent* AOwner);
    // A companion of Component, inserted into List at its place.
    static TWideComponentHelper* CreateForComponent(TComponent* Component,
                                                    TWideComponentHelperList& List);
    ~TWideComponentHelper() override;

    TComponent* Component() const { return FComponent; }

protected:
    struct ForComponent {};
    TWideComponentHelper(ForComponent, TComponent* Component, TWideComponentHelperList& List);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Leave();
    TComponent* FComponent = nullptr;
    TWideComponentHelperList* FList = nullptr;
};

// The helper of Component in List, or nullptr.
TWideComponentHelper* FindWideComponentHelper(const TWideComponentHelperList& List,
                                              const TComponent* Component);

// Form streams with extra wide properties do not exist on Linux: forms are built in
// code. Kept so that the Unicode controls' property definitions read as they do
// elsewhere; it does nothing.
inline void DefineWidePropertyFilers(void* Filer, TPersistent* Instance) {
    (void)Filer;
    (void)Instance;
}
