#include "platform/Picture.h"

#include <QImageReader>

#include <sstream>

TPicture::~TPicture() {
    // the graphic's painters stop before anything they call back is gone
    FGraphic.reset();
}

TBitmap& TPicture::Bitmap() {
    if (FGraphic) {
        FGraphic.reset();
        FBitmap = TBitmap();
    }
    return FBitmap;
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> Graphic) {
    FGraphic = std::move(Graphic);
    FBitmap = TBitmap();
    if (FGraphic) {
        FGraphic->OnChangeNotify = [this] { Changed(); };
        FGraphic->OnRedrawNeeded = [this] {
            if (OnRedrawNeeded) OnRedrawNeeded();
        };
    }
    Changed();
}

void TPicture::Assign(const TBitmap& Source) {
    FGraphic.reset();
    FBitmap = Source;
    Changed();
}

void TPicture::Assign(const TPicture& Source) {
    if (&Source == this) return;
    if (!Source.FGraphic) return Assign(Source.FBitmap);
    TGraphicClass graphicClass = Source.FGraphic->ClassType();
    if (!graphicClass) {
        TBitmap copy;
        Source.FGraphic->AssignTo(copy);
        return Assign(copy);
    }
    std::stringstream bytes;
    Source.FGraphic->SaveToStream(bytes);
    std::unique_ptr<TGraphic> graphic = graphicClass();
    graphic->LoadFromStream(bytes);
    SetGraphic(std::move(graphic));
}

void TPicture::LoadFromFile(const WideString& FileName) {
    const std::size_t dot = FileName.rfind(u'.');
    const std::string extension =
        dot == WideString::npos ? std::string() : U8(FileName.substr(dot + 1));
    if (TGraphicClass graphicClass = PictureFormats::FindFileFormat(extension)) {
        std::unique_ptr<TGraphic> graphic = graphicClass();
        graphic->LoadFromFile(U8(FileName));
        SetGraphic(std::move(graphic));
        return;
    }
    QImageReader reader(QString::fromStdU16String(FileName));
    QImage img = reader.read();
    if (img.isNull()) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    Assign(BitmapFromImage(img));
}

bool TPicture::SupportsClipboardFormat(unsigned Format) {
    return Format == CF_BITMAP || PictureFormats::FindClipboardFormat(Format);
}

void TPicture::LoadFromClipboardFormat(unsigned Format, const TClipboardData* Data) {
    if (TGraphicClass graphicClass = PictureFormats::FindClipboardFormat(Format)) {
        std::unique_ptr<TGraphic> graphic = graphicClass();
        graphic->LoadFromClipboardFormat(Format, Data, {});
        SetGraphic(std::move(graphic));
        return;
    }
    if (Format != CF_BITMAP) throw EInvalidGraphic("Unsupported clipboard format");
    std::optional<TClipboardData> fromClipboard;
    if (!Data) {
        fromClipboard = GetClipboardData(CF_BITMAP);
        if (!fromClipboard) throw EInvalidGraphic("Unsupported clipboard format");
        Data = &*fromClipboard;
    }
    Assign(BitmapFromImage(Data->Image));
}

void TPicture::RegisterFileFormat(const WideString& Extension, const WideString& Description,
                                  TGraphicClass GraphicClass) {
    PictureFormats::RegisterFileFormat(U8(Extension), U8(Description), GraphicClass);
}

void TPicture::RegisterClipboardFormat(unsigned Format, TGraphicClass GraphicClass) {
    PictureFormats::RegisterClipboardFormat(Format, GraphicClass);
}

void TPicture::UnregisterGraphicClass(TGraphicClass GraphicClass) {
    PictureFormats::UnregisterGraphicClass(GraphicClass);
}
