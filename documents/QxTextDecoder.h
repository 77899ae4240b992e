#pragma once
// Incremental reading of plain-text files: the encoding rules of the program (UTF-8 with or without
// signature, UTF-16 with a signature, anything else Windows-1250) applied to a file that arrives in
// blocks, with characters split between blocks put back together.

#include "platform/encoding/plaintext.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Checks bytes for well-formed UTF-8 as they arrive (no overlong forms, no surrogates, nothing above
// U+10FFFF); a sequence may be split between two calls of Feed.
class TQxUtf8Validator {
public:
    // False from the first malformed byte on.
    bool Feed(const char* bytes, qint64 count);
    // True when everything fed was well-formed and no sequence is left unfinished.
    bool Finish() const { return valid_ && pending_ == 0; }

private:
    bool valid_ = true;
    int pending_ = 0;             // continuation bytes still expected
    unsigned char low_ = 0x80;    // allowed range of the next continuation byte
    unsigned char high_ = 0xBF;
};

// The encoding of a plain-text source whose bytes start with `head` (the whole source, or enough of its
// start to hold a signature) and whose bytes are all well-formed UTF-8 or not.
platform::TextEncoding ChoosePlainTextEncoding(const QByteArray& head, bool wellFormedUtf8);

// Turns the bytes of a plain-text source into characters block by block. The encoding is either given
// (known from the whole source) or decided from the first bytes: a signature, else UTF-8 when the first
// bytes seen are well-formed UTF-8, else Windows-1250. A signature is not part of the text.
class TQxPlainTextDecoder {
public:
    explicit TQxPlainTextDecoder(std::optional<platform::TextEncoding> encoding = std::nullopt);

    // The characters that `bytes` complete; bytes of an unfinished character are kept for the next call.
    QString Decode(const QByteArray& bytes);
    // The characters still held at the end of the source (an unfinished character becomes U+FFFD).
    QString Finish();

    std::optional<platform::TextEncoding> Encoding() const { return encoding_; }

private:
    QString Start(bool atEnd);
    QString DecodeStarted(QByteArray bytes);

    std::optional<platform::TextEncoding> encoding_;
    bool started_ = false;
    QByteArray held_;  // before the start: the first bytes; after it: an unfinished character
};
