#pragma once
// The RTF reader's state machine, shared by rtfreader*.cpp. Not for use outside the reader: the
// public entry point is readRtf in rtf.h.

#include "platform/richedit/numbering.h"
#include "platform/richedit/records.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/rtf_keywords.h"
#include "platform/richedit/rtf_picture.h"
#include "platform/richedit/rtf_tokenizer.h"

#include <QColor>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace richedit::rtf {

// Bounds that keep malformed input from exhausting the stack, memory or time.
inline constexpr int kMaxGroupDepth = 200;
inline constexpr int kMaxTableEntries = 4096;      // fonts, colours, styles, lists
inline constexpr int kMaxStyleSheets = 4;          // \stylesheet groups installed per document
inline constexpr int kMaxStyleWords = 256;         // control words kept per style
inline constexpr qint64 kStyleReplayBudget = 4'000'000;  // style words replayed per document
inline constexpr int kMaxLength = 31680;           // twips (22 inches), for indents and spacing
inline constexpr qsizetype kMaxPictureBytes = 64 * 1024 * 1024;
inline constexpr qsizetype kMaxTextPerDestination = 64 * 1024;  // names, field instructions
// Separates the cells of the row being read; never taken from the input, so that a tab in a cell's
// text stays apart from the cell marks until the row ends.
inline constexpr char16_t kCellMark = u'\uFDEF';

// Where the text of a group goes.
enum class Dest {
    Body,
    Skip,
    FontTable,
    ColorTable,
    StyleSheet,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    ListOverrideLevel,
    Picture,
    FieldInstruction,
    Pn,
    PnTextAfter,
    PnTextBefore,
    ListText,
};

struct CharState {
    int font = -1;  // -1: the \deff font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    std::uint8_t underline = CFU_UNDERLINENONE;
    std::int8_t script = 0;  // 0 normal, 1 subscript, 2 superscript
    int offsetHalfPoints = 0;
    int textColor = -1;  // colour table index; -1 automatic
    int backColor = -1;
    int link = -1;  // index of the HYPERLINK field whose result this is
    std::uint32_t effects = 0;  // CFE_PROTECTED, CFE_SMALLCAPS, CFE_ALLCAPS, CFE_OUTLINE ... (hidden: above)
    int weight = 0;             // 0: as \b says; else our own weight word
    int underlineColor = -1;    // \ulc: colour table index; -1 automatic
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    int left = 0;
    int first = 0;
    int right = 0;
    int before = 0;
    int after = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    std::uint16_t alignment = PFA_LEFT;
    int tabCount = 0;
    std::array<int, MAX_TAB_STOPS> tabs{};
    // \pn numbering
    std::uint16_t numbering = PFN_NONE;
    std::uint16_t numberingStart = 1;
    std::uint16_t numberingStyle = PFNS_PAREN;
    std::uint16_t numberingTab = 0;
    // \ls numbering
    int listOverride = 0;
    int listLevel = 0;
    bool pageBreakBefore = false;
    bool inTable = false;
    bool indentsGiven = false;  // \fi or \li said, even as 0: a list level's indents do not apply
    int style = 0;                  // \s, as the file numbers it
    std::uint8_t outlineLevel = 0;  // 0 body text, 1..9 for \outlinelevel0..8
    bool operator==(const ParaState&) const = default;
};

struct GroupState {
    Dest dest = Dest::Body;
    bool destOwner = false;  // this group started `dest`
    Dest resumeDest = Dest::Skip;  // for \upr: where the {\*\ud} text goes
    CharState ch;
    ParaState para;
    int uc = 1;
    int field = -1;
    enum class PictureGroup { None, Shppict, NonShppict } pictureGroup = PictureGroup::None;
    bool pictureGroupOwner = false;
};

struct FontEntry {
    QString name;
    int charset = DEFAULT_CHARSET;
    int codePage = 0;  // 0: from the charset
    std::uint8_t pitchAndFamily = 0;
};

struct StyleWord {
    Kw kw;
    std::int32_t param;
    bool hasParam;
};

struct Style {
    std::vector<StyleWord> words;
    int basedOn = -1;
    int next = -1;
    bool paragraph = false;  // \s (not \cs)
    bool implicit = false;   // an entry that names no index yet: \s0 unless it does
    QString name;
};

struct ListLevelDef {
    int nfc = 0;
    int start = 1;
    QString text;  // \leveltext: a length character, then the text with placeholders 0..8
    bool noRestart = false;  // \levelnorestart: not started again after an item of a higher level
    bool hasIndent = false;  // the level's own \li and \fi
    int left = 0;
    int first = 0;
};

inline constexpr int kListLevels = 9;

struct ListOverrideDef {
    int listId = 0;
    std::array<int, kListLevels> startAt{-1, -1, -1, -1, -1, -1, -1, -1, -1};  // \listoverridestartat per level
};

// How far the lists of a document have counted, as list-table readers number them.
struct ListCount {
    std::array<int, kListLevels> number{};
    std::array<bool, kListLevels> started{};
};

struct Field {
    QString instruction;
    QString href;  // set when the instruction is a HYPERLINK
    bool parsed = false;
};

enum class PictureKind { None, Png, Jpeg, Dib, Wbitmap, Wmf, Emf, Other };

struct PictureBuilder {
    PictureKind kind = PictureKind::None;
    QByteArray data;
    int nibble = -1;  // a pending high hex digit
    bool tooLarge = false;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
    int bitsPixel = 0, planes = 1, widthBytes = 0;
};

class Reader {
public:
    Reader(const QByteArray& data, QTextCursor& cursor);
    RtfReadResult run();

private:
    // ---- token dispatch (rtfreader.cpp)
    void groupStart();
    void groupEnd();
    void controlWord(const Token& t, bool star);
    void controlSymbol(char symbol);
    void bytes(std::string_view data);
    void flushBytes();
    void unicodeUnit(std::int32_t value);
    bool destinationWord(Kw kw);
    void specialWord(Kw kw);
    void setDest(Dest dest);
    GroupState& top() { return stack_.back(); }

    // ---- formatting properties (rtfreader_props.cpp)
    // Applies a character or paragraph property; false when `kw` is none.
    bool property(Kw kw, std::int32_t param, bool hasParam);
    void applyStyle(int index);
    QTextCharFormat charFormat(const CharState& state);
    QTextBlockFormat blockFormat(const ParaState& state) const;
    int codePage() const;

    // ---- paragraph styles (rtfreader_styles.cpp)
    bool styleWord(Kw kw, std::int32_t param);
    void beginStyleEntry();
    void useParagraphStyle(std::int32_t index);
    void installStyleSheet();
    void styleInto(const ParaState& para, PARAFORMAT2& pf) const;
    // ---- character effects (rtfreader_effects.cpp)
    bool effectWord(Kw kw, std::int32_t param, bool hasParam);
    bool ownWeight(Kw kw, std::int32_t param, bool star);
    void effectsInto(const CharState& state, CHARFORMAT2& cf) const;

    // ---- tables (rtfreader_tables.cpp)
    bool tableWord(Kw kw, std::int32_t param, bool hasParam);
    void tableText(QStringView text);
    void commitFont();
    void commitColor();
    void commitStyle();
    void commitListLevel();
    void commitList();
    void commitListOverride();
    void commitPn(GroupState& parent);
    bool listNumbering(const ParaState& para, std::uint16_t& numbering, std::uint16_t& start,
                       std::uint16_t& style) const;

    // ---- list numbers (rtfreader_lists.cpp)
    void commitOverrideLevel();
    const ListLevelDef* listLevelOf(const ParaState& para, int* listId = nullptr) const;
    // Gives the paragraph being ended the restart flag and start that make it number as the file
    // says, and a start indent deeper than its parent level's; counts it in.
    void numberParagraph(QTextBlockFormat& format, const ParaState& para);

    // ---- body text, paragraphs and fields (rtfreader_text.cpp)
    void text(QStringView chars);     // any text of the current destination
    void deliver(QStringView chars);  // hands text to the current destination
    void bodyText(QStringView chars);
    void beginContent();
    void listTextAtMark();  // a paragraph ends right after its \listtext
    void insertPendingBlock();
    void flushRun();
    void paragraphBreak();
    void pageBreak();
    void finish();
    void parseField(Field& field);
    void numberingOf(const ParaState& para, std::uint16_t& numbering, std::uint16_t& start,
                     std::uint16_t& style) const;

    // ---- table rows (rtfreader_rows.cpp)
    // Handles the words of rows, cells and their borders in the body; false for any other word.
    bool rowWord(Kw kw, std::int32_t param);
    void contentInRow();  // before any content: opens or ends the row, writes its pending marks
    void openRow();
    void cellMark();
    void writePendingMarks();
    void endRow();
    int settleCellMarks();  // returns the marks removed
    PARAFORMAT2 rowFormat(int cells) const;
    void foldBorder();

    // ---- pictures (rtfreader_pict.cpp)
    bool pictureWord(Kw kw, std::int32_t param);
    void pictureHex(std::string_view hex);
    void pictureBinary(std::string_view data);
    void insertPictureFromBuilder();

    Tokenizer tokenizer_;
    QTextCursor& cursor_;
    std::vector<GroupState> stack_;
    int overflowDepth_ = 0;   // groups opened beyond kMaxGroupDepth, skipped whole
    bool starPending_ = false;
    int skipFallback_ = 0;    // fallback characters of \u still to skip
    char16_t highSurrogate_ = 0;
    QByteArray pendingBytes_;  // bytes of a multi-byte code page not yet decoded
    int pendingCodePage_ = 0;
    int tableCodePage_ = -1;  // the code page of byteTable_
    const std::array<char16_t, 256>* byteTable_ = nullptr;
    QString scratch_;

    int ansiCodePage_ = 1252;
    int defaultFont_ = 0;
    std::map<int, FontEntry> fonts_;
    std::vector<std::optional<QColor>> colors_;
    std::map<int, Style> styles_;
    std::map<int, std::vector<ListLevelDef>> lists_;  // by \listid
    std::map<int, ListOverrideDef> overrides_;         // by \ls
    std::vector<Field> fields_;

    // builders of the table entry being read
    int pendingFontIndex_ = -1;
    FontEntry pendingFont_;
    int red_ = -1, green_ = -1, blue_ = -1;
    int pendingStyleIndex_ = -1;
    Style pendingStyle_;
    ListLevelDef pendingLevel_;
    std::vector<ListLevelDef> pendingLevels_;
    int pendingListId_ = 0;
    int overrideListId_ = 0, overrideLs_ = 0;
    ListOverrideDef pendingOverride_;
    int pendingOverrideLevel_ = 0;  // the \lfolevel being read
    int pendingOverrideStart_ = -1;
    bool pendingOverrideStartAt_ = false;
    struct Pn {
        std::uint16_t numbering = PFN_NONE;
        int start = 1;
        int indent = 0;
        QString before, after;
    } pn_;
    PictureBuilder picture_;

    // the body being inserted
    QString runText_;
    CharState runState_;
    struct CachedFormat {
        CharState state;
        QTextCharFormat format;
    };
    std::vector<CachedFormat> formatCache_;
    // The paragraph format last built: most documents repeat one format paragraph after paragraph.
    mutable std::optional<std::pair<ParaState, QTextBlockFormat>> lastBlockFormat_;
    // The format of the paragraph at the cursor, when this reader set it (a new paragraph starts
    // with the format of the one before).
    std::optional<QTextBlockFormat> cursorBlockFormat_;
    bool pendingBreak_ = false;       // a \par whose block is inserted when more content follows
    bool paragraphHasContent_ = false;
    bool pageBreakNext_ = false;      // the next paragraph starts on a new page
    // numbering of the paragraphs read so far
    ListCounter listCounter_;
    std::map<int, ListCount> listCounts_;              // by \listid
    std::set<std::pair<int, int>> overrideStarted_;    // (\ls, level) whose override start was used
    std::map<std::pair<int, int>, int> levelIndents_;  // (\listid, level) -> the last start indent
    std::vector<std::pair<int, int>> pnRuns_;          // (indent, \pnstart) of the \pn lists open
    // The row definition in force (\trowd ... \cellx) and the row being read. A row is one
    // paragraph; its cells are separated by kCellMark until \row makes them tabs.
    struct RowDefinition {
        int left = 0, gap = -1, height = 0;    // gap -1: no \trgaph, the cells' padding stands for it
        int padding = 0;                       // \trpadd*, \clpad*: the widest
        std::vector<int> edges;                // \cellx, at most MAX_TAB_STOPS
        std::vector<std::uint16_t> cellBorders;  // PFBRD_ bits of the cell ending at each edge
        std::uint16_t rowBorders = 0;          // from \trbrdr*
        std::uint16_t pendingCellBorders = 0;  // of the cell whose \cellx comes next
        bool pendingMerge = false;             // \clmrg: that cell continues the one before
        int cellsDefined = 0;                  // \cellx read, merged cells included
        std::vector<int> mergedCells;          // cells (by their \cellx) merged into the one before
        int borderWidth = 0;
    } rowDef_;
    struct BorderWord {
        enum class Of { None, Row, Cell } of = Of::None;
        std::uint16_t sides = 0;
        bool drawn = false;
        int width = 0;
    } border_;
    struct Row {
        bool open = false;
        int start = 0;          // document position where the row's text starts
        int marks = 0;          // cell marks written, or pending
        int pendingMarks = 0;   // \cell seen, written when the next cell's content starts
        int pendingLines = 0;   // \par inside a cell, a line break when the cell goes on
        bool pardAfterCell = false;  // paragraph properties were reset since the last \cell
        CharState markState;    // the character format in force at the last \cell
        ParaState para;         // the first cell's paragraph: alignment, spacing
    } row_;
    QString listText_;                // \pntext / \listtext, shown only without real numbering
    CharState listTextState_;
    bool ownsBlock_ = false;          // the current block's format is ours to set
    GroupState::PictureGroup lastPictureGroup_ = GroupState::PictureGroup::None;
    int nonShpStart_ = -1, nonShpEnd_ = -1;
    qint64 pixelBudget_;
    qint64 styleBudget_ = kStyleReplayBudget;
    std::map<int, int> styleIndex_;  // a paragraph style's index in the file -> in the document
    int styleSheetsInstalled_ = 0;
    std::map<int, std::uint8_t> styleLevel_;  // a paragraph style's outline level, by its index in the file
};

}  // namespace richedit::rtf
