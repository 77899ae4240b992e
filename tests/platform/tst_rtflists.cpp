// List numbering through RTF: lists that restart, start at 5 and nest, as other word processors
// write them (tests/data/rtf/interop/lists-*.rtf from lists.html), small list-table and \pn
// inputs, hostile values, our writer, and Enter in a numbered paragraph.
#include "tests/platform/engine_fixture.h"
#include "tests/platform/tst_rtfsupport.h"
#include "tests/support/testregistry.h"

#include "platform/richedit/engine.h"
#include "platform/richedit/numbering.h"
#include "platform/richedit/rtf.h"

#include <QTest>
#include <QTextDocument>

using namespace richedit;
using namespace rtftest;

namespace {

struct Item {
    QString label;
    QString text;
    int depth;  // the nesting LibreOffice shows
};

// The numbered paragraphs of `doc`: the label we draw and the paragraph's text.
QList<Item> numberedItems(const QTextDocument& doc) {
    ParagraphNumbers numbers;
    numbers.update(doc, 0);
    QList<Item> items;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const ListParagraph p = listParagraphOf(b.blockFormat());
        if (p.numbering == PFN_NONE) continue;
        items.append({numberingLabel(p.numbering, p.style, numbers.at(b), p.start), b.text().trimmed(), 0});
    }
    return items;
}

// Every paragraph's label, '_' for paragraphs without one, separated by spaces.
QString labelLine(const QTextDocument& doc) {
    ParagraphNumbers numbers;
    numbers.update(doc, 0);
    QStringList labels;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const ListParagraph p = listParagraphOf(b.blockFormat());
        labels.append(p.numbering == PFN_NONE ? u"_"_qs : numberingLabel(p.numbering, p.style, numbers.at(b), p.start));
    }
    return labels.join(u' ');
}

int startIndentOf(const QTextDocument& doc, const QString& text) {
    return paraFormatFrom(doc.findBlock(find(doc, text)).blockFormat()).dxStartIndent;
}

// What LibreOffice 7.4 shows on lists.html as LibreOffice and pandoc (through ODT) write it.
QList<Item> libreOfficeItems(const QString& nestedFirst, const QString& nestedSecond) {
    return {{u"1."_qs, u"jablko"_qs, 0},        {u"2."_qs, u"hruška"_qs, 0},
            {u"3."_qs, u"švestka"_qs, 0},       {u"1."_qs, u"znovu od jedné"_qs, 0},
            {u"2."_qs, u"druhá položka"_qs, 0}, {u"5."_qs, u"pátá"_qs, 0},
            {u"6."_qs, u"šestá"_qs, 0},         {u"1."_qs, u"vnější jedna"_qs, 0},
            {u"a."_qs, u"vnitřní a"_qs, 1},     {u"b."_qs, u"vnitřní b"_qs, 1},
            {u"2."_qs, u"vnější dvě"_qs, 0},    {nestedFirst, u"kroužek první"_qs, 1},
            {nestedSecond, u"kroužek druhý"_qs, 1}, {u"3."_qs, u"vnější tři"_qs, 0},
            {u"a."_qs, u"znovu a"_qs, 1},       {u"4."_qs, u"vnější čtyři"_qs, 0}};
}

}  // namespace

Q_DECLARE_METATYPE(QList<Item>)

class TestRtfLists : public QObject {
    Q_OBJECT
private slots:
    void fixtures_data();
    void fixtures();
    void readsLists_data();
    void readsLists();
    void writesLists_data();
    void writesLists();
    void hostileListsAreBounded_data();
    void hostileListsAreBounded();
    void numbersFollowEdits();
    void enterContinuesTheList();
    void numberingCommandNumbersTheSelection();
    void indentsGivenAsNoneStayNone();
};

void TestRtfLists::fixtures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<Item>>("expected");
    QTest::addColumn<bool>("numbersAreText");  // the writer put the numbers into the text

    QTest::newRow("LibreOffice 7.4") << u"lists-libreoffice.rtf"_qs << libreOfficeItems(u"a."_qs, u"b."_qs) << false;
    QTest::newRow("LibreOffice 7.4 from ODT")
        << u"lists-libreoffice-odt.rtf"_qs << libreOfficeItems(u"◦"_qs, u"◦"_qs) << false;
    // AbiWord loses the start at 5 and writes "1.1." for the nested levels; the records hold one
    // number per paragraph, so a nested item shows its own number: "1." for "1.1.".
    QList<Item> abiword = libreOfficeItems(u"1."_qs, u"2."_qs);
    abiword[5].label = u"1."_qs;
    abiword[6].label = u"2."_qs;
    abiword[8].label = u"1."_qs;   // LibreOffice: 1.1.
    abiword[9].label = u"2."_qs;   // 1.2.
    abiword[14].label = u"1."_qs;  // 3.1.
    QTest::newRow("AbiWord 3.0") << u"lists-abiword.rtf"_qs << abiword << false;
    QList<Item> pandoc = libreOfficeItems(u"–"_qs, u"–"_qs);
    QTest::newRow("pandoc 2.17") << u"lists-pandoc.rtf"_qs << pandoc << true;
}

void TestRtfLists::fixtures() {
    QFETCH(QString, file);
    QFETCH(QList<Item>, expected);
    QFETCH(bool, numbersAreText);
    const Loaded original = load(readFile(QStringLiteral(QX_TEST_DATA_DIR "/rtf/interop/") + file));
    QVERIFY(original.result.ok);
    const Loaded again = load(writeRtf(*original.doc, 0, -1, RtfObjects::Include));
    QVERIFY(again.result.ok);

    for (const Loaded* l : {&original, &again}) {
        const QTextDocument& doc = *l->doc;
        if (numbersAreText) {
            // pandoc writes "1.\tjablko" as text: the text keeps it, nothing numbers it twice.
            QVERIFY(numberedItems(doc).isEmpty());
            for (const Item& item : expected)
                QVERIFY2(find(doc, item.label + u'\t' + item.text) >= 0, qPrintable(item.text));
            continue;
        }
        const QList<Item> items = numberedItems(doc);
        QCOMPARE(items.size(), expected.size());
        int outerIndent = 0;
        for (qsizetype i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i].text, expected[i].text);
            QCOMPARE(items[i].label, expected[i].label);
            // A nested item sits deeper than the item it belongs to.
            const int indent = startIndentOf(doc, items[i].text);
            if (expected[i].depth == 0) outerIndent = indent;
            else QVERIFY2(indent > outerIndent, qPrintable(items[i].text));
        }
        QCOMPARE(int(paraFormatFrom(doc.findBlock(find(doc, u"Konec."_qs)).blockFormat()).wNumbering), int(PFN_NONE));
    }
    // The fallback numbers of our own file are not shown as text beside the real ones.
    QCOMPARE(paragraphs(*again.doc), paragraphs(*original.doc));
}

void TestRtfLists::readsLists_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("labels");

    // Lists 1 and 2 number "1." with nested "a)"; list 3 starts at 5 and its level 1 does not
    // restart; list 4 has no levels; list 5 has hostile starts; list 6 bullets.
    const QByteArray tables =
        "{\\*\\listtable"
        "{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}\\fi-360\\li720}"
        "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'02\\'01);}\\fi-360\\li1440}\\listid1}"
        "{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}}"
        "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'02\\'01);}}\\listid2}"
        "{\\list{\\listlevel\\levelnfc0\\levelstartat5{\\leveltext\\'02\\'00.;}\\fi-360\\li720}"
        "{\\listlevel\\levelnfc4\\levelnorestart{\\leveltext\\'02\\'01);}\\fi-360\\li1440}\\listid3}"
        "{\\list\\listid4}"
        "{\\list{\\listlevel\\levelnfc0\\levelstartat-5{\\leveltext\\'02\\'00.;}}"
        "{\\listlevel\\levelnfc0\\levelstartat99999{\\leveltext\\'02\\'01.;}\\li1440}\\listid5}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u9702 ?;}\\fi-360\\li720}"
        "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}\\fi-360\\li1440}"
        "{\\listlevel\\levelnfc23{\\leveltext\\'01\\endash;}\\fi-360\\li2160}\\listid6}"
        "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'04\\'00.\\'01.;}\\fi-360\\li720}"
        "{\\listlevel\\levelnfc0{\\leveltext\\'04\\'00.\\'01.;}\\fi-360\\li1440}\\listid7}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}{\\listoverride\\listid1\\ls2}"
        "{\\listoverride\\listid2\\ls3}{\\listoverride\\listid3\\ls4}{\\listoverride\\listid4\\ls5}"
        "{\\listoverride\\listid5\\ls6}{\\listoverride\\listid6\\ls7}{\\listoverride\\listid99\\ls8}"
        "{\\listoverride\\listid1\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat7}\\ls9}"
        "{\\listoverride\\listid7\\ls10}{\\listoverride\\listid2\\ls11}{\\listoverride\\listid2\\ls11}}";
    auto doc = [&tables](const char* paragraphs) {
        return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}" + tables + "\\pard " + QByteArray(paragraphs) + "}";
    };
    QTest::newRow("two lists, one after the other")
        << doc("\\ls1 a\\par b\\par\\ls3 c\\par d\\par") << u"1. 2. 1. 2."_qs;
    QTest::newRow("another \\ls of the same list counts on")
        << doc("\\ls1 a\\par b\\par\\ls2 c\\par") << u"1. 2. 3."_qs;
    QTest::newRow("a list goes on after a paragraph between")
        << doc("\\ls1 a\\par\\pard b\\par\\ls1 c\\par") << u"1. _ 2."_qs;
    QTest::newRow("start at 5") << doc("\\ls4 a\\par b\\par\\pard c\\par") << u"5. 6. _"_qs;
    QTest::newRow("override restarts at 7")
        << doc("\\ls1 a\\par b\\par\\ls9 c\\par d\\par") << u"1. 2. 7. 8."_qs;
    QTest::newRow("nested level restarts after an outer item")
        << doc("\\ls1 a\\par\\ilvl1 b\\par c\\par\\ilvl0 d\\par\\ilvl1 e\\par") << u"1. a) b) 2. a)"_qs;
    QTest::newRow("nested level without restart")
        << doc("\\ls4 a\\par\\ilvl1 b\\par\\ilvl0 c\\par\\ilvl1 d\\par") << u"5. a) 6. b)"_qs;
    QTest::newRow("nested level without indents in the file")
        << doc("\\ls3 a\\par\\ilvl1 b\\par\\ilvl0 c\\par") << u"1. a) 2."_qs;
    QTest::newRow("bullets keep their character")
        << doc("\\ls7 a\\par\\ilvl1 b\\par\\ilvl2 c\\par") << u"◦ • –"_qs;
    QTest::newRow("multi-level text shows the level's own number")
        << doc("\\ls10 a\\par\\ilvl1 b\\par c\\par\\ilvl0 d\\par") << u"1. 1. 2. 2."_qs;
    QTest::newRow("\\ls with a list without levels")
        << doc("{\\listtext 1.\\tab}\\ls5 a\\par") << u"_"_qs;
    QTest::newRow("\\ls of a missing list") << doc("{\\listtext 1.\\tab}\\ls8 a\\par") << u"_"_qs;
    QTest::newRow("\\ls without any table")
        << QByteArray("{\\rtf1\\ansi\\pard{\\listtext 3.\\tab}\\ls1\\ilvl1 a\\par}") << u"_"_qs;
    QTest::newRow("\\ilvl 100 is the last level")
        << doc("\\ls1 a\\par\\ilvl100 b\\par") << u"1. a)"_qs;
    QTest::newRow("negative and huge starts") << doc("\\ls6 a\\par\\ilvl1 b\\par") << u"0. 65535."_qs;
    QTest::newRow("an override given twice") << doc("\\ls11 a\\par b\\par") << u"1. 2."_qs;
    QTest::newRow("\\pn: a new \\pnstart restarts")
        << doc("{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}a\\par b\\par"
               "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart4{\\pntxta .}}c\\par d\\par")
        << u"1. 2. 4. 5."_qs;
    QTest::newRow("\\pn: a paragraph between ends the list")
        << doc("{\\*\\pn\\pnlvlbody\\pndec{\\pntxta )}}a\\par\\pard b\\par"
               "{\\*\\pn\\pnlvlbody\\pndec{\\pntxta )}}c\\par")
        << u"1) _ 1)"_qs;
    QTest::newRow("\\pn: levels nest by indent")
        << doc("{\\*\\pn\\pnlvl1\\pndec{\\pntxta .}}\\li360 a\\par"
               "\\pard{\\*\\pn\\pnlvl2\\pnlcltr{\\pntxta )}}\\li720 b\\par c\\par"
               "\\pard{\\*\\pn\\pnlvl1\\pndec{\\pntxta .}}\\li360 d\\par"
               "\\pard{\\*\\pn\\pnlvl2\\pnlcltr{\\pntxta )}}\\li720 e\\par")
        << u"1. a) b) 2. a)"_qs;
}

void TestRtfLists::readsLists() {
    QFETCH(QByteArray, body);
    QFETCH(QString, labels);
    const Loaded l = load(body);
    QVERIFY(l.result.ok);
    QCOMPARE(labelLine(*l.doc), labels);
    // What we read, we write and read back with the same numbers.
    const Loaded again = load(writeRtf(*l.doc, 0, -1, RtfObjects::Include));
    QCOMPARE(labelLine(*again.doc), labels);
    QCOMPARE(paragraphs(*again.doc), paragraphs(*l.doc));
}

void TestRtfLists::writesLists_data() {
    // Per paragraph: the kind digit, "!" for a restart, the start, "@" and the start indent; "-" for none.
    QTest::addColumn<QString>("items");
    QTest::addColumn<QString>("labels");

    QTest::newRow("a restart in the middle of a list") << u"2!1@0 2@0 2!1@0 2@0"_qs << u"1. 2. 1. 2."_qs;
    QTest::newRow("starts at 5 after a paragraph") << u"2!1@0 - 2!5@0 2@0"_qs << u"1. _ 5. 6."_qs;
    QTest::newRow("nested levels with their own starts")
        << u"2!1@0 3!1@360 3@360 2@0 3!3@360 2@0"_qs << u"1. a. b. 2. c. 3."_qs;
    QTest::newRow("a nested list restarting without an outer item")
        << u"2!1@0 3!1@360 3!1@360 3@360"_qs << u"1. a. a. b."_qs;
    QTest::newRow("bullets and other kinds at one indent")
        << u"1!9702@0 19702@0 2!1@0 1!45@0 4!2@0"_qs << u"◦ ◦ 1. - B."_qs;
    QTest::newRow("deeper than nine levels")
        << u"2!1@0 2!1@100 2!1@200 2!1@300 2!1@400 2!1@500 2!1@600 2!1@700 2!1@800 2!1@900 2@900 2@0"_qs
        << u"1. 1. 1. 1. 1. 1. 1. 1. 1. 1. 2. 2."_qs;
    QTest::newRow("a nested paragraph without number inside a list")
        << u"2!1@0 -@360 2@0"_qs << u"1. _ 2."_qs;
}

void TestRtfLists::writesLists() {
    QFETCH(QString, items);
    QFETCH(QString, labels);
    QTextDocument doc;
    QTextCursor cursor(&doc);
    const QStringList parts = items.split(u' ');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) cursor.insertBlock();
        PARAFORMAT2 pf;
        pf.dwMask = PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE | PFM_STARTINDENT | PFM_OFFSET;
        const QString& p = parts[i];
        const qsizetype at = p.indexOf(u'@');
        pf.dxStartIndent = at >= 0 ? p.mid(at + 1).toInt() : 0;
        pf.dxOffset = 300;
        if (!p.startsWith(u'-')) {
            pf.wNumbering = std::uint16_t(p.left(1).toInt());
            const bool restart = p.mid(1, 1) == u"!";
            pf.wNumberingStart = std::uint16_t(p.mid(restart ? 2 : 1, at - (restart ? 2 : 1)).toInt());
            pf.wNumberingStyle = PFNS_PERIOD | (restart ? PFNS_NEWNUMBER : 0);
        }
        QTextBlockFormat f = cursor.blockFormat();
        applyParaFormat(pf, f);
        cursor.setBlockFormat(f);
        cursor.insertText(QStringLiteral("p%1").arg(i));
    }
    QCOMPARE(labelLine(doc), labels);
    const QByteArray rtf = writeRtf(doc, 0, -1, RtfObjects::Include);
    QVERIFY(rtf.contains("{\\*\\listtable") && rtf.contains("{\\*\\listoverridetable"));
    const Loaded back = load(rtf);
    QCOMPARE(paragraphs(*back.doc), paragraphs(doc));
    QCOMPARE(labelLine(*back.doc), labels);
    for (int b = 0; b < doc.blockCount(); ++b) {
        QCOMPARE(int(paraAt(*back.doc, b).wNumbering), int(paraAt(doc, b).wNumbering));
        QCOMPARE(int(paraAt(*back.doc, b).dxStartIndent), int(paraAt(doc, b).dxStartIndent));
    }
    // A selection that starts inside a list is written with the numbers it shows.
    const int from = doc.findBlockByNumber(int(parts.size()) - 1).position();
    const Loaded tail = load(writeRtf(doc, from, -1, RtfObjects::Include));
    QCOMPARE(labelLine(*tail.doc), labels.split(u' ').last());
}

void TestRtfLists::hostileListsAreBounded_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("paragraphCount");
    QByteArray many("{\\rtf1{\\*\\listtable");
    for (int i = 0; i < 6000; ++i)
        many += "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid" + QByteArray::number(i) + '}';
    many += "}{\\*\\listoverridetable";
    for (int i = 0; i < 6000; ++i)
        many += "{\\listoverride\\listid" + QByteArray::number(i) + "\\ls" + QByteArray::number(i + 1) + '}';
    many += '}';
    for (int i = 0; i < 3000; ++i) many += "\\pard\\ls" + QByteArray::number(i % 5000 + 1) + "\\ilvl" + QByteArray::number(i % 12) + " x\\par";
    QTest::newRow("thousands of lists and overrides") << many + '}' << 3000;
    QByteArray deep("{\\rtf1");
    for (int i = 0; i < 3000; ++i)
        deep += "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart" + QByteArray::number(i) + "}\\li" + QByteArray::number(i * 7) + " y\\par";
    QTest::newRow("thousands of ever deeper lists") << deep + '}' << 3000;
    QTest::newRow("items shown otherwise than their level")
        << QByteArray("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4{\\leveltext\\'01\\'00;}}\\listid1}}"
                      "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1 a\\par"
                      "\\pard{\\*\\pn\\pnlvlbody\\pnlcltr{\\pntxta )}}\\ls1 b\\par\\pard{\\pn\\pnlvlblt{\\pntxtb o}}\\ls1 c\\par}")
        << 3;
    QTest::newRow("list words out of place")
        << QByteArray("{\\rtf1 {\\lfolevel\\listoverridestartat\\levelstartat3}\\levelnorestart\\listid5\\ls-7\\ilvl-3 a\\par"
                      "{\\*\\listoverridetable{\\listoverride{\\lfolevel{\\lfolevel\\levelstartat-9}}\\ls2}}"
                      "{\\*\\listtable{\\list{\\listlevel{\\listlevel\\levelstartat4}}\\listid0}}\\ls2\\ilvl8 b\\par}")
        << 2;
}

void TestRtfLists::hostileListsAreBounded() {
    QFETCH(QByteArray, rtf);
    QFETCH(int, paragraphCount);
    const Loaded l = load(rtf);
    QVERIFY(l.result.ok);
    QCOMPARE(l.doc->blockCount(), paragraphCount);
    const Loaded again = load(writeRtf(*l.doc, 0, -1, RtfObjects::Include));
    QCOMPARE(paragraphs(*again.doc), paragraphs(*l.doc));
    QCOMPARE(labelLine(*again.doc), labelLine(*l.doc));
}

// The numbers kept for drawing, counted again only from where a change was, equal a full count.
void TestRtfLists::numbersFollowEdits() {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    PARAFORMAT2 pf;
    pf.dwMask = PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE | PFM_STARTINDENT;
    pf.wNumbering = PFN_ARABIC;
    pf.wNumberingStart = 1;
    for (int i = 0; i < 1000; ++i) {
        if (i > 0) cursor.insertBlock();
        pf.dxStartIndent = (i % 7 == 3) ? 360 : 0;  // some nested paragraphs
        QTextBlockFormat f;
        applyParaFormat(pf, f);
        cursor.setBlockFormat(f);
        cursor.insertText(u"x"_qs);
    }
    ParagraphNumbers kept;
    int revision = 0;
    kept.update(doc, ++revision);
    auto check = [&](int changedFrom) {
        kept.update(doc, ++revision, changedFrom);
        ParagraphNumbers fresh;
        fresh.update(doc, 0);
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) QCOMPARE(kept.at(b), fresh.at(b));
    };
    QCOMPARE(kept.at(doc.lastBlock()), paragraphNumber(doc.lastBlock()));
    // A restart far down the document.
    QTextCursor c(doc.findBlockByNumber(700));
    PARAFORMAT2 restart;
    restart.dwMask = PFM_NUMBERINGSTYLE | PFM_NUMBERINGSTART;
    restart.wNumberingStyle = PFNS_NEWNUMBER;
    restart.wNumberingStart = 40;
    QTextBlockFormat f = c.blockFormat();
    applyParaFormat(restart, f);
    c.setBlockFormat(f);
    check(c.position());
    QCOMPARE(kept.at(doc.lastBlock()), paragraphNumber(doc.lastBlock()));
    // Paragraphs removed and added before it.
    c.setPosition(doc.findBlockByNumber(300).position());
    c.setPosition(doc.findBlockByNumber(520).position(), QTextCursor::KeepAnchor);
    const int removedAt = c.position();
    c.removeSelectedText();
    check(std::min(removedAt, c.position()));
    c.insertBlock();
    check(c.position() - 1);
}

void TestRtfLists::enterContinuesTheList() {
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\li360 one\\par two\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart7{\\pntxta .}}\\li360 seven\\par}";
    auto e = enginetest::engineWithRtf(rtf);
    const QTextDocument& doc = *e->document();
    QCOMPARE(labelLine(doc), u"1. 2. 7."_qs);

    // Enter at the end of "seven", which starts a list: the new paragraph continues it.
    const int seven = enginetest::text(*e).indexOf(u"seven");
    e->setSel(seven + 5, seven + 5);
    QTest::keyClick(e->viewport(), Qt::Key_Return);
    QCOMPARE(labelLine(doc), u"1. 2. 7. 8."_qs);
    // Enter at its start: the empty paragraph before keeps the start, the text moves on to 8.
    e->setSel(seven, seven);
    QTest::keyClick(e->viewport(), Qt::Key_Return);
    QCOMPARE(labelLine(doc), u"1. 2. 7. 8. 9."_qs);
    QCOMPARE(doc.findBlockByNumber(2).text(), QString());
    QVERIFY(paraAt(doc, 2).wNumberingStyle & PFNS_NEWNUMBER);
    QVERIFY(!(paraAt(doc, 3).wNumberingStyle & PFNS_NEWNUMBER));

    // Pasting RTF that starts a list keeps its start.
    const int end = e->getTextLength();
    e->setSel(end, end);
    QTest::keyClick(e->viewport(), Qt::Key_Return);
    richedit::EDITSTREAM stream = enginetest::streamFrom(
        "{\\rtf1\\ansi{\\*\\pn\\pnlvlbody\\pndec\\pnstart3{\\pntxta .}}\\li360 three\\par four\\par}");
    e->streamIn(richedit::SF_RTF | richedit::SFF_SELECTION, stream);
    QVERIFY2(labelLine(doc).startsWith(u"1. 2. 7. 8. 9. 3. 4."_qs), qPrintable(labelLine(doc)));
}

void TestRtfLists::numberingCommandNumbersTheSelection() {
    // A list read from a file, with its own restarts and starts; the numbering command writes
    // kind, start 1 and style, one record after the other, on all of it.
    const QByteArray rtf =
        "{\\rtf1\\ansi{\\*\\pn\\pnlvlbody\\pndec\\pnstart5{\\pntxta .}}\\li360 a\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\li360 b\\par"
        "\\pard\\li360 c\\par}";
    auto e = enginetest::engineWithRtf(rtf);
    QCOMPARE(labelLine(*e->document()), u"5. 1. _"_qs);
    e->setSel(0, -1);
    PARAFORMAT2 pf = enginetest::paraFormat(PFM_NUMBERING);
    pf.wNumbering = PFN_ARABIC;
    e->setParaFormat(pf);
    pf = enginetest::paraFormat(PFM_NUMBERINGSTART);
    pf.wNumberingStart = 1;
    e->setParaFormat(pf);
    pf = enginetest::paraFormat(PFM_NUMBERINGSTYLE);
    pf.wNumberingStyle = PFNS_PERIOD;
    e->setParaFormat(pf);
    QCOMPARE(labelLine(*e->document()), u"1. 2. 3."_qs);
}

// A list level's indents stand for a paragraph's own only when it gives none; one that says 0 keeps 0,
// and the writer says 0 so that the next reading keeps it.
void TestRtfLists::indentsGivenAsNoneStayNone() {
    const QByteArray rtf = "{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
                           "\\fi-360\\li720}\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                           "\\pard\\ls1\\ilvl0 own\\par\\pard\\ls1\\ilvl0\\fi0\\li0 none\\par}";
    auto indents = [](const QTextDocument& doc) {
        QList<int> all;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) all << paraFormatFrom(b.blockFormat()).dxStartIndent;
        return all;
    };
    const Loaded l = load(rtf);
    QCOMPARE(indents(*l.doc), (QList<int>{360, 0}));
    const Loaded back = load(writeRtf(*l.doc, 0, -1, RtfObjects::Include));
    QCOMPARE(indents(*back.doc), (QList<int>{360, 0}));
}

QX_REGISTER_TEST(TestRtfLists)
#include "tst_rtflists.moc"
