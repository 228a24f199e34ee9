// The start pictures: what the start window shows while the program comes up, one per
// interface language. They are drawn here rather than shipped as files, so the program
// needs nothing beside its executable.
#pragma once

#include "graphics/Graphics.h"

constexpr int StartPictureWidth = 380;
constexpr int StartPictureHeight = 235;

// The start picture of the German (German true) or English interface, 380 x 235 pixels.
TBitmap DrawStartPicture(bool German);
