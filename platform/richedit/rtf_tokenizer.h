#pragma once
// Splits RTF bytes into groups, control words, control symbols and text. It holds no state beyond
// its position, so it cannot loop or grow: every call consumes at least one byte until the end.

#include <QByteArray>

#include <cstdint>
#include <string_view>

namespace richedit::rtf {

enum class TokenKind {
    End,           // no more data
    GroupStart,    // {
    GroupEnd,      // }
    ControlWord,   // \word or \wordN
    ControlSymbol, // \x for a non-letter x (not \' and not \bin)
    HexByte,       // \'hh: one byte in `param`
    Text,          // a run of literal bytes in `text` (no braces, backslashes, CR or LF)
    Binary,        // the data of \binN in `text`, cut to what the input holds
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view name;   // control word name (at most kMaxWordLength letters)
    char symbol = 0;         // control symbol
    bool hasParam = false;
    std::int32_t param = 0;  // numeric parameter, saturated to [-kMaxParam, kMaxParam]
    std::string_view text;   // Text and Binary
};

inline constexpr int kMaxWordLength = 32;
inline constexpr std::int32_t kMaxParam = 2'000'000'000;

class Tokenizer {
public:
    explicit Tokenizer(const QByteArray& data)
        : data_(data), p_(data.constData()), end_(data.constData() + data.size()) {}

    const QByteArray& data() const { return data_; }

    // The next token. Text runs stop at every character that has a meaning of its own; a control
    // word's single delimiting space is consumed. After End every call returns End again.
    Token next();

    std::size_t remaining() const { return std::size_t(end_ - p_); }

private:
    // Reads the sequence after a backslash; false when it was malformed and consumed unused.
    bool controlSequence(Token& t);

    QByteArray data_;  // shared, keeps the bytes alive
    const char* p_;
    const char* end_;
};

}  // namespace richedit::rtf
