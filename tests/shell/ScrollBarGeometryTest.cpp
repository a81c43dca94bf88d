// The scroll bar's layout along the bar, its hit test, the dragged thumb's position and the range
// adjustment, on a bar of cell size 15.
#include "skin/ScrollBarGeometry.h"

#include <gtest/gtest.h>

namespace {

constexpr int C = 15;

struct LayoutCase {
    const char* name;
    int length;
    ScrollState state;
    bool forDrawing;
    int track, arrow, range, thumb, free, start;
};

const LayoutCase LayoutCases[] = {
    {"thumb at the top", 126, {0, 19, 5, 0}, false, 96, 15, 15, 24, 72, 15},
    {"thumb at the end", 126, {0, 19, 5, 15}, false, 96, 15, 15, 24, 72, 87},
    {"thumb start truncated", 126, {0, 19, 5, 7}, false, 96, 15, 15, 24, 72, 48},
    {"track position while dragging", 126, {0, 19, 5, 0, 15}, false, 96, 15, 15, 24, 72, 87},
    {"position past the range stays on the track", 126, {0, 19, 5, 40}, false, 96, 15, 15, 24, 72, 87},
    {"thumb never shorter than 6", 126, {0, 999, 5, 995}, false, 96, 15, 995, 6, 90, 105},
    {"editor list of 3 with page 9", 126, {0, 11, 9, 2}, false, 96, 15, 3, 72, 24, 31},
    {"bar of exactly 2c: arrows only", 30, {0, 19, 5, 0}, false, 0, 15, 15, 0, 0, 15},
    {"bar shorter than 2c: half each", 20, {0, 19, 5, 0}, false, 0, 10, 15, 0, 0, 10},
    {"odd bar shorter than 2c", 25, {0, 19, 5, 0}, true, 0, 12, 15, 0, 0, 12},
    {"track shorter than 6 has no thumb", 35, {0, 19, 5, 15}, false, 5, 15, 15, 0, 5, 20},
    {"page covers the range: nothing drawn, split evenly", 126, {0, 9, 10, 0}, true, 96, 15, 0, 0, 96, 63},
    {"page covers the range: thumb fills the track", 126, {0, 9, 10, 0}, false, 96, 15, 0, 96, 0, 15},
    {"page larger than the range", 126, {0, 4, 10, 0}, false, 96, 15, 0, 96, 0, 15},
    {"empty range with page 0", 126, {0, -1, 0, 0}, false, 96, 15, 0, 96, 0, 15},
};

struct HitCase {
    int length;
    ScrollState state;
    int coordinate;
    int part;
};

const HitCase HitCases[] = {
    // Thumb over [48, 72), second arrow from 111.
    {126, {0, 19, 5, 7}, -1, ScrollPartNone},
    {126, {0, 19, 5, 7}, 0, ScrollPartFirstArrow},
    {126, {0, 19, 5, 7}, 14, ScrollPartFirstArrow},
    {126, {0, 19, 5, 7}, 15, ScrollPartTrackBefore},
    {126, {0, 19, 5, 7}, 47, ScrollPartTrackBefore},
    {126, {0, 19, 5, 7}, 48, ScrollPartThumb},
    {126, {0, 19, 5, 7}, 71, ScrollPartThumb},
    {126, {0, 19, 5, 7}, 72, ScrollPartTrackAfter},
    {126, {0, 19, 5, 7}, 110, ScrollPartTrackAfter},
    {126, {0, 19, 5, 7}, 111, ScrollPartSecondArrow},
    {126, {0, 19, 5, 7}, 125, ScrollPartSecondArrow},
    {126, {0, 19, 5, 7}, 126, ScrollPartSecondArrow},
    {126, {0, 19, 5, 7}, 900, ScrollPartSecondArrow},
    // Thumb at the top: no track before it.
    {126, {0, 19, 5, 0}, 15, ScrollPartThumb},
    {126, {0, 19, 5, 0}, 39, ScrollPartTrackAfter},
    // Nothing to scroll: the whole track is thumb.
    {126, {0, 9, 10, 0}, 15, ScrollPartThumb},
    {126, {0, 9, 10, 0}, 110, ScrollPartThumb},
    // Arrows only.
    {30, {0, 19, 5, 0}, 14, ScrollPartFirstArrow},
    {30, {0, 19, 5, 0}, 15, ScrollPartSecondArrow},
    {25, {0, 19, 5, 0}, 11, ScrollPartFirstArrow},
    {25, {0, 19, 5, 0}, 12, ScrollPartTrackAfter},
    {25, {0, 19, 5, 0}, 13, ScrollPartSecondArrow},
};

struct DragCase {
    ScrollState state;
    int startPosition, offset, freeLength;
    int position;
};

const DragCase DragCases[] = {
    // R = 15, F = 72: 15 * 10 / 72 = 2.08.
    {{0, 19, 5, 7}, 7, 10, 72, 9},    {{0, 19, 5, 7}, 7, -10, 72, 5}, // toward zero, not down to 4
    {{0, 19, 5, 7}, 7, 4, 72, 7},     {{0, 19, 5, 7}, 7, -4, 72, 7},  {{0, 19, 5, 7}, 7, 1000, 72, 15},
    {{0, 19, 5, 7}, 7, -1000, 72, 0}, {{0, 9, 10, 0}, 0, 50, 0, 0},   {{2, 21, 5, 7}, 7, -1000, 72, 2},
    {{2, 21, 5, 7}, 7, 1000, 72, 15},
};

struct AdjustCase {
    ScrollState state;
    int delta;
    int maximum, position;
};

const AdjustCase AdjustCases[] = {
    {{0, 11, 9, 3}, 1, 12, 3}, {{0, 12, 9, 4}, -1, 11, 3}, {{0, 9, 9, 0}, -1, 8, 0},
    {{0, 0, 9, 0}, -5, 8, 0},  {{0, 0, 0, 0}, -1, -1, 0},
};

} // namespace

TEST(ScrollBarGeometry, LayoutAlongTheBar) {
    for (const LayoutCase& c : LayoutCases) {
        SCOPED_TRACE(c.name);
        const ScrollBarLayout layout = LayOutScrollBar(c.state, c.length, C, c.forDrawing);
        EXPECT_EQ(layout.track, c.track);
        EXPECT_EQ(layout.arrow, c.arrow);
        EXPECT_EQ(layout.range, c.range);
        EXPECT_EQ(layout.thumbLength, c.thumb);
        EXPECT_EQ(layout.freeLength, c.free);
        EXPECT_EQ(layout.thumbStart, c.start);
    }
}

TEST(ScrollBarGeometry, PartsCoverTheBarInOrder) {
    const ScrollBarLayout layout = LayOutScrollBar({0, 19, 5, 7}, 126, C, false);
    EXPECT_EQ(ScrollPartSpan(layout, ScrollPartFirstArrow), (ScrollSpan{0, 15}));
    EXPECT_EQ(ScrollPartSpan(layout, ScrollPartTrackBefore), (ScrollSpan{15, 48}));
    EXPECT_EQ(ScrollPartSpan(layout, ScrollPartThumb), (ScrollSpan{48, 72}));
    EXPECT_EQ(ScrollPartSpan(layout, ScrollPartTrackAfter), (ScrollSpan{72, 111}));
    EXPECT_EQ(ScrollPartSpan(layout, ScrollPartSecondArrow), (ScrollSpan{111, 126}));
    EXPECT_EQ(ScrollPartSpan(layout, ScrollPartNone).Length(), 0);
}

TEST(ScrollBarGeometry, HitTestAtPartBoundaries) {
    for (const HitCase& c : HitCases) {
        SCOPED_TRACE(testing::Message()
                     << "length " << c.length << " position " << c.state.position << " at " << c.coordinate);
        EXPECT_EQ(ScrollHitTest(LayOutScrollBar(c.state, c.length, C, false), c.coordinate), c.part);
    }
}

TEST(ScrollBarGeometry, DraggedThumbPosition) {
    for (const DragCase& c : DragCases) {
        SCOPED_TRACE(testing::Message() << "from " << c.startPosition << " by " << c.offset);
        EXPECT_EQ(ScrollDragPosition(c.state, c.startPosition, c.offset, c.freeLength), c.position);
    }
}

TEST(ScrollBarGeometry, AdjustRangeKeepsThePositionInRange) {
    for (const AdjustCase& c : AdjustCases) {
        SCOPED_TRACE(testing::Message() << "maximum " << c.state.maximum << " by " << c.delta);
        const ScrollState adjusted = AdjustScrollRange(c.state, c.delta);
        EXPECT_EQ(adjusted.maximum, c.maximum);
        EXPECT_EQ(adjusted.position, c.position);
        EXPECT_EQ(adjusted.page, c.state.page);
    }
}
