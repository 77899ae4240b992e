// Colour values resolved through a palette whose every role has its own colour, so that a wrong
// role shows.

#include "platform/colorvalue.h"
#include "tests/support/testregistry.h"

#include <QTest>

using namespace platform;

namespace {

QPalette distinctPalette() {
    QPalette p;
    int n = 1;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole) continue;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::ColorRole(role), QColor(n * 7 % 256, n * 13 % 256, n * 29 % 256));
            ++n;
        }
    }
    return p;
}

}  // namespace

class TestColorValue : public QObject {
    Q_OBJECT
private slots:
    void systemColorsFollowThePalette_data() {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<int>("role");
        QTest::newRow("window") << quint32(clWindow) << int(QPalette::Base);
        QTest::newRow("window text") << quint32(clWindowText) << int(QPalette::Text);
        QTest::newRow("caption text") << quint32(clCaptionText) << int(QPalette::HighlightedText);
        QTest::newRow("application workspace") << quint32(clAppWorkSpace) << int(QPalette::Dark);
        QTest::newRow("button face") << quint32(clBtnFace) << int(QPalette::Button);
        QTest::newRow("button shadow") << quint32(clBtnShadow) << int(QPalette::Dark);
        QTest::newRow("button highlight") << quint32(clBtnHighlight) << int(QPalette::Light);
        QTest::newRow("tooltip background") << quint32(clInfoBk) << int(QPalette::ToolTipBase);
        QTest::newRow("tooltip text") << quint32(clInfoText) << int(QPalette::ToolTipText);
        QTest::newRow("highlight") << quint32(clHighlight) << int(QPalette::Highlight);
    }
    void systemColorsFollowThePalette() {
        QFETCH(quint32, value);
        QFETCH(int, role);
        const QPalette palette = distinctPalette();
        QCOMPARE(resolveColor(value, palette), palette.color(QPalette::ColorRole(role)));
    }

    void explicitAndSpecialValues() {
        const QPalette palette = distinctPalette();
        QCOMPARE(resolveColor(0x00336699u, palette), QColor(0x99, 0x66, 0x33));  // 0x00BBGGRR
        QVERIFY(!resolveColor(clDefault, palette).isValid());                    // automatic
        QCOMPARE(resolveColor(clDefault, clWindow, palette), palette.color(QPalette::Base));
        QCOMPARE(resolveColor(clDefault, clWindowText, palette), palette.color(QPalette::Text));
        QCOMPARE(resolveColor(0xFF0000FFu, palette), QColor(0, 0, 0));  // no such system colour
        QCOMPARE(resolveColor(0xFF000019u, palette), QColor(0, 0, 0));  // index 25 is unused
    }

    void fromColorIsExplicit() {
        QCOMPARE(colorValueFromColor(QColor(0x12, 0x34, 0x56)), ColorValue(0x00563412));
        QCOMPARE(colorValueFromColor(QColor(0x12, 0x34, 0x56, 0x80)), ColorValue(0x00563412));  // alpha dropped
        QCOMPARE(colorValueFromColor(QColor()), clDefault);
        QCOMPARE(colorValueFromColor(resolveColor(0x00ABCDEFu)), ColorValue(0x00ABCDEF));
        QCOMPARE(rgbOf(clDefault, clWindow), rgbOf(clWindow));
    }
};

QX_REGISTER_TEST(TestColorValue)
#include "tst_colorvalue.moc"
