#pragma once
// Which paragraphs a change of a document touched, from its contentsChange signal: the paragraphs
// [first, first + now) hold the change, in place of `before` paragraphs. Anything that keeps a value
// per paragraph replaces that span.

class QTextDocument;

namespace richedit {

struct ParagraphChange {
    int first = 0;
    int before = 0;  // negative when `countBefore` was not the document's paragraph count
    int now = 0;
};

// `from` and `added` as contentsChange reported them; `countBefore` the paragraphs before the change.
ParagraphChange changedParagraphs(const QTextDocument& document, int from, int added, int countBefore);

}  // namespace richedit
