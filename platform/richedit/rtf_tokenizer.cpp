#include "platform/richedit/rtf_tokenizer.h"

#include <algorithm>

namespace richedit::rtf {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

Token token(TokenKind kind) {
    Token t;
    t.kind = kind;
    return t;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Token Tokenizer::next() {
    for (;;) {
        if (p_ >= end_) return {};
        const char c = *p_;
        if (c == '{') {
            ++p_;
            return token(TokenKind::GroupStart);
        }
        if (c == '}') {
            ++p_;
            return token(TokenKind::GroupEnd);
        }
        if (c == '\\') {
            Token t;
            if (controlSequence(t)) return t;
            continue;
        }
        if (c == '\r' || c == '\n') {
            ++p_;
            continue;  // line ends carry no meaning in RTF
        }
        const char* start = p_;
        while (p_ < end_ && *p_ != '{' && *p_ != '}' && *p_ != '\\' && *p_ != '\r' && *p_ != '\n') ++p_;
        Token t = token(TokenKind::Text);
        t.text = std::string_view(start, std::size_t(p_ - start));
        return t;
    }
}

bool Tokenizer::controlSequence(Token& t) {
    ++p_;  // the backslash
    if (p_ >= end_) {
        t = Token{};
        return true;
    }
    const char c = *p_;
    if (!isLetter(c)) {
        ++p_;
        if (c == '\'') {
            // \'hh: a byte in hexadecimal; a malformed one is dropped with what it consumed.
            const int hi = p_ < end_ ? hexValue(*p_) : -1;
            const int lo = p_ + 1 < end_ ? hexValue(p_[1]) : -1;
            if (hi < 0 || lo < 0) {
                if (hi >= 0) ++p_;
                return false;
            }
            p_ += 2;
            t = token(TokenKind::HexByte);
            t.param = hi * 16 + lo;
            t.hasParam = true;
            return true;
        }
        // A backslash before a line end is a paragraph mark, like \par.
        if (c == '\r' || c == '\n') {
            t = token(TokenKind::ControlWord);
            t.name = "par";
            return true;
        }
        t = token(TokenKind::ControlSymbol);
        t.symbol = c;
        return true;
    }
    const char* start = p_;
    while (p_ < end_ && isLetter(*p_)) ++p_;
    t = token(TokenKind::ControlWord);
    t.name = std::string_view(start, std::size_t(std::min<std::ptrdiff_t>(p_ - start, kMaxWordLength)));
    if (p_ < end_ && (*p_ == '-' || isDigit(*p_))) {
        const bool negative = *p_ == '-';
        if (negative) ++p_;
        std::int64_t value = 0;
        bool any = false;
        while (p_ < end_ && isDigit(*p_)) {
            value = std::min<std::int64_t>(value * 10 + (*p_ - '0'), kMaxParam);
            any = true;
            ++p_;
        }
        t.hasParam = any;
        t.param = std::int32_t(negative ? -value : value);
    }
    if (p_ < end_ && *p_ == ' ') ++p_;

    if (t.name == "bin") {
        // The data of \binN follows raw; it is never longer than what the input still holds.
        const std::size_t length = t.param > 0 ? std::min<std::size_t>(std::size_t(t.param), remaining()) : 0;
        t = token(TokenKind::Binary);
        t.text = std::string_view(p_, length);
        p_ += length;
    }
    return true;
}

}  // namespace richedit::rtf
