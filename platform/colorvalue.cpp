#include "platform/colorvalue.h"

#include <QGuiApplication>

namespace platform {

namespace {

// The palette entry that plays the part of each system colour. Indices with no counterpart on this
// platform (and the unused index 25) give black.
QColor systemColor(unsigned index, const QPalette& p) {
    switch (index) {
    case 0x00: return p.color(QPalette::Midlight);                       // scroll bar
    case 0x01: return p.color(QPalette::Dark);                           // desktop
    case 0x02: return p.color(QPalette::Active, QPalette::Highlight);    // active caption
    case 0x03: return p.color(QPalette::Mid);                            // inactive caption
    case 0x04: return p.color(QPalette::Window);                         // menu
    case 0x05: return p.color(QPalette::Base);                           // window
    case 0x06: return p.color(QPalette::Shadow);                         // window frame
    case 0x07: return p.color(QPalette::WindowText);                     // menu text
    case 0x08: return p.color(QPalette::Text);                           // window text
    case 0x09: return p.color(QPalette::HighlightedText);                // caption text
    case 0x0A: return p.color(QPalette::Window);                         // active border
    case 0x0B: return p.color(QPalette::Window);                         // inactive border
    case 0x0C: return p.color(QPalette::Dark);                           // application workspace
    case 0x0D: return p.color(QPalette::Highlight);                      // highlight
    case 0x0E: return p.color(QPalette::HighlightedText);                // highlighted text
    case 0x0F: return p.color(QPalette::Button);                         // button face
    case 0x10: return p.color(QPalette::Dark);                           // button shadow
    case 0x11: return p.color(QPalette::Disabled, QPalette::Text);       // grey text
    case 0x12: return p.color(QPalette::ButtonText);                     // button text
    case 0x13: return p.color(QPalette::Disabled, QPalette::WindowText); // inactive caption text
    case 0x14: return p.color(QPalette::Light);                          // button highlight
    case 0x15: return p.color(QPalette::Shadow);                         // 3-D dark shadow
    case 0x16: return p.color(QPalette::Midlight);                       // 3-D light
    case 0x17: return p.color(QPalette::ToolTipText);                    // tooltip text
    case 0x18: return p.color(QPalette::ToolTipBase);                    // tooltip background
    case 0x1A: return p.color(QPalette::Link);                           // hot-tracked item
    case 0x1B: return p.color(QPalette::Active, QPalette::Highlight);    // gradient of the active caption
    case 0x1C: return p.color(QPalette::Mid);                            // gradient of the inactive caption
    case 0x1D: return p.color(QPalette::Highlight);                      // menu highlight
    case 0x1E: return p.color(QPalette::Window);                         // menu bar
    default: return QColor(0, 0, 0);
    }
}

}  // namespace

QColor resolveColor(ColorValue value, const QPalette& palette) {
    if (value == clDefault) return QColor();
    if (isSystemColor(value)) {
        QColor c = systemColor(value & 0xFFu, palette);
        c.setAlpha(255);
        return c;
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor resolveColor(ColorValue value) { return resolveColor(value, QGuiApplication::palette()); }

QColor resolveColor(ColorValue value, ColorValue defaultMeaning, const QPalette& palette) {
    if (value == clDefault) value = defaultMeaning;
    const QColor c = resolveColor(value, palette);
    return c.isValid() ? c : QColor(0, 0, 0);  // a default standing for itself: nothing better than black
}

std::uint32_t rgbOf(ColorValue value, ColorValue defaultMeaning) {
    const QColor c = resolveColor(value, defaultMeaning, QGuiApplication::palette());
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

ColorValue colorValueFromColor(const QColor& color) {
    if (!color.isValid()) return clDefault;
    const QColor rgb = color.toRgb();
    return ColorValue(rgb.red()) | (ColorValue(rgb.green()) << 8) | (ColorValue(rgb.blue()) << 16);
}

}  // namespace platform
