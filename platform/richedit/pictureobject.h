#pragma once
// Pictures in the text: one object character whose format names a document image resource and
// carries the displayed size; drawn scaled into that size.

#include <QObject>
#include <QTextObjectInterface>

namespace richedit {

class PictureObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;
    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;
};

}  // namespace richedit
