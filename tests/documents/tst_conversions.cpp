// Conversions and the conversion list: which conversion a file or stream gets, what each recognises,
// progress, retry, and replacing a file only when the whole save was committed.
#include "documents/QxConversion.h"
#include "documents/QxConversionList.h"
#include "platform/errors.h"
#include "tests/documents/editorfixture.h"
#include "tests/support/testregistry.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString nameOf(TQxConversion& conversion) {
    TConversionFormatList& list = TConversionFormatList::Instance();
    if (&conversion == &list.RTFConversion()) return QStringLiteral("rtf");
    if (&conversion == &list.TextConversion()) return QStringLiteral("text");
    return QStringLiteral("other");
}

}  // namespace

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    void listHoldsRtfThenText();
    void conversionForFile_data();
    void conversionForFile();
    void conversionForStream_data();
    void conversionForStream();
    void slotsOfTheTable();
    void progressRoundsAndReportsChangesOnly();
    void retryRewindsOnlyRetryKinds();
    void exportReplacesTargetOnlyOnCommit();
    void exportToUnusablePathRaisesNamingFile_data();
    void exportToUnusablePathRaisesNamingFile();
    void importOfMissingFileRaisesNamingFile();
    void plainTextEncodingJudgesWholeSource_data();
    void plainTextEncodingJudgesWholeSource();

private:
    QTemporaryDir dir_;
};

void TestConversions::listHoldsRtfThenText() {
    TConversionFormatList& list = TConversionFormatList::Instance();
    QCOMPARE(&list, &TConversionFormatList::Instance());
    QCOMPARE(list.Count(), 2);
    QCOMPARE(&list.Conversion(0), &list.RTFConversion());
    QCOMPARE(&list.Conversion(1), &list.TextConversion());
    QVERIFY(dynamic_cast<TQxRTFConversion*>(&list.RTFConversion()));
    QVERIFY(dynamic_cast<TQxTextConversion*>(&list.TextConversion()));
}

void TestConversions::conversionForFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");  // empty: the file does not exist
    QTest::addColumn<bool>("exporting");
    QTest::addColumn<QString>("expected");

    const QByteArray rtf("{\\rtf1 x}");
    QTest::newRow("import .rtf starting as RTF") << "a.rtf" << rtf << false << "rtf";
    QTest::newRow("import .RTF, signature in capitals") << "b.RTF" << QByteArray("{\\RTF1 x}") << false << "rtf";
    QTest::newRow("import .rtf holding text falls back to RTF") << "c.rtf" << QByteArray("hello") << false << "rtf";
    QTest::newRow("import .txt holding RTF is text") << "d.txt" << rtf << false << "text";
    QTest::newRow("import .TXT any case is text") << "e.TXT" << QByteArray("x") << false << "text";
    QTest::newRow("import .qlx is RTF") << "f.qlx" << rtf << false << "rtf";
    QTest::newRow("import without extension is RTF") << "noext" << QByteArray("x") << false << "rtf";
    QTest::newRow("import of a missing file is RTF") << "missing.rtf" << QByteArray() << false << "rtf";
    QTest::newRow("import dot in folder only") << "g.txt.d/plain" << QByteArray("x") << false << "rtf";
    QTest::newRow("export .txt is text") << "h.txt" << QByteArray() << true << "text";
    QTest::newRow("export .rtf is RTF") << "i.rtf" << QByteArray() << true << "rtf";
    QTest::newRow("export .html is RTF") << "j.html" << QByteArray() << true << "rtf";
}

void TestConversions::conversionForFile() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, exporting);
    QFETCH(QString, expected);
    const QString path = dir_.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!content.isEmpty()) QVERIFY(writeFileBytes(path, content));
    QWidget parent;
    TQxConversion& chosen = TConversionFormatList::Instance().ConversionForFile(
        path, exporting ? TConversionKind::Export : TConversionKind::Import, &parent);
    QCOMPARE(nameOf(chosen), expected);
    QCOMPARE(chosen.ParentWindow(), &parent);  // the chosen one has had Init
    chosen.Done();
    QCOMPARE(chosen.ParentWindow(), nullptr);
}

void TestConversions::conversionForStream_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exporting");
    QTest::addColumn<QString>("expected");
    QTest::newRow("import RTF") << QByteArray("xx{\\rtf1 x}") << false << "rtf";
    QTest::newRow("import rtf signature in lower and upper case") << QByteArray("xx{\\rTf1}") << false << "rtf";
    QTest::newRow("import text") << QByteArray("xxhello") << false << "text";
    QTest::newRow("import short stream") << QByteArray("xx{\\r") << false << "text";
    QTest::newRow("export is always RTF") << QByteArray("xxhello") << true << "rtf";
}

void TestConversions::conversionForStream() {
    QFETCH(QByteArray, content);
    QFETCH(bool, exporting);
    QFETCH(QString, expected);
    QBuffer buffer(&content);
    QVERIFY(buffer.open(QIODevice::ReadWrite));
    buffer.seek(2);  // the choice looks from the current position on
    TQxConversion& chosen = TConversionFormatList::Instance().ConversionForStream(
        buffer, exporting ? TConversionKind::Export : TConversionKind::Import, nullptr);
    QCOMPARE(nameOf(chosen), expected);
    QCOMPARE(buffer.pos(), 2);
    chosen.Done();
}

void TestConversions::slotsOfTheTable() {
    TQxConversion base;
    TQxRTFConversion rtf;
    TQxTextConversion text;
    QVERIFY(base.CanHandleExt(QStringLiteral("anything"), TConversionKind::Import));
    QVERIFY(base.CanHandleKind(TConversionKind::Export));
    QVERIFY(base.FilterText().isEmpty());
    QCOMPARE(base.TextKind(), TConversionTextKind::Rich);
    QVERIFY(!base.OpenFile(dir_.filePath(QStringLiteral("x")), TConversionKind::Export));
    QCOMPARE(base.ReadBlock(nullptr, 4), -1);
    QCOMPARE(base.WriteBlock("abcd", 4), -1);
    QVERIFY(!base.Retry());
    QVERIFY(!base.UserCancelled() && !base.HasError() && base.ErrorText().isEmpty());

    QVERIFY(rtf.CanHandleExt(QStringLiteral("rtf"), TConversionKind::Import));
    QVERIFY(!rtf.CanHandleExt(QStringLiteral("qlx"), TConversionKind::Import));
    QVERIFY(text.CanHandleExt(QStringLiteral("txt"), TConversionKind::Export));
    QVERIFY(!text.CanHandleExt(QStringLiteral("rtf"), TConversionKind::Export));
    QCOMPARE(rtf.FilterText(), QStringLiteral("Rich Text Format (*.rtf)|*.rtf"));
    QCOMPARE(text.FilterText(), QStringLiteral("Plain text (*.txt)|*.txt"));
    QCOMPARE(rtf.TextKind(), TConversionTextKind::RichRetryPlain);
    QCOMPARE(text.TextKind(), TConversionTextKind::PlainRetryRich);
    // The text conversion takes any file it is offered by extension.
    QVERIFY(text.IsFileFormat(dir_.filePath(QStringLiteral("does-not-exist.txt"))));
    QVERIFY(!rtf.IsFileFormat(dir_.filePath(QStringLiteral("does-not-exist.rtf"))));
}

void TestConversions::progressRoundsAndReportsChangesOnly() {
    // 8 bytes: one byte is 12.5 %, rounded half up to 13.
    QByteArray eight("abcdefgh");
    QBuffer buffer(&eight);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    TQxTextConversion conversion;
    QList<int> reported;
    conversion.SetProgressCallback([&](int percent) { reported.append(percent); });
    QVERIFY(conversion.OpenStream(buffer, TConversionKind::Import));
    char bytes[8];
    QCOMPARE(conversion.ReadBlock(bytes, 1), 1);
    QCOMPARE(conversion.PercentDone(), 13);
    QCOMPARE(conversion.ReadBlock(bytes, 3), 3);  // 4 of 8
    QCOMPARE(conversion.ReadBlock(bytes, 8), 4);
    QCOMPARE(conversion.ReadBlock(bytes, 8), 0);  // at the end: 100 again, not reported twice
    QCOMPARE(reported, (QList<int>{13, 50, 100}));
    conversion.Done();

    // 1000 bytes: 4 bytes are 0.4 %, no change yet; the fifth makes 1 %.
    QByteArray thousand(1000, 'x');
    QBuffer big(&thousand);
    QVERIFY(big.open(QIODevice::ReadOnly));
    reported.clear();
    QVERIFY(conversion.OpenStream(big, TConversionKind::Import));
    char block[1000];
    for (int i = 0; i < 4; ++i) conversion.ReadBlock(block, 1);
    QVERIFY(reported.isEmpty());
    conversion.ReadBlock(block, 1);
    QCOMPARE(reported, QList<int>{1});
    conversion.Done();
}

void TestConversions::retryRewindsOnlyRetryKinds() {
    QByteArray data("0123456789");
    QBuffer buffer(&data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    buffer.seek(3);
    TQxRTFConversion rtf;
    QVERIFY(rtf.OpenStream(buffer, TConversionKind::Import));
    QCOMPARE(rtf.StartPosition(), 3);
    QCOMPARE(rtf.StreamSize(), 10);
    char bytes[4];
    QCOMPARE(rtf.ReadBlock(bytes, 4), 4);
    QCOMPARE(rtf.BytesConverted(), 4);
    QVERIFY(rtf.Retry());
    QCOMPARE(buffer.pos(), 3);
    QCOMPARE(rtf.BytesConverted(), 0);
    rtf.Done();

    // A conversion whose kind allows no retry keeps its place.
    struct PlainOnly : TQxTextConversion {
        TConversionTextKind TextKind() override { return TConversionTextKind::Plain; }
    } plain;
    buffer.seek(3);
    QVERIFY(plain.OpenStream(buffer, TConversionKind::Import));
    plain.ReadBlock(bytes, 4);
    QVERIFY(!plain.Retry());
    QCOMPARE(buffer.pos(), 7);
    plain.Done();
}

void TestConversions::exportReplacesTargetOnlyOnCommit() {
    const QString path = dir_.filePath(QStringLiteral("commit.qlx"));
    QVERIFY(writeFileBytes(path, "previous"));
    TQxRTFConversion conversion;
    QVERIFY(conversion.OpenFile(path, TConversionKind::Export));
    QCOMPARE(conversion.WriteBlock("new content", 11), 11);
    QCOMPARE(readFileBytes(path), QByteArray("previous"));  // not truncated on opening
    conversion.Done();                                     // abandoned without commit
    QCOMPARE(readFileBytes(path), QByteArray("previous"));

    QVERIFY(conversion.OpenFile(path, TConversionKind::Export));
    QCOMPARE(conversion.WriteBlock("new content", 11), 11);
    conversion.Commit();
    conversion.Done();
    QCOMPARE(readFileBytes(path), QByteArray("new content"));
    // No temporary files are left beside the target.
    QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("commit*")}, QDir::Files | QDir::Hidden).size(), 1);
}

void TestConversions::exportToUnusablePathRaisesNamingFile_data() {
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("parent is a regular file") << "regular-file/doc.qlx";
    QTest::newRow("target is a directory") << "a-directory";
}

void TestConversions::exportToUnusablePathRaisesNamingFile() {
    QFETCH(QString, relativePath);
    QVERIFY(writeFileBytes(dir_.filePath(QStringLiteral("regular-file")), "keep"));
    QDir(dir_.path()).mkpath(QStringLiteral("a-directory"));
    const QString path = dir_.filePath(relativePath);
    TQxRTFConversion conversion;
    // Opening may be refused at once, or the commit refuses to replace a directory: either raises.
    try {
        if (conversion.OpenFile(path, TConversionKind::Export)) {
            conversion.WriteBlock("x", 1);
            conversion.Commit();
        }
        QFAIL("the save was reported as done");
    } catch (const platform::EStreamError& error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
    conversion.Done();
    QCOMPARE(readFileBytes(dir_.filePath(QStringLiteral("regular-file"))), QByteArray("keep"));
    QVERIFY(QFileInfo(dir_.filePath(QStringLiteral("a-directory"))).isDir());
}

void TestConversions::importOfMissingFileRaisesNamingFile() {
    const QString path = dir_.filePath(QStringLiteral("absent.rtf"));
    TQxRTFConversion conversion;
    try {
        conversion.OpenFile(path, TConversionKind::Import);
        QFAIL("opening a missing file succeeded");
    } catch (const platform::EFOpenError& error) {
        QVERIFY(error.message().startsWith(QStringLiteral("Cannot open file \"%1\".").arg(path)));
    }
}

void TestConversions::plainTextEncodingJudgesWholeSource_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    using platform::TextEncoding;
    QTest::newRow("ascii") << QByteArray("plain") << int(TextEncoding::Utf8);
    QTest::newRow("empty") << QByteArray() << int(TextEncoding::Utf8);
    QTest::newRow("utf-8 signature") << QByteArray("\xEF\xBB\xBFx") << int(TextEncoding::Utf8WithSignature);
    QTest::newRow("utf-16 le") << QByteArray("\xFF\xFEx\0", 4) << int(TextEncoding::Utf16LE);
    QTest::newRow("utf-16 be") << QByteArray("\xFE\xFF\0x", 4) << int(TextEncoding::Utf16BE);
    QTest::newRow("utf-8 letters") << QByteArray("\xC5\xBD") << int(TextEncoding::Utf8);
    // A Windows-1250 byte far beyond the first blocks still decides the whole file.
    QTest::newRow("1250 byte after 200 KB of ascii") << (QByteArray(200 * 1024, 'a') + "\x8E")
                                                      << int(TextEncoding::Windows1250);
    QTest::newRow("cut utf-8 at the end") << QByteArray("ab\xC5") << int(TextEncoding::Windows1250);
}

void TestConversions::plainTextEncodingJudgesWholeSource() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    QByteArray data = QByteArray("head") + bytes;
    QBuffer buffer(&data);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    buffer.seek(4);
    TQxTextConversion conversion;
    QVERIFY(conversion.OpenStream(buffer, TConversionKind::Import));
    const std::optional<platform::TextEncoding> encoding = conversion.PlainTextEncoding();
    QVERIFY(encoding.has_value());
    QCOMPARE(int(*encoding), expected);
    QCOMPARE(buffer.pos(), 4);  // the transfer still starts at the beginning
    conversion.Done();
}

QX_REGISTER_TEST(TestConversions)
#include "tst_conversions.moc"
