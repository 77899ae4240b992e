#pragma once
// The engine's records and constants, with the documented field names, units and values of the
// rich-text control the program was written against. Lengths are twips (1/1440 inch), colours
// 0x00BBGGRR. Records are plain data: clear them with `{}` before use.

#include <array>
#include <cstdint>

namespace richedit {

using COLORREF = std::uint32_t;

// ---- character format ------------------------------------------------------------------------

inline constexpr std::uint32_t CFM_BOLD = 0x00000001;
inline constexpr std::uint32_t CFM_ITALIC = 0x00000002;
inline constexpr std::uint32_t CFM_UNDERLINE = 0x00000004;
inline constexpr std::uint32_t CFM_STRIKEOUT = 0x00000008;
inline constexpr std::uint32_t CFM_PROTECTED = 0x00000010;
inline constexpr std::uint32_t CFM_LINK = 0x00000020;
inline constexpr std::uint32_t CFM_SMALLCAPS = 0x00000040;
inline constexpr std::uint32_t CFM_ALLCAPS = 0x00000080;
inline constexpr std::uint32_t CFM_HIDDEN = 0x00000100;
inline constexpr std::uint32_t CFM_OUTLINE = 0x00000200;
inline constexpr std::uint32_t CFM_SHADOW = 0x00000400;
inline constexpr std::uint32_t CFM_EMBOSS = 0x00000800;
inline constexpr std::uint32_t CFM_IMPRINT = 0x00001000;
inline constexpr std::uint32_t CFM_SUBSCRIPT = 0x00010000;
inline constexpr std::uint32_t CFM_SUPERSCRIPT = 0x00020000;
inline constexpr std::uint32_t CFM_WEIGHT = 0x00400000;
inline constexpr std::uint32_t CFM_UNDERLINETYPE = 0x00800000;
inline constexpr std::uint32_t CFM_BACKCOLOR = 0x04000000;
inline constexpr std::uint32_t CFM_CHARSET = 0x08000000;
inline constexpr std::uint32_t CFM_OFFSET = 0x10000000;
inline constexpr std::uint32_t CFM_FACE = 0x20000000;
inline constexpr std::uint32_t CFM_COLOR = 0x40000000;
inline constexpr std::uint32_t CFM_SIZE = 0x80000000;

inline constexpr std::uint32_t CFE_BOLD = 0x00000001;
inline constexpr std::uint32_t CFE_ITALIC = 0x00000002;
inline constexpr std::uint32_t CFE_UNDERLINE = 0x00000004;
inline constexpr std::uint32_t CFE_STRIKEOUT = 0x00000008;
inline constexpr std::uint32_t CFE_PROTECTED = 0x00000010;
inline constexpr std::uint32_t CFE_LINK = 0x00000020;
inline constexpr std::uint32_t CFE_SMALLCAPS = 0x00000040;
inline constexpr std::uint32_t CFE_ALLCAPS = 0x00000080;
inline constexpr std::uint32_t CFE_HIDDEN = 0x00000100;  // kept and saved, neither drawn nor printed
inline constexpr std::uint32_t CFE_OUTLINE = 0x00000200;
inline constexpr std::uint32_t CFE_SHADOW = 0x00000400;
inline constexpr std::uint32_t CFE_EMBOSS = 0x00000800;
inline constexpr std::uint32_t CFE_IMPRINT = 0x00001000;
// The effects above that have no Qt property of their own; they travel together in one.
inline constexpr std::uint32_t kStoredCharEffects = CFE_PROTECTED | CFE_SMALLCAPS | CFE_ALLCAPS | CFE_HIDDEN |
                                                    CFE_OUTLINE | CFE_SHADOW | CFE_EMBOSS | CFE_IMPRINT;
inline constexpr std::uint32_t CFE_SUBSCRIPT = 0x00010000;
inline constexpr std::uint32_t CFE_SUPERSCRIPT = 0x00020000;
inline constexpr std::uint32_t CFE_AUTOBACKCOLOR = 0x04000000;
inline constexpr std::uint32_t CFE_AUTOCOLOR = 0x40000000;

// bUnderlineType (low four bits; the high four bits carry the underline colour index)
inline constexpr std::uint8_t CFU_UNDERLINENONE = 0;
inline constexpr std::uint8_t CFU_UNDERLINE = 1;
inline constexpr std::uint8_t CFU_UNDERLINEWORD = 2;
inline constexpr std::uint8_t CFU_UNDERLINEDOUBLE = 3;
inline constexpr std::uint8_t CFU_UNDERLINEDOTTED = 4;
inline constexpr std::uint8_t CFU_UNDERLINEDASH = 5;
inline constexpr std::uint8_t CFU_UNDERLINEDASHDOT = 6;
inline constexpr std::uint8_t CFU_UNDERLINEDASHDOTDOT = 7;
inline constexpr std::uint8_t CFU_UNDERLINEWAVE = 8;
inline constexpr std::uint8_t CFU_UNDERLINETHICK = 9;

// scopes of EM_SETCHARFORMAT / EM_GETCHARFORMAT
inline constexpr std::uint32_t SCF_DEFAULT = 0x0000;
inline constexpr std::uint32_t SCF_SELECTION = 0x0001;
inline constexpr std::uint32_t SCF_WORD = 0x0002;
inline constexpr std::uint32_t SCF_ALL = 0x0004;

inline constexpr int LF_FACESIZE = 32;

// pitch in the low two bits of bPitchAndFamily
inline constexpr std::uint8_t DEFAULT_PITCH = 0;
inline constexpr std::uint8_t FIXED_PITCH = 1;
inline constexpr std::uint8_t VARIABLE_PITCH = 2;

inline constexpr std::uint8_t DEFAULT_CHARSET = 1;
inline constexpr std::uint8_t ANSI_CHARSET = 0;
inline constexpr std::uint8_t EASTEUROPE_CHARSET = 238;

struct CHARFORMAT2 {
    std::uint32_t cbSize = sizeof(CHARFORMAT2);
    std::uint32_t dwMask = 0;
    std::uint32_t dwEffects = 0;
    std::int32_t yHeight = 0;  // twips
    std::int32_t yOffset = 0;  // twips, positive raises
    COLORREF crTextColor = 0;
    std::uint8_t bCharSet = 0;
    std::uint8_t bPitchAndFamily = 0;
    std::array<char16_t, LF_FACESIZE> szFaceName{};  // NUL-terminated unless all 32 are used
    std::uint16_t wWeight = 0;
    COLORREF crBackColor = 0;
    std::uint8_t bUnderlineType = 0;
};

// ---- paragraph format ------------------------------------------------------------------------

inline constexpr std::uint32_t PFM_STARTINDENT = 0x00000001;
inline constexpr std::uint32_t PFM_RIGHTINDENT = 0x00000002;
inline constexpr std::uint32_t PFM_OFFSET = 0x00000004;
inline constexpr std::uint32_t PFM_ALIGNMENT = 0x00000008;
inline constexpr std::uint32_t PFM_TABSTOPS = 0x00000010;
inline constexpr std::uint32_t PFM_NUMBERING = 0x00000020;
inline constexpr std::uint32_t PFM_SPACEBEFORE = 0x00000040;
inline constexpr std::uint32_t PFM_SPACEAFTER = 0x00000080;
inline constexpr std::uint32_t PFM_LINESPACING = 0x00000100;
inline constexpr std::uint32_t PFM_STYLE = 0x00000400;
inline constexpr std::uint32_t PFM_BORDER = 0x00000800;
inline constexpr std::uint32_t PFM_SHADING = 0x00001000;
inline constexpr std::uint32_t PFM_NUMBERINGSTYLE = 0x00002000;
inline constexpr std::uint32_t PFM_NUMBERINGTAB = 0x00004000;
inline constexpr std::uint32_t PFM_NUMBERINGSTART = 0x00008000;
inline constexpr std::uint32_t PFM_OUTLINELEVEL = 0x02000000;
inline constexpr std::uint32_t PFM_TABLE = 0x40000000;
inline constexpr std::uint32_t PFM_OFFSETINDENT = 0x80000000;

// wEffects (each PFE_ bit is its PFM_ mask bit shifted down by 16)
inline constexpr std::uint16_t PFE_TABLE = 0x4000;

// A table row is one paragraph with PFE_TABLE. Its cells are separated by a tab (the cell mark):
// n cells hold n - 1 tabs. The row's own properties live in the paragraph's fields:
// - rgxTabs[0..cTabCount-1]: the right edge of each cell (\cellx), from the left margin;
// - dxStartIndent: the left edge of the row (\trleft); dxOffset: half the gap between the text of
//   two cells (\trgaph);
// - dyLineSpacing with bLineSpacingRule LS_ATLEAST or LS_EXACTLY: the row height (\trrh);
// - wBorders (PFBRD_ bits), wBorderWidth (twips): the cell borders drawn.
inline constexpr std::uint16_t PFBRD_LEFT = 0x0001;
inline constexpr std::uint16_t PFBRD_RIGHT = 0x0002;
inline constexpr std::uint16_t PFBRD_TOP = 0x0004;
inline constexpr std::uint16_t PFBRD_BOTTOM = 0x0008;
inline constexpr std::uint16_t PFBRD_INSIDE = 0x0010;  // between cells of a row

inline constexpr std::uint16_t PFA_LEFT = 1;
inline constexpr std::uint16_t PFA_RIGHT = 2;
inline constexpr std::uint16_t PFA_CENTER = 3;
inline constexpr std::uint16_t PFA_JUSTIFY = 4;

// wNumbering
inline constexpr std::uint16_t PFN_NONE = 0;
inline constexpr std::uint16_t PFN_BULLET = 1;
inline constexpr std::uint16_t PFN_ARABIC = 2;
inline constexpr std::uint16_t PFN_LCLETTER = 3;
inline constexpr std::uint16_t PFN_UCLETTER = 4;
inline constexpr std::uint16_t PFN_LCROMAN = 5;
inline constexpr std::uint16_t PFN_UCROMAN = 6;

// wNumberingStyle
inline constexpr std::uint16_t PFNS_PAREN = 0x0000;   // 1)
inline constexpr std::uint16_t PFNS_PARENS = 0x0100;  // (1)
inline constexpr std::uint16_t PFNS_PERIOD = 0x0200;  // 1.
inline constexpr std::uint16_t PFNS_PLAIN = 0x0300;   // 1
inline constexpr std::uint16_t PFNS_NEWNUMBER = 0x8000;  // this paragraph starts a new list at wNumberingStart

// bLineSpacingRule
inline constexpr std::uint8_t LS_SINGLE = 0;
inline constexpr std::uint8_t LS_ONEANDHALF = 1;
inline constexpr std::uint8_t LS_DOUBLE = 2;
inline constexpr std::uint8_t LS_ATLEAST = 3;
inline constexpr std::uint8_t LS_EXACTLY = 4;
inline constexpr std::uint8_t LS_MULTIPLE = 5;  // dyLineSpacing / 20 lines

inline constexpr int MAX_TAB_STOPS = 32;

struct PARAFORMAT2 {
    std::uint32_t cbSize = sizeof(PARAFORMAT2);
    std::uint32_t dwMask = 0;
    std::uint16_t wNumbering = 0;
    std::uint16_t wEffects = 0;  // PFE_ bits
    std::int32_t dxStartIndent = 0;  // first line, from the left edge
    std::int32_t dxRightIndent = 0;
    std::int32_t dxOffset = 0;  // further lines, relative to the first line
    std::uint16_t wAlignment = 0;
    std::int16_t cTabCount = 0;
    std::array<std::int32_t, MAX_TAB_STOPS> rgxTabs{};
    std::int32_t dySpaceBefore = 0;
    std::int32_t dySpaceAfter = 0;
    std::int32_t dyLineSpacing = 0;
    std::int16_t sStyle = 0;  // index of the paragraph's style in the document's style sheet
    std::uint8_t bLineSpacingRule = 0;
    std::uint8_t bOutlineLevel = 0;  // 0 body text; 1..9 heading levels
    std::uint16_t wShadingWeight = 0;
    std::uint16_t wShadingStyle = 0;
    std::uint16_t wNumberingStart = 0;
    std::uint16_t wNumberingStyle = 0;
    std::uint16_t wNumberingTab = 0;
    std::uint16_t wBorderSpace = 0;
    std::uint16_t wBorderWidth = 0;
    std::uint16_t wBorders = 0;
};

// ---- ranges, find, format-range ---------------------------------------------------------------

struct CHARRANGE {
    int cpMin = 0;
    int cpMax = 0;  // -1 means "to the end"
    bool operator==(const CHARRANGE&) const = default;
};

inline constexpr std::uint32_t FR_DOWN = 0x00000001;
inline constexpr std::uint32_t FR_WHOLEWORD = 0x00000002;
inline constexpr std::uint32_t FR_MATCHCASE = 0x00000004;

struct FINDTEXTEX {
    CHARRANGE chrg;       // the range to search; cpMax -1 is the end of the text
    const char16_t* lpstrText = nullptr;  // the text to find, NUL-terminated
    CHARRANGE chrgText;   // the match, or (-1, -1)
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const RECT&) const = default;
};

// ---- event mask and notifications -------------------------------------------------------------

inline constexpr std::uint32_t ENM_NONE = 0x00000000;
inline constexpr std::uint32_t ENM_CHANGE = 0x00000001;
inline constexpr std::uint32_t ENM_UPDATE = 0x00000002;
inline constexpr std::uint32_t ENM_SCROLL = 0x00000004;
inline constexpr std::uint32_t ENM_KEYEVENTS = 0x00010000;
inline constexpr std::uint32_t ENM_MOUSEEVENTS = 0x00020000;
inline constexpr std::uint32_t ENM_REQUESTRESIZE = 0x00040000;
inline constexpr std::uint32_t ENM_SELCHANGE = 0x00080000;
inline constexpr std::uint32_t ENM_DROPFILES = 0x00100000;
inline constexpr std::uint32_t ENM_PROTECTED = 0x00200000;
inline constexpr std::uint32_t ENM_LINK = 0x04000000;

// text mode (EM_SETTEXTMODE)
inline constexpr std::uint32_t TM_PLAINTEXT = 1;
inline constexpr std::uint32_t TM_RICHTEXT = 2;
inline constexpr std::uint32_t TM_SINGLELEVELUNDO = 4;
inline constexpr std::uint32_t TM_MULTILEVELUNDO = 8;

// options (EM_SETOPTIONS)
inline constexpr std::uint32_t ECO_AUTOWORDSELECTION = 0x00000001;
// EM_SETLANGOPTIONS
inline constexpr std::uint32_t IMF_AUTOKEYBOARD = 0x0001;
inline constexpr std::uint32_t IMF_AUTOFONT = 0x0002;
inline constexpr std::uint32_t IMF_IMECANCELCOMPLETE = 0x0004;
inline constexpr std::uint32_t IMF_IMEALWAYSSENDNOTIFY = 0x0008;
inline constexpr std::uint32_t ECO_SELECTIONBAR = 0x01000000;

// stream formats and flags (EM_STREAMIN / EM_STREAMOUT)
inline constexpr std::uint32_t SF_TEXT = 0x0001;
inline constexpr std::uint32_t SF_RTF = 0x0002;
inline constexpr std::uint32_t SF_RTFNOOBJS = 0x0003;
inline constexpr std::uint32_t SF_UNICODE = 0x0010;
inline constexpr std::uint32_t SFF_PLAINRTF = 0x4000;
inline constexpr std::uint32_t SFF_SELECTION = 0x8000;

// mouse messages reported with a link notification
enum class MouseMessage { LeftDown, LeftUp, RightDown, RightUp, Move, LeftDoubleClick };

}  // namespace richedit
