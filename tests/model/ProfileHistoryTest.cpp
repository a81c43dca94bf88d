#include "model/ProfileHistory.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<CKeyboardData> Cleared() {
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->Clear();
    return data;
}

CHistoryStep Named(const char16_t* name) {
    return CHistoryStep{{name, name}};
}

void GiveMacro(CKeyboardData& data, int key, int items) {
    KeySetting& setting = data.CurrentSettings[static_cast<std::size_t>(key)][0];
    setting.Mode = ModeMacro;
    setting.ComboKey.Clear();
    for (int item = 0; item < items; ++item)
        setting.ComboKey.AppendItem(item % 2 == 0 ? u"Left SHIFT Down" : u"<30 ms>");
}

} // namespace

// A change of a list's view alone is no step; undo gives a state back as it was, view and all, so that
// the profile saved after it is the same file.
TEST(ProfileHistory, AViewChangeIsNoStepAndUndoGivesTheStateBackExactly) {
    auto data = Cleared();
    CProfileHistory history;
    history.Reset(*data);
    data->PredefinedMacro.AppendItem(u"walk");
    data->PredefinedMacro.AppendItem(u"run");
    ASSERT_TRUE(history.Commit(*data, Named(u"two macros")));
    data->PredefinedMacro.SetCursorIndex(0);
    EXPECT_FALSE(history.Commit(*data, Named(u"scrolled")));
    data->PredefinedMacro.DeleteItem(0);
    ASSERT_TRUE(history.Commit(*data, Named(u"one deleted")));
    ASSERT_NE(history.Undo(*data), nullptr);
    EXPECT_EQ(data->PredefinedMacro.List, (std::vector<std::u16string>{u"walk", u"run"}));
    EXPECT_EQ(data->PredefinedMacro.CursorPos, 1);
    EXPECT_EQ(history.RedoStep()->In(UiLanguage::English), u"one deleted");
}

// Opening two profiles in turn keeps each once; a hundred different ones stop at the byte limit, the
// newest step always kept.
TEST(ProfileHistory, SharedContentIsHeldOnceAndTheByteLimitDropsTheOldest) {
    auto data = Cleared();
    constexpr std::size_t limit = 8'000'000;
    CProfileHistory history(100, limit);
    history.Reset(*data);
    std::size_t bothHeld = 0;
    for (int step = 0; step < 40; ++step) {
        for (int key = 1; key <= 20; ++key)
            GiveMacro(*data, key, step % 2 == 0 ? 400 : 402);
        ASSERT_TRUE(history.Commit(*data, Named(u"open")));
        if (step == 1)
            bothHeld = history.HeldBytes();
    }
    EXPECT_EQ(history.StepCount(), 40u);
    EXPECT_EQ(history.HeldBytes(), bothHeld);
    for (int step = 0; step < 60; ++step) {
        GiveMacro(*data, 1 + step % 5, 3000 + 2 * step);
        ASSERT_TRUE(history.Commit(*data, Named(u"big")));
        EXPECT_LE(history.HeldBytes(), limit);
    }
    EXPECT_LT(history.StepCount(), 100u);
    EXPECT_GE(history.StepCount(), 2u);
    GiveMacro(*data, 5, 100'000);
    ASSERT_TRUE(history.Commit(*data, Named(u"huge")));
    EXPECT_EQ(history.StepCount(), 1u);
    EXPECT_EQ(history.UndoStep()->In(UiLanguage::Chinese), u"huge");
}
