// The status panels: caret position, character and word counts, modified flag, clock, autosave.
#include "app/ed.h"
#include "app/wordcount.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "tests/support/files.h"
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
    void init() { DocumentPath.clear(); }
    void cleanup() { DocumentPath.clear(); }

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

    // A document opened at start or with the open command shows the counts of the full line-by-line
    // count at once, without the document being laid out for it, and keeps them equal after that.
    void countsOfAnOpenedDocument_data() {
        QTest::addColumn<bool>("atStart");
        QTest::newRow("named at start") << true;
        QTest::newRow("open command") << false;
    }
    void countsOfAnOpenedDocument() {
        QFETCH(bool, atStart);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\\f0\\fs20\n";
        for (int i = 0; i < 6; ++i)  // a numbered list of sixty words
            rtf += "\\pard{\\pntext\\f0 " + QByteArray::number(i + 1) + ".\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360}"
                   "\\fi-360\\li720 jedna dva t\\'f8i \\'e8ty\\'f8i p\\'ect \\'9aest sedm osm dev\\'ect deset\\par\n";
        rtf += "\\pard Fr\\'fddek-M\\'edstek a\\tab tabul\\'e1tor, cesta/k/souboru a " + QByteArray(400, 'x') + " konec\\par\n";
        // Table rows: each cell on lines of its own, one with a word too long for its narrow cell.
        rtf += "\\trowd\\trgaph108\\cellx1000\\cellx2000\\cellx6000\\pard\\intbl jedna dva\\cell " + QByteArray(60, 'y') +
               "\\cell t\\'f8i \\'e8ty\\'f8i p\\'ect\\cell\\row\n";
        rtf += "\\trowd\\trgaph108\\cellx3000\\cellx6000\\cellx9000\\pard\\intbl prvn\\'ed\\cell slovo\\cell\\cell\\row\n";
        for (int i = 0; i < 4000; ++i) rtf += "\\pard\\qj V\\'fdpln\\'ec odstavec s n\\'eckolika slovy, aby dokument byl dlouh\\'fd.\\par\n";
        rtf += "}";
        const QString path = qxtest::writeFile(folder.file(QStringLiteral("seznam.rtf")), rtf);

        TMainform form;
        if (atStart) {
            form.FormCreate({path});
        } else {
            form.FormCreate({});
            dialogs->answerOpen(path, 1);
            form.Otevt1Click();
        }
        form.show();
        richedit::Engine& engine = form.editor->HandleNeeded();
        const QString words = form.StatusPanels[3]->text();
        QVERIFY2(!engine.layoutComplete(), "counting laid the whole document out");
        QCOMPARE(form.StatusPanels[1]->text(), QStringLiteral("0:0"));
        QCOMPARE(form.StatusPanels[2]->text(),
                 QStringLiteral("Celkem zn.=%1").arg(engine.getTextLength(richedit::TextLengthMode::CrLf)));
        QCOMPARE(words, QStringLiteral("Počet slov = %1").arg(CountWords(*form.editor->Lines())));

        form.editor->SetZoom(400);  // the long word now breaks inside
        QCOMPARE(form.WordCount.Count(engine), CountWords(*form.editor->Lines()));
        form.editor->SetSelStart(10);
        form.editor->SetSelText(QStringLiteral(" a b c d e f "));
        form.RefreshCountPanels();
        QCOMPARE(form.StatusPanels[3]->text(), QStringLiteral("Počet slov = %1").arg(CountWords(*form.editor->Lines())));
        form.editor->SetModified(false);
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
