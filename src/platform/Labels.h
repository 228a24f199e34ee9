// Labels and static texts: captions with hot keys that hand the focus on.
#pragma once

#include "platform/Controls.h"
#include "platform/TextEllipsis.h"

class QLabel;

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    bool Transparent = true;
    TWinControl* FocusControl = nullptr;
    // A text too wide (or, word-wrapped, too high) for the label is shortened: see
    // ElideLine and ElideWrapped. A path ellipsis shows one line even in a
    // word-wrapped label: the folders in the middle give way, not the line breaks.
    TEllipsisPosition EllipsisPosition() const { return FEllipsisPosition; }
    void SetEllipsisPosition(TEllipsisPosition Value);
    // The text the label shows (hot-key marks removed when ShowAccelChar is on),
    // before any ellipsis.
    WideString DisplayText() const;
    // What the label shows now, ellipsis included.
    WideString ShownText() const;

protected:
    void WndProc(TMessage& Message) override;
    void SetTextCore(const WideString& Value) override;
    void FontChanged() override;
    void AdjustSize();
    void UpdateLabel();
    void Resize() override;

private:
    QLabel* Label() const;
    // Word wrap is on and no path ellipsis takes its place.
    bool WrapsLines() const;
    bool FAutoSize = true;
    bool FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FShowAccelChar = true;
    TEllipsisPosition FEllipsisPosition = epNone;
    void ShowText();
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

class TStaticText : public TWinControl {
public:
    explicit TStaticText(TComponent* AOwner);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool ShowAccelChar = true;
    TWinControl* FocusControl = nullptr;

protected:
    void SetTextCore(const WideString& Value) override;
    void FontChanged() override;
    bool DialogChar(WideChar Key) override;
    void AdjustSize();

private:
    QLabel* Label() const;
    bool FAutoSize = true;
    TStaticBorderStyle FBorderStyle = sbsNone;
    TAlignment FAlignment = taLeftJustify;
};
