// qlxbench_storage: times loading and saving generated RTF and plain-text documents of 10, 100 and
// 1000 pages through the editor's line store, and, when they are installed, AbiWord's and
// LibreOffice's conversion of the same RTF file to text as the baseline of the same run. Prints
// medians and throughput; nothing asserts them.
#include "bench/docgen.h"
#include "bench/external.h"
#include "bench/timing.h"

#include "documents/QxRichEditStrings.h"
#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using bench::medianMs;

void row(const QString& what, double ms, qint64 bytes) {
    std::printf("%-52s %11.1f ms  %8.2f MB/s\n", qPrintable(what), ms, bytes / 1048576.0 / std::max(ms / 1000, 1e-9));
}

struct Editor {
    TQxRichEdit control;
    TQxLines* lines = nullptr;
    Editor() {
        control.resize(1000, 800);
        control.SetLines(std::make_unique<TQxRichEditStrings>(control));
        lines = control.Lines();
    }
};

// The other programs' conversion of the same RTF file to text, and ours against theirs.
void benchExternal(const QString& rtfPath, const QString& outDir, int runs, double ourMs) {
    const qint64 bytes = QFileInfo(rtfPath).size();
    const auto report = [&](const QString& label, double ms) {
        if (ms < 0) return;
        row(label, ms, bytes);
        std::printf("%-52s %11.2f x their time\n", "    our RTF load + text save", ourMs / ms);
    };
    const bench::ExternalTimes times = bench::convertToTextElsewhere(rtfPath, outDir, runs);
    report(QStringLiteral("  AbiWord: RTF to text"), times.abiword);
    report(QStringLiteral("  LibreOffice: RTF to text (with start-up)"), times.libreoffice);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    std::vector<int> sizes{10, 100, 1000};
    if (argc > 1) sizes = {std::max(1, atoi(argv[1]))};
    std::printf("qlxbench_storage: load and save through the line store; medians\n");
    if (QStandardPaths::findExecutable(QStringLiteral("abiword")).isEmpty())
        std::printf("(AbiWord not installed: skipped)\n");
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        std::printf("(LibreOffice not installed: skipped)\n");

    for (const int pages : sizes) {
        const int runs = pages >= 1000 ? 3 : pages >= 100 ? 5 : 9;
        const QString rtfPath = dir.filePath(QStringLiteral("doc%1.rtf").arg(pages));
        const QString textPath = dir.filePath(QStringLiteral("doc%1.txt").arg(pages));

        Editor source;
        docgen::Options options;
        options.pages = pages;
        docgen::build(source.control.HandleNeeded(), options);
        std::printf("\n%d pages (%d runs each)\n", pages, runs);

        const double rtfSave = medianMs(runs, [&] { source.lines->SaveFile(rtfPath); });
        const double textSave = medianMs(runs, [&] { source.lines->SaveFile(textPath); });
        const qint64 rtfBytes = QFileInfo(rtfPath).size();
        const qint64 textBytes = QFileInfo(textPath).size();
        std::printf("  RTF file %.1f KB, text file %.1f KB\n", rtfBytes / 1024.0, textBytes / 1024.0);
        row(QStringLiteral("  save as RTF"), rtfSave, rtfBytes);
        row(QStringLiteral("  save as plain text"), textSave, textBytes);

        Editor target;
        target.control.HandleNeeded();
        const double rtfLoad = medianMs(runs, [&] { target.lines->LoadFile(rtfPath); });
        row(QStringLiteral("  load RTF"), rtfLoad, rtfBytes);
        row(QStringLiteral("  load plain text"), medianMs(runs, [&] { target.lines->LoadFile(textPath); }), textBytes);
        row(QStringLiteral("  switch plain-text mode on and off"), medianMs(runs, [&] {
                target.control.SetPlainText(true);
                target.control.SetPlainText(false);
            }), textBytes);
        benchExternal(rtfPath, dir.path(), pages >= 1000 ? 1 : 3, rtfLoad + textSave);
    }
    return 0;
}
