#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

TCanvas::TCanvas(TBitmap* Target) : TBitmapCanvas(Target), FFont(std::make_unique<TFont>()) {}

TCanvas::~TCanvas() = default;

namespace {

QPen MakePen(const TPen& p) {
    if (p.Style == psClear) return QPen(Qt::NoPen);
    QPen pen(ColorToQColor(p.Color));
    pen.setWidth(std::max(p.Width, 1));
    static const Qt::PenStyle styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                          Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
    pen.setStyle(styles[p.Style]);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush MakeBrush(const TBrush& b) {
    return b.Style == bsClear ? QBrush(Qt::NoBrush) : QBrush(ColorToQColor(b.Color));
}

} // namespace

template <class F> void TCanvas::Paint(F&& Fn) {
    QImage* surface = Surface();
    if (!surface) return;
    {
        QPainter p(surface);
        p.translate(-Origin.X, -Origin.Y);
        p.setFont(FFont->ToQFont());
        Fn(p);
    }
    if (OnChange) OnChange();
}

void TCanvas::LineTo(int X, int Y) {
    TPoint from = PenPos;
    Paint([&](QPainter& p) {
        p.setPen(MakePen(Pen));
        p.drawLine(from.X, from.Y, X, Y);
    });
    PenPos = Point(X, Y);
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    Paint([&](QPainter& p) {
        // Windows rectangles exclude the right and bottom edges.
        p.fillRect(QRect(X1, Y1, X2 - X1, Y2 - Y1), MakeBrush(Brush));
        if (Pen.Style != psClear) {
            p.setPen(MakePen(Pen));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
        }
    });
}

void TCanvas::FillRect(const TRect& R) {
    Paint([&](QPainter& p) {
        p.fillRect(QRect(R.Left, R.Top, R.Width(), R.Height()), MakeBrush(Brush));
    });
}

void TCanvas::FrameRect(const TRect& R) {
    Paint([&](QPainter& p) {
        p.setPen(QPen(ColorToQColor(Brush.Color)));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1));
    });
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    Paint([&](QPainter& p) {
        p.setPen(MakePen(Pen));
        p.setBrush(MakeBrush(Brush));
        p.drawEllipse(QRect(X1, Y1, X2 - X1 - 1, Y2 - Y1 - 1));
    });
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
    Paint([&](QPainter& p) {
        QPolygon poly;
        for (const TPoint& pt : Points)
            poly << QPoint(pt.X, pt.Y);
        p.setPen(MakePen(Pen));
        p.setBrush(MakeBrush(Brush));
        p.drawPolygon(poly);
    });
}

void TCanvas::TextOut(int X, int Y, const WideString& Text) {
    QString t = QString::fromStdU16String(Text);
    bool rightToLeft = (TextFlags & ETO_RTLREADING) != 0;
    int width = TextWidth(Text);
    int left = rightToLeft ? X - width : X;
    Paint([&](QPainter& p) {
        QFontMetrics fm(p.font());
        QRect r(left, Y, width, fm.height());
        if (Brush.Style != bsClear) p.fillRect(r, MakeBrush(Brush));
        p.setPen(ColorToQColor(FFont->Color()));
        if (!rightToLeft) {
            p.drawText(X, Y + fm.ascent(), t);
            return;
        }
        p.setLayoutDirection(Qt::RightToLeft);
        p.drawText(r, int(Qt::AlignRight | Qt::AlignTop), t);
    });
    PenPos = Point(rightToLeft ? X - width : X + width, Y);
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const WideString& Text) {
    QString t = QString::fromStdU16String(Text);
    Paint([&](QPainter& p) {
        QRect clip(R.Left, R.Top, R.Width(), R.Height());
        if (Brush.Style != bsClear) p.fillRect(clip, MakeBrush(Brush));
        p.setClipRect(clip);
        QFontMetrics fm(p.font());
        p.setPen(ColorToQColor(FFont->Color()));
        p.drawText(X, Y + fm.ascent(), t);
    });
}

TSize TCanvas::TextExtent(const WideString& Text) const {
    QFontMetrics fm(FFont->ToQFont());
    return TSize{fm.horizontalAdvance(QString::fromStdU16String(Text)), fm.height()};
}

TColor TCanvas::Pixel(int X, int Y) const {
    X -= Origin.X;
    Y -= Origin.Y;
    if (!FTarget || X < 0 || Y < 0 || X >= FTarget->Width() || Y >= FTarget->Height()) return -1;
    return FTarget->Pixel(X, Y);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
    X -= Origin.X;
    Y -= Origin.Y;
    if (!FTarget || X < 0 || Y < 0 || X >= FTarget->Width() || Y >= FTarget->Height()) return;
    FTarget->SetPixel(X, Y, Color);
    if (OnChange) OnChange();
}

void TCanvas::Draw(int X, int Y, const TBitmap& Bitmap) {
    Paint([&](QPainter& p) { p.drawImage(X, Y, Bitmap.ToImage()); });
}

void TCanvas::StretchDraw(const TRect& R, const TBitmap& Bitmap) {
    Paint([&](QPainter& p) {
        p.drawImage(QRect(R.Left, R.Top, R.Width(), R.Height()), Bitmap.ToImage());
    });
}
