#include "platform/richedit/pictureobject.h"

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

}  // namespace

QSizeF PictureObject::intrinsicSize(QTextDocument* document, int, const QTextFormat& format) {
    const QTextImageFormat image = format.toImageFormat();
    if (image.width() > 0 && image.height() > 0) return {image.width(), image.height()};
    const QImage decoded = imageOf(document, image);
    return decoded.isNull() ? QSizeF(1, 1) : QSizeF(decoded.size());
}

void PictureObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                               const QTextFormat& format) {
    const QImage image = imageOf(document, format.toImageFormat());
    if (image.isNull()) return;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(rect, image);
    painter->restore();
}

}  // namespace richedit
