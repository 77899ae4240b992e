#include "platform/encoding/codepage.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

namespace {

using ByteTable = std::array<char16_t, 256>;

// An iconv descriptor that closes itself.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

bool iconvKnows(const QByteArray& name) {
    Converter probe("UTF-16LE", name.constData());
    return probe.ok();
}

QByteArray resolveName(int codePage) {
    switch (codePage) {
    case 65001: return "UTF-8";
    case 20127: return "ASCII";
    case 10000: return "MACINTOSH";
    case 10007: return "MAC-CYRILLIC";
    case 10029: return "MAC-CENTRALEUROPE";
    case 1361: return "JOHAB";
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + QByteArray::number(codePage - 28590);
    if (codePage == 28605) return "ISO-8859-15";
    if (codePage <= 0 || codePage > 65535) return {};
    for (const char* prefix : {"CP", "WINDOWS-", "IBM"}) {
        const QByteArray name = prefix + QByteArray::number(codePage);
        if (iconvKnows(name)) return name;
    }
    return {};
}

// Names are looked up once per code page; the answer never changes while the program runs.
std::mutex cacheMutex;

QByteArray cachedName(int codePage) {
    static std::map<int, QByteArray> names;
    std::lock_guard lock(cacheMutex);
    auto it = names.find(codePage);
    if (it == names.end()) {
        QByteArray name = resolveName(codePage);
        if (!name.isEmpty() && !iconvKnows(name)) name.clear();
        it = names.emplace(codePage, name).first;
    }
    return it->second;
}

// Each byte of a single-byte code page decoded on its own, built once per code page.
const ByteTable& byteTable(int codePage, const QByteArray& name) {
    static std::map<int, std::unique_ptr<ByteTable>> tables;
    std::lock_guard lock(cacheMutex);
    auto& slot = tables[codePage];
    if (!slot) {
        slot = std::make_unique<ByteTable>();
        Converter cv("UTF-16LE", name.constData());
        for (int b = 0; b < 256; ++b) {
            char in = char(b);
            char16_t out[2] = {};
            char* inPtr = &in;
            size_t inLeft = 1;
            char* outPtr = reinterpret_cast<char*>(out);
            size_t outLeft = sizeof(out);
            cv.reset();
            const size_t r = cv.ok() ? iconv(cv.get(), &inPtr, &inLeft, &outPtr, &outLeft) : size_t(-1);
            // A byte the page leaves undefined keeps its own value, as the original platform reads it.
            (*slot)[b] = (r == size_t(-1) || outLeft != sizeof(out) - 2) ? char16_t(b) : out[0];
        }
    }
    return *slot;
}

QString decodeWithIconv(const QByteArray& bytes, const QByteArray& name) {
    Converter cv("UTF-16LE", name.constData());
    QString result;
    if (!cv.ok()) return result;
    result.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char16_t buffer[1024];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof(buffer);
        const size_t r = iconv(cv.get(), &in, &inLeft, &out, &outLeft);
        result.append(reinterpret_cast<const QChar*>(buffer), qsizetype((sizeof(buffer) - outLeft) / 2));
        if (r != size_t(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ: an undefined sequence; EINVAL: the data ends inside a sequence.
        result.append(QChar::ReplacementCharacter);
        if (errno == EINVAL) break;
        ++in;
        --inLeft;
        cv.reset();
    }
    char* out = reinterpret_cast<char*>(buffer);
    size_t outLeft = sizeof(buffer);
    iconv(cv.get(), nullptr, nullptr, &out, &outLeft);
    result.append(reinterpret_cast<const QChar*>(buffer), qsizetype((sizeof(buffer) - outLeft) / 2));
    return result;
}

QByteArray encodeWithIconv(const QString& text, const QByteArray& name, bool& lossless) {
    Converter cv(name.constData(), "UTF-16LE");
    QByteArray result;
    if (!cv.ok()) return result;
    result.reserve(text.size());
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    size_t inLeft = size_t(text.size()) * 2;
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t r = iconv(cv.get(), &in, &inLeft, &out, &outLeft);
        result.append(buffer, qsizetype(sizeof(buffer) - outLeft));
        if (r != size_t(-1) || errno == E2BIG) continue;
        lossless = false;
        result.append('?');
        if (errno == EINVAL) break;
        // Skip the unconvertible character, both halves of a surrogate pair at once.
        const char16_t unit = *reinterpret_cast<const char16_t*>(in);
        const size_t step = (QChar::isHighSurrogate(unit) && inLeft >= 4 &&
                             QChar::isLowSurrogate(*reinterpret_cast<const char16_t*>(in + 2)))
                                ? 4
                                : 2;
        in += std::min(step, inLeft);
        inLeft -= std::min(step, inLeft);
        cv.reset();
    }
    char* out = buffer;
    size_t outLeft = sizeof(buffer);
    iconv(cv.get(), nullptr, nullptr, &out, &outLeft);
    result.append(buffer, qsizetype(sizeof(buffer) - outLeft));
    return result;
}

}  // namespace

QByteArray iconvNameForCodePage(int codePage) { return cachedName(codePage); }

const std::array<char16_t, 256>* singleByteTable(int codePage) {
    if (isMultiByteCodePage(codePage)) return nullptr;
    const QByteArray name = cachedName(codePage);
    return name.isEmpty() ? nullptr : &byteTable(codePage, name);
}

bool isMultiByteCodePage(int codePage) {
    switch (codePage) {
    case 932: case 936: case 949: case 950: case 1361: case 1255: case 1258: case 65001: case 54936:
    case 20932: case 51932: case 51949: case 50220: case 50221: case 50222: case 50225: case 52936:
    case 10001: case 10002: case 10003: case 10008:
        return true;
    default:
        return false;
    }
}

QString decodeCodePage(const QByteArray& bytes, int codePage) {
    QByteArray name = cachedName(codePage);
    if (name.isEmpty()) {
        codePage = 1252;
        name = cachedName(codePage);
    }
    if (isMultiByteCodePage(codePage)) return decodeWithIconv(bytes, name);
    const ByteTable& table = byteTable(codePage, name);
    QString result(bytes.size(), Qt::Uninitialized);
    QChar* out = result.data();
    for (const char c : bytes) *out++ = QChar(table[static_cast<unsigned char>(c)]);
    return result;
}

QByteArray encodeCodePage(const QString& text, int codePage, bool* lossless) {
    bool allKept = true;
    QByteArray name = cachedName(codePage);
    if (name.isEmpty()) {
        codePage = 1252;
        name = cachedName(codePage);
    }
    QByteArray result;
    if (isMultiByteCodePage(codePage)) {
        result = encodeWithIconv(text, name, allKept);
    } else {
        // The reverse of the byte table, so that a text encodes back to the bytes it was read from.
        const ByteTable& table = byteTable(codePage, name);
        std::map<char16_t, char> reverse;
        for (int b = 255; b >= 0; --b) reverse[table[b]] = char(b);
        result.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t unit = text[i].unicode();
            const auto it = reverse.find(unit);
            if (it != reverse.end()) {
                result.append(it->second);
                continue;
            }
            allKept = false;
            result.append('?');
            if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        }
    }
    if (lossless) *lossless = allKept;
    return result;
}

}  // namespace platform
