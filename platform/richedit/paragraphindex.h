#pragma once
// The measures of a document's paragraphs in paragraph order (height, display lines, widest line),
// with running sums of heights and lines over the paragraphs laid out from the top. A paragraph
// that is not laid out yet has no measure; the sums reach only as far as the first such paragraph.

#include <vector>

namespace richedit {

class ParagraphIndex {
public:
    struct Measure {
        float height = 0;
        float width = 0;  // the widest line, for a document that does not wrap
        int lines = 1;
        bool laidOut = false;
    };

    int size() const { return int(measures_.size()); }
    // `count` paragraphs, none laid out.
    void reset(int count);
    // Paragraphs [first, first + removed) were replaced by `added` paragraphs that are not laid out.
    void replace(int first, int removed, int added);
    void set(int paragraph, const Measure& measure);
    const Measure& at(int paragraph) const { return measures_[paragraph]; }

    // The first paragraph that is not laid out (size() when all are).
    int firstUnlaid() const;
    bool complete() const { return firstUnlaid() == size(); }

    // Top of `paragraph` and display lines before it; every paragraph before it must be laid out.
    double top(int paragraph) const;
    int linesBefore(int paragraph) const;
    // Height and lines of the laid-out prefix [0, firstUnlaid()).
    double laidOutHeight() const { return top(firstUnlaid()); }
    int laidOutLines() const { return linesBefore(firstUnlaid()); }
    // Among the laid-out prefix: the paragraph holding y (the last one for y below it), and the
    // paragraph holding display line `line` (-1 when the prefix has fewer lines).
    int paragraphAtY(double y) const;
    int paragraphOfLine(int line) const;
    double widestLine() const;  // over the laid-out paragraphs

private:
    void extendSums(int through) const;  // sums valid for entries 0..through

    std::vector<Measure> measures_;
    mutable int firstUnlaid_ = 0;         // no paragraph before it is unlaid
    mutable std::vector<double> top_;     // top_[i]: height of paragraphs before i
    mutable std::vector<int> linesBefore_;
    mutable int sumsValid_ = 1;           // entries of top_/linesBefore_ that are current
};

}  // namespace richedit
