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
#include "graphics/Graphic.h"
#include "graphics/Graphics.h"
#include "graphics/Threads.h"

class QImage;
class TGIFPainter;

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
    std::vector<std::uint8_t>& Data() {
        FreeBitmap();
        return FData;
    }
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
    // Makes the frame from a graphic of any other class: the graphic is copied
    // into a bitmap (drawn into a 24-bit one, white beneath, when it cannot
    // copy itself), which then becomes the frame as above.
    void Assign(TGraphic& Source);

    // The frame as a bitmap, built on first need (progress "Rendering..."): 8
    // bits per pixel with the frame's palette, or dithered to the web palette
    // when the picture's paint options ask for it. Freed whenever the frame
    // changes.
    const TBitmap& Bitmap();
    // 1 bit per pixel, 1 where the frame is transparent; empty for an opaque frame.
    const TBitmap& Mask();
    // The frame's palette: its bitmap's, the web palette when the picture
    // displays through it, its local colour map's, else the picture's.
    TPalette Palette();
    // The frame laid on a transparent layer of the picture's size at its place;
    // with Transparent the pixels of the transparent index stay clear.
    QImage Layer(bool Transparent);
    // Draws the frame onto the canvas, the picture's area mapped to Rect
    // (stretched, or tiled in copies of the picture's size).
    void Draw(TBitmapCanvas& Canvas, const TRect& Rect, bool Transparent, bool Tile);
    void FreeBitmap() {
        FBitmap.reset();
        FMask.reset();
    }

private:
    friend class TGIFGraphicControlExtension;
    void CheckPixel(int X, int Y) const;
    void AllocateData();
    void ReadPixelsFromBitmap(const TBitmap& Bitmap);
    void ApplyMask(const TBitmap& Source);
    void ReadExtensions(std::istream& Stream);
    void BuildBitmap();

    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    std::uint8_t FPacked = 0;
    std::vector<std::uint8_t> FData;
    TGIFLocalColorMap FColorMap;
    TGIFExtensionList FExtensions;
    TGIFGraphicControlExtension* FGCE = nullptr;
    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TBitmap> FMask;
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

// Paint options (PaintOptions bits).
enum : std::uint16_t {
    goAsync = 0x0001,           // paint in a thread of its own
    goTransparent = 0x0002,     // transparent pixels stay clear
    goAnimate = 0x0004,         // animate pictures of several frames
    goLoop = 0x0008,            // repeat the animation
    goLoopContinously = 0x0010, // in a thread: repeat without end
    goValidateCanvas = 0x0020,  // stop when the canvas's bitmap is exchanged
    goDirectDraw = 0x0040,      // paint onto the canvas, not the rendered bitmap
    goClearOnLoop = 0x0080,     // each pass starts from the background
    goTile = 0x0100,            // tile the picture over the rectangle
    goDither = 0x0200,          // display through the web palette
    goAutoDither = 0x0400,      // ... only on a screen of 8 or fewer bits per pixel
};

// A paint event: the painter that fires it.
using TGIFPaintEvent = std::function<void(TGIFPainter& Painter)>;

class TGIFImage : public TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    // A new, empty picture as a graphic of the picture layer.
    static std::unique_ptr<TGraphic> Create();

    TGIFImageList& Images() { return FImages; }
    const TGIFImageList& Images() const { return FImages; }
    TGIFHeader& Header() { return FHeader; }
    const TGIFHeader& Header() const { return FHeader; }
    TGIFGlobalColorMap& GlobalColorMap() { return FHeader.ColorMap(); }

    int Width() const override { return FHeader.Width(); }
    int Height() const override { return FHeader.Height(); }
    // Raises "Image width too small for contained frames" (height alike) when
    // a frame would not fit.
    void SetWidth(int Value);
    void SetHeight(int Value);
    bool Empty() const override { return FImages.Count() == 0; }

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
    // Copied by every new painter; see TGIFPainter for when each fires.
    TGIFPaintEvent OnStartPaint;
    TGIFPaintEvent OnPaint;
    TGIFPaintEvent OnAfterPaint;
    TGIFPaintEvent OnLoop;
    TGIFPaintEvent OnEndPaint;

    // Stops painters first.
    void ClearPicture();
    void Assign(std::nullptr_t) { ClearPicture(); }
    void Assign(const TGIFImage* Source);
    void Assign(TBitmap* Source);
    // A GIF picture is copied; any other graphic becomes the only frame.
    void Assign(TGraphic* Source);
    // Appends a frame made from the bitmap / the given frame; the frame's index.
    int AddFrame(TBitmap& Source);
    int AddFrame(std::unique_ptr<TGIFSubImage> Frame);

    // The highest version of the frames (gvUnknown without frames).
    TGIFVersion Version() const;
    // Colour bits of the picture: the largest of the global map's and the
    // frames' local maps' bits.
    int BitsPerPixel() const;

    void SaveToStream(std::ostream& Stream) override;
    // Writes the file only when the whole picture was written without error.
    void SaveToFile(const std::string& FileName) override;
    void LoadFromStream(std::istream& Stream) override;
    void LoadFromFile(const std::string& FileName) override;

    // Draws the picture: one frame (DrawFrame when it lies inside the list,
    // else the first), or with several frames and goAnimate a painter that
    // animates them (in a thread with goAsync, else in this thread until the
    // animation ends). Does nothing while a draw is under way.
    void Draw(TBitmapCanvas& Canvas, const TRect& Rect) override;
    // Tells every painter to stop and waits for the painter threads to end,
    // serving their requests to the main thread meanwhile; then frees the
    // rendered bitmap. On the main thread only.
    void StopPainters();
    // The painters running, under their lock.
    TThreadList<TGIFPainter*>& Painters() { return FPainters; }
    // The bitmap painters render into (without goDirectDraw); null when none.
    const TBitmap* RenderedBitmap() const { return FBitmap.get(); }

    // Raises "No global or local color table defined" when entered again while
    // it runs (a picture without any colour map).
    TPalette GetPalette() override;
    void SetPalette(const TPalette& Value) override;
    // Dest receives the rendered bitmap (or the picture drawn as a still).
    void AssignTo(TBitmap& Dest) override;
    bool Equals(const TGraphic& Graphic) const override { return this == &Graphic; }
    TGraphicClass ClassType() const override { return &Create; }
    // Puts the GIF on the clipboard under "GIF Image" and gives the rendered
    // bitmap as CF_BITMAP; "Failed to store GIF on clipboard" when refused.
    void SaveToClipboardFormat(unsigned& Format, TClipboardData& Data, TPalette& Palette) override;
    // Reads "GIF Image" data or a bitmap (one frame); other formats raise.
    void LoadFromClipboardFormat(unsigned Format, const TClipboardData* Data,
                                 const TPalette& Palette) override;

    // Options 1 (crop transparent frames, dropping empty ones), 2 (pixels that
    // repeat the earlier frame become transparent), 4 (drop unused
    // transparency and empty controls, fit disposals), 8 (optimise colour
    // maps), 16 (reduce colours; with method 9 "Invalid reduction method"
    // unless 4 is set). Frames composite the same before and after.
    void OptimizePicture(int Options, int Reduction, int Dither, int Bits);

    // True when frames display through the web palette (goDither, and with
    // goAutoDither only on a screen of 8 or fewer bits per pixel).
    bool UsesWebPalette() const;
    // The colour painters restore to: DrawBackgroundColor, else the global
    // map's background entry, else the window colour.
    TColor BackgroundColor() const;

    void ReportWarning(const void* Sender, TGIFSeverity Severity, const std::string& Message);
    void Progress(TProgressStage Stage, int Percent, const std::string& Message);
    void Changed();

private:
    friend class TGIFSubImage;
    friend class TGIFPainter;
    // Grows the logical screen to hold every frame.
    void FitScreenToFrames();
    void CopySettings(const TGIFImage& Source);
    void DrawAnimated(TBitmapCanvas& Canvas, const TRect& Rect);
    void LayRenderedBitmap(TBitmapCanvas& Canvas, const TRect& Rect);

    TGIFImageList FImages;
    TGIFHeader FHeader;
    std::unique_ptr<TBitmap> FBitmap; // rendered
    TPalette FPalette;                // cached
    TThreadList<TGIFPainter*> FPainters;
    TGIFPainter* FPainter = nullptr; // the current one, under the painters' lock
    bool FDrawing = false;
    bool FInGetPalette = false;
};

// The clipboard format of GIF pictures ("GIF Image").
unsigned CF_GIF();

// Process-wide: every frame read builds its bitmap at once, so a loaded picture
// draws without building any (default off: a frame builds it on first need).
extern bool GIFImageRenderOnLoad;
