#pragma once
// Display lines of a laid-out document: a prefix sum of the line counts of its paragraphs, rebuilt
// lazily from the first paragraph an edit touched, so a query costs O(log n) once it is current.

#include <QTextBlock>

#include <vector>

class QTextDocument;

namespace richedit {

class DisplayLines {
public:
    // Forget the counts from paragraph `blockNumber` on (an edit or a relayout started there).
    void invalidateFrom(int blockNumber);
    void invalidateAll() { invalidateFrom(0); }

    // All queries expect the document to be completely laid out.
    int count(const QTextDocument& document);
    int lineOfPosition(const QTextDocument& document, int position);   // -1 when out of range
    // The paragraph holding display line `line` and the line's index inside it; invalid when none.
    QTextBlock blockOfLine(const QTextDocument& document, int line, int& lineInBlock);

private:
    void update(const QTextDocument& document);
    std::vector<int> before_;  // before_[i]: display lines before paragraph i; one extra entry: the total
    int validBlocks_ = 0;      // entries of before_ that are current (paragraphs 0..validBlocks_-1)
};

// Lines of a paragraph as laid out (an empty or not yet laid out paragraph still has one).
int blockLineCount(const QTextBlock& block);

}  // namespace richedit
