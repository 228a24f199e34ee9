// Laying rendered pictures onto canvases (shared by still drawing and painters).
#pragma once

#include "graphics/Geometry.h"

class QImage;
class QPainter;

// Lays Picture onto Rect: stretched to it (nearest pixel), or with Tile in
// copies of its own size from Rect's top-left corner while they start inside
// Rect, clipped to Rect.
void LayPicture(QPainter& Painter, const QImage& Picture, const TRect& Rect, bool Tile);

// What lies under Rect of Surface, in the picture's size: scaled down from
// the rectangle, or with Tile the first tile's area (missing parts black).
QImage CaptureUnder(const QImage& Surface, const TRect& Rect, int Width, int Height, bool Tile);
