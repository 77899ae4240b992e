// The character formatting commands of the second toolbar and the Nastavení menu: face, size, the
// four styles, sub- and superscript, text and back colour. Each writes the selection's attributes
// (or the insertion format at the caret).
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/dialogs/dialogs.h"
#include "platform/errors.h"
#include "platform/widgets/colorbutton.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/sizebox.h"

#include <QRegularExpression>
#include <QToolButton>

#include <limits>

namespace {

// The toolkit's integer conversion: optional blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x". Anything else is a conversion error naming the text.
int StrToInt(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^ *([+-]?)(?:([0-9]+)|(?:\\$|0[xX])([0-9A-Fa-f]+))$"));
    const QRegularExpressionMatch match = pattern.match(text);
    bool ok = match.hasMatch();
    qint64 value = 0;
    if (ok) {
        const bool hex = match.capturedLength(3) > 0;
        value = (hex ? match.captured(3) : match.captured(2)).toLongLong(&ok, hex ? 16 : 10);
        if (match.captured(1) == QLatin1String("-")) value = -value;
    }
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw platform::EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return int(value);
}

// Toggles one of the four styles over the selection, as its start reads, and shows it on the button.
// Only that style is written: the other three of every character stay as they were.
void ToggleStyle(TQxRichEdit& editor, TFontStyle style, QToolButton* button) {
    const bool on = editor.SelAttributes().Style().testFlag(style);
    editor.SelAttributes().SetStyleFlag(style, !on);
    button->setChecked(!on);
    editor.setFocus();
}

// `own` is subscript or superscript with its button; the other index button is raised when `own` is
// switched on, since the two exclude each other.
void ToggleIndex(TQxRichEdit& editor, TSubscriptStyle own, QToolButton* ownButton, QToolButton* otherButton) {
    if (editor.SelAttributes().SubscriptStyle() == own) {
        editor.SelAttributes().SetSubscriptStyle(TSubscriptStyle::None);
        ownButton->setChecked(false);
    } else {
        editor.SelAttributes().SetSubscriptStyle(own);
        ownButton->setChecked(true);
        otherButton->setChecked(false);
    }
    editor.setFocus();
}

}  // namespace

void TMainform::FontBox1Change() {
    editor->SelAttributes().SetName(fontybox->faceName());
    editor->setFocus();
}

void TMainform::velpismaClick() {
    // A text that is no whole number escapes to the unexpected-error path; the focus stays in the box.
    editor->SelAttributes().SetSize(StrToInt(velpisma->currentText()));
    editor->setFocus();
}

void TMainform::velpismaKeyPress(QChar Key) {
    if (Key == QLatin1Char('\r')) velpismaClick();
}

void TMainform::ToolButton35Click() { ToggleStyle(*editor, TFontStyle::Bold, tucne); }
void TMainform::ToolButton36Click() { ToggleStyle(*editor, TFontStyle::Italic, kurziva); }
void TMainform::ToolButton37Click() { ToggleStyle(*editor, TFontStyle::Underline, podtrzene); }
void TMainform::ToolButton38Click() { ToggleStyle(*editor, TFontStyle::StrikeOut, preskrknute); }

void TMainform::dindexClick() { ToggleIndex(*editor, TSubscriptStyle::Subscript, dindex, hindex); }
void TMainform::hindexClick() { ToggleIndex(*editor, TSubscriptStyle::Superscript, hindex, dindex); }

void TMainform::barvatextuColorChange() { editor->SelAttributes().SetColor(barvatextu->selectedColor()); }

void TMainform::bpozaditextuColorChange() { editor->SelAttributes().SetBackColor(bpozaditextu->selectedColor()); }

void TMainform::Barvapsma1Click() {
    if (const std::optional<QColor> chosen = platform::dialogs().chooseColor(this, ColorDialog1Color)) {
        ColorDialog1Color = *chosen;
        editor->SelAttributes().SetColor(platform::colorValueFromColor(*chosen));
    }
    editor->setFocus();
}

void TMainform::Barvapozadpsma1Click() {
    if (const std::optional<QColor> chosen = platform::dialogs().chooseColor(this, ColorDialog1Color)) {
        ColorDialog1Color = *chosen;
        editor->SelAttributes().SetBackColor(platform::colorValueFromColor(*chosen));
    }
    editor->setFocus();
}
