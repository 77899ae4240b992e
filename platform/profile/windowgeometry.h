#pragma once
// The four geometry keys that the program's configuration files share: outer height and width
// ("velikost": "vyskaformu", "sirkaformu") and top and left edge ("nastaveni na plose": "bod1",
// "bod2"), in screen pixels.

#include <QRect>

class QWidget;

namespace platform {

class ProfileFile;

struct WindowGeometryDefaults {
    int height;
    int width;
    int top = 100;
    int left = 100;
};

// The stored geometry (defaults for missing keys), as read; nothing is checked.
QRect readWindowGeometry(const ProfileFile& profile, const WindowGeometryDefaults& defaults);
// Applies a geometry to a top-level window. A window that would lie entirely off every screen is
// moved onto the primary screen, so that it can be reached.
void applyWindowGeometry(QWidget& window, const QRect& geometry);
// Writes height, width, top and left in that order; false when a write failed (the rest is skipped).
bool writeWindowGeometry(ProfileFile& profile, const QWidget& window);

}  // namespace platform
