#include "platform/PageControls.h"

#include <QTabBar>
#include <algorithm>

#include "platform/CaptionText.h"

// ---------------------------------------------------------------- tab sheets

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner, new QWidget) {
    Widget()->setAutoFillBackground(true);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    SetDestroyingFlag();
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    SetParent(Value);
}

void TTabSheet::SetParent(TWinControl* AParent) {
    auto* pc = dynamic_cast<TPageControl*>(AParent);
    if (FPageControl && FPageControl != pc) FPageControl->RemovePage(this);
    TWinControl::SetParent(AParent);
    if (pc && pc != FPageControl) pc->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool Value) {
    if (Value == FTabVisible) return;
    FTabVisible = Value;
    if (!FPageControl) return;
    FPageControl->UpdateTabs();
    if (!Value && FPageControl->ActivePage() == this)
        FPageControl->SetActivePage(FPageControl->FindNextPage(this, true, true));
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : int(it - pages.begin());
}

void TTabSheet::SetTextCore(const WideString& Value) {
    TWinControl::SetTextCore(Value);
    if (FPageControl) FPageControl->UpdateTabs();
}

// ---------------------------------------------------------------- page control

TPageControl::TPageControl(TComponent* AOwner)
    : TWinControl(AOwner, new QWidget), FTabBar(new QTabBar(Widget())) {
    FTabBar->setDrawBase(true);
    FTabBar->setExpanding(false);
    FTabBar->setUsesScrollButtons(true);
    AdoptInputWidget(FTabBar);
    QObject::connect(FTabBar, &QTabBar::currentChanged, FTabBar,
                     [this](int index) { TabClicked(index); });
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    SetDestroyingFlag();
    for (TTabSheet* page : FPages)
        page->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page) {
    Page->FPageControl = this;
    FPages.push_back(Page);
    UpdateTabs();
    if (!FActivePage && Page->TabVisible())
        SetActivePage(Page);
    else
        Page->SetVisible(false);
    Realign();
}

void TPageControl::RemovePage(TTabSheet* Page) {
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    if (it == FPages.end()) return;
    TTabSheet* next = FActivePage == Page ? FindNextPage(Page, true, true) : FActivePage;
    FPages.erase(it);
    Page->FPageControl = nullptr;
    if (next == Page) next = nullptr;
    if (Destroying()) return;
    FActivePage = nullptr;
    UpdateTabs();
    SetActivePage(next);
}

int TPageControl::TabIndexOf(const TTabSheet* Page) const {
    auto it = std::find(FPages.begin(), FPages.end(), Page);
    return it == FPages.end() ? -1 : int(it - FPages.begin());
}

void TPageControl::UpdateTabs() {
    ++FSyncing;
    while (FTabBar->count() > PageCount())
        FTabBar->removeTab(FTabBar->count() - 1);
    while (FTabBar->count() < PageCount())
        FTabBar->addTab(QString());
    for (int i = 0; i < PageCount(); ++i) {
        FTabBar->setTabText(i, QString::fromStdU16String(FPages[size_t(i)]->Caption()));
        FTabBar->setTabVisible(i, FPages[size_t(i)]->TabVisible());
    }
    int active = TabIndexOf(FActivePage);
    if (active >= 0) FTabBar->setCurrentIndex(active);
    --FSyncing;
    LayoutTabs();
}

void TPageControl::LayoutTabs() {
    int h = FTabBar->sizeHint().height();
    if (FTabBar->geometry() == QRect(0, 0, Width(), h)) return;
    FTabBar->setGeometry(0, 0, Width(), h);
    Realign();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
    if (Page && Page->FPageControl != this) return;
    TTabSheet* old = FActivePage;
    FActivePage = Page;
    if (old && old != Page) old->SetVisible(false);
    if (Page) {
        Page->SetVisible(true);
        Page->BringToFront();
        ++FSyncing;
        FTabBar->setCurrentIndex(TabIndexOf(Page));
        --FSyncing;
    }
    Realign();
}

int TPageControl::ActivePageIndex() const {
    return TabIndexOf(FActivePage);
}

void TPageControl::SetActivePageIndex(int Value) {
    SetActivePage(Value >= 0 && Value < PageCount() ? FPages[size_t(Value)] : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* Current, bool GoForward,
                                      bool CheckTabVisible) const {
    int n = PageCount();
    if (n == 0) return nullptr;
    int start = TabIndexOf(Current);
    if (start < 0) start = GoForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i + n - 1) % n;
        TTabSheet* page = FPages[size_t(i)];
        if (!CheckTabVisible || page->TabVisible()) return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
    TTabSheet* page = FindNextPage(FActivePage, GoForward, CheckTabVisible);
    if (page && page != FActivePage) ChangeTo(page);
}

bool TPageControl::ChangeTo(TTabSheet* Page) {
    bool allow = true;
    if (OnChanging) GuardedCall(this, [&] { OnChanging(this, allow); });
    if (!allow) {
        UpdateTabs();
        return false;
    }
    SetActivePage(Page);
    if (OnChange) GuardedCall(this, [this] { OnChange(this); });
    return true;
}

void TPageControl::TabClicked(int Index) {
    if (FSyncing || Index < 0 || Index >= PageCount()) return;
    if (FPages[size_t(Index)] != FActivePage) ChangeTo(FPages[size_t(Index)]);
}

void TPageControl::SetStyle(TTabStyle Value) {
    FStyle = Value;
    FTabBar->setDrawBase(Value == tsTabs);
    FTabBar->setDocumentMode(Value != tsTabs);
    FTabBar->setStyleSheet(
        Value == tsFlatButtons ? "QTabBar::tab { border: none; padding: 3px 8px; margin: 1px; }"
                                 "QTabBar::tab:selected { background: palette(mid); }"
        : Value == tsButtons   ? "QTabBar::tab { border: 1px outset palette(mid); padding: 3px "
                                 "8px; margin: 1px; }"
                                 "QTabBar::tab:selected { border-style: inset; }"
                               : "");
    LayoutTabs();
}

void TPageControl::AdjustClientRect(TRect& Rect) const {
    Rect.Top += FTabBar->sizeHint().height();
    if (FStyle == tsTabs) {
        Rect.Left += 2;
        Rect.Right -= 2;
        Rect.Bottom -= 2;
    }
}

void TPageControl::AlignControls(TRect& Rect) {
    TWinControl::AlignControls(Rect);
    for (TTabSheet* page : FPages)
        page->SetBounds(Rect.Left, Rect.Top, std::max(Rect.Width(), 0), std::max(Rect.Height(), 0));
}

void TPageControl::Resize() {
    LayoutTabs();
    TWinControl::Resize();
}

QWidget* TPageControl::FocusWidget() const {
    return FTabBar;
}

bool TPageControl::DialogChar(WideChar Key) {
    for (TTabSheet* page : FPages) {
        if (!page->TabVisible() || !IsWideCharAccel(Key, page->Caption())) continue;
        if (!CanFocus()) return false;
        if (page != FActivePage) ChangeTo(page);
        return true;
    }
    return false;
}
