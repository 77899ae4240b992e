// Stream in and out: the content travels in blocks through the caller's callback, as plain text
// (UTF-8, or UTF-16 with SF_UNICODE) or as RTF.
#include "platform/richedit/engine_private.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/stylesheet.h"

#include <QTextCursor>
#include <QtEndian>

#include <limits>
#include <memory>

namespace richedit {

namespace {

constexpr int kBlockSize = 4096;
constexpr std::uint32_t kBrokenData = 13;  // the data could not be read as the format asked for

// Reads everything the callback hands over; false (with stream.dwError set) when it reported an error.
bool readAll(EDITSTREAM& stream, QByteArray& out) {
    if (!stream.pfnCallback) {
        stream.dwError = kBrokenData;
        return false;
    }
    char buffer[kBlockSize];
    for (;;) {
        int transferred = 0;
        const std::uint32_t error = stream.pfnCallback(buffer, kBlockSize, transferred);
        if (error != 0) {
            stream.dwError = error;
            return false;
        }
        if (transferred <= 0) return true;
        out.append(buffer, std::min(transferred, kBlockSize));
    }
}

QString decodeText(const QByteArray& bytes, bool unicode) {
    if (!unicode) return QString::fromUtf8(bytes);
    QString text;
    text.resize(bytes.size() / 2);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(reinterpret_cast<const uchar*>(bytes.constData()) + 2 * i));
    return text;
}

// The text as a plain-text file holds it: pictures dropped, every break a CR LF. One pass: QString's
// own replace moves the rest of the text for every few hundred breaks.
QString plainLines(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (QChar c : text) {
        if (c == QChar::ObjectReplacementCharacter) continue;
        if (c == u'\r' || c == u'\v') out += QStringLiteral("\r\n");
        else out += c;
    }
    return out;
}

}  // namespace

int Engine::streamIn(std::uint32_t format, EDITSTREAM& stream) {
    stream.dwError = 0;
    QByteArray bytes;
    if (!readAll(stream, bytes)) return 0;
    const bool selectionOnly = format & SFF_SELECTION;
    const bool rtf = (format & 0x000F) == SF_RTF || (format & 0x000F) == SF_RTFNOOBJS;
    const CHARRANGE sel = selectionOnly ? d->selection() : CHARRANGE{0, d->length()};
    const UndoMode undo = selectionOnly ? UndoMode::Record : UndoMode::NotRecorded;

    int inserted = 0;
    if (rtf) {
        auto scratch = std::make_unique<QTextDocument>();
        scratch->setUndoRedoEnabled(false);  // reading is no step to undo, and recording it costs
        scratch->setDefaultFont(d->doc->defaultFont());
        QTextCursor sc(scratch.get());
        if (!readRtf(bytes, sc).ok) {
            stream.dwError = kBrokenData;
            return 0;
        }
        if (d->isPlain()) {
            QString text = scratch->toRawText();
            text.chop(text.size() - (scratch->characterCount() - 1));
            text.remove(QChar::ObjectReplacementCharacter);
            inserted = d->insertText(sel.cpMin, sel.cpMax, text, undo, EditOrigin::Other);
        } else if (!selectionOnly) {
            // A whole document is taken over as read, not copied.
            d->adoptDocument(scratch.release());
            d->history.clear();
            d->anchor = d->caret = 0;
            d->contentChanged();
            inserted = d->length();
        } else {
            mergeStyleSheet(*d->doc, *scratch);
            const Fragment content = Fragment::capture(*scratch, 0, scratch->characterCount() - 1);
            const bool atParagraphStart = d->doc->findBlock(sel.cpMin).position() == sel.cpMin;
            const auto first = (atParagraphStart && content.spansParagraphs()) ? Fragment::FirstParagraph::TakeFormat
                                                                                : Fragment::FirstParagraph::KeepFormat;
            inserted = d->replaceRange(sel.cpMin, sel.cpMax, [&](QTextCursor& c) { content.insertAt(c, scratch.get(), first); },
                                       undo, EditOrigin::Other);
        }
    } else {
        const QString text = decodeText(bytes, format & SF_UNICODE);
        if (!selectionOnly) {
            d->doc->clear();
            StyleSheet::drop(*d->doc);
            d->insertionFormat.reset();
        }
        const int limit = d->textLimit;
        if (!selectionOnly) d->textLimit = std::numeric_limits<int>::max();  // a whole load is not cut
        inserted = d->insertText(sel.cpMin, selectionOnly ? sel.cpMax : sel.cpMin, text, undo, EditOrigin::Other);
        d->textLimit = limit;
    }
    d->history.closeTypingRun();
    if (!selectionOnly) {
        d->anchor = d->caret = 0;
        d->modified = false;
        d->notifySelection();
    }
    return inserted;
}

int Engine::streamOut(std::uint32_t format, EDITSTREAM& stream) {
    stream.dwError = 0;
    const bool selectionOnly = format & SFF_SELECTION;
    const CHARRANGE range = selectionOnly ? d->selection() : CHARRANGE{0, d->length()};
    const int kind = format & 0x000F;
    QByteArray bytes;
    if (kind == SF_RTF || kind == SF_RTFNOOBJS) {
        bytes = writeRtf(*d->doc, range.cpMin, range.cpMax, kind == SF_RTFNOOBJS ? RtfObjects::Omit : RtfObjects::Include);
    } else {
        const QString text = plainLines(getTextRange(range.cpMin, range.cpMax));
        if (format & SF_UNICODE) {
            bytes.resize(text.size() * 2);
            for (qsizetype i = 0; i < text.size(); ++i)
                qToLittleEndian<quint16>(text[i].unicode(), reinterpret_cast<uchar*>(bytes.data()) + 2 * i);
        } else {
            bytes = text.toUtf8();
        }
    }
    if (!stream.pfnCallback) {
        stream.dwError = kBrokenData;
        return 0;
    }
    int written = 0;
    while (written < bytes.size()) {
        const int count = int(std::min<qsizetype>(kBlockSize, bytes.size() - written));
        int transferred = 0;
        const std::uint32_t error = stream.pfnCallback(bytes.data() + written, count, transferred);
        if (error != 0) {
            stream.dwError = error;
            break;
        }
        if (transferred <= 0) {
            stream.dwError = kBrokenData;  // the receiver took nothing: the write failed
            break;
        }
        written += std::min(transferred, count);
    }
    return written;
}

}  // namespace richedit
