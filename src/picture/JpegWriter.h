// JPEG files through libjpeg-turbo. The library's own error handler ends the process; ours
// turns every error into an Exception "JPEG error #<code>" (the library's message number)
// and keeps its warnings off the console.
#pragma once

#include <string>

class TBitmap;

// The largest width or height a JPEG file can hold.
constexpr long long JpegMaxDimension = 65500;

// The baseline JPEG of a true-colour bitmap (pfDevice, pf24bit or pf32bit; any other format
// is converted first) at the given quality (0..100). Raises Exception "JPEG error #<code>"
// when the library refuses, for example for a side over JpegMaxDimension.
std::string EncodeJpeg(const TBitmap& Bitmap, int Quality);
