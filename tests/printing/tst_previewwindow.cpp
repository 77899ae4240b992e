// The print-preview window on the PDF printer: the pages it builds, its status and hint texts, its
// print dialog, the printed pages against the main window's, and its geometry file.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/errors.h"
#include "platform/printer/printer.h"
#include "platform/profile/profilefile.h"
#include "printing/MainFrm.h"
#include "printing/QxPrvwDoc.h"
#include "tests/printing/pdfcheck.h"
#include "tests/printing/printfixture.h"
#include "tests/support/files.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QScrollBar>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTimer>

#include <unistd.h>

using printfixture::fillLines;

namespace {

QString pageLabel(int n) {
    return QStringLiteral("L%1").arg(n, 4, 10, QChar('0'));
}

}  // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { platform::printer().InstallPrinterList(QStringList(), true); }

    void threePages() {
        Fixture f(3);
        TQxPreviewControl& pd = *f.preview.pd;
        QCOMPARE(pd.PageCount(), 3);
        QCOMPARE(f.preview.StatusPanels[0]->text(), QStringLiteral("3 pages"));
        QCOMPARE(pd.Options().ScaleMode(), TQxPreviewScaleMode::smPageWidth);
        QCOMPARE(f.preview.cbScaleMode->currentText(), QStringLiteral("Page Width"));
        QCOMPARE(f.preview.cbPreview->currentText(), QStringLiteral("Printer"));
        // The PDF printer: 600 dpi, a sixth of an inch unprintable; the offsets grow to half an inch.
        QCOMPARE(pd.DeviceInfo().LogPixelsX(), 600u);
        QCOMPARE(pd.DeviceInfo().OffsetLeft(), 300u);
        QCOMPARE(pd.DeviceInfo().OffsetBottom(), 300u);

        f.preview.Last1->trigger();  // Ctrl+End
        QCOMPARE(pd.TopRow(), 2);
        QCOMPARE(pd.VertPos(), 2 * (8 + pd.PagePixelHeight()));
        f.preview.Previous1->trigger();
        QCOMPARE(pd.TopRow(), 1);
        f.preview.First1->trigger();
        QCOMPARE(pd.TopRow(), 0);
        QCOMPARE(f.preview.Last1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_End));
        QCOMPARE(f.preview.Print1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(f.preview.Printer1->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
        QVERIFY(f.preview.pnlBottom->isHidden());

        QString hint;
        pd.VertScroll(QAbstractSlider::SliderMove, 1);
        f.preview.PreviewScrollHint(0, hint);
        QCOMPARE(hint, QStringLiteral("Page 2"));

        // The Preview submenu: the window, then its controls.
        const QList<QAction*> entries = f.preview.mnuPreview->actions();
        QCOMPARE(entries.first()->text(), QStringLiteral("frmMain"));
        QVERIFY(std::any_of(entries.begin(), entries.end(), [](QAction* a) { return a->text() == QLatin1String("pd"); }));
        f.preview.Control1Click(f.preview.StatusBar1);
        QCOMPARE(pd.PageCount(), 1);
        QCOMPARE(f.preview.StatusPanels[0]->text(), QStringLiteral("1 pages"));
    }

    // What the preview prints is what the main window prints: the same pages, starting at the same text.
    void previewAndMainPrintAgree() {
        Fixture f(0);
        fillLines(*f.form.editor, 250);
        const QString direct = f.folder.file(QStringLiteral("direct.pdf"));
        f.dialogs->answerSave(direct, 1);
        f.form.tiskClick();

        TfrmMain preview(f.form.editor, &f.form);
        preview.FormCreate();
        const QString previewed = f.folder.file(QStringLiteral("preview.pdf"));
        f.dialogs->answerPrint();
        f.dialogs->answerSave(previewed, 1);
        preview.Print1Click();
        const platform::PrintDialogState& shown = f.dialogs->lastPrintShown();
        QCOMPARE(shown.range, platform::PrintRange::AllPages);
        QCOMPARE(shown.fromPage, 1);
        QCOMPARE(shown.toPage, preview.pd->PageCount());
        QVERIFY(shown.allowPageNums);

        const QStringList starts = pdfcheck::pageStarts(direct);
        QVERIFY(starts.size() > 2);
        QCOMPARE(preview.pd->PageCount(), starts.size());
        QCOMPARE(pdfcheck::pageStarts(previewed), starts);
        QCOMPARE(pdfcheck::pageText(previewed, 2), pdfcheck::pageText(direct, 2));
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    void printDialogChoices_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QList<int>>("pages");
        QTest::newRow("page 2 only") << 2 << 2 << 1 << false << QList<int>{2};
        QTest::newRow("2 copies, not collated") << 1 << 3 << 2 << false << QList<int>{1, 1, 2, 2, 3, 3};
        QTest::newRow("2 copies, collated") << 2 << 3 << 2 << true << QList<int>{2, 3, 2, 3};
    }
    void printDialogChoices() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(QList<int>, pages);
        Fixture f(3);
        QStringList firstLines;
        for (int page = 0; page < 3; ++page) firstLines << pageLabel(page * f.perPage + 1);
        f.dialogs->answerPrint([=](platform::PrintDialogState& s) {
            s.range = platform::PrintRange::PageNums;
            s.fromPage = from;
            s.toPage = to;
            s.copies = copies;
            s.collate = collate;
        });
        f.dialogs->answerSave(f.pdf, 1);
        f.preview.Print1Click();
        QStringList expected;
        for (int page : pages) expected << firstLines.at(page - 1);
        QCOMPARE(pdfcheck::pageStarts(f.pdf), expected);
        QCOMPARE(platform::printer().Copies(), 1);  // the device does not multiply them again
    }

    void longDocumentPageFields() {
        Fixture f(0);
        TQxPreviewControl& pd = *f.preview.pd;
        pd.OnAddPage = [](QObject*, int index, QPainter*, QRect, QRect, bool& more) { more = index < 119; };
        pd.Add();
        f.dialogs->cancelPrint();
        f.preview.Print1Click();
        QCOMPARE(f.dialogs->lastPrintShown().toPage, 120);
        QVERIFY(f.dialogs->lastPrintShown().maxPage >= 120);
    }

    void emptyDocument() {
        Fixture f(0);
        QCOMPARE(f.preview.pd->PageCount(), 0);
        QCOMPARE(f.preview.StatusPanels[0]->text(), QStringLiteral("0 pages"));
        f.dialogs->answerPrint();
        f.preview.Print1Click();
        QVERIFY(!f.dialogs->lastPrintShown().allowPageNums);
        QVERIFY(!QFile::exists(f.pdf));
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    void withoutPrinter() {
        Fixture f(2, Printers::None);
        QCOMPARE(f.createError, QStringLiteral("There is no default printer currently selected"));
        QCOMPARE(f.preview.pd->PageCount(), 0);
        QCOMPARE(f.preview.StatusPanels[0]->text(), QStringLiteral("0 pages"));
        QCOMPARE(f.preview.pd->DeviceInfo().PhysicalWidth(), 2480u);
        QVERIFY_THROWS_EXCEPTION(platform::EPrinter, f.preview.Print1Click());
        QVERIFY_THROWS_EXCEPTION(platform::EPrinter, f.preview.Printer1Click());
    }

    void printerSetupRebuildsPages() {
        Fixture f(3);
        const int portraitPages = f.preview.pd->PageCount();
        f.dialogs->answerPrinterSetup([](platform::PrinterSetup& s) { s.orientation = QPageLayout::Landscape; });
        f.preview.Printer1Click();
        QVERIFY(f.preview.pd->PageCount() > portraitPages);
        QVERIFY(f.preview.pd->DeviceInfo().PhysicalWidth() > f.preview.pd->DeviceInfo().PhysicalHeight());
        f.dialogs->cancelPrinterSetup();
        f.preview.Printer1Click();  // rebuilt on cancel too, from the unchanged printer
        QVERIFY(f.preview.pd->PageCount() > portraitPages);
    }

    void geometry() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TQxRichEdit editor;
        {
            TfrmMain preview(&editor, nullptr);
            preview.FormActivate();
            QCOMPARE(preview.size(), QSize(969, 623));
            QCOMPARE(preview.pos(), QPoint(100, 100));
            QCOMPARE(preview.minimumSize(), QSize(620, 400));
            QCOMPARE(preview.windowTitle(), QStringLiteral("Náhled před tiskem"));
            preview.resize(700, 500);
            preview.move(40, 30);
            preview.reject();
        }
        const platform::ProfileFile profile(folder.file(QStringLiteral("config/prev.cfg")));
        QCOMPARE(profile.readInteger(QStringLiteral("velikost"), QStringLiteral("vyskaformu"), 0), 500);
        QCOMPARE(profile.readInteger(QStringLiteral("velikost"), QStringLiteral("sirkaformu"), 0), 700);
        QCOMPARE(profile.readInteger(QStringLiteral("nastaveni na plose"), QStringLiteral("bod1"), 0), 30);
        QCOMPARE(profile.readInteger(QStringLiteral("nastaveni na plose"), QStringLiteral("bod2"), 0), 40);
        TfrmMain next(&editor, nullptr);
        next.FormActivate();
        QCOMPARE(next.size(), QSize(700, 500));
        next.reject();

        // A folder that cannot be written: the message, and the window still closes.
        if (geteuid() == 0) QSKIP("root writes into read-only folders");
        QFile::setPermissions(folder.file(QStringLiteral("config")), QFile::ReadOwner | QFile::ExeOwner);
        TfrmMain readOnly(&editor, nullptr);
        readOnly.show();
        dialogs->expectMessage();
        readOnly.reject();
        QFile::setPermissions(folder.file(QStringLiteral("config")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(readOnly.isHidden());
        QCOMPARE(dialogs->messages(), QStringList({QStringLiteral("Nelze uložit konfiguraci")}));
    }

    // The main window's command opens a fresh modal window each time.
    void openedFromTheMainWindow() {
        Fixture f(1);
        int opened = 0;
        for (int run = 0; run < 2; ++run) {
            QTimer::singleShot(0, [&] {
                auto* preview = qobject_cast<TfrmMain*>(QApplication::activeModalWidget());
                if (!preview) return;
                ++opened;
                QCOMPARE(preview, f.form.frmMain);
                QCOMPARE(preview->pd->PageCount(), 1);
                preview->reject();
            });
            f.form.nahl->click();
        }
        QCOMPARE(opened, 2);
        QVERIFY(!f.form.frmMain);
    }

    // Without a printer the error takes the unexpected-error path and the window still opens, empty.
    void openedWithoutPrinter() {
        Fixture f(1);
        platform::printer().InstallPrinterList(QStringList(), false);
        f.dialogs->expectMessage();  // the unexpected-error message
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* preview = qobject_cast<TfrmMain*>(QApplication::activeModalWidget());
            if (!preview) return;
            shown = true;
            QCOMPARE(preview->pd->PageCount(), 0);
            QCOMPARE(preview->StatusPanels[0]->text(), QStringLiteral("0 pages"));
            preview->reject();
        });
        f.form.NhledPedTiskem1->trigger();
        QVERIFY(shown);
        QVERIFY(qxtest::readFile(f.folder.file(QStringLiteral("error.log")))
                    .contains("EPrinter - There is no default printer currently selected"));
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

private:
    enum class Printers { Pdf, None };
    struct Fixture {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        QString pdf = folder.file(QStringLiteral("nahled.pdf"));
        int perPage = 0;
        TfrmMain preview;
        QString createError;
        // A main window with `pages` full pages of numbered lines, and a preview window of it.
        explicit Fixture(int pages, Printers printers = Printers::Pdf) : preview(form.editor, &form) {
            form.FormCreate({});
            if (pages > 0) {
                fillLines(*form.editor, 200);
                perPage = printfixture::linesPerPage(*form.editor);
                fillLines(*form.editor, pages * perPage);
            }
            if (printers == Printers::None) platform::printer().InstallPrinterList(QStringList(), false);
            try {
                preview.FormCreate();
            } catch (const platform::Error& error) {
                createError = error.message();
            }
        }
    };
};

QX_REGISTER_TEST(PreviewWindowTest)
#include "tst_previewwindow.moc"
