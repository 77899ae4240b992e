#include "platform/library.h"

#include <QDir>
#include <QFile>

#include <dlfcn.h>

namespace platform {

std::unique_ptr<Library> Library::load(const QString& absolutePath) {
    if (!QDir::isAbsolutePath(absolutePath)) return nullptr;
    // RTLD_LOCAL keeps the library's symbols to itself; RTLD_NOW reports a broken library at load time.
    void* handle = dlopen(QFile::encodeName(absolutePath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    return std::unique_ptr<Library>(new Library(handle));
}

Library::~Library() { dlclose(handle_); }

void* Library::entry(const char* name) const { return dlsym(handle_, name); }

}  // namespace platform
