#pragma once
// The drawing surface the ruler keeps on a linked editor: a transparent overlay over the editor's
// client area on which vertical dotted guide lines are drawn in invert mode. As with an inverting
// pen, drawing a line again at the same x erases it.

#include <QList>
#include <QWidget>

class TGuideLineOverlay : public QWidget {
    Q_OBJECT
public:
    explicit TGuideLineOverlay(QWidget* editor);

    // Draws the line at editor x, or erases it when it is drawn there.
    void InvertLine(int x);
    // The x of every line now drawn, in the order they were drawn.
    const QList<int>& Lines() const { return lines_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QList<int> lines_;
};
