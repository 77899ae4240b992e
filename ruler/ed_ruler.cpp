// The main window's ruler: the handles follow the paragraph indents at the selection, a released
// handle or an indent button writes the indents back, and the editor's formatting rectangle follows
// the ruler's fixed width.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "ruler/QxRuler.h"
#include "ruler/QxRulerDock.h"
#include "ruler/indentunits.h"

#include <QResizeEvent>

#include <algorithm>

using indentunits::pixelsFromPoints;
using indentunits::pointsFromPixels;

namespace {
constexpr int kLeftHandleOffset = 2;  // ruler x of the first-line and left handles at indent 0
constexpr int kEdgeInset = 6;         // the formatting rectangle's inset, and the right handle's
}  // namespace

QWidget* TMainform::buildRuler(QWidget* parent) {
    ruler = new TQxRuler();
    ruler->setObjectName(QStringLiteral("ruler"));
    auto* dock = new TQxRulerDock(*ruler, parent);
    ruler->setFixedSize(917, 25);
    ruler->SetShowMarginHandlers(false);
    ruler->SetColor(platform::clCaptionText);
    QFont font(QStringLiteral("Small Fonts"));
    font.setPixelSize(9);
    ruler->setFont(font);
    ruler->SetFontColor(platform::clWindowText);
    // The margins first: moving a margin shifts the handles with it.
    ruler->SetMarginLeft(62);
    ruler->SetMarginRight(87);
    ruler->SetIndentFirst(62);
    ruler->SetIndentLeft(62);
    ruler->SetIndentRight(183);
    ruler->OnIndentChange = [this](QObject* sender, TIndentID id) { rulerIndentChange(sender, id); };
    editor->OnSelectionChange = [this](QObject* sender) { editorSelectionChange(sender); };
    editor->OnEnter = [this](QObject* sender) { editorEnter(sender); };
    return dock;
}

void TMainform::editorSelectionChange(QObject*) {
    TQxParaAttributes& paragraph = editor->Paragraph();
    ruler->SetIndentFirst(pixelsFromPoints(paragraph.FirstIndent()) + kLeftHandleOffset);
    ruler->SetIndentLeft(pixelsFromPoints(paragraph.LeftIndent() + paragraph.FirstIndent()) + kLeftHandleOffset);
    ruler->SetIndentRight(ruler->width() - kEdgeInset - pixelsFromPoints(paragraph.RightIndent() + kEdgeInset));
}

// The exact inverses of the placement above, so a handle released where it stood changes nothing.
void TMainform::rulerIndentChange(QObject*, TIndentID IndentID) {
    TQxParaAttributes& paragraph = editor->Paragraph();
    // Ruler x 0 and 1 lie left of indent 0, where the text cannot start: they mean indent 0.
    auto leftSidePoints = [](int x) { return std::max(0, pointsFromPixels(x - kLeftHandleOffset)); };
    auto setFirst = [&] { paragraph.SetFirstIndent(leftSidePoints(ruler->IndentFirst())); };
    // The left indent is stored relative to the first line's start as the editor holds it now.
    auto setLeft = [&] { paragraph.SetLeftIndent(leftSidePoints(ruler->IndentLeft()) - paragraph.FirstIndent()); };
    switch (IndentID) {
    case TIndentID::riFirst: setFirst(); break;
    case TIndentID::riLeft: setLeft(); break;
    case TIndentID::riRight:
        paragraph.SetRightIndent(pointsFromPixels(ruler->width() - kEdgeInset - ruler->IndentRight()) - kEdgeInset);
        break;
    case TIndentID::riBothLeft:
        setFirst();
        setLeft();
        break;
    }
    editorSelectionChange(ruler);
}

// Lines wrap at the ruler's right inset whatever the window's width.
void TMainform::SetEditorRect() {
    richedit::Engine& engine = editor->HandleNeeded();
    // An empty rectangle would mean "the whole client area", so the height is at least one row.
    const int height = std::max(1, engine.viewport()->height());
    engine.setRect(QRect(kEdgeInset, 0, ruler->width() - 2 * kEdgeInset, height));
}

void TMainform::FormResize() {
    SetEditorRect();
    editorSelectionChange(this);
}

void TMainform::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainform::editorEnter(QObject* Sender) { editorSelectionChange(Sender); }

// Start-up: lines wrap at the ruler's width from the first moment, not only after the window's first
// resize. A new, empty document gets the program's indents; a document named on the command line keeps
// its own, since writing them into its first paragraph would change the user's file at the next save.
void TMainform::StartRulerBinding() {
    SetEditorRect();
    if (DocumentPath.isEmpty()) {
        editor->Paragraph().SetRightIndent(60);
        editor->Paragraph().SetFirstIndent(ruler->MarginLeft() - 18);
    }
    editorSelectionChange(this);
}
