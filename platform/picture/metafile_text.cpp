// Text and bitmaps of the metafile players.
#include "platform/picture/metafile_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace platform::metafile_detail {

namespace {

constexpr std::uint32_t TA_UPDATECP = 1, TA_HMASK = 6, TA_RIGHT = 2, TA_CENTER = 6, TA_VMASK = 24, TA_BOTTOM = 8,
                        TA_BASELINE = 24;
constexpr std::uint32_t ETO_OPAQUE = 2, ETO_CLIPPED = 4;
// Fonts are laid out this many times larger and scaled down, since Qt sizes fonts in whole pixels.
constexpr double kTextOversampling = 16;

}  // namespace

void Canvas::text(QPointF reference, const QString& text, const QList<double>& dx, std::uint32_t options, const QRectF& rect) {
    const QTransform toFrame = logicalToFrame();
    if ((options & ETO_OPAQUE) && !rect.isEmpty()) fillRect(rect, dc_.bkColor);
    if (text.isEmpty()) return;
    const bool updatePosition = dc_.textAlign & TA_UPDATECP;
    if (updatePosition) reference = dc_.position;

    // The text is set in the frame's own coordinates, so it is never mirrored by a y-up mapping.
    const QPointF origin = toFrame.map(reference);
    const QLineF xAxis(origin, toFrame.map(reference + QPointF(1, 0)));
    const double xScale = xAxis.length();
    // A positive height is the cell (the em and the internal leading); zero is the default size.
    const double yScale = QLineF(origin, toFrame.map(reference + QPointF(0, 1))).length();
    const double pixelSize = dc_.font.height == 0 ? 12 : std::abs(dc_.font.height) * (dc_.font.height > 0 ? 0.87 : 1.0) * yScale;
    if (!std::isfinite(pixelSize) || pixelSize <= 0 || pixelSize > kMaxFontPixels || !std::isfinite(xScale)) return;

    QFont font(dc_.font.face);
    font.setPixelSize(std::max(1, int(pixelSize * kTextOversampling)));
    font.setWeight(QFont::Weight(std::clamp(dc_.font.weight == 0 ? 400 : dc_.font.weight, 100, 900)));
    font.setItalic(dc_.font.italic);
    font.setUnderline(dc_.font.underline);
    font.setStrikeOut(dc_.font.strikeOut);
    const QFontMetricsF metrics(font);
    const double scale = 1 / kTextOversampling;

    // Advances in oversampled text units: the metafile's own when it has them.
    QList<double> advances;
    if (dx.size() >= text.size()) {
        for (qsizetype i = 0; i < text.size(); ++i) advances.append(dx[i] * xScale / scale);
    }
    double width = 0;
    if (!advances.isEmpty()) for (double a : advances) width += a;
    else width = metrics.horizontalAdvance(text);

    double x = 0, y = 0;
    switch (dc_.textAlign & TA_HMASK) {
    case TA_RIGHT: x = -width; break;
    case TA_CENTER: x = -width / 2; break;
    default: break;
    }
    switch (dc_.textAlign & TA_VMASK) {
    case TA_BASELINE: break;
    case TA_BOTTOM: y = -metrics.descent(); break;
    default: y = metrics.ascent(); break;
    }

    begin();
    if ((options & ETO_CLIPPED) && !rect.isEmpty()) {
        QPainterPath clip;
        clip.addPolygon(toFrame.map(QPolygonF(rect.normalized())));
        painter_.setClipPath(clip, Qt::IntersectClip);
    }
    const double angle = xAxis.angle() == 0 ? 0 : -xAxis.angle();
    painter_.setTransform(QTransform().translate(origin.x(), origin.y()).rotate(angle - dc_.font.escapement / 10.0).scale(scale, scale));
    painter_.setFont(font);
    if (dc_.opaqueBackground && !(options & ETO_OPAQUE))
        painter_.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()), dc_.bkColor);
    painter_.setPen(dc_.textColor);
    painter_.setBackgroundMode(Qt::TransparentMode);
    if (advances.isEmpty()) {
        painter_.drawText(QPointF(x, y), text);
    } else {
        double pen = x;
        for (qsizetype i = 0; i < text.size(); ++i) {
            painter_.drawText(QPointF(pen, y), QString(text[i]));
            pen += advances[i];
        }
    }
    if (updatePosition) dc_.position = reference + QPointF(width * scale / std::max(1e-9, xScale), 0);
}

void Canvas::image(const QRectF& target, const QImage& image, const QRectF& source, std::uint32_t rasterOp) {
    if (image.isNull() || target.isEmpty()) return;
    prepare(false, false);
    const std::uint32_t op = rasterOp >> 16;
    // Masked bitmaps combine an AND and an OR (or XOR) pass; darken and lighten give the same result
    // for the black-and-white masks they use.
    switch (op) {
    case 0xCC: break;                                                                   // SRCCOPY
    case 0x88: painter_.setCompositionMode(QPainter::CompositionMode_Darken); break;    // SRCAND
    case 0xEE: case 0x66: painter_.setCompositionMode(QPainter::CompositionMode_Lighten); break;  // SRCPAINT, SRCINVERT
    default: return;
    }
    const QRectF src = source.isValid() ? source.intersected(QRectF(image.rect())) : QRectF(image.rect());
    painter_.drawImage(target.normalized(), image, src);
}

}  // namespace platform::metafile_detail
