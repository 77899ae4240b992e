#include "platform/richedit/numbering.h"

#include "platform/richedit/records.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace richedit {

namespace {

QString letters(int n, char16_t a) {
    QString s;
    if (n < 1) n = 1;
    while (n > 0) {
        --n;
        s.prepend(QChar(char16_t(a + n % 26)));
        n /= 26;
    }
    return s;
}

QString roman(int n, bool upper) {
    if (n < 1 || n > 3999) return QString::number(n);
    static const struct { int value; const char* text; } table[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"}, {10, "x"}, {9, "ix"}, {5, "v"}, {4, "iv"}, {1, "i"}};
    QString s;
    for (const auto& entry : table)
        while (n >= entry.value) {
            s += QLatin1String(entry.text);
            n -= entry.value;
        }
    return upper ? s.toUpper() : s;
}

}  // namespace

bool ListParagraph::restarts() const { return style & PFNS_NEWNUMBER; }

ListParagraph listParagraphOf(const QTextBlockFormat& f) {
    ListParagraph p;
    p.numbering = std::uint16_t(f.intProperty(PropNumbering));
    p.style = std::uint16_t(f.intProperty(PropNumberingStyle));
    p.start = f.hasProperty(PropNumberingStart) ? std::uint16_t(f.intProperty(PropNumberingStart)) : 1;
    p.startIndent = f.intProperty(PropStartIndent);
    return p;
}

int ListCounter::continuing(const ListParagraph& p) const {
    if (p.numbering == PFN_NONE) return 0;
    for (auto it = open_.rbegin(); it != open_.rend() && it->indent >= p.startIndent; ++it)
        if (it->indent == p.startIndent) return it->numbering == p.numbering ? it->number + 1 : 0;
    return 0;
}

int ListCounter::next(const ListParagraph& p) {
    // This paragraph ends every list nested deeper than itself, and the one at its own indent
    // unless it continues it.
    const int continued = continuing(p);
    while (!open_.empty() && open_.back().indent >= p.startIndent) open_.pop_back();
    if (p.numbering == PFN_NONE) return 0;
    const int number = (continued > 0 && !p.restarts()) ? continued : int(p.start);
    open_.push_back(Open{p.startIndent, p.numbering, number});
    return p.numbering == PFN_BULLET ? 0 : number;
}

QChar bulletCharacter(std::uint16_t start) {
    if (start < 0x20) return QChar(0x2022);
    switch (start) {
    // Symbol and Wingdings bullets as word processors write them (the font's code in the private area).
    case 0xF0B7: case 0x00B7: return QChar(0x2022);  // Symbol bullet
    case 0xF0A7: return QChar(0x25AA);                // Wingdings small square
    case 0xF06F: return QChar(0x25E6);                // Courier New 'o' as a hollow bullet
    case 0xF0D8: return QChar(0x27A2);                // Wingdings arrowhead
    case 0xF0FC: return QChar(0x2713);                // Wingdings tick
    case 0xF076: return QChar(0x2756);                // Wingdings diamond
    default: break;
    }
    const QChar c(start);
    if (c.isSurrogate() || c.category() == QChar::Other_Control || (start >= 0xF000 && start <= 0xF0FF))
        return QChar(0x2022);
    return c;
}

QString numberingLabel(std::uint16_t numbering, std::uint16_t style, int n, std::uint16_t start) {
    QString core;
    switch (numbering) {
    case PFN_NONE: return {};
    case PFN_BULLET: return QString(bulletCharacter(start));
    case PFN_LCLETTER: core = letters(n, u'a'); break;
    case PFN_UCLETTER: core = letters(n, u'A'); break;
    case PFN_LCROMAN: core = roman(n, false); break;
    case PFN_UCROMAN: core = roman(n, true); break;
    default: core = QString::number(n); break;
    }
    switch (style & 0x0F00) {
    case PFNS_PARENS: return u'(' + core + u')';
    case PFNS_PERIOD: return core + u'.';
    case PFNS_PLAIN: return core;
    default: return core + u')';
    }
}

QTextBlockFormat continuingFormat(const QTextBlockFormat& format) {
    const int style = format.intProperty(PropNumberingStyle);
    if (!(style & PFNS_NEWNUMBER)) return format;
    QTextBlockFormat next = format;
    next.setProperty(PropNumberingStyle, style & ~int(PFNS_NEWNUMBER));
    return next;
}

int paragraphNumber(const QTextBlock& block) {
    if (!block.isValid()) return 0;
    ListCounter counter;
    for (QTextBlock b = block.document()->begin(); b.isValid() && b != block; b = b.next())
        counter.next(listParagraphOf(b.blockFormat()));
    return counter.next(listParagraphOf(block.blockFormat()));
}

void ParagraphNumbers::update(const QTextDocument& document, int revision, int changedFrom, int through) {
    if (document_ != &document) {
        document_ = &document;
        numbers_.clear();
        checkpoints_.clear();
        counter_ = ListCounter{};
    } else if (revision_ != revision && !numbers_.empty()) {
        // Counting starts again at the checkpoint before the first changed paragraph.
        const QTextBlock changed = document.findBlock(std::max(changedFrom, 0));
        const int first = changed.isValid() ? changed.blockNumber() : document.blockCount() - 1;
        const std::size_t checkpoint = std::min(std::size_t(std::max(first, 0) / kCheckpointEvery), checkpoints_.size());
        if (checkpoint * kCheckpointEvery < numbers_.size()) {
            counter_ = checkpoints_[checkpoint];
            checkpoints_.resize(checkpoint);
            numbers_.resize(checkpoint * kCheckpointEvery);
        }
    }
    revision_ = revision;
    const int last = through < 0 ? document.blockCount() - 1 : std::min(through, document.blockCount() - 1);
    int index = int(numbers_.size());
    for (QTextBlock b = document.findBlockByNumber(index); b.isValid() && index <= last; b = b.next(), ++index) {
        if (index % kCheckpointEvery == 0) checkpoints_.push_back(counter_);
        numbers_.push_back(counter_.next(listParagraphOf(b.blockFormat())));
    }
}

int ParagraphNumbers::at(const QTextBlock& block) const {
    const int i = block.blockNumber();
    return (i >= 0 && i < int(numbers_.size())) ? numbers_[std::size_t(i)] : 0;
}

void drawParagraphLabels(QPainter& painter, const QTextDocument& document, const ParagraphNumbers& numbers,
                         const QRectF& clip, const QPaintDevice* layoutDevice, const QPalette& palette) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    int top = layout->hitTest(clip.topLeft(), Qt::FuzzyHit);
    if (top < 0) top = 0;
    for (QTextBlock block = document.findBlock(top); block.isValid(); block = block.next()) {
        const QRectF rect = layout->blockBoundingRect(block);
        if (rect.top() > clip.bottom()) break;
        const QTextBlockFormat bf = block.blockFormat();
        const ListParagraph p = listParagraphOf(bf);
        if (p.numbering == PFN_NONE) continue;
        const QTextLayout* textLayout = block.layout();
        if (!textLayout || textLayout->lineCount() == 0) continue;
        const QTextLine line = textLayout->lineAt(0);
        const QString label = numberingLabel(p.numbering, p.style, numbers.at(block), p.start);

        QTextCharFormat cf = block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
        QFont font = cf.font().resolve(document.defaultFont());
        font.setUnderline(false);
        font.setStrikeOut(false);
        painter.setFont(QFont(font, layoutDevice));
        const QBrush fg = cf.foreground();
        painter.setPen(fg.style() != Qt::NoBrush ? fg.color() : palette.color(QPalette::Text));
        const qreal x = textLayout->position().x() + p.startIndent / kTwipsPerLayoutPixel;
        const qreal baseline = textLayout->position().y() + line.y() + line.ascent();
        painter.drawText(QPointF(x, baseline), label);
    }
}

}  // namespace richedit
