// Status bars: a row of text panels along the bottom of a form, or one simple text.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Controls.h"

class TStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel {
public:
    // A text starting with one tab is centred, with two right-aligned; otherwise
    // Alignment decides.
    const WideString& Text() const { return FText; }
    void SetText(const WideString& Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TStatusPanelBevel Value);
    TStatusPanelStyle Style() const { return FStyle; }
    void SetStyle(TStatusPanelStyle Value);
    int Index() const;
    void Assign(const TStatusPanel& Source);

private:
    friend class TStatusPanels;
    explicit TStatusPanel(TStatusBar* Owner) : FOwner(Owner) {}
    void Changed();
    TStatusBar* FOwner;
    WideString FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
    TStatusPanelBevel FBevel = pbLowered;
    TStatusPanelStyle FStyle = psText;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* Owner) : FOwner(Owner) {}
    int Count() const { return int(FPanels.size()); }
    TStatusPanel* Items(int Index) const { return FPanels.at(size_t(Index)).get(); }
    TStatusPanel* operator[](int Index) const { return Items(Index); }
    TStatusPanel* Add();
    void Delete(int Index);
    void Clear();

private:
    friend class TStatusPanel;
    TStatusBar* FOwner;
    std::vector<std::unique_ptr<TStatusPanel>> FPanels;
};

using TDrawPanelEvent = std::function<void(TStatusBar* StatusBar, TStatusPanel* Panel,
                                           TCanvas& Canvas, const TRect& Rect)>;

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels& Panels() { return *FPanels; }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    // Shown when SimplePanel is on, or when the bar has no panels.
    const WideString& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const WideString& Value);
    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    // The application's hint (its long part) shows in the simple text, or in
    // the first panel, while the application has no OnHint handler of its own.
    bool AutoHint() const { return FAutoHint; }
    void SetAutoHint(bool Value);

    // The rectangle of a panel in the bar (the last panel reaches the right edge).
    TRect PanelRect(int Index) const;

    // Owner-drawn panels: the canvas covers the whole bar.
    TDrawPanelEvent OnDrawPanel;
    TNotifyEvent OnHint;

    // Puts the application's present hint into the bar (AutoHint).
    void ShowApplicationHint();

protected:
    // The bar paints itself.
    bool PreWidgetEvent(QObject* Watched, QEvent* Event) override;

private:
    friend class TStatusPanel;
    friend class TStatusPanels;
    void Changed();
    void Paint(QPainter& P);
    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    WideString FSimpleText;
    bool FSizeGrip = true;
    bool FAutoHint = false;
};

// The leading tabs of a panel text (at most two) and the text after them.
int StatusTextTabs(WideStringView Text);

using TUCodeStatusPanel = TStatusPanel;
using TUCodeStatusPanels = TStatusPanels;
using TUCodeStatusBar = TStatusBar;
using TUCodeCustomStatusBar = TStatusBar;
