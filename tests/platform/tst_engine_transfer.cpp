// Text leaving and entering the engine: streams, find, format-range, links and the clipboard.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPicture>
#include <QSignalSpy>
#include <QTest>

using namespace richedit;
using namespace enginetest;

namespace {

}  // namespace

class EngineTransferTest : public QObject {
    Q_OBJECT
private slots:
    void streamInText_data();
    void streamInText();
    void streamInSelectionIsUndoable();
    void streamInFailureKeepsContent();
    void streamOutText();
    void streamOutFailureIsReported();
    void find_data();
    void find();
    void formatRangeBreaksSameOnEveryDevice();
    void formatRangeNeverLoops();
    void formatRangeOfEmptyDocument();
    void linksDetectedWithoutChangingFormats();
    void linkNotificationsCarryRange();
    void clipboardRoundTripPlainText();
    void richTextTravelsAsRtf();
    void numberingLabels();
};

void EngineTransferTest::streamInText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("crlf") << QByteArray("a\r\nb") << QStringLiteral("a\rb");
    QTest::newRow("cr") << QByteArray("a\rb\r") << QStringLiteral("a\rb\r");
    QTest::newRow("lf") << QByteArray("a\nb\n\nc") << QStringLiteral("a\rb\r\rc");
    QTest::newRow("czech utf-8") << QStringLiteral("Příliš\r\nžluťoučký").toUtf8() << QStringLiteral("Příliš\ržluťoučký");
}

void EngineTransferTest::streamInText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("old"), true);
    EDITSTREAM in = streamFrom(bytes);
    e->streamIn(SF_TEXT, in);
    QCOMPARE(in.dwError, 0u);
    QCOMPARE(text(*e), expected);
    QVERIFY(!e->canUndo());
    QVERIFY(!e->getModify());
}

void EngineTransferTest::streamInSelectionIsUndoable() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("keep THIS keep"), true);
    e->setSel(5, 9);
    EDITSTREAM in = streamFrom("that\nline");
    QCOMPARE(e->streamIn(SF_TEXT | SFF_SELECTION, in), 9);
    QCOMPARE(text(*e), QStringLiteral("keep that\rline keep"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("keep THIS keep"));
}

void EngineTransferTest::streamInFailureKeepsContent() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("precious"), true);
    EDITSTREAM failing;
    failing.pfnCallback = [](char*, int, int& transferred) -> std::uint32_t {
        transferred = 0;
        return 5;
    };
    e->streamIn(SF_TEXT, failing);
    QCOMPARE(failing.dwError, 5u);
    QCOMPARE(text(*e), QStringLiteral("precious"));
    EDITSTREAM notRtf = streamFrom("this is not rtf");
    e->streamIn(SF_RTF, notRtf);
    QVERIFY(notRtf.dwError != 0);
    QCOMPARE(text(*e), QStringLiteral("precious"));
}

void EngineTransferTest::streamOutText() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("Řádek\rdruhý\r"), true);
    QByteArray all;
    EDITSTREAM out = streamInto(all);
    const int written = e->streamOut(SF_TEXT, out);
    QCOMPARE(written, int(all.size()));
    QCOMPARE(all, QStringLiteral("Řádek\r\ndruhý\r\n").toUtf8());
    e->setSel(2, 8);
    QByteArray part;
    EDITSTREAM outSel = streamInto(part);
    e->streamOut(SF_TEXT | SFF_SELECTION, outSel);
    QCOMPARE(part, QStringLiteral("dek\r\ndr").toUtf8());
    QByteArray wide;
    EDITSTREAM outWide = streamInto(wide);
    e->streamOut(SF_TEXT | SF_UNICODE | SFF_SELECTION, outWide);
    QCOMPARE(wide.size(), 14);
    QCOMPARE(wide.left(2), QByteArray("d\0", 2));
}

void EngineTransferTest::streamOutFailureIsReported() {
    auto e = makeEngine();
    e->replaceSel(QString(10000, u'x'), true);
    int calls = 0;
    EDITSTREAM full;
    full.pfnCallback = [&calls](char*, int count, int& transferred) -> std::uint32_t {
        ++calls;
        transferred = calls == 1 ? count : 0;  // the disk fills up after the first block
        return 0;
    };
    const int written = e->streamOut(SF_TEXT, full);
    QVERIFY(full.dwError != 0);
    QVERIFY(written < 10000);
}

void EngineTransferTest::find_data() {
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("expected");
    // text: "Kůň kůň koně kůňa\rKŮŇ"
    QTest::newRow("forward") << quint32(FR_DOWN) << 0 << -1 << "kůň" << 0;
    QTest::newRow("forward case") << quint32(FR_DOWN | FR_MATCHCASE) << 0 << -1 << "kůň" << 4;
    QTest::newRow("forward from middle") << quint32(FR_DOWN) << 1 << -1 << "kůň" << 4;
    QTest::newRow("forward whole word") << quint32(FR_DOWN | FR_WHOLEWORD) << 5 << -1 << "kůň" << 18;
    QTest::newRow("forward range end") << quint32(FR_DOWN) << 5 << 15 << "kůň" << -1;
    QTest::newRow("backward") << quint32(0) << 21 << 0 << "kůň" << 18;
    QTest::newRow("backward case") << quint32(FR_MATCHCASE) << 21 << 0 << "kůň" << 13;
    QTest::newRow("backward whole word") << quint32(FR_WHOLEWORD) << 17 << 0 << "kůň" << 4;
    QTest::newRow("backward limit") << quint32(0) << 21 << 5 << "kůň" << 18;
    QTest::newRow("across break") << quint32(FR_DOWN) << 0 << -1 << "a\rK" << 16;
    QTest::newRow("missing") << quint32(FR_DOWN) << 0 << -1 << "kobyla" << -1;
}

void EngineTransferTest::find() {
    QFETCH(quint32, flags);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, needle);
    QFETCH(int, expected);
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("Kůň kůň koně kůňa\rKŮŇ"), true);
    FINDTEXTEX ft;
    ft.chrg = {from, to};
    ft.lpstrText = reinterpret_cast<const char16_t*>(needle.utf16());
    QCOMPARE(e->findTextEx(flags, ft), expected);
    if (expected >= 0) QCOMPARE(ft.chrgText, (CHARRANGE{expected, expected + int(needle.size())}));
    else QCOMPARE(ft.chrgText, (CHARRANGE{-1, -1}));
}

namespace {

std::vector<int> paginate(Engine& e, QPaintDevice& device, QPaintDevice* target, int widthTwips, int heightTwips) {
    QPainter painter(&device);
    std::vector<int> breaks;
    const int length = e.getTextLength();
    int position = 0;
    e.formatRange(nullptr, false);
    while (position < length && breaks.size() < 1000) {
        const int next = formatPage(e, painter, target, {0, 0, widthTwips, heightTwips}, position);
        if (next <= position) break;
        breaks.push_back(next);
        position = next;
    }
    e.formatRange(nullptr, false);
    return breaks;
}

QImage imageAt(int dpi) {
    QImage image(int(8.5 * dpi), 11 * dpi, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

}  // namespace

void EngineTransferTest::formatRangeBreaksSameOnEveryDevice() {
    auto e = makeEngine();
    QString content;
    for (int p = 0; p < 40; ++p) content += QStringLiteral("Odstavec %1: Příliš žluťoučký kůň úpěl ďábelské ódy, a to několikrát za sebou.\r").arg(p);
    e->replaceSel(content, true);
    e->setSel(0, 200);
    CHARFORMAT2 big = charFormat(CFM_SIZE | CFM_BOLD, CFE_BOLD);
    big.yHeight = 480;
    e->setCharFormat(SCF_SELECTION, big);

    const int width = 6 * 1440;
    const int height = 3 * 1440;
    QImage low = imageAt(96);
    QImage high = imageAt(300);
    QPicture picture;
    const std::vector<int> onLow = paginate(*e, low, &low, width, height);
    const std::vector<int> onHigh = paginate(*e, high, &high, width, height);
    const std::vector<int> onPicture = paginate(*e, picture, &high, width, height);
    QVERIFY(onLow.size() >= 3);
    QCOMPARE(onLow.back(), e->getTextLength());
    QCOMPARE(onHigh, onLow);
    QCOMPARE(onPicture, onLow);
    // breaks fall at line starts: the page ends after whole lines
    for (std::size_t i = 0; i + 1 < onLow.size(); ++i) QCOMPARE(e->lineIndex(e->exLineFromChar(onLow[i])) >= 0, true);
    // something was drawn at the high resolution
    bool ink = false;
    for (int y = 0; y < high.height() && !ink; y += 3)
        for (int x = 0; x < high.width() && !ink; x += 3) ink = high.pixelColor(x, y) != QColor(Qt::white);
    QVERIFY(ink);
    QVERIFY(picture.size() > 1000);  // the picture recorded the text
}

void EngineTransferTest::formatRangeNeverLoops() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("one\rtwo\rthree"), true);
    QImage image = imageAt(96);
    QPainter painter(&image);
    FORMATRANGE fr;
    fr.hdc = &painter;
    fr.hdcTarget = &image;
    fr.chrg = {0, -1};
    // a page with no height takes nothing: the caller sees no progress and stops
    fr.rc = {0, 0, 1440 * 4, 0};
    QCOMPARE(e->formatRange(&fr, true), 0);
    fr.rc = {0, 0, 0, 1440};
    QCOMPARE(e->formatRange(&fr, true), 0);
    // a page lower than one line still takes that line, so printing moves on
    fr.rc = {0, 0, 1440 * 4, 20};
    QCOMPARE(e->formatRange(&fr, false), 4);
    fr.chrg.cpMin = 4;
    QCOMPARE(e->formatRange(&fr, false), 8);
    // a page that holds everything from the middle on
    fr.rc = {0, 0, 1440 * 4, 1440 * 10};
    QCOMPARE(e->formatRange(&fr, false), e->getTextLength());
    // the cache follows edits
    e->setSel(0, 0);
    e->replaceSel(QStringLiteral("zero\r"), true);
    fr.rc = {0, 0, 1440 * 4, 20};
    fr.chrg.cpMin = 0;
    QCOMPARE(e->formatRange(&fr, false), 5);
    painter.end();
}

void EngineTransferTest::formatRangeOfEmptyDocument() {
    auto e = makeEngine();
    QImage image = imageAt(96);
    QPainter painter(&image);
    FORMATRANGE fr;
    fr.hdc = &painter;
    fr.hdcTarget = &image;
    fr.rc = {0, 0, 1440, 1440};
    fr.chrg = {0, -1};
    QCOMPARE(e->formatRange(&fr, true), 0);  // the text length: one (empty) page, then stop
}

void EngineTransferTest::linksDetectedWithoutChangingFormats() {
    auto e = makeEngine(600, 200);
    e->setAutoUrlDetect(true);
    QVERIFY(e->autoUrlDetect());
    e->replaceSel(QStringLiteral("see http://example.com/a?b=1, or www.seznam.cz."), true);
    e->setSel(4, 26);
    const CHARFORMAT2 cf = e->getCharFormat(SCF_SELECTION);
    QVERIFY(cf.dwMask & CFM_LINK);
    QVERIFY(!(cf.dwEffects & CFE_LINK));
    QVERIFY(!(cf.dwEffects & CFE_UNDERLINE));
    QVERIFY(cf.dwMask & CFM_UNDERLINE);
    // yet it is drawn as a link: underlined in the link colour
    QPalette palette = e->palette();
    palette.setColor(QPalette::Link, QColor(0, 0, 255));
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    e->setPalette(palette);
    e->setSel(0, 0);
    const QImage shot = e->viewport()->grab().toImage();
    const int x0 = e->posFromChar(6).x();
    const int x1 = e->posFromChar(20).x();
    int blue = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = x0; x < x1; ++x)
            if (shot.pixelColor(x, y) == QColor(0, 0, 255)) ++blue;
    QVERIFY(blue > 20);
    e->setAutoUrlDetect(false);
    const QImage plain = e->viewport()->grab().toImage();
    int bluePlain = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = x0; x < x1; ++x)
            if (plain.pixelColor(x, y) == QColor(0, 0, 255)) ++bluePlain;
    QCOMPARE(bluePlain, 0);
}

void EngineTransferTest::linkNotificationsCarryRange() {
    auto e = makeEngine(600, 200);
    e->setAutoUrlDetect(true);
    e->replaceSel(QStringLiteral("go https://quillex.cz now"), true);
    QSignalSpy links(e.get(), &Engine::link);
    const QPoint onLink = e->posFromChar(8) + QPoint(2, 4);
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, onLink);
    QCOMPARE(links.count(), 0);  // masked
    e->setEventMask(ENM_LINK);
    QTest::mouseClick(e->viewport(), Qt::RightButton, {}, onLink);
    QCOMPARE(links.count(), 2);
    QCOMPARE(links.at(0).at(0).value<MouseMessage>(), MouseMessage::RightDown);
    QCOMPARE(links.at(1).at(0).value<MouseMessage>(), MouseMessage::RightUp);
    QCOMPARE(links.at(1).at(1).value<CHARRANGE>(), (CHARRANGE{3, 21}));
    // a click beside the link reports nothing, and the caret moves as usual
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, e->posFromChar(23) + QPoint(2, 4));
    QCOMPARE(links.count(), 2);
    QCOMPARE(e->exGetSel().cpMin, 23);
    // anchors are links whatever the detection says
    e->setAutoUrlDetect(false);
    e->setSel(22, 25);
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_LINK, CFE_LINK));
    QTest::mouseClick(e->viewport(), Qt::LeftButton, {}, e->posFromChar(23) + QPoint(2, 4));
    QCOMPARE(links.count(), 4);
    QCOMPARE(links.at(3).at(0).value<MouseMessage>(), MouseMessage::LeftUp);
    QCOMPARE(links.at(3).at(1).value<CHARRANGE>(), (CHARRANGE{22, 25}));
}

void EngineTransferTest::clipboardRoundTripPlainText() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("first\rsecond"), true);
    e->setSel(3, 9);
    e->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("st\nsec"));
    e->cut();
    QCOMPARE(text(*e), QStringLiteral("firond"));
    e->setSel(6, 6);
    QVERIFY(e->canPaste());
    e->paste();
    QCOMPARE(text(*e), QStringLiteral("firondst\rsec"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("firond"));
}

void EngineTransferTest::richTextTravelsAsRtf() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("plain bold\rcentred"), true);
    e->setSel(6, 10);
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, CFE_BOLD));
    e->setSel(12, 12);
    PARAFORMAT2 centre = paraFormat(PFM_ALIGNMENT);
    centre.wAlignment = PFA_CENTER;
    e->setParaFormat(centre);

    // through the clipboard: the copy carries RTF, the paste keeps the formatting
    e->setSel(6, 10);
    e->copy();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    QVERIFY(mime->hasFormat(QStringLiteral("text/rtf")));
    QVERIFY(mime->data(QStringLiteral("text/rtf")).startsWith("{\\rtf"));
    e->setSel(0, 0);
    e->paste();
    QCOMPARE(text(*e), QStringLiteral("boldplain bold\rcentred"));
    e->setSel(0, 4);
    QVERIFY(e->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);

    // through a stream: out as RTF and back in gives the same text and formats
    QByteArray rtf;
    EDITSTREAM out = streamInto(rtf);
    e->streamOut(SF_RTF, out);
    auto other = makeEngine();
    EDITSTREAM in = streamFrom(rtf, 100);
    other->streamIn(SF_RTF, in);
    QCOMPARE(in.dwError, 0u);
    QCOMPARE(text(*other), text(*e));
    other->setSel(10, 14);
    QVERIFY(other->getCharFormat(SCF_SELECTION).dwEffects & CFE_BOLD);
    other->setSel(16, 16);
    QCOMPARE(other->getParaFormat().wAlignment, PFA_CENTER);
    other->setSel(0, 0);
    QCOMPARE(other->getParaFormat().wAlignment, PFA_LEFT);
}

void EngineTransferTest::numberingLabels() {
    auto e = makeEngine(400, 300);
    e->replaceSel(QStringLiteral("a\rb\rc\rd"), true);
    e->setSel(0, 5);  // the first three paragraphs
    PARAFORMAT2 pf = paraFormat(PFM_NUMBERING | PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE | PFM_OFFSET);
    pf.wNumbering = PFN_UCROMAN;
    pf.wNumberingStart = 4;
    pf.wNumberingStyle = PFNS_PARENS;
    pf.dxOffset = 360;
    e->setParaFormat(pf);
    // the labels take room before the text: numbered text starts further right
    QVERIFY(e->posFromChar(2).x() > e->posFromChar(6).x());
    QCOMPARE(e->posFromChar(0).x(), e->posFromChar(4).x());
}

QX_REGISTER_TEST(EngineTransferTest)
#include "tst_engine_transfer.moc"
