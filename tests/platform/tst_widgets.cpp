// The toolbar widgets: the colour button with its palette, the font name box and the size box.

#include "platform/widgets/colorbutton.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/sizebox.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using platform::ColorButton;
using platform::ColorPalette;
using platform::ColorValue;

namespace {

// Runs `act` while the button's palette is dropped down (dropping it down waits until it closes).
void withDropDown(ColorButton& button, const std::function<void(ColorPalette&)>& act) {
    bool acted = false;
    QTimer::singleShot(0, &button, [&] {
        act(*button.dropDownPalette());
        acted = true;
        // Whatever `act` did, the drop-down must not stay open and block the test.
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    button.showDropDown();
    QVERIFY(acted);
}

QToolButton* paletteButton(ColorPalette& palette, const QString& name) {
    auto* button = palette.findChild<QToolButton*>(name);
    if (!button) qFatal("no palette button %s", qPrintable(name));
    return button;
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private slots:
    // Each choice in the drop-down becomes the selected colour, raises one change and closes the palette.
    void paletteChoices_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<quint32>("color");
        QTest::newRow("automatic") << QStringLiteral("automatic") << quint32(platform::clDefault);
        QTest::newRow("first swatch, black") << QStringLiteral("swatch0") << quint32(0x00000000);
        QTest::newRow("second swatch") << QStringLiteral("swatch1") << quint32(0x00003399);
        QTest::newRow("second row starts dark red") << QStringLiteral("swatch8") << quint32(0x00000080);
        QTest::newRow("red") << QStringLiteral("swatch16") << quint32(0x000000FF);
        QTest::newRow("silver ends the fourth row") << QStringLiteral("swatch31") << quint32(0x00C0C0C0);
        QTest::newRow("last swatch, white") << QStringLiteral("swatch39") << quint32(0x00FFFFFF);
    }
    void paletteChoices() {
        QFETCH(QString, button);
        QFETCH(quint32, color);
        ColorButton colorButton;
        colorButton.setSelectedColor(0x00123456);
        colorButton.show();
        QSignalSpy changes(&colorButton, &ColorButton::colorChanged);
        bool openWhileChoosing = false;
        withDropDown(colorButton, [&](ColorPalette& palette) {
            openWhileChoosing = palette.isVisible();
            paletteButton(palette, button)->click();
            QVERIFY(!palette.isVisible());
        });
        QVERIFY(openWhileChoosing);
        QCOMPARE(colorButton.selectedColor(), color);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.first().first().value<ColorValue>(), color);
    }

    // A change is raised only when the colour really changes, whether the program or the user sets it.
    void sameColourRaisesNoChange() {
        ColorButton button;
        button.show();
        QSignalSpy changes(&button, &ColorButton::colorChanged);
        button.setSelectedColor(0x000000FF);
        button.setSelectedColor(0x000000FF);
        QCOMPARE(changes.size(), 1);
        withDropDown(button, [](ColorPalette& palette) { paletteButton(palette, QStringLiteral("swatch16"))->click(); });
        QCOMPARE(changes.size(), 1);
        button.setSelectedColor(platform::clBlack);
        QCOMPARE(changes.size(), 2);
    }

    // "Ostatní Barvy..." opens the colour dialog from the current colour; a cancel changes nothing.
    void moreColoursUseTheColourDialog() {
        qxtest::ScopedDialogs dialogs;
        ColorButton button;
        button.setSelectedColor(0x00336699);
        button.show();
        QSignalSpy changes(&button, &ColorButton::colorChanged);
        dialogs->answerColor(QColor(0x12, 0x34, 0x56));
        withDropDown(button, [](ColorPalette& palette) { paletteButton(palette, QStringLiteral("moreColors"))->click(); });
        QCOMPARE(dialogs->lastColorInitial(), QColor(0x99, 0x66, 0x33));
        QCOMPARE(button.selectedColor(), ColorValue(0x00563412));
        QCOMPARE(changes.size(), 1);

        dialogs->cancelColorDialog();
        withDropDown(button, [](ColorPalette& palette) { paletteButton(palette, QStringLiteral("moreColors"))->click(); });
        QCOMPARE(dialogs->lastColorInitial(), QColor(0x12, 0x34, 0x56));
        QCOMPARE(button.selectedColor(), ColorValue(0x00563412));
        QCOMPARE(changes.size(), 1);
        QVERIFY(dialogs->unexpected().isEmpty());
    }

    // Dragging the drop-down's drag bar tears the palette off into a window that stays on top and
    // keeps serving the button.
    void dragBarTearsThePaletteOff() {
        ColorButton button;
        button.show();
        QVERIFY(!button.floatingPalette());
        withDropDown(button, [](ColorPalette& palette) {
            auto* bar = palette.findChild<QWidget*>(QStringLiteral("dragBar"));
            QVERIFY(bar);
            QCOMPARE(bar->toolTip(), QStringLiteral("Drag to floating"));
            QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 4));
            QTest::mouseMove(bar, QPoint(60, 30));
        });
        ColorPalette* floating = button.floatingPalette();
        QVERIFY(floating);
        QVERIFY(floating->isVisible());
        QVERIFY(floating->isWindow());
        QVERIFY(floating->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!button.dropDownPalette()->isVisible());

        // The drag goes on moving the torn-off palette until the button is let go.
        auto* floatingBar = floating->findChild<QWidget*>(QStringLiteral("dragBar"));
        const QPoint torn = floating->pos();
        QTest::mouseMove(floatingBar, QPoint(80, 50));
        QTest::mouseRelease(floatingBar, Qt::LeftButton, {}, QPoint(80, 50));
        QCoreApplication::processEvents();
        const QPoint moved = floating->pos();
        QVERIFY((moved - torn).manhattanLength() > 50);
        QTest::mouseMove(floatingBar, QPoint(10, 10));
        QCOMPARE(floating->pos(), moved);

        QSignalSpy changes(&button, &ColorButton::colorChanged);
        paletteButton(*floating, QStringLiteral("swatch13"))->click();
        QCOMPARE(button.selectedColor(), ColorValue(0x00FF0000));
        QCOMPARE(changes.size(), 1);
        QVERIFY(floating->isVisible());  // a floating palette stays for the next choice
    }

    // The box lists installed fonts without free text; setting a face from the program raises no change.
    void fontBoxSelectsFromTheProgram() {
        platform::FontNameBox box;
        QVERIFY(box.count() > 0);
        QVERIFY(!box.isEditable());
        QSignalSpy changes(&box, &platform::FontNameBox::faceChanged);
        const QString family = box.itemText(box.count() - 1);
        box.setFaceName(family.toUpper());
        QCOMPARE(box.faceName(), family);

        box.setFaceName(QStringLiteral("Písmo, které nikde není"));
        QCOMPARE(box.currentIndex(), -1);
        QVERIFY(box.faceName().isEmpty());

        // A name that is not installed goes through the substitution table.
        const QString alias = QStringLiteral("Quillex Zkušební Písmo");
        QFont::insertSubstitution(alias, family);
        box.setFaceName(alias);
        QFont::removeSubstitutions(alias);
        QCOMPARE(box.faceName(), family);
        QCOMPARE(changes.size(), 0);
    }

    void fontBoxReportsTheUsersChoice() {
        platform::FontNameBox box;
        if (box.count() < 2) QSKIP("needs two installed font families");
        box.setFaceName(box.itemText(0));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QSignalSpy changes(&box, &platform::FontNameBox::faceChanged);
        QTest::keyClick(&box, Qt::Key_Down);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.first().first().toString(), box.itemText(1));
        QCOMPARE(box.faceName(), box.itemText(1));
    }

    // Twenty sizes, 74 and not 72; typed text is reported key by key and never joins the list.
    void sizeBoxKeys() {
        platform::SizeBox box;
        QCOMPARE(box.count(), 20);
        QCOMPARE(box.itemText(0), QStringLiteral("8"));
        QCOMPARE(box.itemText(19), QStringLiteral("74"));
        QCOMPARE(box.findText(QStringLiteral("72")), -1);
        QCOMPARE(box.maxVisibleItems(), 10);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.lineEdit()->clear();
        QSignalSpy keys(&box, &platform::SizeBox::characterKey);
        QTest::keyClicks(&box, QStringLiteral("13"));
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(keys.size(), 3);
        QCOMPARE(keys.at(2).first().value<QChar>(), QLatin1Char('\r'));
        QCOMPARE(box.currentText(), QStringLiteral("13"));
        QCOMPARE(box.count(), 20);
        QTest::keyClicks(&box, QStringLiteral("x"));
        QCOMPARE(box.currentText(), QStringLiteral("13x"));  // not completed, not refused
    }
};

QX_REGISTER_TEST(WidgetsTest)
#include "tst_widgets.moc"
