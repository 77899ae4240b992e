// The main window's life: start-up with its arguments, the close sequences and the exit command.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "tests/support/files.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using platform::ConfirmAnswer;
using qxtest::readFile;
using qxtest::writeFile;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { DocumentPath.clear(); }

    void startsWithArguments_data() {
        QTest::addColumn<int>("argumentCount");
        QTest::addColumn<bool>("loads");
        QTest::newRow("none") << 0 << false;
        QTest::newRow("one") << 1 << true;
        QTest::newRow("two") << 2 << false;
    }
    void startsWithArguments() {
        QFETCH(int, argumentCount);
        QFETCH(bool, loads);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString doc = writeFile(folder.file(QStringLiteral("dopis.txt")), "Vážený pane,\r\nděkuji.\r\n");
        QStringList args;
        for (int i = 0; i < argumentCount; ++i) args << doc;

        TMainform form;
        form.FormCreate(args);
        QCOMPARE(form.windowTitle(), loads ? QStringLiteral("Quillex-") + doc : QStringLiteral("Quillex"));
        QCOMPARE(form.editor->Modified(), false);
        QCOMPARE(form.editor->Text().contains(QStringLiteral("Vážený pane,")), loads);
        QCOMPARE(DocumentPath, loads ? doc : QString());
        QVERIFY(dialogs->unexpected().isEmpty());
    }

    // A document that cannot be read is logged and reported, and start-up goes on.
    void unreadableStartDocumentIsReportedAndStartUpCompletes() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        dialogs->expectMessage();
        TMainform form;
        form.FormCreate({folder.file(QStringLiteral("chybí.qlx"))});
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(dialogs->messages().first().startsWith(QStringLiteral("Pozor, v programu došlo k nečekané chybě.")));
        QVERIFY(readFile(folder.file(QStringLiteral("error.log"))).contains("chybí.qlx"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillex"));
        QVERIFY(DocumentPath.isEmpty());
        QCOMPARE(ClipartDir, folder.path() + QStringLiteral("clipart/"));  // later steps ran
        QVERIFY(form.Timer1->isActive());
    }

    void cleanCloseAsksNothing() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.show();
        QVERIFY(form.close());
        QVERIFY(dialogs->asked().isEmpty());
    }

    void closePrompt_data() {
        QTest::addColumn<ConfirmAnswer>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("cancel keeps the window") << ConfirmAnswer::Cancel << false;
        QTest::newRow("no closes") << ConfirmAnswer::No << true;
    }
    void closePrompt() {
        QFETCH(ConfirmAnswer, answer);
        QFETCH(bool, closes);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.show();
        form.editor->SetSelText(QStringLiteral("rozepsáno"));
        QVERIFY(form.editor->Modified());
        dialogs->answerConfirm(answer);
        QCOMPARE(form.close(), closes);
        QCOMPARE(dialogs->asked(), QStringList{QStringLiteral("confirm: Uložit změny?")});
        QCOMPARE(form.isVisible(), !closes);
    }

    // Yes on a never-saved document shows the save dialog; cancelling it keeps the window open,
    // since closing would throw the unsaved document away.
    void closeWithYesOnNewDocumentAsksForName() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.show();
        form.editor->SetSelText(QStringLiteral("rozepsáno"));
        dialogs->answerConfirm(ConfirmAnswer::Yes);
        dialogs->cancelFileDialog();
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QVERIFY(form.editor->Modified());
        QCOMPARE(dialogs->asked().last(), QStringLiteral("save: nový dokument"));

        const QString target = folder.file(QStringLiteral("dopis.qlx"));
        dialogs->answerConfirm(ConfirmAnswer::Yes);
        dialogs->answerSave(target, 1);
        QVERIFY(form.close());
        QVERIFY(readFile(target).startsWith("{\\rtf"));
        QVERIFY(dialogs->unexpected().isEmpty());
    }

    void closeWithYesSavesNamedDocumentWithoutDialog() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString doc = writeFile(folder.file(QStringLiteral("poznámky.txt")), "první\r\n");
        TMainform form;
        form.FormCreate({doc});
        form.show();
        form.editor->SetSelStart(0);
        form.editor->SetSelText(QStringLiteral("nová "));
        dialogs->answerConfirm(ConfirmAnswer::Yes);
        QVERIFY(form.close());
        QCOMPARE(readFile(doc), QByteArray("nová první\r\n"));
        QCOMPARE(dialogs->asked(), QStringList{QStringLiteral("confirm: Uložit změny?")});
    }

    void exitCommand_data() {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<ConfirmAnswer>("answer");
        QTest::addColumn<bool>("saveDialogCancelled");
        QTest::addColumn<bool>("closes");
        QTest::newRow("clean") << false << ConfirmAnswer::Cancel << false << true;
        QTest::newRow("cancel") << true << ConfirmAnswer::Cancel << false << false;
        QTest::newRow("no") << true << ConfirmAnswer::No << false << true;
        QTest::newRow("yes, dialog cancelled") << true << ConfirmAnswer::Yes << true << false;
        QTest::newRow("yes, saved") << true << ConfirmAnswer::Yes << false << true;
    }
    void exitCommand() {
        QFETCH(bool, modified);
        QFETCH(ConfirmAnswer, answer);
        QFETCH(bool, saveDialogCancelled);
        QFETCH(bool, closes);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        // Even a named document gets the save dialog from the exit command.
        const QString doc = writeFile(folder.file(QStringLiteral("a.txt")), "x\r\n");
        TMainform form;
        form.FormCreate({doc});
        form.show();
        if (modified) {
            form.editor->SetSelText(QStringLiteral("y"));
            dialogs->answerConfirm(answer);
            if (answer == ConfirmAnswer::Yes) {
                if (saveDialogCancelled) dialogs->cancelFileDialog();
                else dialogs->answerSave(folder.file(QStringLiteral("b.txt")), 6);
            }
        }
        form.Konec1Click();
        QCOMPARE(form.isVisible(), !closes);
        QCOMPARE(form.editor->Modified(), modified && !closes);
        QCOMPARE(dialogs->pendingAnswers(), 0);
        QVERIFY(dialogs->unexpected().isEmpty());
        if (answer == ConfirmAnswer::Yes && modified) QCOMPARE(dialogs->asked().at(1), QStringLiteral("save: ") + doc);
        if (answer == ConfirmAnswer::Yes && !saveDialogCancelled)
            QCOMPARE(readFile(folder.file(QStringLiteral("b.txt"))), QByteArray("yx\r\n"));
    }

    void exitShortcutIsF10() {
        qxtest::ProgramFolder folder;
        TMainform form;
        QCOMPARE(form.Konec1->shortcut(), QKeySequence(Qt::Key_F10));
        QCOMPARE(form.Vybratve1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    }

    // The menu bar and the toolbars hold every command in order; a hint reaches status panel 0.
    void menusToolbarsAndHints() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        QStringList menus;
        for (QAction* a : form.menuBar()->actions()) menus << a->text();
        QCOMPARE(menus, (QStringList{QStringLiteral("Soubor"), QStringLiteral("Úpravy"), QStringLiteral("Vložit"),
                                     QStringLiteral("Najít"), QStringLiteral("Nastavení"), QStringLiteral("Nápověda")}));
        QStringList file;
        for (QAction* a : form.Soubor1->actions()) file << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(file, (QStringList{QStringLiteral("Nový"), QStringLiteral("Otevřít"), QStringLiteral("Uložit"),
                                    QStringLiteral("Uložit jako"), QStringLiteral("-"), QStringLiteral("Vzhled stránky"),
                                    QStringLiteral("Náhled Před Tiskem"), QStringLiteral("Tisk"), QStringLiteral("-"),
                                    QStringLiteral("Konec")}));
        for (QToolBar* bar : {form.ToolBar1, form.ToolBar2})
            for (QToolButton* b : bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
                if (!b->objectName().startsWith(QLatin1String("qt_"))) {
                    QVERIFY2(!b->icon().isNull() || !b->text().isEmpty(), qPrintable(b->objectName()));
                    QVERIFY2(!b->statusTip().isEmpty(), qPrintable(b->objectName()));
                }
        QVERIFY(!form.htmlview->isEnabled());
        QVERIFY(form.lzarovnani->isChecked());

        QStatusTipEvent tip(form.ulozit->statusTip());
        QCoreApplication::sendEvent(form.ulozit, &tip);
        QCOMPARE(form.StatusPanels[0]->text(), QStringLiteral("Uloží text do souboru"));
        QStatusTipEvent englishTip(form.Koprovat2->statusTip());
        QCoreApplication::sendEvent(&form, &englishTip);
        QCOMPARE(form.StatusPanels[0]->text(), QStringLiteral("Copies the selection and puts it on the Clipboard"));
    }
};

QX_REGISTER_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
