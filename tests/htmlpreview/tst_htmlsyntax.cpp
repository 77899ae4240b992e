// The HTML-syntax library as the open command runs it: which characters of a page get which colour,
// and that the document is still unmodified, with nothing to undo, afterwards.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "editing/QxTextAttributes.h"
#include "platform/richedit/engine.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QFile>
#include <QTest>

namespace {

constexpr int kHtmlFilter = 4;

// One letter per character: t tag, n attribute name, v attribute value, c comment, e entity,
// d doctype, . uncoloured.
QString colourCodes(TQxRichEdit& editor, int length) {
    QString codes;
    for (int i = 0; i < length; ++i) {
        editor.HandleNeeded().exSetSel({i, i + 1});
        switch (editor.SelAttributes().Color()) {
        case 0x00800000: codes += QLatin1Char('t'); break;
        case 0x000000C0: codes += QLatin1Char('n'); break;
        case 0x00008000: codes += QLatin1Char('v'); break;
        case 0x00808080: codes += QLatin1Char('c'); break;
        case 0x00800080: codes += QLatin1Char('e'); break;
        case 0x00808000: codes += QLatin1Char('d'); break;
        default: codes += QLatin1Char('.'); break;
        }
    }
    return codes;
}

}  // namespace

class HtmlSyntaxTest : public QObject {
    Q_OBJECT

private slots:
    void colouring_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("codes");
        QTest::newRow("doctype") << "<!DOCTYPE html>x" << "ddddddddddddddd.";
        QTest::newRow("tag with attributes") << "<a href=\"x\" id=b>A</a>"
                                             << "tt.nnnntvvv.nntvt.tttt";
        QTest::newRow("comment and entity") << "<!-- c -->&amp; & x" << "cccccccccceeeee....";
        QTest::newRow("script text stays") << "<script>a<b</script>" << "tttttttt...ttttttttt";
        QTest::newRow("style text stays") << "<STYLE>p{}</style>" << "ttttttt...tttttttt";
        QTest::newRow("lone bracket") << "a < b" << ".....";
    }
    void colouring() {
        QFETCH(QString, page);
        QFETCH(QString, codes);
        qxtest::ProgramFolder folder(qxtest::WithLibraries::Yes);
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        const QString path = folder.file(QStringLiteral("stranka.html"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(page.toUtf8());
        }
        dialogs->answerOpen(path, kHtmlFilter);
        form.Otevt1Click();
        QVERIFY(dialogs->unexpected().isEmpty());
        QVERIFY(!form.editor->Modified());
        QVERIFY(!form.editor->HandleNeeded().canUndo());
        QCOMPARE(colourCodes(*form.editor, int(page.size())), codes);

        // Saved as text again, the page is what it was: the colours are not part of it.
        const QString saved = folder.file(QStringLiteral("ulozena.html"));
        QVERIFY(form.SaveDocument(saved));
        QFile f(saved);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), page.toUtf8());
    }
};

QX_REGISTER_TEST(HtmlSyntaxTest)
#include "tst_htmlsyntax.moc"
