#pragma once
// The engine's document layout: every paragraph is laid out on its own with a QTextLayout, on
// demand and in order from the top, so that opening a document lays out only what is looked at; the
// rest follows in small time slices on the event loop. A query that needs a paragraph further on
// lays out everything up to it first, so its answer is the one a complete layout gives.
//
// Coordinates are layout units (pixels at 96 dpi with design metrics); the text wraps at the
// document's text width unless its default text option says no wrapping.

#include "platform/richedit/paragraphindex.h"
#include "platform/richedit/tablerow.h"

#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QHash>
#include <QTextBlock>

#include <functional>

class QTextLayout;

namespace richedit {

class ParagraphLayout : public QAbstractTextDocumentLayout {
    Q_OBJECT
public:
    explicit ParagraphLayout(QTextDocument* document);
    ~ParagraphLayout() override;

    // ---- QAbstractTextDocumentLayout ----
    void draw(QPainter* painter, const PaintContext& context) override;
    // Nearest position to `point` (FuzzyHit; below the text: on the last line), or the character
    // boundary under it (ExactHit; -1 when no text is there). Lays out as far as `point`.
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    // Exact once the layout is complete; before that the height of what is not laid out is estimated.
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;  // lays out up to the block

    // ---- progress ----
    bool isComplete() const { return index_.complete(); }
    void completeLayout() const;  // everything, now
    void relayout();              // every paragraph again (after a change of width, wrapping or fonts)
    // Whether paragraphs are laid out in the background while the event loop runs (on by default).
    void setBackgroundLayout(bool on);

    // ---- display lines ----
    int lineCount() const;                          // completes the layout
    int lineOfPosition(int position) const;         // lays out up to the position's paragraph
    // The paragraph holding display line `line` (invalid when there is none) and the line's index in
    // it; lays out as far as needed.
    QTextBlock blockOfLine(int line, int& lineInBlock) const;

    // The paragraph's layout with its lines, placed at its top: everything before it is laid out.
    const QTextLayout* placedLayout(const QTextBlock& block) const;
    // The paragraph's layout with its lines, laying out that paragraph alone if need be (its
    // position is not meaningful); for questions about its lines only.
    const QTextLayout* linesOf(const QTextBlock& block) const;
    // Changes whenever every paragraph has to be laid out again (width, wrapping, fonts).
    int generation() const { return generation_; }
    // True when the paragraph's soft line breaks can only fall inside runs of blanks (U+0020), besides
    // its soft line breaks and a table row's cell marks; false when only laying it out can tell.
    // Decided from the text and the widest character of its fonts.
    bool wrapsOnlyAtBlanks(const QTextBlock& block) const;
    // Whether the changes since the last call moved the paragraphs after them (their height changed);
    // lays out the changed paragraphs. True when that cannot be told.
    bool changesMovedWhatFollows();
    // Where the caret stands before character `position` of the paragraph (relative to it).
    QRectF caretRect(const QTextBlock& block, int position) const;

signals:
    void completed();  // the background layout has laid out the last paragraph

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void keepInStep() const;                             // the index has one entry per paragraph
    void layOut(const QTextBlock& block) const;          // measures one paragraph
    qreal textWidth() const;  // the width lines wrap at
    // ---- table rows (paragraphlayout_table.cpp)
    TableRow rowOf(const QTextBlock& block) const;       // its cells at the text width
    void layOutRow(const QTextBlock& block) const;
    qreal rowHeight(const QTextBlock& block) const;      // of a laid-out row
    int hitTestRow(const QTextBlock& block, const QTextLayout* layout, QPointF point,
                   Qt::HitTestAccuracy accuracy) const;  // point relative to the layout
    QRectF rowCaretRect(const QTextBlock& block, const QTextLine& line, int position) const;  // relative
    void drawRowBorders(QPainter* painter, const QTextBlock& block, const QTextLayout* layout) const;
    // Lays paragraphs out in order from the first that is not, until `enough` (asked before each).
    void layOutUntil(const std::function<bool()>& enough) const;
    void ensureThrough(int paragraph) const;             // paragraphs 0..paragraph laid out
    void ensureUntilY(double y) const;                   // laid out down past y, or complete
    void place(const QTextBlock& block) const;           // sets the layout's position from the index
    bool runSlice(int budgetMs);                         // background step; true when complete
    void scheduleBackground();
    double estimatedRemainingHeight() const;
    qreal widestCharacterOf(const QTextCharFormat& format) const;
    qreal widestCharacter(const QTextBlock& block) const;
    qreal widestCharacterAnywhere() const;  // over every character format of the document

    mutable ParagraphIndex index_;
    QBasicTimer background_;
    bool backgroundEnabled_ = true;
    int generation_ = 0;
    mutable QSizeF reportedSize_;
    mutable QHash<int, qreal> widestByFormat_;  // by character format index; cleared on relayout
    mutable qreal widestAnywhere_ = -1;         // -1: to be found again (after any change)
    // The changes not yet asked about: how many, and of the last one its paragraphs and their height
    // before it (-1: not known).
    int pendingChanges_ = 0;
    int changedFirst_ = 0;
    int changedCount_ = 0;
    double heightBefore_ = -1;
};

}  // namespace richedit
