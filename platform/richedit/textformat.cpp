#include "platform/richedit/textformat.h"

#include "platform/richedit/underlinecolors.h"

#include <QAtomicInt>
#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>

#include <algorithm>

namespace richedit {

namespace {

constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;

qreal toLayout(int twips) { return twips / kTwipsPerLayoutPixel; }

int intProp(const QTextFormat& f, int prop, int fallback = 0) {
    return f.hasProperty(prop) ? f.intProperty(prop) : fallback;
}

QTextCharFormat::UnderlineStyle qtUnderline(std::uint8_t type) {
    switch (type & 0x0F) {
    case CFU_UNDERLINENONE: return QTextCharFormat::NoUnderline;
    case CFU_UNDERLINEDOTTED: return QTextCharFormat::DotLine;
    case CFU_UNDERLINEDASH: return QTextCharFormat::DashUnderline;
    case CFU_UNDERLINEDASHDOT: return QTextCharFormat::DashDotLine;
    case CFU_UNDERLINEDASHDOTDOT: return QTextCharFormat::DashDotDotLine;
    case CFU_UNDERLINEWAVE: return QTextCharFormat::WaveUnderline;
    default: return QTextCharFormat::SingleUnderline;
    }
}

std::uint8_t underlineTypeFromQt(const QTextCharFormat& f) {
    if (f.hasProperty(PropUnderlineType)) return static_cast<std::uint8_t>(f.intProperty(PropUnderlineType));
    switch (f.underlineStyle()) {
    case QTextCharFormat::NoUnderline: return CFU_UNDERLINENONE;
    case QTextCharFormat::DotLine: return CFU_UNDERLINEDOTTED;
    case QTextCharFormat::DashUnderline: return CFU_UNDERLINEDASH;
    case QTextCharFormat::DashDotLine: return CFU_UNDERLINEDASHDOT;
    case QTextCharFormat::DashDotDotLine: return CFU_UNDERLINEDASHDOTDOT;
    case QTextCharFormat::WaveUnderline: return CFU_UNDERLINEWAVE;
    default: return CFU_UNDERLINE;
    }
}

void setUnderline(QTextCharFormat& format, std::uint8_t type) {
    format.setProperty(PropUnderlineType, int(type));
    format.setUnderlineStyle(qtUnderline(type));
}

// Hidden text stays in the text but is laid out at a size that takes no room, in no colour.
constexpr qreal kHiddenPointSize = 0.01;
// Small capitals are drawn as capitals of this size: Qt's own small capitals print at the wrong size.
constexpr qreal kSmallCapsScale = 0.8;

// How the effects without a Qt property of their own look, from the stored record (which keeps
// the size in PropHeightTwips, the colour in PropStoredForeground and the strike-out of hidden text
// in PropHiddenStrikeOut). Shadow, emboss and imprint have no Qt counterpart and show as plain text.
void deriveCharLook(QTextCharFormat& f) {
    const int effects = intProp(f, PropCharEffects);
    const bool hidden = effects & CFE_HIDDEN;
    const bool smallCaps = (effects & CFE_SMALLCAPS) && !(effects & CFE_ALLCAPS);
    if (effects & (CFE_ALLCAPS | CFE_SMALLCAPS)) f.setFontCapitalization(QFont::AllUppercase);
    else f.clearProperty(QTextFormat::FontCapitalization);

    // The size Qt lays out with follows from the stored one.
    if (!f.hasProperty(PropHeightTwips) && f.fontPointSize() > 0 && (hidden || smallCaps))
        f.setProperty(PropHeightTwips, qRound(f.fontPointSize() * 20));
    if (f.hasProperty(PropHeightTwips)) {
        const qreal points = f.intProperty(PropHeightTwips) / 20.0;
        f.setFontPointSize(hidden ? kHiddenPointSize : smallCaps ? points * kSmallCapsScale : points);
    } else if (hidden) {
        f.setFontPointSize(kHiddenPointSize);  // of the default size
    } else if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() == kHiddenPointSize) {
        f.clearProperty(QTextFormat::FontPointSize);
    }

    const int colour = (intProp(f, PropUnderlineType) >> 4) & 0x0F;
    if (colour) f.setUnderlineColor(colorFromRef(kUnderlineColors[std::size_t(colour)]));
    else f.clearProperty(QTextFormat::TextUnderlineColor);

    // Hidden text draws in no colour; outlined letters are hollow, their outline in the text colour.
    const bool ownColour = hidden || (effects & CFE_OUTLINE);
    if (ownColour && !f.hasProperty(PropStoredForeground))
        f.setProperty(PropStoredForeground, f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground() : QBrush());
    if (!ownColour && f.hasProperty(PropStoredForeground)) {
        const QBrush kept = qvariant_cast<QBrush>(f.property(PropStoredForeground));
        if (kept.style() == Qt::NoBrush) f.clearForeground();
        else f.setForeground(kept);
        f.clearProperty(PropStoredForeground);
    }
    if (ownColour) f.setForeground(Qt::transparent);

    if (hidden) {
        f.setFontLetterSpacingType(QFont::PercentageSpacing);
        f.setFontLetterSpacing(0);
        if (!f.hasProperty(PropUnderlineType)) f.setProperty(PropUnderlineType, int(underlineTypeFromQt(f)));
        f.setUnderlineStyle(QTextCharFormat::NoUnderline);
        if (f.fontStrikeOut()) f.setProperty(PropHiddenStrikeOut, true);
        f.setFontStrikeOut(false);
        f.clearProperty(QTextFormat::TextOutline);
        return;
    }
    f.clearProperty(QTextFormat::FontLetterSpacingType);
    f.clearProperty(QTextFormat::FontLetterSpacing);
    if (f.hasProperty(PropUnderlineType)) f.setUnderlineStyle(qtUnderline(std::uint8_t(f.intProperty(PropUnderlineType))));
    if (f.boolProperty(PropHiddenStrikeOut)) f.setFontStrikeOut(true);
    f.clearProperty(PropHiddenStrikeOut);

    if (effects & CFE_OUTLINE) {
        const QBrush text = qvariant_cast<QBrush>(f.property(PropStoredForeground));
        const QColor pen = text.style() != Qt::NoBrush ? text.color() : QColor(Qt::black);
        f.setTextOutline(QPen(pen, 0.6));
        if (!colour) f.setUnderlineColor(pen);  // an underline takes the text's colour, not the hollow
    } else {
        f.clearProperty(QTextFormat::TextOutline);
    }
}

Qt::Alignment qtAlignment(std::uint16_t a) {
    switch (a) {
    case PFA_RIGHT: return Qt::AlignRight | Qt::AlignAbsolute;
    case PFA_CENTER: return Qt::AlignHCenter;
    case PFA_JUSTIFY: return Qt::AlignJustify;
    default: return Qt::AlignLeft | Qt::AlignAbsolute;
    }
}

std::uint16_t alignmentFromQt(Qt::Alignment a) {
    if (a & Qt::AlignRight) return PFA_RIGHT;
    if (a & Qt::AlignHCenter) return PFA_CENTER;
    if (a & Qt::AlignJustify) return PFA_JUSTIFY;
    return PFA_LEFT;
}

// Qt's geometry follows from the stored record; called after every paragraph write.
void deriveBlockGeometry(QTextBlockFormat& f) {
    const int start = intProp(f, PropStartIndent);
    const int offset = intProp(f, PropOffset);
    const int numbering = intProp(f, PropNumbering);
    f.setLeftMargin(toLayout(start + offset));
    // A numbered paragraph draws its number at the start indent; all its lines start after it.
    f.setTextIndent(numbering ? 0.0 : toLayout(-offset));
    f.setRightMargin(toLayout(intProp(f, PropRightIndent)));
    f.setTopMargin(toLayout(intProp(f, PropSpaceBefore)));
    f.setBottomMargin(toLayout(intProp(f, PropSpaceAfter)));

    const int value = intProp(f, PropLineSpacing);
    switch (intProp(f, PropLineSpacingRule)) {
    case LS_ONEANDHALF: f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); break;
    case LS_DOUBLE: f.setLineHeight(200, QTextBlockFormat::ProportionalHeight); break;
    case LS_ATLEAST:
        if (value > 0) f.setLineHeight(toLayout(value), QTextBlockFormat::MinimumHeight);
        else f.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    case LS_EXACTLY:
        if (value > 0) f.setLineHeight(toLayout(value), QTextBlockFormat::FixedHeight);
        else f.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    case LS_MULTIPLE:
        if (value > 0) f.setLineHeight(value * 100.0 / 20.0, QTextBlockFormat::ProportionalHeight);
        else f.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    default: f.setLineHeight(0, QTextBlockFormat::SingleHeight); break;
    }

    QList<QTextOption::Tab> tabs;
    for (const QVariant& v : f.property(PropTabs).toList()) tabs.append(QTextOption::Tab(toLayout(v.toInt()), QTextOption::LeftTab));
    f.setTabPositions(tabs);  // of a table row: its cells' right edges

    if (intProp(f, PropParaEffects) & PFE_TABLE) {
        // A table row's indents and spacing describe its cells (left edge, gap, row height), not its
        // lines: the layout places the cells from the record, and the lines in them are single spaced.
        // Space before and after the paragraph is room inside its cells.
        f.setLeftMargin(0);
        f.setTopMargin(0);
        f.setBottomMargin(0);
        f.setTextIndent(0);
        f.setRightMargin(0);
        f.setLineHeight(0, QTextBlockFormat::SingleHeight);
    }
}

}  // namespace

QString faceName(const CHARFORMAT2& cf) {
    const auto end = std::find(cf.szFaceName.begin(), cf.szFaceName.end(), u'\0');
    return QString::fromUtf16(cf.szFaceName.data(), end - cf.szFaceName.begin());
}

void setFaceName(CHARFORMAT2& cf, const QString& name) {
    cf.szFaceName.fill(u'\0');
    const qsizetype n = std::min<qsizetype>(name.size(), LF_FACESIZE);
    for (qsizetype i = 0; i < n; ++i) cf.szFaceName[i] = name[i].unicode();
}

COLORREF colorRefFrom(const QColor& c) {
    return COLORREF(c.red()) | (COLORREF(c.green()) << 8) | (COLORREF(c.blue()) << 16);
}

QColor colorFromRef(COLORREF ref) { return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }

void applyCharFormat(const CHARFORMAT2& cf, QTextCharFormat& f) {
    const std::uint32_t m = cf.dwMask;
    const std::uint32_t e = cf.dwEffects;
    if (m & CFM_FACE) {
        f.setFontFamilies(QStringList{faceName(cf)});
        f.setProperty(PropPitchAndFamily, int(cf.bPitchAndFamily));
    }
    if (m & CFM_SIZE) {
        f.setProperty(PropHeightTwips, int(cf.yHeight));
        f.setFontPointSize(cf.yHeight / 20.0);
    }
    if (m & CFM_BOLD) f.setFontWeight((e & CFE_BOLD) ? kBoldWeight : kNormalWeight);
    if (m & CFM_WEIGHT) f.setFontWeight(cf.wWeight ? std::clamp<int>(cf.wWeight, 1, 1000) : kNormalWeight);
    if (m & CFM_ITALIC) f.setFontItalic(e & CFE_ITALIC);
    if (m & CFM_STRIKEOUT) {
        f.setFontStrikeOut(e & CFE_STRIKEOUT);
        f.clearProperty(PropHiddenStrikeOut);
    }
    if (m & CFM_UNDERLINETYPE) {
        const bool off = (m & CFM_UNDERLINE) && !(e & CFE_UNDERLINE);
        setUnderline(f, off ? CFU_UNDERLINENONE : cf.bUnderlineType);
    } else if (m & CFM_UNDERLINE) {
        const std::uint8_t current = underlineTypeFromQt(f);
        if (!(e & CFE_UNDERLINE)) setUnderline(f, CFU_UNDERLINENONE);
        else if ((current & 0x0F) == CFU_UNDERLINENONE) setUnderline(f, CFU_UNDERLINE);
    }
    if (m & CFM_COLOR) {
        if (e & CFE_AUTOCOLOR) f.clearForeground();
        else f.setForeground(colorFromRef(cf.crTextColor));
        f.clearProperty(PropStoredForeground);
    }
    if (m & CFM_BACKCOLOR) {
        if (e & CFE_AUTOBACKCOLOR) f.clearBackground();
        else f.setBackground(colorFromRef(cf.crBackColor));
    }
    if (m & (CFM_SUBSCRIPT | CFM_SUPERSCRIPT)) {
        const auto current = f.verticalAlignment();
        const bool sub = (m & CFM_SUBSCRIPT) ? (e & CFE_SUBSCRIPT) : current == QTextCharFormat::AlignSubScript;
        const bool super = (m & CFM_SUPERSCRIPT) ? (e & CFE_SUPERSCRIPT) : current == QTextCharFormat::AlignSuperScript;
        f.setVerticalAlignment(sub ? QTextCharFormat::AlignSubScript
                                   : super ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal);
    }
    if (m & CFM_CHARSET) f.setProperty(PropCharSet, int(cf.bCharSet));
    if (m & CFM_OFFSET) f.setProperty(PropYOffset, int(cf.yOffset));
    if (const std::uint32_t stored = m & kStoredCharEffects) {
        const int kept = intProp(f, PropCharEffects) & ~int(stored);
        f.setProperty(PropCharEffects, kept | int(e & stored));
    }
    if (m & CFM_LINK) {
        f.setAnchor(e & CFE_LINK);
        if (!(e & CFE_LINK)) f.clearProperty(QTextFormat::AnchorHref);
    }
    if (m & (CFM_SIZE | CFM_UNDERLINE | CFM_UNDERLINETYPE | CFM_COLOR | kStoredCharEffects)) deriveCharLook(f);
}

CHARFORMAT2 charFormatFrom(const QTextCharFormat& f, const CHARFORMAT2& fallback) {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_LINK | CFM_SUBSCRIPT |
                CFM_SUPERSCRIPT | CFM_WEIGHT | CFM_UNDERLINETYPE | CFM_BACKCOLOR | CFM_CHARSET | CFM_OFFSET |
                CFM_FACE | CFM_COLOR | CFM_SIZE | kStoredCharEffects;
    const QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty()) setFaceName(cf, families.first());
    else cf.szFaceName = fallback.szFaceName;
    cf.bPitchAndFamily = std::uint8_t(intProp(f, PropPitchAndFamily, fallback.bPitchAndFamily));
    if (f.hasProperty(PropHeightTwips)) cf.yHeight = f.intProperty(PropHeightTwips);
    else if (f.fontPointSize() > 0 && f.fontPointSize() != kHiddenPointSize) cf.yHeight = qRound(f.fontPointSize() * 20);
    else cf.yHeight = fallback.yHeight;

    const int weight = f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() : kNormalWeight;
    cf.wWeight = std::uint16_t(weight);
    if (weight >= 600) cf.dwEffects |= CFE_BOLD;
    if (f.fontItalic()) cf.dwEffects |= CFE_ITALIC;
    if (f.fontStrikeOut() || f.boolProperty(PropHiddenStrikeOut)) cf.dwEffects |= CFE_STRIKEOUT;
    cf.bUnderlineType = f.underlineStyle() == QTextCharFormat::NoUnderline && !f.hasProperty(PropUnderlineType)
                            ? CFU_UNDERLINENONE
                            : underlineTypeFromQt(f);
    if (cf.bUnderlineType & 0x0F) cf.dwEffects |= CFE_UNDERLINE;
    if (f.isAnchor()) cf.dwEffects |= CFE_LINK;
    cf.dwEffects |= std::uint32_t(intProp(f, PropCharEffects)) & kStoredCharEffects;

    const bool storedColour = f.hasProperty(PropStoredForeground);
    const QBrush fg = storedColour ? qvariant_cast<QBrush>(f.property(PropStoredForeground)) : f.foreground();
    if ((!storedColour && !f.hasProperty(QTextFormat::ForegroundBrush)) || fg.style() == Qt::NoBrush)
        cf.dwEffects |= CFE_AUTOCOLOR;
    else cf.crTextColor = colorRefFrom(fg.color());
    const QBrush bg = f.background();
    if (!f.hasProperty(QTextFormat::BackgroundBrush) || bg.style() == Qt::NoBrush) cf.dwEffects |= CFE_AUTOBACKCOLOR;
    else cf.crBackColor = colorRefFrom(bg.color());

    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) cf.dwEffects |= CFE_SUBSCRIPT;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) cf.dwEffects |= CFE_SUPERSCRIPT;
    cf.bCharSet = std::uint8_t(intProp(f, PropCharSet, fallback.bCharSet));
    cf.yOffset = intProp(f, PropYOffset);
    return cf;
}

void intersectCharFormat(CHARFORMAT2& acc, const CHARFORMAT2& n) {
    auto effect = [&](std::uint32_t maskBit, std::uint32_t effectBit) {
        if ((acc.dwEffects & effectBit) != (n.dwEffects & effectBit)) acc.dwMask &= ~maskBit;
    };
    effect(CFM_BOLD, CFE_BOLD);
    effect(CFM_ITALIC, CFE_ITALIC);
    effect(CFM_UNDERLINE, CFE_UNDERLINE);
    effect(CFM_STRIKEOUT, CFE_STRIKEOUT);
    effect(CFM_LINK, CFE_LINK);
    effect(CFM_SUBSCRIPT, CFE_SUBSCRIPT);
    effect(CFM_SUPERSCRIPT, CFE_SUPERSCRIPT);
    for (std::uint32_t bit = 1; bit; bit <<= 1)
        if (bit & kStoredCharEffects) effect(bit, bit);
    if (acc.szFaceName != n.szFaceName) acc.dwMask &= ~CFM_FACE;
    if (acc.yHeight != n.yHeight) acc.dwMask &= ~CFM_SIZE;
    if (acc.wWeight != n.wWeight) acc.dwMask &= ~CFM_WEIGHT;
    if (acc.bUnderlineType != n.bUnderlineType) acc.dwMask &= ~CFM_UNDERLINETYPE;
    if (acc.bCharSet != n.bCharSet) acc.dwMask &= ~CFM_CHARSET;
    if (acc.yOffset != n.yOffset) acc.dwMask &= ~CFM_OFFSET;
    if ((acc.dwEffects & CFE_AUTOCOLOR) != (n.dwEffects & CFE_AUTOCOLOR) || acc.crTextColor != n.crTextColor)
        acc.dwMask &= ~CFM_COLOR;
    if ((acc.dwEffects & CFE_AUTOBACKCOLOR) != (n.dwEffects & CFE_AUTOBACKCOLOR) || acc.crBackColor != n.crBackColor)
        acc.dwMask &= ~CFM_BACKCOLOR;
}

void applyParaFormat(const PARAFORMAT2& pf, QTextBlockFormat& f) {
    const std::uint32_t m = pf.dwMask;
    if (m & PFM_STARTINDENT) f.setProperty(PropStartIndent, int(pf.dxStartIndent));
    if (m & PFM_OFFSETINDENT) f.setProperty(PropStartIndent, intProp(f, PropStartIndent) + pf.dxStartIndent);
    if (m & PFM_RIGHTINDENT) f.setProperty(PropRightIndent, int(pf.dxRightIndent));
    if (m & PFM_OFFSET) f.setProperty(PropOffset, int(pf.dxOffset));
    if (m & PFM_ALIGNMENT) {
        const std::uint16_t a = (pf.wAlignment >= PFA_LEFT && pf.wAlignment <= PFA_JUSTIFY) ? pf.wAlignment : PFA_LEFT;
        f.setProperty(PropParaAlignment, int(a));
        f.setAlignment(qtAlignment(a));
    }
    if (m & PFM_TABSTOPS) {
        QVariantList tabs;
        for (int i = 0; i < std::clamp<int>(pf.cTabCount, 0, MAX_TAB_STOPS); ++i) tabs.append(pf.rgxTabs[i]);
        f.setProperty(PropTabs, tabs);
    }
    if (m & PFM_NUMBERING) f.setProperty(PropNumbering, int(pf.wNumbering));
    if (m & PFM_SPACEBEFORE) f.setProperty(PropSpaceBefore, int(pf.dySpaceBefore));
    if (m & PFM_SPACEAFTER) f.setProperty(PropSpaceAfter, int(pf.dySpaceAfter));
    if (m & PFM_LINESPACING) {
        f.setProperty(PropLineSpacing, int(pf.dyLineSpacing));
        f.setProperty(PropLineSpacingRule, int(pf.bLineSpacingRule));
    }
    if (m & PFM_NUMBERINGSTYLE) f.setProperty(PropNumberingStyle, int(pf.wNumberingStyle));
    if (m & PFM_NUMBERINGSTART) f.setProperty(PropNumberingStart, int(pf.wNumberingStart));
    if (m & PFM_NUMBERINGTAB) f.setProperty(PropNumberingTab, int(pf.wNumberingTab));
    if (m & PFM_TABLE) f.setProperty(PropParaEffects, (intProp(f, PropParaEffects) & ~PFE_TABLE) | (pf.wEffects & PFE_TABLE));
    if (m & PFM_STYLE) f.setProperty(PropStyle, int(pf.sStyle));
    if (m & PFM_OUTLINELEVEL) f.setProperty(PropOutlineLevel, int(pf.bOutlineLevel));
    if (m & PFM_BORDER) {
        f.setProperty(PropBorders, int(pf.wBorders));
        f.setProperty(PropBorderWidth, int(pf.wBorderWidth));
        f.setProperty(PropBorderSpace, int(pf.wBorderSpace));
    }
    if (m & PFM_SHADING) {
        f.setProperty(PropShadingWeight, int(pf.wShadingWeight));
        f.setProperty(PropShadingStyle, int(pf.wShadingStyle));
    }
    deriveBlockGeometry(f);
}

PARAFORMAT2 paraFormatFrom(const QTextBlockFormat& f) {
    PARAFORMAT2 pf;
    pf.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING |
                PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING | PFM_NUMBERINGSTYLE | PFM_NUMBERINGTAB |
                PFM_NUMBERINGSTART | PFM_TABLE | PFM_STYLE | PFM_OUTLINELEVEL | PFM_BORDER | PFM_SHADING;
    pf.wNumbering = std::uint16_t(intProp(f, PropNumbering));
    pf.wEffects = std::uint16_t(intProp(f, PropParaEffects));
    pf.sStyle = std::int16_t(intProp(f, PropStyle));
    pf.bOutlineLevel = std::uint8_t(intProp(f, PropOutlineLevel));
    pf.wBorders = std::uint16_t(intProp(f, PropBorders));
    pf.wBorderWidth = std::uint16_t(intProp(f, PropBorderWidth));
    pf.wBorderSpace = std::uint16_t(intProp(f, PropBorderSpace));
    pf.wShadingWeight = std::uint16_t(intProp(f, PropShadingWeight));
    pf.wShadingStyle = std::uint16_t(intProp(f, PropShadingStyle));
    pf.dxStartIndent = intProp(f, PropStartIndent);
    pf.dxRightIndent = intProp(f, PropRightIndent);
    pf.dxOffset = intProp(f, PropOffset);
    pf.wAlignment = f.hasProperty(PropParaAlignment) ? std::uint16_t(f.intProperty(PropParaAlignment))
                                                     : alignmentFromQt(f.alignment());
    const QVariantList tabs = f.property(PropTabs).toList();
    pf.cTabCount = std::int16_t(std::min<qsizetype>(tabs.size(), MAX_TAB_STOPS));
    for (int i = 0; i < pf.cTabCount; ++i) pf.rgxTabs[i] = tabs[i].toInt();
    pf.dySpaceBefore = intProp(f, PropSpaceBefore);
    pf.dySpaceAfter = intProp(f, PropSpaceAfter);
    pf.dyLineSpacing = intProp(f, PropLineSpacing);
    pf.bLineSpacingRule = std::uint8_t(intProp(f, PropLineSpacingRule));
    pf.wNumberingStart = std::uint16_t(intProp(f, PropNumberingStart, 1));
    pf.wNumberingStyle = std::uint16_t(intProp(f, PropNumberingStyle));
    pf.wNumberingTab = std::uint16_t(intProp(f, PropNumberingTab));
    return pf;
}

void intersectParaFormat(PARAFORMAT2& acc, const PARAFORMAT2& n) {
    auto field = [&](bool differs, std::uint32_t bit) {
        if (differs) acc.dwMask &= ~bit;
    };
    field(acc.wNumbering != n.wNumbering, PFM_NUMBERING);
    field(acc.dxStartIndent != n.dxStartIndent, PFM_STARTINDENT);
    field(acc.dxRightIndent != n.dxRightIndent, PFM_RIGHTINDENT);
    field(acc.dxOffset != n.dxOffset, PFM_OFFSET);
    field(acc.wAlignment != n.wAlignment, PFM_ALIGNMENT);
    field(acc.cTabCount != n.cTabCount || acc.rgxTabs != n.rgxTabs, PFM_TABSTOPS);
    field(acc.dySpaceBefore != n.dySpaceBefore, PFM_SPACEBEFORE);
    field(acc.dySpaceAfter != n.dySpaceAfter, PFM_SPACEAFTER);
    field(acc.dyLineSpacing != n.dyLineSpacing || acc.bLineSpacingRule != n.bLineSpacingRule, PFM_LINESPACING);
    field(acc.wNumberingStyle != n.wNumberingStyle, PFM_NUMBERINGSTYLE);
    field(acc.wNumberingStart != n.wNumberingStart, PFM_NUMBERINGSTART);
    field(acc.wNumberingTab != n.wNumberingTab, PFM_NUMBERINGTAB);
    field(acc.wEffects != n.wEffects, PFM_TABLE);
    field(acc.sStyle != n.sStyle, PFM_STYLE);
    field(acc.bOutlineLevel != n.bOutlineLevel, PFM_OUTLINELEVEL);
    field(acc.wBorders != n.wBorders || acc.wBorderWidth != n.wBorderWidth || acc.wBorderSpace != n.wBorderSpace,
          PFM_BORDER);
    field(acc.wShadingWeight != n.wShadingWeight || acc.wShadingStyle != n.wShadingStyle, PFM_SHADING);
}

bool isTableRow(const QTextBlockFormat& format) { return intProp(format, PropParaEffects) & PFE_TABLE; }

void insertPicture(QTextCursor& cursor, const Picture& picture, const QImage& image) {
    static QAtomicInt serial;
    const QString name = QStringLiteral("qxpic:%1").arg(serial.fetchAndAddRelaxed(1));
    const int w = std::max(1, qRound(toLayout(picture.widthTwips)));
    const int h = std::max(1, qRound(toLayout(picture.heightTwips)));
    QImage shown = image;
    if (shown.isNull()) {
        // Keep the place and size of a picture we cannot decode, as an empty frame.
        shown = QImage(w, h, QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        QPainter p(&shown);
        p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        p.drawRect(0, 0, w - 1, h - 1);
    }
    cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), shown);
    QTextImageFormat f;
    f.merge(cursor.charFormat());
    f.setName(name);
    f.setWidth(w);
    f.setHeight(h);
    f.setProperty(PropPictureData, picture.data);
    f.setProperty(PropPictureFormat, picture.format);
    f.setProperty(PropPictureWidthTwips, picture.widthTwips);
    f.setProperty(PropPictureHeightTwips, picture.heightTwips);
    cursor.insertImage(f);
}

bool pictureFromFormat(const QTextFormat& format, Picture& picture) {
    if (!format.isImageFormat() || !format.hasProperty(PropPictureFormat)) return false;
    picture.data = format.property(PropPictureData).toByteArray();
    picture.format = format.stringProperty(PropPictureFormat);
    picture.widthTwips = format.intProperty(PropPictureWidthTwips);
    picture.heightTwips = format.intProperty(PropPictureHeightTwips);
    return true;
}

}  // namespace richedit
