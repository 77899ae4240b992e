// RTF reader: the character effects beyond bold, italic and underline (hidden, protected, capitals,
// outline, shadow, emboss, imprint), the underline kinds and colour, and our own weight word.
#include "platform/richedit/rtf_reader.h"
#include "platform/richedit/textformat.h"
#include "platform/richedit/underlinecolors.h"

#include <algorithm>

namespace richedit::rtf {

namespace {

bool on(std::int32_t param, bool hasParam) { return !hasParam || param != 0; }

void setWeight(CharState& ch, std::int32_t param) {
    ch.weight = std::clamp(param, 1, 1000);
    ch.bold = ch.weight >= 600;
}

}  // namespace

bool Reader::effectWord(Kw kw, std::int32_t param, bool hasParam) {
    CharState& ch = top().ch;
    auto effect = [&](std::uint32_t bit) {
        if (on(param, hasParam)) ch.effects |= bit;
        else ch.effects &= ~bit;
        return true;
    };
    // The record has no thick or heavy kinds: they take the kind of the same pattern.
    auto underline = [&](std::uint8_t type) {
        ch.underline = on(param, hasParam) ? type : CFU_UNDERLINENONE;
        return true;
    };
    switch (kw) {
    case Kw::protect: return effect(CFE_PROTECTED);
    case Kw::scaps: return effect(CFE_SMALLCAPS);
    case Kw::caps: return effect(CFE_ALLCAPS);
    case Kw::outl: return effect(CFE_OUTLINE);
    case Kw::shad: return effect(CFE_SHADOW);
    case Kw::embo: return effect(CFE_EMBOSS);
    case Kw::impr: return effect(CFE_IMPRINT);
    case Kw::ulc: ch.underlineColor = std::clamp(param, -1, kMaxTableEntries); return true;
    case Kw::ulhwave:
    case Kw::ululdbwave: return underline(CFU_UNDERLINEWAVE);
    case Kw::ulthd: return underline(CFU_UNDERLINEDOTTED);
    case Kw::ulthdash:
    case Kw::ulldash:
    case Kw::ulthldash: return underline(CFU_UNDERLINEDASH);
    case Kw::ulthdashd: return underline(CFU_UNDERLINEDASHDOT);
    case Kw::ulthdashdd: return underline(CFU_UNDERLINEDASHDOTDOT);
    case Kw::qxweight: setWeight(ch, param); return true;
    default: return false;
    }
}

bool Reader::ownWeight(Kw kw, std::int32_t param, bool star) {
    // {\*\qxweightN} sets the weight of the group around it, where other readers see only \b.
    if (kw != Kw::qxweight || !star || stack_.size() < 2) return false;
    GroupState& around = stack_[stack_.size() - 2];
    setWeight(around.ch, param);
    if (around.dest == Dest::StyleSheet && pendingStyleIndex_ >= 0 && int(pendingStyle_.words.size()) < kMaxStyleWords)
        pendingStyle_.words.push_back(StyleWord{kw, param, true});
    setDest(Dest::Skip);
    return true;
}

void Reader::effectsInto(const CharState& state, CHARFORMAT2& cf) const {
    cf.dwMask |= kStoredCharEffects;
    cf.dwEffects |= state.effects & kStoredCharEffects;
    if (state.hidden) cf.dwEffects |= CFE_HIDDEN;
    if (state.weight > 0) {
        cf.dwMask |= CFM_WEIGHT;
        cf.wWeight = std::uint16_t(state.weight);
    }
    if ((cf.bUnderlineType & 0x0F) != CFU_UNDERLINENONE && state.underlineColor >= 0 &&
        state.underlineColor < int(colors_.size())) {
        if (const auto& colour = colors_[std::size_t(state.underlineColor)])
            cf.bUnderlineType = std::uint8_t((cf.bUnderlineType & 0x0F) | (nearestUnderlineColor(colorRefFrom(*colour)) << 4));
    }
}

}  // namespace richedit::rtf
