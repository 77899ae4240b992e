// What the writer writes, the reader reads back without loss; and the writer's RTF is plain,
// standard RTF in code page 1250.
#include "tests/platform/tst_rtfsupport.h"
#include "tests/support/testregistry.h"

#include "platform/richedit/numbering.h"
#include "platform/richedit/rtf.h"

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QUrl>

using namespace richedit;
using namespace rtftest;

Q_DECLARE_METATYPE(richedit::CHARFORMAT2)
Q_DECLARE_METATYPE(richedit::PARAFORMAT2)

namespace {

CHARFORMAT2 baseChar() {
    CHARFORMAT2 cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_COLOR | CFM_BACKCOLOR;
    setFaceName(cf, QStringLiteral("Arial"));
    cf.yHeight = 200;
    cf.bCharSet = DEFAULT_CHARSET;
    cf.bPitchAndFamily = 0x22;
    cf.dwEffects = CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR;
    return cf;
}

QTextCharFormat charFormat(const CHARFORMAT2& change = {}) {
    QTextCharFormat f;
    applyCharFormat(baseChar(), f);
    applyCharFormat(change, f);
    return f;
}

QTextBlockFormat blockFormat(const PARAFORMAT2& change = {}) {
    QTextBlockFormat f;
    PARAFORMAT2 defaults;
    defaults.dwMask = PFM_ALIGNMENT;
    defaults.wAlignment = PFA_LEFT;
    applyParaFormat(defaults, f);
    applyParaFormat(change, f);
    return f;
}

Loaded roundTrip(const QTextDocument& doc, int from = 0, int to = -1, RtfObjects objects = RtfObjects::Include) {
    return load(writeRtf(doc, from, to, objects));
}

QByteArray imageBytes(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage testImage() {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(1, 1, qRgb(200, 10, 30));
    image.setPixel(4, 2, qRgb(10, 150, 90));
    return image;
}

// A document of paragraphs built with the engine's own format functions.
struct DocBuilder {
    QTextDocument doc;
    QTextCursor cursor{&doc};
    bool first = true;
    DocBuilder& paragraph(const PARAFORMAT2& pf = {}) {
        if (!first) cursor.insertBlock();
        first = false;
        cursor.setBlockFormat(blockFormat(pf));
        return *this;
    }
    DocBuilder& text(const QString& t, const CHARFORMAT2& cf = {}) {
        cursor.insertText(t, charFormat(cf));
        return *this;
    }
    DocBuilder& link(const QString& t, const QString& href) {
        QTextCharFormat f = charFormat();
        f.setAnchor(true);
        f.setAnchorHref(href);
        cursor.insertText(t, f);
        return *this;
    }
};

}  // namespace

class TestRtfRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void characterAttributes_data();
    void characterAttributes();
    void paragraphAttributes_data();
    void paragraphAttributes();
    void text_data();
    void text();
    void writesPortableRtf();
    void numberedListsShowNumbersOnce();
    void pictures_data();
    void pictures();
    void picturesOmitted();
    void links();
    void ranges_data();
    void ranges();
    void emptyParagraphsAndPageBreaks();
    void secondWriteIsIdentical();
};

void TestRtfRoundTrip::characterAttributes_data() {
    QTest::addColumn<CHARFORMAT2>("change");
    QTest::addColumn<QString>("sample");
    const QString czech = QStringLiteral("Žluťoučký kůň");
    auto effect = [](std::uint32_t mask, std::uint32_t effects) {
        CHARFORMAT2 cf;
        cf.dwMask = mask;
        cf.dwEffects = effects;
        return cf;
    };
    QTest::newRow("bold") << effect(CFM_BOLD, CFE_BOLD) << czech;
    QTest::newRow("italic") << effect(CFM_ITALIC, CFE_ITALIC) << czech;
    QTest::newRow("strikeout") << effect(CFM_STRIKEOUT, CFE_STRIKEOUT) << czech;
    QTest::newRow("subscript") << effect(CFM_SUBSCRIPT | CFM_SUPERSCRIPT, CFE_SUBSCRIPT) << czech;
    QTest::newRow("superscript") << effect(CFM_SUBSCRIPT | CFM_SUPERSCRIPT, CFE_SUPERSCRIPT) << czech;
    for (int type = 1; type <= 9; ++type) {
        CHARFORMAT2 cf = effect(CFM_UNDERLINE | CFM_UNDERLINETYPE, CFE_UNDERLINE);
        cf.bUnderlineType = std::uint8_t(type);
        QTest::addRow("underline type %d", type) << cf << czech;
    }
    CHARFORMAT2 colour = effect(CFM_COLOR, 0);
    colour.crTextColor = 0x123456;
    QTest::newRow("text colour") << colour << czech;
    CHARFORMAT2 back = effect(CFM_BACKCOLOR, 0);
    back.crBackColor = 0xABCDEF;
    QTest::newRow("back colour") << back << czech;
    CHARFORMAT2 size = effect(CFM_SIZE, 0);
    size.yHeight = 210;
    QTest::newRow("size 10.5") << size << czech;
    size.yHeight = 1440;
    QTest::newRow("size 72") << size << czech;
    CHARFORMAT2 roman = effect(CFM_FACE | CFM_CHARSET, 0);
    setFaceName(roman, QStringLiteral("Times New Roman"));
    roman.bCharSet = ANSI_CHARSET;
    roman.bPitchAndFamily = 0x12;
    QTest::newRow("western face") << roman << QStringLiteral("Café façade");
    CHARFORMAT2 courier = effect(CFM_FACE | CFM_CHARSET, 0);
    setFaceName(courier, QStringLiteral("Courier New"));
    courier.bCharSet = EASTEUROPE_CHARSET;
    courier.bPitchAndFamily = 0x31;
    QTest::newRow("fixed-pitch face") << courier << czech;
    CHARFORMAT2 cyrillic = effect(CFM_FACE | CFM_CHARSET, 0);
    setFaceName(cyrillic, QStringLiteral("Times New Roman"));
    cyrillic.bCharSet = 204;
    QTest::newRow("cyrillic charset") << cyrillic << QStringLiteral("Жёлтый, čeština");
    CHARFORMAT2 czechFace = effect(CFM_FACE, 0);
    setFaceName(czechFace, QStringLiteral("Písmo Ž"));
    QTest::newRow("face with diacritics") << czechFace << czech;
    CHARFORMAT2 up = effect(CFM_OFFSET, 0);
    up.yOffset = 120;
    QTest::newRow("raised") << up << czech;
    up.yOffset = -60;
    QTest::newRow("lowered") << up << czech;
    CHARFORMAT2 all = effect(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_UNDERLINETYPE | CFM_STRIKEOUT | CFM_COLOR |
                                 CFM_BACKCOLOR | CFM_SIZE | CFM_SUPERSCRIPT | CFM_SUBSCRIPT,
                             CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_SUPERSCRIPT);
    all.bUnderlineType = CFU_UNDERLINEWAVE;
    all.crTextColor = 0x0000FF;
    all.crBackColor = 0x00FFFF;
    all.yHeight = 480;
    QTest::newRow("everything at once") << all << czech;
}

void TestRtfRoundTrip::characterAttributes() {
    QFETCH(CHARFORMAT2, change);
    QFETCH(QString, sample);
    DocBuilder b;
    b.paragraph().text(u"před "_qs).text(sample, change).text(u" po"_qs);
    const Loaded l = roundTrip(b.doc);
    QCOMPARE(paragraphs(*l.doc), paragraphs(b.doc));
    for (const int at : {0, 5, 5 + int(sample.size())}) {
        const CHARFORMAT2 want = charAt(b.doc, at);
        const CHARFORMAT2 got = charAt(*l.doc, at);
        QCOMPARE(faceName(got), faceName(want));
        // The default charset is written as the charset of code page 1250.
        QCOMPARE(int(got.bCharSet), want.bCharSet == DEFAULT_CHARSET ? int(EASTEUROPE_CHARSET) : int(want.bCharSet));
        QCOMPARE(int(got.bPitchAndFamily), int(want.bPitchAndFamily));
        QCOMPARE(int(got.yHeight), int(want.yHeight));
        QCOMPARE(got.dwEffects, want.dwEffects);
        QCOMPARE(int(got.bUnderlineType), int(want.bUnderlineType));
        if (!(want.dwEffects & CFE_AUTOCOLOR)) QCOMPARE(got.crTextColor, want.crTextColor);
        if (!(want.dwEffects & CFE_AUTOBACKCOLOR)) QCOMPARE(got.crBackColor, want.crBackColor);
        QCOMPARE(int(got.yOffset), int(want.yOffset));
    }
}

void TestRtfRoundTrip::paragraphAttributes_data() {
    QTest::addColumn<PARAFORMAT2>("change");
    auto para = [](std::uint32_t mask) {
        PARAFORMAT2 pf;
        pf.dwMask = mask;
        return pf;
    };
    for (const std::uint16_t a : {PFA_RIGHT, PFA_CENTER, PFA_JUSTIFY}) {
        PARAFORMAT2 pf = para(PFM_ALIGNMENT);
        pf.wAlignment = a;
        QTest::addRow("alignment %d", a) << pf;
    }
    PARAFORMAT2 indents = para(PFM_STARTINDENT | PFM_OFFSET | PFM_RIGHTINDENT);
    indents.dxStartIndent = 720;
    indents.dxOffset = -360;
    indents.dxRightIndent = 500;
    QTest::newRow("indents") << indents;
    indents.dxStartIndent = 0;
    indents.dxOffset = 400;
    QTest::newRow("hanging indent") << indents;
    PARAFORMAT2 spacing = para(PFM_SPACEBEFORE | PFM_SPACEAFTER);
    spacing.dySpaceBefore = 120;
    spacing.dySpaceAfter = 260;
    QTest::newRow("space before and after") << spacing;
    const std::pair<std::uint8_t, int> rules[] = {{LS_ONEANDHALF, 0}, {LS_DOUBLE, 0}, {LS_ATLEAST, 240},
                                                  {LS_EXACTLY, 600}, {LS_MULTIPLE, 60}, {LS_MULTIPLE, 50}};
    for (const auto& [rule, value] : rules) {
        PARAFORMAT2 pf = para(PFM_LINESPACING);
        pf.bLineSpacingRule = rule;
        pf.dyLineSpacing = value;
        QTest::addRow("line spacing %d/%d", rule, value) << pf;
    }
    PARAFORMAT2 tabs = para(PFM_TABSTOPS);
    tabs.cTabCount = 3;
    tabs.rgxTabs[0] = 720;
    tabs.rgxTabs[1] = 1000;
    tabs.rgxTabs[2] = 5000;
    QTest::newRow("tab stops") << tabs;
    const std::tuple<std::uint16_t, std::uint16_t, std::uint16_t> numberings[] = {
        {PFN_BULLET, 1, PFNS_PAREN},    {PFN_ARABIC, 5, PFNS_PERIOD},  {PFN_ARABIC, 1, PFNS_PAREN},
        {PFN_LCLETTER, 1, PFNS_PAREN},  {PFN_UCLETTER, 2, PFNS_PARENS}, {PFN_LCROMAN, 1, PFNS_PLAIN},
        {PFN_UCROMAN, 4, PFNS_PERIOD},
    };
    for (const auto& [kind, start, style] : numberings) {
        PARAFORMAT2 pf = para(PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE | PFM_OFFSET |
                              PFM_STARTINDENT | PFM_NUMBERINGTAB);
        pf.wNumbering = kind;
        pf.wNumberingStart = start;
        pf.wNumberingStyle = style;
        pf.dxStartIndent = 200;
        pf.dxOffset = 360;
        pf.wNumberingTab = 300;
        QTest::addRow("numbering %d start %d style %x", kind, start, style) << pf;
    }
}

void TestRtfRoundTrip::paragraphAttributes() {
    QFETCH(PARAFORMAT2, change);
    DocBuilder b;
    b.paragraph().text(u"před"_qs).paragraph(change).text(u"Středník"_qs).paragraph(change).text(u"Druhý"_qs);
    b.paragraph().text(u"po"_qs);
    const Loaded l = roundTrip(b.doc);
    QCOMPARE(paragraphs(*l.doc), paragraphs(b.doc));
    for (int block = 0; block < b.doc.blockCount(); ++block) {
        const PARAFORMAT2 want = paraAt(b.doc, block);
        const PARAFORMAT2 got = paraAt(*l.doc, block);
        QCOMPARE(int(got.wAlignment), int(want.wAlignment));
        QCOMPARE(int(got.dxStartIndent), int(want.dxStartIndent));
        QCOMPARE(int(got.dxOffset), int(want.dxOffset));
        QCOMPARE(int(got.dxRightIndent), int(want.dxRightIndent));
        QCOMPARE(int(got.dySpaceBefore), int(want.dySpaceBefore));
        QCOMPARE(int(got.dySpaceAfter), int(want.dySpaceAfter));
        QCOMPARE(int(got.bLineSpacingRule), int(want.bLineSpacingRule));
        if (want.bLineSpacingRule >= LS_ATLEAST) QCOMPARE(int(got.dyLineSpacing), int(want.dyLineSpacing));
        QCOMPARE(int(got.cTabCount), int(want.cTabCount));
        QCOMPARE(got.rgxTabs, want.rgxTabs);
        QCOMPARE(int(got.wNumbering), int(want.wNumbering));
        if (want.wNumbering != PFN_NONE) QCOMPARE(int(got.wNumberingTab), int(want.wNumberingTab));
        if (want.wNumbering > PFN_BULLET) {
            QCOMPARE(int(got.wNumberingStart), int(want.wNumberingStart));
            // The reader marks where a list starts; the numbers are the same.
            QCOMPARE(int(got.wNumberingStyle & 0x0F00), int(want.wNumberingStyle & 0x0F00));
            QCOMPARE(paragraphNumber(l.doc->findBlockByNumber(block)), paragraphNumber(b.doc.findBlockByNumber(block)));
        }
    }
}

void TestRtfRoundTrip::text_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("czech") << QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy. PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY.");
    QTest::newRow("outside code page 1250") << QStringLiteral("Жёлтый Ελληνικά ÆØÅ € ½ ﬁ");
    QTest::newRow("above 32767") << QStringLiteral("日本語 한국어 \uFB01\uFFFD");
    QTest::newRow("beyond the BMP") << QStringLiteral("😀 𝄞 𠀀");
    QTest::newRow("rtf syntax characters") << QStringLiteral("\\par {brace} back\\slash \\'e8 \\u269?");
    QTest::newRow("tabs and line breaks") << QStringLiteral("a\tb\u2028c\u2028\u2028d\t");
    QTest::newRow("special spaces and hyphens") << QStringLiteral("a\u00A0b\u00ADc\u2011d — “quotes” ‘single’ • …");
    QTest::newRow("leading and trailing spaces") << QStringLiteral("  two  spaces  ");
    QTest::newRow("digits after a control word") << QStringLiteral("x\t123\u2028456");
}

void TestRtfRoundTrip::text() {
    QFETCH(QString, text);
    DocBuilder b;
    b.paragraph().text(text).paragraph().text(text, [] {
        CHARFORMAT2 cf;
        cf.dwMask = CFM_CHARSET;
        cf.bCharSet = ANSI_CHARSET;  // a font in code page 1252
        return cf;
    }());
    const Loaded l = roundTrip(b.doc);
    QVERIFY(l.result.ok);
    QCOMPARE(paragraphs(*l.doc), paragraphs(b.doc));
}

void TestRtfRoundTrip::writesPortableRtf() {
    CHARFORMAT2 cyrillic;
    cyrillic.dwMask = CFM_FACE | CFM_CHARSET;
    setFaceName(cyrillic, QStringLiteral("Times New Roman"));
    cyrillic.bCharSet = 204;
    DocBuilder b;
    b.paragraph().text(u"ř 😀 Ж"_qs).text(u"Ж"_qs, cyrillic);
    const QByteArray rtf = writeRtf(b.doc, 0, -1, RtfObjects::Include);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0"));
    QVERIFY(rtf.contains("\\fcharset238 Arial;"));  // the default charset, declared as 1250's
    QVERIFY(rtf.contains("\\fcharset204 Times New Roman;"));
    QVERIFY(rtf.contains("\\'f8"));                  // ř in code page 1250
    QVERIFY(rtf.contains("\\u-10179?\\u-8704?"));    // the emoji as two signed surrogates
    QVERIFY(rtf.contains("\\u1046?"));               // Ж has no place in code page 1250
    QVERIFY(rtf.contains("\\'c6"));                  // but one in 1251, under the Cyrillic font
    QVERIFY(rtf.contains("\\uc1"));
    for (const char c : rtf) QVERIFY(static_cast<unsigned char>(c) < 0x80);
    QVERIFY(rtf.trimmed().endsWith('}'));
}

void TestRtfRoundTrip::numberedListsShowNumbersOnce() {
    PARAFORMAT2 numbered;
    numbered.dwMask = PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE | PFM_STARTINDENT | PFM_OFFSET;
    numbered.wNumbering = PFN_ARABIC;
    numbered.wNumberingStart = 1;
    numbered.wNumberingStyle = PFNS_PERIOD;
    numbered.dxOffset = 200;
    PARAFORMAT2 letters = numbered;
    letters.wNumbering = PFN_LCLETTER;
    letters.wNumberingStyle = PFNS_PAREN;
    PARAFORMAT2 bullet = numbered;
    bullet.wNumbering = PFN_BULLET;
    DocBuilder b;
    b.paragraph(numbered).text(u"jedna"_qs).paragraph(numbered).text(u"dvě"_qs).paragraph(numbered).text(u"tři"_qs);
    b.paragraph(letters).text(u"á"_qs).paragraph(letters).text(u"bé"_qs).paragraph(bullet).text(u"tečka"_qs);
    const QByteArray rtf = writeRtf(b.doc, 0, -1, RtfObjects::Include);
    // Readers without numbering see the numbers as text...
    for (const char* number : {"{\\listtext\\pard\\plain 1.\\tab}", "{\\listtext\\pard\\plain 2.\\tab}",
                               "{\\listtext\\pard\\plain 3.\\tab}", "{\\listtext\\pard\\plain a)\\tab}",
                               "{\\listtext\\pard\\plain b)\\tab}", "{\\listtext\\pard\\plain \\'95\\tab}"})
        QVERIFY2(rtf.contains(number), number);
    QVERIFY(rtf.contains("\\pnlvlbody") && rtf.contains("\\pnlvlblt") && rtf.contains("\\pndec") &&
            rtf.contains("\\pnlcltr") && rtf.contains("\\pntxta ."));
    QVERIFY(rtf.contains("\\listtable") && rtf.contains("\\listoverridetable"));
    // ...and we read the numbering, not the text.
    const Loaded l = load(rtf);
    QCOMPARE(paragraphs(*l.doc), paragraphs(b.doc));
}

void TestRtfRoundTrip::pictures_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("formatRead");
    QTest::addColumn<bool>("sameBytes");

    const QImage image = testImage();
    QTest::newRow("png") << imageBytes(image, "PNG") << u"png"_qs << u"png"_qs << true;
    QTest::newRow("jpeg") << imageBytes(image, "JPEG") << u"jpeg"_qs << u"jpeg"_qs << true;
    const QByteArray bmp = imageBytes(image, "BMP");
    QTest::newRow("bmp becomes png") << bmp << u"bmp"_qs << u"png"_qs << false;
    QTest::newRow("dib becomes png") << bmp.mid(14) << u"dib"_qs << u"png"_qs << false;
    QTest::newRow("undecodable dib keeps its bits") << QByteArray(60, '\x01') << u"dib"_qs << u"dib"_qs << true;
    QTest::newRow("wmf keeps its bytes") << QByteArray::fromHex("0100090000036a0000000000") << u"wmf"_qs << u"wmf"_qs << true;
    QTest::newRow("emf keeps its bytes") << QByteArray::fromHex("0100000084000000") << u"emf"_qs << u"emf"_qs << true;
}

void TestRtfRoundTrip::pictures() {
    QFETCH(QByteArray, data);
    QFETCH(QString, format);
    QFETCH(QString, formatRead);
    QFETCH(bool, sameBytes);
    DocBuilder b;
    b.paragraph().text(u"obrázek "_qs);
    const Picture picture{data, format, 1500, 1000};
    QImage decoded;
    decoded.loadFromData(format == u"dib" ? QByteArray() : data);
    insertPicture(b.cursor, picture, decoded);
    b.text(u" konec"_qs);

    const Loaded l = roundTrip(b.doc);
    QCOMPARE(paragraphs(*l.doc), paragraphs(b.doc));
    const QList<Picture> pics = picturesIn(*l.doc);
    QCOMPARE(pics.size(), 1);
    QCOMPARE(pics[0].format, formatRead);
    QCOMPARE(pics[0].widthTwips, 1500);
    QCOMPARE(pics[0].heightTwips, 1000);
    if (sameBytes) {
        QCOMPARE(pics[0].data, data);
    } else {
        QImage back;
        QVERIFY(back.loadFromData(pics[0].data, "PNG"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), testImage());
    }
}

void TestRtfRoundTrip::picturesOmitted() {
    DocBuilder b;
    b.paragraph().text(u"a"_qs);
    insertPicture(b.cursor, Picture{imageBytes(testImage(), "PNG"), u"png"_qs, 300, 300}, testImage());
    b.text(u"b"_qs);
    const QByteArray rtf = writeRtf(b.doc, 0, -1, RtfObjects::Omit);
    QVERIFY(!rtf.contains("\\pict"));
    const Loaded l = load(rtf);
    QCOMPARE(paragraphs(*l.doc), QStringList({u"a b"_qs}));  // the picture's place stays
}

void TestRtfRoundTrip::links() {
    DocBuilder b;
    b.paragraph().text(u"viz "_qs).link(u"první"_qs, u"http://a.cz/?q=1&r=\"x\""_qs);
    b.link(u"druhý"_qs, u"https://b.cz/ž"_qs).text(u" a "_qs).link(u"kotva"_qs, u"#kotva"_qs);
    b.paragraph().link(u"celý"_qs, u"mailto:x@y.cz"_qs);
    const Loaded l = roundTrip(b.doc);
    QCOMPARE(paragraphs(*l.doc), paragraphs(b.doc));
    const std::pair<QString, QString> expected[] = {{u"první"_qs, u"http://a.cz/?q=1&r=%22x%22"_qs},
                                                    {u"druhý"_qs, u"https://b.cz/ž"_qs},
                                                    {u"kotva"_qs, u"#kotva"_qs},
                                                    {u"celý"_qs, u"mailto:x@y.cz"_qs}};
    for (const auto& [text, href] : expected) {
        const int at = find(*l.doc, text);
        for (int i = at; i < at + text.size(); ++i) {
            const QTextCharFormat f = qtFormatAt(*l.doc, i);
            QVERIFY(f.isAnchor());
            QCOMPARE(f.anchorHref(), href);
        }
    }
    QVERIFY(!qtFormatAt(*l.doc, find(*l.doc, u" a "_qs)).isAnchor());
    QVERIFY(!qtFormatAt(*l.doc, 0).isAnchor());
}

void TestRtfRoundTrip::ranges_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("expected");
    // The document: "první" | "druhý" | "třetí"; breaks at 5 and 11.
    QTest::newRow("everything") << 0 << -1 << QStringList({u"první"_qs, u"druhý"_qs, u"třetí"_qs});
    QTest::newRow("inside a paragraph") << 1 << 4 << QStringList({u"rvn"_qs});
    QTest::newRow("up to a break") << 0 << 5 << QStringList({u"první"_qs});
    QTest::newRow("with the break") << 0 << 6 << QStringList({u"první"_qs, QString()});
    QTest::newRow("across paragraphs") << 3 << 8 << QStringList({u"ní"_qs, u"dr"_qs});
    QTest::newRow("to beyond the end") << 12 << 999 << QStringList({u"třetí"_qs});
    QTest::newRow("empty") << 3 << 3 << QStringList({QString()});
}

void TestRtfRoundTrip::ranges() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, expected);
    DocBuilder b;
    b.paragraph().text(u"první"_qs).paragraph().text(u"druhý"_qs).paragraph().text(u"třetí"_qs);
    const Loaded l = roundTrip(b.doc, from, to);
    QVERIFY(l.result.ok);
    QCOMPARE(paragraphs(*l.doc), expected);
}

void TestRtfRoundTrip::emptyParagraphsAndPageBreaks() {
    CHARFORMAT2 big;
    big.dwMask = CFM_SIZE;
    big.yHeight = 640;
    DocBuilder b;
    b.paragraph();
    b.paragraph().text(u"text"_qs);
    b.paragraph();
    b.cursor.setBlockCharFormat(charFormat(big));
    QTextBlockFormat pageBreak = b.cursor.blockFormat();
    b.paragraph().text(u"nová stránka"_qs);
    pageBreak = b.cursor.blockFormat();
    pageBreak.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    b.cursor.setBlockFormat(pageBreak);
    b.paragraph();
    const Loaded l = roundTrip(b.doc);
    QCOMPARE(paragraphs(*l.doc), paragraphs(b.doc));
    QCOMPARE(paragraphs(*l.doc).size(), 5);
    QCOMPARE(int(charFormatFrom(l.doc->findBlockByNumber(2).charFormat(), {}).yHeight), 640);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(bool(l.doc->findBlockByNumber(i).blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore),
                 i == 3);
}

void TestRtfRoundTrip::secondWriteIsIdentical() {
    CHARFORMAT2 bold;
    bold.dwMask = CFM_BOLD | CFM_COLOR;
    bold.dwEffects = CFE_BOLD;
    bold.crTextColor = 0x0000C0;
    PARAFORMAT2 centred;
    centred.dwMask = PFM_ALIGNMENT | PFM_SPACEAFTER;
    centred.wAlignment = PFA_CENTER;
    centred.dySpaceAfter = 100;
    PARAFORMAT2 bullet;
    bullet.dwMask = PFM_NUMBERING | PFM_STARTINDENT;
    bullet.wNumbering = PFN_BULLET;
    bullet.dxStartIndent = 200;
    DocBuilder b;
    b.paragraph(centred).text(u"Nadpis "_qs, bold).text(u"ďábelské ódy 😀"_qs);
    b.paragraph(bullet).text(u"položka "_qs).link(u"odkaz"_qs, u"http://x.cz"_qs);
    insertPicture(b.cursor, Picture{imageBytes(testImage(), "PNG"), u"png"_qs, 900, 600}, testImage());
    b.paragraph().text(u"tab\tkonec"_qs);
    const QByteArray first = writeRtf(b.doc, 0, -1, RtfObjects::Include);
    const Loaded l = load(first);
    const QByteArray second = writeRtf(*l.doc, 0, -1, RtfObjects::Include);
    QCOMPARE(QString::fromLatin1(second), QString::fromLatin1(first));
}

QX_REGISTER_TEST(TestRtfRoundTrip)
#include "tst_rtfroundtrip.moc"
