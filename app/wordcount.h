#pragma once
// The word count of the status bar: over the lines of the line store, each stripped of leading and
// trailing characters of codes 0 to 32; every maximal run of blanks after a word ends it. Only the
// blank separates words (words joined by a tab count as one).

#include <QMetaObject>
#include <QPointer>
#include <QTextDocument>
#include <QString>

#include <vector>

class TQxLines;
namespace richedit {
class Engine;
}

int CountWordsInLine(QStringView line);
// The count line by line through the line store (each line as LineText hands it out).
int CountWords(const TQxLines& lines);

// The same count, kept per paragraph: only paragraphs the document changed since the last count
// are counted again, and a paragraph needs its display lines only when they may break inside a
// word, so counting neither lays the document out nor walks all of it on a key press. Its result
// always equals CountWords over the editor's line store.
class WordCounter {
public:
    WordCounter() = default;
    WordCounter(const WordCounter&) = delete;
    WordCounter& operator=(const WordCounter&) = delete;
    ~WordCounter();

    int Count(const richedit::Engine& engine);

private:
    void Follow(const QTextDocument* document);
    void Changed(int from, int added);
    void Reset();

    static constexpr int kUnknown = -1;
    QPointer<QTextDocument> document_;  // cleared when the engine drops its document
    QMetaObject::Connection connection_;
    int generation_ = -1;
    bool wraps_ = true;
    std::vector<int> words_;  // per paragraph, kUnknown until counted
    long long total_ = 0;     // over the counted paragraphs
    int unknownFrom_ = 0;     // every unknown paragraph lies in [unknownFrom_, unknownTo_)
    int unknownTo_ = 0;
};
