// The view state a profile gives its lists (rows shown, first row shown, cursor) is kept within each
// list when read and when the list changes, whatever numbers the file holds.
#include "model/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct CViewCase {
    const char* Name;
    int Items;
    std::string SizeOfView, ViewStartAt, CursorPos; // as the file has them
    int ExpectedSize, ExpectedStart, ExpectedCursor;
};

std::string ProfileWithCombos(const CViewCase& view) {
    std::string file =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Zelk>\r\n<PredefinedCombo>\r\n<List SizeOfView=\"" +
        view.SizeOfView + "\" ViewStartAt=\"" + view.ViewStartAt + "\" CursorPos=\"" + view.CursorPos +
        "\">\r\n";
    for (int i = 0; i < view.Items; ++i)
        file += "<x ID=\"" + std::to_string(i) + "\" t1=\"Combo\"/>\r\n";
    return file + "</List>\r\n</PredefinedCombo>\r\n</Zelk>\r\n";
}

TEST(ViewState, IsKeptWithinTheListWhenReadAndWhenTheListChanges) {
    const CViewCase cases[] = {
        {"within the list", 10, "6", "3", "5", 6, 3, 5},
        {"first row shown far past the items", 3, "6", "2147483647", "1", 6, 2, 0},
        {"all negative", 3, "-5", "-2147483648", "-7", 0, 0, 0},
        {"cursor below the view", 10, "6", "3", "9", 6, 3, 5},
        {"cursor past the last item", 4, "9", "2", "5", 9, 2, 1},
        {"more rows than any view", 2, "2147483647", "0", "1", 1000, 0, 1},
        {"empty list", 0, "9", "4", "3", 9, 0, 0},
    };
    const auto path = std::filesystem::temp_directory_path() / "zelk-view-state-test.pro";
    for (const CViewCase& view : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << ProfileWithCombos(view);
        CKeyboardData data;
        data.Clear();
        ASSERT_TRUE(LoadProfile(data, path)) << view.Name;
        CActionList& combos = data.PredefinedCombo;
        EXPECT_EQ(combos.SizeOfView, view.ExpectedSize) << view.Name;
        EXPECT_EQ(combos.ViewStartAt, view.ExpectedStart) << view.Name;
        EXPECT_EQ(combos.CursorPos, view.ExpectedCursor) << view.Name;

        // A list changed from there stays within itself.
        combos.ViewStartAt = 2147483647;
        combos.CursorPos = 2147483647;
        combos.AppendItem(u"New");
        combos.DeleteItem(combos.CursorPos);
        EXPECT_GE(combos.CursorPos, 0) << view.Name;
        EXPECT_LT(combos.ViewStartAt + combos.CursorPos, std::max(combos.Count(), 1)) << view.Name;
    }
    std::filesystem::remove(path);
}

} // namespace
