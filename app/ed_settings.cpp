// The main window's configuration file config/VUR.cfg: read once at start, written on every close.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/colorvalue.h"
#include "platform/dialogs/dialogs.h"
#include "platform/profile/profilefile.h"
#include "platform/profile/windowgeometry.h"
#include "platform/richedit/engine.h"
#include "platform/shell.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QStatusBar>
#include <QTimer>

namespace {

const QString kOptions = QStringLiteral("nastaveni");
const QString kView = QStringLiteral("nastaveni zobrazeni");
const QString kEditing = QStringLiteral("nastaveni upravy");
const QString kSize = QStringLiteral("velikost");
const QString kPlace = QStringLiteral("nastaveni na plose");

QString ConfigFile() { return ProgramDir + QStringLiteral("config/VUR.cfg"); }

}  // namespace

void TMainform::LoadSettings() {
    ProgramDir = platform::executableDir();
    const platform::ProfileFile profile(ConfigFile());
    // Applied in this order, as read; nothing checks the values.
    Timer2->setInterval(profile.readInteger(kOptions, QStringLiteral("autosaveInterval"), 60000));
    const bool autosave = profile.readBool(kOptions, QStringLiteral("autosavetimer"), false);
    // A timer without an interval never ticks.
    if (autosave && Timer2->interval() > 0) Timer2->start();
    else Timer2->stop();
    AutosaveEnabled = autosave;
    const QRect geometry = platform::readWindowGeometry(profile, {623, 969});
    SaveFolder = profile.readString(kOptions, QStringLiteral("mistosave"), ProgramDir);
    statusBar()->setVisible(profile.readBool(kView, QStringLiteral("stavradek"), true));
    ruler->setVisible(profile.readBool(kView, QStringLiteral("pravitko"), true));
    SetWindowColor(platform::ColorValue(profile.readInteger(kView, QStringLiteral("barva programu"), int(platform::clBtnFace))));
    editor->SetWordWrap(profile.readBool(kEditing, QStringLiteral("zalomeni radku"), true));
    editor->SetUndoLimit(profile.readInteger(kEditing, QStringLiteral("kolikrat zpet"), 100));
    platform::applyWindowGeometry(*this, geometry);
}

void TMainform::SaveSettings() {
    ProgramDir = platform::executableDir();
    QDir().mkdir(ProgramDir + QStringLiteral("config"));  // one level; a failure shows at the writes
    platform::ProfileFile profile(ConfigFile());
    const bool written = profile.writeInteger(kOptions, QStringLiteral("autosaveInterval"), Timer2->interval()) &&
                         profile.writeInteger(kSize, QStringLiteral("vyskaformu"), height()) &&
                         profile.writeInteger(kSize, QStringLiteral("sirkaformu"), width()) &&
                         profile.writeString(kOptions, QStringLiteral("mistosave"), SaveFolder) &&
                         profile.writeBool(kOptions, QStringLiteral("autosavetimer"), AutosaveEnabled) &&
                         profile.writeBool(kView, QStringLiteral("stavradek"), !statusBar()->isHidden()) &&
                         profile.writeBool(kView, QStringLiteral("pravitko"), !ruler->isHidden()) &&
                         profile.writeInteger(kView, QStringLiteral("barva programu"), int(WindowColor)) &&
                         profile.writeBool(kEditing, QStringLiteral("zalomeni radku"), editor->WordWrap()) &&
                         profile.writeInteger(kEditing, QStringLiteral("kolikrat zpet"), editor->UndoLimit()) &&
                         profile.writeInteger(kPlace, QStringLiteral("bod1"), y()) &&
                         profile.writeInteger(kPlace, QStringLiteral("bod2"), x()) && profile.flush();
    if (!written) platform::dialogs().message(this, QStringLiteral("Nelze uložit konfiguraci"));
}

void TMainform::SetWindowColor(platform::ColorValue color) {
    WindowColor = color;
    QPalette pal = palette();
    const QColor resolved = platform::resolveColor(color, QApplication::palette());
    if (resolved.isValid()) pal.setColor(QPalette::Window, resolved);
    setPalette(pal);
}
