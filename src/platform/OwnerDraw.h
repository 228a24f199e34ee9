// Items that their control draws itself (owner-drawn combo-box and list-view items):
// the item's drawing routine paints through a canvas in the view's coordinates.
#pragma once

#include <QStyledItemDelegate>
#include <functional>

#include "platform/Canvas.h"
#include "platform/Controls.h"

enum TOwnerDrawStateFlag : unsigned {
    odSelected = 1,
    odGrayed = 2,
    odDisabled = 4,
    odChecked = 8,
    odFocused = 16,
    odDefault = 32,
    odComboBoxEdit = 4096
};
using TOwnerDrawState = unsigned;

// Draws the item of a row into Rect.
using TOwnerDrawRoutine =
    std::function<void(TCanvas& Canvas, int Row, const TRect& Rect, TOwnerDrawState State)>;

// Paints one item: the canvas draws onto a bitmap of the rectangle R, starts with the
// control's font and the colours of the state, and the bitmap is then put onto the painter.
void PaintOwnerDrawn(QPainter& Painter, const QRect& R, TControl* Control, int Row,
                     TOwnerDrawState State, const TOwnerDrawRoutine& Draw);

// Paints every row of an item view through a drawing routine: the canvas draws onto a
// bitmap of the row's rectangle, starts with the control's font and the colours of the
// row's state, and the bitmap is then put onto the view. Rows are ItemHeight high
// (0: the view's own height).
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
    OwnerDrawDelegate(TControl* Control, TOwnerDrawRoutine Draw, QObject* Parent);
    int ItemHeight = 0;
    // A row is one item across all columns (list views): it is drawn once, with the
    // first column, over the whole width of the view.
    bool WholeRows = false;
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TControl* FControl;
    TOwnerDrawRoutine FDraw;
};

// The canvas an owner-drawn control hands to its drawing event: the item's canvas while
// an item is drawn, else a canvas without a bitmap, which draws nothing.
class TOwnerDrawCanvas {
public:
    TCanvas& Current() { return FCurrent ? *FCurrent : FIdle; }
    // Runs Draw with Canvas as the current one.
    template <class F> void Drawing(TCanvas& Canvas, F&& Draw) {
        FCurrent = &Canvas;
        struct Done {
            TCanvas*& Current;
            ~Done() { Current = nullptr; }
        } done{FCurrent};
        Draw();
    }

private:
    TCanvas* FCurrent = nullptr;
    TCanvas FIdle;
};

// The default drawing of an owner-drawn item: the rectangle filled with the brush and
// the text 2 pixels right of its left edge, at its top.
void DrawItemText(TCanvas& Canvas, const TRect& Rect, const WideString& Text);
