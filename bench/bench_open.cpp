// qlxbench_open: opens generated documents in the real main window the way a user does, named on
// the command line (the start-up path) and through the open command, and reports the time to the
// first painted page with the caret ready, the time of a character typed while the rest is still
// being laid out, the time to the complete layout and the resident memory. Beside them, when they
// are installed, AbiWord's and LibreOffice's conversion of the same file to text. Nothing asserts
// the figures.
//
//   qlxbench_open [pages [paragraphs [--without-others]]]
//   (defaults: 1000 pages with pictures, 1,000,000 paragraphs; the other programs when installed)
#include "app/ed.h"
#include "bench/docgen.h"
#include "bench/external.h"
#include "bench/timing.h"

#include "documents/QxRichEditStrings.h"
#include "editing/QxRichEdit.h"
#include "platform/application.h"
#include "platform/richedit/engine.h"
#include "platform/shell.h"
#include "tests/support/scripteddialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {

using bench::residentKb;

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

struct Figures {
    double firstPageMs = 0;
    double typedMs = 0;
    bool typedDuringLayout = false;
    bool typedRefused = false;  // a document past the text limit takes no more
    double completeMs = 0;
    long residentMb = 0;
    int lines = 0;
};

// From `start`: waits until the editor has painted, types a character, then waits for the layout.
Figures measure(TMainform& form, QElapsedTimer& start, PaintCounter& paints) {
    Figures f;
    richedit::Engine& engine = form.editor->HandleNeeded();
    form.Timer2->stop();  // an autosave tick saves the whole document: not what is measured here
    while (paints.paints == 0) QApplication::processEvents();
    f.firstPageMs = start.nsecsElapsed() / 1e6;
    f.typedDuringLayout = !engine.layoutComplete();
    const int lengthBefore = engine.getTextLength();
    QElapsedTimer typed;
    typed.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(engine.viewport(), &press);
    const int before = paints.paints;
    while (paints.paints == before) QApplication::processEvents();  // the character on screen
    f.typedMs = typed.nsecsElapsed() / 1e6;
    f.typedRefused = engine.getTextLength() == lengthBefore;
    while (!engine.layoutComplete()) QApplication::processEvents();
    f.completeMs = start.nsecsElapsed() / 1e6;
    f.residentMb = residentKb() / 1024;
    f.lines = engine.getLineCount();
    return f;
}

Figures startUp(const QString& path) {
    QElapsedTimer start;
    start.start();
    auto form = std::make_unique<TMainform>();
    PaintCounter paints(form->editor->HandleNeeded().viewport());
    form->FormCreate({path});
    form->show();
    const Figures f = measure(*form, start, paints);
    form->editor->SetModified(false);
    return f;
}

Figures openCommand(const QString& path) {
    qxtest::ScopedDialogs dialogs;
    auto form = std::make_unique<TMainform>();
    form->FormCreate({});
    form->show();
    PaintCounter paints(form->editor->HandleNeeded().viewport());
    while (paints.paints == 0) QApplication::processEvents();
    paints.paints = 0;
    dialogs->answerOpen(path, 1);
    QElapsedTimer start;
    start.start();
    form->Otevt1Click();
    const Figures f = measure(*form, start, paints);
    form->editor->SetModified(false);
    return f;
}

void report(const char* path, const Figures& f) {
    std::printf("  %-22s first page %9.1f ms   typed char %7.2f ms%s   layout complete %9.1f ms   %5ld MB   %d lines\n",
                path, f.firstPageMs, f.typedMs,
                f.typedRefused ? " (refused: text limit)" : f.typedDuringLayout ? " (layout running)" : " (layout done)  ",
                f.completeMs, f.residentMb, f.lines);
}

bool withOthers = true;

void benchFile(const QString& label, const QString& path, const QString& outDir) {
    std::printf("\n%s (%.1f MB RTF)\n", qPrintable(label), QFileInfo(path).size() / 1048576.0);
    const Figures startup = startUp(path);
    report("start-up path:", startup);
    const Figures opened = openCommand(path);
    report("open command:", opened);
    if (!withOthers) return;
    const bench::ExternalTimes other = bench::convertToTextElsewhere(path, outDir, 1);
    const auto versus = [&](const char* who, double ms) {
        if (ms < 0) return;
        std::printf("  %-22s %9.1f ms to text; start-up first page %.1f x sooner, open command %.1f x sooner\n", who, ms,
                    ms / startup.firstPageMs, ms / opened.firstPageMs);
    };
    versus("AbiWord:", other.abiword);
    versus("LibreOffice:", other.libreoffice);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int paragraphs = argc > 2 ? std::max(1, atoi(argv[2])) : 1000000;
    withOthers = !(argc > 3 && QByteArray(argv[3]) == "--without-others");
    QTemporaryDir programDir;  // the configuration the windows write goes here
    platform::setExecutableDirForTesting(programDir.path());
    std::printf("qlxbench_open: documents opened in the main window; one run each\n");

    const QString pagesPath = programDir.filePath(QStringLiteral("pages%1.rtf").arg(pages));
    {
        TQxRichEdit source;
        source.SetLines(std::make_unique<TQxRichEditStrings>(source));
        docgen::Options options;
        options.pages = pages;
        options.pictureEvery = 20;
        docgen::build(source.HandleNeeded(), options);
        source.Lines()->SaveFile(pagesPath);
    }
    benchFile(QStringLiteral("%1 pages with pictures").arg(pages), pagesPath, programDir.path());

    const int rows = std::max(1, paragraphs / 50);
    const QString tablePath = programDir.filePath(QStringLiteral("table%1.rtf").arg(rows));
    if (!docgen::writeTableRowsRtf(tablePath, rows)) return 1;
    benchFile(QStringLiteral("one table of %1 rows").arg(rows), tablePath, programDir.path());

    for (const int count : {paragraphs / 10, paragraphs}) {
        const QString path = programDir.filePath(QStringLiteral("short%1.rtf").arg(count));
        if (!docgen::writeShortParagraphsRtf(path, count)) return 1;
        benchFile(QStringLiteral("%1 short paragraphs").arg(count), path, programDir.path());
    }
    return 0;
}
