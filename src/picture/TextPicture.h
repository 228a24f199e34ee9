// Texts saved as pictures: when an output name ends in .BMP, .GIF, .JPG or .JPEG, the
// text-file writer hands the text to this renderer, which draws it line by line in the
// picture font on the background colour and writes the picture file.
//
// Drawing uses Qt's painter on the bitmap's image directly, in place of the class library's
// canvas (which needs the widget library): the same font metrics, the same text output.
//
// The renderer lives above the text codec (which only knows the hook), the GIF codec and
// the graphics library; the main block installs it once at start. The font and colours
// are those of the output settings window, asked for at every save through a
// PictureStyleSource, so that a change there counts for the next file written.
//
// A picture that cannot be drawn or saved is reported once ("bildfehler" with its path)
// and the save returns false; an existing file of that name is then left as it was.
#pragma once

#include <QFont>

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "graphics/Graphics.h"
#include "text/Exception.h"
#include "text/WideTypes.h"

// The picture font and colours (DesignPictureStyle in picture/PictureSettings.h gives
// those of a new output settings window).
struct PictureStyle {
    QFont Font;
    TColor TextColor = clBlack;
    TColor Background = clWhite;
};

enum class PictureFormat { Bmp, Jpeg, Gif };

// The format of a picture file name by its upper-cased extension; none for other names.
std::optional<PictureFormat> PictureFormatOf(WideStringView FileName);

// A picture larger than its format or than memory allows.
class PictureTooLarge : public Exception {
public:
    using Exception::Exception;
};

// Layout: a margin of 10 pixels on every side; every line as high as the font's line (the
// canvas height of "Wg"); lines are split at CR LF only (an empty text is one empty line).
constexpr int PictureMargin = 10;
// The largest picture drawn at all, in pixels: 1 GiB at 32 bits per pixel.
constexpr long long MaxPicturePixels = 1LL << 28;

// Draws the text as a 32-bit bitmap. Raises PictureTooLarge when a side would exceed
// MaxSide or the whole MaxPicturePixels, before any memory is taken for it.
TBitmap DrawTextPicture(const WideString& Text, const PictureStyle& Style, long long MaxSide);

// The largest side a file of the format can hold.
long long MaxPictureSide(PictureFormat Format);

// Writes the file's bytes: a Windows bitmap, a JPEG of quality 85, or a GIF (colours reduced
// by the GIF codec's defaults). The GIF road may reduce Bitmap to 24 bits per pixel.
void WritePicture(TBitmap& Bitmap, PictureFormat Format, std::ostream& Stream);

// The quality of JPEG pictures of texts.
constexpr int PictureJpegQuality = 85;

// Where a failed picture goes: the message key ("bildfehler"), the file's path, and the
// cause (the exception's text) for a log.
using PictureFailureReport =
    std::function<void(std::string_view Key, WideStringView Path, const std::string& Cause)>;
using PictureStyleSource = std::function<PictureStyle()>;

// Draws and writes one picture (through the safe replace, under the exact name); false
// after Report was called once. Names without a picture extension are refused the same way.
bool SaveTextPicture(const WideString& Text, const WideString& FileName, const PictureStyle& Style,
                     const PictureFailureReport& Report);

// Makes SaveTextFileW draw pictures: Style is asked at every picture save, Report told
// of every failure. Called once by the main block at start.
void InstallTextPictureRenderer(PictureStyleSource Style, PictureFailureReport Report);
