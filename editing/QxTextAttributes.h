#pragma once
// Character attributes of the editor's text, in the program's units: sizes in points (20 twips),
// colours as colour values, styles as a small set. Every read asks the engine anew and every write
// sends one record with exactly the mask bits of the attribute; nothing is cached. Without an engine
// window, reads see a cleared record and writes are dropped.

#include "platform/colorvalue.h"
#include "platform/richedit/records.h"

#include <QFlags>
#include <QString>

#include <cstdint>

class QFont;
class TQxRichEdit;

enum class TFontStyle : unsigned { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

enum class TFontPitch { Default, Variable, Fixed };
enum class TSubscriptStyle { None = 0, Subscript = 1, Superscript = 2 };

// Which character format an accessor speaks for; the values are the engine's scope flags.
enum class TAttributeKind : std::uint32_t {
    Default = richedit::SCF_DEFAULT,
    Selection = richedit::SCF_SELECTION,
    Word = richedit::SCF_WORD | richedit::SCF_SELECTION,
};

class TQxTextAttributes {
public:
    TQxTextAttributes(TQxRichEdit& owner, TAttributeKind kind);

    TAttributeKind AttributeKind() const { return kind_; }

    // Face name; a write cuts it to the record's 32 characters.
    QString Name() const;
    void SetName(const QString& name);

    // Points; reads truncate toward zero (210 twips read 10); a write beyond the record saturates.
    int Size() const;
    void SetSize(int points);

    // Screen pixels through the screen's vertical resolution read when the control was created, to the
    // nearest whole number both ways.
    int Height() const;
    void SetHeight(int pixels);

    // Bold, italic, underline and strikeout; a write sets all four at once.
    TFontStyles Style() const;
    void SetStyle(TFontStyles styles);
    // Switches one of the four styles on or off, leaving the other three as every character has them.
    void SetStyleFlag(TFontStyle style, bool on);

    // clWindowText when the colour is automatic, else the explicit colour 0x00BBGGRR. Writing
    // clWindowText or clDefault makes it automatic; any other value is stored as its RGB.
    platform::ColorValue Color() const;
    void SetColor(platform::ColorValue color);

    // clWindow when the back colour is automatic, else the explicit colour. Writing clWindow or
    // clDefault makes it automatic; any other value is stored as its RGB.
    platform::ColorValue BackColor() const;
    void SetBackColor(platform::ColorValue color);

    std::uint8_t Charset() const;
    void SetCharset(std::uint8_t charset);

    TFontPitch Pitch() const;

    TSubscriptStyle SubscriptStyle() const;
    void SetSubscriptStyle(TSubscriptStyle style);  // None clears both sub- and superscript

    // The engine's underline type code (0 none, 1 single, 4 dotted, 6 dash-dot, 8 wave, ...); 0 while
    // the text is not underlined. A non-zero write underlines and keeps the underline colour.
    int UnderlineType() const;
    void SetUnderlineType(int type);
    // Underline colour index 0..15 (the high four bits of the type): 0 unless the text is underlined
    // with one consistent type. A write keeps the type.
    int UnderlineColor() const;
    void SetUnderlineColor(int index);

    // Copy from a font: face, size, colour (automatic for clWindowText and clDefault), the four styles,
    // character set, pitch (explicitly fixed or variable, else default) and weight, in one record.
    void Assign(const QFont& font, platform::ColorValue color = platform::clWindowText,
                std::uint8_t charset = richedit::DEFAULT_CHARSET);
    // Copy from another accessor: its whole record, with the fields its engine reported, in one write.
    void Assign(const TQxTextAttributes& source);
    // Copy to a font: face, size (when positive), the four styles and an explicit pitch.
    void AssignTo(QFont& font) const;

    // The record as the engine reports it for this kind (cleared without an engine window).
    richedit::CHARFORMAT2 GetAttributes() const;
    // Sends `format` for this kind when an engine window exists; nothing otherwise.
    void SetAttributes(const richedit::CHARFORMAT2& format);

private:
    TQxRichEdit& owner_;
    TAttributeKind kind_;
};
