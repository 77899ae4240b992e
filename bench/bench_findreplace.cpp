// qlxbench_findreplace: Find Next and Replace All through the editor control's replace dialog on a
// generated document (100 pages unless given), as the user runs them. Replace All makes every
// replacement its own undo step, and each step costs an edit of the engine, which grows with the
// document: 1000 pages take minutes. Medians; nothing is asserted.
#include "bench/docgen.h"
#include "bench/timing.h"

#include "editing/QxRichEdit.h"
#include "platform/dialogs/findreplacedialog.h"
#include "platform/richedit/engine.h"

#include <QApplication>
#include <QPushButton>

#include <algorithm>
#include <cstdio>

namespace {

using bench::medianMs;

void row(const char* what, double ms, const char* note = "") { std::printf("%-58s %12.3f ms  %s\n", what, ms, note); }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int pages = argc > 1 ? std::max(1, atoi(argv[1])) : 100;

    TQxRichEdit edit;
    edit.resize(1000, 800);
    edit.show();
    richedit::Engine& engine = edit.HandleNeeded();
    docgen::build(engine, {pages, 1, false});
    engine.getLineCount();
    QApplication::processEvents();
    std::printf("qlxbench_findreplace: %d pages in the editor control\n\n", pages);

    platform::FindReplaceDialog* dialog = edit.OpenReplaceDialog(QStringLiteral("nenalezitelné"), QStringLiteral("x"));
    row("Find Next from the start, no match (baseline)", medianMs(9, [&] { dialog->findNextButton()->click(); },
                                                                  [&] { engine.setSel(0, 0); }));
    dialog->setFindText(QStringLiteral("a"));
    dialog->setWholeWord(true);
    row("Find Next, the next whole word \"a\"", medianMs(15, [&] { dialog->findNextButton()->click(); }));

    // Every whole word "a" becomes "i": thousands of replacements in one command.
    engine.setSel(0, 0);
    const QString before = engine.windowText();
    const int occurrences = int(before.count(QStringLiteral(" a ")));
    dialog->setReplaceText(QStringLiteral("i"));
    const double all = medianMs(1, [&] { dialog->replaceAllButton()->click(); });
    char note[64];
    std::snprintf(note, sizeof note, "about %d replacements, %.4f ms each", occurrences, all / std::max(1, occurrences));
    row("Replace All of the whole word \"a\" by \"i\"", all, note);
    return 0;
}
