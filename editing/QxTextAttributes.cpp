#include "editing/QxTextAttributes.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "platform/richedit/textformat.h"

#include <QFont>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace richedit;
using platform::ColorValue;

namespace {

constexpr int kTwipsPerPoint = 20;
constexpr std::uint32_t kStyleBits = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;

// value × numerator ÷ denominator to the nearest whole number, halves away from zero.
int mulDiv(int value, int numerator, int denominator) {
    if (denominator == 0) return -1;
    return int(std::lround(double(value) * numerator / denominator));
}

CHARFORMAT2 record(std::uint32_t mask) {
    CHARFORMAT2 cf{};
    cf.dwMask = mask;
    return cf;
}

}  // namespace

TQxTextAttributes::TQxTextAttributes(TQxRichEdit& owner, TAttributeKind kind) : owner_(owner), kind_(kind) {}

CHARFORMAT2 TQxTextAttributes::GetAttributes() const {
    if (const Engine* engine = owner_.EngineWindow()) return engine->getCharFormat(std::uint32_t(kind_));
    return CHARFORMAT2{};
}

void TQxTextAttributes::SetAttributes(const CHARFORMAT2& format) {
    if (Engine* engine = owner_.EngineWindow()) engine->setCharFormat(std::uint32_t(kind_), format);
}

QString TQxTextAttributes::Name() const { return faceName(GetAttributes()); }

void TQxTextAttributes::SetName(const QString& name) {
    CHARFORMAT2 cf = record(CFM_FACE);
    setFaceName(cf, name);
    SetAttributes(cf);
}

int TQxTextAttributes::Size() const { return GetAttributes().yHeight / kTwipsPerPoint; }

void TQxTextAttributes::SetSize(int points) {
    CHARFORMAT2 cf = record(CFM_SIZE);
    // A size beyond what the record holds saturates instead of wrapping round to a negative height.
    cf.yHeight = std::int32_t(std::clamp<std::int64_t>(std::int64_t(points) * kTwipsPerPoint,
                                                       std::numeric_limits<std::int32_t>::min(),
                                                       std::numeric_limits<std::int32_t>::max()));
    SetAttributes(cf);
}

int TQxTextAttributes::Height() const { return mulDiv(Size(), owner_.ScreenLogPixels(), 72); }

void TQxTextAttributes::SetHeight(int pixels) { SetSize(mulDiv(pixels, 72, owner_.ScreenLogPixels())); }

TFontStyles TQxTextAttributes::Style() const {
    return TFontStyles::fromInt(int(GetAttributes().dwEffects & kStyleBits));
}

void TQxTextAttributes::SetStyle(TFontStyles styles) {
    CHARFORMAT2 cf = record(kStyleBits);
    cf.dwEffects = std::uint32_t(styles.toInt()) & kStyleBits;
    SetAttributes(cf);
}

void TQxTextAttributes::SetStyleFlag(TFontStyle style, bool on) {
    const std::uint32_t bit = std::uint32_t(style) & kStyleBits;  // the style bits are the engine's mask bits
    CHARFORMAT2 cf = record(bit);
    cf.dwEffects = on ? bit : 0;
    SetAttributes(cf);
}

ColorValue TQxTextAttributes::Color() const {
    const CHARFORMAT2 cf = GetAttributes();
    return (cf.dwEffects & CFE_AUTOCOLOR) ? platform::clWindowText : ColorValue(cf.crTextColor);
}

void TQxTextAttributes::SetColor(ColorValue color) {
    CHARFORMAT2 cf = record(CFM_COLOR);
    if (color == platform::clWindowText || color == platform::clDefault) cf.dwEffects = CFE_AUTOCOLOR;
    else cf.crTextColor = platform::rgbOf(color);
    SetAttributes(cf);
}

ColorValue TQxTextAttributes::BackColor() const {
    const CHARFORMAT2 cf = GetAttributes();
    return (cf.dwEffects & CFE_AUTOBACKCOLOR) ? platform::clWindow : ColorValue(cf.crBackColor);
}

void TQxTextAttributes::SetBackColor(ColorValue color) {
    CHARFORMAT2 cf = record(CFM_BACKCOLOR);
    if (color == platform::clWindow || color == platform::clDefault) cf.dwEffects = CFE_AUTOBACKCOLOR;
    else cf.crBackColor = platform::rgbOf(color, platform::clWindow);
    SetAttributes(cf);
}

std::uint8_t TQxTextAttributes::Charset() const { return GetAttributes().bCharSet; }

void TQxTextAttributes::SetCharset(std::uint8_t charset) {
    CHARFORMAT2 cf = record(CFM_CHARSET);
    cf.bCharSet = charset;
    SetAttributes(cf);
}

TFontPitch TQxTextAttributes::Pitch() const {
    switch (GetAttributes().bPitchAndFamily & 0x03) {
    case FIXED_PITCH: return TFontPitch::Fixed;
    case VARIABLE_PITCH: return TFontPitch::Variable;
    default: return TFontPitch::Default;
    }
}

TSubscriptStyle TQxTextAttributes::SubscriptStyle() const {
    const std::uint32_t effects = GetAttributes().dwEffects;
    if (effects & CFE_SUBSCRIPT) return TSubscriptStyle::Subscript;
    if (effects & CFE_SUPERSCRIPT) return TSubscriptStyle::Superscript;
    return TSubscriptStyle::None;
}

void TQxTextAttributes::SetSubscriptStyle(TSubscriptStyle style) {
    CHARFORMAT2 cf = record(CFM_SUBSCRIPT | CFM_SUPERSCRIPT);
    if (style == TSubscriptStyle::Subscript) cf.dwEffects = CFE_SUBSCRIPT;
    else if (style == TSubscriptStyle::Superscript) cf.dwEffects = CFE_SUPERSCRIPT;
    SetAttributes(cf);
}

int TQxTextAttributes::UnderlineType() const {
    const CHARFORMAT2 cf = GetAttributes();
    if (!(cf.dwEffects & CFE_UNDERLINE)) return CFU_UNDERLINENONE;
    const int type = cf.bUnderlineType & 0x0F;
    return type == CFU_UNDERLINENONE ? CFU_UNDERLINE : type;
}

int TQxTextAttributes::UnderlineColor() const {
    const CHARFORMAT2 cf = GetAttributes();
    if (!(cf.dwEffects & CFE_UNDERLINE) || !(cf.dwMask & CFM_UNDERLINETYPE)) return 0;
    return cf.bUnderlineType >> 4;
}

void TQxTextAttributes::SetUnderlineType(int type) {
    CHARFORMAT2 cf = record(CFM_UNDERLINETYPE | CFM_UNDERLINE);
    if (type != CFU_UNDERLINENONE) {
        cf.bUnderlineType = std::uint8_t((type & 0x0F) | (UnderlineColor() << 4));
        cf.dwEffects = CFE_UNDERLINE;
    }
    SetAttributes(cf);
}

void TQxTextAttributes::SetUnderlineColor(int index) {
    const int type = UnderlineType();
    CHARFORMAT2 cf = record(CFM_UNDERLINETYPE | CFM_UNDERLINE);
    if (type != CFU_UNDERLINENONE) {
        cf.bUnderlineType = std::uint8_t(type | ((index & 0x0F) << 4));
        cf.dwEffects = CFE_UNDERLINE;
    }
    SetAttributes(cf);
}

void TQxTextAttributes::Assign(const QFont& font, ColorValue color, std::uint8_t charset) {
    CHARFORMAT2 cf = record(CFM_FACE | CFM_SIZE | CFM_COLOR | kStyleBits | CFM_CHARSET | CFM_WEIGHT);
    setFaceName(cf, font.family());
    if (font.pointSizeF() > 0) cf.yHeight = int(std::lround(font.pointSizeF() * kTwipsPerPoint));
    else cf.yHeight = mulDiv(font.pixelSize() * kTwipsPerPoint, 72, owner_.ScreenLogPixels());
    if (color == platform::clWindowText || color == platform::clDefault) cf.dwEffects |= CFE_AUTOCOLOR;
    else cf.crTextColor = platform::rgbOf(color);
    if (font.bold()) cf.dwEffects |= CFE_BOLD;
    if (font.italic()) cf.dwEffects |= CFE_ITALIC;
    if (font.underline()) cf.dwEffects |= CFE_UNDERLINE;
    if (font.strikeOut()) cf.dwEffects |= CFE_STRIKEOUT;
    cf.bCharSet = charset;
    // A font that never chose its pitch keeps the default pitch.
    if (font.resolveMask() & QFont::FixedPitchResolved) cf.bPitchAndFamily = font.fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH;
    else cf.bPitchAndFamily = DEFAULT_PITCH;
    cf.wWeight = std::uint16_t(font.weight());
    SetAttributes(cf);
}

void TQxTextAttributes::Assign(const TQxTextAttributes& source) {
    if (&source == this) return;
    SetAttributes(source.GetAttributes());
}

void TQxTextAttributes::AssignTo(QFont& font) const {
    const CHARFORMAT2 cf = GetAttributes();
    font.setFamily(faceName(cf));
    if (const int points = cf.yHeight / kTwipsPerPoint; points > 0) font.setPointSize(points);
    font.setBold(cf.dwEffects & CFE_BOLD);
    font.setItalic(cf.dwEffects & CFE_ITALIC);
    font.setUnderline(cf.dwEffects & CFE_UNDERLINE);
    font.setStrikeOut(cf.dwEffects & CFE_STRIKEOUT);
    switch (cf.bPitchAndFamily & 0x03) {
    case FIXED_PITCH: font.setFixedPitch(true); break;
    case VARIABLE_PITCH: font.setFixedPitch(false); break;
    default: break;
    }
}
