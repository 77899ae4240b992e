// RTF writer: the style sheet of the styles the written paragraphs use, each paragraph's style and
// outline level, and the character effects beyond bold, italic and underline.
#include "platform/richedit/rtf_writer.h"
#include "platform/richedit/stylesheet.h"
#include "platform/richedit/underlinecolors.h"

#include <algorithm>

namespace richedit::rtf {

namespace {

constexpr int kMaxWrittenBaseDepth = 8;  // as deep as a reader replays \sbasedon chains

PARAFORMAT2 defaultParagraph() {
    PARAFORMAT2 pf;
    pf.wAlignment = PFA_LEFT;
    return pf;
}

struct EffectWord {
    std::uint32_t effect;
    const char* word;
};
constexpr EffectWord kEffectWords[] = {
    {CFE_HIDDEN, "v"},     {CFE_PROTECTED, "protect"}, {CFE_SMALLCAPS, "scaps"}, {CFE_ALLCAPS, "caps"},
    {CFE_OUTLINE, "outl"}, {CFE_SHADOW, "shad"},       {CFE_EMBOSS, "embo"},     {CFE_IMPRINT, "impr"},
};

}  // namespace

// ---- character effects ------------------------------------------------------------------------

void Writer::characterEffects(const CHARFORMAT2& cf, WrittenChar& next) {
    const WrittenChar& w = written_;
    next.effects = cf.dwEffects & kStoredCharEffects;
    for (const EffectWord& e : kEffectWords)
        if ((next.effects & e.effect) != (w.effects & e.effect)) (next.effects & e.effect) ? word(e.word) : word(e.word, 0);

    // Weights other than normal and bold go in a word of our own that other readers skip; they see
    // bold from 600 on. \b and \b0 say 700 and 400 again.
    next.weight = cf.wWeight ? cf.wWeight : 400;
    const int implied = next.bold != w.bold ? (next.bold ? 700 : 400) : w.weight;
    if (next.weight != implied) {
        body_ += "{\\*\\qxweight" + QByteArray::number(next.weight) + '}';
        needDelimiter_ = false;
    }

    const int colour = next.underline != CFU_UNDERLINENONE ? (cf.bUnderlineType >> 4) & 0x0F : 0;
    next.underlineColor = colour ? colorIndex(kUnderlineColors[std::size_t(colour)]) : 0;
    if (next.underlineColor != w.underlineColor) word("ulc", next.underlineColor);
}

// ---- paragraph styles ---------------------------------------------------------------------------

const ParagraphStyle* Writer::style(int index) const {
    if (const ParagraphStyle* made = madeStyles_.find(index)) return made;
    if (sheet_)
        if (const ParagraphStyle* kept = sheet_->find(index)) return kept;
    return index == StyleSheet::kNormal ? &normal_ : nullptr;
}

int Writer::baseOf(int index) const {
    const ParagraphStyle* s = style(index);
    if (!s || s->basedOn < 0 || !style(s->basedOn)) return -1;
    // A chain of bases that comes back to the style is cut at the style.
    int b = s->basedOn;
    const int limit = int(sheet_ ? sheet_->styles().size() : 0) + 2;
    for (int n = 0; n < limit && b >= 0; ++n) {
        if (b == index) return -1;
        const ParagraphStyle* p = style(b);
        b = p ? p->basedOn : -1;
    }
    return s->basedOn;
}

int Writer::headingStyle(int level) {
    const auto known = headingStyles_.find(level);
    if (known != headingStyles_.end()) return known->second;
    const QString name = QStringLiteral("heading %1").arg(level);
    int index = sheet_ ? sheet_->indexOf(name) : -1;
    if (index < 0 || style(index)->outlineLevel != level) {
        // Other programs know a heading by its style; one without becomes one of Word's headings.
        StyleSheet all = sheet_ ? *sheet_ : StyleSheet{};
        for (const auto& [i, made] : madeStyles_.styles()) all.set(i, made);
        index = std::max(all.freeIndex(), 1);
        ParagraphStyle made;
        made.name = name;
        made.next = StyleSheet::kNormal;
        made.outlineLevel = std::uint8_t(level);
        made.para = defaultParagraph();
        made.para.bOutlineLevel = made.outlineLevel;
        made.chars = charFormatFrom(QTextCharFormat(), fallback_);
        madeStyles_.set(index, made);
    }
    headingStyles_[level] = index;
    return index;
}

PARAFORMAT2 Writer::paragraphStyle(const PARAFORMAT2& pf) {
    if (!styled_) return defaultParagraph();
    const int level = std::min<int>(pf.bOutlineLevel, 9);
    int index = style(pf.sStyle) ? pf.sStyle : StyleSheet::kNormal;
    if (level > 0 && style(index)->outlineLevel == 0) index = headingStyle(level);
    usedStyles_.insert(index);
    const ParagraphStyle& s = *style(index);
    word("plain");
    word("s", index);
    if (level > 0) word("outlinelevel", level - 1);
    else if (s.outlineLevel > 0) word("outlinelevel", 9);  // body text in a heading's style
    // Some readers take \plain as the defaults, ours adds the style's words: the style's character
    // formatting is said again, and the runs say what differs from it.
    written_ = WrittenChar{};
    styleEntryCharacters(index);
    return s.para;
}

WrittenChar Writer::styleChars(int index, int depth) {
    const auto cached = styleChars_.find(index);
    if (cached != styleChars_.end()) return cached->second;
    // What a reader holds after \plain\sN: the style's words, written and then taken back.
    const int base = depth < kMaxWrittenBaseDepth ? baseOf(index) : -1;
    const WrittenChar start = base >= 0 ? styleChars(base, depth + 1) : WrittenChar{};
    const qsizetype size = body_.size();
    const bool delimiter = needDelimiter_;
    written_ = start;
    styleEntryCharacters(index);
    const WrittenChar result = written_;
    body_.truncate(size);
    needDelimiter_ = delimiter;
    styleChars_[index] = result;
    return result;
}

void Writer::styleEntryCharacters(int index) {
    QTextCharFormat format;
    CHARFORMAT2 cf = style(index)->chars;
    cf.dwMask = ~std::uint32_t(0) & ~CFM_LINK;
    applyCharFormat(cf, format);
    characterProperties(format);
}

void Writer::styleEntry(int index, QByteArray& out) {
    const ParagraphStyle& s = *style(index);
    const int base = baseOf(index);
    const qsizetype size = body_.size();
    body_ += '{';
    word("s", index);
    // Every word the style holds, so that a reader's own idea of a style of that name adds nothing.
    paragraphWords(s.para, defaultParagraph(), true);
    if (s.outlineLevel > 0) word("outlinelevel", s.outlineLevel - 1);
    // Body text based on a heading, or named like one: readers would take it for a heading.
    else if ((base >= 0 && style(base)->outlineLevel > 0) || headingLevelOfName(s.name.trimmed()) > 0)
        word("outlinelevel", 9);
    written_ = base >= 0 ? styleChars(base) : WrittenChar{};
    styleEntryCharacters(index);
    const WrittenChar& w = written_;
    if (!w.bold) word("b", 0);
    if (!w.italic) word("i", 0);
    if (w.halfPoints == WrittenChar{}.halfPoints) word("fs", w.halfPoints);
    if (w.font == WrittenChar{}.font) word("f", w.font);
    if (base >= 0) word("sbasedon", base);
    word("snext", s.next >= 0 && style(s.next) ? s.next : index);
    body_ += ' ';
    needDelimiter_ = false;
    // The name in ASCII and \uN: the style's own \f may name a font of another code page.
    const QString name = s.name.isEmpty() ? QStringLiteral("Style %1").arg(index) : s.name;
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == u';') body_ += ',';  // the name ends at the first semicolon
        else if (c == u'\\' || c == u'{' || c == u'}') body_ += '\\' + QByteArray(1, char(c));
        else if (c >= 0x20 && c < 0x7F) body_ += char(c);
        else if (c >= 0x20) body_ += "\\u" + QByteArray::number(std::int16_t(c)) + '?';
    }
    body_ += ";}";
    out += body_.mid(size);
    body_.truncate(size);
    needDelimiter_ = false;
}

QByteArray Writer::styleSheet() {
    if (!styled_) return {};
    // The styles in use, the styles they are based on and lead to, and Normal.
    std::set<int> wanted = usedStyles_;
    wanted.insert(StyleSheet::kNormal);
    for (std::vector<int> todo(wanted.begin(), wanted.end()); !todo.empty();) {
        const int index = todo.back();
        todo.pop_back();
        const ParagraphStyle* s = style(index);
        for (const int other : {baseOf(index), s ? s->next : -1})
            if (other >= 0 && style(other) && wanted.insert(other).second) todo.push_back(other);
    }
    QByteArray out("{\\stylesheet");
    for (const int index : wanted) styleEntry(index, out);
    out += '}';
    return out;
}

}  // namespace richedit::rtf
