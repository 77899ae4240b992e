// RTF written by other word processors from one source document (tests/data/rtf/interop/source.html,
// converted by tests/interop/make-fixtures.sh): we read their text, formatting, lists, links,
// tables and pictures.
#include "tests/platform/tst_rtfsupport.h"
#include "tests/support/testregistry.h"

#include <QTest>

using namespace richedit;
using namespace rtftest;

class TestRtfInterop : public QObject {
    Q_OBJECT

private slots:
    void readsOtherWordProcessors_data();
    void readsOtherWordProcessors();
};

void TestRtfInterop::readsOtherWordProcessors_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("keepsLayout");     // colours, faces, sizes, alignment and indents survive
    QTest::addColumn<bool>("realNumbering");   // lists are numbering, not text
    QTest::addColumn<QString>("pictureLine");
    const QString pictures = u"Obrázek PNG: \uFFFC a JPEG: \uFFFC"_qs;
    QTest::newRow("LibreOffice 7.4") << u"libreoffice.rtf"_qs << true << true << pictures;
    // AbiWord's own HTML import drops the space after the first picture.
    QTest::newRow("AbiWord 3.0") << u"abiword.rtf"_qs << true << true << u"Obrázek PNG: \uFFFCa JPEG: \uFFFC"_qs;
    QTest::newRow("pandoc 2.17") << u"pandoc.rtf"_qs << false << false << pictures;
}

void TestRtfInterop::readsOtherWordProcessors() {
    QFETCH(QString, file);
    QFETCH(bool, keepsLayout);
    QFETCH(bool, realNumbering);
    QFETCH(QString, pictureLine);
    const QString dir = QStringLiteral(QX_TEST_DATA_DIR "/rtf/interop/");
    const Loaded l = load(readFile(dir + file));
    QVERIFY(l.result.ok);
    const QTextDocument& doc = *l.doc;

    // The text, in order, with the lists and the table as the source has them.
    const QStringList bullets = realNumbering ? QStringList{u"první odrážka"_qs, u"druhá odrážka"_qs}
                                              : QStringList{u"•\tprvní odrážka"_qs, u"•\tdruhá odrážka"_qs};
    const QStringList numbers = realNumbering ? QStringList{u"jedna"_qs, u"dvě"_qs, u"tři"_qs}
                                              : QStringList{u"1.\tjedna"_qs, u"2.\tdvě"_qs, u"3.\ttři"_qs};
    const QStringList expected = QStringList{u"Příliš žluťoučký kůň"_qs,
                                             u"Obyčejný odstavec s tučným, kurzívou, podtrženým a červeným textem."_qs,
                                             u"Písmo Courier 16 bodů a Times."_qs,
                                             u"Vystředěný odstavec úpěl ďábelské ódy."_qs}
                                 << u"Do bloku zarovnaný odstavec, který je dost dlouhý na to, aby se zalomil do více "
                                    "řádků: Příliš žluťoučký kůň úpěl ďábelské ódy. Příliš žluťoučký kůň úpěl ďábelské "
                                    "ódy."_qs
                                 << u"Odsazený odstavec zleva o dva centimetry."_qs << bullets << numbers
                                 << u"Odkaz na příklad v textu."_qs << u"A1\tB1"_qs << u"A2\tB2"_qs << pictureLine
                                 << u"Konec."_qs;
    QStringList text = paragraphs(doc);
    text.removeAll(QString());  // producers differ in the empty paragraphs they add
    const qsizetype start = text.indexOf(expected.front());
    QVERIFY2(start >= 0, qPrintable(text.join(u'|')));
    QCOMPARE(text.mid(start, expected.size()), expected);

    // Character formatting.
    QVERIFY(hasEffect(charAt(doc, find(doc, u"tučným"_qs)), CFE_BOLD));
    QVERIFY(!hasEffect(charAt(doc, find(doc, u"Obyčejný"_qs)), CFE_BOLD));
    QVERIFY(hasEffect(charAt(doc, find(doc, u"kurzívou"_qs)), CFE_ITALIC));
    QVERIFY(hasEffect(charAt(doc, find(doc, u"podtrženým"_qs)), CFE_UNDERLINE));
    QVERIFY(hasEffect(charAt(doc, find(doc, u"Příliš žluťoučký kůň"_qs)), CFE_BOLD));
    if (keepsLayout) {
        const CHARFORMAT2 red = charAt(doc, find(doc, u"červeným"_qs));
        QVERIFY(!hasEffect(red, CFE_AUTOCOLOR));
        QCOMPARE(int(red.crTextColor), 0x0000FF);
        const CHARFORMAT2 courier = charAt(doc, find(doc, u"Písmo Courier"_qs));
        QCOMPARE(faceName(courier), u"Courier New"_qs);
        QCOMPARE(int(courier.yHeight), 320);
        QCOMPARE(faceName(charAt(doc, find(doc, u"Times."_qs))), u"Times New Roman"_qs);
    }

    // Paragraph formatting and lists.
    auto paragraphOf = [&doc](const QString& s) { return paraFormatFrom(doc.findBlock(find(doc, s)).blockFormat()); };
    if (keepsLayout) {
        QCOMPARE(int(paragraphOf(u"Vystředěný"_qs).wAlignment), int(PFA_CENTER));
        QCOMPARE(int(paragraphOf(u"Do bloku"_qs).wAlignment), int(PFA_JUSTIFY));
        const PARAFORMAT2 indented = paragraphOf(u"Odsazený"_qs);
        QVERIFY(qAbs(indented.dxStartIndent + indented.dxOffset - 1134) <= 2);  // 2 cm
    }
    QCOMPARE(int(paragraphOf(u"Obyčejný"_qs).wAlignment), int(PFA_LEFT));
    if (realNumbering) {
        for (const char16_t* item : {u"první odrážka", u"druhá odrážka"})
            QCOMPARE(int(paragraphOf(QString::fromUtf16(item)).wNumbering), int(PFN_BULLET));
        for (const char16_t* item : {u"jedna", u"dvě", u"tři"}) {
            const PARAFORMAT2 pf = paragraphOf(QString::fromUtf16(item));
            QCOMPARE(int(pf.wNumbering), int(PFN_ARABIC));
            QCOMPARE(int(pf.wNumberingStyle & 0x0F00), int(PFNS_PERIOD));
        }
    }
    QCOMPARE(int(paragraphOf(u"Konec."_qs).wNumbering), int(PFN_NONE));
    for (const char16_t* row : {u"A1\tB1", u"A2\tB2"})
        QVERIFY(paragraphOf(QString::fromUtf16(row)).wEffects & PFE_TABLE);
    QVERIFY(!(paragraphOf(u"Konec."_qs).wEffects & PFE_TABLE));

    // The link, and nothing else is one.
    const QTextCharFormat link = qtFormatAt(doc, find(doc, u"příklad"_qs));
    QVERIFY(link.isAnchor());
    QCOMPARE(link.anchorHref(), u"http://www.example.cz/stranka"_qs);
    QVERIFY(!qtFormatAt(doc, find(doc, u"Odkaz na"_qs)).isAnchor());
    QVERIFY(!qtFormatAt(doc, find(doc, u" v textu"_qs)).isAnchor());

    // The pictures, byte for byte as the source had them.
    const QList<Picture> pics = picturesIn(doc);
    QCOMPARE(pics.size(), 2);
    QCOMPARE(pics[0].format, u"png"_qs);
    QCOMPARE(pics[0].data, readFile(dir + u"pic.png"_qs));
    QCOMPARE(pics[1].format, u"jpeg"_qs);
    QCOMPARE(pics[1].data, readFile(dir + u"pic.jpg"_qs));
    // 12 x 8 and 16 x 10 pixels at 96 dpi, as each program sizes them (within 2 pixels).
    QVERIFY(qAbs(pics[0].widthTwips - 180) <= 60 && qAbs(pics[0].heightTwips - 120) <= 40);
    QVERIFY(qAbs(pics[1].widthTwips - 240) <= 80 && qAbs(pics[1].heightTwips - 150) <= 50);
}

QX_REGISTER_TEST(TestRtfInterop)
#include "tst_rtfinterop.moc"
