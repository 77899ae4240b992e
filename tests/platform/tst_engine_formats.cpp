// Character and paragraph records through the engine: masks, mixed selections, automatic colours,
// plain-text mode and pictures.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QImage>
#include <QBuffer>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace richedit;
using namespace enginetest;

class EngineFormatsTest : public QObject {
    Q_OBJECT
private slots:
    void charFieldsRoundTrip_data();
    void charFieldsRoundTrip();
    void maskWritesOnlyNamedFields();
    void mixedSelectionClearsMaskBits();
    void automaticColours();
    void insertionFormatAppliesToTyping();
    void defaultFormat();
    void paraFieldsRoundTrip();
    void paraFormatTouchesEverySelectedParagraph();
    void formatChangesAreUndoable();
    void plainTextModeHoldsOneFormat();
    void textModeRefusedWhenNotEmpty();
    void pictureIsOneCharacter();
};

void EngineFormatsTest::charFieldsRoundTrip_data() {
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<quint32>("effects");
    QTest::addColumn<int>("height");
    QTest::addColumn<quint32>("color");
    QTest::addColumn<int>("underlineType");
    QTest::newRow("bold") << quint32(CFM_BOLD) << quint32(CFE_BOLD) << 0 << 0u << 0;
    QTest::newRow("italic+strike") << quint32(CFM_ITALIC | CFM_STRIKEOUT) << quint32(CFE_ITALIC | CFE_STRIKEOUT) << 0 << 0u << 0;
    QTest::newRow("size 10.5pt") << quint32(CFM_SIZE) << 0u << 210 << 0u << 0;
    QTest::newRow("colour") << quint32(CFM_COLOR) << 0u << 0 << 0x00336699u << 0;
    QTest::newRow("subscript") << quint32(CFM_SUBSCRIPT | CFM_SUPERSCRIPT) << quint32(CFE_SUBSCRIPT) << 0 << 0u << 0;
    QTest::newRow("superscript") << quint32(CFM_SUBSCRIPT | CFM_SUPERSCRIPT) << quint32(CFE_SUPERSCRIPT) << 0 << 0u << 0;
    QTest::newRow("dotted") << quint32(CFM_UNDERLINETYPE | CFM_UNDERLINE) << quint32(CFE_UNDERLINE) << 0 << 0u << 4;
    QTest::newRow("dash-dot") << quint32(CFM_UNDERLINETYPE | CFM_UNDERLINE) << quint32(CFE_UNDERLINE) << 0 << 0u << 6;
    QTest::newRow("wave") << quint32(CFM_UNDERLINETYPE | CFM_UNDERLINE) << quint32(CFE_UNDERLINE) << 0 << 0u << 8;
}

void EngineFormatsTest::charFieldsRoundTrip() {
    QFETCH(quint32, mask);
    QFETCH(quint32, effects);
    QFETCH(int, height);
    QFETCH(quint32, color);
    QFETCH(int, underlineType);
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("Příliš žluťoučký kůň"), true);
    e->setSel(0, 6);
    CHARFORMAT2 cf = charFormat(mask, effects);
    cf.yHeight = height;
    cf.crTextColor = color;
    cf.bUnderlineType = std::uint8_t(underlineType);
    QVERIFY(e->setCharFormat(SCF_SELECTION, cf));
    const CHARFORMAT2 back = e->getCharFormat(SCF_SELECTION);
    QCOMPARE(back.dwMask & mask, mask);
    QCOMPARE(back.dwEffects & (mask & ~(CFM_SIZE | CFM_COLOR | CFM_UNDERLINETYPE)), effects & ~CFE_AUTOCOLOR);
    if (mask & CFM_SIZE) QCOMPARE(back.yHeight, height);
    if (mask & CFM_COLOR) {
        QVERIFY(!(back.dwEffects & CFE_AUTOCOLOR));
        QCOMPARE(back.crTextColor, color);
    }
    if (mask & CFM_UNDERLINETYPE) QCOMPARE(int(back.bUnderlineType & 0x0F), underlineType);
    // the characters outside the selection keep the default
    e->setSel(10, 12);
    const CHARFORMAT2 outside = e->getCharFormat(SCF_SELECTION);
    QVERIFY(!(outside.dwEffects & effects));
}

void EngineFormatsTest::maskWritesOnlyNamedFields() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("abc"), true);
    e->setSel(0, 3);
    CHARFORMAT2 setup = charFormat(CFM_BOLD | CFM_ITALIC | CFM_SIZE, CFE_BOLD | CFE_ITALIC);
    setup.yHeight = 480;
    e->setCharFormat(SCF_SELECTION, setup);
    // Only the italic bit is named: bold and the size must stay although the record says otherwise.
    CHARFORMAT2 italicOff = charFormat(CFM_ITALIC, 0);
    italicOff.yHeight = 100;
    e->setCharFormat(SCF_SELECTION, italicOff);
    const CHARFORMAT2 back = e->getCharFormat(SCF_SELECTION);
    QVERIFY(back.dwEffects & CFE_BOLD);
    QVERIFY(!(back.dwEffects & CFE_ITALIC));
    QCOMPARE(back.yHeight, 480);
    // all four styles written at once remove those not set
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT, CFE_UNDERLINE));
    const CHARFORMAT2 styles = e->getCharFormat(SCF_SELECTION);
    QCOMPARE(styles.dwEffects & 0x0F, CFE_UNDERLINE);
}

void EngineFormatsTest::mixedSelectionClearsMaskBits() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("bold plain"), true);
    e->setSel(0, 4);
    CHARFORMAT2 bold = charFormat(CFM_BOLD | CFM_SIZE, CFE_BOLD);
    bold.yHeight = 240;
    e->setCharFormat(SCF_SELECTION, bold);
    e->setSel(2, 8);
    const CHARFORMAT2 mixed = e->getCharFormat(SCF_SELECTION);
    QVERIFY(!(mixed.dwMask & CFM_BOLD));
    QVERIFY(!(mixed.dwMask & CFM_SIZE));
    QVERIFY(mixed.dwMask & CFM_ITALIC);  // consistent fields stay named
    QVERIFY(mixed.dwMask & CFM_FACE);
    QVERIFY(mixed.dwEffects & CFE_BOLD);  // the values are those of the selection's start
    QCOMPARE(mixed.yHeight, 240);

    e->setSel(0, 10);
    const PARAFORMAT2 one = e->getParaFormat();
    QVERIFY(one.dwMask & PFM_ALIGNMENT);
    e->setSel(10, 10);
    e->replaceSel(QStringLiteral("\rsecond"), true);
    PARAFORMAT2 right = paraFormat(PFM_ALIGNMENT);
    right.wAlignment = PFA_RIGHT;
    e->setParaFormat(right);
    e->setSel(0, -1);
    QVERIFY(!(e->getParaFormat().dwMask & PFM_ALIGNMENT));
}

void EngineFormatsTest::automaticColours() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("text"), true);
    e->setSel(0, 4);
    const CHARFORMAT2 initial = e->getCharFormat(SCF_SELECTION);
    QVERIFY(initial.dwEffects & CFE_AUTOCOLOR);
    QVERIFY(initial.dwEffects & CFE_AUTOBACKCOLOR);
    CHARFORMAT2 colours = charFormat(CFM_COLOR | CFM_BACKCOLOR);
    colours.crTextColor = 0x000000FF;
    colours.crBackColor = 0x0000FF00;
    e->setCharFormat(SCF_SELECTION, colours);
    CHARFORMAT2 back = e->getCharFormat(SCF_SELECTION);
    QVERIFY(!(back.dwEffects & (CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR)));
    QCOMPARE(back.crTextColor, 0x000000FFu);
    QCOMPARE(back.crBackColor, 0x0000FF00u);
    // Back to automatic: nothing of the explicit colours stays, and the text draws in the palette's colour.
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_COLOR | CFM_BACKCOLOR, CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR));
    back = e->getCharFormat(SCF_SELECTION);
    QVERIFY(back.dwEffects & CFE_AUTOCOLOR);
    QVERIFY(back.dwEffects & CFE_AUTOBACKCOLOR);
    QPalette palette = e->palette();
    palette.setColor(QPalette::Text, QColor(0, 200, 0));
    palette.setColor(QPalette::Base, Qt::white);
    e->setPalette(palette);
    e->setSel(0, 0);
    CHARFORMAT2 big = charFormat(CFM_SIZE);
    big.yHeight = 720;
    e->setSel(0, 4);
    e->setCharFormat(SCF_SELECTION, big);
    e->setSel(0, 0);
    const QImage shot = e->viewport()->grab().toImage();
    bool green = false;
    for (int y = 0; y < 60 && !green; ++y)
        for (int x = 0; x < 120 && !green; ++x) {
            const QColor c = shot.pixelColor(x, y);
            green = c.green() > 120 && c.red() < 80 && c.blue() < 80;
        }
    QVERIFY2(green, "automatic text colour follows the palette");
}

void EngineFormatsTest::insertionFormatAppliesToTyping() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("ab"), true);
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, CFE_BOLD));  // empty selection: the insertion format
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    QTest::keyClicks(e.get(), QStringLiteral("cd"));
    e->setSel(2, 4);
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    e->setSel(0, 2);
    QVERIFY(!(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD));
    // word scope at an empty selection formats the word around the caret
    e->setSel(1, 1);
    e->setCharFormat(SCF_WORD | SCF_SELECTION, charFormat(CFM_ITALIC, CFE_ITALIC));
    e->setSel(0, 4);
    const CHARFORMAT2 word = e->getCharFormat(SCF_SELECTION);
    QVERIFY(word.dwMask & CFM_ITALIC);
    QVERIFY(word.dwEffects & CFE_ITALIC);
}

void EngineFormatsTest::defaultFormat() {
    auto e = makeEngine();
    CHARFORMAT2 cf = charFormat(CFM_FACE | CFM_SIZE);
    setFaceName(cf, QStringLiteral("A face name that is much longer than thirty-two characters"));
    cf.yHeight = 160;
    QVERIFY(e->setCharFormat(SCF_DEFAULT, cf));
    const CHARFORMAT2 back = e->getCharFormat(SCF_DEFAULT);
    QCOMPARE(faceName(back), QStringLiteral("A face name that is much longer "));
    QCOMPARE(back.yHeight, 160);
    e->replaceSel(QStringLiteral("x"), true);
    e->setSel(0, 1);
    QCOMPARE(e->getCharFormat(SCF_SELECTION).yHeight, 160);
}

void EngineFormatsTest::paraFieldsRoundTrip() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("one"), true);
    PARAFORMAT2 pf = paraFormat(PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_SPACEBEFORE |
                                PFM_SPACEAFTER | PFM_LINESPACING | PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE);
    pf.dxStartIndent = 720;
    pf.dxRightIndent = 360;
    pf.dxOffset = 200;
    pf.wAlignment = PFA_JUSTIFY;
    pf.dySpaceBefore = 120;
    pf.dySpaceAfter = 240;
    pf.dyLineSpacing = 600;
    pf.bLineSpacingRule = LS_EXACTLY;
    pf.wNumbering = PFN_ARABIC;
    pf.wNumberingStart = 3;
    pf.wNumberingStyle = PFNS_PERIOD;
    e->setParaFormat(pf);
    const PARAFORMAT2 back = e->getParaFormat();
    QCOMPARE(back.dxStartIndent, 720);
    QCOMPARE(back.dxRightIndent, 360);
    QCOMPARE(back.dxOffset, 200);
    QCOMPARE(back.wAlignment, PFA_JUSTIFY);
    QCOMPARE(back.dySpaceBefore, 120);
    QCOMPARE(back.dySpaceAfter, 240);
    QCOMPARE(back.dyLineSpacing, 600);
    QCOMPARE(back.bLineSpacingRule, LS_EXACTLY);
    QCOMPARE(back.wNumbering, PFN_ARABIC);
    QCOMPARE(back.wNumberingStart, 3);
    QCOMPARE(back.wNumberingStyle, PFNS_PERIOD);
    // a later write of one field keeps the others
    PARAFORMAT2 single = paraFormat(PFM_LINESPACING);
    single.dyLineSpacing = 600;
    single.bLineSpacingRule = LS_SINGLE;
    e->setParaFormat(single);
    QCOMPARE(e->getParaFormat().dyLineSpacing, 600);
    QCOMPARE(e->getParaFormat().dxStartIndent, 720);
}

void EngineFormatsTest::paraFormatTouchesEverySelectedParagraph() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("one\rtwo\rthree"), true);
    e->setSel(2, 5);  // from "one" into "two"
    PARAFORMAT2 centre = paraFormat(PFM_ALIGNMENT);
    centre.wAlignment = PFA_CENTER;
    e->setParaFormat(centre);
    e->setSel(0, 0);
    QCOMPARE(e->getParaFormat().wAlignment, PFA_CENTER);
    e->setSel(5, 5);
    QCOMPARE(e->getParaFormat().wAlignment, PFA_CENTER);
    e->setSel(9, 9);
    QCOMPARE(e->getParaFormat().wAlignment, PFA_LEFT);
}

void EngineFormatsTest::formatChangesAreUndoable() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("one\rtwo"), true);
    e->setSel(0, 7);
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, CFE_BOLD));
    PARAFORMAT2 indent = paraFormat(PFM_STARTINDENT);
    indent.dxStartIndent = 1440;
    e->setParaFormat(indent);
    QVERIFY(e->undo());
    e->setSel(5, 5);
    QCOMPARE(e->getParaFormat().dxStartIndent, 0);
    e->setSel(0, 7);
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    QVERIFY(e->undo());
    QVERIFY(!(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD));
    QCOMPARE(text(*e), QStringLiteral("one\rtwo"));
    QVERIFY(e->redo());
    QVERIFY(e->redo());
    e->setSel(0, 7);
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    QCOMPARE(e->getParaFormat().dxStartIndent, 1440);
}

void EngineFormatsTest::plainTextModeHoldsOneFormat() {
    auto e = makeEngine();
    QVERIFY(e->setTextMode(TM_PLAINTEXT | TM_MULTILEVELUNDO));
    QVERIFY(e->textMode() & TM_PLAINTEXT);
    e->replaceSel(QStringLiteral("alpha beta"), true);
    e->setSel(0, 5);
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, CFE_BOLD));
    e->setSel(6, 10);
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    e->setSel(10, 10);
    QTest::keyClicks(e.get(), QStringLiteral(" gamma"));
    e->setSel(0, -1);
    const CHARFORMAT2 all = e->getCharFormat(SCF_SELECTION);
    QVERIFY(all.dwMask & CFM_BOLD);
    QVERIFY(all.dwEffects & CFE_BOLD);
    // no pictures in plain text
    Picture picture;
    picture.format = QStringLiteral("png");
    e->insertPicture(picture);
    QVERIFY(!text(*e).contains(QChar::ObjectReplacementCharacter));
}

void EngineFormatsTest::textModeRefusedWhenNotEmpty() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("x"), true);
    QVERIFY(!e->setTextMode(TM_PLAINTEXT));
    QVERIFY(e->textMode() & TM_RICHTEXT);
    e->clearAll();
    QVERIFY(e->setTextMode(TM_PLAINTEXT));
    QVERIFY(e->textMode() & TM_PLAINTEXT);
}

void EngineFormatsTest::pictureIsOneCharacter() {
    auto e = makeEngine();
    Picture refused;
    refused.format = QStringLiteral("png");
    e->insertPicture(refused);  // no container consents
    QCOMPARE(e->getTextLength(), 0);
    e->setObjectCallback(&enginetest::acceptingObjects());
    e->replaceSel(QStringLiteral("ab"), true);
    e->setSel(1, 1);
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    Picture picture;
    picture.data = png;
    picture.format = QStringLiteral("png");
    e->insertPicture(picture);
    QCOMPARE(e->getTextLength(), 3);
    QCOMPARE(e->exGetSel(), (CHARRANGE{2, 2}));
    e->setSel(1, 2);
    QCOMPARE(e->selectionType(), SEL_OBJECT);
    // the picture keeps its bytes and size
    QTextCursor c(const_cast<QTextDocument*>(e->document()));
    c.setPosition(2);
    Picture back;
    QVERIFY(pictureFromFormat(c.charFormat(), back));
    QCOMPARE(back.data, png);
    QCOMPARE(back.widthTwips, 600);
    // pictures are drawn scaled with the zoom
    e->setSel(3, 3);
    const auto redWidth = [&] {
        const QImage shot = e->viewport()->grab().toImage();
        int best = 0;
        for (int y = 0; y < shot.height(); ++y) {
            int run = 0;
            for (int x = 0; x < shot.width(); ++x) run += shot.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
            best = std::max(best, run);
        }
        return best;
    };
    QCOMPARE(redWidth(), 40);
    e->setZoom(2, 1);
    QVERIFY(std::abs(redWidth() - 80) <= 2);
    // deleting it is one step back
    e->setSel(1, 2);
    e->clear();
    QCOMPARE(text(*e), QStringLiteral("ab"));
    QVERIFY(e->undo());
    QCOMPARE(e->getTextLength(), 3);
}

QX_REGISTER_TEST(EngineFormatsTest)
#include "tst_engine_formats.moc"
