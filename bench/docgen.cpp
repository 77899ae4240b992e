#include "bench/docgen.h"

#include "platform/richedit/engine.h"
#include "platform/richedit/textformat.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <functional>
#include <random>
#include <vector>

namespace docgen {

namespace {

const QStringList& words() {
    static const QStringList list = QStringLiteral(
        "příliš žluťoučký kůň úpěl ďábelské ódy když jsem šel lesem potkal jsem tam souseda který nesl "
        "na zádech velký koš plný hub a borůvek řekl mi že letos se urodilo nebývale mnoho hříbků "
        "a že zítra půjde znovu protože v neděli přijedou vnoučata z Brna a babička bude péct koláče "
        "s povidly tvarohem a mákem dokument obsahuje tabulky obrázky a odkazy na další zdroje "
        "smlouva o dílo se uzavírá mezi objednatelem a zhotovitelem podle občanského zákoníku")
                                          .split(u' ', Qt::SkipEmptyParts);
    return list;
}

enum class Kind { Heading, Body, Numbered, Bulleted };

struct Paragraph {
    Kind kind;
    QString text;
    std::vector<std::pair<int, int>> boldRuns;
    std::vector<std::pair<int, int>> italicRuns;
};

// The document as a list of paragraphs, the same for the same options.
std::vector<Paragraph> paragraphs(const Options& options) {
    std::mt19937 random(options.seed);
    const QStringList& w = words();
    const long target = long(options.pages) * kCharactersPerPage;
    std::vector<Paragraph> out;
    long total = 0;
    int counter = 0;
    while (total < target) {
        Paragraph p;
        const int roll = int(random() % 20);
        p.kind = options.singleParagraph ? Kind::Body
                 : roll == 0             ? Kind::Heading
                 : roll < 3              ? Kind::Numbered
                 : roll < 4              ? Kind::Bulleted
                                         : Kind::Body;
        const int count = p.kind == Kind::Heading ? 3 + int(random() % 4) : 15 + int(random() % 80);
        QStringList chosen;
        for (int i = 0; i < count; ++i) chosen << w[int(random() % w.size())];
        if (p.kind == Kind::Heading) chosen.prepend(QStringLiteral("Kapitola %1:").arg(++counter));
        p.text = chosen.join(u' ');
        if (!p.text.isEmpty()) p.text[0] = p.text[0].toUpper();
        if (p.kind != Kind::Heading) p.text += u'.';
        for (int r = 0; r < 2 && p.text.size() > 40; ++r) {
            const int start = int(random() % (p.text.size() - 20));
            (r == 0 ? p.boldRuns : p.italicRuns).push_back({start, start + 5 + int(random() % 15)});
        }
        total += p.text.size() + 1;
        out.push_back(std::move(p));
    }
    if (options.singleParagraph) {
        // one paragraph: the sentences run on, formatting runs kept where they fall
        Paragraph one{Kind::Body, {}, {}, {}};
        for (const Paragraph& p : out) {
            const int base = int(one.text.size());
            for (auto [a, b] : p.boldRuns) one.boldRuns.push_back({base + a, base + b});
            for (auto [a, b] : p.italicRuns) one.italicRuns.push_back({base + a, base + b});
            one.text += p.text + u' ';
        }
        out = {std::move(one)};
    }
    return out;
}

richedit::CHARFORMAT2 charFormat(std::uint32_t mask, std::uint32_t effects) {
    richedit::CHARFORMAT2 cf;
    cf.dwMask = mask;
    cf.dwEffects = effects;
    return cf;
}

// A small chart-like PNG picture, different for each `seed`.
richedit::Picture picture(int seed) {
    QImage image(240, 140, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int i = 0; i < 6; ++i) {
        const int height = 20 + (seed * 37 + i * 53) % 100;
        painter.fillRect(20 + i * 36, 130 - height, 28, height, QColor::fromHsv((seed * 40 + i * 60) % 360, 160, 200));
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes, QStringLiteral("png"), 240 * 15, 140 * 15};
}

}  // namespace

int build(richedit::Engine& engine, const Options& options) {
    using namespace richedit;
    const int limit = engine.undoLimit();
    engine.setUndoLimit(0);  // building is no user's step
    engine.exLimitText(0x7FFFFFFF);
    engine.clearAll();
    CHARFORMAT2 base = charFormat(CFM_FACE | CFM_SIZE, 0);
    setFaceName(base, QStringLiteral("Liberation Serif"));
    base.yHeight = 240;
    engine.setCharFormat(SCF_DEFAULT, base);

    const std::vector<Paragraph> list = paragraphs(options);
    int written = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Paragraph& p = list[i];
        const int start = engine.getTextLength();
        engine.setSel(start, start);
        engine.replaceSel(i + 1 < list.size() ? p.text + u'\r' : p.text, false);
        const int end = start + int(p.text.size());

        PARAFORMAT2 pf;
        pf.dwMask = PFM_ALIGNMENT | PFM_NUMBERING | PFM_STARTINDENT | PFM_OFFSET | PFM_SPACEAFTER | PFM_LINESPACING;
        pf.wAlignment = p.kind == Kind::Heading ? PFA_CENTER : PFA_JUSTIFY;
        pf.wNumbering = p.kind == Kind::Numbered ? PFN_ARABIC : p.kind == Kind::Bulleted ? PFN_BULLET : PFN_NONE;
        pf.dxStartIndent = p.kind == Kind::Numbered || p.kind == Kind::Bulleted ? 360 : 0;
        pf.dxOffset = pf.wNumbering ? 360 : 0;
        pf.dySpaceAfter = 120;
        pf.bLineSpacingRule = p.kind == Kind::Heading ? LS_SINGLE : LS_ONEANDHALF;
        if (pf.wNumbering == PFN_ARABIC) {
            pf.dwMask |= PFM_NUMBERINGSTART | PFM_NUMBERINGSTYLE;
            pf.wNumberingStart = 1;
            pf.wNumberingStyle = PFNS_PERIOD;
        }
        engine.setSel(start, end);
        engine.setParaFormat(pf);
        if (p.kind == Kind::Heading) {
            CHARFORMAT2 heading = charFormat(CFM_BOLD | CFM_SIZE | CFM_COLOR, CFE_BOLD);
            heading.yHeight = 320;
            heading.crTextColor = 0x00803000;
            engine.setCharFormat(SCF_SELECTION, heading);
        }
        for (auto [a, b] : p.boldRuns) {
            engine.setSel(start + a, std::min(end, start + b));
            engine.setCharFormat(SCF_SELECTION, charFormat(CFM_BOLD, CFE_BOLD));
        }
        for (auto [a, b] : p.italicRuns) {
            engine.setSel(start + a, std::min(end, start + b));
            CHARFORMAT2 italic = charFormat(CFM_ITALIC | CFM_UNDERLINETYPE | CFM_UNDERLINE, CFE_ITALIC | CFE_UNDERLINE);
            italic.bUnderlineType = (a % 3 == 0) ? CFU_UNDERLINEWAVE : CFU_UNDERLINEDOTTED;
            engine.setCharFormat(SCF_SELECTION, italic);
        }
        const auto every = std::size_t(std::max(options.pictureEvery, 0));
        if (every > 0 && i % every == every - 1 && i + 1 < list.size()) {
            const int at = engine.getTextLength();
            engine.setSel(at, at);
            engine.insertPicture(picture(int(i)));
            engine.replaceSel(QStringLiteral("\r"), false);
        }
        written = engine.getTextLength();
    }
    engine.setSel(0, 0);
    engine.setUndoLimit(limit);
    engine.setModify(false);
    return written;
}

namespace {

void appendRtfText(QByteArray& chunk, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 128) chunk += char(c.unicode());
        else chunk += "\\u" + QByteArray::number(c.unicode()) + '?';
    }
}

// Writes `count` generated pieces of body text after an RTF header, a megabyte at a time.
bool writeRtfBody(const QString& path, int count, const std::function<void(QByteArray&, int)>& piece) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray chunk = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\froman\\fcharset238 Liberation Serif;}}\\f0\\fs24\n";
    for (int i = 0; i < count; ++i) {
        piece(chunk, i);
        if (chunk.size() > (1 << 20)) {
            if (file.write(chunk) != chunk.size()) return false;
            chunk.clear();
        }
    }
    chunk += "}\n";
    return file.write(chunk) == chunk.size() && file.flush();
}

}  // namespace

bool writeShortParagraphsRtf(const QString& path, int count) {
    std::mt19937 random(7);
    const QStringList& w = words();
    return writeRtfBody(path, count, [&](QByteArray& chunk, int i) {
        chunk += "\\pard ";
        appendRtfText(chunk, w[int(random() % w.size())] + u' ' + QString::number(i + 1));
        chunk += "\\par\n";
    });
}

bool writeTableRowsRtf(const QString& path, int rows) {
    std::mt19937 random(11);
    const QStringList& w = words();
    return writeRtfBody(path, rows, [&](QByteArray& chunk, int i) {
        chunk += "\\trowd\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\clbrdrl\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs"
                 "\\cellx1500\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx6000\\clbrdrt\\brdrs"
                 "\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx7500\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrr\\brdrs\\cellx9000"
                 "\\pard\\intbl ";
        appendRtfText(chunk, QString::number(i + 1));
        chunk += "\\cell ";
        // A description long enough to wrap in its cell now and then.
        const int n = 3 + int(random() % 14);
        QStringList text;
        for (int k = 0; k < n; ++k) text << w[int(random() % w.size())];
        appendRtfText(chunk, text.join(u' '));
        chunk += "\\cell ";
        appendRtfText(chunk, QString::number(int(random() % 1000)));
        chunk += "\\cell\\b ";
        appendRtfText(chunk, QString::number(int(random() % 100000)) + u",00 Kč"_qs);
        chunk += "\\b0\\cell\\row\n";
    });
}

QString plainText(const Options& options) {
    QStringList texts;
    for (const Paragraph& p : paragraphs(options)) texts << p.text;
    return texts.join(QStringLiteral("\r\n"));
}

}  // namespace docgen
