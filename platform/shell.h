#pragma once
// Desktop services: the operating system's version, the registered owner and organisation, the
// beep, opening a link with the desktop's default handler, and where the executable lives.

#include <QString>

namespace platform {

struct OsVersion {
    int major = 0;
    int minor = 0;
};

OsVersion osVersion();               // the kernel release from uname ("6.1.0-..." gives 6 and 1)
QString registeredOwner();           // the user's full name from the passwd entry, else the login name
QString registeredOrganization();    // no such value exists here: always empty
void beep();
bool openUrl(const QString& url);    // false when no handler took it

// The executable's directory with a trailing separator. Tests may point it at a temporary folder.
QString executableDir();
void setExecutableDirForTesting(const QString& dir);

}  // namespace platform
