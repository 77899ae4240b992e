#include "ruler/rulershapes.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

namespace rulershapes {

namespace {

// The pixels of a line from `from` up to, not including, `to` (Bresenham).
QList<QPoint> linePixels(QPoint from, QPoint to) {
    QList<QPoint> pixels;
    const int dx = std::abs(to.x() - from.x()), sx = from.x() < to.x() ? 1 : -1;
    const int dy = -std::abs(to.y() - from.y()), sy = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    QPoint p = from;
    while (p != to) {
        pixels.append(p);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            p.rx() += sx;
        }
        if (e2 <= dx) {
            error += dx;
            p.ry() += sy;
        }
    }
    return pixels;
}

void plot(QPainter& painter, const QList<QPoint>& pixels, const QColor& color) {
    for (const QPoint& p : pixels) painter.fillRect(QRect(p, QSize(1, 1)), color);
}

QList<QPoint> translated(QList<QPoint> points, QPoint by) {
    for (QPoint& p : points) p += by;
    return points;
}

const QList<QPoint> kPointingDown{{0, 0}, {8, 0}, {8, 3}, {4, 7}, {0, 3}};
const QList<QPoint> kPointingUp{{0, 7}, {0, 4}, {4, 0}, {8, 4}, {8, 7}};
const QList<QPoint> kBothLeft{{0, 0}, {0, 4}, {8, 4}, {8, 0}, {7, 0}};

}  // namespace

QList<QPoint> outline(HandleShape shape) {
    switch (shape) {
    case HandleShape::PointingDown: return kPointingDown;
    case HandleShape::PointingUp: return kPointingUp;
    case HandleShape::BothLeft: return kBothLeft;
    }
    return {};
}

void drawPolygon(QPainter& painter, const QList<QPoint>& points, const QColor& pen, const QColor& fill) {
    QList<QPoint> edge;
    for (qsizetype i = 0; i < points.size(); ++i) edge += linePixels(points[i], points[(i + 1) % points.size()]);
    std::map<int, std::pair<int, int>> rows;  // y -> leftmost and rightmost outline pixel
    for (const QPoint& p : edge) {
        auto [it, added] = rows.try_emplace(p.y(), p.x(), p.x());
        if (!added) it->second = {std::min(it->second.first, p.x()), std::max(it->second.second, p.x())};
    }
    for (const auto& [y, span] : rows) painter.fillRect(QRect(span.first, y, span.second - span.first + 1, 1), fill);
    plot(painter, edge, pen);
}

void drawPolyline(QPainter& painter, const QList<QPoint>& points, const QColor& pen) {
    for (qsizetype i = 0; i + 1 < points.size(); ++i) plot(painter, linePixels(points[i], points[i + 1]), pen);
}

void drawHandle(QPainter& painter, HandleShape shape, const QColor& face, const QColor& highlight) {
    switch (shape) {
    case HandleShape::PointingDown:
        drawPolygon(painter, kPointingDown, Qt::black, face);
        drawPolyline(painter, {{6, 1}, {1, 1}, {1, 3}, {4, 6}}, highlight);
        break;
    case HandleShape::PointingUp:
        drawPolygon(painter, kPointingUp, Qt::black, face);
        drawPolyline(painter, {{1, 5}, {1, 4}, {5, 0}}, highlight);
        break;
    case HandleShape::BothLeft:
        painter.fillRect(QRect(0, 0, 9, 7), face);
        drawPolyline(painter, kBothLeft, Qt::black);
        drawPolyline(painter, {{1, 2}, {1, 0}, {7, 0}}, highlight);
        break;
    }
}

void drawGhost(QPainter& painter, HandleShape shape, QPoint origin, const QColor& pen, const QColor& fill) {
    const QList<QPoint> points = translated(outline(shape), origin);
    if (shape == HandleShape::BothLeft) drawPolyline(painter, points, pen);
    else drawPolygon(painter, points, pen, fill);
}

}  // namespace rulershapes
