// Metafile replay: LibreOffice-written WMF and EMF drawings, plain WMF as RTF carries it, and
// hostile input.
#include "platform/picture/metafile.h"
#include "tests/support/testregistry.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

using platform::drawMetafile;
using platform::replayMetafile;

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(QX_TEST_DATA_DIR "/metafile/") + name);
    if (!file.open(QIODevice::ReadOnly)) qFatal("missing metafile fixture %s", qPrintable(name));
    return file.readAll();
}

// The picture drawn at twice its natural size over grey, as it is drawn scaled in a document.
QImage render(const platform::MetafilePicture& metafile) {
    QImage image((metafile.size * 2).toSize(), QImage::Format_RGB32);
    image.fill(Qt::lightGray);
    QPainter painter(&image);
    drawMetafile(&painter, metafile, QRectF(QPointF(), metafile.size * 2));
    return image;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 && std::abs(a.blue() - b.blue()) < 40;
}

// How many pixels of the area (given as fractions of the image) have about the colour.
int pixelsLike(const QImage& image, const QRectF& fraction, QColor color) {
    const QRect area = QRectF(fraction.x() * image.width(), fraction.y() * image.height(), fraction.width() * image.width(),
                              fraction.height() * image.height()).toRect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (near(image.pixelColor(x, y), color)) ++count;
    return count;
}

struct Sample {
    QRectF area;
    QColor color;
    bool everywhere;  // the whole area has the colour, or only some of it (thin lines, text)
};

void checkSamples(const QImage& image, const QList<Sample>& samples) {
    for (const Sample& s : samples) {
        const QRect area = QRectF(s.area.x() * image.width(), s.area.y() * image.height(), s.area.width() * image.width(),
                                  s.area.height() * image.height()).toRect();
        const int found = pixelsLike(image, s.area, s.color);
        if (s.everywhere) QVERIFY2(found == area.width() * area.height(), qPrintable(s.color.name()));
        else QVERIFY2(found > 0, qPrintable(s.color.name()));
    }
}

// The shapes of drawing.svg (lines, fills, text, a bitmap) as fractions of the picture.
QList<Sample> drawingSamples() {
    return {
        {QRectF(0.10, 0.10, 0.15, 0.15), QColor(255, 0, 0), true},       // the red rectangle
        {QRectF(0.66, 0.14, 0.10, 0.10), QColor(0, 0, 255), true},       // the blue ellipse
        {QRectF(0.42, 0.15, 0.03, 0.10), QColor(255, 255, 255), true},   // background between them
        {QRectF(0.10, 0.494, 0.80, 0.006), QColor(0, 128, 0), true},      // the thick green line
        {QRectF(0.25, 0.85, 0.10, 0.05), QColor(255, 204, 0), true},     // the yellow triangle
        {QRectF(0.57, 0.62, 0.39, 0.11), QColor(0, 0, 0), false},        // the text
        {QRectF(0.65, 0.86, 0.08, 0.06), QColor(0, 200, 0), true},       // the bitmap's left half
        {QRectF(0.86, 0.86, 0.08, 0.06), QColor(0, 0, 220), true},       // and its right half
    };
}

QList<Sample> chartSamples() {
    return {
        {QRectF(0.70, 0.45, 0.10, 0.10), QColor(0, 160, 0), true},       // the green circle
        {QRectF(0.47, 0.05, 0.06, 0.08), QColor(0, 0, 128), false},      // its navy outline
        {QRectF(0.25, 0.40, 0.40, 0.15), QColor(255, 255, 255), false},  // the white bold text
        {QRectF(0.45, 0.60, 0.10, 0.20), QColor(255, 0, 255), false},    // the magenta curve
        {QRectF(0.02, 0.02, 0.06, 0.06), QColor(255, 255, 255), true},   // the white corner
    };
}

// Builds an enhanced metafile of 100 x 100 pixels at 96 dpi, record by record.
class EmfBuilder {
public:
    EmfBuilder& record(quint32 type, const QList<qint32>& params) {
        QByteArray r;
        put(r, type);
        put(r, quint32(8 + 4 * params.size()));
        for (qint32 p : params) put(r, quint32(p));
        records_ += r;
        ++count_;
        return *this;
    }
    EmfBuilder& solidBrush(quint32 slot, quint32 colorRef) { return record(39, {qint32(slot), 0, qint32(colorRef), 0}).record(37, {qint32(slot)}); }
    QByteArray build() const {
        QByteArray header;
        put(header, 1);
        put(header, 88);
        for (qint32 v : {0, 0, 99, 99, 0, 0, 2646, 2646}) put(header, quint32(v));  // bounds, frame
        put(header, 0x464D4520u);
        put(header, 0x10000u);
        put(header, quint32(88 + records_.size() + 20));
        put(header, quint32(count_ + 2));
        put(header, 16);  // handles, reserved
        for (qint32 v : {0, 0, 0, 960, 960, 254, 254}) put(header, quint32(v));  // no description or palette; device, mm
        QByteArray eof;
        for (quint32 v : {14u, 20u, 0u, 0u, 20u}) put(eof, v);
        return header + records_ + eof;
    }

private:
    static void put(QByteArray& out, quint32 v) {
        char bytes[4];
        qToLittleEndian(v, bytes);
        out.append(bytes, 4);
    }
    QByteArray records_;
    int count_ = 0;
};

constexpr quint32 kRed = 0x0000FF, kBlue = 0xFF0000;

}  // namespace

class TestMetafile : public QObject {
    Q_OBJECT
private slots:
    void replaysLibreOfficeDrawings_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSizeF>("size");  // natural size in pixels at 96 dpi
        QTest::addColumn<bool>("chart");
        // The drawing is cropped to its content (74.5 x 54.5 mm), the chart to its circle.
        QTest::newRow("wmf drawing") << "drawing.wmf" << QSizeF(281.7, 206.1) << false;
        QTest::newRow("emf drawing") << "drawing.emf" << QSizeF(281.7, 206.1) << false;
        QTest::newRow("wmf chart") << "chart.wmf" << QSizeF(139.7, 139.7) << true;
        QTest::newRow("emf chart") << "chart.emf" << QSizeF(139.7, 139.7) << true;
    }
    void replaysLibreOfficeDrawings() {
        QFETCH(QString, file);
        QFETCH(QSizeF, size);
        QFETCH(bool, chart);
        const QByteArray data = fixture(file);
        const QString format = file.section(u'.', -1);
        QCOMPARE(platform::detectMetafileFormat(data), format);
        const auto metafile = replayMetafile(data, format.toUpper());
        QVERIFY(metafile);
        QVERIFY(std::abs(metafile->size.width() - size.width()) < 1);
        QVERIFY(std::abs(metafile->size.height() - size.height()) < 1);
        checkSamples(render(*metafile), chart ? chartSamples() : drawingSamples());
    }

    // RTF carries a WMF without its placeable header; its window records give the extent.
    void replaysPlainWmf() {
        const QByteArray plain = fixture(QStringLiteral("drawing.wmf")).mid(22);
        QCOMPARE(platform::detectMetafileFormat(plain), QStringLiteral("wmf"));
        const auto metafile = replayMetafile(plain, QStringLiteral("wmf"));
        QVERIFY(metafile);
        QVERIFY(metafile->size.width() > 0 && metafile->size.height() > 0);
        checkSamples(render(*metafile), drawingSamples());
    }

    // Pictures are drawn into their rectangle on a printer's resolution as on the screen's, and
    // their own clipping never reaches outside it.
    void drawsIntoItsRectangleOnly_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("dpi");
        for (const char* file : {"drawing.wmf", "drawing.emf"})
            for (int dpi : {96, 600}) QTest::addRow("%s at %d dpi", file, dpi) << QString::fromLatin1(file) << dpi;
    }
    void drawsIntoItsRectangleOnly() {
        QFETCH(QString, file);
        QFETCH(int, dpi);
        const auto metafile = replayMetafile(fixture(file), file.right(3));
        QVERIFY(metafile);
        QImage page(300, 300, QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(dpi / 0.0254));
        page.setDotsPerMeterY(qRound(dpi / 0.0254));
        page.fill(Qt::lightGray);
        QPainter painter(&page);
        painter.setClipRect(page.rect());
        drawMetafile(&painter, *metafile, QRectF(100, 100, 100, 100));
        painter.end();
        int inside = 0, outside = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixelColor(x, y) != QColor(Qt::lightGray)) ++(QRect(100, 100, 100, 100).contains(x, y) ? inside : outside);
        QCOMPARE(outside, 0);
        QVERIFY(inside > 9500);  // the white background fills the rectangle
    }

    // The device-context records: mapping, world transform, clipping with save and restore, arcs.
    void playsDeviceContextRecords_data() {
        QTest::addColumn<QByteArray>("emf");
        QTest::addColumn<QPoint>("red");
        QTest::addColumn<QPoint>("white");
        const auto emf = [](const EmfBuilder& b) { return b.build(); };
        QTest::newRow("rectangle") << emf(EmfBuilder().solidBrush(1, kRed).record(43, {10, 10, 40, 40})) << QPoint(25, 25) << QPoint(60, 60);
        // Window 0..10 onto viewport 0..100: logical units ten pixels wide.
        QTest::newRow("anisotropic") << emf(EmfBuilder().record(17, {8}).record(9, {10, 10}).record(11, {100, 100}).solidBrush(1, kRed)
                                                .record(43, {5, 5, 9, 9}))
                                     << QPoint(70, 70) << QPoint(30, 30);
        // Metric mapping: y grows upwards from the window origin.
        QTest::newRow("lometric") << emf(EmfBuilder().record(17, {2}).record(12, {0, 100}).solidBrush(1, kRed).record(43, {0, 0, 100, 100}))
                                  << QPoint(2, 97) << QPoint(50, 50);
        QTest::newRow("world transform") << emf(EmfBuilder().record(35, {0x3F800000, 0, 0, 0x3F800000, 0x42480000, 0})  // 1 0 0 1 50 0
                                                    .solidBrush(1, kRed).record(43, {0, 0, 20, 20}))
                                         << QPoint(60, 10) << QPoint(10, 10);
        QTest::newRow("clip") << emf(EmfBuilder().record(30, {0, 0, 50, 100}).solidBrush(1, kRed).record(43, {0, 0, 100, 100}))
                              << QPoint(25, 50) << QPoint(75, 50);
        QTest::newRow("clip restored") << emf(EmfBuilder().record(33, {}).record(30, {0, 0, 10, 10}).record(34, {-1})
                                                  .solidBrush(1, kRed).record(43, {0, 0, 100, 100}))
                                       << QPoint(75, 50) << QPoint(-1, -1);
        // A pie from 0 to 90 degrees, counterclockwise: the top right quarter.
        QTest::newRow("pie") << emf(EmfBuilder().solidBrush(1, kRed).record(47, {0, 0, 100, 100, 100, 50, 50, 0}))
                             << QPoint(70, 30) << QPoint(30, 70);
        QTest::newRow("stock brush, deleted object") << emf(EmfBuilder().solidBrush(1, kBlue).record(40, {1}).record(37, {qint32(0x80000000u | 4)})
                                                                .record(39, {1, 0, qint32(kRed), 0}).record(37, {1}).record(42, {0, 0, 100, 100}))
                                                     << QPoint(50, 50) << QPoint(2, 2);
    }
    void playsDeviceContextRecords() {
        QFETCH(QByteArray, emf);
        QFETCH(QPoint, red);
        QFETCH(QPoint, white);
        const auto metafile = replayMetafile(emf, QStringLiteral("emf"));
        QVERIFY(metafile);
        QCOMPARE(metafile->size.toSize(), QSize(100, 100));
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        drawMetafile(&painter, *metafile, QRectF(0, 0, 100, 100));
        painter.end();
        QCOMPARE(image.pixelColor(red), QColor(Qt::red));
        if (white.x() >= 0) QCOMPARE(image.pixelColor(white), QColor(Qt::white));
    }

    void refusesWhatIsNoMetafile_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("format");
        QTest::newRow("empty") << QByteArray() << "wmf";
        QTest::newRow("text") << QByteArray("Toto není obrázek.") << "emf";
        QTest::newRow("emf as wmf") << fixture(QStringLiteral("chart.emf")) << "wmf";
        QTest::newRow("wmf as emf") << fixture(QStringLiteral("chart.wmf")) << "emf";
        QTest::newRow("other format") << fixture(QStringLiteral("chart.wmf")) << "png";
        QTest::newRow("emf header cut") << fixture(QStringLiteral("chart.emf")).left(60) << "emf";
    }
    void refusesWhatIsNoMetafile() {
        QFETCH(QByteArray, data);
        QFETCH(QString, format);
        QVERIFY(!replayMetafile(data, format));
    }

    // Truncated and damaged files play what they can without reading outside their data (the
    // sanitizer build and the fuzz target check the reads themselves).
    void survivesDamagedFiles() {
        for (const char* name : {"drawing.wmf", "drawing.emf", "chart.wmf", "chart.emf"}) {
            const QByteArray data = fixture(QLatin1String(name));
            const QString format = QLatin1String(name).right(3);
            for (qsizetype cut = 0; cut < data.size(); cut += 97) {
                const auto metafile = replayMetafile(data.left(cut), format);
                if (metafile) render(*metafile);
            }
            QRandomGenerator random(42);
            for (int round = 0; round < 40; ++round) {
                QByteArray damaged = data;
                for (int i = 0; i < 8; ++i) damaged[random.bounded(qsizetype(40), damaged.size())] = char(random.bounded(256));
                if (const auto metafile = replayMetafile(damaged, format)) render(*metafile);
            }
        }
        // A header claiming a huge object table and a record as long as the file claims to be.
        QByteArray wmf = fixture(QStringLiteral("chart.wmf"));
        wmf[22 + 10] = char(0xFF);
        wmf[22 + 11] = char(0xFF);
        wmf[22 + 18] = char(0xFF);
        wmf[22 + 19] = char(0xFF);
        wmf[22 + 20] = char(0xFF);
        wmf[22 + 21] = char(0x7F);
        QVERIFY(replayMetafile(wmf, QStringLiteral("wmf")));
    }
};

QX_REGISTER_TEST(TestMetafile)
#include "tst_metafile.moc"
