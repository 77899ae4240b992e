// Paragraph attributes: units and truncation, alignment codes, numbering and the left indent, line
// spacing value and rule written independently, masks.

#include "richeditfixture.h"
#include "tests/support/testregistry.h"

#include <QTest>

#include <functional>

using namespace richedit;
using qxtest::makeEditor;
using qxtest::select;

namespace {

struct Distance {
    std::function<int(TQxParaAttributes&)> read;
    std::function<void(TQxParaAttributes&, int)> write;
    std::uint32_t mask;
    std::function<std::int32_t&(PARAFORMAT2&)> field;
};

Distance distance(const QString& name) {
    if (name == "FirstIndent")
        return {&TQxParaAttributes::FirstIndent, &TQxParaAttributes::SetFirstIndent, PFM_STARTINDENT,
                [](PARAFORMAT2& p) -> std::int32_t& { return p.dxStartIndent; }};
    if (name == "LeftIndent")
        return {&TQxParaAttributes::LeftIndent, &TQxParaAttributes::SetLeftIndent, PFM_OFFSET,
                [](PARAFORMAT2& p) -> std::int32_t& { return p.dxOffset; }};
    if (name == "RightIndent")
        return {&TQxParaAttributes::RightIndent, &TQxParaAttributes::SetRightIndent, PFM_RIGHTINDENT,
                [](PARAFORMAT2& p) -> std::int32_t& { return p.dxRightIndent; }};
    if (name == "SpaceBefore")
        return {&TQxParaAttributes::SpaceBefore, &TQxParaAttributes::SetSpaceBefore, PFM_SPACEBEFORE,
                [](PARAFORMAT2& p) -> std::int32_t& { return p.dySpaceBefore; }};
    if (name == "SpaceAfter")
        return {&TQxParaAttributes::SpaceAfter, &TQxParaAttributes::SetSpaceAfter, PFM_SPACEAFTER,
                [](PARAFORMAT2& p) -> std::int32_t& { return p.dySpaceAfter; }};
    return {&TQxParaAttributes::LineSpacing, &TQxParaAttributes::SetLineSpacing, PFM_LINESPACING,
            [](PARAFORMAT2& p) -> std::int32_t& { return p.dyLineSpacing; }};
}

}  // namespace

class TestParaAttributes : public QObject {
    Q_OBJECT
private slots:
    void distancesInPoints_data() {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<int>("stored");  // twips written straight to the engine
        QTest::addColumn<int>("read");
        for (const char* name : {"FirstIndent", "LeftIndent", "RightIndent", "SpaceBefore", "SpaceAfter", "LineSpacing"}) {
            QTest::addRow("%s exact", name) << QString(name) << 300 << 15;
            QTest::addRow("%s truncated", name) << QString(name) << 319 << 15;
        }
        QTest::newRow("negative first indent toward zero") << "FirstIndent" << -30 << -1;
        QTest::newRow("negative left indent toward zero") << "LeftIndent" << -219 << -10;
    }
    void distancesInPoints() {
        QFETCH(QString, attribute);
        QFETCH(int, stored);
        QFETCH(int, read);
        auto edit = makeEditor("A paragraph");
        const Distance d = distance(attribute);
        PARAFORMAT2 pf{};
        pf.dwMask = d.mask;
        d.field(pf) = stored;
        edit->EngineWindow()->setParaFormat(pf);
        QCOMPARE(d.read(edit->Paragraph()), read);

        d.write(edit->Paragraph(), 7);
        PARAFORMAT2 now = edit->EngineWindow()->getParaFormat();
        QCOMPARE(d.field(now), 140);
        QCOMPARE(d.read(edit->Paragraph()), 7);
    }

    // A write sends only its own field.
    void writesKeepTheOtherFields() {
        auto edit = makeEditor("A paragraph");
        edit->Paragraph().SetFirstIndent(20);
        edit->Paragraph().SetLeftIndent(12);
        edit->Paragraph().SetAlignment(TParaAlignment::Center);
        edit->Paragraph().SetSpaceBefore(6);
        edit->Paragraph().SetRightIndent(30);
        edit->Paragraph().SetNumberingStart(4);
        QCOMPARE(edit->Paragraph().FirstIndent(), 20);
        QCOMPARE(edit->Paragraph().LeftIndent(), 12);
        QCOMPARE(edit->Paragraph().Alignment(), TParaAlignment::Center);
        QCOMPARE(edit->Paragraph().SpaceBefore(), 6);
        QCOMPARE(edit->Paragraph().RightIndent(), 30);
        QCOMPARE(edit->EngineWindow()->getParaFormat().wNumberingStart, std::uint16_t(4));
    }

    void writesReachEveryTouchedParagraph() {
        auto edit = makeEditor("one\rtwo\rthree");
        select(*edit, 2, 5);  // "e\rt": the first two paragraphs
        edit->Paragraph().SetFirstIndent(25);
        select(*edit, 0, 0);
        QCOMPARE(edit->Paragraph().FirstIndent(), 25);
        select(*edit, 5, 5);
        QCOMPARE(edit->Paragraph().FirstIndent(), 25);
        select(*edit, 10, 10);
        QCOMPARE(edit->Paragraph().FirstIndent(), 0);
    }

    void alignmentCodes_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("wAlignment");
        QTest::newRow("left") << 0 << int(PFA_LEFT);
        QTest::newRow("right") << 1 << int(PFA_RIGHT);
        QTest::newRow("centre") << 2 << int(PFA_CENTER);
        QTest::newRow("justify") << 3 << int(PFA_JUSTIFY);
    }
    void alignmentCodes() {
        QFETCH(int, alignment);
        QFETCH(int, wAlignment);
        auto edit = makeEditor("aligned");
        edit->Paragraph().SetAlignment(TParaAlignment(alignment));
        QCOMPARE(int(edit->EngineWindow()->getParaFormat().wAlignment), wAlignment);
        QCOMPARE(int(edit->Paragraph().Alignment()), alignment);
        // justify switches advanced typography on first
        QCOMPARE(bool(edit->EngineWindow()->typographyOptions() & 1), alignment == 3);
    }

    void justifyWithoutAutoTypography() {
        auto edit = makeEditor("aligned");
        edit->SetAutoAdvancedTypography(false);
        edit->Paragraph().SetAlignment(TParaAlignment::Justify);
        QCOMPARE(edit->Paragraph().Alignment(), TParaAlignment::Justify);
        QCOMPARE(edit->EngineWindow()->typographyOptions() & 1, 0u);
    }

    // Reads without an engine window see zeros; a write creates the window first.
    void withoutEngineWindow() {
        TQxRichEdit edit;
        QCOMPARE(int(edit.Paragraph().Alignment()), -1);
        QCOMPARE(edit.Paragraph().FirstIndent(), 0);
        QVERIFY(!edit.HandleAllocated());
        edit.Paragraph().SetRightIndent(60);
        QVERIFY(edit.HandleAllocated());
        QCOMPARE(edit.Paragraph().RightIndent(), 60);
    }

    void numberingAndLeftIndent_data() {
        QTest::addColumn<int>("leftBefore");
        QTest::addColumn<int>("numbering");
        QTest::addColumn<int>("leftAfter");
        QTest::newRow("none resets a positive indent") << 25 << 0 << 0;
        QTest::newRow("none resets a negative indent") << -8 << 0 << 0;
        QTest::newRow("bullet raises 0") << 0 << 1 << 10;
        QTest::newRow("bullet raises 9") << 9 << 1 << 10;
        QTest::newRow("numbers raise a negative indent") << -15 << 2 << 10;
        QTest::newRow("bullet keeps 10") << 10 << 1 << 10;
        QTest::newRow("numbers keep 25") << 25 << 2 << 25;
        QTest::newRow("letters pass through") << 3 << 3 << 10;
    }
    void numberingAndLeftIndent() {
        QFETCH(int, leftBefore);
        QFETCH(int, numbering);
        QFETCH(int, leftAfter);
        auto edit = makeEditor("item");
        edit->Paragraph().SetLeftIndent(leftBefore);
        edit->Paragraph().SetNumbering(numbering);
        QCOMPARE(edit->Paragraph().LeftIndent(), leftAfter);
        QCOMPARE(edit->Paragraph().Numbering(), numbering);
        QCOMPARE(int(edit->EngineWindow()->getParaFormat().wNumbering), numbering);
    }

    void numberingStyles_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("stored");
        QTest::newRow("1)") << 0 << int(PFNS_PAREN);
        QTest::newRow("1.") << 1 << int(PFNS_PERIOD);
        QTest::newRow("(1)") << 2 << int(PFNS_PARENS);
        QTest::newRow("1") << 3 << int(PFNS_PLAIN);
        QTest::newRow("out of range is dropped") << 4 << int(PFNS_PERIOD);
        QTest::newRow("negative is dropped") << -1 << int(PFNS_PERIOD);
    }
    void numberingStyles() {
        QFETCH(int, style);
        QFETCH(int, stored);
        auto edit = makeEditor("item");
        edit->Paragraph().SetNumberingStyle(1);
        edit->Paragraph().SetNumberingStyle(style);
        QCOMPARE(int(edit->EngineWindow()->getParaFormat().wNumberingStyle), stored);
    }

    // The spacing value and the rule are written independently of each other.
    void lineSpacingValueAndRule() {
        auto edit = makeEditor("spaced");
        edit->Paragraph().SetLineSpacing(30);
        edit->Paragraph().SetLineSpacingRule(LS_EXACTLY);
        PARAFORMAT2 pf = edit->EngineWindow()->getParaFormat();
        QCOMPARE(pf.dyLineSpacing, 600);
        QCOMPARE(int(pf.bLineSpacingRule), int(LS_EXACTLY));
        QCOMPARE(edit->Paragraph().LineSpacing(), 30);
        QCOMPARE(edit->Paragraph().LineSpacingRule(), 4);

        edit->Paragraph().SetLineSpacingRule(LS_SINGLE);
        pf = edit->EngineWindow()->getParaFormat();
        QCOMPARE(pf.dyLineSpacing, 600);
        QCOMPARE(edit->Paragraph().LineSpacing(), 30);
        QCOMPARE(edit->Paragraph().LineSpacingRule(), 0);

        edit->Paragraph().SetLineSpacingRule(LS_ATLEAST);
        edit->Paragraph().SetLineSpacing(18);
        QCOMPARE(edit->Paragraph().LineSpacingRule(), 3);
        QCOMPARE(edit->Paragraph().LineSpacing(), 18);
    }

    void copyFromAnotherAccessor() {
        auto from = makeEditor("source");
        from->Paragraph().SetFirstIndent(33);
        from->Paragraph().SetAlignment(TParaAlignment::Right);
        from->Paragraph().SetSpaceAfter(9);
        auto to = makeEditor("target");
        to->Paragraph().Assign(from->Paragraph());
        QCOMPARE(to->Paragraph().FirstIndent(), 33);
        QCOMPARE(to->Paragraph().Alignment(), TParaAlignment::Right);
        QCOMPARE(to->Paragraph().SpaceAfter(), 9);
    }
};

QX_REGISTER_TEST(TestParaAttributes)
#include "tst_paraattributes.moc"
