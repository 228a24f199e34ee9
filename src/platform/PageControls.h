// Page controls: a row of tabs above pages (tab sheets), one page showing.
#pragma once

#include <functional>
#include <vector>

#include "platform/Controls.h"

class QTabBar;
class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* Value);
    // A page control as parent takes the sheet as its last page.
    void SetParent(TWinControl* AParent) override;
    // The page's tab can be hidden; a hidden tab's page is never the active one
    // when another can be shown.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    // Position among the page control's pages, -1 without one.
    int PageIndex() const;
    int ImageIndex = -1;

protected:
    void SetTextCore(const WideString& Value) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(size_t(Index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows the page (nullptr: none); no OnChanging/OnChange for a change by code.
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Value);
    // The page after (or before) Current, wrapping around; with CheckTabVisible
    // pages whose tab is hidden are skipped. nullptr when there is none.
    TTabSheet* FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const;
    // Moves to the next page as the user would (OnChanging may refuse, OnChange follows).
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle Value);

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

    QTabBar* TabBar() const { return FTabBar; }
    // The tabs take the focus.
    QWidget* FocusWidget() const override;

protected:
    void AdjustClientRect(TRect& Rect) const override;
    void AlignControls(TRect& Rect) override;
    void Resize() override;
    bool DialogChar(WideChar Key) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void UpdateTabs();
    // Puts the tab row at the top and the pages under it.
    void LayoutTabs();
    // A change the user asked for: OnChanging, then the page, then OnChange.
    bool ChangeTo(TTabSheet* Page);
    void TabClicked(int Index);
    int TabIndexOf(const TTabSheet* Page) const;

    QTabBar* FTabBar;
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    TTabStyle FStyle = tsTabs;
    int FSyncing = 0;
};

using TUCodeTabSheet = TTabSheet;
using TUCodePageControl = TPageControl;
