// Pictures as the editor's embedded objects: pasting, the insert-object and properties dialogs, the
// context menu of a selected picture, resizing by its handles, the engine switches the control
// sends, and which link texts may be opened.

#include "richeditfixture.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include "editing/linktarget.h"
#include "platform/errors.h"
#include "platform/richedit/textformat.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTest>

using namespace richedit;
using qxtest::makeEditor;
using qxtest::select;

namespace {

QImage testImage(int w = 40, int h = 20) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    return image;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

Picture pictureAt(TQxRichEdit& edit, int cp) {
    Picture picture;
    edit.HandleNeeded().getObject(cp, picture);
    return picture;
}

// "ab" and a 40 × 20 picture between them, selected.
std::unique_ptr<TQxRichEdit> editorWithPicture() {
    auto edit = makeEditor(QStringLiteral("ab"));
    select(*edit, 1, 1);
    edit->HandleNeeded().insertPicture(Picture{pngBytes(testImage()), QStringLiteral("png"), 0, 0});
    select(*edit, 1, 2);
    return edit;
}

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

}  // namespace

class TestObjects : public QObject {
    Q_OBJECT
private slots:
    // A picture on the clipboard is pasted as one character at the caret; without objects allowed the
    // engine takes no picture.
    void pastedPictureIsOneObjectCharacter() {
        auto edit = makeEditor(QStringLiteral("abcd"));
        QApplication::clipboard()->setImage(testImage());
        select(*edit, 2, 2);
        edit->PasteFromClipboard();
        QCOMPARE(edit->HandleNeeded().getTextLength(), 5);
        const Picture picture = pictureAt(*edit, 2);
        QCOMPARE(picture.widthTwips, 40 * 15);
        QCOMPARE(picture.heightTwips, 20 * 15);
        select(*edit, 2, 3);
        QCOMPARE(edit->HandleNeeded().selectionType(), SEL_OBJECT);
        QVERIFY(edit->PictureSelected());

        edit->SetAllowObjects(false);
        select(*edit, 0, 0);
        edit->PasteFromClipboard();
        QCOMPARE(edit->HandleNeeded().getTextLength(), 5);
        QVERIFY(!edit->PictureSelected());
    }

    // Right-clicking a selected picture extends the context menu with a separator, the properties item
    // and the type's verb submenu; right-clicking text shows the menu alone, without the old items.
    void contextMenuOfASelectedPicture() {
        auto edit = editorWithPicture();
        QMenu popup;
        popup.addAction(QStringLiteral("Kopírovat"));
        edit->SetPopupMenu(&popup);
        QMenu* shown = nullptr;
        edit->OnContextPopup = [&](QObject*, QMenu* menu) {
            shown = menu;
            return nullptr;  // not shown: the test only looks at it
        };
        QWidget* view = edit->EngineWindow()->viewport();
        const QPoint onText = edit->EngineWindow()->posFromChar(0) + QPoint(1, 3);
        QTest::mouseClick(view, Qt::RightButton, {}, onText);
        QCOMPARE(shown, &popup);
        QCOMPARE(captions(&popup),
                 (QStringList{QStringLiteral("Kopírovat"), QStringLiteral("-"), QStringLiteral("Obrázek Properties"),
                              QStringLiteral("Obrázek")}));
        QMenu* verbs = popup.actions().last()->menu();
        QVERIFY(verbs);
        QCOMPARE(captions(verbs), QStringList{QStringLiteral("Otevřít")});
        QCOMPARE(verbs->defaultAction(), verbs->actions().first());

        select(*edit, 0, 1);
        QTest::mouseClick(view, Qt::RightButton, {}, onText);
        QCOMPARE(captions(&popup), QStringList{QStringLiteral("Kopírovat")});

        // With an empty context menu the verb menu is shown alone, the properties item first.
        QMenu empty;
        edit->SetPopupMenu(&empty);
        select(*edit, 1, 2);
        QTest::mouseClick(view, Qt::RightButton, {}, onText);
        QVERIFY(shown != &empty);
        QCOMPARE(captions(shown), (QStringList{QStringLiteral("Obrázek Properties"), QStringLiteral("Otevřít")}));
    }

    // The properties dialog shows the picture and sets its scale; Cancel changes nothing.
    void propertiesSetTheScale() {
        auto edit = editorWithPicture();
        qxtest::ScopedDialogs dialogs;
        dialogs->answerObjectProperties(std::nullopt);
        QVERIFY(!edit->ShowObjectPropertiesDialog());
        QCOMPARE(dialogs->lastObjectProperties().typeName, QStringLiteral("Obrázek"));
        QCOMPARE(dialogs->lastObjectProperties().pixelSize, QSize(40, 20));
        QCOMPARE(dialogs->lastObjectProperties().scalePercent, 100);
        QCOMPARE(pictureAt(*edit, 1).widthTwips, 600);

        dialogs->answerObjectProperties(50);
        QVERIFY(edit->ShowObjectPropertiesDialog());
        QCOMPARE(pictureAt(*edit, 1).widthTwips, 300);
        QCOMPARE(pictureAt(*edit, 1).heightTwips, 150);
        dialogs->answerObjectProperties(std::nullopt);
        edit->ShowObjectPropertiesDialog();
        QCOMPARE(dialogs->lastObjectProperties().scalePercent, 50);
        QCOMPARE(dialogs->lastObjectProperties().displayedTwips, QSize(300, 150));
        edit->Undo();
        QCOMPARE(pictureAt(*edit, 1).widthTwips, 600);

        select(*edit, 0, 1);  // text: no dialog
        QVERIFY(!edit->ShowObjectPropertiesDialog());
        QVERIFY(dialogs->unexpected().isEmpty());
    }

    // The insert-object dialog creates a picture from a file in place of the selection and selects it.
    void insertObjectFromAPictureFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("obrázek.png"));
        testImage(30, 10).save(file, "PNG");
        auto edit = makeEditor(QStringLiteral("one two"));
        qxtest::ScopedDialogs dialogs;
        select(*edit, 4, 7);
        dialogs->cancelInsertObject();
        QVERIFY(!edit->ShowInsertObjectDialog());
        QCOMPARE(edit->Text(), QStringLiteral("one two"));
        QCOMPARE(edit->HandleNeeded().exGetSel(), (CHARRANGE{4, 7}));

        dialogs->answerInsertObject(file);
        QVERIFY(edit->ShowInsertObjectDialog());
        QCOMPARE(edit->HandleNeeded().getTextLength(), 5);
        QCOMPARE(edit->HandleNeeded().exGetSel(), (CHARRANGE{4, 5}));
        QCOMPARE(pictureAt(*edit, 4).widthTwips, 30 * 15);

        const QString notAPicture = dir.filePath(QStringLiteral("text.png"));
        QFile f(notAPicture);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
        f.close();
        dialogs->answerInsertObject(notAPicture);
        QVERIFY_THROWS_EXCEPTION(platform::Error, edit->ShowInsertObjectDialog());
        QCOMPARE(edit->HandleNeeded().getTextLength(), 5);
        QVERIFY(dialogs->unexpected().isEmpty());
    }

    // Dragging the bottom right handle of a selected picture resizes it in proportion; a click on a
    // picture selects it.
    void resizeByDraggingAHandle() {
        QWidget window;
        auto* edit = new TQxRichEdit(&window);
        edit->setGeometry(0, 0, 400, 300);
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        edit->HandleNeeded().insertPicture(Picture{pngBytes(testImage(40, 40)), QStringLiteral("png"), 0, 0});
        edit->SetSelText(QStringLiteral(" text"));
        edit->setFocus();
        Engine& engine = *edit->EngineWindow();
        QWidget* view = engine.viewport();
        const QPoint topLeft = engine.posFromChar(0);
        QTest::mouseClick(view, Qt::LeftButton, {}, topLeft + QPoint(20, 20));
        QCOMPARE(engine.exGetSel(), (CHARRANGE{0, 1}));

        const QPoint corner = topLeft + QPoint(40, 40);
        QTest::mousePress(view, Qt::LeftButton, {}, corner);
        QTest::mouseMove(view, corner + QPoint(40, 10));
        QTest::mouseRelease(view, Qt::LeftButton, {}, corner + QPoint(40, 10));
        const Picture resized = pictureAt(*edit, 0);
        QCOMPARE(resized.widthTwips, 80 * 15);
        QCOMPARE(resized.heightTwips, 80 * 15);
        QCOMPARE(engine.getTextRange(0, -1).size(), 6);  // the text is untouched

        // an edge handle stretches one side only
        const QPoint right = topLeft + QPoint(80, 40);
        QTest::mousePress(view, Qt::LeftButton, {}, right);
        QTest::mouseMove(view, right - QPoint(40, 0));
        QTest::mouseRelease(view, Qt::LeftButton, {}, right - QPoint(40, 0));
        QCOMPARE(pictureAt(*edit, 0).widthTwips, 40 * 15);
        QCOMPARE(pictureAt(*edit, 0).heightTwips, 80 * 15);
    }

    // The control's drag-and-drop and language settings reach the engine, also after a rebuild.
    void engineSwitches() {
        auto edit = makeEditor(QStringLiteral("text"));
        QVERIFY(edit->EngineWindow()->dragDrop());
        QCOMPARE(edit->EngineWindow()->langOptions(), IMF_AUTOFONT);
        QVERIFY(edit->EngineWindow()->objectCallback());
        edit->SetOLEDragDrop(false);
        QVERIFY(!edit->EngineWindow()->dragDrop());
        QVERIFY(!edit->EngineWindow()->viewport()->acceptDrops());
        QCOMPARE(edit->Text(), QStringLiteral("text"));
        edit->SetLangOptions(TRichLangOption::rlAutoKeyboard);
        QCOMPARE(edit->EngineWindow()->langOptions(), IMF_AUTOKEYBOARD);
        QCOMPARE(edit->EngineWindow()->document()->defaultFont().styleStrategy() & QFont::NoFontMerging,
                 QFont::NoFontMerging);
        edit->SetWordWrap(false);  // rebuilds
        QCOMPARE(edit->EngineWindow()->langOptions(), IMF_AUTOKEYBOARD);
        QVERIFY(!edit->EngineWindow()->dragDrop());
        edit->SetAllowObjects(false);
        QVERIFY(!edit->EngineWindow()->objectCallback());
    }

    void safeLinkTargets_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("opened");  // empty: refused
        QTest::newRow("http") << "http://example.com/a?b=c" << "http://example.com/a?b=c";
        QTest::newRow("https") << "HTTPS://example.com" << "https://example.com";
        QTest::newRow("ftp") << "ftp://ftp.example.com/file" << "ftp://ftp.example.com/file";
        QTest::newRow("www") << "www.seznam.cz" << "http://www.seznam.cz";
        QTest::newRow("mailto") << "mailto:jan@example.com" << "mailto:jan@example.com";
        QTest::newRow("empty mailto") << "mailto:" << "";
        QTest::newRow("other scheme") << "javascript:alert(1)" << "";
        QTest::newRow("program") << "file:///bin/sh" << "";
        QTest::newRow("missing file") << "file:///nonexistent/x.txt" << "";
        QTest::newRow("directory") << "file:///tmp" << "";
        QTest::newRow("plain text") << "rm -rf" << "";
    }
    void safeLinkTargets() {
        QFETCH(QString, link);
        QFETCH(QString, opened);
        const std::optional<QUrl> target = SafeLinkTarget(link);
        QCOMPARE(target ? target->toString() : QString(), opened);
    }

    void fileLinkToADocumentOpens() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("dopis.txt"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x");
        file.close();
        const QString link = QUrl::fromLocalFile(path).toString();
        QVERIFY(SafeLinkTarget(link));
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        QVERIFY(!SafeLinkTarget(link));
    }
};

QX_REGISTER_TEST(TestObjects)
#include "tst_objects.moc"
