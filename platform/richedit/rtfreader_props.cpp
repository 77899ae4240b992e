// RTF reader: character and paragraph properties and the formats built from them.
#include "platform/richedit/rtf_charset.h"
#include "platform/richedit/rtf_reader.h"
#include "platform/richedit/textformat.h"

#include <algorithm>
#include <set>
#include <vector>

namespace richedit::rtf {

namespace {

bool on(std::int32_t param, bool hasParam) { return !hasParam || param != 0; }

int length(std::int32_t param) { return std::clamp(param, -kMaxLength, kMaxLength); }

void setUnderline(CharState& ch, std::uint8_t type, std::int32_t param, bool hasParam) {
    ch.underline = on(param, hasParam) ? type : CFU_UNDERLINENONE;
}

}  // namespace

bool Reader::property(Kw kw, std::int32_t param, bool hasParam) {
    CharState& ch = top().ch;
    ParaState& para = top().para;
    switch (kw) {
    // ---- character
    case Kw::plain: {
        const int link = ch.link;  // a field result stays a link through \plain
        ch = CharState{};
        ch.link = link;
        return true;
    }
    case Kw::f: ch.font = param; return true;
    case Kw::fs: ch.halfPoints = (hasParam && param > 0) ? std::min(param, 3276) : 24; return true;
    case Kw::b:
        ch.bold = on(param, hasParam);
        ch.weight = 0;  // \b says the weight again
        return true;
    case Kw::i: ch.italic = on(param, hasParam); return true;
    case Kw::strike:
    case Kw::striked: ch.strike = on(param, hasParam); return true;
    case Kw::v: ch.hidden = on(param, hasParam); return true;
    case Kw::ul: setUnderline(ch, CFU_UNDERLINE, param, hasParam); return true;
    case Kw::ulw: setUnderline(ch, CFU_UNDERLINEWORD, param, hasParam); return true;
    case Kw::uldb: setUnderline(ch, CFU_UNDERLINEDOUBLE, param, hasParam); return true;
    case Kw::uld: setUnderline(ch, CFU_UNDERLINEDOTTED, param, hasParam); return true;
    case Kw::uldash: setUnderline(ch, CFU_UNDERLINEDASH, param, hasParam); return true;
    case Kw::uldashd: setUnderline(ch, CFU_UNDERLINEDASHDOT, param, hasParam); return true;
    case Kw::uldashdd: setUnderline(ch, CFU_UNDERLINEDASHDOTDOT, param, hasParam); return true;
    case Kw::ulwave: setUnderline(ch, CFU_UNDERLINEWAVE, param, hasParam); return true;
    case Kw::ulth: setUnderline(ch, CFU_UNDERLINETHICK, param, hasParam); return true;
    case Kw::ulnone: ch.underline = CFU_UNDERLINENONE; return true;
    case Kw::sub: ch.script = on(param, hasParam) ? 1 : 0; return true;
    case Kw::super: ch.script = on(param, hasParam) ? 2 : 0; return true;
    case Kw::nosupersub: ch.script = 0; return true;
    case Kw::up: ch.offsetHalfPoints = hasParam ? std::clamp(param, -3276, 3276) : 6; return true;
    case Kw::dn: ch.offsetHalfPoints = -(hasParam ? std::clamp(param, -3276, 3276) : 6); return true;
    case Kw::cf: ch.textColor = std::clamp(param, -1, kMaxTableEntries); return true;
    case Kw::cb:
    case Kw::highlight:
    case Kw::chcbpat: ch.backColor = std::clamp(param, -1, kMaxTableEntries); return true;
    // ---- paragraph
    case Kw::pard: para = ParaState{}; return true;
    case Kw::ql: para.alignment = PFA_LEFT; return true;
    case Kw::qr: para.alignment = PFA_RIGHT; return true;
    case Kw::qc: para.alignment = PFA_CENTER; return true;
    case Kw::qj:
    case Kw::qd: para.alignment = PFA_JUSTIFY; return true;
    case Kw::fi:
        para.first = length(param);
        para.indentsGiven = true;
        return true;
    case Kw::li:
        para.left = length(param);
        para.indentsGiven = true;
        return true;
    case Kw::ri: para.right = length(param); return true;
    case Kw::sb: para.before = std::clamp(param, 0, kMaxLength); return true;
    case Kw::sa: para.after = std::clamp(param, 0, kMaxLength); return true;
    case Kw::sl: para.lineSpacing = length(param); return true;
    case Kw::slmult: para.lineMultiple = on(param, hasParam); return true;
    case Kw::tx: {
        // A stop given twice (by a style and again by its base) is one stop.
        const int stop = std::clamp(param, 0, kMaxLength);
        const auto end = para.tabs.begin() + para.tabCount;
        if (para.tabCount < MAX_TAB_STOPS && std::find(para.tabs.begin(), end, stop) == end)
            para.tabs[std::size_t(para.tabCount++)] = stop;
        return true;
    }
    case Kw::tb: return true;
    case Kw::intbl: para.inTable = true; return true;
    case Kw::pagebb: para.pageBreakBefore = on(param, hasParam); return true;
    case Kw::ls: para.listOverride = param; return true;
    case Kw::ilvl: para.listLevel = std::clamp(param, 0, 8); return true;
    case Kw::s:
        if (top().dest != Dest::StyleSheet) useParagraphStyle(param);
        return true;
    case Kw::cs:
        if (top().dest != Dest::StyleSheet) applyStyle(param);
        return true;
    default: return effectWord(kw, param, hasParam) || styleWord(kw, param);
    }
}

void Reader::applyStyle(int index) {
    // The style and its bases, to be replayed from the first base on; a loop of bases ends where
    // it comes round again. Each step and each use's words are paid from one budget, so that a
    // file of nothing but \s on long chains does not take long.
    std::vector<const Style*> chain;
    std::set<int> seen;
    for (int i = index; i >= 0 && styleBudget_ > 0 && seen.insert(i).second; --styleBudget_) {
        const auto it = styles_.find(i);
        if (it == styles_.end()) break;
        chain.push_back(&it->second);
        i = it->second.basedOn;
    }
    for (auto style = chain.rbegin(); style != chain.rend(); ++style) {
        for (const StyleWord& w : (*style)->words) {
            if (styleBudget_ <= 0) return;
            --styleBudget_;
            property(w.kw, w.param, w.hasParam);
        }
    }
}

int Reader::codePage() const {
    const GroupState& g = stack_.back();
    const FontEntry* font = nullptr;
    if (g.dest == Dest::FontTable && pendingFontIndex_ >= 0) {
        font = &pendingFont_;
    } else {
        auto it = fonts_.find(g.ch.font < 0 ? defaultFont_ : g.ch.font);
        if (it == fonts_.end()) it = fonts_.find(defaultFont_);
        if (it != fonts_.end()) font = &it->second;
    }
    if (!font) return ansiCodePage_;
    return font->codePage ? font->codePage : codePageForCharset(font->charset, ansiCodePage_);
}

QTextCharFormat Reader::charFormat(const CharState& state) {
    for (const CachedFormat& cached : formatCache_)
        if (cached.state == state) return cached.format;

    CHARFORMAT2 cf;
    cf.dwMask = CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_UNDERLINETYPE | CFM_STRIKEOUT | CFM_COLOR |
                CFM_BACKCOLOR | CFM_SUBSCRIPT | CFM_SUPERSCRIPT | CFM_OFFSET | CFM_LINK | CFM_CHARSET;
    auto font = fonts_.find(state.font < 0 ? defaultFont_ : state.font);
    if (font == fonts_.end()) font = fonts_.find(defaultFont_);
    if (font != fonts_.end()) {
        cf.dwMask |= CFM_FACE;
        setFaceName(cf, font->second.name);
        cf.bPitchAndFamily = font->second.pitchAndFamily;
        cf.bCharSet = std::uint8_t(font->second.charset);
    } else {
        cf.bCharSet = DEFAULT_CHARSET;
    }
    cf.yHeight = state.halfPoints * 10;
    if (state.bold) cf.dwEffects |= CFE_BOLD;
    if (state.italic) cf.dwEffects |= CFE_ITALIC;
    if (state.strike) cf.dwEffects |= CFE_STRIKEOUT;
    cf.bUnderlineType = state.underline;
    if (state.underline != CFU_UNDERLINENONE) cf.dwEffects |= CFE_UNDERLINE;
    if (state.script == 1) cf.dwEffects |= CFE_SUBSCRIPT;
    if (state.script == 2) cf.dwEffects |= CFE_SUPERSCRIPT;
    cf.yOffset = state.offsetHalfPoints * 10;
    auto colour = [this](int index) -> std::optional<QColor> {
        if (index < 0 || index >= int(colors_.size())) return std::nullopt;
        return colors_[std::size_t(index)];
    };
    if (const auto c = colour(state.textColor)) cf.crTextColor = colorRefFrom(*c);
    else cf.dwEffects |= CFE_AUTOCOLOR;
    if (const auto c = colour(state.backColor)) cf.crBackColor = colorRefFrom(*c);
    else cf.dwEffects |= CFE_AUTOBACKCOLOR;
    const bool link = state.link >= 0 && state.link < int(fields_.size());
    if (link) cf.dwEffects |= CFE_LINK;
    effectsInto(state, cf);

    QTextCharFormat format;
    applyCharFormat(cf, format);
    if (link) format.setAnchorHref(fields_[std::size_t(state.link)].href);

    if (formatCache_.size() >= 16) formatCache_.erase(formatCache_.begin());
    formatCache_.push_back(CachedFormat{state, format});
    return format;
}

QTextBlockFormat Reader::blockFormat(const ParaState& given) const {
    ParaState para = given;
    para.pageBreakBefore = para.pageBreakBefore || pageBreakNext_;
    if (lastBlockFormat_ && lastBlockFormat_->first == para) return lastBlockFormat_->second;
    PARAFORMAT2 pf;
    pf.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING |
                PFM_SPACEBEFORE | PFM_SPACEAFTER | PFM_LINESPACING | PFM_NUMBERINGSTYLE | PFM_NUMBERINGSTART |
                PFM_NUMBERINGTAB;
    // RTF measures the first line from the left indent; the record measures the other lines from
    // the first.
    pf.dxStartIndent = para.left + para.first;
    pf.dxOffset = -para.first;
    pf.dxRightIndent = para.right;
    pf.wAlignment = para.alignment;
    pf.cTabCount = std::int16_t(para.tabCount);
    std::copy(para.tabs.begin(), para.tabs.begin() + para.tabCount, pf.rgxTabs.begin());
    std::sort(pf.rgxTabs.begin(), pf.rgxTabs.begin() + para.tabCount);
    pf.dySpaceBefore = para.before;
    pf.dySpaceAfter = para.after;
    if (para.lineSpacing == 0) {
        pf.bLineSpacingRule = LS_SINGLE;
    } else if (para.lineSpacing < 0) {
        pf.bLineSpacingRule = LS_EXACTLY;
        pf.dyLineSpacing = -para.lineSpacing;
    } else if (!para.lineMultiple) {
        pf.bLineSpacingRule = LS_ATLEAST;
        pf.dyLineSpacing = para.lineSpacing;
    } else if (para.lineSpacing == 240) {
        pf.bLineSpacingRule = LS_SINGLE;
    } else if (para.lineSpacing == 360) {
        pf.bLineSpacingRule = LS_ONEANDHALF;
    } else if (para.lineSpacing == 480) {
        pf.bLineSpacingRule = LS_DOUBLE;
    } else {
        // \slN\slmult1 is N/240 lines; the record counts lines in twentieths.
        pf.bLineSpacingRule = LS_MULTIPLE;
        pf.dyLineSpacing = para.lineSpacing / 12;
    }
    numberingOf(para, pf.wNumbering, pf.wNumberingStart, pf.wNumberingStyle);
    pf.wNumberingTab = para.numberingTab;
    styleInto(para, pf);
    QTextBlockFormat format;
    applyParaFormat(pf, format);
    if (para.pageBreakBefore) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    lastBlockFormat_.emplace(para, format);
    return format;
}

}  // namespace richedit::rtf
