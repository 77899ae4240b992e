#pragma once
// The two record players behind replayMetafile.

#include "platform/picture/metafile.h"

#include <QPainter>
#include <QRectF>
#include <QTransform>

namespace platform::metafile_detail {

// A metafile's header: its natural size (pixels at 96 dpi) and how to play it into that frame.
struct MetafilePlan {
    QSizeF size;
    qint64 recordsOffset = 0;
    QRectF window;              // WMF: the logical rectangle the frame shows until the records say otherwise
    QTransform deviceToFrame;   // EMF: reference-device pixels to the frame
    double devicePixelsPerMm = 96 / 25.4;
};

std::optional<MetafilePlan> planWmf(const QByteArray& data);
void playWmf(const QByteArray& data, const MetafilePlan& plan, QPainter& painter);

// A packed DIB as the bitmap records carry it, decoded, with the source rectangle turned to the
// decoded (top-down) image's rows.
QImage decodeRecordDib(const QByteArray& dib, QRectF* source);
// The code page text in a font of this character set is in.
int codePageForFontCharset(int charset);

std::optional<MetafilePlan> planEmf(const QByteArray& data);
void playEmf(const QByteArray& data, const MetafilePlan& plan, QPainter& painter);

}  // namespace platform::metafile_detail
