#include "platform/richedit/paragraphindex.h"

#include <algorithm>

namespace richedit {

void ParagraphIndex::reset(int count) {
    measures_.assign(std::max(0, count), Measure{});
    top_.assign(measures_.size() + 1, 0.0);
    linesBefore_.assign(measures_.size() + 1, 0);
    firstUnlaid_ = 0;
    sumsValid_ = 1;
}

void ParagraphIndex::replace(int first, int removed, int added) {
    first = std::clamp(first, 0, size());
    removed = std::clamp(removed, 0, size() - first);
    added = std::max(0, added);
    const auto at = measures_.begin() + first;
    if (added >= removed) {
        std::fill(at, at + removed, Measure{});
        measures_.insert(at + removed, std::size_t(added - removed), Measure{});
    } else {
        std::fill(at, at + added, Measure{});
        measures_.erase(at + added, at + removed);
    }
    top_.resize(measures_.size() + 1);
    linesBefore_.resize(measures_.size() + 1);
    firstUnlaid_ = std::min(firstUnlaid_, first);
    sumsValid_ = std::min(sumsValid_, first + 1);
}

void ParagraphIndex::set(int paragraph, const Measure& measure) {
    measures_[paragraph] = measure;
    measures_[paragraph].laidOut = true;
    sumsValid_ = std::min(sumsValid_, paragraph + 1);
}

int ParagraphIndex::firstUnlaid() const {
    const int n = size();
    while (firstUnlaid_ < n && measures_[firstUnlaid_].laidOut) ++firstUnlaid_;
    return firstUnlaid_;
}

void ParagraphIndex::extendSums(int through) const {
    through = std::min(through, firstUnlaid());
    for (int i = sumsValid_; i <= through; ++i) {
        top_[i] = top_[i - 1] + measures_[i - 1].height;
        linesBefore_[i] = linesBefore_[i - 1] + measures_[i - 1].lines;
    }
    sumsValid_ = std::max(sumsValid_, through + 1);
}

double ParagraphIndex::top(int paragraph) const {
    extendSums(paragraph);
    return top_[std::min(paragraph, firstUnlaid())];
}

int ParagraphIndex::linesBefore(int paragraph) const {
    extendSums(paragraph);
    return linesBefore_[std::min(paragraph, firstUnlaid())];
}

int ParagraphIndex::paragraphAtY(double y) const {
    const int laid = firstUnlaid();
    if (laid == 0) return 0;
    extendSums(laid);
    const auto it = std::upper_bound(top_.begin(), top_.begin() + laid, y);
    return std::max(0, int(it - top_.begin()) - 1);
}

int ParagraphIndex::paragraphOfLine(int line) const {
    const int laid = firstUnlaid();
    extendSums(laid);
    if (line < 0 || line >= linesBefore_[laid]) return -1;
    const auto it = std::upper_bound(linesBefore_.begin(), linesBefore_.begin() + laid, line);
    return int(it - linesBefore_.begin()) - 1;
}

double ParagraphIndex::widestLine() const {
    float widest = 0;
    for (const Measure& m : measures_)
        if (m.laidOut) widest = std::max(widest, m.width);
    return widest;
}

}  // namespace richedit
