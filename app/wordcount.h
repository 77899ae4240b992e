#pragma once
// The word count of the status bar: over the lines of the line store, each stripped of leading and
// trailing characters of codes 0 to 32; every maximal run of blanks after a word ends it. Only the
// blank separates words (words joined by a tab count as one).

#include <QString>

class TQxLines;

int CountWordsInLine(const QString& line);
int CountWords(const TQxLines& lines);
