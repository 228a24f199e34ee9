// A GIF picture: header with logical screen and global colour map, frames,
// trailer; written as GIF87a or GIF89a and read back.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "gif/GIFColorMap.h"
#include "gif/GIFExtensions.h"
#include "gif/GIFItem.h"
#include "graphics/Graphics.h"

class TGIFExtensionList : public TGIFList<TGIFExtension> {
public:
    using TGIFList::TGIFList;
};

class TGIFHeader : public TGIFItem {
public:
    explicit TGIFHeader(TGIFImage* Image) : TGIFItem(Image), FColorMap(this) {}

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int Value) { FWidth = Value; }
    void SetHeight(int Value) { FHeight = Value; }
    std::uint8_t Packed() const { return FPacked; }
    int BackgroundColorIndex() const { return FBackground; }
    void SetBackgroundColorIndex(int Value) { FBackground = static_cast<std::uint8_t>(Value); }
    int AspectRatio() const { return FAspect; }
    TGIFGlobalColorMap& ColorMap() { return FColorMap; }
    const TGIFGlobalColorMap& ColorMap() const { return FColorMap; }

    void Clear();
    void Assign(const TGIFHeader& Source);
    // Recomputes the packed byte from the global map and every frame's map.
    void Prepare();
    // Signature and logical screen descriptor, then the global colour map.
    void SaveToStream(std::ostream& Stream) override;
    void LoadFromStream(std::istream& Stream) override;

private:
    int FWidth = 0;
    int FHeight = 0;
    std::uint8_t FPacked = 0;
    std::uint8_t FBackground = 0;
    std::uint8_t FAspect = 0;
    TGIFGlobalColorMap FColorMap;
};

class TGIFSubImage : public TGIFItem {
public:
    explicit TGIFSubImage(TGIFImage* Image);
    ~TGIFSubImage() override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    // Stores the bounds (each 0 .. 65535, else "Invalid image dimensions"); a
    // changed size gives a new zero-filled pixel buffer; the picture's logical
    // screen grows to hold the frame.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool Interlaced() const { return FPacked & 0x40; }
    void SetInterlaced(bool Value);
    bool Empty() const { return FData.empty() || FWidth == 0 || FHeight == 0; }

    TGIFLocalColorMap& ColorMap() { return FColorMap; }
    const TGIFLocalColorMap& ColorMap() const { return FColorMap; }
    // The local map when it has entries, else the picture's global map.
    const TGIFColorMap& ActiveColorMap() const;
    TGIFExtensionList& Extensions() { return FExtensions; }
    TGIFGraphicControlExtension* GraphicControlExtension() const { return FGCE; }
    bool Transparent() const { return FGCE && FGCE->Transparent(); }

    // One byte per pixel, rows top to bottom.
    std::vector<std::uint8_t>& Data() { return FData; }
    const std::vector<std::uint8_t>& Data() const { return FData; }
    std::uint8_t Pixels(int X, int Y) const;
    void SetPixel(int X, int Y, std::uint8_t Value);
    std::uint8_t* Scanline(int Y);

    TGIFVersion FormatVersion() const override;
    void SaveToStream(std::ostream& Stream) override;
    void LoadFromStream(std::istream& Stream) override;

    void Clear();
    void Assign(const TGIFSubImage& Source);
    // Makes the frame from a bitmap: indexed bitmaps keep their colour table,
    // others are reduced by the picture's settings first (which leaves Source
    // at 24 bits per pixel). A transparent bitmap marks its masked pixels.
    void Assign(TBitmap& Source);

private:
    friend class TGIFGraphicControlExtension;
    void CheckPixel(int X, int Y) const;
    void AllocateData();
    void ReadPixelsFromBitmap(const TBitmap& Bitmap);
    void ApplyMask(const TBitmap& Source);
    void ReadExtensions(std::istream& Stream);

    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    std::uint8_t FPacked = 0;
    std::vector<std::uint8_t> FData;
    TGIFLocalColorMap FColorMap;
    TGIFExtensionList FExtensions;
    TGIFGraphicControlExtension* FGCE = nullptr;
};

class TGIFImageList : public TGIFList<TGIFSubImage> {
public:
    using TGIFList::TGIFList;
    void LoadFromStream(std::istream& Stream);
};

class TGIFTrailer : public TGIFItem {
public:
    using TGIFItem::TGIFItem;
    void SaveToStream(std::ostream& Stream) override;
    void LoadFromStream(std::istream& Stream) override;
};

class TGIFImage {
public:
    TGIFImage();
    ~TGIFImage();
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    TGIFImageList& Images() { return FImages; }
    const TGIFImageList& Images() const { return FImages; }
    TGIFHeader& Header() { return FHeader; }
    const TGIFHeader& Header() const { return FHeader; }
    TGIFGlobalColorMap& GlobalColorMap() { return FHeader.ColorMap(); }

    int Width() const { return FHeader.Width(); }
    int Height() const { return FHeader.Height(); }
    // Raises "Image width too small for contained frames" (height alike) when
    // a frame would not fit.
    void SetWidth(int Value);
    void SetHeight(int Value);
    bool Empty() const { return FImages.Count() == 0; }

    // Reduction settings used when a bitmap with more than 256 colours becomes
    // a frame: ReductionMethod 0-9, DitherMethod 0-6, QuantizeBits (method 7).
    int ReductionMethod = 6;
    int QuantizeBits = 8;
    int DitherMethod = 0;
    // 1 = run-length coder, anything else = LZW.
    int PixelCoding = 0;
    // Drawing settings, kept and copied with the picture.
    std::uint16_t PaintOptions = 0x068F;
    int ThreadPriority = 3;
    int AnimationSpeed = 100;
    int DrawFrame = -1;
    TColor DrawBackgroundColor = clNone;

    std::function<void(const void* Sender, TGIFSeverity Severity, const std::string& Message)>
        OnProblem;
    std::function<void(TGIFImage& Sender, TProgressStage Stage, int Percent,
                       const std::string& Message)>
        OnProgress;
    std::function<void(TGIFImage& Sender)> OnChange;

    void ClearPicture();
    void Assign(std::nullptr_t) { ClearPicture(); }
    void Assign(const TGIFImage* Source);
    void Assign(TBitmap* Source);
    // Appends a frame made from the bitmap / the given frame; the frame's index.
    int AddFrame(TBitmap& Source);
    int AddFrame(std::unique_ptr<TGIFSubImage> Frame);

    // The highest version of the frames (gvUnknown without frames).
    TGIFVersion Version() const;
    // Colour bits of the picture: the largest of the global map's and the
    // frames' local maps' bits.
    int BitsPerPixel() const;

    void SaveToStream(std::ostream& Stream);
    // Writes the file only when the whole picture was written without error.
    void SaveToFile(const std::string& FileName);
    void LoadFromStream(std::istream& Stream);
    void LoadFromFile(const std::string& FileName);

    void ReportWarning(const void* Sender, TGIFSeverity Severity, const std::string& Message);
    void Progress(TProgressStage Stage, int Percent, const std::string& Message);
    void Changed();

private:
    friend class TGIFSubImage;
    // Grows the logical screen to hold every frame.
    void FitScreenToFrames();
    void CopySettings(const TGIFImage& Source);

    TGIFImageList FImages;
    TGIFHeader FHeader;
};
