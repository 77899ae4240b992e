#include "htmlpreview/htmlpreview.h"

#include "platform/dialogs/dialogs.h"
#include "platform/profile/profilefile.h"
#include "platform/profile/windowgeometry.h"
#include "platform/shell.h"

#include <QDir>
#include <QEvent>
#include <QVBoxLayout>
#include <QUrl>
#include <QWebEngineView>

Thtmlstrf* htmlstrf = nullptr;

namespace {

QString ConfigFile() { return platform::executableDir() + QStringLiteral("config/NHS.cfg"); }

// A path is handed to the browser as a local file; anything else (an address) as it stands.
QUrl Location(const QString& fileName) {
    return QDir::isAbsolutePath(fileName) ? QUrl::fromLocalFile(fileName) : QUrl::fromUserInput(fileName, QDir::currentPath());
}

}  // namespace

Thtmlstrf::Thtmlstrf(const QString& fileName, QWidget* parent) : QDialog(parent), fileName_(fileName) {
    setObjectName(QStringLiteral("htmlstrf"));
    setWindowTitle(QStringLiteral("Náhled Html Stránky"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    QFont face(QStringLiteral("MS Sans Serif"));
    face.setPointSize(8);
    setFont(face);
    setBackgroundRole(QPalette::Button);
    resize(640, 480);

    prohlizec = new QWebEngineView(this);
    prohlizec->setObjectName(QStringLiteral("prohlizec"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(prohlizec);
    FormCreate();
}

void Thtmlstrf::FormCreate() { prohlizec->setUrl(Location(fileName_)); }

void Thtmlstrf::LoadWindowGeometry() {
    const platform::ProfileFile profile(ConfigFile());
    platform::applyWindowGeometry(*this, platform::readWindowGeometry(profile, {480, 640}));
}

void Thtmlstrf::SaveWindowGeometry() {
    QDir().mkdir(platform::executableDir() + QStringLiteral("config"));  // a failure shows at the writes
    platform::ProfileFile profile(ConfigFile());
    const bool written = platform::writeWindowGeometry(profile, *this) && profile.flush();
    if (!written) platform::dialogs().message(this, QStringLiteral("Nelze uložit konfiguraci"));
}

void Thtmlstrf::done(int result) {
    if (isVisible()) SaveWindowGeometry();
    QDialog::done(result);
}

bool Thtmlstrf::event(QEvent* event) {
    // Once, when the modal window first becomes active: later activations must not undo a move.
    if (event->type() == QEvent::WindowActivate && !geometryLoaded_) {
        geometryLoaded_ = true;
        LoadWindowGeometry();
    }
    return QDialog::event(event);
}
