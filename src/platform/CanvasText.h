// Wide text on a canvas: output and measure with the canvas's font.
#pragma once

#include "platform/Canvas.h"

// Draws the text with its top-left corner at (X, Y) with the canvas's font and
// brush; on a right-to-left canvas (ETO_RTLREADING) the text reads right to left
// and lies to the left of X. The pen moves to the end of the text.
void WideCanvasTextOut(TCanvas& Canvas, int X, int Y, const WideString& Text);
TSize WideCanvasTextExtent(const TCanvas& Canvas, const WideString& Text);
int WideCanvasTextWidth(const TCanvas& Canvas, const WideString& Text);
int WideCanvasTextHeight(const TCanvas& Canvas, const WideString& Text);
