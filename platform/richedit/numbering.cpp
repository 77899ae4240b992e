#include "platform/richedit/numbering.h"

#include "platform/richedit/records.h"
#include "platform/richedit/textformat.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

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

int numberingOf(const QTextBlock& block) { return block.blockFormat().intProperty(PropNumbering); }

int startOf(const QTextBlock& block) {
    const QTextBlockFormat f = block.blockFormat();
    return f.hasProperty(PropNumberingStart) ? f.intProperty(PropNumberingStart) : 1;
}

}  // namespace

QString numberingLabel(std::uint16_t numbering, std::uint16_t style, int n) {
    QString core;
    switch (numbering) {
    case PFN_NONE: return {};
    case PFN_BULLET: return QStringLiteral("\u2022");
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

int paragraphNumber(const QTextBlock& block) {
    const int code = numberingOf(block);
    int index = 0;
    QTextBlock first = block;
    for (QTextBlock b = block.previous(); b.isValid() && numberingOf(b) == code; b = b.previous()) {
        first = b;
        ++index;
    }
    return startOf(first) + index;
}

void drawParagraphLabels(QPainter& painter, const QTextDocument& document, const QRectF& clip,
                         const QPaintDevice* layoutDevice, const QPalette& palette) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    int top = layout->hitTest(clip.topLeft(), Qt::FuzzyHit);
    if (top < 0) top = 0;
    QTextBlock previous;
    int previousNumber = 0;
    for (QTextBlock block = document.findBlock(top); block.isValid(); block = block.next()) {
        const QRectF rect = layout->blockBoundingRect(block);
        if (rect.top() > clip.bottom()) break;
        const int code = numberingOf(block);
        if (code == PFN_NONE) continue;
        int number = 0;
        if (code != PFN_BULLET) {
            number = (previous.isValid() && previous == block.previous() && numberingOf(previous) == code)
                         ? previousNumber + 1
                         : paragraphNumber(block);
            previous = block;
            previousNumber = number;
        }
        const QTextLayout* textLayout = block.layout();
        if (!textLayout || textLayout->lineCount() == 0) continue;
        const QTextLine line = textLayout->lineAt(0);
        const QTextBlockFormat bf = block.blockFormat();
        const QString label = numberingLabel(std::uint16_t(code), std::uint16_t(bf.intProperty(PropNumberingStyle)), number);

        QTextCharFormat cf = block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
        QFont font = cf.font().resolve(document.defaultFont());
        font.setUnderline(false);
        font.setStrikeOut(false);
        painter.setFont(QFont(font, layoutDevice));
        const QBrush fg = cf.foreground();
        painter.setPen(fg.style() != Qt::NoBrush ? fg.color() : palette.color(QPalette::Text));
        const qreal x = textLayout->position().x() + bf.intProperty(PropStartIndent) / kTwipsPerLayoutPixel;
        const qreal baseline = textLayout->position().y() + line.y() + line.ascent();
        painter.drawText(QPointF(x, baseline), label);
    }
}

}  // namespace richedit
