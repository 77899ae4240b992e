// The toolbar follows the selection: on a mouse press in the editor, on an arrow key (before the
// caret moves) and after the editor's own formatting keys, the character controls of the second
// toolbar and the line-spacing ticks show the format at the selection's start. Tracking only shows:
// it never writes to the document, so moving the caret or extending a selection changes no text.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/widgets/colorbutton.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/sizebox.h"

#include <QAction>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

constexpr int kThreeLinesPoints = 30;

// Shows `color` on a colour button without running its handler, which would write the colour back
// over the whole selection.
void ShowColor(platform::ColorButton* button, platform::ColorValue color) {
    const QSignalBlocker quiet(button);
    button->setSelectedColor(color);
}

}  // namespace

void TMainform::UpdateFormatControls() {
    TQxTextAttributes& attributes = editor->SelAttributes();
    fontybox->setFaceName(attributes.Name());
    velpisma->setEditText(QString::number(attributes.Size()));
    ShowColor(barvatextu, attributes.Color());
    ShowColor(bpozaditextu, attributes.BackColor());

    const TFontStyles style = attributes.Style();
    tucne->setChecked(style.testFlag(TFontStyle::Bold));
    kurziva->setChecked(style.testFlag(TFontStyle::Italic));
    podtrzene->setChecked(style.testFlag(TFontStyle::Underline));
    preskrknute->setChecked(style.testFlag(TFontStyle::StrikeOut));
    const TSubscriptStyle index = attributes.SubscriptStyle();
    dindex->setChecked(index == TSubscriptStyle::Subscript);
    hindex->setChecked(index == TSubscriptStyle::Superscript);

    // Rules 3 and 5, and rule 4 with another spacing than 30 points, have no item: the ticks stay.
    QAction* tick = nullptr;
    switch (editor->Paragraph().LineSpacingRule()) {
    case 0: tick = normalni; break;
    case 1: tick = radku15; break;
    case 2: tick = radku2; break;
    case 4:
        if (editor->Paragraph().LineSpacing() == kThreeLinesPoints) tick = radku3;
        break;
    default: break;
    }
    if (tick) TickLineSpacing(tick);
}

// The engine has already moved the caret to the pressed place.
void TMainform::editorMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
    UpdateFormatControls();
    RefreshCountPanels();
}

// Runs before the editor acts on the key, so the controls show the selection as it was before the
// caret moves: they follow one key behind.
void TMainform::editorKeyDown(QObject*, int& Key, Qt::KeyboardModifiers) {
    switch (Key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: UpdateFormatControls(); break;
    default: break;
    }
}
