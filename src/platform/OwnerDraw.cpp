#include "platform/OwnerDraw.h"

#include <QAbstractItemView>
#include <QPainter>
#include <algorithm>

#include "platform/CanvasText.h"

OwnerDrawDelegate::OwnerDrawDelegate(TControl* Control, TOwnerDrawRoutine Draw, QObject* Parent)
    : QStyledItemDelegate(Parent), FControl(Control), FDraw(std::move(Draw)) {}

void OwnerDrawDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                              const QModelIndex& Index) const {
    TOwnerDrawState state = 0;
    if (Option.state & QStyle::State_Selected) state |= odSelected;
    if (Option.state & QStyle::State_HasFocus) state |= odFocused;
    if (!(Option.state & QStyle::State_Enabled)) state |= odDisabled | odGrayed;
    QRect rect = Option.rect;
    if (WholeRows) {
        if (Index.column() != 0) return;
        if (auto* view = qobject_cast<const QAbstractItemView*>(Option.widget))
            rect.setRight(std::max(rect.right(), view->viewport()->width() - 1));
    }
    PaintOwnerDrawn(*Painter, rect, FControl, Index.row(), state, FDraw);
}

void PaintOwnerDrawn(QPainter& Painter, const QRect& r, TControl* Control, int Row,
                     TOwnerDrawState state, const TOwnerDrawRoutine& Draw) {
    if (r.isEmpty()) return;
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(r.width(), r.height());
    TCanvas canvas(&bitmap);
    canvas.Origin = Point(r.left(), r.top());
    canvas.Font().Assign(Control->Font());
    canvas.Font().SetColor((state & odSelected) ? clHighlightText : Control->Font()->Color());
    canvas.Brush.Color = (state & odSelected) ? clHighlight : clWindow;
    TRect rect = Bounds(r.left(), r.top(), r.width(), r.height());
    GuardedCall(Control, [&] { Draw(canvas, Row, rect, state); });
    Painter.drawImage(r.topLeft(), bitmap.ToImage());
}

QSize OwnerDrawDelegate::sizeHint(const QStyleOptionViewItem& Option,
                                  const QModelIndex& Index) const {
    QSize size = QStyledItemDelegate::sizeHint(Option, Index);
    if (ItemHeight > 0) size.setHeight(ItemHeight);
    return size;
}

void DrawItemText(TCanvas& Canvas, const TRect& Rect, const WideString& Text) {
    Canvas.FillRect(Rect);
    WideCanvasTextOut(Canvas, Rect.Left + 2, Rect.Top, Text);
}
