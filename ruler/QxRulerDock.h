#pragma once
// The strip that holds the ruler above the editor. The ruler keeps its fixed size at the strip's left
// edge, and a window narrower than the ruler clips it instead of being held at the ruler's width.
// The strip is shown exactly while the ruler is, so hiding the ruler gives its height to the editor.

#include <QWidget>

class TQxRuler;

class TQxRulerDock : public QWidget {
    Q_OBJECT
public:
    TQxRulerDock(TQxRuler& ruler, QWidget* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TQxRuler& ruler_;
};
