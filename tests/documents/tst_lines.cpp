// Line access of the line store: counting, reading, replacing, inserting, adding and deleting the
// control's lines, and the bulk operations around them.
#include "documents/QxRichEditStrings.h"
#include "tests/documents/editorfixture.h"
#include "tests/support/testregistry.h"

#include <QTest>

class TestLines : public QObject {
    Q_OBJECT

private slots:
    void lineCount_data();
    void lineCount();
    void lineTextDropsTheBreak();
    void lineTextCutsAt4096();
    void addLineRules_data();
    void addLineRules();
    void insertLine_data();
    void insertLine();
    void replaceLine_data();
    void replaceLine();
    void deleteLine_data();
    void deleteLine();
    void lineChangesLeaveCaretAfterAndUndo();
    void addLinesSilencesSelectionEvent();
    void setAllTextSplitsAtEveryBreak_data();
    void setAllTextSplitsAtEveryBreak();
    void clearEmptiesAndClearsModified();
};

void TestLines::lineCount_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one word") << "word" << 1;
    QTest::newRow("word and final break") << "word\r" << 1;
    QTest::newRow("two paragraphs") << "one\rtwo" << 2;
    QTest::newRow("empty middle paragraph") << "one\r\rthree" << 3;
    QTest::newRow("only a break") << "\r" << 1;
}

void TestLines::lineCount() {
    QFETCH(QString, content);
    QFETCH(int, expected);
    EditorFixture fixture;
    fixture.engine().setWindowText(content);
    QCOMPARE(fixture.lines->LineCount(), expected);
}

void TestLines::lineTextDropsTheBreak() {
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("first\r\rthird"));
    QCOMPARE(fixture.lines->LineText(0), QStringLiteral("first"));
    QCOMPARE(fixture.lines->LineText(1), QString());
    QCOMPARE(fixture.lines->LineText(2), QStringLiteral("third"));
    QCOMPARE(fixture.lines->LineText(3), QString());
    QCOMPARE(fixture.lines->LineText(-1), QString());
}

void TestLines::lineTextCutsAt4096() {
    EditorFixture fixture;
    fixture.editor.SetWordWrap(false);  // one display line per paragraph
    QString longLine;
    for (int i = 0; i < 5000; ++i) longLine.append(QChar(u'a' + i % 26));
    fixture.engine().setWindowText(longLine + QStringLiteral("\rshort"));
    QCOMPARE(fixture.lines->LineCount(), 2);
    QCOMPARE(fixture.lines->LineText(0), longLine.left(4096));
    QCOMPARE(fixture.lines->LineText(1), QStringLiteral("short"));
}

void TestLines::addLineRules_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("added");
    QTest::addColumn<QString>("expected");  // windowText
    QTest::newRow("empty document: text and a break") << "" << QStringList{"text"} << "text\r\n";
    QTest::newRow("after a final break: text and a break") << "word\r" << QStringList{"text"} << "word\r\ntext\r\n";
    QTest::newRow("after text: a break and the text") << "word" << QStringList{"text"} << "word\r\ntext";
    QTest::newRow("a second line makes a third paragraph") << "word" << QStringList{"text", "more"}
                                                           << "word\r\ntext\r\nmore";
    QTest::newRow("empty lines from empty") << "" << QStringList{"", "x"} << "\r\nx\r\n";
}

void TestLines::addLineRules() {
    QFETCH(QString, content);
    QFETCH(QStringList, added);
    QFETCH(QString, expected);
    EditorFixture fixture;
    fixture.engine().setWindowText(content);
    for (const QString& text : added) fixture.lines->AddLine(text);
    QCOMPARE(fixture.text(), expected);
}

void TestLines::insertLine_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("before the first line") << "a\rb" << 0 << "new\r\na\r\nb";
    QTest::newRow("before the second line") << "a\rb" << 1 << "a\r\nnew\r\nb";
    QTest::newRow("past the end, after text") << "a\rb" << 2 << "a\r\nb\r\nnew";
    QTest::newRow("far past the end: nothing") << "a\rb" << 3 << "a\r\nb";
    QTest::newRow("negative: nothing") << "a\rb" << -1 << "a\r\nb";
    QTest::newRow("onto the empty last line") << "a\r" << 1 << "a\r\nnew\r\n";
    QTest::newRow("into an empty document") << "" << 0 << "new\r\n";
    QTest::newRow("past an empty document: nothing") << "" << 1 << "";
    QTest::newRow("after an empty line: nothing") << "a\r\r" << 3 << "a\r\n\r\n";
}

void TestLines::insertLine() {
    QFETCH(QString, content);
    QFETCH(int, index);
    QFETCH(QString, expected);
    EditorFixture fixture;
    fixture.engine().setWindowText(content);
    fixture.lines->InsertLine(index, QStringLiteral("new"));
    QCOMPARE(fixture.text(), expected);
}

void TestLines::replaceLine_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first line, break stays") << "one\rtwo" << 0 << "new\r\ntwo";
    QTest::newRow("last line") << "one\rtwo" << 1 << "one\r\nnew";
    QTest::newRow("the empty last line") << "one\r" << 1 << "one\r\nnew";
    QTest::newRow("missing line: nothing") << "one\rtwo" << 2 << "one\r\ntwo";
    QTest::newRow("negative: nothing") << "one" << -1 << "one";
}

void TestLines::replaceLine() {
    QFETCH(QString, content);
    QFETCH(int, index);
    QFETCH(QString, expected);
    EditorFixture fixture;
    fixture.engine().setWindowText(content);
    fixture.lines->ReplaceLine(index, QStringLiteral("new"));
    QCOMPARE(fixture.text(), expected);
}

void TestLines::deleteLine_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first line goes with its break") << "one\rtwo\rthree" << 0 << "two\r\nthree";
    QTest::newRow("middle line") << "one\rtwo\rthree" << 1 << "one\r\nthree";
    QTest::newRow("last line: its text alone") << "one\rtwo" << 1 << "one\r\n";
    QTest::newRow("only line") << "one" << 0 << "";
    QTest::newRow("missing line: nothing") << "one" << 5 << "one";
    QTest::newRow("negative: nothing") << "one" << -1 << "one";
}

void TestLines::deleteLine() {
    QFETCH(QString, content);
    QFETCH(int, index);
    QFETCH(QString, expected);
    EditorFixture fixture;
    fixture.engine().setWindowText(content);
    fixture.lines->DeleteLine(index);
    QCOMPARE(fixture.text(), expected);
}

void TestLines::lineChangesLeaveCaretAfterAndUndo() {
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("word"));
    fixture.lines->AddLine(QStringLiteral("text"));
    // Nothing selected, the caret after the inserted break and text.
    const richedit::CHARRANGE afterInsertion{9, 9};
    QCOMPARE(fixture.engine().exGetSel(), afterInsertion);
    QVERIFY(!fixture.editor.SelTextReplacing());
    fixture.lines->InsertLine(0, QStringLiteral("head"));
    fixture.lines->ReplaceLine(1, QStringLiteral("WORD"));
    fixture.lines->DeleteLine(2);
    QCOMPARE(fixture.text(), QStringLiteral("head\r\nWORD\r\n"));
    // Each change is undone like typing, newest first.
    QVERIFY(fixture.editor.CanUndo());
    fixture.editor.Undo();
    QCOMPARE(fixture.text(), QStringLiteral("head\r\nWORD\r\ntext"));
    fixture.editor.Undo();
    QCOMPARE(fixture.text(), QStringLiteral("head\r\nword\r\ntext"));
    fixture.editor.Undo();
    QCOMPARE(fixture.text(), QStringLiteral("word\r\ntext"));
    fixture.editor.Undo();
    QCOMPARE(fixture.text(), QStringLiteral("word"));
}

void TestLines::addLinesSilencesSelectionEvent() {
    EditorFixture fixture;
    int raised = 0;
    fixture.editor.OnSelectionChange = [&](QObject*) { ++raised; };
    fixture.lines->AddLines({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QCOMPARE(fixture.text(), QStringLiteral("a\r\nb\r\nc\r\n"));
    QCOMPARE(raised, 0);
    QVERIFY(fixture.editor.updatesEnabled());
    // The event is back afterwards.
    QVERIFY(fixture.editor.OnSelectionChange);
    fixture.engine().setSel(0, 1);
    QVERIFY(raised > 0);
}

void TestLines::setAllTextSplitsAtEveryBreak_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mixed breaks") << "a\r\nb\rc\nd" << "a\r\nb\r\nc\r\nd\r\n";
    QTest::newRow("final break adds no line") << "a\r\n" << "a\r\n";
    QTest::newRow("empty line kept") << "a\n\nb" << "a\r\n\r\nb\r\n";
    QTest::newRow("empty text") << "" << "";
}

void TestLines::setAllTextSplitsAtEveryBreak() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("old content"));
    const std::uint32_t mask = fixture.engine().eventMask();
    int changes = 0;
    QObject::connect(&fixture.engine(), &richedit::Engine::changed, [&] { ++changes; });
    fixture.lines->SetAllText(text);
    QCOMPARE(fixture.text(), expected);
    QCOMPARE(changes, 0);  // the change notification was off while the text was built
    QCOMPARE(fixture.engine().eventMask(), mask);
    fixture.engine().replaceSel(QStringLiteral("typed"), true);
    QVERIFY(changes > 0);  // and is on again
}

void TestLines::clearEmptiesAndClearsModified() {
    EditorFixture fixture;
    fixture.engine().setWindowText(QStringLiteral("something"));
    fixture.editor.SetModified(true);
    fixture.lines->Clear();
    QCOMPARE(fixture.text(), QString());
    QVERIFY(!fixture.editor.Modified());
    QCOMPARE(fixture.lines->LineCount(), 0);
}

QX_REGISTER_TEST(TestLines)
#include "tst_lines.moc"
