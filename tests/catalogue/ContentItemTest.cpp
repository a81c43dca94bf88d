#include "catalogue/ContentItem.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The bridge's and the editor's delay tests disagree on purpose; a merge of the two would break one.
TEST(ContentItem, TheTwoDelayTestsDifferOnPurpose) {
    struct CCase {
        std::u16string Item;
        bool ContainsMark;
        bool Bracketed;
        int Milliseconds;
    };
    const CCase cases[] = {
        {u"<30 ms>", true, true, 30},    {u"<-4 ms>", true, true, -4},
        {u"<30 ms> A", true, false, 30}, {u"xms>", true, false, 0},
        {u"<x ms>", true, true, 0},      {u"<abc>", false, true, 0},
        {u"<30 ms>>", true, false, 30},  {u"A Down", false, false, 0},
        {u"<", false, false, 0},         {u"<99999999999 ms>", true, true, 2147483647},
    };
    for (const CCase& c : cases) {
        const std::string where(c.Item.begin(), c.Item.end());
        EXPECT_EQ(ContainsDelayMark(c.Item), c.ContainsMark) << where;
        EXPECT_EQ(IsBracketedDelayItem(c.Item), c.Bracketed) << where;
        if (c.ContainsMark) {
            EXPECT_EQ(DelayMilliseconds(c.Item), c.Milliseconds) << where;
        }
    }
    EXPECT_EQ(DelayItem(120), u"<120 ms>");
    EXPECT_EQ(DelayNumberText(u"<30 ms>"), u"30");
}

} // namespace
