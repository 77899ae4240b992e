#include "ruler/QxRulerHandle.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
int mouseX(const QMouseEvent* event) { return int(event->position().x()); }
}  // namespace

TQxRulerHandle::TQxRulerHandle(TQxRuler& ruler, TIndentID id, rulershapes::HandleShape shape, int height)
    : QWidget(&ruler), ruler_(ruler), id_(id), shape_(shape) {
    static const char* const names[] = {"riFirst", "riLeft", "riRight", "riBothLeft"};
    setObjectName(QString::fromLatin1(names[int(id)]));
    resize(9, height);
    setCursor(Qt::ArrowCursor);
}

void TQxRulerHandle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    rulershapes::drawHandle(painter, shape_, platform::resolveColor(platform::clBtnFace, palette()),
                            platform::resolveColor(platform::clBtnHighlight, palette()));
}

void TQxRulerHandle::mousePressEvent(QMouseEvent* event) { ruler_.HandlePressed(*this, event->button(), mouseX(event)); }

void TQxRulerHandle::mouseMoveEvent(QMouseEvent* event) { ruler_.HandleMoved(*this, mouseX(event)); }

void TQxRulerHandle::mouseReleaseEvent(QMouseEvent* event) { ruler_.HandleReleased(*this, event->button()); }

// The press that comes with a double click follows the double-click event, so it starts no drag.
void TQxRulerHandle::mouseDoubleClickEvent(QMouseEvent* event) {
    ruler_.HandleDoubleClicked(*this);
    mousePressEvent(event);
}
