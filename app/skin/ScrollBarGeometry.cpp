#include "skin/ScrollBarGeometry.h"

#include <algorithm>
#include <cstdint>

int ScrollTrackLength(int length, int cell) {
    return std::max(0, length - 2 * cell);
}

int ScrollRange(const ScrollState& state) {
    // A page larger than the range leaves nothing to scroll, as a page that just covers it.
    const std::int64_t range = static_cast<std::int64_t>(state.maximum) - state.minimum - state.page + 1;
    return static_cast<int>(std::clamp<std::int64_t>(range, 0, INT32_MAX));
}

int ScrollLastPosition(const ScrollState& state) {
    return std::max(state.minimum, ScrollRange(state));
}

int ScrollThumbLength(const ScrollState& state, int trackLength, bool forDrawing) {
    if (trackLength < ScrollThumbMinimum)
        return 0;
    if (forDrawing && ScrollRange(state) == 0)
        return 0;
    // An empty or inverted range (the maximum below the minimum) is covered by any page; the
    // thumb then fills the track instead of dividing by nothing.
    const std::int64_t span = static_cast<std::int64_t>(state.maximum) - state.minimum + 1;
    std::int64_t thumb = trackLength;
    if (span > 0 && state.page < span)
        thumb = static_cast<std::int64_t>(state.page) * trackLength / span;
    return static_cast<int>(std::clamp<std::int64_t>(thumb, ScrollThumbMinimum, trackLength));
}

int ScrollFreeLength(int trackLength, int thumbLength) {
    return trackLength - thumbLength;
}

int ScrollArrowLength(int length, int cell) {
    return ScrollTrackLength(length, cell) == 0 ? length / 2 : cell;
}

int ScrollThumbStart(const ScrollState& state, int arrowLength, int freeLength) {
    const int range = ScrollRange(state);
    if (range == 0)
        return arrowLength + freeLength / 2;
    // A position outside the range (set from outside) keeps the thumb on its track.
    const std::int64_t position = std::clamp(state.ShownPosition(), 0, range);
    return arrowLength + static_cast<int>(static_cast<std::int64_t>(freeLength) * position / range);
}

ScrollBarLayout LayOutScrollBar(const ScrollState& state, int length, int cell, bool forDrawing) {
    ScrollBarLayout layout;
    layout.length = std::max(0, length);
    layout.cell = std::max(0, cell);
    layout.track = ScrollTrackLength(layout.length, layout.cell);
    layout.arrow = ScrollArrowLength(layout.length, layout.cell);
    layout.range = ScrollRange(state);
    layout.thumbLength = ScrollThumbLength(state, layout.track, forDrawing);
    layout.freeLength = ScrollFreeLength(layout.track, layout.thumbLength);
    layout.thumbStart = ScrollThumbStart(state, layout.arrow, layout.freeLength);
    return layout;
}

ScrollSpan ScrollPartSpan(const ScrollBarLayout& layout, int part) {
    const int secondArrow = layout.length - layout.arrow;
    const int thumbEnd = layout.thumbStart + layout.thumbLength;
    switch (part) {
    case ScrollPartFirstArrow:
        return {0, layout.arrow};
    case ScrollPartTrackBefore:
        return {layout.arrow, layout.thumbStart};
    case ScrollPartThumb:
        return {layout.thumbStart, thumbEnd};
    case ScrollPartTrackAfter:
        return {thumbEnd, secondArrow};
    case ScrollPartSecondArrow:
        return {secondArrow, layout.length};
    default:
        return {};
    }
}

int ScrollHitTest(const ScrollBarLayout& layout, int coordinate) {
    if (coordinate < 0)
        return ScrollPartNone;
    for (const int part :
         {ScrollPartFirstArrow, ScrollPartTrackBefore, ScrollPartThumb, ScrollPartTrackAfter}) {
        if (ScrollPartSpan(layout, part).Contains(coordinate))
            return part;
    }
    return ScrollPartSecondArrow;
}

int ScrollDragPosition(const ScrollState& state, int startPosition, int offset, int freeLength) {
    std::int64_t position = startPosition;
    // Integer division truncates toward zero, so a small drag either way moves by the same amount.
    if (freeLength != 0)
        position += static_cast<std::int64_t>(ScrollRange(state)) * offset / freeLength;
    return static_cast<int>(std::clamp<std::int64_t>(position, state.minimum, ScrollLastPosition(state)));
}

ScrollState AdjustScrollRange(ScrollState state, int delta) {
    const std::int64_t maximum = static_cast<std::int64_t>(state.maximum) + delta;
    state.maximum =
        maximum < 0 ? state.page - 1 : static_cast<int>(std::min<std::int64_t>(maximum, INT32_MAX));
    state.position = std::clamp(state.position, state.minimum, ScrollLastPosition(state));
    return state;
}
