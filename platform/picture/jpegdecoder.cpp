// JPEG through libjpeg, with libjpeg's fatal errors turned into a longjmp back to the decoder.
#include "platform/picture/decoders.h"
#include "platform/picture/picture.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace platform::picture_detail {

namespace {

// A progressive file can hold any number of scans, each a full pass over the coefficients; real
// files have about ten. Past this many the data is hostile.
constexpr int kMaxScans = 500;

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

struct JpegDecode {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager error{};
    jpeg_source_mgr source{};
    jpeg_progress_mgr progress{};
    QImage image;
    std::vector<JSAMPLE> cmykRow;
};

[[noreturn]] void failDecoding(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

void limitScans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        failDecoding(cinfo);
}

// The whole file is in memory from the start: running out of it means the file is truncated, which
// fails the decoding instead of letting libjpeg fill the rest of the picture with grey.
void initSource(j_decompress_ptr) {}
boolean fillInput(j_decompress_ptr cinfo) {
    ERREXIT(cinfo, JERR_INPUT_EOF);
    return FALSE;
}
void skipInput(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    if (size_t(count) > cinfo->src->bytes_in_buffer)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    cinfo->src->next_input_byte += count;
    cinfo->src->bytes_in_buffer -= size_t(count);
}
void termSource(j_decompress_ptr) {}

// Adobe writes CMYK inverted (0 is full ink); other writers store plain CMYK.
void cmykToRgb(const JSAMPLE* cmyk, uchar* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int c = inverted ? cmyk[0] : 255 - cmyk[0];
        const int m = inverted ? cmyk[1] : 255 - cmyk[1];
        const int y = inverted ? cmyk[2] : 255 - cmyk[2];
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        rgb[0] = uchar(c * k / 255);
        rgb[1] = uchar(m * k / 255);
        rgb[2] = uchar(y * k / 255);
    }
}

// Every libjpeg call runs here, after the setjmp; libjpeg's errors jump back to it. This function
// owns no objects with destructors, so the jump skips none: all state lives in `d`.
bool runDecoder(JpegDecode& d, const QByteArray& data) {
    if (setjmp(d.error.jump))
        return false;
    jpeg_create_decompress(&d.cinfo);
    d.source.init_source = initSource;
    d.source.fill_input_buffer = fillInput;
    d.source.skip_input_data = skipInput;
    d.source.resync_to_restart = jpeg_resync_to_restart;
    d.source.term_source = termSource;
    d.source.next_input_byte = reinterpret_cast<const JOCTET*>(data.constData());
    d.source.bytes_in_buffer = size_t(data.size());
    d.cinfo.src = &d.source;
    d.progress.progress_monitor = limitScans;
    d.cinfo.progress = &d.progress;

    if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!fitsPictureLimits(d.cinfo.image_width, d.cinfo.image_height))
        return false;
    const bool cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
    const bool gray = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;
    d.cinfo.out_color_space = cmyk ? JCS_CMYK : gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&d.cinfo);

    const int components = cmyk ? 4 : gray ? 1 : 3;
    if (d.cinfo.output_components != components || d.cinfo.output_width != d.cinfo.image_width
        || d.cinfo.output_height != d.cinfo.image_height)
        return false;
    d.image = QImage(int(d.cinfo.output_width), int(d.cinfo.output_height),
                     gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (d.image.isNull())
        return false;
    if (cmyk)
        d.cmykRow.resize(size_t(d.cinfo.output_width) * 4);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const int y = int(d.cinfo.output_scanline);
        JSAMPROW row = cmyk ? d.cmykRow.data() : d.image.scanLine(y);
        if (jpeg_read_scanlines(&d.cinfo, &row, 1) != 1)
            return false;
        if (cmyk)
            cmykToRgb(row, d.image.scanLine(y), d.cinfo.output_width, d.cinfo.saw_Adobe_marker);
    }
    return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& data) {
    JpegDecode d;
    d.cinfo.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = failDecoding;
    d.error.pub.output_message = ignoreMessage;
    const bool decoded = runDecoder(d, data);
    jpeg_destroy_decompress(&d.cinfo);  // also safe when creating it failed
    return decoded ? d.image : QImage();
}

}  // namespace platform::picture_detail
