// Code pages through iconv and the decoding of plain-text files.
#include "tests/support/testregistry.h"

#include "platform/encoding/codepage.h"
#include "platform/encoding/plaintext.h"

#include <QTest>

using namespace platform;

class TestRtfEncoding : public QObject {
    Q_OBJECT

private slots:
    void decodePlainText_data();
    void decodePlainText();
    void codePages_data();
    void codePages();
    void encodingReportsLoss_data();
    void encodingReportsLoss();
    void undefinedBytesKeepTheirValue();
};

void TestRtfEncoding::decodePlainText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("encoding");

    const int utf8 = int(TextEncoding::Utf8), bom = int(TextEncoding::Utf8WithSignature),
              le = int(TextEncoding::Utf16LE), be = int(TextEncoding::Utf16BE), cp1250 = int(TextEncoding::Windows1250);
    QTest::newRow("empty") << QByteArray() << QString() << utf8;
    QTest::newRow("ascii") << QByteArray("plain\r\ntext") << u"plain\r\ntext"_qs << utf8;
    QTest::newRow("utf-8") << QByteArray("\xc5\x99\x65\xc5\xbe \xf0\x9f\x98\x80") << u"řež 😀"_qs << utf8;
    QTest::newRow("utf-8 with signature") << QByteArray("\xef\xbb\xbf\xc5\x99") << u"ř"_qs << bom;
    QTest::newRow("signature alone") << QByteArray("\xef\xbb\xbf") << QString() << bom;
    QTest::newRow("utf-16 le") << QByteArray("\xff\xfe\x59\x01\x3d\xd8\x00\xde", 8) << u"ř😀"_qs << le;
    QTest::newRow("utf-16 be") << QByteArray("\xfe\xff\x01\x59\x00\x41", 6) << u"řA"_qs << be;
    QTest::newRow("utf-16 odd byte") << QByteArray("\xff\xfe\x41\x00\x42", 5) << u"A\uFFFD"_qs << le;
    QTest::newRow("windows-1250") << QByteArray("P\xf8\xedli\x9a \x9elu\x9di") << u"Příliš žluťi"_qs << cp1250;
    QTest::newRow("overlong slash is not utf-8") << QByteArray("\xc0\xaf") << u"ŔŻ"_qs << cp1250;
    QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf") << u"ŕ€Ż"_qs << cp1250;
    QTest::newRow("surrogate is not utf-8") << QByteArray("\xed\xa0\x80") << u"í\u00A0€"_qs << cp1250;
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << u"ô\u0090€€"_qs << cp1250;  // 0x90 is undefined in 1250
    QTest::newRow("truncated at the end") << QByteArray("ab\xc5") << u"abĹ"_qs << cp1250;
    QTest::newRow("lone continuation byte") << QByteArray("a\x80z") << u"a€z"_qs << cp1250;
    QTest::newRow("F5 lead byte") << QByteArray("\xf5\x80\x80\x80") << u"ő€€€"_qs << cp1250;
}

void TestRtfEncoding::decodePlainText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(int, encoding);
    QCOMPARE(int(detectPlainTextEncoding(bytes)), encoding);
    QCOMPARE(platform::decodePlainText(bytes), text);
}

void TestRtfEncoding::codePages_data() {
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("1250") << 1250 << QByteArray("\x8a\x8d\x8e\x9a\x9d\x9e\xe8\xf8\xf9") << u"ŠŤŽšťžčřů"_qs;
    QTest::newRow("1251") << 1251 << QByteArray("\xc6\xb8\xeb") << u"Жёл"_qs;
    QTest::newRow("1252") << 1252 << QByteArray("\x80\xe9\x9c") << u"€éœ"_qs;
    QTest::newRow("1253") << 1253 << QByteArray("\xc1\xe2") << u"Αβ"_qs;
    QTest::newRow("1254") << 1254 << QByteArray("\xde\xfe") << u"Şş"_qs;
    QTest::newRow("1257") << 1257 << QByteArray("\xc0\xe0") << u"Ąą"_qs;
    QTest::newRow("932 double-byte") << 932 << QByteArray("\x82\xa0\x93\xfa") << u"あ日"_qs;
    QTest::newRow("936 double-byte") << 936 << QByteArray("\xd6\xd0") << u"中"_qs;
    QTest::newRow("65001") << 65001 << QByteArray("\xc5\x99") << u"ř"_qs;
    QTest::newRow("unknown is 1252") << 4242 << QByteArray("\xe9") << u"é"_qs;
}

void TestRtfEncoding::codePages() {
    QFETCH(int, codePage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeCodePage(bytes, codePage), text);
    bool lossless = false;
    QCOMPARE(encodeCodePage(text, codePage, &lossless), bytes);
    QVERIFY(lossless);
}

void TestRtfEncoding::encodingReportsLoss_data() {
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("czech in 1252") << 1252 << u"aře"_qs << QByteArray("a?e");
    QTest::newRow("pair as one character") << 1250 << u"a😀b"_qs << QByteArray("a?b");
    QTest::newRow("lone surrogate") << 1250 << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") << QByteArray("a?b");
    QTest::newRow("double-byte page") << 932 << u"a😀日"_qs << QByteArray("a?\x93\xfa");
}

void TestRtfEncoding::encodingReportsLoss() {
    QFETCH(int, codePage);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    bool lossless = true;
    QCOMPARE(encodeCodePage(text, codePage, &lossless), bytes);
    QVERIFY(!lossless);
}

void TestRtfEncoding::undefinedBytesKeepTheirValue() {
    // 0x81 is undefined in 1250 and 1252; it reads as U+0081 and writes back as the same byte.
    QCOMPARE(decodeCodePage("\x81", 1250), QString(QChar(0x81)));
    QCOMPARE(encodeCodePage(QString(QChar(0x81)), 1252), QByteArray("\x81"));
    // A broken double-byte sequence gives a replacement character and reading goes on.
    QCOMPARE(decodeCodePage("\x82z\x82", 932), u"\uFFFDz\uFFFD"_qs);
}

QX_REGISTER_TEST(TestRtfEncoding)
#include "tst_rtfencoding.moc"
