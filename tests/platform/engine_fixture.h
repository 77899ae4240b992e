#pragma once
// Helpers for the engine tests: an engine of a known size and records filled in one line.

#include "platform/richedit/engine.h"
#include "platform/richedit/textformat.h"

#include <QString>

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

}  // namespace enginetest
