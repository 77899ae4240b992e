#include "app/wordcount.h"

#include "editing/QxLines.h"
#include "platform/richedit/engine.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <functional>

namespace {

// LineText hands out at most this many characters of a line.
constexpr int kLineTextLimit = 4096;

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

int WordCounter::Count(const richedit::Engine& engine) {
    engine.getLineCount();  // the whole document laid out, as the line store sees it
    const QTextDocument& document = *engine.document();
    int total = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const int lineCount = layout ? layout->lineCount() : 0;
        std::size_t signature = std::hash<int>()(lineCount);
        for (int i = 0; i < lineCount; ++i) {
            const QTextLine line = layout->lineAt(i);
            signature = signature * 31 + std::size_t(line.textStart()) * 1000003u + std::size_t(line.textLength());
        }
        Paragraph& p = paragraphs_[block.fragmentIndex()];
        if (p.revision != block.revision() || p.lineSignature != signature) {
            // The display lines of the paragraph as the line store hands them out: a soft line break
            // ends its line but is not part of it, and a line is cut at the line store's limit.
            const QString text = block.text();
            int words = 0;
            for (int i = 0; i < std::max(lineCount, 1); ++i) {
                int start = 0;
                int length = int(text.size());
                if (lineCount > 0) {
                    const QTextLine line = layout->lineAt(i);
                    start = std::min(line.textStart(), int(text.size()));
                    length = std::clamp(line.textLength(), 0, int(text.size()) - start);
                }
                if (length > 0 && text[start + length - 1] == QChar::LineSeparator) --length;
                words += CountWordsInLine(QStringView(text).mid(start, std::min(length, kLineTextLimit)));
            }
            p = {block.revision(), signature, words};
        }
        total += p.words;
    }
    if (paragraphs_.size() > std::size_t(2 * document.blockCount() + 64)) paragraphs_.clear();  // drop the departed
    return total;
}
