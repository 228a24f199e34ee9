#include "graphics/Graphic.h"

#include <algorithm>
#include <fstream>
#include <mutex>
#include <sstream>

void TGraphic::LoadFromFile(const std::string& FileName) {
    std::ifstream file(FileName, std::ios::binary);
    if (!file) throw Exception("Cannot open file \"" + FileName + "\"");
    LoadFromStream(file);
}

void TGraphic::SaveToFile(const std::string& FileName) {
    std::ostringstream bytes;
    SaveToStream(bytes);
    SaveBytesToFile(FileName, bytes.str());
}

void TGraphic::LoadFromClipboardFormat(unsigned, const TClipboardData*, const TPalette&) {
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::SaveToClipboardFormat(unsigned&, TClipboardData&, TPalette&) {
    throw EInvalidGraphic("Unsupported clipboard format");
}

void TGraphic::AssignTo(TBitmap&) {
    throw EInvalidGraphicOperation("Cannot assign a graphic to a bitmap");
}

// ---------------------------------------------------------------- registry

namespace {

struct TRegistry {
    std::mutex Mutex;
    std::vector<TFileFormat> Files;
    std::vector<std::pair<unsigned, TGraphicClass>> Clipboard;
};

TRegistry& Registry() {
    static TRegistry registry;
    return registry;
}

std::string FoldExtension(std::string Extension) {
    if (!Extension.empty() && Extension.front() == '.') Extension.erase(0, 1);
    for (char& c : Extension)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return Extension;
}

} // namespace

namespace PictureFormats {

void RegisterFileFormat(const std::string& Extension, const std::string& Description,
                        TGraphicClass GraphicClass) {
    std::lock_guard lock(Registry().Mutex);
    Registry().Files.push_back({Extension, Description, GraphicClass});
}

void RegisterClipboardFormat(unsigned Format, TGraphicClass GraphicClass) {
    std::lock_guard lock(Registry().Mutex);
    Registry().Clipboard.emplace_back(Format, GraphicClass);
}

void UnregisterGraphicClass(TGraphicClass GraphicClass) {
    std::lock_guard lock(Registry().Mutex);
    std::erase_if(Registry().Files,
                  [&](const TFileFormat& f) { return f.GraphicClass == GraphicClass; });
    std::erase_if(Registry().Clipboard, [&](const auto& f) { return f.second == GraphicClass; });
}

TGraphicClass FindFileFormat(const std::string& Extension) {
    const std::string wanted = FoldExtension(Extension);
    std::lock_guard lock(Registry().Mutex);
    const auto& files = Registry().Files;
    for (auto f = files.rbegin(); f != files.rend(); ++f)
        if (FoldExtension(f->Extension) == wanted) return f->GraphicClass;
    return nullptr;
}

TGraphicClass FindClipboardFormat(unsigned Format) {
    std::lock_guard lock(Registry().Mutex);
    const auto& formats = Registry().Clipboard;
    for (auto f = formats.rbegin(); f != formats.rend(); ++f)
        if (f->first == Format) return f->second;
    return nullptr;
}

std::vector<TFileFormat> FileFormats() {
    std::lock_guard lock(Registry().Mutex);
    return Registry().Files;
}

std::vector<unsigned> ClipboardFormats() {
    std::lock_guard lock(Registry().Mutex);
    std::vector<unsigned> out;
    for (const auto& f : Registry().Clipboard)
        out.push_back(f.first);
    return out;
}

} // namespace PictureFormats
