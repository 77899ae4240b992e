// RTF writer: pictures as PNG or JPEG blips (metafiles as they were read).
#include "platform/richedit/rtf_picture.h"
#include "platform/richedit/rtf_writer.h"

#include <QBuffer>
#include <QImageReader>
#include <QUrl>
#include <QVariant>

namespace richedit::rtf {

namespace {

QSize pixelSize(const QByteArray& data) {
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

QByteArray pngBytes(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return png;
}

}  // namespace

void Writer::picture(const QTextImageFormat& format) {
    Picture pic;
    if (!pictureFromFormat(format, pic)) {
        // An image that did not come from RTF (pasted HTML, a resource): write what is shown.
        const QImage image = document_.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
        if (image.isNull()) return;
        const int w = format.width() > 0 ? qRound(format.width() * kTwipsPerLayoutPixel) : image.width() * 15;
        const int h = format.height() > 0 ? qRound(format.height() * kTwipsPerLayoutPixel) : image.height() * 15;
        pictureGroup("pngblip", pngBytes(image), image.width(), image.height(), w, h);
        return;
    }
    const int w = pic.widthTwips, h = pic.heightTwips;
    if (pic.format == u"png" || pic.format == u"jpeg") {
        QSize px = pixelSize(pic.data);
        if (!px.isValid()) px = QSize(w / 15, h / 15);
        pictureGroup(pic.format == u"png" ? "pngblip" : "jpegblip", pic.data, px.width(), px.height(), w, h);
        return;
    }
    if (pic.format == u"wmf" || pic.format == u"emf") {
        // No converter for metafiles: they go out as they came in, sized in hundredths of a mm.
        pictureGroup(pic.format == u"wmf" ? "wmetafile8" : "emfblip", pic.data, int(qint64(w) * 2540 / 1440),
                     int(qint64(h) * 2540 / 1440), w, h);
        return;
    }
    // Bitmaps become PNG; one we cannot decode keeps its bits as a device-independent bitmap.
    qint64 budget = kMaxPixelsPerPicture;
    const QImage image = decodeBoundedPicture(pic.data, pic.format, budget);
    if (!image.isNull()) {
        const QByteArray png = pngBytes(image);
        if (!png.isEmpty()) {
            pictureGroup("pngblip", png, image.width(), image.height(), w, h);
            return;
        }
    }
    QByteArray dib = pic.data;
    if (pic.format == u"bmp") {
        if (dib.size() < 14 || !dib.startsWith("BM")) return;
        dib.remove(0, 14);
    }
    pictureGroup("dibitmap0", dib, w / 15, h / 15, w, h);
}

void Writer::pictureGroup(const char* blip, const QByteArray& data, int pixelWidth, int pixelHeight, int widthTwips,
                          int heightTwips) {
    if (data.isEmpty()) return;
    body_ += "{\\pict\\";
    body_ += blip;
    body_ += "\\picw" + QByteArray::number(pixelWidth) + "\\pich" + QByteArray::number(pixelHeight) + "\\picwgoal" +
             QByteArray::number(widthTwips) + "\\pichgoal" + QByteArray::number(heightTwips) + "\r\n";
    static const char digits[] = "0123456789abcdef";
    body_.reserve(body_.size() + data.size() * 2 + data.size() / 32 + 8);
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        body_ += digits[b >> 4];
        body_ += digits[b & 0x0F];
        if (i % 64 == 63) body_ += "\r\n";
    }
    body_ += '}';
    needDelimiter_ = false;
}

}  // namespace richedit::rtf
