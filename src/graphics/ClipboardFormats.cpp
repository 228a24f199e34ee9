#include "graphics/ClipboardFormats.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <map>
#include <mutex>

namespace {

constexpr unsigned FirstRegisteredFormat = 0xC000;

struct TFormatNames {
    std::mutex Mutex;
    std::map<std::string, unsigned> Numbers;
    std::map<unsigned, std::string> Names;
};

TFormatNames& Formats() {
    static TFormatNames formats;
    return formats;
}

// Formats whose data other programs know by a standard type.
QString KnownMime(const std::string& Name) {
    if (Name == "GIF Image") return QStringLiteral("image/gif");
    return {};
}

QClipboard* SystemClipboard() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
    return QGuiApplication::clipboard();
}

} // namespace

unsigned RegisterClipboardFormatA(const std::string& Name) {
    TFormatNames& f = Formats();
    std::lock_guard lock(f.Mutex);
    auto found = f.Numbers.find(Name);
    if (found != f.Numbers.end()) return found->second;
    const unsigned number = FirstRegisteredFormat + static_cast<unsigned>(f.Numbers.size());
    f.Numbers.emplace(Name, number);
    f.Names.emplace(number, Name);
    return number;
}

std::string ClipboardFormatName(unsigned Format) {
    TFormatNames& f = Formats();
    std::lock_guard lock(f.Mutex);
    auto found = f.Names.find(Format);
    return found == f.Names.end() ? std::string() : found->second;
}

QString ClipboardFormatMime(unsigned Format) {
    const std::string name = ClipboardFormatName(Format);
    if (name.empty()) return {};
    const QString known = KnownMime(name);
    if (!known.isEmpty()) return known;
    return QStringLiteral("application/x-quorbel-clipboard-format;name=") +
           QString::fromUtf8(QByteArray(name.data(), static_cast<int>(name.size())).toHex());
}

bool SetClipboardData(unsigned Format, const TClipboardData& Data) {
    QClipboard* clipboard = SystemClipboard();
    if (!clipboard) return false;
    const QString mime = ClipboardFormatMime(Format);
    if (Format != CF_BITMAP && mime.isEmpty()) return false;
    // what the clipboard holds stays; this format is added or replaced
    auto* data = new QMimeData;
    if (const QMimeData* old = clipboard->mimeData())
        for (const QString& type : old->formats()) {
            if (type == QLatin1String("application/x-qt-image"))
                data->setImageData(old->imageData());
            else
                data->setData(type, old->data(type));
        }
    if (Format == CF_BITMAP)
        data->setImageData(Data.Image);
    else
        data->setData(mime, Data.Bytes);
    clipboard->setMimeData(data);
    return true;
}

std::optional<TClipboardData> GetClipboardData(unsigned Format) {
    QClipboard* clipboard = SystemClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data) return std::nullopt;
    TClipboardData out;
    if (Format == CF_BITMAP) {
        if (!data->hasImage()) return std::nullopt;
        out.Image = qvariant_cast<QImage>(data->imageData());
        if (out.Image.isNull()) return std::nullopt;
        return out;
    }
    const QString mime = ClipboardFormatMime(Format);
    if (mime.isEmpty() || !data->hasFormat(mime)) return std::nullopt;
    out.Bytes = data->data(mime);
    return out;
}

bool IsClipboardFormatAvailable(unsigned Format) {
    return GetClipboardData(Format).has_value();
}
