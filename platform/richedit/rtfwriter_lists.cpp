// RTF writer: bullets and numbers as a list table. The records keep no list identity; the lists are
// found the way the engine counts (numbering.h): a list runs over the paragraphs of one start indent
// and kind until something at its indent or less ends it or a paragraph starts it again, and lists
// with a deeper indent inside it are its nested levels. Each list is written as a \list whose level
// numbers exactly as we do, so that readers with list tables show our numbers; every paragraph also
// carries its number as text ({\listtext}) for readers without them.
#include "platform/richedit/numbering.h"
#include "platform/richedit/rtf_writer.h"

#include <algorithm>

namespace richedit::rtf {

namespace {

constexpr int kLevels = 9;

int levelNfc(std::uint16_t numbering) {
    switch (numbering) {
    case PFN_BULLET: return 23;
    case PFN_LCLETTER: return 4;
    case PFN_UCLETTER: return 3;
    case PFN_LCROMAN: return 2;
    case PFN_UCROMAN: return 1;
    default: return 0;
    }
}

// A character of \leveltext: printable ASCII as itself, anything else as \uN?.
QByteArray levelChar(char16_t c) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}' && c != ';') return QByteArray(1, char(c));
    return "\\u" + QByteArray::number(std::int16_t(c)) + " ?";
}

bool sameLevel(const WrittenList::Level& level, std::uint16_t numbering, std::uint16_t style, int start) {
    return level.numbering == numbering && (numbering == PFN_BULLET || (level.style & 0x0F00) == (style & 0x0F00)) &&
           level.start == start;
}

// Whether a paragraph of a level shows its number as the level does.
bool looksAlike(const WrittenList::Level& level, const PARAFORMAT2& pf) {
    if (level.numbering != pf.wNumbering) return false;
    return pf.wNumbering == PFN_BULLET ? bulletCharacter(std::uint16_t(level.start)) == bulletCharacter(pf.wNumberingStart)
                                       : (level.style & 0x0F00) == (pf.wNumberingStyle & 0x0F00);
}

}  // namespace

int Writer::listFor(const PARAFORMAT2& pf, int number, int depth) {
    const std::uint16_t numbering = pf.wNumbering;
    const int start = numbering == PFN_BULLET ? pf.wNumberingStart : number;
    const int level = std::min(depth, kLevels - 1);
    // A nested list goes into the level below its parent's list while that level would number it
    // so: defined alike and started again by an item of the parent level since its last use.
    if (depth > 0 && !openLists_.empty() && openLists_.back().list >= 0 && depth < kLevels) {
        WrittenList& parent = lists_[std::size_t(openLists_.back().list)];
        WrittenList::Level& slot = parent.levels[std::size_t(level)];
        if (!slot.defined || (sameLevel(slot, numbering, pf.wNumberingStyle, start) && parent.lastLevel < level)) {
            if (!slot.defined) {
                slot = WrittenList::Level{true, numbering, pf.wNumberingStyle, start, pf.dxStartIndent + pf.dxOffset,
                                          -pf.dxOffset};
            }
            return openLists_.back().list;
        }
    }
    WrittenList list;
    list.levels[std::size_t(level)] = WrittenList::Level{true, numbering, pf.wNumberingStyle, start,
                                                         pf.dxStartIndent + pf.dxOffset, -pf.dxOffset};
    lists_.push_back(list);
    return int(lists_.size()) - 1;
}

void Writer::listParagraph(const PARAFORMAT2& pf, bool written) {
    ListParagraph p;
    p.numbering = pf.wNumbering;
    p.style = pf.wNumberingStyle;
    p.start = pf.wNumberingStart;
    p.startIndent = pf.dxStartIndent;
    // The same counting as ListCounter, keeping with each open list where it is written.
    while (!openLists_.empty() && openLists_.back().indent > p.startIndent) openLists_.pop_back();
    const bool continues = p.numbering != PFN_NONE && !p.restarts() && !openLists_.empty() &&
                           openLists_.back().indent == p.startIndent && openLists_.back().numbering == p.numbering;
    if (!continues && !openLists_.empty() && openLists_.back().indent == p.startIndent) openLists_.pop_back();
    if (p.numbering == PFN_NONE) return;
    if (continues) {
        ++openLists_.back().number;
    } else {
        OpenList open;
        open.indent = p.startIndent;
        open.numbering = p.numbering;
        open.number = open.start = p.start;
        openLists_.push_back(open);
    }
    if (!written) return;

    const int depth = int(openLists_.size()) - 1;
    OpenList& open = openLists_.back();
    if (open.list < 0) {
        openLists_.pop_back();  // the parent is the list below it
        const int list = listFor(pf, open.number, depth);
        open.list = list;
        open.level = std::min(depth, kLevels - 1);
        openLists_.push_back(open);
    }
    OpenList& current = openLists_.back();
    if (!looksAlike(lists_[std::size_t(current.list)].levels[std::size_t(current.level)], pf)) {
        // A list item shown otherwise than its list's level (another bullet, other brackets) counts on
        // in a list of its own whose level starts at its number: a level shows one way only.
        WrittenList list;
        const int start = p.numbering == PFN_BULLET ? p.start : current.number;
        list.levels[std::size_t(current.level)] = WrittenList::Level{true, p.numbering, p.style, start,
                                                                     pf.dxStartIndent + pf.dxOffset, -pf.dxOffset};
        lists_.push_back(list);
        current.list = int(lists_.size()) - 1;
    }
    lists_[std::size_t(current.list)].lastLevel = current.level;

    // The number as text for readers without list tables, then the list itself.
    body_ += "{\\listtext\\pard\\plain ";
    needDelimiter_ = false;
    const int number = p.numbering == PFN_BULLET ? 0 : current.number;
    characters(numberingLabel(p.numbering, p.style, number, p.start), kDocumentCodePage);
    word("tab");
    body_ += '}';
    needDelimiter_ = false;
    // Old-style numbering too, for readers that know nothing newer (and the number's tab).
    body_ += "{\\*\\pn";
    body_ += p.numbering == PFN_BULLET ? "\\pnlvlblt" : "\\pnlvlbody";
    word("pnindent", pf.wNumberingTab);
    if (p.numbering == PFN_BULLET) {
        body_ += "{\\pntxtb ";
        needDelimiter_ = false;
        characters(QString(bulletCharacter(p.start)), kDocumentCodePage);
        body_ += '}';
    } else {
        word("pnstart", current.start);
        word(p.numbering == PFN_LCLETTER   ? "pnlcltr"
             : p.numbering == PFN_UCLETTER ? "pnucltr"
             : p.numbering == PFN_LCROMAN  ? "pnlcrm"
             : p.numbering == PFN_UCROMAN  ? "pnucrm"
                                           : "pndec");
        switch (p.style & 0x0F00) {
        case PFNS_PARENS: body_ += "{\\pntxtb (}{\\pntxta )}"; break;
        case PFNS_PERIOD: body_ += "{\\pntxta .}"; break;
        case PFNS_PLAIN: break;
        default: body_ += "{\\pntxta )}"; break;
        }
    }
    body_ += '}';
    needDelimiter_ = false;
    word("ls", current.list + 1);
    word("ilvl", current.level);
}

QByteArray Writer::listTables() const {
    if (lists_.empty()) return {};
    QByteArray out("{\\*\\listtable");
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        const QByteArray id = QByteArray::number(qsizetype(i + 1));
        out += "\r\n{\\list\\listtemplateid" + id;
        for (int l = 0; l < kLevels; ++l) {
            WrittenList::Level level = lists_[i].levels[std::size_t(l)];
            if (!level.defined) {
                // Levels the document does not use still need a definition.
                level.left = 720 * (l + 1);
                level.first = -360;
            }
            out += "{\\listlevel\\levelnfc" + QByteArray::number(levelNfc(level.numbering)) + "\\levelnfcn" +
                   QByteArray::number(levelNfc(level.numbering)) + "\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat" +
                   QByteArray::number(level.numbering == PFN_BULLET ? 1 : level.start);
            if (level.numbering == PFN_BULLET) {
                out += "{\\leveltext\\'01" + levelChar(bulletCharacter(std::uint16_t(level.start)).unicode()) +
                       ";}{\\levelnumbers;}";
            } else {
                QByteArray before, after;
                switch (level.style & 0x0F00) {
                case PFNS_PARENS: before = "("; after = ")"; break;
                case PFNS_PERIOD: after = "."; break;
                case PFNS_PLAIN: break;
                default: after = ")"; break;
                }
                const int length = int(before.size() + 1 + after.size());
                out += "{\\leveltext\\'" + QByteArray::number(length, 16).rightJustified(2, '0') + before + "\\'" +
                       QByteArray::number(l, 16).rightJustified(2, '0') + after + ";}{\\levelnumbers\\'" +
                       QByteArray::number(before.size() + 1, 16).rightJustified(2, '0') + ";}";
            }
            out += "\\fi" + QByteArray::number(level.first) + "\\li" + QByteArray::number(level.left) + '}';
        }
        out += "\\listid" + id + '}';
    }
    out += "}\r\n{\\*\\listoverridetable";
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        const QByteArray id = QByteArray::number(qsizetype(i + 1));
        out += "{\\listoverride\\listid" + id + "\\listoverridecount0\\ls" + id + '}';
    }
    out += "}\r\n";
    return out;
}

}  // namespace richedit::rtf
