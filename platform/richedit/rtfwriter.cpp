// RTF writer: document structure, paragraphs, character runs, fonts, colours and links.
#include "platform/encoding/codepage.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/rtf_charset.h"
#include "platform/richedit/rtf_writer.h"

#include <QTextFragment>

#include <algorithm>
#include <cmath>

namespace richedit {

QByteArray writeRtf(const QTextDocument& document, int from, int to, RtfObjects objects) {
    rtf::Writer writer(document, from, to, objects);
    return writer.run();
}

namespace rtf {

namespace {

const char* underlineWord(std::uint8_t type) {
    switch (type & 0x0F) {
    case CFU_UNDERLINENONE: return "ulnone";
    case CFU_UNDERLINEWORD: return "ulw";
    case CFU_UNDERLINEDOUBLE: return "uldb";
    case CFU_UNDERLINEDOTTED: return "uld";
    case CFU_UNDERLINEDASH: return "uldash";
    case CFU_UNDERLINEDASHDOT: return "uldashd";
    case CFU_UNDERLINEDASHDOTDOT: return "uldashdd";
    case CFU_UNDERLINEWAVE: return "ulwave";
    case CFU_UNDERLINETHICK: return "ulth";
    default: return "ul";
    }
}

CHARFORMAT2 documentDefault(const QTextDocument& document) {
    CHARFORMAT2 cf;
    const QFont font = document.defaultFont();
    setFaceName(cf, font.family());
    cf.yHeight = font.pointSizeF() > 0 ? qRound(font.pointSizeF() * 20) : qRound(font.pixelSize() * 15.0);
    if (cf.yHeight <= 0) cf.yHeight = 200;
    cf.bCharSet = DEFAULT_CHARSET;
    return cf;
}

}  // namespace

Writer::Writer(const QTextDocument& document, int from, int to, RtfObjects objects)
    : document_(document), objects_(objects), fallback_(documentDefault(document)), sheet_(StyleSheet::of(document)) {
    const int end = std::max(0, document.characterCount() - 1);  // the final mark is not content
    to_ = (to < 0 || to > end) ? end : to;
    from_ = std::clamp(from, 0, to_);
    // Font 0 is the document's default font, so that \deff0 names it.
    fontIndex(FontKey{faceName(fallback_), fallback_.bCharSet, fallback_.bPitchAndFamily});
    normal_.name = QStringLiteral("Normal");
    normal_.para.wAlignment = PFA_LEFT;
    normal_.chars = charFormatFrom(QTextCharFormat(), fallback_);  // the document's default font
    // A document without a style sheet and without headings is written without styles.
    styled_ = sheet_ != nullptr;
    for (QTextBlock block = document.findBlock(from_); block.isValid() && !styled_; block = block.next()) {
        styled_ = block.blockFormat().intProperty(PropOutlineLevel) > 0;
        if (block.position() + block.length() > to_) break;
    }
}

QByteArray Writer::run() {
    body_.reserve((to_ - from_) * 2 + 256);
    // The lists open where the range starts count on from the paragraphs before it.
    const QTextBlock first = document_.findBlock(from_);
    for (QTextBlock block = document_.begin(); block.isValid() && block != first; block = block.next())
        listParagraph(paraFormatFrom(block.blockFormat()), false);
    for (QTextBlock block = document_.findBlock(from_); block.isValid(); block = block.next()) {
        const bool breakInRange = block.position() + block.length() - 1 < to_;
        paragraph(block, breakInRange);
        if (!breakInRange) break;
    }
    // The last paragraph ends with a mark too; a reader takes it as the document's final mark. A
    // row's mark is \row: another \par would add an empty paragraph.
    if (!endedWithRow_) {
        word("par");
        body_.append("\r\n");
    }
    const QByteArray styles = styleSheet();
    QByteArray rtf = header(styles);
    rtf.append(body_);
    rtf.append("}\r\n");
    return rtf;
}

QByteArray Writer::header(const QByteArray& styleSheet) const {
    QByteArray h("{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1029{\\fonttbl");
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        const FontKey& f = fonts_[i];
        static const char* families[] = {"fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor"};
        const int family = (f.pitchAndFamily >> 4) & 0x0F;
        h += "{\\f" + QByteArray::number(qsizetype(i)) + '\\' + (family < 6 ? families[family] : "fnil");
        if (f.pitchAndFamily & 0x03) h += "\\fprq" + QByteArray::number(f.pitchAndFamily & 0x03);
        // No font has the default charset (fontIndex): readers take \fcharset1 as "whatever this
        // machine uses", which is not code page 1250 everywhere.
        h += "\\fcharset" + QByteArray::number(f.charset) + ' ';
        const int cp = codePageForCharset(f.charset, kDocumentCodePage);
        for (const QChar c : f.face) {
            const char16_t u = c.unicode();
            if (u >= 0x20 && u < 0x7F && u != '\\' && u != '{' && u != '}' && u != ';') {
                h += char(u);
                continue;
            }
            bool lossless = false;
            const QByteArray b = platform::encodeCodePage(QString(c), cp, &lossless);
            if (lossless && b.size() == 1 && static_cast<unsigned char>(b[0]) >= 0x80)
                h += "\\'" + QByteArray::number(static_cast<unsigned char>(b[0]), 16).rightJustified(2, '0');
            else
                h += "\\u" + QByteArray::number(std::int16_t(u)) + '?';
        }
        h += ";}";
    }
    h += "}{\\colortbl ;";
    for (const COLORREF c : colors_)
        h += "\\red" + QByteArray::number(c & 0xFF) + "\\green" + QByteArray::number((c >> 8) & 0xFF) + "\\blue" +
             QByteArray::number((c >> 16) & 0xFF) + ';';
    h += '}';
    h += styleSheet;
    h += listTables();
    h += "{\\*\\generator Quillex;}\\viewkind4\\uc1\r\n";
    return h;
}

void Writer::word(const char* control) {
    body_ += '\\';
    body_ += control;
    needDelimiter_ = true;
}

void Writer::word(const char* control, int param) {
    body_ += '\\';
    body_ += control;
    body_ += QByteArray::number(param);
    needDelimiter_ = true;
}

int Writer::fontIndex(FontKey key) {
    // The default charset is written as the document's own (see header()), so a font read back
    // with that charset is the same entry and the table does not grow with each save.
    if (key.charset == DEFAULT_CHARSET) key.charset = charsetForCodePage(kDocumentCodePage);
    const auto it = fontIndex_.find(key);
    if (it != fontIndex_.end()) return it->second;
    const int index = int(fonts_.size());
    fonts_.push_back(key);
    fontIndex_.emplace(key, index);
    return index;
}

int Writer::colorIndex(COLORREF color) {
    const auto it = std::find(colors_.begin(), colors_.end(), color);
    if (it != colors_.end()) return int(it - colors_.begin()) + 1;
    colors_.push_back(color);
    return int(colors_.size());
}

void Writer::paragraph(const QTextBlock& block, bool breakInRange) {
    const int start = std::max(from_, block.position());
    const int end = std::min(to_, block.position() + block.length() - 1);
    const bool row = isTableRow(block.blockFormat());
    if (row) rowStart(block, start, end);
    else paragraphProperties(block.blockFormat());
    bool wroteText = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int fs = std::max(start, fragment.position());
        const int fe = std::min(end, fragment.position() + fragment.length());
        if (fs >= fe) continue;
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            closeLink();
            for (int i = fs; i < fe; ++i) {
                if (objects_ == RtfObjects::Omit) {
                    // Without objects a picture keeps its place as a space, as the control does.
                    run(QStringLiteral(" "), format);
                } else {
                    picture(format.toImageFormat());
                }
            }
            wroteText = true;
            continue;
        }
        const QString text = fragment.text().mid(fs - fragment.position(), fe - fs);
        const QString href = format.isAnchor() ? format.anchorHref() : QString();
        if (href != openHref_) {
            closeLink();
            if (!href.isEmpty()) openLink(href);
        }
        if (row) cellText(text, format);
        else run(text, format);
        wroteText = true;
    }
    closeLink();
    // An empty paragraph keeps the size of its mark.
    if (!wroteText) characterProperties(block.charFormat());
    endedWithRow_ = row;
    if (row) return rowEnd();
    if (breakInRange) {
        word("par");
        body_.append("\r\n");
        needDelimiter_ = false;
    }
}

void Writer::paragraphProperties(const QTextBlockFormat& format) {
    const PARAFORMAT2 pf = paraFormatFrom(format);
    word("pard");
    const PARAFORMAT2 base = paragraphStyle(pf);
    paragraphWords(pf, base);
    // A list item says its indents even when they are none: a reader would take its level's instead.
    if (pf.wNumbering != PFN_NONE && !pf.dxOffset && !pf.dxStartIndent && !base.dxOffset && !base.dxStartIndent) {
        word("fi", 0);
        word("li", 0);
    }
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) word("pagebb");
    listParagraph(pf, true);
}

void Writer::paragraphWords(const PARAFORMAT2& pf, const PARAFORMAT2& base, bool all) {
    // Readers take \pard as the defaults and our reader then adds the style's words: a word is
    // written when the paragraph or its style is away from the default.
    PARAFORMAT2 none;
    none.wAlignment = PFA_LEFT;
    auto needed = [all](auto value, auto styleValue, auto defaultValue) {
        return all || value != defaultValue || styleValue != defaultValue;
    };
    if (needed(pf.wAlignment, base.wAlignment, none.wAlignment)) {
        switch (pf.wAlignment) {
        case PFA_RIGHT: word("qr"); break;
        case PFA_CENTER: word("qc"); break;
        case PFA_JUSTIFY: word("qj"); break;
        default: word("ql"); break;
        }
    }
    const int first = -pf.dxOffset;
    const int left = pf.dxStartIndent + pf.dxOffset;
    if (needed(first, -base.dxOffset, 0)) word("fi", first);
    if (needed(left, base.dxStartIndent + base.dxOffset, 0)) word("li", left);
    if (needed(pf.dxRightIndent, base.dxRightIndent, 0)) word("ri", pf.dxRightIndent);
    if (needed(pf.dySpaceBefore, base.dySpaceBefore, 0)) word("sb", pf.dySpaceBefore);
    if (needed(pf.dySpaceAfter, base.dySpaceAfter, 0)) word("sa", pf.dySpaceAfter);
    const bool single = pf.bLineSpacingRule == LS_SINGLE;
    if (all || !single || base.bLineSpacingRule != LS_SINGLE) lineSpacing(pf);
    // Tab stops add to the style's; a paragraph cannot take one of them away.
    const auto baseTabs = base.rgxTabs.begin();
    const auto baseTabsEnd = baseTabs + std::clamp<int>(base.cTabCount, 0, MAX_TAB_STOPS);
    for (int i = 0; i < std::clamp<int>(pf.cTabCount, 0, MAX_TAB_STOPS); ++i)
        if (all || std::find(baseTabs, baseTabsEnd, pf.rgxTabs[std::size_t(i)]) == baseTabsEnd)
            word("tx", pf.rgxTabs[std::size_t(i)]);
}

void Writer::lineSpacing(const PARAFORMAT2& pf) {
    switch (pf.bLineSpacingRule) {
    case LS_ONEANDHALF: word("sl", 360); word("slmult", 1); break;
    case LS_DOUBLE: word("sl", 480); word("slmult", 1); break;
    case LS_ATLEAST:
        if (pf.dyLineSpacing > 0) {
            word("sl", pf.dyLineSpacing);
            word("slmult", 0);
        }
        break;
    case LS_EXACTLY:
        if (pf.dyLineSpacing > 0) {
            word("sl", -pf.dyLineSpacing);
            word("slmult", 0);
        }
        break;
    case LS_MULTIPLE:
        if (pf.dyLineSpacing > 0) {
            word("sl", pf.dyLineSpacing * 12);  // twentieths of a line to 240ths
            word("slmult", 1);
        }
        break;
    default:
        word("sl", 0);  // single: the style's spacing does not apply
        word("slmult", 0);
        break;
    }
}

CHARFORMAT2 Writer::characterProperties(const QTextCharFormat& format) {
    const CHARFORMAT2 cf = charFormatFrom(format, fallback_);
    WrittenChar next;
    next.font = fontIndex(FontKey{faceName(cf), cf.bCharSet, cf.bPitchAndFamily});
    next.halfPoints = std::max(1, int(std::lround(cf.yHeight / 10.0)));
    next.bold = cf.dwEffects & CFE_BOLD;
    next.italic = cf.dwEffects & CFE_ITALIC;
    next.strike = cf.dwEffects & CFE_STRIKEOUT;
    next.underline = (cf.dwEffects & CFE_UNDERLINE) ? std::uint8_t(cf.bUnderlineType & 0x0F) : CFU_UNDERLINENONE;
    if ((cf.dwEffects & CFE_UNDERLINE) && next.underline == CFU_UNDERLINENONE) next.underline = CFU_UNDERLINE;
    next.script = (cf.dwEffects & CFE_SUBSCRIPT) ? 1 : (cf.dwEffects & CFE_SUPERSCRIPT) ? 2 : 0;
    next.offsetHalfPoints = int(std::lround(cf.yOffset / 10.0));
    next.textColor = (cf.dwEffects & CFE_AUTOCOLOR) ? 0 : colorIndex(cf.crTextColor);
    next.backColor = (cf.dwEffects & CFE_AUTOBACKCOLOR) ? 0 : colorIndex(cf.crBackColor);

    WrittenChar& w = written_;
    if (next.font != w.font) word("f", next.font);
    if (next.halfPoints != w.halfPoints) word("fs", next.halfPoints);
    if (next.bold != w.bold) next.bold ? word("b") : word("b", 0);
    if (next.italic != w.italic) next.italic ? word("i") : word("i", 0);
    if (next.underline != w.underline) word(underlineWord(next.underline));
    if (next.strike != w.strike) next.strike ? word("strike") : word("strike", 0);
    if (next.script != w.script) word(next.script == 1 ? "sub" : next.script == 2 ? "super" : "nosupersub");
    if (next.offsetHalfPoints != w.offsetHalfPoints) {
        if (next.offsetHalfPoints >= 0) word("up", next.offsetHalfPoints);
        else word("dn", -next.offsetHalfPoints);
    }
    if (next.textColor != w.textColor) word("cf", next.textColor);
    if (next.backColor != w.backColor) word("highlight", next.backColor);
    characterEffects(cf, next);
    w = next;
    return cf;
}

void Writer::run(const QString& text, const QTextCharFormat& format) {
    const CHARFORMAT2 cf = characterProperties(format);
    characters(text, codePageForCharset(cf.bCharSet, kDocumentCodePage));
}

void Writer::characters(const QString& text, int codePage) {
    auto& encoder = encoders_[codePage];
    if (encoder.empty()) {
        if (const auto* table = platform::singleByteTable(codePage))
            for (int b = 255; b >= 0x80; --b) encoder.emplace((*table)[std::size_t(b)], char(b));
        encoder.emplace(0xFFFF, 0);  // marks the encoder as built
    }
    auto delimit = [this] {
        if (needDelimiter_) body_ += ' ';
        needDelimiter_ = false;
    };
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c >= 0x20 && c < 0x7F) {
            if (c == '\\' || c == '{' || c == '}') {
                body_ += '\\';
                needDelimiter_ = false;
            } else {
                delimit();
            }
            body_ += char(c);
            continue;
        }
        switch (c) {
        case u'\t': word("tab"); continue;
        case 0x2028: word("line"); continue;
        case 0x00A0: body_ += "\\~"; needDelimiter_ = false; continue;
        case 0x00AD: body_ += "\\-"; needDelimiter_ = false; continue;
        case 0x2011: body_ += "\\_"; needDelimiter_ = false; continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F || c == 0xFFFC || c == 0x2029) continue;  // nothing a reader could show
        const auto it = encoder.find(c);
        if (it != encoder.end() && c != 0xFFFF) {
            body_ += "\\'" + QByteArray::number(static_cast<unsigned char>(it->second), 16).rightJustified(2, '0');
        } else {
            // \u takes a signed 16-bit number; characters beyond the BMP go as their two surrogates.
            body_ += "\\u" + QByteArray::number(std::int16_t(c)) + '?';
        }
        needDelimiter_ = false;
    }
}

void Writer::openLink(const QString& href) {
    beforeLink_ = written_;
    openHref_ = href;
    body_ += "{\\field{\\*\\fldinst{HYPERLINK \"";
    for (const QChar qc : href) {
        const char16_t c = qc.unicode();
        if (c == '"') body_ += "%22";
        else if (c == '\\' || c == '{' || c == '}') body_ += '\\' + QByteArray(1, char(c));
        else if (c >= 0x20 && c < 0x7F) body_ += char(c);
        else if (c >= 0x20) body_ += "\\u" + QByteArray::number(std::int16_t(c)) + '?';
    }
    body_ += "\"}}{\\fldrslt{";
    needDelimiter_ = false;
}

void Writer::closeLink() {
    if (openHref_.isEmpty()) return;
    body_ += "}}}";
    needDelimiter_ = false;
    openHref_.clear();
    written_ = beforeLink_;  // the groups' end restores what was in force before the field
}

}  // namespace rtf
}  // namespace richedit
