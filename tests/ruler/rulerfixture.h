#pragma once
// Rulers for the ruler tests: one set up as the main window sets its ruler, a palette whose system
// colours are all distinct, and the mouse driven as a user drives it.

#include "ruler/QxRuler.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>

#include <memory>

namespace qxtest {

// Button face, button shadow, button highlight, window text and the two page colours all differ, so
// a pixel tells which of them was painted.
inline QPalette distinctPalette() {
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(0xC0, 0xB0, 0xA0));
    palette.setColor(QPalette::Dark, QColor(0x60, 0x70, 0x80));
    palette.setColor(QPalette::Light, QColor(0xF0, 0xF8, 0x10));
    palette.setColor(QPalette::Text, QColor(0x10, 0x10, 0x40));
    palette.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xF0));
    palette.setColor(QPalette::HighlightedText, QColor(0xE0, 0xFF, 0xE0));
    return palette;
}

// A ruler with the main window's property values: 917 x 25, margins 62 and 87, handles at 62, 62, 183.
inline std::unique_ptr<TQxRuler> makeMainRuler() {
    auto ruler = std::make_unique<TQxRuler>();
    ruler->setPalette(distinctPalette());
    ruler->setFixedSize(917, 25);
    ruler->SetShowMarginHandlers(false);
    ruler->SetColor(platform::clCaptionText);
    QFont font(QStringLiteral("Small Fonts"));
    font.setPixelSize(9);
    ruler->setFont(font);
    ruler->SetMarginLeft(62);
    ruler->SetMarginRight(87);
    ruler->SetIndentFirst(62);
    ruler->SetIndentLeft(62);
    ruler->SetIndentRight(183);
    return ruler;
}

inline QImage render(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline QColor colorOf(platform::ColorValue value) { return platform::resolveColor(value, distinctPalette()); }

// Records every event of a ruler as "click 0", "drag 1", "change 3", "dblclick 2", "margin click 0" ...
struct RulerEvents {
    QStringList list;
    explicit RulerEvents(TQxRuler& ruler) {
        auto indent = [this](const char* name) {
            return [this, name](QObject*, TIndentID id) { list << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(int(id)); };
        };
        auto margin = [this](const char* name) {
            return [this, name](QObject*, TMarginID id) {
                list << QStringLiteral("margin %1 %2").arg(QLatin1String(name)).arg(int(id));
            };
        };
        ruler.OnIndentClick = indent("click");
        ruler.OnIndentDrag = indent("drag");
        ruler.OnIndentChange = indent("change");
        ruler.OnIndentDblClick = indent("dblclick");
        ruler.OnMarginClick = margin("click");
        ruler.OnMarginDrag = margin("drag");
        ruler.OnMarginChange = margin("change");
    }
};

// A handle drag as a user makes it: press at `grabX` inside the handle, then moves to ruler x
// positions of the mouse (each sent relative to the handle where it stands then).
inline void pressHandle(TQxRuler& ruler, TIndentID id, int grabX = 4) {
    QTest::mousePress(ruler.Handle(id), Qt::LeftButton, {}, QPoint(grabX, 3));
}
inline void moveHandleMouseTo(TQxRuler& ruler, TIndentID id, int rulerX) {
    QWidget* handle = ruler.Handle(id);
    QTest::mouseMove(handle, QPoint(rulerX - handle->x(), 3));
}
inline void releaseHandle(TQxRuler& ruler, TIndentID id, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* handle = ruler.Handle(id);
    QTest::mouseRelease(handle, button, {}, QPoint(4, 3));
}

// A mouse move over the ruler itself with no button held.
inline void hover(QWidget& widget, int x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 12), widget.mapToGlobal(QPointF(x, 12)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

}  // namespace qxtest
