#include "platform/Menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <algorithm>

#include "platform/Forms.h"
#include "platform/QtStrings.h"

namespace {

// The Qt key sequence of a shortcut (for the keys menus use), empty otherwise.
QKeySequence KeySequence(TShortCut S) {
    uint16_t vk = S & 0xFF;
    int key = 0;
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        key = vk;
    else if (vk >= VK_F1 && vk <= VK_F24)
        key = Qt::Key_F1 + (vk - VK_F1);
    else
        switch (vk) {
        case VK_BACK:
            key = Qt::Key_Backspace;
            break;
        case VK_TAB:
            key = Qt::Key_Tab;
            break;
        case VK_RETURN:
            key = Qt::Key_Return;
            break;
        case VK_ESCAPE:
            key = Qt::Key_Escape;
            break;
        case VK_SPACE:
            key = Qt::Key_Space;
            break;
        case VK_PRIOR:
            key = Qt::Key_PageUp;
            break;
        case VK_NEXT:
            key = Qt::Key_PageDown;
            break;
        case VK_END:
            key = Qt::Key_End;
            break;
        case VK_HOME:
            key = Qt::Key_Home;
            break;
        case VK_LEFT:
            key = Qt::Key_Left;
            break;
        case VK_UP:
            key = Qt::Key_Up;
            break;
        case VK_RIGHT:
            key = Qt::Key_Right;
            break;
        case VK_DOWN:
            key = Qt::Key_Down;
            break;
        case VK_INSERT:
            key = Qt::Key_Insert;
            break;
        case VK_DELETE:
            key = Qt::Key_Delete;
            break;
        default:
            return QKeySequence();
        }
    int mods = 0;
    if (S & scShift) mods |= Qt::SHIFT;
    if (S & scCtrl) mods |= Qt::CTRL;
    if (S & scAlt) mods |= Qt::ALT;
    return QKeySequence(key | mods);
}

// The menu bar answers the Alt key as a Windows menu bar does, whatever the desktop's style:
// Alt pressed and released alone selects the first title (the arrows move on, Return or
// Down opens it, Escape or Alt leaves), without opening its menu. A selected title is
// drawn highlighted as an open one is, also while its menu is still closed (some styles
// draw only the open title so, and the title chosen with the keys showed nothing); the
// title under the mouse is selected too and so lights up, as Windows tracks it.
class AltKeyBarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint Hint, const QStyleOption* Option, const QWidget* Widget,
                  QStyleHintReturn* Return) const override {
        if (Hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(Hint, Option, Widget, Return);
    }
    void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* Painter,
                     const QWidget* Widget) const override {
        const auto* title = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
        if (Element == CE_MenuBarItem && title && (title->state & State_Selected) &&
            (title->state & State_Enabled) && !(title->state & State_Sunken)) {
            QStyleOptionMenuItem open = *title;
            open.state |= State_Sunken;
            QProxyStyle::drawControl(Element, &open, Painter, Widget);
            return;
        }
        QProxyStyle::drawControl(Element, Option, Painter, Widget);
    }
};

} // namespace

// ---------------------------------------------------------------- items

class TMenuItem::Link : public TActionLink {
public:
    Link(TMenuItem* Item, TAction* Action) : TActionLink(Action), FItem(Item) {}
    WideString ClientCaption() const override { return FItem->Caption(); }
    void SetClientCaption(const WideString& Value) override { FItem->SetCaption(Value); }
    WideString ClientHint() const override { return FItem->Hint(); }
    void SetClientHint(const WideString& Value) override { FItem->SetHint(Value); }
    WideString ClientName() const override { return FItem->Name(); }
    void SetClientEnabled(bool Value) override { FItem->SetEnabled(Value); }
    void SetClientChecked(bool Value) override { FItem->SetChecked(Value); }
    void SetClientVisible(bool Value) override { FItem->SetVisible(Value); }
    void SetClientShortCut(TShortCut Value) override { FItem->SetShortCut(Value); }
    void SetClientImageIndex(int Value) override { FItem->SetImageIndex(Value); }
    void ActionFreed() override { FItem->FLink.reset(); }

protected:
    bool SameCaption(WideStringView A, WideStringView B) const override {
        return WideSameCaption(A, B);
    }

private:
    TMenuItem* FItem;
};

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FAction(new QAction) {
    FAction->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(FAction, &QAction::triggered, FAction, [this] {
        FAction->setChecked(FChecked); // the handler decides about Checked
        GuardedCall(this, [this] { Click(); });
    });
    QObject::connect(FAction, &QAction::hovered, FAction, [this] {
        if (Application) Application->SetHint(WideGetLongHint(FHint));
    });
}

TMenuItem::~TMenuItem() {
    SetDestroyingFlag();
    FLink.reset();
    while (!FItems.empty())
        FItems.back()->Free();
    if (FParent) FParent->Remove(this);
    delete FSubMenu.data();
    delete FAction;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

WideString TMenuItem::MenuText() const {
    WideString text = FCaption;
    bool onBar = FParent && FParent->FMenu && FParent->FMenu->IsMenuBar();
    if (FShortCut && FItems.empty() && !onBar) {
        WideString name = WideShortCutToText(FShortCut);
        if (!name.empty()) text += u'\t' + name;
    }
    return text;
}

void TMenuItem::Changed() {
    if (Destroying()) return;
    FAction->setSeparator(IsLine());
    // A separator's caption "-" is no text: styles would draw it beside the line.
    FAction->setText(IsLine() ? QString() : Q(MenuText()));
    FAction->setVisible(FVisible);
    FAction->setEnabled(FEnabled);
    FAction->setCheckable(FChecked || RadioItem);
    FAction->setChecked(FChecked);
    bool onBar = FParent && FParent->FMenu && FParent->FMenu->IsMenuBar();
    FAction->setShortcut(FItems.empty() && !onBar ? KeySequence(FShortCut) : QKeySequence());
    QFont f = FAction->font();
    f.setBold(FDefault);
    FAction->setFont(f);
    TMenu* menu = GetParentMenu();
    TImageList* images = menu ? menu->Images() : nullptr;
    FAction->setIcon(images ? images->Icon(FImageIndex) : QIcon());
}

void TMenuItem::SetCaption(const WideString& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TMenuItem::SetHint(const WideString& Value) {
    FHint = Value;
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (Value == FShortCut) return;
    FShortCut = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    if (Value && RadioItem) ApplyRadio();
    Changed();
}

void TMenuItem::ApplyRadio() {
    if (!FParent) return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->RadioItem && sibling->GroupIndex == GroupIndex &&
            sibling->FChecked) {
            sibling->FChecked = false;
            sibling->Changed();
        }
}

void TMenuItem::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Changed();
}

void TMenuItem::SetDefault(bool Value) {
    FDefault = Value;
    Changed();
}

void TMenuItem::SetImageIndex(int Value) {
    FImageIndex = Value;
    Changed();
}

int TMenuItem::MenuIndex() const {
    return FParent ? FParent->IndexOf(this) : -1;
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item || Item == this) return;
    if (Item->FParent) Item->FParent->Remove(Item);
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    Item->Changed();
    Changed(); // a shortcut is not shown on an item with sub-items
    Rebuild();
}

void TMenuItem::Remove(TMenuItem* Item) {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    Item->FParent = nullptr;
    if (Destroying()) return;
    if (QWidget* c = FMenu ? FMenu->Container() : FSubMenu.data()) c->removeAction(Item->FAction);
    Changed();
    Rebuild();
}

void TMenuItem::Delete(int Index) {
    if (Index >= 0 && Index < Count()) FItems[size_t(Index)]->Free();
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        FItems.back()->Free();
}

QMenu* TMenuItem::SubMenu() {
    if (!FSubMenu) {
        FSubMenu = new QMenu;
        QObject::connect(FSubMenu.data(), &QMenu::aboutToHide, FSubMenu.data(), [] {
            if (Application) Application->SetHint(WideString());
        });
    }
    return FSubMenu.data();
}

void TMenuItem::Rebuild() {
    if (Destroying()) return;
    QWidget* container = nullptr;
    if (FMenu) {
        container = FMenu->Container();
    } else if (FItems.empty()) {
        FAction->setMenu(static_cast<QMenu*>(nullptr));
    } else {
        container = SubMenu();
        FAction->setMenu(FSubMenu.data());
    }
    if (!container) return;
    for (QAction* a : container->actions())
        container->removeAction(a);
    for (TMenuItem* item : FItems)
        container->addAction(item->FAction);
    if (FMenu) FMenu->ContainerChanged();
}

TAction* TMenuItem::Action() const {
    return FLink ? FLink->Action() : nullptr;
}

void TMenuItem::SetAction(TAction* Value) {
    if (Value == Action()) return;
    FLink.reset();
    if (!Value) return;
    FLink = std::make_unique<Link>(this, Value);
    FLink->ActionChange(true);
}

void TMenuItem::Click() {
    if (TAction* a = Action()) {
        TraceEvent(this, "OnExecute");
        a->Execute();
    } else if (OnClick) {
        TraceEvent(this, "OnClick");
        OnClick(this);
    }
}

TMenuItem* NewLine(TComponent* AOwner) {
    auto* item = new TMenuItem(AOwner);
    item->SetCaption(u"-");
    return item;
}

TMenuItem* NewItem(const WideString& Caption, TShortCut ShortCut, TNotifyEvent OnClick,
                   TComponent* AOwner) {
    auto* item = new TMenuItem(AOwner);
    item->SetCaption(Caption);
    item->SetShortCut(ShortCut);
    item->OnClick = std::move(OnClick);
    return item;
}

// ---------------------------------------------------------------- menus

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    SetDestroyingFlag();
    FItems->Free();
}

void TMenu::SetImages(TImageList* Value) {
    if (FImages) RemoveFreeNotification(FImages);
    FImages = Value;
    if (FImages) FreeNotification(FImages);
    Refresh();
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages) {
        FImages = nullptr;
        if (!Destroying()) Refresh();
    }
}

TMenuItem* TMenu::FindItem(const QAction* Action) const {
    std::function<TMenuItem*(TMenuItem*)> find = [&](TMenuItem* item) -> TMenuItem* {
        if (item->FAction == Action) return item;
        for (TMenuItem* child : item->FItems)
            if (TMenuItem* hit = find(child)) return hit;
        return nullptr;
    };
    return find(FItems);
}

void TMenu::Refresh() {
    std::function<void(TMenuItem*)> walk = [&](TMenuItem* item) {
        item->Changed();
        for (TMenuItem* child : item->FItems)
            walk(child);
        item->Rebuild();
    };
    walk(FItems);
}

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {
    if (auto* form = dynamic_cast<TForm*>(AOwner)) SetForm(form);
}

TMainMenu::~TMainMenu() {
    SetDestroyingFlag();
    SetForm(nullptr);
}

void TMainMenu::SetForm(TForm* Value) {
    if (Value == FForm) return;
    if (FForm) {
        TForm* old = FForm;
        FForm = nullptr;
        RemoveFreeNotification(old);
        if (old->Menu() == this) old->SetMenuBar(nullptr, nullptr, 0);
    }
    delete FBar.data();
    FForm = Value;
    if (!FForm) return;
    FreeNotification(FForm);
    FBar = new QMenuBar;
    FBar->setNativeMenuBar(false);
    FBar->setFocusPolicy(Qt::NoFocus);
    auto* style = new AltKeyBarStyle;
    style->setParent(FBar);
    FBar->setStyle(style);
    Refresh();
    FForm->SetMenuBar(this, FBar.data(), BarHeight());
}

QMenuBar* TMainMenu::MenuBar() const {
    return FBar.data();
}

bool TMainMenu::OpenByHotKey(WideChar Key) {
    if (!FBar || !FBar->isVisible() || Key == 0) return false;
    const WideChar upper = WideUpperChar(Key);
    TMenuItem* found = nullptr;
    for (int i = 0; i < Items()->Count(); ++i) {
        TMenuItem* title = Items()->Items(i);
        if (!title->Visible() || !title->Enabled()) continue;
        const WideString caption = title->Caption();
        if (WideGetHotkeyPos(caption) > 0) {
            if (IsWideCharAccel(Key, caption)) {
                found = title;
                break;
            }
        } else if (!found && !caption.empty() && WideUpperChar(caption[0]) == upper) {
            found = title;
        }
    }
    if (!found) return false;
    FBar->setActiveAction(found->QtAction());
    return true;
}

int TMainMenu::BarHeight() const {
    return std::max(FBar->sizeHint().height(), FBar->fontMetrics().height() + 6);
}

void TMainMenu::ContainerChanged() {
    if (FForm && FBar && FForm->Menu() == this) FForm->SetMenuBar(this, FBar.data(), BarHeight());
}

QWidget* TMainMenu::Container() const {
    return MenuBar();
}

void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    if (AComponent == FForm) FForm = nullptr; // the bar went with the form's widget
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner), FMenu(new QMenu) {
    QObject::connect(FMenu, &QMenu::aboutToHide, FMenu, [] {
        if (Application) Application->SetHint(WideString());
    });
    Refresh();
}

TPopupMenu::~TPopupMenu() {
    SetDestroyingFlag();
    Items()->Clear();
    delete FMenu;
}

QWidget* TPopupMenu::Container() const {
    return FMenu;
}

void TPopupMenu::Popup(int X, int Y) {
    bool cancel = false;
    if (OnPopup) GuardedCall(this, [&] { OnPopup(this, cancel); });
    if (cancel || Items()->Count() == 0) return;
    FMenu->popup(QPoint(X, Y));
}

void TPopupMenu::AttachTo(TControl* Control) {
    if (Control) Control->SetPopupMenu(this);
}

void TPopupMenu::DetachFrom(TControl* Control) {
    if (Control && Control->PopupMenu() == this) Control->SetPopupMenu(nullptr);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove) return;
    if (PopupComponent == AComponent) PopupComponent = nullptr;
}
