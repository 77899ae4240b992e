// qlxconv IN OUT.pdf: the document printed as the print preview prints it, on the PDF printer.
#include "tests/printing/pdfcheck.h"
#include "tests/support/testregistry.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestQlxconvPdf : public QObject {
    Q_OBJECT

private slots:
    void printsThePages() {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("dopis.txt"));
        QStringList lines;
        for (int i = 1; i <= 150; ++i) lines << QStringLiteral("Řádek %1 žluťoučký kůň").arg(i);
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(lines.join(QStringLiteral("\r\n")).toUtf8());
        file.close();
        const QString out = dir.filePath(QStringLiteral("dopis.pdf"));
        QCOMPARE(run({in, out}), 0);
        QCOMPARE(pdfcheck::pageCount(out), 2);
        QVERIFY(pdfcheck::pageText(out, 1).startsWith(QStringLiteral("Řádek 1 žluťoučký kůň Řádek 2")));
        QVERIFY(pdfcheck::pageText(out, 2).endsWith(QStringLiteral("Řádek 150 žluťoučký kůň")));
        // Every line is text of one page only: the lines at a page's edges are not drawn clipped
        // onto the neighbouring page.
        QList<int> numbers;
        const QRegularExpression line(QStringLiteral("Řádek (\\d+) "));
        for (int page = 1; page <= 2; ++page)
            for (const QRegularExpressionMatch& m : line.globalMatch(pdfcheck::pageText(out, page) + u' '))
                numbers << m.captured(1).toInt();
        QCOMPARE(numbers.size(), 150);
        for (int i = 0; i < numbers.size(); ++i) QCOMPARE(numbers[i], i + 1);
        QCOMPARE(pdfcheck::pageSize(out).toSize(), QSize(595, 842));  // A4, the PDF printer's paper
    }

    void emptyDocumentFails() {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("prazdny.txt"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(run({in, dir.filePath(QStringLiteral("prazdny.pdf"))}), 1);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("prazdny.pdf"))));
    }

private:
    static int run(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(QX_BUILD_DIR "/qlxconv"), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return -1;
        return process.exitCode();
    }
};

QX_REGISTER_TEST(TestQlxconvPdf)
#include "tst_qlxconvpdf.moc"
