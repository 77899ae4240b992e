// A library without any of the entries the program looks for. Its loading and unloading append a
// line to the file named by QX_TEST_LIBRARY_LOG, so that a test sees it released.
#include "plugins/include/quillex_plugin.h"

#include <cstdio>
#include <cstdlib>

namespace {

void logLine(const char* what) {
    const char* path = std::getenv("QX_TEST_LIBRARY_LOG");
    if (!path) return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", what);
        std::fclose(f);
    }
}

__attribute__((constructor)) void loaded() { logLine("load"); }
__attribute__((destructor)) void unloaded() { logLine("unload"); }

}  // namespace

QX_PLUGIN_EXPORT int SomethingElse() { return 42; }
