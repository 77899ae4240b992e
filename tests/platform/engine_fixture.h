#pragma once
// Helpers for the engine tests: an engine of a known size and records filled in one line.

#include "platform/richedit/engine.h"
#include "platform/richedit/textformat.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstring>

#include <memory>

namespace enginetest {

inline std::unique_ptr<richedit::Engine> makeEngine(int width = 400, int height = 300) {
    auto engine = std::make_unique<richedit::Engine>();
    engine->resize(width, height);
    engine->show();  // a shown widget has its viewport laid out at the size asked for
    engine->exLimitText(0xFFFFFF);
    return engine;
}

// A container that accepts every object, as the editor control's callback does.
inline richedit::Engine::ObjectCallback& acceptingObjects() {
    struct Accepting final : richedit::Engine::ObjectCallback {
        bool queryInsertObject(int) override { return true; }
        bool queryAcceptData(const QMimeData*) override { return true; }
    };
    static Accepting callback;
    return callback;
}

inline richedit::CHARFORMAT2 charFormat(std::uint32_t mask, std::uint32_t effects = 0) {
    richedit::CHARFORMAT2 cf;
    cf.dwMask = mask;
    cf.dwEffects = effects;
    return cf;
}

inline richedit::PARAFORMAT2 paraFormat(std::uint32_t mask) {
    richedit::PARAFORMAT2 pf;
    pf.dwMask = mask;
    return pf;
}

inline QString text(const richedit::Engine& engine) { return engine.getTextRange(0, -1); }

// A stream that hands `data` over in blocks of at most `block` bytes.
inline richedit::EDITSTREAM streamFrom(const QByteArray& data, int block = 1 << 30) {
    auto offset = std::make_shared<qsizetype>(0);
    richedit::EDITSTREAM stream;
    stream.pfnCallback = [data, offset, block](char* buffer, int count, int& transferred) -> std::uint32_t {
        transferred = int(std::min<qsizetype>({qsizetype(count), qsizetype(block), data.size() - *offset}));
        std::memcpy(buffer, data.constData() + *offset, transferred);
        *offset += transferred;
        return 0;
    };
    return stream;
}

// A stream that appends what it is handed to `out`.
inline richedit::EDITSTREAM streamInto(QByteArray& out) {
    richedit::EDITSTREAM stream;
    stream.pfnCallback = [&out](char* buffer, int count, int& transferred) -> std::uint32_t {
        out.append(buffer, count);
        transferred = count;
        return 0;
    };
    return stream;
}

// One page through format-range: the text from `from` rendered into `rc` (twips) with `painter`,
// paginated for `target`. Returns the first character that did not fit.
inline int formatPage(richedit::Engine& engine, QPainter& painter, QPaintDevice* target, const richedit::RECT& rc,
                      int from = 0) {
    richedit::FORMATRANGE range;
    range.hdc = &painter;
    range.hdcTarget = target;
    range.rc = rc;
    range.rcPage = rc;
    range.chrg = {from, -1};
    return engine.formatRange(&range, true);
}

// A shown engine of the given size holding the RTF document `rtf`.
inline std::unique_ptr<richedit::Engine> engineWithRtf(const QByteArray& rtf, int width = 600, int height = 400) {
    auto engine = makeEngine(width, height);
    richedit::EDITSTREAM stream = streamFrom(rtf);
    engine->streamIn(richedit::SF_RTF, stream);
    return engine;
}

}  // namespace enginetest
