#pragma once
// Decoding of plain-text files: UTF-8 (with or without signature), UTF-16 with a signature, and
// everything else as Windows-1250, the code page of Czech files from the original platform.

#include <QByteArray>
#include <QString>

namespace platform {

enum class TextEncoding { Utf8, Utf8WithSignature, Utf16LE, Utf16BE, Windows1250 };

// True when `bytes` is well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence at the end.
bool isValidUtf8(const QByteArray& bytes);

// Which encoding decodePlainText reads `bytes` in.
TextEncoding detectPlainTextEncoding(const QByteArray& bytes);

// The text of a plain-text file, without its signature.
QString decodePlainText(const QByteArray& bytes);

}  // namespace platform
