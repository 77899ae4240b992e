// The main window's print commands on the PDF printer: what reaches the paper, the dialogs' values,
// page setup, and the messages without a printer.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/errors.h"
#include "platform/printer/printer.h"
#include "tests/printing/pdfcheck.h"
#include "tests/printing/printfixture.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QFile>
#include <QTest>
#include <QToolButton>

using platform::PrintRange;
using printfixture::fillLines;

class MainPrintTest : public QObject {
    Q_OBJECT

private slots:
    void init() { platform::printer().InstallPrinterList(QStringList(), true); }
    void cleanupTestCase() { platform::printer().InstallPrinterList(QStringList(), true); }

    void emptyDocumentPrintsOneBlankPage() {
        Fixture f;
        f.dialogs->answerSave(f.pdf, 1);
        f.form.tiskClick();
        QVERIFY(f.dialogs->unexpected().isEmpty());
        QCOMPARE(pdfcheck::pageCount(f.pdf), 1);
        QCOMPARE(pdfcheck::pageText(f.pdf, 1), QString());
        QCOMPARE(pdfcheck::title(f.pdf), f.form.windowTitle());
    }

    void pageBoundary_data() {
        QTest::addColumn<int>("extraLines");
        QTest::addColumn<int>("pages");
        QTest::newRow("last line fills the page: no trailing page") << 0 << 1;
        QTest::newRow("one line more: a second page") << 1 << 2;
        QTest::newRow("two pages exactly") << -1 << 2;  // -1: twice a page
    }
    void pageBoundary() {
        QFETCH(int, extraLines);
        QFETCH(int, pages);
        Fixture f;
        fillLines(*f.form.editor, 200);
        const int perPage = printfixture::linesPerPage(*f.form.editor);
        QVERIFY(perPage > 10 && perPage < 200);
        fillLines(*f.form.editor, extraLines < 0 ? 2 * perPage : perPage + extraLines);
        f.dialogs->answerSave(f.pdf, 1);
        f.form.tiskClick();
        QCOMPARE(pdfcheck::pageCount(f.pdf), pages);
        QVERIFY(pdfcheck::pageText(f.pdf, pages).size() > 0);
        if (pages == 2) QCOMPARE(pdfcheck::pageStarts(f.pdf).at(1), QStringLiteral("L%1").arg(perPage + 1, 4, 10, QChar('0')));
    }

    void landscapeAfterPageSetup() {
        Fixture f;
        fillLines(*f.form.editor, 200);
        const int portraitLines = printfixture::linesPerPage(*f.form.editor);
        f.dialogs->answerPageSetup([](platform::PageSetupState& s) { s.printer.orientation = QPageLayout::Landscape; });
        f.form.vzhledstrnky1Click();
        QVERIFY(printfixture::linesPerPage(*f.form.editor) < portraitLines);
        f.dialogs->answerSave(f.pdf, 1);
        f.form.tiskClick();
        const QSizeF size = pdfcheck::pageSize(f.pdf);
        QVERIFY2(size.width() > size.height(), qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        QCOMPARE(pdfcheck::pageStarts(f.pdf).value(1), QStringLiteral("L%1").arg(printfixture::linesPerPage(*f.form.editor) + 1, 4, 10, QChar('0')));
    }

    void pageSetupKeepsMarginsWithoutApplyingThem() {
        Fixture f;
        fillLines(*f.form.editor, 200);
        const int before = printfixture::linesPerPage(*f.form.editor);
        f.dialogs->answerPageSetup();
        f.form.vzhledstrnky1Click();
        QCOMPARE(f.dialogs->lastPageSetupShown().marginLeft, 2500);
        QCOMPARE(f.dialogs->lastPageSetupShown().pageWidth, 21000);
        QCOMPARE(f.dialogs->lastPageSetupShown().pageHeight, 29700);
        f.dialogs->answerPageSetup([](platform::PageSetupState& s) {
            s.marginLeft = s.marginTop = s.marginRight = s.marginBottom = 1000;
        });
        f.form.ToolButton21->click();
        QCOMPARE(printfixture::linesPerPage(*f.form.editor), before);
        f.dialogs->cancelPageSetup();
        f.form.vzhledstrnky1Click();
        QCOMPARE(f.dialogs->lastPageSetupShown().marginLeft, 1000);
        QCOMPARE(f.dialogs->lastPageSetupShown().marginBottom, 1000);
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    // The dialog's choices are printed: pages, the selection, copies.
    void printDialogPrintsWhatWasChosen() {
        Fixture f;
        fillLines(*f.form.editor, 200);
        const int perPage = printfixture::linesPerPage(*f.form.editor);
        fillLines(*f.form.editor, 4 * perPage);
        f.dialogs->answerPrint([](platform::PrintDialogState& s) {
            s.range = PrintRange::PageNums;
            s.fromPage = 2;
            s.toPage = 3;
        });
        f.dialogs->answerSave(f.pdf, 1);
        f.form.isk1Click();
        const platform::PrintDialogState& shown = f.dialogs->lastPrintShown();
        QCOMPARE(shown.copies, 1);
        QCOMPARE(shown.maxPage, 100);
        QVERIFY(shown.printToFile && shown.allowPageNums && shown.allowSelection && shown.allowPrintToFile);
        QCOMPARE(shown.range, PrintRange::AllPages);
        QCOMPARE(pdfcheck::pageStarts(f.pdf), QStringList({QStringLiteral("L%1").arg(perPage + 1, 4, 10, QChar('0')),
                                                           QStringLiteral("L%1").arg(2 * perPage + 1, 4, 10, QChar('0'))}));

        // The selection alone, twice: the PDF printer makes the copies page by page.
        f.form.editor->SetSelStart(6);
        f.form.editor->SetSelLength(6);  // "Příliš"
        f.dialogs->answerPrint([](platform::PrintDialogState& s) {
            s.range = PrintRange::Selection;
            s.copies = 2;
        });
        const QString second = f.folder.file(QStringLiteral("selection.pdf"));
        f.dialogs->answerSave(second, 1);
        f.form.isk1Click();
        QCOMPARE(f.dialogs->lastPrintShown().range, PrintRange::PageNums);  // the last choices come back
        QCOMPARE(pdfcheck::pageCount(second), 2);
        QCOMPARE(pdfcheck::pageText(second, 1), QStringLiteral("Příliš"));
        QCOMPARE(pdfcheck::pageText(second, 2), QStringLiteral("Příliš"));

        // The copy count stays with the printer: the toolbar prints two copies too.
        fillLines(*f.form.editor, 3);
        const QString third = f.folder.file(QStringLiteral("toolbar.pdf"));
        f.dialogs->answerSave(third, 1);
        f.form.tisk->click();
        QCOMPARE(pdfcheck::pageCount(third), 2);
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    void cancelledDialogsPrintNothing() {
        Fixture f;
        fillLines(*f.form.editor, 3);
        f.dialogs->cancelPrint();
        f.form.isk1Click();
        f.dialogs->cancelFileDialog();  // the PDF printer's file name
        f.form.tiskClick();
        QVERIFY(!QFile::exists(f.pdf));
        QVERIFY(!platform::printer().Printing());
        QCOMPARE(f.dialogs->asked(), QStringList({QStringLiteral("print"), QStringLiteral("save: ")}));
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    void withoutPrinters() {
        Fixture f;
        platform::printer().InstallPrinterList(QStringList(), false);
        const QString message = QStringLiteral("message: Nemáte nainstalovanou tiskárnu. Nainstalujte si ji prosím.");
        f.dialogs->expectMessage();
        f.form.tiskClick();
        f.dialogs->expectMessage();
        f.form.isk1Click();
        QCOMPARE(f.dialogs->asked(), QStringList({message, message}));
        // Page setup makes no such check: the printer object's error reaches the caller.
        try {
            f.form.vzhledstrnky1Click();
            QFAIL("page setup without a printer must fail");
        } catch (const platform::EPrinter& error) {
            QCOMPARE(error.message(), QStringLiteral("There is no default printer currently selected"));
        }
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    void secondJobIsRefused() {
        Fixture f;
        platform::Printer& printer = platform::printer();
        printer.SetPdfOutputFile(f.pdf);
        printer.BeginDoc();
        QVERIFY(printer.Printing());
        QVERIFY_THROWS_EXCEPTION(platform::EPrinter, printer.BeginDoc());
        QVERIFY_THROWS_EXCEPTION(platform::EPrinter, f.form.editor->PrintDocument(QStringLiteral("x")));
        printer.EndDoc();
        printer.SetPdfOutputFile(QString());
        QCOMPARE(pdfcheck::pageCount(f.pdf), 1);
    }

private:
    struct Fixture {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        QString pdf = folder.file(QStringLiteral("tisk.pdf"));
        Fixture() { form.FormCreate({}); }
    };
};

QX_REGISTER_TEST(MainPrintTest)
#include "tst_mainprint.moc"
