#include "platform/widgets/fontnamebox.h"

#include <QFontDatabase>
#include <QPainter>
#include <QSignalBlocker>

namespace platform {

namespace {

enum class FontKind { FixedPitch, Scalable, Other };

FontKind kindOf(const QString& family) {
    if (QFontDatabase::isFixedPitch(family)) return FontKind::FixedPitch;
    if (QFontDatabase::isScalable(family)) return FontKind::Scalable;
    return FontKind::Other;
}

// Small pictures in the spirit of the classic font lists: a doubled "T" for scalable outline fonts,
// a boxed typewriter "a" for fixed pitch, a plain "a" for the rest.
QIcon kindIcon(FontKind kind) {
    QPixmap pixmap(16, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QFont font(QStringLiteral("Serif"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    switch (kind) {
    case FontKind::Scalable:
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawText(QRect(0, 0, 11, 13), Qt::AlignCenter, QStringLiteral("T"));
        p.setPen(Qt::black);
        p.drawText(QRect(4, 1, 11, 13), Qt::AlignCenter, QStringLiteral("T"));
        break;
    case FontKind::FixedPitch:
        p.setPen(QColor(0x00, 0x00, 0x80));
        p.drawRect(1, 1, 13, 11);
        font.setFamily(QStringLiteral("Monospace"));
        font.setPixelSize(10);
        p.setFont(font);
        p.drawText(QRect(1, 1, 14, 11), Qt::AlignCenter, QStringLiteral("a"));
        break;
    case FontKind::Other:
        p.setPen(QColor(0x00, 0x60, 0x00));
        p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("a"));
        break;
    }
    return QIcon(pixmap);
}

}  // namespace

FontNameBox::FontNameBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    const QIcon icons[] = {kindIcon(FontKind::FixedPitch), kindIcon(FontKind::Scalable), kindIcon(FontKind::Other)};
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family)) continue;
        addItem(icons[int(kindOf(family))], family);
    }
    setCurrentIndex(-1);
    connect(this, &QComboBox::activated, this, [this](int index) { emit faceChanged(itemText(index)); });
}

QString FontNameBox::faceName() const { return currentIndex() < 0 ? QString() : currentText(); }

void FontNameBox::setFaceName(const QString& name) {
    int index = findText(name, Qt::MatchFixedString);  // face names compare without regard to case
    for (const QString& substitute : QFont::substitutes(name)) {
        if (index >= 0) break;
        index = findText(substitute, Qt::MatchFixedString);
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
}

}  // namespace platform
