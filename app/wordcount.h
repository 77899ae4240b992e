#pragma once
// The word count of the status bar: over the lines of the line store, each stripped of leading and
// trailing characters of codes 0 to 32; every maximal run of blanks after a word ends it. Only the
// blank separates words (words joined by a tab count as one).

#include <QString>

#include <unordered_map>

class TQxLines;
namespace richedit {
class Engine;
}

int CountWordsInLine(QStringView line);
// The count line by line through the line store (each line as LineText hands it out).
int CountWords(const TQxLines& lines);

// The same count, kept per paragraph: a paragraph is counted again only when its text or the way it
// breaks into display lines changed, so a key press in a long document costs little. Its result
// always equals CountWords over the editor's line store.
class WordCounter {
public:
    int Count(const richedit::Engine& engine);

private:
    struct Paragraph {
        int revision = -1;
        std::size_t lineSignature = 0;
        int words = 0;
    };
    std::unordered_map<int, Paragraph> paragraphs_;  // by the paragraph's stable fragment index
};
