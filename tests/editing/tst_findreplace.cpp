// The editor's find and replace: searches from the selection in both directions with their options,
// Replace and Replace All, their undo steps and events, and the two modeless dialogs.

#include "richeditfixture.h"
#include "tests/support/testregistry.h"

#include "platform/dialogs/findreplacedialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using platform::FindReplaceDialog;
using qxtest::makeEditor;
using qxtest::select;
using Range = QPair<int, int>;

Q_DECLARE_METATYPE(QList<Range>)

namespace {

Range selection(TQxRichEdit& edit) {
    const richedit::CHARRANGE r = edit.HandleNeeded().exGetSel();
    return {r.cpMin, r.cpMax};
}

struct Options {
    bool down = true;
    bool matchCase = false;
    bool wholeWord = false;
};

FindReplaceDialog* openReplace(TQxRichEdit& edit, const QString& find, const QString& replace, Options o = {}) {
    FindReplaceDialog* dialog = edit.OpenReplaceDialog(find, replace);
    dialog->setDown(o.down);
    dialog->setMatchCase(o.matchCase);
    dialog->setWholeWord(o.wholeWord);
    return dialog;
}

}  // namespace

class TestFindReplace : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        // Dialogs belong to their editor; nothing stays shown between tests.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<FindReplaceDialog*>(w)) w->hide();
    }

    // Find Next, pressed again and again: each press selects the next match from the selection in the
    // dialog's direction, and at the end the last match stays selected (no wrapping).
    void findNext_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Range>("start");
        QTest::addColumn<QString>("find");
        QTest::addColumn<bool>("down");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<QList<Range>>("presses");
        const QString cats = QStringLiteral("cat dog cat dog cat");
        QTest::newRow("down to the end") << cats << Range(0, 0) << "cat" << true << false << false
                                         << QList<Range>{{0, 3}, {8, 11}, {16, 19}, {16, 19}};
        QTest::newRow("down starts after the selection's end")
            << cats << Range(0, 3) << "cat" << true << false << false << QList<Range>{{8, 11}};
        QTest::newRow("up to the start") << cats << Range(19, 19) << "cat" << false << false << false
                                         << QList<Range>{{16, 19}, {8, 11}, {0, 3}, {0, 3}};
        QTest::newRow("up: the nearest match ending before the selection's start")
            << cats << Range(9, 13) << "cat" << false << false << false << QList<Range>{{0, 3}};
        QTest::newRow("whole word skips the inside of a word")
            << QStringLiteral("concatenate cat") << Range(0, 0) << "cat" << true << false << true << QList<Range>{{12, 15}};
        QTest::newRow("whole word up") << QStringLiteral("cat concatenate") << Range(15, 15) << "cat" << false << false << true
                                       << QList<Range>{{0, 3}};
        QTest::newRow("match case") << QStringLiteral("cat Cat") << Range(0, 0) << "Cat" << true << true << false
                                    << QList<Range>{{4, 7}, {4, 7}};
        QTest::newRow("without match case") << QStringLiteral("cat Cat") << Range(0, 0) << "Cat" << true << false << false
                                            << QList<Range>{{0, 3}, {4, 7}};
        QTest::newRow("Czech without case") << QStringLiteral("Čáp a čáp") << Range(0, 0) << "ČÁP" << true << false << false
                                            << QList<Range>{{0, 3}, {6, 9}};
        QTest::newRow("nothing found keeps the selection")
            << cats << Range(4, 7) << "horse" << true << false << false << QList<Range>{{4, 7}};
        QTest::newRow("across paragraphs") << QStringLiteral("one\r\ntwo\r\ntwo") << Range(0, 0) << "two" << true << false
                                           << false << QList<Range>{{4, 7}, {8, 11}};
    }
    void findNext() {
        QFETCH(QString, text);
        QFETCH(Range, start);
        QFETCH(QString, find);
        QFETCH(bool, down);
        QFETCH(bool, matchCase);
        QFETCH(bool, wholeWord);
        QFETCH(QList<Range>, presses);
        auto edit = makeEditor(text);
        select(*edit, start.first, start.second);
        QStringList misses;
        edit->OnTextNotFound = [&](QObject*, const QString& t) { misses << t; };
        FindReplaceDialog* dialog = edit->OpenFindDialog(find);
        dialog->setDown(down);
        dialog->setMatchCase(matchCase);
        dialog->setWholeWord(wholeWord);
        int expectedMisses = 0;
        for (const Range& expected : presses) {
            const Range before = selection(*edit);
            dialog->findNextButton()->click();
            QCOMPARE(selection(*edit), expected);
            if (expected == before) ++expectedMisses;
        }
        QCOMPARE(misses.size(), expectedMisses);
        QCOMPARE(edit->Text(), text);
    }

    // Replace replaces the selection only when it is the search text, then selects the next match.
    void replace_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Range>("start");
        QTest::addColumn<QString>("find");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QString>("result");
        QTest::addColumn<Range>("selected");
        QTest::newRow("matching selection") << "cat dog cat" << Range(0, 3) << "cat" << false << "lion dog cat" << Range(9, 12);
        QTest::newRow("other case, case ignored") << "CAT dog cat" << Range(0, 3) << "cat" << false << "lion dog cat"
                                                  << Range(9, 12);
        QTest::newRow("other case, match case") << "CAT dog cat" << Range(0, 3) << "cat" << true << "CAT dog cat"
                                                << Range(8, 11);
        QTest::newRow("selection not matching") << "dog cat" << Range(0, 3) << "cat" << false << "dog cat" << Range(4, 7);
        QTest::newRow("selection inside the search text") << "b abc" << Range(0, 1) << "abc" << false << "b abc"
                                                          << Range(2, 5);
        QTest::newRow("selection containing the search text") << "xcatx cat" << Range(0, 5) << "cat" << false
                                                              << "xcatx cat" << Range(6, 9);
        QTest::newRow("empty selection") << "cat" << Range(0, 0) << "cat" << false << "cat" << Range(0, 3);
    }
    void replace() {
        QFETCH(QString, text);
        QFETCH(Range, start);
        QFETCH(QString, find);
        QFETCH(bool, matchCase);
        QFETCH(QString, result);
        QFETCH(Range, selected);
        auto edit = makeEditor(text);
        select(*edit, start.first, start.second);
        FindReplaceDialog* dialog = openReplace(*edit, find, QStringLiteral("lion"), {true, matchCase, false});
        dialog->replaceButton()->click();
        QCOMPARE(edit->Text(), result);
        QCOMPARE(selection(*edit), selected);
    }

    void replaceAll_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Range>("start");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("with");
        QTest::addColumn<bool>("down");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("events");
        QTest::newRow("a by aa, down") << "a a a" << Range(0, 0) << "a" << "aa" << true << "aa aa aa" << 1;
        QTest::newRow("a by aa, up") << "a a a" << Range(5, 5) << "a" << "aa" << false << "aa aa aa" << 1;
        QTest::newRow("from the middle down") << "x a x a" << Range(3, 3) << "a" << "b" << true << "x a x b" << 1;
        QTest::newRow("from the middle up") << "a x a x" << Range(3, 3) << "a" << "b" << false << "b x a x" << 1;
        QTest::newRow("no occurrence") << "x y z" << Range(0, 0) << "a" << "b" << true << "x y z" << 0;
        QTest::newRow("by nothing") << "a-b-c" << Range(0, 0) << "-" << "" << true << "abc" << 1;
    }
    void replaceAll() {
        QFETCH(QString, text);
        QFETCH(Range, start);
        QFETCH(QString, find);
        QFETCH(QString, with);
        QFETCH(bool, down);
        QFETCH(QString, result);
        QFETCH(int, events);
        auto edit = makeEditor(text);
        select(*edit, start.first, start.second);
        int selectionChanges = 0;
        int changes = 0;
        QStringList misses;
        edit->OnSelectionChange = [&](QObject*) { ++selectionChanges; };
        edit->OnChange = [&](QObject*) { ++changes; };
        edit->OnTextNotFound = [&](QObject*, const QString& t) { misses << t; };
        FindReplaceDialog* dialog = openReplace(*edit, find, with, {down, false, false});
        dialog->replaceAllButton()->click();
        QCOMPARE(edit->Text(), result);
        QCOMPARE(selectionChanges, events);
        QCOMPARE(changes, events);
        QCOMPARE(misses.size(), events == 0 ? 1 : 0);
        // The handler and the change notifications are attached again.
        QVERIFY(edit->HandleNeeded().eventMask() & richedit::ENM_CHANGE);
        edit->SetSelStart(0);
        edit->SetSelStart(1);
        QVERIFY(selectionChanges > events);
    }

    // Each replacement is its own undo step, and the engine keeps only as many as its limit.
    void replaceAllUndoSteps() {
        auto edit = makeEditor(QStringLiteral("a a a a a a a a"));
        edit->SetUndoLimit(5);
        select(*edit, 0, 0);
        openReplace(*edit, QStringLiteral("a"), QStringLiteral("b"))->replaceAllButton()->click();
        QCOMPARE(edit->Text(), QStringLiteral("b b b b b b b b"));
        edit->Undo();
        QCOMPARE(edit->Text(), QStringLiteral("b b b b b b b a"));
        int undone = 1;
        while (edit->CanUndo()) {
            edit->Undo();
            ++undone;
        }
        QCOMPARE(undone, 5);
        QCOMPARE(edit->Text(), QStringLiteral("b b b a a a a a"));
    }

    // The dialogs: created once, the find dialog takes the replace dialog's text only when it is
    // created, closing hides and keeps the texts, and the search buttons wait for a search text.
    void dialogsKeepTheirState() {
        auto edit = makeEditor(QStringLiteral("text"));
        FindReplaceDialog* replace = edit->OpenReplaceDialog(QString(), QString());
        QVERIFY(replace->isVisible());
        QVERIFY(!replace->findNextButton()->isEnabled());
        QVERIFY(!replace->replaceAllButton()->isEnabled());
        replace->findChild<QLineEdit*>(QStringLiteral("findText"))->setText(QStringLiteral("hledané"));
        QVERIFY(replace->findNextButton()->isEnabled() && replace->replaceButton()->isEnabled());

        FindReplaceDialog* find = edit->OpenFindDialog(QString());
        QCOMPARE(find->findText(), QStringLiteral("hledané"));
        QVERIFY(find->down());
        QVERIFY(!find->matchCase() && !find->wholeWord());
        replace->setFindText(QStringLiteral("jiné"));
        QCOMPARE(edit->OpenFindDialog(QString()), find);
        QCOMPARE(find->findText(), QStringLiteral("hledané"));  // copied only at creation
        QVERIFY(replace->isVisible() && find->isVisible());     // both at once

        int closed = 0;
        edit->OnCloseFindDialog = [&](QObject*, FindReplaceDialog* d) { closed += d == find; };
        find->cancelButton()->click();
        QVERIFY(!find->isVisible());
        QCOMPARE(closed, 1);
        find->setMatchCase(true);
        QCOMPARE(edit->OpenFindDialog(QString()), find);
        QVERIFY(find->isVisible());
        QCOMPARE(find->findText(), QStringLiteral("hledané"));
        QVERIFY(find->matchCase());
        edit->OpenFindDialog(QStringLiteral("nové"));
        QCOMPARE(find->findText(), QStringLiteral("nové"));

        find->setFindText(QString(300, u'x'));
        QCOMPARE(find->findText().size(), FindReplaceDialog::kMaxTextLength);
        QCOMPARE(replace->findChild<QLineEdit*>(QStringLiteral("replaceText"))->maxLength(), 255);
    }

    // After a match the dialog moves off it when it covers it, and stays where it is otherwise.
    void dialogMovesOffTheMatch() {
        QWidget window;
        window.resize(500, 400);
        window.move(0, 0);
        auto* edit = new TQxRichEdit(&window);
        edit->setGeometry(0, 0, 500, 400);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QString text;
        for (int i = 0; i < 12; ++i) text += QStringLiteral("line\r\n");
        text += QStringLiteral("target");
        edit->SetSelText(text);
        edit->SetSelStart(0);
        FindReplaceDialog* dialog = edit->OpenFindDialog(QStringLiteral("target"));
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const int matchStart = int(text.size()) - 6 - 12;  // paragraph breaks are one character
        const QPoint match = edit->EngineWindow()->viewport()->mapToGlobal(edit->EngineWindow()->posFromChar(matchStart));

        dialog->move(match.x() - 10, match.y() - 10);  // over the match
        const QRect before = dialog->frameGeometry();
        dialog->findNextButton()->click();
        QCOMPARE(selection(*edit), Range(matchStart, matchStart + 6));
        const QRect after = dialog->frameGeometry();
        QCOMPARE(after.left(), before.left());
        QVERIFY(!after.contains(match));
        QVERIFY(after.top() != before.top());

        select(*edit, 0, 0);
        const QRect screen = dialog->screen()->geometry();
        dialog->move(screen.right() - dialog->frameGeometry().width(), 0);  // away from it
        const QRect away = dialog->frameGeometry();
        if (away.contains(match)) QSKIP("the screen is too small to place the dialog away from the match");
        dialog->findNextButton()->click();
        QCOMPARE(dialog->frameGeometry().topLeft(), away.topLeft());
    }

    void selectionMatches_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("matches");
        QTest::newRow("equal") << "kočka" << "kočka" << true << true;
        QTest::newRow("case differs, ignored") << "KOČKA" << "kočka" << false << true;
        QTest::newRow("case differs, matched") << "KOČKA" << "kočka" << true << false;
        QTest::newRow("part of the search text") << "b" << "abc" << false << false;
        QTest::newRow("containing the search text") << "abcd" << "abc" << true << false;
        QTest::newRow("empty selection") << "" << "abc" << false << false;
    }
    void selectionMatches() {
        QFETCH(QString, selected);
        QFETCH(QString, search);
        QFETCH(bool, matchCase);
        QFETCH(bool, matches);
        TSearchTypes options;
        if (matchCase) options |= TSearchType::stMatchCase;
        QCOMPARE(TQxRichEdit::SelectionMatches(selected, search, options), matches);
        QCOMPARE(TQxRichEdit::SelectionMatches(selected, search, options | TSearchType::stWholeWord), matches);
    }
};

QX_REGISTER_TEST(TestFindReplace)
#include "tst_findreplace.moc"
