// Graphics other than plain bitmaps (GIF pictures) and the registry that lets
// the picture layer load them by file extension and clipboard format.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "graphics/BitmapCanvas.h"
#include "graphics/ClipboardFormats.h"
#include "graphics/Geometry.h"
#include "graphics/Graphics.h"

class TGraphic;
// A class of graphics: makes a new, empty one.
using TGraphicClass = std::unique_ptr<TGraphic> (*)();

class TGraphic {
public:
    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // Draws the graphic onto the canvas, stretched to the rectangle.
    virtual void Draw(TBitmapCanvas& Canvas, const TRect& Rect) = 0;

    virtual void LoadFromStream(std::istream& Stream) = 0;
    virtual void SaveToStream(std::ostream& Stream) = 0;
    virtual void LoadFromFile(const std::string& FileName);
    virtual void SaveToFile(const std::string& FileName);

    // Data == nullptr takes the data from the clipboard. Formats the graphic
    // does not know raise EInvalidGraphic "Unsupported clipboard format".
    virtual void LoadFromClipboardFormat(unsigned Format, const TClipboardData* Data,
                                         const TPalette& Palette);
    // Gives one format's data for the clipboard (a graphic may put further
    // formats there itself).
    virtual void SaveToClipboardFormat(unsigned& Format, TClipboardData& Data, TPalette& Palette);

    virtual TPalette GetPalette() { return {}; }
    virtual void SetPalette(const TPalette&) {}
    // Makes Dest a copy of the graphic's look; the base raises "Cannot assign".
    virtual void AssignTo(TBitmap& Dest);
    virtual bool Equals(const TGraphic& Graphic) const { return this == &Graphic; }
    // The graphic's class (copies are made through it and the stream form);
    // null for a class not registered anywhere.
    virtual TGraphicClass ClassType() const { return nullptr; }

    // Set by the holder of the graphic (a picture): called when the graphic
    // changed, and when an animation showed a new frame and wants to be drawn
    // again.
    std::function<void()> OnChangeNotify;
    std::function<void()> OnRedrawNeeded;

protected:
    void NotifyChange() {
        if (OnChangeNotify) OnChangeNotify();
    }
    void NotifyRedraw() {
        if (OnRedrawNeeded) OnRedrawNeeded();
    }
};

struct TFileFormat {
    std::string Extension; // without the dot, as registered
    std::string Description;
    TGraphicClass GraphicClass;
};

// The registry of the picture layer. Extensions compare without regard to
// case; a later registration of the same extension or format wins.
namespace PictureFormats {
void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                        TGraphicClass GraphicClass);
void RegisterClipboardFormat(unsigned Format, TGraphicClass GraphicClass);
// Removes every file and clipboard format of the class.
void UnregisterGraphicClass(TGraphicClass GraphicClass);
// The class for a file's extension (with or without the dot); null when none.
TGraphicClass FindFileFormat(const std::string& Extension);
TGraphicClass FindClipboardFormat(unsigned Format);
std::vector<TFileFormat> FileFormats();
std::vector<unsigned> ClipboardFormats();
} // namespace PictureFormats
