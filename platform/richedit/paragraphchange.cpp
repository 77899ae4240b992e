#include "platform/richedit/paragraphchange.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace richedit {

ParagraphChange changedParagraphs(const QTextDocument& document, int from, int added, int countBefore) {
    const int blocks = document.blockCount();
    const QTextBlock first = document.findBlock(std::max(0, from));
    const QTextBlock last = document.findBlock(std::max(0, from + added));
    ParagraphChange change;
    change.first = first.isValid() ? first.blockNumber() : 0;
    change.now = (last.isValid() ? last.blockNumber() : blocks - 1) - change.first + 1;
    change.before = change.now - (blocks - countBefore);
    return change;
}

}  // namespace richedit
