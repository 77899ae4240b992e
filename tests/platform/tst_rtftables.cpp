// Table rows: RTF rows read into one PFE_TABLE paragraph per row (cells apart by tabs, the row's
// definition in its record), written back as rows that other word processors read as tables, the
// interop fixtures kept row by row and cell by cell, and Tab moving between the cells of a row.
#include "engine_fixture.h"
#include "tests/platform/tst_rtfsupport.h"
#include "tests/support/testregistry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

using namespace richedit;
using namespace rtftest;

namespace {

const QString kRow = QStringLiteral("▦");  // marks a table row in the expected paragraphs

QByteArray rtf(const QByteArray& body) { return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}" + body + "}"; }

// The paragraphs, each table row marked with kRow in front.
QStringList rowsAndParagraphs(const QTextDocument& doc) {
    QStringList list;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        list.append((isTableRow(b.blockFormat()) ? kRow : QString()) + b.text());
    return list;
}

QList<int> edgesOf(const PARAFORMAT2& pf) { return QList<int>(pf.rgxTabs.begin(), pf.rgxTabs.begin() + pf.cTabCount); }

int firstRow(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (isTableRow(b.blockFormat())) return b.blockNumber();
    return -1;
}

// The record fields a row keeps, for comparing rows.
QList<int> rowRecord(const PARAFORMAT2& pf) {
    return QList<int>{pf.wEffects & PFE_TABLE, pf.dxStartIndent, pf.dxOffset, pf.dyLineSpacing, pf.bLineSpacingRule,
                      pf.wBorders, pf.wBorderWidth, pf.wAlignment}
           << edgesOf(pf);
}

QByteArray written(const QTextDocument& doc, int from = 0, int to = -1) {
    return writeRtf(doc, from, to, RtfObjects::Include);
}

}  // namespace

class RtfTablesTest : public QObject {
    Q_OBJECT
private slots:
    void readsRows_data();
    void readsRows();
    void rowProperties_data();
    void rowProperties();
    void cellsKeepFormattingLinksAndPictures();
    void hostileRowsStayBounded_data();
    void hostileRowsStayBounded();
    void fixturesSurviveRoundTrip_data();
    void fixturesSurviveRoundTrip();
    void writesRowsForOtherReaders();
    void writesPartOfARowAsARow();
    void tabMovesBetweenCells();
    void enterInARow();
};

void RtfTablesTest::readsRows_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QList<int>>("edges");  // of the first row

    QTest::newRow("definition before the cells") << QByteArray("\\trowd\\trgaph108\\cellx1000\\cellx2000\\pard\\intbl A1\\cell B1\\cell\\row\\pard After\\par")
                                              << QStringList{kRow + "A1\tB1", "After"} << QList<int>{1000, 2000};
    QTest::newRow("definition repeated before row wins") << QByteArray("\\trowd\\cellx500\\cellx700\\pard\\intbl A\\cell B\\cell\\pard\\intbl{\\trowd\\cellx1500\\cellx3000\\row}\\pard After\\par")
                                                      << QStringList{kRow + "A\tB", "After"} << QList<int>{1500, 3000};
    QTest::newRow("Word 2003: the definition in the row-end paragraph")
        << QByteArray("\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar\\intbl\\wrapdefault\\rin0\\lin0 \\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
                      "A\\cell B\\cell \\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\intbl\\wrapdefault\\rin0\\lin0 "
                      "{\\trowd \\irow0\\irowband0\\ltrrow\\ts11\\trgaph108\\trleft-108\\trbrdrt\\brdrs\\brdrw10 \\trbrdrl\\brdrs\\brdrw10 "
                      "\\trbrdrb\\brdrs\\brdrw10 \\trbrdrr\\brdrs\\brdrw10 \\trbrdrh\\brdrs\\brdrw10 \\trbrdrv\\brdrs\\brdrw10 \\trftsWidth1"
                      "\\trautofit1\\trpaddl108\\trpaddr108\\trpaddfl3\\trpaddfr3\\tblind0\\tblindtype3 \\clvertalt\\clbrdrt\\brdrs\\brdrw10 "
                      "\\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 \\cltxlrtb\\clftsWidth3\\clwWidth4788"
                      "\\clshdrawnil \\cellx4680\\clvertalt\\cellx9468\\row }\\pard\\plain After\\par")
        << QStringList{kRow + "A\tB", "After"} << QList<int>{4680, 9468};
    QTest::newRow("definition only before row") << QByteArray("\\pard\\intbl A\\cell B\\cell{\\trowd\\cellx3000\\cellx1500\\row}")
                                              << QStringList{kRow + "A\tB"} << QList<int>{1500, 3000};
    QTest::newRow("cell text in groups, mark after the group") << QByteArray("{\\trowd\\cellx1000\\cellx2000\\intbl{{\\pard\\intbl A\\par}\\cell}{\\cell}\\intbl\\row}{\\pard B\\par}")
                                                             << QStringList{kRow + "A\t", "B"} << QList<int>{1000, 2000};
    QTest::newRow("no definition: equal widths") << QByteArray("\\pard\\intbl A\\cell B\\cell C\\cell\\row")
                                               << QStringList{kRow + "A\tB\tC"} << QList<int>{3023, 6046, 9070};
    QTest::newRow("more cells than edges") << QByteArray("\\trowd\\cellx1000\\cellx1800\\pard\\intbl A\\cell B\\cell C\\cell D\\cell\\row")
                                         << QStringList{kRow + "A\tB\tC\tD"} << QList<int>{1000, 1800, 2600, 3400};
    QTest::newRow("fewer cells than edges") << QByteArray("\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl A\\cell\\row")
                                          << QStringList{kRow + "A"} << QList<int>{1000, 2000, 3000};
    QTest::newRow("empty cells") << QByteArray("\\trowd\\cellx1\\cellx2\\cellx3\\cellx4\\pard\\intbl\\cell B\\cell\\cell\\cell\\row")
                               << QStringList{kRow + "\tB\t\t"} << QList<int>{1, 2, 3, 4};
    QTest::newRow("edges sorted and de-duplicated") << QByteArray("\\trowd\\cellx2000\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row")
                                                  << QStringList{kRow + "A\tB"} << QList<int>{1000, 2000};
    QTest::newRow("merged cells") << QByteArray("\\trowd\\cellx500\\clmgf\\cellx1000\\clmrg\\cellx2000\\clmrg\\cellx2500\\cellx3000"
                                                "\\pard\\intbl A\\cell B\\cell\\cell\\cell D\\cell\\row")
                                << QStringList{kRow + "A\tB\tD"} << QList<int>{500, 2500, 3000};
    QTest::newRow("two paragraphs in a cell") << QByteArray("\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\par B\\cell C\\par\\cell\\row")
                                            << QStringList{kRow + u"A\u2028B\tC"_qs} << QList<int>{1000, 2000};
    QTest::newRow("tab in a cell is a space") << QByteArray("\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\tab B\\cell C\\cell\\row")
                                            << QStringList{kRow + "A B\tC"} << QList<int>{1000, 2000};
    QTest::newRow("nested table flattened") << QByteArray("\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell\\pard\\intbl\\itap2 x\\nestcell y\\nestcell"
                                                        "{\\*\\nesttableprops\\trowd\\cellx500\\cellx900\\nestrow}{\\nonesttables\\par}"
                                                        "\\pard\\intbl\\itap1 z\\cell\\row")
                                          << QStringList{kRow + u"A\tx y \u2028z"_qs} << QList<int>{1000, 2000};
    QTest::newRow("row with no cells") << QByteArray("\\trowd\\cellx1000\\cellx2000\\row\\pard After\\par")
                                     << QStringList{kRow, "After"} << QList<int>{1000, 2000};
    QTest::newRow("stray row mark ends a paragraph") << QByteArray("One\\row Two\\par")
                                                   << QStringList{"One", "Two"} << QList<int>{};
    QTest::newRow("table at the end without a paragraph") << QByteArray("\\pard Before\\par\\trowd\\cellx1000\\pard\\intbl A\\cell\\row")
                                                        << QStringList{"Before", kRow + "A"} << QList<int>{1000};
    QTest::newRow("cells without a row mark") << QByteArray("\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\pard\\par Next\\par")
                                            << QStringList{kRow + "A\tB", "Next"} << QList<int>{1000, 2000};
    QTest::newRow("cells without a row mark, then text") << QByteArray("\\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\pard Next\\par")
                                                       << QStringList{kRow + "A\tB", "Next"} << QList<int>{1000, 2000};
    QTest::newRow("row paragraph followed by text") << QByteArray("\\trowd\\cellx1000\\pard\\intbl A\\par\\pard Next\\par")
                                                  << QStringList{kRow + "A", "Next"} << QList<int>{1000};
    QTest::newRow("cells without intbl") << QByteArray("\\trowd\\cellx1000\\cellx2000 A\\cell B\\cell\\row")
                                       << QStringList{kRow + "A\tB"} << QList<int>{1000, 2000};
    QTest::newRow("absurd edges clamp") << QByteArray("\\trowd\\cellx99999999\\cellx-5\\pard\\intbl A\\cell B\\cell\\row")
                                      << QStringList{kRow + "A\tB"} << QList<int>{0, 31680};
    QTest::newRow("consecutive rows") << QByteArray("\\trowd\\cellx1000\\cellx2000\\pard\\intbl A1\\cell B1\\cell\\row"
                                                  "\\trowd\\cellx1000\\cellx2000\\pard\\intbl A2\\cell B2\\cell\\row\\pard\\par")
                                    << QStringList{kRow + "A1\tB1", kRow + "A2\tB2", ""} << QList<int>{1000, 2000};
}

void RtfTablesTest::readsRows() {
    QFETCH(QByteArray, body);
    QFETCH(QStringList, expected);
    QFETCH(QList<int>, edges);
    const Loaded l = load(rtf(body));
    QVERIFY(l.result.ok);
    QCOMPARE(rowsAndParagraphs(*l.doc), expected);
    if (edges.isEmpty()) return;
    const PARAFORMAT2 pf = paraAt(*l.doc, firstRow(*l.doc));
    QCOMPARE(edgesOf(pf), edges);
    QCOMPARE(int(pf.wNumbering), int(PFN_NONE));
}

void RtfTablesTest::rowProperties_data() {
    QTest::addColumn<QByteArray>("definition");  // up to the second cell's \\cellx
    QTest::addColumn<QList<int>>("record");      // as rowRecord gives it, without the edges

    const int row = PFE_TABLE;
    QTest::newRow("left edge, gap, at least height")
        << QByteArray("\\trowd\\trgaph108\\trleft-108\\trrh400\\cellx1000") << QList<int>{row, -108, 108, 400, LS_ATLEAST, 0, 0, PFA_CENTER};
    QTest::newRow("cell padding for a gap") << QByteArray("\\trowd\\trpaddl20\\trpaddfl3\\clpadl60\\clpadfl3\\cellx1000")
                                            << QList<int>{row, 0, 60, 0, LS_SINGLE, 0, 0, PFA_CENTER};
    QTest::newRow("gap before padding") << QByteArray("\\trowd\\trgaph0\\trpaddl108\\cellx1000")
                                        << QList<int>{row, 0, 0, 0, LS_SINGLE, 0, 0, PFA_CENTER};
    QTest::newRow("exact height") << QByteArray("\\trowd\\trrh-300\\cellx1000") << QList<int>{row, 0, 0, 300, LS_EXACTLY, 0, 0, PFA_CENTER};
    QTest::newRow("every cell border")
        << QByteArray("\\trowd\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrdb\\brdrw5\\clbrdrr\\brdrs\\brdrw10\\cellx1000"
                      "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw20")
        << QList<int>{row, 0, 0, 0, LS_SINGLE, PFBRD_LEFT | PFBRD_RIGHT | PFBRD_TOP | PFBRD_BOTTOM | PFBRD_INSIDE, 20, PFA_CENTER};
    QTest::newRow("bottom border of cells only")
        << QByteArray("\\trowd\\clbrdrb\\brdrs\\cellx1000\\clbrdrb\\brdrs")
        << QList<int>{row, 0, 0, 0, LS_SINGLE, PFBRD_BOTTOM, 15, PFA_CENTER};
    QTest::newRow("a cell's right border is inside")
        << QByteArray("\\trowd\\clbrdrr\\brdrs\\brdrw8\\cellx1000")
        << QList<int>{row, 0, 0, 0, LS_SINGLE, PFBRD_INSIDE, 8, PFA_CENTER};
    QTest::newRow("row borders")
        << QByteArray("\\trowd\\trbrdrt\\brdrs\\brdrw10\\trbrdrh\\brdrs\\trbrdrv\\brdrs\\brdrw30\\trbrdrl\\brdrnone\\cellx1000")
        << QList<int>{row, 0, 0, 0, LS_SINGLE, PFBRD_TOP | PFBRD_BOTTOM | PFBRD_INSIDE, 30, PFA_CENTER};
    QTest::newRow("no border") << QByteArray("\\trowd\\clbrdrt\\brdrnone\\brdrw10\\clbrdrl\\brdrtbl\\cellx1000")
                               << QList<int>{row, 0, 0, 0, LS_SINGLE, 0, 0, PFA_CENTER};
    QTest::newRow("absurd values clamp") << QByteArray("\\trowd\\trgaph99999999\\trleft-99999999\\trrh-99999999\\clbrdrt\\brdrs\\brdrw99999\\cellx1000")
                                         << QList<int>{row, -31680, 31680, 31680, LS_EXACTLY, PFBRD_TOP, 255, PFA_CENTER};
}

void RtfTablesTest::rowProperties() {
    QFETCH(QByteArray, definition);
    QFETCH(QList<int>, record);
    // The row's alignment is its first cell's; a paragraph's own line spacing gives way to the row height.
    const Loaded l = load(rtf(definition + "\\cellx2000\\pard\\intbl\\qc\\sl600\\slmult1 A\\cell\\pard\\intbl\\qr B\\cell\\row"));
    QCOMPARE(rowsAndParagraphs(*l.doc), QStringList{kRow + "A\tB"});
    QCOMPARE(rowRecord(paraAt(*l.doc, 0)).mid(0, record.size()), record);
    // Qt's geometry takes none of them for the lines: the layout places the cells.
    const QTextBlockFormat qt = l.doc->begin().blockFormat();
    QCOMPARE(qt.lineHeightType(), int(QTextBlockFormat::SingleHeight));
    QCOMPARE(qt.leftMargin(), 0.0);
    QCOMPARE(qt.textIndent(), 0.0);
}

void RtfTablesTest::cellsKeepFormattingLinksAndPictures() {
    const QByteArray png = readFile(QStringLiteral(QX_TEST_DATA_DIR "/rtf/interop/pic.png"));
    QVERIFY(!png.isEmpty());
    const Loaded l = load(rtf("\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl{\\b Bold}\\cell "
                              "{\\field{\\*\\fldinst{HYPERLINK \"http://example.cz/\"}}{\\fldrslt{\\ul Link}}}\\cell "
                              "{\\pict\\pngblip\\picw12\\pich8 " + png.toHex() + "}\\cell\\row"));
    const QTextDocument& doc = *l.doc;
    QCOMPARE(rowsAndParagraphs(doc), QStringList{kRow + u"Bold\tLink\t\uFFFC"_qs});
    QVERIFY(hasEffect(charAt(doc, 0), CFE_BOLD));
    QVERIFY(!hasEffect(charAt(doc, 4), CFE_BOLD));  // the cell mark ends nothing but the cell
    QVERIFY(qtFormatAt(doc, find(doc, u"Link"_qs)).isAnchor());
    QCOMPARE(qtFormatAt(doc, find(doc, u"Link"_qs)).anchorHref(), u"http://example.cz/"_qs);
    QCOMPARE(picturesIn(doc).size(), 1);
    QCOMPARE(picturesIn(doc).front().data, png);

    // The same after our writer and reader.
    const Loaded back = load(written(doc));
    QCOMPARE(rowsAndParagraphs(*back.doc), rowsAndParagraphs(doc));
    QVERIFY(hasEffect(charAt(*back.doc, 0), CFE_BOLD));
    QCOMPARE(qtFormatAt(*back.doc, find(*back.doc, u"Link"_qs)).anchorHref(), u"http://example.cz/"_qs);
    QVERIFY(!qtFormatAt(*back.doc, find(*back.doc, u"Bold"_qs)).isAnchor());
    QCOMPARE(picturesIn(*back.doc).front().data, png);
}

void RtfTablesTest::hostileRowsStayBounded_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("maxTabs");
    QTest::newRow("a hundred thousand cells") << "\\pard\\intbl " + QByteArray("x\\cell ").repeated(100000) + "\\row" << 31;
    QTest::newRow("a hundred thousand edges") << "\\trowd" + QByteArray("\\cellx7").repeated(100000) + "\\pard\\intbl A\\cell\\row" << 0;
    QTest::newRow("cell marks without text") << "\\pard\\intbl " + QByteArray("\\cell").repeated(100000) + " end\\row" << 31;
    QTest::newRow("paragraph marks in a cell") << "\\pard\\intbl " + QByteArray("\\par").repeated(100000) + " end\\cell\\row" << 0;
    QTest::newRow("deeply nested rows") << QByteArray("\\pard\\intbl\\itap2 ") + QByteArray("{\\nestcell\\nestrow").repeated(500) + "\\cell\\row" << 0;
    QTest::newRow("border words without a row") << QByteArray("\\brdrs\\brdrw99\\brdrnone\\clbrdrb\\cellx-1\\trowd\\row\\cell\\nestrow text") << 0;
    QTest::newRow("breaks inside a row") << QByteArray("\\trowd\\cellx100\\cellx200\\pard\\intbl A\\page B\\sect\\cell C\\column\\cell\\row") << 1;
    QTest::newRow("pictures around a cell mark")
        << QByteArray("\\trowd\\cellx100\\cellx200\\pard\\intbl{\\nonshppict{\\pict\\pngblip 00}}\\cell{\\*\\shppict{\\pict\\pngblip 00}}\\cell\\row") << 1;
    QTest::newRow("file ends in a cell") << QByteArray("\\trowd\\cellx100\\pard\\intbl A\\cell B{\\b C") << 1;
}

void RtfTablesTest::hostileRowsStayBounded() {
    QFETCH(QByteArray, body);
    QFETCH(int, maxTabs);
    const Loaded l = load(rtf(body));
    QVERIFY(l.result.ok);
    for (QTextBlock b = l.doc->begin(); b.isValid(); b = b.next()) {
        QVERIFY(b.text().count(u'\t') <= maxTabs);
        QVERIFY(!b.text().contains(QChar(0xFDEF)));  // the reader's own cell marks never stay
        const PARAFORMAT2 pf = paraFormatFrom(b.blockFormat());
        QVERIFY(pf.cTabCount <= MAX_TAB_STOPS);
        QVERIFY(b.length() <= body.size());
    }
    QVERIFY(l.doc->characterCount() < 800000);
    // Whatever was read, written and read again holds the same text.
    const Loaded back = load(written(*l.doc));
    QCOMPARE(paragraphs(*back.doc), paragraphs(*l.doc));
}

void RtfTablesTest::fixturesSurviveRoundTrip_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("twoParagraphs");  // the cell of two paragraphs, as each program wrote it
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("link");
    QTest::addColumn<QList<int>>("headerBorders");
    const QString two = u"První odstavec.\u2028Druhý odstavec."_qs;
    const QList<int> all{PFBRD_LEFT | PFBRD_RIGHT | PFBRD_TOP | PFBRD_BOTTOM | PFBRD_INSIDE};
    QTest::newRow("LibreOffice 7.4") << u"table-libreoffice.rtf"_qs << two << true << true << all;
    // AbiWord writes an empty paragraph before the cell's two and drops the bold text and the link.
    QTest::newRow("AbiWord 3.0") << u"table-abiword.rtf"_qs << u"\u2028"_qs + two << false << false << all;
    QTest::newRow("pandoc 2.17") << u"table-pandoc.rtf"_qs << two << true << true << QList<int>{PFBRD_BOTTOM};
}

void RtfTablesTest::fixturesSurviveRoundTrip() {
    QFETCH(QString, file);
    QFETCH(QString, twoParagraphs);
    QFETCH(bool, bold);
    QFETCH(bool, link);
    QFETCH(QList<int>, headerBorders);
    const Loaded original = load(readFile(QStringLiteral(QX_TEST_DATA_DIR "/rtf/interop/") + file));
    QVERIFY(original.result.ok);
    const QTextDocument& doc = *original.doc;

    QStringList rows;
    for (const QString& p : rowsAndParagraphs(doc))
        if (p.startsWith(kRow)) rows.append(p.mid(kRow.size()));
    const QStringList expected{u"Zboží\tPočet\tPoznámka"_qs, u"Židle\t12\t"_qs + twoParagraphs, u"Stůl\t\tViz katalog"_qs};
    QCOMPARE(rows, expected);
    QVERIFY(rowsAndParagraphs(doc).contains(u"S pozdravem"_qs));
    const int first = firstRow(doc);
    for (int i = first; i < first + 3; ++i) QCOMPARE(paraAt(doc, i).cTabCount, std::int16_t(3));
    QCOMPARE(int(paraAt(doc, first).wBorders), headerBorders.front());
    if (headerBorders.front()) QVERIFY(paraAt(doc, first).wBorderWidth > 0);
    QCOMPARE(hasEffect(charAt(doc, find(doc, u"12"_qs)), CFE_BOLD), bold);
    QVERIFY(!hasEffect(charAt(doc, find(doc, u"Židle"_qs)), CFE_BOLD));
    QCOMPARE(qtFormatAt(doc, find(doc, u"katalog"_qs)).isAnchor(), link);

    // Written and read back: every cell's text in the same row and cell, the row records equal.
    const Loaded back = load(written(doc));
    QCOMPARE(rowsAndParagraphs(*back.doc), rowsAndParagraphs(doc));
    for (QTextBlock a = doc.begin(), b = back.doc->begin(); a.isValid() && b.isValid(); a = a.next(), b = b.next())
        if (isTableRow(a.blockFormat()))
            QCOMPARE(rowRecord(paraFormatFrom(b.blockFormat())), rowRecord(paraFormatFrom(a.blockFormat())));
    QCOMPARE(hasEffect(charAt(*back.doc, find(*back.doc, u"12"_qs)), CFE_BOLD), bold);
    QCOMPARE(qtFormatAt(*back.doc, find(*back.doc, u"katalog"_qs)).isAnchor(), link);
}

void RtfTablesTest::writesRowsForOtherReaders() {
    const Loaded l = load(rtf("\\pard Before\\par\\trowd\\trgaph108\\trleft-108\\trrh-400\\clbrdrt\\brdrs\\brdrw10\\cellx1000"
                              "\\clbrdrt\\brdrs\\brdrw10\\cellx2000\\pard\\intbl\\qc A1\\cell B1\\cell\\row"
                              "\\trowd\\cellx1000\\cellx2000\\pard\\intbl A2\\cell\\cell\\row"));
    QCOMPARE(rowsAndParagraphs(*l.doc), (QStringList{"Before", kRow + "A1\tB1", kRow + "A2\t"}));
    const QByteArray out = written(*l.doc);
    QVERIFY2(out.contains("Before\\par\r\n\\trowd\\trgaph108\\trleft-108\\trrh-400\\clbrdrt\\brdrs\\brdrw10\\cellx1000"
                          "\\clbrdrt\\brdrs\\brdrw10\\cellx2000\\pard\\intbl\\qc A1\\cell B1\\cell\\row\r\n"),
             out.constData());
    QVERIFY2(out.contains("\\trowd\\trgaph0\\trleft0\\cellx1000\\cellx2000\\pard\\intbl A2\\cell\\cell\\row\r\n}"), out.constData());

    // A row holding more cells than edges gets edges for all of them.
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("a\tb\tc"));
    PARAFORMAT2 pf;
    pf.dwMask = PFM_TABLE | PFM_TABSTOPS;
    pf.wEffects = PFE_TABLE;
    pf.cTabCount = 1;
    pf.rgxTabs[0] = 1000;
    QTextBlockFormat format = cursor.blockFormat();
    applyParaFormat(pf, format);
    cursor.setBlockFormat(format);
    const QByteArray synthesized = written(doc);
    QVERIFY2(synthesized.contains("\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl"), synthesized.constData());
    QVERIFY2(synthesized.contains(" a\\cell b\\cell c\\cell\\row"), synthesized.constData());
    // Even past the widest edge a row can hold, each cell gets an edge of its own.
    pf.rgxTabs[0] = 31680;
    applyParaFormat(pf, format);
    cursor.setBlockFormat(format);
    const QByteArray atTheEdge = written(doc);
    QVERIFY2(atTheEdge.contains("\\cellx31680\\cellx31681\\cellx31682\\pard\\intbl"), atTheEdge.constData());
}

void RtfTablesTest::writesPartOfARowAsARow() {
    const Loaded l = load(rtf("\\trowd\\trleft-100\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl A1\\cell B1\\cell C1\\cell\\row\\pard After\\par"));
    const QTextDocument& doc = *l.doc;
    const int b1 = find(doc, u"1\tC1"_qs) - 1;  // inside the second cell's text
    struct Case {
        int from, to;
        QStringList rows;
        QList<int> edges;
        int left;
    };
    const Case cases[] = {
        {b1 + 1, find(doc, u"After"_qs) + 2, {kRow + "1\tC1", "Af"}, {2000, 3000}, 1000},
        {1, b1 + 1, {kRow + "1\tB"}, {1000, 2000}, -100},
        {find(doc, u"C1"_qs), find(doc, u"C1"_qs) + 1, {kRow + "C"}, {3000}, 2000},
    };
    for (const Case& c : cases) {
        const Loaded part = load(written(doc, c.from, c.to));
        QCOMPARE(rowsAndParagraphs(*part.doc), c.rows);
        QCOMPARE(edgesOf(paraAt(*part.doc, 0)), c.edges);
        QCOMPARE(paraAt(*part.doc, 0).dxStartIndent, c.left);
    }
}

void RtfTablesTest::tabMovesBetweenCells() {
    auto e = enginetest::engineWithRtf(rtf("\\trowd\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl A1\\cell B1\\cell C1\\cell\\row\\pard After\\par"));
    QCOMPARE(enginetest::text(*e), QStringLiteral("A1\tB1\tC1\rAfter"));
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, key == Qt::Key_Tab ? QStringLiteral("\t") : QString());
        QApplication::sendEvent(e.get(), &event);
        return e->exGetSel();
    };
    e->setSel(1, 1);
    QCOMPARE(press(Qt::Key_Tab), (CHARRANGE{3, 3}));
    QCOMPARE(press(Qt::Key_Tab), (CHARRANGE{6, 6}));
    // The last cell: a new row of as many cells, the caret in its first; one undo takes it away.
    QCOMPARE(press(Qt::Key_Tab), (CHARRANGE{9, 9}));
    QCOMPARE(enginetest::text(*e), QStringLiteral("A1\tB1\tC1\r\t\t\rAfter"));
    QCOMPARE(rowRecord(paraAt(*e->document(), 1)), rowRecord(paraAt(*e->document(), 0)));
    e->undo();
    e->setSel(7, 8);                                  // a selection in the last cell
    QCOMPARE(press(Qt::Key_Backtab, Qt::ShiftModifier), (CHARRANGE{3, 3}));
    QCOMPARE(press(Qt::Key_Backtab, Qt::ShiftModifier), (CHARRANGE{0, 0}));
    QCOMPARE(press(Qt::Key_Backtab, Qt::ShiftModifier), (CHARRANGE{0, 0}));  // the first cell: nothing
    e->setSel(3, 3);                                                          // at a cell's start
    QCOMPARE(press(Qt::Key_Backtab, Qt::ShiftModifier), (CHARRANGE{0, 0}));
    QCOMPARE(enginetest::text(*e), QStringLiteral("A1\tB1\tC1\rAfter"));  // no tab typed anywhere
    e->setSel(12, 12);  // outside the table Tab is left to the focus chain, as before
    press(Qt::Key_Tab);
    QCOMPARE(e->exGetSel(), (CHARRANGE{12, 12}));
    QCOMPARE(enginetest::text(*e), QStringLiteral("A1\tB1\tC1\rAfter"));
}

// Enter in a cell starts a new line in it; at the end of a row that ends the document it leads out
// of the table into an ordinary paragraph.
void RtfTablesTest::enterInARow() {
    auto e = enginetest::engineWithRtf(rtf("\\trowd\\trgaph50\\cellx1000\\cellx2000\\pard\\intbl A1\\cell B1\\cell\\row\\pard After\\par"));
    const QTextDocument& doc = *e->document();
    const PARAFORMAT2 record = paraAt(doc, 0);
    e->setSel(4, 4);
    QTest::keyClick(e.get(), Qt::Key_Return);
    QCOMPARE(enginetest::text(*e), u"A1\tB\v1\rAfter"_qs);
    QCOMPARE(doc.blockCount(), 2);
    e->setSel(6, 6);  // the end of the row's last cell, text follows the table
    QTest::keyClick(e.get(), Qt::Key_Return);
    QCOMPARE(enginetest::text(*e), u"A1\tB\v1\v\rAfter"_qs);
    QCOMPARE(rowRecord(paraAt(doc, 0)), rowRecord(record));

    auto last = enginetest::engineWithRtf(rtf("\\trowd\\cellx1000\\cellx2000\\pard\\intbl A1\\cell B1\\cell\\row"));
    QCOMPARE(enginetest::text(*last), u"A1\tB1"_qs);
    last->setSel(5, 5);
    QTest::keyClick(last.get(), Qt::Key_Return);
    QTest::keyClicks(last.get(), u"Dale"_qs);
    QCOMPARE(enginetest::text(*last), u"A1\tB1\rDale"_qs);
    QVERIFY(isTableRow(last->document()->firstBlock().blockFormat()));
    QVERIFY(!isTableRow(last->document()->lastBlock().blockFormat()));
    QCOMPARE(paraAt(*last->document(), 1).cTabCount, 0);
}

QX_REGISTER_TEST(RtfTablesTest)
#include "tst_rtftables.moc"
