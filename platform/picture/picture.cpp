#include "platform/picture/picture.h"

#include "platform/picture/decoders.h"

#include <QFile>

namespace platform {

namespace picture_detail {

bool fitsPictureLimits(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide
        && width * height <= kMaxPicturePixels;
}

}  // namespace picture_detail

using namespace picture_detail;

QImage decodePicture(const QByteArray& data, const QString& format) {
    const QString name = format.toLower();
    if (name == QLatin1String("png"))
        return decodePng(data);
    if (name == QLatin1String("jpeg") || name == QLatin1String("jpg"))
        return decodeJpeg(data);
    if (name == QLatin1String("bmp"))
        return decodeBmp(data);
    if (name == QLatin1String("dib"))
        return decodeDib(data);
    if (name == QLatin1String("ico"))
        return decodeIco(data);
    return {};
}

QString detectPictureFormat(const QByteArray& data) {
    if (data.startsWith("\x89PNG\r\n\x1A\n"))
        return QStringLiteral("png");
    if (data.startsWith("\xFF\xD8\xFF"))
        return QStringLiteral("jpeg");
    if (data.startsWith("BM"))
        return QStringLiteral("bmp");
    if (data.size() >= 6 && data.startsWith(QByteArray("\0\0\1\0", 4)) && (data[4] != 0 || data[5] != 0))
        return QStringLiteral("ico");
    if (looksLikeDib(data))
        return QStringLiteral("dib");
    return {};
}

QImage loadPictureFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureFileSize)
        return {};
    const QByteArray data = file.read(kMaxPictureFileSize + 1);
    if (file.error() != QFileDevice::NoError || data.size() > kMaxPictureFileSize)
        return {};
    return decodePicture(data, detectPictureFormat(data));
}

}  // namespace platform
