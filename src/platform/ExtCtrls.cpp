#include "platform/ExtCtrls.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "platform/CaptionText.h"

namespace {

// A widget that paints through its control.
class PaintWidget : public QWidget {
public:
    std::function<void(QPainter&)> OnPaint;

protected:
    void paintEvent(QPaintEvent*) override {
        if (!OnPaint) return;
        QPainter p(this);
        OnPaint(p);
    }
};

// A raised or lowered frame line pair of a bevel (Windows' Frame3D).
void Frame3D(QPainter& p, QRect& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        p.setPen(ColorToQColor(topLeft));
        p.drawLine(r.left(), r.bottom(), r.left(), r.top());
        p.drawLine(r.left(), r.top(), r.right(), r.top());
        p.setPen(ColorToQColor(bottomRight));
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
        r.adjust(1, 1, -1, -1);
    }
}

int BevelSize(TBevelCut cut, int width) {
    return cut == bvNone ? 0 : width;
}

} // namespace

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner, new PaintWidget) {
    static_cast<PaintWidget*>(Widget())->OnPaint = [this](QPainter& p) { Paint(p); };
    Widget()->setAutoFillBackground(true);
    Widget()->setFocusPolicy(Qt::NoFocus);
    SetBounds(0, 0, 185, 41);
}

void TPanel::Changed() {
    Realign();
    Invalidate();
}

void TPanel::SetAlignment(TAlignment Value) {
    FAlignment = Value;
    Invalidate();
}

void TPanel::SetBevelOuter(TBevelCut Value) {
    FBevelOuter = Value;
    Changed();
}

void TPanel::SetBevelInner(TBevelCut Value) {
    FBevelInner = Value;
    Changed();
}

void TPanel::SetBevelWidth(int Value) {
    FBevelWidth = Value;
    Changed();
}

void TPanel::SetBorderWidth(int Value) {
    FBorderWidth = Value;
    Changed();
}

void TPanel::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    Changed();
}

void TPanel::SetTextCore(const WideString& Value) {
    FText = Value;
    Invalidate();
}

void TPanel::AdjustClientRect(TRect& R) const {
    int inset = BevelSize(FBevelOuter, FBevelWidth) + FBorderWidth +
                BevelSize(FBevelInner, FBevelWidth) + (FBorderStyle == bsSingle ? 1 : 0);
    R.Left += inset;
    R.Top += inset;
    R.Right -= inset;
    R.Bottom -= inset;
}

void TPanel::Paint(QPainter& P) {
    QRect r(0, 0, Width(), Height());
    if (FBorderStyle == bsSingle) Frame3D(P, r, clWindowFrame, clWindowFrame, 1);
    if (FBevelOuter != bvNone)
        Frame3D(P, r, FBevelOuter == bvLowered ? clBtnShadow : clBtnHighlight,
                FBevelOuter == bvLowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
    r.adjust(FBorderWidth, FBorderWidth, -FBorderWidth, -FBorderWidth);
    if (FBevelInner != bvNone)
        Frame3D(P, r, FBevelInner == bvLowered ? clBtnShadow : clBtnHighlight,
                FBevelInner == bvLowered ? clBtnHighlight : clBtnShadow, FBevelWidth);
    if (FText.empty()) return;
    Qt::Alignment a = FAlignment == taCenter         ? Qt::AlignHCenter
                      : FAlignment == taRightJustify ? Qt::AlignRight
                                                     : Qt::AlignLeft;
    P.setPen(Widget()->palette().color(Enabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
    P.setFont(Widget()->font());
    P.drawText(r, int(a | Qt::AlignVCenter | Qt::TextSingleLine),
               QString::fromStdU16String(WideStripHotkey(FText)));
}

// ---------------------------------------------------------------- TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner)
    : TWinControl(AOwner, new QScrollArea), FContent(new QWidget),
      FVert(std::make_unique<TControlScrollBar>(this, true)),
      FHorz(std::make_unique<TControlScrollBar>(this, false)) {
    Area()->setWidgetResizable(false);
    Area()->setWidget(FContent);
    Area()->setFocusPolicy(Qt::NoFocus);
    AdoptInputWidget(Area()->viewport());
    AdoptInputWidget(FContent);
    SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox() = default;

QScrollArea* TScrollBox::Area() const {
    return static_cast<QScrollArea*>(Widget());
}

int TScrollBox::ClientWidth() const {
    QWidget* vp = Area()->viewport();
    return vp->isVisible() || Area()->isVisible() ? vp->width() : std::max(Width() - 4, 0);
}

int TScrollBox::ClientHeight() const {
    QWidget* vp = Area()->viewport();
    return vp->isVisible() || Area()->isVisible() ? vp->height() : std::max(Height() - 4, 0);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    Area()->setFrameShape(Value == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    Realign();
}

void TScrollBox::AlignControls(TRect& R) {
    TWinControl::AlignControls(R);
    if (AutoScroll) {
        int right = 0, bottom = 0;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible()) continue;
            if (c->Align() != alClient && c->Align() != alTop && c->Align() != alBottom)
                right = std::max(right, c->Left() + c->Width());
            if (c->Align() != alClient && c->Align() != alLeft && c->Align() != alRight)
                bottom = std::max(bottom, c->Top() + c->Height());
        }
        FHorz->FRange = right;
        FVert->FRange = bottom;
    }
    UpdateContentSize();
}

void TScrollBox::UpdateContentSize() {
    int w = std::max(ClientWidth(), FHorz->FRange);
    int h = std::max(ClientHeight(), FVert->FRange);
    if (FContent->width() != w || FContent->height() != h) FContent->resize(w, h);
}

bool TScrollBox::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    if (Watched == Area()->viewport() && Event->type() == QEvent::Resize) Realign();
    return false;
}

void TScrollBox::ScrollInView(TControl* AControl) {
    QWidget* content = Area()->widget();
    if (!AControl || !content || !content->isAncestorOf(AControl->Widget())) return;
    // The control may sit in panels inside the box: its place in the box's content.
    const QPoint at = AControl->Widget()->mapTo(content, QPoint(0, 0));
    const int w = AControl->Width(), h = AControl->Height();
    Area()->ensureVisible(at.x() + w / 2, at.y() + h / 2, w - w / 2, h - h / 2);
}

QScrollBar* TControlScrollBar::Bar() const {
    auto* area = static_cast<QScrollArea*>(FBox->Widget());
    return FVertical ? area->verticalScrollBar() : area->horizontalScrollBar();
}

int TControlScrollBar::Position() const {
    return Bar()->value();
}

void TControlScrollBar::SetPosition(int Value) {
    FBox->UpdateContentSize();
    Bar()->setValue(Value);
}

void TControlScrollBar::SetRange(int Value) {
    FRange = std::max(Value, 0);
    FBox->UpdateContentSize();
}

int TControlScrollBar::Increment() const {
    return Bar()->singleStep();
}

void TControlScrollBar::SetIncrement(int Value) {
    Bar()->setSingleStep(Value);
}

void TControlScrollBar::SetVisible(bool Value) {
    FVisible = Value;
    auto* area = static_cast<QScrollArea*>(FBox->Widget());
    Qt::ScrollBarPolicy policy = Value ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    if (FVertical)
        area->setVerticalScrollBarPolicy(policy);
    else
        area->setHorizontalScrollBarPolicy(policy);
}

// ---------------------------------------------------------------- TSplitter

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner, new PaintWidget) {
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    UpdateCursor();
}

void TSplitter::UpdateCursor() {
    if (FCursorAlign == Align()) return;
    FCursorAlign = Align();
    SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
}

TControl* TSplitter::FindResizedControl() const {
    TWinControl* p = Parent();
    if (!p) return nullptr;
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        switch (Align()) {
        case alLeft:
            if (c->Left() + c->Width() == Left()) return c;
            break;
        case alRight:
            if (c->Left() == Left() + Width()) return c;
            break;
        case alTop:
            if (c->Top() + c->Height() == Top()) return c;
            break;
        case alBottom:
            if (c->Top() == Top() + Height()) return c;
            break;
        default:
            break;
        }
    }
    return nullptr;
}

bool TSplitter::PreWidgetEvent(QObject* Watched, QEvent* Event) {
    UpdateCursor();
    if (Watched != Widget()) return false;
    auto type = Event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    auto* me = static_cast<QMouseEvent*>(Event);
    bool horizontal = Align() == alLeft || Align() == alRight;
    QPoint g = me->globalPosition().toPoint();
    int pos = horizontal ? g.x() : g.y();
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
        FControl = FindResizedControl();
        if (!FControl) return false;
        TWinControl* p = Parent();
        FMaxSize = (horizontal ? p->ClientWidth() : p->ClientHeight()) - MinSize;
        for (int i = 0; i < p->ControlCount(); ++i) {
            TControl* c = p->Controls(i);
            if (!c->Visible()) continue;
            if (horizontal && (c->Align() == alLeft || c->Align() == alRight))
                FMaxSize -= c->Width();
            if (!horizontal && (c->Align() == alTop || c->Align() == alBottom))
                FMaxSize -= c->Height();
        }
        FOldSize = horizontal ? FControl->Width() : FControl->Height();
        FMaxSize += FOldSize;
        FDownPos = pos;
        FDragging = true;
        return false;
    }
    if (!FDragging || !FControl) return false;
    int delta = pos - FDownPos;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    int size = FOldSize + delta;
    if (size < MinSize) size = AutoSnap ? 0 : MinSize;
    if (size > FMaxSize) size = std::max(FMaxSize, AutoSnap ? 0 : MinSize);
    bool accept = true;
    if (OnCanResize) GuardedCall(this, [&] { OnCanResize(this, size, accept); });
    if (accept) {
        if (horizontal)
            FControl->SetWidth(size);
        else
            FControl->SetHeight(size);
    }
    if (type == QEvent::MouseButtonRelease) {
        FDragging = false;
        FControl = nullptr;
        if (OnMoved) GuardedEvent(this, "OnMoved", [this] { OnMoved(this); });
    }
    return false;
}

// ---------------------------------------------------------------- TImage

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner, new PaintWidget), FCanvas(std::make_unique<TCanvas>()) {
    static_cast<PaintWidget*>(Widget())->OnPaint = [this](QPainter& p) { Paint(p); };
    FPicture.OnChange = [this] { PictureChanged(); };
    FPicture.OnRedrawNeeded = [this] { Invalidate(); };
    FCanvas->SetTarget(&FPicture.FBitmap);
    FCanvas->OnChange = [this] { Invalidate(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() = default;

TCanvas& TImage::Canvas() {
    if (FPicture.Graphic())
        throw EInvalidGraphicOperation("Can only modify an image if it contains a bitmap");
    if (FPicture.Empty()) {
        TBitmap b;
        b.SetPixelFormat(TPixelFormat::pf32bit);
        b.SetSize(std::max(Width(), 1), std::max(Height(), 1));
        FPicture.Assign(b);
    }
    return *FCanvas;
}

void TImage::PictureChanged() {
    if (FAutoSize && !FPicture.Empty())
        SetBounds(Left(), Top(), FPicture.Width(), FPicture.Height());
    Invalidate();
}

void TImage::SetStretch(bool Value) {
    FStretch = Value;
    Invalidate();
}

void TImage::SetCenter(bool Value) {
    FCenter = Value;
    Invalidate();
}

void TImage::SetProportional(bool Value) {
    FProportional = Value;
    Invalidate();
}

void TImage::SetAutoSize(bool Value) {
    FAutoSize = Value;
    PictureChanged();
}

QRect TImage::PictureRect() const {
    const int width = FPicture.Width(), height = FPicture.Height();
    QRect dest(0, 0, width, height);
    if (FStretch || (FProportional && (width > Width() || height > Height()))) {
        if (FProportional) {
            // The largest size of the picture's proportions that fits.
            double k = std::min(double(Width()) / width, double(Height()) / height);
            dest = QRect(0, 0, int(width * k), int(height * k));
        } else {
            dest = QRect(0, 0, Width(), Height());
        }
    }
    if (FCenter) dest.moveTo((Width() - dest.width()) / 2, (Height() - dest.height()) / 2);
    return dest;
}

void TImage::Paint(QPainter& P) {
    if (FPicture.Empty() || Width() <= 0 || Height() <= 0) return;
    const QRect dest = PictureRect();
    TGraphic* graphic = FPicture.Graphic();
    if (!graphic) {
        P.drawImage(dest, FPicture.Bitmap().ToImage());
        return;
    }
    // the graphic draws itself (an animated one through its painter, which
    // asks for the next paint through the picture's OnRedrawNeeded)
    if (FGraphicBuffer.Width() != Width() || FGraphicBuffer.Height() != Height()) {
        FGraphicBuffer.SetPixelFormat(TPixelFormat::pf32bit);
        FGraphicBuffer.SetSize(Width(), Height());
    }
    FGraphicBuffer.Image().fill(ColorToQColor(Color()));
    graphic->Draw(FGraphicCanvas,
                  Rect(dest.left(), dest.top(), dest.right() + 1, dest.bottom() + 1));
    P.drawImage(0, 0, FGraphicBuffer.Image());
}

// ---------------------------------------------------------------- TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner, new PaintWidget) {
    static_cast<PaintWidget*>(Widget())->OnPaint = [this](QPainter& p) { Paint(p); };
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint(QPainter& P) {
    TColor c1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    int w = Width(), h = Height();
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        P.setPen(ColorToQColor(c));
        P.drawLine(x1, y1, x2, y2);
    };
    QRect r(0, 0, w, h);
    switch (FShape) {
    case bsBox:
        Frame3D(P, r, c1, c2, 1);
        break;
    case bsFrame: {
        QRect outer(0, 0, w - 1, h - 1), inner(1, 1, w - 1, h - 1);
        P.setPen(ColorToQColor(c1));
        P.drawRect(outer.adjusted(0, 0, -1, -1));
        P.setPen(ColorToQColor(c2));
        P.drawRect(inner.adjusted(0, 0, -1, -1));
        break;
    }
    case bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}
