// Picture decoding: every supported format from real files, bare DIBs, and hostile input.
#include "platform/picture/picture.h"
#include "tests/support/testregistry.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <zlib.h>

using platform::decodePicture;
using platform::detectPictureFormat;
using platform::loadPictureFile;

namespace {

QByteArray fixture(const char* name) {
    QFile file(QStringLiteral(QX_TEST_DATA_DIR "/picture/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing picture fixture %s", name);
    return file.readAll();
}

QByteArray pngChunk(const char* type, const QByteArray& payload) {
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(payload.size()), out.data());
    const QByteArray typed = QByteArray(type, 4) + payload;
    out += typed;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(quint32(crc32(0, reinterpret_cast<const Bytef*>(typed.constData()), uInt(typed.size()))),
                          crc.data());
    return out + crc;
}

// A valid black 1-bit grey PNG of any size: its zero rows compress to almost nothing.
QByteArray blackPng(quint32 width, quint32 height) {
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(width, header.data());
    qToBigEndian<quint32>(height, header.data() + 4);
    header[8] = 1;  // bit depth
    header[9] = 0;  // grey
    const qint64 rawSize = (qint64(width + 7) / 8 + 1) * height;
    QByteArray idat;
    if (rawSize < 64 * 1024 * 1024)
        idat = qCompress(QByteArray(rawSize, '\0')).mid(4);  // drop qCompress's length prefix
    else
        idat = qCompress(QByteArray(1024, '\0')).mid(4);  // too large to build; refused before the data matters
    return QByteArray("\x89PNG\r\n\x1A\n") + pngChunk("IHDR", header) + pngChunk("IDAT", idat) + pngChunk("IEND", {});
}

// A valid grey JPEG of the given size, written by Qt's own JPEG writer.
QByteArray greyJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(90);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG"))
        qFatal("cannot write a JPEG");
    return bytes;
}

// A valid black 1-bit DIB (40-byte header, two-colour table, zero pixels) of any size; with
// `FileHeader::Add` it is a .bmp file.
enum class FileHeader { Omit, Add };
QByteArray blackBitmap(qint32 width, qint32 height, FileHeader fileHeader) {
    const qint64 stride = (qint64(width) + 31) / 32 * 4;
    QByteArray dib(40 + 8, '\0');
    char* p = dib.data();
    qToLittleEndian<quint32>(40, p);
    qToLittleEndian<qint32>(width, p + 4);
    qToLittleEndian<qint32>(height, p + 8);
    qToLittleEndian<quint16>(1, p + 12);
    qToLittleEndian<quint16>(1, p + 14);
    qToLittleEndian<quint32>(0x00FFFFFF, p + 44);  // colour 1 white
    dib += QByteArray(stride * std::abs(qint64(height)), '\0');
    if (fileHeader == FileHeader::Omit)
        return dib;
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), file.data() + 2);
    qToLittleEndian<quint32>(14 + 48, file.data() + 10);
    return file + dib;
}

// A bare 16-bit DIB with a 40-byte header and BI_BITFIELDS masks (5-6-5) after it: red, green.
QByteArray bitfieldsDib() {
    QByteArray dib(40 + 12 + 4, '\0');
    char* p = dib.data();
    qToLittleEndian<quint32>(40, p);
    qToLittleEndian<qint32>(2, p + 4);
    qToLittleEndian<qint32>(1, p + 8);
    qToLittleEndian<quint16>(1, p + 12);
    qToLittleEndian<quint16>(16, p + 14);
    qToLittleEndian<quint32>(3, p + 16);  // BI_BITFIELDS
    qToLittleEndian<quint32>(0xF800, p + 40);
    qToLittleEndian<quint32>(0x07E0, p + 44);
    qToLittleEndian<quint32>(0x001F, p + 48);
    qToLittleEndian<quint16>(0xF800, p + 52);
    qToLittleEndian<quint16>(0x07E0, p + 54);
    return dib;
}

bool closeTo(QRgb actual, QRgb expected, int tolerance) {
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance && std::abs(qGreen(actual) - qGreen(expected)) <= tolerance
        && std::abs(qBlue(actual) - qBlue(expected)) <= tolerance && std::abs(qAlpha(actual) - qAlpha(expected)) <= tolerance;
}

// The six pixels of the small lossless fixtures: red, green, blue / white, black, grey.
const QList<QPoint> kBasePoints{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
const QList<uint> kBaseColors{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000, 0xFF808080};

}  // namespace

class TestPicture : public QObject {
    Q_OBJECT

private slots:
    void decodesFiles_data();
    void decodesFiles();
    void dibIsBitmapWithoutFileHeader_data();
    void dibIsBitmapWithoutFileHeader();
    void detectsFormatBySignature_data();
    void detectsFormatBySignature();
    void formatForSuffix();
    void brokenDataGivesNullImage_data();
    void brokenDataGivesNullImage();
    void sizeLimits_data();
    void sizeLimits();
    void loadsByContentNotByName();
};

void TestPicture::decodesFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("imageFormat");  // -1: whatever Qt's reader gives
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QList<uint>>("colors");

    QTest::newRow("png palette with tRNS") << "palette-trns.png" << "png" << QSize(3, 2) << int(QImage::Format_RGBA8888) << 0
        << QList<QPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}} << QList<uint>{0xFFFF0000, 0x8000FF00, 0xFF0000FF, 0x00FFFFFF};
    QTest::newRow("png grey with alpha") << "gray-alpha.png" << "png" << QSize(2, 1) << int(QImage::Format_RGBA8888) << 0
        << QList<QPoint>{{0, 0}, {1, 0}} << QList<uint>{0xFFC8C8C8, 0x80323232};
    QTest::newRow("png 16-bit RGB") << "rgb16.png" << "png" << QSize(2, 1) << int(QImage::Format_RGBX8888) << 0
        << QList<QPoint>{{0, 0}, {1, 0}} << QList<uint>{0xFFFF0000, 0xFF128001};
    QTest::newRow("png 1-bit grey with tRNS") << "gray1-trns.png" << "png" << QSize(8, 1) << int(QImage::Format_RGBA8888) << 0
        << QList<QPoint>{{0, 0}, {1, 0}, {7, 0}} << QList<uint>{0xFFFFFFFF, 0x00000000, 0x00000000};
    QTest::newRow("png interlaced") << "interlaced.png" << "png" << QSize(3, 2) << int(QImage::Format_RGBX8888) << 0
        << kBasePoints << kBaseColors;
    QTest::newRow("jpeg RGB") << "rgb.jpg" << "jpeg" << QSize(32, 16) << int(QImage::Format_RGB888) << 8
        << QList<QPoint>{{8, 8}, {24, 8}} << QList<uint>{0xFFFF0000, 0xFF0000FF};
    QTest::newRow("jpeg progressive") << "progressive.jpg" << "jpg" << QSize(32, 16) << int(QImage::Format_RGB888) << 8
        << QList<QPoint>{{8, 8}, {24, 8}} << QList<uint>{0xFFFF0000, 0xFF0000FF};
    QTest::newRow("jpeg grey") << "gray.jpg" << "JPEG" << QSize(32, 16) << int(QImage::Format_Grayscale8) << 4
        << QList<QPoint>{{8, 8}, {24, 8}} << QList<uint>{0xFF282828, 0xFFDCDCDC};
    QTest::newRow("jpeg Adobe CMYK") << "cmyk.jpg" << "jpeg" << QSize(32, 16) << int(QImage::Format_RGB888) << 8
        << QList<QPoint>{{8, 8}, {24, 8}} << QList<uint>{0xFFFF0000, 0xFF0000FF};
    QTest::newRow("bmp 24-bit") << "rgb24.bmp" << "bmp" << QSize(3, 2) << -1 << 0 << kBasePoints << kBaseColors;
    QTest::newRow("bmp 4-bit palette") << "palette8.bmp" << "bmp" << QSize(3, 2) << -1 << 0 << kBasePoints << kBaseColors;
    QTest::newRow("bmp 32-bit V5 header") << "argb32.bmp" << "bmp" << QSize(3, 2) << -1 << 0 << kBasePoints << kBaseColors;
    QTest::newRow("bmp core header") << "core.bmp" << "bmp" << QSize(3, 2) << -1 << 0 << kBasePoints << kBaseColors;
    QTest::newRow("ico: the largest image") << "icon.ico" << "ico" << QSize(32, 32) << -1 << 0
        << QList<QPoint>{{0, 0}, {31, 31}} << QList<uint>{0xFF0000FF, 0xFF0000FF};
}

void TestPicture::decodesFiles() {
    QFETCH(QString, file);
    QFETCH(QString, format);
    QFETCH(QSize, size);
    QFETCH(int, imageFormat);
    QFETCH(int, tolerance);
    QFETCH(QList<QPoint>, points);
    QFETCH(QList<uint>, colors);

    const QImage image = decodePicture(fixture(file.toLatin1().constData()), format);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
    if (imageFormat >= 0)
        QCOMPARE(image.format(), QImage::Format(imageFormat));
    for (int i = 0; i < points.size(); ++i) {
        const QRgb actual = image.pixel(points[i]);
        if (!closeTo(actual, colors[i], tolerance))
            QFAIL(qPrintable(QStringLiteral("pixel (%1,%2) is %3, expected %4").arg(points[i].x()).arg(points[i].y())
                                 .arg(actual, 8, 16, QLatin1Char('0')).arg(colors[i], 8, 16, QLatin1Char('0'))));
    }

    // Loading the file detects the same format from its content.
    const QImage loaded = loadPictureFile(QStringLiteral(QX_TEST_DATA_DIR "/picture/") + file);
    QCOMPARE(loaded, image);
}

void TestPicture::dibIsBitmapWithoutFileHeader_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("24-bit") << "rgb24.bmp";
    QTest::newRow("4-bit palette") << "palette8.bmp";
    QTest::newRow("V5 header with masks inside") << "argb32.bmp";
    QTest::newRow("core header, 3-byte palette") << "core.bmp";
}

void TestPicture::dibIsBitmapWithoutFileHeader() {
    QFETCH(QString, file);
    const QByteArray bmp = fixture(file.toLatin1().constData());
    const QByteArray dib = bmp.mid(14);
    QCOMPARE(detectPictureFormat(dib), QStringLiteral("dib"));
    const QImage fromDib = decodePicture(dib, QStringLiteral("dib"));
    QVERIFY(!fromDib.isNull());
    QCOMPARE(fromDib.convertToFormat(QImage::Format_ARGB32),
             decodePicture(bmp, QStringLiteral("bmp")).convertToFormat(QImage::Format_ARGB32));
}

void TestPicture::detectsFormatBySignature_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expected");
    QTest::newRow("png") << fixture("rgb16.png") << "png";
    QTest::newRow("jpeg") << fixture("gray.jpg") << "jpeg";
    QTest::newRow("bmp") << fixture("rgb24.bmp") << "bmp";
    QTest::newRow("ico") << fixture("icon.ico") << "ico";
    QTest::newRow("dib with masks after the header") << bitfieldsDib() << "dib";
    QTest::newRow("gif, recognised to be refused") << QByteArray("GIF89a\1\0\1\0\0\0\0", 13) << "gif";
    QTest::newRow("placeable metafile") << QByteArray("\xD7\xCD\xC6\x9A", 4) + QByteArray(18, '\0') << "wmf";
    QTest::newRow("plain metafile") << QByteArray("\1\0\x09\0\0\x03", 6) + QByteArray(12, '\0') << "wmf";
    QTest::newRow("metafile header cut short") << QByteArray("\1\0\x09\0\0\x03", 6) << "";
    QTest::newRow("metafile of another version") << QByteArray("\1\0\x09\0\0\x02", 6) + QByteArray(12, '\0') << "";
    QTest::newRow("enhanced metafile") << [] {
        QByteArray emf(88, '\0');
        emf[0] = 1;
        emf[4] = 88;
        emf.replace(40, 4, " EMF");
        return emf;
    }() << "emf";
    QTest::newRow("enhanced metafile without signature") << [] {
        QByteArray emf(88, '\0');
        emf[0] = 1;
        emf[4] = 88;
        return emf;
    }() << "";
    QTest::newRow("text") << QByteArray("{\\rtf1 hello}") << "";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("png signature cut short") << QByteArray("\x89PNG\r\n") << "";
    QTest::newRow("header size 40 but no planes") << QByteArray("\x28\0\0\0\1\0\0\0\1\0\0\0\0\0\x18\0", 16) << "";
}

void TestPicture::detectsFormatBySignature() {
    QFETCH(QByteArray, data);
    QFETCH(QString, expected);
    QCOMPARE(detectPictureFormat(data), expected);
}

void TestPicture::formatForSuffix() {
    const QList<QPair<QString, QString>> cases{{"bmp", "bmp"}, {"JPG", "jpeg"}, {"jpeg", "jpeg"}, {"Png", "png"},
                                               {"ico", "ico"},  {"gif", "gif"},  {"wmf", "wmf"},   {"EMF", "emf"},
                                               {"txt", ""},     {"", ""},        {"jpe", ""}};
    for (const auto& [suffix, format] : cases) QCOMPARE(platform::pictureFormatForSuffix(suffix), format);
}

void TestPicture::brokenDataGivesNullImage_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("format");

    const QByteArray png = fixture("palette-trns.png");
    const QByteArray jpeg = fixture("rgb.jpg");
    const QByteArray progressive = fixture("progressive.jpg");
    const QByteArray bmp = fixture("rgb24.bmp");
    const QByteArray ico = fixture("icon.ico");

    QByteArray badCrc = png;
    badCrc[badCrc.indexOf("IDAT") + 6] = char(badCrc[badCrc.indexOf("IDAT") + 6] ^ 0x55);
    QByteArray garbage(300, '\0');
    QRandomGenerator random(20240601);
    for (char& c : garbage)
        c = char(random.bounded(256));

    QTest::newRow("png cut inside IDAT") << png.left(png.size() - 20) << "png";
    QTest::newRow("png with a damaged IDAT") << badCrc << "png";
    QTest::newRow("png signature then garbage") << png.left(8) + garbage << "png";
    // Cut halfway through the compressed data that follows the first scan header.
    const auto cutInScans = [](const QByteArray& data) {
        const qsizetype scan = data.indexOf("\xFF\xDA");
        return data.left(scan + (data.size() - scan) / 2);
    };
    QTest::newRow("jpeg cut in the pixel data") << cutInScans(jpeg) << "jpeg";
    QTest::newRow("progressive jpeg cut in the scans") << cutInScans(progressive) << "jpeg";
    QTest::newRow("jpeg headers only") << jpeg.left(jpeg.indexOf("\xFF\xDA")) << "jpeg";
    QTest::newRow("jpeg signature then garbage") << jpeg.left(3) + garbage << "jpeg";
    QTest::newRow("bmp pixels cut") << bmp.left(bmp.size() - 4) << "bmp";
    QTest::newRow("bmp pixel offset beyond the end") << [&] {
        QByteArray b = bmp;
        qToLittleEndian<quint32>(quint32(b.size() + 100), b.data() + 10);
        return b;
    }() << "bmp";
    QTest::newRow("dib pixels cut") << bmp.mid(14, bmp.size() - 14 - 4) << "dib";
    QTest::newRow("dib masks missing") << bitfieldsDib().left(40) << "dib";
    QTest::newRow("ico directory only") << ico.left(22) << "ico";
    QTest::newRow("garbage as png") << garbage << "png";
    QTest::newRow("garbage as jpeg") << garbage << "jpeg";
    QTest::newRow("garbage as bmp") << "BM" + garbage << "bmp";
    QTest::newRow("garbage as dib") << garbage << "dib";
    QTest::newRow("garbage as ico") << QByteArray("\0\0\1\0\1\0", 6) + garbage << "ico";
    QTest::newRow("empty") << QByteArray() << "png";
    QTest::newRow("png data named jpeg") << png << "jpeg";
    QTest::newRow("unknown format") << png << "gif";
}

void TestPicture::brokenDataGivesNullImage() {
    QFETCH(QByteArray, data);
    QFETCH(QString, format);
    QVERIFY(decodePicture(data, format).isNull());
}

void TestPicture::sizeLimits_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("expected");  // invalid: refused
    QTest::addColumn<QList<uint>>("firstRow");  // leading pixels of row 0, to 7 units per channel

    // Every picture here is complete and valid: only the limits refuse it.
    QTest::newRow("png as wide as allowed") << blackPng(16384, 1) << "png" << QSize(16384, 1) << QList<uint>{};
    QTest::newRow("png too wide") << blackPng(16385, 1) << "png" << QSize() << QList<uint>{};
    QTest::newRow("png too many pixels") << blackPng(16384, 8193) << "png" << QSize() << QList<uint>{};
    QTest::newRow("png beyond 2^31 (data cut)") << blackPng(0x80000000u, 1) << "png" << QSize() << QList<uint>{};
    QTest::newRow("jpeg as wide as allowed") << greyJpeg(16384, 8) << "jpeg" << QSize(16384, 8) << QList<uint>{};
    QTest::newRow("jpeg too wide") << greyJpeg(16385, 8) << "jpeg" << QSize() << QList<uint>{};
    QTest::newRow("bmp as wide as allowed") << blackBitmap(16384, 2, FileHeader::Add) << "bmp" << QSize(16384, 2) << QList<uint>{};
    QTest::newRow("bmp too wide") << blackBitmap(16385, 2, FileHeader::Add) << "bmp" << QSize() << QList<uint>{};
    QTest::newRow("bmp top-down too tall") << blackBitmap(8, -16385, FileHeader::Add) << "bmp" << QSize() << QList<uint>{};
    QTest::newRow("dib too many pixels") << blackBitmap(16384, 8193, FileHeader::Omit) << "dib" << QSize() << QList<uint>{};
    QTest::newRow("dib top-down") << blackBitmap(5, -3, FileHeader::Omit) << "dib" << QSize(5, 3) << QList<uint>{};
    // 5 and 6 bits per channel: full red and green come back as 248 and 252 or more.
    QTest::newRow("dib with masks after the header") << bitfieldsDib() << "dib" << QSize(2, 1)
                                                     << QList<uint>{0xFFFF0000, 0xFF00FF00};
}

void TestPicture::sizeLimits() {
    QFETCH(QByteArray, data);
    QFETCH(QString, format);
    QFETCH(QSize, expected);
    QFETCH(QList<uint>, firstRow);
    const QImage image = decodePicture(data, format);
    if (!expected.isValid()) {
        QVERIFY(image.isNull());
        return;
    }
    QCOMPARE(image.size(), expected);
    for (int x = 0; x < firstRow.size(); ++x)
        QVERIFY(closeTo(image.pixel(x, 0), firstRow[x], 7));
}

void TestPicture::loadsByContentNotByName() {
    QTemporaryDir dir;
    const QString misnamed = dir.filePath(QStringLiteral("obrazek.png"));
    QVERIFY(QFile::copy(QStringLiteral(QX_TEST_DATA_DIR "/picture/gray.jpg"), misnamed));
    QCOMPARE(loadPictureFile(misnamed).size(), QSize(32, 16));

    const QString text = dir.filePath(QStringLiteral("poznamka.bmp"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Toto není obrázek.\r\n");
    file.close();
    QVERIFY(loadPictureFile(text).isNull());
    QVERIFY(loadPictureFile(dir.filePath(QStringLiteral("chybi.png"))).isNull());
}

QX_REGISTER_TEST(TestPicture)
#include "tst_picture.moc"
