#pragma once
// Bullets and paragraph numbers: the text a numbered paragraph shows before its first line, and
// drawing them for the paragraphs of a document that meet a rectangle.

#include <QPalette>
#include <QRectF>
#include <QString>

#include <cstdint>

class QPainter;
class QPaintDevice;
class QTextDocument;
class QTextBlock;

namespace richedit {

// The label of number `n` in numbering code `numbering` (PFN_*) and style `style` (PFNS_*):
// a bullet, 1 2 3, a b c, A B C, i ii iii, I II III; styles 1) (1) 1. and 1.
QString numberingLabel(std::uint16_t numbering, std::uint16_t style, int n);

// The number of a numbered paragraph: its run of consecutive paragraphs with the same numbering
// counts from the run's first paragraph's starting number.
int paragraphNumber(const QTextBlock& block);

// Draws the labels of the numbered paragraphs of `document` that meet `clip` (layout units), with
// fonts resolved for `layoutDevice` and automatic colours from `palette`.
void drawParagraphLabels(QPainter& painter, const QTextDocument& document, const QRectF& clip,
                         const QPaintDevice* layoutDevice, const QPalette& palette);

}  // namespace richedit
