#include "platform/Clipbrd.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "platform/Picture.h"

namespace {

QClipboard* System() {
    return QGuiApplication::clipboard();
}

} // namespace

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}

WideString TClipboard::AsWideText() const {
    const QMimeData* data = System()->mimeData();
    return data && data->hasText() ? data->text().toStdU16String() : WideString();
}

void TClipboard::SetAsWideText(const WideString& Text) {
    auto* data = new QMimeData;
    data->setText(QString::fromStdU16String(Text));
    System()->setMimeData(data);
}

void TClipboard::SetFiles(const TWideStrArray& Paths) {
    QList<QUrl> urls;
    QString text;
    QByteArray gnome("copy");
    for (const WideString& p : Paths) {
        QUrl url = QUrl::fromLocalFile(QString::fromStdU16String(p));
        urls << url;
        gnome += "\n" + url.toEncoded();
        if (!text.isEmpty()) text += '\n';
        text += QString::fromStdU16String(p);
    }
    auto* data = new QMimeData;
    data->setUrls(urls);
    data->setData("x-special/gnome-copied-files", gnome);
    data->setText(text);
    System()->setMimeData(data);
}

TWideStrArray TClipboard::Files() const {
    TWideStrArray out;
    const QMimeData* data = System()->mimeData();
    if (!data || !data->hasUrls()) return out;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) out.push_back(url.toLocalFile().toStdU16String());
    return out;
}

bool TClipboard::HasFormat(unsigned Format) const {
    const QMimeData* data = System()->mimeData();
    if (!data) return false;
    switch (Format) {
    case CF_TEXT:
    case CF_UNICODETEXT:
        return data->hasText();
    case CF_HDROP:
        return data->hasUrls();
    default:
        return IsClipboardFormatAvailable(Format);
    }
}

std::optional<TClipboardData> TClipboard::GetAsHandle(unsigned Format) const {
    return GetClipboardData(Format);
}

void TClipboard::SetAsHandle(unsigned Format, const TClipboardData& Data) {
    if (!SetClipboardData(Format, Data)) throw EOutOfResources("Cannot open clipboard");
}

void TClipboard::Assign(TGraphic& Graphic) {
    Clear();
    unsigned format = 0;
    TClipboardData data;
    TPalette palette;
    Graphic.SaveToClipboardFormat(format, data, palette);
    SetAsHandle(format, data);
}

void TClipboard::Assign(const TBitmap& Bitmap) {
    Clear();
    TClipboardData data;
    data.Image = Bitmap.ToImage();
    SetAsHandle(CF_BITMAP, data);
}

void TClipboard::Assign(TPicture& Picture) {
    if (TGraphic* graphic = Picture.Graphic())
        Assign(*graphic);
    else
        Assign(Picture.Bitmap());
}

void TClipboard::AssignTo(TPicture& Picture) const {
    const std::vector<unsigned> formats = PictureFormats::ClipboardFormats();
    for (auto format = formats.rbegin(); format != formats.rend(); ++format)
        if (HasFormat(*format)) return Picture.LoadFromClipboardFormat(*format);
    Picture.LoadFromClipboardFormat(CF_BITMAP);
}

void TClipboard::Clear() {
    System()->clear();
}
