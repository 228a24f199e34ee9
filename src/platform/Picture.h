// A picture of the class library: a bitmap, or a graphic of a kind registered
// with the picture layer (a GIF picture, which may animate).
#pragma once

#include <functional>
#include <memory>

#include "graphics/Graphic.h"
#include "graphics/Graphics.h"
#include "text/WideTypes.h"

class TPicture {
public:
    TPicture() = default;
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The bitmap. A picture holding another graphic gives it up for an empty
    // bitmap here (drawing into a picture makes it a bitmap).
    TBitmap& Bitmap();
    const TBitmap& Bitmap() const { return FBitmap; }
    // The graphic other than a bitmap; null while the picture is a bitmap.
    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> Graphic);

    void Assign(const TBitmap& Source);
    // A graphic is copied through its stream form.
    void Assign(const TPicture& Source);
    // A file whose extension is registered (".gif" in any case) loads through
    // its graphic class; any other through Qt's readers into a bitmap.
    void LoadFromFile(const WideString& FileName);
    // CF_BITMAP or a registered clipboard format (Data null: the clipboard's);
    // others raise EInvalidGraphic "Unsupported clipboard format".
    void LoadFromClipboardFormat(unsigned Format, const TClipboardData* Data = nullptr);
    static bool SupportsClipboardFormat(unsigned Format);

    static void RegisterFileFormat(const WideString& Extension, const WideString& Description,
                                   TGraphicClass GraphicClass);
    static void RegisterClipboardFormat(unsigned Format, TGraphicClass GraphicClass);
    static void UnregisterGraphicClass(TGraphicClass GraphicClass);

    void Clear() { Assign(TBitmap()); }
    int Width() const { return FGraphic ? FGraphic->Width() : FBitmap.Width(); }
    int Height() const { return FGraphic ? FGraphic->Height() : FBitmap.Height(); }
    bool Empty() const { return FGraphic ? FGraphic->Empty() : FBitmap.Empty(); }

    std::function<void()> OnChange;
    // An animated graphic showed a new frame and wants to be drawn again.
    std::function<void()> OnRedrawNeeded;

private:
    friend class TImage; // its canvas draws into the bitmap
    void Changed() {
        if (OnChange) OnChange();
    }
    TBitmap FBitmap;
    std::unique_ptr<TGraphic> FGraphic;
};
