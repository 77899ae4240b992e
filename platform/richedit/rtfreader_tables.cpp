// RTF reader: font, colour and style tables, list tables and old-style (\pn) numbering.
#include "platform/richedit/rtf_reader.h"

#include <algorithm>

namespace richedit::rtf {

namespace {

// How a list level's number is followed or surrounded, from the text around its placeholder.
std::uint16_t numberingStyleFrom(QStringView before, QStringView after) {
    const QChar next = after.isEmpty() ? QChar() : after.front();
    if (next == u'.') return PFNS_PERIOD;
    if (next == u')') return (!before.isEmpty() && before.back() == u'(') ? PFNS_PARENS : PFNS_PAREN;
    return PFNS_PLAIN;
}

std::uint16_t numberingFromNfc(int nfc) {
    switch (nfc) {
    case 1: return PFN_UCROMAN;
    case 2: return PFN_LCROMAN;
    case 3: return PFN_UCLETTER;
    case 4: return PFN_LCLETTER;
    case 23: return PFN_BULLET;
    default: return PFN_ARABIC;
    }
}

}  // namespace

bool Reader::tableWord(Kw kw, std::int32_t param, bool hasParam) {
    switch (top().dest) {
    case Dest::FontTable:
        switch (kw) {
        case Kw::f:
            commitFont();
            pendingFontIndex_ = param;
            pendingFont_ = FontEntry{};
            return true;
        case Kw::fnil: pendingFont_.pitchAndFamily = (pendingFont_.pitchAndFamily & 0x0F) | 0x00; return true;
        case Kw::froman: pendingFont_.pitchAndFamily = (pendingFont_.pitchAndFamily & 0x0F) | 0x10; return true;
        case Kw::fswiss: pendingFont_.pitchAndFamily = (pendingFont_.pitchAndFamily & 0x0F) | 0x20; return true;
        case Kw::fmodern: pendingFont_.pitchAndFamily = (pendingFont_.pitchAndFamily & 0x0F) | 0x30; return true;
        case Kw::fscript: pendingFont_.pitchAndFamily = (pendingFont_.pitchAndFamily & 0x0F) | 0x40; return true;
        case Kw::fdecor: pendingFont_.pitchAndFamily = (pendingFont_.pitchAndFamily & 0x0F) | 0x50; return true;
        case Kw::ftech:
        case Kw::fbidi: return true;
        case Kw::fcharset: pendingFont_.charset = std::clamp(param, 0, 255); return true;
        case Kw::fprq:
            pendingFont_.pitchAndFamily = std::uint8_t((pendingFont_.pitchAndFamily & 0xF0) | (param & 0x03));
            return true;
        case Kw::cpg: pendingFont_.codePage = std::clamp(param, 0, 65535); return true;
        default: return false;
        }
    case Dest::ColorTable:
        switch (kw) {
        case Kw::red: red_ = std::clamp(param, 0, 255); return true;
        case Kw::green: green_ = std::clamp(param, 0, 255); return true;
        case Kw::blue: blue_ = std::clamp(param, 0, 255); return true;
        default: return false;
        }
    case Dest::StyleSheet:
        switch (kw) {
        case Kw::s:
        case Kw::cs:
            // The words an entry held before it named its index are its own.
            if (!pendingStyle_.implicit) {
                commitStyle();
                pendingStyle_ = Style{};
            }
            pendingStyle_.implicit = false;
            pendingStyleIndex_ = std::max(param, 0);
            pendingStyle_.paragraph = kw == Kw::s;
            return true;
        case Kw::ds:
        case Kw::ts:
            commitStyle();  // section and table styles have nothing we show
            pendingStyleIndex_ = -1;
            return true;
        case Kw::sbasedon: pendingStyle_.basedOn = param; return true;
        case Kw::snext: pendingStyle_.next = param; return true;
        default: return false;
        }
    case Dest::List:
        if (kw == Kw::listid) pendingListId_ = param;
        return kw == Kw::listid;
    case Dest::ListLevel:
        switch (kw) {
        case Kw::levelnfc:
        case Kw::levelnfcn: pendingLevel_.nfc = param; return true;
        case Kw::levelstartat: pendingLevel_.start = std::clamp(param, 0, 65535); return true;
        case Kw::levelnorestart: pendingLevel_.noRestart = !hasParam || param != 0; return true;
        case Kw::li:
            pendingLevel_.left = std::clamp(param, -kMaxLength, kMaxLength);
            pendingLevel_.hasIndent = true;
            return true;
        case Kw::fi:
            pendingLevel_.first = std::clamp(param, -kMaxLength, kMaxLength);
            pendingLevel_.hasIndent = true;
            return true;
        default: return false;
        }
    case Dest::ListOverride:
        if (kw == Kw::listid) overrideListId_ = param;
        if (kw == Kw::ls) overrideLs_ = param;
        return kw == Kw::listid || kw == Kw::ls;
    case Dest::ListOverrideLevel:
        if (kw == Kw::listoverridestartat) pendingOverrideStartAt_ = true;
        if (kw == Kw::levelstartat) pendingOverrideStart_ = std::clamp(param, 0, 65535);
        return kw == Kw::listoverridestartat || kw == Kw::levelstartat;
    case Dest::Pn:
        switch (kw) {
        case Kw::pnlvlblt: pn_.numbering = PFN_BULLET; return true;
        case Kw::pnlvlbody:
        case Kw::pnlvl:
            if (pn_.numbering == PFN_NONE) pn_.numbering = PFN_ARABIC;
            return true;
        case Kw::pnlvlcont: pn_.numbering = PFN_NONE; return true;
        case Kw::pndec: pn_.numbering = PFN_ARABIC; return true;
        case Kw::pnlcltr: pn_.numbering = PFN_LCLETTER; return true;
        case Kw::pnucltr: pn_.numbering = PFN_UCLETTER; return true;
        case Kw::pnlcrm: pn_.numbering = PFN_LCROMAN; return true;
        case Kw::pnucrm: pn_.numbering = PFN_UCROMAN; return true;
        case Kw::pnstart: pn_.start = std::clamp(param, 0, 65535); return true;
        case Kw::pnindent: pn_.indent = std::clamp(param, 0, 65535); return true;
        default: return false;
        }
    default:
        (void)hasParam;
        return false;
    }
}

void Reader::commitFont() {
    if (pendingFontIndex_ < 0) return;
    if (int(fonts_.size()) < kMaxTableEntries || fonts_.count(pendingFontIndex_)) {
        // The records hold LF_FACESIZE characters of a name: cut here, so that no blank ends it.
        pendingFont_.name = pendingFont_.name.trimmed().left(LF_FACESIZE).trimmed();
        fonts_[pendingFontIndex_] = pendingFont_;
    }
    pendingFontIndex_ = -1;
    pendingFont_ = FontEntry{};
}

void Reader::commitColor() {
    if (int(colors_.size()) < kMaxTableEntries) {
        if (red_ < 0 && green_ < 0 && blue_ < 0) colors_.push_back(std::nullopt);  // the automatic colour
        else colors_.push_back(QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
    }
    red_ = green_ = blue_ = -1;
}

void Reader::commitStyle() {
    const bool unnamedDefault = pendingStyle_.implicit && pendingStyle_.name.trimmed().isEmpty();
    if (pendingStyleIndex_ >= 0 && !unnamedDefault &&
        (int(styles_.size()) < kMaxTableEntries || styles_.count(pendingStyleIndex_)))
        styles_[pendingStyleIndex_] = std::move(pendingStyle_);
    pendingStyleIndex_ = -1;
    pendingStyle_ = Style{};
}

void Reader::commitListLevel() {
    if (pendingLevels_.size() < 9) pendingLevels_.push_back(pendingLevel_);
    pendingLevel_ = ListLevelDef{};
}

void Reader::commitList() {
    if (int(lists_.size()) < kMaxTableEntries || lists_.count(pendingListId_))
        lists_[pendingListId_] = std::move(pendingLevels_);
    pendingLevels_.clear();
}

void Reader::commitListOverride() {
    pendingOverride_.listId = overrideListId_;
    if (overrideLs_ > 0 && (int(overrides_.size()) < kMaxTableEntries || overrides_.count(overrideLs_)))
        overrides_[overrideLs_] = pendingOverride_;
    pendingOverride_ = ListOverrideDef{};
    pendingOverrideLevel_ = 0;
}

void Reader::commitPn(GroupState& parent) {
    ParaState& para = parent.para;
    para.numbering = pn_.numbering;
    para.numberingStart = std::uint16_t(pn_.start);
    para.numberingTab = std::uint16_t(pn_.indent);
    para.numberingStyle = pn_.numbering == PFN_BULLET ? PFNS_PAREN : numberingStyleFrom(pn_.before, pn_.after);
    // A bullet's character is the text before it.
    if (pn_.numbering == PFN_BULLET) para.numberingStart = pn_.before.isEmpty() ? 0 : pn_.before.front().unicode();
}

bool Reader::listNumbering(const ParaState& para, std::uint16_t& numbering, std::uint16_t& start,
                           std::uint16_t& style) const {
    const ListLevelDef* found = listLevelOf(para);
    if (!found) return false;
    const ListLevelDef& level = *found;

    // \leveltext: a length, then the text in which characters 0..8 stand for the level numbers.
    const QString& raw = level.text;
    const QStringView text = raw.isEmpty() ? QStringView() : QStringView(raw).mid(1, raw.front().unicode());
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() <= 8) {
            if (first < 0) first = i;
            last = i;
        }
    }
    start = std::uint16_t(level.start);
    if (level.nfc == 23 || (first < 0 && !text.isEmpty())) {
        numbering = PFN_BULLET;
        style = PFNS_PAREN;
        start = text.isEmpty() ? 0 : text.front().unicode();  // which bullet
    } else if (level.nfc == 255) {
        numbering = PFN_NONE;
        style = PFNS_PAREN;
    } else {
        numbering = numberingFromNfc(level.nfc);
        style = first < 0 ? PFNS_PLAIN : numberingStyleFrom(text.left(first), text.mid(last + 1));
    }
    return true;
}

void Reader::numberingOf(const ParaState& para, std::uint16_t& numbering, std::uint16_t& start,
                         std::uint16_t& style) const {
    if (listNumbering(para, numbering, start, style)) return;
    numbering = para.numbering;
    start = para.numbering == PFN_NONE ? 1 : para.numberingStart;
    style = para.numbering == PFN_NONE ? PFNS_PAREN : para.numberingStyle;
}

}  // namespace richedit::rtf
