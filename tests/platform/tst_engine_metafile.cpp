// Metafile pictures in the engine: an RTF \wmetafile8 picture is drawn as its drawing on screen and
// on a printed page, and saving writes its bytes back unchanged.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace richedit;
using namespace enginetest;
using enginetest::makeEngine;

namespace {

// The LibreOffice drawing as Word writes a WMF into RTF: without its placeable header, as hex.
QByteArray plainWmf() {
    QFile file(QStringLiteral(QX_TEST_DATA_DIR "/metafile/drawing.wmf"));
    if (!file.open(QIODevice::ReadOnly)) qFatal("missing drawing.wmf");
    return file.readAll().mid(22);
}

QByteArray rtfWithPicture(const QByteArray& wmf) {
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Obr\\'e1zek: {\\pict\\wmetafile8\\picw7450\\pich5450"
           "\\picwgoal4224\\pichgoal3090\n" + wmf.toHex() + "}\\par}";
}

QByteArray saved(Engine& engine) {
    QByteArray out;
    EDITSTREAM writer = streamInto(out);
    engine.streamOut(SF_RTF, writer);
    return out;
}

int pixelsLike(const QImage& image, QColor color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) < 40 && std::abs(c.green() - color.green()) < 40
                && std::abs(c.blue() - color.blue()) < 40)
                ++count;
        }
    return count;
}

// The drawing's red rectangle, blue ellipse and the bitmap's green half, in proportion to the
// picture's displayed area (the red rectangle covers about a tenth of it).
void verifyDrawing(const QImage& shot, double pictureArea) {
    QVERIFY(pixelsLike(shot, QColor(255, 0, 0)) > pictureArea * 0.07);
    QVERIFY(pixelsLike(shot, QColor(0, 0, 255)) > pictureArea * 0.07);
    QVERIFY(pixelsLike(shot, QColor(0, 200, 0)) > pictureArea * 0.005);
}

}  // namespace

class EngineMetafileTest : public QObject {
    Q_OBJECT
private slots:
    void drawsMetafileOnScreenAndPage() {
        auto e = engineWithRtf(rtfWithPicture(plainWmf()));
        QCOMPARE(e->getTextRange(0, -1).left(9), QStringLiteral("Obrázek: "));
        e->setSel(0, 0);
        // 4224 x 3090 twips shown at 96 dpi
        verifyDrawing(e->viewport()->grab().toImage(), 281.6 * 206);

        QImage page(850, 1100, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(qRound(100 / 0.0254));
        page.setDotsPerMeterY(qRound(100 / 0.0254));
        QPainter painter(&page);
        formatPage(*e, painter, &page, {0, 0, 1440 * 8, 1440 * 10});
        painter.end();
        verifyDrawing(page, 293.3 * 214.6);
    }

    void savingKeepsTheMetafile() {
        const QByteArray wmf = plainWmf();
        auto e = engineWithRtf(rtfWithPicture(wmf));
        QByteArray out = saved(*e);
        QVERIFY(out.contains("\\wmetafile8"));
        QByteArray hex = out;
        hex.replace('\r', "").replace('\n', "");
        QVERIFY(hex.toLower().contains(wmf.toHex()));
        auto again = engineWithRtf(out);
        again->setSel(0, 0);
        verifyDrawing(again->viewport()->grab().toImage(), 281.6 * 206);
    }

    // A metafile the player refuses keeps its place as an empty frame, without the drawing.
    void unplayableMetafileKeepsItsPlace() {
        auto e = engineWithRtf(rtfWithPicture(QByteArray(40, '\x07')));
        e->setSel(0, 0);
        QCOMPARE(e->getTextLength(), 10);
        QCOMPARE(pixelsLike(e->viewport()->grab().toImage(), QColor(255, 0, 0)), 0);
    }
};

QX_REGISTER_TEST(EngineMetafileTest)
#include "tst_engine_metafile.moc"
