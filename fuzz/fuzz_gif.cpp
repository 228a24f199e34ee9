// GIF files: any bytes load or raise a GIF error; a picture that loads with a frame saves
// again and reloads to the same pixels.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "gif/GIFImage.h"
#include "gif/gif_shown.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TGIFImage image;
    try {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
        image.LoadFromStream(in);
    } catch (const GIFException&) {
        return 0;
    }
    const std::string shown = ShownPixels(image);
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
    if (ShownPixels(again) != shown) FuzzFailure("the saved file shows other pixels");
    return 0;
}
