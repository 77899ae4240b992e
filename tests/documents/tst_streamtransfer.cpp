// The block callbacks of stream-in and stream-out, driven directly with the block sizes an engine
// could ask for: halving, line breaks, NUL bytes, encodings, characters split between blocks.
#include "documents/QxConversion.h"
#include "documents/QxStreamTransfer.h"
#include "documents/QxTextDecoder.h"
#include "platform/encoding/plaintext.h"
#include "platform/errors.h"
#include "tests/support/testregistry.h"

#include <QBuffer>
#include <QTest>

#include <vector>

namespace {

// A text conversion over a memory buffer that records the block sizes it is asked for.
struct RecordingConversion : TQxTextConversion {
    QList<qint64> requested;
    qint64 ReadBlock(char* buffer, qint64 count) override {
        requested.append(count);
        return TQxTextConversion::ReadBlock(buffer, count);
    }
};

struct Drained {
    QByteArray bytes;
    QList<QByteArray> chunks;
    bool ok = true;
    QString problem;
};

// Calls the reader until it hands over nothing, as the engine does.
Drained drain(TQxStreamReader& reader, int blockSize) {
    Drained result;
    std::vector<char> buffer(std::size_t(blockSize) + 8, '\x7F');
    for (int calls = 0; calls < 1'000'000; ++calls) {
        int transferred = -1;
        const std::uint32_t error = reader(buffer.data(), blockSize, transferred);
        if (error != 0) {
            result.ok = false;
            result.problem = QStringLiteral("error %1").arg(error);
            return result;
        }
        if (transferred == 0) return result;
        if (transferred < 0 || transferred > blockSize) {
            result.ok = false;
            result.problem = QStringLiteral("handed %1 bytes for a block of %2").arg(transferred).arg(blockSize);
            return result;
        }
        result.chunks.append(QByteArray(buffer.data(), transferred));
        result.bytes.append(buffer.data(), transferred);
    }
    result.ok = false;
    result.problem = QStringLiteral("never ended");
    return result;
}

Drained readThrough(const QByteArray& source, TransferContent content, int blockSize,
                    EngineTextEncoding encoding = EngineTextEncoding::Utf8, QList<qint64>* requested = nullptr) {
    QByteArray data = source;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    RecordingConversion conversion;
    conversion.OpenStream(buffer, TConversionKind::Import);
    TQxStreamReader reader(conversion, content, encoding);
    Drained result = drain(reader, blockSize);
    if (requested) *requested = conversion.requested;
    conversion.Done();
    return result;
}

QByteArray utf16le(const QString& text, bool signature = true) {
    QByteArray bytes = signature ? QByteArray("\xFF\xFE") : QByteArray();
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QByteArray utf16be(const QString& text) {
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xFF));
    }
    return bytes;
}

const QList<int> kBlockSizes{1, 2, 3, 4, 5, 7, 16, 4096};

}  // namespace

class TestStreamTransfer : public QObject {
    Q_OBJECT

private slots:
    void readsAtMostHalfTheBlock_data();
    void readsAtMostHalfTheBlock();
    void plainTextRules_data();
    void plainTextRules();
    void richTextPassesUnchanged();
    void unicodeTransferHandsUtf16();
    void failingSourceIsAReadError();
    void writerReportsShortAndFailedWrites();
    void decoderJoinsSplitCharacters_data();
    void decoderJoinsSplitCharacters();
};

void TestStreamTransfer::readsAtMostHalfTheBlock_data() {
    QTest::addColumn<int>("content");
    QTest::newRow("plain") << int(TransferContent::PlainText);
    QTest::newRow("rich") << int(TransferContent::RichText);
}

void TestStreamTransfer::readsAtMostHalfTheBlock() {
    QFETCH(int, content);
    const QByteArray source = QByteArray("line one\nline two\r\n").repeated(20);
    for (const int block : {10, 11, 64, 4096}) {
        QList<qint64> requested;
        const Drained drained = readThrough(source, TransferContent(content), block, EngineTextEncoding::Utf8, &requested);
        QVERIFY2(drained.ok, qPrintable(drained.problem));
        QVERIFY(!requested.isEmpty());
        for (const qint64 asked : requested) QVERIFY2(asked <= block / 2, qPrintable(QString::number(asked)));
    }
}

void TestStreamTransfer::plainTextRules_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("expected");  // UTF-8 for the engine

    QTest::newRow("lone LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
    QTest::newRow("lone CR") << QByteArray("a\rb\rc") << QByteArray("a\r\nb\r\nc");
    QTest::newRow("CR LF stays one pair") << QByteArray("a\r\nb\r\nc") << QByteArray("a\r\nb\r\nc");
    QTest::newRow("final CR dropped") << QByteArray("a\rb\r") << QByteArray("a\r\nb");
    QTest::newRow("only a CR") << QByteArray("\r") << QByteArray();
    QTest::newRow("final CR LF kept") << QByteArray("a\r\n") << QByteArray("a\r\n");
    QTest::newRow("CR then CR LF") << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("LF then CR") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb");
    QTest::newRow("NUL drops only itself") << QByteArray("ab\0cd\nef", 8) << QByteArray("abcd\r\nef");
    QTest::newRow("NUL between CR and LF") << QByteArray("a\r\0\nb", 5) << QByteArray("a\r\nb");
    QTest::newRow("NULs first") << QByteArray("\0\0\0\0abc", 7) << QByteArray("abc");
    QTest::newRow("only NULs") << QByteArray("\0\0\0", 3) << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("utf-8") << QString::fromUtf8("Žluťoučký\nkůň").toUtf8()
                           << QString::fromUtf8("Žluťoučký\r\nkůň").toUtf8();
    QTest::newRow("utf-8 signature") << QByteArray("\xEF\xBB\xBFx\ny") << QByteArray("x\r\ny");
    QTest::newRow("utf-8 astral") << QByteArray("\xF0\x9F\x98\x80!") << QByteArray("\xF0\x9F\x98\x80!");
    QTest::newRow("windows-1250") << QByteArray("\x8Elu\x9Do\x75\xE8k\xFD k\xF9\xF2\r")
                                  << QString::fromUtf8("Žluťoučký kůň").toUtf8();
    // In UTF-16 the bytes 0x0A and 0x0D and 0x00 occur inside letters; only characters count.
    QTest::newRow("utf-16 le") << utf16le(QString::fromUtf8("Ċč\naž\r\n"))
                               << QString::fromUtf8("Ċč\r\naž\r\n").toUtf8();
    QTest::newRow("utf-16 be") << utf16be(QString::fromUtf8("Ċč\raž"))
                               << QString::fromUtf8("Ċč\r\naž").toUtf8();
    QTest::newRow("utf-16 surrogate pair") << utf16le(QString::fromUtf8("a😀b"))
                                           << QString::fromUtf8("a😀b").toUtf8();
    QTest::newRow("utf-16 NUL character") << utf16le(QString(QChar(0)) + QStringLiteral("x"))
                                          << QByteArray("x");
}

void TestStreamTransfer::plainTextRules() {
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, expected);
    // Whatever the block size, the same text arrives.
    for (const int block : kBlockSizes) {
        const Drained drained = readThrough(source, TransferContent::PlainText, block);
        QVERIFY2(drained.ok, qPrintable(QStringLiteral("block %1: %2").arg(block).arg(drained.problem)));
        QVERIFY2(drained.bytes == expected,
                 qPrintable(QStringLiteral("block %1: %2").arg(block).arg(QString::fromLatin1(drained.bytes.toHex(' ')))));
        // Characters arrive whole whenever the block can hold one.
        if (block >= 4)
            for (const QByteArray& chunk : drained.chunks) QVERIFY(platform::isValidUtf8(chunk));
    }
}

void TestStreamTransfer::richTextPassesUnchanged() {
    // RTF's line breaks carry no meaning and \bin data must keep every byte.
    const QByteArray source("{\\rtf1 a\nb\rc\r\n{\\pict\\bin4 \0\r\n\r}}\r", 34);
    for (const int block : kBlockSizes) {
        const Drained drained = readThrough(source, TransferContent::RichText, block);
        QVERIFY2(drained.ok, qPrintable(drained.problem));
        QCOMPARE(drained.bytes, source);
    }
}

void TestStreamTransfer::unicodeTransferHandsUtf16() {
    const QString expected = QString::fromUtf8("ž\r\nx");
    for (const int block : {2, 3, 4096}) {
        const Drained drained =
            readThrough(QString::fromUtf8("ž\nx").toUtf8(), TransferContent::PlainText, block, EngineTextEncoding::Utf16);
        QVERIFY2(drained.ok, qPrintable(drained.problem));
        QCOMPARE(drained.bytes, QByteArray(reinterpret_cast<const char*>(expected.utf16()), expected.size() * 2));
    }
}

void TestStreamTransfer::failingSourceIsAReadError() {
    struct Failing : TQxTextConversion {
        qint64 ReadBlock(char*, qint64) override { throw platform::EReadError(QStringLiteral("disk gone")); }
    } failing;
    for (const TransferContent content : {TransferContent::PlainText, TransferContent::RichText}) {
        TQxStreamReader reader(failing, content);
        char buffer[16];
        int transferred = -1;
        QCOMPARE(reader(buffer, 16, transferred), kStreamReadError);
        QCOMPARE(transferred, 0);
    }
    // A conversion with no source at all is a failure too, not an empty document.
    TQxTextConversion unopened;
    TQxStreamReader reader(unopened, TransferContent::RichText);
    char buffer[16];
    int transferred = -1;
    QCOMPARE(reader(buffer, 16, transferred), kStreamReadError);
}

void TestStreamTransfer::writerReportsShortAndFailedWrites() {
    struct Limited : TQxConversion {
        qint64 accept = 0;
        bool fail = false;
        qint64 WriteBlock(const char*, qint64 count) override {
            if (fail) throw platform::EWriteError(QStringLiteral("full"));
            return std::min(count, accept);
        }
    } target;
    TQxStreamWriter writer(target);
    char block[8] = "abcdefg";
    int transferred = -1;
    target.accept = 8;
    QCOMPARE(writer(block, 8, transferred), 0u);
    QCOMPARE(transferred, 8);
    target.accept = 3;
    QCOMPARE(writer(block, 8, transferred), kStreamWriteError);
    target.fail = true;
    QCOMPARE(writer(block, 8, transferred), kStreamWriteError);
    QCOMPARE(transferred, 0);
}

void TestStreamTransfer::decoderJoinsSplitCharacters_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("utf-8") << QString::fromUtf8("kůň 😀").toUtf8() << QString::fromUtf8("kůň 😀");
    QTest::newRow("utf-8 signature") << QByteArray("\xEF\xBB\xBF\xC5\xBE") << QString::fromUtf8("ž");
    QTest::newRow("utf-16 le pair") << utf16le(QString::fromUtf8("😀ž")) << QString::fromUtf8("😀ž");
    QTest::newRow("utf-16 be") << utf16be(QString::fromUtf8("ěš")) << QString::fromUtf8("ěš");
    QTest::newRow("windows-1250") << QByteArray("\x8E\x9A") << QString::fromUtf8("Žš");
    QTest::newRow("cut utf-8 at the end") << QByteArray("ab\xC5") << QString::fromUtf8("abĹ");
}

void TestStreamTransfer::decoderJoinsSplitCharacters() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    // Byte by byte, with the encoding decided by the decoder from the first bytes, and with the
    // encoding known beforehand from the whole source.
    const platform::TextEncoding whole = platform::detectPlainTextEncoding(bytes);
    for (const std::optional<platform::TextEncoding> known : {std::optional<platform::TextEncoding>(), std::optional(whole)}) {
        TQxPlainTextDecoder decoder(known);
        QString text;
        for (const char byte : bytes) text += decoder.Decode(QByteArray(1, byte));
        text += decoder.Finish();
        QCOMPARE(text, expected);
    }
}

QX_REGISTER_TEST(TestStreamTransfer)
#include "tst_streamtransfer.moc"
