// The skinned scroll bar's geometry, free of Qt: where its arrows, track parts and thumb lie along the
// bar for a scroll state, which part a point hits, and where a dragged thumb puts the position. The
// control draws and hit-tests with these; the skin painter reads the strip's layout from here.
#pragma once

#include "skin/SkinRegion.h"

// Picture 138: the strip the key assignment editor's scroll bars are drawn from. Nine square cells
// across (up, down, thumb, track of a vertical bar; left, right, thumb, track of a horizontal one;
// one unused), three rows (normal, hover, pressed). The cell size is the bar's thickness.
inline constexpr int ScrollBarStripPicture = 138;
inline constexpr int ScrollBarStripColumns = 9;
inline constexpr int ScrollBarStripRows = 3;
inline constexpr int ScrollBarStripCell = 15;
// The editor's transparent colour: the strip never contains it.
inline constexpr SkinColour ScrollBarStripTransparentColour{255, 0, 0};

enum ScrollBarStripColumn : int {
    StripUpArrow = 0,
    StripDownArrow = 1,
    StripVerticalThumb = 2,
    StripVerticalTrack = 3,
    StripLeftArrow = 4,
    StripRightArrow = 5,
    StripHorizontalThumb = 6,
    StripHorizontalTrack = 7,
};

enum ScrollBarStripRow : int { StripNormal = 0, StripHover = 1, StripPressed = 2 };

// Pixels at each end of the thumb cell that are copied as the thumb's caps; the middle is tiled.
inline constexpr int ScrollThumbCap = 3;
// A thumb is never shorter than this, and a track shorter than this has no thumb.
inline constexpr int ScrollThumbMinimum = 6;

// The parts of a bar, in their order along it.
enum ScrollBarPart : int {
    ScrollPartNone = -1,
    ScrollPartFirstArrow = 0,
    ScrollPartSecondArrow = 1,
    ScrollPartTrackBefore = 2,
    ScrollPartTrackAfter = 3,
    ScrollPartThumb = 5,
};

// What the bar tells its owner.
enum ScrollNotification : int {
    ScrollLineUp = 0,
    ScrollLineDown = 1,
    ScrollPageUp = 2,
    ScrollPageDown = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
};

// The bar's own scroll state. The track position is -1 while the thumb is not dragged.
struct ScrollState {
    int minimum = 0;
    int maximum = 0;
    int page = 0;
    int position = 0;
    int trackPosition = -1;

    // The position the thumb is drawn and hit at: the track position while dragging.
    int ShownPosition() const { return trackPosition != -1 ? trackPosition : position; }
};

// Track length T: the bar less its two arrows, never negative.
int ScrollTrackLength(int length, int cell);
// Scrollable range R = maximum - minimum - page + 1; 0 when the page covers the whole range.
int ScrollRange(const ScrollState& state);
// The last position the bar scrolls to: R, but never below the minimum.
int ScrollLastPosition(const ScrollState& state);
// Thumb length t: the page's share of the track, at least 6, at most the track; 0 on a track shorter
// than 6. forDrawing: also 0 when there is nothing to scroll, so no thumb is drawn.
int ScrollThumbLength(const ScrollState& state, int trackLength, bool forDrawing);
// Free length F: what the thumb leaves of the track.
int ScrollFreeLength(int trackLength, int thumbLength);
// Arrow length a: one cell, or half the bar when there is no track.
int ScrollArrowLength(int length, int cell);
// Thumb start s: after the first arrow, the free length shared out by the shown position; centred
// when there is nothing to scroll.
int ScrollThumbStart(const ScrollState& state, int arrowLength, int freeLength);

// The whole layout along a bar.
struct ScrollBarLayout {
    int length = 0;
    int cell = 0;
    int track = 0;
    int arrow = 0;
    int range = 0;
    int thumbLength = 0;
    int freeLength = 0;
    int thumbStart = 0;
};
ScrollBarLayout LayOutScrollBar(const ScrollState& state, int length, int cell, bool forDrawing);

// A stretch along the bar: begin inside, end outside.
struct ScrollSpan {
    int begin = 0;
    int end = 0;

    bool Contains(int coordinate) const { return coordinate >= begin && coordinate < end; }
    int Length() const { return end - begin; }
    friend bool operator==(const ScrollSpan&, const ScrollSpan&) = default;
};
// Where a part lies along the bar; an empty span for ScrollPartNone.
ScrollSpan ScrollPartSpan(const ScrollBarLayout& layout, int part);
// The part at a coordinate along the bar: none before the bar, the second arrow at and past its start.
int ScrollHitTest(const ScrollBarLayout& layout, int coordinate);

// The position a thumb dragged by offset pixels from where the drag started comes to:
// start + R * offset / F, truncated toward zero, kept within the minimum and the last position.
int ScrollDragPosition(const ScrollState& state, int startPosition, int offset, int freeLength);
// The state after the number of items changed by delta: the maximum moves by delta (to page - 1 when
// it would become negative) and the position is kept within the minimum and the last position.
ScrollState AdjustScrollRange(ScrollState state, int delta);
