// Metafiles on their way into a document or onto the clipboard.
#include "platform/picture/metafile.h"

#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <algorithm>

namespace platform {

namespace {

constexpr int kPlaceableHeaderSize = 22;
constexpr quint32 kPlaceableMagic = 0x9AC6CDD7;

bool hasPlaceableHeader(const QByteArray& data) {
    return data.size() >= kPlaceableHeaderSize && qFromLittleEndian<quint32>(data.constData()) == kPlaceableMagic;
}

}  // namespace

std::optional<StoredMetafile> metafileForStorage(const QByteArray& data) {
    const QString format = detectMetafileFormat(data);
    if (format.isEmpty()) return std::nullopt;
    // The size comes from the whole file, so a placeable header's bounds and units still count.
    const std::optional<MetafilePicture> played = replayMetafile(data, format);
    if (!played) return std::nullopt;
    StoredMetafile stored;
    stored.format = format;
    stored.data = format == QLatin1String("wmf") && hasPlaceableHeader(data) ? data.mid(kPlaceableHeaderSize) : data;
    stored.twips = QSize(std::max(1, qRound(played->size.width() * 15)), std::max(1, qRound(played->size.height() * 15)));
    return stored;
}

QImage renderMetafile(const MetafilePicture& metafile, const QSize& size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawMetafile(&painter, metafile, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    return image;
}

}  // namespace platform
