// The main window's ruler: its handles follow the paragraph at the selection, released handles and
// the indent buttons write the paragraph's indents, and lines wrap at the ruler's width.
#include "app/ed.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"
#include "ruler/QxRuler.h"
#include "tests/ruler/rulerfixture.h"
#include "tests/support/files.h"
#include "tests/support/programfolder.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/testregistry.h"

#include <QTemporaryDir>
#include <QToolButton>

#include <memory>

using namespace qxtest;
using TI = TIndentID;

namespace {

struct Indents {
    int first, left, right;
    bool operator==(const Indents&) const = default;
};
Indents paragraphIndents(TMainform& form) {
    TQxParaAttributes& p = form.editor->Paragraph();
    return {p.FirstIndent(), p.LeftIndent(), p.RightIndent()};
}
Indents handles(TMainform& form) {
    return {form.ruler->IndentFirst(), form.ruler->IndentLeft(), form.ruler->IndentRight()};
}

char* toString(const Indents& i) { return QTest::toString(QStringLiteral("(%1, %2, %3)").arg(i.first).arg(i.left).arg(i.right)); }

// A started main window in a temporary program folder, with a new empty document.
struct StartedWindow {
    ProgramFolder folder;
    ScopedDialogs dialogs;
    TMainform form;
    explicit StartedWindow(const QStringList& arguments = {}) { form.FormCreate(arguments); }
};

}  // namespace

class RulerBindingTest : public QObject {
    Q_OBJECT

private slots:
    void init() { DocumentPath.clear(); }

    void rulerSitsAboveTheEditorAtItsFixedSize() {
        StartedWindow w;
        TQxRuler& ruler = *w.form.ruler;
        QCOMPARE(ruler.size(), QSize(917, 25));
        QCOMPARE(ruler.minimumSize(), QSize(917, 25));
        QCOMPARE(ruler.maximumSize(), QSize(917, 25));
        QCOMPARE(ruler.MarginLeft(), 62);
        QCOMPARE(ruler.MarginRight(), 87);
        QVERIFY(!ruler.ShowMarginHandlers());
        QVERIFY(!ruler.Richedit());
        QCOMPARE(ruler.Color(), platform::clCaptionText);
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        const QPoint rulerTop = ruler.mapTo(&w.form, QPoint(0, 0));
        const QPoint editorTop = w.form.editor->mapTo(&w.form, QPoint(0, 0));
        QCOMPARE(editorTop, rulerTop + QPoint(0, 25));
        // A window narrower than the ruler clips it instead of being held at its width.
        w.form.resize(600, 500);
        QTest::qWait(50);
        QVERIFY(w.form.width() < 917);
        QCOMPARE(ruler.width(), 917);
        // Hiding the ruler gives its height to the editor.
        ruler.hide();
        QTest::qWait(50);
        QCOMPARE(w.form.editor->mapTo(&w.form, QPoint(0, 0)), rulerTop);
    }

    // The new document gets the program's indents; the handles show them.
    void newDocumentStartsWithTheInitialIndents() {
        StartedWindow w;
        QCOMPARE(paragraphIndents(w.form), (Indents{44, 0, 60}));
        QCOMPARE(handles(w.form), (Indents{60, 60, 823}));
        QVERIFY(!w.form.editor->Modified());
    }

    // A document named on the command line keeps its own indents, so saving it changes nothing.
    void commandLineDocumentKeepsItsIndents() {
        QTemporaryDir documents;
        const QString path = writeFile(documents.filePath(QStringLiteral("dopis.rtf")),
                                       "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\fi300\\li600\\ri0 Text\\par}");
        StartedWindow w({path});
        QCOMPARE(paragraphIndents(w.form), (Indents{45, -15, 0}));
        QCOMPARE(handles(w.form), (Indents{62, 42, 903}));
        QVERIFY(!w.form.editor->Modified());
    }

    // Placing the ruler from a paragraph, starting from the handles of the new document (60, 60, 823).
    void handlesFollowTheParagraph_data() {
        QTest::addColumn<Indents>("paragraph");
        QTest::addColumn<Indents>("placed");
        QTest::newRow("no indents") << Indents{0, 0, 0} << Indents{2, 2, 903};
        QTest::newRow("initial") << Indents{44, 0, 60} << Indents{60, 60, 823};
        QTest::newRow("first 30, left 15") << Indents{30, 15, 60} << Indents{42, 62, 823};
        QTest::newRow("negative first line stays") << Indents{-10, 10, 60} << Indents{60, 2, 823};
        // Judged against the right handle from before it moved away.
        QTest::newRow("too near the old right handle") << Indents{600, 0, 0} << Indents{60, 60, 903};
    }
    void handlesFollowTheParagraph() {
        QFETCH(Indents, paragraph);
        QFETCH(Indents, placed);
        StartedWindow w;
        TQxParaAttributes& p = w.form.editor->Paragraph();
        p.SetFirstIndent(paragraph.first);
        p.SetLeftIndent(paragraph.left);
        p.SetRightIndent(paragraph.right);
        w.form.editorSelectionChange();
        QCOMPARE(handles(w.form), placed);
    }

    // Moving the caret into another paragraph moves the handles; so does the editor getting the focus.
    void caretMovesTheHandles() {
        StartedWindow w;
        TQxRichEdit& editor = *w.form.editor;
        editor.SetSelText(QStringLiteral("první\rdruhý"));
        editor.Paragraph().SetFirstIndent(0);  // the second paragraph
        QCOMPARE(handles(w.form).first, 60);   // a format change is no selection change
        editor.SetSelStart(0);
        QCOMPARE(handles(w.form), (Indents{60, 60, 823}));
        editor.SetSelStart(8);
        QCOMPARE(handles(w.form), (Indents{2, 2, 823}));
        w.form.ruler->SetIndentFirst(100);
        w.form.editorEnter();
        QCOMPARE(handles(w.form).first, 2);
    }

    // Releasing a handle where it was pressed changes neither the paragraph nor the handles.
    void releaseWithoutMovingChangesNothing_data() {
        QTest::addColumn<int>("id");
        for (int id = 0; id < 4; ++id) QTest::addRow("%d", id) << id;
    }
    void releaseWithoutMovingChangesNothing() {
        QFETCH(int, id);
        StartedWindow w;
        TQxParaAttributes& p = w.form.editor->Paragraph();
        p.SetFirstIndent(31);  // 41.33 pixels: an indent whose pixels are not a whole number
        p.SetLeftIndent(-7);
        p.SetRightIndent(17);
        w.form.editorSelectionChange();
        const Indents before = paragraphIndents(w.form), placed = handles(w.form);
        pressHandle(*w.form.ruler, TI(id));
        releaseHandle(*w.form.ruler, TI(id));
        QCOMPARE(paragraphIndents(w.form), before);
        QCOMPARE(handles(w.form), placed);
    }

    // The paragraph changes once, at the release; the handle then stands where the paragraph puts it.
    void dragWritesTheParagraphOnceAtTheRelease_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("mouseX");  // ruler x the mouse is dragged to (grabbed at the tip)
        QTest::addColumn<Indents>("paragraph");
        QTest::addColumn<Indents>("placed");
        // The left indent is relative to the first line: it moves with it.
        QTest::newRow("first-line") << int(TI::riFirst) << 84 << Indents{59, 0, 60} << Indents{80, 80, 823};
        QTest::newRow("left") << int(TI::riLeft) << 104 << Indents{44, 30, 60} << Indents{60, 100, 823};
        // 780 lies between the places of 93 and 92 points: the handle settles at 779.
        QTest::newRow("right") << int(TI::riRight) << 787 << Indents{44, 0, 93} << Indents{60, 60, 779};
        QTest::newRow("both-left") << int(TI::riBothLeft) << 94 << Indents{66, 0, 60} << Indents{90, 90, 823};
    }
    void dragWritesTheParagraphOnceAtTheRelease() {
        QFETCH(int, id);
        QFETCH(int, mouseX);
        QFETCH(Indents, paragraph);
        QFETCH(Indents, placed);
        StartedWindow w;
        const Indents initial = paragraphIndents(w.form);
        pressHandle(*w.form.ruler, TI(id));
        moveHandleMouseTo(*w.form.ruler, TI(id), mouseX - 10);
        moveHandleMouseTo(*w.form.ruler, TI(id), mouseX);
        QCOMPARE(paragraphIndents(w.form), initial);  // nothing while dragging
        releaseHandle(*w.form.ruler, TI(id));
        QCOMPARE(paragraphIndents(w.form), paragraph);
        QCOMPARE(handles(w.form), placed);
        // One update: undoing it brings back the indents from before the drag.
        for (int step = 0; step < (id == int(TI::riBothLeft) ? 2 : 1); ++step) w.form.editor->Undo();
        QCOMPARE(paragraphIndents(w.form), initial);
    }

    // Each indent button shifts both left handles by 10 pixels and writes the indents from them.
    void indentButtonsStepBothLeftIndents() {
        StartedWindow w;
        for (int i = 0; i < 5; ++i) w.form.ToolButton44->click();
        QCOMPARE(handles(w.form), (Indents{110, 110, 823}));
        QCOMPARE(paragraphIndents(w.form), (Indents{81, 0, 60}));  // 44 + 37.5 points
        w.form.ToolButton43->click();
        QCOMPARE(handles(w.form), (Indents{100, 100, 823}));
        QCOMPARE(paragraphIndents(w.form), (Indents{74, 0, 60}));
        // At the ruler's left edge the indents stop at 0 and the handles at their place.
        for (int i = 0; i < 12; ++i) w.form.ToolButton43->click();
        QCOMPARE(handles(w.form), (Indents{2, 2, 823}));
        QCOMPARE(paragraphIndents(w.form), (Indents{0, 0, 60}));
    }

    // Lines wrap at x = 911 of the editor whatever the window's width, also before it is first shown.
    void wrappingFollowsTheRulerNotTheWindow() {
        StartedWindow w;
        TQxRichEdit& editor = *w.form.editor;
        editor.SetSelText(QString(QStringLiteral("slovo ")).repeated(400));
        QCOMPARE(editor.HandleNeeded().getRect().right() + 1, 911);  // from the start, before any resize
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        richedit::Engine& engine = editor.HandleNeeded();
        auto wrap = [&] {
            QList<int> starts;
            for (int line = 0; line < engine.getLineCount(); ++line) starts << engine.lineIndex(line);
            return starts;
        };
        QCOMPARE(engine.getRect().left(), 6);
        QCOMPARE(engine.getRect().right() + 1, 911);
        const QList<int> wide = wrap();
        QVERIFY(wide.size() > 3);
        for (int width : {500, 1250, 969}) {
            w.form.resize(width, 600);
            QTest::qWait(50);
            QCOMPARE(engine.getRect().right() + 1, 911);
            QCOMPARE(wrap(), wide);
        }
    }
};

QX_REGISTER_TEST(RulerBindingTest)
#include "tst_rulerbinding.moc"
