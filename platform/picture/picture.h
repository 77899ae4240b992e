#pragma once
// Picture files: PNG, JPEG, Windows bitmaps (with or without their file header) and icons, decoded
// into QImage for the insert-picture command and for pictures inside RTF. Decoding is bounded and
// never trusts the data: corrupt, truncated or oversized input gives a null image.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace platform {

// Pictures wider or taller than this, or with more pixels than kMaxPicturePixels, are refused before
// any pixel memory is allocated (128 Mi pixels are 512 MiB as 32-bit pixels).
constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPicturePixels = qint64(128) * 1024 * 1024;
// loadPictureFile refuses files larger than this.
constexpr qint64 kMaxPictureFileSize = qint64(256) * 1024 * 1024;

// Decodes `data` as `format`, one of "png", "jpeg" (or "jpg"), "bmp", "dib" (a bitmap without its
// 14-byte file header, as the clipboard and RTF hold it) and "ico" (the largest image of the icon),
// without regard to case. PNG pictures come back as Format_RGBA8888 when they have transparency
// (alpha channel or tRNS) and Format_RGBX8888 otherwise; JPEG pictures as Format_Grayscale8 or
// Format_RGB888 (CMYK converted to RGB); bitmaps and icons in the format Qt's reader gives.
// Returns a null image for an unknown format, for data that is not a complete, valid picture of that
// format, and for pictures beyond the size limits.
QImage decodePicture(const QByteArray& data, const QString& format);

// The format of `data` by its signature: "png", "jpeg", "bmp", "ico", "gif", "wmf" (placeable or
// plain), "emf", "dib" (a plausible bitmap info header at the start), or an empty string when none
// matches. Only the formats decodePicture names can be decoded; the others are recognised so that
// they can be refused by name.
QString detectPictureFormat(const QByteArray& data);

// The format a file extension (without its dot, any case) names: "bmp", "jpeg" (.jpg, .jpeg), "png",
// "ico", "gif", "wmf", "emf"; an empty string for any other.
QString pictureFormatForSuffix(const QString& suffix);

// Reads the file and decodes it in the format its content shows, whatever its name says. A missing,
// unreadable or too large file, or one of no known format, gives a null image.
QImage loadPictureFile(const QString& path);

}  // namespace platform
