#include "graphics/Graphics.h"

#include <QColor>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>

// ---------------------------------------------------------------- colours

namespace {

// The classic Windows colour scheme, by COLOR_* index (r, g, b).
constexpr std::uint8_t SystemColors[31][3] = {
    {212, 208, 200}, {58, 110, 165},  {10, 36, 106},   {128, 128, 128}, {212, 208, 200},
    {255, 255, 255}, {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {255, 255, 255},
    {212, 208, 200}, {212, 208, 200}, {128, 128, 128}, {10, 36, 106},   {255, 255, 255},
    {212, 208, 200}, {128, 128, 128}, {128, 128, 128}, {0, 0, 0},       {212, 208, 200},
    {255, 255, 255}, {64, 64, 64},    {212, 208, 200}, {0, 0, 0},       {255, 255, 225},
    {181, 181, 181}, {0, 0, 128},     {166, 202, 240}, {192, 192, 192}, {49, 106, 197},
    {236, 233, 216}};

} // namespace

TColor ColorToRGB(TColor Color) {
    if (Color < 0) {
        const int index = Color & 0xFF;
        if (index < 31)
            return RGB(SystemColors[index][0], SystemColors[index][1], SystemColors[index][2]);
        return clBlack;
    }
    return Color;
}

QColor ColorToQColor(TColor Color) {
    const TColor c = ColorToRGB(Color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor QColorToColor(const QColor& Color) {
    return RGB(Color.red(), Color.green(), Color.blue());
}

// ---------------------------------------------------------------- palettes

const TPalette& DefaultPalette() {
    static const TPalette palette = {
        {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
        {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
        {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
        {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
        {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};
    return palette;
}

int GetNearestPaletteIndex(const TPalette& Palette, int Red, int Green, int Blue) {
    int best = -1;
    long bestDistance = 0;
    for (std::size_t i = 0; i < Palette.size(); ++i) {
        const long dr = Palette[i].peRed - Red;
        const long dg = Palette[i].peGreen - Green;
        const long db = Palette[i].peBlue - Blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    return best;
}

// ---------------------------------------------------------------- bitmap

namespace {

TPalette PaletteFromTable(const QList<QRgb>& table) {
    TPalette palette;
    palette.reserve(table.size());
    for (QRgb c : table)
        palette.push_back({static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                           static_cast<std::uint8_t>(qBlue(c)), 0});
    return palette;
}

QList<QRgb> TableFromPalette(const TPalette& palette) {
    QList<QRgb> table;
    table.reserve(static_cast<qsizetype>(palette.size()));
    for (const TPaletteEntry& e : palette)
        table.push_back(qRgb(e.peRed, e.peGreen, e.peBlue));
    return table;
}

bool IsIndexed(TPixelFormat format) {
    return format == TPixelFormat::pf1bit || format == TPixelFormat::pf4bit ||
           format == TPixelFormat::pf8bit;
}

// The palette a true-colour bitmap gets when it is turned into an indexed one.
TPalette NewIndexedPalette(TPixelFormat format) {
    const TPalette& system = DefaultPalette();
    if (format == TPixelFormat::pf1bit) return {system[0], system[19]};
    if (format == TPixelFormat::pf4bit) {
        TPalette vga(system.begin(), system.begin() + 8);
        vga.insert(vga.end(), system.begin() + 12, system.end());
        return vga;
    }
    return system;
}

void WriteLE(std::ostream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

int PixelFormatBits(TPixelFormat Format) {
    switch (Format) {
    case TPixelFormat::pf1bit:
        return 1;
    case TPixelFormat::pf4bit:
        return 4;
    case TPixelFormat::pf8bit:
        return 8;
    case TPixelFormat::pf24bit:
        return 24;
    default:
        return 32;
    }
}

QImage::Format TBitmap::StorageFormat(TPixelFormat Format) const {
    switch (Format) {
    case TPixelFormat::pf1bit:
        return QImage::Format_Mono;
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
        return QImage::Format_Indexed8;
    case TPixelFormat::pf24bit:
        return QImage::Format_BGR888;
    default:
        return QImage::Format_RGB32;
    }
}

QImage TBitmap::Unpacked() const {
    if (FFormat != TPixelFormat::pf4bit || FImage.isNull()) return FImage;
    QImage image(FWidth, FHeight, QImage::Format_Indexed8);
    image.setColorTable(FImage.colorTable());
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* packed = FImage.constScanLine(y);
        std::uint8_t* row = image.scanLine(y);
        for (int x = 0; x < FWidth; ++x)
            row[x] = (x & 1) ? (packed[x / 2] & 0x0F) : (packed[x / 2] >> 4);
    }
    return image;
}

QImage TBitmap::ToImage() const {
    return Unpacked();
}

void TBitmap::SetSize(int NewWidth, int NewHeight) {
    NewWidth = std::max(0, NewWidth);
    NewHeight = std::max(0, NewHeight);
    if (NewWidth == FWidth && NewHeight == FHeight) return;
    QImage image;
    if (NewWidth > 0 && NewHeight > 0) {
        image = QImage(NewWidth, NewHeight, StorageFormat(FFormat));
        if (image.isNull()) throw EOutOfResources("Out of system resources");
        if (IsIndexed(FFormat)) {
            image.setColorTable(FImage.isNull() ? TableFromPalette(Palette())
                                                : FImage.colorTable());
            image.fill(0);
        } else {
            std::memset(image.bits(), 0xFF, static_cast<std::size_t>(image.sizeInBytes()));
        }
        if (!FImage.isNull()) {
            const int bits = PixelFormatBits(FFormat);
            const int w = std::min(FWidth, NewWidth);
            const int wholeBytes = w * bits / 8;
            for (int y = 0; y < std::min(FHeight, NewHeight); ++y) {
                std::memcpy(image.scanLine(y), FImage.constScanLine(y), wholeBytes);
                std::uint8_t* dst = image.scanLine(y);
                const std::uint8_t* src = FImage.constScanLine(y);
                // the pixels of a partly kept last byte
                for (int x = wholeBytes * 8 / bits; x < w; ++x) {
                    const int bit = x * bits;
                    const int shift = 8 - bits - bit % 8;
                    const std::uint8_t mask = static_cast<std::uint8_t>(((1 << bits) - 1) << shift);
                    dst[bit / 8] =
                        static_cast<std::uint8_t>((dst[bit / 8] & ~mask) | (src[bit / 8] & mask));
                }
            }
        }
    }
    FImage = image;
    FWidth = NewWidth;
    FHeight = NewHeight;
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == FFormat) return;
    const TPixelFormat old = FFormat;
    FFormat = Value;
    if (FImage.isNull()) {
        FPendingPalette.clear(); // it belonged to the old format
        return;
    }
    const QImage source = [&] {
        FFormat = old;
        QImage image = Unpacked();
        FFormat = Value;
        return image;
    }();
    if (!IsIndexed(Value)) {
        FImage = source.convertToFormat(StorageFormat(Value));
        return;
    }
    const int capacity = 1 << PixelFormatBits(Value);
    TPalette palette;
    bool sameIndices = false;
    if (IsIndexed(old) && source.colorTable().size() <= capacity) {
        palette = PaletteFromTable(source.colorTable());
        sameIndices = true;
    } else {
        palette = NewIndexedPalette(Value);
    }
    QImage image(FWidth, FHeight, StorageFormat(Value));
    image.setColorTable(TableFromPalette(palette));
    image.fill(0);
    for (int y = 0; y < FHeight; ++y) {
        std::uint8_t* row = image.scanLine(y);
        for (int x = 0; x < FWidth; ++x) {
            int index;
            if (sameIndices) {
                index = source.pixelIndex(x, y);
            } else {
                const QRgb c = source.pixel(x, y);
                index = GetNearestPaletteIndex(palette, qRed(c), qGreen(c), qBlue(c));
            }
            if (Value == TPixelFormat::pf1bit)
                row[x / 8] |= static_cast<std::uint8_t>((index & 1) << (7 - x % 8));
            else if (Value == TPixelFormat::pf4bit)
                row[x / 2] |= static_cast<std::uint8_t>((index & 0x0F) << ((x & 1) ? 0 : 4));
            else
                row[x] = static_cast<std::uint8_t>(index);
        }
    }
    FImage = image;
}

std::uint8_t* TBitmap::ScanLine(int Row) {
    if (Row < 0 || Row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage.scanLine(Row);
}

const std::uint8_t* TBitmap::ScanLine(int Row) const {
    if (Row < 0 || Row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage.constScanLine(Row);
}

TPalette TBitmap::Palette() const {
    if (!IsIndexed(FFormat)) return {};
    if (FImage.isNull())
        return FPendingPalette.empty() ? NewIndexedPalette(FFormat) : FPendingPalette;
    return PaletteFromTable(FImage.colorTable());
}

void TBitmap::SetPalette(const TPalette& Value) {
    if (!IsIndexed(FFormat)) return;
    TPalette palette = Value;
    palette.resize(std::min<std::size_t>(palette.size(), 1u << PixelFormatBits(FFormat)));
    if (FImage.isNull())
        FPendingPalette = palette;
    else
        FImage.setColorTable(TableFromPalette(palette));
}

TColor TBitmap::Pixel(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return clNone;
    const std::uint8_t* row = FImage.constScanLine(Y);
    int index;
    switch (FFormat) {
    case TPixelFormat::pf24bit:
        return RGB(row[3 * X + 2], row[3 * X + 1], row[3 * X]);
    case TPixelFormat::pf1bit:
        index = (row[X / 8] >> (7 - X % 8)) & 1;
        break;
    case TPixelFormat::pf4bit:
        index = (X & 1) ? (row[X / 2] & 0x0F) : (row[X / 2] >> 4);
        break;
    case TPixelFormat::pf8bit:
        index = row[X];
        break;
    default:
        return RGB(row[4 * X + 2], row[4 * X + 1], row[4 * X]);
    }
    const QList<QRgb> table = FImage.colorTable();
    if (index >= table.size()) return clBlack;
    return RGB(qRed(table[index]), qGreen(table[index]), qBlue(table[index]));
}

void TBitmap::SetPixel(int X, int Y, TColor Color) {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
    const TColor c = ColorToRGB(Color);
    std::uint8_t* row = FImage.scanLine(Y);
    if (!IsIndexed(FFormat)) {
        const int size = FFormat == TPixelFormat::pf24bit ? 3 : 4;
        row[size * X] = static_cast<std::uint8_t>(GetBValue(c));
        row[size * X + 1] = static_cast<std::uint8_t>(GetGValue(c));
        row[size * X + 2] = static_cast<std::uint8_t>(GetRValue(c));
        return;
    }
    const int index =
        std::max(0, GetNearestPaletteIndex(Palette(), GetRValue(c), GetGValue(c), GetBValue(c)));
    if (FFormat == TPixelFormat::pf1bit) {
        const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (X % 8));
        row[X / 8] = static_cast<std::uint8_t>(index ? (row[X / 8] | bit) : (row[X / 8] & ~bit));
    } else if (FFormat == TPixelFormat::pf4bit) {
        const int shift = (X & 1) ? 0 : 4;
        row[X / 2] = static_cast<std::uint8_t>((row[X / 2] & ~(0x0F << shift)) | (index << shift));
    } else {
        row[X] = static_cast<std::uint8_t>(index);
    }
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentColor == clDefault) return Empty() ? clBlack : Pixel(0, FHeight - 1);
    return ColorToRGB(FTransparentColor);
}

TBitmap TBitmap::MaskHandle() const {
    TBitmap mask;
    mask.SetPixelFormat(TPixelFormat::pf1bit);
    mask.SetSize(FWidth, FHeight);
    if (mask.Empty()) return mask;
    mask.SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
    const TColor transparent = TransparentColor();
    for (int y = 0; y < FHeight; ++y) {
        std::uint8_t* row = mask.ScanLine(y);
        for (int x = 0; x < FWidth; ++x)
            if (Pixel(x, y) == transparent)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    return mask;
}

void TBitmap::SaveToStream(std::ostream& Stream) const {
    const int bits = PixelFormatBits(FFormat);
    const TPalette palette = IsIndexed(FFormat) ? Palette() : TPalette();
    const std::uint32_t stride = ((static_cast<std::uint32_t>(FWidth) * bits + 31) / 32) * 4;
    const std::uint32_t tableSize = static_cast<std::uint32_t>(palette.size()) * 4;
    const std::uint32_t offset = 14 + 40 + tableSize;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(FHeight);
    Stream.write("BM", 2);
    WriteLE(Stream, offset + imageSize, 4);
    WriteLE(Stream, 0, 4);
    WriteLE(Stream, offset, 4);
    WriteLE(Stream, 40, 4);
    WriteLE(Stream, static_cast<std::uint32_t>(FWidth), 4);
    WriteLE(Stream, static_cast<std::uint32_t>(FHeight), 4);
    WriteLE(Stream, 1, 2);
    WriteLE(Stream, static_cast<std::uint32_t>(bits), 2);
    WriteLE(Stream, 0, 4); // BI_RGB
    WriteLE(Stream, imageSize, 4);
    WriteLE(Stream, 0, 4);
    WriteLE(Stream, 0, 4);
    WriteLE(Stream, static_cast<std::uint32_t>(palette.size()), 4);
    WriteLE(Stream, 0, 4);
    for (const TPaletteEntry& e : palette) {
        const char quad[4] = {static_cast<char>(e.peBlue), static_cast<char>(e.peGreen),
                              static_cast<char>(e.peRed), 0};
        Stream.write(quad, 4);
    }
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(FWidth) * bits + 7) / 8;
    const std::string padding(stride - rowBytes, '\0');
    for (int y = FHeight - 1; y >= 0; --y) {
        Stream.write(reinterpret_cast<const char*>(FImage.constScanLine(y)), rowBytes);
        Stream.write(padding.data(), static_cast<std::streamsize>(padding.size()));
    }
}

void TBitmap::SaveToFile(const std::string& FileName) const {
    std::ostringstream bytes;
    SaveToStream(bytes);
    SaveBytesToFile(FileName, bytes.str());
}

void SaveBytesToFile(const std::string& FileName, const std::string& Bytes) {
    std::ofstream file(FileName, std::ios::binary | std::ios::trunc);
    if (!file) throw Exception("Cannot create file \"" + FileName + "\"");
    file.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
    file.flush();
    if (!file) throw Exception("Cannot write file \"" + FileName + "\"");
}

TBitmap BitmapFromImage(const QImage& Image) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    bitmap.SetSize(Image.width(), Image.height());
    if (!Image.isNull()) bitmap.Image() = Image.convertToFormat(bitmap.Image().format());
    return bitmap;
}
