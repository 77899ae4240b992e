#include "platform/widgets/sizebox.h"

#include <QKeyEvent>
#include <QPointer>

namespace platform {

SizeBox::SizeBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(10);
    // 74, not 72: the list has always offered it.
    for (int size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 32, 36, 42, 48, 56, 74})
        addItem(QString::number(size));
}

// The box keeps the keyboard focus for its text field (the field's focus proxy is the box), so keys
// arrive here first.
void SizeBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit characterKey(QLatin1Char('\r'));
        event->accept();
        return;
    }
    if (!event->text().isEmpty()) {
        QPointer<SizeBox> self(this);
        emit characterKey(event->text().front());
        if (!self) return;
    }
    QComboBox::keyPressEvent(event);
}

}  // namespace platform
