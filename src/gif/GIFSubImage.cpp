#include <algorithm>
#include <array>
#include <istream>
#include <ostream>
#include <sstream>

#include "gif/ColorReduction.h"
#include "gif/GIFDecoder.h"
#include "gif/GIFEncoder.h"
#include "gif/GIFImage.h"
#include "gif/GIFStreamIO.h"

using namespace GIFStreamIO;

namespace {

constexpr int MaxDimension = 0xFFFF;

void CheckDimensions(long long Width, long long Height) {
    if (Width < 0 || Height < 0 || Width > MaxDimension || Height > MaxDimension)
        throw GIFException(GIFMessages::InvalidDimensions);
}

} // namespace

TGIFSubImage::TGIFSubImage(TGIFImage* Image)
    : TGIFItem(Image), FColorMap(this), FExtensions(Image) {}

TGIFSubImage::~TGIFSubImage() {
    FExtensions.Clear();
}

void TGIFSubImage::Clear() {
    FreeBitmap();
    FExtensions.Clear();
    FColorMap.Clear();
    FData.clear();
    FData.shrink_to_fit();
    FLeft = FTop = FWidth = FHeight = 0;
    FPacked = 0;
}

void TGIFSubImage::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    CheckDimensions(ALeft, ATop);
    CheckDimensions(AWidth, AHeight);
    CheckDimensions(static_cast<long long>(ALeft) + AWidth, static_cast<long long>(ATop) + AHeight);
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FreeBitmap();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (resized)
        FData.assign(static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight), 0);
    if (!FImage) return;
    TGIFHeader& header = FImage->Header();
    bool warned = false;
    if (FLeft + FWidth > header.Width()) {
        if (header.Width() != 0) {
            ReportWarning(TGIFSeverity::gsWarning, GIFMessages::ImageWidth);
            warned = true;
        }
        header.SetWidth(FLeft + FWidth);
    }
    if (FTop + FHeight > header.Height()) {
        if (header.Height() != 0) {
            ReportWarning(TGIFSeverity::gsWarning, GIFMessages::ImageHeight);
            warned = true;
        }
        header.SetHeight(FTop + FHeight);
    }
    if (warned) ReportWarning(TGIFSeverity::gsWarning, GIFMessages::ImageExceedsScreen);
}

void TGIFSubImage::SetInterlaced(bool Value) {
    FPacked = static_cast<std::uint8_t>(Value ? (FPacked | 0x40) : (FPacked & ~0x40));
}

const TGIFColorMap& TGIFSubImage::ActiveColorMap() const {
    if (FColorMap.Count() > 0 || !FImage) return FColorMap;
    return FImage->Header().ColorMap();
}

void TGIFSubImage::CheckPixel(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight)
        throw GIFException(GIFMessages::BadPixelCoordinates);
}

void TGIFSubImage::AllocateData() {
    const std::size_t size = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
    if (FData.size() != size) FData.assign(size, 0);
    if (size == 0) throw GIFException(GIFMessages::ImageIsEmpty);
}

std::uint8_t TGIFSubImage::Pixels(int X, int Y) const {
    CheckPixel(X, Y);
    if (FData.empty()) throw GIFException(GIFMessages::ImageIsEmpty);
    return FData[static_cast<std::size_t>(Y) * FWidth + X];
}

void TGIFSubImage::SetPixel(int X, int Y, std::uint8_t Value) {
    CheckPixel(X, Y);
    AllocateData();
    FreeBitmap();
    FData[static_cast<std::size_t>(Y) * FWidth + X] = Value;
}

std::uint8_t* TGIFSubImage::Scanline(int Y) {
    CheckPixel(0, Y);
    AllocateData();
    FreeBitmap();
    return FData.data() + static_cast<std::size_t>(Y) * FWidth;
}

TGIFVersion TGIFSubImage::FormatVersion() const {
    return FColorMap.Optimized() || FExtensions.Count() > 0 ? gv89a : gv87a;
}

// ---------------------------------------------------------------- writing

void TGIFSubImage::SaveToStream(std::ostream& Stream) {
    FExtensions.SaveToStream(Stream);
    if (Empty()) return;
    const int localBits = FColorMap.BitsPerPixel();
    // the interlace bit is the frame's own setting and is kept either way
    if (FColorMap.Count() > 0)
        FPacked = static_cast<std::uint8_t>(0x80 | (FColorMap.Optimized() ? 0x20 : 0) |
                                            (FPacked & 0x40) | ((localBits - 1) & 0x07));
    else
        FPacked &= 0x40 | 0x18;

    WriteByte(Stream, 0x2C);
    WriteWord(Stream, static_cast<std::uint16_t>(FLeft));
    WriteWord(Stream, static_cast<std::uint16_t>(FTop));
    WriteWord(Stream, static_cast<std::uint16_t>(FWidth));
    WriteWord(Stream, static_cast<std::uint16_t>(FHeight));
    WriteByte(Stream, FPacked);
    FColorMap.SaveToStream(Stream);

    int bits = FColorMap.Count() > 0 ? localBits : (FImage ? FImage->BitsPerPixel() : 8);
    int colors = FColorMap.Count() > 0 ? FColorMap.Count() : 1 << bits;
    // A file may hold indexes beyond its colour map (a reader shows them in the map's first
    // colour): they are written back as they were read, with codes wide enough for them.
    const int highest = FData.empty() ? 0 : *std::max_element(FData.begin(), FData.end());
    if (highest >= colors) {
        colors = highest + 1;
        while ((1 << bits) < colors)
            ++bits;
    }
    std::unique_ptr<TGIFEncoder> encoder;
    if (FImage && FImage->PixelCoding == 1)
        encoder = std::make_unique<TRLEEncoder>();
    else
        encoder = std::make_unique<TLZWEncoder>();
    encoder->OnProblem = WarningSink();
    encoder->EncodeFrame(Stream, bits, colors, FData.data(), Interlaced(), FHeight, FWidth);
}

// ---------------------------------------------------------------- reading

void TGIFSubImage::ReadExtensions(std::istream& Stream) {
    for (;;) {
        const int next = PeekByte(Stream);
        if (next < 0 || next == 0x2C || next == 0x3B) return;
        if (next != 0x21) {
            ReportWarning(TGIFSeverity::gsWarning, GIFMessages::BadIntroducer);
            return;
        }
        FExtensions.Add(ReadExtension(Stream, this));
    }
}

void TGIFSubImage::LoadFromStream(std::istream& Stream) {
    Clear();
    ReadExtensions(Stream);
    const int next = PeekByte(Stream);
    if (next < 0 || next == 0x3B || next == 0) return;
    std::uint8_t descriptor[10];
    ReadExact(Stream, descriptor, sizeof descriptor);
    FLeft = Word(descriptor + 1);
    FTop = Word(descriptor + 3);
    FWidth = Word(descriptor + 5);
    FHeight = Word(descriptor + 7);
    FPacked = descriptor[9];
    if ((FWidth == 0 || FHeight == 0) && FImage) {
        FWidth = FImage->Width();
        FHeight = FImage->Height();
        ReportWarning(TGIFSeverity::gsWarning, GIFMessages::ImageExceedsScreen);
    }
    if (FPacked & 0x80) {
        const int count = 2 << (FPacked & 0x07);
        if (count < 2 || count > 256) throw GIFException(GIFMessages::ImageColors);
        FColorMap.LoadFromStream(Stream, count);
    }
    // a frame can be no larger than what the rest of the file could code
    const std::uint64_t pixels = static_cast<std::uint64_t>(FWidth) * FHeight;
    if (pixels > MostDecodablePixels(Remaining(Stream)))
        throw GIFException(GIFMessages::InvalidDimensions);
    FData.assign(static_cast<std::size_t>(pixels), 0);
    DecodeGIFPixels(Stream, FData.data(), FWidth, FHeight, Interlaced(), WarningSink());
    if (GIFImageRenderOnLoad) BuildBitmap();
}

// ---------------------------------------------------------------- copying

void TGIFSubImage::Assign(const TGIFSubImage& Source) {
    if (&Source == this) return;
    Clear();
    FLeft = Source.FLeft;
    FTop = Source.FTop;
    FWidth = Source.FWidth;
    FHeight = Source.FHeight;
    FPacked = Source.FPacked;
    FData = Source.FData;
    FColorMap.Assign(Source.FColorMap);
    // extensions are copied through their stream form, which every class keeps whole
    std::stringstream bytes;
    for (int i = 0; i < Source.FExtensions.Count(); ++i)
        Source.FExtensions[i]->SaveToStream(bytes);
    for (int i = 0; i < Source.FExtensions.Count(); ++i)
        FExtensions.Add(ReadExtension(bytes, this));
}

void TGIFSubImage::Assign(TBitmap& Source) {
    Clear();
    if (Source.Empty()) return;
    CheckDimensions(Source.Width(), Source.Height());
    SetWidth(Source.Width());
    SetHeight(Source.Height());

    const TPixelFormat format = Source.PixelFormat();
    std::unique_ptr<TBitmap> reduced;
    const TBitmap* work = &Source;
    if (format != TPixelFormat::pf1bit && format != TPixelFormat::pf4bit &&
        format != TPixelFormat::pf8bit) {
        const int method = FImage ? FImage->ReductionMethod : 6;
        const int dither = FImage ? FImage->DitherMethod : 0;
        const int bits = FImage ? FImage->QuantizeBits : 8;
        reduced = ReduceBitmapColors(Source, method, dither, bits, nullptr);
        // method 9 needs a caller's palette, which this road never has
        if (reduced->Empty()) throw GIFException(GIFMessages::InvalidReduction);
        work = reduced.get();
    }
    AllocateData();
    if (FImage) FImage->Progress(TProgressStage::psStarting, 0, GIFMessages::Converting);
    try {
        ReadPixelsFromBitmap(*work);
        if (Source.Transparent()) ApplyMask(Source);
    } catch (...) {
        if (FImage) FImage->Progress(TProgressStage::psEnding, 0, GIFMessages::Converting);
        throw;
    }
    if (FImage) FImage->Progress(TProgressStage::psEnding, 100, GIFMessages::Converting);
}

void TGIFSubImage::Assign(TGraphic& Source) {
    TBitmap bitmap;
    try {
        Source.AssignTo(bitmap);
    } catch (const EInvalidGraphicOperation&) {
        bitmap = TBitmap();
        bitmap.SetPixelFormat(TPixelFormat::pf24bit);
        bitmap.SetSize(Source.Width(), Source.Height());
        TBitmapCanvas canvas(&bitmap);
        if (!bitmap.Empty()) Source.Draw(canvas, Bounds(0, 0, bitmap.Width(), bitmap.Height()));
    }
    Assign(bitmap);
}

void TGIFSubImage::ReadPixelsFromBitmap(const TBitmap& Bitmap) {
    TPixelFormat format = Bitmap.PixelFormat();
    if (format != TPixelFormat::pf1bit && format != TPixelFormat::pf4bit &&
        format != TPixelFormat::pf8bit)
        format = TPixelFormat::pf24bit;
    TDIBReader reader(const_cast<TBitmap&>(Bitmap), format);
    if (format != TPixelFormat::pf24bit) FColorMap.ImportPalette(Bitmap.Palette());

    // recent (colour, index) pairs of the 24-bit import
    std::array<std::pair<std::uint32_t, int>, 8> cache;
    cache.fill({0xFFFFFFFFu, 0});
    int lastHit = 0, nextSlot = 0;

    for (int y = 0; y < FHeight; ++y) {
        if (FImage && y % 32 == 0)
            FImage->Progress(TProgressStage::psRunning, y * 100 / FHeight, GIFMessages::Converting);
        const std::uint8_t* src = reader.ScanLine(y);
        std::uint8_t* dst = FData.data() + static_cast<std::size_t>(y) * FWidth;
        switch (format) {
        case TPixelFormat::pf8bit:
            std::copy(src, src + FWidth, dst);
            break;
        case TPixelFormat::pf4bit:
            for (int x = 0; x < FWidth; ++x)
                dst[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
            break;
        case TPixelFormat::pf1bit:
            for (int x = 0; x < FWidth; ++x)
                dst[x] = (src[x / 8] >> (7 - x % 8)) & 1;
            break;
        default:
            for (int x = 0; x < FWidth; ++x) {
                const std::uint8_t* p = src + 3 * x;
                const std::uint32_t color = p[0] | (p[1] << 8) | (p[2] << 16);
                int found = -1;
                for (int i = 0, slot = lastHit; i < 8; ++i, slot = (slot + 7) % 8)
                    if (cache[slot].first == color) {
                        found = cache[slot].second;
                        lastHit = slot;
                        break;
                    }
                if (found < 0) {
                    found = FColorMap.AddUnique({p[2], p[1], p[0]});
                    cache[nextSlot] = {color, found};
                    lastHit = nextSlot;
                    nextSlot = (nextSlot + 1) % 8;
                }
                dst[x] = static_cast<std::uint8_t>(found);
            }
            break;
        }
    }
}

void TGIFSubImage::ApplyMask(const TBitmap& Source) {
    if (FColorMap.Count() == 0) return;
    if (FColorMap.Count() >= 256) {
        // no entry left for the transparent colour: the frame stays opaque
        ReportWarning(TGIFSeverity::gsWarning, GIFMessages::TooManyColors);
        return;
    }
    TBitmap mask = Source.MaskHandle();
    mask.SetPixelFormat(TPixelFormat::pf8bit);
    const int transparent = FColorMap.Add({0, 0, 0});
    bool masked = false;
    for (int y = 0; y < FHeight; ++y) {
        const std::uint8_t* row = mask.ScanLine(y);
        std::uint8_t* dst = FData.data() + static_cast<std::size_t>(y) * FWidth;
        for (int x = 0; x < FWidth; ++x)
            if (row[x] != 0) {
                dst[x] = static_cast<std::uint8_t>(transparent);
                masked = true;
            }
    }
    if (!masked) {
        FColorMap.Delete(transparent);
        return;
    }
    auto control = std::make_unique<TGIFGraphicControlExtension>(this);
    control->SetTransparent(true);
    control->SetTransparentColorIndex(transparent);
    FExtensions.Add(std::move(control));
}
