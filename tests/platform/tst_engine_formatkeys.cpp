// The engine's formatting keys: styles, indices, alignment and line spacing from the keyboard, each
// one undo step, toggles decided by the selection's start and writing only their own style.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

using namespace richedit;
using namespace enginetest;

namespace {

// Effect bits per character, masked to `bits`, as hex digits of the low byte (styles) or of the
// sub-/superscript bits shifted down (1 subscript, 2 superscript).
QString effectsPerCharacter(Engine& e, int from, int to, std::uint32_t bits) {
    QString codes;
    for (int i = from; i < to; ++i) {
        e.setSel(i, i + 1);
        std::uint32_t v = e.getCharFormat(SCF_SELECTION).dwEffects & bits;
        if (bits & (CFE_SUBSCRIPT | CFE_SUPERSCRIPT)) v >>= 16;
        codes += QString::number(v, 16).toUpper();
    }
    return codes;
}

void setEffects(Engine& e, int from, const QString& codes, std::uint32_t mask, int shift) {
    for (int i = 0; i < codes.size(); ++i) {
        e.setSel(from + i, from + i + 1);
        e.setCharFormat(SCF_SELECTION, charFormat(mask, std::uint32_t(QString(codes[i]).toInt(nullptr, 16)) << shift));
    }
}

}  // namespace

class EngineFormatKeysTest : public QObject {
    Q_OBJECT
private slots:
    void characterKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("offsets");  // the codes are sub-/superscript, else the four styles
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const int ctrl = int(Qt::ControlModifier);
        const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("Ctrl+B on plain") << int(Qt::Key_B) << ctrl << false << "0000" << "1111";
        QTest::newRow("Ctrl+B keeps italic") << int(Qt::Key_B) << ctrl << false << "0220" << "1331";
        QTest::newRow("Ctrl+B on text starting bold") << int(Qt::Key_B) << ctrl << false << "1306" << "0206";
        QTest::newRow("Ctrl+I") << int(Qt::Key_I) << ctrl << false << "1000" << "3222";
        QTest::newRow("Ctrl+U off") << int(Qt::Key_U) << ctrl << false << "4C00" << "0800";
        QTest::newRow("Ctrl+= on plain") << int(Qt::Key_Equal) << ctrl << true << "0020" << "1111";
        QTest::newRow("Ctrl+= on subscript") << int(Qt::Key_Equal) << ctrl << true << "1120" << "0000";
        QTest::newRow("Ctrl+Shift+= on subscript") << int(Qt::Key_Equal) << ctrlShift << true << "1100" << "2222";
        QTest::newRow("Ctrl++ on superscript") << int(Qt::Key_Plus) << ctrlShift << true << "2200" << "0000";
    }
    void characterKeys() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, offsets);
        QFETCH(QString, before);
        QFETCH(QString, after);
        const std::uint32_t bits = offsets ? (CFE_SUBSCRIPT | CFE_SUPERSCRIPT) : 0x0F;
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("abcd"), true);
        setEffects(*e, 0, before, offsets ? (CFM_SUBSCRIPT | CFM_SUPERSCRIPT) : 0x0F, offsets ? 16 : 0);
        e->setSel(0, 4);
        QSignalSpy applied(e.get(), &Engine::formatKeyApplied);
        QTest::keyClick(e->viewport(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(applied.size(), 1);
        QCOMPARE(effectsPerCharacter(*e, 0, 4, bits), after);
        QVERIFY(e->undo());  // one step
        QCOMPARE(effectsPerCharacter(*e, 0, 4, bits), before);
        QCOMPARE(e->getTextRange(0, -1), QStringLiteral("abcd"));
    }

    void paragraphKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("rule");
        QTest::newRow("Ctrl+E centres") << int(Qt::Key_E) << int(PFA_CENTER) << 4;
        QTest::newRow("Ctrl+R right") << int(Qt::Key_R) << int(PFA_RIGHT) << 4;
        QTest::newRow("Ctrl+J justifies") << int(Qt::Key_J) << int(PFA_JUSTIFY) << 4;
        QTest::newRow("Ctrl+L left") << int(Qt::Key_L) << int(PFA_LEFT) << 4;
        QTest::newRow("Ctrl+1 single") << int(Qt::Key_1) << int(PFA_RIGHT) << int(LS_SINGLE);
        QTest::newRow("Ctrl+5 one and a half") << int(Qt::Key_5) << int(PFA_RIGHT) << int(LS_ONEANDHALF);
        QTest::newRow("Ctrl+2 double") << int(Qt::Key_2) << int(PFA_RIGHT) << int(LS_DOUBLE);
    }
    void paragraphKeys() {
        QFETCH(int, key);
        QFETCH(int, alignment);
        QFETCH(int, rule);
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("jedna\rdva\rtři"), true);
        e->setSel(0, -1);
        PARAFORMAT2 start = paraFormat(PFM_ALIGNMENT | PFM_LINESPACING);
        start.wAlignment = PFA_RIGHT;
        start.bLineSpacingRule = LS_EXACTLY;
        start.dyLineSpacing = 480;
        e->setParaFormat(start);
        e->setSel(2, 8);  // the first two paragraphs
        QTest::keyClick(e->viewport(), Qt::Key(key), Qt::ControlModifier);
        for (int position : {0, 6}) {
            e->setSel(position, position);
            QCOMPARE(int(e->getParaFormat().wAlignment), alignment);
            QCOMPARE(int(e->getParaFormat().bLineSpacingRule), rule);
            QCOMPARE(e->getParaFormat().dyLineSpacing, 480);  // only the rule changes
        }
        e->setSel(11, 11);
        QCOMPARE(int(e->getParaFormat().wAlignment), int(PFA_RIGHT));
        QCOMPARE(int(e->getParaFormat().bLineSpacingRule), int(LS_EXACTLY));
        QVERIFY(e->undo());
        e->setSel(0, 0);
        QCOMPARE(int(e->getParaFormat().wAlignment), int(PFA_RIGHT));
        QCOMPARE(int(e->getParaFormat().bLineSpacingRule), int(LS_EXACTLY));
    }

    // On a layout with letters on the number row the digit keys work by their place: the Czech "+"
    // key is Ctrl+1, "ě" Ctrl+2 and "ř" Ctrl+5 (xkb key codes 10, 11 and 14).
    void numberRowByPlace_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<int>("rule");
        QTest::newRow("+ is 1") << int(Qt::Key_Plus) << "+" << 10u << int(LS_SINGLE);
        QTest::newRow("ě is 2") << 0x11A << QStringLiteral("ě") << 11u << int(LS_DOUBLE);
        QTest::newRow("ř is 5") << 0x158 << QStringLiteral("ř") << 14u << int(LS_ONEANDHALF);
    }
    void numberRowByPlace() {
#if !defined(Q_OS_UNIX) || defined(Q_OS_DARWIN)
        QSKIP("key places are xkb key codes");
#endif
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(quint32, scanCode);
        QFETCH(int, rule);
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("text"), true);
        PARAFORMAT2 start = paraFormat(PFM_LINESPACING);
        start.bLineSpacingRule = LS_EXACTLY;
        start.dyLineSpacing = 300;
        e->setParaFormat(start);
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier, scanCode, 0, 0, text);
        QApplication::sendEvent(e->viewport(), &press);
        QCOMPARE(int(e->getParaFormat().bLineSpacingRule), rule);
        QCOMPARE(e->getTextRange(0, -1), QStringLiteral("text"));
    }

    // Ctrl+Z takes a formatting key back and Ctrl+Y does it again.
    void undoAndRedoFromTheKeyboard() {
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("abcd"), true);
        e->setSel(1, 3);
        QTest::keyClick(e->viewport(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClick(e->viewport(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(effectsPerCharacter(*e, 0, 4, CFE_BOLD), QStringLiteral("0000"));
        e->setSel(1, 3);
        QTest::keyClick(e->viewport(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(effectsPerCharacter(*e, 0, 4, CFE_BOLD), QStringLiteral("0110"));
    }

    // At an empty selection the key sets the insertion format: the next typed text is bold.
    void emptySelectionSetsTheInsertionFormat() {
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("ab"), true);
        e->setSel(2, 2);
        QTest::keyClick(e->viewport(), Qt::Key_B, Qt::ControlModifier);
        QTest::keyClicks(e->viewport(), QStringLiteral("cd"));
        QCOMPARE(e->getTextRange(0, -1), QStringLiteral("abcd"));
        QCOMPARE(effectsPerCharacter(*e, 0, 4, CFE_BOLD), QStringLiteral("0011"));
    }

    // Other chords are no formatting keys, and plain text has no formatting to change.
    void keysThatChangeNothing_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("plain");
        QTest::newRow("Ctrl+Shift+B") << int(Qt::Key_B) << int(Qt::ControlModifier | Qt::ShiftModifier) << false;
        QTest::newRow("Ctrl+B in plain text") << int(Qt::Key_B) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+E in plain text") << int(Qt::Key_E) << int(Qt::ControlModifier) << true;
    }
    void keysThatChangeNothing() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, plain);
        auto e = makeEngine();
        if (plain) QVERIFY(e->setTextMode(TM_PLAINTEXT | TM_MULTILEVELUNDO));
        e->replaceSel(QStringLiteral("abcd"), true);
        e->setSel(0, 4);
        const CHARFORMAT2 charBefore = e->getCharFormat(SCF_SELECTION);
        const PARAFORMAT2 paraBefore = e->getParaFormat();
        e->setModify(false);
        QSignalSpy applied(e.get(), &Engine::formatKeyApplied);
        QTest::keyClick(e->viewport(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(applied.size(), 0);
        QCOMPARE(e->getCharFormat(SCF_SELECTION).dwEffects, charBefore.dwEffects);
        QCOMPARE(e->getParaFormat().wAlignment, paraBefore.wAlignment);
        QVERIFY(!e->getModify());
    }
};

QX_REGISTER_TEST(EngineFormatKeysTest)
#include "tst_engine_formatkeys.moc"
