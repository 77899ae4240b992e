// The main window's insert, search and edit commands: pictures through the clipboard, the date and
// time, the zoom box, select all, the edit actions and their menu and toolbar bindings, link clicks,
// and a picture's scale through save and load.
#include "app/ed.h"

#include "editing/QxLines.h"
#include "editing/QxRichEdit.h"
#include "editing/datetimetext.h"
#include "platform/dialogs/findreplacedialog.h"
#include "platform/richedit/engine.h"
#include "platform/richedit/textformat.h"
#include "tests/support/files.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace richedit;
using qxtest::readFile;
using qxtest::writeFile;

namespace {

QString fixture(const char* name) { return QStringLiteral(QX_TEST_DATA_DIR "/picture/") + QLatin1String(name); }

// Records the addresses the desktop is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder() {
        for (const char* scheme : {"http", "https", "file", "mailto"}) QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~UrlRecorder() override {
        for (const char* scheme : {"http", "https", "file", "mailto"}) QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

Picture pictureAt(TMainform& form, int cp) {
    Picture picture;
    form.editor->HandleNeeded().getObject(cp, picture);
    return picture;
}

QWidget* keyTarget(TQxRichEdit* editor) {
    QWidget* target = editor->EngineWindow();
    while (target->focusProxy()) target = target->focusProxy();
    return target;
}

}  // namespace

class InsertCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        DocumentPath.clear();
        QApplication::clipboard()->setText(QStringLiteral("before"));
    }

    // Pictures go through the clipboard into the editor; every failure shows the one message and
    // leaves the document and the clipboard as they were.
    void insertPicture_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("cutTo");  // > 0: a corrupt copy of that many bytes
        QTest::addColumn<QSize>("inserted");  // invalid: refused
        QTest::addColumn<QSize>("twips");     // invalid: the inserted pixels at 96 dpi
        QTest::newRow("bitmap") << "rgb24.bmp" << "obrázek.bmp" << 0 << QSize(3, 2) << QSize();
        QTest::newRow("jpeg") << "rgb.jpg" << "foto.JPG" << 0 << QSize(5, 3) << QSize();
        QTest::newRow("png with transparency") << "palette-trns.png" << "a.png" << 0 << QSize(4, 2) << QSize();
        QTest::newRow("icon") << "icon.ico" << "ikona.ico" << 0 << QSize() << QSize();
        QTest::newRow("corrupt jpeg") << "rgb.jpg" << "vadný.jpg" << 60 << QSize() << QSize();
        QTest::newRow("corrupt png") << "rgb16.png" << "vadný.png" << 60 << QSize() << QSize();
        QTest::newRow("png named jpeg") << "rgb16.png" << "jiný.jpeg" << 0 << QSize() << QSize();
        QTest::newRow("bitmap named metafile") << "rgb24.bmp" << "kresba.wmf" << 0 << QSize() << QSize();
        // metafiles keep their own size: the placeable header's bounds (7454 x 5454 at 2540 units
        // per inch), the EMF frame (36.97 mm square)
        QTest::newRow("placeable metafile") << "../metafile/drawing.wmf" << "kresba.wmf" << 0 << QSize(282, 206) << QSize(4226, 3092);
        QTest::newRow("enhanced metafile") << "../metafile/chart.emf" << "graf.EMF" << 0 << QSize(140, 140) << QSize(2096, 2096);
        QTest::newRow("damaged metafile") << "../metafile/drawing.wmf" << "vadná.wmf" << 20 << QSize() << QSize();
        QTest::newRow("gif") << "rgb24.bmp" << "anim.gif" << 0 << QSize() << QSize();
        QTest::newRow("missing file") << "" << "chybí.png" << 0 << QSize() << QSize();
    }
    void insertPicture() {
        QFETCH(QString, source);
        QFETCH(QString, name);
        QFETCH(int, cutTo);
        QFETCH(QSize, inserted);
        QFETCH(QSize, twips);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        const QString file = folder.file(name);
        if (!source.isEmpty()) {
            QByteArray bytes = readFile(fixture(source.toLatin1().constData()));
            QVERIFY(!bytes.isEmpty());
            if (cutTo > 0) bytes.truncate(cutTo);
            writeFile(file, bytes);
        }
        if (inserted.isValid()) {
            const QImage decoded(file);
            if (!decoded.isNull()) inserted = decoded.size();  // the fixture's own size
        }
        form.editor->SetSelText(QStringLiteral("ab"));
        form.editor->SetSelStart(1);
        dialogs->answerOpen(file, 1);
        if (!inserted.isValid()) dialogs->expectErrorMessage();

        form.Obrzek1Click();
        const platform::FileDialogRequest& request = dialogs->lastFileRequest();
        QCOMPARE(request.initialDir, folder.path() + QStringLiteral("clipart/"));
        QCOMPARE(ClipartDir, request.initialDir);
        QVERIFY(request.picturePreview);
        QCOMPARE(request.filters.size(), 7);
        QCOMPARE(request.filters.first().pattern, QStringLiteral("*.bmp;*.ico;*.emf;*.wmf;*.jpg;*.jpeg;*.png"));
        QVERIFY(dialogs->unexpected().isEmpty());
        Engine& engine = form.editor->HandleNeeded();
        if (inserted.isValid()) {
            QCOMPARE(engine.getTextLength(), 3);
            if (!twips.isValid()) twips = inserted * 15;
            QCOMPARE(pictureAt(form, 1).widthTwips, twips.width());
            QCOMPARE(pictureAt(form, 1).heightTwips, twips.height());
            QCOMPARE(engine.exGetSel(), (CHARRANGE{2, 2}));
            // the picture stays on the clipboard, as a bitmap of its size
            QCOMPARE(QApplication::clipboard()->image().size(), inserted);
            QVERIFY(dialogs->errorMessages().isEmpty());
        } else {
            QCOMPARE(dialogs->errorMessages(), QStringList{QStringLiteral("Tento typ obrázku nelze vložit")});
            QCOMPARE(form.editor->Text(), QStringLiteral("ab"));
            QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        }
    }

    // A metafile is stored as the plain metafile RTF holds, is copied with a bitmap for other
    // programs beside it, pastes back as a metafile and is saved as one.
    void metafilePictureThroughClipboardAndSaving_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("fileFrom");    // the fixture's bytes from here make the file
        QTest::addColumn<int>("storedFrom");  // and from here what the document stores
        QTest::addColumn<QByteArray>("rtfKeyword");
        QTest::newRow("placeable wmf") << "drawing.wmf" << "wmf" << 0 << 22 << QByteArray("\\wmetafile8");
        QTest::newRow("plain wmf") << "chart.wmf" << "wmf" << 22 << 22 << QByteArray("\\wmetafile8");
        QTest::newRow("emf") << "chart.emf" << "emf" << 0 << 0 << QByteArray("\\emfblip");
    }
    void metafilePictureThroughClipboardAndSaving() {
        QFETCH(QString, source);
        QFETCH(QString, format);
        QFETCH(int, fileFrom);
        QFETCH(int, storedFrom);
        QFETCH(QByteArray, rtfKeyword);
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QByteArray bytes = readFile(QStringLiteral(QX_TEST_DATA_DIR "/metafile/") + source);
        const QString file = folder.file(source);
        writeFile(file, bytes.mid(fileFrom));
        TMainform form;
        form.FormCreate({});
        dialogs->answerOpen(file, 1);
        form.Obrzek1Click();
        const Picture stored = pictureAt(form, 0);
        QCOMPARE(stored.format, format);
        QCOMPARE(stored.data, bytes.mid(storedFrom));

        QApplication::clipboard()->setText(QStringLiteral("before"));
        Engine& engine = form.editor->HandleNeeded();
        engine.exSetSel({0, 1});
        engine.copy();
        const QSize displayed(qRound(stored.widthTwips / 15.0), qRound(stored.heightTwips / 15.0));
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), displayed);
        // the drawing, not an empty frame: some pixel is not white
        bool drawn = false;
        for (int y = 0; y < copied.height() && !drawn; y += 3)
            for (int x = 0; x < copied.width() && !drawn; x += 3) drawn = copied.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY(drawn);

        engine.exSetSel({1, 1});
        engine.paste();
        const Picture pasted = pictureAt(form, 1);
        QCOMPARE(pasted.format, format);
        QCOMPARE(pasted.data, stored.data);
        QCOMPARE(pasted.widthTwips, stored.widthTwips);

        const QString path = folder.file(QStringLiteral("kresba.rtf"));
        form.editor->Lines()->SaveFile(path);
        form.editor->SetModified(false);
        QCOMPARE(readFile(path).count(rtfKeyword), 2);
        QVERIFY(dialogs->unexpected().isEmpty());
    }

    void cancelledPictureDialogChangesNothing() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.editor->SetSelText(QStringLiteral("text"));
        dialogs->cancelFileDialog();
        emit form.ToolButton24->clicked();
        QCOMPARE(dialogs->asked(), QStringList{QStringLiteral("open")});
        QCOMPARE(form.editor->Text(), QStringLiteral("text"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    }

    // The date goes to the end of the document whatever the caret, and the caret follows it.
    void dateAndTimeAtTheEnd() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QString text;
        for (int i = 0; i < 60; ++i) text += QStringLiteral("řádek %1\r\n").arg(i);
        text += QStringLiteral("konec");
        form.editor->SetSelText(text);
        form.editor->SetSelStart(0);
        form.editor->SetModified(false);
        const QString earliest = DateTimeText(QDateTime::currentDateTime());
        emit form.Datum1->triggered();
        const QString latest = DateTimeText(QDateTime::currentDateTime());
        const QString after = form.editor->Text();
        QVERIFY(after.startsWith(text + QStringLiteral("\r\n")));
        const QString added = after.mid(text.size() + 2);
        QVERIFY2(added == earliest || added == latest, qPrintable(added));
        Engine& engine = form.editor->HandleNeeded();
        QCOMPARE(engine.exGetSel().cpMin, engine.getTextLength());
        QVERIFY(engine.verticalScrollBar()->value() > 0);  // scrolled to the end
        QVERIFY(form.editor->Modified());
        QVERIFY(form.editor->isAncestorOf(QApplication::focusWidget()));
        form.editor->Undo();
        QCOMPARE(form.editor->Text(), text);
        form.editor->SetModified(false);
    }

    void dateAndTimeIntoAnEmptyDocument() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        emit form.Datum1->triggered();
        QVERIFY(form.editor->Text().startsWith(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));
        form.editor->SetModified(false);
    }

    void dateTimeText_data() {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("text");
        const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
        const QDate day(2026, 3, 7);
        QTest::newRow("afternoon") << QDateTime(day, QTime(14, 5, 9, 450))
                                   << czech.toString(day, QLocale::ShortFormat) + u' ' + czech.toString(QTime(14, 5, 9), QLocale::LongFormat);
        QTest::newRow("midnight") << QDateTime(day, QTime(0, 0)) << czech.toString(day, QLocale::ShortFormat);
        QTest::newRow("a second after midnight") << QDateTime(day, QTime(0, 0, 1))
                                                 << czech.toString(day, QLocale::ShortFormat) + u' ' +
                                                        czech.toString(QTime(0, 0, 1), QLocale::LongFormat);
    }
    void dateTimeText() {
        QFETCH(QDateTime, moment);
        QFETCH(QString, text);
        QCOMPARE(DateTimeText(moment, QLocale(QLocale::Czech, QLocale::CzechRepublic)), text);
    }

    void zoomBox() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        QCOMPARE(form.meritkozobraz->currentText(), QStringLiteral("100 %"));
        form.meritkozobraz->setCurrentIndex(1);
        emit form.meritkozobraz->activated(1);
        QCOMPARE(form.editor->Zoom(), 50);
        form.meritkozobraz->setCurrentIndex(7);
        emit form.meritkozobraz->activated(7);
        QCOMPARE(form.editor->Zoom(), 500);
        form.meritkozobraz->setCurrentIndex(-1);
        emit form.meritkozobraz->activated(-1);
        QCOMPARE(form.editor->Zoom(), 500);  // nothing chosen, nothing written
    }

    void selectAll() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.ToolButton4->setFocus();
        emit form.Vybratve1->triggered();
        QCOMPARE(form.editor->SelLength(), 0);
        QVERIFY(form.editor->isAncestorOf(QApplication::focusWidget()));
        form.editor->SetSelText(QStringLiteral("one\r\ntwo"));
        emit form.Vybratve1->triggered();
        QCOMPARE(form.editor->HandleNeeded().exGetSel(), (CHARRANGE{0, 7}));
        form.editor->SetModified(false);
    }

    // The edit actions follow the focused control and its state; with the action disabled the key
    // reaches the editor, which does the same (nothing, for a copy of nothing).
    void editActions() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        TMainform form;
        form.FormCreate({});
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.editor->setFocus();
        QCOMPARE(form.EditCopy1->text(), QStringLiteral("&Copy"));
        QCOMPARE(form.EditCopy1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
        QVERIFY(!form.EditSelectAll1->isEnabled());  // empty text
        form.editor->SetSelText(QStringLiteral("hello world"));
        QVERIFY(form.EditSelectAll1->isEnabled());
        QVERIFY(form.EditUndo1->isEnabled());
        QVERIFY(form.EditPaste1->isEnabled());  // the clipboard holds text

        QVERIFY(!form.EditCopy1->isEnabled() && !form.EditCut1->isEnabled() && !form.EditDelete1->isEnabled());
        QVERIFY(!form.Koprovat2->isEnabled() && !form.kopirovat->isEnabled() && !form.Koprovat1->isEnabled());
        QTest::keyClick(keyTarget(form.editor), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));

        // Ctrl+A is the menu item's, unambiguously
        QSignalSpy selectAllItem(form.Vybratve1, &QAction::triggered);
        QTest::keyClick(keyTarget(form.editor), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(selectAllItem.count(), 1);
        QCOMPARE(form.editor->HandleNeeded().exGetSel(), (CHARRANGE{0, 11}));
        form.editor->HandleNeeded().exSetSel({0, 5});
        QVERIFY(form.EditCopy1->isEnabled() && form.kopirovat->isEnabled() && form.Smazat1->isEnabled());
        QTest::keyClick(keyTarget(form.editor), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("hello"));

        // menu, context menu and toolbar reach the same actions
        form.editor->HandleNeeded().exSetSel({6, 11});
        emit form.vyjmout->clicked();
        QCOMPARE(form.editor->Text(), QStringLiteral("hello "));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("world"));
        emit form.Vloit1->triggered();
        QCOMPARE(form.editor->Text(), QStringLiteral("hello world"));
        form.editor->HandleNeeded().exSetSel({0, 6});
        emit form.vymazat1->triggered();
        QCOMPARE(form.editor->Text(), QStringLiteral("world"));
        emit form.Vybratve2->triggered();
        QCOMPARE(form.editor->SelLength(), 5);
        emit form.Smazat1->triggered();
        QCOMPARE(form.editor->Text(), QString());
        QCOMPARE(form.Koprovat2->statusTip(), QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"));
        QCOMPARE(form.Vybratve2->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));

        // a picture on the clipboard is no text: the paste action waits, the editor's own paste works
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::green);
        QApplication::clipboard()->setImage(image);
        QVERIFY(!form.EditPaste1->isEnabled());
        QTest::keyClick(keyTarget(form.editor), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form.editor->HandleNeeded().getTextLength(), 1);

        // outside an edit control the actions are off
        form.ToolButton4->setFocusPolicy(Qt::StrongFocus);
        form.ToolButton4->setFocus();
        QVERIFY(!form.EditUndo1->isEnabled() && !form.EditSelectAll1->isEnabled() && !form.EditPaste1->isEnabled());
        form.editor->SetModified(false);
    }

    void searchCommandsOpenTheEditorsDialogs() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        emit form.Nahradittext2->triggered();
        platform::FindReplaceDialog* replace = form.editor->ReplaceDialog();
        QVERIFY(replace && replace->isVisible());
        replace->setFindText(QStringLiteral("hledat"));
        emit form.ToolButton4->clicked();
        QVERIFY(form.editor->FindDialog()->isVisible());
        QCOMPARE(form.editor->FindDialog()->findText(), QStringLiteral("hledat"));
        form.editor->FindDialog()->setFindText(QStringLiteral("jiné"));
        form.editor->FindDialog()->hide();
        emit form.Najtvtextu1->triggered();
        QVERIFY(form.editor->FindDialog()->isVisible());
        QCOMPARE(form.editor->FindDialog()->findText(), QStringLiteral("jiné"));
    }

    // Left and right clicks open safe links alike; other link texts are not handed on.
    void linkClicks() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        UrlRecorder recorder;
        form.editor->OnURLClick(form.editor, QStringLiteral("http://www.example.com/"), Qt::RightButton);
        form.editor->OnURLClick(form.editor, QStringLiteral("www.example.cz"), Qt::LeftButton);
        form.editor->OnURLClick(form.editor, QStringLiteral("file:///bin/sh"), Qt::LeftButton);
        form.editor->OnURLClick(form.editor, QStringLiteral("file:///etc/hostname-missing"), Qt::LeftButton);
        QCOMPARE(recorder.opened,
                 (QList<QUrl>{QUrl(QStringLiteral("http://www.example.com/")), QUrl(QStringLiteral("http://www.example.cz"))}));
    }

    // The "Otevřít" verb hands the picture to the desktop's viewer in a file of its own.
    void openVerbShowsThePicture() {
        qxtest::ProgramFolder folder;
        TMainform form;
        form.FormCreate({});
        UrlRecorder recorder;
        QImage image(6, 4, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QApplication::clipboard()->setImage(image);
        form.editor->PasteFromClipboard();
        form.editor->HandleNeeded().exSetSel({0, 1});
        QMenu* shown = nullptr;
        form.editor->OnContextPopup = [&](QObject*, QMenu* menu) {
            shown = menu;
            return nullptr;
        };
        QTest::mouseClick(form.editor->EngineWindow()->viewport(), Qt::RightButton, {}, QPoint(300, 200));
        QCOMPARE(shown, form.PopupMenu1);
        QAction* verbs = form.PopupMenu1->actions().last();
        QCOMPARE(verbs->text(), QStringLiteral("Obrázek"));
        verbs->menu()->actions().first()->trigger();
        QCOMPARE(recorder.opened.size(), 1);
        QCOMPARE(QImage(recorder.opened.first().toLocalFile()).size(), QSize(6, 4));
        form.editor->SetModified(false);
    }

    // A picture's scale set in its properties survives saving and loading the document.
    void pictureScaleSurvivesSaveAndLoad() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        const QString path = folder.file(QStringLiteral("obrázky.qlx"));
        {
            TMainform form;
            form.FormCreate({});
            form.editor->SetSelText(QStringLiteral("a"));
            const QString file = folder.file(QStringLiteral("foto.png"));
            QImage picture(40, 20, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            QVERIFY(picture.save(file, "PNG"));
            const QSize size = picture.size();
            dialogs->answerOpen(file, 1);
            form.Obrzek1Click();
            form.editor->HandleNeeded().exSetSel({1, 2});
            dialogs->answerObjectProperties(50);
            QVERIFY(form.editor->ShowObjectPropertiesDialog());
            QCOMPARE(pictureAt(form, 1).widthTwips, size.width() * 15 / 2);
            form.editor->Lines()->SaveFile(path);
            form.editor->SetModified(false);
        }
        TMainform form;
        form.FormCreate({path});
        const Picture loaded = pictureAt(form, 1);
        QCOMPARE(loaded.widthTwips, 300);
        QCOMPARE(loaded.heightTwips, 150);
        QVERIFY(dialogs->unexpected().isEmpty());
    }
};

QX_REGISTER_TEST(InsertCommandsTest)
#include "tst_insertcommands.moc"
