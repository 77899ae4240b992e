#include "editing/QxParaAttributes.h"

#include "editing/QxRichEdit.h"
#include "platform/richedit/engine.h"

using namespace richedit;

namespace {

constexpr int kTwipsPerPoint = 20;
constexpr std::uint32_t kAdvancedTypography = 0x0001;  // TO_ADVANCEDTYPOGRAPHY

PARAFORMAT2 record(std::uint32_t mask) {
    PARAFORMAT2 pf{};
    pf.dwMask = mask;
    return pf;
}

}  // namespace

TQxParaAttributes::TQxParaAttributes(TQxRichEdit& owner) : owner_(owner) {}

PARAFORMAT2 TQxParaAttributes::GetAttributes() const {
    if (const Engine* engine = owner_.EngineWindow()) return engine->getParaFormat();
    return PARAFORMAT2{};
}

void TQxParaAttributes::SetAttributes(const PARAFORMAT2& format) { owner_.HandleNeeded().setParaFormat(format); }

TParaAlignment TQxParaAttributes::Alignment() const {
    return TParaAlignment(int(GetAttributes().wAlignment) - 1);
}

void TQxParaAttributes::SetAlignment(TParaAlignment alignment) {
    if (alignment == TParaAlignment::Justify && owner_.AutoAdvancedTypography()) {
        Engine& engine = owner_.HandleNeeded();
        engine.setTypographyOptions(engine.typographyOptions() | kAdvancedTypography);
    }
    PARAFORMAT2 pf = record(PFM_ALIGNMENT);
    pf.wAlignment = std::uint16_t(int(alignment) + 1);
    SetAttributes(pf);
}

int TQxParaAttributes::FirstIndent() const { return GetAttributes().dxStartIndent / kTwipsPerPoint; }

void TQxParaAttributes::SetFirstIndent(int points) {
    PARAFORMAT2 pf = record(PFM_STARTINDENT);
    pf.dxStartIndent = points * kTwipsPerPoint;
    SetAttributes(pf);
}

int TQxParaAttributes::LeftIndent() const { return GetAttributes().dxOffset / kTwipsPerPoint; }

void TQxParaAttributes::SetLeftIndent(int points) {
    PARAFORMAT2 pf = record(PFM_OFFSET);
    pf.dxOffset = points * kTwipsPerPoint;
    SetAttributes(pf);
}

int TQxParaAttributes::RightIndent() const { return GetAttributes().dxRightIndent / kTwipsPerPoint; }

void TQxParaAttributes::SetRightIndent(int points) {
    PARAFORMAT2 pf = record(PFM_RIGHTINDENT);
    pf.dxRightIndent = points * kTwipsPerPoint;
    SetAttributes(pf);
}

int TQxParaAttributes::LineSpacing() const { return GetAttributes().dyLineSpacing / kTwipsPerPoint; }

void TQxParaAttributes::SetLineSpacing(int points) {
    PARAFORMAT2 pf = GetAttributes();
    pf.dwMask = PFM_LINESPACING;
    pf.dyLineSpacing = points * kTwipsPerPoint;
    SetAttributes(pf);
}

int TQxParaAttributes::LineSpacingRule() const { return GetAttributes().bLineSpacingRule; }

void TQxParaAttributes::SetLineSpacingRule(int rule) {
    PARAFORMAT2 pf = GetAttributes();
    pf.dwMask = PFM_LINESPACING;
    pf.bLineSpacingRule = std::uint8_t(rule);
    SetAttributes(pf);
}

int TQxParaAttributes::SpaceBefore() const { return GetAttributes().dySpaceBefore / kTwipsPerPoint; }

void TQxParaAttributes::SetSpaceBefore(int points) {
    PARAFORMAT2 pf = record(PFM_SPACEBEFORE);
    pf.dySpaceBefore = points * kTwipsPerPoint;
    SetAttributes(pf);
}

int TQxParaAttributes::SpaceAfter() const { return GetAttributes().dySpaceAfter / kTwipsPerPoint; }

void TQxParaAttributes::SetSpaceAfter(int points) {
    PARAFORMAT2 pf = record(PFM_SPACEAFTER);
    pf.dySpaceAfter = points * kTwipsPerPoint;
    SetAttributes(pf);
}

int TQxParaAttributes::Numbering() const { return GetAttributes().wNumbering & 0xFF; }

void TQxParaAttributes::SetNumbering(int numbering) {
    if (numbering == PFN_NONE) SetLeftIndent(0);
    else if (LeftIndent() < 10) SetLeftIndent(10);
    PARAFORMAT2 pf = record(PFM_NUMBERING);
    pf.wNumbering = std::uint16_t(numbering);
    SetAttributes(pf);
}

void TQxParaAttributes::SetNumberingStart(int start) {
    PARAFORMAT2 pf = record(PFM_NUMBERINGSTART);
    pf.wNumberingStart = std::uint16_t(start);
    SetAttributes(pf);
}

void TQxParaAttributes::SetNumberingStyle(int style) {
    static constexpr std::uint16_t kStyles[] = {PFNS_PAREN, PFNS_PERIOD, PFNS_PARENS, PFNS_PLAIN};
    if (style < 0 || style > 3) return;
    PARAFORMAT2 pf = record(PFM_NUMBERINGSTYLE);
    pf.wNumberingStyle = kStyles[style];
    SetAttributes(pf);
}

void TQxParaAttributes::Assign(const TQxParaAttributes& source) {
    if (&source == this) return;
    SetAttributes(source.GetAttributes());
}
