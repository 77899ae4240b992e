#include "ruler/QxRulerDock.h"

#include "ruler/QxRuler.h"

#include <QEvent>

TQxRulerDock::TQxRulerDock(TQxRuler& ruler, QWidget* parent) : QWidget(parent), ruler_(ruler) {
    ruler.setParent(this);
    ruler.move(0, 0);
    setFixedHeight(ruler.height());
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    ruler.installEventFilter(this);
}

bool TQxRulerDock::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &ruler_) {
        if (event->type() == QEvent::ShowToParent) setVisible(true);
        else if (event->type() == QEvent::HideToParent) setVisible(false);
        else if (event->type() == QEvent::Resize) setFixedHeight(ruler_.height());
    }
    return QWidget::eventFilter(watched, event);
}
