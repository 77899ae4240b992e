#pragma once
// TQxRuler: a horizontal ruler that draws itself: frame, margin strips, a page strip, a scale counted
// outwards from the left margin line, and four indent handles (first-line, left, right, and a
// both-left handle that moves the first-line and left handles together). The ruler knows nothing
// about text: it keeps handle positions in its own pixels, lets the user drag them with snapping and
// a minimum distance, and raises events. Its owner converts positions to paragraph indents.
//
// Every property setter drops a value its rules refuse without a word; a refused value leaves the
// ruler as it was.

#include "platform/colorvalue.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>

class QPainter;
class TQxRulerHandle;
class TGuideLineOverlay;

enum class TIndentID : int { riFirst = 0, riLeft = 1, riRight = 2, riBothLeft = 3 };
enum class TMarginID : int { rmLeft = 0, rmRight = 1 };

using TRulerTab = std::uint8_t;       // 1..255
using TRulerTabdist = std::uint16_t;  // 1..30000
using TRulerFactor = std::uint16_t;   // 1..30000

// Event handlers, assigned by the ruler's owner. `Sender` is the ruler.
using TIndentEvent = std::function<void(QObject* Sender, TIndentID IndentID)>;
using TMarginEvent = std::function<void(QObject* Sender, TMarginID MarginID)>;

class TQxRuler : public QWidget {
    Q_OBJECT
public:
    explicit TQxRuler(QWidget* parent = nullptr);
    ~TQxRuler() override;

    // ---- snapping and scale ---------------------------------------------------------------------
    // The step of every drag and of IncreaseIndent/DecreaseIndent; values outside 1..255 are refused.
    TRulerTab RulerTab() const { return rulerTab_; }
    void SetRulerTab(int value);
    // The right handle stays more than this many pixels right of the first-line and left handles.
    int MinIndentDist() const { return minIndentDist_; }
    void SetMinIndentDist(int value) { minIndentDist_ = value; }
    // The scale unit T: short ticks at odd multiples of T, long ticks at odd multiples of 2T, numbers
    // at multiples of 4T. Values outside 1..30000 are refused.
    TRulerTabdist TabDist() const { return tabDist_; }
    void SetTabDist(int value);
    // The numbers are multiplied by it; values outside 1..30000 are refused.
    TRulerFactor Factor() const { return factor_; }
    void SetFactor(int value);

    // ---- margins and borders ---------------------------------------------------------------------
    // Width of the left margin strip. Refused when negative or wider than the room beside the right
    // margin and the borders. An accepted change shifts the first-line and left handles with it
    // (each under its own rules).
    int MarginLeft() const { return marginLeft_; }
    void SetMarginLeft(int value);
    // Width of the right margin strip; the right handle keeps its distance from the margin line.
    int MarginRight() const { return marginRight_; }
    void SetMarginRight(int value);
    int BorderLeft() const { return borderLeft_; }
    void SetBorderLeft(int value);
    int BorderUp() const { return borderUp_; }
    void SetBorderUp(int value);
    int BorderDown() const { return borderDown_; }
    void SetBorderDown(int value);
    int BorderRight() const { return borderRight_; }
    void SetBorderRight(int value);
    int LeftMarginLine() const { return borderLeft_ + marginLeft_; }
    int RightMarginLine() const { return width() - borderRight_ - marginRight_; }

    // ---- handle positions (x of the handle's left edge; its tip is 4 pixels further right) -------
    // Refused when equal to the current value, negative, at or beyond width - 4, or not more than
    // MinIndentDist left of the right handle. During a handle drag an accepted value raises
    // OnIndentDrag.
    int IndentFirst() const;
    void SetIndentFirst(int value);
    int IndentLeft() const;   // the both-left handle always stands at the same x
    void SetIndentLeft(int value);
    // Refused under the same rules, compared with both the first-line and the left handle.
    int IndentRight() const;
    void SetIndentRight(int value);
    // Both left handles one RulerTab to the right (left), each only where its rules allow; then
    // OnIndentChange(riBothLeft), also when neither moved.
    void IncreaseIndent();
    void DecreaseIndent();

    // ---- what is shown ---------------------------------------------------------------------------
    bool ShowSmallLines() const { return showSmallLines_; }
    void SetShowSmallLines(bool on);
    bool ShowLargeLines() const { return showLargeLines_; }
    void SetShowLargeLines(bool on);
    bool ShowNumbers() const { return showNumbers_; }
    void SetShowNumbers(bool on);
    bool ShowIndents() const { return showIndents_; }
    void SetShowIndents(bool on);  // shows or hides the four handles
    // Whether the margin lines carry bars and can be dragged.
    bool ShowMarginHandlers() const { return showMarginHandlers_; }
    void SetShowMarginHandlers(bool on);
    // The page strip's colour (a colour value; system colours follow the palette).
    platform::ColorValue Color() const { return color_; }
    void SetColor(platform::ColorValue color);
    // The colour of the scale's numbers and ticks; the face is the widget's font.
    platform::ColorValue FontColor() const { return fontColor_; }
    void SetFontColor(platform::ColorValue color);

    // ---- linked editor ---------------------------------------------------------------------------
    // While an editor is linked, every drag shows a dotted guide line across it at the dragged tip or
    // margin line. The editor must be a widget that shares a window with the ruler; nullptr unlinks.
    QWidget* Richedit() const { return richedit_; }
    void SetRichedit(QWidget* editor);

    // ---- events ----------------------------------------------------------------------------------
    TIndentEvent OnIndentClick;     // a handle drag starts (press)
    TIndentEvent OnIndentDrag;      // a handle moved during a drag: riFirst, riLeft or riRight only
    TIndentEvent OnIndentChange;    // a handle drag ends (release); IncreaseIndent, DecreaseIndent
    TIndentEvent OnIndentDblClick;  // double click on a handle
    TMarginEvent OnMarginClick;     // a margin drag starts
    TMarginEvent OnMarginDrag;      // the margin changed during its drag
    TMarginEvent OnMarginChange;    // a margin drag ends

    // The handle element of an ID: its geometry is the handle's place and size.
    QWidget* Handle(TIndentID id) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TQxRulerHandle;

    // Mouse on a handle, x in the handle's own coordinates at the time of the event.
    void HandlePressed(TQxRulerHandle& handle, Qt::MouseButton button, int mouseX);
    void HandleMoved(TQxRulerHandle& handle, int mouseX);
    void HandleReleased(TQxRulerHandle& handle, Qt::MouseButton button);
    void HandleDoubleClicked(TQxRulerHandle& handle);

    // The x a handle drag would snap to for mouse x on a handle standing at handleX.
    int SnappedTarget(int handleX, int mouseX) const;
    bool AcceptsLeftSide(int value, int current) const;
    void MoveHandleX(TQxRulerHandle& handle, int x);
    void PlaceHandlesVertically();
    // During a handle drag: an outline at the press-time x of every handle that has moved since.
    void PaintGhosts(QPainter& painter) const;
    void PaintScale(QPainter& painter) const;
    void RaiseIndent(const TIndentEvent& event, TIndentID id);
    void RaiseMargin(const TMarginEvent& event, TMarginID id);

    // Guide line on the linked editor, at a ruler x.
    void InvertGuideLine(int rulerX);
    void MoveGuideLine(int oldRulerX, int newRulerX);

    TRulerTab rulerTab_ = 10;
    int minIndentDist_ = 50;
    TRulerTabdist tabDist_ = 10;
    TRulerFactor factor_ = 1;
    int marginLeft_ = 30;
    int marginRight_ = 20;
    int borderLeft_ = 5, borderUp_ = 5, borderDown_ = 5, borderRight_ = 5;
    bool showSmallLines_ = true, showLargeLines_ = true, showIndents_ = true, showNumbers_ = true;
    bool showMarginHandlers_ = true;
    platform::ColorValue color_ = platform::clWindow;
    platform::ColorValue fontColor_ = platform::clWindowText;

    // Created in the order left, first-line, right, both-left (later ones lie on top).
    TQxRulerHandle* left_ = nullptr;
    TQxRulerHandle* first_ = nullptr;
    TQxRulerHandle* right_ = nullptr;
    TQxRulerHandle* bothLeft_ = nullptr;

    bool handleDrag_ = false;
    bool doubleClick_ = false;
    bool leftMarginDrag_ = false;
    bool rightMarginDrag_ = false;
    int grabOffset_ = 0;
    int pressFirstX_ = 0, pressRightX_ = 0, pressBothLeftX_ = 0;

    QPointer<QWidget> richedit_;
    QPointer<TGuideLineOverlay> guide_;
};
