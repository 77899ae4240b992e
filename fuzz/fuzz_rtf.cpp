// Feeds arbitrary bytes to the RTF reader and writes the result back out.
#include "platform/richedit/rtf.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QGuiApplication* app = [] {
        static int argc = 1;
        static char name[] = "fuzz_rtf";
        static char* argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QTextDocument document;
    QTextCursor cursor(&document);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const richedit::RtfReadResult result = richedit::readRtf(bytes, cursor);
    if (result.ok) {
        // What was read must also write and read again.
        const QByteArray written = richedit::writeRtf(document, 0, -1, richedit::RtfObjects::Include);
        QTextDocument again;
        QTextCursor againCursor(&again);
        if (!richedit::readRtf(written, againCursor).ok) std::abort();
    }
    return 0;
}
