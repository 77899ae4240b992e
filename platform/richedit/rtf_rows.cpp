// The cell edges of a table row, shared by the RTF reader and writer.
#include "platform/richedit/rtf_rows.h"

#include <algorithm>

namespace richedit::rtf {

std::vector<int> cellEdges(std::vector<int> edges, int left, int cells) {
    constexpr int maxEdge = kMaxCellEdge;
    for (int& e : edges) e = std::clamp(e, 0, maxEdge);
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    if (edges.size() > std::size_t(MAX_TAB_STOPS)) edges.resize(MAX_TAB_STOPS);
    cells = std::min(cells, MAX_TAB_STOPS);
    if (int(edges.size()) >= cells) return edges;
    if (edges.empty()) {
        for (int i = 1; i <= cells; ++i) edges.push_back(kSynthesizedRowWidth * i / cells);
        return edges;
    }
    const int previous = edges.size() > 1 ? edges[edges.size() - 2] : std::clamp(left, 0, edges.back());
    const int width = std::max(edges.back() - previous, 1);
    // Past the widest edge each further cell still gets an edge of its own, one twip on, so that no
    // reader takes two cells for one.
    while (int(edges.size()) < cells)
        edges.push_back(edges.back() < maxEdge ? std::min(edges.back() + width, maxEdge) : edges.back() + 1);
    return edges;
}

}  // namespace richedit::rtf
