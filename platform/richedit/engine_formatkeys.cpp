#include "platform/richedit/engine_formatkeys.h"

#include "platform/richedit/engine.h"

#include <QKeyEvent>

namespace richedit {

namespace {

// Bold, italic and underline share their mask and effect bits.
void toggleStyle(Engine& engine, std::uint32_t bit) {
    const bool on = engine.getCharFormat(SCF_SELECTION).dwEffects & bit;
    CHARFORMAT2 cf{};
    cf.dwMask = bit;
    cf.dwEffects = on ? 0 : bit;
    engine.setCharFormat(SCF_SELECTION, cf);
}

// Subscript and superscript exclude each other: one write sets the one and clears the other.
void toggleOffset(Engine& engine, std::uint32_t effect) {
    const bool on = engine.getCharFormat(SCF_SELECTION).dwEffects & effect;
    CHARFORMAT2 cf{};
    cf.dwMask = CFM_SUBSCRIPT | CFM_SUPERSCRIPT;
    cf.dwEffects = on ? 0 : effect;
    engine.setCharFormat(SCF_SELECTION, cf);
}

void align(Engine& engine, std::uint16_t alignment) {
    PARAFORMAT2 pf{};
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = alignment;
    engine.setParaFormat(pf);
}

// The rule alone changes; the spacing value stays as the paragraph has it.
void lineSpacing(Engine& engine, std::uint8_t rule) {
    PARAFORMAT2 pf = engine.getParaFormat();
    pf.dwMask = PFM_LINESPACING;
    pf.bLineSpacingRule = rule;
    engine.setParaFormat(pf);
}

}  // namespace

bool applyFormatKey(Engine& engine, const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (!(modifiers & Qt::ControlModifier) || (modifiers & (Qt::AltModifier | Qt::MetaModifier))) return false;
    if (engine.textMode() & TM_PLAINTEXT) return false;  // plain text has no formatting to change

    const int key = event.key();
    if (key == Qt::Key_Plus || (shift && key == Qt::Key_Equal)) {
        toggleOffset(engine, CFE_SUPERSCRIPT);
        return true;
    }
    if (shift) return false;
    switch (key) {
    case Qt::Key_B: toggleStyle(engine, CFE_BOLD); return true;
    case Qt::Key_I: toggleStyle(engine, CFE_ITALIC); return true;
    case Qt::Key_U: toggleStyle(engine, CFE_UNDERLINE); return true;
    case Qt::Key_L: align(engine, PFA_LEFT); return true;
    case Qt::Key_E: align(engine, PFA_CENTER); return true;
    case Qt::Key_R: align(engine, PFA_RIGHT); return true;
    case Qt::Key_J: align(engine, PFA_JUSTIFY); return true;
    case Qt::Key_1: lineSpacing(engine, LS_SINGLE); return true;
    case Qt::Key_5: lineSpacing(engine, LS_ONEANDHALF); return true;
    case Qt::Key_2: lineSpacing(engine, LS_DOUBLE); return true;
    case Qt::Key_Equal: toggleOffset(engine, CFE_SUBSCRIPT); return true;
    default: return false;
    }
}

}  // namespace richedit
