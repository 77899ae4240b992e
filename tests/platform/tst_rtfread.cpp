// Reading RTF as other programs write it: text, code pages, Unicode, destinations, tables, lists,
// fields, pictures, and malformed input.
#include "tests/platform/tst_rtfsupport.h"
#include "tests/support/testregistry.h"

#include "platform/richedit/rtf.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>

using namespace richedit;
using namespace rtftest;

namespace {

QByteArray pngBytes(int w, int h, QColor color) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray pict(const char* blip, const QByteArray& data, const QByteArray& extra = {}) {
    return "{\\pict\\" + QByteArray(blip) + extra + ' ' + data.toHex() + '}';
}

const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}"
                           "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fcharset2 Symbol;}}"
                           "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

// A list table with a numbered level (1., 2., ...), a bullet level and a lettered level from c).
const QByteArray kLists =
    "{\\*\\listtable{\\list\\listtemplateid1"
    "{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}\\fi-360\\li720}"
    "{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\fi-360\\li1440}"
    "{\\listlevel\\levelnfc4\\levelstartat3{\\leveltext\\'02\\'02);}{\\levelnumbers\\'01;}}"
    "\\listid42}}{\\*\\listoverridetable{\\listoverride\\listid42\\listoverridecount0\\ls1}}";

}  // namespace

class TestRtfRead : public QObject {
    Q_OBJECT

private slots:
    void readsText_data();
    void readsText();
    void characterFormatting_data();
    void characterFormatting();
    void paragraphFormatting_data();
    void paragraphFormatting();
    void styleSheetAppliesStyles();
    void oldStyleNumbering_data();
    void oldStyleNumbering();
    void listTableNumberingWithoutDoubledNumbers();
    void hyperlinks_data();
    void hyperlinks();
    void pictures_data();
    void pictures();
    void pictureSizes();
    void shppictAndNonshppictGiveOnePicture_data();
    void shppictAndNonshppictGiveOnePicture();
    void insertsIntoExistingText();
    void rejectsWhatIsNotRtf_data();
    void rejectsWhatIsNotRtf();
    void truncatedFileLoadsWhatItHolds();
    void malformedInputIsBounded_data();
    void malformedInputIsBounded();
    void recordedCrashesStayFixed();
};

void TestRtfRead::readsText_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");  // paragraphs joined by '|'

    QTest::newRow("plain") << QByteArray("{\\rtf1 Hello}") << u"Hello"_qs;
    QTest::newRow("final mark ends the last paragraph") << QByteArray("{\\rtf1 A\\par}") << u"A"_qs;
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 A\\par B\\par}") << u"A|B"_qs;
    QTest::newRow("empty paragraph kept") << QByteArray("{\\rtf1 A\\par\\par}") << u"A|"_qs;
    QTest::newRow("ansicpg 1250") << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \\'e8\\'ed\\'9a\\'f9}") << u"číšů"_qs;
    QTest::newRow("charset per font")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset238 A;}{\\f1\\fcharset204 B;}"
                      "{\\f2\\fcharset161 C;}{\\f3\\fcharset0 D;}{\\f4\\fcharset162 E;}{\\f5\\fcharset186 F;}}"
                      "\\'e8{\\f1\\'c0}{\\f2\\'c1}{\\f3\\'e8}{\\f4\\'fe}{\\f5\\'e0}}")
        << u"čАΑèşą"_qs;
    QTest::newRow("default charset follows ansicpg")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset1 A;}}\\'c0}") << u"А"_qs;
    QTest::newRow("cpg in the font table")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\cpg1250 A;}}\\'9e}") << u"ž"_qs;
    QTest::newRow("raw 8-bit text in the font's code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \xe8\xed}") << u"čí"_qs;
    QTest::newRow("double-byte code page")
        << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\'82\\'a0\\'82\\'a2}") << u"あい"_qs;
    QTest::newRow("unicode with one fallback") << QByteArray("{\\rtf1 \\u269?x}") << u"čx"_qs;
    QTest::newRow("negative unicode") << QByteArray("{\\rtf1 \\u-24576?x}") << u"\uA000x"_qs;
    QTest::newRow("uc2 skips two fallback bytes") << QByteArray("{\\rtf1 \\uc2\\u269\\'63\\'63x}") << u"čx"_qs;
    QTest::newRow("uc0 skips nothing") << QByteArray("{\\rtf1 \\uc0\\u269 x}") << u"čx"_qs;
    QTest::newRow("fallback in text counts bytes") << QByteArray("{\\rtf1 \\uc3\\u269 abcd}") << u"čd"_qs;
    QTest::newRow("uc is scoped to its group") << QByteArray("{\\rtf1 {\\uc2\\u269 ab}\\u269 cd}") << u"ččd"_qs;
    QTest::newRow("group end stops the skipping") << QByteArray("{\\rtf1 {\\uc5\\u269 a}b}") << u"čb"_qs;
    QTest::newRow("surrogate pair") << QByteArray("{\\rtf1 \\u-10179?\\u-8704?}") << u"😀"_qs;
    QTest::newRow("lone high surrogate") << QByteArray("{\\rtf1 \\u-10179?x}") << u"\uFFFDx"_qs;
    QTest::newRow("lone low surrogate") << QByteArray("{\\rtf1 \\u-8704?x}") << u"\uFFFDx"_qs;
    QTest::newRow("out-of-range unicode") << QByteArray("{\\rtf1 \\u70000?x}") << u"\uFFFDx"_qs;
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~\\-\\_}")
        << u"—–•‘’“”\u00A0\u00AD\u2011"_qs;
    QTest::newRow("escaped symbols") << QByteArray("{\\rtf1 \\\\\\{\\}}") << u"\\{}"_qs;
    QTest::newRow("tab and line break") << QByteArray("{\\rtf1 a\\tab b\\line c}") << u"a\tb\u2028c"_qs;
    QTest::newRow("table cells become tabs")
        << QByteArray("{\\rtf1 \\trowd\\cellx1000\\cellx2000\\pard\\intbl A\\cell B\\cell\\row"
                      "\\trowd\\cellx1000\\cellx2000\\pard\\intbl C\\cell D\\cell\\row\\pard after}")
        << u"A\tB|C\tD|after"_qs;
    QTest::newRow("mark ending a cell")
        << QByteArray("{\\rtf1 \\trowd\\cellx1\\cellx2{\\pard\\intbl A\\par}\\cell{\\pard\\intbl B\\par}\\cell\\row after}")
        << u"A\tB|after"_qs;
    QTest::newRow("mark before a table") << QByteArray("{\\rtf1 x\\par\\pard\\intbl A\\cell B\\cell\\row}") << u"x|A\tB"_qs;
    QTest::newRow("empty leading cells") << QByteArray("{\\rtf1 \\intbl\\cell\\cell X\\cell\\row}") << u"\t\tX"_qs;
    QTest::newRow("unknown ignorable destination")
        << QByteArray("{\\rtf1 {\\*\\foo hidden {\\bar more}}shown}") << u"shown"_qs;
    QTest::newRow("unknown control word") << QByteArray("{\\rtf1 \\foo42 a}") << u"a"_qs;
    QTest::newRow("destinations without text")
        << QByteArray("{\\rtf1 {\\header H}{\\footer F}{\\info{\\title T}{\\author A}}{\\footnote N}"
                      "{\\stylesheet{\\s0 Normal;}}Body}")
        << u"Body"_qs;
    QTest::newRow("field result kept") << QByteArray("{\\rtf1 p{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}}") << u"p7"_qs;
    QTest::newRow("field instruction without star")
        << QByteArray("{\\rtf1 {\\field{\\fldinst PAGE}{\\fldrslt 7}}}") << u"7"_qs;
    QTest::newRow("pntext dropped with pn")
        << QByteArray("{\\rtf1 {\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec}Item}") << u"Item"_qs;
    QTest::newRow("pntext shown without numbering") << QByteArray("{\\rtf1 {\\pntext 1.\\tab}Item}") << u"1.\tItem"_qs;
    QTest::newRow("upr reads the unicode version") << QByteArray("{\\rtf1 {\\upr{A}{\\*\\ud{B}}}}") << u"B"_qs;
    QTest::newRow("page break") << QByteArray("{\\rtf1 A\\page B}") << u"A|B"_qs;
    QTest::newRow("section break") << QByteArray("{\\rtf1 A\\sect B\\par\\sect}") << u"A|B"_qs;
    QTest::newRow("backslash before a line end") << QByteArray("{\\rtf1 A\\\nB}") << u"A|B"_qs;
    QTest::newRow("bin outside a picture") << QByteArray("{\\rtf1 A\\bin3 xyzB}") << u"AB"_qs;
    QTest::newRow("hidden text kept") << QByteArray("{\\rtf1 A{\\v hidden}B}") << u"AhiddenB"_qs;
    QTest::newRow("line ends in the source") << QByteArray("{\\rtf1 A\r\nB}") << u"AB"_qs;
    QTest::newRow("control characters dropped") << QByteArray("{\\rtf1 A\\'01\\'0d\x01 B}") << u"A B"_qs;
    QTest::newRow("nothing after the document") << QByteArray("{\\rtf1 A}trailing") << u"A"_qs;
    QTest::newRow("upper-case signature") << QByteArray("{\\RTF1 A}") << u"A"_qs;
}

void TestRtfRead::readsText() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    const Loaded l = load(rtf);
    QVERIFY2(l.result.ok, qPrintable(l.result.error));
    QCOMPARE(paragraphs(*l.doc).join(u'|'), expected);
}

void TestRtfRead::characterFormatting_data() {
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<uint>("effects");  // the effects among bold..superscript that must be set
    QTest::addColumn<int>("underline");
    QTest::addColumn<int>("textColor");  // 0x00BBGGRR, or -1 automatic
    QTest::addColumn<int>("backColor");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("charset");
    QTest::addColumn<int>("offset");

    const QString arial = u"Arial"_qs;
    QTest::newRow("plain") << QByteArray("{X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("bold") << QByteArray("{\\b X}") << uint(CFE_BOLD) << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("bold off") << QByteArray("{\\b\\b0 X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("italic") << QByteArray("{\\i X}") << uint(CFE_ITALIC) << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("underline") << QByteArray("{\\ul X}") << uint(CFE_UNDERLINE) << 1 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("dotted") << QByteArray("{\\uld X}") << uint(CFE_UNDERLINE) << 4 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("dash") << QByteArray("{\\uldash X}") << uint(CFE_UNDERLINE) << 5 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("dash-dot") << QByteArray("{\\uldashd X}") << uint(CFE_UNDERLINE) << 6 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("wave") << QByteArray("{\\ulwave X}") << uint(CFE_UNDERLINE) << 8 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("ulnone") << QByteArray("{\\ul\\ulnone X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("ul0") << QByteArray("{\\ulwave\\ul0 X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("strike") << QByteArray("{\\strike X}") << uint(CFE_STRIKEOUT) << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("sub") << QByteArray("{\\sub X}") << uint(CFE_SUBSCRIPT) << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("super") << QByteArray("{\\super X}") << uint(CFE_SUPERSCRIPT) << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("nosupersub") << QByteArray("{\\super\\nosupersub X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("text colour") << QByteArray("{\\cf1 X}") << 0u << 0 << 0x0000FF << -1 << 200 << arial << 238 << 0;
    QTest::newRow("cf0 is automatic") << QByteArray("{\\cf1\\cf0 X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("highlight") << QByteArray("{\\highlight2 X}") << 0u << 0 << -1 << 0xFF0000 << 200 << arial << 238 << 0;
    QTest::newRow("cb") << QByteArray("{\\cb1 X}") << 0u << 0 << -1 << 0x0000FF << 200 << arial << 238 << 0;
    QTest::newRow("colour beyond the table") << QByteArray("{\\cf9 X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("size") << QByteArray("{\\fs21 X}") << 0u << 0 << -1 << -1 << 210 << arial << 238 << 0;
    QTest::newRow("font and charset") << QByteArray("{\\f1 X}") << 0u << 0 << -1 << -1 << 200 << u"Times New Roman"_qs << 0 << 0;
    QTest::newRow("unknown font falls back to deff") << QByteArray("{\\f7 X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 0;
    QTest::newRow("up") << QByteArray("{\\up6 X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << 60;
    QTest::newRow("dn") << QByteArray("{\\dn4 X}") << 0u << 0 << -1 << -1 << 200 << arial << 238 << -40;
    QTest::newRow("plain resets") << QByteArray("{\\b\\i\\ul\\cf1\\f1\\fs40\\plain X}") << 0u << 0 << -1 << -1 << 240 << arial << 238 << 0;
    QTest::newRow("group restores") << QByteArray("{\\b{\\i Y}X}") << uint(CFE_BOLD) << 0 << -1 << -1 << 200 << arial << 238 << 0;
}

void TestRtfRead::characterFormatting() {
    QFETCH(QByteArray, group);
    QFETCH(uint, effects);
    QFETCH(int, underline);
    QFETCH(int, textColor);
    QFETCH(int, backColor);
    QFETCH(int, height);
    QFETCH(QString, face);
    QFETCH(int, charset);
    QFETCH(int, offset);

    const Loaded l = load(kHeader + "\\f0\\fs20 " + group + '}');
    QVERIFY(l.result.ok);
    const int at = find(*l.doc, u"X"_qs);
    QVERIFY(at >= 0);
    const CHARFORMAT2 cf = charAt(*l.doc, at);
    const std::uint32_t styles = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_SUBSCRIPT | CFE_SUPERSCRIPT;
    QCOMPARE(cf.dwEffects & styles, effects);
    QCOMPARE(int(cf.bUnderlineType), underline);
    QCOMPARE(hasEffect(cf, CFE_AUTOCOLOR), textColor < 0);
    if (textColor >= 0) QCOMPARE(int(cf.crTextColor), textColor);
    QCOMPARE(hasEffect(cf, CFE_AUTOBACKCOLOR), backColor < 0);
    if (backColor >= 0) QCOMPARE(int(cf.crBackColor), backColor);
    QCOMPARE(int(cf.yHeight), height);
    QCOMPARE(faceName(cf), face);
    QCOMPARE(int(cf.bCharSet), charset);
    QCOMPARE(int(cf.yOffset), offset);
}

void TestRtfRead::paragraphFormatting_data() {
    QTest::addColumn<QByteArray>("props");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("startIndent");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("rightIndent");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("rule");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<QList<int>>("tabs");

    QTest::newRow("defaults") << QByteArray() << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("centre") << QByteArray("\\qc") << 3 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("right") << QByteArray("\\qr") << 2 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("justify") << QByteArray("\\qj") << 4 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("hanging indent") << QByteArray("\\fi-360\\li720") << 1 << 360 << 360 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("first-line indent") << QByteArray("\\fi500") << 1 << 500 << -500 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("right indent") << QByteArray("\\ri800") << 1 << 0 << 0 << 800 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("space before and after") << QByteArray("\\sb120\\sa240") << 1 << 0 << 0 << 0 << 120 << 240 << 0 << 0 << QList<int>{};
    QTest::newRow("single by multiple") << QByteArray("\\sl240\\slmult1") << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("one and a half") << QByteArray("\\sl360\\slmult1") << 1 << 0 << 0 << 0 << 0 << 0 << 1 << 0 << QList<int>{};
    QTest::newRow("double") << QByteArray("\\sl480\\slmult1") << 1 << 0 << 0 << 0 << 0 << 0 << 2 << 0 << QList<int>{};
    QTest::newRow("three lines") << QByteArray("\\sl720\\slmult1") << 1 << 0 << 0 << 0 << 0 << 0 << 5 << 60 << QList<int>{};
    QTest::newRow("at least") << QByteArray("\\sl300\\slmult0") << 1 << 0 << 0 << 0 << 0 << 0 << 3 << 300 << QList<int>{};
    QTest::newRow("exactly") << QByteArray("\\sl-600\\slmult0") << 1 << 0 << 0 << 0 << 0 << 0 << 4 << 600 << QList<int>{};
    QTest::newRow("tabs") << QByteArray("\\tx1440\\tqr\\tx720") << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{720, 1440};
    QTest::newRow("pard resets") << QByteArray("\\qc\\li300\\sb99\\pard") << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
    QTest::newRow("lengths are bounded") << QByteArray("\\li2147483647\\sb-5") << 1 << 31680 << 0 << 0 << 0 << 0 << 0 << 0 << QList<int>{};
}

void TestRtfRead::paragraphFormatting() {
    QFETCH(QByteArray, props);
    QFETCH(int, alignment);
    QFETCH(int, startIndent);
    QFETCH(int, offset);
    QFETCH(int, rightIndent);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(int, rule);
    QFETCH(int, spacing);
    QFETCH(QList<int>, tabs);

    // The properties hold for the paragraph they end, not for the one after.
    const Loaded l = load(kHeader + "\\pard" + props + " First\\par\\pard Second\\par}");
    QCOMPARE(paragraphs(*l.doc), QStringList({u"First"_qs, u"Second"_qs}));
    const PARAFORMAT2 pf = paraAt(*l.doc, 0);
    QCOMPARE(int(pf.wAlignment), alignment);
    QCOMPARE(int(pf.dxStartIndent), startIndent);
    QCOMPARE(int(pf.dxOffset), offset);
    QCOMPARE(int(pf.dxRightIndent), rightIndent);
    QCOMPARE(int(pf.dySpaceBefore), before);
    QCOMPARE(int(pf.dySpaceAfter), after);
    QCOMPARE(int(pf.bLineSpacingRule), rule);
    QCOMPARE(int(pf.dyLineSpacing), spacing);
    QCOMPARE(QList<int>(pf.rgxTabs.begin(), pf.rgxTabs.begin() + pf.cTabCount), tabs);
    const PARAFORMAT2 second = paraAt(*l.doc, 1);
    QCOMPARE(int(second.wAlignment), 1);
    QCOMPARE(int(second.dxStartIndent), 0);
}

void TestRtfRead::styleSheetAppliesStyles() {
    const Loaded l = load(kHeader +
                          "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\qc\\sb240\\b\\fs32 Heading 1;}"
                          "{\\s2\\sbasedon1\\i\\cf1 Heading 2;}{\\*\\cs10\\additive\\ul Emphasis;}"
                          "{\\s3\\sbasedon3\\b Loop;}}"
                          "\\pard\\plain\\s2 Title\\par\\pard\\plain Body {\\cs10 under}\\par\\pard\\plain\\s3 L\\par}");
    QCOMPARE(paragraphs(*l.doc), QStringList({u"Title"_qs, u"Body under"_qs, u"L"_qs}));
    const PARAFORMAT2 heading = paraAt(*l.doc, 0);
    QCOMPARE(int(heading.wAlignment), int(PFA_CENTER));
    QCOMPARE(int(heading.dySpaceBefore), 240);
    const CHARFORMAT2 title = charAt(*l.doc, 0);
    QVERIFY(hasEffect(title, CFE_BOLD));    // from the style it is based on
    QVERIFY(hasEffect(title, CFE_ITALIC));  // its own
    QCOMPARE(int(title.yHeight), 320);
    QCOMPARE(int(title.crTextColor), 0x0000FF);
    QCOMPARE(int(paraAt(*l.doc, 1).wAlignment), int(PFA_LEFT));
    QVERIFY(!hasEffect(charAt(*l.doc, find(*l.doc, u"Body"_qs)), CFE_UNDERLINE));
    QVERIFY(hasEffect(charAt(*l.doc, find(*l.doc, u"under"_qs)), CFE_UNDERLINE));
    QVERIFY(hasEffect(charAt(*l.doc, find(*l.doc, u"L"_qs)), CFE_BOLD));  // a style based on itself
}

void TestRtfRead::oldStyleNumbering_data() {
    QTest::addColumn<QByteArray>("pn");
    QTest::addColumn<int>("numbering");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("style");

    // A bullet keeps its character in wNumberingStart (here the Symbol font's bullet, drawn as U+2022).
    QTest::newRow("bullet") << QByteArray("\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'b7}") << int(PFN_BULLET) << 0xB7 << int(PFNS_PAREN);
    QTest::newRow("arabic with period") << QByteArray("\\pnlvlbody\\pndec\\pnstart3{\\pntxta .}") << int(PFN_ARABIC) << 3 << int(PFNS_PERIOD);
    QTest::newRow("body level is arabic") << QByteArray("\\pnlvlbody{\\pntxta )}") << int(PFN_ARABIC) << 1 << int(PFNS_PAREN);
    QTest::newRow("lower letters") << QByteArray("\\pnlvlbody\\pnlcltr{\\pntxta )}") << int(PFN_LCLETTER) << 1 << int(PFNS_PAREN);
    QTest::newRow("upper letters plain") << QByteArray("\\pnlvlbody\\pnucltr") << int(PFN_UCLETTER) << 1 << int(PFNS_PLAIN);
    QTest::newRow("lower roman") << QByteArray("\\pnlvlbody\\pnlcrm{\\pntxta .}") << int(PFN_LCROMAN) << 1 << int(PFNS_PERIOD);
    QTest::newRow("upper roman in parentheses")
        << QByteArray("\\pnlvlbody\\pnucrm{\\pntxtb (}{\\pntxta )}") << int(PFN_UCROMAN) << 1 << int(PFNS_PARENS);
}

void TestRtfRead::oldStyleNumbering() {
    QFETCH(QByteArray, pn);
    QFETCH(int, numbering);
    QFETCH(int, start);
    QFETCH(int, style);
    const Loaded l = load(kHeader + "\\pard{\\pntext\\f2\\'b7\\tab}{\\*\\pn" + pn + "}\\fi-360\\li360 one\\par"
                          "{\\pntext 2.\\tab}two\\par\\pard three\\par}");
    QCOMPARE(paragraphs(*l.doc), QStringList({u"one"_qs, u"two"_qs, u"three"_qs}));
    for (int b : {0, 1}) {
        const PARAFORMAT2 pf = paraAt(*l.doc, b);
        QCOMPARE(int(pf.wNumbering), numbering);
        QCOMPARE(int(pf.wNumberingStart), start);
        QCOMPARE(int(pf.wNumberingStyle & 0x0F00), style);
        // The first paragraph starts the list, the second continues it.
        QCOMPARE(bool(pf.wNumberingStyle & PFNS_NEWNUMBER), b == 0);
    }
    QCOMPARE(int(paraAt(*l.doc, 2).wNumbering), int(PFN_NONE));
}

void TestRtfRead::listTableNumberingWithoutDoubledNumbers() {
    const Loaded l = load(kHeader + kLists +
                          "\\pard{\\listtext\\pard\\plain 1.\\tab}\\ls1\\fi-360\\li720 one\\par"
                          "{\\listtext\\pard\\plain 2.\\tab}\\ls1 two\\par"
                          "{\\listtext\\f2\\'b7\\tab}\\ls1\\ilvl1 dot\\par"
                          "{\\listtext c)\\tab}\\ls1\\ilvl2 letter\\par"
                          "\\pard{\\listtext 9.\\tab}\\ls9 unknown list\\par\\pard plain\\par}");
    QCOMPARE(paragraphs(*l.doc),
             QStringList({u"one"_qs, u"two"_qs, u"dot"_qs, u"letter"_qs, u"9.\tunknown list"_qs, u"plain"_qs}));
    const PARAFORMAT2 one = paraAt(*l.doc, 0);
    QCOMPARE(int(one.wNumbering), int(PFN_ARABIC));
    QCOMPARE(int(one.wNumberingStyle & 0x0F00), int(PFNS_PERIOD));
    QCOMPARE(int(one.dxStartIndent), 360);
    QCOMPARE(int(paraAt(*l.doc, 1).wNumbering), int(PFN_ARABIC));
    QCOMPARE(int(paraAt(*l.doc, 2).wNumbering), int(PFN_BULLET));
    const PARAFORMAT2 letter = paraAt(*l.doc, 3);
    QCOMPARE(int(letter.wNumbering), int(PFN_LCLETTER));
    QCOMPARE(int(letter.wNumberingStart), 3);
    QCOMPARE(int(letter.wNumberingStyle & 0x0F00), int(PFNS_PAREN));
    QCOMPARE(int(paraAt(*l.doc, 4).wNumbering), int(PFN_NONE));
    QCOMPARE(int(paraAt(*l.doc, 5).wNumbering), int(PFN_NONE));
}

void TestRtfRead::hyperlinks_data() {
    QTest::addColumn<QByteArray>("instruction");
    QTest::addColumn<QString>("href");

    QTest::newRow("quoted") << QByteArray("HYPERLINK \"http://example.cz/a?b=1\"") << u"http://example.cz/a?b=1"_qs;
    QTest::newRow("unquoted") << QByteArray("HYPERLINK http://example.cz/") << u"http://example.cz/"_qs;
    QTest::newRow("lower case, grouped")
        << QByteArray("{\\f1 hyperlink }{\"mailto:a@b.cz\"}") << u"mailto:a@b.cz"_qs;
    QTest::newRow("bookmark") << QByteArray("HYPERLINK \\\\l \"kotva\"") << u"#kotva"_qs;
    QTest::newRow("tooltip switch") << QByteArray("HYPERLINK \"http://x.cz\" \\\\o \"tip\"") << u"http://x.cz"_qs;
    QTest::newRow("unicode target") << QByteArray("HYPERLINK \"http://\\u382?lu\\u357?.cz\"") << u"http://žluť.cz"_qs;
    QTest::newRow("not a link") << QByteArray("PAGE \\\\* MERGEFORMAT") << QString();
}

void TestRtfRead::hyperlinks() {
    QFETCH(QByteArray, instruction);
    QFETCH(QString, href);
    const Loaded l = load(kHeader + "p\\'f8ed {\\field{\\*\\fldinst{" + instruction + "}}{\\fldrslt{\\ul\\cf2 odkaz}}} po}");
    QCOMPARE(paragraphs(*l.doc).join(u'|'), u"před odkaz po"_qs);
    const QTextCharFormat link = qtFormatAt(*l.doc, find(*l.doc, u"odkaz"_qs));
    QCOMPARE(link.isAnchor(), !href.isEmpty());
    QCOMPARE(link.anchorHref(), href);
    const CHARFORMAT2 cf = charAt(*l.doc, find(*l.doc, u"odkaz"_qs));
    QVERIFY(hasEffect(cf, CFE_UNDERLINE));
    QCOMPARE(int(cf.crTextColor), 0xFF0000);
    QVERIFY(!qtFormatAt(*l.doc, find(*l.doc, u" po"_qs)).isAnchor());
    QVERIFY(!qtFormatAt(*l.doc, 0).isAnchor());
}

void TestRtfRead::pictures_data() {
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("decoded");
    QTest::addColumn<QSize>("pixels");

    const QByteArray png = pngBytes(3, 2, Qt::red);
    QTest::newRow("png in hex") << pict("pngblip", png) << u"png"_qs << true << QSize(3, 2);
    QTest::newRow("png in hex with line breaks")
        << QByteArray("{\\pict\\pngblip\r\n" + png.toHex().insert(10, "\r\n ") + "}") << u"png"_qs << true << QSize(3, 2);
    QTest::newRow("png in binary")
        << QByteArray("{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + ' ' + png + '}') << u"png"_qs << true
        << QSize(3, 2);
    QImage photo(4, 4, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    QByteArray jpeg;
    QBuffer jb(&jpeg);
    jb.open(QIODevice::WriteOnly);
    photo.save(&jb, "JPEG");
    QTest::newRow("jpeg") << pict("jpegblip", jpeg) << u"jpeg"_qs << true << QSize(4, 4);
    // A 2x2 24-bit DIB, rows padded to four bytes.
    QByteArray dib;
    QDataStream ds(&dib, QIODevice::WriteOnly);
    ds.setByteOrder(QDataStream::LittleEndian);
    ds << quint32(40) << qint32(2) << qint32(2) << quint16(1) << quint16(24) << quint32(0) << quint32(16)
       << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (int row = 0; row < 2; ++row) ds << quint8(0) << quint8(0) << quint8(255) << quint8(0) << quint8(0) << quint8(255) << quint16(0);
    QTest::newRow("dibitmap") << pict("dibitmap0", dib) << u"dib"_qs << true << QSize(2, 2);
    // A 16x2 monochrome device-dependent bitmap, two bytes per row.
    QTest::newRow("wbitmap")
        << pict("wbitmap0", QByteArray::fromHex("ff00ff00"), "\\picw16\\pich2\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2")
        << u"bmp"_qs << true << QSize(16, 2);
    QTest::newRow("metafile keeps its place") << pict("wmetafile8", QByteArray::fromHex("01000900"), "\\picw2540\\pich1270")
                                              << u"wmf"_qs << false << QSize();
    QTest::newRow("emf keeps its place") << pict("emfblip", QByteArray::fromHex("01000000"), "\\picw2540\\pich1270")
                                         << u"emf"_qs << false << QSize();
    QTest::newRow("broken png keeps its place")
        << pict("pngblip", QByteArray("\x89PNG broken"), "\\picwgoal1440\\pichgoal720") << u"png"_qs << false << QSize();
}

void TestRtfRead::pictures() {
    QFETCH(QByteArray, group);
    QFETCH(QString, format);
    QFETCH(bool, decoded);
    QFETCH(QSize, pixels);
    const Loaded l = load(kHeader + "A" + group + "B}");
    QCOMPARE(paragraphs(*l.doc).join(u'|'), u"A\uFFFCB"_qs);
    const QList<Picture> pics = picturesIn(*l.doc);
    QCOMPARE(pics.size(), 1);
    QCOMPARE(pics[0].format, format);
    QVERIFY(!pics[0].data.isEmpty());
    const QTextImageFormat image = qtFormatAt(*l.doc, 1).toImageFormat();
    const QImage shown = l.doc->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    QVERIFY(!shown.isNull());  // a picture we cannot decode is shown as an empty frame
    if (decoded) QCOMPARE(shown.size(), pixels);
    QVERIFY(pics[0].widthTwips > 0 && pics[0].heightTwips > 0);
}

void TestRtfRead::pictureSizes() {
    const QByteArray png = pngBytes(20, 10, Qt::green);
    struct Case {
        QByteArray props;
        int width, height;
    };
    const Case cases[] = {
        {"", 300, 150},                                                  // 96 dpi pixels
        {"\\picwgoal1440\\pichgoal720", 1440, 720},                      // the goal size
        {"\\picwgoal1440\\pichgoal720\\picscalex50\\picscaley200", 720, 1440},
        {"\\picw40\\pich40", 600, 600},                                  // \picw counts pixels
        {"\\picwgoal2147483647\\pichgoal2147483647", 31680, 31680},      // bounded
    };
    for (const Case& c : cases) {
        const Loaded l = load(kHeader + pict("pngblip", png, c.props) + '}');
        const QList<Picture> pics = picturesIn(*l.doc);
        QCOMPARE(pics.size(), 1);
        QCOMPARE(pics[0].widthTwips, c.width);
        QCOMPARE(pics[0].heightTwips, c.height);
    }
    // Metafiles measure in hundredths of a millimetre.
    const Loaded m = load(kHeader + pict("wmetafile8", "\x01", "\\picw2540\\pich1270") + '}');
    QCOMPARE(picturesIn(*m.doc).value(0).widthTwips, 1440);
    QCOMPARE(picturesIn(*m.doc).value(0).heightTwips, 720);
}

void TestRtfRead::shppictAndNonshppictGiveOnePicture_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("format");
    const QByteArray png = pict("pngblip", pngBytes(2, 2, Qt::red));
    const QByteArray wmf = pict("wmetafile8", QByteArray::fromHex("0100"), "\\picw100\\pich100");
    QTest::newRow("shppict then nonshppict") << "{\\*\\shppict" + png + "}{\\nonshppict" + wmf + "}" << u"png"_qs;
    QTest::newRow("nonshppict then shppict") << "{\\nonshppict" + wmf + "}{\\*\\shppict" + png + "}" << u"png"_qs;
    QTest::newRow("nonshppict alone") << "{\\nonshppict" + wmf + "}" << u"wmf"_qs;
    QTest::newRow("shape result") << "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv " + png + "}}}{\\shprslt" + wmf + "}}" << u"wmf"_qs;
}

void TestRtfRead::shppictAndNonshppictGiveOnePicture() {
    QFETCH(QByteArray, body);
    QFETCH(QString, format);
    const Loaded l = load(kHeader + "A" + body + "B}");
    QCOMPARE(paragraphs(*l.doc).join(u'|'), u"A\uFFFCB"_qs);
    QCOMPARE(picturesIn(*l.doc).value(0).format, format);
}

void TestRtfRead::insertsIntoExistingText() {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(u"xxyy"_qs);
    QTextBlockFormat right;
    PARAFORMAT2 pf;
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = PFA_RIGHT;
    applyParaFormat(pf, right);
    cursor.setBlockFormat(right);
    cursor.setPosition(2);
    QVERIFY(readRtf("{\\rtf1 \\qc A}", cursor).ok);
    QCOMPARE(paragraphs(doc), QStringList({u"xxAyy"_qs}));
    QCOMPARE(cursor.position(), 3);
    QCOMPARE(int(paraAt(doc, 0).wAlignment), int(PFA_RIGHT));  // a fragment keeps the paragraph's format

    QVERIFY(readRtf("{\\rtf1 B\\par C}", cursor).ok);
    QCOMPARE(paragraphs(doc), QStringList({u"xxAB"_qs, u"Cyy"_qs}));
    QCOMPARE(cursor.position(), 6);
}

void TestRtfRead::rejectsWhatIsNotRtf_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Dobrý den");
    QTest::newRow("short signature") << QByteArray("{\\rt");
    QTest::newRow("no brace") << QByteArray("\\rtf1 text}");
    QTest::newRow("html") << QByteArray("<html><body>{\\rtf1}</body></html>");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02{\\rtf1", 9);
}

void TestRtfRead::rejectsWhatIsNotRtf() {
    QFETCH(QByteArray, data);
    const Loaded l = load(data);
    QVERIFY(!l.result.ok);
    QVERIFY(!l.result.error.isEmpty());
    QCOMPARE(l.doc->characterCount(), 1);  // nothing inserted
}

void TestRtfRead::truncatedFileLoadsWhatItHolds() {
    const QByteArray full = kHeader + kLists +
                            "\\pard\\qc\\b Nadpis\\b0\\par{\\listtext 1.\\tab}\\ls1 Polo\\'9eka {\\field{\\*\\fldinst "
                            "HYPERLINK \"http://a.cz\"}{\\fldrslt odkaz}}" +
                            pict("pngblip", pngBytes(2, 2, Qt::red)) + "\\u269?\\par konec}";
    // Every prefix loads without failing, and what it holds in full is there.
    for (qsizetype n = 5; n <= full.size(); ++n) {
        const Loaded l = load(full.left(n));
        QVERIFY2(l.result.ok, qPrintable(QString::number(n)));
    }
    const Loaded cut = load(full.left(full.indexOf("{\\field")));
    QCOMPARE(paragraphs(*cut.doc), QStringList({u"Nadpis"_qs, u"Položka "_qs}));
    QCOMPARE(int(paraAt(*cut.doc, 1).wNumbering), int(PFN_ARABIC));
}

void TestRtfRead::malformedInputIsBounded_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("deep nesting")
        << "{\\rtf1 a" + QByteArray(200000, '{') + "x" + QByteArray(200000, '}') + "b}" << u"ab"_qs;
    QTest::newRow("huge parameters")
        << QByteArray("{\\rtf1 \\fs99999999999999999999\\li-99999999999999\\uc999999999 \\u99999999999?x}") << u"\uFFFD"_qs;
    QTest::newRow("bin longer than the data") << QByteArray("{\\rtf1 a\\bin999999999999 xyz}") << u"a"_qs;
    QTest::newRow("negative bin") << QByteArray("{\\rtf1 a\\bin-5 xyz}") << u"axyz"_qs;
    QTest::newRow("long control word") << "{\\rtf1 \\" + QByteArray(100000, 'a') + " x}" << u"x"_qs;
    QTest::newRow("unmatched closing braces") << QByteArray("{\\rtf1 a}}}}") << u"a"_qs;
    QTest::newRow("odd hex digits") << QByteArray("{\\rtf1 {\\pict\\pngblip abc}x}") << u"\uFFFCx"_qs;
    QTest::newRow("huge wbitmap")
        << QByteArray("{\\rtf1 {\\pict\\wbitmap0\\picw1000000\\pich1000000\\wbmbitspixel32\\wbmwidthbytes4000000 00}x}")
        << u"\uFFFCx"_qs;
    QTest::newRow("picture without data") << QByteArray("{\\rtf1 a{\\pict\\pngblip}b{\\pict\\jpegblip }c}") << u"abc"_qs;
    QTest::newRow("tabs read before intbl are no cells")
        << QByteArray("{\\rtf1 a\tb\\tab c\\intbl d\\cell e\\cell\\row}") << u"a b cd\te"_qs;
    QTest::newRow("broken hex escape") << QByteArray("{\\rtf1 a\\'zzb\\'4}") << u"azzb"_qs;
    QTest::newRow("many fonts")
        << [] {
               QByteArray r("{\\rtf1{\\fonttbl");
               for (int i = 0; i < 10000; ++i) r += "{\\f" + QByteArray::number(i) + " F;}";
               return r + "}\\f9999 x}";
           }()
        << u"x"_qs;
}

void TestRtfRead::malformedInputIsBounded() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QElapsedTimer timer;
    timer.start();
    const Loaded l = load(rtf);
    QVERIFY(l.result.ok);
    QCOMPARE(paragraphs(*l.doc).join(u'|'), expected);
    for (const Picture& p : picturesIn(*l.doc)) {
        QVERIFY(p.widthTwips <= 31680);
        QVERIFY(p.heightTwips <= 31680);
    }
}

void TestRtfRead::recordedCrashesStayFixed() {
    const QDir dir(QStringLiteral(QX_TEST_DATA_DIR "/rtf/crashes"));
    const QStringList files = dir.entryList(QDir::Files);
    if (files.isEmpty()) QSKIP("no recorded failures");
    for (const QString& name : files) {
        const QByteArray data = readFile(dir.filePath(name));
        const Loaded l = load(data);
        if (!l.result.ok) continue;
        // What was read also writes and reads again.
        const QByteArray written = writeRtf(*l.doc, 0, -1, RtfObjects::Include);
        const Loaded again = load(written);
        QVERIFY2(again.result.ok, qPrintable(name));
        QCOMPARE(paragraphs(*again.doc), paragraphs(*l.doc));
    }
}

QX_REGISTER_TEST(TestRtfRead)
#include "tst_rtfread.moc"
