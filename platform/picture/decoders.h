#pragma once
// The decoders behind decodePicture, one per file format. Each returns a null image on any failure.

#include <QByteArray>
#include <QImage>

namespace platform::picture_detail {

// Whether a picture of this size may be decoded (see kMaxPictureSide, kMaxPicturePixels).
bool fitsPictureLimits(qint64 width, qint64 height);

QImage decodePng(const QByteArray& data);
QImage decodeJpeg(const QByteArray& data);
QImage decodeBmp(const QByteArray& data);
QImage decodeDib(const QByteArray& data);
QImage decodeIco(const QByteArray& data);

// Whether `data` starts with a bitmap info header (any of the Windows versions) that describes a
// picture a decoder could read.
bool looksLikeDib(const QByteArray& data);

// Whether `data` starts with a Windows metafile (placeable or plain) or an enhanced metafile header.
bool looksLikeWmf(const QByteArray& data);
bool looksLikeEmf(const QByteArray& data);

}  // namespace platform::picture_detail
