// What the settings dialog writes: OK for the general, view and paragraph tabs, "Použít Nastavení"
// for the font tab, and the font tab's live preview.
#include "settings/nastprog.h"

#include "editing/QxParaAttributes.h"
#include "editing/QxRichEdit.h"
#include "editing/QxTextAttributes.h"
#include "platform/widgets/colorbutton.h"
#include "platform/widgets/folderfield.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/spinfields.h"
#include "settings/underlinelist.h"

#include <QCheckBox>
#include <QComboBox>

#include <cmath>

namespace {

enum StyleItem { Regular = 0, Bold = 1, Italic = 2, BoldItalic = 3 };

TParaAlignment AlignmentOfItem(int index) {
    static constexpr TParaAlignment kAlignments[] = {TParaAlignment::Left, TParaAlignment::Center, TParaAlignment::Right,
                                                     TParaAlignment::Justify};
    return kAlignments[index];
}

}  // namespace

Tnastaveni::ParagraphShown Tnastaveni::paragraphShown() const {
    return {zarovnaniob->currentIndex(), radkovanim->currentIndex(), vyskam->value(), predm->value(), zam->value(),
            zlevaod->text(), zpravaod->text()};
}

void Tnastaveni::f2okClick() {
    TQxRichEdit& editor = host_.editor();
    const bool modified = editor.Modified();
    TQxParaAttributes& paragraph = editor.Paragraph();
    // Only what the user changed: the other values would give every paragraph of the selection the
    // first one's.
    const ParagraphShown now = paragraphShown();
    if (now.alignment != loaded_.alignment && now.alignment >= 0) paragraph.SetAlignment(AlignmentOfItem(now.alignment));
    if (now.spacingRule != loaded_.spacingRule || now.spacing != loaded_.spacing) {
        if (now.spacingRule >= 3) paragraph.SetLineSpacing(now.spacing);
        if (now.spacingRule >= 0) paragraph.SetLineSpacingRule(now.spacingRule);
    }
    if (now.before != loaded_.before) paragraph.SetSpaceBefore(now.before);
    if (now.after != loaded_.after) paragraph.SetSpaceAfter(now.after);
    // Rounded, so that the value shown comes back as the points it came from.
    if (now.first != loaded_.first) paragraph.SetFirstIndent(int(std::lround(zlevaod->value() * kPointsPerIndentUnit)));
    if (now.right != loaded_.right) paragraph.SetRightIndent(int(std::lround(zpravaod->value() * kPointsPerIndentUnit)));
    host_.paragraphChanged();

    host_.setAutosave(autosavecheck->isChecked(), SpinEdit1->value() * 60000);
    host_.setSaveFolder(Umistenislozky->text());
    host_.setStatusBarVisible(stavovyradek->isChecked());
    host_.setRulerVisible(Pravitko->isChecked());
    if (editor.WordWrap() != zalomeniradku->isChecked()) editor.SetWordWrap(zalomeniradku->isChecked());
    editor.SetUndoLimit(zpetkrat->value());

    editor.repaint();
    editor.SetModified(modified);
    host_.updateFormatControls();
    accept();
}

void Tnastaveni::radkovanimChange() {
    if (radkovanim->currentIndex() == 3) vyskam->setFieldValue(12);
    else if (radkovanim->currentIndex() == 5) vyskam->setFieldValue(3);
}

// ---- live preview ---------------------------------------------------------------------------------

void Tnastaveni::pismonpChange() {
    nahledpisma->DefaultAttributes().SetName(pismonp->faceName());
    nahledpisma->setFocus();
}

void Tnastaveni::StylpismaChange() {
    TQxTextAttributes& preview = nahledpisma->DefaultAttributes();
    const int item = Stylpisma->findText(Stylpisma->currentText());
    if (item >= 0) {
        preview.SetStyleFlag(TFontStyle::Bold, item == Bold || item == BoldItalic);
        preview.SetStyleFlag(TFontStyle::Italic, item == Italic || item == BoldItalic);
    }
    nahledpisma->setFocus();
}

void Tnastaveni::velpismaChange() { nahledpisma->DefaultAttributes().SetHeight(velpisma->currentText().toInt()); }

void Tnastaveni::bpismaColorChange() { nahledpisma->DefaultAttributes().SetColor(bpisma->selectedColor()); }

void Tnastaveni::bppismaColorChange() { nahledpisma->DefaultAttributes().SetBackColor(bppisma->selectedColor()); }

void Tnastaveni::CheckBox3Click() {
    TQxTextAttributes& preview = nahledpisma->DefaultAttributes();
    const bool underlined = preview.Style().testFlag(TFontStyle::Underline);
    preview.SetStyleFlag(TFontStyle::Underline, !underlined);
    CheckBox3->setChecked(!underlined);
    ComboBox1->setCurrentIndex(underlined ? 0 : 1);
    ComboBox1->setEnabled(!underlined);
    nahledpisma->setFocus();
}

void Tnastaveni::CheckBox4Click() {
    TQxTextAttributes& preview = nahledpisma->DefaultAttributes();
    const bool struck = preview.Style().testFlag(TFontStyle::StrikeOut);
    preview.SetStyleFlag(TFontStyle::StrikeOut, !struck);
    CheckBox4->setChecked(!struck);
    nahledpisma->setFocus();
}

void Tnastaveni::ComboBox1Change() {
    nahledpisma->DefaultAttributes().SetUnderlineType(UnderlineTypeOfItem(ComboBox1->currentIndex()));
}

// ---- applying the font ------------------------------------------------------------------------------

void Tnastaveni::Button1Click() {
    if (!host_.editor().SelText().isEmpty()) ApplyFontToSelection();
    else ApplyFontToDefault();
}

void Tnastaveni::ApplyFontToSelection() { ApplyFont(FontTarget::Selection); }
void Tnastaveni::ApplyFontToDefault() { ApplyFont(FontTarget::Default); }

void Tnastaveni::ApplyFont(FontTarget target) {
    TQxRichEdit& editor = host_.editor();
    TQxTextAttributes& t = target == FontTarget::Selection ? editor.SelAttributes() : editor.DefaultAttributes();
    const auto press = [this](FormatButton button, bool down) { host_.setFormatButtonDown(button, down); };

    if (!pismonp->faceName().isEmpty()) t.SetName(pismonp->faceName());
    t.SetSize(velpisma->currentText().toInt());  // points here, pixels in the preview
    t.SetColor(bpisma->selectedColor());
    t.SetBackColor(bppisma->selectedColor());

    const TFontStyles style = t.Style();
    const bool bold = style.testFlag(TFontStyle::Bold);
    const bool italic = style.testFlag(TFontStyle::Italic);
    const bool toDefault = target == FontTarget::Default;
    switch (Stylpisma->findText(Stylpisma->currentText())) {
    case Regular:
        t.SetStyleFlag(TFontStyle::Bold, false);
        t.SetStyleFlag(TFontStyle::Italic, false);
        press(FormatButton::Bold, false);
        press(FormatButton::Italic, false);
        break;
    case Bold:
        if (toDefault && bold) break;
        if (!bold) t.SetStyleFlag(TFontStyle::Bold, true);
        t.SetStyleFlag(TFontStyle::Italic, false);
        press(FormatButton::Bold, true);
        press(FormatButton::Italic, false);
        break;
    case Italic:
        if (toDefault && italic) break;
        if (!italic) t.SetStyleFlag(TFontStyle::Italic, true);
        t.SetStyleFlag(TFontStyle::Bold, false);
        press(FormatButton::Bold, false);
        press(FormatButton::Italic, true);
        break;
    case BoldItalic:
        if (!bold) {
            t.SetStyleFlag(TFontStyle::Bold, true);
            press(FormatButton::Bold, true);
        }
        if (!italic) {
            t.SetStyleFlag(TFontStyle::Italic, true);
            press(FormatButton::Italic, true);
        }
        break;
    default: break;  // no item selected
    }

    if (CheckBox3->isChecked()) {
        press(FormatButton::Underline, true);
        t.SetStyleFlag(TFontStyle::Underline, true);
        const int item = ComboBox1->currentIndex();
        t.SetUnderlineType(UnderlineTypeOfItem(item));
        if (item <= 0) press(FormatButton::Underline, false);
    } else {
        press(FormatButton::Underline, false);
        t.SetStyleFlag(TFontStyle::Underline, false);
    }
    // An unticked box removes strikeout, as an unticked "Podtržené" removes underline.
    press(FormatButton::StrikeOut, CheckBox4->isChecked());
    t.SetStyleFlag(TFontStyle::StrikeOut, CheckBox4->isChecked());
}
