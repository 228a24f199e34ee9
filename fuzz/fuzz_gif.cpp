// GIF files: any bytes load or raise a GIF error; a picture that loads with a frame saves
// again and reloads to the same pixels.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "gif/GIFImage.h"

namespace {

// Bounds, interlacing and each pixel's colour as a reader shows them.
std::string Shown(TGIFImage& image) {
    std::string shown;
    for (int i = 0; i < image.Images().Count(); ++i) {
        const TGIFSubImage& frame = *image.Images()[i];
        if (frame.Empty()) continue;
        shown += std::to_string(frame.Left()) + "," + std::to_string(frame.Top()) + " " +
                 std::to_string(frame.Width()) + "x" + std::to_string(frame.Height()) +
                 (frame.Interlaced() ? " i:" : ":");
        const TGIFColorMap& map = frame.ActiveColorMap();
        for (std::uint8_t index : frame.Data()) {
            if (map.Count() == 0) {
                shown += static_cast<char>(index);
                continue;
            }
            const TGIFColor c = map.Colors(index < map.Count() ? index : 0);
            shown +=
                {static_cast<char>(c.Red), static_cast<char>(c.Green), static_cast<char>(c.Blue)};
        }
        shown += '\n';
    }
    return shown;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TGIFImage image;
    try {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
        image.LoadFromStream(in);
    } catch (const GIFException&) {
        return 0;
    }
    const std::string shown = Shown(image);
    if (shown.empty() || shown.size() > (16u << 20)) return 0;
    std::ostringstream saved;
    try {
        image.SaveToStream(saved);
    } catch (const GIFException& e) {
        FuzzFailure(std::string("loads but does not save: ") + e.what());
    }
    TGIFImage again;
    try {
        std::istringstream in(saved.str());
        again.LoadFromStream(in);
    } catch (const GIFException& e) {
        FuzzFailure(std::string("the saved file does not load: ") + e.what());
    }
    if (Shown(again) != shown) FuzzFailure("the saved file shows other pixels");
    return 0;
}
