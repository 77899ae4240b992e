#pragma once
// The document's paragraph styles: what a file's style sheet declared, kept with the document so
// that paragraphs (PARAFORMAT2::sStyle) keep naming them and saving writes them back.
//
// The sheet travels with its QTextDocument as a shared, never modified value: changing it means
// installing a new one. So a document handed to the engine whole keeps it, copies of a sheet cost
// nothing, and the undo history never has to restore one: a sheet only grows while a document is
// edited (a paste adds the styles it brings), and an index once given keeps its meaning.

#include "platform/richedit/records.h"

#include <QString>

#include <map>
#include <memory>

class QTextDocument;

namespace richedit {

struct ParagraphStyle {
    QString name;
    int basedOn = -1;       // -1: none
    int next = -1;          // the style of the paragraph that Enter starts after this one; -1: the same
    std::uint8_t outlineLevel = 0;  // 0 body text, 1..9 as bOutlineLevel
    PARAFORMAT2 para;       // the style's own paragraph formatting (its sStyle is its index)
    CHARFORMAT2 chars;      // the style's own character formatting
};

class StyleSheet {
public:
    inline static constexpr int kNormal = 0;
    inline static constexpr int kMaxIndex = 32767;  // sStyle is 16 bits

    const std::map<int, ParagraphStyle>& styles() const { return styles_; }
    const ParagraphStyle* find(int index) const;
    // The index of a style named `name` (compared without regard to case), or -1.
    int indexOf(const QString& name) const;
    // A style index not in use yet, -1 when none is left.
    int freeIndex() const;
    void set(int index, ParagraphStyle style);
    bool empty() const { return styles_.empty(); }

    // Takes the styles of `incoming` in and returns where each incoming index now lives. An
    // incoming style keeps its index when that is free or holds a style of the same name; otherwise
    // it joins a style of its name, or gets a free index. Its base and next styles follow.
    std::map<int, int> merge(const StyleSheet& incoming);

    // The sheet of `document`; null when it has none.
    static std::shared_ptr<const StyleSheet> of(const QTextDocument& document);
    static void install(QTextDocument& document, std::shared_ptr<const StyleSheet> sheet);
    static void drop(QTextDocument& document);

private:
    std::map<int, ParagraphStyle> styles_;
};

// Makes `target` hold its own styles and those of `source`, and gives the paragraphs of `source`
// the indices their styles have in `target` (for content that moves from `source` into `target`).
void mergeStyleSheet(QTextDocument& target, QTextDocument& source);

// Word's built-in heading styles are headings by name ("heading 1" .. "heading 9"): their level,
// or 0 for any other name.
std::uint8_t headingLevelOfName(const QString& name);

}  // namespace richedit
