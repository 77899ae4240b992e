// qlxbench: times the engine on generated documents and prints a table of medians. Times are only
// reported here; nothing asserts them. Ratios to a baseline measured in the same run make figures
// comparable between machines.
#include "bench/docgen.h"
#include "bench/timing.h"

#include "platform/richedit/engine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace richedit;

namespace {

using bench::medianMs;

using bench::residentKb;

void row(const char* what, double ms, const char* note = "") { std::printf("%-58s %12.3f ms  %s\n", what, ms, note); }

void typeOne(Engine& engine, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&engine, &press);
    QApplication::processEvents();  // the repaint the engine asked for
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int runs = 15;

    Engine engine;
    engine.resize(1000, 800);
    engine.show();
    for (int i = 0; i < 10; ++i) QApplication::processEvents();  // exposed, so repaints really paint
    engine.setEventMask(ENM_CHANGE | ENM_SELCHANGE);
    int notifications = 0;
    QObject::connect(&engine, &Engine::changed, [&] { ++notifications; });
    QObject::connect(&engine, &Engine::selectionChanged, [&] { ++notifications; });

    std::printf("qlxbench: %d pages of mixed formatting, Czech text; medians of %d runs\n\n", pages, runs);
    const long rssBefore = residentKb();
    QElapsedTimer buildTimer;
    buildTimer.start();
    docgen::Options options;
    options.pages = pages;
    const int length = docgen::build(engine, options);
    engine.getLineCount();  // laid out completely
    const double buildMs = buildTimer.nsecsElapsed() / 1e6;
    const long rssAfter = residentKb();
    const qint64 plainBytes = docgen::plainText(options).toUtf8().size();
    row("build the document through the engine (one run)", buildMs);
    std::printf("%-58s %12d chars, %d display lines\n", "  size", length, engine.getLineCount());
    std::printf("%-58s %12.1f MB resident growth, %.1f x the plain text (%.1f MB)\n", "  memory",
                (rssAfter - rssBefore) / 1024.0, (rssAfter - rssBefore) * 1024.0 / plainBytes, plainBytes / 1048576.0);

    const int middle = length / 2;
    engine.setSel(middle, middle);
    engine.scrollCaret();
    engine.setFocus();
    row("type one character in the middle (notifications, repaint)", medianMs(runs, [&] { typeOne(engine, u'x'); }));
    row("full repaint of the view", medianMs(runs, [&] { engine.viewport()->repaint(); }));
    row("read the selection's char format there", medianMs(runs, [&] { (void)engine.getCharFormat(SCF_SELECTION); }));
    row("read the selection's para format there", medianMs(runs, [&] { (void)engine.getParaFormat(); }));

    const QTextDocument* doc = engine.document();
    qint64 sink = 0;
    const double scan = medianMs(5, [&] {
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) sink += b.text().size();
    });
    const double linePass = medianMs(5, [&] {
        const int count = engine.getLineCount();
        for (int i = 0; i < count; ++i) sink += engine.getLine(i, 4096).size();
    });
    row("plain scan of the text (baseline)", scan);
    char ratio[64];
    std::snprintf(ratio, sizeof ratio, "%.2f x the scan", linePass / std::max(scan, 1e-6));
    row("full getLineCount/getLine pass over all display lines", linePass, ratio);
    const double afterEdit = medianMs(5, [&] {
        const int count = engine.getLineCount();
        for (int i = 0; i < count; ++i) sink += engine.getLine(i, 4096).size();
    }, [&] { typeOne(engine, u'y'); });
    std::snprintf(ratio, sizeof ratio, "%.2f x the scan", afterEdit / std::max(scan, 1e-6));
    row("  the same pass right after a typed character", afterEdit, ratio);
    row("line from character at the end", medianMs(runs, [&] { sink += engine.exLineFromChar(engine.getTextLength()); }));
    row("line from character at the end, after a typed character",
        medianMs(runs, [&] { sink += engine.exLineFromChar(engine.getTextLength()); }, [&] { typeOne(engine, u'z'); }));

    bool zoomed = false;
    row("zoom change 100 % <-> 150 % (relayout, repaint)", medianMs(5, [&] {
        zoomed = !zoomed;
        engine.setZoom(zoomed ? 150 : 0, zoomed ? 100 : 0);
        QApplication::processEvents();
    }));
    engine.setZoom(0, 0);

    const QString needle = QStringLiteral("nenalezitelné");
    row("find a word from start to end (not present)", medianMs(runs, [&] {
        FINDTEXTEX ft;
        ft.chrg = {0, -1};
        ft.lpstrText = reinterpret_cast<const char16_t*>(needle.utf16());
        sink += engine.findTextEx(FR_DOWN | FR_MATCHCASE, ft);
    }, [&] { typeOne(engine, u'w'); }));

    Engine single;
    single.resize(1000, 800);
    single.show();
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    docgen::Options one;
    one.pages = std::max(1, pages / 10);
    one.singleParagraph = true;
    const int singleLength = docgen::build(single, one);
    single.getLineCount();
    single.setSel(singleLength / 2, singleLength / 2);
    single.scrollCaret();
    char label[96];
    std::snprintf(label, sizeof label, "type one character in a %d-page single paragraph", one.pages);
    row(label, medianMs(runs, [&] { typeOne(single, u'x'); }));

    std::printf("\n(%d notifications raised; checksum %lld)\n", notifications, static_cast<long long>(sink));
    return 0;
}
