// Display lines, zoom and the formatting rectangle: the line queries agree with each other and with
// the layout under word wrap, after a rectangle change and under zoom.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QTest>

using namespace richedit;
using namespace enginetest;

class EngineLinesTest : public QObject {
    Q_OBJECT
private slots:
    void emptyDocumentHasOneLine();
    void linesAreConsistent_data();
    void linesAreConsistent();
    void wrapFollowsFormattingRectangle();
    void wordWrapOff();
    void hiddenEngineWrapsAtItsOwnWidth();
    void zoomGetSet_data();
    void zoomGetSet();
    void zoomRewrapsAndScalesText();
    void linesFollowUndoOfParagraphFormat();
    void positionsRoundTrip();
    void selectionStripSelectsLines();
    void doubleClickSelectsWord();

private:
    static QString paragraphText(int words);
};

QString EngineLinesTest::paragraphText(int words) {
    QStringList list;
    for (int i = 0; i < words; ++i) list << (i % 3 == 0 ? QStringLiteral("žluťoučký") : QStringLiteral("kůň"));
    return list.join(u' ');
}

void EngineLinesTest::emptyDocumentHasOneLine() {
    auto e = makeEngine();
    QCOMPARE(e->getLineCount(), 1);
    QCOMPARE(e->lineIndex(0), 0);
    QCOMPARE(e->lineIndex(1), -1);
    QCOMPARE(e->lineLength(0), 0);
    QCOMPARE(e->getLine(0, 100), QString());
    e->replaceSel(QStringLiteral("word\r"), true);
    QCOMPARE(e->getLineCount(), 2);  // the empty line after a final break counts here
    QCOMPARE(e->getLine(0, 100), QStringLiteral("word\r"));
    QCOMPARE(e->getLine(1, 100), QString());
}

void EngineLinesTest::linesAreConsistent_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("narrow") << 150;
    QTest::newRow("wide") << 600;
}

void EngineLinesTest::linesAreConsistent() {
    QFETCH(int, width);
    auto e = makeEngine(width, 300);
    const QString content = paragraphText(60) + u'\r' + u'\r' + paragraphText(7) + u'\r' + paragraphText(30);
    e->replaceSel(content, true);
    const int count = e->getLineCount();
    QVERIFY(count > 4);
    // Walking the lines rebuilds the text: each line starts where the previous one ended.
    QString rebuilt;
    int expectedStart = 0;
    for (int line = 0; line < count; ++line) {
        const int start = e->lineIndex(line);
        QCOMPARE(start, expectedStart);
        QCOMPARE(e->exLineFromChar(start), line);
        const QString lineText = e->getLine(line, 100000);
        const int length = e->lineLength(start);
        QCOMPARE(lineText.left(length), e->getTextRange(start, start + length));
        const bool endsParagraph = lineText.endsWith(u'\r');
        QCOMPARE(lineText.size(), length + (endsParagraph ? 1 : 0));
        if (length > 0) QCOMPARE(e->exLineFromChar(start + length - 1), line);
        rebuilt += lineText;
        expectedStart = start + int(lineText.size());
    }
    QCOMPARE(rebuilt, content);
    QCOMPARE(e->lineIndex(count), -1);
    QCOMPARE(e->exLineFromChar(e->getTextLength()), count - 1);
    // maxChars cuts the line
    QCOMPARE(e->getLine(0, 3), content.left(3));
}

void EngineLinesTest::wrapFollowsFormattingRectangle() {
    auto e = makeEngine(600, 300);
    e->replaceSel(paragraphText(40), true);
    const int wide = e->getLineCount();
    e->setRect(QRect(10, 5, 150, 200));
    QCOMPARE(e->getRect(), QRect(10, 5, 150, 200));
    const int narrow = e->getLineCount();
    QVERIFY2(narrow > wide * 2, qPrintable(QStringLiteral("%1 vs %2").arg(narrow).arg(wide)));
    // the widget's width does not matter while the rectangle is set
    e->resize(900, 300);
    QCOMPARE(e->getLineCount(), narrow);
    // every line fits inside the rectangle
    for (int line = 0; line < narrow; ++line) {
        const int start = e->lineIndex(line);
        const int end = start + e->lineLength(start);
        QVERIFY(e->posFromChar(start).x() >= 10);
        QVERIFY(e->posFromChar(end).x() <= 10 + 150 + 1);
    }
    e->setRect(QRect());
    QCOMPARE(e->getLineCount() < narrow, true);
}

void EngineLinesTest::wordWrapOff() {
    auto e = makeEngine(200, 200);
    e->replaceSel(paragraphText(40), true);
    QVERIFY(e->getLineCount() > 1);
    e->setWordWrap(false);
    QCOMPARE(e->getLineCount(), 1);
    e->setWordWrap(true);
    QVERIFY(e->getLineCount() > 1);
}

void EngineLinesTest::hiddenEngineWrapsAtItsOwnWidth() {
    Engine hidden;
    hidden.resize(300, 200);
    hidden.replaceSel(paragraphText(40), true);
    auto shown = makeEngine(300, 200);
    shown->replaceSel(paragraphText(40), true);
    QVERIFY(std::abs(hidden.getLineCount() - shown->getLineCount()) <= 1);
    hidden.resize(900, 200);
    QVERIFY(hidden.getLineCount() < shown->getLineCount());
}

void EngineLinesTest::zoomGetSet_data() {
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("readNum");
    QTest::addColumn<int>("readDen");
    QTest::newRow("quarter") << 25 << 100 << true << 25 << 100;
    QTest::newRow("double") << 200 << 100 << true << 200 << 100;
    QTest::newRow("off") << 0 << 0 << true << 0 << 0;
    QTest::newRow("negative") << -1 << 100 << false << 0 << 0;
    QTest::newRow("zero denominator") << 5 << 0 << false << 0 << 0;
    QTest::newRow("too small") << 1 << 65 << false << 0 << 0;
    QTest::newRow("too large") << 65 << 1 << false << 0 << 0;
}

void EngineLinesTest::zoomGetSet() {
    QFETCH(int, num);
    QFETCH(int, den);
    QFETCH(bool, accepted);
    QFETCH(int, readNum);
    QFETCH(int, readDen);
    auto e = makeEngine();
    QCOMPARE(e->setZoom(num, den), accepted);
    int n = -1;
    int d = -1;
    e->getZoom(n, d);
    QCOMPARE(n, readNum);
    QCOMPARE(d, readDen);
}

void EngineLinesTest::zoomRewrapsAndScalesText() {
    auto e = makeEngine(400, 300);
    e->replaceSel(paragraphText(50), true);
    const int normal = e->getLineCount();
    const QPoint end100 = e->posFromChar(4);
    e->setZoom(2, 1);
    const int doubled = e->getLineCount();
    QVERIFY2(doubled > normal * 3 / 2, qPrintable(QStringLiteral("%1 vs %2").arg(doubled).arg(normal)));
    const QPoint end200 = e->posFromChar(4);
    const QPoint origin = e->posFromChar(0);
    QVERIFY(std::abs((end200.x() - origin.x()) - 2 * (end100.x() - origin.x())) <= 2);
    e->setZoom(1, 4);
    QVERIFY(e->getLineCount() < normal);
    e->setZoom(0, 0);
    QCOMPARE(e->getLineCount(), normal);
}

void EngineLinesTest::linesFollowUndoOfParagraphFormat() {
    auto e = makeEngine(300, 300);
    e->replaceSel(paragraphText(20) + u'\r' + paragraphText(20), true);
    const int before = e->getLineCount();
    e->setSel(0, 0);
    PARAFORMAT2 indent = paraFormat(PFM_STARTINDENT | PFM_RIGHTINDENT);
    indent.dxStartIndent = 1440;
    indent.dxRightIndent = 720;
    e->setParaFormat(indent);
    const int indented = e->getLineCount();
    QVERIFY(indented > before);
    QVERIFY(e->posFromChar(0).x() >= 96);
    QVERIFY(e->undo());
    QCOMPARE(e->getLineCount(), before);
    QVERIFY(e->posFromChar(0).x() < 20);
    QVERIFY(e->redo());
    QCOMPARE(e->getLineCount(), indented);
}

void EngineLinesTest::positionsRoundTrip() {
    auto e = makeEngine(300, 300);
    e->replaceSel(paragraphText(30) + u'\r' + paragraphText(5), true);
    for (int cp : {0, 5, 17, 40, e->getTextLength()}) {
        const QPoint p = e->posFromChar(cp);
        QCOMPARE(e->charFromPos(p + QPoint(0, 3)), cp);
    }
}

void EngineLinesTest::selectionStripSelectsLines() {
    auto e = makeEngine(300, 300);
    e->setOptions(ECO_SELECTIONBAR | ECO_AUTOWORDSELECTION);
    e->replaceSel(paragraphText(30) + u'\r' + QStringLiteral("short"), true);
    const int second = e->lineIndex(1);
    const QPoint inLine = e->posFromChar(second) + QPoint(0, 3);
    QVERIFY(inLine.x() > 2);
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, QPoint(2, inLine.y()));
    QCOMPARE(e->exGetSel(), (CHARRANGE{second, e->lineIndex(2)}));
    // dragging down the strip extends by whole lines
    const QPoint last = e->posFromChar(e->getTextLength()) + QPoint(0, 3);
    QTest::mousePress(e->viewport(), Qt::LeftButton, {}, QPoint(2, inLine.y()));
    QMouseEvent move(QEvent::MouseMove, QPointF(2, last.y()), e->viewport()->mapToGlobal(QPointF(2, last.y())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e->viewport(), &move);
    QTest::mouseRelease(e->viewport(), Qt::LeftButton, {}, QPoint(2, last.y()));
    QCOMPARE(e->exGetSel(), (CHARRANGE{second, e->getTextLength()}));
}

void EngineLinesTest::doubleClickSelectsWord() {
    auto e = makeEngine(400, 300);
    e->replaceSel(QStringLiteral("alpha beta gamma"), true);
    const QPoint p = e->posFromChar(8) + QPoint(0, 3);
    QTest::mouseDClick(e->viewport(), Qt::LeftButton, {}, p);
    QCOMPARE(e->exGetSel(), (CHARRANGE{6, 11}));  // the word and its space
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, e->posFromChar(2) + QPoint(0, 3));
    QCOMPARE(e->exGetSel(), (CHARRANGE{2, 2}));
}

QX_REGISTER_TEST(EngineLinesTest)
#include "tst_engine_lines.moc"
