#pragma once
// Font character sets of RTF (\fcharset) and the code pages their \'hh bytes are written in.

namespace richedit::rtf {

// The code page of bytes written under a font of `charset`; DEFAULT_CHARSET (1), unknown and
// symbol charsets fall back to the document's \ansicpg.
int codePageForCharset(int charset, int ansiCodePage);

// The charset a writer declares for a font whose text is in `codePage` (1250 -> 238 ...).
int charsetForCodePage(int codePage);

}  // namespace richedit::rtf
