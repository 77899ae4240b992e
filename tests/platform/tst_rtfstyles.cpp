// Headings and paragraph styles, and the character effects beyond bold, italic and underline:
// read from other word processors' files, kept through editing, written back and read again.
#include "engine_fixture.h"
#include "tests/platform/tst_rtfsupport.h"
#include "tests/support/testregistry.h"

#include "platform/richedit/stylesheet.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace richedit;
using namespace rtftest;
using namespace enginetest;

namespace {

QString styleName(const QTextDocument& doc, const QTextBlock& block) {
    const auto sheet = StyleSheet::of(doc);
    const ParagraphStyle* style = sheet ? sheet->find(paraFormatFrom(block.blockFormat()).sStyle) : nullptr;
    return style ? style->name : QString();
}

Loaded roundTrip(const QTextDocument& doc) { return load(writeRtf(doc, 0, -1, RtfObjects::Include)); }

// "text|level|style name" for every non-empty paragraph.
QStringList headings(const QTextDocument& doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (!b.text().isEmpty())
            out << QStringLiteral("%1|%2|%3").arg(b.text()).arg(paraFormatFrom(b.blockFormat()).bOutlineLevel).arg(styleName(doc, b));
    return out;
}

QByteArray saved(const Engine& e, std::uint32_t format = SF_RTF) {
    QByteArray out;
    EDITSTREAM stream = streamInto(out);
    const_cast<Engine&>(e).streamOut(format, stream);
    return out;
}

void streamSelection(Engine& e, const QByteArray& rtf) {
    EDITSTREAM in = streamFrom(rtf);
    e.streamIn(SF_RTF | SFF_SELECTION, in);
}

void key(Engine& e, int k, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&e, &press);
}

// The whole document through format-range into a PDF page, rasterised again by poppler; a null
// image when pdftoppm is missing.
QImage printedPdf(Engine& e, const QString& path) {
    {
        QPdfWriter pdf(path);
        pdf.setResolution(1200);
        QPainter painter(&pdf);
        formatPage(e, painter, &pdf, {0, 0, 1440 * 6, 1440 * 3});
        e.formatRange(nullptr, false);
    }
    QProcess poppler;
    poppler.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"),
                                               QStringLiteral("-singlefile"), path, path});
    if (!poppler.waitForFinished(30000) || poppler.exitCode() != 0) return {};
    return QImage(path + QStringLiteral(".png"));
}

// The whole document rendered through format-range onto a white page.
QImage printed(Engine& e) {
    QImage page(600, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(qRound(96 / 0.0254));
    page.setDotsPerMeterY(qRound(96 / 0.0254));
    QPainter painter(&page);
    formatPage(e, painter, &page, {0, 0, 1440 * 6, 1440 * 3});
    painter.end();
    e.formatRange(nullptr, false);
    return page;
}

const QString kStored = QStringLiteral("effects|underline|weight");

// The record fields this area keeps, of the character at `position`.
QString effectsAt(const QTextDocument& doc, int position) {
    const CHARFORMAT2 cf = charAt(doc, position);
    return QStringLiteral("%1|%2|%3").arg(cf.dwEffects & kStoredCharEffects, 0, 16).arg(cf.bUnderlineType, 0, 16).arg(cf.wWeight);
}

}  // namespace

class TestRtfStyles : public QObject {
    Q_OBJECT

private slots:
    void headingsFromOtherWordProcessors_data();
    void headingsFromOtherWordProcessors();
    void effectsFromFiles_data();
    void effectsFromFiles();
    void smallDocuments_data();
    void smallDocuments();
    void writtenStyleSheet();
    void normalOfADocumentWithoutOne();
    void hostileStyleSheetsAreBounded_data();
    void hostileStyleSheetsAreBounded();
    void longChainsOfBasesKeepTheirFormat();
    void hiddenTextIsNeitherDrawnNorPrinted();
    void protectedTextRefusesEdits();
    void effectsKeptThroughEditing();
    void styleSheetThroughLoadPasteAndClear();
    void enterAfterHeadingStartsNextStyle();
};

// ---- files of other programs --------------------------------------------------------------------

void TestRtfStyles::headingsFromOtherWordProcessors_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("h1");  // the style names the file gives its headings, as read and as written back
    QTest::addColumn<QString>("h2");
    QTest::addColumn<QString>("h3");
    QTest::addColumn<QString>("body");
    QTest::newRow("LibreOffice 7.4") << u"headings-libreoffice.rtf"_qs << u"Heading 1"_qs << u"Heading 2"_qs
                                     << u"Heading 3"_qs << u"Text Body"_qs;
    QTest::newRow("AbiWord 3.0") << u"headings-abiword.rtf"_qs << u"Heading 1"_qs << u"Heading 2"_qs << u"Heading 3"_qs
                                 << u"Normal"_qs;
    // pandoc gives levels without a style sheet; we write Word's heading styles for them.
    QTest::newRow("pandoc 2.17") << u"headings-pandoc.rtf"_qs << QString() << QString() << QString() << QString();
}

void TestRtfStyles::headingsFromOtherWordProcessors() {
    QFETCH(QString, file);
    QFETCH(QString, h1);
    QFETCH(QString, h2);
    QFETCH(QString, h3);
    QFETCH(QString, body);
    const Loaded original = load(readFile(QStringLiteral(QX_TEST_DATA_DIR "/rtf/interop/") + file));
    QVERIFY(original.result.ok);
    auto expected = [&](const QString& n1, const QString& n2, const QString& n3, const QString& nb) {
        return QStringList{u"Výroční zpráva|1|"_qs + n1, u"Úvodní odstavec zprávy s tučným slovem.|0|"_qs + nb,
                           u"Hospodaření|2|"_qs + n2,   u"Příjmy a výdaje za rok.|0|"_qs + nb,
                           u"Příjmy z prodeje|3|"_qs + n3, u"Prodej vzrostl o pět procent.|0|"_qs + nb,
                           u"Ostatní příjmy|3|"_qs + n3, u"Dotace a úroky.|0|"_qs + nb,
                           u"Výhled|2|"_qs + n2,         u"Příští rok očekáváme růst.|0|"_qs + nb};
    };
    // pandoc starts with the page's title.
    auto report = [](const QTextDocument& doc) {
        QStringList all = headings(doc);
        while (!all.isEmpty() && !all.front().startsWith(u"Výroční zpráva|"_qs)) all.removeFirst();
        return all;
    };
    QCOMPARE(report(*original.doc), expected(h1, h2, h3, body));

    const Loaded again = roundTrip(*original.doc);
    QVERIFY(again.result.ok);
    if (h1.isEmpty()) QCOMPARE(report(*again.doc), expected(u"heading 1"_qs, u"heading 2"_qs, u"heading 3"_qs, u"Normal"_qs));
    else QCOMPARE(report(*again.doc), expected(h1, h2, h3, body));
    // The look of the text is the paragraphs' own: the heading stays bold and large.
    const int heading = find(*again.doc, u"Hospodaření"_qs);
    QVERIFY(hasEffect(charAt(*again.doc, heading), CFE_BOLD));
    QCOMPARE(charAt(*again.doc, heading).yHeight, charAt(*original.doc, find(*original.doc, u"Hospodaření"_qs)).yHeight);
    QCOMPARE(charAt(*again.doc, find(*again.doc, u"Dotace"_qs)).yHeight, charAt(*original.doc, find(*original.doc, u"Dotace"_qs)).yHeight);
}

void TestRtfStyles::effectsFromFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("libreOffice");  // LibreOffice keeps neither emboss, protection nor underline colours
    QTest::newRow("written by hand") << u"effects-source.rtf"_qs << false;
    QTest::newRow("LibreOffice 7.4") << u"effects-libreoffice.rtf"_qs << true;
}

void TestRtfStyles::effectsFromFiles() {
    QFETCH(QString, file);
    QFETCH(bool, libreOffice);
    const Loaded original = load(readFile(QStringLiteral(QX_TEST_DATA_DIR "/rtf/interop/") + file));
    QVERIFY(original.result.ok);
    const QTextDocument& doc = *original.doc;
    QVERIFY2(paragraphs(doc).contains(u"Viditelný text skrytý text pokračuje."_qs), qPrintable(paragraphs(doc).join(u'|')));

    struct Probe {
        const char16_t* text;
        std::uint32_t effects;
        int underline;
    };
    const std::uint32_t protect = libreOffice ? 0 : CFE_PROTECTED;
    const std::uint32_t emboss = libreOffice ? 0 : CFE_EMBOSS;
    const Probe probes[] = {
        {u"skrytý", CFE_HIDDEN, 0},
        {u"Viditelný", 0, 0},
        {u"Kapitálky", CFE_SMALLCAPS, 0},
        {u"verzálky", CFE_ALLCAPS, 0},
        {u"obrys", CFE_OUTLINE, 0},
        {u"stín", CFE_SHADOW, 0},
        {u"Reliéf", emboss, 0},
        {u"rytina", CFE_IMPRINT, 0},
        {u"Dvojité", 0, CFU_UNDERLINEDOUBLE},
        {u"vlnité červené", 0, CFU_UNDERLINEWAVE | (libreOffice ? 0 : 6 << 4)},   // red
        {u"tečkované modré", 0, CFU_UNDERLINEDOTTED | (libreOffice ? 0 : 2 << 4)},  // blue
        {u"Chráněný", protect, 0},
        {u"volný", 0, 0},
    };
    const Loaded again = roundTrip(doc);
    for (const Probe& p : probes) {
        const QString text = QString::fromUtf16(p.text);
        const int at = find(doc, text);
        QVERIFY2(at >= 0, qPrintable(text));
        const CHARFORMAT2 cf = charAt(doc, at);
        QCOMPARE(cf.dwEffects & kStoredCharEffects, p.effects);
        QCOMPARE(int(cf.bUnderlineType), p.underline);
        QCOMPARE(effectsAt(*again.doc, find(*again.doc, text)), effectsAt(doc, at));
    }
    QCOMPARE(headings(*again.doc), headings(doc));
}

// ---- small documents ------------------------------------------------------------------------------

void TestRtfStyles::smallDocuments_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("probe");  // the text whose paragraph and characters are checked
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("style");
    QTest::addColumn<uint>("effects");
    QTest::addColumn<int>("underline");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("bold");

    const QByteArray sheet = "{\\stylesheet{\\s0 Normal;}{\\s1\\sbasedon0\\snext0\\outlinelevel0\\b\\fs32 heading 1;}"
                             "{\\s2\\sbasedon1\\snext0\\i Lead;}{\\s3\\sbasedon4 Loop A;}{\\s4\\sbasedon3\\outlinelevel2 Loop B;}"
                             "{\\*\\cs10\\b Strong;}}";
    auto doc = [&](const QByteArray& body) { return "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}" + sheet + body + "}"; };
    QTest::newRow("style") << doc("\\pard\\s1 Title\\par") << u"Title"_qs << 1 << u"heading 1"_qs << 0u << 0 << 700 << true;
    QTest::newRow("based on a heading") << doc("\\pard\\s2 Lead\\par") << u"Lead"_qs << 1 << u"Lead"_qs << 0u << 0 << 700 << true;
    QTest::newRow("own level wins") << doc("\\pard\\s1\\outlinelevel2 Sub\\par") << u"Sub"_qs << 3 << u"heading 1"_qs << 0u << 0 << 700 << true;
    QTest::newRow("level 9 is body text") << doc("\\pard\\s1\\outlinelevel9 Body\\par") << u"Body"_qs << 0 << u"heading 1"_qs << 0u << 0 << 700 << true;
    QTest::newRow("level 12") << doc("\\pard\\outlinelevel12 Body\\par") << u"Body"_qs << 0 << u"Normal"_qs << 0u << 0 << 400 << false;
    QTest::newRow("level -1") << doc("\\pard\\outlinelevel-1 Body\\par") << u"Body"_qs << 0 << u"Normal"_qs << 0u << 0 << 400 << false;
    QTest::newRow("based-on cycle") << doc("\\pard\\s3 Loop\\par") << u"Loop"_qs << 3 << u"Loop A"_qs << 0u << 0 << 400 << false;
    QTest::newRow("missing style") << doc("\\pard\\s77 Lost\\par") << u"Lost"_qs << 0 << u"Normal"_qs << 0u << 0 << 400 << false;
    QTest::newRow("character style") << doc("\\pard{\\cs10 Strong}\\par") << u"Strong"_qs << 0 << u"Normal"_qs << 0u << 0 << 700 << true;
    QTest::newRow("Normal without its index")
        << QByteArray("{\\rtf1{\\stylesheet{\\b\\fs20 Normal;}{\\s1\\sbasedon0 Sub;}}\\pard\\plain\\s1 N\\par}") << u"N"_qs << 0
        << u"Sub"_qs << 0u << 0 << 700 << true;
    QTest::newRow("level without a sheet") << QByteArray("{\\rtf1\\pard\\outlinelevel1\\b H\\par}") << u"H"_qs << 2 << QString()
                                           << 0u << 0 << 700 << true;

    struct Effect {
        const char* word;
        std::uint32_t effect;
    };
    for (const Effect e : {Effect{"v", CFE_HIDDEN}, Effect{"protect", CFE_PROTECTED}, Effect{"scaps", CFE_SMALLCAPS},
                           Effect{"caps", CFE_ALLCAPS}, Effect{"outl", CFE_OUTLINE}, Effect{"shad", CFE_SHADOW},
                           Effect{"embo", CFE_EMBOSS}, Effect{"impr", CFE_IMPRINT}}) {
        const QByteArray w = e.word;
        QTest::newRow(w) << doc("\\pard\\" + w + " X\\" + w + "0 Y\\par") << u"X"_qs << 0 << u"Normal"_qs << uint(e.effect) << 0 << 400 << false;
        QTest::newRow(w + "0") << doc("\\pard\\" + w + " X\\" + w + "0 Y\\par") << u"Y"_qs << 0 << u"Normal"_qs << 0u << 0 << 400 << false;
    }
    auto underline = [&](const char* name, const QByteArray& words, int type) {
        QTest::newRow(name) << doc("\\pard " + words + " U\\par") << u"U"_qs << 0 << u"Normal"_qs << 0u << type << 400 << false;
    };
    underline("double", "\\uldb", CFU_UNDERLINEDOUBLE);
    underline("wave red", "\\ulwave\\ulc1", CFU_UNDERLINEWAVE | (6 << 4));
    underline("heavy wave", "\\ulhwave", CFU_UNDERLINEWAVE);
    underline("double wave", "\\ululdbwave", CFU_UNDERLINEWAVE);
    underline("thick dotted", "\\ulthd", CFU_UNDERLINEDOTTED);
    underline("thick dash", "\\ulthdash", CFU_UNDERLINEDASH);
    underline("long dash", "\\ulldash", CFU_UNDERLINEDASH);
    underline("thick dash-dot-dot", "\\ulthdashdd", CFU_UNDERLINEDASHDOTDOT);
    underline("thick", "\\ulth", CFU_UNDERLINETHICK);
    underline("colour out of range", "\\ul\\ulc99", CFU_UNDERLINE);
    underline("automatic colour", "\\ul\\ulc0", CFU_UNDERLINE);
    underline("underline off keeps no colour", "\\ul\\ulc1\\ul0", 0);

    auto weight = [&](const char* name, const QByteArray& words, int w, bool bold) {
        QTest::newRow(name) << doc("\\pard " + words + " W\\par") << u"W"_qs << 0 << u"Normal"_qs << 0u << 0 << w << bold;
    };
    weight("bold", "\\b", 700, true);
    weight("bold off", "\\b\\b0", 400, false);
    weight("light", "{\\*\\qxweight300}", 300, false);
    weight("semibold", "{\\*\\qxweight600}", 600, true);
    weight("black", "{\\*\\qxweight900}", 900, true);
    weight("bold after a weight", "{\\*\\qxweight300}\\b", 700, true);
    weight("absurd weight", "{\\*\\qxweight99999}", 1000, true);
}

void TestRtfStyles::smallDocuments() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, probe);
    QFETCH(int, level);
    QFETCH(QString, style);
    QFETCH(uint, effects);
    QFETCH(int, underline);
    QFETCH(int, weight);
    QFETCH(bool, bold);
    const Loaded original = load(rtf);
    QVERIFY(original.result.ok);
    const Loaded again = roundTrip(*original.doc);
    for (const Loaded* l : {&original, &again}) {
        const QTextDocument& doc = *l->doc;
        const int at = find(doc, probe);
        QVERIFY2(at >= 0, qPrintable(paragraphs(doc).join(u'|')));
        const QTextBlock block = doc.findBlock(at);
        QCOMPARE(int(paraFormatFrom(block.blockFormat()).bOutlineLevel), level);
        // Written back, a level without a style gets one of Word's heading styles.
        if (l == &again && style.isEmpty() && level > 0) QCOMPARE(styleName(doc, block), QStringLiteral("heading %1").arg(level));
        else if (!style.isEmpty()) QCOMPARE(styleName(doc, block), style);
        const CHARFORMAT2 cf = charAt(doc, at);
        QCOMPARE(cf.dwEffects & kStoredCharEffects, effects);
        QCOMPARE(int(cf.bUnderlineType), underline);
        QCOMPARE(int(cf.wWeight), weight);
        QCOMPARE(hasEffect(cf, CFE_BOLD), bold);
    }
}

void TestRtfStyles::writtenStyleSheet() {
    // What other readers need: the sheet with the used styles, their bases and Normal, names and
    // levels; each paragraph \plain\sN and its own level; bold for a heavy weight.
    const Loaded l = load("{\\rtf1{\\stylesheet{\\s0\\fs20 Normal;}{\\s5\\sbasedon0\\snext0\\outlinelevel1\\b\\fs28 Kapitola;}"
                          "{\\s6\\sbasedon5 Nepoužitý;}}\\pard\\s5\\outlinelevel1\\b\\fs28 Nadpis\\par\\pard\\plain\\s0\\fs20 "
                          "{\\*\\qxweight800}T\\'ec\\'9e\\'e9\\par}");
    const QByteArray rtf = writeRtf(*l.doc, 0, -1, RtfObjects::Include);
    const QByteArray sheet = rtf.mid(rtf.indexOf("{\\stylesheet"), rtf.indexOf("{\\*\\generator") - rtf.indexOf("{\\stylesheet"));
    QVERIFY2(sheet.contains("{\\s0") && sheet.contains(" Normal;}"), sheet.constData());
    QVERIFY2(sheet.contains("{\\s5") && sheet.contains("\\outlinelevel1") && sheet.contains("\\sbasedon0") &&
                 sheet.contains("\\snext0") && sheet.contains(" Kapitola;}"),
             sheet.constData());
    QVERIFY2(!sheet.contains("Nepou"), sheet.constData());  // not used, not written
    QVERIFY2(rtf.contains("\\pard\\plain\\s5\\outlinelevel1\\fs28\\b"), rtf.constData());
    // The style's formatting is said again after \plain; the run says only what differs from it.
    QVERIFY2(rtf.contains("\\pard\\plain\\s0\\fs20\\b{\\*\\qxweight800}T"), rtf.constData());
}

void TestRtfStyles::normalOfADocumentWithoutOne() {
    // A document with headings but no Normal: the Normal written for it is the document's own
    // default font at its size, in automatic colours, so that other programs' new text looks right.
    const Loaded headed = load("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\pard\\outlinelevel0\\b Nadpis\\par\\pard Text.\\par}");
    const QByteArray rtf = writeRtf(*headed.doc, 0, -1, RtfObjects::Include);
    const qsizetype at = rtf.indexOf("{\\s0");
    QVERIFY2(at >= 0, rtf.constData());
    const QByteArray normal = rtf.mid(at, rtf.indexOf(" Normal;}", at) - at);
    for (const char* wrong : {"\\fs1\\", "\\cf1", "\\highlight1"}) QVERIFY2(!normal.contains(wrong), normal.constData());
    QVERIFY2(normal.contains("\\fs" + QByteArray::number(headed.doc->defaultFont().pointSize() * 2)), normal.constData());
    const Loaded back = load(rtf);
    QCOMPARE(paragraphs(*back.doc), (QStringList{u"Nadpis"_qs, u"Text."_qs}));
    QVERIFY(hasEffect(charAt(*back.doc, 0), CFE_AUTOCOLOR));
    QVERIFY(hasEffect(charAt(*back.doc, 0), CFE_AUTOBACKCOLOR));
    // Without a style sheet and headings nothing is said of styles.
    const Loaded plain = load("{\\rtf1 Jen text.\\par}");
    const QByteArray unstyled = writeRtf(*plain.doc, 0, -1, RtfObjects::Include);
    QVERIFY2(!unstyled.contains("stylesheet") && !unstyled.contains("\\s0"), unstyled.constData());
}

void TestRtfStyles::hostileStyleSheetsAreBounded_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    auto chain = [](int count, bool loop) {
        QByteArray r("{\\rtf1{\\stylesheet");
        for (int i = 0; i < count; ++i)
            r += "{\\s" + QByteArray::number(i) + "\\sbasedon" + QByteArray::number(loop ? (i + 1) % count : i - 1) +
                 "\\snext" + QByteArray::number(count - i) + "\\outlinelevel" + QByteArray::number(i % 12) + "\\fs" +
                 QByteArray::number(20 + i % 10) + " S" + QByteArray::number(i) + ";}";
        r += "}";
        for (int i = 0; i < 2000; ++i) r += "\\pard\\s" + QByteArray::number(count - 1 - i % count) + " x\\par";
        return r + "}";
    };
    QTest::newRow("long chain of bases") << chain(5000, false) << QStringList(2000, u"x"_qs).join(u'|');
    QTest::newRow("a loop of bases") << chain(3000, true) << QStringList(2000, u"x"_qs).join(u'|');
    QTest::newRow("thousands of style sheets")
        << [] {
               QByteArray r("{\\rtf1{\\stylesheet");
               for (int i = 1; i < 3000; ++i) r += "{\\s" + QByteArray::number(i) + " S" + QByteArray::number(i) + ";}";
               r += '}';
               for (int i = 0; i < 3000; ++i) r += "{\\stylesheet{\\s1 S1;}}";
               return r + "\\s2999 x}";
           }()
        << u"x"_qs;
    QTest::newRow("named as a heading, told it is none")
        << QByteArray("{\\rtf1{\\stylesheet{\\pard Heading 4;}}\\pard\\s0 x\\par}") << u"x"_qs;
    QTest::newRow("indices out of range")
        << QByteArray("{\\rtf1{\\stylesheet{\\s99999999999 Big;}{\\s-5 Neg;}{\\s40000\\outlinelevel1 Far;}}"
                      "\\pard\\s99999999999 a\\par\\pard\\s40000 b\\par\\pard\\s-5 c\\par}")
        << u"a|b|c"_qs;
    QTest::newRow("entries without ends")
        << QByteArray("{\\rtf1{\\stylesheet{\\s1\\sbasedon1\\snext1 Self{\\*\\cs2 X;}{\\s3 {\\s4 Y}}}}\\s1 a}") << u"a"_qs;
    QTest::newRow("our weight anywhere")
        << QByteArray("{\\rtf1{\\*\\qxweight-7}a\\qxweight5000 b{\\*\\qxweight}c{\\stylesheet{\\*\\qxweight300}}}") << u"abc"_qs;
    QTest::newRow("absurd levels and colours")
        << QByteArray("{\\rtf1\\outlinelevel99999999999 x\\outlinelevel-3\\ul\\ulc99999999999 y\\ulc-9 z}") << u"xyz"_qs;
}

void TestRtfStyles::hostileStyleSheetsAreBounded() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    const Loaded original = load(rtf);
    QVERIFY(original.result.ok);
    QCOMPARE(paragraphs(*original.doc).join(u'|'), expected);
    const Loaded again = roundTrip(*original.doc);
    QVERIFY(again.result.ok);
    QCOMPARE(paragraphs(*again.doc).join(u'|'), expected);
    auto levels = [](const QTextDocument& doc) {
        QList<int> out;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) out << paraFormatFrom(b.blockFormat()).bOutlineLevel;
        return out;
    };
    QCOMPARE(levels(*again.doc), levels(*original.doc));
}

// ---- the engine -----------------------------------------------------------------------------------

// Bases are followed however far they go, on reading and through a round trip.
void TestRtfStyles::longChainsOfBasesKeepTheirFormat() {
    QByteArray rtf("{\\rtf1{\\stylesheet{\\s1\\b\\outlinelevel2 S1;}");
    for (int i = 2; i <= 20; ++i)
        rtf += "{\\s" + QByteArray::number(i) + "\\sbasedon" + QByteArray::number(i - 1) + " S" + QByteArray::number(i) + ";}";
    rtf += "}\\pard\\s20 deep\\par}";
    const Loaded original = load(rtf);
    const Loaded again = roundTrip(*original.doc);
    for (const Loaded* l : {&original, &again}) {
        QVERIFY(hasEffect(charAt(*l->doc, 0), CFE_BOLD));
        QCOMPARE(paraFormatFrom(l->doc->begin().blockFormat()).bOutlineLevel, 3);
    }
}

void TestRtfStyles::hiddenTextIsNeitherDrawnNorPrinted() {
    auto plain = engineWithRtf("{\\rtf1\\pard\\fs28 Before after.\\par\\pard Next\\par}");
    auto hidden = engineWithRtf("{\\rtf1\\pard\\fs28 Before{\\v  hidden words \\ul\\strike\\cb1 more} after.\\par"
                                "\\pard{\\v whole hidden paragraph}Next\\par}");
    QCOMPARE(text(*hidden), u"Before hidden words more after.\rwhole hidden paragraphNext"_qs);
    // No width: the text after it stands where it stands without it.
    QCOMPARE(hidden->posFromChar(int(text(*hidden).indexOf(u" after"))), plain->posFromChar(6));
    QCOMPARE(hidden->getLineCount(), plain->getLineCount());
    for (auto* e : {plain.get(), hidden.get()}) e->setSel(0, 0);
    QCOMPARE(hidden->viewport()->grab().toImage(), plain->viewport()->grab().toImage());
    QCOMPARE(printed(*hidden), printed(*plain));
    QTemporaryDir dir;
    const QImage pdfPlain = printedPdf(*plain, dir.filePath(u"plain.pdf"_qs));
    if (!pdfPlain.isNull()) QCOMPARE(printedPdf(*hidden, dir.filePath(u"hidden.pdf"_qs)), pdfPlain);

    // The caret steps over it as over nothing.
    const int after = int(text(*hidden).indexOf(u" after"));
    hidden->setSel(6, 6);
    key(*hidden, Qt::Key_Right);
    QCOMPARE(hidden->exGetSel().cpMin, after + 1);
    key(*hidden, Qt::Key_Left);
    QCOMPARE(hidden->exGetSel().cpMin, after);
    key(*hidden, Qt::Key_Left);
    QCOMPARE(hidden->exGetSel().cpMin, 5);

    // Kept, found and saved.
    FINDTEXTEX find;
    find.chrg = {0, -1};
    find.lpstrText = u"hidden words";
    QCOMPARE(hidden->findTextEx(FR_DOWN, find), 7);
    const QByteArray rtf = saved(*hidden);
    QVERIFY2(rtf.contains("\\v  hidden words "), rtf.constData());
    QVERIFY2(rtf.contains("\\v0  after."), rtf.constData());
}

void TestRtfStyles::protectedTextRefusesEdits() {
    const QByteArray rtf = "{\\rtf1\\pard free {\\protect LOCKED} free\\par}";
    auto e = engineWithRtf(rtf);
    const QString original = text(*e);
    const int locked = int(original.indexOf(u"LOCKED"));
    auto unchanged = [&] { return text(*e) == original; };

    e->setSel(locked + 2, locked + 2);  // inside
    key(*e, Qt::Key_X, u"x"_qs);
    QVERIFY(unchanged());
    key(*e, Qt::Key_Backspace);
    QVERIFY(unchanged());
    key(*e, Qt::Key_Return);
    QVERIFY(unchanged());
    e->setSel(locked - 2, locked + 2);  // across
    key(*e, Qt::Key_Delete);
    QVERIFY(unchanged());
    e->replaceSel(u"replaced"_qs, true);
    QVERIFY(unchanged());
    e->cut();
    QVERIFY(unchanged());
    QGuiApplication::clipboard()->setText(u"pasted"_qs);
    e->paste();
    QVERIFY(unchanged());
    streamSelection(*e, "{\\rtf1 streamed}");
    QVERIFY(unchanged());
    QMimeData dragged;
    dragged.setText(u"dropped"_qs);
    const QPointF into = QPointF(e->posFromChar(locked + 3)) + QPointF(0, 4);
    QDragEnterEvent enter(into.toPoint(), Qt::MoveAction | Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(e->viewport(), &enter);
    QDropEvent drop(into, Qt::MoveAction | Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(e->viewport(), &drop);
    QVERIFY(unchanged());
    QVERIFY(!drop.isAccepted());  // a moving source keeps its text
    e->setSel(locked + 6, locked + 6);  // right after it, Backspace would take its last letter
    key(*e, Qt::Key_Backspace);
    QVERIFY(unchanged());
    QVERIFY(!e->canUndo());

    // Its formatting may change.
    e->setSel(locked, locked + 6);
    QVERIFY(e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, CFE_BOLD)));
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);

    // At its edges text may be typed, and that text is free.
    e->setSel(locked + 6, locked + 6);
    key(*e, Qt::Key_Y, u"y"_qs);
    e->setSel(locked, locked);
    key(*e, Qt::Key_Z, u"z"_qs);
    QCOMPARE(text(*e), u"free zLOCKEDy free"_qs);
    e->setSel(locked, locked + 1);
    QVERIFY(!(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_PROTECTED));
    key(*e, Qt::Key_Delete);
    e->setSel(locked + 6, locked + 7);
    key(*e, Qt::Key_Delete);
    QCOMPARE(text(*e), original);
    e->setSel(locked, locked + 6);
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_PROTECTED);
    // A whole new text replaces it.
    e->setWindowText(u"new"_qs);
    QCOMPARE(text(*e), u"new"_qs);
}

void TestRtfStyles::effectsKeptThroughEditing() {
    auto e = engineWithRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\pard A{\\scaps\\ulwave\\ulc1{\\*\\qxweight300}"
                           "Small}B\\par}");
    auto formatOf = [&](int from, int to) {
        e->setSel(from, to);
        return effectsAt(*e->document(), from);
    };
    const QString small = formatOf(1, 6);
    QCOMPARE(small, QStringLiteral("%1|%2|300").arg(CFE_SMALLCAPS, 0, 16).arg(CFU_UNDERLINEWAVE | (6 << 4), 0, 16));
    // typing inside and after the run takes its effects
    e->setSel(3, 3);
    key(*e, Qt::Key_M, u"m"_qs);
    e->setSel(7, 7);
    key(*e, Qt::Key_X, u"x"_qs);
    QCOMPARE(text(*e), u"ASmmallxB"_qs);
    QCOMPARE(formatOf(3, 4), small);
    QCOMPARE(formatOf(7, 8), small);
    // copied and pasted, and saved and loaded
    e->setSel(1, 8);
    e->copy();
    e->setSel(9, 9);
    e->paste();
    QCOMPARE(text(*e), u"ASmmallxBSmmallx"_qs);
    QCOMPARE(formatOf(9, 10), small);
    auto loaded = engineWithRtf(saved(*e));
    QCOMPARE(effectsAt(*loaded->document(), 9), small);
    // how it looks: small capitals, a red wave, a light weight
    const QTextCharFormat qt = qtFormatAt(*e->document(), 2);
    QCOMPARE(qt.fontCapitalization(), QFont::AllUppercase);  // capitals of 80 %
    QCOMPARE(qt.fontPointSize(), 12 * 0.8);
    QCOMPARE(qt.underlineStyle(), QTextCharFormat::WaveUnderline);
    QCOMPARE(qt.underlineColor(), QColor(Qt::red));
    QCOMPARE(qt.fontWeight(), 300);

    // Outlined letters are hollow, drawn by their outline in the text's colour, which they keep.
    auto outlined = engineWithRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\pard\\outl\\cf1 O\\outl0 P\\par}");
    const QTextCharFormat o = qtFormatAt(*outlined->document(), 0);
    QCOMPARE(o.textOutline().color(), QColor(Qt::red));
    QCOMPARE(o.foreground().color().alpha(), 0);
    QCOMPARE(int(charAt(*outlined->document(), 0).crTextColor), 0x0000FF);
    outlined->setSel(0, 1);
    QVERIFY(outlined->setCharFormat(SCF_SELECTION, charFormat(CFM_OUTLINE, 0)));
    QCOMPARE(qtFormatAt(*outlined->document(), 0).foreground().color(), QColor(Qt::red));
    QCOMPARE(qtFormatAt(*outlined->document(), 0).textOutline().style(), Qt::NoPen);
}

void TestRtfStyles::styleSheetThroughLoadPasteAndClear() {
    auto e = engineWithRtf("{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1\\outlinelevel0 Kapitola;}{\\s2 Citace;}}"
                           "\\pard\\s1 One\\par\\pard\\s2 Two\\par}");
    const QTextDocument* doc = e->document();
    auto names = [&] {
        QStringList out;
        for (QTextBlock b = e->document()->begin(); b.isValid(); b = b.next()) out << b.text() + u'=' + styleName(*e->document(), b);
        return out;
    };
    QCOMPARE(names(), (QStringList{u"One=Kapitola"_qs, u"Two=Citace"_qs}));
    QCOMPARE(int(paraFormatFrom(doc->begin().blockFormat()).bOutlineLevel), 1);

    // A pasted document whose index 1 is another style, and whose "Citace" has another index,
    // pasted into a new empty paragraph at the end.
    e->setSel(e->getTextLength(), e->getTextLength());
    key(*e, Qt::Key_Return);
    streamSelection(*e, "{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1 Pozn\\'e1mka;}{\\s7 Citace;}}"
                        "\\pard\\s1 Three\\par\\pard\\s7 Four\\par}");
    const QStringList all{u"One=Kapitola"_qs, u"Two=Citace"_qs, u"Three=Poznámka"_qs, u"Four=Citace"_qs};
    QCOMPARE(names(), all);
    // Undo and redo of the paste leave every paragraph its style.
    QVERIFY(e->undo());
    QCOMPARE(names().mid(0, 2), all.mid(0, 2));
    QVERIFY(e->redo());
    QCOMPARE(names(), all);

    // Copy and paste inside the document through the clipboard.
    e->setSel(0, 4);
    e->copy();
    e->setSel(4, 4);
    e->paste();
    QCOMPARE(names().mid(0, 3), (QStringList{u"One=Kapitola"_qs, u"One=Kapitola"_qs, u"Two=Citace"_qs}));

    // Saved and loaded, the names come back; a new document has none.
    auto loaded = engineWithRtf(saved(*e));
    QCOMPARE(StyleSheet::of(*loaded->document())->indexOf(u"Poznámka"_qs) > 0, true);
    e->clearAll();
    QVERIFY(!StyleSheet::of(*e->document()));
    QVERIFY(!saved(*e).contains("Kapitola"));
    // A document of nothing but a style sheet keeps it until the switch to plain text.
    auto switched = engineWithRtf("{\\rtf1{\\stylesheet{\\s0 Normal;}{\\s1 Kapitola;}}}");
    QVERIFY(StyleSheet::of(*switched->document()));
    QVERIFY(switched->setTextMode(TM_PLAINTEXT));
    QVERIFY(!StyleSheet::of(*switched->document()));
}

void TestRtfStyles::enterAfterHeadingStartsNextStyle() {
    auto e = engineWithRtf("{\\rtf1{\\stylesheet{\\s0\\fs20 Normal;}{\\s1\\snext0\\outlinelevel0\\b\\fs32 heading 1;}}"
                           "\\pard\\plain\\s1\\outlinelevel0\\b\\fs32 Title\\par\\pard\\plain\\s0\\fs20 Body\\par}");
    e->setSel(5, 5);
    key(*e, Qt::Key_Return);
    key(*e, Qt::Key_N, u"n"_qs);
    const QTextBlock fresh = e->document()->findBlockByNumber(1);
    QCOMPARE(fresh.text(), u"n"_qs);
    QCOMPARE(styleName(*e->document(), fresh), u"Normal"_qs);
    QCOMPARE(int(paraFormatFrom(fresh.blockFormat()).bOutlineLevel), 0);
    e->setSel(6, 7);
    const CHARFORMAT2 typed = e->getCharFormat(SCF_SELECTION);
    QCOMPARE(int(typed.yHeight), 200);
    QVERIFY(!(typed.dwEffects & CFE_BOLD));
    // Enter inside the heading splits it into two headings.
    e->setSel(2, 2);
    key(*e, Qt::Key_Return);
    QCOMPARE(styleName(*e->document(), e->document()->findBlockByNumber(1)), u"heading 1"_qs);
    // One step undoes each.
    QVERIFY(e->undo());
    QVERIFY(e->undo());
    QCOMPARE(text(*e), u"Title\rBody"_qs);
}

QX_REGISTER_TEST(TestRtfStyles)
#include "tst_rtfstyles.moc"
