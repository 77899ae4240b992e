// Opening lays out only what is asked for and the rest in the background: every line query answers
// as a complete layout does, whether asked before, during or after the background layout, and
// editing while it runs gives the same document and lines as editing a completely laid-out one.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cstring>

using namespace richedit;
using namespace enginetest;

namespace {

const char* const kWords[] = {"příliš", "žluťoučký", "kůň", "úpěl", "ďábelské", "ódy", "Frýdek-Místek", "a", "v", "lese"};

QByteArray rtfText(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        if (c.unicode() < 128) out += char(c.unicode());
        else out += "\\u" + QByteArray::number(c.unicode()) + '?';
    }
    return out;
}

QByteArray pngPicture() {
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QPainter(&image).fillRect(10, 10, 50, 50, Qt::darkBlue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "{\\pict\\pngblip\\picw120\\pich80\\picwgoal1800\\pichgoal1200 " + bytes.toHex() + "}";
}

// `paragraphs` paragraphs of `words` words; every seventh paragraph bold and larger, every fifth
// with a picture when asked.
QByteArray document(int paragraphs, int words, bool pictures) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\froman\\fcharset238 Liberation Serif;}}\\f0\\fs24\n";
    const QByteArray picture = pictures ? pngPicture() : QByteArray();
    int w = 0;
    for (int p = 0; p < paragraphs; ++p) {
        rtf += p % 7 == 0 ? "\\pard\\qc\\fs36\\b " : "\\pard\\qj\\fi360\\sa120\\fs24\\b0 ";
        QStringList text;
        for (int i = 0; i < words; ++i) text << QString::fromUtf8(kWords[w++ % 10]);
        rtf += rtfText(text.join(u' '));
        if (pictures && p % 5 == 0) rtf += ' ' + picture;
        rtf += "\\par\n";
    }
    return rtf + "}";
}

void waitForLayout(Engine& engine) {
    QTRY_VERIFY_WITH_TIMEOUT(engine.layoutComplete(), 60000);
}

// Every display line of `actual` is that of `expected`.
void compareLines(Engine& actual, Engine& expected) {
    const int count = expected.getLineCount();
    QCOMPARE(actual.getLineCount(), count);
    for (int line = 0; line < count; ++line) {
        if (actual.lineIndex(line) != expected.lineIndex(line) || actual.getLine(line, 5000) != expected.getLine(line, 5000))
            QFAIL(qPrintable(QStringLiteral("line %1 differs: '%2' / '%3'")
                                 .arg(line)
                                 .arg(actual.getLine(line, 80), expected.getLine(line, 80))));
    }
}

}  // namespace

class EngineBackgroundLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void queriesMatchCompleteLayout_data();
    void queriesMatchCompleteLayout();
    void editingDuringBackgroundLayout();
    void loadingLaysOutNothing();
};

void EngineBackgroundLayoutTest::queriesMatchCompleteLayout_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("short") << document(3, 12, false);
    QTest::newRow("1000 pages") << document(9000, 55, false);
    QTest::newRow("one long paragraph") << document(1, 30000, false);
    QTest::newRow("pictures") << document(300, 40, true);
}

void EngineBackgroundLayoutTest::queriesMatchCompleteLayout() {
    QFETCH(QByteArray, rtf);
    auto reference = engineWithRtf(rtf);
    reference->completeLayout();
    auto engine = engineWithRtf(rtf);
    const int length = engine->getTextLength();

    // Asked out of order while the layout is still to come: each answer is the complete layout's.
    const int middle = length / 2;
    QCOMPARE(engine->posFromChar(middle), reference->posFromChar(middle));
    QCOMPARE(engine->exLineFromChar(middle), reference->exLineFromChar(middle));
    QCOMPARE(engine->exLineFromChar(length / 4), reference->exLineFromChar(length / 4));
    const int line = reference->getLineCount() / 3;
    QCOMPARE(engine->lineIndex(line), reference->lineIndex(line));
    QCOMPARE(engine->getLine(line, 5000), reference->getLine(line, 5000));
    QCOMPARE(engine->charFromPos(engine->posFromChar(middle)), reference->charFromPos(reference->posFromChar(middle)));

    waitForLayout(*engine);
    compareLines(*engine, *reference);
    QCOMPARE(engine->posFromChar(length), reference->posFromChar(length));
}

void EngineBackgroundLayoutTest::editingDuringBackgroundLayout() {
    const QByteArray rtf = document(6000, 50, true);
    auto edited = engineWithRtf(rtf);
    auto reference = engineWithRtf(rtf);
    reference->completeLayout();
    QVERIFY(!edited->layoutComplete());

    const auto edit = [](Engine& e) {
        e.setFocus();
        e.setSel(200, 200);
        QTest::keyClicks(e.viewport(), QStringLiteral("vlozeno "));
        QTest::keyClick(e.viewport(), Qt::Key_Return);
        QTest::keyClick(e.viewport(), Qt::Key_Backspace);
        QTest::keyClick(e.viewport(), Qt::Key_End, Qt::ControlModifier);  // to the end, scrolled there
        QTest::keyClicks(e.viewport(), QStringLiteral(" konec"));
        e.undo();
        QTest::keyClick(e.viewport(), Qt::Key_Return);
        QTest::keyClicks(e.viewport(), QStringLiteral("novy odstavec"));
        e.setSel(100, 5000);
        QTest::keyClick(e.viewport(), Qt::Key_Delete);
        e.undo();
    };
    edit(*edited);
    edit(*reference);
    QCOMPARE(edited->windowText(), reference->windowText());
    QCOMPARE(edited->exGetSel(), reference->exGetSel());
    QCOMPARE(edited->verticalScrollBar()->value() > 0, true);
    waitForLayout(*edited);
    compareLines(*edited, *reference);
}

void EngineBackgroundLayoutTest::loadingLaysOutNothing() {
    // A hidden engine (a converter's) is never laid out by loading and saving.
    Engine engine;
    EDITSTREAM stream = streamFrom(document(2000, 30, false));
    engine.streamIn(SF_RTF, stream);
    QByteArray out;
    EDITSTREAM writer = streamInto(out);
    engine.streamOut(SF_TEXT, writer);
    QVERIFY(out.startsWith("příliš"));
    QVERIFY(!engine.layoutComplete());
    QVERIFY(!engine.document()->firstBlock().next().next().layout() ||
            engine.document()->firstBlock().next().next().layout()->lineCount() == 0);
}

QX_REGISTER_TEST(EngineBackgroundLayoutTest)
#include "tst_engine_background.moc"
