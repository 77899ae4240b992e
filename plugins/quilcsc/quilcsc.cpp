// Shortcut creation: a freedesktop .desktop entry that starts the program, on the user's desktop
// (place 0) or in the user's applications menu (place 3). The third argument is reserved.
#include "quillex_plugin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString folderFor(unsigned char place) {
    switch (place) {
    case 0: return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case 3: return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    default: return {};
    }
}

// Exec= needs its argument quoted when it holds blanks or reserved characters.
QString quotedExec(const QString& path) {
    QString escaped = path;
    for (const char* c : {"\\", "\"", "`", "$"}) escaped.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

}  // namespace

QX_PLUGIN_EXPORT void CreateShortcut(const char* executablePath, unsigned char place, int /*reserved*/) {
    const QString folder = folderFor(place);
    if (folder.isEmpty() || !executablePath) return;
    QDir().mkpath(folder);
    const QString exe = QString::fromLocal8Bit(executablePath);
    const QString icon = QFileInfo(exe).absolutePath() + QStringLiteral("/quillex.png");
    QSaveFile file(folder + QStringLiteral("/quillex.desktop"));
    if (!file.open(QIODevice::WriteOnly)) return;
    const QString entry = QStringLiteral(
                              "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Version=1.0\n"
                              "Name=Quillex\n"
                              "Comment=Textový editor\n"
                              "Exec=%1 %f\n"
                              "Icon=%2\n"
                              "Terminal=false\n"
                              "Categories=Office;WordProcessor;\n"
                              "MimeType=application/rtf;text/rtf;text/plain;\n")
                              .arg(quotedExec(exe), icon);
    file.write(entry.toUtf8());
    if (file.commit() && place == 0) {
        // Desktops start only entries that are executable.
        QFile::setPermissions(file.fileName(), QFile::permissions(file.fileName()) | QFileDevice::ExeOwner);
    }
}
