#include "platform/ActnList.h"

#include <algorithm>

// ---------------------------------------------------------------- links

TActionLink::TActionLink(TAction* Action) : FAction(Action) {
    if (FAction) FAction->FLinks.push_back(this);
}

TActionLink::~TActionLink() {
    if (!FAction) return;
    auto& links = FAction->FLinks;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
}

bool TActionLink::IsCaptionLinked() const {
    return FAction && SameCaption(ClientCaption(), FAction->Caption());
}

bool TActionLink::IsHintLinked() const {
    return FAction && ClientHint() == FAction->Hint();
}

void TActionLink::ActionChange(bool CheckDefaults) {
    if (!FAction) return;
    WideString caption = ClientCaption();
    if (!CheckDefaults || caption.empty() || caption == ClientName())
        SetClientCaption(FAction->Caption());
    if (!CheckDefaults || ClientHint().empty()) SetClientHint(FAction->Hint());
    SetClientEnabled(FAction->Enabled());
    SetClientChecked(FAction->Checked());
    SetClientVisible(FAction->Visible());
    SetClientShortCut(FAction->ShortCut());
    SetClientImageIndex(FAction->ImageIndex());
}

// ---------------------------------------------------------------- actions

TAction::TAction(TComponent* AOwner) : TComponent(AOwner) {
    if (auto* list = dynamic_cast<TActionList*>(AOwner)) SetActionList(list);
}

TAction::~TAction() {
    SetDestroyingFlag();
    SetActionList(nullptr);
    while (!FLinks.empty()) {
        TActionLink* link = FLinks.back();
        FLinks.pop_back();
        link->FAction = nullptr;
        link->ActionFreed();
    }
}

template <class F> void TAction::ForLinks(F&& Fn) {
    std::vector<TActionLink*> links = FLinks;
    for (TActionLink* link : links)
        if (std::find(FLinks.begin(), FLinks.end(), link) != FLinks.end()) Fn(link);
}

void TAction::SetCaption(const WideString& Value) {
    if (Value == FCaption) return;
    std::vector<TActionLink*> linked;
    for (TActionLink* link : FLinks)
        if (link->IsCaptionLinked()) linked.push_back(link);
    FCaption = Value;
    for (TActionLink* link : linked)
        link->SetClientCaption(Value);
}

void TAction::SetHint(const WideString& Value) {
    if (Value == FHint) return;
    std::vector<TActionLink*> linked;
    for (TActionLink* link : FLinks)
        if (link->IsHintLinked()) linked.push_back(link);
    FHint = Value;
    for (TActionLink* link : linked)
        link->SetClientHint(Value);
}

void TAction::SetEnabled(bool Value) {
    FEnabled = Value;
    ForLinks([&](TActionLink* l) { l->SetClientEnabled(Value); });
}

void TAction::SetChecked(bool Value) {
    FChecked = Value;
    ForLinks([&](TActionLink* l) { l->SetClientChecked(Value); });
}

void TAction::SetVisible(bool Value) {
    FVisible = Value;
    ForLinks([&](TActionLink* l) { l->SetClientVisible(Value); });
}

void TAction::SetShortCut(TShortCut Value) {
    FShortCut = Value;
    ForLinks([&](TActionLink* l) { l->SetClientShortCut(Value); });
}

void TAction::SetImageIndex(int Value) {
    FImageIndex = Value;
    ForLinks([&](TActionLink* l) { l->SetClientImageIndex(Value); });
}

void TAction::SetActionList(TActionList* Value) {
    if (Value == FActionList) return;
    if (FActionList) {
        auto& list = FActionList->FActions;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    FActionList = Value;
    if (FActionList) FActionList->FActions.push_back(this);
}

bool TAction::Execute() {
    Update();
    if (!FEnabled) return false;
    bool handled = false;
    if (FActionList && FActionList->OnExecute) FActionList->OnExecute(this, handled);
    if (handled) return true;
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TAction::Update() {
    bool handled = false;
    if (FActionList && FActionList->OnUpdate) FActionList->OnUpdate(this, handled);
    if (handled) return true;
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TAction::Assign(TPersistent* Source) {
    auto* a = dynamic_cast<TAction*>(Source);
    if (!a) {
        TComponent::Assign(Source);
        return;
    }
    SetCaption(a->Caption());
    SetHint(a->Hint());
    SetEnabled(a->Enabled());
    SetChecked(a->Checked());
    SetVisible(a->Visible());
    SetShortCut(a->ShortCut());
    SetImageIndex(a->ImageIndex());
    Category = a->Category;
}

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
    SetDestroyingFlag();
    for (TAction* a : std::vector<TAction*>(FActions))
        a->SetActionList(nullptr);
}

void TActionList::UpdateActions() {
    for (TAction* a : std::vector<TAction*>(FActions))
        GuardedCall(a, [a] { a->Update(); });
}

// ---------------------------------------------------------------- controls

namespace {

// Owned by its control, so it goes when the control goes.
class TControlActionLink : public TComponent, public TActionLink {
public:
    TControlActionLink(TControl* Control, TAction* Action)
        : TComponent(Control), TActionLink(Action), FControl(Control) {
        if (!FControl->OnClick) {
            FOwnClick = true;
            FControl->OnClick = [action = Action](TObject*) { action->Execute(); };
        }
    }
    ~TControlActionLink() override {
        if (FOwnClick && !FControl->Destroying()) FControl->OnClick = nullptr;
    }
    WideString ClientCaption() const override { return FControl->Caption(); }
    void SetClientCaption(const WideString& Value) override { FControl->SetCaption(Value); }
    WideString ClientHint() const override { return FControl->Hint(); }
    void SetClientHint(const WideString& Value) override { FControl->SetHint(Value); }
    WideString ClientName() const override { return FControl->Name(); }
    void SetClientEnabled(bool Value) override { FControl->SetEnabled(Value); }
    void SetClientVisible(bool Value) override { FControl->SetVisible(Value); }
    void ActionFreed() override { Free(); }

private:
    TControl* FControl;
    bool FOwnClick = false;
};

TControlActionLink* FindLink(const TControl* Control) {
    for (int i = 0; i < Control->ComponentCount(); ++i)
        if (auto* link = dynamic_cast<TControlActionLink*>(Control->Components(i))) return link;
    return nullptr;
}

} // namespace

void SetControlAction(TControl* Control, TAction* Action) {
    if (TControlActionLink* old = FindLink(Control)) {
        if (old->Action() == Action) return;
        old->Free();
    }
    if (!Action) return;
    auto* link = new TControlActionLink(Control, Action);
    link->ActionChange(true);
}

TAction* ControlAction(const TControl* Control) {
    TControlActionLink* link = FindLink(Control);
    return link ? link->Action() : nullptr;
}
