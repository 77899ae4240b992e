// The picture decoders over arbitrary bytes. The first byte chooses the format, the rest is the data;
// every input also goes through format detection. A decoded picture must respect the size limits.
#include "platform/picture/picture.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const formats[] = {"png", "jpeg", "bmp", "dib", "ico"};
    if (size < 1)
        return 0;
    const QString format = QLatin1String(formats[data[0] % 5]);
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const QImage image = platform::decodePicture(bytes, format);
    if (!image.isNull() && (image.width() > platform::kMaxPictureSide || image.height() > platform::kMaxPictureSide
                            || qint64(image.width()) * image.height() > platform::kMaxPicturePixels))
        std::abort();
    (void)platform::detectPictureFormat(bytes);
    return 0;
}
