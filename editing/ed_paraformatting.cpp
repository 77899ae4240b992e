// The paragraph formatting commands of the second toolbar: alignment, numbered and bulleted lists,
// and line spacing through the drop-down `radkovanipop`. They write the paragraphs the selection
// touches. The alignment and list buttons show the last command given with them.
#include "app/ed.h"

#include "editing/QxRichEdit.h"

#include <QAction>
#include <QToolButton>

namespace {

constexpr int kNumberingNone = 0;
constexpr int kNumberingBullet = 1;
constexpr int kNumberingArabic = 2;
constexpr int kNumberingStylePeriod = 1;  // "1."
constexpr int kThreeLinesPoints = 30;     // "3 řádky" is exactly 30 points

void Align(TMainform& form, TParaAlignment alignment, QToolButton* pressed) {
    form.editor->Paragraph().SetAlignment(alignment);
    for (QToolButton* button : {form.lzarovnani, form.szarovnani, form.pzarovnani, form.czarovnani})
        button->setChecked(button == pressed);
}

void SetSpacingRule(TMainform& form, int rule, QAction* item) {
    form.editor->Paragraph().SetLineSpacingRule(rule);
    form.TickLineSpacing(item);
    form.editor->setFocus();
}

}  // namespace

void TMainform::lzarovnaniClick() { Align(*this, TParaAlignment::Left, lzarovnani); }
void TMainform::szarovnaniClick() { Align(*this, TParaAlignment::Center, szarovnani); }
void TMainform::pzarovnaniClick() { Align(*this, TParaAlignment::Right, pzarovnani); }
void TMainform::czarovnaniClick() { Align(*this, TParaAlignment::Justify, czarovnani); }

// A paragraph with the other kind of list is not "its own": one click changes bullets to numbers and
// back. Removing a list sets the left indent to 0; adding one raises it to at least 10 points.
void TMainform::cisodrazClick() {
    TQxParaAttributes& paragraph = editor->Paragraph();
    if (paragraph.Numbering() == kNumberingArabic) {
        paragraph.SetNumbering(kNumberingNone);
        cisodraz->setChecked(false);
        return;
    }
    paragraph.SetNumbering(kNumberingArabic);
    paragraph.SetNumberingStart(1);
    paragraph.SetNumberingStyle(kNumberingStylePeriod);
    cisodraz->setChecked(true);
    tecodraz->setChecked(false);
}

void TMainform::tecodrazClick() {
    TQxParaAttributes& paragraph = editor->Paragraph();
    if (paragraph.Numbering() == kNumberingBullet) {
        paragraph.SetNumbering(kNumberingNone);
        tecodraz->setChecked(false);
        return;
    }
    paragraph.SetNumbering(kNumberingBullet);
    tecodraz->setChecked(true);
    cisodraz->setChecked(false);
}

// "Další......" is never ticked.
void TMainform::TickLineSpacing(QAction* item) {
    for (QAction* spacing : {normalni, radku15, radku2, radku3}) spacing->setChecked(spacing == item);
}

// The face of the line-spacing button only gives the focus back; its arrow opens `radkovanipop`.
void TMainform::radkovaniClick() { editor->setFocus(); }

void TMainform::normalniClick() { SetSpacingRule(*this, 0, normalni); }
void TMainform::radku15Click() { SetSpacingRule(*this, 1, radku15); }
void TMainform::radku2Click() { SetSpacingRule(*this, 2, radku2); }

// The spacing goes first: the rule write keeps it, so the paragraphs end with exactly 30 points
// whatever rule they had.
void TMainform::radku3Click() {
    editor->Paragraph().SetLineSpacing(kThreeLinesPoints);
    SetSpacingRule(*this, 4, radku3);
}
