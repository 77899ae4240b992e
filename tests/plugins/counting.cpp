// A stand-in for the program's external libraries: every entry, and the library's loading and
// unloading, append a line to the file named by QX_TEST_LIBRARY_LOG, so that a test sees the
// load / call / release sequence.
#include "plugins/include/quillex_plugin.h"

#include <cstdio>
#include <cstdlib>

namespace {

int callsSinceLoad = 0;

void logLine(const char* what, const char* detail = "") {
    const char* path = std::getenv("QX_TEST_LIBRARY_LOG");
    if (!path) return;
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%s%s%s\n", what, *detail ? " " : "", detail);
        std::fclose(f);
    }
}

__attribute__((constructor)) void loaded() { logLine("load"); }
__attribute__((destructor)) void unloaded() { logLine("unload"); }

void called(const char* entry, const char* detail = "") {
    ++callsSinceLoad;
    char line[512];
    std::snprintf(line, sizeof line, "%s call=%d%s%s", entry, callsSinceLoad, *detail ? " " : "", detail);
    logLine(line);
}

}  // namespace

QX_PLUGIN_EXPORT void Autor(const char* programName) { called("Autor", programName); }
QX_PLUGIN_EXPORT void Info() { called("Info"); }
QX_PLUGIN_EXPORT void htmlsyntaxe(QxEditorAccess* editor) {
    char detail[64];
    std::snprintf(detail, sizeof detail, "length=%d", editor ? editor->textLength() : -1);
    called("htmlsyntaxe", detail);
}
QX_PLUGIN_EXPORT void CreateShortcut(const char* executablePath, unsigned char place, int reserved) {
    char detail[400];
    std::snprintf(detail, sizeof detail, "place=%d reserved=%d exe=%s", place, reserved, executablePath);
    called("CreateShortcut", detail);
}
