// The formatting commands of the second toolbar and the colour menu items, read back through the
// attribute accessors: styles, indices, face, size, colours, alignment, lists and line spacing.

#include "mainformfixture.h"

#include "platform/widgets/colorbutton.h"
#include "platform/widgets/fontnamebox.h"
#include "platform/widgets/sizebox.h"
#include "tests/support/files.h"
#include "tests/support/testregistry.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

using platform::ColorValue;
using qxtest::ShownMainform;

namespace {

QToolButton* styleButton(TMainform& form, int style) {
    switch (style) {
    case 1: return form.tucne;
    case 2: return form.kurziva;
    case 4: return form.podtrzene;
    default: return form.preskrknute;
    }
}

// Chooses `name` ("automatic", "swatchN") in the drop-down palette of `button`.
void chooseInPalette(platform::ColorButton* button, const QString& name) {
    QTimer::singleShot(0, button, [button, name] {
        button->dropDownPalette()->findChild<QToolButton*>(name)->click();
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    });
    button->showDropDown();
}

QStringList ticked(TMainform& form) {
    QStringList names;
    for (QAction* item : form.radkovanipop->actions())
        if (item->isChecked()) names << item->objectName();
    return names;
}

}  // namespace

class FormatCommandsTest : public QObject {
    Q_OBJECT

private slots:
    // A style toggle reads the selection's start and writes only its own style: the other three
    // styles of every character stay as they were.
    void styleToggles_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("pressed");
        QTest::newRow("bold on plain") << 1 << "000000" << "111111" << true;
        QTest::newRow("bold on text starting bold") << 1 << "113300" << "002200" << false;
        QTest::newRow("bold on text starting plain") << 1 << "0022AA" << "1133BB" << true;
        QTest::newRow("italic keeps bold and underline") << 2 << "152400" << "372622" << true;
        QTest::newRow("underline off") << 4 << "4C0000" << "080000" << false;
        QTest::newRow("strikeout on mixed") << 8 << "0F0F00" << "8F8F88" << true;
    }
    void styleToggles() {
        QFETCH(int, style);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, pressed);
        ShownMainform f(QStringLiteral("abcdef"));
        f.setStyles(0, before);
        f.select(0, 6);
        f.form.fontybox->setFocus();
        QToolButton* button = styleButton(f.form, style);
        button->click();
        QCOMPARE(f.styles(0, 6), after);
        QCOMPARE(button->isChecked(), pressed);
        QVERIFY(f.editorHasFocus());
        // one command, one undo step
        f.select(0, 6);
        f.editor().Undo();
        QCOMPARE(f.styles(0, 6), before);
    }

    // Subscript and superscript exclude each other; a toggle reads the selection's start.
    void indexToggles_data() {
        QTest::addColumn<bool>("superscript");  // hindex, else dindex
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("dindexBefore");
        QTest::addColumn<bool>("hindexBefore");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("dindexAfter");
        QTest::addColumn<bool>("hindexAfter");
        QTest::newRow("dindex on plain") << false << "0000" << false << true << "1111" << true << false;
        QTest::newRow("dindex on subscript") << false << "1111" << true << false << "0000" << false << false;
        QTest::newRow("dindex on superscript") << false << "2222" << false << true << "1111" << true << false;
        QTest::newRow("dindex on mixed starting subscript") << false << "1200" << true << false << "0000" << false << false;
        QTest::newRow("hindex on superscript") << true << "2222" << false << true << "0000" << false << false;
        QTest::newRow("hindex on subscript") << true << "1111" << true << false << "2222" << false << true;
        QTest::newRow("hindex on mixed starting plain") << true << "0121" << false << false << "2222" << false << true;
    }
    void indexToggles() {
        QFETCH(bool, superscript);
        QFETCH(QString, before);
        QFETCH(bool, dindexBefore);
        QFETCH(bool, hindexBefore);
        QFETCH(QString, after);
        QFETCH(bool, dindexAfter);
        QFETCH(bool, hindexAfter);
        ShownMainform f(QStringLiteral("x2yz"));
        f.setIndices(0, before);
        f.select(0, 4);
        f.form.dindex->setChecked(dindexBefore);
        f.form.hindex->setChecked(hindexBefore);
        (superscript ? f.form.hindex : f.form.dindex)->click();
        QCOMPARE(f.indices(0, 4), after);
        QCOMPARE(f.form.dindex->isChecked(), dindexAfter);
        QCOMPARE(f.form.hindex->isChecked(), hindexAfter);
        QVERIFY(f.editorHasFocus());
    }

    void faceFromTheFontBox() {
        ShownMainform f(QStringLiteral("Dobrý den"));
        if (f.form.fontybox->count() < 2) QSKIP("needs two installed font families");
        f.select(0, 5);
        f.form.fontybox->setFaceName(f.form.fontybox->itemText(0));
        f.form.fontybox->setFocus();
        QTest::keyClick(f.form.fontybox, Qt::Key_Down);
        QCOMPARE(f.editor().SelAttributes().Name(), f.form.fontybox->itemText(1));
        QVERIFY(f.editorHasFocus());
        f.select(6, 9);
        QVERIFY(f.editor().SelAttributes().Name() != f.form.fontybox->itemText(1));
    }

    // The size box writes its text as a whole number on Enter or when a size is chosen from its list.
    void sizeBox_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("focusInEditor");
        QTest::newRow("13 and Enter") << "13" << true << 13 << true;
        QTest::newRow("13 without Enter") << "13" << false << 10 << false;
        QTest::newRow("beyond the list") << "200" << true << 200 << true;
        QTest::newRow("beyond what a size holds") << "999999999" << true << 107374182 << true;  // saturates
    }
    void sizeBox() {
        QFETCH(QString, typed);
        QFETCH(bool, enter);
        QFETCH(int, size);
        QFETCH(bool, focusInEditor);
        ShownMainform f(QStringLiteral("velikost"));
        f.select(0, 8);
        f.editor().SelAttributes().SetSize(10);
        f.form.velpisma->setFocus();
        f.form.velpisma->lineEdit()->clear();
        QTest::keyClicks(f.form.velpisma, typed);
        if (enter) QTest::keyClick(f.form.velpisma, Qt::Key_Return);
        QCOMPARE(f.editor().SelAttributes().Size(), size);
        QCOMPARE(f.editorHasFocus(), focusInEditor);
    }

    void sizeChosenFromTheList() {
        ShownMainform f(QStringLiteral("velikost"));
        f.select(0, 8);
        f.form.velpisma->setCurrentIndex(19);  // "74"; Up chooses 56
        f.form.velpisma->setFocus();
        QTest::keyClick(f.form.velpisma, Qt::Key_Up);
        QCOMPARE(f.editor().SelAttributes().Size(), 56);
        QVERIFY(f.editorHasFocus());
    }

    // Letters are no whole number: the conversion error reaches the unexpected-error path, the
    // selection keeps its size and the focus stays in the box.
    void sizeBoxWithLetters() {
        ShownMainform f(QStringLiteral("velikost"));
        f.select(0, 8);
        f.editor().SelAttributes().SetSize(10);
        f.form.velpisma->setFocus();
        f.form.velpisma->lineEdit()->clear();
        QTest::keyClicks(f.form.velpisma, QStringLiteral("1a"));
        f.dialogs->expectMessage();
        QTest::keyClick(f.form.velpisma, Qt::Key_Return);
        QCOMPARE(f.dialogs->messages().size(), 1);
        QVERIFY(qxtest::readFile(f.folder.file(QStringLiteral("error.log")))
                    .contains("EConvertError - '1a' is not a valid integer value"));
        QCOMPARE(f.editor().SelAttributes().Size(), 10);
        QVERIFY(f.form.velpisma->hasFocus());
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    // The colour buttons write their colour when it changes; "Automatická" is the automatic colour.
    void colourButtons_data() {
        QTest::addColumn<bool>("back");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("text automatic") << false << "automatic" << quint32(platform::clWindowText);
        QTest::newRow("text red") << false << "swatch16" << quint32(0x000000FF);
        QTest::newRow("back automatic") << true << "automatic" << quint32(platform::clWindow);
        QTest::newRow("back yellow") << true << "swatch26" << quint32(0x0000FFFF);
    }
    void colourButtons() {
        QFETCH(bool, back);
        QFETCH(QString, choice);
        QFETCH(quint32, expected);
        ShownMainform f(QStringLiteral("barevný text"));
        f.select(0, 12);
        TQxTextAttributes& a = f.editor().SelAttributes();
        back ? a.SetBackColor(0x00808080) : a.SetColor(0x00808080);
        chooseInPalette(back ? f.form.bpozaditextu : f.form.barvatextu, choice);
        f.select(0, 12);
        QCOMPARE(back ? a.BackColor() : a.Color(), ColorValue(expected));
    }

    // Choosing the colour the button already shows changes nothing.
    void sameColourTwiceWritesNothing() {
        ShownMainform f(QStringLiteral("červená"));
        f.select(0, 7);
        chooseInPalette(f.form.barvatextu, QStringLiteral("swatch16"));  // red
        f.editor().SelAttributes().SetColor(0x00FF0000);                  // blue, not through the button
        f.editor().SetModified(false);
        chooseInPalette(f.form.barvatextu, QStringLiteral("swatch16"));
        QCOMPARE(f.editor().SelAttributes().Color(), ColorValue(0x00FF0000));
        QVERIFY(!f.editor().Modified());
    }

    // One colour dialog serves both menu items and starts from the last colour chosen in it; a cancel
    // changes nothing but the focus still goes to the editor.
    void colourMenuItems() {
        ShownMainform f(QStringLiteral("menu barev"));
        f.select(0, 4);
        f.form.fontybox->setFocus();
        f.dialogs->answerColor(QColor(0x10, 0x20, 0x30));
        f.form.Barvapsma1->trigger();
        QCOMPARE(f.dialogs->lastColorInitial(), QColor(Qt::black));
        QCOMPARE(f.editor().SelAttributes().Color(), ColorValue(0x00302010));
        QVERIFY(f.editorHasFocus());

        f.form.fontybox->setFocus();
        f.dialogs->cancelColorDialog();
        f.form.Barvapozadpsma1->trigger();
        QCOMPARE(f.dialogs->lastColorInitial(), QColor(0x10, 0x20, 0x30));
        QCOMPARE(f.editor().SelAttributes().BackColor(), platform::clWindow);
        QVERIFY(f.editorHasFocus());

        f.dialogs->answerColor(QColor(0xFF, 0xFF, 0x00));
        f.form.Barvapozadpsma1->trigger();
        QCOMPARE(f.dialogs->lastColorInitial(), QColor(0x10, 0x20, 0x30));
        QCOMPARE(f.editor().SelAttributes().BackColor(), ColorValue(0x0000FFFF));
        QCOMPARE(f.editor().SelAttributes().Color(), ColorValue(0x00302010));
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    // Justify over three paragraphs justifies all three and presses only its own button.
    void alignmentOverParagraphs() {
        ShownMainform f(QStringLiteral("jedna\rdva\rtři\rčtyři"));
        f.select(2, 12);
        f.form.fontybox->setFocus();
        f.form.czarovnani->click();
        QCOMPARE(f.form.lzarovnani->isChecked(), false);
        QCOMPARE(f.form.szarovnani->isChecked(), false);
        QCOMPARE(f.form.pzarovnani->isChecked(), false);
        QCOMPARE(f.form.czarovnani->isChecked(), true);
        QVERIFY(f.form.fontybox->hasFocus());  // the alignment buttons leave the focus where it is
        for (int paragraph : {0, 6, 10}) {
            f.select(paragraph, paragraph);
            QCOMPARE(f.editor().Paragraph().Alignment(), TParaAlignment::Justify);
        }
        f.select(14, 14);
        QCOMPARE(f.editor().Paragraph().Alignment(), TParaAlignment::Left);
        f.form.czarovnani->click();  // pressing the pressed button keeps it pressed
        QVERIFY(f.form.czarovnani->isChecked());
        f.form.szarovnani->click();
        QCOMPARE(f.editor().Paragraph().Alignment(), TParaAlignment::Center);
        QVERIFY(f.form.szarovnani->isChecked() && !f.form.czarovnani->isChecked());
    }

    void numberedList() {
        ShownMainform f(QStringLiteral("odstavec"));
        TQxParaAttributes& p = f.editor().Paragraph();
        p.SetLeftIndent(20);
        f.form.cisodraz->click();
        QCOMPARE(p.Numbering(), 2);
        QCOMPARE(p.LeftIndent(), 20);
        QCOMPARE(p.GetAttributes().wNumberingStart, 1);
        QCOMPARE(p.GetAttributes().wNumberingStyle, richedit::PFNS_PERIOD);
        QVERIFY(f.form.cisodraz->isChecked());
        f.form.cisodraz->click();
        QCOMPARE(p.Numbering(), 0);
        QCOMPARE(p.LeftIndent(), 0);
        QVERIFY(!f.form.cisodraz->isChecked());
        f.form.cisodraz->click();
        QCOMPARE(p.LeftIndent(), 10);  // numbers need at least 10 points
    }

    // Numbers to bullets and back take one click each.
    void listKindsSwitchInOneClick() {
        ShownMainform f(QStringLiteral("odstavec"));
        TQxParaAttributes& p = f.editor().Paragraph();
        f.form.cisodraz->click();
        f.form.tecodraz->click();
        QCOMPARE(p.Numbering(), 1);
        QVERIFY(f.form.tecodraz->isChecked());
        QVERIFY(!f.form.cisodraz->isChecked());
        f.form.cisodraz->click();
        QCOMPARE(p.Numbering(), 2);
        QVERIFY(f.form.cisodraz->isChecked());
        QVERIFY(!f.form.tecodraz->isChecked());
        f.form.cisodraz->click();
        f.form.tecodraz->click();
        f.form.tecodraz->click();
        QCOMPARE(p.Numbering(), 0);
        QCOMPARE(p.LeftIndent(), 0);
        QVERIFY(!f.form.tecodraz->isChecked());
    }

    void lineSpacingMenu() {
        ShownMainform f(QStringLiteral("jedna\rdva"));
        f.select(0, 7);
        TQxParaAttributes& p = f.editor().Paragraph();
        QCOMPARE(ticked(f.form), QStringList{QStringLiteral("normalni")});
        f.form.fontybox->setFocus();
        f.form.radku3->trigger();
        QCOMPARE(p.LineSpacingRule(), 4);
        QCOMPARE(p.LineSpacing(), 30);
        QCOMPARE(ticked(f.form), QStringList{QStringLiteral("radku3")});
        QVERIFY(f.editorHasFocus());
        f.form.normalni->trigger();
        QCOMPARE(p.LineSpacingRule(), 0);
        QCOMPARE(p.LineSpacing(), 30);  // kept, without effect under single spacing
        QCOMPARE(ticked(f.form), QStringList{QStringLiteral("normalni")});
        f.form.normalni->trigger();  // choosing the ticked item keeps its tick
        QCOMPARE(ticked(f.form), QStringList{QStringLiteral("normalni")});
        f.form.radku15->trigger();
        QCOMPARE(p.LineSpacingRule(), 1);
        f.form.radku2->trigger();
        QCOMPARE(p.LineSpacingRule(), 2);
        QCOMPARE(ticked(f.form), QStringList{QStringLiteral("radku2")});
        f.select(8, 8);
        QCOMPARE(p.LineSpacingRule(), 2);  // both paragraphs
        QVERIFY(!f.form.dalsi->isCheckable());
    }

    // The face of the line-spacing button changes nothing and gives the focus to the editor.
    void lineSpacingButtonFace() {
        ShownMainform f(QStringLiteral("text"));
        f.form.fontybox->setFocus();
        f.form.radkovani->click();
        QVERIFY(f.editorHasFocus());
        QVERIFY(!f.editor().Modified());
        QCOMPARE(ticked(f.form), QStringList{QStringLiteral("normalni")});
        QCOMPARE(f.form.radkovani->menu(), f.form.radkovanipop);
    }
};

QX_REGISTER_TEST(FormatCommandsTest)
#include "tst_formatcommands.moc"
