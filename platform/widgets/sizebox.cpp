#include "platform/widgets/sizebox.h"

#include <QKeyEvent>
#include <QLineEdit>
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
    lineEdit()->installEventFilter(this);
}

bool SizeBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit characterKey(QLatin1Char('\r'));
            return true;
        }
        if (!key->text().isEmpty()) {
            QPointer<SizeBox> self(this);
            emit characterKey(key->text().front());
            if (!self) return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace platform
