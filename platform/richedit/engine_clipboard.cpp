// Clipboard and pictures: rich text travels as RTF, with plain text beside it, and a lone picture
// also as a PNG image (a metafile also as itself and as a bitmap of its displayed size).
#include "platform/richedit/engine_private.h"
#include "platform/picture/metafile.h"
#include "platform/picture/picture.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/stylesheet.h"
#include "platform/richedit/textformat.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

namespace richedit {

QString metafileMimeType(const QString& format) {
    return format == QLatin1String("emf") ? QStringLiteral("image/x-emf") : QStringLiteral("image/x-wmf");
}

namespace {

const QString kRtfMime = QStringLiteral("text/rtf");
const QString kRtfMimeAlt = QStringLiteral("application/rtf");
const QString kWmfMime = metafileMimeType(QStringLiteral("wmf"));
const QString kEmfMime = metafileMimeType(QStringLiteral("emf"));

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The picture's image through the bounded platform decoders; metafiles and unknown data give a
// null image, which the engine shows as an empty frame of the picture's size.
QImage decodePicture(const Picture& picture) { return platform::decodePicture(picture.data, picture.format); }

// What other programs can paste of a picture: a metafile is rendered at its displayed size.
QImage clipboardImage(const Picture& picture) {
    const std::optional<platform::MetafilePicture> metafile = platform::replayMetafile(picture.data, picture.format);
    if (!metafile) return decodePicture(picture);
    const QSize pixels(qRound(picture.widthTwips / kTwipsPerLayoutPixel), qRound(picture.heightTwips / kTwipsPerLayoutPixel));
    return platform::renderMetafile(*metafile, pixels);
}

}  // namespace

QMimeData* Engine::Private::mimeFor(int from, int to) const {
    auto* mime = new QMimeData;
    QString text = q->getTextRange(from, to);
    text.replace(u'\r', u'\n');
    text.remove(QChar::ObjectReplacementCharacter);
    mime->setText(text);
    if (!isPlain()) {
        const QByteArray rtf = writeRtf(*doc, from, to, RtfObjects::Include);
        if (!rtf.isEmpty()) {
            mime->setData(kRtfMime, rtf);
            mime->setData(kRtfMimeAlt, rtf);
        }
        if (to - from == 1 && rawText()[from] == QChar::ObjectReplacementCharacter) {
            QTextCursor c(doc);
            c.setPosition(to);
            Picture picture;
            if (pictureFromFormat(c.charFormat(), picture)) {
                if (picture.format == QLatin1String("wmf") || picture.format == QLatin1String("emf"))
                    mime->setData(picture.format == QLatin1String("wmf") ? kWmfMime : kEmfMime, picture.data);
                const QImage image = clipboardImage(picture);
                if (!image.isNull()) {
                    mime->setImageData(image);
                    mime->setData(QStringLiteral("image/png"), pngBytes(image));
                }
            }
        }
    }
    return mime;
}

bool Engine::Private::insertMime(const QMimeData* mime, UndoMode undo) {
    if (!mime) return false;
    const CHARRANGE sel = selection();
    if (changesProtectedText(sel.cpMin, sel.cpMax)) return false;  // a drop is refused, not taken
    if (!isPlain()) {
        const QString rtfType = mime->hasFormat(kRtfMime) ? kRtfMime : mime->hasFormat(kRtfMimeAlt) ? kRtfMimeAlt : QString();
        if (!rtfType.isEmpty()) {
            QTextDocument scratch;
            scratch.setDefaultFont(doc->defaultFont());
            QTextCursor sc(&scratch);
            if (readRtf(mime->data(rtfType), sc).ok) {
                mergeStyleSheet(*doc, scratch);
                const Fragment pasted = Fragment::capture(scratch, 0, scratch.characterCount() - 1);
                if (pasted.length() <= capacityFor(sel.cpMax - sel.cpMin)) {
                    const bool atParagraphStart = doc->findBlock(sel.cpMin).position() == sel.cpMin;
                    const auto first = atParagraphStart && pasted.spansParagraphs() ? Fragment::FirstParagraph::TakeFormat
                                                                                    : Fragment::FirstParagraph::KeepFormat;
                    replaceRange(sel.cpMin, sel.cpMax, [&](QTextCursor& c) { pasted.insertAt(c, &scratch, first); }, undo,
                                 EditOrigin::Other);
                    history.closeTypingRun();
                    return true;
                }
            }
        }
        // A metafile stays a metafile; the bitmap beside it is for programs that cannot take one.
        const QString metafileType = mime->hasFormat(kEmfMime) ? kEmfMime : mime->hasFormat(kWmfMime) ? kWmfMime : QString();
        if (!metafileType.isEmpty() && !mime->hasText() && acceptsObjectAt(sel.cpMin)) {
            if (const std::optional<platform::StoredMetafile> metafile = platform::metafileForStorage(mime->data(metafileType))) {
                q->insertPicture(Picture{metafile->data, metafile->format, metafile->twips.width(), metafile->twips.height()});
                return true;
            }
        }
        if (mime->hasImage() && !mime->hasText() && acceptsObjectAt(sel.cpMin)) {
            const QImage image = qvariant_cast<QImage>(mime->imageData());
            if (!image.isNull()) {
                Picture picture;
                picture.data = mime->hasFormat(QStringLiteral("image/png")) ? mime->data(QStringLiteral("image/png")) : pngBytes(image);
                picture.format = QStringLiteral("png");
                q->insertPicture(picture);
                return true;
            }
        }
    }
    if (mime->hasText()) {
        insertText(sel.cpMin, sel.cpMax, mime->text(), undo, EditOrigin::Other);
        history.closeTypingRun();
        return true;
    }
    return false;
}

void Engine::copy() {
    const CHARRANGE sel = d->selection();
    if (sel.cpMin == sel.cpMax) return;
    QGuiApplication::clipboard()->setMimeData(d->mimeFor(sel.cpMin, sel.cpMax));
}

void Engine::cut() {
    const CHARRANGE sel = d->selection();
    if (sel.cpMin == sel.cpMax || d->changesProtectedText(sel.cpMin, sel.cpMax)) return;
    copy();
    clear();
}

void Engine::paste() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!d->acceptsData(mime)) return;
    d->insertMime(mime, UndoMode::Record);
    d->ensureVisible(d->caret);
}

void Engine::clear() {
    const CHARRANGE sel = d->selection();
    if (sel.cpMin == sel.cpMax) return;
    d->replaceRange(sel.cpMin, sel.cpMax, [](QTextCursor&) {}, UndoMode::Record, EditOrigin::Other);
    d->history.closeTypingRun();
}

bool Engine::canPaste() const {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime) return false;
    if (d->isPlain()) return mime->hasText();
    return mime->hasText() || mime->hasImage() || mime->hasFormat(kRtfMime) || mime->hasFormat(kRtfMimeAlt) ||
           mime->hasFormat(kWmfMime) || mime->hasFormat(kEmfMime);
}

void Engine::insertPicture(const Picture& source) {
    if (d->isPlain()) return;
    const CHARRANGE sel = d->selection();
    if (d->capacityFor(sel.cpMax - sel.cpMin) < 1 || !d->acceptsObjectAt(sel.cpMin)) return;
    Picture picture = source;
    const QImage image = decodePicture(picture);
    if (picture.widthTwips <= 0 || picture.heightTwips <= 0) {
        // Undeclared size: the image's own pixels at 96 dpi.
        picture.widthTwips = image.isNull() ? 1440 : int(image.width() * kTwipsPerLayoutPixel);
        picture.heightTwips = image.isNull() ? 1440 : int(image.height() * kTwipsPerLayoutPixel);
    }
    const QTextCharFormat around = d->typingFormat(sel.cpMin);
    d->replaceRange(
        sel.cpMin, sel.cpMax,
        [&](QTextCursor& c) {
            c.setCharFormat(around);
            richedit::insertPicture(c, picture, image);
        },
        UndoMode::Record, EditOrigin::Other);
    d->history.closeTypingRun();
}

}  // namespace richedit
