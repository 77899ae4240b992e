#pragma once
// TQxRichEdit: the program's rich-text editor control. It owns an engine window (richedit::Engine, a
// child widget filling the control) that can be destroyed and built again, and translates between
// the program's vocabulary (points, colour values, small enumerations) and the engine's records and
// messages. Text, formatting, selection, undo history and the modified flag live in the engine; the
// control keeps only its properties, the modified flag while no engine window exists, and the link
// press it is waiting to see released.
//
// The engine window is created when the control is first shown or when an operation needs it
// (HandleNeeded). Operations that read or write the document create it; character attributes, the
// modified flag, undo availability, zoom and link detection work without it as their comments say.

#include "editing/QxLines.h"
#include "editing/QxParaAttributes.h"
#include "editing/QxTextAttributes.h"
#include "platform/colorvalue.h"
#include "platform/dialogs/findreplacedialog.h"  // QPointer<FindReplaceDialog> needs the complete type
#include "platform/richedit/engine.h"  // QPointer<Engine> needs the complete type
#include "platform/richedit/records.h"

#include <QFlags>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace richedit {
class Engine;
}

// The engine level: our engine offers every feature (link detection, undo limit, redo, back colour,
// sub- and superscript, line spacing, zoom, advanced typography), so the control behaves as on the
// richest level throughout and the restrictions of lower levels never apply.
inline constexpr int RichEditLevel = 3;

enum class TScrollStyle { None, Horizontal, Vertical, Both };
enum class TRichStreamFormat { sfDefault, sfRichText, sfPlainText };
enum class TRichStreamModeFlag : unsigned { smSelection = 1, smPlainRtf = 2, smNoObjects = 4, smUnicode = 8 };
Q_DECLARE_FLAGS(TRichStreamModes, TRichStreamModeFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRichStreamModes)

// Event handlers, assigned by the window that holds the control. `Sender` is the control.
using TNotifyEvent = std::function<void(QObject* Sender)>;
// Raised before the control acts on the key; setting Key to 0 swallows it. Key is a Qt::Key code.
using TKeyEvent = std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
// Raised for a key that produces a character, before the control inserts it; setting Key to a null
// character swallows the key, another character is inserted in its place.
using TKeyPressEvent = std::function<void(QObject* Sender, QChar& Key)>;
// Position in the control's coordinates.
using TMouseEvent =
    std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPoint Position)>;
using TURLClickEvent = std::function<void(QObject* Sender, const QString& URLText, Qt::MouseButton Button)>;
// Called each time the context menu is about to be shown; returns the menu to show (nullptr: none).
using TContextPopupEvent = std::function<QMenu*(QObject* Sender, QMenu* Menu)>;

// Options of SearchText.
enum class TSearchType : unsigned { stWholeWord = 1, stMatchCase = 2, stBackward = 4, stSetSelection = 8 };
Q_DECLARE_FLAGS(TSearchTypes, TSearchType)
Q_DECLARE_OPERATORS_FOR_FLAGS(TSearchTypes)
enum class TDialogMove { Stay, MoveOffMatch };
enum class TMissReport { Silent, Report };
enum class TReplaceScope { One, All };
using TFindTextEvent = std::function<void(QObject* Sender, const QString& FindText)>;
using TCloseFindDialogEvent = std::function<void(QObject* Sender, platform::FindReplaceDialog* Dialog)>;

// Options of the engine's language support (LangOptions).
enum class TRichLangOption : unsigned { rlAutoKeyboard = 1, rlAutoFont = 2, rlImeCancelComplete = 4, rlImeAlwaysSendNotify = 8 };
Q_DECLARE_FLAGS(TRichLangOptions, TRichLangOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRichLangOptions)

class TQxRichEdit : public QWidget {
    Q_OBJECT
public:
    explicit TQxRichEdit(QWidget* parent = nullptr);
    ~TQxRichEdit() override;

    // ---- engine window ------------------------------------------------------------------------
    bool HandleAllocated() const { return engine_ != nullptr; }
    // The engine window, or nullptr while none exists. Other subsystems use it for the engine's own
    // services (display lines, streams, find, format-range); text replacements go through ReplaceSel.
    richedit::Engine* EngineWindow() const { return engine_; }
    // The engine window, created first when none exists.
    richedit::Engine& HandleNeeded();
    // Destroys the engine window and builds a new one, carrying over the content (rich text, or plain
    // text in plain-text mode) and the modified flag. The selection (the caret goes to the start), the
    // undo history, the scroll position, the zoom and the default format are not carried over; the
    // control's font becomes the default format again. Without an engine window nothing happens.
    void RecreateWnd();

    // ---- attribute accessors and line store -----------------------------------------------------
    TQxTextAttributes& SelAttributes() { return selAttributes_; }
    TQxTextAttributes& DefaultAttributes() { return defaultAttributes_; }
    TQxTextAttributes& WordAttributes() { return wordAttributes_; }
    TQxParaAttributes& Paragraph() { return paragraph_; }
    // The attached line store (nullptr until one is attached); the control owns it.
    TQxLines* Lines() const { return lines_.get(); }
    void SetLines(std::unique_ptr<TQxLines> lines);

    // ---- selection and text ---------------------------------------------------------------------
    int SelStart();
    void SetSelStart(int position);  // an empty selection there; no scrolling
    int SelLength();
    void SetSelLength(int length);   // keeps the start; scrolls the caret into view
    QString SelText();               // paragraph breaks as "\r"
    // Replaces the selection with `text` as one undoable step (with ForceUndo); the caret ends after the
    // new text and nothing is selected.
    void SetSelText(const QString& text);
    void SelectAll();
    QString Text();                  // the whole text, CR LF at each paragraph break
    void SetText(const QString& text);
    // Empties the text and the undo history and clears the modified flag.
    void Clear();

    // Every replacement of the selection goes through here. The replacement is undoable when UndoLimit
    // is above 1 and either it is not a SelText-style replacement or ForceUndo is set. Afterwards a
    // SelText-style replacement leaves the caret after the new text; any other leaves the new text
    // selected. The caret is scrolled into view.
    void ReplaceSel(const QString& text);
    // While a scope lives, replacements are SelText-style (SelTextReplacing is true); the previous state
    // comes back when it ends, also on an exception.
    class SelTextReplacingScope {
    public:
        explicit SelTextReplacingScope(TQxRichEdit& edit) : edit_(edit), previous_(edit.selTextReplacing_) {
            edit_.selTextReplacing_ = true;
        }
        ~SelTextReplacingScope() { edit_.selTextReplacing_ = previous_; }
        SelTextReplacingScope(const SelTextReplacingScope&) = delete;
        SelTextReplacingScope& operator=(const SelTextReplacingScope&) = delete;

    private:
        TQxRichEdit& edit_;
        bool previous_;
    };
    bool SelTextReplacing() const { return selTextReplacing_; }

    // The engine's modified flag; while no engine window exists the control holds it and hands it to
    // the next engine window.
    bool Modified() const;
    void SetModified(bool modified);

    // ---- undo ----------------------------------------------------------------------------------
    void Undo();               // one step; nothing when there is none
    void Redo();
    bool CanUndo() const;      // false without an engine window
    bool CanRedo() const;
    // The depth of the undo history. A write that differs from the kept value is stored and, with an
    // engine window, sent to the engine, whose answer becomes the kept value.
    int UndoLimit() const { return undoLimit_; }
    void SetUndoLimit(int limit);
    bool ForceUndo() const { return forceUndo_; }
    void SetForceUndo(bool force) { forceUndo_ = force; }

    // ---- clipboard -----------------------------------------------------------------------------
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearSelection();

    // ---- display -------------------------------------------------------------------------------
    // Percent; 100 without an engine window or while zoom is off. A write of 0 switches zoom off; a
    // write without an engine window is ignored.
    int Zoom() const;
    void SetZoom(int percent);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);          // rebuilds the engine window (see RecreateWnd)
    bool SelectionBar() const { return selectionBar_; }
    void SetSelectionBar(bool on);        // rebuilds the engine window
    bool HideScrollBars() const { return hideScrollBars_; }
    void SetHideScrollBars(bool hide);    // rebuilds the engine window
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle bars);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    bool WordSelection() const { return wordSelection_; }
    void SetWordSelection(bool on);
    // The engine's setting when an engine window exists, else the stored one.
    bool AutoURLDetect() const;
    void SetAutoURLDetect(bool detect);
    bool AutoAdvancedTypography() const { return autoAdvancedTypography_; }
    void SetAutoAdvancedTypography(bool on) { autoAdvancedTypography_ = on; }
    // Text limit in characters; 0 means 16,777,215.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    // Background colour (clWindow: the palette's base colour).
    platform::ColorValue Color() const { return color_; }
    void SetColor(platform::ColorValue color);
    // ---- printing (QxRichEditPrint.cpp) ---------------------------------------------------------
    // Prints the whole document on the application's printer as one job named `title`, formatted for
    // the printable area (or PrintArea): each page once, one blank page for an empty document, no
    // blank page after a text that ends at a page boundary. Errors of the printer object reach the
    // caller. A job the printer aborts at its start (a cancelled PDF file name) prints nothing.
    void PrintDocument(const QString& title);
    // What a print dialog can ask for: every page, the pages FromPage..ToPage (1-based) of the whole
    // document as paginated, or the selection alone (nothing when the selection is empty).
    struct TPrintScope {
        enum class Kind { AllPages, PageNums, Selection } kind = Kind::AllPages;
        int FromPage = 1;
        int ToPage = 1;
    };
    void PrintDocument(const QString& title, const TPrintScope& scope);

    // The rectangle printing uses, in printer pixels; empty means the whole printable area.
    QRect PrintArea() const { return printArea_; }
    void SetPrintArea(const QRect& area) { printArea_ = area; }

    // The font's colour and character set, which a QFont does not carry; with the font they become the
    // default character format.
    platform::ColorValue FontColor() const { return fontColor_; }
    void SetFontColor(platform::ColorValue color);
    std::uint8_t FontCharset() const { return fontCharset_; }
    void SetFontCharset(std::uint8_t charset);

    // ---- text mode and transfer format ----------------------------------------------------------
    bool PlainText() const { return plainText_; }
    // Switches between rich and plain text. Without an engine window only the flag changes. With one,
    // the attached line store performs the switch; without a line store the control keeps the text
    // itself (formatting, pictures and objects are dropped).
    void SetPlainText(bool plain);
    // Empties the text, sets the engine's text mode (with multi-level undo when UndoLimit is above 1)
    // and sets the flag, without raising change notifications. For the line store's mode switch.
    void ApplyTextMode(TextMode mode);
    TRichStreamFormat StreamFormat() const { return streamFormat_; }
    void SetStreamFormat(TRichStreamFormat format) { streamFormat_ = format; }
    TRichStreamModes StreamMode() const { return streamMode_; }
    void SetStreamMode(TRichStreamModes mode) { streamMode_ = mode; }

    // ---- context menu --------------------------------------------------------------------------
    // Shown on the release of the right mouse button at the pointer; not owned by the control.
    QMenu* PopupMenu() const;
    void SetPopupMenu(QMenu* menu);

    // ---- find and replace (QxRichEditFind.cpp) -----------------------------------------------------
    // The find dialog, created on first use (taking the replace dialog's search text when that one
    // exists), primed with a non-empty `findText`, shown or brought to the front, and returned.
    platform::FindReplaceDialog* OpenFindDialog(const QString& findText);
    // The same for the replace dialog; a non-empty `replaceText` becomes its replacement text.
    platform::FindReplaceDialog* OpenReplaceDialog(const QString& findText, const QString& replaceText);
    platform::FindReplaceDialog* FindDialog() const { return findDialog_; }
    platform::FindReplaceDialog* ReplaceDialog() const { return replaceDialog_; }
    // Searches [start, start + |length|) (backward: the text before `start`); the match's start, or -1.
    // With stSetSelection a match is selected and scrolled into view.
    int SearchText(const QString& text, int start, int length, TSearchTypes options);
    // Searches the dialog's text from the selection in the dialog's direction, never wrapping; selects
    // a match. The selection stays on a miss.
    bool SearchFromDialog(platform::FindReplaceDialog* dialog, TDialogMove move, TMissReport report);
    // Moves a shown dialog vertically when it covers the selection.
    void MoveDialogOffMatch(platform::FindReplaceDialog* dialog);
    // Replace: replaces the selection when it is the search text, then finds the next match.
    // Replace All: replaces every match from the selection on in the dialog's direction, each its own
    // undo step, and raises one change and one selection-change event at the end.
    void ReplaceFromDialog(platform::FindReplaceDialog* dialog, TReplaceScope scope);
    // Whether the selected text is the search text (with case when stMatchCase, else ignoring case).
    static bool SelectionMatches(const QString& selectedText, const QString& searchText, TSearchTypes options);

    // ---- embedded objects (QxRichEditObjects.cpp) -------------------------------------------------
    bool AllowObjects() const { return allowObjects_; }
    void SetAllowObjects(bool allow);  // rebuilds the engine window
    bool AutoVerbMenu() const { return autoVerbMenu_; }
    void SetAutoVerbMenu(bool on) { autoVerbMenu_ = on; }
    bool OLEDragDrop() const { return oleDragDrop_; }
    void SetOLEDragDrop(bool on);  // rebuilds the engine window
    TRichLangOptions LangOptions() const { return langOptions_; }
    void SetLangOptions(TRichLangOptions options);
    // Whether exactly one embedded picture is selected.
    bool PictureSelected();
    // The insert-object dialog: a picture file inserted in place of the selection and then selected.
    // True when a picture was inserted; an unreadable picture raises an error.
    bool ShowInsertObjectDialog();
    // The properties of the selected picture: type, pixel size, displayed size, and its scale in
    // percent, which the user may change. True when the dialog ended with OK.
    bool ShowObjectPropertiesDialog();
    // The type name of the control's objects ("Obrázek"), used for the menu items of a selected one.
    static QString PictureTypeName();

    // ---- events --------------------------------------------------------------------------------
    TNotifyEvent OnChange;
    TFindTextEvent OnTextNotFound;
    TCloseFindDialogEvent OnCloseFindDialog;
    TNotifyEvent OnSelectionChange;
    TURLClickEvent OnURLClick;
    TNotifyEvent OnEnter;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TMouseEvent OnMouseDown;
    TContextPopupEvent OnContextPopup;
    // Raised after one of the engine's formatting keys (Ctrl+B, Ctrl+E, Ctrl+2, ...) changed the format.
    TNotifyEvent OnFormatKey;

signals:
    // The selection or the content changed (whatever the event handlers and the event mask): for
    // controls that follow the editor's state, such as the edit actions.
    void StateChanged();

public:
    // The screen's vertical pixels per inch, read when the control was created.
    int ScreenLogPixels() const { return screenLogPixels_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SavedContent {
        QByteArray data;
        std::uint32_t format = 0;
    };

    richedit::Engine* BuildEngineWindow(const std::optional<SavedContent>& content);
    void ConnectEngine(richedit::Engine& engine);
    void DisconnectEngine(richedit::Engine& engine);
    void DiscardEngineWindow(richedit::Engine* engine);
    void ApplyScrollBars(richedit::Engine& engine) const;
    void ApplyOptions(richedit::Engine& engine) const;
    std::uint32_t TextModeFlags(TextMode mode) const;
    void SwitchTextModeKeepingText(TextMode mode);
    void AssignFontToDefaultFormat();

    // engine notifications
    void EngineSelectionChanged();
    void EngineLink(richedit::MouseMessage message, richedit::CHARRANGE range);
    void EngineMousePressed(Qt::MouseButton button, QPoint position);
    void EngineMouseReleased(Qt::MouseButton button, QPoint position);
    bool FilterKeyPress(QWidget* target, QKeyEvent* event);
    void ShowContextMenu(QPoint globalPosition);
    QWidget* KeyTarget() const;
    platform::FindReplaceDialog* CreateSearchDialog(platform::FindReplaceDialog::Kind kind);
    void AttachSearchDialog(platform::FindReplaceDialog* dialog);
    QMenu* ExtendContextMenu(QMenu* menu);
    void ApplyObjectSettings(richedit::Engine& engine) const;
    std::unique_ptr<richedit::Engine::ObjectCallback> MakeObjectCallback();
    void PerformPictureVerb(int cp);

    QPointer<richedit::Engine> engine_;
    QPointer<QWidget> keyTarget_;
    TQxTextAttributes defaultAttributes_;
    TQxTextAttributes selAttributes_;
    TQxTextAttributes wordAttributes_;
    TQxParaAttributes paragraph_;
    std::unique_ptr<TQxLines> lines_;

    int screenLogPixels_ = 96;
    bool modified_ = false;
    bool selTextReplacing_ = false;
    bool forceUndo_ = true;
    int undoLimit_ = 100;
    bool wordWrap_ = true;
    bool selectionBar_ = true;
    bool hideScrollBars_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::Both;
    bool hideSelection_ = true;
    bool wordSelection_ = true;
    bool autoUrlDetect_ = true;
    bool autoAdvancedTypography_ = true;
    bool advancedTypography_ = false;
    int maxLength_ = 0;
    platform::ColorValue color_ = platform::clWindow;
    platform::ColorValue fontColor_ = platform::clWindowText;
    std::uint8_t fontCharset_ = richedit::DEFAULT_CHARSET;
    QRect printArea_;
    bool plainText_ = false;
    TRichStreamFormat streamFormat_ = TRichStreamFormat::sfDefault;
    TRichStreamModes streamMode_;
    QPointer<QMenu> popupMenu_;

    // The link range and button of the last press over a link, waiting for its release.
    richedit::CHARRANGE linkPressRange_{-1, -1};
    Qt::MouseButton linkPressButton_ = Qt::NoButton;
    bool forwardingKey_ = false;

    QPointer<platform::FindReplaceDialog> findDialog_;
    QPointer<platform::FindReplaceDialog> replaceDialog_;
    bool allowObjects_ = true;
    bool autoVerbMenu_ = true;
    bool oleDragDrop_ = true;
    TRichLangOptions langOptions_ = TRichLangOption::rlAutoFont;
    QPointer<QMenu> objectVerbMenu_;  // the items a selected object adds to the context menu
    std::unique_ptr<richedit::Engine::ObjectCallback> oleCallback_;  // TRichEditOleCallback
};
