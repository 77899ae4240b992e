// Printing through a real spooler: CUPS with the cups-pdf queue that test.sh sets up when it runs as
// root. The job carries the main window's caption as its title and has the document's pages.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/printer/printer.h"
#include "tests/printing/pdfcheck.h"
#include "tests/printing/printfixture.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTest>
#include <QThread>

namespace {

// The PDF files cups-pdf wrote after `since`, newest first.
QStringList writtenSince(const QString& folder, const QDateTime& since) {
    QStringList out;
    for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time))
        if (file.lastModified() >= since) out << file.filePath();
    return out;
}

}  // namespace

class CupsPrintTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        queue_ = qEnvironmentVariable("QX_CUPS_PRINTER");
        outputDir_ = qEnvironmentVariable("QX_CUPS_OUTPUT_DIR");
        // (Skipped in the test function itself: a skip in initTestCase stops the later classes of
        // this executable.)
        if (queue_.isEmpty() || outputDir_.isEmpty())
            QSKIP("no CUPS queue: test.sh sets up cups-pdf when it runs as root");
        platform::printer().InstallPrinterList(std::nullopt, true);  // the system's printers
        if (!platform::printer().Printers().contains(queue_)) QSKIP("the cups-pdf queue is not listed");
    }
    void cleanup() { platform::printer().InstallPrinterList(QStringList(), true); }

    void jobWithCaptionAndPages() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        platform::Printer& printer = platform::printer();
        printer.SetPrinterIndex(int(printer.Printers().indexOf(queue_)));
        printfixture::fillLines(*form.editor, 200);
        const int perPage = printfixture::linesPerPage(*form.editor);
        printfixture::fillLines(*form.editor, 2 * perPage + 3);
        form.setWindowTitle(QStringLiteral("Quillex - cups-zkouska"));

        const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
        form.tiskClick();
        QVERIFY(dialogs->asked().isEmpty());  // a system printer asks for no file
        QStringList written;
        for (int i = 0; i < 300 && written.isEmpty(); ++i) {
            QThread::msleep(100);
            written = writtenSince(outputDir_, start);
        }
        QVERIFY2(!written.isEmpty(), "cups-pdf wrote nothing within 30 s");
        const QString pdf = written.first();
        QTRY_COMPARE_WITH_TIMEOUT(pdfcheck::pageCount(pdf), 3, 10000);
        QVERIFY2(QFileInfo(pdf).fileName().contains(QStringLiteral("cups-zkouska")), qPrintable(pdf));
        QVERIFY2(pdfcheck::title(pdf).contains(form.windowTitle()), qPrintable(pdfcheck::title(pdf)));
        QFile::remove(pdf);
    }

private:
    QString queue_;
    QString outputDir_;
};

QX_REGISTER_TEST(CupsPrintTest)
#include "tst_cupsprint.moc"
