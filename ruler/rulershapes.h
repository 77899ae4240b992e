#pragma once
// The handle shapes of the ruler and the pixel-exact drawing they need: polygons with their outline
// on the vertices' own pixels, and polylines that leave out their last point, so that the small
// handles look the same whatever paint engine draws them.

#include <QColor>
#include <QList>
#include <QPoint>

class QPainter;

namespace rulershapes {

enum class HandleShape { PointingDown, PointingUp, BothLeft };

// The outline of a handle in its own coordinates (a closed pentagon; for BothLeft the open polyline
// drawn over its filled rectangle).
QList<QPoint> outline(HandleShape shape);

// A convex polygon: every pixel between its outline pixels on a row in `fill`, the outline in `pen`.
void drawPolygon(QPainter& painter, const QList<QPoint>& points, const QColor& pen, const QColor& fill);
// Straight segments from point to point in `pen`, without the last point.
void drawPolyline(QPainter& painter, const QList<QPoint>& points, const QColor& pen);

// A handle as the ruler shows it: button-face fill, black outline, button-highlight highlight.
void drawHandle(QPainter& painter, HandleShape shape, const QColor& face, const QColor& highlight);
// The outline left at a handle's press-time place during a drag.
void drawGhost(QPainter& painter, HandleShape shape, QPoint origin, const QColor& pen, const QColor& fill);

}  // namespace rulershapes
