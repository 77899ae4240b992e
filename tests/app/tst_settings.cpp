// The main window's configuration file: defaults on the first start, reading odd values, writing
// in the documented layout and keeping what the program does not know.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace {

void writeConfig(const qxtest::ProgramFolder& folder, const QByteArray& text) {
    QDir().mkpath(folder.file(QStringLiteral("config")));
    QFile f(folder.file(QStringLiteral("config/VUR.cfg")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray readConfig(const qxtest::ProgramFolder& folder) {
    QFile f(folder.file(QStringLiteral("config/VUR.cfg")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartUsesDefaultsAndClosingWritesTheFile() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        {
            TMainform form;
            form.FormCreate({});
            QCOMPARE(form.size(), QSize(969, 623));
            QCOMPARE(form.pos(), QPoint(100, 100));
            QVERIFY(!form.statusBar()->isHidden());
            QVERIFY(!form.ruler->isHidden());
            QVERIFY(form.editor->WordWrap());
            QCOMPARE(form.editor->UndoLimit(), 100);
            QVERIFY(!form.Timer2->isActive());
            QCOMPARE(form.Timer2->interval(), 60000);
            QCOMPARE(form.SaveFolder, folder.path());
            QCOMPARE(form.WindowColor, platform::clBtnFace);
            form.show();
            QVERIFY(form.close());
        }
        const QByteArray expected = "[nastaveni]\r\nautosaveInterval=60000\r\nmistosave=" + folder.path().toUtf8() +
                                    "\r\nautosavetimer=0\r\n"
                                    "[velikost]\r\nvyskaformu=623\r\nsirkaformu=969\r\n"
                                    "[nastaveni zobrazeni]\r\nstavradek=1\r\npravitko=1\r\nbarva programu=-16777201\r\n"
                                    "[nastaveni upravy]\r\nzalomeni radku=1\r\nkolikrat zpet=100\r\n"
                                    "[nastaveni na plose]\r\nbod1=100\r\nbod2=100\r\n";
        QCOMPARE(readConfig(folder), expected);
    }

    void readsOddValues() {
        qxtest::ProgramFolder folder;
        writeConfig(folder,
                    "; written by hand\r\n"
                    "[NASTAVENI]\r\n  AutosaveInterval = 0x3E8 \r\nautosavetimer=2\r\nneznamy klic=zůstane\r\n"
                    "[nastaveni zobrazeni]\nstavradek=0\npravitko=yes\nbarva programu=-16777201\n"
                    "[nastaveni upravy]\r\nzalomeni radku=0\r\nkolikrat zpet=$20\r\n"
                    "[nastaveni na plose]\r\nbod1=0x10\r\nbod2=40\r\n"
                    "[cizi sekce]\r\nklic=1\r\n");
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        QCOMPARE(form.Timer2->interval(), 1000);
        QVERIFY(form.Timer2->isActive());
        QVERIFY(form.statusBar()->isHidden());
        QVERIFY(!form.ruler->isHidden());  // "yes" is no number: the default
        QCOMPARE(form.WindowColor, platform::clBtnFace);
        QCOMPARE(form.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
        QVERIFY(!form.editor->WordWrap());
        QCOMPARE(form.editor->UndoLimit(), 32);
        QCOMPARE(form.pos(), QPoint(40, 16));

        form.show();
        QVERIFY(form.close());
        const QByteArray written = readConfig(folder);
        QVERIFY(written.startsWith("; written by hand\r\n[NASTAVENI]\r\n  AutosaveInterval = 1000\r\n"));
        QVERIFY(written.contains("neznamy klic=zůstane\r\n"));
        QVERIFY(written.contains("[cizi sekce]\r\nklic=1\r\n"));
        QVERIFY(written.contains("pravitko=1\r\n"));
    }

    void zeroIntervalNeverTicks() {
        qxtest::ProgramFolder folder;
        writeConfig(folder, "[nastaveni]\r\nautosaveInterval=0\r\nautosavetimer=1\r\n");
        TMainform form;
        form.FormCreate({});
        QVERIFY(!form.Timer2->isActive());
        QVERIFY(form.AutosaveEnabled);
    }

    // A window stored off every screen comes back on the primary screen.
    void windowOffEveryScreenIsMovedBack() {
        qxtest::ProgramFolder folder;
        writeConfig(folder, "[nastaveni na plose]\r\nbod1=-5000\r\nbod2=-9000\r\n");
        TMainform form;
        form.FormCreate({});
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().intersects(QRect(form.pos(), form.size())));
    }

    void unwritableConfigurationIsReportedEveryClose() {
        qxtest::ProgramFolder folder;
        QFile blocker(folder.file(QStringLiteral("config")));  // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.show();
        form.editor->SetSelText(QStringLiteral("x"));
        dialogs->expectMessage();
        dialogs->answerConfirm(platform::ConfirmAnswer::Cancel);
        QVERIFY(!form.close());
        dialogs->expectMessage();
        dialogs->answerConfirm(platform::ConfirmAnswer::No);
        QVERIFY(form.close());
        QCOMPARE(dialogs->messages(),
                 (QStringList{QStringLiteral("Nelze uložit konfiguraci"), QStringLiteral("Nelze uložit konfiguraci")}));
        QVERIFY(dialogs->unexpected().isEmpty());
    }
};

QX_REGISTER_TEST(SettingsTest)
#include "tst_settings.moc"
