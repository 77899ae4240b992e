#include "platform/picture/metafile.h"

#include "platform/picture/decoders.h"
#include "platform/picture/metafile_players.h"
#include "platform/picture/metafile_reader.h"

#include <QPainter>

namespace platform {

namespace metafile_detail {

QImage decodeRecordDib(const QByteArray& dib, QRectF* source) {
    const QImage image = picture_detail::decodeDib(dib);
    if (image.isNull()) return image;
    // Source rows count from the bottom of a bottom-up bitmap (a positive height in its header).
    RecordReader r(dib.constData(), dib.size());
    const std::uint32_t headerSize = r.u32(0);
    const bool bottomUp = headerSize == 12 ? true : r.i32(8) > 0;
    QRectF& s = *source;
    if (!s.isValid()) s = QRectF(image.rect());
    else if (bottomUp) s.moveTop(image.height() - s.top() - s.height());
    return image;
}

int codePageForFontCharset(int charset) {
    switch (charset) {
    case 238: return 1250;
    case 204: return 1251;
    case 161: return 1253;
    case 162: return 1254;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 163: return 1258;
    case 222: return 874;
    case 128: return 932;
    case 134: return 936;
    case 129: return 949;
    case 136: return 950;
    case 2: return 28591;  // symbol fonts map their bytes one to one
    default: return 1252;
    }
}

}  // namespace metafile_detail

QString detectMetafileFormat(const QByteArray& data) {
    if (metafile_detail::planEmf(data)) return QStringLiteral("emf");
    if (metafile_detail::planWmf(data)) return QStringLiteral("wmf");
    return {};
}

std::optional<MetafilePicture> replayMetafile(const QByteArray& data, const QString& format) {
    using namespace metafile_detail;
    const bool wmf = format.compare(u"wmf", Qt::CaseInsensitive) == 0;
    const bool emf = format.compare(u"emf", Qt::CaseInsensitive) == 0;
    if (!wmf && !emf) return std::nullopt;
    const std::optional<MetafilePlan> plan = wmf ? planWmf(data) : planEmf(data);
    if (!plan || !(plan->size.width() > 0) || !(plan->size.height() > 0)) return std::nullopt;
    MetafilePicture result;
    result.size = plan->size;
    QPainter painter(&result.picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (wmf) playWmf(data, *plan, painter);
    else playEmf(data, *plan, painter);
    painter.end();
    return result;
}

void drawMetafile(QPainter* painter, const MetafilePicture& metafile, const QRectF& target) {
    if (metafile.size.isEmpty() || target.isEmpty()) return;
    painter->save();
    painter->translate(target.topLeft());
    painter->scale(target.width() / metafile.size.width(), target.height() / metafile.size.height());
    painter->setClipRect(QRectF(QPointF(), metafile.size), Qt::IntersectClip);
    // A picture replays scaled by its target's resolution over its own; the target's size is
    // already in the painter's coordinates.
    if (const QPaintDevice* device = painter->device(); device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        painter->scale(double(metafile.picture.logicalDpiX()) / device->logicalDpiX(),
                       double(metafile.picture.logicalDpiY()) / device->logicalDpiY());
    painter->drawPicture(QPointF(), metafile.picture);
    painter->restore();
}

}  // namespace platform
