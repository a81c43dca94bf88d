#include "skin/SkinFocusMoves.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// Twice the centre, so that it stays whole.
int CentreX2(const SkinRect& rect) {
    return rect.left + rect.right;
}

int CentreY2(const SkinRect& rect) {
    return rect.top + rect.bottom;
}

bool CentreWithinRows(const SkinRect& rect, const SkinRect& row) {
    return CentreY2(rect) >= 2 * row.top && CentreY2(rect) < 2 * row.bottom;
}

} // namespace

std::vector<int> ReadingOrder(std::span<const SkinRect> rects) {
    std::vector<int> byTop(rects.size());
    for (std::size_t i = 0; i < rects.size(); ++i)
        byTop[i] = static_cast<int>(i);
    std::stable_sort(byTop.begin(), byTop.end(), [rects](int a, int b) {
        return rects[static_cast<std::size_t>(a)].top < rects[static_cast<std::size_t>(b)].top;
    });
    std::vector<int> order;
    std::size_t lineStart = 0;
    while (lineStart < byTop.size()) {
        const SkinRect& first = rects[static_cast<std::size_t>(byTop[lineStart])];
        std::size_t lineEnd = lineStart + 1;
        while (lineEnd < byTop.size() &&
               CentreWithinRows(rects[static_cast<std::size_t>(byTop[lineEnd])], first))
            ++lineEnd;
        std::vector<int> line(byTop.begin() + static_cast<std::ptrdiff_t>(lineStart),
                              byTop.begin() + static_cast<std::ptrdiff_t>(lineEnd));
        std::stable_sort(line.begin(), line.end(), [rects](int a, int b) {
            return rects[static_cast<std::size_t>(a)].left < rects[static_cast<std::size_t>(b)].left;
        });
        order.insert(order.end(), line.begin(), line.end());
        lineStart = lineEnd;
    }
    return order;
}

int NearestInDirection(std::span<const SkinRect> rects, int from, FocusDirection direction) {
    if (from < 0 || static_cast<std::size_t>(from) >= rects.size())
        return from;
    const SkinRect& here = rects[static_cast<std::size_t>(from)];
    int best = from;
    long bestScore = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const SkinRect& there = rects[i];
        const int dx2 = CentreX2(there) - CentreX2(here);
        const int dy2 = CentreY2(there) - CentreY2(here);
        int gap = 0;
        int across2 = 0;
        switch (direction) {
        case FocusDirection::Left:
            if (dx2 >= 0)
                continue;
            gap = here.left - there.right;
            across2 = dy2;
            break;
        case FocusDirection::Right:
            if (dx2 <= 0)
                continue;
            gap = there.left - here.right;
            across2 = dy2;
            break;
        case FocusDirection::Up:
            if (dy2 >= 0)
                continue;
            gap = here.top - there.bottom;
            across2 = dx2;
            break;
        case FocusDirection::Down:
            if (dy2 <= 0)
                continue;
            gap = there.top - here.bottom;
            across2 = dx2;
            break;
        }
        const long score = std::max(gap, 0) + std::labs(across2);
        if (score < bestScore) {
            bestScore = score;
            best = static_cast<int>(i);
        }
    }
    return best;
}

int RowEnd(std::span<const SkinRect> rects, int from, bool last) {
    if (from < 0 || static_cast<std::size_t>(from) >= rects.size())
        return from;
    const SkinRect& here = rects[static_cast<std::size_t>(from)];
    int end = from;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (!CentreWithinRows(rects[i], here))
            continue;
        const SkinRect& best = rects[static_cast<std::size_t>(end)];
        if (last ? rects[i].right > best.right : rects[i].left < best.left)
            end = static_cast<int>(i);
    }
    return end;
}
