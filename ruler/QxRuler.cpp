// The ruler's properties with their rules, the handle drags and the margin drags.
#include "ruler/QxRuler.h"

#include "ruler/QxRulerHandle.h"
#include "ruler/guideline.h"

#include <QMouseEvent>

#include <cstdlib>

using rulershapes::HandleShape;

namespace {
// Within this distance of a margin line (|x - line| < 3) the mouse grabs the margin.
constexpr int kMarginGrab = 3;
constexpr int kTipOffset = 4;  // a handle's tip, from its left edge
}  // namespace

TQxRuler::TQxRuler(QWidget* parent) : QWidget(parent) {
    QFont font(QStringLiteral("Small Fonts"));
    font.setPointSize(7);
    setFont(font);
    resize(300, 25);
    left_ = new TQxRulerHandle(*this, TIndentID::riLeft, HandleShape::PointingUp, 8);
    first_ = new TQxRulerHandle(*this, TIndentID::riFirst, HandleShape::PointingDown, 8);
    right_ = new TQxRulerHandle(*this, TIndentID::riRight, HandleShape::PointingUp, 8);
    bothLeft_ = new TQxRulerHandle(*this, TIndentID::riBothLeft, HandleShape::BothLeft, 7);
    // Until the owner places them, the tips stand on the margin lines.
    const int leftX = LeftMarginLine() - kTipOffset;
    first_->move(leftX, 0);
    left_->move(leftX, 0);
    bothLeft_->move(leftX, 0);
    right_->move(RightMarginLine() - kTipOffset, 0);
    PlaceHandlesVertically();
    setMouseTracking(true);  // the resize cursor over the margin lines
}

TQxRuler::~TQxRuler() { delete guide_; }

QWidget* TQxRuler::Handle(TIndentID id) const {
    switch (id) {
    case TIndentID::riFirst: return first_;
    case TIndentID::riLeft: return left_;
    case TIndentID::riRight: return right_;
    case TIndentID::riBothLeft: return bothLeft_;
    }
    return nullptr;
}

// ---- simple properties ---------------------------------------------------------------------------

void TQxRuler::SetRulerTab(int value) {
    if (value >= 1 && value <= 255) rulerTab_ = TRulerTab(value);
}

void TQxRuler::SetTabDist(int value) {
    if (value < 1 || value > 30000 || value == tabDist_) return;
    tabDist_ = TRulerTabdist(value);
    update();
}

void TQxRuler::SetFactor(int value) {
    if (value < 1 || value > 30000 || value == factor_) return;
    factor_ = TRulerFactor(value);
    update();
}

namespace {
template <typename T>
bool changeValue(T& field, T value) {
    if (field == value) return false;
    field = value;
    return true;
}
}  // namespace

void TQxRuler::SetBorderLeft(int value) {
    if (changeValue(borderLeft_, value)) update();
}
void TQxRuler::SetBorderUp(int value) {
    if (changeValue(borderUp_, value)) update();
}
void TQxRuler::SetBorderDown(int value) {
    if (changeValue(borderDown_, value)) update();
}
void TQxRuler::SetBorderRight(int value) {
    if (changeValue(borderRight_, value)) update();
}
void TQxRuler::SetShowSmallLines(bool on) {
    if (changeValue(showSmallLines_, on)) update();
}
void TQxRuler::SetShowLargeLines(bool on) {
    if (changeValue(showLargeLines_, on)) update();
}
void TQxRuler::SetShowNumbers(bool on) {
    if (changeValue(showNumbers_, on)) update();
}
void TQxRuler::SetShowMarginHandlers(bool on) {
    if (changeValue(showMarginHandlers_, on)) update();
}
void TQxRuler::SetColor(platform::ColorValue color) {
    if (changeValue(color_, color)) update();
}
void TQxRuler::SetFontColor(platform::ColorValue color) {
    if (changeValue(fontColor_, color)) update();
}

void TQxRuler::SetShowIndents(bool on) {
    if (!changeValue(showIndents_, on)) return;
    for (QWidget* handle : {left_, first_, right_, bothLeft_}) handle->setVisible(on);
    update();
}

// ---- handle positions --------------------------------------------------------------------------

int TQxRuler::IndentFirst() const { return first_->x(); }
int TQxRuler::IndentLeft() const { return left_->x(); }
int TQxRuler::IndentRight() const { return right_->x(); }

// The rules the first-line and left handles share: compared with the right handle only.
bool TQxRuler::AcceptsLeftSide(int value, int current) const {
    return value != current && value >= 0 && value < width() - 4 && IndentRight() - value > minIndentDist_;
}

void TQxRuler::MoveHandleX(TQxRulerHandle& handle, int x) { handle.move(x, handle.y()); }

void TQxRuler::SetIndentFirst(int value) {
    if (!AcceptsLeftSide(value, IndentFirst())) return;
    MoveHandleX(*first_, value);
    if (handleDrag_) RaiseIndent(OnIndentDrag, TIndentID::riFirst);
}

void TQxRuler::SetIndentLeft(int value) {
    if (!AcceptsLeftSide(value, IndentLeft())) return;
    MoveHandleX(*bothLeft_, value);
    MoveHandleX(*left_, value);
    if (handleDrag_) RaiseIndent(OnIndentDrag, TIndentID::riLeft);
}

void TQxRuler::SetIndentRight(int value) {
    if (value == IndentRight() || value < 0 || value >= width() - 4 || value - IndentLeft() <= minIndentDist_ ||
        value - IndentFirst() <= minIndentDist_)
        return;
    MoveHandleX(*right_, value);
    if (handleDrag_) RaiseIndent(OnIndentDrag, TIndentID::riRight);
}

void TQxRuler::IncreaseIndent() {
    SetIndentLeft(bothLeft_->x() + rulerTab_);
    SetIndentFirst(first_->x() + rulerTab_);
    RaiseIndent(OnIndentChange, TIndentID::riBothLeft);
}

void TQxRuler::DecreaseIndent() {
    SetIndentLeft(bothLeft_->x() - rulerTab_);
    SetIndentFirst(first_->x() - rulerTab_);
    RaiseIndent(OnIndentChange, TIndentID::riBothLeft);
}

// ---- margins -------------------------------------------------------------------------------------

void TQxRuler::SetMarginLeft(int value) {
    if (value == marginLeft_ || value < 0 || value > width() - marginRight_ - borderRight_ - borderLeft_) return;
    const int shift = value - marginLeft_;
    SetIndentFirst(IndentFirst() + shift);
    SetIndentLeft(IndentLeft() + shift);
    marginLeft_ = value;
    update();
    if (leftMarginDrag_) RaiseMargin(OnMarginDrag, TMarginID::rmLeft);
}

void TQxRuler::SetMarginRight(int value) {
    if (value == marginRight_ || value < 0 || value > width() - marginLeft_ - borderLeft_ - borderRight_) return;
    SetIndentRight(IndentRight() + marginRight_ - value);
    marginRight_ = value;
    update();
    if (rightMarginDrag_) RaiseMargin(OnMarginDrag, TMarginID::rmRight);
}

// ---- events --------------------------------------------------------------------------------------

void TQxRuler::RaiseIndent(const TIndentEvent& event, TIndentID id) {
    if (event) event(this, id);
}

void TQxRuler::RaiseMargin(const TMarginEvent& event, TMarginID id) {
    if (event) event(this, id);
}

// ---- handle drags ----------------------------------------------------------------------------------

int TQxRuler::SnappedTarget(int handleX, int mouseX) const {
    return (handleX + mouseX - grabOffset_) / rulerTab_ * rulerTab_;  // truncates toward zero
}

void TQxRuler::HandlePressed(TQxRulerHandle& handle, Qt::MouseButton button, int mouseX) {
    if (button == Qt::LeftButton && !doubleClick_) {
        handleDrag_ = true;
        grabOffset_ = mouseX;
        pressFirstX_ = first_->x();
        pressRightX_ = right_->x();
        pressBothLeftX_ = bothLeft_->x();
        InvertGuideLine(handle.x() + kTipOffset);
        RaiseIndent(OnIndentClick, handle.Id());
    }
    doubleClick_ = false;
}

void TQxRuler::HandleMoved(TQxRulerHandle& handle, int mouseX) {
    if (!handleDrag_) return;
    const int oldTip = handle.x() + kTipOffset;
    const int target = SnappedTarget(handle.x(), mouseX);
    switch (handle.Id()) {
    case TIndentID::riFirst: SetIndentFirst(target); break;
    case TIndentID::riLeft: SetIndentLeft(target); break;
    case TIndentID::riRight: SetIndentRight(target); break;
    case TIndentID::riBothLeft:
        SetIndentLeft(target);
        // The first-line handle follows the same mouse movement, snapped on its own.
        SetIndentFirst(SnappedTarget(first_->x(), mouseX));
        break;
    }
    MoveGuideLine(oldTip, handle.x() + kTipOffset);
}

void TQxRuler::HandleReleased(TQxRulerHandle& handle, Qt::MouseButton button) {
    if (button != Qt::LeftButton || !handleDrag_) return;
    InvertGuideLine(handle.x() + kTipOffset);
    update();  // removes the ghost outlines
    handleDrag_ = false;
    RaiseIndent(OnIndentChange, handle.Id());
}

void TQxRuler::HandleDoubleClicked(TQxRulerHandle& handle) {
    doubleClick_ = true;
    RaiseIndent(OnIndentDblClick, handle.Id());
}

// ---- margin drags ----------------------------------------------------------------------------------

void TQxRuler::mousePressEvent(QMouseEvent* event) {
    if (!showMarginHandlers_ || event->button() != Qt::LeftButton) return;
    const int x = int(event->position().x());
    if (std::abs(x - LeftMarginLine()) < kMarginGrab) {
        leftMarginDrag_ = true;
        InvertGuideLine(LeftMarginLine());
        RaiseMargin(OnMarginClick, TMarginID::rmLeft);
    } else if (std::abs(x - RightMarginLine()) < kMarginGrab) {
        rightMarginDrag_ = true;
        InvertGuideLine(RightMarginLine());
        RaiseMargin(OnMarginClick, TMarginID::rmRight);
    }
}

void TQxRuler::mouseMoveEvent(QMouseEvent* event) {
    if (!showMarginHandlers_) return;
    const int x = int(event->position().x());
    const bool nearLine = std::abs(x - LeftMarginLine()) < kMarginGrab || std::abs(x - RightMarginLine()) < kMarginGrab;
    if (nearLine) setCursor(Qt::SizeHorCursor);
    else unsetCursor();
    if (leftMarginDrag_) {
        const int oldLine = LeftMarginLine();
        SetMarginLeft((x - borderLeft_) / rulerTab_ * rulerTab_);
        MoveGuideLine(oldLine, LeftMarginLine());
    }
    if (rightMarginDrag_) {
        const int oldLine = RightMarginLine();
        SetMarginRight((width() - borderRight_ - x) / rulerTab_ * rulerTab_);
        MoveGuideLine(oldLine, RightMarginLine());
    }
}

void TQxRuler::mouseReleaseEvent(QMouseEvent*) {
    if (leftMarginDrag_) {
        InvertGuideLine(LeftMarginLine());
        RaiseMargin(OnMarginChange, TMarginID::rmLeft);
        leftMarginDrag_ = false;
    }
    if (rightMarginDrag_) {
        InvertGuideLine(RightMarginLine());
        RaiseMargin(OnMarginChange, TMarginID::rmRight);
        rightMarginDrag_ = false;
    }
}

// ---- guide line on the linked editor -----------------------------------------------------------------

void TQxRuler::SetRichedit(QWidget* editor) {
    if (editor == richedit_) return;
    delete guide_;
    richedit_ = editor;
    if (editor) guide_ = new TGuideLineOverlay(editor);
}

void TQxRuler::InvertGuideLine(int rulerX) {
    if (!guide_ || !richedit_) return;
    // The ruler's and the editor's places in their common window give the editor's x.
    const int shift = mapToGlobal(QPoint(0, 0)).x() - richedit_->mapToGlobal(QPoint(0, 0)).x();
    guide_->InvertLine(shift + rulerX);
}

void TQxRuler::MoveGuideLine(int oldRulerX, int newRulerX) {
    if (oldRulerX == newRulerX) return;
    InvertGuideLine(oldRulerX);
    InvertGuideLine(newRulerX);
}
