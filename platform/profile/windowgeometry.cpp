#include "platform/profile/windowgeometry.h"

#include "platform/profile/profilefile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {

namespace {
const QString kSize = QStringLiteral("velikost");
const QString kPlace = QStringLiteral("nastaveni na plose");
}  // namespace

QRect readWindowGeometry(const ProfileFile& profile, const WindowGeometryDefaults& d) {
    const int height = profile.readInteger(kSize, QStringLiteral("vyskaformu"), d.height);
    const int width = profile.readInteger(kSize, QStringLiteral("sirkaformu"), d.width);
    const int top = profile.readInteger(kPlace, QStringLiteral("bod1"), d.top);
    const int left = profile.readInteger(kPlace, QStringLiteral("bod2"), d.left);
    return QRect(left, top, width, height);
}

void applyWindowGeometry(QWidget& window, const QRect& geometry) {
    window.resize(geometry.size());
    QPoint position = geometry.topLeft();
    bool onAScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(QRect(position, geometry.size()))) onAScreen = true;
    if (!onAScreen && QGuiApplication::primaryScreen())
        position = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    window.move(position);
}

bool writeWindowGeometry(ProfileFile& profile, const QWidget& window) {
    return profile.writeInteger(kSize, QStringLiteral("vyskaformu"), window.height()) &&
           profile.writeInteger(kSize, QStringLiteral("sirkaformu"), window.width()) &&
           profile.writeInteger(kPlace, QStringLiteral("bod1"), window.y()) &&
           profile.writeInteger(kPlace, QStringLiteral("bod2"), window.x());
}

}  // namespace platform
