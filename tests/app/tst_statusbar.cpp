// The status panels: caret position, character and word counts, modified flag, clock, autosave.
#include "app/ed.h"
#include "app/wordcount.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QTimer>

class StatusBarTest : public QObject {
    Q_OBJECT

private slots:
    void emptyDocument() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        QCOMPARE(form.StatusPanels[1]->text(), QStringLiteral("0:0"));
        QCOMPARE(form.StatusPanels[2]->text(), QStringLiteral("Celkem zn.=0"));
        QCOMPARE(form.StatusPanels[3]->text(), QStringLiteral("Počet slov = 0"));
    }

    void wordsInALine_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("words");
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("blanks only") << QStringLiteral("   \t ") << 0;
        QTest::newRow("three blanks between, two around") << QStringLiteral("  jedna   dva  ") << 2;
        QTest::newRow("tab joins") << QStringLiteral("jedna\tdva") << 1;
        QTest::newRow("one word") << QStringLiteral("slovo") << 1;
        QTest::newRow("control characters trimmed") << QStringLiteral("\x01 a b \x1f") << 2;
    }
    void wordsInALine() {
        QFETCH(QString, line);
        QFETCH(int, words);
        QCOMPARE(CountWordsInLine(line), words);
    }

    void countsOverTheDocument() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("slovo\r\rdruhé  slovo"));
        form.editor->SetSelStart(3);
        form.RefreshCountPanels();
        QCOMPARE(form.StatusPanels[1]->text(), QStringLiteral("0:3"));
        QCOMPARE(form.StatusPanels[2]->text(), QStringLiteral("Celkem zn.=21"));  // breaks count CR LF
        QCOMPARE(form.StatusPanels[3]->text(), QStringLiteral("Počet slov = 3"));
        form.editor->SetSelStart(9);
        form.ShowCaretPosition();
        QCOMPARE(form.StatusPanels[1]->text(), QStringLiteral("2:2"));
    }

    // A character key refreshes the panels before the character goes in.
    void typingShowsTheCountsFromBeforeTheKey() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.editor->SetSelText(QStringLiteral("ab"));
        QWidget* target = form.editor->EngineWindow()->viewport();
        QTest::keyClick(target, Qt::Key_X);
        QCOMPARE(form.editor->Text(), QStringLiteral("abx"));
        QCOMPARE(form.StatusPanels[2]->text(), QStringLiteral("Celkem zn.=2"));
        QCOMPARE(form.StatusPanels[1]->text(), QStringLiteral("0:2"));
        QTest::keyClick(target, Qt::Key_Space);
        QTest::keyClick(target, Qt::Key_Y);
        QCOMPARE(form.StatusPanels[3]->text(), QStringLiteral("Počet slov = 1"));
    }

    // The per-paragraph count always equals the full line-by-line count, through edits, undo, long
    // lines, soft breaks and relayouts.
    void keptCountEqualsTheFullCount() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        form.resize(500, 400);
        form.show();
        TQxRichEdit& editor = *form.editor;
        WordCounter counter;
        auto check = [&](const char* step) {
            QVERIFY2(counter.Count(editor.HandleNeeded()) == CountWords(*editor.Lines()), step);
        };
        QString long5000;
        for (int i = 0; i < 1000; ++i) long5000 += QStringLiteral("slo ");
        editor.SetSelText(QStringLiteral("Příliš žluťoučký kůň\rúpěl  ďábelské ódy\r\r") + long5000 +
                          QStringLiteral("\rkonec"));
        check("built");
        editor.SetSelStart(5);
        editor.SetSelText(QStringLiteral(" vložené slovo "));
        check("typed in a paragraph");
        editor.SetSelStart(0);
        editor.SetSelLength(30);
        editor.SetSelText(QString());
        check("deleted across paragraphs");
        editor.Undo();
        check("undone");
        editor.SetWordWrap(false);
        check("wrap off: one line per paragraph, the long one cut");
        editor.SetWordWrap(true);
        editor.SetZoom(200);
        check("zoomed");
        form.resize(300, 400);
        QCoreApplication::processEvents();
        check("narrower");
        editor.SelectAll();
        editor.SetSelText(QStringLiteral("jedno	tabulátor"));
        check("replaced everything");
    }

    void clockAndModifiedPanel() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(form.Timer1->interval(), 500);
        form.editor->SetSelText(QStringLiteral("a"));
        form.Timer1Timer();
        QVERIFY(form.StatusPanels[5]->text().endsWith(QStringLiteral("        ")));
        QVERIFY(form.StatusPanels[5]->text().contains(QLatin1Char(':')));
        QCOMPARE(form.StatusPanels[4]->text(), QStringLiteral("Změněno"));
        form.editor->SetModified(false);
        form.ShowModifiedState();
        QCOMPARE(form.StatusPanels[4]->text(), QString());
    }

    void autosaveNeedsADocumentPath() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("neuloženo"));
        form.Timer2Timer();
        QVERIFY(dialogs->asked().isEmpty());
        QVERIFY(form.editor->Modified());

        // With a path every tick writes, modified or not.
        const QString path = folder.file(QStringLiteral("auto.qlx"));
        DocumentPath = path;
        form.Timer2Timer();
        QVERIFY(!form.editor->Modified());
        QFile::remove(path);
        form.Timer2Timer();
        QVERIFY(QFileInfo::exists(path));
        QVERIFY(dialogs->asked().isEmpty());
        DocumentPath.clear();
    }
};

QX_REGISTER_TEST(StatusBarTest)
#include "tst_statusbar.moc"
