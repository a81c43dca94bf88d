// Where the arrows, Home, End and Tab take the focus among literal key rectangles: a row of three
// keys with a gap, a row of four, a wide space bar and an arrow key to its right.
#include "skin/SkinFocusMoves.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// 0 Esc, 1 F1, 2 F2 / 3 `, 4 1, 5 2, 6 3 / 7 Space, 8 Up.
constexpr std::array<SkinRect, 9> Keys{{
    {0, 0, 40, 40},
    {50, 0, 90, 40},
    {100, 0, 140, 40},
    {0, 50, 40, 90},
    {40, 50, 80, 90},
    {80, 50, 120, 90},
    {120, 50, 160, 90},
    {30, 100, 140, 140},
    {200, 100, 240, 140},
}};

TEST(SkinFocusMoves, ArrowsGoToTheNearestKeyInTheirDirection) {
    EXPECT_EQ(NearestInDirection(Keys, 0, FocusDirection::Right), 1);
    EXPECT_EQ(NearestInDirection(Keys, 4, FocusDirection::Left), 3);
    // F1 sits over the left half of "1".
    EXPECT_EQ(NearestInDirection(Keys, 1, FocusDirection::Down), 4);
    EXPECT_EQ(NearestInDirection(Keys, 4, FocusDirection::Up), 1);
    EXPECT_EQ(NearestInDirection(Keys, 6, FocusDirection::Down), 7);
    EXPECT_EQ(NearestInDirection(Keys, 7, FocusDirection::Up), 5);
    // Past the space bar's end the arrow key is nearer than "3" above it.
    EXPECT_EQ(NearestInDirection(Keys, 7, FocusDirection::Right), 8);
    EXPECT_EQ(NearestInDirection(Keys, 8, FocusDirection::Left), 7);
}

TEST(SkinFocusMoves, AnArrowWithNothingBeyondStays) {
    EXPECT_EQ(NearestInDirection(Keys, 0, FocusDirection::Up), 0);
    EXPECT_EQ(NearestInDirection(Keys, 0, FocusDirection::Left), 0);
    EXPECT_EQ(NearestInDirection(Keys, 7, FocusDirection::Down), 7);
    EXPECT_EQ(NearestInDirection(Keys, 8, FocusDirection::Right), 8);
    EXPECT_EQ(NearestInDirection(Keys, -1, FocusDirection::Right), -1);
}

TEST(SkinFocusMoves, HomeAndEndGoToTheEndsOfTheRow) {
    EXPECT_EQ(RowEnd(Keys, 5, false), 3);
    EXPECT_EQ(RowEnd(Keys, 5, true), 6);
    EXPECT_EQ(RowEnd(Keys, 0, true), 2);
    EXPECT_EQ(RowEnd(Keys, 8, false), 7);
    EXPECT_EQ(RowEnd(Keys, 7, true), 8);
}

TEST(SkinFocusMoves, ReadingOrderIsLinesTopDownEachLeftToRight) {
    // A button row whose caption strip sits a little lower than its icons, and a switch below.
    const std::vector<SkinRect> stops{{300, 20, 330, 50},
                                      {35, 95, 130, 130},
                                      {250, 20, 280, 50},
                                      {150, 101, 245, 130},
                                      {50, 210, 120, 270}};
    EXPECT_EQ(ReadingOrder(stops), (std::vector<int>{2, 0, 1, 3, 4}));
    EXPECT_EQ(ReadingOrder(Keys), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

} // namespace
