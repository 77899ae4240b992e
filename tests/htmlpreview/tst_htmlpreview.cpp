// The HTML preview command and window: its two refusals, the file the browser shows, and the window
// geometry kept in config/NHS.cfg.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "htmlpreview/htmlpreview.h"
#include "platform/profile/profilefile.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <functional>

namespace {

// The browser's sandbox cannot run as root, which tests and CI do; set before the application starts.
const bool kSandboxOff = [] {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
    return true;
}();

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct PreviewFixture {
    qxtest::ProgramFolder folder;
    qxtest::ScopedDialogs dialogs;
    TMainform form;

    PreviewFixture() { form.FormCreate({}); form.show(); }

    void open(const QString& path) {
        dialogs->answerOpen(path, 1);
        form.Otevt1Click();
    }

    // Presses the button and runs `inside` on the modal window, which is then closed.
    bool pressAndInspect(const std::function<void(Thtmlstrf&)>& inside) {
        bool opened = false;
        QTimer timer;  // dies with this call when no window came
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            Thtmlstrf* window = htmlstrf;
            if (!window) return;
            opened = true;
            QTest::qWaitFor([window] { return window->isActiveWindow(); }, 2000);
            inside(*window);
            window->close();
        });
        timer.start(0);
        form.htmlview->click();
        return opened;
    }
};

}  // namespace

class HtmlPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void refusesWithoutAFileChosen() {
        PreviewFixture f;
        f.form.htmlview->setEnabled(true);
        f.dialogs->expectMessage();
        QVERIFY(!f.pressAndInspect([](Thtmlstrf&) {}));
        QCOMPARE(f.dialogs->messages(), QStringList{QStringLiteral("Nemáte otevřeny soubor který by se dal zobrazit!")});
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    void showsTheStoredFileAndRefusesUnsavedChanges() {
        PreviewFixture f;
        const QString page = f.folder.file(QStringLiteral("stranka.htm"));
        writeFile(page, "<html><head><title>Zkusebni stranka</title></head><body>Ahoj</body></html>");
        QVERIFY(!f.form.htmlview->isEnabled());
        f.open(page);
        QVERIFY(f.form.htmlview->isEnabled());

        f.form.editor->SetSelText(QStringLiteral("x"));
        QVERIFY(f.form.editor->Modified());
        f.dialogs->expectMessage();
        QVERIFY(!f.pressAndInspect([](Thtmlstrf&) {}));
        QCOMPARE(f.dialogs->messages(), QStringList{QStringLiteral("Před spuštěním náhledu nejprve prosím uložte soubor!")});

        f.form.editor->SetModified(false);
        QString title, caption;
        QVERIFY(f.pressAndInspect([&](Thtmlstrf& window) {
            caption = window.windowTitle();
            QTest::qWaitFor([&] { return window.prohlizec->title() == QLatin1String("Zkusebni stranka"); }, 20000);
            title = window.prohlizec->title();
        }));
        QCOMPARE(caption, QStringLiteral("Náhled Html Stránky"));
        QCOMPARE(title, QStringLiteral("Zkusebni stranka"));
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    // The file last chosen in the open dialog is shown, even a plain-text one after an HTML page.
    void showsTheLastChosenFileWhateverItsType() {
        PreviewFixture f;
        const QString page = f.folder.file(QStringLiteral("a.html"));
        const QString text = f.folder.file(QStringLiteral("b.txt"));
        writeFile(page, "<title>A</title>");
        writeFile(text, "obycejny text");
        f.open(page);
        f.open(text);
        QVERIFY(f.form.htmlview->isEnabled());
        QUrl shown;
        QVERIFY(f.pressAndInspect([&](Thtmlstrf& window) { shown = window.prohlizec->url(); }));
        QCOMPARE(shown, QUrl::fromLocalFile(text));
    }

    void keepsItsGeometryInTheConfigFolder() {
        PreviewFixture f;
        const QString page = f.folder.file(QStringLiteral("a.html"));
        writeFile(page, "<title>A</title>");
        f.open(page);
        QRect first;
        QVERIFY(f.pressAndInspect([&](Thtmlstrf& window) {
            first = QRect(window.pos(), window.size());
            window.move(150, 120);
            window.resize(500, 300);
        }));
        QCOMPARE(first, QRect(100, 100, 640, 480));
        const platform::ProfileFile cfg(f.folder.file(QStringLiteral("config/NHS.cfg")));
        QCOMPARE(cfg.readInteger(QStringLiteral("velikost"), QStringLiteral("vyskaformu"), 0), 300);
        QCOMPARE(cfg.readInteger(QStringLiteral("velikost"), QStringLiteral("sirkaformu"), 0), 500);
        QCOMPARE(cfg.readInteger(QStringLiteral("nastaveni na plose"), QStringLiteral("bod1"), 0), 120);
        QCOMPARE(cfg.readInteger(QStringLiteral("nastaveni na plose"), QStringLiteral("bod2"), 0), 150);

        QRect second;
        QVERIFY(f.pressAndInspect([&](Thtmlstrf& window) { second = QRect(window.pos(), window.size()); }));
        QCOMPARE(second, QRect(150, 120, 500, 300));
    }

    void aConfigurationThatCannotBeWrittenIsReported() {
        PreviewFixture f;
        const QString page = f.folder.file(QStringLiteral("a.html"));
        writeFile(page, "<title>A</title>");
        f.open(page);
        writeFile(f.folder.file(QStringLiteral("config")), "a file where the folder belongs");
        f.dialogs->expectMessage();
        QVERIFY(f.pressAndInspect([](Thtmlstrf&) {}));
        QCOMPARE(f.dialogs->messages(), QStringList{QStringLiteral("Nelze uložit konfiguraci")});
        QVERIFY(htmlstrf == nullptr);
    }
};

QX_REGISTER_TEST(HtmlPreviewTest)
#include "tst_htmlpreview.moc"
