// PNG through libpng, with libpng's errors turned into a longjmp back to the decoder.
#include "platform/picture/decoders.h"
#include "platform/picture/picture.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace platform::picture_detail {

namespace {

// Ancillary chunks (text, ICC profiles) are never needed; this bounds what libpng keeps of them.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;
constexpr png_uint_32 kMaxAncillaryChunks = 1000;

struct PngInput {
    const QByteArray* data = nullptr;
    qsizetype position = 0;
};

struct PngDecode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngInput input;
    QImage image;
    std::vector<png_bytep> rows;
};

void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (length > size_t(input->data->size() - input->position))
        png_error(png, "truncated");
    std::memcpy(out, input->data->constData() + input->position, length);
    input->position += qsizetype(length);
}

[[noreturn]] void failDecoding(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Every libpng call that can fail runs here, after the setjmp; libpng's errors jump back to it. This
// function owns no objects with destructors, so the jump skips none: all state lives in `d`.
bool runDecoder(PngDecode& d) {
    if (setjmp(png_jmpbuf(d.png)))
        return false;
    png_set_read_fn(d.png, &d.input, readFromMemory);
    png_set_user_limits(d.png, png_uint_32(kMaxPictureSide), png_uint_32(kMaxPictureSide));
    png_set_chunk_malloc_max(d.png, kMaxChunkBytes);
    png_set_chunk_cache_max(d.png, kMaxAncillaryChunks);
    png_read_info(d.png, d.info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(d.png, d.info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (!fitsPictureLimits(width, height))
        return false;

    // Palette, low-depth grey and tRNS expand to 8-bit channels; 16-bit scales down; grey becomes RGB.
    const bool transparent = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(d.png, d.info, PNG_INFO_tRNS);
    png_set_expand(d.png);
    png_set_scale_16(d.png);
    png_set_gray_to_rgb(d.png);
    if (!transparent)
        png_set_filler(d.png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    if (png_get_rowbytes(d.png, d.info) != size_t(width) * 4)
        return false;

    d.image = QImage(int(width), int(height), transparent ? QImage::Format_RGBA8888 : QImage::Format_RGBX8888);
    if (d.image.isNull())
        return false;
    d.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        d.rows[y] = d.image.scanLine(int(y));
    png_read_image(d.png, d.rows.data());
    return true;
}

}  // namespace

QImage decodePng(const QByteArray& data) {
    PngDecode d;
    d.input.data = &data;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failDecoding, ignoreWarning);
    if (!d.png)
        return {};
    d.info = png_create_info_struct(d.png);
    const bool decoded = d.info && runDecoder(d);
    png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
    return decoded ? d.image : QImage();
}

}  // namespace platform::picture_detail
