#include "tests/support/programfolder.h"

#include "platform/shell.h"

#include <QDir>
#include <QFile>

namespace qxtest {

ProgramFolder::ProgramFolder(WithLibraries libraries) {
    platform::setExecutableDirForTesting(dir_.path());
    if (libraries == WithLibraries::Yes) {
        QDir().mkpath(path() + QStringLiteral("bin"));
        const QDir built(QStringLiteral(QX_BUILD_DIR "/bin"));
        for (const QString& name : built.entryList({QStringLiteral("*.dll")}, QDir::Files))
            QFile::copy(built.filePath(name), path() + QStringLiteral("bin/") + name);
    }
}

ProgramFolder::~ProgramFolder() { platform::setExecutableDirForTesting(QString()); }

QString ProgramFolder::path() const { return dir_.path() + QLatin1Char('/'); }

void ProgramFolder::installTestLibrary(const QString& source, const QString& target) {
    QDir().mkpath(path() + QStringLiteral("bin"));
    QFile::copy(QStringLiteral(QX_BUILD_DIR "/tests/plugins/") + source, path() + QStringLiteral("bin/") + target);
}

}  // namespace qxtest
