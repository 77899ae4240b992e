// Whether a paragraph's soft line breaks can only fall inside runs of blanks (or, in a table row, at
// its cell marks), decided from its text and the widest character of its fonts, without laying it out.
#include "platform/richedit/paragraphlayout.h"
#include "platform/richedit/textformat.h"

#include <QFontMetricsF>
#include <QTextDocument>

#include <algorithm>

namespace richedit {

namespace {

bool isBlank(QChar c) { return c == u' '; }

// Letters and digits between which a line never breaks (scripts that break only at spaces).
bool joinsNeighbours(QChar c) {
    if (c.isDigit() || c.isMark() || c == u'\'' || c == u'"' || c == QChar::Nbsp) return true;
    if (!c.isLetter() || c.isSurrogate()) return false;
    const QChar::Script script = c.script();
    return script == QChar::Script_Latin || script == QChar::Script_Greek || script == QChar::Script_Cyrillic;
}

bool isInfixPunctuation(QChar c) { return c == u'.' || c == u',' || c == u';' || c == u':'; }

// No break opportunity in `text` lies anywhere but right after a run of blanks.
bool breaksOnlyAfterBlanks(QStringView text) {
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (isBlank(c) || joinsNeighbours(c)) continue;
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::ObjectReplacementCharacter) return false;
        const bool blankBefore = i == 0 || isBlank(text[i - 1]);
        const bool blankAfter = i + 1 == n || isBlank(text[i + 1]);
        if (isInfixPunctuation(c)) {
            const QChar next = blankAfter ? QChar(u' ') : text[i + 1];
            const bool between = blankAfter || (next.isLetter() && joinsNeighbours(next)) ||
                                 (!blankBefore && text[i - 1].isDigit() && next.isDigit());
            if (!between) return false;
            continue;
        }
        // Anything else is safe only standing alone between blanks.
        if (!blankBefore || !blankAfter) return false;
    }
    return true;
}

int longestWord(QStringView text) {
    int longest = 0;
    int run = 0;
    for (QChar c : text) {
        run = (isBlank(c) || c == QChar::LineSeparator || c == u'\t') ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

}  // namespace

qreal ParagraphLayout::widestCharacterOf(const QTextCharFormat& format) const {
    return QFontMetricsF(format.font().resolve(document()->defaultFont()), paintDevice()).maxWidth();
}

qreal ParagraphLayout::widestCharacter(const QTextBlock& block) const {
    const auto widthOf = [this](int formatIndex, const QTextCharFormat& format) {
        auto it = widestByFormat_.find(formatIndex);
        if (it == widestByFormat_.end()) it = widestByFormat_.insert(formatIndex, widestCharacterOf(format));
        return it.value();
    };
    qreal widest = widthOf(block.charFormatIndex(), block.charFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it)
        widest = std::max(widest, widthOf(it.fragment().charFormatIndex(), it.fragment().charFormat()));
    return widest;
}

qreal ParagraphLayout::widestCharacterAnywhere() const {
    if (widestAnywhere_ < 0) {
        widestAnywhere_ = widestCharacterOf(QTextCharFormat());  // the default font
        for (const QTextFormat& format : document()->allFormats())
            if (format.isCharFormat()) widestAnywhere_ = std::max(widestAnywhere_, widestCharacterOf(format.toCharFormat()));
    }
    return widestAnywhere_;
}

bool ParagraphLayout::wrapsOnlyAtBlanks(const QTextBlock& block) const {
    if (!block.isValid()) return true;
    const QTextDocument& doc = *document();
    const QTextBlockFormat format = block.blockFormat();
    const bool row = isTableRow(format);
    // Cells wrap in their columns even when the document does not wrap.
    if (doc.defaultTextOption().wrapMode() == QTextOption::NoWrap && !row) return true;
    const QString text = block.text();
    // A cell mark ends its cell's last line as a soft line break does; between them lie the blanks.
    for (QStringView line : forcedLines(text, row))
        if (!breaksOnlyAfterBlanks(line)) return false;
    qreal narrowestLine = 0;
    if (row) {
        const TableRow cells = rowOf(block);
        narrowestLine = cells.cells.front().textWidth();
        for (const TableCell& cell : cells.cells) narrowestLine = std::min(narrowestLine, cell.textWidth());
    } else {
        narrowestLine =
            doc.textWidth() - format.leftMargin() - format.rightMargin() - std::max<qreal>(0, format.textIndent());
    }
    // The widest character of the whole document settles most paragraphs without looking at their fonts.
    const int longest = longestWord(text);
    return longest * widestCharacterAnywhere() < narrowestLine || longest * widestCharacter(block) < narrowestLine;
}

}  // namespace richedit
