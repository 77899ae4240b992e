#include "platform/shell.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace platform {

namespace {
QString& executableDirOverride() {
    static QString dir;
    return dir;
}
}  // namespace

OsVersion osVersion() {
    utsname u{};
    if (uname(&u) != 0) return {};
    OsVersion v;
    const QStringList parts = QString::fromLatin1(u.release).split(QLatin1Char('.'));
    v.major = parts.value(0).toInt();
    // "1" of "6.1.0-18-amd64"; digits only, the rest of the part is a suffix.
    QString minor = parts.value(1);
    qsizetype n = 0;
    while (n < minor.size() && minor[n].isDigit()) ++n;
    v.minor = minor.left(n).toInt();
    return v;
}

QString registeredOwner() {
    const passwd* pw = getpwuid(getuid());
    if (!pw) return {};
    const QString fullName = QString::fromLocal8Bit(pw->pw_gecos ? pw->pw_gecos : "").section(QLatin1Char(','), 0, 0).trimmed();
    return fullName.isEmpty() ? QString::fromLocal8Bit(pw->pw_name) : fullName;
}

QString registeredOrganization() { return {}; }

void beep() { QApplication::beep(); }

bool openUrl(const QString& url) { return QDesktopServices::openUrl(QUrl::fromUserInput(url)); }

QString executableDir() {
    QString dir = executableDirOverride().isEmpty() ? QCoreApplication::applicationDirPath() : executableDirOverride();
    dir = QDir::cleanPath(dir);
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

void setExecutableDirForTesting(const QString& dir) { executableDirOverride() = dir; }

}  // namespace platform
