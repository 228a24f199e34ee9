// The component model of the class library: objects, persistent objects and
// components with an owner, a name, a tag and free notification.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <vector>

#include "text/Exception.h"
#include "text/WideTypes.h"

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    // Runs BeforeDestruction, then destroys the object (use FreeAndNil for a pointer that may be
    // null).
    void Free();

protected:
    virtual void BeforeDestruction() {}
};

// Frees an object through Free and clears the pointer.
template <class T> void FreeAndNil(T*& obj) {
    T* o = obj;
    obj = nullptr;
    if (o) o->Free();
}

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Where exceptions escaping event handlers go (the application installs it).
using TEventExceptionSink = std::function<void(TObject* Sender, std::exception_ptr Error)>;
TEventExceptionSink& EventExceptionSink();
// Calls Fn; an exception leaving it goes to the sink and no further (without a sink
// it passes on).
void GuardedCall(TObject* Sender, const std::function<void()>& Fn);

// Watches the event handlers the class library runs: before it runs a handler assigned to
// a control's or a menu item's event, it reports the sender and the event's name
// ("OnClick", "OnChange", "OnKeyPress", ...). Nothing is reported for an event without a
// handler. Tests see through it that a person's input reaches the handler.
using TEventTrace = std::function<void(TObject* Sender, const char* Event)>;
TEventTrace& EventTrace();
void TraceEvent(TObject* Sender, const char* Event);
// TraceEvent, then GuardedCall.
void GuardedEvent(TObject* Sender, const char* Event, const std::function<void()>& Fn);

class EComponentError : public Exception {
public:
    using Exception::Exception;
};

// A component that may exist only once was created a second time.
class ECreateError : public Exception {
public:
    using Exception::Exception;
};

// An object was used as a class it is not ("Invalid class typecast").
class EInvalidCast : public Exception {
public:
    using Exception::Exception;
};

class TPersistent : public TObject {
public:
    // Copies the state of Source; the base class knows no source and raises.
    virtual void Assign(TPersistent* Source);
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag : unsigned { csLoading = 1, csDestroying = 2, csDesigning = 4 };

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(size_t(Index)); }
    int ComponentIndex() const;

    const WideString& Name() const { return FName; }
    // Names compare without regard to case; a second component of the same owner
    // with the same name raises EComponentError.
    virtual void SetName(const WideString& NewName);
    intptr_t Tag = 0;
    unsigned ComponentState() const { return FState; }
    bool Destroying() const { return (FState & csDestroying) != 0; }

    // The owned component of that name (case-insensitive), or nullptr.
    TComponent* FindComponent(WideStringView AName) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, the last created first.
    void DestroyComponents();

    // AComponent will call Notification(AComponent-to-be-freed, opRemove) on this
    // component when it is freed; the link is two-way and dissolves itself.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    void BeforeDestruction() override;
    void SetDestroyingFlag() { FState |= csDestroying; }

private:
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    WideString FName;
    unsigned FState = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
};
