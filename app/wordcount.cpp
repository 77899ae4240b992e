#include "app/wordcount.h"

#include "editing/QxLines.h"
#include "platform/richedit/engine.h"
#include "platform/richedit/paragraphchange.h"
#include "platform/richedit/tablerow.h"
#include "platform/richedit/textformat.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace {

// LineText hands out at most this many characters of a line.
constexpr int kLineTextLimit = 4096;

// The words of one paragraph as the line store's lines give them.
int CountParagraph(const richedit::Engine& engine, const QTextBlock& block, bool wraps) {
    const QString text = block.text();
    if (engine.wrapsOnlyAtBlanks(block)) {
        // Its lines are the text cut at soft line breaks and inside runs of blanks, which changes no
        // count, unless a line could pass the line store's limit.
        int words = 0;
        bool withinLimit = true;
        // A table row's cells are set on lines of their own: a cell mark (tab) ends a line too.
        const bool row = richedit::isTableRow(block.blockFormat());
        for (QStringView line : richedit::forcedLines(text, row)) {
            if ((wraps || row) && line.size() > kLineTextLimit) withinLimit = false;
            words += CountWordsInLine(line.left(kLineTextLimit));
        }
        if (withinLimit) return words;
    }
    int words = 0;
    for (const auto& [start, length] : engine.paragraphLines(block))
        words += CountWordsInLine(QStringView(text).mid(start, std::min(length, kLineTextLimit)));
    return words;
}

}  // namespace

int CountWordsInLine(QStringView line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin].unicode() <= 32) ++begin;
    while (end > begin && line[end - 1].unicode() <= 32) --end;
    if (begin == end) return 0;
    int count = 0;
    bool inBlanks = false;
    for (qsizetype i = begin; i < end; ++i) {
        if (line[i] == QLatin1Char(' ')) {
            if (!inBlanks) ++count;
            inBlanks = true;
        } else {
            inBlanks = false;
        }
    }
    return count + 1;  // the appended blank ends the last word
}

int CountWords(const TQxLines& lines) {
    int count = 0;
    const int n = lines.LineCount();
    for (int i = 0; i < n; ++i) count += CountWordsInLine(lines.LineText(i));
    return count;
}

WordCounter::~WordCounter() { QObject::disconnect(connection_); }

void WordCounter::Follow(const QTextDocument* document) {
    QObject::disconnect(connection_);
    document_ = const_cast<QTextDocument*>(document);
    connection_ = QObject::connect(document, &QTextDocument::contentsChange,
                                   [this](int from, int, int added) { Changed(from, added); });
    Reset();
}

void WordCounter::Reset() {
    words_.assign(document_->blockCount(), kUnknown);
    total_ = 0;
    unknownFrom_ = 0;
    unknownTo_ = int(words_.size());
}

void WordCounter::Changed(int from, int added) {
    const richedit::ParagraphChange change = richedit::changedParagraphs(*document_, from, added, int(words_.size()));
    const int first = change.first;
    const int changed = change.now;
    const int removed = change.before;
    if (removed < 0 || first + removed > int(words_.size())) return Reset();  // lost track: count everything again
    for (int i = first; i < first + removed; ++i)
        if (words_[i] != kUnknown) total_ -= words_[i];
    words_.erase(words_.begin() + first, words_.begin() + first + removed);
    words_.insert(words_.begin() + first, changed, kUnknown);
    // The unknown window moves with the paragraphs after the change and takes the changed ones in.
    const int shift = changed - removed;
    const auto moved = [&](int index) { return index <= first ? index : index >= first + removed ? index + shift : first + changed; };
    if (unknownFrom_ < unknownTo_) {
        unknownFrom_ = std::min(moved(unknownFrom_), first);
        unknownTo_ = std::max(moved(unknownTo_), first + changed);
    } else {
        unknownFrom_ = first;
        unknownTo_ = first + changed;
    }
}

int WordCounter::Count(const richedit::Engine& engine) {
    const QTextDocument* document = engine.document();
    const int generation = engine.layoutGeneration();
    if (document != document_ || generation != generation_ || wraps_ != engine.wordWrap() ||
        int(words_.size()) != document->blockCount()) {
        Follow(document);
        generation_ = generation;
        wraps_ = engine.wordWrap();
    }
    const int to = std::min(unknownTo_, int(words_.size()));
    int i = unknownFrom_;
    for (QTextBlock block = document->findBlockByNumber(i); block.isValid() && i < to; block = block.next(), ++i) {
        if (words_[i] != kUnknown) continue;
        words_[i] = CountParagraph(engine, block, wraps_);
        total_ += words_[i];
    }
    unknownFrom_ = unknownTo_ = 0;
    return int(total_);
}
