// The external libraries: loaded from bin/ for each call, looked up by entry name, released after.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "platform/library.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {

// The test library writes its load, calls and unload to this file.
class LibraryLog {
public:
    LibraryLog() : path_(dir_.filePath(QStringLiteral("calls.log"))) { qputenv("QX_TEST_LIBRARY_LOG", path_.toLocal8Bit()); }
    ~LibraryLog() { qunsetenv("QX_TEST_LIBRARY_LOG"); }
    QStringList lines() const {
        QFile f(path_);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QTemporaryDir dir_;
    QString path_;
};

}  // namespace

class LibrariesTest : public QObject {
    Q_OBJECT

private slots:
    void missingBinFolder_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("author") << "author" << QStringLiteral("Dynamická knihovna quilauth.dll nenalezena");
        QTest::newRow("program") << "program" << QStringLiteral("dynamická knihovna quilinf.dll nenalezena");
        QTest::newRow("html") << "html" << QStringLiteral("Dynamická knihovna quilhtmls.dll nenalezena");
        QTest::newRow("shortcut") << "shortcut" << QStringLiteral("dynamická knihovna quilcsc.dll nenalezena");
    }
    void missingBinFolder() {
        QFETCH(QString, command);
        QFETCH(QString, message);
        qxtest::ProgramFolder folder;  // no bin/
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        dialogs->expectMessage();
        run(form, command);
        QCOMPARE(dialogs->messages(), QStringList{message});
    }

    void missingEntryIsReportedAndReleased() {
        qxtest::ProgramFolder folder;
        folder.installTestLibrary(QStringLiteral("qxtestlib_noentry.so"), QStringLiteral("quilinf.dll"));
        qxtest::ScopedDialogs dialogs;
        LibraryLog log;
        TMainform form;
        form.FormCreate({});
        dialogs->expectMessage();
        form.Oprogramu1Click();
        QCOMPARE(dialogs->messages(), QStringList{QStringLiteral("Nebyla nalezena potřebná procedura")});
        QCOMPARE(log.lines(), (QStringList{QStringLiteral("load"), QStringLiteral("unload")}));
    }

    // Each call loads, calls and releases: twice means two loads, each seeing its first call.
    void eachCallLoadsCallsAndReleases() {
        qxtest::ProgramFolder folder;
        for (const char* name : {"quilauth.dll", "quilinf.dll", "quilhtmls.dll", "quilcsc.dll"})
            folder.installTestLibrary(QStringLiteral("qxtestlib_counting.so"), QString::fromLatin1(name));
        qxtest::ScopedDialogs dialogs;
        LibraryLog log;
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("<p>ahoj</p>"));

        form.ToolButton29->click();  // "O programu"
        form.Oprogramu1->trigger();
        form.Oautorovi1Click();
        form.ApplyHtmlSyntax();
        form.CreateProgramShortcut(3);
        const QStringList expected{
            QStringLiteral("load"), QStringLiteral("Info call=1"), QStringLiteral("unload"),
            QStringLiteral("load"), QStringLiteral("Info call=1"), QStringLiteral("unload"),
            QStringLiteral("load"), QStringLiteral("Autor call=1 Quillex"), QStringLiteral("unload"),
            QStringLiteral("load"), QStringLiteral("htmlsyntaxe call=1 length=11"), QStringLiteral("unload"),
            QStringLiteral("load"),
            QStringLiteral("CreateShortcut call=1 place=3 reserved=0 exe=") + QCoreApplication::applicationFilePath(),
            QStringLiteral("unload")};
        QCOMPARE(log.lines(), expected);
        QVERIFY(dialogs->asked().isEmpty());
    }

    // Only absolute paths are loaded: a relative name would be looked up through the current directory.
    void relativePathsAreRefused() {
        QVERIFY(!platform::Library::load(QStringLiteral("bin/quilinf.dll")));
        QVERIFY(!platform::Library::load(QStringLiteral("quilinf.dll")));
    }

    // The real libraries: the HTML one colours the markup, the shortcut one writes a desktop entry.
    void realHtmlSyntaxColoursTags() {
        qxtest::ProgramFolder folder(qxtest::WithLibraries::Yes);
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("<b>tučně</b> a &amp;"));
        form.ApplyHtmlSyntax();
        form.editor->SetSelStart(1);
        QCOMPARE(form.editor->SelAttributes().Color(), platform::ColorValue(0x00800000));
        form.editor->SetSelStart(5);
        QCOMPARE(form.editor->SelAttributes().Color(), platform::clWindowText);
        QVERIFY(dialogs->asked().isEmpty());
    }

    void realShortcutLibraryWritesDesktopEntry() {
        qxtest::ProgramFolder folder(qxtest::WithLibraries::Yes);
        QTemporaryDir home;
        const QByteArray oldData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        TMainform form;
        form.FormCreate({});
        form.CreateProgramShortcut(3);
        QFile entry(home.path() + QStringLiteral("/applications/quillex.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY(text.contains(QStringLiteral("Exec=\"") + QCoreApplication::applicationFilePath() + QStringLiteral("\" %f")));
        if (oldData.isEmpty()) qunsetenv("XDG_DATA_HOME");
        else qputenv("XDG_DATA_HOME", oldData);
    }

private:
    static void run(TMainform& form, const QString& command) {
        if (command == QLatin1String("author")) form.Oautorovi1Click();
        else if (command == QLatin1String("program")) form.Oprogramu1Click();
        else if (command == QLatin1String("html")) form.ApplyHtmlSyntax();
        else form.CreateProgramShortcut(0);
    }
};

QX_REGISTER_TEST(LibrariesTest)
#include "tst_libraries.moc"
