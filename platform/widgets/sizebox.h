#pragma once
// An editable box of font sizes in points: a list of the usual sizes to choose from, or any text
// typed in. It never adds typed texts to its list and never completes them.

#include <QComboBox>

namespace platform {

class SizeBox : public QComboBox {
    Q_OBJECT
public:
    explicit SizeBox(QWidget* parent = nullptr);

signals:
    // A key that produces a character was pressed in the box, before the box acts on it; Enter
    // arrives as '\r'. Enter is not passed on to the box.
    void characterKey(QChar key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace platform
