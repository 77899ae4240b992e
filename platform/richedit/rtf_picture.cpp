#include "platform/richedit/rtf_picture.h"

#include "platform/picture/picture.h"


#include <QBuffer>
#include <QImageReader>

#include <cstring>

namespace richedit::rtf {

namespace {

std::uint32_t le32(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint16_t le16(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return std::uint16_t(p[0] | p[1] << 8);
}

void put32(QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

void put16(QByteArray& b, std::uint16_t v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

QByteArray fileHeader(std::uint32_t fileSize, std::uint32_t bitsOffset) {
    QByteArray h("BM");
    put32(h, fileSize);
    put32(h, 0);
    put32(h, bitsOffset);
    return h;
}

}  // namespace

QImage decodeBoundedPicture(const QByteArray& data, const QString& format, qint64& pixelBudget) {
    // The declared size is checked from the header before any pixel memory is taken.
    QByteArray bytes = format == u"dib" ? bmpFromDib(data) : data;
    if (bytes.isEmpty()) return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format == u"dib" ? QByteArray("bmp") : format.toLatin1());
    const QSize size = reader.size();
    auto fits = [&pixelBudget](QSize s) {
        const qint64 pixels = qint64(s.width()) * s.height();
        return s.width() <= kMaxPictureSide && s.height() <= kMaxPictureSide && pixels <= kMaxPixelsPerPicture &&
               pixels <= pixelBudget;
    };
    if (size.isValid() && !fits(size)) return {};
    const QImage image = platform::decodePicture(data, format);
    if (image.isNull() || !fits(image.size())) return {};
    pixelBudget -= qint64(image.width()) * image.height();
    return image;
}

QByteArray bmpFromDib(const QByteArray& dib) {
    if (dib.size() < 12) return {};
    const std::uint32_t headerSize = le32(dib, 0);
    qsizetype colours = 0;
    int entrySize = 4;
    if (headerSize == 12) {  // the old core header
        const int bitCount = le16(dib, 10);
        colours = bitCount <= 8 ? (qsizetype(1) << bitCount) : 0;
        entrySize = 3;
    } else if (headerSize >= 40 && qsizetype(headerSize) <= dib.size()) {
        const int bitCount = le16(dib, 14);
        const std::uint32_t compression = le32(dib, 16);
        const std::uint32_t used = le32(dib, 32);
        colours = used ? qsizetype(std::min<std::uint32_t>(used, 256)) : (bitCount <= 8 ? (qsizetype(1) << bitCount) : 0);
        if (headerSize == 40 && compression == 3) colours += 3;  // the three colour masks
        if (headerSize == 40 && compression == 6) colours += 4;
    } else {
        return {};
    }
    const qsizetype offset = 14 + qsizetype(headerSize) + colours * entrySize;
    if (offset > 14 + dib.size()) return {};
    QByteArray file = fileHeader(std::uint32_t(14 + dib.size()), std::uint32_t(offset));
    file.append(dib);
    return file;
}

QByteArray bmpFromDdb(const QByteArray& bits, int width, int height, int bitsPixel, int widthBytes) {
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return {};
    if (bitsPixel != 1 && bitsPixel != 24 && bitsPixel != 32) return {};
    const qsizetype rowBits = qsizetype(width) * bitsPixel;
    const qsizetype needed = (rowBits + 7) / 8;
    if (widthBytes < needed) widthBytes = int(((rowBits + 15) / 16) * 2);  // rows are word aligned
    if (qsizetype(widthBytes) * height > bits.size()) return {};
    const qsizetype stride = ((rowBits + 31) / 32) * 4;
    const int paletteEntries = bitsPixel == 1 ? 2 : 0;
    const qsizetype offset = 14 + 40 + paletteEntries * 4;
    const qsizetype fileSize = offset + stride * height;

    QByteArray file = fileHeader(std::uint32_t(fileSize), std::uint32_t(offset));
    put32(file, 40);
    put32(file, std::uint32_t(width));
    put32(file, std::uint32_t(-height));  // rows from the top, as the bitmap stores them
    put16(file, 1);
    put16(file, std::uint16_t(bitsPixel));
    put32(file, 0);
    put32(file, std::uint32_t(stride * height));
    put32(file, 2835);
    put32(file, 2835);
    put32(file, std::uint32_t(paletteEntries));
    put32(file, 0);
    if (bitsPixel == 1) {
        put32(file, 0x00000000);
        put32(file, 0x00FFFFFF);
    }
    QByteArray row(stride, '\0');
    for (int y = 0; y < height; ++y) {
        std::memcpy(row.data(), bits.constData() + qsizetype(y) * widthBytes, std::size_t(needed));
        file.append(row);
    }
    return file;
}

}  // namespace richedit::rtf
