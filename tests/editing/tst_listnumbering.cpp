// The numbering button on paragraphs that already belong to lists of their own.
#include "mainformfixture.h"
#include "tests/support/testregistry.h"

#include "platform/richedit/engine.h"
#include "platform/richedit/numbering.h"
#include "platform/richedit/textformat.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

using namespace qxtest;

class TestListNumbering : public QObject {
    Q_OBJECT
private slots:
    // Paragraphs read from a file with their own starts and restarts number 1, 2, 3 once the
    // selection is numbered with the button.
    void numberingButtonNumbersTheSelection() {
        ShownMainform f(QStringLiteral("a\rb\rc\rd"));
        richedit::Engine* engine = f.editor().EngineWindow();
        auto restartAt = [&](int position, std::uint16_t start) {
            f.select(position, position);
            richedit::PARAFORMAT2 pf;
            pf.dwMask = richedit::PFM_NUMBERING | richedit::PFM_NUMBERINGSTART | richedit::PFM_NUMBERINGSTYLE;
            pf.wNumbering = richedit::PFN_ARABIC;
            pf.wNumberingStart = start;
            pf.wNumberingStyle = richedit::PFNS_PAREN | richedit::PFNS_NEWNUMBER;
            engine->setParaFormat(pf);
        };
        restartAt(0, 5);
        restartAt(2, 9);
        restartAt(4, 2);
        QCOMPARE(numbers(*engine->document()), QList<int>({5, 9, 2, 0}));
        f.select(0, 5);  // a, b and c
        f.form.cisodraz->click();  // they all are numbered already: the first click removes them
        f.form.cisodraz->click();
        QCOMPARE(numbers(*engine->document()), QList<int>({1, 2, 3, 0}));
    }

private:
    static QList<int> numbers(const QTextDocument& doc) {
        QList<int> out;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) out.append(richedit::paragraphNumber(b));
        return out;
    }
};

QX_REGISTER_TEST(TestListNumbering)
#include "tst_listnumbering.moc"
