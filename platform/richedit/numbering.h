#pragma once
// Bullets and paragraph numbers: which number a numbered paragraph has, the text it shows before its
// first line, and drawing them for the paragraphs of a document that meet a rectangle.
//
// How paragraphs count (the records hold no list identity, only kind, style, start and indent):
// a numbered paragraph continues the list of the numbered paragraphs before it that have the same
// start indent and the same kind; paragraphs with a larger start indent are nested inside the list
// and do not interrupt it. Anything else at its indent or less ends the list. PFNS_NEWNUMBER in
// wNumberingStyle starts a new list at wNumberingStart; a list without it starts at its first
// paragraph's wNumberingStart. So a nested level numbers its own items and starts again after each
// item of the level around it.

#include <QPalette>
#include <QRectF>
#include <QString>
#include <QTextFormat>

#include <cstdint>
#include <vector>

class QPainter;
class QPaintDevice;
class QTextDocument;
class QTextBlock;

namespace richedit {

// The numbering fields of one paragraph.
struct ListParagraph {
    std::uint16_t numbering = 0;  // PFN_*
    std::uint16_t style = 0;      // PFNS_*, with PFNS_NEWNUMBER
    std::uint16_t start = 1;      // wNumberingStart (for bullets: the bullet character, see bulletCharacter)
    int startIndent = 0;          // dxStartIndent, twips

    bool restarts() const;
};

ListParagraph listParagraphOf(const QTextBlockFormat& format);

// Counts the paragraphs of a document in order; the state is a small stack, one entry per indent
// of the lists open at this point.
class ListCounter {
public:
    // The number of `p`, the next paragraph in document order, counted in. 0 for a paragraph
    // without a number (none or bullet).
    int next(const ListParagraph& p);
    // The number `p` would have as the next paragraph if it did not restart: 0 when it would start
    // a list of its own.
    int continuing(const ListParagraph& p) const;

private:
    struct Open {
        int indent;
        std::uint16_t numbering;
        int number;
    };
    std::vector<Open> open_;  // increasing indents
};

// The bullet character of a bulleted paragraph: wNumberingStart when it is a character (0x20 and
// above; private-use symbol-font bullets mapped to what they show), else U+2022.
QChar bulletCharacter(std::uint16_t numberingStart);

// The label of number `n` in numbering code `numbering` (PFN_*) and style `style` (PFNS_*):
// a bullet (bulletCharacter(start)), 1 2 3, a b c, A B C, i ii iii, I II III; styles 1) (1) 1. and 1.
QString numberingLabel(std::uint16_t numbering, std::uint16_t style, int n, std::uint16_t start = 0);

// The format of a paragraph split off the end of one with `format`: it continues that paragraph's
// list, so only the first of the two keeps PFNS_NEWNUMBER.
QTextBlockFormat continuingFormat(const QTextBlockFormat& format);

// The number of a numbered paragraph (0 for none and bullets). Counts from the document's start.
int paragraphNumber(const QTextBlock& block);

// The numbers of a document's paragraphs, counted from the top as far as they are asked for, and
// again from shortly before a change.
class ParagraphNumbers {
public:
    // Brings the numbers of paragraphs 0..`through` (every paragraph when -1) up to date for
    // `revision` of `document`; nothing before character `changedFrom` changed since the last
    // revision counted, so counting starts again shortly before it.
    void update(const QTextDocument& document, int revision, int changedFrom = 0, int through = -1);
    int at(const QTextBlock& block) const;  // 0 for a paragraph not counted

private:
    static constexpr int kCheckpointEvery = 256;  // paragraphs
    const QTextDocument* document_ = nullptr;
    int revision_ = 0;
    std::vector<int> numbers_;
    std::vector<ListCounter> checkpoints_;  // the counter before paragraph i * kCheckpointEvery
    ListCounter counter_;                   // after the last paragraph counted
};

// Draws the labels of the numbered paragraphs of `document` that meet `clip` (layout units), with
// numbers from `numbers` (updated for `document`), fonts resolved for `layoutDevice` and automatic
// colours from `palette`.
void drawParagraphLabels(QPainter& painter, const QTextDocument& document, const ParagraphNumbers& numbers,
                         const QRectF& clip, const QPaintDevice* layoutDevice, const QPalette& palette);

}  // namespace richedit
