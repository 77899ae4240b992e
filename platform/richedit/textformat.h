#pragma once
// How the engine keeps its records in the QTextDocument it owns.
//
// The records (CHARFORMAT2, PARAFORMAT2) are the truth: every field is stored as a custom property
// in twips, so a record written and read back is exact, and the Qt properties that QTextDocument
// lays out and draws with are derived from them here, in one place. Layout units are pixels at
// 96 dpi (one pixel is 15 twips); zoom and printer resolution are a scale applied when painting.
//
// Conventions the engine, the RTF reader/writer and the clipboard share:
// - automatic text colour: no foreground brush; automatic back colour: no background brush;
// - a link (CFE_LINK, a HYPERLINK field): an anchor with its target in the anchor href;
// - a picture: one object character, a QTextImageFormat whose name is a document image resource,
//   with the original bytes and their format kept so that saving writes what was loaded.

#include "platform/richedit/records.h"

#include <QByteArray>
#include <QString>
#include <QTextFormat>

class QTextDocument;
class QTextCursor;
class QImage;

namespace richedit {

inline constexpr double kTwipsPerLayoutPixel = 15.0;  // 1440 twips per inch / 96 pixels per inch

// Custom QTextFormat properties (QTextFormat::UserProperty + n).
enum FormatProperty : int {
    // character
    PropCharSet = QTextFormat::UserProperty + 1,
    PropPitchAndFamily,
    PropUnderlineType,
    PropYOffset,
    PropHeightTwips,
    PropCharEffects,  // the kStoredCharEffects bits of dwEffects
    PropHiddenStrikeOut,   // CFE_STRIKEOUT of hidden text, which Qt must not draw
    PropStoredForeground,  // QBrush: the text colour while Qt draws another (hidden, outline); NoBrush: automatic
    // paragraph (twips unless noted)
    PropStartIndent = QTextFormat::UserProperty + 20,
    PropRightIndent,
    PropOffset,
    PropSpaceBefore,
    PropSpaceAfter,
    PropLineSpacing,
    PropLineSpacingRule,
    PropNumbering,
    PropNumberingStart,
    PropNumberingStyle,
    PropNumberingTab,
    PropTabs,  // QList<int> of twips
    PropParaAlignment,  // wAlignment as stored (1..4)
    PropParaEffects,    // wEffects
    PropStyle,          // sStyle
    PropOutlineLevel,   // bOutlineLevel
    PropBorders,        // wBorders
    PropBorderWidth,    // wBorderWidth
    PropBorderSpace,    // wBorderSpace
    PropShadingWeight,  // wShadingWeight
    PropShadingStyle,   // wShadingStyle
    // picture
    PropPictureData = QTextFormat::UserProperty + 40,  // QByteArray, the original bytes
    PropPictureFormat,                                   // QString: "png", "jpeg", "dib", "wmf", "emf", "bmp"
    PropPictureWidthTwips,                               // displayed size
    PropPictureHeightTwips,
};

// ---- character formats --------------------------------------------------------------------

// Writes the fields of `cf` that its dwMask names onto `format`, and only those.
void applyCharFormat(const CHARFORMAT2& cf, QTextCharFormat& format);

// Reads a complete record from `format`; every mask bit is set (one format is consistent).
// `fallback` supplies face and size where `format` has none (the document's default font).
CHARFORMAT2 charFormatFrom(const QTextCharFormat& format, const CHARFORMAT2& fallback);

// Clears the mask bits of `acc` whose fields differ in `next`: how a mixed selection is reported.
void intersectCharFormat(CHARFORMAT2& acc, const CHARFORMAT2& next);

QString faceName(const CHARFORMAT2& cf);
void setFaceName(CHARFORMAT2& cf, const QString& name);  // cut to 32 characters

// ---- paragraph formats ----------------------------------------------------------------------

// Writes the fields of `pf` that its dwMask names onto `format` and re-derives Qt's geometry.
void applyParaFormat(const PARAFORMAT2& pf, QTextBlockFormat& format);

// Reads a complete record from `format` (every mask bit set).
PARAFORMAT2 paraFormatFrom(const QTextBlockFormat& format);

// Whether the paragraph is a table row (PFE_TABLE).
bool isTableRow(const QTextBlockFormat& format);

void intersectParaFormat(PARAFORMAT2& acc, const PARAFORMAT2& next);

// ---- colours --------------------------------------------------------------------------------

COLORREF colorRefFrom(const QColor& color);
QColor colorFromRef(COLORREF ref);

// ---- pictures -------------------------------------------------------------------------------

struct Picture {
    QByteArray data;    // the original bytes (a PNG or JPEG file, a DIB, a metafile)
    QString format;     // "png", "jpeg", "dib", "bmp", "wmf", "emf"
    int widthTwips = 0;   // displayed size
    int heightTwips = 0;
};

// Inserts `picture` as one object character at the cursor, decoded by `image` (a null image keeps
// the place and size as an empty frame).
void insertPicture(QTextCursor& cursor, const Picture& picture, const QImage& image);

// The picture stored in `format`, when it is one of ours.
bool pictureFromFormat(const QTextFormat& format, Picture& picture);

}  // namespace richedit
