// Loading and saving documents through the editor's line store: what each kind of file reads as,
// what each name writes, the rich/plain switch, progress, and saves that fail without harm.
#include "documents/QxRichEditStrings.h"
#include "platform/errors.h"
#include "tests/documents/editorfixture.h"
#include "tests/support/testregistry.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

const QByteArray kRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 first {\\b bold}\\par second}");

QByteArray utf16le(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

// A device whose every read and write fails, as a broken disk or network share does.
class BrokenDevice : public QIODevice {
public:
    BrokenDevice() { open(QIODevice::ReadWrite); }
    qint64 size() const override { return 1000; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64) override { return -1; }
};

// Lowers the largest file this process may write, for as long as it lives; writes beyond it fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    bool active() const { return active_; }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
    bool active_ = false;
};

}  // namespace

class TestLoadSave : public QObject {
    Q_OBJECT

private slots:
    void init();
    void readsEachKindOfFile_data();
    void readsEachKindOfFile();
    void rtfFileKeepsItsFormatting();
    void readsFilesOfTheOriginalPlatform_data();
    void readsFilesOfTheOriginalPlatform();
    void failedLoadKeepsContent();
    void missingFileRaisesNamingIt();
    void savedContentFollowsModeAndName_data();
    void savedContentFollowsModeAndName();
    void savedRtfReadsBack();
    void savedTextRoundTripsUnicode();
    void failedSaveLeavesPreviousFile_data();
    void failedSaveLeavesPreviousFile();
    void saveCutShortLeavesPreviousFile();
    void plainTextSwitchKeepsTextDropsFormatting();
    void plainTextSwitchKeepsRtfSourceAsText();
    void streamsLoadAndSaveFromCurrentPosition();
    void failingStreamsRaiseTheFixedMessages();
    void streamFormatForcesTheFormatAndIsKept();
    void progressIsReportedAsItChanges();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void TestLoadSave::init() { dir_ = std::make_unique<QTemporaryDir>(); }

void TestLoadSave::readsEachKindOfFile_data() {
    QTest::addColumn<bool>("plainMode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");  // windowText: CR LF at each paragraph break

    QTest::newRow("LF-only text") << false << "lf.txt" << QByteArray("one\ntwo\nthree") << "one\r\ntwo\r\nthree";
    QTest::newRow("CR-only text") << false << "cr.txt" << QByteArray("one\rtwo\rthree") << "one\r\ntwo\r\nthree";
    QTest::newRow("final CR dropped") << false << "final.txt" << QByteArray("one\rtwo\r") << "one\r\ntwo";
    QTest::newRow("final CR LF kept") << false << "crlf.txt" << QByteArray("one\r\n") << "one\r\n";
    QTest::newRow("NUL drops only itself") << false << "nul.txt" << QByteArray("ab\0cd\nef", 8) << "abcd\r\nef";
    QTest::newRow("empty text file") << false << "empty.txt" << QByteArray() << "";
    QTest::newRow(".txt holding RTF shows its source") << false << "source.txt" << kRtf << QString::fromLatin1(kRtf);
    QTest::newRow(".TXT in capitals is text") << false << "SOURCE.TXT" << kRtf << QString::fromLatin1(kRtf);
    QTest::newRow(".rtf holding text is read again as text") << false << "plain.rtf" << QByteArray("just\nwords")
                                                             << "just\r\nwords";
    QTest::newRow(".qlx holding text is read again as text") << false << "plain.qlx" << QByteArray("x\ry") << "x\r\ny";
    QTest::newRow("RTF file") << false << "doc.rtf" << kRtf << "first bold\r\nsecond";
    QTest::newRow(".qlx is RTF") << false << "doc.qlx" << kRtf << "first bold\r\nsecond";
    QTest::newRow("plain mode shows RTF source") << true << "doc.rtf" << kRtf << QString::fromLatin1(kRtf);
    QTest::newRow("plain mode, LF text") << true << "prog.pas" << QByteArray("a\nb") << "a\r\nb";
    QTest::newRow("utf-8 without signature") << false << "u8.txt" << QString::fromUtf8("Žluťoučký\nkůň").toUtf8()
                                             << QString::fromUtf8("Žluťoučký\r\nkůň");
    QTest::newRow("utf-8 with signature") << false << "bom.txt" << QByteArray("\xEF\xBB\xBF\xC5\xBD\x61")
                                          << QString::fromUtf8("Ža");
    QTest::newRow("utf-16 le with signature") << false << "le.txt" << utf16le(QString::fromUtf8("Ċč\nž"))
                                              << QString::fromUtf8("Ċč\r\nž");
    QTest::newRow("utf-16 be with signature") << false << "be.txt" << QByteArray("\xFE\xFF\x01\x7E\x00\x0A\x00x", 8)
                                              << QString::fromUtf8("ž\r\nx");
    QTest::newRow("windows-1250") << false << "cp.txt" << QByteArray("\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2")
                                  << QString::fromUtf8("Žluťoučký kůň");
    QTest::newRow("windows-1250 byte after 100 KB") << false << "late.txt"
                                                    << (QByteArray("ascii line\n").repeated(10000) + "\x9A")
                                                    << (QStringLiteral("ascii line\r\n").repeated(10000) + QString::fromUtf8("š"));
    // A two-byte character across every block boundary the engine could choose.
    QTest::newRow("utf-8 letters across blocks") << false << "long.txt"
                                                 << (QString::fromUtf8("ž").repeated(99) + QStringLiteral("\n")).repeated(400).toUtf8()
                                                 << (QString::fromUtf8("ž").repeated(99) + QStringLiteral("\r\n")).repeated(400);
}

void TestLoadSave::readsEachKindOfFile() {
    QFETCH(bool, plainMode);
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QVERIFY(writeFileBytes(path(name), content));
    EditorFixture fixture;
    fixture.editor.SetPlainText(plainMode);
    fixture.setBoldText(QStringLiteral("previous"));
    fixture.lines->LoadFile(path(name));
    QCOMPARE(fixture.text(), expected);
    QCOMPARE(fixture.editor.PlainText(), plainMode);
    const richedit::CHARRANGE caret{0, 0};
    QCOMPARE(fixture.engine().exGetSel(), caret);
}

void TestLoadSave::rtfFileKeepsItsFormatting() {
    QVERIFY(writeFileBytes(path(QStringLiteral("f.rtf")), kRtf));
    EditorFixture fixture;
    fixture.lines->LoadFile(path(QStringLiteral("f.rtf")));
    // "bold" (characters 6..10) is bold, "first" is not.
    fixture.engine().setSel(6, 10);
    QVERIFY(fixture.engine().getCharFormat(richedit::SCF_SELECTION).dwEffects & richedit::CFE_BOLD);
    fixture.engine().setSel(0, 5);
    QVERIFY(!(fixture.engine().getCharFormat(richedit::SCF_SELECTION).dwEffects & richedit::CFE_BOLD));
}

void TestLoadSave::readsFilesOfTheOriginalPlatform_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("plainMode");
    QTest::addColumn<QString>("expected");
    // WordPad ends its files with a NUL byte after the closing brace.
    QTest::newRow("WordPad RTF") << "wordpad.rtf" << false << QString::fromUtf8("Dobrý den,\r\ntučné a kurzíva, €");
    QTest::newRow("Windows-1250 text, CR LF") << "czech-cp1250.txt" << false
                                              << QString::fromUtf8("Příliš žluťoučký kůň\r\núpěl ďábelské ódy\r\n");
    QTest::newRow("Windows-1250 text in plain mode") << "czech-cp1250.txt" << true
                                                     << QString::fromUtf8("Příliš žluťoučký kůň\r\núpěl ďábelské ódy\r\n");
}

void TestLoadSave::readsFilesOfTheOriginalPlatform() {
    QFETCH(QString, file);
    QFETCH(bool, plainMode);
    QFETCH(QString, expected);
    EditorFixture fixture;
    fixture.editor.SetPlainText(plainMode);
    fixture.lines->LoadFile(QStringLiteral(QX_TEST_DATA_DIR "/documents/") + file);
    QCOMPARE(fixture.text(), expected);
}

void TestLoadSave::failedLoadKeepsContent() {
    // A directory cannot be read as a document: the error comes and the text stays.
    QDir(dir_->path()).mkpath(QStringLiteral("folder.txt"));
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("kept"));
    QVERIFY_THROWS_EXCEPTION(platform::EStreamError, fixture.lines->LoadFile(path(QStringLiteral("folder.txt"))));
    QCOMPARE(fixture.text(), QStringLiteral("kept"));
}

void TestLoadSave::missingFileRaisesNamingIt() {
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("kept"));
    for (const QString& name : {QStringLiteral("gone.rtf"), QStringLiteral("gone.txt")}) {
        try {
            fixture.lines->LoadFile(path(name));
            QFAIL("loading a missing file succeeded");
        } catch (const platform::EFOpenError& error) {
            QVERIFY2(error.message().contains(path(name)), qPrintable(error.message()));
        }
        QCOMPARE(fixture.text(), QStringLiteral("kept"));
    }
}

void TestLoadSave::savedContentFollowsModeAndName_data() {
    QTest::addColumn<bool>("plainMode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("rtf");
    QTest::newRow("rich, .txt: plain text") << false << "notes.txt" << false;
    QTest::newRow("rich, .TXT: plain text") << false << "NOTES.TXT" << false;
    QTest::newRow("rich, .qlx: RTF") << false << "notes.qlx" << true;
    QTest::newRow("rich, .rtf: RTF") << false << "notes.rtf" << true;
    QTest::newRow("rich, .html: RTF") << false << "page.html" << true;
    QTest::newRow("rich, no extension: RTF") << false << "notes" << true;
    QTest::newRow("plain, .qlx: plain text") << true << "notes.qlx" << false;
    QTest::newRow("plain, .rtf: plain text") << true << "notes.rtf" << false;
}

void TestLoadSave::savedContentFollowsModeAndName() {
    QFETCH(bool, plainMode);
    QFETCH(QString, name);
    QFETCH(bool, rtf);
    EditorFixture fixture;
    fixture.editor.SetPlainText(plainMode);
    fixture.setBoldText(QString::fromUtf8("Žluťoučký\rkůň"));
    fixture.lines->SaveFile(path(name));
    const QByteArray saved = readFileBytes(path(name));
    if (rtf) {
        QVERIFY2(saved.startsWith("{\\rtf"), saved.left(40).constData());
    } else {
        // UTF-8 without a signature, CR LF between paragraphs.
        QCOMPARE(saved, QString::fromUtf8("Žluťoučký\r\nkůň").toUtf8());
    }
    // Saving changes nothing in the editor: the formatting stays in rich mode.
    QCOMPARE(fixture.text(), QString::fromUtf8("Žluťoučký\r\nkůň"));
    if (!plainMode) QVERIFY(fixture.allBold());
}

void TestLoadSave::savedRtfReadsBack() {
    EditorFixture writer;
    writer.setBoldText(QString::fromUtf8("Příliš žluťoučký\rkůň"));
    writer.lines->SaveFile(path(QStringLiteral("round.qlx")));
    EditorFixture reader;
    reader.lines->LoadFile(path(QStringLiteral("round.qlx")));
    QCOMPARE(reader.text(), QString::fromUtf8("Příliš žluťoučký\r\nkůň"));
    QVERIFY(reader.allBold());
}

void TestLoadSave::savedTextRoundTripsUnicode() {
    const QString text = QString::fromUtf8("ěščřžýáíé ÄÖÜ € 😀\r\n{\\rtf1 not rtf}");
    EditorFixture writer;
    writer.engine().setWindowText(text);
    writer.lines->SaveFile(path(QStringLiteral("u.txt")));
    QVERIFY(!readFileBytes(path(QStringLiteral("u.txt"))).startsWith("\xEF\xBB\xBF"));
    EditorFixture reader;
    reader.lines->LoadFile(path(QStringLiteral("u.txt")));
    QCOMPARE(reader.text(), text);
}

void TestLoadSave::failedSaveLeavesPreviousFile_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("parent is a regular file") << "old.qlx/new.qlx";
    QTest::newRow("target is a directory") << "folder.qlx";
}

void TestLoadSave::failedSaveLeavesPreviousFile() {
    QFETCH(QString, target);
    QVERIFY(writeFileBytes(path(QStringLiteral("old.qlx")), "previous document"));
    QDir(dir_->path()).mkpath(QStringLiteral("folder.qlx"));
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("new text"));
    try {
        fixture.lines->SaveFile(path(target));
        QFAIL("the save was reported as done");
    } catch (const platform::EStreamError& error) {
        QVERIFY2(error.message().contains(path(target)), qPrintable(error.message()));
    }
    QCOMPARE(readFileBytes(path(QStringLiteral("old.qlx"))), QByteArray("previous document"));
    QVERIFY(QFileInfo(path(QStringLiteral("folder.qlx"))).isDir());
    QCOMPARE(fixture.text(), QStringLiteral("new text"));
}

void TestLoadSave::saveCutShortLeavesPreviousFile() {
    // The disk takes only the first 4 KB of the new document: the save fails and the last good copy
    // is still there, whole.
    const QByteArray previous = QByteArray("previous document\r\n").repeated(10);
    const QString target = path(QStringLiteral("doc.txt"));
    QVERIFY(writeFileBytes(target, previous));
    EditorFixture fixture;
    fixture.engine().setWindowText(QString(QStringLiteral("a long line of new text\r\n")).repeated(5000));
    {
        FileSizeLimit limit(4096);
        QVERIFY(limit.active());
        QVERIFY_THROWS_EXCEPTION(platform::EWriteError, fixture.lines->SaveFile(target));
    }
    QCOMPARE(readFileBytes(target), previous);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);  // no leftovers
}

void TestLoadSave::plainTextSwitchKeepsTextDropsFormatting() {
    EditorFixture fixture;
    fixture.setBoldText(QStringLiteral("one\rtwo"));
    QVERIFY(fixture.allBold());
    fixture.editor.SetPlainText(true);
    QVERIFY(fixture.editor.PlainText());
    QCOMPARE(fixture.text(), QStringLiteral("one\r\ntwo"));
    fixture.editor.SetPlainText(false);
    QVERIFY(!fixture.editor.PlainText());
    QCOMPARE(fixture.text(), QStringLiteral("one\r\ntwo"));
    QVERIFY(!fixture.allBold());
    // The transfer settings are the editor's again.
    QCOMPARE(fixture.editor.StreamFormat(), TRichStreamFormat::sfDefault);
    QVERIFY(fixture.editor.StreamMode() == TRichStreamModes());
}

void TestLoadSave::plainTextSwitchKeepsRtfSourceAsText() {
    // RTF source read as text stays text when plain-text mode goes off again.
    QVERIFY(writeFileBytes(path(QStringLiteral("src.rtf")), kRtf));
    EditorFixture fixture;
    fixture.editor.SetPlainText(true);
    fixture.lines->LoadFile(path(QStringLiteral("src.rtf")));
    fixture.editor.SetPlainText(false);
    QCOMPARE(fixture.text(), QString::fromLatin1(kRtf));
}

void TestLoadSave::streamsLoadAndSaveFromCurrentPosition() {
    EditorFixture fixture;
    fixture.setBoldText(QStringLiteral("streamed"));
    QByteArray memory("HEAD");
    QBuffer buffer(&memory);
    QVERIFY(buffer.open(QIODevice::ReadWrite));
    buffer.seek(4);
    fixture.lines->SaveStream(buffer);  // export to a stream is RTF
    QVERIFY(memory.startsWith("HEAD{\\rtf"));

    EditorFixture reader;
    buffer.seek(4);
    reader.lines->LoadStream(buffer);
    QCOMPARE(reader.text(), QStringLiteral("streamed"));
    QVERIFY(reader.allBold());

    // A stream of text loads as text.
    QByteArray text("x\ny");
    QBuffer textBuffer(&text);
    QVERIFY(textBuffer.open(QIODevice::ReadOnly));
    reader.lines->LoadStream(textBuffer);
    QCOMPARE(reader.text(), QStringLiteral("x\r\ny"));
}

void TestLoadSave::failingStreamsRaiseTheFixedMessages() {
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("kept"));
    BrokenDevice device;
    try {
        fixture.lines->LoadStream(device);
        QFAIL("a failing stream loaded");
    } catch (const platform::EReadError& error) {
        QCOMPARE(error.message(), QStringLiteral("Failed to Load Stream"));
    }
    QCOMPARE(fixture.text(), QStringLiteral("kept"));
    try {
        fixture.lines->SaveStream(device);
        QFAIL("a failing stream saved");
    } catch (const platform::EWriteError& error) {
        QCOMPARE(error.message(), QStringLiteral("Failed to Save Stream"));
    }
}

void TestLoadSave::streamFormatForcesTheFormatAndIsKept() {
    EditorFixture fixture;
    fixture.setBoldText(QStringLiteral("forced"));
    fixture.editor.SetStreamFormat(TRichStreamFormat::sfPlainText);
    fixture.lines->SaveFile(path(QStringLiteral("forced.qlx")));
    QCOMPARE(readFileBytes(path(QStringLiteral("forced.qlx"))), QByteArray("forced"));
    QCOMPARE(fixture.editor.StreamFormat(), TRichStreamFormat::sfPlainText);

    fixture.editor.SetStreamFormat(TRichStreamFormat::sfRichText);
    fixture.lines->SaveFile(path(QStringLiteral("forced.txt")));
    QVERIFY(readFileBytes(path(QStringLiteral("forced.txt"))).startsWith("{\\rtf"));
}

void TestLoadSave::progressIsReportedAsItChanges() {
    QVERIFY(writeFileBytes(path(QStringLiteral("big.txt")), QByteArray("some words\r\n").repeated(20000)));
    EditorFixture fixture;
    QList<int> reported;
    QObject* sender = nullptr;
    fixture.lines->OnConversionProgress = [&](QObject* from, int percent) {
        sender = from;
        reported.append(percent);
    };
    fixture.lines->LoadFile(path(QStringLiteral("big.txt")));
    QVERIFY(reported.size() > 1);
    QCOMPARE(reported.last(), 100);
    QCOMPARE(sender, &fixture.editor);
    for (qsizetype i = 1; i < reported.size(); ++i) QVERIFY(reported[i] > reported[i - 1]);
}

QX_REGISTER_TEST(TestLoadSave)
#include "tst_loadsave.moc"
