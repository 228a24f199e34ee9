// Panels, scroll boxes, splitters, images and bevels.
#pragma once

#include <QRect>

#include <memory>

#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Picture.h"

class QScrollArea;
class QScrollBar;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* AOwner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool ParentBackground = true;

protected:
    void SetTextCore(const WideString& Value) override;
    void AdjustClientRect(TRect& Rect) const override;
    virtual void Paint(QPainter& P);

private:
    void Changed();
    TAlignment FAlignment = taCenter;
    TBevelCut FBevelOuter = bvRaised;
    TBevelCut FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
};

class TScrollBox;

// One scroll bar of a scroll box: the scrolled position and the scrollable range.
class TControlScrollBar {
public:
    TControlScrollBar(TScrollBox* Box, bool Vertical) : FBox(Box), FVertical(Vertical) {}
    int Position() const;
    void SetPosition(int Value);
    int Range() const { return FRange; }
    void SetRange(int Value);
    int Increment() const;
    void SetIncrement(int Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

private:
    friend class TScrollBox;
    QScrollBar* Bar() const;
    TScrollBox* FBox;
    bool FVertical;
    int FRange = 0;
    bool FVisible = true;
};

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    ~TScrollBox() override;
    QWidget* ClientWidget() const override { return FContent; }
    int ClientWidth() const override;
    int ClientHeight() const override;
    TControlScrollBar& VertScrollBar() { return *FVert; }
    TControlScrollBar& HorzScrollBar() { return *FHorz; }
    // The ranges follow the children's extent when on.
    bool AutoScroll = true;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // Scrolls so that the control is in view.
    void ScrollInView(TControl* AControl);

protected:
    friend class TControlScrollBar;
    void AlignControls(TRect& Rect) override;
    bool PreWidgetEvent(QObject* Watched, QEvent* Event) override;
    void UpdateContentSize();

private:
    QScrollArea* Area() const;
    QWidget* FContent;
    std::unique_ptr<TControlScrollBar> FVert, FHorz;
    TBorderStyle FBorderStyle = bsSingle;
};

using TCanResizeEvent = std::function<void(TObject* Sender, int& NewSize, bool& Accept)>;

// Resizes the control aligned to the same side before it when dragged.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    int MinSize = 30;
    // A size below MinSize snaps the control to nothing when on; otherwise the
    // control stays at MinSize.
    bool AutoSnap = false;
    TNotifyEvent OnMoved;
    TCanResizeEvent OnCanResize;

protected:
    bool PreWidgetEvent(QObject* Watched, QEvent* Event) override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    TControl* FindResizedControl() const;
    void UpdateCursor();
    TControl* FControl = nullptr;
    int FDownPos = 0;
    int FOldSize = 0;
    int FMaxSize = 0;
    bool FDragging = false;
    TAlign FCursorAlign = alNone;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TPicture& Picture() { return FPicture; }
    // Drawing on an empty image first gives it a bitmap of the control's size.
    TCanvas& Canvas();
    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool Center() const { return FCenter; }
    void SetCenter(bool Value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool Value);
    bool Transparent = false;
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

protected:
    void Paint(QPainter& P);

private:
    void PictureChanged();
    QRect PictureRect() const;
    TPicture FPicture;
    // Graphics other than bitmaps draw onto this buffer of the control's size;
    // it lives as long as the image, so an animation keeps its painter.
    TBitmap FGraphicBuffer;
    TBitmapCanvas FGraphicCanvas{&FGraphicBuffer};
    std::unique_ptr<TCanvas> FCanvas;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FAutoSize = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

private:
    void Paint(QPainter& P);
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};
