// RTF reader: which number each list paragraph shows. The records keep no list identity, so each
// paragraph gets the restart flag and start value that make the engine's counting (numbering.h)
// give the number list-table readers give it, and nested levels a deeper start indent.
#include "platform/richedit/rtf_reader.h"
#include "platform/richedit/textformat.h"

#include <algorithm>

namespace richedit::rtf {

namespace {

constexpr int kNestedIndentStep = 360;  // twips, when a file gives a nested level no indent of its own

}  // namespace

void Reader::commitOverrideLevel() {
    // \lfolevel groups follow the levels in order; only a restart (\listoverridestartat) matters here.
    if (pendingOverrideStartAt_ && pendingOverrideStart_ >= 0 && pendingOverrideLevel_ < kListLevels)
        pendingOverride_.startAt[std::size_t(pendingOverrideLevel_)] = pendingOverrideStart_;
    ++pendingOverrideLevel_;
}

const ListLevelDef* Reader::listLevelOf(const ParaState& para, int* listId) const {
    if (para.listOverride <= 0) return nullptr;
    const auto override = overrides_.find(para.listOverride);
    if (override == overrides_.end()) return nullptr;
    const auto list = lists_.find(override->second.listId);
    if (list == lists_.end() || list->second.empty()) return nullptr;
    if (listId) *listId = list->first;
    const auto& levels = list->second;
    return &levels[std::size_t(std::min<int>(para.listLevel, int(levels.size()) - 1))];
}

void Reader::numberParagraph(QTextBlockFormat& format, const ParaState& para) {
    ListParagraph p = listParagraphOf(format);
    if (p.numbering == PFN_NONE) {
        listCounter_.next(p);
        while (!pnRuns_.empty() && pnRuns_.back().first >= p.startIndent) pnRuns_.pop_back();
        return;
    }
    PARAFORMAT2 pf;
    pf.dwMask = 0;
    int expected = p.start;
    int listId = 0;
    if (const ListLevelDef* level = listLevelOf(para, &listId)) {
        const int v = std::clamp(para.listLevel, 0, kListLevels - 1);
        // A level takes its own indents when the paragraph has none, and sits deeper than its parent.
        if (!para.indentsGiven && level->hasIndent) {
            p.startIndent = level->left + level->first;
            pf.dwMask |= PFM_STARTINDENT | PFM_OFFSET;
            pf.dxOffset = -level->first;
        }
        if (v > 0) {
            const auto parent = levelIndents_.find({listId, v - 1});
            if (parent != levelIndents_.end() && p.startIndent <= parent->second) {
                p.startIndent = parent->second + kNestedIndentStep;
                pf.dwMask |= PFM_STARTINDENT;
            }
        }
        pf.dxStartIndent = p.startIndent;
        levelIndents_[{listId, v}] = p.startIndent;
        while (!pnRuns_.empty() && pnRuns_.back().first >= p.startIndent) pnRuns_.pop_back();

        // The number a list-table reader gives: each list (\listid, whatever \ls names it) counts
        // on through the document; an item starts the levels below its own again.
        ListCount& count = listCounts_[listId];
        const auto& levels = lists_.at(listId);
        for (int deeper = v + 1; deeper < kListLevels; ++deeper) {
            const bool noRestart = deeper < int(levels.size()) && levels[std::size_t(deeper)].noRestart;
            if (!noRestart) count.started[std::size_t(deeper)] = false;
        }
        const int overrideStart = overrides_.at(para.listOverride).startAt[std::size_t(v)];
        int& number = count.number[std::size_t(v)];
        if (overrideStart >= 0 && overrideStarted_.insert({para.listOverride, v}).second) number = overrideStart;
        else if (!count.started[std::size_t(v)]) number = level->start;
        else number = std::min(number + 1, 65535);
        count.started[std::size_t(v)] = true;
        expected = number;
    } else {
        // \pn: a paragraph continues the list before it unless its \pnstart differs from that list's.
        while (!pnRuns_.empty() && pnRuns_.back().first > p.startIndent) pnRuns_.pop_back();
        const bool sameStart = !pnRuns_.empty() && pnRuns_.back().first == p.startIndent &&
                               pnRuns_.back().second == para.numberingStart;
        const int continued = listCounter_.continuing(p);
        expected = (continued > 0 && sameStart) ? continued : p.start;
        if (!pnRuns_.empty() && pnRuns_.back().first == p.startIndent) pnRuns_.pop_back();
        pnRuns_.emplace_back(p.startIndent, para.numberingStart);
    }

    const int continued = listCounter_.continuing(p);
    if (continued == 0 || (p.numbering != PFN_BULLET && continued != expected)) {
        pf.dwMask |= PFM_NUMBERINGSTYLE;
        pf.wNumberingStyle = p.style | PFNS_NEWNUMBER;
        if (p.numbering != PFN_BULLET) {
            pf.dwMask |= PFM_NUMBERINGSTART;
            pf.wNumberingStart = std::uint16_t(std::clamp(expected, 0, 65535));
        }
    }
    if (pf.dwMask) applyParaFormat(pf, format);
    listCounter_.next(listParagraphOf(format));
}

}  // namespace richedit::rtf
