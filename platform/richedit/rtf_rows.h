#pragma once
// What the RTF reader and writer agree on about table rows (paragraphs with PFE_TABLE).

#include "platform/richedit/records.h"

#include <vector>

namespace richedit::rtf {

// The width a row without any \cellx shares out equally among its cells: an A4 page's text
// width with margins of 2.5 cm.
inline constexpr int kSynthesizedRowWidth = 9070;
inline constexpr int kMaxCellEdge = 31680;  // twips (22 inches)

// The right edges of a row of `cells` cells: `edges` sorted and de-duplicated, followed, when
// the row has more cells than edges, by edges as wide as the last cell (or equal widths over
// kSynthesizedRowWidth when there are none). At most MAX_TAB_STOPS edges, strictly increasing,
// within [0, kMaxCellEdge] but for those that only a cell past kMaxCellEdge needs (one twip each).
std::vector<int> cellEdges(std::vector<int> edges, int left, int cells);

}  // namespace richedit::rtf
