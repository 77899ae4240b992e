// The ruler control: what it paints, which property values it refuses, and its handle and margin drags.
#include "ruler/QxRuler.h"
#include "ruler/guideline.h"
#include "tests/ruler/rulerfixture.h"
#include "tests/support/testregistry.h"

#include <QPainter>

using namespace qxtest;
using TI = TIndentID;

namespace {

bool inked(const QImage& image, int x, int y, const QColor& background) { return image.pixelColor(x, y) != background; }

// Whether any pixel of the rectangle differs from the background.
bool anyInk(const QImage& image, const QRect& rect, const QColor& background) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (inked(image, x, y, background)) return true;
    return false;
}

// The column's rows from `top` to `bottom` that carry ink.
QList<int> inkedRows(const QImage& image, int x, const QColor& background, int top = 5, int bottom = 19) {
    QList<int> rows;
    for (int y = top; y <= bottom; ++y)
        if (inked(image, x, y, background)) rows << y;
    return rows;
}

QImage block(const QImage& image, int centreX, int top = 5, int bottom = 19) {
    return image.copy(QRect(QPoint(centreX - 6, top), QPoint(centreX + 6, bottom)));
}

const QColor kPage = colorOf(platform::clCaptionText);

}  // namespace

class QxRulerTest : public QObject {
    Q_OBJECT

private slots:
    // ---- painting ------------------------------------------------------------------------------

    void paintsStripsInTheirColours() {
        auto ruler = makeMainRuler();
        ruler->SetShowIndents(false);
        const QImage image = render(*ruler);
        const QColor face = colorOf(platform::clBtnFace), shadow = colorOf(platform::clBtnShadow);
        for (QPoint p : {QPoint(0, 0), QPoint(916, 24), QPoint(2, 12), QPoint(914, 12), QPoint(400, 4), QPoint(400, 20)})
            QCOMPARE(image.pixelColor(p), face);
        for (QPoint p : {QPoint(5, 5), QPoint(66, 19), QPoint(825, 5), QPoint(911, 19)}) QCOMPARE(image.pixelColor(p), shadow);
        for (QPoint p : {QPoint(67, 5), QPoint(824, 19), QPoint(400, 6)}) QCOMPARE(image.pixelColor(p), kPage);
    }

    void marginBarsOnlyWithMarginHandlers() {
        auto ruler = makeMainRuler();
        ruler->SetShowIndents(false);
        QCOMPARE(render(*ruler).pixelColor(67, 6), kPage);
        ruler->SetShowMarginHandlers(true);
        QImage image = render(*ruler);
        const QColor face = colorOf(platform::clBtnFace), shadow = colorOf(platform::clBtnShadow);
        for (int x : {66, 67, 824, 825}) QCOMPARE(image.pixelColor(x, 6), face);
        QCOMPARE(image.pixelColor(68, 6), kPage);
        ruler->SetMarginLeft(0);  // a margin of 0 gets its bar in the shadow colour
        image = render(*ruler);
        QCOMPARE(image.pixelColor(4, 6), shadow);
        QCOMPARE(image.pixelColor(5, 6), shadow);
    }

    // The zero at the left margin line (x = 67) carries no number; numbers every 40 pixels outwards in
    // both directions, long ticks between them, short ticks at the quarters.
    void scaleCountsOutwardsFromTheLeftMargin() {
        auto ruler = makeMainRuler();
        ruler->SetShowIndents(false);
        const QImage image = render(*ruler);
        const QColor shadow = colorOf(platform::clBtnShadow);
        QVERIFY(!anyInk(image, QRect(QPoint(64, 5), QPoint(66, 19)), shadow));
        QVERIFY(!anyInk(image, QRect(QPoint(67, 5), QPoint(70, 19)), kPage));
        for (int x : {107, 147, 467, 787}) QVERIFY2(anyInk(image, QRect(QPoint(x - 3, 5), QPoint(x + 3, 19)), kPage), qPrintable(QString::number(x)));
        QVERIFY(anyInk(image, QRect(QPoint(24, 5), QPoint(30, 19)), shadow));  // the 1 in the left margin
        QVERIFY(anyInk(image, QRect(QPoint(903, 5), QPoint(911, 19)), shadow));  // 21 in the right margin
        // Between the numbers the page is clear except for the ticks.
        QVERIFY(!anyInk(image, QRect(QPoint(113, 5), QPoint(116, 19)), kPage));
        QCOMPARE(inkedRows(image, 87, kPage), (QList<int>{10, 11, 12, 13, 14}));  // 2T: long tick
        QCOMPARE(inkedRows(image, 77, kPage), (QList<int>{11, 12}));              // T: short tick
        QCOMPARE(inkedRows(image, 97, kPage), (QList<int>{11, 12}));
        QCOMPARE(inkedRows(image, 47, shadow), (QList<int>{10, 11, 12, 13, 14}));  // counted leftwards too
        QCOMPARE(inkedRows(image, 57, shadow), (QList<int>{11, 12}));
        QCOMPARE(image.pixelColor(87, 10), colorOf(platform::clWindowText));
    }

    // With Factor 2 the number 40 pixels from the zero reads as the 2 that Factor 1 shows 80 pixels out.
    void factorMultipliesTheNumbers() {
        auto one = makeMainRuler();
        auto two = makeMainRuler();
        two->SetFactor(2);
        for (auto* r : {one.get(), two.get()}) r->SetShowIndents(false);
        const QImage a = render(*one), b = render(*two);
        QCOMPARE(block(b, 107), block(a, 147));
        QCOMPARE(block(b, 147), block(a, 227));
        QVERIFY(block(b, 107) != block(a, 107));
    }

    void numbersGiveWayToLongTicks_data() {
        QTest::addColumn<bool>("numbers");
        QTest::addColumn<bool>("largeLines");
        QTest::addColumn<QList<int>>("rowsAtNumber");
        QTest::addColumn<QList<int>>("rowsAtHalf");
        QTest::newRow("long ticks") << false << true << QList<int>{10, 11, 12, 13, 14} << QList<int>{10, 11, 12, 13, 14};
        QTest::newRow("nothing") << false << false << QList<int>{} << QList<int>{};
    }
    void numbersGiveWayToLongTicks() {
        QFETCH(bool, numbers);
        QFETCH(bool, largeLines);
        QFETCH(QList<int>, rowsAtNumber);
        QFETCH(QList<int>, rowsAtHalf);
        auto ruler = makeMainRuler();
        ruler->SetShowIndents(false);
        ruler->SetShowNumbers(numbers);
        ruler->SetShowLargeLines(largeLines);
        const QImage image = render(*ruler);
        QCOMPARE(inkedRows(image, 107, kPage), rowsAtNumber);
        QCOMPARE(inkedRows(image, 67, kPage), rowsAtNumber);  // the zero column too
        QCOMPARE(inkedRows(image, 127, kPage), rowsAtHalf);
        QVERIFY(!anyInk(image, QRect(QPoint(105, 5), QPoint(106, 19)), kPage));
    }

    // ---- handles -------------------------------------------------------------------------------

    void handlesStandAtTheirTops() {
        auto ruler = makeMainRuler();
        QCOMPARE(ruler->Handle(TI::riFirst)->geometry(), QRect(62, 2, 9, 8));
        QCOMPARE(ruler->Handle(TI::riLeft)->geometry(), QRect(62, 12, 9, 8));
        QCOMPARE(ruler->Handle(TI::riRight)->geometry(), QRect(183, 12, 9, 8));
        QCOMPARE(ruler->Handle(TI::riBothLeft)->geometry(), QRect(62, 20, 9, 7));
        QCOMPARE(ruler->Handle(TI::riRight)->cursor().shape(), Qt::ArrowCursor);
    }

    // '#' black, 'h' highlight, 'f' face, '.' the ruler showing through.
    void handlesHaveTheirShapes_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QStringList>("art");
        QTest::newRow("first-line") << int(TI::riFirst)
                                    << QStringList{"#########", "#hhhhhhf#", "#hffffff#", "#hffffff#",
                                                   ".#hffff#.", "..#hff#..", "...#f#...", "....#...."};
        const QStringList up{"....#....", "...#h#...", "..#hff#..", ".#hffff#.",
                             "#hffffff#", "#hffffff#", "#fffffff#", "#########"};
        QTest::newRow("left") << int(TI::riLeft) << up;
        QTest::newRow("right") << int(TI::riRight) << up;
        QTest::newRow("both-left") << int(TI::riBothLeft)
                                   << QStringList{"#hhhhhhf#", "#hffffff#", "#hffffff#", "#fffffff#", "#########"};
    }
    void handlesHaveTheirShapes() {
        QFETCH(int, id);
        QFETCH(QStringList, art);
        auto ruler = makeMainRuler();
        ruler->SetIndentRight(500);
        ruler->SetIndentFirst(300);
        ruler->SetIndentLeft(400);
        ruler->SetShowNumbers(false);
        ruler->SetShowLargeLines(false);
        ruler->SetShowSmallLines(false);
        const QImage image = render(*ruler);
        ruler->SetShowIndents(false);
        const QImage bare = render(*ruler);
        const QWidget* handle = ruler->Handle(TI(id));
        for (int row = 0; row < art.size(); ++row)
            for (int col = 0; col < 9; ++col) {
                const QPoint p = handle->pos() + QPoint(col, row);
                QColor expected;
                switch (art[row][col].toLatin1()) {
                case '#': expected = Qt::black; break;
                case 'h': expected = colorOf(platform::clBtnHighlight); break;
                case 'f': expected = colorOf(platform::clBtnFace); break;
                default: expected = bare.pixelColor(p);
                }
                QVERIFY2(image.pixelColor(p) == expected, qPrintable(QStringLiteral("row %1 column %2").arg(row).arg(col)));
            }
    }

    // ---- property rules ------------------------------------------------------------------------

    void refusesValuesByItsRules_data() {
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("accepted");
        // Handles at 62, 62 and 183; MinIndentDist 50; width 917.
        QTest::newRow("first: distance 50 to right") << "IndentFirst" << 133 << false;
        QTest::newRow("first: distance 51 to right") << "IndentFirst" << 132 << true;
        QTest::newRow("first: negative") << "IndentFirst" << -1 << false;
        QTest::newRow("first: zero") << "IndentFirst" << 0 << true;
        QTest::newRow("left: distance 50 to right") << "IndentLeft" << 133 << false;
        QTest::newRow("left: distance 51 to right") << "IndentLeft" << 132 << true;
        QTest::newRow("left: negative") << "IndentLeft" << -10 << false;
        QTest::newRow("right: 50 from the left ones") << "IndentRight" << 112 << false;
        QTest::newRow("right: 51 from the left ones") << "IndentRight" << 113 << true;
        QTest::newRow("right: width - 4") << "IndentRight" << 913 << false;
        QTest::newRow("right: width - 5") << "IndentRight" << 912 << true;
        QTest::newRow("margin left: negative") << "MarginLeft" << -1 << false;
        QTest::newRow("margin left: widest") << "MarginLeft" << 820 << true;
        QTest::newRow("margin left: too wide") << "MarginLeft" << 821 << false;
        QTest::newRow("margin right: widest") << "MarginRight" << 845 << true;
        QTest::newRow("margin right: too wide") << "MarginRight" << 846 << false;
        QTest::newRow("margin right: negative") << "MarginRight" << -1 << false;
        QTest::newRow("ruler tab: 0") << "RulerTab" << 0 << false;
        QTest::newRow("ruler tab: 255") << "RulerTab" << 255 << true;
        QTest::newRow("ruler tab: 256") << "RulerTab" << 256 << false;
        QTest::newRow("tab dist: 0") << "TabDist" << 0 << false;
        QTest::newRow("tab dist: 30000") << "TabDist" << 30000 << true;
        QTest::newRow("tab dist: 30001") << "TabDist" << 30001 << false;
        QTest::newRow("factor: 0") << "Factor" << 0 << false;
        QTest::newRow("factor: 30000") << "Factor" << 30000 << true;
        QTest::newRow("factor: 30001") << "Factor" << 30001 << false;
    }
    void refusesValuesByItsRules() {
        QFETCH(QString, property);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        auto ruler = makeMainRuler();
        const std::map<QString, std::pair<std::function<int()>, std::function<void(int)>>> access{
            {"IndentFirst", {[&] { return ruler->IndentFirst(); }, [&](int v) { ruler->SetIndentFirst(v); }}},
            {"IndentLeft", {[&] { return ruler->IndentLeft(); }, [&](int v) { ruler->SetIndentLeft(v); }}},
            {"IndentRight", {[&] { return ruler->IndentRight(); }, [&](int v) { ruler->SetIndentRight(v); }}},
            {"MarginLeft", {[&] { return ruler->MarginLeft(); }, [&](int v) { ruler->SetMarginLeft(v); }}},
            {"MarginRight", {[&] { return ruler->MarginRight(); }, [&](int v) { ruler->SetMarginRight(v); }}},
            {"RulerTab", {[&] { return int(ruler->RulerTab()); }, [&](int v) { ruler->SetRulerTab(v); }}},
            {"TabDist", {[&] { return int(ruler->TabDist()); }, [&](int v) { ruler->SetTabDist(v); }}},
            {"Factor", {[&] { return int(ruler->Factor()); }, [&](int v) { ruler->SetFactor(v); }}},
        };
        const auto& [get, set] = access.at(property);
        const int before = get();
        set(value);
        QCOMPARE(get(), accepted ? value : before);
    }

    // The first-line and left handles are compared with the right handle only, never with each other.
    void leftHandlesPassEachOther() {
        auto ruler = makeMainRuler();
        ruler->SetIndentFirst(120);
        ruler->SetIndentLeft(0);
        QCOMPARE(ruler->IndentFirst(), 120);
        QCOMPARE(ruler->IndentLeft(), 0);
        QCOMPARE(ruler->Handle(TI::riBothLeft)->x(), 0);
    }

    void marginsCarryTheHandles() {
        auto ruler = makeMainRuler();
        ruler->SetMarginLeft(72);
        QCOMPARE(ruler->IndentFirst(), 72);
        QCOMPARE(ruler->IndentLeft(), 72);
        ruler->SetMarginRight(97);
        QCOMPARE(ruler->IndentRight(), 173);
        ruler->SetIndentFirst(10);
        ruler->SetMarginLeft(42);  // the first-line handle would go below 0: it stays, the others move
        QCOMPARE(ruler->MarginLeft(), 42);
        QCOMPARE(ruler->IndentFirst(), 10);
        QCOMPARE(ruler->IndentLeft(), 42);
    }

    void increaseAndDecreaseIndent_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("step");  // +1 IncreaseIndent, -1 DecreaseIndent
        QTest::addColumn<int>("firstAfter");
        QTest::addColumn<int>("leftAfter");
        QTest::newRow("increase") << 62 << 62 << 1 << 72 << 72;
        QTest::newRow("decrease") << 62 << 62 << -1 << 52 << 52;
        QTest::newRow("left at 5 stays") << 20 << 5 << -1 << 10 << 5;
        QTest::newRow("both at 5 stay") << 5 << 5 << -1 << 5 << 5;
        QTest::newRow("left too near the right handle") << 62 << 130 << 1 << 72 << 130;
    }
    void increaseAndDecreaseIndent() {
        QFETCH(int, first);
        QFETCH(int, left);
        QFETCH(int, step);
        QFETCH(int, firstAfter);
        QFETCH(int, leftAfter);
        auto ruler = makeMainRuler();
        ruler->SetIndentFirst(first);
        ruler->SetIndentLeft(left);
        RulerEvents events(*ruler);
        step > 0 ? ruler->IncreaseIndent() : ruler->DecreaseIndent();
        QCOMPARE(ruler->IndentFirst(), firstAfter);
        QCOMPARE(ruler->IndentLeft(), leftAfter);
        QCOMPARE(events.list, QStringList{"change 3"});  // raised also when nothing moved
    }

    // ---- handle drags --------------------------------------------------------------------------

    void dragSnapsAndReportsEachMove() {
        auto ruler = makeMainRuler();
        RulerEvents events(*ruler);
        pressHandle(*ruler, TI::riFirst);         // grabbed at its tip, x + 4
        moveHandleMouseTo(*ruler, TI::riFirst, 87);   // target 83 snaps to 80
        QCOMPARE(ruler->IndentFirst(), 80);
        moveHandleMouseTo(*ruler, TI::riFirst, 89);   // 85 snaps to 80 again: no move, no event
        moveHandleMouseTo(*ruler, TI::riFirst, 3);    // -1 truncates to 0
        QCOMPARE(ruler->IndentFirst(), 0);
        releaseHandle(*ruler, TI::riFirst);
        QCOMPARE(events.list, (QStringList{"click 0", "drag 0", "drag 0", "change 0"}));
    }

    void pressAndReleaseWithoutMoving_data() {
        QTest::addColumn<int>("id");
        for (int id = 0; id < 4; ++id) QTest::addRow("%d", id) << id;
    }
    void pressAndReleaseWithoutMoving() {
        QFETCH(int, id);
        auto ruler = makeMainRuler();
        RulerEvents events(*ruler);
        pressHandle(*ruler, TI(id), 7);
        releaseHandle(*ruler, TI(id));
        QCOMPARE(events.list, (QStringList{QStringLiteral("click %1").arg(id), QStringLiteral("change %1").arg(id)}));
        QCOMPARE(ruler->IndentFirst(), 62);
        QCOMPARE(ruler->IndentLeft(), 62);
        QCOMPARE(ruler->IndentRight(), 183);
    }

    void rightHandleKeepsItsDistance() {
        auto ruler = makeMainRuler();
        ruler->SetIndentFirst(60);
        ruler->SetIndentLeft(60);
        RulerEvents events(*ruler);
        pressHandle(*ruler, TI::riRight, 0);
        for (int x : {150, 120, 110, 100}) moveHandleMouseTo(*ruler, TI::riRight, x);
        QCOMPARE(ruler->IndentRight(), 120);
        releaseHandle(*ruler, TI::riRight);
        QCOMPARE(events.list, (QStringList{"click 2", "drag 2", "drag 2", "change 2"}));
    }

    // The both-left handle moves the left handle and lets the first-line handle follow, each snapped.
    void bothLeftMovesBoth() {
        auto ruler = makeMainRuler();
        ruler->SetIndentFirst(45);
        RulerEvents events(*ruler);
        pressHandle(*ruler, TI::riBothLeft, 2);
        moveHandleMouseTo(*ruler, TI::riBothLeft, 64 + 21);  // 21 pixels to the right
        QCOMPARE(ruler->IndentLeft(), 80);    // 62 + 21 snaps to 80
        QCOMPARE(ruler->IndentFirst(), 60);   // 45 + 21 snaps to 60
        QCOMPARE(ruler->Handle(TI::riBothLeft)->x(), 80);
        releaseHandle(*ruler, TI::riBothLeft);
        QCOMPARE(events.list, (QStringList{"click 3", "drag 1", "drag 0", "change 3"}));
    }

    void otherButtonsDragNothing() {
        auto ruler = makeMainRuler();
        RulerEvents events(*ruler);
        QTest::mousePress(ruler->Handle(TI::riLeft), Qt::RightButton, {}, QPoint(4, 3));
        QTest::mouseMove(ruler->Handle(TI::riLeft), QPoint(40, 3));
        QTest::mouseRelease(ruler->Handle(TI::riLeft), Qt::RightButton, {}, QPoint(40, 3));
        QCOMPARE(ruler->IndentLeft(), 62);
        QVERIFY(events.list.isEmpty());
    }

    // The press that comes with a double click starts no drag; the next press does.
    void doubleClickStartsNoDrag() {
        auto ruler = makeMainRuler();
        RulerEvents events(*ruler);
        QWidget* handle = ruler->Handle(TI::riRight);
        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(4, 3));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(4, 3));
        QTest::mouseDClick(handle, Qt::LeftButton, {}, QPoint(4, 3));
        QTest::mouseMove(handle, QPoint(40, 3));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(40, 3));
        QCOMPARE(ruler->IndentRight(), 183);
        QCOMPARE(events.list, (QStringList{"click 2", "change 2", "dblclick 2"}));
        pressHandle(*ruler, TI::riRight);
        releaseHandle(*ruler, TI::riRight);
        QCOMPARE(events.list.mid(3), (QStringList{"click 2", "change 2"}));
    }

    // While a drag goes on, moved handles leave an outline where they were pressed; the repaint at the
    // release removes it.
    void ghostOutlineMarksThePressPlace() {
        auto ruler = makeMainRuler();
        ruler->SetIndentRight(600);
        ruler->SetIndentFirst(200);
        const QPoint ghostTip(204, 2 + 7), ghostCorner(200, 2);
        pressHandle(*ruler, TI::riFirst);
        moveHandleMouseTo(*ruler, TI::riFirst, 254);
        QCOMPARE(ruler->IndentFirst(), 250);
        QImage image = render(*ruler);
        QCOMPARE(image.pixelColor(ghostTip), colorOf(platform::clBtnShadow));
        QCOMPARE(image.pixelColor(ghostCorner), colorOf(platform::clBtnShadow));
        QCOMPARE(image.pixelColor(204, 5), colorOf(platform::clBtnFace));  // the ghost's fill on the page
        releaseHandle(*ruler, TI::riFirst);
        image = render(*ruler);
        QCOMPARE(image.pixelColor(ghostTip), kPage);
        QCOMPARE(image.pixelColor(204, 5), kPage);
    }

    // ---- guide line on a linked editor -----------------------------------------------------------

    void guideLineFollowsTheDraggedTip() {
        QWidget window;
        window.resize(950, 300);
        auto* ruler = makeMainRuler().release();
        ruler->setParent(&window);
        ruler->move(0, 0);
        QWidget editor(&window);
        editor.setGeometry(10, 30, 900, 200);
        QPalette white;
        white.setColor(QPalette::Window, Qt::white);
        editor.setPalette(white);
        editor.setAutoFillBackground(true);
        ruler->SetRichedit(&editor);
        auto* overlay = editor.findChild<TGuideLineOverlay*>();
        QVERIFY(overlay);
        QCOMPARE(overlay->geometry(), editor.rect());
        pressHandle(*ruler, TI::riRight);
        QCOMPARE(overlay->Lines(), QList<int>{183 + 4 - 10});
        // Dotted, from y = 1, inverting what it crosses.
        const QImage drawn = render(editor);
        QCOMPARE(drawn.pixelColor(177, 0), QColor(Qt::white));
        QCOMPARE(drawn.pixelColor(177, 1), QColor(Qt::black));
        QCOMPARE(drawn.pixelColor(177, 2), QColor(Qt::white));
        QCOMPARE(drawn.pixelColor(177, 199), QColor(Qt::black));
        QCOMPARE(drawn.pixelColor(178, 1), QColor(Qt::white));
        moveHandleMouseTo(*ruler, TI::riRight, 247);
        QCOMPARE(overlay->Lines(), QList<int>{240 + 4 - 10});
        releaseHandle(*ruler, TI::riRight);
        QVERIFY(overlay->Lines().isEmpty());
        ruler->SetRichedit(nullptr);
        QVERIFY(!editor.findChild<TGuideLineOverlay*>());
    }

    // ---- margin drags --------------------------------------------------------------------------

    // A new ruler: 300 wide, margins 30 and 20, so the margin lines stand at 35 and 275.
    void marginDrags() {
        TQxRuler ruler;
        QCOMPARE(ruler.size(), QSize(300, 25));
        QVERIFY(ruler.ShowMarginHandlers());
        RulerEvents events(ruler);
        const int first = ruler.IndentFirst(), right = ruler.IndentRight();
        QTest::mousePress(&ruler, Qt::LeftButton, {}, QPoint(37, 12));
        QTest::mouseMove(&ruler, QPoint(58, 12));  // (58 - 5) snaps to 50
        QTest::mouseRelease(&ruler, Qt::LeftButton, {}, QPoint(58, 12));
        QCOMPARE(ruler.MarginLeft(), 50);
        QCOMPARE(ruler.IndentFirst(), first + 20);
        QTest::mousePress(&ruler, Qt::LeftButton, {}, QPoint(273, 12));
        QTest::mouseMove(&ruler, QPoint(240, 12));  // 300 - 5 - 240 = 55 snaps to 50
        QTest::mouseRelease(&ruler, Qt::LeftButton, {}, QPoint(240, 12));
        QCOMPARE(ruler.MarginRight(), 50);
        QCOMPARE(ruler.IndentRight(), right - 30);
        QTest::mousePress(&ruler, Qt::LeftButton, {}, QPoint(150, 12));  // away from both lines
        QTest::mouseMove(&ruler, QPoint(100, 12));
        QTest::mouseRelease(&ruler, Qt::LeftButton, {}, QPoint(100, 12));
        QCOMPARE(events.list, (QStringList{"margin click 0", "margin drag 0", "margin change 0", "margin click 1",
                                           "margin drag 1", "margin change 1"}));
    }

    void marginCursorAndPressNeedMarginHandlers_data() {
        QTest::addColumn<bool>("handlers");
        QTest::newRow("on") << true;
        QTest::newRow("off") << false;
    }
    void marginCursorAndPressNeedMarginHandlers() {
        QFETCH(bool, handlers);
        TQxRuler ruler;
        ruler.SetShowMarginHandlers(handlers);
        RulerEvents events(ruler);
        hover(ruler, 33);
        QCOMPARE(ruler.cursor().shape(), handlers ? Qt::SizeHorCursor : Qt::ArrowCursor);
        hover(ruler, 277);
        QCOMPARE(ruler.cursor().shape(), handlers ? Qt::SizeHorCursor : Qt::ArrowCursor);
        hover(ruler, 32);  // |32 - 35| = 3 is too far
        QCOMPARE(ruler.cursor().shape(), Qt::ArrowCursor);
        QTest::mousePress(&ruler, Qt::LeftButton, {}, QPoint(35, 12));
        QTest::mouseRelease(&ruler, Qt::LeftButton, {}, QPoint(35, 12));
        QCOMPARE(events.list.size(), handlers ? 2 : 0);
    }
};

QX_REGISTER_TEST(QxRulerTest)
#include "tst_qxruler.moc"
