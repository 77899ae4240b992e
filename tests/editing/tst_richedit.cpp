// The editor control: selection and replacement, undo limit, zoom, the modified flag, the engine
// window's rebuild, link clicks, the context menu and the input events.

#include "richeditfixture.h"
#include "tests/support/testregistry.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace richedit;
using qxtest::charFormatAt;
using qxtest::makeEditor;
using qxtest::select;

namespace {

struct Click {
    QString text;
    Qt::MouseButton button;
};

}  // namespace

class TestRichEdit : public QObject {
    Q_OBJECT
private slots:
    // A new engine window gets the control's properties.
    void engineWindowSetUp() {
        TQxRichEdit edit;
        Engine& engine = edit.HandleNeeded();
        QCOMPARE(engine.eventMask(), 0x042C0001u);
        QCOMPARE(engine.textLimit(), 0xFFFFFF);
        QCOMPARE(engine.getOptions() & (ECO_AUTOWORDSELECTION | ECO_SELECTIONBAR),
                 ECO_AUTOWORDSELECTION | ECO_SELECTIONBAR);
        QCOMPARE(engine.textMode(), TM_RICHTEXT | TM_MULTILEVELUNDO);
        QCOMPARE(engine.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(engine.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(engine.wordWrap());

        edit.SetMaxLength(10);
        QCOMPARE(engine.textLimit(), 10);
        edit.SetWordSelection(false);
        QCOMPARE(engine.getOptions() & ECO_AUTOWORDSELECTION, 0u);
        edit.SetSelectionBar(false);  // rebuilds
        QCOMPARE(edit.EngineWindow()->getOptions() & (ECO_AUTOWORDSELECTION | ECO_SELECTIONBAR), 0u);
        QCOMPARE(edit.EngineWindow()->textLimit(), 10);
        edit.SetHideScrollBars(false);
        edit.SetWordWrap(false);
        QCOMPARE(edit.EngineWindow()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(edit.EngineWindow()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    // SelText: the caret ends after the new text, nothing is selected, and the step can be undone. A
    // CR LF pair is one paragraph break in the engine, so the caret lands right after "friend".
    void selTextWrite() {
        auto edit = makeEditor("Hello world!");
        select(*edit, 6, 11);
        edit->SetSelText(QStringLiteral("there\r\nfriend"));
        QCOMPARE(edit->Text(), QStringLiteral("Hello there\r\nfriend!"));
        QCOMPARE(edit->SelStart(), 18);
        QCOMPARE(edit->SelLength(), 0);
        QVERIFY(edit->CanUndo());
        edit->Undo();
        QCOMPARE(edit->Text(), QStringLiteral("Hello world!"));
    }

    // Any other replacement leaves the new text selected.
    void replaceSelFromAnotherSender() {
        auto edit = makeEditor("Hello world!");
        select(*edit, 6, 11);
        edit->ReplaceSel(QStringLiteral("there\r\nfriend"));
        QCOMPARE(edit->SelStart(), 6);
        QCOMPARE(edit->SelLength(), 12);
        QCOMPARE(edit->SelText(), QStringLiteral("there\rfriend"));
        QVERIFY(!edit->SelTextReplacing());
    }

    void replacementUndoability_data() {
        QTest::addColumn<bool>("forceUndo");
        QTest::addColumn<bool>("selTextStyle");
        QTest::addColumn<int>("undoLimit");
        QTest::addColumn<bool>("undoable");
        QTest::newRow("SelText, force") << true << true << 100 << true;
        QTest::newRow("SelText, no force") << false << true << 100 << false;
        QTest::newRow("other sender, no force") << false << false << 100 << true;
        QTest::newRow("limit 1") << true << false << 1 << false;
    }
    void replacementUndoability() {
        QFETCH(bool, forceUndo);
        QFETCH(bool, selTextStyle);
        QFETCH(int, undoLimit);
        QFETCH(bool, undoable);
        auto edit = makeEditor();
        edit->SetUndoLimit(undoLimit);
        edit->SetForceUndo(forceUndo);
        if (selTextStyle) edit->SetSelText(QStringLiteral("abc"));
        else edit->ReplaceSel(QStringLiteral("abc"));
        QCOMPARE(edit->CanUndo(), undoable);
        edit->Undo();
        QCOMPARE(edit->Text().isEmpty(), undoable);
    }

    void selectionProperties() {
        auto edit = makeEditor("0123456789");
        edit->SetSelStart(3);
        QCOMPARE(edit->SelStart(), 3);
        QCOMPARE(edit->SelLength(), 0);
        edit->SetSelLength(4);
        QCOMPARE(edit->SelStart(), 3);
        QCOMPARE(edit->SelText(), QStringLiteral("3456"));
        edit->SelectAll();
        QCOMPARE(edit->SelLength(), 10);
        edit->SetModified(true);
        edit->Clear();
        QCOMPARE(edit->Text(), QString());
        QVERIFY(!edit->Modified());
        QVERIFY(!edit->CanUndo());
    }

    // The engine keeps exactly UndoLimit steps: the oldest fall off.
    void undoLimitDropsTheOldestStep() {
        auto edit = makeEditor();
        edit->SetUndoLimit(2);
        QCOMPARE(edit->EngineWindow()->undoLimit(), 2);
        for (const char* piece : {"a", "b", "c"}) edit->SetSelText(QString::fromLatin1(piece));
        edit->Undo();
        edit->Undo();
        QVERIFY(!edit->CanUndo());
        edit->Undo();
        QCOMPARE(edit->Text(), QStringLiteral("a"));
        edit->Redo();
        QCOMPARE(edit->Text(), QStringLiteral("ab"));
    }

    // A write equal to the kept value sends nothing; the engine's limit stays what it was.
    void undoLimitEqualWriteSendsNothing() {
        auto edit = makeEditor();
        edit->SetUndoLimit(5);
        edit->EngineWindow()->setUndoLimit(3);  // behind the control's back
        edit->SetUndoLimit(5);
        QCOMPARE(edit->EngineWindow()->undoLimit(), 3);
        QCOMPARE(edit->UndoLimit(), 5);
        edit->SetUndoLimit(4);
        QCOMPARE(edit->EngineWindow()->undoLimit(), 4);
    }

    void undoLimitReachesALaterWindow() {
        TQxRichEdit edit;
        edit.SetUndoLimit(7);
        QCOMPARE(edit.UndoLimit(), 7);
        QVERIFY(!edit.CanUndo());
        edit.HandleNeeded();
        QCOMPARE(edit.EngineWindow()->undoLimit(), 7);
        QCOMPARE(edit.EngineWindow()->textMode() & (TM_MULTILEVELUNDO | TM_SINGLELEVELUNDO), TM_MULTILEVELUNDO);
    }

    void zoom_data() {
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::newRow("quarter") << 25 << 25 << 25 << 100;
        QTest::newRow("double") << 200 << 200 << 200 << 100;
        QTest::newRow("off") << 0 << 100 << 0 << 0;
    }
    void zoom() {
        QFETCH(int, written);
        QFETCH(int, read);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        auto edit = makeEditor("zoomed");
        edit->SetZoom(50);
        edit->SetZoom(written);
        QCOMPARE(edit->Zoom(), read);
        int n = -1, d = -1;
        edit->EngineWindow()->getZoom(n, d);
        QCOMPARE(n, numerator);
        QCOMPARE(d, denominator);
    }

    void zoomReadRoundsTheEnginesRatio() {
        auto edit = makeEditor();
        edit->EngineWindow()->setZoom(2, 3);
        QCOMPARE(edit->Zoom(), 67);
        edit->EngineWindow()->setZoom(1, 3);
        QCOMPARE(edit->Zoom(), 33);
        TQxRichEdit noWindow;
        noWindow.SetZoom(50);
        QCOMPARE(noWindow.Zoom(), 100);
    }

    // The control holds the modified flag while no engine window exists and hands it over.
    void modifiedWithoutEngineWindow() {
        TQxRichEdit edit;
        edit.SetModified(true);
        QVERIFY(edit.Modified());
        QVERIFY(!edit.HandleAllocated());
        edit.HandleNeeded();
        QVERIFY(edit.EngineWindow()->getModify());
        edit.SetModified(false);
        QVERIFY(!edit.EngineWindow()->getModify());
    }

    // A WordWrap change rebuilds the engine window: the content and the modified flag come along;
    // selection, undo history, zoom and the default format set through DefaultAttributes do not.
    void wordWrapRebuild_data() {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("plain");
        QTest::newRow("rich, modified") << true << false;
        QTest::newRow("rich, unmodified") << false << false;
        QTest::newRow("plain, modified") << true << true;
    }
    void wordWrapRebuild() {
        QFETCH(bool, modified);
        QFETCH(bool, plain);
        auto edit = makeEditor();
        edit->setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        edit->SetPlainText(plain);
        edit->SetSelText(QStringLiteral("first line\rsecond line"));
        if (!plain) {
            select(*edit, 0, 5);
            edit->SelAttributes().SetStyle(TFontStyle::Bold);
            edit->Paragraph().SetAlignment(TParaAlignment::Justify);  // advanced typography on
        }
        edit->SetModified(modified);
        edit->SetZoom(50);
        edit->DefaultAttributes().SetSize(30);
        select(*edit, 3, 8);
        QPointer<Engine> before = edit->EngineWindow();

        edit->SetWordWrap(false);

        QVERIFY(edit->EngineWindow() != before.data());
        QVERIFY(!edit->EngineWindow()->wordWrap());
        QCOMPARE(edit->Text(), QStringLiteral("first line\r\nsecond line"));
        QCOMPARE(edit->Modified(), modified);
        QCOMPARE(edit->PlainText(), plain);
        QCOMPARE(edit->Zoom(), 100);
        QCOMPARE(edit->SelStart(), 0);
        QCOMPARE(edit->SelLength(), 0);
        QVERIFY(!edit->CanUndo());
        QCOMPARE(edit->DefaultAttributes().Size(), 10);
        if (!plain) {
            QVERIFY(charFormatAt(*edit, 0, 5).dwEffects & CFE_BOLD);
            QVERIFY(edit->EngineWindow()->typographyOptions() & 1);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(before.isNull());

        edit->SetWordWrap(true);
        QVERIFY(edit->EngineWindow()->wordWrap());
        QCOMPARE(edit->Text(), QStringLiteral("first line\r\nsecond line"));
    }

    // Plain-text mode switches the engine's text mode and keeps the text, not its formatting.
    void plainTextMode() {
        auto edit = makeEditor();
        edit->SetPlainText(true);
        QCOMPARE(edit->EngineWindow()->textMode() & (TM_PLAINTEXT | TM_RICHTEXT), TM_PLAINTEXT);
        edit->SetPlainText(false);
        edit->SetSelText(QStringLiteral("bold\rtext"));
        select(*edit, 0, 4);
        edit->SelAttributes().SetStyle(TFontStyle::Bold);
        edit->SetPlainText(true);
        QVERIFY(edit->PlainText());
        QCOMPARE(edit->EngineWindow()->textMode() & (TM_PLAINTEXT | TM_RICHTEXT), TM_PLAINTEXT);
        QCOMPARE(edit->Text(), QStringLiteral("bold\r\ntext"));
        QVERIFY(!(charFormatAt(*edit, 0, 4).dwEffects & CFE_BOLD));

        TQxRichEdit later;
        later.SetPlainText(true);
        later.HandleNeeded();
        QCOMPARE(later.EngineWindow()->textMode() & (TM_PLAINTEXT | TM_RICHTEXT), TM_PLAINTEXT);
    }

    void autoUrlDetect() {
        TQxRichEdit edit;
        QVERIFY(edit.AutoURLDetect());
        edit.SetAutoURLDetect(false);
        edit.HandleNeeded();
        QVERIFY(!edit.EngineWindow()->autoUrlDetect());
        edit.SetAutoURLDetect(true);
        QVERIFY(edit.EngineWindow()->autoUrlDetect());
        QVERIFY(edit.AutoURLDetect());
    }

    // Link clicks: press and release of the same button over exactly the same link range.
    void linkClicks_data() {
        QTest::addColumn<QString>("sequence");  // messages over links "a" or "b"
        QTest::addColumn<QString>("expected");  // "", "La", "Ra", ...
        QTest::newRow("left click") << "LDa LUa" << "La";
        QTest::newRow("right click") << "RDa RUa" << "Ra";
        QTest::newRow("press on one, release on another") << "LDa LUb" << "";
        QTest::newRow("other button released") << "LDa RUa" << "";
        QTest::newRow("any release forgets the press") << "LDa LUb LUa" << "";
        QTest::newRow("moves do not matter") << "LDa Ma LUa" << "La";
        QTest::newRow("the later press counts") << "LDa LDb LUb" << "Lb";
        QTest::newRow("release without press") << "LUa" << "";
    }
    void linkClicks() {
        QFETCH(QString, sequence);
        QFETCH(QString, expected);
        const QString text = QStringLiteral("see http://a.example/ and http://b.example/ now");
        auto edit = makeEditor(text);
        const auto rangeOf = [&](QChar which) {
            const int start = text.indexOf(which == 'a' ? QStringLiteral("http://a") : QStringLiteral("http://b"));
            return CHARRANGE{start, start + 17};
        };
        QStringList clicks;
        edit->OnURLClick = [&](QObject* sender, const QString& url, Qt::MouseButton button) {
            QCOMPARE(sender, edit.get());
            clicks << (button == Qt::LeftButton ? "L" : "R") + url;
        };
        for (const QString& step : sequence.split(' ')) {
            MouseMessage message = MouseMessage::Move;
            if (step.startsWith("LD")) message = MouseMessage::LeftDown;
            else if (step.startsWith("LU")) message = MouseMessage::LeftUp;
            else if (step.startsWith("RD")) message = MouseMessage::RightDown;
            else if (step.startsWith("RU")) message = MouseMessage::RightUp;
            emit edit->EngineWindow()->link(message, rangeOf(step.back()));
        }
        QStringList wanted;
        if (!expected.isEmpty())
            wanted << expected.left(1) + (expected.back() == 'a' ? "http://a.example/" : "http://b.example/");
        QCOMPARE(clicks, wanted);
    }

    // A real click on a detected link.
    void linkClickWithTheMouse() {
        auto edit = makeEditor(QStringLiteral("go to http://www.example.com/page today"));
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
        QStringList clicks;
        edit->OnURLClick = [&](QObject*, const QString& url, Qt::MouseButton) { clicks << url; };
        QWidget* viewport = edit->EngineWindow()->viewport();
        const QPoint inside = edit->EngineWindow()->posFromChar(12) + QPoint(2, 4);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, inside);
        QCOMPARE(clicks, QStringList{QStringLiteral("http://www.example.com/page")});
        QTest::mouseClick(viewport, Qt::LeftButton, {}, edit->EngineWindow()->posFromChar(2) + QPoint(2, 4));
        QCOMPARE(clicks.size(), 1);
    }

    // The right button's release shows the control's context menu at the pointer.
    void contextMenuOnRightRelease() {
        auto edit = makeEditor(QStringLiteral("context"));
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
        QMenu menu;
        menu.addAction(QStringLiteral("Kopírovat"));
        edit->SetPopupMenu(&menu);
        QWidget* viewport = edit->EngineWindow()->viewport();
        QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(30, 10));
        QVERIFY(!menu.isVisible());
        QTest::mouseRelease(viewport, Qt::RightButton, {}, QPoint(30, 10));
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(menu.pos(), viewport->mapToGlobal(QPoint(30, 10)));
        menu.hide();

        // a left click shows nothing; the hook may choose another menu
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(30, 10));
        QVERIFY(!menu.isVisible());
        QMenu other;
        other.addAction(QStringLiteral("Vlastnosti"));
        edit->OnContextPopup = [&](QObject*, QMenu* shown) {
            return shown == &menu ? &other : nullptr;
        };
        QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(40, 10));
        QTRY_VERIFY(other.isVisible());
        QVERIFY(!menu.isVisible());
        other.hide();

        // the keyboard's menu key shows it at the caret
        edit->OnContextPopup = nullptr;
        Engine* engine = edit->EngineWindow();
        const QPoint caret = engine->posFromChar(engine->exGetSel().cpMax);
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        QApplication::sendEvent(engine, &key);
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(menu.pos(), engine->viewport()->mapToGlobal(caret));
        menu.hide();
    }

    // The mouse-down event comes after the engine handled the press: the caret is already there.
    void mouseDownAfterTheEngine() {
        auto edit = makeEditor(QStringLiteral("abcdefghij"));
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
        int caretSeen = -1;
        Qt::MouseButton buttonSeen = Qt::NoButton;
        edit->OnMouseDown = [&](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
            caretSeen = edit->SelStart();
            buttonSeen = button;
        };
        Engine* engine = edit->EngineWindow();
        const QPoint at = engine->posFromChar(6) + QPoint(1, 4);
        const int expected = engine->charFromPos(at);
        QVERIFY(expected > 0);
        QTest::mouseClick(engine->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(buttonSeen, Qt::LeftButton);
        QCOMPARE(caretSeen, expected);
    }

    // A handler may rebuild the engine window from inside the engine's own notification.
    void rebuildFromInsideANotification() {
        auto edit = makeEditor(QStringLiteral("rebuild me"));
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
        edit->OnMouseDown = [&](QObject*, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
            edit->SetWordWrap(!edit->WordWrap());
        };
        QPointer<Engine> first = edit->EngineWindow();
        QTest::mouseClick(first->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QVERIFY(edit->EngineWindow() != first.data());
        QVERIFY(!edit->WordWrap());
        QTRY_VERIFY(first.isNull());
        QCOMPARE(edit->Text(), QStringLiteral("rebuild me"));
        QTest::mouseClick(edit->EngineWindow()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QVERIFY(edit->WordWrap());
    }

    // Key events come before the control acts and may swallow or change the key.
    void keyEvents() {
        auto edit = makeEditor();
        edit->show();
        QVERIFY(QTest::qWaitForWindowExposed(edit.get()));
        edit->activateWindow();
        edit->setFocus();
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        QStringList seen;
        edit->OnKeyDown = [&](QObject*, int& key, Qt::KeyboardModifiers) {
            seen << QStringLiteral("down %1 '%2'").arg(key).arg(edit->Text());
            if (key == Qt::Key_X) key = 0;
        };
        edit->OnKeyPress = [&](QObject*, QChar& key) {
            seen << QStringLiteral("press %1 '%2'").arg(key).arg(edit->Text());
            if (key == 'a') key = 'b';
        };
        QTest::keyClick(target, 'c');
        QTest::keyClick(target, 'x');
        QTest::keyClick(target, 'a');
        QCOMPARE(edit->Text(), QStringLiteral("cb"));
        QCOMPARE(seen, (QStringList{QStringLiteral("down %1 ''").arg(int(Qt::Key_C)), "press c ''",
                                    QStringLiteral("down %1 'c'").arg(int(Qt::Key_X)),
                                    QStringLiteral("down %1 'c'").arg(int(Qt::Key_A)), "press a 'c'"}));
    }

    void selectionChangeAndEnter() {
        QWidget window;
        auto* other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        auto* edit = new TQxRichEdit(&window);
        edit->SetSelText(QStringLiteral("selection"));
        int changes = 0;
        edit->OnSelectionChange = [&](QObject* sender) {
            QCOMPARE(sender, edit);
            ++changes;
        };
        edit->SetSelStart(4);
        QVERIFY(changes >= 1);

        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        int enters = 0;
        edit->OnEnter = [&](QObject*) { ++enters; };
        other->setFocus(Qt::TabFocusReason);
        edit->setFocus(Qt::MouseFocusReason);
        QCOMPARE(enters, 1);
        other->setFocus(Qt::TabFocusReason);
        QCOMPARE(enters, 1);
    }
};

QX_REGISTER_TEST(TestRichEdit)
#include "tst_richedit.moc"
