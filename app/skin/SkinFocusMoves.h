// Where the keyboard focus goes among a window's areas, free of Qt: the reading order of the Tab
// stops, the nearest area in an arrow's direction and the ends of an area's row.
#pragma once

#include "skin/SkinRegion.h"

#include <span>
#include <vector>

enum class FocusDirection { Left, Right, Up, Down };

// The indices of the rectangles in reading order: lines from top to bottom (a rectangle whose
// vertical centre lies within the first rectangle of a line belongs to that line), each from left
// to right.
std::vector<int> ReadingOrder(std::span<const SkinRect> rects);

// The rectangle nearest to rects[from] whose centre lies beyond its centre in the direction: the
// gap along the direction counts once, the distance of the centres across it twice. from when there
// is none.
int NearestInDirection(std::span<const SkinRect> rects, int from, FocusDirection direction);

// The first (leftmost) or last (rightmost) rectangle whose vertical centre lies within rects[from].
int RowEnd(std::span<const SkinRect> rects, int from, bool last);
