// qlxbench_htmlsyntax: the HTML colouring of a generated page in the main window, as the open command
// runs it (the library called on the editor's text), reported in milliseconds. Nothing asserts it.
//
//   qlxbench_htmlsyntax [kilobytes]   (default 1024)
#include "app/ed.h"
#include "bench/timing.h"

#include "editing/QxRichEdit.h"
#include "platform/application.h"
#include "platform/richedit/engine.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"

#include <cstdio>

namespace {

// A realistic page: a doctype, a head with style and script, and rows of paragraphs with links,
// attributes, entities and comments, up to `bytes` characters.
QString generatePage(int bytes) {
    QString page = QStringLiteral("<!DOCTYPE html>\n<html lang=\"cs\"><head><title>Zkouška</title>\n"
                                  "<style>p { color: #333; } a:hover { text-decoration: underline; }</style>\n"
                                  "<script>function f(a, b) { return a < b && b > 0; }</script></head><body>\n");
    int row = 0;
    while (page.size() < bytes) {
        page += QStringLiteral("<!-- řádek %1 -->\n<p class=\"odstavec\" id=p%1>Text odstavce číslo %1 &amp; "
                               "<a href=\"https://example.org/stranka/%1.html\" target='_blank'>odkaz</a> "
                               "a&nbsp;další <b>tučný</b> a <i>kurzíva</i> &#169; &lt;konec&gt;.</p>\n")
                    .arg(++row);
    }
    return page + QStringLiteral("</body></html>\n");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    platform::Application app(argc, argv);
    const int kilobytes = argc > 1 ? std::atoi(argv[1]) : 1024;
    qxtest::ProgramFolder folder(qxtest::WithLibraries::Yes);
    qxtest::ScopedDialogs dialogs;
    TMainform form;
    form.FormCreate({});
    const QString page = generatePage(kilobytes * 1024);
    const double ms = bench::medianMs(
        3, [&] { form.ApplyHtmlSyntax(); },
        [&] {
            form.editor->HandleNeeded().setWindowText(page);
            form.editor->SetModified(false);
        });
    std::printf("html colouring of %d KB (%lld characters): %.1f ms, modified %d, can undo %d\n", kilobytes,
                static_cast<long long>(page.size()), ms, int(form.editor->Modified()),
                int(form.editor->HandleNeeded().canUndo()));
    return 0;
}
