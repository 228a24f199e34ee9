// The frames of a picture as a reader shows them, for comparing a picture with the one its
// saved file loads as: bounds, interlacing and each pixel's colour (an index beyond the map
// shows the map's first colour; without any map, the index itself). Empty frames show
// nothing. Shared by the reader tests and the GIF fuzz target.
#pragma once

#include <string>

#include "gif/GIFImage.h"

inline std::string ShownPixels(TGIFImage& image) {
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
