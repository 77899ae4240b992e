#include "app/icons.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

// The platform theme is empty on a bare X server; fall back to a theme that has the standard names.
void ensureIconTheme() {
    static bool done = false;
    if (done) return;
    done = true;
    if (QIcon::hasThemeIcon(QStringLiteral("document-new"))) return;
    for (const char* theme : {"Adwaita", "breeze", "oxygen", "Tango", "hicolor"}) {
        QIcon::setThemeName(QString::fromLatin1(theme));
        if (QIcon::hasThemeIcon(QStringLiteral("document-new"))) return;
    }
}

QIcon drawnIcon(const QString& glyph) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x50, 0x60, 0x80));
    p.setBrush(QColor(0xF4, 0xF6, 0xFA));
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(glyph.size() > 2 ? 9 : 13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0x20, 0x30, 0x60));
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

}  // namespace

QIcon ThemeIcon(const QString& name, const QString& glyph) {
    ensureIconTheme();
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
    return drawnIcon(glyph);
}
