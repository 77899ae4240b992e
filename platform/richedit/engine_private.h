#pragma once
// The engine's internal state, shared by the files that implement it by concern.

#include "platform/richedit/engine.h"
#include "platform/richedit/numbering.h"
#include "platform/richedit/paragraphlayout.h"
#include "platform/richedit/engine_undo.h"

#include <QBasicTimer>
#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QTextCharFormat>
#include <QTextDocument>

#include <functional>
#include <memory>
#include <optional>

class QMimeData;

namespace richedit {

class FormatRangeCache;

// What a content change records in the undo history.
enum class UndoMode { Record, NotRecorded /* and the history is emptied */ };
enum class EditOrigin { Typing, Other };
// Whether an edit honours protected text (a replacement of the whole text does not).
enum class ProtectedText { Refuse, Replace };

struct Engine::Private {
    explicit Private(Engine* owner);
    ~Private();

    Engine* q;
    QTextDocument* doc;  // a child of the engine
    QImage layoutDevice;  // a 96 dpi device: layout units are pixels at 96 dpi

    // selection: anchor and caret, as character positions
    int anchor = 0;
    int caret = 0;
    std::optional<QTextCharFormat> insertionFormat;  // set by a format write at an empty selection
    CHARRANGE lastReportedSelection{0, 0};

    UndoHistory history;
    int requestedUndoLimit = 100;  // the limit asked for; single-level undo holds one step of it
    bool modified = false;
    std::uint32_t eventMask = ENM_NONE;
    std::uint32_t textMode = TM_RICHTEXT | TM_MULTILEVELUNDO;
    std::uint32_t options = 0;
    std::uint32_t typography = 0;
    int textLimit = 32767;
    bool autoUrl = false;
    bool wordWrap = true;
    bool hideSelection = true;
    int zoomNum = 0;
    int zoomDen = 0;
    QRect formatRect;  // empty: derived from the viewport
    QColor background;  // invalid: the palette's Base
    CHARFORMAT2 defaultFormat;

    ParagraphLayout* layout;  // owned by doc
    int contentRevision = 0;
    int lastBlockCount = 1;
    QString textCache;  // the raw text, valid while textCacheRevision == contentRevision
    int textCacheRevision = -1;
    ParagraphNumbers numbers;  // the numbers drawn, counted as far as drawn
    int numbersChangedFrom = 0;  // the first character changed since they were counted

    // input state
    bool caretVisible = true;
    QBasicTimer caretTimer;
    bool dragSelecting = false;
    enum class DragUnit { Character, Word, Line } dragUnit = DragUnit::Character;
    int dragOrigin = 0;
    int dragOriginEnd = 0;
    bool maybeDragText = false;
    QPoint pressPoint;
    int dropCaret = -1;  // where dragged text would land, drawn while dragging over us
    QString preedit;
    qreal desiredX = -1;  // the x a run of vertical moves keeps, in layout units
    CHARRANGE dragSource{-1, -1};  // the text being dragged out of this engine

    // links
    CHARRANGE hoverLink{-1, -1};

    // embedded objects (engine_objects.cpp, engine_preedit.cpp)
    ObjectCallback* objectCallback = nullptr;
    bool dragDrop = true;
    std::uint32_t langOptions = IMF_AUTOFONT;
    int resizeHandle = -1;       // the handle of the selected picture being dragged, -1: none
    QRectF resizeFrame;          // the size it would get, layout units
    QRectF objectRect(int cp) const;  // where the picture at cp is drawn, layout units; empty: none
    int selectedObject() const;       // the lone selected picture's position, or -1
    int objectUnder(QPointF viewPoint) const;
    int handleUnder(QPointF viewPoint) const;
    bool objectMousePress(QPointF viewPoint, Qt::KeyboardModifiers modifiers);
    bool objectMouseMove(QPointF viewPoint);
    bool objectMouseRelease(QPointF viewPoint);
    bool acceptsObjectAt(int cp) const;
    bool acceptsData(const QMimeData* mime) const;
    void paintObjectFrame(QPainter& painter) const;  // painter in layout units
    void paintPreedit(QPainter& painter) const;      // painter in layout units

    std::unique_ptr<FormatRangeCache> formatCache;

    // Makes `fresh` (with what it holds) the engine's document in place of the current one, with
    // the current one's default font, wrapping and width and a layout of its own.
    void adoptDocument(QTextDocument* fresh);

    // ---- geometry (engine_lines.cpp) ----
    double zoom() const;
    QRect effectiveFormatRect() const;
    int selectionBarWidth() const;
    qreal wrapWidth() const;  // layout units
    void updateLayoutWidth();
    void updateScrollBars();
    QPointF toView(QPointF layoutPoint) const;   // layout units → viewport pixels
    QPointF toLayout(QPointF viewPoint) const;   // viewport pixels → layout units
    QRectF caretRect(int position) const;        // layout units
    int hitTest(QPointF layoutPoint) const;      // nearest character position
    void syncHiddenWidth() const;  // a hidden engine follows its own size
    void ensureVisible(int position);

    // ---- text ----
    int length() const { return doc->characterCount() - 1; }
    const QString& rawText() const;
    void patchTextCache(int from, int removed, int added);
    CHARRANGE selection() const { return {std::min(anchor, caret), std::max(anchor, caret)}; }
    bool isPlain() const { return textMode & TM_PLAINTEXT; }

    // ---- editing (engine.cpp) ----
    // Replaces [from, to) with what `insert` puts at the cursor; records it as asked, sets the caret
    // after the inserted text, raises the notifications. Returns the inserted length.
    // Changes nothing (and returns 0) when the change would alter protected text.
    int replaceRange(int from, int to, const std::function<void(QTextCursor&)>& insert, UndoMode undo,
                     EditOrigin origin, ProtectedText protection = ProtectedText::Refuse);
    int insertText(int from, int to, const QString& text, UndoMode undo, EditOrigin origin);
    QTextCharFormat typingFormat(int position) const;
    void setSelection(int newAnchor, int newCaret, bool scroll = false);
    // Modified flag, notifications and the repaint of what changed: from the paragraph holding `from`
    // (the whole view when -1), down to the bottom when the text's height changed.
    void contentChanged(int from = -1);
    void notifySelection();
    void notifyChange();
    void recordFormatChange(int from, int to, Fragment before, const CHARRANGE& selectionBefore);
    int capacityFor(int replacedLength) const;

    // ---- character effects (engine_effects.cpp) ----
    std::uint32_t storedEffectsAt(int position) const;  // the kStoredCharEffects bits of one character
    // The caret position one visible character on; hidden characters are stepped over with it.
    int visibleStep(int position, bool forward) const;

    // ---- protected text (engine_protected.cpp) ----
    bool protectedAt(int position) const;
    // Whether replacing [from, to) (inserting at `from` when empty) would alter protected text.
    bool changesProtectedText(int from, int to) const;
    // ---- table cells (engine_cells.cpp)
    // Removes [from, to) at `c`. Within one table row the cell marks stay, so that the cells keep
    // their places and only their text goes; returns how many marks stayed (before `c`'s position).
    int removeKeepingCellMarks(QTextCursor& c, int from, int to);
    // Enter in a table row: a new line in the cell, or at the end of a row that ends the document an
    // ordinary paragraph after the table. False when [from, to) is not inside one row.
    bool typeBreakInRow(int from, int to);
    // Tab in a row's last cell: a new row of as many empty cells below it, the caret in its first.
    void addRowAfter(const QTextBlock& row);

    // ---- paragraph styles (engine_styles.cpp) ----
    // A paragraph break typed at [from, to): at the end of a paragraph whose style names a next
    // style, the new paragraph takes that style.
    void typeParagraphBreak(int from, int to);

    // ---- words ----
    CHARRANGE wordAt(int position) const;
    int nextWordStart(int position) const;
    int previousWordStart(int position) const;

    // ---- links (engine_links.cpp) ----
    CHARRANGE linkAt(int position) const;
    std::vector<CHARRANGE> linksIn(int from, int to) const;

    CHARRANGE linkUnder(QPointF viewPoint) const;
    void reportLink(MouseMessage message, QPointF viewPoint);

    // ---- input (engine_input.cpp) ----
    bool inSelectionBar(QPointF viewPoint) const;
    CHARRANGE lineRangeAt(QPointF viewPoint) const;
    void moveText(CHARRANGE range, int position);

    // ---- clipboard (engine_clipboard.cpp) ----
    QMimeData* mimeFor(int from, int to) const;
    bool insertMime(const QMimeData* mime, UndoMode undo);

    // ---- undo ----
    void undoRedo(bool undo);
};

// Applies the engine's convention for a format typed text takes from its neighbour: pictures and
// links do not spread to new text.
QTextCharFormat plainTextFormat(QTextCharFormat format);

}  // namespace richedit
