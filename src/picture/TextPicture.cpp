#include "picture/TextPicture.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <ostream>
#include <streambuf>
#include <utility>
#include <vector>

#include "gif/GIFImage.h"
#include "picture/JpegWriter.h"
#include "text/FileUtils.h"
#include "text/SafeFileWrite.h"
#include "text/TextFiles.h"
#include "text/WideStrUtils.h"

namespace {

// The largest side of a GIF picture: its sizes are 16-bit words.
constexpr long long GifMaxDimension = 65535;

// An output stream's buffer over the safe writer: the picture goes to the temporary file in
// pieces, never whole into memory beside the bitmap.
class SafeWriterBuffer : public std::streambuf {
public:
    explicit SafeWriterBuffer(TSafeFileWriter& Writer) : FWriter(Writer), FBuffer(1 << 20) {
        setp(FBuffer.data(), FBuffer.data() + FBuffer.size());
    }

protected:
    int_type overflow(int_type C) override {
        if (sync() != 0) return traits_type::eof();
        if (!traits_type::eq_int_type(C, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(C);
            pbump(1);
        }
        return traits_type::not_eof(C);
    }
    int sync() override {
        const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
        if (pending && !FWriter.Write(pbase(), pending)) return -1;
        setp(FBuffer.data(), FBuffer.data() + FBuffer.size());
        return 0;
    }

private:
    TSafeFileWriter& FWriter;
    std::vector<char> FBuffer;
};

void RefuseLargerThan(long long Width, long long Height, long long MaxSide) {
    if (Width <= MaxSide && Height <= MaxSide && Width * Height <= MaxPicturePixels) return;
    throw PictureTooLarge("A picture of " + std::to_string(Width) + " x " + std::to_string(Height) +
                          " pixels is too large");
}

} // namespace

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

void WritePicture(TBitmap& Bitmap, PictureFormat Format, std::ostream& Stream) {
    switch (Format) {
    case PictureFormat::Bmp:
        Bitmap.SaveToStream(Stream);
        break;
    case PictureFormat::Jpeg: {
        const std::string bytes = EncodeJpeg(Bitmap, PictureJpegQuality);
        Stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        break;
    }
    case PictureFormat::Gif: {
        TGIFImage gif;
        gif.Assign(&Bitmap);
        gif.SaveToStream(Stream);
        break;
    }
    }
}

bool SaveTextPicture(const WideString& Text, const WideString& FileName, const PictureStyle& Style,
                     const PictureFailureReport& Report) {
    try {
        const std::optional<PictureFormat> format = PictureFormatOf(FileName);
        if (!format) throw Exception("\"" + U8(FileName) + "\" names no picture file");
        TBitmap bitmap = DrawTextPicture(Text, Style, MaxPictureSide(*format));
        TSafeFileWriter writer(NativePath(FileName));
        if (writer.IsOpen()) {
            SafeWriterBuffer buffer(writer);
            std::ostream stream(&buffer);
            WritePicture(bitmap, *format, stream);
            stream.flush();
        }
        // A writer that failed at any point keeps its first error and commits nothing.
        if (!writer.Commit())
            throw Exception("Cannot create file \"" + U8(FileName) + "\". " + writer.ErrorText());
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
