// qlxconv run as a program on real files: RTF to text, text to RTF, and failures.
#include "tests/support/testregistry.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kProgram = QStringLiteral(QX_BUILD_DIR "/qlxconv");

struct Run {
    int exitCode = -1;
    QByteArray errors;
};

Run runQlxconv(const QStringList& arguments) {
    QProcess process;
    process.start(kProgram, arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return run;
    run.exitCode = process.exitCode();
    run.errors = process.readAllStandardError();
    return run;
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

}  // namespace

class TestQlxconv : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(QFile::exists(kProgram), "build the qlxconv target first"); }
    void rtfToText();
    void textToRtfAndBack();
    void rtfNamedFileHoldingTextIsReadAsText();
    void failures_data();
    void failures();

private:
    QTemporaryDir dir_;
};

void TestQlxconv::rtfToText() {
    const QString in = dir_.filePath(QStringLiteral("in.rtf"));
    const QString out = dir_.filePath(QStringLiteral("out.txt"));
    writeBytes(in, "{\\rtf1\\ansi\\ansicpg1250 P\\'f8\\'edli\\'9a {\\b tu\\'e8n\\'e9}\\par druh\\'fd}");
    const Run run = runQlxconv({in, out});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(readBytes(out), QString::fromUtf8("Příliš tučné\r\ndruhý").toUtf8());
}

void TestQlxconv::textToRtfAndBack() {
    const QString in = dir_.filePath(QStringLiteral("in.txt"));
    const QString rtf = dir_.filePath(QStringLiteral("mid.qlx"));
    const QString back = dir_.filePath(QStringLiteral("back.txt"));
    // Windows-1250 text with LF breaks comes back as UTF-8 with CR LF.
    writeBytes(in, "\x8Elu\x9Dou\xE8k\xFD\nk\xF9\xF2");
    QCOMPARE(runQlxconv({in, rtf}).exitCode, 0);
    QVERIFY(readBytes(rtf).startsWith("{\\rtf"));
    QCOMPARE(runQlxconv({rtf, back}).exitCode, 0);
    QCOMPARE(readBytes(back), QString::fromUtf8("Žluťoučký\r\nkůň").toUtf8());
}

void TestQlxconv::rtfNamedFileHoldingTextIsReadAsText() {
    const QString in = dir_.filePath(QStringLiteral("fake.rtf"));
    const QString out = dir_.filePath(QStringLiteral("fake.txt"));
    writeBytes(in, "not rtf at all\n");
    QCOMPARE(runQlxconv({in, out}).exitCode, 0);
    QCOMPARE(readBytes(out), QByteArray("not rtf at all\r\n"));
}

void TestQlxconv::failures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentioned");  // part of the message on stderr
    const QString missing = dir_.filePath(QStringLiteral("missing.rtf"));
    QTest::newRow("missing input") << QStringList{missing, dir_.filePath(QStringLiteral("x.txt"))} << missing;
    writeBytes(dir_.filePath(QStringLiteral("ok.txt")), "text");
    const QString unwritable = dir_.filePath(QStringLiteral("ok.txt/out.rtf"));
    QTest::newRow("output under a file") << QStringList{dir_.filePath(QStringLiteral("ok.txt")), unwritable}
                                         << unwritable;
    QTest::newRow("no arguments") << QStringList{} << "usage";
    QTest::newRow("one argument") << QStringList{missing} << "usage";
}

void TestQlxconv::failures() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentioned);
    const Run run = runQlxconv(arguments);
    QVERIFY2(run.exitCode > 0, qPrintable(QString::number(run.exitCode)));
    QVERIFY2(QString::fromUtf8(run.errors).contains(mentioned), run.errors.constData());
}

QX_REGISTER_TEST(TestQlxconv)
#include "tst_qlxconv.moc"
