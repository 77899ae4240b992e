#include "app/wordcount.h"

#include "editing/QxLines.h"

int CountWordsInLine(const QString& line) {
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
