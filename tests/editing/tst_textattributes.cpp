// Character attributes: units, truncation, masks, automatic colours, fonts.

#include "richeditfixture.h"
#include "platform/richedit/textformat.h"
#include "tests/support/testregistry.h"

#include <QFont>
#include <QTest>

using namespace richedit;
using namespace platform;
using qxtest::charFormatAt;
using qxtest::makeEditor;
using qxtest::select;

class TestTextAttributes : public QObject {
    Q_OBJECT
private slots:
    // Sizes are points, 20 twips each; reads truncate toward zero.
    void sizeReadsTruncate_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("points");
        QTest::newRow("10.5 pt") << 210 << 10;
        QTest::newRow("11.95 pt") << 239 << 11;
        QTest::newRow("exact") << 240 << 12;
        QTest::newRow("below one point") << 19 << 0;
    }
    void sizeReadsTruncate() {
        QFETCH(int, twips);
        QFETCH(int, points);
        auto edit = makeEditor("Some text");
        edit->SelectAll();
        CHARFORMAT2 cf{};
        cf.dwMask = CFM_SIZE;
        cf.yHeight = twips;
        edit->EngineWindow()->setCharFormat(SCF_SELECTION, cf);
        QCOMPARE(edit->SelAttributes().Size(), points);
    }

    void sizeAndHeightWrites() {
        auto edit = makeEditor("Some text");
        edit->SelectAll();
        edit->SelAttributes().SetSize(14);
        QCOMPARE(charFormatAt(*edit, 0, 9).yHeight, 280);
        const int dpi = edit->ScreenLogPixels();
        // Height in pixels goes through the screen resolution, to the nearest whole number both ways.
        edit->SelAttributes().SetHeight(dpi / 6);  // 12 points
        QCOMPARE(edit->SelAttributes().Size(), 12);
        QCOMPARE(edit->SelAttributes().Height(), dpi / 6);
        edit->SelAttributes().SetSize(11);
        QCOMPARE(edit->SelAttributes().Height(), qRound(11.0 * dpi / 72));
    }

    // A style write sets all four styles and touches nothing else: colour and size of differently
    // formatted parts survive.
    void styleWritesOnlyTheFourStyles() {
        auto edit = makeEditor("Hello world");
        select(*edit, 0, 5);
        edit->SelAttributes().SetColor(0x000000FF);
        edit->SelAttributes().SetSize(14);
        edit->SelAttributes().SetStyle(TFontStyle::Italic | TFontStyle::Underline);
        select(*edit, 6, 11);
        edit->SelAttributes().SetColor(0x00FF0000);
        edit->SelAttributes().SetSize(8);
        edit->SelAttributes().SetSubscriptStyle(TSubscriptStyle::Superscript);

        edit->SelectAll();
        edit->SelAttributes().SetStyle(TFontStyle::Bold);

        select(*edit, 0, 5);
        QCOMPARE(edit->SelAttributes().Style(), TFontStyles(TFontStyle::Bold));
        QCOMPARE(edit->SelAttributes().Color(), ColorValue(0x000000FF));
        QCOMPARE(edit->SelAttributes().Size(), 14);
        select(*edit, 6, 11);
        QCOMPARE(edit->SelAttributes().Style(), TFontStyles(TFontStyle::Bold));
        QCOMPARE(edit->SelAttributes().Color(), ColorValue(0x00FF0000));
        QCOMPARE(edit->SelAttributes().Size(), 8);
        QCOMPARE(edit->SelAttributes().SubscriptStyle(), TSubscriptStyle::Superscript);

        // and the other way round: a size write leaves the styles alone
        edit->SelectAll();
        edit->SelAttributes().SetSize(20);
        select(*edit, 6, 11);
        QCOMPARE(edit->SelAttributes().Style(), TFontStyles(TFontStyle::Bold));
    }

    void subscriptStyle_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("written");
        QTest::addColumn<std::uint32_t>("effects");
        QTest::newRow("none to subscript") << 0 << 1 << CFE_SUBSCRIPT;
        QTest::newRow("subscript to superscript") << 1 << 2 << CFE_SUPERSCRIPT;
        QTest::newRow("superscript to subscript") << 2 << 1 << CFE_SUBSCRIPT;
        QTest::newRow("subscript cleared") << 1 << 0 << std::uint32_t(0);
        QTest::newRow("superscript cleared") << 2 << 0 << std::uint32_t(0);
    }
    void subscriptStyle() {
        QFETCH(int, before);
        QFETCH(int, written);
        QFETCH(std::uint32_t, effects);
        auto edit = makeEditor("x2");
        select(*edit, 1, 2);
        edit->SelAttributes().SetSubscriptStyle(TSubscriptStyle(before));
        edit->SelAttributes().SetSubscriptStyle(TSubscriptStyle(written));
        QCOMPARE(int(edit->SelAttributes().SubscriptStyle()), written);
        QCOMPARE(charFormatAt(*edit, 1, 2).dwEffects & (CFE_SUBSCRIPT | CFE_SUPERSCRIPT), effects);
    }

    void colors_data() {
        QTest::addColumn<bool>("back");
        QTest::addColumn<quint32>("written");
        QTest::addColumn<quint32>("read");
        QTest::addColumn<bool>("automatic");
        QTest::newRow("text: window text is automatic") << false << quint32(clWindowText) << quint32(clWindowText) << true;
        QTest::newRow("text: default is automatic") << false << quint32(clDefault) << quint32(clWindowText) << true;
        QTest::newRow("text: explicit") << false << 0x00123456u << 0x00123456u << false;
        QTest::newRow("text: black") << false << 0x00000000u << 0x00000000u << false;
        QTest::newRow("text: system colour resolved")
            << false << quint32(clBtnFace) << quint32(rgbOf(clBtnFace)) << false;
        QTest::newRow("back: window is automatic") << true << quint32(clWindow) << quint32(clWindow) << true;
        QTest::newRow("back: default is automatic") << true << quint32(clDefault) << quint32(clWindow) << true;
        QTest::newRow("back: explicit") << true << 0x0000FF00u << 0x0000FF00u << false;
        QTest::newRow("back: window text is not automatic here")
            << true << quint32(clWindowText) << quint32(rgbOf(clWindowText)) << false;
    }
    void colors() {
        QFETCH(bool, back);
        QFETCH(quint32, written);
        QFETCH(quint32, read);
        QFETCH(bool, automatic);
        auto edit = makeEditor("colour");
        edit->SelectAll();
        // start from the opposite state so that the write has to change something
        if (back) edit->SelAttributes().SetBackColor(automatic ? 0x00010203u : clWindow);
        else edit->SelAttributes().SetColor(automatic ? 0x00010203u : clWindowText);
        if (back) edit->SelAttributes().SetBackColor(written);
        else edit->SelAttributes().SetColor(written);
        QCOMPARE(back ? edit->SelAttributes().BackColor() : edit->SelAttributes().Color(), ColorValue(read));
        const CHARFORMAT2 cf = charFormatAt(*edit, 0, 6);
        QCOMPARE(bool(cf.dwEffects & (back ? CFE_AUTOBACKCOLOR : CFE_AUTOCOLOR)), automatic);
    }

    void faceNameIsCutTo32() {
        auto edit = makeEditor("face");
        edit->SelectAll();
        const QString longName = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn");  // 40
        edit->SelAttributes().SetName(longName);
        QCOMPARE(edit->SelAttributes().Name(), longName.left(32));
        edit->SelAttributes().SetName(QStringLiteral("DejaVu Sans"));
        QCOMPARE(edit->SelAttributes().Name(), QStringLiteral("DejaVu Sans"));
    }

    void charsetAndUnderline() {
        auto edit = makeEditor("underline");
        edit->SelectAll();
        edit->SelAttributes().SetCharset(EASTEUROPE_CHARSET);
        QCOMPARE(edit->SelAttributes().Charset(), EASTEUROPE_CHARSET);

        edit->SelAttributes().SetUnderlineType(CFU_UNDERLINEDOTTED);
        QCOMPARE(edit->SelAttributes().UnderlineType(), int(CFU_UNDERLINEDOTTED));
        QVERIFY(edit->SelAttributes().Style().testFlag(TFontStyle::Underline));
        edit->SelAttributes().SetUnderlineColor(3);
        edit->SelAttributes().SetUnderlineType(CFU_UNDERLINEWAVE);  // keeps the colour
        QCOMPARE(edit->SelAttributes().UnderlineType(), int(CFU_UNDERLINEWAVE));
        QCOMPARE(edit->SelAttributes().UnderlineColor(), 3);
        edit->SelAttributes().SetUnderlineType(CFU_UNDERLINENONE);
        QCOMPARE(edit->SelAttributes().UnderlineType(), 0);
        QVERIFY(!edit->SelAttributes().Style().testFlag(TFontStyle::Underline));
    }

    // Without an engine window reads see a cleared record and writes are dropped.
    void withoutEngineWindow() {
        TQxRichEdit edit;
        edit.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        QCOMPARE(edit.SelAttributes().Name(), QString());
        QCOMPARE(edit.SelAttributes().Size(), 0);
        QCOMPARE(edit.SelAttributes().Style(), TFontStyles());
        QCOMPARE(edit.SelAttributes().Color(), ColorValue(0));
        QCOMPARE(edit.SelAttributes().BackColor(), ColorValue(0));
        edit.DefaultAttributes().SetSize(30);
        QVERIFY(!edit.HandleAllocated());
        edit.HandleNeeded();
        QCOMPARE(edit.DefaultAttributes().Size(), 9);
    }

    // The control's font becomes the default format: when the window is created and when the font
    // changes.
    void defaultFormatFollowsTheFont() {
        TQxRichEdit edit;
        QFont font(QStringLiteral("DejaVu Serif"), 13);
        font.setItalic(true);
        edit.setFont(font);
        edit.HandleNeeded();
        QCOMPARE(edit.DefaultAttributes().Name(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(edit.DefaultAttributes().Size(), 13);
        QCOMPARE(edit.DefaultAttributes().Style(), TFontStyles(TFontStyle::Italic));
        QCOMPARE(edit.DefaultAttributes().Color(), clWindowText);
        QCOMPARE(edit.DefaultAttributes().Charset(), DEFAULT_CHARSET);

        edit.setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 8));
        QCOMPARE(edit.DefaultAttributes().Name(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(edit.DefaultAttributes().Size(), 8);
        QCOMPARE(edit.DefaultAttributes().Style(), TFontStyles());
        QCOMPARE(edit.EngineWindow()->getCharFormat(SCF_DEFAULT).yHeight, 160);

        // the font's colour and character set, which a QFont does not carry, come with it
        edit.SetFontColor(0x00008000);
        edit.SetFontCharset(EASTEUROPE_CHARSET);
        QCOMPARE(edit.DefaultAttributes().Color(), ColorValue(0x00008000));
        QCOMPARE(edit.DefaultAttributes().Charset(), EASTEUROPE_CHARSET);
        QCOMPARE(edit.DefaultAttributes().Name(), QStringLiteral("DejaVu Sans Mono"));
    }

    void copyFromFont() {
        auto edit = makeEditor();
        QFont font(QStringLiteral("DejaVu Sans Mono"), 11);
        font.setBold(true);
        font.setStrikeOut(true);
        font.setFixedPitch(true);
        edit->DefaultAttributes().Assign(font, 0x000000FF, EASTEUROPE_CHARSET);
        const CHARFORMAT2 cf = edit->EngineWindow()->getCharFormat(SCF_DEFAULT);
        QCOMPARE(faceName(cf), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(cf.yHeight, 220);
        QCOMPARE(cf.dwEffects & 0xF, CFE_BOLD | CFE_STRIKEOUT);
        QCOMPARE(cf.crTextColor, COLORREF(0x000000FF));
        QVERIFY(!(cf.dwEffects & CFE_AUTOCOLOR));
        QCOMPARE(cf.bCharSet, EASTEUROPE_CHARSET);
        QCOMPARE(cf.bPitchAndFamily & 3, FIXED_PITCH);
        QCOMPARE(cf.wWeight, std::uint16_t(QFont::Bold));
        QCOMPARE(edit->DefaultAttributes().Pitch(), TFontPitch::Fixed);

        edit->DefaultAttributes().Assign(QFont(QStringLiteral("DejaVu Sans"), 10), clDefault);
        QCOMPARE(edit->DefaultAttributes().Color(), clWindowText);
        QCOMPARE(edit->DefaultAttributes().Pitch(), TFontPitch::Default);
        QCOMPARE(edit->EngineWindow()->getCharFormat(SCF_DEFAULT).wWeight, std::uint16_t(QFont::Normal));
    }

    void copyBetweenAccessorsAndToFont() {
        auto edit = makeEditor("copy me");
        QFont font(QStringLiteral("DejaVu Serif"), 15);
        font.setUnderline(true);
        edit->DefaultAttributes().Assign(font);
        select(*edit, 0, 4);
        edit->SelAttributes().SetSize(30);
        edit->SelAttributes().Assign(edit->DefaultAttributes());
        QCOMPARE(edit->SelAttributes().Name(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(edit->SelAttributes().Size(), 15);
        QCOMPARE(edit->SelAttributes().Style(), TFontStyles(TFontStyle::Underline));

        QFont out;
        edit->SelAttributes().AssignTo(out);
        QCOMPARE(out.family(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(out.pointSize(), 15);
        QVERIFY(out.underline());
        QVERIFY(!out.bold());
    }
};

QX_REGISTER_TEST(TestTextAttributes)
#include "tst_textattributes.moc"
