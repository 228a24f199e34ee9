// Controls of the class library: TControl owns one Qt widget; TWinControl can hold
// child controls, aligns them and takes the focus. Mouse and key input reaches the
// controls as messages through their window procedure, so hooks see it first.
#pragma once

#include <QPointer>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "graphics/Graphics.h"
#include "platform/Font.h"
#include "platform/KeysAndCursors.h"
#include "platform/Messages.h"

class QKeyEvent;
class QEvent;
class TWinControl;
class TForm;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0; // 0: no limit
};

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, WideChar& Key)>;

class TControl;
// What the controls need from the application; TApplication fills it in.
struct TControlServices {
    // The mouse entered a control (the application shows its long hint).
    std::function<void(TControl* Control)> MouseEntered;
    // The application shows hints at all.
    std::function<bool()> ShowHints;
    // The shortcut text a control's hint shows after it ("Cut (Ctrl+X)"): that of the
    // control's action when the application shows shortcuts in hints; empty for none.
    std::function<WideString(const TControl* Control)> HintShortCut;
};
TControlServices& ControlServices();

class TControl : public TMessageTarget {
public:
    TControl(TComponent* AOwner, QWidget* Widget);
    ~TControl() override;

    QWidget* Widget() const { return FWidget.data(); }
    // The message target of the control (what Windows code passes to SendMessage).
    HWND Handle() const { return const_cast<TControl*>(this); }
    bool HandleAllocated() const { return FWidget != nullptr; }
    // The control that owns a widget (or the nearest widget above it), or nullptr.
    static TControl* FromWidget(const QWidget* Widget);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    // The form the control sits on (itself for a form); the windowed-control view
    // of it is what the key handling talks to.
    TForm* ParentForm() const;
    TWinControl* ParentFormControl() const;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    virtual void SetClientWidth(int Value) { SetWidth(Value); }
    virtual void SetClientHeight(int Value) { SetHeight(Value); }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }
    // Where the client area starts inside the widget: a form's menu bar sits above
    // it, so children, mouse positions and ClientToScreen count from below the bar.
    virtual int ClientTopOffset() const { return 0; }
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    const TSizeConstraints& Constraints() const { return FConstraints; }
    void SetConstraints(const TSizeConstraints& Value);

    // Visible and Enabled are the control's own flags, whatever its parents are.
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);

    // Caption and Text are the same wide text. Setting an equal text does nothing.
    WideString Caption() const { return GetText(); }
    void SetCaption(const WideString& Value) { SetText(Value); }
    WideString Text() const { return GetText(); }
    void SetText(const WideString& Value);

    const WideString& Hint() const { return FHint; }
    void SetHint(const WideString& Value) { FHint = Value; }
    bool ShowHint() const;
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value) { FParentShowHint = Value; }
    // The tool tip the control shows now: the short part of its hint (or of the
    // first parent with one) followed by its action's shortcut in parentheses when
    // the application shows those; empty when hints are off.
    WideString CurrentToolTip() const;

    // The menu a right-button release or the context-menu key (or Shift+F10) opens
    // through WM_CONTEXTMENU; a control without one leaves it to its parent's.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);

    virtual void Click();
    void Invalidate();
    void Repaint();
    void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;

protected:
    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual WideString GetText() const { return FText; }
    // The widget has a context menu of its own (edits do, as on Windows): without a
    // PopupMenu the control keeps WM_CONTEXTMENU from its parent.
    virtual bool HasOwnContextMenu() const { return false; }
    // Puts the text into the widget; called only when it differs.
    virtual void SetTextCore(const WideString& Value) { FText = Value; }
    virtual void TextChanged() {}
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void DblClick();
    virtual void Resize();
    virtual void FontChanged();
    virtual void ColorChanged();
    // The palette role that Color paints: the window, or the base of text fields.
    virtual QPalette::ColorRole ColorRole() const { return QPalette::Window; }
    // The colour a control kind starts with (not applied: it is the widget's own look).
    void InitColor(TColor Value) { FColor = Value; }
    virtual void ApplyEnabled();
    // Labels, panels and images click on a left-button release; buttons and
    // edits have their own click.
    virtual bool ClicksOnMouseUp() const { return true; }
    // Puts the control's geometry into its widget.
    virtual void UpdateWidgetGeometry();
    // Replaces the widget (a style change that needs another widget kind); the
    // control's state is carried over.
    void RecreateWidget(QWidget* NewWidget);
    // Also routes input of a helper widget inside this control's widget.
    void AdoptInputWidget(QWidget* W);
    void BeforeDestruction() override;
    // The shift keys held with the key being handled.
    TShiftState KeyShiftState() const { return FKeyShift; }
    // A widget event before the generic handling; true swallows it.
    virtual bool PreWidgetEvent(QObject* Watched, QEvent* Event) {
        (void)Watched;
        (void)Event;
        return false;
    }
    // Shows or hides the widget after Visible or the parent changed.
    virtual void ApplyVisibility();
    void UpdateParentFont();
    void UpdateParentColor();
    // The bounds SetBounds would give after the size constraints.
    void Constrain(int& AWidth, int& AHeight) const;

    QPointer<QWidget> FWidget;
    WideString FText;

private:
    friend class TWinControl;
    friend class ControlBridge;
    bool HandleQtEvent(QObject* Watched, QEvent* Event);
    bool HandleMouse(QObject* Watched, QEvent* Event);
    bool HandleKeyPress(QObject* Watched, QKeyEvent* Event);
    // Runs an input message through the window procedure; true when it reached the
    // default handler, so that the widget may act on it. A handler may open a modal
    // window, whose own messages to this control (mouse leave, focus) nest inside and do
    // not count as this message's.
    bool ReachesDefault(TMessage& Message);
    void SetBoundsCore(int ALeft, int ATop, int AWidth, int AHeight, bool FromAlign);
    void RememberAnchors();
    bool ContextPopup(TMessage& Message);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    int FAnchorRight = 0, FAnchorBottom = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    TSizeConstraints FConstraints;
    bool FVisible = true;
    bool FEnabled = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FUpdatingFont = false;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TCursor FCursor = crDefault;
    TPopupMenu* FPopupMenu = nullptr;
    WideString FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    bool FMousePressed = false;
    struct InputDispatch {
        UINT Msg = 0;
        bool Reached = false;
    } FInputDispatch;
    TShiftState FKeyShift = 0;
};

class TWinControl : public TControl {
public:
    TWinControl(TComponent* AOwner, QWidget* Widget);
    ~TWinControl() override;

    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int Index) const { return FControls.at(size_t(Index)); }
    // The widget that holds the children's widgets.
    virtual QWidget* ClientWidget() const { return Widget(); }

    // Lays out the aligned and anchored children again.
    void Realign();
    void DisableAlign() { ++FAlignLock; }
    void EnableAlign();
    // Sends the message to every child control until one answers it (Result != 0).
    void Broadcast(TMessage& Message);

    bool TabStop = true;
    // The place among the parent's windowed children that Tab follows; a new child comes
    // last. Moving one child shifts the others, whatever their creation order.
    int TabOrder() const;
    void SetTabOrder(int Value);
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;
    // The widget that takes the keyboard focus for this control.
    virtual QWidget* FocusWidget() const { return Widget(); }
    // A form that sees its controls' keys first (KeyPreview).
    virtual bool PreviewsKeys() const { return false; }
    // Return is the control's own key (a memo's new line), not the default button's.
    virtual bool WantsReturnKey() const { return false; }
    // Tab is the control's own key (a memo that takes tabs), not the window's next control.
    virtual bool WantsTabKey() const { return false; }

    TNotifyEvent OnEnter, OnExit;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    friend class TControl;
    void WndProc(TMessage& Message) override;
    virtual void AdjustClientRect(TRect& Rect) const { (void)Rect; }
    virtual void AlignControls(TRect& Rect);
    virtual void KeyDown(uint16_t& Key, TShiftState Shift);
    virtual void KeyUp(uint16_t& Key, TShiftState Shift);
    virtual void KeyPress(WideChar& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // CM_DIALOGCHAR: the accelerator of this control; true when it took the key.
    virtual bool DialogChar(WideChar Key) {
        (void)Key;
        return false;
    }
    // Puts every child's geometry into its widget again (the client origin moved).
    void UpdateChildGeometry();
    void Resize() override;
    void FontChanged() override;
    void ColorChanged() override;
    void ApplyEnabled() override;

private:
    void InsertControl(TControl* C);
    void RemoveControl(TControl* C);
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList; // the windowed children in tab order
    bool FHasFocus = false;
    int FAlignLock = 0;
    bool FAligning = false;
    bool FAlignAgain = false; // a realign was asked for while aligning
};

// Control of a widget that paints itself and holds no children (labels, images, bevels).
class TGraphicControl : public TControl {
public:
    using TControl::TControl;
};

// The first non-empty hint of the control, its parent, the parent's parent and so on.
WideString GetHintOfParents(const TControl* Control);

// The control that kept the focus of Window while the window had none (the input in another
// window, the menu bar or nowhere while the window was disabled); nullptr when none.
TWinControl* KeptFocusOf(const QWidget* Window);

// The control under a screen point (the deepest one), or nullptr.
TControl* FindDragTarget(TPoint ScreenPos);
// The current mouse position on the screen.
TPoint MouseCursorPos();
