// New, open, save and save as: what is read or written for each file type and mode, the prompts,
// the captions, plain-text mode and the HTML-view button.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/application.h"
#include "platform/richedit/engine.h"
#include "tests/support/files.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QToolButton>

using platform::ConfirmAnswer;
using qxtest::readFile;
using qxtest::writeFile;

namespace {

const QByteArray kRtf = "{\\rtf1\\ansi\\ansicpg1250 {\\b Tu\\'e8n\\'fd}\\b0  text\\par}";

bool firstCharacterBold(TQxRichEdit& editor) {
    editor.SetSelStart(0);
    editor.SetSelLength(1);
    const bool bold = editor.SelAttributes().Style().testFlag(TFontStyle::Bold);
    editor.SetSelStart(0);
    return bold;
}

}  // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { DocumentPath.clear(); }

    void open_data() {
        QTest::addColumn<int>("openType");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("shownFormatted");  // false: the RTF source or the plain text shows
        QTest::addColumn<bool>("htmlButton");

        QTest::newRow("native, clean") << 1 << "dopis.qlx" << kRtf << false << true << false;
        QTest::newRow("all files, clean: formatted") << 6 << "dopis.rtf" << kRtf << false << true << false;
        QTest::newRow("all files after No: source") << 6 << "dopis.rtf" << kRtf << true << false << false;
        QTest::newRow("batch type reads plain") << 3 << "dopis.ini" << kRtf << false << false << false;
        QTest::newRow("text type, .txt") << 5 << "poznámky.txt" << QByteArray("Tučný text\r\n") << false << false << false;
        QTest::newRow("html, .htm") << 4 << "page.htm" << QByteArray("<p>ahoj</p>") << false << false << true;
        QTest::newRow("html, .HTML: exact case") << 4 << "page.HTML" << QByteArray("<p>ahoj</p>") << false << false << false;
    }
    void open() {
        QFETCH(int, openType);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, modified);
        QFETCH(bool, shownFormatted);
        QFETCH(bool, htmlButton);
        qxtest::ProgramFolder folder(qxtest::WithLibraries::Yes);
        qxtest::ScopedDialogs dialogs;
        const QString path = writeFile(folder.file(name), content);
        TMainform form;
        form.FormCreate({});
        if (modified) form.editor->SetSelText(QStringLiteral("změna"));
        dialogs->answerOpen(path, openType);
        if (modified) dialogs->answerConfirm(ConfirmAnswer::No);
        form.Otevt1Click();

        QVERIFY(dialogs->unexpected().isEmpty());
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillex - ") + path);
        QCOMPARE(DocumentPath, path);
        QVERIFY(!form.editor->Modified());
        QVERIFY(!form.editor->PlainText());
        QCOMPARE(form.htmlview->isEnabled(), htmlButton);
        QCOMPARE(form.OpenType, openType);
        const QString text = form.editor->Text();
        if (content == kRtf) {
            QCOMPARE(text.startsWith(QStringLiteral("Tučný text")), shownFormatted);
            QCOMPARE(text.startsWith(QStringLiteral("{\\rtf1")), !shownFormatted);
            QCOMPARE(firstCharacterBold(*form.editor), shownFormatted);
        } else {
            QVERIFY(text.startsWith(QString::fromUtf8(content).trimmed()));
        }
        QCOMPARE(DocumentExt, QLatin1Char('.') + name.section(QLatin1Char('.'), -1));
    }

    void cancelledOpenChangesNothing() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("rozepsáno"));
        dialogs->cancelFileDialog();
        form.Otevt1Click();
        QCOMPARE(form.editor->Text(), QStringLiteral("rozepsáno"));
        QVERIFY(form.editor->Modified());
        QCOMPARE(form.OpenType, 1);
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillex"));
    }

    void openPrompt_data() {
        QTest::addColumn<ConfirmAnswer>("answer");
        QTest::addColumn<bool>("saveDialogCancelled");
        QTest::addColumn<bool>("reads");
        QTest::newRow("cancel") << ConfirmAnswer::Cancel << false << false;
        QTest::newRow("yes, save dialog cancelled: stops") << ConfirmAnswer::Yes << true << false;
        QTest::newRow("yes, saved") << ConfirmAnswer::Yes << false << true;
    }
    void openPrompt() {
        QFETCH(ConfirmAnswer, answer);
        QFETCH(bool, saveDialogCancelled);
        QFETCH(bool, reads);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString path = writeFile(folder.file(QStringLiteral("jiný.txt")), "jiný\r\n");
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("rozepsáno"));
        dialogs->answerOpen(path, 5);
        dialogs->answerConfirm(answer);
        const QString saved = folder.file(QStringLiteral("rozepsáno.qlx"));
        if (answer == ConfirmAnswer::Yes) {
            if (saveDialogCancelled) dialogs->cancelFileDialog();
            else dialogs->answerSave(saved, 1);
        }
        form.Otevt1Click();
        QVERIFY(dialogs->unexpected().isEmpty());
        QCOMPARE(form.editor->Text().startsWith(QStringLiteral("jiný")), reads);
        QCOMPARE(form.editor->Text(), reads ? QStringLiteral("jiný\r\n") : QStringLiteral("rozepsáno"));
        // The document being saved keeps its own type: the plain-text type chosen for the new file
        // does not flatten it.
        if (reads) QVERIFY(readFile(saved).startsWith("{\\rtf"));
        else QVERIFY(form.editor->Modified());
    }

    // A read that fails leaves the path, the caption and the content as they were.
    void failedReadKeepsTheDocument() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString first = writeFile(folder.file(QStringLiteral("první.txt")), "první\r\n");
        TMainform form;
        form.FormCreate({first});
        dialogs->answerOpen(folder.file(QStringLiteral("neexistuje.txt")), 5);
        dialogs->expectMessage();
        platform::Application::instance()->guarded(&form, [&] { form.Otevt1Click(); });
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(DocumentPath, first);
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillex-") + first);
        QCOMPARE(form.editor->Text(), QStringLiteral("první\r\n"));
    }

    void saveAs_data() {
        QTest::addColumn<int>("saveType");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writesRtf");
        QTest::newRow("native") << 1 << "a.qlx" << true;
        QTest::newRow(".doc keeps formatting") << 2 << "a.doc" << true;
        QTest::newRow(".rtf keeps formatting") << 3 << "a.rtf" << true;
        QTest::newRow("html") << 4 << "a.html" << false;
        QTest::newRow("sources") << 5 << "a.pas" << false;
        QTest::newRow("plain text") << 6 << "a.txt" << false;
    }
    void saveAs() {
        QFETCH(int, saveType);
        QFETCH(QString, name);
        QFETCH(bool, writesRtf);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString source = writeFile(folder.file(QStringLiteral("zdroj.qlx")), kRtf);
        TMainform form;
        form.FormCreate({source});
        const QString target = folder.file(name);
        dialogs->answerSave(target, saveType);
        form.Uloitjako1Click();
        QCOMPARE(dialogs->asked(), QStringList{QStringLiteral("save: ") + source});
        QCOMPARE(readFile(target).startsWith("{\\rtf"), writesRtf);
        if (!writesRtf) QCOMPARE(readFile(target), QByteArray("Tučný text"));
        QCOMPARE(form.editor->PlainText(), !writesRtf);
        QCOMPARE(firstCharacterBold(*form.editor), writesRtf);  // plain-text mode dropped the formatting
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillex - ") + target);
        QCOMPARE(DocumentPath, target);
        QVERIFY(!form.editor->Modified());
        QCOMPARE(form.SaveType, saveType);
    }

    void saveDialogProposesNewDocumentAndShowsItsTypes() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        dialogs->cancelFileDialog();
        dialogs->cancelFileDialog();
        form.ulozitClick();
        form.uloit1Click();
        QCOMPARE(dialogs->asked(), (QStringList{QStringLiteral("save: nový dokument"), QStringLiteral("save: nový dokument")}));
        const platform::FileDialogRequest& request = dialogs->lastFileRequest();
        QCOMPARE(request.filters.size(), 6);
        QCOMPARE(request.filters[0].label, QStringLiteral("Quillex text(*.qlx)"));
        QCOMPARE(request.filters[5].label, QStringLiteral("Neformatovaný Text(*.txt)"));
        QCOMPARE(request.initialDir, form.SaveFolder);
        QCOMPARE(form.SaveType, 1);
    }

    void openDialogShowsItsTypes() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        dialogs->cancelFileDialog();
        form.Otevt1Click();
        const platform::FileDialogRequest& request = dialogs->lastFileRequest();
        QCOMPARE(request.filters.size(), 6);
        QCOMPARE(request.filters[4].label, QStringLiteral("Neformatovaný text(*.txt]"));
        QCOMPARE(request.filters[4].pattern, QStringLiteral("*.txt;"));
        QCOMPARE(request.filters[3].pattern, QStringLiteral("*.html;*.htm;"));
    }

    // An RTF file opened with "all files" and shown formatted is saved as RTF, not flattened.
    void allFilesTypeKeepsAnRtfDocumentRich() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString path = writeFile(folder.file(QStringLiteral("dopis.rtf")), kRtf);
        TMainform form;
        form.FormCreate({});
        dialogs->answerOpen(path, 6);
        form.Otevt1Click();
        form.editor->SetSelStart(0);
        form.editor->SetSelText(QStringLiteral("A"));
        form.uloit1Click();
        QVERIFY(readFile(path).startsWith("{\\rtf"));
        QVERIFY(!form.editor->PlainText());
        // A plain-text file opened the same way is saved in plain-text mode.
        const QString text = writeFile(folder.file(QStringLiteral("pozn.dat")), "řádek\r\n");
        dialogs->answerOpen(text, 6);
        form.Otevt1Click();
        form.uloit1Click();
        QCOMPARE(readFile(text), QByteArray("řádek\r\n"));
        QVERIFY(form.editor->PlainText());
    }

    void newCommand_data() {
        QTest::addColumn<ConfirmAnswer>("answer");
        QTest::addColumn<bool>("saveDialogCancelled");
        QTest::addColumn<bool>("clears");
        QTest::newRow("cancel") << ConfirmAnswer::Cancel << false << false;
        QTest::newRow("no") << ConfirmAnswer::No << false << true;
        QTest::newRow("yes, dialog cancelled: stops") << ConfirmAnswer::Yes << true << false;
        QTest::newRow("yes, saved") << ConfirmAnswer::Yes << false << true;
    }
    void newCommand() {
        QFETCH(ConfirmAnswer, answer);
        QFETCH(bool, saveDialogCancelled);
        QFETCH(bool, clears);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("rozepsáno"));
        dialogs->answerConfirm(answer);
        if (answer == ConfirmAnswer::Yes) {
            if (saveDialogCancelled) dialogs->cancelFileDialog();
            else dialogs->answerSave(folder.file(QStringLiteral("n.qlx")), 1);
        }
        form.Nov1Click();
        QVERIFY(dialogs->unexpected().isEmpty());
        QCOMPARE(form.editor->Text().isEmpty(), clears);
        QCOMPARE(form.editor->Modified(), !clears);
        if (clears) {
            QCOMPARE(form.windowTitle(), QStringLiteral("Quillex - "));
            QVERIFY(DocumentPath.isEmpty());
        }
        QVERIFY(!form.editor->PlainText());
    }
};

QX_REGISTER_TEST(FileCommandsTest)
#include "tst_filecommands.moc"
