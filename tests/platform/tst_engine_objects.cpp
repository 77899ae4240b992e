// The engine's object and input additions: the container's consent to pictures, dragging text inside
// the engine and switching drag and drop off, and the input method's pre-edit text at the caret.
#include "engine_fixture.h"
#include "tests/support/testregistry.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace richedit;
using namespace enginetest;

namespace {

// Consents as told, counting the questions.
struct Container final : Engine::ObjectCallback {
    bool accept = true;
    int questions = 0;
    bool queryInsertObject(int) override { return ++questions, accept; }
    bool queryAcceptData(const QMimeData*) override { return ++questions, accept; }
};

QPoint charPoint(Engine& e, int cp) { return e.posFromChar(cp) + QPoint(2, 4); }

}  // namespace

class EngineObjectsTest : public QObject {
    Q_OBJECT
private slots:
    void containerConsentsToPictures() {
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("ab"), true);
        QImage image(10, 10, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QApplication::clipboard()->setImage(image);
        e->setSel(1, 1);
        e->paste();  // no container: no picture
        QCOMPARE(text(*e), QStringLiteral("ab"));

        Container container;
        container.accept = false;
        e->setObjectCallback(&container);
        e->paste();
        QCOMPARE(text(*e), QStringLiteral("ab"));
        QVERIFY(container.questions > 0);
        container.accept = true;
        e->paste();
        QCOMPARE(e->getTextLength(), 3);
        Picture picture;
        QVERIFY(e->getObject(1, picture));
        QVERIFY(!e->getObject(0, picture));

        // text needs no consent
        container.accept = false;
        QApplication::clipboard()->setText(QStringLiteral("x"));
        e->setSel(0, 0);
        e->paste();
        QCOMPARE(e->getTextLength(), 4);
        e->setObjectCallback(nullptr);
    }

    // With drag and drop off, pressing in the selection and moving selects instead of dragging, and
    // nothing is accepted from outside.
    void dragDropOff() {
        auto e = makeEngine();
        e->setDragDrop(false);
        QVERIFY(!e->viewport()->acceptDrops());
        e->replaceSel(QStringLiteral("one two three"), true);
        e->setSel(0, 7);
        QWidget* view = e->viewport();
        QTest::mousePress(view, Qt::LeftButton, {}, charPoint(*e, 1));
        QTest::mouseMove(view, charPoint(*e, 10));
        QTest::mouseRelease(view, Qt::LeftButton, {}, charPoint(*e, 10));
        QCOMPARE(text(*e), QStringLiteral("one two three"));
        QCOMPARE(e->exGetSel().cpMin, 1);
        QVERIFY(e->exGetSel().cpMax >= 10);
        e->setDragDrop(true);
        QVERIFY(e->viewport()->acceptDrops());
    }

    // The pre-edit text is drawn at the caret without entering the document; the commit enters it.
    void preeditDrawnAtTheCaret() {
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("ab"), true);
        e->setSel(1, 1);
        const QImage before = e->viewport()->grab().toImage();
        QInputMethodEvent preedit(QStringLiteral("xyz"), {});
        QApplication::sendEvent(e.get(), &preedit);
        QCOMPARE(text(*e), QStringLiteral("ab"));
        const QImage during = e->viewport()->grab().toImage();
        // pixels change right of the caret, on its line
        const QPoint caret = e->posFromChar(1);
        const QRect area(caret.x(), caret.y(), 30, e->posFromChar(1).y() + 15);
        QVERIFY(before.copy(area) != during.copy(area));
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("xyz"));
        QApplication::sendEvent(e.get(), &commit);
        QCOMPARE(text(*e), QStringLiteral("axyzb"));
    }
};

// Drags need a platform that runs them (see tests/CMakeLists.txt).
class EngineDragTest : public QObject {
    Q_OBJECT
private slots:
    // Dragging selected text with the mouse moves it inside the engine, as one undo step.
    void dragTextInside() {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QSKIP("the offscreen platform runs no drags; CTest runs this class on the minimal platform");
        auto e = makeEngine();
        e->replaceSel(QStringLiteral("one two three"), true);
        e->setSel(0, 4);  // "one "
        QWidget* view = e->viewport();
        const QPoint from = charPoint(*e, 1);
        const QPoint to = e->posFromChar(13) + QPoint(1, 4);
        // The drag runs its own loop; the pointer moves and is released from inside it, through the
        // window as the desktop delivers it.
        QWindow* window = e->window()->windowHandle();
        const QPoint target = view->mapTo(e->window(), to);
        QTimer::singleShot(50, view, [&] {
            QTest::mouseMove(window, target);
            QTimer::singleShot(50, view, [&] {
                QTest::mouseMove(window, target);
                QTest::mouseRelease(window, Qt::LeftButton, {}, target);
            });
        });
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        const QPointF away = from + QPoint(QApplication::startDragDistance() + 10, 0);
        QMouseEvent move(QEvent::MouseMove, away, view->mapToGlobal(away), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QTRY_COMPARE(text(*e), QStringLiteral("two threeone "));
        QCOMPARE(e->exGetSel(), (CHARRANGE{9, 13}));
        QVERIFY(e->undo());
        QCOMPARE(text(*e), QStringLiteral("one two three"));
    }

};

QX_REGISTER_TEST(EngineObjectsTest)
QX_REGISTER_TEST(EngineDragTest)
#include "tst_engine_objects.moc"
