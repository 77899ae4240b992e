#pragma once
// Colour values as the program stores and exchanges them: 32 bits, where 0x00BBGGRR is an explicit
// colour, 0xFF0000nn the system colour with index nn, and 0x20000000 the default colour whose meaning
// depends on where it is used (in character formatting: the automatic text or back colour).

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace platform {

using ColorValue = std::uint32_t;

inline constexpr ColorValue clDefault = 0x20000000;
inline constexpr ColorValue clSystemColor = 0xFF000000;

// System colours by index (the low byte of 0xFF0000nn).
inline constexpr ColorValue clScrollBar = 0xFF000000;
inline constexpr ColorValue clBackground = 0xFF000001;
inline constexpr ColorValue clActiveCaption = 0xFF000002;
inline constexpr ColorValue clInactiveCaption = 0xFF000003;
inline constexpr ColorValue clMenu = 0xFF000004;
inline constexpr ColorValue clWindow = 0xFF000005;
inline constexpr ColorValue clWindowFrame = 0xFF000006;
inline constexpr ColorValue clMenuText = 0xFF000007;
inline constexpr ColorValue clWindowText = 0xFF000008;
inline constexpr ColorValue clCaptionText = 0xFF000009;
inline constexpr ColorValue clActiveBorder = 0xFF00000A;
inline constexpr ColorValue clInactiveBorder = 0xFF00000B;
inline constexpr ColorValue clAppWorkSpace = 0xFF00000C;
inline constexpr ColorValue clHighlight = 0xFF00000D;
inline constexpr ColorValue clHighlightText = 0xFF00000E;
inline constexpr ColorValue clBtnFace = 0xFF00000F;
inline constexpr ColorValue clBtnShadow = 0xFF000010;
inline constexpr ColorValue clGrayText = 0xFF000011;
inline constexpr ColorValue clBtnText = 0xFF000012;
inline constexpr ColorValue clInactiveCaptionText = 0xFF000013;
inline constexpr ColorValue clBtnHighlight = 0xFF000014;
inline constexpr ColorValue cl3DDkShadow = 0xFF000015;
inline constexpr ColorValue cl3DLight = 0xFF000016;
inline constexpr ColorValue clInfoText = 0xFF000017;
inline constexpr ColorValue clInfoBk = 0xFF000018;
inline constexpr ColorValue clHotLight = 0xFF00001A;
inline constexpr ColorValue clGradientActiveCaption = 0xFF00001B;
inline constexpr ColorValue clGradientInactiveCaption = 0xFF00001C;
inline constexpr ColorValue clMenuHighlight = 0xFF00001D;
inline constexpr ColorValue clMenuBar = 0xFF00001E;

// A few explicit colours (0x00BBGGRR).
inline constexpr ColorValue clBlack = 0x00000000;
inline constexpr ColorValue clWhite = 0x00FFFFFF;
inline constexpr ColorValue clRed = 0x000000FF;
inline constexpr ColorValue clLime = 0x0000FF00;
inline constexpr ColorValue clBlue = 0x00FF0000;

constexpr bool isSystemColor(ColorValue value) { return (value & 0xFF000000u) == clSystemColor; }

// The colour `value` stands for, with system colours taken from `palette`. The default colour has no
// colour of its own: it resolves to an invalid QColor, which callers treat as "automatic". An unknown
// system index resolves to black, as the platform's colour query answers for it. Other high bytes
// (palette-relative forms) resolve through their low 24 bits.
QColor resolveColor(ColorValue value, const QPalette& palette);
QColor resolveColor(ColorValue value);  // with the application palette

// As above, but the default colour resolves to `defaultMeaning` (itself resolved), so the result is
// always a valid colour.
QColor resolveColor(ColorValue value, ColorValue defaultMeaning, const QPalette& palette);

// 0x00BBGGRR of the resolved colour (alpha is dropped); the default colour gives that of
// `defaultMeaning`.
std::uint32_t rgbOf(ColorValue value, ColorValue defaultMeaning = clWindowText);

// The explicit colour value of `color` (0x00BBGGRR, alpha dropped); an invalid colour gives clDefault.
ColorValue colorValueFromColor(const QColor& color);

}  // namespace platform
