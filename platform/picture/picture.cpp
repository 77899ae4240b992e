#include "platform/picture/picture.h"

#include "platform/picture/decoders.h"

#include <QFile>

namespace platform {

namespace picture_detail {

namespace {
quint32 le32(const QByteArray& d, int at) {
    return quint32(quint8(d[at])) | quint32(quint8(d[at + 1])) << 8 | quint32(quint8(d[at + 2])) << 16
        | quint32(quint8(d[at + 3])) << 24;
}
quint16 le16(const QByteArray& d, int at) { return quint16(quint8(d[at]) | quint8(d[at + 1]) << 8); }
}  // namespace

bool looksLikeWmf(const QByteArray& data) {
    // A placeable metafile starts with its key; a plain one with its header: type 1 (memory) or 2
    // (disk), a header of 9 words and a version of 0x0100 or 0x0300.
    if (data.size() >= 22 && le32(data, 0) == 0x9AC6CDD7u)
        return true;
    if (data.size() < 18)
        return false;
    const quint16 type = le16(data, 0);
    const quint16 headerWords = le16(data, 2);
    const quint16 version = le16(data, 4);
    return (type == 1 || type == 2) && headerWords == 9 && (version == 0x0100 || version == 0x0300);
}

bool looksLikeEmf(const QByteArray& data) {
    // The header record (type 1) carries the signature " EMF" at byte 40.
    return data.size() >= 88 && le32(data, 0) == 1 && le32(data, 40) == 0x464D4520u && le32(data, 4) >= 88;
}

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
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return QStringLiteral("gif");
    if (looksLikeWmf(data))
        return QStringLiteral("wmf");
    if (looksLikeEmf(data))
        return QStringLiteral("emf");
    if (looksLikeDib(data))
        return QStringLiteral("dib");
    return {};
}

QString pictureFormatForSuffix(const QString& suffix) {
    const QString s = suffix.toLower();
    if (s == QLatin1String("jpg") || s == QLatin1String("jpeg"))
        return QStringLiteral("jpeg");
    for (const char* known : {"bmp", "png", "ico", "gif", "wmf", "emf"})
        if (s == QLatin1String(known))
            return s;
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
