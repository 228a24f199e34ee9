// Actions: one command (caption, hint, state, handler) shared by menu items and
// controls, kept in action lists.
#pragma once

#include <vector>

#include "platform/CaptionText.h"
#include "platform/Controls.h"

class TAction;
class TImageList;

// The tie between an action and one client. The client derives from it and
// answers the client-side calls; the action pushes its changes through it.
class TActionLink {
public:
    explicit TActionLink(TAction* Action);
    virtual ~TActionLink();
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;

    TAction* Action() const { return FAction; }

    // The client's caption follows the action while it equals the action's caption
    // (for menu items without regard to hot keys and case); hints alike.
    bool IsCaptionLinked() const;
    bool IsHintLinked() const;
    // Copies the action's state to the client. With CheckDefaults a caption is
    // taken only when the client's caption is empty or equals its name, a hint
    // only when the client's hint is empty.
    void ActionChange(bool CheckDefaults);

    virtual WideString ClientCaption() const = 0;
    virtual void SetClientCaption(const WideString& Value) = 0;
    virtual WideString ClientHint() const = 0;
    virtual void SetClientHint(const WideString& Value) = 0;
    virtual WideString ClientName() const = 0;
    virtual void SetClientEnabled(bool Value) { (void)Value; }
    virtual void SetClientChecked(bool Value) { (void)Value; }
    virtual void SetClientVisible(bool Value) { (void)Value; }
    virtual void SetClientShortCut(TShortCut Value) { (void)Value; }
    virtual void SetClientImageIndex(int Value) { (void)Value; }
    // The action is being freed; the client lets go of it (and of this link).
    virtual void ActionFreed() = 0;

protected:
    virtual bool SameCaption(WideStringView A, WideStringView B) const { return A == B; }

private:
    friend class TAction;
    TAction* FAction;
};

class TActionList;

class TAction : public TComponent {
public:
    explicit TAction(TComponent* AOwner);
    ~TAction() override;

    const WideString& Caption() const { return FCaption; }
    void SetCaption(const WideString& Value);
    const WideString& Hint() const { return FHint; }
    void SetHint(const WideString& Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    WideString Category;

    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* Value);

    // Runs OnExecute (or the list's OnExecute that may take it first); false
    // when the action is disabled or nobody handled it.
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    bool Update();
    // Copies caption, hint and state of another action.
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnExecute, OnUpdate;

    int LinkCount() const { return int(FLinks.size()); }

private:
    friend class TActionLink;
    template <class F> void ForLinks(F&& Fn);
    WideString FCaption, FHint;
    bool FEnabled = true, FChecked = false, FVisible = true;
    TShortCut FShortCut = 0;
    int FImageIndex = -1;
    TActionList* FActionList = nullptr;
    std::vector<TActionLink*> FLinks;
};

// The hint action of the application: its hint goes to status bars with AutoHint.
class THintAction : public TAction {
public:
    using TAction::TAction;
};

using TActionEvent = std::function<void(TAction* Action, bool& Handled)>;

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* AOwner);
    ~TActionList() override;
    int ActionCount() const { return int(FActions.size()); }
    TAction* Actions(int Index) const { return FActions.at(size_t(Index)); }
    TImageList* Images = nullptr;
    // Runs every action's OnUpdate.
    void UpdateActions();
    TActionEvent OnExecute, OnUpdate;

private:
    friend class TAction;
    std::vector<TAction*> FActions;
};

// Ties a control to an action: caption, hint, enabled and visible follow the
// action, and a click runs it (when the control had no OnClick of its own).
// nullptr unties it.
void SetControlAction(TControl* Control, TAction* Action);
TAction* ControlAction(const TControl* Control);

using TUCodeAction = TAction;
using TUCodeHintAction = THintAction;
using TUCodeActionList = TActionList;
