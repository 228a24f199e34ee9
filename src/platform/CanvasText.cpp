#include "platform/CanvasText.h"

void WideCanvasTextOut(TCanvas& Canvas, int X, int Y, const WideString& Text) {
    Canvas.TextOut(X, Y, Text);
}

TSize WideCanvasTextExtent(const TCanvas& Canvas, const WideString& Text) {
    return Canvas.TextExtent(Text);
}

int WideCanvasTextWidth(const TCanvas& Canvas, const WideString& Text) {
    return WideCanvasTextExtent(Canvas, Text).cx;
}

int WideCanvasTextHeight(const TCanvas& Canvas, const WideString& Text) {
    return WideCanvasTextExtent(Canvas, Text).cy;
}
