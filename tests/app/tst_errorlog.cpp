// The unexpected-error path: the log line's format, appending, and a folder where no log can be written.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/application.h"
#include "platform/errors.h"
#include "platform/localeformat.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

const QString kMessage = QStringLiteral(
    "Pozor, v programu došlo k nečekané chybě.\r\n"
    "Informace o chybě najdete v souboru Error.log .\r\n"
    "Pokud se toto chybové hlášení zobrazí vícekrát,\r\n"
    "prosím pošlete mi tento soubor na tuto adresu\r\n");

QStringList logLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(f.readAll());
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

class ErrorLogTest : public QObject {
    Q_OBJECT

private slots:
    void appendsOneLinePerErrorAndShowsTheMessage() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        dialogs->expectMessage();
        dialogs->expectMessage();
        form.LogUnexpectedError(&form, platform::EFCreateError(QStringLiteral("Cannot create file \"/x/a.qlx\"")));
        form.LogUnexpectedError(&form, platform::EReadError(QStringLiteral("Failed to Load Stream")));

        const QStringList lines = logLines(folder.file(QStringLiteral("error.log")));
        QCOMPARE(lines.size(), 2);
        // "<short date> <long time> : <kind> - <message>"
        const QString date = platform::shortDateText(QDate::currentDate());
        QVERIFY2(lines[0].startsWith(date + QLatin1Char(' ')), qPrintable(lines[0]));
        QVERIFY(lines[0].endsWith(QStringLiteral(" : EFCreateError - Cannot create file \"/x/a.qlx\"")));
        QVERIFY(lines[1].endsWith(QStringLiteral(" : EReadError - Failed to Load Stream")));
        QCOMPARE(dialogs->messages().size(), 2);
        QVERIFY(dialogs->messages()[0].startsWith(kMessage));
        QCOMPARE(dialogs->messages()[0].count(QStringLiteral("\r\n")), 4);
        QVERIFY(dialogs->messages()[0].section(QStringLiteral("\r\n"), 4).contains(QLatin1Char('@')));
    }

    // Where the log cannot be opened, nothing is logged and the message still shows.
    void unwritableLogStillShowsTheMessage() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        QDir().mkpath(folder.file(QStringLiteral("error.log")));  // a folder where the file would be
        TMainform form;
        form.FormCreate({});
        dialogs->expectMessage();
        form.LogUnexpectedError(&form, platform::EWriteError(QStringLiteral("disk full")));
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(QFileInfo(folder.file(QStringLiteral("error.log"))).isDir());
    }

    // An error escaping an event handler reaches the log through the application object; the program
    // goes on.
    void errorsEscapingHandlersAreLogged() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        dialogs->expectMessage();
        QTimer::singleShot(0, &form, [] { throw platform::EPrinter(QStringLiteral("Printer selected is not valid")); });
        QTRY_COMPARE(dialogs->messages().size(), 1);
        QVERIFY(logLines(folder.file(QStringLiteral("error.log"))).first().endsWith(
            QStringLiteral(" : EPrinter - Printer selected is not valid")));
    }

    // Saving over a file that cannot be written logs a file-creation error naming the file and keeps
    // the document modified.
    void failedMenuSaveIsLoggedAndKeepsTheDocumentModified() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString target = folder.file(QStringLiteral("sešit.qlx"));
        QDir().mkpath(target);  // a folder in the document's place cannot be replaced by a file
        TMainform form;
        form.FormCreate({});
        DocumentPath = target;
        form.editor->SetSelText(QStringLiteral("text"));
        dialogs->expectMessage();
        platform::Application::instance()->guarded(&form, [&] { form.uloit1Click(); });
        const QStringList lines = logLines(folder.file(QStringLiteral("error.log")));
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains(QStringLiteral(" : EFCreateError - ")) && lines[0].contains(target), qPrintable(lines[0]));
        QVERIFY(form.editor->Modified());
        DocumentPath.clear();
    }
};

QX_REGISTER_TEST(ErrorLogTest)
#include "tst_errorlog.moc"
