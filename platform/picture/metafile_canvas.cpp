#include "platform/picture/metafile_canvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace platform::metafile_detail {

QColor colorFromRef(std::uint32_t ref) {
    return QColor(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}

GdiBrush logBrush(std::uint32_t style, std::uint32_t colorRef, std::uint32_t hatch) {
    static const Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                             Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    switch (style) {
    case 1: return GdiBrush{QBrush(Qt::NoBrush)};
    case 2: return GdiBrush{QBrush(colorFromRef(colorRef), hatch < 6 ? hatches[hatch] : Qt::SolidPattern)};
    default: return GdiBrush{QBrush(colorFromRef(colorRef))};
    }
}

namespace {

constexpr int PS_NULL = 5;
constexpr std::uint32_t kStockBit = 0x80000000u;

// The stock objects a metafile may select without creating them.
GdiObject stockObject(std::uint32_t index) {
    switch (index) {
    case 0: return GdiBrush{QBrush(Qt::white)};
    case 1: return GdiBrush{QBrush(QColor(192, 192, 192))};
    case 2: return GdiBrush{QBrush(QColor(128, 128, 128))};
    case 3: return GdiBrush{QBrush(QColor(64, 64, 64))};
    case 4: return GdiBrush{QBrush(Qt::black)};
    case 5: return GdiBrush{QBrush(Qt::NoBrush)};
    case 6: return GdiPen{0, 0, Qt::white};
    case 7: return GdiPen{0, 0, Qt::black};
    case 8: return GdiPen{PS_NULL, 0, Qt::black};
    case 10: case 11: case 12: case 13: case 14: case 16: case 17: return GdiFont{};
    default: return std::monostate{};
    }
}

}  // namespace

Canvas::Canvas(QPainter& painter, const QTransform& deviceToFrame, double devicePixelsPerMm)
    : painter_(painter), deviceToFrame_(deviceToFrame), devicePixelsPerMm_(devicePixelsPerMm) {
    painter_.save();
}

Canvas::~Canvas() { painter_.restore(); }

void Canvas::saveDc() {
    if (saved_.size() < kMaxSavedStates) saved_.push_back(dc_);
}

void Canvas::restoreDc(int relative) {
    // Negative counts back from the latest save; positive names an absolute save level.
    qint64 target = relative < 0 ? qint64(saved_.size()) + relative : qint64(relative) - 1;
    if (target < 0 || target >= qint64(saved_.size())) return;
    dc_ = saved_[size_t(target)];
    saved_.resize(size_t(target));
}

void Canvas::setObjectTableSize(std::int64_t size) {
    objects_.assign(size_t(std::clamp<std::int64_t>(size, 0, kMaxObjects)), std::monostate{});
}

void Canvas::addObject(GdiObject object) {
    for (GdiObject& slot : objects_) {
        if (std::holds_alternative<std::monostate>(slot)) {
            slot = std::move(object);
            return;
        }
    }
    // A full table: Windows would fail the creation, and the object is lost.
}

void Canvas::setObject(std::uint32_t index, GdiObject object) {
    if (index & kStockBit) return;
    if (index >= objects_.size()) {
        if (index >= std::uint32_t(kMaxObjects)) return;
        objects_.resize(size_t(index) + 1, std::monostate{});
    }
    objects_[index] = std::move(object);
}

void Canvas::selectObject(std::uint32_t index) {
    const GdiObject object = (index & kStockBit) ? stockObject(index & ~kStockBit)
                             : index < objects_.size() ? objects_[index] : GdiObject{};
    if (const auto* pen = std::get_if<GdiPen>(&object)) dc_.pen = *pen;
    else if (const auto* brush = std::get_if<GdiBrush>(&object)) dc_.brush = *brush;
    else if (const auto* font = std::get_if<GdiFont>(&object)) dc_.font = *font;
}

void Canvas::deleteObject(std::uint32_t index) {
    if (!(index & kStockBit) && index < objects_.size()) objects_[index] = std::monostate{};
}

// ---- mapping ----------------------------------------------------------------------------------

void Canvas::setMapMode(int mode) {
    if (mode >= MM_TEXT && mode <= MM_ANISOTROPIC) dc_.mapMode = mode;
}

QTransform Canvas::pageTransform() const {
    double sx = 1, sy = 1;
    switch (dc_.mapMode) {
    case MM_TEXT: break;
    case MM_LOMETRIC: sx = 0.1 * devicePixelsPerMm_; sy = -sx; break;
    case MM_HIMETRIC: sx = 0.01 * devicePixelsPerMm_; sy = -sx; break;
    case MM_LOENGLISH: sx = 0.254 * devicePixelsPerMm_; sy = -sx; break;
    case MM_HIENGLISH: sx = 0.0254 * devicePixelsPerMm_; sy = -sx; break;
    case MM_TWIPS: sx = 25.4 / 1440 * devicePixelsPerMm_; sy = -sx; break;
    default: {
        const QPointF we = dc_.windowExt, ve = dc_.viewportExt;
        sx = we.x() != 0 ? ve.x() / we.x() : 1;
        sy = we.y() != 0 ? ve.y() / we.y() : 1;
        if (dc_.mapMode == MM_ISOTROPIC) {
            const double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
    }
    }
    if (!std::isfinite(sx) || !std::isfinite(sy)) sx = sy = 1;
    return QTransform::fromTranslate(-dc_.windowOrg.x(), -dc_.windowOrg.y()) * QTransform::fromScale(sx, sy)
           * QTransform::fromTranslate(dc_.viewportOrg.x(), dc_.viewportOrg.y());
}

QTransform Canvas::logicalToFrame() const { return dc_.world * pageTransform() * deviceToFrame_; }

// ---- drawing ----------------------------------------------------------------------------------

QPen Canvas::currentPen() const {
    const int style = dc_.pen.style & 0x0F;
    if (style == PS_NULL) return QPen(Qt::NoPen);
    QPen pen(dc_.pen.color);
    pen.setWidthF(dc_.pen.width);
    pen.setCosmetic(dc_.pen.width <= 0);
    if (dc_.pen.width <= 0) pen.setWidthF(1);
    switch (style) {
    case 1: pen.setStyle(Qt::DashLine); break;
    case 2: pen.setStyle(Qt::DotLine); break;
    case 3: pen.setStyle(Qt::DashDotLine); break;
    case 4: pen.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    switch (dc_.pen.style & 0x0F00) {
    case 0x100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap);
    }
    switch (dc_.pen.style & 0xF000) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

void Canvas::begin() {
    painter_.restore();
    painter_.save();
    if (dc_.clipped) painter_.setClipPath(dc_.clip, Qt::IntersectClip);
}

void Canvas::prepare(bool pen, bool brush) {
    begin();
    painter_.setTransform(logicalToFrame());
    painter_.setPen(pen ? currentPen() : QPen(Qt::NoPen));
    painter_.setBrush(brush ? dc_.brush.brush : QBrush(Qt::NoBrush));
    painter_.setBackground(dc_.bkColor);
    painter_.setBackgroundMode(dc_.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
}

void Canvas::draw(const QPainterPath& logicalPath, bool pen, bool brush) {
    if (inPath_) {
        path_.addPath(logicalPath);
        return;
    }
    prepare(pen, brush);
    QPainterPath path = logicalPath;
    path.setFillRule(dc_.fillRule);
    painter_.drawPath(path);
}

void Canvas::moveTo(QPointF p) {
    dc_.position = p;
    if (inPath_) path_.moveTo(p);
}

void Canvas::lineTo(QPointF p) {
    if (inPath_) {
        if (path_.elementCount() == 0) path_.moveTo(dc_.position);
        path_.lineTo(p);
    } else {
        prepare(true, false);
        painter_.drawLine(dc_.position, p);
    }
    dc_.position = p;
}

void Canvas::polyline(const QPolygonF& points) {
    if (points.isEmpty()) return;
    QPainterPath path;
    path.addPolygon(points);
    draw(path, true, false);
}

void Canvas::polylineTo(const QPolygonF& points) {
    for (const QPointF& p : points) lineTo(p);
}

void Canvas::polygon(const QPolygonF& points) {
    if (points.isEmpty()) return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    draw(path, true, true);
}

void Canvas::polyPolygon(const QList<QPolygonF>& polygons) {
    QPainterPath path;
    for (const QPolygonF& polygon : polygons) {
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    draw(path, true, true);
}

void Canvas::polyPolyline(const QList<QPolygonF>& polylines) {
    QPainterPath path;
    for (const QPolygonF& polyline : polylines) path.addPolygon(polyline);
    draw(path, true, false);
}

void Canvas::bezier(const QPolygonF& points, bool fromCurrent) {
    QPainterPath path;
    qsizetype i = 0;
    if (fromCurrent) {
        path.moveTo(dc_.position);
    } else {
        if (points.isEmpty()) return;
        path.moveTo(points[0]);
        i = 1;
    }
    for (; i + 2 < points.size(); i += 3) path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (fromCurrent && !points.isEmpty()) dc_.position = path.currentPosition();
    if (inPath_ && fromCurrent && path_.elementCount() > 0) {
        // Continue the figure rather than starting a new one.
        for (int e = 1; e < path.elementCount(); e += 3)
            path_.cubicTo(path.elementAt(e), path.elementAt(e + 1), path.elementAt(e + 2));
        return;
    }
    draw(path, true, false);
}

void Canvas::rectangle(const QRectF& rect) {
    QPainterPath path;
    path.addRect(rect.normalized());
    draw(path, true, true);
}

void Canvas::roundRect(const QRectF& rect, QSizeF corner) {
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    draw(path, true, true);
}

void Canvas::ellipse(const QRectF& rect) {
    QPainterPath path;
    path.addEllipse(rect.normalized());
    draw(path, true, true);
}

void Canvas::arc(const QRectF& box, QPointF start, QPointF end, ArcKind kind) {
    const QRectF r = box.normalized();
    if (r.isEmpty()) return;
    const QPointF c = r.center();
    // Angles as Qt counts them (counterclockwise with y up); GDI draws counterclockwise on screen.
    const auto angle = [&](QPointF p) { return std::atan2(-(p.y() - c.y()) * r.width(), (p.x() - c.x()) * r.height()) * 180 / M_PI; };
    const double a0 = angle(start);
    double sweep = angle(end) - a0;
    // A y-up mapping mirrors the logical space, so counterclockwise on the page is clockwise here.
    const bool mirrored = logicalToFrame().determinant() < 0;
    if (!mirrored) { if (sweep <= 0) sweep += 360; }
    else { if (sweep >= 0) sweep -= 360; }
    QPainterPath path;
    if (kind == ArcKind::Pie) path.moveTo(c);
    else path.arcMoveTo(r, a0);
    path.arcTo(r, a0, sweep);
    if (kind != ArcKind::Arc) path.closeSubpath();
    draw(path, true, kind != ArcKind::Arc);
}

void Canvas::fillRect(const QRectF& rect, const QBrush& brush) {
    const GdiBrush saved = dc_.brush;
    dc_.brush.brush = brush;
    prepare(false, true);
    painter_.drawRect(rect.normalized());
    dc_.brush = saved;
}

void Canvas::setPixel(QPointF p, const QColor& color) { fillRect(QRectF(p, QSizeF(1, 1)), color); }

// ---- clipping ---------------------------------------------------------------------------------

void Canvas::intersectClip(const QRectF& rect) {
    QPainterPath path;
    path.addPolygon(logicalToFrame().map(QPolygonF(rect.normalized())));
    setClip(dc_.clipped ? dc_.clip.intersected(path) : path);
}

void Canvas::setClip(QPainterPath clip) {
    if (clip.elementCount() > kMaxClipElements) return;
    dc_.clip = std::move(clip);
    dc_.clipped = true;
}

void Canvas::excludeClip(const QRectF& rect) {
    QPainterPath path;
    path.addPolygon(logicalToFrame().map(QPolygonF(rect.normalized())));
    QPainterPath everything;
    everything.addRect(QRectF(-1e7, -1e7, 2e7, 2e7));
    setClip((dc_.clipped ? dc_.clip : everything).subtracted(path));
}

void Canvas::resetClip() {
    dc_.clipped = false;
    dc_.clip = {};
}

void Canvas::combineClip(const QPainterPath& deviceRegion, int mode) {
    const QPainterPath region = deviceToFrame_.map(deviceRegion);
    const QPainterPath everything = [] { QPainterPath p; p.addRect(QRectF(-1e7, -1e7, 2e7, 2e7)); return p; }();
    const QPainterPath current = dc_.clipped ? dc_.clip : everything;
    if (region.elementCount() > kMaxClipElements) return;
    switch (mode) {
    case 1: setClip(current.intersected(region)); break;
    case 2: if (dc_.clipped) setClip(current.united(region)); break;
    case 3: setClip(current.united(region).subtracted(current.intersected(region))); break;
    case 4: setClip(current.subtracted(region)); break;
    case 5: setClip(region); break;
    default: break;
    }
}

// ---- paths ------------------------------------------------------------------------------------

void Canvas::beginPath() {
    path_ = {};
    path_.moveTo(dc_.position);
    inPath_ = true;
}

void Canvas::closeFigure() {
    if (inPath_) path_.closeSubpath();
}

void Canvas::drawPath(bool pen, bool brush) {
    inPath_ = false;
    QPainterPath path = path_;
    path_ = {};
    draw(path, pen, brush);
}

void Canvas::selectClipPath(int mode) {
    inPath_ = false;
    const QPainterPath frame = logicalToFrame().map(path_);
    path_ = {};
    combineClip(deviceToFrame_.inverted().map(frame), mode);
}

}  // namespace platform::metafile_detail
