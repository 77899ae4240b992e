#pragma once
// The RTF writer's state, shared by rtfwriter*.cpp. The public entry point is writeRtf in rtf.h.

#include "platform/richedit/records.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/stylesheet.h"
#include "platform/richedit/textformat.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>

#include <array>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace richedit::rtf {

inline constexpr int kDocumentCodePage = 1250;  // \ansicpg of what we write

// The character properties as last written: the writer emits only what changes.
struct WrittenChar {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    std::uint8_t underline = CFU_UNDERLINENONE;
    int script = 0;  // 0 normal, 1 subscript, 2 superscript
    int offsetHalfPoints = 0;
    int textColor = 0;  // colour table index; 0 automatic
    int backColor = 0;
    std::uint32_t effects = 0;  // the kStoredCharEffects bits
    int weight = 400;
    int underlineColor = 0;  // colour table index; 0 automatic
    bool operator==(const WrittenChar&) const = default;
};

// A list as written to the list table: one per list of the document, its levels by depth.
struct WrittenList {
    struct Level {
        bool defined = false;
        std::uint16_t numbering = PFN_ARABIC;
        std::uint16_t style = PFNS_PERIOD;
        int start = 1;  // for bullets: the bullet character
        int left = 0;   // twips, as \li and \fi
        int first = 0;
    };
    std::array<Level, 9> levels;
    int lastLevel = -1;  // the level of the list's last paragraph
};

// A list open at a paragraph, as the engine counts it (numbering.h).
struct OpenList {
    int indent = 0;
    std::uint16_t numbering = PFN_NONE;
    int number = 0;
    int start = 0;  // the list's first number
    int list = -1;  // index in the written lists; -1 until a paragraph of it is written
    int level = 0;
};

struct FontKey {
    QString face;
    int charset = DEFAULT_CHARSET;
    std::uint8_t pitchAndFamily = 0;
    bool operator<(const FontKey& o) const {
        return std::tie(face, charset, pitchAndFamily) < std::tie(o.face, o.charset, o.pitchAndFamily);
    }
};

class Writer {
public:
    Writer(const QTextDocument& document, int from, int to, RtfObjects objects);
    QByteArray run();

private:
    // ---- body (rtfwriter.cpp)
    void paragraph(const QTextBlock& block, bool breakInRange);
    void paragraphProperties(const QTextBlockFormat& format);
    // The paragraph words of `pf` where it or its style's record `base` is away from the default
    // (every word when `all`).
    void paragraphWords(const PARAFORMAT2& pf, const PARAFORMAT2& base, bool all = false);
    void lineSpacing(const PARAFORMAT2& pf);
    // ---- lists (rtfwriter_lists.cpp)
    // Counts a paragraph in; when `written`, writes its list, level and fallback number.
    void listParagraph(const PARAFORMAT2& pf, bool written);
    int listFor(const PARAFORMAT2& pf, int number, int depth);
    QByteArray listTables() const;
    void run(const QString& text, const QTextCharFormat& format);
    // Writes what changed since the last run; returns the run's record.
    CHARFORMAT2 characterProperties(const QTextCharFormat& format);
    void characters(const QString& text, int codePage);
    void openLink(const QString& href);
    void closeLink();
    int fontIndex(FontKey key);
    int colorIndex(COLORREF color);
    QByteArray header(const QByteArray& styleSheet) const;
    void word(const char* control);
    void word(const char* control, int param);

    // ---- table rows (rtfwriter_rows.cpp)
    // The row definition and the first cell's paragraph properties of a row paragraph, whose
    // text from `start` to `end` (document positions) is written.
    void rowStart(const QTextBlock& block, int start, int end);
    // Text of a row: its tabs are cell marks.
    void cellText(const QString& text, const QTextCharFormat& format);
    void rowEnd();
    // ---- paragraph styles and character effects (rtfwriter_styles.cpp)
    // Writes \plain, the paragraph's style and outline level; returns the style's paragraph record,
    // from which the paragraph's own words then differ.
    PARAFORMAT2 paragraphStyle(const PARAFORMAT2& pf);
    void characterEffects(const CHARFORMAT2& cf, WrittenChar& next);
    QByteArray styleSheet();
    const ParagraphStyle* style(int index) const;
    int baseOf(int index) const;
    int headingStyle(int level);
    WrittenChar styleChars(int index, int depth = 0);
    void styleEntryCharacters(int index);
    void styleEntry(int index, QByteArray& out);

    // ---- pictures (rtfwriter_pict.cpp)
    void picture(const QTextImageFormat& format);
    void pictureGroup(const char* blip, const QByteArray& data, int pixelWidth, int pixelHeight, int widthTwips,
                      int heightTwips);

    const QTextDocument& document_;
    int from_;
    int to_;
    RtfObjects objects_;
    CHARFORMAT2 fallback_;
    QByteArray body_;
    bool needDelimiter_ = false;  // the last thing written was a control word
    bool endedWithRow_ = false;   // the last paragraph written was a table row

    std::map<FontKey, int> fontIndex_;
    std::vector<FontKey> fonts_;
    std::vector<COLORREF> colors_;  // index 0, the automatic colour, is not stored
    WrittenChar written_;
    QString openHref_;
    WrittenChar beforeLink_;

    std::vector<OpenList> openLists_;  // increasing indents
    std::vector<WrittenList> lists_;
    std::unordered_map<int, std::unordered_map<char16_t, char>> encoders_;

    // paragraph styles
    std::shared_ptr<const StyleSheet> sheet_;  // the document's, or null
    ParagraphStyle normal_;                    // Normal, when the document's sheet has none
    bool styled_ = false;                      // paragraphs are written with their styles
    StyleSheet madeStyles_;                    // "heading N" styles for headings without a style
    std::map<int, int> headingStyles_;         // outline level -> style index
    std::set<int> usedStyles_;
    std::map<int, WrittenChar> styleChars_;
};

}  // namespace richedit::rtf
