#include "picture/JpegWriter.h"

#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

#include "graphics/Graphics.h"
#include "text/Exception.h"

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// Called by the library for a fatal error: back to the setjmp in Compress.
extern "C" void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings and trace messages would go to stderr.
extern "C" void KeepQuiet(j_common_ptr) {}

// What Compress fills: the library's buffer (malloc'd) and, after a failure, its message
// number. Kept outside Compress so that nothing it needs after a longjmp lives in a
// register.
struct Output {
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    int errorCode = 0;
};

struct Rows {
    const unsigned char* first;
    long long stride;
    unsigned width;
    unsigned height;
    J_COLOR_SPACE space;
    int components;
};

// Plain C between setjmp and longjmp: no object with a destructor lives in this frame.
bool Compress(const Rows& rows, int quality, Output& out) {
    jpeg_compress_struct info;
    ErrorManager error;
    info.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = JumpOnError;
    error.pub.output_message = KeepQuiet;
    if (setjmp(error.jump)) {
        out.errorCode = error.pub.msg_code;
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out.bytes, &out.size);
    info.image_width = rows.width;
    info.image_height = rows.height;
    info.input_components = rows.components;
    info.in_color_space = rows.space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows.first + rows.stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::string EncodeJpeg(const TBitmap& Bitmap, int Quality) {
    // The library takes the 32-bit rows as they lie in memory: 0xFFRRGGBB words.
    QImage image = Bitmap.ToImage();
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    constexpr J_COLOR_SPACE wordOrder = JCS_EXT_BGRX;
#else
    constexpr J_COLOR_SPACE wordOrder = JCS_EXT_XRGB;
#endif
    const Rows rows{image.constBits(),
                    image.bytesPerLine(),
                    static_cast<unsigned>(image.width()),
                    static_cast<unsigned>(image.height()),
                    wordOrder,
                    4};
    Output out;
    const bool done = Compress(rows, Quality, out);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(out.bytes, &std::free);
    if (!done) throw Exception("JPEG error #" + std::to_string(out.errorCode));
    return std::string(reinterpret_cast<const char*>(out.bytes), out.size);
}
