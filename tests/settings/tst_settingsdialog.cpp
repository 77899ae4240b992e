// The settings dialog on the real main window: the tab each command opens, the values it shows, what
// OK writes, the font tab's preview and "Použít Nastavení", and Storno.
#include "app/ed.h"

#include "editing/QxParaAttributes.h"
#include "editing/QxRichEdit.h"
#include "editing/QxTextAttributes.h"
#include "platform/widgets/colorbutton.h"
#include "platform/widgets/folderfield.h"
#include "platform/widgets/spinfields.h"
#include "settings/nastprog.h"
#include "settings/underlinelist.h"
#include "tests/editing/mainformfixture.h"
#include "tests/support/testregistry.h"

#include <QAction>
#include <QFocusEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <functional>

using qxtest::ShownMainform;

namespace {

// Runs `open` and, inside the modal dialog, `inside`; closes the dialog with Storno when `inside`
// left it open. False when no dialog came.
bool inDialog(const std::function<void()>& open, const std::function<void(Tnastaveni&)>& inside) {
    bool opened = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        Tnastaveni* dialog = nastaveni;
        if (!dialog || !dialog->isVisible()) return;
        opened = true;
        inside(*dialog);
        if (dialog->isVisible()) dialog->f2storno->click();
    });
    timer.start(0);
    open();
    return opened;
}

void choose(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

}  // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void opensOnTheCommandsTab_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("tab");
        QTest::newRow("Možnosti...") << "Monosti1" << 0;
        QTest::newRow("toolbar Možnosti") << "ToolButton7" << 0;
        QTest::newRow("context Možnosti") << "Monosti2" << 0;
        QTest::newRow("Odstavec") << "Odstavec1" << 2;
        QTest::newRow("Další......") << "dalsi" << 2;
        QTest::newRow("Písmo...") << "Psmo1" << 3;
        QTest::newRow("toolbar Písmo...") << "ToolButton5" << 3;
        QTest::newRow("context Písmo") << "Psmo2" << 3;
    }
    void opensOnTheCommandsTab() {
        QFETCH(QString, command);
        QFETCH(int, tab);
        ShownMainform f;
        int shown = -1;
        QString caption;
        QSize size;
        const bool opened = inDialog(
            [&] {
                if (auto* action = f.form.findChild<QAction*>(command)) action->trigger();
                else f.form.findChild<QToolButton*>(command)->click();
            },
            [&](Tnastaveni& d) {
                shown = d.PageControl1->currentIndex();
                caption = d.windowTitle();
                size = d.size();
            });
        QVERIFY(opened);
        QCOMPARE(shown, tab);
        QCOMPARE(caption, QStringLiteral("Nastavení Programu"));
        QCOMPARE(size, QSize(419, 393));
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    void showsTheWindowsAndTheParagraphsValues() {
        ShownMainform f(QStringLiteral("odstavec"));
        f.form.editor->Paragraph().SetFirstIndent(44);
        f.form.editor->Paragraph().SetRightIndent(4);
        f.form.editor->Paragraph().SetAlignment(TParaAlignment::Justify);
        f.form.Timer2->setInterval(90000);
        f.form.Timer2->start();
        f.form.SaveFolder = QStringLiteral("/tmp/dokumenty/");
        f.form.editor->SetUndoLimit(33);
        QVERIFY(inDialog([&] { f.form.Monosti1Click(); }, [&](Tnastaveni& d) {
            QCOMPARE(d.zlevaod->text(), QStringLiteral("1,46666666666667"));
            QCOMPARE(d.zpravaod->text(), QStringLiteral("0,133333333333333"));
            QCOMPARE(d.zarovnaniob->currentText(), QStringLiteral("Do bloku"));
            QVERIFY(d.autosavecheck->isChecked());
            QCOMPARE(d.SpinEdit1->value(), 1);
            QCOMPARE(d.Umistenislozky->text(), QStringLiteral("/tmp/dokumenty/"));
            QCOMPARE(d.zpetkrat->value(), 33);
            QVERIFY(d.zalomeniradku->isChecked());
            QVERIFY(d.stavovyradek->isChecked());
            QVERIFY(d.Pravitko->isChecked());
            d.f2ok->click();
        }));
        QCOMPARE(f.form.Timer2->interval(), 60000);
        // Untouched indents come back as they were.
        QCOMPARE(f.form.editor->Paragraph().FirstIndent(), 44);
        QCOMPARE(f.form.editor->Paragraph().RightIndent(), 4);
    }

    void anIntervalBelowAMinuteShowsOne() {
        ShownMainform f;
        f.form.Timer2->setInterval(30000);
        QVERIFY(inDialog([&] { f.form.Monosti1Click(); }, [&](Tnastaveni& d) {
            QVERIFY(!d.autosavecheck->isChecked());
            QCOMPARE(d.SpinEdit1->value(), 1);
            d.f2ok->click();
        }));
        QCOMPARE(f.form.Timer2->interval(), 60000);
        QVERIFY(!f.form.Timer2->isActive());
    }

    void okAppliesTheGeneralAndViewTabsAndKeepsTheModifiedFlag() {
        ShownMainform f(QStringLiteral("text"));
        f.form.editor->SetSelText(QStringLiteral("!"));
        QVERIFY(f.form.editor->Modified());
        f.dialogs->answerFolder(QStringLiteral("/tmp/vybrana/"));
        QVERIFY(inDialog([&] { f.form.Monosti1Click(); }, [&](Tnastaveni& d) {
            d.autosavecheck->setChecked(true);
            d.SpinEdit1->setValue(5);
            d.zpetkrat->setValue(7);
            d.Umistenislozky->button()->click();
            d.zalomeniradku->setChecked(false);
            d.stavovyradek->setChecked(false);
            d.Pravitko->setChecked(false);
            d.f2ok->click();
        }));
        QVERIFY(f.form.Timer2->isActive());
        QVERIFY(f.form.AutosaveEnabled);
        QCOMPARE(f.form.Timer2->interval(), 300000);
        QCOMPARE(f.form.editor->UndoLimit(), 7);
        QCOMPARE(f.form.SaveFolder, QStringLiteral("/tmp/vybrana/"));
        QVERIFY(f.form.statusBar()->isHidden());
        QVERIFY(f.form.ruler->isHidden());
        QVERIFY(!f.form.editor->WordWrap());
        QVERIFY(f.form.editor->Modified());
        QVERIFY(f.dialogs->unexpected().isEmpty());
    }

    // What OK set on the main window is in its configuration at the next start.
    void generalAndViewSettingsSurviveARestart() {
        qxtest::ProgramFolder folder;
        qxtest::ScopedDialogs dialogs;
        {
            TMainform form;
            form.FormCreate({});
            form.show();
            QVERIFY(inDialog([&] { form.Monosti1Click(); }, [&](Tnastaveni& d) {
                d.autosavecheck->setChecked(true);
                d.SpinEdit1->setValue(4);
                d.zpetkrat->setValue(12);
                d.Umistenislozky->setText(QStringLiteral("/tmp/jinam/"));
                d.zalomeniradku->setChecked(false);
                d.stavovyradek->setChecked(false);
                d.f2ok->click();
            }));
            QVERIFY(form.close());
        }
        TMainform again;
        again.FormCreate({});
        QVERIFY(again.Timer2->isActive());
        QCOMPARE(again.Timer2->interval(), 240000);
        QCOMPARE(again.editor->UndoLimit(), 12);
        QCOMPARE(again.SaveFolder, QStringLiteral("/tmp/jinam/"));
        QVERIFY(!again.editor->WordWrap());
        QVERIFY(again.statusBar()->isHidden());
        QVERIFY(!again.ruler->isHidden());
        QVERIFY(dialogs->unexpected().isEmpty());
    }

    void shortcutButtonsGoThroughTheShortcutLibrary() {
        ShownMainform f;  // a program folder without the libraries
        f.dialogs->expectMessage();
        QVERIFY(inDialog([&] { f.form.Monosti1Click(); }, [&](Tnastaveni& d) { d.plocha->click(); }));
        QCOMPARE(f.dialogs->messages(), QStringList{QStringLiteral("dynamická knihovna quilcsc.dll nenalezena")});
    }

    void lineSpacingItems_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("spacing");
        QTest::newRow("Nejméně puts 12") << 3 << 12;
        QTest::newRow("Přesně keeps the height") << 4 << 20;
        QTest::newRow("Násobky puts 3") << 5 << 3;
    }
    void lineSpacingItems() {
        QFETCH(int, item);
        QFETCH(int, spacing);
        ShownMainform f(QStringLiteral("řádky"));
        QVERIFY(inDialog([&] { f.form.Odstavec1Click(); }, [&](Tnastaveni& d) {
            d.vyskam->setValue(20);
            choose(d.radkovanim, item);
            QCOMPARE(d.vyskam->value(), spacing);
            d.f2ok->click();
        }));
        QCOMPARE(f.form.editor->Paragraph().LineSpacingRule(), item);
        QCOMPARE(f.form.editor->Paragraph().LineSpacing(), spacing);
    }

    void okWritesOnlyTheParagraphValuesTheUserChanged() {
        ShownMainform f(QStringLiteral("první\rdruhý"));
        f.select(0, 1);
        f.form.editor->Paragraph().SetAlignment(TParaAlignment::Center);
        f.form.editor->Paragraph().SetFirstIndent(4);
        f.select(0, 10);
        QVERIFY(inDialog([&] { f.form.Odstavec1Click(); }, [&](Tnastaveni& d) {
            d.zpravaod->lineEdit()->setText(QStringLiteral("1,5"));
            d.f2ok->click();
        }));
        f.select(0, 0);
        QCOMPARE(f.form.editor->Paragraph().Alignment(), TParaAlignment::Center);
        QCOMPARE(f.form.editor->Paragraph().FirstIndent(), 4);
        QCOMPARE(f.form.editor->Paragraph().RightIndent(), 45);
        f.select(8, 8);
        QCOMPARE(f.form.editor->Paragraph().Alignment(), TParaAlignment::Left);
        QCOMPARE(f.form.editor->Paragraph().RightIndent(), 45);
    }

    void fontAppliedToTheSelectionInPointsAndThePreviewInPixels() {
        ShownMainform f(QStringLiteral("písmo"));
        f.select(0, 3);
        QVERIFY(inDialog([&] { f.form.Psmo1Click(); }, [&](Tnastaveni& d) {
            choose(d.velpisma, d.velpisma->findText(QStringLiteral("12")));
            QCOMPARE(d.nahledpisma->DefaultAttributes().Height(), 12);
            choose(d.Stylpisma, 1);
            QVERIFY(d.nahledpisma->DefaultAttributes().Style().testFlag(TFontStyle::Bold));
            d.bpisma->setSelectedColor(0x000000FF);
            QCOMPARE(d.nahledpisma->DefaultAttributes().Color(), platform::ColorValue(0x000000FF));
            d.CheckBox3->click();
            QVERIFY(d.CheckBox3->isChecked());
            QVERIFY(d.ComboBox1->isEnabled());
            QCOMPARE(d.ComboBox1->currentText(), QStringLiteral("Bitmap 1"));
            d.Button1->click();
            d.f2storno->click();
        }));
        f.select(0, 3);
        TQxTextAttributes& sel = f.form.editor->SelAttributes();
        QCOMPARE(sel.Size(), 12);
        QVERIFY(sel.Style().testFlag(TFontStyle::Bold));
        QCOMPARE(sel.UnderlineType(), 1);
        QCOMPARE(sel.Color(), platform::ColorValue(0x000000FF));
        QVERIFY(f.form.tucne->isChecked());
        QVERIFY(f.form.podtrzene->isChecked());
        // Storno kept it; the rest of the text is untouched.
        f.select(3, 5);
        QCOMPARE(f.form.editor->SelAttributes().UnderlineType(), 0);
    }

    // Styles: bold 1, italic 2. "Tučné" and "Kurzíva" leave a default format that already has them.
    void styleItemsOnSelectionAndDefault_data() {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("after");
        QTest::newRow("selection Tučné") << true << 3 << 1 << 1;
        QTest::newRow("default Tučné, bold already") << false << 3 << 1 << 3;
        QTest::newRow("default Kurzíva") << false << 1 << 2 << 2;
        QTest::newRow("selection Obyčejné") << true << 3 << 0 << 0;
        QTest::newRow("default TučnéKurzíva") << false << 0 << 3 << 3;
    }
    void styleItemsOnSelectionAndDefault() {
        QFETCH(bool, selection);
        QFETCH(int, before);
        QFETCH(int, item);
        QFETCH(int, after);
        ShownMainform f(QStringLiteral("styl"));
        TQxTextAttributes& target = selection ? f.form.editor->SelAttributes() : f.form.editor->DefaultAttributes();
        f.select(0, selection ? 4 : 0);
        target.SetStyle(TFontStyles::fromInt(before));
        QVERIFY(inDialog([&] { f.form.Psmo1Click(); }, [&](Tnastaveni& d) {
            choose(d.Stylpisma, item);
            d.Button1->click();
        }));
        f.select(0, selection ? 4 : 0);
        QCOMPARE(int(target.Style().toInt()) & 3, after);
    }

    void underlineItemsGiveTheirTypes_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("type");
        QTest::newRow("Bez podtržení") << 0 << 0;
        QTest::newRow("Bitmap 1") << 1 << 1;
        QTest::newRow("Bitmap 2") << 2 << 4;
        QTest::newRow("Bitmap 5") << 3 << 6;
        QTest::newRow("Bitmap 6") << 4 << 8;
    }
    void underlineItemsGiveTheirTypes() {
        QFETCH(int, item);
        QFETCH(int, type);
        ShownMainform f(QStringLiteral("podtržení"));
        f.select(0, 4);
        int previewType = -1;
        QVERIFY(inDialog([&] { f.form.Nastavenpsma1Click(); }, [&](Tnastaveni& d) {
            d.CheckBox3->click();
            choose(d.ComboBox1, item);
            previewType = d.nahledpisma->DefaultAttributes().UnderlineType();
            d.Button1->click();
        }));
        QCOMPARE(previewType, type);
        f.select(0, 4);
        QCOMPARE(f.form.editor->SelAttributes().UnderlineType(), type);
        QCOMPARE(f.form.podtrzene->isChecked(), type != 0);
    }

    void withoutASelectionTheFontGoesToTheDefaultFormat() {
        ShownMainform f(QStringLiteral("výchozí"));
        f.select(2, 2);
        QVERIFY(inDialog([&] { f.form.Psmo1Click(); }, [&](Tnastaveni& d) {
            choose(d.velpisma, d.velpisma->findText(QStringLiteral("20")));
            d.CheckBox4->click();
            d.Button1->click();
        }));
        QCOMPARE(f.form.editor->DefaultAttributes().Size(), 20);
        QVERIFY(f.form.editor->DefaultAttributes().Style().testFlag(TFontStyle::StrikeOut));
        QVERIFY(f.form.preskrknute->isChecked());
    }

    void theFontTabShowsThePreviewsColoursAndHeight() {
        ShownMainform f;
        QVERIFY(inDialog([&] { f.form.Psmo1Click(); }, [&](Tnastaveni& d) {
            QCOMPARE(d.velpisma->currentText(), QStringLiteral("11"));
            QCOMPARE(d.ComboBox1->count(), 5);
            QVERIFY(!d.ComboBox1->isEnabled());
            QCOMPARE(d.nahledpisma->Text(), QStringLiteral("Náhled Nastavení Písma\r\nNáhled Nastavení Písma\r\n"
                                                          "Náhled Nastavení Písma\r\nNáhled Nastavení Písma"));
        }));
    }

    // Each picture item shows its line at (left + 2, top + 2) on the list's background.
    void underlineItemsAreDrawnWithTheirPictures() {
        QComboBox list;
        FillUnderlineList(list);
        UnderlineItemDrawer drawer;
        QStyleOptionViewItem option;
        option.palette.setColor(QPalette::Base, Qt::white);
        option.palette.setColor(QPalette::Text, Qt::black);
        option.rect = QRect(0, 0, 200, 24);
        QCOMPARE(drawer.sizeHint(option, list.model()->index(1, 0)).height(), 16);
        QImage image(200, 24, QImage::Format_RGB32);
        QPainter painter(&image);
        drawer.paint(&painter, option, list.model()->index(1, 0));
        painter.end();
        QVERIFY(!list.itemData(1, Qt::UserRole + 1).value<QPixmap>().isNull());
        QCOMPARE(image.pixelColor(2 + 50, 2 + 9), QColor(Qt::black));   // the solid line
        QCOMPARE(image.pixelColor(2 + 50, 2 + 3), QColor(Qt::white));   // above it
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));            // the item's background
    }

    void enterConfirmsAndTheCloseBoxCancels() {
        ShownMainform f;
        f.form.Timer2->setInterval(120000);
        QVERIFY(inDialog([&] { f.form.Monosti1Click(); }, [&](Tnastaveni& d) {
            d.SpinEdit1->setValue(3);
            d.close();
        }));
        QCOMPARE(f.form.Timer2->interval(), 120000);
        QVERIFY(inDialog([&] { f.form.Monosti1Click(); }, [&](Tnastaveni& d) {
            d.SpinEdit1->setValue(3);
            QTest::keyClick(d.zpetkrat, Qt::Key_Return);
        }));
        QCOMPARE(f.form.Timer2->interval(), 180000);
    }

    void decimalFieldStepsAndRefusesLetters() {
        platform::DecimalSpinField field(0.1);
        field.setValue(1);
        field.stepBy(2);
        QCOMPARE(field.text(), QStringLiteral("1,2"));
        QTest::keyClicks(&field, QStringLiteral("x"));
        QCOMPARE(field.text(), QStringLiteral("1,2"));
        field.lineEdit()->setText(QStringLiteral("abc"));
        QCOMPARE(field.value(), 0.0);
    }

    void wholeNumberFieldPullsIntoItsRange() {
        platform::IntSpinField field(1, 60, 1);
        field.setFieldValue(0);
        QCOMPARE(field.value(), 1);
        field.setFieldValue(90);
        QCOMPARE(field.value(), 60);
        // Typed beyond the range: pulled to the nearer bound when the field is left.
        field.setFieldValue(5);
        field.selectAll();
        QTest::keyClicks(&field, QStringLiteral("75"));
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&field, &leave);
        QCOMPARE(field.value(), 60);
        QCOMPARE(field.text(), QStringLiteral("60"));
        platform::IntSpinField unlimited(0, 0, 1);
        unlimited.setFieldValue(-500);
        QCOMPARE(unlimited.value(), -500);
    }
};

QX_REGISTER_TEST(SettingsDialogTest)
#include "tst_settingsdialog.moc"
