#pragma once
// Windows code pages through glibc iconv: the 8-bit encodings of RTF files and of plain-text files
// written on the program's original platform.

#include <QByteArray>
#include <QString>

#include <array>

namespace platform {

// The iconv name of a Windows code page number (1250 -> "CP1250", 10000 -> "MACINTOSH", ...).
// Empty when the code page is unknown to the C library.
QByteArray iconvNameForCodePage(int codePage);

// True for code pages whose characters may take more than one byte, or whose conversion keeps
// state between bytes (CJK double-byte pages, UTF-8, the composing pages 1255 and 1258).
bool isMultiByteCodePage(int codePage);

// The character of every byte of a single-byte code page, built once and kept for the program's
// life; nullptr for a multi-byte or unknown code page.
const std::array<char16_t, 256>* singleByteTable(int codePage);

// Decodes `bytes` in `codePage`. Never fails: an unknown code page is read as Windows-1252, and a
// byte sequence the code page does not define becomes U+FFFD (a single undefined byte of a
// single-byte page keeps its value as a C1/Latin-1 code point, as the original platform does).
QString decodeCodePage(const QByteArray& bytes, int codePage);

// Encodes `text` in `codePage`. Characters the code page cannot hold become '?'; `lossless`
// (when given) tells whether every character was representable.
QByteArray encodeCodePage(const QString& text, int codePage, bool* lossless = nullptr);

}  // namespace platform
