// Feeds arbitrary bytes to the RTF reader, lays the document out and draws it as the editor does,
// counts its paragraph numbers, and writes it back out: what was written must read to the same text
// and write again to the same bytes.
#include "platform/richedit/numbering.h"
#include "platform/richedit/paragraphlayout.h"
#include "platform/richedit/rtf.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void prepare(QTextDocument& document) {
    document.setUndoRedoEnabled(false);
    document.setDocumentMargin(0);
    document.setUseDesignMetrics(true);
}

// The editor's own layout at a narrow page width, drawn into a small image, with a few questions
// about positions.
void layOutAndDraw(QTextDocument& document) {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(96 / 0.0254));
        image.setDotsPerMeterY(qRound(96 / 0.0254));
        return image;
    }();
    document.setTextWidth(300);
    auto* layout = new richedit::ParagraphLayout(&document);  // owned by the document
    layout->setPaintDevice(&device);
    layout->setBackgroundLayout(false);
    document.setDocumentLayout(layout);
    layout->completeLayout();

    QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, 0, image.width(), image.height());
    layout->draw(&painter, context);
    richedit::ParagraphNumbers numbers;
    numbers.update(document, 1);
    richedit::drawParagraphLabels(painter, document, numbers, context.clip, &device, context.palette);
    painter.end();

    const QSizeF size = layout->documentSize();
    for (const QPointF point : {QPointF(0, 0), QPointF(150, 10), QPointF(size.width() / 2, size.height() / 2),
                                QPointF(size.width(), size.height() + 5)}) {
        const int position = layout->hitTest(point, Qt::FuzzyHit);
        if (position < 0 || position >= document.characterCount()) std::abort();
        layout->hitTest(point, Qt::ExactHit);
        const QTextBlock block = document.findBlock(position);
        layout->caretRect(block, position - block.position());
    }
    layout->lineCount();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QGuiApplication* app = [] {
        static int argc = 1;
        static char name[] = "fuzz_rtf";
        static char* argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QTextDocument document;
    prepare(document);
    QTextCursor cursor(&document);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const richedit::RtfReadResult result = richedit::readRtf(bytes, cursor);
    if (!result.ok) return 0;

    layOutAndDraw(document);

    // What was read must also write and read again, to the same text, and write the same once more.
    const QByteArray written = richedit::writeRtf(document, 0, -1, richedit::RtfObjects::Include);
    QTextDocument again;
    prepare(again);
    QTextCursor againCursor(&again);
    if (!richedit::readRtf(written, againCursor).ok) std::abort();
    if (again.toPlainText() != document.toPlainText()) {
        std::fprintf(stderr, "round trip changed the text:\n%s\n----\n%s\n", qPrintable(document.toPlainText()),
                     qPrintable(again.toPlainText()));
        std::abort();
    }
    const QByteArray rewritten = richedit::writeRtf(again, 0, -1, richedit::RtfObjects::Include);
    if (rewritten != written) {
        std::fprintf(stderr, "a second round trip wrote other bytes:\n%s\n----\n%s\n", written.constData(),
                     rewritten.constData());
        std::abort();
    }
    return 0;
}
