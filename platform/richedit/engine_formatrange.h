#pragma once
// The formatting cache of format-range: a copy of the document laid out at the width of the
// rectangle being filled. Its layout is in device-independent units (pixels at 96 dpi with the fonts'
// design metrics), so the same text breaks into the same pages on every device; the target device's
// resolution only scales the drawing.

#include "platform/richedit/numbering.h"
#include "platform/richedit/paragraphlayout.h"

#include <QImage>
#include <QTextDocument>

#include <memory>

namespace richedit {

class FormatRangeCache {
public:
    // A cache for `source` at `widthTwips`, reused while neither the content revision nor the width changes.
    bool matches(int revision, int widthTwips) const { return revision_ == revision && widthTwips_ == widthTwips; }
    void build(const QTextDocument& source, int revision, int widthTwips);
    QTextDocument& document() { return *doc_; }
    const ParagraphLayout& layout() const { return *layout_; }
    const QImage& layoutDevice() const { return device_; }
    const ParagraphNumbers& numbers() const { return numbers_; }

private:
    std::unique_ptr<QTextDocument> doc_;
    ParagraphLayout* layout_ = nullptr;  // owned by doc_
    QImage device_;
    ParagraphNumbers numbers_;
    int revision_ = -1;
    int widthTwips_ = -1;
};

}  // namespace richedit
