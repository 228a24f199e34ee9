#include "platform/StatusBars.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/CaptionText.h"
#include "platform/Forms.h"

int StatusTextTabs(WideStringView Text) {
    int n = 0;
    while (n < 2 && size_t(n) < Text.size() && Text[size_t(n)] == u'\t')
        ++n;
    return n;
}

// ---------------------------------------------------------------- panels

void TStatusPanel::Changed() {
    FOwner->Changed();
}

void TStatusPanel::SetText(const WideString& Value) {
    if (Value == FText) return;
    FText = Value;
    Changed();
}

void TStatusPanel::SetWidth(int Value) {
    FWidth = Value;
    Changed();
}

void TStatusPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Changed();
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
    FBevel = Value;
    Changed();
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
    FStyle = Value;
    Changed();
}

int TStatusPanel::Index() const {
    const auto& panels = FOwner->Panels().FPanels;
    for (size_t i = 0; i < panels.size(); ++i)
        if (panels[i].get() == this) return int(i);
    return -1;
}

void TStatusPanel::Assign(const TStatusPanel& Source) {
    FText = Source.FText;
    FWidth = Source.FWidth;
    FAlignment = Source.FAlignment;
    FBevel = Source.FBevel;
    FStyle = Source.FStyle;
    Changed();
}

TStatusPanel* TStatusPanels::Add() {
    FPanels.push_back(std::unique_ptr<TStatusPanel>(new TStatusPanel(FOwner)));
    FOwner->Changed();
    return FPanels.back().get();
}

void TStatusPanels::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    FPanels.erase(FPanels.begin() + Index);
    FOwner->Changed();
}

void TStatusPanels::Clear() {
    FPanels.clear();
    FOwner->Changed();
}

// ---------------------------------------------------------------- status bar

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner, new QWidget), FPanels(std::make_unique<TStatusPanels>(this)) {
    Widget()->setFocusPolicy(Qt::NoFocus);
    TabStop = false;
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
    SetDestroyingFlag();
    SetAutoHint(false);
}

bool TStatusBar::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    if (Event->type() != QEvent::Paint || Watched != Widget()) return false;
    QPainter p(Widget());
    Paint(p);
    return true;
}

void TStatusBar::Changed() {
    if (Widget()) Widget()->update();
}

void TStatusBar::SetSimplePanel(bool Value) {
    FSimplePanel = Value;
    Changed();
}

void TStatusBar::SetSimpleText(const WideString& Value) {
    if (Value == FSimpleText) return;
    FSimpleText = Value;
    Changed();
}

void TStatusBar::SetSizeGrip(bool Value) {
    FSizeGrip = Value;
    Changed();
}

void TStatusBar::SetAutoHint(bool Value) {
    FAutoHint = Value;
    if (Value)
        AddHintActionTarget(this, [this](const WideString&) { ShowApplicationHint(); });
    else
        RemoveHintActionTarget(this);
}

void TStatusBar::ShowApplicationHint() {
    if (!Application) return;
    // The application's hint is already the long part of a control's hint; it is
    // shown as it stands (a long part may hold "|" itself).
    const WideString& hint = Application->Hint();
    if (FSimplePanel || FPanels->Count() == 0)
        SetSimpleText(hint);
    else
        FPanels->Items(0)->SetText(hint);
    if (OnHint) GuardedCall(this, [this] { OnHint(this); });
}

TRect TStatusBar::PanelRect(int Index) const {
    int left = 0;
    for (int i = 0; i < FPanels->Count(); ++i) {
        int w = FPanels->Items(i)->Width();
        bool last = i == FPanels->Count() - 1;
        TRect r = Rect(left, 0, last ? std::max(ClientWidth(), left + w) : left + w, Height());
        if (i == Index) return r;
        left += w;
    }
    return TRect{};
}

void TStatusBar::Paint(QPainter& P) {
    QColor face = ColorToQColor(Color());
    QColor shadow = ColorToQColor(clBtnShadow);
    QColor light = ColorToQColor(clBtnHighlight);
    P.fillRect(Widget()->rect(), face);
    P.setFont(Font()->ToQFont());
    P.setPen(ColorToQColor(Font()->Color()));
    auto drawText = [&](const QRect& r, const WideString& text, TAlignment align) {
        int tabs = StatusTextTabs(text);
        if (tabs == 1) align = taCenter;
        if (tabs == 2) align = taRightJustify;
        Qt::Alignment a = (align == taCenter         ? Qt::AlignHCenter
                           : align == taRightJustify ? Qt::AlignRight
                                                     : Qt::AlignLeft) |
                          Qt::AlignVCenter;
        P.setPen(ColorToQColor(Font()->Color()));
        P.drawText(r.adjusted(2, 0, -2, 0), int(a) | Qt::TextSingleLine,
                   QString::fromStdU16String(text.substr(size_t(tabs))));
    };
    if (FSimplePanel || FPanels->Count() == 0) {
        drawText(QRect(0, 0, Width(), Height()), FSimpleText, taLeftJustify);
        return;
    }
    for (int i = 0; i < FPanels->Count(); ++i) {
        TStatusPanel* panel = FPanels->Items(i);
        TRect tr = PanelRect(i);
        QRect r(tr.Left, tr.Top + 2, tr.Width() - 2, tr.Height() - 2);
        if (panel->Bevel() != pbNone) {
            bool lowered = panel->Bevel() == pbLowered;
            P.setPen(lowered ? shadow : light);
            P.drawLine(r.topLeft(), r.topRight());
            P.drawLine(r.topLeft(), r.bottomLeft());
            P.setPen(lowered ? light : shadow);
            P.drawLine(r.bottomLeft(), r.bottomRight());
            P.drawLine(r.topRight(), r.bottomRight());
        }
        if (panel->Style() == psOwnerDraw) {
            if (!OnDrawPanel) continue;
            TBitmap bmp;
            bmp.SetPixelFormat(TPixelFormat::pf32bit);
            bmp.SetSize(Width(), Height());
            TCanvas canvas(&bmp);
            canvas.Brush.Color = Color();
            canvas.FillRect(Rect(0, 0, Width(), Height()));
            canvas.Font().Assign(Font());
            TRect inner = Rect(r.left() + 1, r.top() + 1, r.right(), r.bottom());
            GuardedCall(this, [&] { OnDrawPanel(this, panel, canvas, inner); });
            QRect q(inner.Left, inner.Top, inner.Width(), inner.Height());
            P.drawImage(q, bmp.ToImage(), q);
            continue;
        }
        drawText(r, panel->Text(), panel->Alignment());
    }
}
