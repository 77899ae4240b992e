// Windows metafiles: the placeable header, the metafile header and the records.
#include "platform/encoding/codepage.h"
#include "platform/picture/metafile_canvas.h"
#include "platform/picture/metafile_players.h"
#include "platform/picture/metafile_reader.h"

#include <cmath>

namespace platform::metafile_detail {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7u;
constexpr qint64 kPlaceableSize = 22;
constexpr qint64 kHeaderSize = 18;

// The metafile header at `offset`, checked; returns where the records start.
std::optional<qint64> recordsAfterHeader(RecordReader& r, qint64 offset) {
    const std::uint16_t type = r.u16(offset), headerWords = r.u16(offset + 2), version = r.u16(offset + 4);
    if (r.failed() || (type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300))
        return std::nullopt;
    return offset + kHeaderSize;
}

// Calls `visit(function, params)` for each whole record until the end record.
template <typename Visit>
void forEachRecord(const QByteArray& data, qint64 offset, Visit visit) {
    RecordReader file(data.constData(), data.size());
    for (int count = 0; count < kMaxMetafileRecords && file.has(offset, 6); ++count) {
        const qint64 bytes = qint64(file.u32(offset)) * 2;
        const std::uint16_t function = file.u16(offset + 4);
        if (bytes < 6 || !file.has(offset, bytes) || function == 0) return;
        RecordReader params(data.constData() + offset + 6, bytes - 6);
        if (!visit(function, params)) return;
        offset += bytes;
    }
}

QPointF yx(RecordReader& r, qint64 offset) { return QPointF(r.i16(offset + 2), r.i16(offset)); }
// A rectangle as bottom, right, top, left.
QRectF brtl(RecordReader& r, qint64 offset) {
    return QRectF(QPointF(r.i16(offset + 6), r.i16(offset + 4)), QPointF(r.i16(offset + 2), r.i16(offset)));
}

QPolygonF points(RecordReader& r, qint64 offset, qint64 count) {
    QPolygonF polygon;
    if (count <= 0 || !r.has(offset, count * 4)) return polygon;
    polygon.reserve(count);
    for (qint64 i = 0; i < count; ++i) polygon.append(QPointF(r.i16(offset + 4 * i), r.i16(offset + 4 * i + 2)));
    return polygon;
}

GdiFont fontFrom(RecordReader& r) {
    GdiFont font;
    font.height = r.i16(0);
    font.escapement = r.i16(4);
    font.weight = r.i16(8);
    font.italic = r.u8(10);
    font.underline = r.u8(11);
    font.strikeOut = r.u8(12);
    font.charset = r.u8(13);
    QByteArray face;
    for (qint64 i = 18; i < std::min<qint64>(r.size(), 18 + 32) && r.u8(i) != 0; ++i) face.append(char(r.u8(i)));
    if (!face.isEmpty()) font.face = decodeCodePage(face, codePageForFontCharset(font.charset));
    return font;
}

void drawDib(Canvas& canvas, RecordReader& r, qint64 dibOffset, std::uint32_t rop, QRectF target, QRectF source) {
    const QImage image = decodeRecordDib(r.bytes(dibOffset, r.size() - dibOffset), &source);
    canvas.image(target, image, source, rop);
}

void playRecord(Canvas& canvas, std::uint16_t function, RecordReader& r) {
    DcState& dc = canvas.dc();
    switch (function) {
    case 0x0201: dc.bkColor = colorFromRef(r.u32(0)); break;                       // SETBKCOLOR
    case 0x0102: dc.opaqueBackground = r.u16(0) == 2; break;                        // SETBKMODE
    case 0x0106: dc.fillRule = r.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;  // SETPOLYFILLMODE
    case 0x0209: dc.textColor = colorFromRef(r.u32(0)); break;                      // SETTEXTCOLOR
    case 0x012E: dc.textAlign = r.u16(0); break;                                     // SETTEXTALIGN
    case 0x020B: dc.windowOrg = yx(r, 0); break;                                     // SETWINDOWORG
    case 0x020C: dc.windowExt = yx(r, 0); break;                                     // SETWINDOWEXT
    case 0x020F: dc.windowOrg += yx(r, 0); break;                                    // OFFSETWINDOWORG
    case 0x0410: {                                                                   // SCALEWINDOWEXT
        const double yDenom = r.i16(0), yNum = r.i16(2), xDenom = r.i16(4), xNum = r.i16(6);
        if (xDenom != 0 && yDenom != 0) dc.windowExt = QPointF(dc.windowExt.x() * xNum / xDenom, dc.windowExt.y() * yNum / yDenom);
        break;
    }
    case 0x0214: canvas.moveTo(yx(r, 0)); break;                                     // MOVETO
    case 0x0213: canvas.lineTo(yx(r, 0)); break;                                     // LINETO
    case 0x0325: canvas.polyline(points(r, 2, r.u16(0))); break;                    // POLYLINE
    case 0x0324: canvas.polygon(points(r, 2, r.u16(0))); break;                     // POLYGON
    case 0x0538: {                                                                   // POLYPOLYGON
        const int count = r.u16(0);
        qint64 offset = 2 + 2 * qint64(count);
        QList<QPolygonF> polygons;
        qint64 total = 0;
        for (int i = 0; i < count && !r.failed(); ++i) {
            const int n = r.u16(2 + 2 * i);
            total += n;
            if (total > kMaxPoints) break;
            polygons.append(points(r, offset, n));
            offset += 4 * qint64(n);
        }
        canvas.polyPolygon(polygons);
        break;
    }
    case 0x041B: canvas.rectangle(brtl(r, 0)); break;                               // RECTANGLE
    case 0x061C: canvas.roundRect(brtl(r, 4), QSizeF(r.i16(2), r.i16(0))); break;    // ROUNDRECT
    case 0x0418: canvas.ellipse(brtl(r, 0)); break;                                 // ELLIPSE
    case 0x0817: canvas.arc(brtl(r, 8), yx(r, 4), yx(r, 0), ArcKind::Arc); break;    // ARC
    case 0x0830: canvas.arc(brtl(r, 8), yx(r, 4), yx(r, 0), ArcKind::Chord); break;  // CHORD
    case 0x081A: canvas.arc(brtl(r, 8), yx(r, 4), yx(r, 0), ArcKind::Pie); break;    // PIE
    case 0x041F: canvas.setPixel(yx(r, 4), colorFromRef(r.u32(0))); break;          // SETPIXEL
    case 0x061D: {                                                                   // PATBLT
        const std::uint32_t rop = r.u32(0) >> 16;
        const QRectF rect(QPointF(r.i16(10), r.i16(8)), QSizeF(r.i16(6), r.i16(4)));
        if (rop == 0xF0) canvas.fillRect(rect, dc.brush.brush);
        else if (rop == 0x00) canvas.fillRect(rect, Qt::black);
        else if (rop == 0xFF) canvas.fillRect(rect, Qt::white);
        break;
    }
    case 0x0521: {                                                                   // TEXTOUT
        const qint64 length = r.u16(0), padded = (length + 1) & ~qint64(1);
        const QByteArray bytes = r.bytes(2, length);
        canvas.text(yx(r, 2 + padded), decodeCodePage(bytes, codePageForFontCharset(dc.font.charset)), {}, 0, {});
        break;
    }
    case 0x0A32: {                                                                   // EXTTEXTOUT
        const QPointF at = yx(r, 0);
        const qint64 length = r.u16(4);
        const std::uint16_t options = r.u16(6);
        qint64 offset = 8;
        QRectF rect;
        if (options & 0x0006) {  // ETO_OPAQUE, ETO_CLIPPED
            rect = QRectF(QPointF(r.i16(8), r.i16(10)), QPointF(r.i16(12), r.i16(14)));
            offset += 8;
        }
        const QByteArray bytes = r.bytes(offset, length);
        if (r.failed()) break;
        offset += (length + 1) & ~qint64(1);
        const QString text = decodeCodePage(bytes, codePageForFontCharset(dc.font.charset));
        QList<double> dx;
        // Advances are per byte; with one character per byte they line up with the text.
        if (text.size() == length && r.has(offset, 2 * length))
            for (qint64 i = 0; i < length; ++i) dx.append(r.i16(offset + 2 * i));
        canvas.text(at, text, dx, options, rect);
        break;
    }
    case 0x0F43: {                                                                   // STRETCHDIB
        const QRectF source(r.i16(12), r.i16(10), r.i16(8), r.i16(6));
        const QRectF target(r.i16(20), r.i16(18), r.i16(16), r.i16(14));
        drawDib(canvas, r, 22, r.u32(0), target, source);
        break;
    }
    case 0x0B41: {                                                                   // DIBSTRETCHBLT
        if (r.size() <= 20) break;  // the form without a bitmap
        const QRectF source(r.i16(10), r.i16(8), r.i16(6), r.i16(4));
        const QRectF target(r.i16(18), r.i16(16), r.i16(14), r.i16(12));
        drawDib(canvas, r, 20, r.u32(0), target, source);
        break;
    }
    case 0x0940: {                                                                   // DIBBITBLT
        if (r.size() <= 18) break;
        const QSizeF size(r.i16(10), r.i16(8));
        drawDib(canvas, r, 16, r.u32(0), QRectF(QPointF(r.i16(14), r.i16(12)), size), QRectF(QPointF(r.i16(6), r.i16(4)), size));
        break;
    }
    case 0x001E: canvas.saveDc(); break;                                             // SAVEDC
    case 0x0127: canvas.restoreDc(r.i16(0)); break;                                  // RESTOREDC
    case 0x0416: canvas.intersectClip(brtl(r, 0)); break;                           // INTERSECTCLIPRECT
    case 0x0415: canvas.excludeClip(brtl(r, 0)); break;                             // EXCLUDECLIPRECT
    case 0x012C: if (r.u16(0) == 0) canvas.resetClip(); break;                      // SELECTCLIPREGION (none)
    case 0x012D: canvas.selectObject(r.u16(0)); break;                              // SELECTOBJECT
    case 0x01F0: canvas.deleteObject(r.u16(0)); break;                              // DELETEOBJECT
    case 0x02FA: canvas.addObject(GdiPen{r.u16(0), double(r.i16(2)), colorFromRef(r.u32(6))}); break;  // CREATEPENINDIRECT
    case 0x02FC: canvas.addObject(logBrush(r.u16(0), r.u32(2), r.u16(6))); break;  // CREATEBRUSHINDIRECT
    case 0x02FB: canvas.addObject(fontFrom(r)); break;                              // CREATEFONTINDIRECT
    case 0x0142: {                                                                   // DIBCREATEPATTERNBRUSH
        QRectF none;
        const QImage pattern = decodeRecordDib(r.bytes(4, r.size() - 4), &none);
        canvas.addObject(pattern.isNull() ? GdiBrush{QBrush(Qt::gray)} : GdiBrush{QBrush(pattern)});
        break;
    }
    case 0x00F7: case 0x01F9: case 0x06FF: canvas.addObject(GdiOther{}); break;     // palette, pattern brush, region
    default: break;  // mapping-mode and viewport records: the frame is the viewport; the rest draws nothing we show
    }
}

}  // namespace

std::optional<MetafilePlan> planWmf(const QByteArray& data) {
    if (data.size() > kMaxMetafileSize) return std::nullopt;
    RecordReader r(data.constData(), data.size());
    MetafilePlan plan;
    if (r.u32(0) == kPlaceableKey) {
        const QRectF box(QPointF(r.i16(6), r.i16(8)), QPointF(r.i16(10), r.i16(12)));
        const int unitsPerInch = r.u16(14);
        const auto records = recordsAfterHeader(r, kPlaceableSize);
        if (!records || unitsPerInch == 0 || box.width() == 0 || box.height() == 0) return std::nullopt;
        plan.window = box;
        plan.size = QSizeF(std::abs(box.width()), std::abs(box.height())) * 96.0 / unitsPerInch;
        plan.recordsOffset = *records;
        return plan;
    }
    const auto records = recordsAfterHeader(r, 0);
    if (!records) return std::nullopt;
    plan.recordsOffset = *records;
    // A plain metafile says its extent only through its first window records; we take its units for
    // twips, the unit of the documents that carry such metafiles.
    std::optional<QPointF> origin, extent;
    forEachRecord(data, plan.recordsOffset, [&](std::uint16_t function, RecordReader& p) {
        if (function == 0x020B && !origin) origin = yx(p, 0);
        if (function == 0x020C && !extent) extent = yx(p, 0);
        return !(origin && extent);
    });
    const QPointF ext = extent.value_or(QPointF(1440, 1440));
    if (ext.x() == 0 || ext.y() == 0) return std::nullopt;
    plan.window = QRectF(origin.value_or(QPointF()), QSizeF(ext.x(), ext.y()));
    plan.size = QSizeF(std::abs(ext.x()), std::abs(ext.y())) * 96.0 / 1440;
    return plan;
}

void playWmf(const QByteArray& data, const MetafilePlan& plan, QPainter& painter) {
    Canvas canvas(painter, QTransform(), plan.devicePixelsPerMm);
    RecordReader r(data.constData(), data.size());
    const qint64 header = plan.recordsOffset - kHeaderSize;
    canvas.setObjectTableSize(r.u16(header + 10));
    DcState& dc = canvas.dc();
    dc.mapMode = MM_ANISOTROPIC;
    dc.windowOrg = plan.window.topLeft();
    dc.windowExt = QPointF(plan.window.width(), plan.window.height());
    dc.viewportExt = QPointF(plan.size.width(), plan.size.height());
    forEachRecord(data, plan.recordsOffset, [&](std::uint16_t function, RecordReader& params) {
        playRecord(canvas, function, params);
        return true;
    });
}

}  // namespace platform::metafile_detail
