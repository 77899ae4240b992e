#pragma once
// One indent handle of the ruler: a small child element that takes the mouse over its whole
// rectangle and is transparent outside its drawn shape. It hands its mouse events to the ruler, which
// owns the drag.

#include "ruler/QxRuler.h"
#include "ruler/rulershapes.h"

#include <QWidget>

class TQxRulerHandle : public QWidget {
    Q_OBJECT
public:
    TQxRulerHandle(TQxRuler& ruler, TIndentID id, rulershapes::HandleShape shape, int height);

    TIndentID Id() const { return id_; }
    rulershapes::HandleShape Shape() const { return shape_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TQxRuler& ruler_;
    TIndentID id_;
    rulershapes::HandleShape shape_;
};
