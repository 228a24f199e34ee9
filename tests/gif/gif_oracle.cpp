#include "gif_oracle.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <cstring>
#include <map>
#include <sstream>

namespace {

struct MemoryInput {
    const std::string* Bytes;
    std::size_t Pos = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int size) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(size), in->Bytes->size() - in->Pos);
    std::memcpy(buffer, in->Bytes->data() + in->Pos, n);
    in->Pos += n;
    return static_cast<int>(n);
}

} // namespace

OracleImage DecodeWithGiflib(const std::string& Bytes) {
    OracleImage result;
    MemoryInput input{&Bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
    if (!gif) {
        result.Error = GifErrorString(error);
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        result.Error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return result;
    }
    result.Ok = true;
    result.Width = gif->SWidth;
    result.Height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        OracleFrame frame;
        frame.Left = saved.ImageDesc.Left;
        frame.Top = saved.ImageDesc.Top;
        frame.Width = saved.ImageDesc.Width;
        frame.Height = saved.ImageDesc.Height;
        frame.Interlaced = saved.ImageDesc.Interlace;
        const ColorMapObject* map =
            saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap;
        if (map)
            for (int c = 0; c < map->ColorCount; ++c)
                frame.ColorMap.push_back(
                    {map->Colors[c].Red, map->Colors[c].Green, map->Colors[c].Blue});
        frame.Pixels.assign(saved.RasterBits,
                            saved.RasterBits +
                                static_cast<std::size_t>(frame.Width) * frame.Height);
        result.Frames.push_back(std::move(frame));
    }
    DGifCloseFile(gif, &error);
    return result;
}

bool DecodeWithQt(const std::string& Bytes, int& Width, int& Height,
                  std::vector<std::uint32_t>& Argb) {
    QByteArray data(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    QImage image = reader.read();
    if (image.isNull()) return false;
    image = image.convertToFormat(QImage::Format_ARGB32);
    Width = image.width();
    Height = image.height();
    Argb.clear();
    for (int y = 0; y < Height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        Argb.insert(Argb.end(), row, row + Width);
    }
    return true;
}

std::string SaveToBytes(TGIFImage& Image) {
    std::ostringstream out;
    Image.SaveToStream(out);
    return out.str();
}

std::unique_ptr<TGIFSubImage> MakeFrame(TGIFImage& Image, int Width, int Height,
                                        const std::vector<TGIFColor>& Map,
                                        const std::vector<std::uint8_t>& Pixels, bool Interlaced) {
    auto frame = std::make_unique<TGIFSubImage>(&Image);
    frame->SetBounds(0, 0, Width, Height);
    for (const TGIFColor& c : Map)
        frame->ColorMap().Add(c);
    frame->Data() = Pixels;
    frame->SetInterlaced(Interlaced);
    return frame;
}

std::vector<TGIFColor> DistinctColors(int Count) {
    std::vector<TGIFColor> colors;
    for (int i = 0; i < Count; ++i)
        colors.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                          static_cast<std::uint8_t>((i * 37) & 0xFF)});
    return colors;
}

std::string ReferenceLZW(const std::vector<std::uint8_t>& pixels, int minCodeSize, int clearAt) {
    const int clear = 1 << minCodeSize;
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    int next = clear + 2;
    std::map<std::pair<int, int>, int> table;
    const auto put = [&](int code) {
        // the decoder reads a code at the width that holds its own next free
        // code, which lags one behind ours
        int width = minCodeSize + 1;
        while (width < 12 && (1 << width) <= next - 1)
            ++width;
        bits |= static_cast<std::uint32_t>(code) << count;
        count += width;
        for (; count >= 8; count -= 8, bits >>= 8)
            data += static_cast<char>(bits & 0xFF);
    };
    put(clear);
    int prefix = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const auto found = table.find({prefix, pixels[i]});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        put(prefix);
        if (next == clearAt) {
            put(clear);
            table.clear();
            next = clear + 2;
        } else if (next < 4096) {
            table[{prefix, pixels[i]}] = next++;
        }
        prefix = pixels[i];
    }
    put(prefix);
    put(clear + 1);
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    std::string blocks(1, static_cast<char>(minCodeSize));
    for (std::size_t pos = 0; pos < data.size(); pos += 255) {
        const std::size_t size = std::min<std::size_t>(255, data.size() - pos);
        blocks += static_cast<char>(size);
        blocks += data.substr(pos, size);
    }
    return blocks + '\0';
}
