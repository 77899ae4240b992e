// Enhanced metafiles: the header and the records.
#include "platform/picture/metafile_canvas.h"
#include "platform/picture/metafile_players.h"
#include "platform/picture/metafile_reader.h"

#include <cmath>

namespace platform::metafile_detail {

namespace {

constexpr std::uint32_t kEmfSignature = 0x464D4520u;  // " EMF"
constexpr std::uint32_t EMR_HEADER = 1, EMR_EOF = 14;

QRectF rectL(RecordReader& r, qint64 offset) {
    return QRectF(QPointF(r.i32(offset), r.i32(offset + 4)), QPointF(r.i32(offset + 8), r.i32(offset + 12)));
}
QPointF pointL(RecordReader& r, qint64 offset) { return QPointF(r.i32(offset), r.i32(offset + 4)); }

// `count` points at `offset`, 16-bit or 32-bit.
QPolygonF points(RecordReader& r, qint64 offset, qint64 count, bool small) {
    QPolygonF polygon;
    const qint64 size = small ? 4 : 8;
    if (count <= 0 || count > kMaxPoints || !r.has(offset, count * size)) return polygon;
    polygon.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = offset + i * size;
        polygon.append(small ? QPointF(r.i16(at), r.i16(at + 2)) : pointL(r, at));
    }
    return polygon;
}

// POLYxxx records: bounds, count, points.
QPolygonF polyPoints(RecordReader& r, bool small) { return points(r, 20, r.u32(16), small); }

// POLYPOLYxxx records: bounds, number of polygons, total points, the counts, the points.
QList<QPolygonF> polyPolyPoints(RecordReader& r, bool small) {
    QList<QPolygonF> polygons;
    const qint64 count = r.u32(16), total = r.u32(20);
    if (count > kMaxPoints || total > kMaxPoints || !r.has(24, count * 4)) return polygons;
    qint64 offset = 24 + count * 4, used = 0;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 n = r.u32(24 + 4 * i);
        used += n;
        if (used > total) break;
        polygons.append(points(r, offset, n, small));
        offset += n * (small ? 4 : 8);
    }
    return polygons;
}

QTransform xform(RecordReader& r, qint64 offset) {
    const QTransform t(r.f32(offset), r.f32(offset + 4), r.f32(offset + 8), r.f32(offset + 12), r.f32(offset + 16), r.f32(offset + 20));
    for (double v : {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()})
        if (!std::isfinite(v)) return QTransform();
    return t;
}

// The rectangles of region data (RGNDATA) in device units.
QPainterPath regionPath(RecordReader& r, qint64 offset, qint64 size) {
    QPainterPath path;
    const qint64 count = r.u32(offset + 8);
    // More rectangles than a clip may hold are not worth combining.
    if (size < 32 || count > kMaxClipElements / 5 || !r.has(offset + 32, count * 16) || count * 16 > size - 32) return path;
    for (qint64 i = 0; i < count; ++i) path.addRect(rectL(r, offset + 32 + 16 * i).normalized());
    return path.simplified();
}

// A bitmap the record carries as a header at offBmi and bits at offBits (offsets from the record's
// start, before the type and size this reader skips).
QImage recordBitmap(RecordReader& r, qint64 offBmi, qint64 cbBmi, qint64 offBits, qint64 cbBits, QRectF* source) {
    offBmi -= 8;
    offBits -= 8;
    if (cbBmi <= 0 || !r.has(offBmi, cbBmi) || !r.has(offBits, cbBits)) return {};
    return decodeRecordDib(r.bytes(offBmi, cbBmi) + r.bytes(offBits, cbBits), source);
}

void text(Canvas& canvas, RecordReader& r, bool wide) {
    // Offsets count from the record's start, before the type and size this reader skips.
    const QPointF reference = pointL(r, 28);
    const qint64 chars = r.u32(36), offString = qint64(r.u32(40)) - 8, offDx = qint64(r.u32(64)) - 8;
    const std::uint32_t options = r.u32(44);
    const QRectF rect = rectL(r, 48);
    if (chars > kMaxPoints) return;
    QString string;
    if (wide) {
        if (!r.has(offString, chars * 2)) return;
        string.reserve(chars);
        for (qint64 i = 0; i < chars; ++i) string.append(QChar(r.u16(offString + 2 * i)));
    } else {
        string = QString::fromLatin1(r.bytes(offString, chars));
    }
    QList<double> dx;
    if (offDx > 0 && r.has(offDx, chars * 4))
        for (qint64 i = 0; i < chars; ++i) dx.append(r.i32(offDx + 4 * i));
    canvas.text(reference, string, dx, options, rect);
}

void playRecord(Canvas& canvas, std::uint32_t type, RecordReader& r) {
    DcState& dc = canvas.dc();
    switch (type) {
    case 2: canvas.bezier(polyPoints(r, false), false); break;                       // POLYBEZIER
    case 85: canvas.bezier(polyPoints(r, true), false); break;                       // POLYBEZIER16
    case 5: canvas.bezier(polyPoints(r, false), true); break;                        // POLYBEZIERTO
    case 88: canvas.bezier(polyPoints(r, true), true); break;                        // POLYBEZIERTO16
    case 3: canvas.polygon(polyPoints(r, false)); break;                             // POLYGON
    case 86: canvas.polygon(polyPoints(r, true)); break;                             // POLYGON16
    case 4: canvas.polyline(polyPoints(r, false)); break;                            // POLYLINE
    case 87: canvas.polyline(polyPoints(r, true)); break;                            // POLYLINE16
    case 6: canvas.polylineTo(polyPoints(r, false)); break;                          // POLYLINETO
    case 89: canvas.polylineTo(polyPoints(r, true)); break;                          // POLYLINETO16
    case 7: canvas.polyPolyline(polyPolyPoints(r, false)); break;                    // POLYPOLYLINE
    case 90: canvas.polyPolyline(polyPolyPoints(r, true)); break;                    // POLYPOLYLINE16
    case 8: canvas.polyPolygon(polyPolyPoints(r, false)); break;                     // POLYPOLYGON
    case 91: canvas.polyPolygon(polyPolyPoints(r, true)); break;                     // POLYPOLYGON16
    case 9: dc.windowExt = pointL(r, 0); break;                                      // SETWINDOWEXTEX
    case 10: dc.windowOrg = pointL(r, 0); break;                                     // SETWINDOWORGEX
    case 11: dc.viewportExt = pointL(r, 0); break;                                   // SETVIEWPORTEXTEX
    case 12: dc.viewportOrg = pointL(r, 0); break;                                   // SETVIEWPORTORGEX
    case 17: canvas.setMapMode(int(r.u32(0))); break;                                // SETMAPMODE
    case 18: dc.opaqueBackground = r.u32(0) == 2; break;                             // SETBKMODE
    case 19: dc.fillRule = r.u32(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break; // SETPOLYFILLMODE
    case 22: dc.textAlign = r.u32(0); break;                                         // SETTEXTALIGN
    case 24: dc.textColor = colorFromRef(r.u32(0)); break;                           // SETTEXTCOLOR
    case 25: dc.bkColor = colorFromRef(r.u32(0)); break;                             // SETBKCOLOR
    case 27: canvas.moveTo(pointL(r, 0)); break;                                     // MOVETOEX
    case 54: canvas.lineTo(pointL(r, 0)); break;                                     // LINETO
    case 15: canvas.setPixel(pointL(r, 0), colorFromRef(r.u32(8))); break;           // SETPIXELV
    case 29: canvas.excludeClip(rectL(r, 0)); break;                                 // EXCLUDECLIPRECT
    case 30: canvas.intersectClip(rectL(r, 0)); break;                               // INTERSECTCLIPRECT
    case 33: canvas.saveDc(); break;                                                 // SAVEDC
    case 34: canvas.restoreDc(r.i32(0)); break;                                      // RESTOREDC
    case 35: dc.world = xform(r, 0); break;                                          // SETWORLDTRANSFORM
    case 36: {                                                                       // MODIFYWORLDTRANSFORM
        const QTransform t = xform(r, 0);
        switch (r.u32(24)) {
        case 1: dc.world = QTransform(); break;
        case 2: dc.world = t * dc.world; break;
        case 3: dc.world = dc.world * t; break;
        case 4: dc.world = t; break;
        default: break;
        }
        break;
    }
    case 37: canvas.selectObject(r.u32(0)); break;                                   // SELECTOBJECT
    case 40: canvas.deleteObject(r.u32(0)); break;                                   // DELETEOBJECT
    case 38: canvas.setObject(r.u32(0), GdiPen{int(r.u32(4)), double(r.i32(8)), colorFromRef(r.u32(16))}); break;  // CREATEPEN
    case 95: {                                                                       // EXTCREATEPEN
        const std::uint32_t style = r.u32(20);
        // Geometric pens have a width in logical units; cosmetic ones are one pixel.
        const double width = (style & 0x00010000) ? double(r.u32(24)) : 0;
        GdiPen pen{int(style), width, colorFromRef(r.u32(32))};
        if (r.u32(28) == 1) pen.style = 5;  // a hollow brush draws nothing
        canvas.setObject(r.u32(0), pen);
        break;
    }
    case 39: canvas.setObject(r.u32(0), logBrush(r.u32(4), r.u32(8), r.u32(12))); break;  // CREATEBRUSHINDIRECT
    case 94: {                                                                       // CREATEDIBPATTERNBRUSHPT
        QRectF none;
        const QImage pattern = recordBitmap(r, r.u32(8), r.u32(12), r.u32(16), r.u32(20), &none);
        canvas.setObject(r.u32(0), pattern.isNull() ? GdiBrush{QBrush(Qt::gray)} : GdiBrush{QBrush(pattern)});
        break;
    }
    case 93: case 49: canvas.setObject(r.u32(0), GdiOther{}); break;                // CREATEMONOBRUSH, CREATEPALETTE
    case 82: {                                                                       // EXTCREATEFONTINDIRECTW
        GdiFont font;
        font.height = r.i32(4);
        font.escapement = r.i32(12);
        font.weight = r.i32(20);
        font.italic = r.u8(24);
        font.underline = r.u8(25);
        font.strikeOut = r.u8(26);
        font.charset = r.u8(27);
        QString face;
        for (qint64 i = 0; i < 32 && r.has(32 + 2 * i, 2) && r.u16(32 + 2 * i) != 0; ++i) face.append(QChar(r.u16(32 + 2 * i)));
        if (!face.isEmpty()) font.face = face;
        canvas.setObject(r.u32(0), font);
        break;
    }
    case 42: canvas.ellipse(rectL(r, 0)); break;                                     // ELLIPSE
    case 43: canvas.rectangle(rectL(r, 0)); break;                                   // RECTANGLE
    case 44: canvas.roundRect(rectL(r, 0), QSizeF(r.i32(16), r.i32(20))); break;     // ROUNDRECT
    case 45: case 55: canvas.arc(rectL(r, 0), pointL(r, 16), pointL(r, 24), ArcKind::Arc); break;  // ARC, ARCTO
    case 46: canvas.arc(rectL(r, 0), pointL(r, 16), pointL(r, 24), ArcKind::Chord); break;         // CHORD
    case 47: canvas.arc(rectL(r, 0), pointL(r, 16), pointL(r, 24), ArcKind::Pie); break;           // PIE
    case 59: canvas.beginPath(); break;                                              // BEGINPATH
    case 60: canvas.endPath(); break;                                                // ENDPATH
    case 61: canvas.closeFigure(); break;                                            // CLOSEFIGURE
    case 62: canvas.fillPath(); break;                                               // FILLPATH
    case 63: canvas.strokeAndFillPath(); break;                                      // STROKEANDFILLPATH
    case 64: canvas.strokePath(); break;                                             // STROKEPATH
    case 67: canvas.selectClipPath(int(r.u32(0))); break;                            // SELECTCLIPPATH
    case 68: canvas.abortPath(); break;                                              // ABORTPATH
    case 75: {                                                                       // EXTSELECTCLIPRGN
        const qint64 size = r.u32(0);
        const int mode = int(r.u32(4));
        if (size == 0) { if (mode == 5) canvas.resetClip(); break; }
        canvas.combineClip(regionPath(r, 8, size), mode);
        break;
    }
    case 83: text(canvas, r, false); break;                                          // EXTTEXTOUTA
    case 84: text(canvas, r, true); break;                                           // EXTTEXTOUTW
    case 76: case 77: {                                                              // BITBLT, STRETCHBLT
        const QRectF target(pointL(r, 16), QSizeF(r.i32(24), r.i32(28)));
        const std::uint32_t rop = r.u32(32);
        if (r.u32(80) == 0) {  // no bitmap: a pattern fill
            if ((rop >> 16) == 0xF0) canvas.fillRect(target, dc.brush.brush);
            break;
        }
        QRectF source(pointL(r, 36), type == 77 ? QSizeF(r.i32(92), r.i32(96)) : target.size());
        const QImage image = recordBitmap(r, r.u32(76), r.u32(80), r.u32(84), r.u32(88), &source);
        canvas.image(target, image, source, rop);
        break;
    }
    case 81: {                                                                       // STRETCHDIBITS
        QRectF source(pointL(r, 24), QSizeF(r.i32(32), r.i32(36)));
        const QRectF target(pointL(r, 16), QSizeF(r.i32(64), r.i32(68)));
        const QImage image = recordBitmap(r, r.u32(40), r.u32(44), r.u32(48), r.u32(52), &source);
        canvas.image(target, image, source, r.u32(60));
        break;
    }
    case 80: {                                                                       // SETDIBITSTODEVICE
        QRectF source(pointL(r, 24), QSizeF(r.i32(32), r.i32(36)));
        const QImage image = recordBitmap(r, r.u32(40), r.u32(44), r.u32(48), r.u32(52), &source);
        canvas.image(QRectF(pointL(r, 16), source.size()), image, source, 0x00CC0020);
        break;
    }
    default: break;  // comments (and the EMF+ records inside them), palettes and the rest draw nothing we show
    }
}

}  // namespace

std::optional<MetafilePlan> planEmf(const QByteArray& data) {
    if (data.size() > kMaxMetafileSize) return std::nullopt;
    RecordReader r(data.constData(), data.size());
    const qint64 headerSize = r.u32(4);
    if (r.u32(0) != EMR_HEADER || r.u32(40) != kEmfSignature || headerSize < 88 || !r.has(0, headerSize)) return std::nullopt;
    const QRectF bounds = rectL(r, 8), frame = rectL(r, 24);  // device pixels; hundredths of a millimetre
    const QPointF device(r.i32(72), r.i32(76)), millimetres(r.i32(80), r.i32(84));
    if (device.x() <= 0 || device.y() <= 0 || millimetres.x() <= 0 || millimetres.y() <= 0) return std::nullopt;
    MetafilePlan plan;
    plan.recordsOffset = headerSize;
    plan.devicePixelsPerMm = device.x() / millimetres.x();
    const double toHundredthsX = millimetres.x() * 100 / device.x(), toHundredthsY = millimetres.y() * 100 / device.y();
    constexpr double pixelsPerHundredth = 96 / 2540.0;
    if (frame.width() > 0 && frame.height() > 0) {
        plan.size = frame.size() * pixelsPerHundredth;
        plan.deviceToFrame = QTransform::fromScale(toHundredthsX, toHundredthsY)
                             * QTransform::fromTranslate(-frame.left(), -frame.top())
                             * QTransform::fromScale(pixelsPerHundredth, pixelsPerHundredth);
    } else if (bounds.width() > 0 && bounds.height() > 0) {
        plan.size = QSizeF(bounds.width() * toHundredthsX, bounds.height() * toHundredthsY) * pixelsPerHundredth;
        plan.deviceToFrame = QTransform::fromTranslate(-bounds.left(), -bounds.top())
                             * QTransform::fromScale(toHundredthsX * pixelsPerHundredth, toHundredthsY * pixelsPerHundredth);
    } else {
        return std::nullopt;
    }
    return plan;
}

void playEmf(const QByteArray& data, const MetafilePlan& plan, QPainter& painter) {
    Canvas canvas(painter, plan.deviceToFrame, plan.devicePixelsPerMm);
    RecordReader file(data.constData(), data.size());
    canvas.setObjectTableSize(file.u16(56));
    qint64 offset = plan.recordsOffset;
    for (int count = 0; count < kMaxMetafileRecords && file.has(offset, 8); ++count) {
        const std::uint32_t type = file.u32(offset);
        const qint64 size = file.u32(offset + 4);
        if (size < 8 || (size & 3) || !file.has(offset, size) || type == EMR_EOF) return;
        RecordReader record(data.constData() + offset + 8, size - 8);
        playRecord(canvas, type, record);
        offset += size;
    }
}

}  // namespace platform::metafile_detail
