#pragma once
// Realistic documents for measuring the engine: Czech text with mixed formatting (headings, bold and
// italic runs, sizes, colours, numbered and bulleted lists, indents, line spacing), built through
// the engine's own operations, or as plain text.

#include <QString>

namespace richedit {
class Engine;
}

namespace docgen {

struct Options {
    int pages = 10;
    unsigned seed = 1;
    bool singleParagraph = false;  // the whole document as one paragraph (no breaks)
    int pictureEvery = 0;           // a PNG picture after every this many paragraphs (0: none)
};

// About this many characters fill one printed page.
inline constexpr int kCharactersPerPage = 3000;

// Replaces the engine's content with a generated document; the undo history is left empty.
// Returns the number of characters written.
int build(richedit::Engine& engine, const Options& options);

// The same document's text without formatting, paragraphs separated by CR LF.
QString plainText(const Options& options);

// Writes an RTF file of `count` short paragraphs (a word and the paragraph's number each), as
// long lists and logs are; false when it cannot be written.
bool writeShortParagraphsRtf(const QString& path, int count);

// Writes an RTF file of one table of `rows` rows (number, description, count, price; borders), as
// price lists and inventories are; false when it cannot be written.
bool writeTableRowsRtf(const QString& path, int rows);

}  // namespace docgen
