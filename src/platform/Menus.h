// Menus: main menus (a menu bar on a form), popup menus and their items.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/ActnList.h"
#include "platform/CaptionText.h"
#include "platform/Controls.h"
#include "platform/ImageLists.h"

class QAction;
class QMenu;
class QMenuBar;
class TMenu;
class TForm;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // "&" marks the hot key ("&&" is an ampersand); "-" makes a separator.
    const WideString& Caption() const { return FCaption; }
    void SetCaption(const WideString& Value);
    const WideString& Hint() const { return FHint; }
    void SetHint(const WideString& Value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    // A menu item never checks itself: a click leaves Checked to the handler.
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    // Checking a radio item unchecks the radio items of its group beside it.
    bool RadioItem = false;
    int GroupIndex = 0;
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool IsLine() const { return FCaption == u"-"; }

    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(size_t(Index)); }
    TMenuItem* operator[](int Index) const { return Items(Index); }
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* Item) const;
    // Adds or inserts an item (taken from its present parent).
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* Item);
    // Frees the item at Index / all items.
    void Delete(int Index);
    void Clear();
    TMenu* GetParentMenu() const;

    TAction* Action() const;
    void SetAction(TAction* Value);

    // The click: runs the action, or OnClick.
    virtual void Click();
    TNotifyEvent OnClick;

    // The text the menu shows: the caption and, for an item without sub-items
    // that is not on a menu bar, a tab and the shortcut's name.
    WideString MenuText() const;
    QAction* QtAction() const { return FAction; }
    // The sub-menu (made on first use).
    QMenu* SubMenu();

private:
    friend class TMenu;
    friend class TMainMenu;
    friend class TPopupMenu;
    class Link;
    void Changed();
    void Rebuild();
    void ApplyRadio();
    TMenu* FMenu = nullptr; // set on the root item of a menu
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
    QAction* FAction;
    QPointer<QMenu> FSubMenu;
    WideString FCaption, FHint;
    TShortCut FShortCut = 0;
    bool FChecked = false, FVisible = true, FEnabled = true, FDefault = false;
    int FImageIndex = -1;
    std::unique_ptr<Link> FLink;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    // The root item; its sub-items are the menu's entries.
    TMenuItem* Items() const { return FItems; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* Value);
    // The item with that command id (QAction pointer), or nullptr.
    TMenuItem* FindItem(const QAction* Action) const;
    // Rewrites every item's text and state.
    void Refresh();

protected:
    friend class TMenuItem;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Where the root's sub-items go.
    virtual QWidget* Container() const = 0;
    virtual bool IsMenuBar() const { return false; }
    // The root's entries were rebuilt.
    virtual void ContainerChanged() {}

private:
    TMenuItem* FItems;
    TImageList* FImages = nullptr;
};

// The menu bar of a form: it sits above the form's other top-aligned controls.
class TMainMenu : public TMenu {
public:
    // A form as owner gets the menu bar at once (as if it were the form's Menu).
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    TForm* Form() const { return FForm; }
    // Puts the bar on the form (TForm::SetMenu does the same); nullptr takes it off.
    void SetForm(TForm* Value);
    QMenuBar* MenuBar() const;
    // Alt plus a character: opens the title whose hot key it is, or, among titles without
    // a hot key, the first that starts with it, as Windows does; false when none has it.
    bool OpenByHotKey(WideChar Key);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    QWidget* Container() const override;
    bool IsMenuBar() const override { return true; }
    void ContainerChanged() override;

private:
    int BarHeight() const;
    TForm* FForm = nullptr;
    QPointer<QMenuBar> FBar;
};

// OnPopup runs before the menu opens; setting Cancel keeps it closed.
using TPopupEvent = std::function<void(TObject* Sender, bool& Cancel)>;

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    // Opens the menu at a screen point (it does not wait for the choice).
    void Popup(int X, int Y);
    // The control a right click opened the menu on.
    TComponent* PopupComponent = nullptr;
    bool AutoPopup = true;
    TPopupEvent OnPopup;
    // Makes the menu the control's PopupMenu (a right-button release on it opens the
    // menu at the mouse); DetachFrom takes it off again.
    void AttachTo(TControl* Control);
    void DetachFrom(TControl* Control);
    QMenu* Menu() const { return FMenu; }

protected:
    QWidget* Container() const override;

private:
    QMenu* FMenu;
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

// A separator item.
TMenuItem* NewLine(TComponent* AOwner = nullptr);
// A new item with caption, shortcut and click handler.
TMenuItem* NewItem(const WideString& Caption, TShortCut ShortCut, TNotifyEvent OnClick,
                   TComponent* AOwner = nullptr);

using TUCodeMenuItem = TMenuItem;
using TUCodeMainMenu = TMainMenu;
using TUCodePopupMenu = TPopupMenu;
