// The metafile player over arbitrary bytes. The first byte chooses WMF or EMF, the rest is the data;
// every input also goes through format detection, and a replayed picture is drawn once.
// Run it with ASAN_OPTIONS=detect_leaks=0: fontconfig keeps its caches for the life of the process.
#include "platform/picture/metafile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Text and pictures need a running application for fonts.
    static int argc = 1;
    static char name[] = "fuzz_metafile";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    if (size < 1) return 0;
    const QString format = QLatin1String(data[0] % 2 ? "emf" : "wmf");
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    (void)platform::detectMetafileFormat(bytes);
    const auto metafile = platform::replayMetafile(bytes, format);
    if (!metafile) return 0;
    if (!(metafile->size.width() > 0) || !(metafile->size.height() > 0)) std::abort();
    QImage image(64, 64, QImage::Format_RGB32);
    QPainter painter(&image);
    platform::drawMetafile(&painter, *metafile, QRectF(0, 0, 64, 64));
    return 0;
}
