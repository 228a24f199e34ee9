#include "picture/TextPicture.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <sstream>
#include <utility>

#include "gif/GIFImage.h"
#include "picture/JpegWriter.h"
#include "text/FileUtils.h"
#include "text/SafeFileWrite.h"
#include "text/TextFiles.h"
#include "text/WideStrUtils.h"

namespace {

// The largest side of a GIF picture: its sizes are 16-bit words.
constexpr long long GifMaxDimension = 65535;

void RefuseLargerThan(long long Width, long long Height, long long MaxSide) {
    if (Width <= MaxSide && Height <= MaxSide && Width * Height <= MaxPicturePixels) return;
    throw PictureTooLarge("A picture of " + std::to_string(Width) + " x " + std::to_string(Height) +
                          " pixels is too large");
}

} // namespace

QFont PictureStyle::DefaultPictureFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(11);
    return font;
}

std::optional<PictureFormat> PictureFormatOf(WideStringView FileName) {
    const WideString ext = WideUpperCase(WideExtractFileExt(FileName));
    if (ext == u".BMP") return PictureFormat::Bmp;
    if (ext == u".JPG" || ext == u".JPEG") return PictureFormat::Jpeg;
    if (ext == u".GIF") return PictureFormat::Gif;
    return std::nullopt;
}

long long MaxPictureSide(PictureFormat Format) {
    switch (Format) {
    case PictureFormat::Jpeg:
        return JpegMaxDimension;
    case PictureFormat::Gif:
        return GifMaxDimension;
    case PictureFormat::Bmp:
        break;
    }
    return INT_MAX;
}

TBitmap DrawTextPicture(const WideString& Text, const PictureStyle& Style, long long MaxSide) {
    TWideStrArray lines;
    ExplodeW(lines, u"\r\n", Text);
    const QFontMetrics metrics(Style.Font);
    const long long lineHeight = metrics.height();
    const long long height = static_cast<long long>(lines.size()) * lineHeight + 2 * PictureMargin;
    // A text of too many lines is refused before its lines are measured.
    RefuseLargerThan(2 * PictureMargin, height, MaxSide);
    std::vector<QString> qlines;
    qlines.reserve(lines.size());
    long long widest = 0;
    for (WideString& line : lines) {
        qlines.push_back(QString::fromStdU16String(line));
        WideString().swap(line);
        widest = std::max<long long>(widest, metrics.horizontalAdvance(qlines.back()));
    }
    const long long width = widest + 2 * PictureMargin;
    RefuseLargerThan(width, height, MaxSide);

    TBitmap bitmap; // 32 bits per pixel
    bitmap.SetWidth(static_cast<int>(width));
    bitmap.SetHeight(static_cast<int>(height));
    QImage& image = bitmap.Image();
    image.fill(ColorToQColor(Style.Background));
    {
        QPainter painter(&image);
        painter.setFont(Style.Font);
        painter.setPen(ColorToQColor(Style.TextColor));
        const int ascent = metrics.ascent();
        for (std::size_t i = 0; i < qlines.size(); ++i)
            if (!qlines[i].isEmpty())
                painter.drawText(PictureMargin,
                                 PictureMargin + static_cast<int>(i * lineHeight) + ascent,
                                 qlines[i]);
    }
    return bitmap;
}

std::string EncodePicture(TBitmap& Bitmap, PictureFormat Format) {
    std::ostringstream bytes;
    switch (Format) {
    case PictureFormat::Bmp:
        Bitmap.SaveToStream(bytes);
        break;
    case PictureFormat::Jpeg:
        return EncodeJpeg(Bitmap, PictureJpegQuality);
    case PictureFormat::Gif: {
        TGIFImage gif;
        gif.Assign(&Bitmap);
        gif.SaveToStream(bytes);
        break;
    }
    }
    return std::move(bytes).str();
}

bool SaveTextPicture(const WideString& Text, const WideString& FileName, const PictureStyle& Style,
                     const PictureFailureReport& Report) {
    try {
        const std::optional<PictureFormat> format = PictureFormatOf(FileName);
        if (!format) throw Exception("\"" + U8(FileName) + "\" names no picture file");
        std::string bytes;
        {
            TBitmap bitmap = DrawTextPicture(Text, Style, MaxPictureSide(*format));
            bytes = EncodePicture(bitmap, *format);
        }
        std::string error;
        if (!SafeFileWrite(WideStringView(FileName), bytes, &error))
            throw Exception("Cannot create file \"" + U8(FileName) + "\". " + error);
        return true;
    } catch (const std::exception& e) {
        if (Report) Report("bildfehler", FileName, e.what());
        return false;
    }
}

void InstallTextPictureRenderer(PictureStyleSource Style, PictureFailureReport Report) {
    SetTextPictureRenderer([style = std::move(Style), report = std::move(Report)](
                               const WideString& Text, const WideString& FileName) {
        return SaveTextPicture(Text, FileName, style ? style() : PictureStyle(), report);
    });
}
