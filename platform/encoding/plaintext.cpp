#include "platform/encoding/plaintext.h"

#include "platform/encoding/codepage.h"

namespace platform {

namespace {

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> signature) {
    if (bytes.size() < qsizetype(signature.size())) return false;
    qsizetype i = 0;
    for (const unsigned char b : signature)
        if (static_cast<unsigned char>(bytes[i++]) != b) return false;
    return true;
}

QString decodeUtf16(const QByteArray& bytes, bool littleEndian) {
    const qsizetype units = bytes.size() / 2;
    QString result(units, Qt::Uninitialized);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned lo = p[2 * i + (littleEndian ? 0 : 1)];
        const unsigned hi = p[2 * i + (littleEndian ? 1 : 0)];
        result[i] = QChar(char16_t(lo | (hi << 8)));
    }
    // A dangling odd byte cannot be a character.
    if (bytes.size() % 2) result.append(QChar::ReplacementCharacter);
    return result;
}

}  // namespace

bool isValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int length;
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) lo = 0xA0;  // overlong
            if (b == 0xED) hi = 0x9F;  // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) lo = 0x90;  // overlong
            if (b == 0xF4) hi = 0x8F;  // above U+10FFFF
        } else {
            return false;  // continuation byte, C0/C1 overlong lead, or F5..FF
        }
        if (i + length > n) return false;
        if (p[i + 1] < lo || p[i + 1] > hi) return false;
        for (int k = 2; k < length; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

TextEncoding detectPlainTextEncoding(const QByteArray& bytes) {
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) return TextEncoding::Utf8WithSignature;
    if (startsWith(bytes, {0xFF, 0xFE})) return TextEncoding::Utf16LE;
    if (startsWith(bytes, {0xFE, 0xFF})) return TextEncoding::Utf16BE;
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1250;
}

QString decodePlainText(const QByteArray& bytes) {
    switch (detectPlainTextEncoding(bytes)) {
    case TextEncoding::Utf8WithSignature: return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    case TextEncoding::Utf16LE: return decodeUtf16(bytes.mid(2), true);
    case TextEncoding::Utf16BE: return decodeUtf16(bytes.mid(2), false);
    case TextEncoding::Utf8: return QString::fromUtf8(bytes);
    case TextEncoding::Windows1250: break;
    }
    return decodeCodePage(bytes, 1250);
}

}  // namespace platform
