#pragma once
// The engine's underline colours: the high four bits of bUnderlineType index this palette. Index 0
// is the text's own colour; 1..15 are the control's fixed colours (black, blue, aqua, lime, fuchsia,
// red, yellow, white, navy, teal, green, purple, maroon, olive, gray). Any other colour is shown as
// the nearest of them.

#include "platform/richedit/records.h"

#include <array>

namespace richedit {

inline constexpr std::array<COLORREF, 16> kUnderlineColors = {
    0x000000,  // 0: the text colour (never looked up)
    0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x0000FF, 0x00FFFF, 0xFFFFFF,
    0x800000, 0x808000, 0x008000, 0x800080, 0x000080, 0x008080, 0x808080,
};  // 0x00BBGGRR

// The palette index (1..15) nearest to `color`.
inline int nearestUnderlineColor(COLORREF color) {
    auto channel = [](COLORREF c, int shift) { return int((c >> shift) & 0xFF); };
    int best = 1;
    long bestDistance = -1;
    for (int i = 1; i < int(kUnderlineColors.size()); ++i) {
        long distance = 0;
        for (int shift : {0, 8, 16}) {
            const long d = channel(color, shift) - channel(kUnderlineColors[std::size_t(i)], shift);
            distance += d * d;
        }
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace richedit
