#pragma once
// Picture data as RTF carries it: decoding within size limits and the bitmap containers that
// RTF stores without their file header.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace richedit::rtf {

// Decoded pictures are bounded: a small file must not expand into gigabytes of pixels.
inline constexpr qint64 kMaxPixelsPerPicture = 40'000'000;
inline constexpr qint64 kMaxPixelsPerDocument = 200'000'000;
inline constexpr int kMaxPictureSide = 16384;

// Decodes `data` of `format` ("png", "jpeg", "dib", "bmp"). The image is null when the data is
// broken, or when its declared size exceeds the per-picture limits or the remaining
// `pixelBudget`; a decoded image's pixels are taken from the budget.
QImage decodeBoundedPicture(const QByteArray& data, const QString& format, qint64& pixelBudget);

// A BMP file holding the device-independent bitmap `dib` (a bitmap information header, colours
// and bits, as \dibitmap carries them). Empty when the header is malformed.
QByteArray bmpFromDib(const QByteArray& dib);

// A BMP file holding the bits of a device-dependent bitmap (\wbitmap): rows of `widthBytes`
// bytes from the top, 1, 24 or 32 bits per pixel. Empty when the data does not fit the sizes.
QByteArray bmpFromDdb(const QByteArray& bits, int width, int height, int bitsPixel, int widthBytes);

}  // namespace richedit::rtf
