// Test-only helper for the interop scripts: reads an RTF file with our reader, writes it again with
// our writer, and writes the plain text we hold, so that another program's reading of our RTF can
// be compared with ours.
//
//   rtfinterop <in.rtf> <out.rtf> <out.txt> [<out.labels>]
//
// out.txt is UTF-8, one line per paragraph; pictures are left out, line breaks inside a paragraph
// become line ends, and so do the cell marks of a table row (LibreOffice's text export writes each
// cell on lines of its own). out.labels has, for each paragraph with a bullet or number, the label
// we draw, a tab and the paragraph's text.
#include "platform/richedit/numbering.h"
#include "platform/richedit/records.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/textformat.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: rtfinterop <in.rtf> <out.rtf> <out.txt> [<out.labels>]\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    QTextCursor cursor(&document);
    const richedit::RtfReadResult result = richedit::readRtf(in.readAll(), cursor);
    if (!result.ok) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(result.error));
        return 1;
    }
    QFile rtf(QString::fromLocal8Bit(argv[2]));
    if (!rtf.open(QIODevice::WriteOnly) ||
        rtf.write(richedit::writeRtf(document, 0, -1, richedit::RtfObjects::Include)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    QString text, labels;
    richedit::ParagraphNumbers numbers;
    numbers.update(document, 0);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const richedit::ListParagraph p = richedit::listParagraphOf(block.blockFormat());
        if (p.numbering != richedit::PFN_NONE)
            labels += richedit::numberingLabel(p.numbering, p.style, numbers.at(block), p.start) + u'\t' +
                      block.text() + u'\n';
        QString line = block.text();
        line.remove(QChar::ObjectReplacementCharacter);
        line.replace(QChar::LineSeparator, u'\n');
        if (richedit::isTableRow(block.blockFormat())) line.replace(u'\t', u'\n');
        text += line + u'\n';
    }
    QFile txt(QString::fromLocal8Bit(argv[3]));
    if (!txt.open(QIODevice::WriteOnly) || txt.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    if (argc == 5) {
        QFile out(QString::fromLocal8Bit(argv[4]));
        if (!out.open(QIODevice::WriteOnly) || out.write(labels.toUtf8()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", argv[4]);
            return 1;
        }
    }
    return 0;
}
