// The preview control's layout numbers, scrolling, hit test, hint and page printing, on pages that
// the test draws itself.
#include "printing/QxPrvwDoc.h"
#include "printing/QxPrvwRender.h"
#include "tests/support/testregistry.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

namespace {

// Gives the control a client area of exactly w x h pixels.
void setClientSize(TQxPreviewControl& control, int w, int h) {
    control.show();
    for (int i = 0; i < 3 && control.viewport()->size() != QSize(w, h); ++i) {
        control.resize(QSize(w, h) + (control.size() - control.viewport()->size()));
        QCoreApplication::processEvents();
    }
}

// Pages filled with a colour that tells them apart: red = 10 x index.
void addPages(TQxPreviewControl& control, int count) {
    control.OnAddPage = [count](QObject*, int index, QPainter* canvas, QRect, QRect print, bool& more) {
        canvas->fillRect(print, QColor(10 * index, 0, 0));
        more = index + 1 < count;
    };
    control.Add();
    control.OnAddPage = nullptr;
}

// A print target that keeps each page as a small image.
class RecordingTarget : public IPreviewPrintTarget {
public:
    std::vector<QImage> pages;
    QPainter painter;
    bool printing = false;
    int abortAfter = -1;  // pages after which the job reports itself aborted

    void SetTitle(const QString&) override {}
    QString Title() override { return {}; }
    void BeginDoc() override {
        printing = true;
        begin();
    }
    void NewPage() override { begin(); }
    void EndDoc() override {
        painter.end();
        printing = false;
    }
    void Abort() override {}
    bool Aborted() override { return abortAfter >= 0 && int(pages.size()) >= abortAfter; }
    QPainter* Canvas() override { return &painter; }
    int PageWidth() override { return 100; }
    int PageHeight() override { return 100; }
    bool Printing() override { return printing; }
    // The page indexes in the order printed.
    QList<int> order() {
        if (painter.isActive()) painter.end();
        QList<int> out;
        for (const QImage& page : pages) out << qRed(page.pixel(5, 5)) / 10;
        return out;
    }

private:
    void begin() {
        if (painter.isActive()) painter.end();
        pages.emplace_back(100, 100, QImage::Format_RGB32);
        pages.back().fill(Qt::white);
        painter.begin(&pages.back());
    }
};

}  // namespace

class PreviewControlTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(TQxPreviewControl().logicalDpiX(), 96); }

    void defaultsAndStoredValues() {
        TQxPreviewControl control;
        TQxDeviceInfo& device = control.DeviceInfo();
        QCOMPARE(device.PhysicalWidth(), 2480u);
        QCOMPARE(device.PageHeight(), 3281u);
        QCOMPARE(device.InchToXPixels(0.5), 150);
        device.SetLogPixelsX(5);
        QCOMPARE(device.InchToXPixels(0.5), 2);  // 2.5: halves to even
        device.SetLogPixelsX(7);
        QCOMPARE(device.InchToXPixels(0.5), 4);  // 3.5
        control.Options().SetScaleMode(TQxPreviewScaleMode::smScale);  // a scale of its own
        control.Options().SetScale(0);
        QCOMPARE(control.Options().Scale(), 1u);
        control.Options().SetCols(0);
        QCOMPARE(control.Options().Cols(), 1u);
        control.Options().SetRows(0);
        QCOMPARE(control.Options().Rows(), 1u);  // reads at least 1
        control.Options().SetHorzSpacing(2);
        control.Options().Shadow().SetOffset(-4);
        QCOMPARE(control.Options().HorzSpacing(), 4u);
        control.Options().Shadow().SetOffset(0);
        QCOMPARE(control.Options().HorzSpacing(), 2u);
        TQxPreviewPrinter printer;
        printer.SetCopies(-3);
        QCOMPARE(printer.Copies(), 1);
        QCOMPARE(control.SelectedPage(), -1);
    }

    void noPages() {
        TQxPreviewControl control;
        setClientSize(control, 700, 500);
        QCOMPARE(control.PageCount(), 0);
        QCOMPARE(control.TotalRows(), 1);
        QVERIFY(!control.verticalScrollBar()->isEnabled());
        QVERIFY(control.verticalScrollBar()->isVisible());
        const QPoint middle(std::max(8, (700 - 8 - control.PagePixelWidth()) / 2) + control.PagePixelWidth() / 2,
                            std::max(8, (500 - 8 - control.PagePixelHeight()) / 2) + control.PagePixelHeight() / 2);
        QCOMPARE(control.PageAt(middle, false), 0);
        QCOMPARE(control.PageAt(middle, true), -1);
        QTest::mouseClick(control.viewport(), Qt::LeftButton, {}, middle);
        QCOMPARE(control.SelectedPage(), -1);
        // One blank sheet, white on the workspace colour.
        QImage shot(control.viewport()->size(), QImage::Format_RGB32);
        control.viewport()->render(&shot);
        QCOMPARE(shot.pixel(middle), QColor(Qt::white).rgb());
        QCOMPARE(shot.pixel(2, 2), control.palette().color(QPalette::Dark).rgb());
    }

    void pageWidthScale() {
        TQxPreviewControl control;
        control.Options().SetScaleMode(TQxPreviewScaleMode::smPageWidth);
        setClientSize(control, 620, 400);
        control.Change();
        // 2480 pixels at 300 dpi are 794 screen pixels at 100 %; the sheet gets 620 - 16 - T of them.
        const int available = 620 - 16 - control.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QCOMPARE(int(control.Options().Scale()), qRound(available * 100.0 / 794));
        QCOMPARE(control.ScaleForSize(0, 587), 74);
        QCOMPARE(control.IsPageMode(), false);
    }

    void fullPageWithFivePages() {
        TQxPreviewControl control;
        setClientSize(control, 600, 500);
        addPages(control, 5);
        QCOMPARE(control.VisibleCols(), 1);
        QCOMPARE(control.VisibleRows(), 1);
        QCOMPARE(control.TotalRows(), 5);
        QVERIFY(control.PagePixelHeight() + 16 <= 500);
        const int row = 8 + control.PagePixelHeight();
        control.Next();
        QCOMPARE(control.TopRow(), 1);
        QCOMPARE(control.VertPos(), row);
        // Dragging the thumb snaps to whole sheets.
        control.VertScroll(QAbstractSlider::SliderMove, 2 * row + row / 2);
        QCOMPARE(control.VertPos(), 2 * row);
        control.Last();
        QCOMPARE(control.TopRow(), 4);
        control.First();
        QCOMPARE(control.VertPos(), 0);
        // A click on a sheet selects it; on the gap beside it nothing changes.
        const QPoint origin((600 - control.PagePixelWidth()) / 2, (500 - control.PagePixelHeight()) / 2);
        QTest::mouseClick(control.viewport(), Qt::LeftButton, {}, origin + QPoint(5, 5));
        QCOMPARE(control.SelectedPage(), 0);
        control.Next();
        QTest::mouseClick(control.viewport(), Qt::LeftButton, {}, QPoint(20, 250));
        QCOMPARE(control.SelectedPage(), 0);
        QTest::mouseClick(control.viewport(), Qt::LeftButton, {}, origin + QPoint(5, 5));
        QCOMPARE(control.SelectedPage(), 1);
    }

    void autoScale() {
        TQxPreviewControl control;
        control.Options().SetScaleMode(TQxPreviewScaleMode::smAutoScale);
        setClientSize(control, 1200, 600);
        addPages(control, 3);
        control.Options().SetScale(30);
        QCOMPARE(control.VisibleCols(), 3);
        QCOMPARE(control.VisibleRows(), 1);
        QCOMPARE(control.Options().Scale(), 30u);
        QCOMPARE(control.Options().Cols(), 3u);
        // Wider than a sheet, narrower than a sheet and its spacing: one sheet at the full-page scale.
        setClientSize(control, control.PagePixelWidth() + 10, 600);
        QCOMPARE(control.VisibleCols(), 1);
        QCOMPARE(int(control.Options().Scale()), control.FullPageScale());
        QVERIFY(control.Options().Scale() != 30u);
        // Narrower than a sheet: one sheet at the scale it has.
        control.Options().SetScale(90);
        setClientSize(control, 300, 600);
        QCOMPARE(control.VisibleCols(), 1);
        QCOMPARE(control.Options().Scale(), 90u);
    }

    void colsRows() {
        TQxPreviewControl control;
        setClientSize(control, 600, 400);
        addPages(control, 3);
        control.Options().SetScaleMode(TQxPreviewScaleMode::smScale);
        control.Options().SetCols(2);
        control.Options().SetRows(2);
        control.Options().SetScale(100);  // one sheet does not fit
        control.Options().SetScaleMode(TQxPreviewScaleMode::smColsRows);
        // The first change took the full-page scale for one sheet and laid a 2 x 2 grid out at it.
        QCOMPARE(control.VisibleCols(), 2);
        QCOMPARE(control.VisibleRows(), 2);
        const int oneSheetScale = int(control.Options().Scale());
        QVERIFY(control.PagePixelHeight() + 16 <= 400);
        QVERIFY(2 * (control.PagePixelHeight() + 8) + 8 > 400);
        control.Change();
        QVERIFY(int(control.Options().Scale()) < oneSheetScale);
        QVERIFY(2 * (control.PagePixelHeight() + 8) + 8 <= 400);
        QCOMPARE(control.TotalRows(), 2);
    }

    void topRowOnePixelBelow() {
        TQxPreviewControl control;
        control.Options().SetScaleMode(TQxPreviewScaleMode::smPageWidth);
        setClientSize(control, 620, 400);
        addPages(control, 3);
        control.VertScroll(QAbstractSlider::SliderMove, 1);
        QCOMPARE(control.VertPos(), 1);
        QCOMPARE(control.TopRow(), 1);
        control.Next();
        QCOMPARE(control.TopRow(), 2);
        QCOMPARE(control.VertPos(), 2 * (8 + control.PagePixelHeight()));
    }

    void wheelAndHint() {
        TQxPreviewControl control;
        control.Options().SetScaleMode(TQxPreviewScaleMode::smPageWidth);
        setClientSize(control, 620, 400);
        addPages(control, 3);
        control.OnScrollHint = [&control](QObject*, int, QString& hint) { hint = QStringLiteral("Page %1").arg(control.TopRow() + 1); };
        QWheelEvent down(QPointF(100, 100), control.viewport()->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(control.viewport(), &down);
        QCOMPARE(control.VertPos(), (8 + control.PagePixelHeight()) / 3);
        QVERIFY(control.HintWindow() && control.HintWindow()->isVisible());
        QCOMPARE(control.HintWindow()->text(), QStringLiteral("Page 2"));
        QTRY_VERIFY_WITH_TIMEOUT(!control.HintWindow(), 2000);

        // All pages fit: the wheel does nothing.
        TQxPreviewControl fits;
        setClientSize(fits, 800, 600);
        addPages(fits, 1);
        QWheelEvent again(QPointF(100, 100), fits.viewport()->mapToGlobal(QPointF(100, 100)), {}, QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(fits.viewport(), &again);
        QCOMPARE(fits.VertPos(), 0);
        QVERIFY(!again.isAccepted());
    }

    void printPages_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("collate");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("3 to 1, 2 copies collated") << 3 << 1 << 2 << true << QList<int>{3, 2, 1, 3, 2, 1};
        QTest::newRow("3 to 1, 2 copies not collated") << 3 << 1 << 2 << false << QList<int>{3, 3, 2, 2, 1, 1};
        QTest::newRow("past the end clamps to the last page") << 1 << 100 << 1 << false << QList<int>{1, 2, 3};
        QTest::newRow("copies below 1 print once") << 0 << 0 << -3 << false << QList<int>{0};
    }
    void printPages() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, copies);
        QFETCH(bool, collate);
        QFETCH(QList<int>, order);
        TQxPreviewControl control;
        addPages(control, 4);
        RecordingTarget target;
        control.PrintPages(&target, start, end, copies, collate);
        QCOMPARE(target.order(), order);
        QVERIFY(!target.printing);
    }

    void printPagesStopsWhenAborted() {
        TQxPreviewControl control;
        addPages(control, 4);
        RecordingTarget target;
        target.abortAfter = 2;
        control.PrintPages(&target, 0, 3, 1, false);
        QCOMPARE(target.order(), QList<int>({0, 1}));
        QVERIFY(!target.printing);
        TQxPreviewControl empty;
        RecordingTarget none;
        empty.PrintPages(&none, 0, 3, 1, false);
        QVERIFY(none.pages.empty());
    }

    void controlRendererFitsTheControl() {
        TQxPreviewRenderControl renderer;
        QCOMPARE(renderer.DestinationRect(400, 100, QRect(0, 0, 2480, 3507)), QRect(0, 1443, 2480, 620));
        renderer.Stretch = false;
        renderer.Proportional = false;
        QCOMPARE(renderer.DestinationRect(400, 100, QRect(10, 20, 2480, 3507)), QRect(10 + 1040, 20 + 1703, 400, 100));
        renderer.Center = false;
        QCOMPARE(renderer.DestinationRect(400, 100, QRect(10, 20, 2480, 3507)), QRect(10, 20, 400, 100));
    }
};

QX_REGISTER_TEST(PreviewControlTest)
#include "tst_previewcontrol.moc"
