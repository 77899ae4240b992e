#include "platform/richedit/engine_lines.h"

#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace richedit {

int blockLineCount(const QTextBlock& block) {
    const QTextLayout* layout = block.layout();
    const int n = layout ? layout->lineCount() : 0;
    return n > 0 ? n : 1;
}

void DisplayLines::invalidateFrom(int blockNumber) { validBlocks_ = std::min(validBlocks_, std::max(0, blockNumber)); }

void DisplayLines::update(const QTextDocument& document) {
    const int blocks = document.blockCount();
    if (validBlocks_ > blocks) validBlocks_ = blocks;
    if (int(before_.size()) == blocks + 1 && validBlocks_ == blocks) return;
    before_.resize(blocks + 1);
    if (validBlocks_ == 0) before_[0] = 0;
    QTextBlock block = validBlocks_ == 0 ? document.firstBlock() : document.findBlockByNumber(validBlocks_);
    for (int i = validBlocks_; i < blocks && block.isValid(); ++i, block = block.next())
        before_[i + 1] = before_[i] + blockLineCount(block);
    validBlocks_ = blocks;
}

int DisplayLines::count(const QTextDocument& document) {
    update(document);
    return before_.back();
}

int DisplayLines::lineOfPosition(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(position);
    if (!block.isValid()) return -1;
    update(document);
    int inBlock = 0;
    if (const QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(position - block.position());
        inBlock = line.isValid() ? line.lineNumber() : layout->lineCount() - 1;
    }
    return before_[block.blockNumber()] + inBlock;
}

QTextBlock DisplayLines::blockOfLine(const QTextDocument& document, int line, int& lineInBlock) {
    update(document);
    if (line < 0 || line >= before_.back()) return {};
    // the last paragraph whose first line is at or before `line`
    const auto it = std::upper_bound(before_.begin(), before_.end() - 1, line);
    const int number = int(it - before_.begin()) - 1;
    lineInBlock = line - before_[number];
    return document.findBlockByNumber(number);
}

}  // namespace richedit
