#include "platform/Classes.h"

#include <algorithm>

TEventExceptionSink& EventExceptionSink() {
    static TEventExceptionSink sink;
    return sink;
}

TEventTrace& EventTrace() {
    static TEventTrace trace;
    return trace;
}

void TraceEvent(TObject* Sender, const char* Event) {
    if (const TEventTrace& trace = EventTrace()) trace(Sender, Event);
}

void GuardedEvent(TObject* Sender, const char* Event, const std::function<void()>& Fn) {
    TraceEvent(Sender, Event);
    GuardedCall(Sender, Fn);
}

void GuardedCall(TObject* Sender, const std::function<void()>& Fn) {
    try {
        Fn();
    } catch (...) {
        TEventExceptionSink& sink = EventExceptionSink();
        if (!sink) throw;
        sink(Sender, std::current_exception());
    }
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

void TPersistent::Assign(TPersistent* Source) {
    (void)Source;
    throw Exception(std::string("Cannot assign to this object"));
}

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    FState |= csDestroying;
    // Tell everyone who asked that this component goes away.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
    FState |= csDestroying;
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto& v = FOwner->FComponents;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : int(it - v.begin());
}

void TComponent::SetName(const WideString& NewName) {
    if (NewName == FName) return;
    if (FOwner && !NewName.empty()) {
        TComponent* other = FOwner->FindComponent(NewName);
        if (other && other != this)
            throw EComponentError("A component named " + U8(NewName) + " already exists");
    }
    FName = NewName;
}

TComponent* TComponent::FindComponent(WideStringView AName) const {
    if (AName.empty()) return nullptr;
    WideString key = WideUpperCase(AName);
    for (TComponent* c : FComponents)
        if (c->FName.size() == key.size() && WideUpperCase(c->FName) == key) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner == this) return;
    if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
        throw EComponentError("A component named " + U8(AComponent->FName) + " already exists");
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, TOperation::opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
    AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        c->Free();
    }
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    auto& back = AComponent->FFreeNotifies;
    if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove) {
        for (TComponent* c : FComponents)
            if (c != AComponent) c->Notification(AComponent, Operation);
    }
}
