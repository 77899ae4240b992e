// qlxbench_printing: pagination into preview pages and printing to the PDF printer, on the generated
// 1000-page document, beside the headless RTF-to-PDF conversions of AbiWord and LibreOffice measured
// on the same file in the same run (when they are installed). Times are reported, never asserted.
#include "bench/docgen.h"
#include "bench/timing.h"

#include "editing/QxRichEdit.h"
#include "platform/printer/printer.h"
#include "platform/richedit/engine.h"
#include "printing/MainFrm.h"
#include "printing/QxPrvwDoc.h"
#include "printing/QxPrvwRender.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

void row(const char* what, double ms, const QString& note = {}) {
    std::printf("%-62s %12.1f ms  %s\n", what, ms, qPrintable(note));
}

void saveRtf(richedit::Engine& engine, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    richedit::EDITSTREAM stream;
    stream.pfnCallback = [&file](char* buffer, int count, int& transferred) {
        transferred = int(file.write(buffer, count));
        return transferred == count ? 0u : 1u;
    };
    engine.streamOut(richedit::SF_RTF, stream);
}

// Wall time of an external converter, or a negative value when it is missing or fails.
double converterMs(const QString& program, const QStringList& arguments, const QString& output) {
    if (QStandardPaths::findExecutable(program).isEmpty()) return -1;
    QFile::remove(output);
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0 || !QFile::exists(output)) return -2;
    return timer.nsecsElapsed() / 1e6;
}

// Pages the engine's format-range makes of the text on the printer, without drawing them.
int measurePages(TQxRichEdit& editor) {
    richedit::Engine& engine = editor.HandleNeeded();
    QPaintDevice* device = platform::printer().Handle();
    const platform::DeviceCaps caps = platform::deviceCaps(*device);
    richedit::FORMATRANGE range;
    range.hdcTarget = device;
    range.rc = {0, 0, caps.horzRes * 1440 / caps.logPixelsX, caps.vertRes * 1440 / caps.logPixelsY};
    range.rcPage = range.rc;
    engine.formatRange(nullptr, false);
    int pages = 0;
    for (int position = 0, length = engine.getTextLength();;) {
        range.chrg = {position, -1};
        const int next = engine.formatRange(&range, false);
        ++pages;
        if (next >= length || next <= position) break;
        position = next;
    }
    engine.formatRange(nullptr, false);
    return pages;
}

// The print-preview window's pages of the editor's document.
std::unique_ptr<TfrmMain> preview(TQxRichEdit& editor) {
    auto form = std::make_unique<TfrmMain>(&editor, nullptr);
    form->FormCreate();
    return form;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    QTemporaryDir dir;
    platform::Printer& printer = platform::printer();
    printer.InstallPrinterList(QStringList(), true);
    printer.SetPdfOutputFile(dir.filePath(QStringLiteral("quillex.pdf")));

    TQxRichEdit editor;
    editor.resize(800, 600);
    docgen::Options options;
    options.pages = pages;
    docgen::build(editor.HandleNeeded(), options);
    const QString rtf = dir.filePath(QStringLiteral("doc.rtf"));
    saveRtf(editor.HandleNeeded(), rtf);
    std::printf("qlxbench_printing: %d generated pages (%lld bytes of RTF), A4 on the PDF printer\n\n", pages,
                QFileInfo(rtf).size());

    int measured = 0;
    const double layoutOnly = bench::medianMs(3, [&] { measured = measurePages(editor); });
    row("  of which: format-range layout alone, no drawing", layoutOnly, QStringLiteral("%1 pages").arg(measured));
    std::unique_ptr<TfrmMain> form;
    const double paginate = bench::medianMs(3, [&] { form = preview(editor); }, [&] { form.reset(); });
    row("paginate into preview pages (print-preview window)", paginate,
        QStringLiteral("%1 pages").arg(form->pd->PageCount()));
    const double previewPrint = bench::medianMs(3, [&] {
        TQxPreviewPrinter target;
        target.SetPrinter(&printer);
        target.SetPrintPreview(form->pd);
        target.SetCopies(1);
        target.Print();
    });
    row("print the preview pages to PDF", previewPrint);
    const double direct = bench::medianMs(3, [&] { editor.PrintDocument(QStringLiteral("bench")); });
    row("print from the editor to PDF (PrintDocument)", direct);
    form.reset();

    TQxRichEdit single;
    single.resize(800, 600);
    docgen::Options one;
    one.pages = 100;
    one.singleParagraph = true;
    docgen::build(single.HandleNeeded(), one);
    const double singleMs = bench::medianMs(3, [&] { form = preview(single); }, [&] { form.reset(); });
    row("paginate a 100-page single paragraph", singleMs, QStringLiteral("%1 pages").arg(form->pd->PageCount()));
    const double singleLayout = bench::medianMs(3, [&] { measured = measurePages(single); });
    row("  of which: format-range layout alone, no drawing", singleLayout, QStringLiteral("%1 pages").arg(measured));
    form.reset();

    std::printf("\nbaselines (RTF to PDF, headless, same file)\n");
    const double abiword = converterMs(QStringLiteral("abiword"), {QStringLiteral("--to=pdf"), rtf},
                                       dir.filePath(QStringLiteral("doc.pdf")));
    const double office = converterMs(QStringLiteral("soffice"),
                                      {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("lo-profile")),
                                       QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                                       QStringLiteral("--outdir"), dir.filePath(QStringLiteral("lo")), rtf},
                                      dir.filePath(QStringLiteral("lo/doc.pdf")));
    const auto report = [](const char* what, double ms) {
        if (ms == -1) std::printf("%-62s %12s\n", what, "not installed");
        else if (ms < 0) std::printf("%-62s %12s\n", what, "failed");
        else row(what, ms);
    };
    report("AbiWord --to=pdf", abiword);
    report("LibreOffice --convert-to pdf", office);
    double best = -1;
    for (double ms : {abiword, office})
        if (ms > 0 && (best < 0 || ms < best)) best = ms;
    if (best > 0) {
        std::printf("\n%-62s %12.1fx  (target: at least 10x)\n", "pagination: faster than the faster converter", best / paginate);
        std::printf("%-62s %12.1fx  (target: at least 3x)\n", "printing to PDF: faster than the faster converter",
                    best / (paginate + previewPrint));
    }
    return 0;
}
