#pragma once
// The rich-text engine: the program's one text engine, a widget that owns its document and speaks
// the vocabulary of a rich-text edit control (records, selection, display lines, undo, notifications,
// streams, format-range, find, clipboard, pictures). It holds no program behaviour.
//
// Positions are character positions from 0: a paragraph break is one character, a picture is one
// character. Lengths in records are twips. Notifications are emitted synchronously from inside the
// operation that caused them, and only when the event mask allows them.

#include "platform/richedit/records.h"
#include "platform/richedit/stream.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QRect>

#include <memory>
#include <utility>
#include <vector>

class QPainter;
class QPaintDevice;
class QTextBlock;
class QTextDocument;
class QMimeData;

namespace richedit {

struct Picture;

// EM_FORMATRANGE: lays text out from chrg.cpMin into rc (twips, on the target device) and, when
// rendering, paints it through `hdc`. hdc and hdcTarget may be the same device.
struct FORMATRANGE {
    QPainter* hdc = nullptr;            // where to render; its device's resolution maps twips to pixels
    QPaintDevice* hdcTarget = nullptr;  // the device whose resolution the pagination follows
    RECT rc;                            // area to render to, twips
    RECT rcPage;                        // whole page, twips
    CHARRANGE chrg;                     // cpMax -1: to the end
};

enum class TextLengthMode { Characters, CrLf };  // CrLf: a paragraph break counts 2 (as in the text)

// EM_SELECTIONTYPE bits
inline constexpr int SEL_EMPTY = 0x0000;
inline constexpr int SEL_TEXT = 0x0001;
inline constexpr int SEL_OBJECT = 0x0002;
inline constexpr int SEL_MULTICHAR = 0x0004;
inline constexpr int SEL_MULTIOBJECT = 0x0008;

// The clipboard type under which a metafile picture's own bytes travel ("wmf" or "emf"), beside a
// bitmap for programs that take only bitmaps.
QString metafileMimeType(const QString& format);

class Engine : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit Engine(QWidget* parent = nullptr);
    ~Engine() override;

    // ---- text and selection ---------------------------------------------------------------
    CHARRANGE exGetSel() const;                      // EM_EXGETSEL
    void exSetSel(CHARRANGE range);                  // EM_EXSETSEL; cpMax -1 or beyond the end: the end; no scrolling
    void setSel(int start, int end);                 // EM_SETSEL; (0, -1) selects everything
    void scrollCaret();                              // EM_SCROLLCARET
    QString getTextRange(int cpMin, int cpMax) const;  // EM_GETTEXTRANGE; paragraph breaks as "\r"
    // EM_REPLACESEL: replaces the selection; "\r", "\n" and "\r\n" in `text` become paragraph breaks.
    // canUndo false: the replacement is not recorded and the undo history is emptied.
    void replaceSel(const QString& text, bool canUndo);
    int getTextLength(TextLengthMode mode = TextLengthMode::Characters) const;  // EM_GETTEXTLENGTHEX
    QString windowText() const;                      // WM_GETTEXT: CR LF at each paragraph break
    void setWindowText(const QString& text);         // WM_SETTEXT: replaces everything, empties undo
    int selectionType() const;                       // EM_SELECTIONTYPE
    void clearAll();                                 // empties the text, the undo history and the modified flag

    // ---- modified flag, undo ----------------------------------------------------------------
    bool getModify() const;                          // EM_GETMODIFY
    void setModify(bool modified);                   // EM_SETMODIFY
    bool undo();                                     // WM_UNDO: one step; false when there was none
    bool redo();                                     // EM_REDO
    bool canUndo() const;                            // EM_CANUNDO
    bool canRedo() const;                            // EM_CANREDO
    int setUndoLimit(int limit);                     // EM_SETUNDOLIMIT: keeps exactly `limit` steps (the oldest fall off); returns the limit in force
    int undoLimit() const;

    // ---- notifications ----------------------------------------------------------------------
    std::uint32_t eventMask() const;                 // EM_GETEVENTMASK
    std::uint32_t setEventMask(std::uint32_t mask);  // EM_SETEVENTMASK; returns the previous mask

    // ---- modes and options ------------------------------------------------------------------
    // EM_SETTEXTMODE: TM_PLAINTEXT / TM_RICHTEXT with TM_SINGLELEVELUNDO / TM_MULTILEVELUNDO. Fails
    // (returns false) unless the control is empty. Plain text holds one uniform format.
    bool setTextMode(std::uint32_t mode);
    std::uint32_t textMode() const;                  // EM_GETTEXTMODE
    void setBackgroundColor(const QColor& color);    // EM_SETBKGNDCOLOR; an invalid colour: the palette's Base
    void exLimitText(int limit);                     // EM_EXLIMITTEXT; 0: 64K characters, as the control does; 32767 at first
                                                     // (limits typing, paste and replaceSel; a whole stream-in is never cut)
    int textLimit() const;
    std::uint32_t getOptions() const;                // EM_GETOPTIONS (ECO_AUTOWORDSELECTION, ECO_SELECTIONBAR)
    void setOptions(std::uint32_t options);          // EM_SETOPTIONS with ECOOP_SET
    void setAutoUrlDetect(bool on);                  // EM_AUTOURLDETECT
    bool autoUrlDetect() const;                      // EM_GETAUTOURLDETECT
    void setWordWrap(bool on);                       // wrap at the formatting rectangle (on) or never (off)
    bool wordWrap() const;
    void setHideSelection(bool hide);                // EM_HIDESELECTION: hide the selection while unfocused
    bool setZoom(int numerator, int denominator);    // EM_SETZOOM: 0/0 switches zoom off; ratio 1/64..64
    void getZoom(int& numerator, int& denominator) const;  // EM_GETZOOM: 0/0 while zoom is off
    void setRect(const QRect& rect);                 // EM_SETRECT: formatting rectangle in widget pixels; empty: the whole client area
    QRect getRect() const;                           // EM_GETRECT

    // ---- formats ----------------------------------------------------------------------------
    // Gives each run [start, start + length) the text colour `colorRef` (0x00BBGGRR) in one pass, as
    // a display treatment: not recorded for undo, the modified flag and the selection left as they
    // were, no change notification. Runs outside the text are cut to it. (engine_colorruns.cpp)
    struct ColorRun {
        int start;
        int length;
        std::uint32_t colorRef;
    };
    void colorRuns(const ColorRun* runs, int count);
    // EM_GETCHARFORMAT: SCF_DEFAULT the default format; SCF_SELECTION the selection's (the insertion
    // format at an empty selection), its dwMask naming the fields consistent over the selection.
    CHARFORMAT2 getCharFormat(std::uint32_t scope) const;
    // EM_SETCHARFORMAT: only the fields the mask names. SCF_SELECTION applies to the selection or the
    // insertion format; SCF_WORD|SCF_SELECTION to the word at an empty selection; SCF_DEFAULT to the
    // default format; SCF_ALL to everything. Undoable (except SCF_DEFAULT).
    bool setCharFormat(std::uint32_t scope, const CHARFORMAT2& format);
    PARAFORMAT2 getParaFormat() const;               // EM_GETPARAFORMAT: of the paragraphs the selection touches
    bool setParaFormat(const PARAFORMAT2& format);   // EM_SETPARAFORMAT: to every paragraph the selection touches; undoable
    void setTypographyOptions(std::uint32_t options);  // EM_SETTYPOGRAPHYOPTIONS (kept, reported back)
    std::uint32_t typographyOptions() const;

    // ---- display lines ----------------------------------------------------------------------
    int getLineCount() const;                        // EM_GETLINECOUNT: display lines as laid out (>= 1)
    int exLineFromChar(int cp) const;                // EM_EXLINEFROMCHAR; -1: the caret's line
    int lineIndex(int line) const;                   // EM_LINEINDEX: first character of the line; -1 if none; line -1: the caret's
    int lineLength(int cp) const;                    // EM_LINELENGTH: characters of the line holding cp, without its break
    QString getLine(int line, int maxChars) const;   // EM_GETLINE: the line's text with "\r" if it ends a paragraph; cut to maxChars
    int firstVisibleLine() const;                    // EM_GETFIRSTVISIBLELINE
    QPoint posFromChar(int cp) const;                // EM_POSFROMCHAR: widget pixels
    int charFromPos(const QPoint& point) const;      // EM_CHARFROMPOS

    // ---- layout progress and single paragraphs --------------------------------------------------
    // Loading lays nothing out: what is shown is laid out first and the rest in small steps while
    // the event loop runs. Every query above lays out as far as it needs, so its answer is always
    // that of a complete layout.
    bool layoutComplete() const;
    void completeLayout();
    // Display lines of the paragraph `block` of document() as (start, length) relative to it, a soft
    // line break or the mark ending a table cell ending its line without being part of it; lays out
    // that paragraph alone if need be.
    std::vector<std::pair<int, int>> paragraphLines(const QTextBlock& block) const;
    // True when the soft line breaks of `block` can only fall inside runs of blanks (U+0020), so that
    // its display lines are its text cut there and at its soft line breaks and, in a table row, at its
    // cell marks (tabs); false when only laying it out can tell.
    bool wrapsOnlyAtBlanks(const QTextBlock& block) const;
    // Changes whenever every paragraph is laid out anew (width, wrapping, zoom, default font).
    int layoutGeneration() const;

    // ---- streams ----------------------------------------------------------------------------
    // EM_STREAMIN: SF_TEXT or SF_RTF (| SFF_SELECTION | SFF_PLAINRTF | SF_UNICODE). Returns the number
    // of characters read; on failure stream.dwError is non-zero and the content is as before.
    int streamIn(std::uint32_t format, EDITSTREAM& stream);
    // EM_STREAMOUT: SF_TEXT (8-bit: UTF-8; SF_UNICODE: UTF-16), SF_RTF, SF_RTFNOOBJS, | SFF_SELECTION.
    // Returns the number of bytes written; stream.dwError non-zero on a failed write.
    int streamOut(std::uint32_t format, EDITSTREAM& stream);

    // ---- printing -----------------------------------------------------------------------------
    // EM_FORMATRANGE: returns the first character that did not fit (the text length when all did).
    // nullptr discards the formatting cache and returns 0. The text is laid out in device-independent
    // units, so every device breaks pages at the same characters; rc maps to pixels through the
    // resolution of hdc's device (a QPicture, which has none of its own, takes hdcTarget's).
    // A rectangle without height or width takes nothing and returns chrg.cpMin, so a caller's page
    // loop stops; a line taller than the page goes alone on a page, clipped, so a usable page always
    // makes progress.
    int formatRange(const FORMATRANGE* range, bool render);

    // ---- find -------------------------------------------------------------------------------
    // EM_FINDTEXTEX: FR_DOWN searches from chrg.cpMin toward cpMax (cpMax -1: the end); without it,
    // backward from chrg.cpMin toward cpMax. Returns the match start or -1; chrgText is the match.
    int findTextEx(std::uint32_t flags, FINDTEXTEX& find) const;

    // ---- clipboard --------------------------------------------------------------------------
    void cut();     // WM_CUT
    void copy();    // WM_COPY: rich text (RTF), plain text and, for a lone picture, the picture
    void paste();   // WM_PASTE: the best of rich text, plain text, picture
    void clear();   // WM_CLEAR: deletes the selection
    bool canPaste() const;

    // ---- pictures -----------------------------------------------------------------------------
    // Replaces the selection with a picture (one character), undoable.
    void insertPicture(const Picture& picture);

    // ---- embedded objects (engine_objects.cpp) ----------------------------------------------------
    // The container's consent to objects (EM_SETOLECALLBACK). Without a callback the engine takes no
    // pictures from the clipboard, a drop or insertPicture. Not owned; set nullptr before it goes.
    class ObjectCallback {
    public:
        virtual ~ObjectCallback() = default;
        virtual bool queryInsertObject(int cp) = 0;             // may a picture be inserted at cp
        virtual bool queryAcceptData(const QMimeData* data) = 0;  // may this data be pasted or dropped
    };
    void setObjectCallback(ObjectCallback* callback);
    ObjectCallback* objectCallback() const;
    // The picture at character cp; false when cp holds none.
    bool getObject(int cp, Picture& picture) const;
    // Gives the picture at cp a new displayed size (twips, at least one pixel), undoable.
    bool setObjectSize(int cp, int widthTwips, int heightTwips);
    // Drag and drop of text and pictures into, out of and inside the engine; on at first.
    void setDragDrop(bool on);
    bool dragDrop() const;
    // EM_SETLANGOPTIONS (IMF_*): with IMF_AUTOFONT characters the chosen font lacks are drawn in
    // another font that has them; without it they are not. Other bits are kept and reported back.
    void setLangOptions(std::uint32_t options);
    std::uint32_t langOptions() const;                // EM_GETLANGOPTIONS

    // The document, for read-only use by printing and the RTF writer. Change it only through the
    // operations above.
    const QTextDocument* document() const;

signals:
    void layoutCompleted();                                                 // the background layout reached the end
    void selectionChanged(richedit::CHARRANGE range);                      // EN_SELCHANGE
    void changed();                                                         // EN_CHANGE
    void link(richedit::MouseMessage message, richedit::CHARRANGE range);  // EN_LINK
    // Raised after the engine has handled a mouse button press or release in its viewport (the caret
    // has already moved). The engine shows no context menu of its own.
    void mouseButtonPressed(Qt::MouseButton button, QPoint position);
    void mouseButtonReleased(Qt::MouseButton button, QPoint position);
    // Raised after a formatting key (Ctrl+B, Ctrl+E, Ctrl+2, ...) changed the selection's format.
    void formatKeyApplied();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

public:
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

}  // namespace richedit
