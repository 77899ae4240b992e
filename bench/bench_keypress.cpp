// qlxbench_keypress: one character key in the main window with a 1000-page document, as the user
// types it: the three status refreshes that run before the key, the character, the repaint. Also
// the word count alone, kept per paragraph and recounted in full, for comparison. Medians; nothing
// is asserted.
#include "app/ed.h"
#include "app/wordcount.h"
#include "bench/docgen.h"
#include "bench/timing.h"

#include "editing/QxRichEdit.h"
#include "platform/application.h"
#include "platform/richedit/engine.h"
#include "platform/shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::medianMs;

void row(const char* what, double ms) { std::printf("%-58s %12.3f ms\n", what, ms); }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int runs = 15;
    QTemporaryDir programDir;  // the configuration the window writes goes here
    platform::setExecutableDirForTesting(programDir.path());

    TMainform form;
    form.FormCreate({});
    form.resize(1000, 800);
    form.show();
    richedit::Engine& engine = form.editor->HandleNeeded();
    docgen::build(engine, {pages, 1, false});
    engine.getLineCount();
    engine.setSel(engine.getTextLength() / 2, engine.getTextLength() / 2);
    QApplication::processEvents();

    std::printf("qlxbench_keypress: %d pages in the main window; medians of %d runs\n\n", pages, runs);
    row("word count, full line-by-line recount", medianMs(runs, [&] { CountWords(*form.editor->Lines()); }));
    row("word count, kept per paragraph, after a typed character", medianMs(runs, [&] {
            engine.replaceSel(QStringLiteral("x"), true);
            form.WordCount.Count(engine);
        }));
    QWidget* target = engine.viewport();
    row("character key: status refreshes, the character, repaint", medianMs(runs, [&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(target, &press);
            QApplication::processEvents();
        }));
    return 0;
}
