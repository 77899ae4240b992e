#include "documents/QxTextDecoder.h"

#include "platform/encoding/codepage.h"

#include <algorithm>
#include <array>

using platform::TextEncoding;

namespace {

// Bytes to hold before deciding: a signature needs 3; without a known encoding the first bytes also
// decide between UTF-8 and Windows-1250, so more of them are looked at.
constexpr qsizetype kSignatureBytes = 3;
constexpr qsizetype kGuessBytes = 4096;

bool startsWith(const QByteArray& bytes, const char* signature, qsizetype length) {
    return bytes.size() >= length && std::equal(signature, signature + length, bytes.constData());
}

constexpr char kUtf8Signature[] = "\xEF\xBB\xBF";
constexpr char kUtf16LESignature[] = "\xFF\xFE";
constexpr char kUtf16BESignature[] = "\xFE\xFF";

qsizetype signatureLength(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8WithSignature: return 3;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: return 2;
    case TextEncoding::Utf8:
    case TextEncoding::Windows1250: break;
    }
    return 0;
}

// The number of bytes at the end of `bytes` that start a UTF-8 sequence not yet complete.
qsizetype unfinishedUtf8Tail(const QByteArray& bytes) {
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= n; ++back) {
        const auto b = static_cast<unsigned char>(bytes[n - back]);
        if ((b & 0xC0) == 0x80) continue;  // continuation byte: look further back
        int length = 1;
        if (b >= 0xC2 && b <= 0xDF) length = 2;
        else if (b >= 0xE0 && b <= 0xEF) length = 3;
        else if (b >= 0xF0 && b <= 0xF4) length = 4;
        return length > back ? back : 0;
    }
    return 0;
}

QString decodeWindows1250(const QByteArray& bytes) {
    const std::array<char16_t, 256>* table = platform::singleByteTable(1250);
    if (!table) return platform::decodeCodePage(bytes, 1250);
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) *out++ = QChar((*table)[static_cast<unsigned char>(byte)]);
    return text;
}

}  // namespace

bool TQxUtf8Validator::Feed(const char* bytes, qint64 count) {
    for (qint64 i = 0; i < count && valid_; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (pending_ > 0) {
            if (b < low_ || b > high_) {
                valid_ = false;
                break;
            }
            --pending_;
            low_ = 0x80;
            high_ = 0xBF;
            continue;
        }
        if (b < 0x80) continue;
        if (b >= 0xC2 && b <= 0xDF) {
            pending_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            pending_ = 2;
            if (b == 0xE0) low_ = 0xA0;   // overlong
            if (b == 0xED) high_ = 0x9F;  // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            pending_ = 3;
            if (b == 0xF0) low_ = 0x90;   // overlong
            if (b == 0xF4) high_ = 0x8F;  // above U+10FFFF
        } else {
            valid_ = false;  // stray continuation byte, overlong lead C0/C1, or F5..FF
        }
    }
    return valid_;
}

TextEncoding ChoosePlainTextEncoding(const QByteArray& head, bool wellFormedUtf8) {
    if (startsWith(head, kUtf8Signature, 3)) return TextEncoding::Utf8WithSignature;
    if (startsWith(head, kUtf16LESignature, 2)) return TextEncoding::Utf16LE;
    if (startsWith(head, kUtf16BESignature, 2)) return TextEncoding::Utf16BE;
    return wellFormedUtf8 ? TextEncoding::Utf8 : TextEncoding::Windows1250;
}

TQxPlainTextDecoder::TQxPlainTextDecoder(std::optional<TextEncoding> encoding) : encoding_(encoding) {}

QString TQxPlainTextDecoder::Decode(const QByteArray& bytes) {
    if (started_) return DecodeStarted(bytes);
    held_.append(bytes);
    const qsizetype needed = encoding_ ? kSignatureBytes : kGuessBytes;
    if (held_.size() < needed) return {};
    return Start(false);
}

QString TQxPlainTextDecoder::Finish() {
    QString text = started_ ? QString() : Start(true);
    if (!held_.isEmpty()) {
        // An unfinished character at the very end cannot be read.
        text.append(QChar::ReplacementCharacter);
        held_.clear();
    }
    return text;
}

QString TQxPlainTextDecoder::Start(bool atEnd) {
    started_ = true;
    QByteArray head = std::move(held_);
    held_.clear();
    if (!encoding_) {
        TQxUtf8Validator validator;
        validator.Feed(head.constData(), head.size());
        // A character cut off by the end of the bytes looked at still counts as UTF-8, unless the
        // source ends there.
        const bool wellFormed = atEnd ? validator.Finish() : validator.Feed(nullptr, 0);
        encoding_ = ChoosePlainTextEncoding(head, wellFormed);
    }
    const qsizetype signature = signatureLength(*encoding_);
    // Strip the signature only when it is really there, whatever the encoding was said to be.
    if (ChoosePlainTextEncoding(head, false) == *encoding_ && signature > 0) head.remove(0, signature);
    return DecodeStarted(std::move(head));
}

QString TQxPlainTextDecoder::DecodeStarted(QByteArray bytes) {
    if (!held_.isEmpty()) bytes.prepend(held_);
    held_.clear();
    switch (*encoding_) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithSignature: {
        const qsizetype tail = unfinishedUtf8Tail(bytes);
        held_ = bytes.right(tail);
        bytes.chop(tail);
        return QString::fromUtf8(bytes);
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool little = *encoding_ == TextEncoding::Utf16LE;
        qsizetype units = bytes.size() / 2;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
        const auto unitAt = [&](qsizetype i) {
            return char16_t(little ? (p[2 * i] | (p[2 * i + 1] << 8)) : ((p[2 * i] << 8) | p[2 * i + 1]));
        };
        // A high surrogate at the end waits for its partner in the next block.
        if (units > 0 && QChar::isHighSurrogate(unitAt(units - 1))) --units;
        QString text(units, Qt::Uninitialized);
        for (qsizetype i = 0; i < units; ++i) text[i] = QChar(unitAt(i));
        held_ = bytes.mid(units * 2);
        return text;
    }
    case TextEncoding::Windows1250: break;
    }
    return decodeWindows1250(bytes);
}
