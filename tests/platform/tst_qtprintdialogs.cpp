// The real printing dialogs: Qt's print and page-setup dialogs shown preset from the program's
// values, and the user's choices read back.
#include "platform/dialogs/qtdialogs.h"

#include "tests/support/testregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `act` on the first shown dialog of type T as soon as there is one.
template <typename T>
void whenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<T*>(w); dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(dialog);
                return;
            }
        }
    });
    timer->start();
}

platform::PrinterSetup pdfPrinter() {
    platform::PrinterSetup setup;
    setup.printers = {platform::pdfPrinterName()};
    setup.printerIndex = 0;
    return setup;
}

}  // namespace

class QtPrintDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void printDialogShowsAndReturnsTheRange() {
        platform::QtDialogs dialogs;
        platform::PrintDialogState state;
        state.printer = pdfPrinter();
        state.fromPage = 1;
        state.toPage = 3;
        state.range = platform::PrintRange::PageNums;
        state.copies = 2;
        bool checked = false;
        whenShown<QPrintDialog>([&](QPrintDialog* dialog) {
            checked = dialog->fromPage() == 1 && dialog->toPage() == 3 &&
                      dialog->printRange() == QAbstractPrintDialog::PageRange &&
                      dialog->testOption(QAbstractPrintDialog::PrintSelection) &&
                      dialog->testOption(QAbstractPrintDialog::PrintPageRange);
            dialog->accept();
        });
        QVERIFY(dialogs.print(nullptr, state));
        QVERIFY(checked);
        QCOMPARE(state.range, platform::PrintRange::PageNums);
        QCOMPARE(state.fromPage, 1);
        QCOMPARE(state.toPage, 3);
        QVERIFY(state.printToFile);
        QCOMPARE(state.printer.printerIndex, 0);

        whenShown<QPrintDialog>([](QPrintDialog* dialog) { dialog->reject(); });
        platform::PrintDialogState before = state;
        QVERIFY(!dialogs.print(nullptr, state));
        QCOMPARE(state.fromPage, before.fromPage);
    }

    // The PDF printer is no system printer: its page setup is the program's own dialog.
    void pdfPrinterPageSetup() {
        platform::QtDialogs dialogs;
        platform::PageSetupState state;
        state.printer = pdfPrinter();
        state.units = platform::MeasureUnits::HundredthsOfMillimetre;
        bool preset = false;
        whenShown<QDialog>([&](QDialog* dialog) {
            auto* left = dialog->findChild<QDoubleSpinBox*>(QStringLiteral("left margin"));
            auto* paper = dialog->findChild<QComboBox*>(QStringLiteral("paper"));
            preset = left && left->value() == 25.0 && paper && paper->currentText() == QStringLiteral("A4");
            left->setValue(10);
            auto* orientation = dialog->findChild<QComboBox*>(QStringLiteral("orientation"));
            orientation->setCurrentIndex(1);
            dialog->accept();
        });
        QVERIFY(dialogs.pageSetup(nullptr, state));
        QVERIFY(preset);
        QCOMPARE(state.printer.orientation, QPageLayout::Landscape);
        QCOMPARE(state.marginLeft, 1000);
        QCOMPARE(state.marginTop, 2500);
        QCOMPARE(state.pageWidth, 29700);
        QCOMPARE(state.pageHeight, 21000);
    }
};

QX_REGISTER_TEST(QtPrintDialogsTest)
#include "tst_qtprintdialogs.moc"
