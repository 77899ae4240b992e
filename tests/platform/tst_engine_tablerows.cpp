// Table rows in the engine's layout: cells side by side, each wrapping in its own column, the row as
// tall as its tallest cell, and the caret, clicks, arrow keys and pages following the cells.
#include "platform/richedit/paragraphlayout.h"
#include "tests/platform/engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace richedit;
using namespace enginetest;

namespace {

constexpr int kCellTwips = 1440;  // one inch: 96 layout units
const QString kRow = u"Krátký\tDlouhý text, který se do úzké buňky nevejde na jeden řádek\t"_qs;  // last cell empty

// "Před" / the row / "Po", the row with three one-inch cells.
std::unique_ptr<Engine> engineWithRow(std::uint16_t borders = 0) {
    auto e = makeEngine(600, 400);
    e->setSel(0, -1);
    e->replaceSel(u"Před\r"_qs + kRow + u"\rPo"_qs, false);
    const int rowStart = 5;
    e->setSel(rowStart + 1, rowStart + 1);
    PARAFORMAT2 pf = paraFormat(PFM_TABLE | PFM_TABSTOPS | PFM_STARTINDENT | PFM_OFFSET | PFM_BORDER);
    pf.wEffects = PFE_TABLE;
    pf.cTabCount = 3;
    for (int i = 0; i < 3; ++i) pf.rgxTabs[i] = kCellTwips * (i + 1);
    pf.dxOffset = 108;
    pf.wBorders = borders;
    pf.wBorderWidth = 15;
    e->setParaFormat(pf);
    e->setSel(0, 0);
    return e;
}

}  // namespace

class TestEngineTableRows : public QObject {
    Q_OBJECT

private slots:
    void cellsWrapInTheirColumns();
    void clicksAndCaretStayInTheirCell();
    void arrowKeysLeaveTheRowAboveAndBelow();
    void rowGoesOntoOnePage();
    void bordersAreDrawn();
    void growingCellMovesWhatFollows();
    void textTypedAtACellStartTakesThatCellsFormat();
    void deletingInARowKeepsItsCells_data();
    void deletingInARowKeepsItsCells();
};

void TestEngineTableRows::cellsWrapInTheirColumns() {
    auto e = engineWithRow();
    const int row = 5;
    const int secondCell = row + int(kRow.indexOf(u'\t')) + 1;
    const int secondEnd = row + int(kRow.lastIndexOf(u'\t'));
    const int firstLine = e->exLineFromChar(row);
    // The first cell is one line, the second several; the paragraph after the row starts below them.
    QCOMPARE(e->exLineFromChar(secondCell), firstLine + 1);
    QVERIFY(e->exLineFromChar(secondEnd) > firstLine + 2);
    const QPoint first = e->posFromChar(row);
    const QPoint second = e->posFromChar(secondCell);
    QCOMPARE(second.y(), first.y());      // side by side
    QVERIFY(second.x() - first.x() >= 90);  // one inch on
    int lowest = 0;
    for (int p = secondCell; p <= secondEnd; ++p) {
        const QPoint at = e->posFromChar(p);
        QVERIFY2(at.x() >= second.x() - 1 && at.x() <= first.x() + 2 * 96, qPrintable(QString::number(p)));
        lowest = std::max(lowest, at.y());
    }
    const int after = row + int(kRow.size()) + 1;
    QVERIFY(e->posFromChar(after).y() > lowest);
    // Every display line of the row is one cell's line, without the cell mark ending it.
    QStringList lines;
    for (int line = firstLine; line < e->exLineFromChar(after); ++line) lines << e->getLine(line, 200);
    QVERIFY(!lines.join(QString()).contains(u'\t'));
    QCOMPARE(lines.first(), u"Krátký"_qs);
    QCOMPARE(e->lineLength(row), 6);
}

void TestEngineTableRows::clicksAndCaretStayInTheirCell() {
    auto e = engineWithRow();
    const int row = 5;
    const int firstMark = row + int(kRow.indexOf(u'\t'));
    const int end = row + int(kRow.size());
    const QPoint first = e->posFromChar(row);
    const QPoint lastLine = e->posFromChar(end - 2);
    // Below the short first cell's text, still in its column: the end of that cell.
    QCOMPARE(e->charFromPos(QPoint(first.x() + 40, lastLine.y() + 2)), firstMark);
    // Right of the first cell's text: its end, not the next cell.
    QCOMPARE(e->charFromPos(QPoint(first.x() + 80, first.y() + 2)), firstMark);
    // The empty last cell: the end of the row, with the caret in that cell.
    QCOMPARE(e->charFromPos(QPoint(first.x() + 2 * 96 + 30, first.y() + 2)), end);
    const QPoint endCaret = e->posFromChar(end);
    QVERIFY(endCaret.x() >= first.x() + 2 * 96);
    QCOMPARE(endCaret.y(), first.y());
}

void TestEngineTableRows::arrowKeysLeaveTheRowAboveAndBelow() {
    auto e = engineWithRow();
    const int row = 5;
    const int after = row + int(kRow.size()) + 1;
    e->setFocus();
    e->setSel(row + 2, row + 2);  // in the short first cell
    QTest::keyClick(e.get(), Qt::Key_Down);
    QVERIFY(e->exGetSel().cpMin >= after);
    QTest::keyClick(e.get(), Qt::Key_Up);
    QVERIFY(e->exGetSel().cpMin >= row && e->exGetSel().cpMin < after);
    e->setSel(row + 2, row + 2);
    QTest::keyClick(e.get(), Qt::Key_Up);
    QVERIFY(e->exGetSel().cpMin < row);
}

void TestEngineTableRows::rowGoesOntoOnePage() {
    auto e = engineWithRow();
    const int row = 5;
    QImage page(800, 800, QImage::Format_ARGB32);
    QPainter painter(&page);
    // Room for the first paragraph and one line more: the row does not fit and goes on, whole.
    const int lineTwips = (e->posFromChar(row).y() - e->posFromChar(0).y()) * 15;
    QCOMPARE(formatPage(*e, painter, &page, {0, 0, 9000, lineTwips * 2}), row);
    QCOMPARE(formatPage(*e, painter, &page, {0, 0, 9000, lineTwips * 20}, row), e->getTextLength());
    e->formatRange(nullptr, false);
}

void TestEngineTableRows::bordersAreDrawn() {
    auto render = [](std::uint16_t borders) {
        auto e = engineWithRow(borders);
        QImage image(e->viewport()->size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        e->viewport()->render(&image);
        return std::make_pair(image, e->posFromChar(5));
    };
    const auto [plain, origin] = render(0);
    const auto [framed, same] = render(PFBRD_LEFT | PFBRD_RIGHT | PFBRD_TOP | PFBRD_BOTTOM | PFBRD_INSIDE);
    QCOMPARE(same, origin);
    // The line between the first and second cell, halfway down the first line.
    const QPoint inside(origin.x() + 96 - 7, origin.y() + 6);
    auto darkNear = [](const QImage& image, QPoint p) {
        for (int dx = -2; dx <= 2; ++dx)
            if (qGray(image.pixel(p.x() + dx, p.y())) < 128) return true;
        return false;
    };
    QVERIFY(darkNear(framed, inside));
    QVERIFY(!darkNear(plain, inside));
}

// Typing that makes a cell (or any paragraph) a line taller moves what follows: the engine then
// repaints down to the bottom of the view, not only the paragraph typed in.
void TestEngineTableRows::growingCellMovesWhatFollows() {
    QTextDocument doc;
    auto* layout = new ParagraphLayout(&doc);
    layout->setBackgroundLayout(false);
    doc.setDocumentLayout(layout);
    doc.setTextWidth(400);
    QTextCursor c(&doc);
    c.insertText(u"Krátký\tDlouhý text, který se do úzké buňky nevejde na jeden řádek"_qs);
    PARAFORMAT2 pf = paraFormat(PFM_TABLE | PFM_TABSTOPS);
    pf.wEffects = PFE_TABLE;
    pf.cTabCount = 2;
    pf.rgxTabs[0] = kCellTwips;
    pf.rgxTabs[1] = 2 * kCellTwips;
    QTextBlockFormat row;
    applyParaFormat(pf, row);
    c.setBlockFormat(row);
    c.insertBlock(QTextBlockFormat());
    c.insertText(u"Po"_qs);
    auto following = [&] { return layout->blockBoundingRect(doc.lastBlock()).top(); };
    const qreal before = following();
    layout->changesMovedWhatFollows();
    c.setPosition(6);  // the end of the short first cell
    bool moved = false;
    for (int i = 0; i < 40 && !moved; ++i) {
        c.insertText(u" slovo"_qs);
        moved = layout->changesMovedWhatFollows();
        if (!moved) QCOMPARE(following(), before);  // no move told, none happened
    }
    QVERIFY(moved);
    QVERIFY(following() > before);
    QVERIFY(!layout->changesMovedWhatFollows());  // nothing since
}

// The mark ending a cell carries that cell's format (here a tiny empty cell, as LibreOffice writes
// them); text typed at the start of the next cell takes the next cell's format instead.
void TestEngineTableRows::textTypedAtACellStartTakesThatCellsFormat() {
    auto e = engineWithRtf("{\\rtf1\\ansi\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl\\fs24 St\\'f9l\\cell"
                           "\\pard\\intbl\\fs4\\cell\\pard\\intbl\\fs24 Viz\\cell\\row}");
    const QString text = e->getTextRange(0, -1);
    QCOMPARE(text.count(u'\t'), 2);
    const int thirdCell = int(text.lastIndexOf(u'\t')) + 1;
    e->setSel(thirdCell - 1, thirdCell - 1);  // in the empty second cell
    QCOMPARE(e->getCharFormat(SCF_SELECTION).yHeight, 40);
    e->setSel(thirdCell, thirdCell);
    QCOMPARE(e->getCharFormat(SCF_SELECTION).yHeight, 240);
    e->replaceSel(u"5"_qs, true);
    QCOMPARE(e->getCharFormat(SCF_SELECTION).yHeight, 240);
    e->setSel(thirdCell, thirdCell + 1);
    QCOMPARE(e->getCharFormat(SCF_SELECTION).yHeight, 240);
}

void TestEngineTableRows::deletingInARowKeepsItsCells_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");  // from == to: the key alone at the caret
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    // The row "A1|B1|C1" between "Před" and "Po".
    QTest::newRow("across a mark") << 6 << 9 << int(Qt::Key_Delete) << QString() << u"Před\rA\t1\tC1\rPo"_qs;
    QTest::newRow("Backspace at a cell's start") << 8 << 8 << int(Qt::Key_Backspace) << QString() << u"Před\rA1\tB1\tC1\rPo"_qs;
    QTest::newRow("Delete at a cell's end") << 7 << 7 << int(Qt::Key_Delete) << QString() << u"Před\rA1\tB1\tC1\rPo"_qs;
    QTest::newRow("typed over the whole row") << 5 << 13 << 0 << u"x"_qs << u"Před\rx\t\t\rPo"_qs;
    QTest::newRow("beyond the row's end") << 9 << 15 << int(Qt::Key_Delete) << QString() << u"Před\rA1\tBo"_qs;
}

// Deleting inside one row takes the cells' text and leaves the cells; one undo brings it back.
void TestEngineTableRows::deletingInARowKeepsItsCells() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, key);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    auto e = engineWithRtf("{\\rtf1\\ansi\\ansicpg1250 P\\'f8ed\\par\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl A1\\cell B1"
                           "\\cell C1\\cell\\row\\pard Po\\par}");
    const QString original = text(*e);
    QCOMPARE(original, u"Před\rA1\tB1\tC1\rPo"_qs);
    e->setFocus();
    e->setSel(from, to);
    if (key) QTest::keyClick(e.get(), Qt::Key(key));
    else QTest::keyClicks(e.get(), typed);
    QCOMPARE(text(*e), expected);
    e->undo();
    QCOMPARE(text(*e), original);
}

QX_REGISTER_TEST(TestEngineTableRows)
#include "tst_engine_tablerows.moc"
