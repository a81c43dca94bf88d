#include "model/ActionList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::u16string>;

CActionList ListOf(int sizeOfView, int count) {
    CActionList list;
    list.SizeOfView = sizeOfView;
    for (int i = 0; i < count; ++i) {
        list.AppendItem(std::u16string(1, static_cast<char16_t>(u'a' + i)));
    }
    return list;
}

void ExpectView(const CActionList& list, int viewStartAt, int cursorPos) {
    EXPECT_EQ(list.ViewStartAt, viewStartAt);
    EXPECT_EQ(list.CursorPos, cursorPos);
}

TEST(ActionList, AppendScrollsToTheNewLastItem) {
    CActionList three = ListOf(9, 3);
    three.AppendItem(u"x");
    ExpectView(three, 0, 3);

    CActionList nine = ListOf(9, 9);
    ExpectView(nine, 0, 8);
    nine.AppendItem(u"x");
    ExpectView(nine, 1, 8);
    EXPECT_EQ(nine.GetItemText(8), u"x");
    EXPECT_EQ(nine.GetSubList(8).SizeOfView, 9);

    CActionList scrolled = ListOf(6, 20);
    scrolled.SetCursorIndex(0);
    scrolled.SetItemText(200000, u"x");
    ExpectView(scrolled, 15, 5);

    // A list read from a file without attributes shows no rows; the new item is still selected.
    CActionList noView = ListOf(0, 4);
    EXPECT_EQ(noView.ViewStartAt + noView.CursorPos, 3);
}

TEST(ActionList, RowsAreRelativeToTheViewAndNegativeOnesAreNeverBelowCount) {
    CActionList list = ListOf(2, 5);
    ExpectView(list, 3, 1);
    EXPECT_EQ(list.GetItemText(-3), u"a");
    list.SetItemText(1, u"E");
    list.InsertItem(0, u"D0");
    EXPECT_EQ(list.List, (Texts{u"a", u"b", u"c", u"D0", u"d", u"E"}));
    ExpectView(list, 3, 1);
    EXPECT_EQ(list.SubLists.size(), 6u);
    EXPECT_EQ(list.SubLists[3].SizeOfView, 2);

    CActionList rows = ListOf(6, 2);
    rows.SetCursorIndex(0);
    EXPECT_EQ(rows.GetItemText(-1), u"");
    EXPECT_EQ(rows.GetItemText(2), u"");
    EXPECT_EQ(rows.GetSubList(-1).SizeOfView, 6);
    rows.SetItemText(-1, u"set");
    rows.InsertItem(-1, u"inserted");
    CActionList child;
    child.AppendItem(u"A");
    rows.SetSubList(-1, child);
    rows.SetSubList(4, child);
    EXPECT_EQ(rows.List, (Texts{u"a", u"b", u"set", u"inserted"}));
    for (const CActionList& sub : rows.SubLists) {
        EXPECT_EQ(sub.Count(), 0);
    }
}

TEST(ActionList, DeleteClampsRowAndView) {
    CActionList one = ListOf(6, 1);
    one.DeleteItem(0);
    one.DeleteItem(0);
    EXPECT_EQ(one.Count(), 0);
    ExpectView(one, 0, 0);

    CActionList past = ListOf(6, 3);
    past.SetCursorIndex(0);
    past.DeleteItem(10);
    EXPECT_EQ(past.List, (Texts{u"a", u"b"}));
    EXPECT_EQ(past.SubLists.size(), 2u);

    CActionList full = ListOf(6, 10);
    ExpectView(full, 4, 5);
    full.DeleteItem(5);
    ExpectView(full, 4, 4);

    CActionList top = ListOf(6, 3);
    top.ViewStartAt = 2;
    top.CursorPos = 0;
    top.DeleteItem(0);
    EXPECT_EQ(top.List, (Texts{u"a", u"b"}));
    ExpectView(top, 1, 0);

    // A view before the first item (a profile file may hold one) deletes the first item and
    // comes back inside the list.
    CActionList negative = ListOf(6, 3);
    negative.ViewStartAt = -4;
    negative.CursorPos = -1;
    negative.DeleteItem(1);
    EXPECT_EQ(negative.List, (Texts{u"b", u"c"}));
    ExpectView(negative, 0, 0);
}

TEST(ActionList, SetCursorIndexScrollsOnlyWhenOutsideTheView) {
    CActionList list = ListOf(6, 20);
    list.SetCursorIndex(3);
    ExpectView(list, 3, 0);
    list.SetCursorIndex(8);
    ExpectView(list, 3, 5);
    list.SetCursorIndex(9);
    ExpectView(list, 9, 0);
    list.SetCursorIndex(50);
    ExpectView(list, 19, 0);
    list.SetCursorIndex(-5);
    ExpectView(list, 0, 0);

    CActionList empty;
    empty.SizeOfView = 6;
    empty.SetCursorIndex(4);
    ExpectView(empty, 0, 0);
    empty.DeleteItem(0);
    empty.InsertItem(0, u"A");
    EXPECT_EQ(empty.List, Texts{u"A"});
    ExpectView(empty, 0, 0);
}

TEST(ActionList, ClearKeepsViewSizeAndAssignCopiesTheTree) {
    CActionList list = ListOf(9, 12);
    list.Cycles = 5;
    list.IsAutoInterval = true;
    CActionList content = ListOf(9, 1);
    list.SetSubList(0, content);

    CActionList copy;
    copy.Assign(list);
    EXPECT_EQ(copy.SizeOfView, 9);
    ExpectView(copy, 3, 8);
    EXPECT_TRUE(copy.ContentEquals(list));
    copy.SubLists[3].SetItemText(0, u"B");
    EXPECT_EQ(list.SubLists[3].List, Texts{u"a"});

    // Assigning a list to itself or to one of its own children keeps the source intact.
    copy.Assign(copy);
    EXPECT_EQ(copy.Count(), 12);
    copy.Assign(copy.SubLists[3]);
    EXPECT_EQ(copy.List, Texts{u"B"});

    list.Clear();
    EXPECT_TRUE(list.List.empty() && list.SubLists.empty());
    EXPECT_EQ(list.SizeOfView, 9);
    ExpectView(list, 0, 0);
    EXPECT_TRUE(list.ContentEquals(CActionList{}));
}

TEST(ActionList, ContentEqualsComparesItemsAndPlaySettingsOnly) {
    const CActionList a = ListOf(9, 3);
    CActionList b = ListOf(6, 3);
    b.SetCursorIndex(0);
    b.SubLists[1].AppendItem(u"ignored");
    EXPECT_TRUE(a.ContentEquals(b));

    const std::vector<void (*)(CActionList&)> changes = {
        [](CActionList& l) { l.List[2] = u"C"; },
        [](CActionList& l) { l.Delay = 31; },
        [](CActionList& l) { l.IsAutoInterval = true; },
        [](CActionList& l) { l.PlayMode = 1; },
        [](CActionList& l) { l.Cycles = 2; },
        [](CActionList& l) { l.AppendItem(u"d"); },
    };
    for (auto change : changes) {
        CActionList changed = b;
        change(changed);
        EXPECT_FALSE(a.ContentEquals(changed));
    }
    EXPECT_EQ(a.IndexOfText(u"b"), 1);
    EXPECT_EQ(a.IndexOfText(u"B"), -1);
}

TEST(ActionList, SelectOrAddContentAddsOnceThenSelects) {
    CActionList catalogue;
    catalogue.SizeOfView = 6;
    CActionList content;
    content.List = {u"Left CONTROL", u"C"};
    content.SubLists.resize(2);

    catalogue.SelectOrAddContent(content);
    catalogue.SelectOrAddContent(content);
    ASSERT_EQ(catalogue.List, Texts{u"default"});
    EXPECT_TRUE(catalogue.SubLists[0].ContentEquals(content));

    for (int i = 0; i < 10; ++i) {
        catalogue.AppendItem(u"New Combo");
    }
    catalogue.SelectOrAddContent(content);
    EXPECT_EQ(catalogue.Count(), 11);
    ExpectView(catalogue, 0, 0);

    CActionList lower = content;
    lower.List[1] = u"c";
    catalogue.SelectOrAddContent(lower);
    EXPECT_EQ(catalogue.Count(), 12);
    EXPECT_EQ(catalogue.ViewStartAt + catalogue.CursorPos, 11);
    EXPECT_EQ(catalogue.GetSubList(catalogue.CursorPos).List[1], u"c");
}

} // namespace
