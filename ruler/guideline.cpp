#include "ruler/guideline.h"

#include <QEvent>
#include <QPainter>

TGuideLineOverlay::TGuideLineOverlay(QWidget* editor) : QWidget(editor) {
    setObjectName(QStringLiteral("rulerGuideLine"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(editor->rect());
    editor->installEventFilter(this);
    raise();
    show();
}

void TGuideLineOverlay::InvertLine(int x) {
    if (!lines_.removeOne(x)) lines_.append(x);
    update(QRect(x, 0, 1, height()));
}

// The overlay covers the editor's whole client area and stays above the editor's own children.
bool TGuideLineOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent()) {
        if (event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
        else if (event->type() == QEvent::ChildAdded) raise();
    }
    return QWidget::eventFilter(watched, event);
}

void TGuideLineOverlay::paintEvent(QPaintEvent*) {
    if (lines_.isEmpty()) return;
    QPainter painter(this);
    // A black pen under not-xor inverts what it crosses, as the line is drawn on the editor itself.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    for (int x : lines_)
        for (int y = 1; y < height(); y += 2) painter.fillRect(QRect(x, y, 1, 1), Qt::black);
}
