// The toolbar follows the selection on mouse presses, arrow keys and the editor's formatting keys,
// showing the format at the selection's start, and never changes the document while it follows.

#include "mainformfixture.h"

#include "platform/widgets/colorbutton.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/sizebox.h"
#include "tests/support/testregistry.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

using platform::ColorValue;
using qxtest::ShownMainform;

namespace {

QStringList ticked(TMainform& form) {
    QStringList names;
    for (QAction* item : form.radkovanipop->actions())
        if (item->isChecked()) names << item->objectName();
    return names;
}

// "plain BOLD plain" with the bold word in another face and size.
struct BoldWordDocument : ShownMainform {
    QString face;
    BoldWordDocument() : ShownMainform(QStringLiteral("aaaa BBBB cccc")) {
        face = form.fontybox->itemText(form.fontybox->count() / 2);
        select(5, 9);
        TQxTextAttributes& a = editor().SelAttributes();
        a.SetStyle(TFontStyle::Bold | TFontStyle::Italic);
        a.SetName(face);
        a.SetSize(14);
        a.SetColor(0x000000FF);
        select(0, 0);
        editor().SetModified(false);
    }
};

}  // namespace

class SelectionTrackingTest : public QObject {
    Q_OBJECT

private slots:
    // A click shows the clicked text's format and refreshes the status panels; nothing is written.
    void clickShowsTheFormatThere() {
        BoldWordDocument f;
        f.clickAt(7);
        QVERIFY(f.form.tucne->isChecked());
        QVERIFY(f.form.kurziva->isChecked());
        QVERIFY(!f.form.podtrzene->isChecked());
        QCOMPARE(f.form.fontybox->faceName(), f.face);
        QCOMPARE(f.form.velpisma->currentText(), QStringLiteral("14"));
        QCOMPARE(f.form.barvatextu->selectedColor(), ColorValue(0x000000FF));
        QCOMPARE(f.form.StatusPanels[1]->text(), QStringLiteral("0:7"));

        f.clickAt(2);
        QVERIFY(!f.form.tucne->isChecked());
        QVERIFY(!f.form.kurziva->isChecked());
        QCOMPARE(f.form.barvatextu->selectedColor(), platform::clWindowText);
        QCOMPARE(f.form.bpozaditextu->selectedColor(), platform::clWindow);
        QVERIFY(!f.editor().Modified());
    }

    // Arrow keys update the controls before the caret moves: they follow one key behind.
    void arrowKeysFollowOneKeyBehind() {
        BoldWordDocument f;
        f.select(8, 8);  // inside the bold word, before its last character
        QTest::keyClick(f.editorKeys(), Qt::Key_Right);
        QVERIFY(f.form.tucne->isChecked());
        QTest::keyClick(f.editorKeys(), Qt::Key_Right);  // the caret was after "B": bold still
        QVERIFY(f.form.tucne->isChecked());
        QTest::keyClick(f.editorKeys(), Qt::Key_Right);  // now it was after the blank
        QVERIFY(!f.form.tucne->isChecked());
        QTest::keyClick(f.editorKeys(), Qt::Key_Left);
        QTest::keyClick(f.editorKeys(), Qt::Key_Up);
        QTest::keyClick(f.editorKeys(), Qt::Key_Down);
        QVERIFY(!f.editor().Modified());
    }

    // Other keys do not update the controls.
    void otherKeysLeaveTheControls() {
        BoldWordDocument f;
        f.select(7, 7);
        for (Qt::Key key : {Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Return, Qt::Key_X}) {
            QTest::keyClick(f.editorKeys(), key);
            QVERIFY(!f.form.tucne->isChecked());
        }
    }

    // Extending a selection with Shift and the arrows from bold into plain text shows bold and
    // leaves the plain characters plain.
    void shiftArrowsWriteNothing() {
        BoldWordDocument f;
        f.select(8, 8);
        for (int i = 0; i < 4; ++i) QTest::keyClick(f.editorKeys(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(f.editor().SelLength(), 4);
        QVERIFY(f.form.tucne->isChecked());
        QCOMPARE(f.styles(0, 14), QStringLiteral("00000333300000"));
        QVERIFY(!f.editor().Modified());
    }

    // A selection starting in red text shows red on the button; the rest keeps its colour.
    void colourOfTheStartIsShownNotWritten() {
        BoldWordDocument f;
        f.select(7, 12);
        QTest::keyClick(f.editorKeys(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(f.form.barvatextu->selectedColor(), ColorValue(0x000000FF));
        f.select(11, 12);
        QCOMPARE(f.editor().SelAttributes().Color(), platform::clWindowText);
        QVERIFY(!f.editor().Modified());
    }

    // A selection whose start is subscript shows subscript and stays mixed.
    void subscriptStartIsShownNotWritten() {
        ShownMainform f(QStringLiteral("H2O voda"));
        f.setIndices(1, QStringLiteral("1"));
        f.editor().SetModified(false);
        f.select(1, 6);
        QTest::keyClick(f.editorKeys(), Qt::Key_Right, Qt::ShiftModifier);
        QVERIFY(f.form.dindex->isChecked());
        QVERIFY(!f.form.hindex->isChecked());
        QCOMPARE(f.indices(0, 8), QStringLiteral("01000000"));
        QVERIFY(!f.editor().Modified());
    }

    // Rules 0, 1, 2 and exactly 30 points tick their item; other spacings leave the ticks.
    void lineSpacingTicks_data() {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("points");
        QTest::addColumn<QString>("tick");
        QTest::newRow("single") << 0 << 0 << "normalni";
        QTest::newRow("one and a half") << 1 << 0 << "radku15";
        QTest::newRow("double") << 2 << 0 << "radku2";
        QTest::newRow("exactly 30") << 4 << 30 << "radku3";
        QTest::newRow("exactly 24") << 4 << 24 << "radku2";
        QTest::newRow("at least 30") << 3 << 30 << "radku2";
        QTest::newRow("multiple") << 5 << 40 << "radku2";
    }
    void lineSpacingTicks() {
        QFETCH(int, rule);
        QFETCH(int, points);
        QFETCH(QString, tick);
        ShownMainform f(QStringLiteral("první\rdruhý"));
        f.select(0, 0);
        f.form.radku2->trigger();  // the ticks before: "2 řádky"
        f.select(7, 7);
        f.editor().Paragraph().SetLineSpacing(points);
        f.editor().Paragraph().SetLineSpacingRule(rule);
        f.clickAt(8);
        QCOMPARE(ticked(f.form), QStringList{tick});
    }

    // The alignment and list buttons show the last command given with them, not the caret's paragraph.
    void alignmentAndListButtonsStay() {
        ShownMainform f(QStringLiteral("první\rdruhý"));
        f.select(0, 0);
        f.form.szarovnani->click();
        f.form.tecodraz->click();
        f.clickAt(8);
        QTest::keyClick(f.editorKeys(), Qt::Key_Left);
        QVERIFY(f.form.szarovnani->isChecked());
        QVERIFY(!f.form.lzarovnani->isChecked());
        QVERIFY(f.form.tecodraz->isChecked());
    }

    // The editor's formatting keys change the format and the toolbar shows the new state.
    void formattingKeysUpdateTheToolbar() {
        ShownMainform f(QStringLiteral("klávesy"));
        f.select(0, 7);
        QTest::keyClick(f.editorKeys(), Qt::Key_B, Qt::ControlModifier);
        QCOMPARE(f.styles(0, 7), QStringLiteral("1111111"));
        f.select(0, 7);
        QTest::keyClick(f.editorKeys(), Qt::Key_U, Qt::ControlModifier);
        QVERIFY(f.form.tucne->isChecked());
        QVERIFY(f.form.podtrzene->isChecked());
        QTest::keyClick(f.editorKeys(), Qt::Key_Equal, Qt::ControlModifier);
        QVERIFY(f.form.dindex->isChecked());
        QTest::keyClick(f.editorKeys(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(ticked(f.form), QStringList{QStringLiteral("radku2")});
        QTest::keyClick(f.editorKeys(), Qt::Key_B, Qt::ControlModifier);
        QVERIFY(!f.form.tucne->isChecked());
        QVERIFY(f.form.podtrzene->isChecked());
    }
};

QX_REGISTER_TEST(SelectionTrackingTest)
#include "tst_selectiontracking.moc"
