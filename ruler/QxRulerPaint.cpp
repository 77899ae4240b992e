// Painting the ruler: frame, margin strips, page strip, margin bars, the scale, and the ghost
// outlines of a handle drag. The handles paint themselves on top.
#include "ruler/QxRuler.h"

#include "ruler/QxRulerHandle.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

using platform::resolveColor;

void TQxRuler::PlaceHandlesVertically() {
    const int h = height();
    int firstTop = borderUp_ - 3;
    if (firstTop < 0) firstTop = 0;
    else if (firstTop > h - 8) firstTop = h - 8;
    int leftTop = h - borderDown_ - 8;
    if (leftTop < 0) leftTop = 0;
    else if (leftTop > h - 13) leftTop = h - 13;
    first_->move(first_->x(), firstTop);
    left_->move(left_->x(), leftTop);
    right_->move(right_->x(), leftTop);
    bothLeft_->move(bothLeft_->x(), leftTop + 8);
}

void TQxRuler::resizeEvent(QResizeEvent* event) {
    PlaceHandlesVertically();
    QWidget::resizeEvent(event);
}

void TQxRuler::paintEvent(QPaintEvent*) {
    PlaceHandlesVertically();
    QPainter painter(this);
    const QPalette& pal = palette();
    const QColor face = resolveColor(platform::clBtnFace, pal);
    const QColor shadow = resolveColor(platform::clBtnShadow, pal);
    const int w = width(), h = height();

    painter.fillRect(QRect(QPoint(0, 0), QPoint(w - 1, borderUp_ - 1)), face);
    painter.fillRect(QRect(QPoint(0, h - borderDown_), QPoint(w - 1, h - 1)), face);
    painter.fillRect(QRect(QPoint(0, 0), QPoint(borderLeft_ - 1, h - 1)), face);
    painter.fillRect(QRect(QPoint(w - borderRight_, 0), QPoint(w - 1, h - 1)), face);

    const int stripTop = borderUp_, stripBottom = h - borderDown_ - 1;
    const int leftLine = LeftMarginLine(), rightLine = RightMarginLine();
    painter.fillRect(QRect(QPoint(borderLeft_, stripTop), QPoint(leftLine - 1, stripBottom)), shadow);
    painter.fillRect(QRect(QPoint(rightLine, stripTop), QPoint(w - borderRight_ - 1, stripBottom)), shadow);
    painter.fillRect(QRect(QPoint(leftLine, stripTop), QPoint(rightLine - 1, stripBottom)), resolveColor(color_, pal));

    if (showMarginHandlers_) {
        painter.fillRect(QRect(QPoint(leftLine - 1, stripTop), QPoint(leftLine, stripBottom)), marginLeft_ ? face : shadow);
        painter.fillRect(QRect(QPoint(rightLine - 1, stripTop), QPoint(rightLine, stripBottom)), marginRight_ ? face : shadow);
    }
    PaintScale(painter);
    PaintGhosts(painter);
}

// Ticks and numbers counted outwards in both directions from the left margin line.
void TQxRuler::PaintScale(QPainter& painter) const {
    const QColor ink = resolveColor(fontColor_, palette());
    painter.setFont(font());
    painter.setPen(ink);
    painter.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics(font());
    const int h = height();
    const int t = tabDist_, zero = LeftMarginLine();
    const int longTop = (h - 5) / 2, shortTop = (h - 2) / 2;
    auto longTick = [&](int x) { painter.fillRect(QRect(x, longTop, 1, 5), ink); };
    for (int x = borderLeft_; x <= width() - borderRight_ - 1; ++x) {
        const int d = std::abs(x - zero);
        if (d % (4 * t) == 0) {
            const int number = d / (4 * t) * factor_;
            const QString label = number == 0 ? QString() : QString::number(number);
            if (showNumbers_) {
                if (!label.isEmpty()) {
                    const int top = (h - metrics.height()) / 2;
                    painter.drawText(QPoint(x - metrics.horizontalAdvance(label) / 2, top + metrics.ascent()), label);
                }
            } else if (showLargeLines_) {
                longTick(x);
            }
        }
        if (showLargeLines_ && d % (4 * t) == 2 * t) longTick(x);
        if (showSmallLines_ && d % (2 * t) == t) painter.fillRect(QRect(x, shortTop, 1, 2), ink);
    }
}

void TQxRuler::PaintGhosts(QPainter& painter) const {
    if (!handleDrag_) return;
    const QColor pen = resolveColor(platform::clBtnShadow, palette());
    const QColor fill = resolveColor(platform::clBtnFace, palette());
    auto ghost = [&](const TQxRulerHandle* handle, int pressX) {
        if (handle->x() != pressX) rulershapes::drawGhost(painter, handle->Shape(), QPoint(pressX, handle->y()), pen, fill);
    };
    ghost(first_, pressFirstX_);
    ghost(left_, pressBothLeftX_);
    ghost(right_, pressRightX_);
    ghost(bothLeft_, pressBothLeftX_);
}
