#include "platform/richedit/pictureobject.h"

#include "platform/picture/metafile.h"
#include "platform/richedit/textformat.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace richedit {

namespace {

QImage imageOf(QTextDocument* document, const QTextImageFormat& format) {
    const QVariant resource = document->resource(QTextDocument::ImageResource, QUrl(format.name()));
    if (resource.canConvert<QImage>()) return resource.value<QImage>();
    if (resource.canConvert<QPixmap>()) return resource.value<QPixmap>().toImage();
    return {};
}

// The metafile the picture holds, replayed once and kept with the document beside the picture's
// image; null when the picture is no metafile or its data cannot be played.
std::optional<platform::MetafilePicture> metafileOf(QTextDocument* document, const QTextImageFormat& format) {
    const QString kind = format.stringProperty(PropPictureFormat);
    if (kind != u"wmf" && kind != u"emf") return std::nullopt;
    const QUrl key(format.name());
    QVariant cached = document->resource(QTextDocument::UserResource, key);
    if (!cached.canConvert<platform::MetafilePicture>()) {
        const auto replayed = platform::replayMetafile(format.property(PropPictureData).toByteArray(), kind);
        // A failed replay is kept too (as an empty picture), so it is not tried again on every paint.
        cached = QVariant::fromValue(replayed.value_or(platform::MetafilePicture{}));
        document->addResource(QTextDocument::UserResource, key, cached);
    }
    // A copy shares the recorded picture's data.
    platform::MetafilePicture metafile = cached.value<platform::MetafilePicture>();
    if (metafile.size.isEmpty()) return std::nullopt;
    return metafile;
}

}  // namespace

QSizeF PictureObject::intrinsicSize(QTextDocument* document, int, const QTextFormat& format) {
    const QTextImageFormat image = format.toImageFormat();
    if (image.width() > 0 && image.height() > 0) return {image.width(), image.height()};
    const QImage decoded = imageOf(document, image);
    return decoded.isNull() ? QSizeF(1, 1) : QSizeF(decoded.size());
}

void PictureObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                               const QTextFormat& format) {
    if (const auto metafile = metafileOf(document, format.toImageFormat())) {
        platform::drawMetafile(painter, *metafile, rect);
        return;
    }
    const QImage image = imageOf(document, format.toImageFormat());
    if (image.isNull()) return;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(rect, image);
    painter->restore();
}

}  // namespace richedit
