#include "platform/richedit/fragment.h"

#include "platform/richedit/textformat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>

namespace richedit {

Fragment Fragment::capture(const QTextDocument& document, int from, int to, Content content) {
    Fragment f;
    f.content_ = content;
    const int end = document.characterCount() - 1;
    from = std::clamp(from, 0, end);
    to = std::clamp(to, from, end);
    f.length_ = to - from;
    QTextBlock block = document.findBlock(from);
    f.firstBlock_ = block.blockFormat();
    f.firstBlockChar_ = block.charFormat();
    for (; block.isValid() && block.position() <= to; block = block.next()) {
        const int blockStart = block.position();
        if (blockStart > from) {
            Run br;
            br.kind = Run::Kind::Break;
            br.offset = blockStart - 1 - from;
            br.block = block.blockFormat();
            br.format = block.charFormat();
            f.runs_.push_back(std::move(br));
        }
        if (content == Content::ParagraphFormatsOnly) continue;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int a = std::max(from, frag.position());
            const int b = std::min(to, frag.position() + frag.length());
            if (a >= b) continue;
            Run run;
            run.offset = a - from;
            run.text = frag.text().mid(a - frag.position(), b - a);
            run.format = frag.charFormat();
            if (!f.runs_.empty() && f.runs_.back().kind == Run::Kind::Text && f.runs_.back().format == run.format)
                f.runs_.back().text += run.text;
            else
                f.runs_.push_back(std::move(run));
        }
    }
    return f;
}

bool Fragment::spansParagraphs() const {
    return std::any_of(runs_.begin(), runs_.end(), [](const Run& r) { return r.kind == Run::Kind::Break; });
}

QString Fragment::text() const {
    QString out;
    for (const Run& run : runs_) out += run.kind == Run::Kind::Break ? QString(QChar::ParagraphSeparator) : run.text;
    return out;
}

void Fragment::insertAt(QTextCursor& cursor, const QTextDocument* source, FirstParagraph first) const {
    Q_ASSERT(content_ == Content::Everything);
    const int start = cursor.position();
    for (const Run& run : runs_) {
        if (run.kind == Run::Kind::Break) cursor.insertBlock(run.block, run.format);
        else cursor.insertText(run.text, run.format);
    }
    if (first == FirstParagraph::TakeFormat) {
        QTextCursor c(cursor.document());
        c.setPosition(start);
        c.setBlockFormat(firstBlock_);
        c.setBlockCharFormat(firstBlockChar_);
    }
    if (source && source != cursor.document()) adoptPictureResources(*source, *cursor.document());
}

void Fragment::reapplyFormats(QTextDocument& document, int position) const {
    QTextCursor c(&document);
    c.setPosition(position);
    c.setBlockFormat(firstBlock_);
    c.setBlockCharFormat(firstBlockChar_);
    for (const Run& run : runs_) {
        const int pos = position + run.offset;
        if (run.kind == Run::Kind::Break) {
            c.setPosition(pos + 1);
            c.setBlockFormat(run.block);
            c.setBlockCharFormat(run.format);
        } else {
            c.setPosition(pos);
            c.setPosition(pos + int(run.text.size()), QTextCursor::KeepAnchor);
            c.setCharFormat(run.format);
        }
    }
}

void adoptPictureResources(const QTextDocument& source, QTextDocument& target) {
    for (const QTextFormat& format : source.allFormats()) {
        if (!format.isImageFormat()) continue;
        const QString name = format.toImageFormat().name();
        if (name.isEmpty()) continue;
        const QUrl url(name);
        const QVariant image = source.resource(QTextDocument::ImageResource, url);
        if (image.isValid() && !target.resource(QTextDocument::ImageResource, url).isValid())
            target.addResource(QTextDocument::ImageResource, url, image);
    }
}

}  // namespace richedit
