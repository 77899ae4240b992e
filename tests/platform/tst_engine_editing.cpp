// Editing through the engine: undo history and its limit, typing runs, replace-selection, the
// modified flag, notifications, text limit and keys.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

using namespace richedit;
using namespace enginetest;

class EngineEditingTest : public QObject {
    Q_OBJECT
private slots:
    void typingRunIsOneStep();
    void replaceSelIsItsOwnStep();
    void replaceSelWithoutUndoEmptiesHistory();
    void undoLimitDropsOldestSteps();
    void undoLimitZeroKeepsNothing();
    void singleLevelUndoKeepsOneStep();
    void redoGoesAfterNewEdit();
    void modifiedFlag();
    void notificationsAreSynchronousAndMasked();
    void textLimit();
    void tabIsNotTaken();
    void keysMoveAndEdit_data();
    void keysMoveAndEdit();
    void inputMethodCommitTypes();
    void paragraphBreaksInInsertedText();
    void windowTextUsesCrLf();
    void textFollowsEveryEdit();
};

void EngineEditingTest::typingRunIsOneStep() {
    auto e = makeEngine();
    QTest::keyClicks(e.get(), QStringLiteral("hello"));
    QCOMPARE(text(*e), QStringLiteral("hello"));
    QVERIFY(e->canUndo());
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QString());
    QVERIFY(!e->canUndo());
    QVERIFY(e->redo());
    QCOMPARE(text(*e), QStringLiteral("hello"));
    QCOMPARE(e->exGetSel(), (CHARRANGE{5, 5}));
    // a caret move ends the run
    e->setSel(0, 0);
    QTest::keyClicks(e.get(), QStringLiteral("ab"));
    e->setSel(7, 7);
    QTest::keyClicks(e.get(), QStringLiteral("cd"));
    QCOMPARE(text(*e), QStringLiteral("abhellocd"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("abhello"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("hello"));
}

void EngineEditingTest::replaceSelIsItsOwnStep() {
    auto e = makeEngine();
    QTest::keyClicks(e.get(), QStringLiteral("ab"));
    e->replaceSel(QStringLiteral("X"), true);
    e->replaceSel(QStringLiteral("Y"), true);
    QTest::keyClicks(e.get(), QStringLiteral("cd"));
    QCOMPARE(text(*e), QStringLiteral("abXYcd"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("abXY"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("abX"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("ab"));
    // replacing a selection: the caret after the new text, nothing selected; undo restores the old text selected
    e->setSel(0, 1);
    e->replaceSel(QStringLiteral("ZZ"), true);
    QCOMPARE(e->exGetSel(), (CHARRANGE{2, 2}));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QStringLiteral("ab"));
    QCOMPARE(e->exGetSel(), (CHARRANGE{0, 1}));
}

void EngineEditingTest::replaceSelWithoutUndoEmptiesHistory() {
    auto e = makeEngine();
    QTest::keyClicks(e.get(), QStringLiteral("ab"));
    e->replaceSel(QStringLiteral("c"), true);
    QVERIFY(e->canUndo());
    e->replaceSel(QStringLiteral("d"), false);
    QVERIFY(!e->canUndo());
    QVERIFY(!e->undo());
    QCOMPARE(text(*e), QStringLiteral("abcd"));
}

void EngineEditingTest::undoLimitDropsOldestSteps() {
    auto e = makeEngine();
    QCOMPARE(e->setUndoLimit(3), 3);
    for (const char* s : {"a", "b", "c", "d", "e"}) e->replaceSel(QString::fromLatin1(s), true);
    int steps = 0;
    while (e->undo()) ++steps;
    QCOMPARE(steps, 3);
    QCOMPARE(text(*e), QStringLiteral("ab"));  // the two oldest steps fell off
    // lowering the limit drops the oldest of the kept steps at once
    for (int i = 0; i < 3; ++i) QVERIFY(e->redo());
    e->setUndoLimit(1);
    QVERIFY(e->undo());
    QVERIFY(!e->undo());
    QCOMPARE(text(*e), QStringLiteral("abcd"));
}

void EngineEditingTest::undoLimitZeroKeepsNothing() {
    auto e = makeEngine();
    QCOMPARE(e->setUndoLimit(0), 0);
    e->replaceSel(QStringLiteral("a"), true);
    QTest::keyClicks(e.get(), QStringLiteral("b"));
    QVERIFY(!e->canUndo());
}

void EngineEditingTest::singleLevelUndoKeepsOneStep() {
    auto e = makeEngine();
    e->setUndoLimit(100);
    QVERIFY(e->setTextMode(TM_RICHTEXT | TM_SINGLELEVELUNDO));
    e->replaceSel(QStringLiteral("a"), true);
    e->replaceSel(QStringLiteral("b"), true);
    QVERIFY(e->undo());
    QVERIFY(!e->undo());
    e->clearAll();
    QVERIFY(e->setTextMode(TM_RICHTEXT | TM_MULTILEVELUNDO));
    QCOMPARE(e->undoLimit(), 100);
}

void EngineEditingTest::redoGoesAfterNewEdit() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("a"), true);
    e->replaceSel(QStringLiteral("b"), true);
    QVERIFY(e->undo());
    QVERIFY(e->canRedo());
    e->replaceSel(QStringLiteral("c"), true);
    QVERIFY(!e->canRedo());
    QVERIFY(!e->redo());
    QCOMPARE(text(*e), QStringLiteral("ac"));
}

void EngineEditingTest::modifiedFlag() {
    auto e = makeEngine();
    QVERIFY(!e->getModify());
    QTest::keyClicks(e.get(), QStringLiteral("x"));
    QVERIFY(e->getModify());
    e->setModify(false);
    QVERIFY(!e->getModify());
    e->setSel(0, 1);
    QVERIFY(!e->getModify());  // selecting changes nothing
    e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, CFE_BOLD));
    QVERIFY(e->getModify());
    e->setModify(false);
    QVERIFY(e->undo());
    QVERIFY(e->getModify());
    e->clearAll();
    QVERIFY(!e->getModify());
    QVERIFY(!e->canUndo());
}

void EngineEditingTest::notificationsAreSynchronousAndMasked() {
    auto e = makeEngine();
    QSignalSpy selection(e.get(), &Engine::selectionChanged);
    QSignalSpy change(e.get(), &Engine::changed);
    e->replaceSel(QStringLiteral("abc"), true);
    QCOMPARE(selection.count(), 0);  // the mask is empty at first
    QCOMPARE(change.count(), 0);

    QCOMPARE(e->setEventMask(ENM_CHANGE | ENM_SELCHANGE), ENM_NONE);
    // raised from inside the operation: a handler sees the new state while the call runs
    CHARRANGE seenInside{-1, -1};
    connect(e.get(), &Engine::selectionChanged, e.get(), [&] { seenInside = e->exGetSel(); });
    e->setSel(1, 2);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(selection.last().at(0).value<CHARRANGE>(), (CHARRANGE{1, 2}));
    QCOMPARE(seenInside, (CHARRANGE{1, 2}));
    e->setSel(1, 2);
    QCOMPARE(selection.count(), 1);  // no change, no notification
    e->replaceSel(QStringLiteral("X"), true);
    QCOMPARE(change.count(), 1);
    QCOMPARE(selection.count(), 2);
    QTest::keyClick(e.get(), Qt::Key_A);
    QCOMPARE(change.count(), 2);

    e->setEventMask(ENM_SELCHANGE);
    e->replaceSel(QStringLiteral("Y"), true);
    QCOMPARE(change.count(), 2);  // masked
    e->setEventMask(ENM_NONE);
    e->setSel(0, 0);
    QCOMPARE(selection.count(), 4);
}

void EngineEditingTest::textLimit() {
    auto e = makeEngine();
    e->exLimitText(5);
    QCOMPARE(e->textLimit(), 5);
    QTest::keyClicks(e.get(), QStringLiteral("abcdefg"));
    QCOMPARE(text(*e), QStringLiteral("abcde"));
    e->replaceSel(QStringLiteral("xyz"), true);
    QCOMPARE(text(*e), QStringLiteral("abcde"));
    e->setSel(0, 2);
    e->replaceSel(QStringLiteral("123"), true);  // two chars freed, two fit
    QCOMPARE(text(*e), QStringLiteral("12cde"));
    e->exLimitText(0);
    QCOMPARE(e->textLimit(), 65536);
}

void EngineEditingTest::tabIsNotTaken() {
    QWidget window;
    auto* e = new Engine(&window);
    auto* other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    window.show();
    e->setFocus();
    QTest::keyClicks(e, QStringLiteral("ab"));
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(e, &tab);
    QCOMPARE(e->getTextRange(0, -1), QStringLiteral("ab"));
    // even when it reaches the engine's key handler, the key is left to others
    auto alone = makeEngine();
    QKeyEvent direct(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    QApplication::sendEvent(alone.get(), &direct);
    QVERIFY(!direct.isAccepted());
    QCOMPARE(text(*alone), QString());
}

void EngineEditingTest::keysMoveAndEdit_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<int>("selMin");
    QTest::addColumn<int>("selMax");
    QTest::newRow("backspace") << "abc" << 2 << int(Qt::Key_Backspace) << 0 << "ac" << 1 << 1;
    QTest::newRow("delete") << "abc" << 1 << int(Qt::Key_Delete) << 0 << "ac" << 1 << 1;
    QTest::newRow("backspace joins paragraphs") << "ab\rcd" << 3 << int(Qt::Key_Backspace) << 0 << "abcd" << 2 << 2;
    QTest::newRow("enter") << "abcd" << 2 << int(Qt::Key_Return) << 0 << "ab\rcd" << 3 << 3;
    QTest::newRow("ctrl+right") << "one two three" << 0 << int(Qt::Key_Right) << int(Qt::ControlModifier) << "one two three" << 4 << 4;
    QTest::newRow("ctrl+left") << "one two three" << 9 << int(Qt::Key_Left) << int(Qt::ControlModifier) << "one two three" << 8 << 8;
    QTest::newRow("shift+right") << "abc" << 1 << int(Qt::Key_Right) << int(Qt::ShiftModifier) << "abc" << 1 << 2;
    QTest::newRow("home") << "abc\rdef" << 6 << int(Qt::Key_Home) << 0 << "abc\rdef" << 4 << 4;
    QTest::newRow("end") << "abc\rdef" << 1 << int(Qt::Key_End) << 0 << "abc\rdef" << 3 << 3;
    QTest::newRow("ctrl+end") << "abc\rdef" << 1 << int(Qt::Key_End) << int(Qt::ControlModifier) << "abc\rdef" << 7 << 7;
    QTest::newRow("ctrl+home") << "abc\rdef" << 6 << int(Qt::Key_Home) << int(Qt::ControlModifier) << "abc\rdef" << 0 << 0;
    QTest::newRow("down") << "abc\rdef" << 1 << int(Qt::Key_Down) << 0 << "abc\rdef" << 5 << 5;
    QTest::newRow("up") << "abc\rdef" << 6 << int(Qt::Key_Up) << 0 << "abc\rdef" << 2 << 2;
    QTest::newRow("ctrl+a") << "abc" << 1 << int(Qt::Key_A) << int(Qt::ControlModifier) << "abc" << 0 << 3;
    QTest::newRow("ctrl+z") << "abc" << 1 << int(Qt::Key_Z) << int(Qt::ControlModifier) << "" << 0 << 0;
}

void EngineEditingTest::keysMoveAndEdit() {
    QFETCH(QString, initial);
    QFETCH(int, caret);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expectedText);
    QFETCH(int, selMin);
    QFETCH(int, selMax);
    auto e = makeEngine();
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    CHARFORMAT2 cf = charFormat(CFM_FACE);
    setFaceName(cf, QStringLiteral("DejaVu Sans Mono"));
    e->setCharFormat(SCF_DEFAULT, cf);
    e->replaceSel(initial, true);
    e->setSel(caret, caret);
    QTest::keyClick(e.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(text(*e), expectedText);
    QCOMPARE(e->exGetSel(), (CHARRANGE{selMin, selMax}));
}

void EngineEditingTest::inputMethodCommitTypes() {
    auto e = makeEngine();
    QVERIFY(e->testAttribute(Qt::WA_InputMethodEnabled));
    QInputMethodEvent preedit(QStringLiteral("\u02c7"), {});
    QApplication::sendEvent(e.get(), &preedit);
    QCOMPARE(text(*e), QString());  // a dead key alone types nothing yet
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("č"));
    QApplication::sendEvent(e.get(), &commit);
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ř"));  // a layout key with no Qt key code
    QApplication::sendEvent(e.get(), &typed);
    QCOMPARE(text(*e), QStringLiteral("čř"));
    QVERIFY(e->undo());
    QCOMPARE(text(*e), QString());  // one typing run
}

void EngineEditingTest::paragraphBreaksInInsertedText() {
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("a\r\nb\rc\nd"), true);
    QCOMPARE(text(*e), QStringLiteral("a\rb\rc\rd"));
    QCOMPARE(e->getTextLength(), 7);
    QCOMPARE(e->getTextLength(TextLengthMode::CrLf), 10);
}

void EngineEditingTest::windowTextUsesCrLf() {
    auto e = makeEngine();
    e->setWindowText(QStringLiteral("first\nsecond\r\nthird"));
    QCOMPARE(e->windowText(), QStringLiteral("first\r\nsecond\r\nthird"));
    QVERIFY(!e->canUndo());
    QCOMPARE(e->exGetSel(), (CHARRANGE{0, 0}));
}

void EngineEditingTest::textFollowsEveryEdit() {
    // Random edits, format changes, undo and redo: the text the engine hands out always equals the
    // document's, and undoing everything gives back the start.
    auto e = makeEngine();
    e->replaceSel(QStringLiteral("Začátek\rdruhý odstavec\rtřetí"), false);
    const QString start = text(*e);
    std::uint32_t seed = 7;
    auto next = [&seed](int bound) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % std::uint32_t(bound));
    };
    const auto documentText = [&] {
        QString raw = e->document()->toRawText().left(e->getTextLength());
        raw.replace(QChar::ParagraphSeparator, u'\r');
        return raw;
    };
    e->setUndoLimit(1000);
    for (int i = 0; i < 300; ++i) {
        const int length = e->getTextLength();
        const int a = next(length + 1);
        const int b = std::min(length, a + next(6));
        e->setSel(a, b);
        switch (next(5)) {
        case 0: e->replaceSel(QStringLiteral("ž\rx"), true); break;
        case 1: e->clear(); break;
        case 2: e->setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, next(2) ? CFE_BOLD : 0)); break;
        case 3: QTest::keyClick(e.get(), Qt::Key_Backspace); break;
        default: e->undo(); break;
        }
        QCOMPARE(text(*e), documentText());
    }
    while (e->undo()) {
        QCOMPARE(text(*e), documentText());
    }
    QCOMPARE(text(*e), start);
}

QX_REGISTER_TEST(EngineEditingTest)
#include "tst_engine_editing.moc"
