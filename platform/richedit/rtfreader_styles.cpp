// RTF reader: the style sheet's paragraph styles kept with the document, and each paragraph's
// style and outline level.
#include "platform/richedit/rtf_reader.h"
#include "platform/richedit/stylesheet.h"
#include "platform/richedit/textformat.h"

#include <QTextDocument>

#include <memory>

namespace richedit::rtf {

namespace {

constexpr std::uint8_t kNoLevelGiven = 0xFF;

}  // namespace

bool Reader::styleWord(Kw kw, std::int32_t param) {
    if (kw != Kw::outlinelevel) return false;
    // \outlinelevel0..8 are the heading levels; anything else (9 included) is body text.
    top().para.outlineLevel = (param >= 0 && param <= 8) ? std::uint8_t(param + 1) : 0;
    return true;
}

void Reader::beginStyleEntry() {
    // An entry without \s, \cs, \ds or \ts is the paragraph style 0 (Word writes Normal so).
    commitStyle();
    pendingStyleIndex_ = StyleSheet::kNormal;
    pendingStyle_ = Style{};
    pendingStyle_.paragraph = true;
    pendingStyle_.implicit = true;
}

void Reader::useParagraphStyle(std::int32_t index) {
    applyStyle(index);
    const auto it = styles_.find(index);
    top().para.style = (it != styles_.end() && it->second.paragraph) ? index : StyleSheet::kNormal;
    // A heading by its name alone is one here too.
    const auto level = styleLevel_.find(index);
    if (level != styleLevel_.end()) top().para.outlineLevel = level->second;
}

void Reader::installStyleSheet() {
    // Each install builds every style read so far: a file of many style sheets must not repeat that
    // without end. Real files have one.
    if (++styleSheetsInstalled_ > kMaxStyleSheets) return;
    StyleSheet incoming;
    for (const auto& [index, style] : styles_) {
        if (!style.paragraph || index > StyleSheet::kMaxIndex) continue;
        // The style's own formatting: its words (and its bases') on top of the defaults.
        GroupState scratch;
        scratch.para.outlineLevel = kNoLevelGiven;
        stack_.push_back(scratch);
        applyStyle(index);
        const GroupState built = stack_.back();
        stack_.pop_back();

        auto paragraphStyle = [this](int i) {
            const auto it = styles_.find(i);
            return it != styles_.end() && it->second.paragraph && i <= StyleSheet::kMaxIndex;
        };
        ParagraphStyle kept;
        kept.name = style.name.trimmed();
        kept.basedOn = (style.basedOn != index && paragraphStyle(style.basedOn)) ? style.basedOn : -1;
        kept.next = paragraphStyle(style.next) ? style.next : -1;
        kept.outlineLevel = built.para.outlineLevel == kNoLevelGiven ? headingLevelOfName(kept.name) : built.para.outlineLevel;
        ParaState para = built.para;
        para.outlineLevel = kept.outlineLevel;
        kept.para = paraFormatFrom(blockFormat(para));
        kept.para.bOutlineLevel = kept.outlineLevel;
        styleLevel_[index] = kept.outlineLevel;
        kept.chars = charFormatFrom(charFormat(built.ch), CHARFORMAT2{});
        incoming.set(index, std::move(kept));
    }
    if (incoming.empty()) return;
    QTextDocument& document = *cursor_.document();
    auto merged = std::make_shared<StyleSheet>();
    if (const auto current = StyleSheet::of(document)) *merged = *current;
    styleIndex_ = merged->merge(incoming);
    StyleSheet::install(document, std::move(merged));
}

void Reader::styleInto(const ParaState& para, PARAFORMAT2& pf) const {
    pf.dwMask |= PFM_STYLE | PFM_OUTLINELEVEL;
    const auto it = styleIndex_.find(para.style);
    pf.sStyle = std::int16_t(it != styleIndex_.end() ? it->second : StyleSheet::kNormal);
    pf.bOutlineLevel = para.outlineLevel == kNoLevelGiven ? 0 : para.outlineLevel;
}

}  // namespace richedit::rtf
