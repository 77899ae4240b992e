#pragma once
// A colour button: its face shows the selected colour, its arrow drops down a colour palette. The
// palette offers the automatic (default) colour, forty swatches and the platform colour dialog; its
// drag bar tears it off as a floating palette that stays on top and keeps serving the button.

#include "platform/colorvalue.h"

#include <QFrame>
#include <QPointer>
#include <QToolButton>

#include <array>

class QMenu;

namespace platform {

// The palette's swatches, in the order they are laid out (eight to a row).
inline constexpr std::array<ColorValue, 40> kPaletteSwatches = {
    0x00000000, 0x00003399, 0x00003333, 0x00003300, 0x00663300, 0x00800000, 0x00993333, 0x00333333,
    0x00000080, 0x000066FF, 0x00008080, 0x00008000, 0x00808000, 0x00FF0000, 0x00996666, 0x00808080,
    0x000000FF, 0x000099FF, 0x0000CC99, 0x00669933, 0x00CCCC33, 0x00FF6633, 0x00800080, 0x00999999,
    0x00FF00FF, 0x0000CCFF, 0x0000FFFF, 0x0000FF00, 0x00FFFF00, 0x00FFCC00, 0x00663399, 0x00C0C0C0,
    0x00CC99FF, 0x0099CCFF, 0x0099FFFF, 0x00CCFFCC, 0x00FFFFCC, 0x00FFCC99, 0x00FF99CC, 0x00FFFFFF,
};

// The palette's content, dropped down in a pop-up or floating in a window of its own. Child object
// names: "dragBar", "automatic", "swatch0" .. "swatch39", "moreColors".
class ColorPalette : public QFrame {
    Q_OBJECT
public:
    enum class Placement { DropDown, Floating };
    explicit ColorPalette(Placement placement, QWidget* parent = nullptr);
    Placement placement() const { return placement_; }
    // Moves with the pointer, grabbed, until the mouse button is released (a palette just torn off).
    void followPointer(QPoint globalPosition);

signals:
    void colorChosen(platform::ColorValue color);
    void moreColorsRequested();
    // The drag bar of a dropped-down palette was dragged; `globalPosition` is the pointer.
    void tearOffRequested(QPoint globalPosition);

private:
    Placement placement_;
    QWidget* dragBar_ = nullptr;
};

class ColorButton : public QToolButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);

    ColorValue selectedColor() const { return color_; }
    // Raises colorChanged when `color` differs from the selected colour, whoever sets it.
    void setSelectedColor(ColorValue color);

    // What the default colour (clDefault) is drawn as on the face: clWindowText for a text colour,
    // clWindow for a back colour.
    ColorValue automaticColor() const { return automatic_; }
    void setAutomaticColor(ColorValue meaning);

    // A letter or two drawn above a colour bar on the face ("A" for a text colour); without one the
    // whole face shows the colour.
    void setGlyph(const QString& glyph);

    // The palette that the arrow drops down, and the torn-off one (nullptr until torn off).
    ColorPalette* dropDownPalette() const { return dropDown_; }
    ColorPalette* floatingPalette() const { return floating_; }
    // Drops the palette down below the button (what the arrow does).
    void showDropDown();
    // Tears the palette off into a floating window whose drag bar lies under `globalPosition`.
    void tearOff(QPoint globalPosition);

signals:
    void colorChanged(platform::ColorValue color);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void connectPalette(ColorPalette* palette);
    void chooseFromDialog();
    void updateFace();

    ColorValue color_ = clBlack;
    ColorValue automatic_ = clWindowText;
    QString glyph_;
    QMenu* menu_ = nullptr;
    ColorPalette* dropDown_ = nullptr;
    QPointer<ColorPalette> floating_;
};

}  // namespace platform
