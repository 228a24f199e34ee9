// The codec's exception and the texts of its errors and warnings.
#pragma once

#include <functional>
#include <string>

#include "graphics/Graphics.h"

class GIFException : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};

enum class TGIFSeverity { gsInfo, gsWarning, gsError };

// Where a coder or a colour map hands its non-fatal problems.
using TGIFWarningSink = std::function<void(TGIFSeverity Severity, const std::string& Message)>;

namespace GIFMessages {
inline constexpr const char* UnsupportedVersion = "Unsupported GIF version";
inline constexpr const char* UnsupportedClass = "Object type not supported for operation";
inline constexpr const char* TooManyColors = "Color table overflow";
inline constexpr const char* BadColorIndex = "Invalid color index";
inline constexpr const char* ColorNotFound = "Color not in color table";
inline constexpr const char* EmptyColorMap = "Color table is empty";
inline constexpr const char* ImageWidth = "Image width too small for contained frames";
inline constexpr const char* ImageHeight = "Image height too small for contained frames";
inline constexpr const char* ImageExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* UnsupportedPixelFormat = "Unsupported PixelFormat";
inline constexpr const char* InvalidDimensions = "Invalid image dimensions";
inline constexpr const char* NoDIB = "Image has no DIB";
inline constexpr const char* DIBMemory = "Failed to allocate memory for GIF DIB";
inline constexpr const char* InvalidStream = "Invalid stream operation";
inline constexpr const char* BadSignature = "Invalid GIF signature";
inline constexpr const char* ScreenColors =
    "Invalid number of colors specified in Screen Descriptor";
inline constexpr const char* ImageColors = "Invalid number of colors specified in Image Descriptor";
inline constexpr const char* UnknownExtension = "Unknown extension type";
inline constexpr const char* ExtensionMismatch =
    "Internal error: Extension Instance does not match Extension Label";
inline constexpr const char* AppBlockSize = "Unsupported Application Extension block size";
inline constexpr const char* InvalidData = "Invalid GIF data";
inline constexpr const char* CircularTable = "Circular decoder table entry";
inline constexpr const char* PrematureEnd = "Premature end of data";
inline constexpr const char* UnknownBlock = "Unknown GIF block type";
inline constexpr const char* BadIntroducer = "Invalid extension introducer";
inline constexpr const char* BadTrailer = "Invalid Image trailer";
inline constexpr const char* BitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* BadPixelCoordinates = "Invalid pixel coordinates";
inline constexpr const char* ImageIsEmpty = "Image is empty";
inline constexpr const char* InvalidReduction = "Invalid reduction method";
inline constexpr const char* InvalidDither = "Invalid dither method";
inline constexpr const char* Saving = "Saving...";
inline constexpr const char* Loading = "Loading...";
inline constexpr const char* Converting = "Converting...";
inline constexpr const char* Copying = "Copying...";
inline constexpr const char* Rendering = "Rendering...";
inline constexpr const char* Optimizing = "Optimizing...";
inline constexpr const char* NoColorTable = "No global or local color table defined";
inline constexpr const char* ClipboardFailed = "Failed to store GIF on clipboard";
} // namespace GIFMessages
