// Windows bitmaps (BMP files and bare DIBs) and icons through Qt's image readers, after checking the
// headers ourselves: sizes are bounded before Qt allocates, and uncompressed pixel data must be
// complete (a reader may otherwise hand out a half-empty picture).
#include "platform/picture/decoders.h"
#include "platform/picture/picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace platform::picture_detail {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12;  // BITMAPCOREHEADER
constexpr quint32 kInfoHeaderSize = 40;  // BITMAPINFOHEADER; V2..V5 headers are longer
constexpr quint32 kCompressionRgb = 0;
constexpr quint32 kCompressionBitfields = 3;
constexpr quint32 kCompressionAlphaBitfields = 6;

// What the info header says about the picture and the bytes between it and the pixels.
struct DibHeader {
    quint32 headerSize = 0;
    qint64 width = 0;
    qint64 height = 0;  // without sign: negative heights only mean top-down rows
    int bitCount = 0;
    quint32 compression = kCompressionRgb;
    qint64 extraBytes = 0;  // colour masks after a 40-byte header, then the colour table

    // Bytes of uncompressed pixel data, or nothing for compressed pictures.
    std::optional<qint64> pixelBytes() const {
        if (compression != kCompressionRgb && compression != kCompressionBitfields
            && compression != kCompressionAlphaBitfields)
            return std::nullopt;
        const qint64 stride = (width * bitCount + 31) / 32 * 4;
        return stride * height;
    }
};

quint16 u16(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}
quint32 u32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

// Parses the info header at `at`; nothing when it is not one or describes no readable picture.
std::optional<DibHeader> parseDibHeader(const QByteArray& data, qsizetype at) {
    if (data.size() - at < 4)
        return std::nullopt;
    DibHeader h;
    h.headerSize = u32(data, at);
    const bool core = h.headerSize == kCoreHeaderSize;
    const bool known = core || h.headerSize == kInfoHeaderSize || h.headerSize == 52 || h.headerSize == 56
        || h.headerSize == 64 || h.headerSize == 108 || h.headerSize == 124;
    if (!known || data.size() - at < qsizetype(h.headerSize))
        return std::nullopt;

    quint32 colorsUsed = 0;
    if (core) {
        h.width = u16(data, at + 4);
        h.height = u16(data, at + 6);
        if (u16(data, at + 8) != 1)
            return std::nullopt;
        h.bitCount = u16(data, at + 10);
    } else {
        h.width = qint32(u32(data, at + 4));
        h.height = std::llabs(qint64(qint32(u32(data, at + 8))));
        if (u16(data, at + 12) != 1)
            return std::nullopt;
        h.bitCount = u16(data, at + 14);
        h.compression = u32(data, at + 16);
        colorsUsed = u32(data, at + 32);
    }
    const bool knownDepth = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 || h.bitCount == 16
        || h.bitCount == 24 || h.bitCount == 32;
    if (!knownDepth || h.width <= 0 || h.height <= 0 || !fitsPictureLimits(h.width, h.height))
        return std::nullopt;

    if (h.headerSize == kInfoHeaderSize && h.compression == kCompressionBitfields)
        h.extraBytes = 12;
    else if (h.headerSize == kInfoHeaderSize && h.compression == kCompressionAlphaBitfields)
        h.extraBytes = 16;
    const qint64 maxColors = h.bitCount <= 8 ? (qint64(1) << h.bitCount) : 256;
    if (colorsUsed > maxColors)
        return std::nullopt;
    const qint64 colors = colorsUsed != 0 ? colorsUsed : h.bitCount <= 8 ? maxColors : 0;
    h.extraBytes += colors * (core ? 3 : 4);
    return h;
}

// Reads with Qt, refusing pictures beyond the limits before they are decoded. For files holding
// several pictures (icons) the largest one is read.
QImage readWithQt(const QByteArray& data, const char* format) {
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);

    int best = -1;
    qint64 bestArea = -1;
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        // Qt reports top-down bitmaps with a negative height, as their header has it.
        const QSize size = reader.size();
        const qint64 width = std::abs(qint64(size.width()));
        const qint64 height = std::abs(qint64(size.height()));
        if (!size.isEmpty() && !fitsPictureLimits(width, height))
            return {};
        if (width * height > bestArea) {
            bestArea = width * height;
            best = i;
        }
    }
    if (best < 0)
        return {};
    if (count > 1 && !reader.jumpToImage(best))
        return {};
    QImage image = reader.read();
    if (image.isNull() || !fitsPictureLimits(image.width(), image.height()))
        return {};
    return image;
}

}  // namespace

QImage decodeBmp(const QByteArray& data) {
    if (data.size() < kFileHeaderSize || !data.startsWith("BM"))
        return {};
    const std::optional<DibHeader> header = parseDibHeader(data, kFileHeaderSize);
    if (!header)
        return {};
    const qint64 pixelOffset = u32(data, 10);
    if (pixelOffset < kFileHeaderSize + header->headerSize || pixelOffset > data.size())
        return {};
    if (const std::optional<qint64> pixels = header->pixelBytes(); pixels && data.size() - pixelOffset < *pixels)
        return {};
    return readWithQt(data, "BMP");
}

QImage decodeDib(const QByteArray& data) {
    const std::optional<DibHeader> header = parseDibHeader(data, 0);
    if (!header)
        return {};
    const qint64 pixelOffset = kFileHeaderSize + header->headerSize + header->extraBytes;
    if (pixelOffset - kFileHeaderSize > data.size())
        return {};
    if (const std::optional<qint64> pixels = header->pixelBytes();
        pixels && data.size() - (pixelOffset - kFileHeaderSize) < *pixels)
        return {};
    const qint64 fileSize = kFileHeaderSize + data.size();
    if (fileSize > 0xFFFFFFFFll)
        return {};
    // The file header a .bmp file has in front of the same bytes.
    QByteArray file(kFileHeaderSize, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(fileSize), file.data() + 2);
    qToLittleEndian<quint32>(quint32(pixelOffset), file.data() + 10);
    file += data;
    return readWithQt(file, "BMP");
}

QImage decodeIco(const QByteArray& data) {
    // ICONDIR: reserved 0, type 1, at least one entry; then 16-byte entries whose pictures must lie
    // inside the data.
    if (data.size() < 6 || u16(data, 0) != 0 || u16(data, 2) != 1 || u16(data, 4) == 0)
        return {};
    const qint64 count = u16(data, 4);
    const qint64 directoryEnd = 6 + 16 * count;
    if (directoryEnd > data.size())
        return {};
    for (qint64 i = 0; i < count; ++i) {
        const qsizetype entry = qsizetype(6 + 16 * i);
        const qint64 bytes = u32(data, entry + 8);
        const qint64 offset = u32(data, entry + 12);
        if (bytes == 0 || offset < directoryEnd || offset + bytes > data.size())
            return {};
    }
    return readWithQt(data, "ICO");
}

bool looksLikeDib(const QByteArray& data) {
    return parseDibHeader(data, 0).has_value();
}

}  // namespace platform::picture_detail
