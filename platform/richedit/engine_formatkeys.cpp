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

// The digit of a number-row key. Layouts that put letters there (Czech: + ě š č ř ž ý á í é) still
// give Ctrl+1, Ctrl+2 and Ctrl+5 by the key's place, as the digit is printed on it; the place is the
// xkb key code (evdev code + 8) that the Linux platforms report: 10 is "1" up to 18 for "9".
int digitOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const quint32 code = event.nativeScanCode();
    if (code >= 10 && code <= 18) return int(code) - 9;
#endif
    return -1;
}

}  // namespace

bool applyFormatKey(Engine& engine, const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (!(modifiers & Qt::ControlModifier) || (modifiers & (Qt::AltModifier | Qt::MetaModifier))) return false;
    if (engine.textMode() & TM_PLAINTEXT) return false;  // plain text has no formatting to change

    const int key = event.key();
    const int digit = digitOf(event);
    if (!shift && (digit == 1 || digit == 2 || digit == 5)) {
        lineSpacing(engine, digit == 1 ? LS_SINGLE : digit == 2 ? LS_DOUBLE : LS_ONEANDHALF);
        return true;
    }
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
    case Qt::Key_Equal: toggleOffset(engine, CFE_SUBSCRIPT); return true;
    default: return false;
    }
}

}  // namespace richedit
