// Connects the menus, the context menu and the first toolbar to the insert, search and edit
// commands. Items bound to an edit action run the action and follow its enabled state; they keep
// their own captions and pictures, and the context menu's items show the action's hint and shortcut.
#include "app/ed.h"

#include "editing/QxRichEdit.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QToolButton>

namespace {

void follow(QAction* action, QObject* receiver, const std::function<void(bool)>& setEnabled) {
    setEnabled(action->isEnabled());
    QObject::connect(action, &QAction::changed, receiver, [action, setEnabled] { setEnabled(action->isEnabled()); });
}

// A menu item bound to `action`. `takeHint`: the item shows the action's hint and shortcut; its key
// works only while its menu is open, so that the window's own keys stay unambiguous.
void bindMenuItem(QAction* item, QAction* action, bool takeHint) {
    if (takeHint) {
        item->setStatusTip(action->statusTip());
        item->setToolTip(action->toolTip());
        item->setShortcut(action->shortcut());
        item->setShortcutContext(Qt::WidgetShortcut);
    }
    QObject::connect(item, &QAction::triggered, action, [action] { action->trigger(); });
    follow(action, item, [item](bool on) { item->setEnabled(on); });
}

void bindButton(QToolButton* button, QAction* action) {
    QObject::connect(button, &QToolButton::clicked, action, [action] { action->trigger(); });
    follow(action, button, [button](bool on) { button->setEnabled(on); });
}

void onTriggered(QAction* item, TMainform* window, void (TMainform::*handler)()) {
    QObject::connect(item, &QAction::triggered, window, [window, handler] { (window->*handler)(); });
}

void onClicked(QToolButton* button, TMainform* window, void (TMainform::*handler)()) {
    QObject::connect(button, &QToolButton::clicked, window, [window, handler] { (window->*handler)(); });
}

}  // namespace

void TMainform::bindEditingCommands() {
    // menu bar
    onTriggered(zpt1, this, &TMainform::Zpt2Click);
    onTriggered(Vped2, this, &TMainform::Vped1Click);
    onTriggered(Vybratve1, this, &TMainform::Vybratve1Click);
    bindMenuItem(Koprovat1, EditCopy1, false);
    bindMenuItem(Vyjmout1, EditCut1, false);
    bindMenuItem(Vloit1, EditPaste1, false);
    bindMenuItem(vymazat1, EditDelete1, false);
    onTriggered(Datum1, this, &TMainform::Datum1Click);
    onTriggered(Obrzek1, this, &TMainform::Obrzek1Click);
    onTriggered(Dal2, this, &TMainform::Dal2Click);
    onTriggered(Najtvtextu1, this, &TMainform::Najtvtextu1Click);
    onTriggered(Nahradittext1, this, &TMainform::Nahradittext1Click);

    // context menu
    bindMenuItem(Koprovat2, EditCopy1, true);
    bindMenuItem(Vyjmout2, EditCut1, true);
    bindMenuItem(Vloit3, EditPaste1, true);
    onTriggered(Obrzek2, this, &TMainform::VloitBitmapu1Click);
    onTriggered(Datumaas1, this, &TMainform::Vloitdatumaas1Click);
    onTriggered(Dal3, this, &TMainform::Dal3Click);
    onTriggered(Najtvtextu2, this, &TMainform::Najtvtextu2Click);
    onTriggered(Nahradittext2, this, &TMainform::Nahradittext2Click);
    bindMenuItem(Vybratve2, EditSelectAll1, true);
    bindMenuItem(Smazat1, EditDelete1, true);
    for (QMenu* menu : {PopupMenu1, Upravy1}) connect(menu, &QMenu::aboutToShow, this, [this] { UpdateEditActions(); });

    // first toolbar
    onClicked(ToolButton4, this, &TMainform::Najtvtextu1Click);
    onClicked(ToolButton15, this, &TMainform::Nahradittext1Click);
    bindButton(kopirovat, EditCopy1);
    bindButton(vyjmout, EditCut1);
    bindButton(vlozit, EditPaste1);
    bindButton(odstranit, EditDelete1);
    onClicked(undo, this, &TMainform::undoClick);
    onClicked(redo, this, &TMainform::redoClick);
    onClicked(ToolButton24, this, &TMainform::Obrzek1Click);
    onClicked(ToolButton25, this, &TMainform::Datum1Click);
    connect(meritkozobraz, &QComboBox::activated, this, [this] { meritkozobrazClick(); });

    editor->OnURLClick = [this](QObject*, const QString& url, Qt::MouseButton button) { editorURLClick(url, button); };
}
