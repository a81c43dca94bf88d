// The recorder and the macro settings on their own: hook messages with their times in, record items
// out, and the rebuilds, limits and menu commands of a macro's steps.
#include "editor/Recorder.h"
#include "catalogue/KeyCatalogue.h"
#include "editor/MacroSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Items = std::vector<std::u16string>;

// One hook message: the virtual-key code, press or release, the extended flag, and the milliseconds
// since the previous message.
struct Event {
    int vk;
    bool release;
    int afterMs = 0;
    bool extended = false;
};

struct RecorderTest : ::testing::Test {
    CKeyboardData Data;
    CKeyMapEdit Edit;
    CRecorder Recorder;
    std::int64_t Now = 5'000'000'000;

    void SetUp() override {
        BuildKeyCatalogue(Data);
        Edit.Open(Data);
        for (CActionList* names : {&Edit.ComboNames, &Edit.MacroNames, &Edit.EmuNames})
            names->AppendItem(u"entry");
    }
    void Record(RecordingTarget target, const std::vector<Event>& events) {
        Recorder.Start(target, Edit);
        for (const Event& event : events) {
            Now += std::int64_t{event.afterMs} * 1'000'000;
            const std::uintptr_t wParam =
                static_cast<std::uintptr_t>(event.vk) | (event.release ? std::uintptr_t{1} << 31 : 0);
            Recorder.OnHookKey(wParam, event.extended ? std::intptr_t{1} << 24 : 0, Now, Data, Edit);
        }
        Recorder.Stop(Edit);
    }
};

constexpr int A = 65, B = 66, S = 83, Enter = 13;

TEST_F(RecorderTest, MacroStepsWithRecordedDelaysOrAFixedInterval) {
    const std::vector<Event> typed{{A, false}, {A, true, 100}, {B, false, 50}, {B, true, 70}};
    Record(RecordingTarget::Macro, typed);
    EXPECT_EQ(Edit.MacroSteps.List,
              (Items{u"A Down", u"<100 ms>", u"A UP", u"<50 ms>", u"B Down", u"<70 ms>", u"B UP"}));
    // The selected macro holds what was recorded.
    EXPECT_EQ(Edit.MacroNames.GetSubList(Edit.MacroNames.CursorPos).List, Edit.MacroSteps.List);

    Edit.MacroSteps.IsAutoInterval = true;
    Record(RecordingTarget::Macro, typed);
    EXPECT_EQ(Edit.MacroSteps.List, (Items{u"A Down", u"A UP", u"B Down", u"B UP"}));
    EXPECT_TRUE(Edit.MacroSteps.IsAutoInterval); // the settings survive a new recording
}

TEST_F(RecorderTest, AutoRepeatRecordsOnePressAndTheDelayCountsFromTheLastRepeat) {
    Record(RecordingTarget::Macro,
           {{A, false}, {A, false, 500}, {A, false, 30}, {A, false, 30}, {A, true, 40}});
    EXPECT_EQ(Edit.MacroSteps.List, (Items{u"A Down", u"<40 ms>", u"A UP"}));
    // A release of a key not pressed while recording is no step, though the time counts from it;
    // delays cap at 65535.
    Record(RecordingTarget::Macro, {{B, true}, {A, false, 10}, {A, true, 70000}});
    EXPECT_EQ(Edit.MacroSteps.List, (Items{u"<10 ms>", u"A Down", u"<65535 ms>", u"A UP"}));
}

TEST_F(RecorderTest, ShiftAndTheTwoEnterKeysAreNamedApart) {
    Edit.MacroSteps.IsAutoInterval = true;
    Record(RecordingTarget::Macro, {{160, false},
                                    {160, true},
                                    {Enter, false, 0, true},
                                    {Enter, true, 0, true},
                                    {Enter, false},
                                    {Enter, true}});
    EXPECT_EQ(Edit.MacroSteps.List, (Items{u"Left SHIFT Down", u"Left SHIFT UP", u"(Enter) Down",
                                           u"(Enter) UP", u"ENTER Down", u"ENTER UP"}));
}

TEST_F(RecorderTest, GenericShiftIsMadeLeftOrRightByTheKeyState) {
    // Key states as the system reports them: 0x8000 while held, 0x1 toggled by every press.
    int left = 0, right = 0;
    const auto keyState = [&](int vk) { return vk == 160 ? left : vk == 161 ? right : 0; };
    Edit.MacroSteps.IsAutoInterval = true;
    Recorder.Start(RecordingTarget::Macro, Edit);
    const auto post = [&](bool release) {
        Recorder.OnHookKey(16 | (release ? std::uintptr_t{1} << 31 : 0), 0, Now += 1'000'000, Data, Edit,
                           keyState);
    };
    right = 0x8001;
    post(false); // right Shift held
    right = 0x0001;
    post(true); // and let go: the right one changed since the last Shift release
    left = 0x8001;
    post(false);
    EXPECT_EQ(Edit.MacroSteps.List, (Items{u"Right SHIFT Down", u"Right SHIFT UP", u"Left SHIFT Down"}));
}

TEST_F(RecorderTest, CombinationsAndEmulationsKeepSixKeysAndNoImmediateRepeat) {
    Edit.SwapMode();
    Record(RecordingTarget::Combination, {{162, false},
                                          {162, false},
                                          {A, false},
                                          {A, false},
                                          {B, false},
                                          {67, false},
                                          {68, false},
                                          {69, false},
                                          {70, false}});
    EXPECT_EQ(Edit.ComboKeys.List, (Items{u"Left CONTROL", u"A", u"B", u"C", u"D", u"E"}));
    EXPECT_EQ(Edit.ComboNames.GetSubList(Edit.ComboNames.CursorPos).List, Edit.ComboKeys.List);

    Record(RecordingTarget::Emulation, {{A, false}, {A, true}, {A, false}, {A, true}, {B, false}});
    EXPECT_EQ(Edit.EmuKeys.List, (Items{u"A", u"A", u"B"}));
}

TEST_F(RecorderTest, TheLastSingleKeyPressedIsTheOne) {
    Edit.Open(Data);
    Record(RecordingTarget::SingleKey, {{A, false}, {A, true}, {S, false}, {S, true}});
    EXPECT_EQ(Edit.SingleKey(), S);
    // Only in single mode, and a combination only with a named entry to record into.
    EXPECT_TRUE(CRecorder::CanStart(RecordingTarget::SingleKey, Edit));
    EXPECT_FALSE(CRecorder::CanStart(RecordingTarget::Combination, Edit));
}

TEST_F(RecorderTest, MacroLimitsDropFurtherSteps) {
    std::vector<Event> many;
    for (int i = 0; i < 500; ++i) {
        many.push_back({A, false, 1});
        many.push_back({A, true, 1});
    }
    Record(RecordingTarget::Macro, many);
    EXPECT_EQ(Edit.MacroSteps.Count(), 799);
    Edit.MacroSteps.IsAutoInterval = true;
    many.insert(many.end(), many.begin(), many.end());
    Record(RecordingTarget::Macro, many);
    EXPECT_EQ(Edit.MacroSteps.Count(), 1600);
}

TEST(MacroSettings, RebuildsBetweenDelaysAndAFixedIntervalOnlyWhenTheKindChanges) {
    CActionList steps;
    steps.SizeOfView = 9;
    for (const char16_t* item : {u"A Down", u"<30 ms>", u"A UP"})
        steps.AppendItem(item);
    EXPECT_FALSE(MacroSettings::UseRecordedDelays(steps)); // already of that kind
    EXPECT_EQ(steps.Count(), 3);
    EXPECT_TRUE(MacroSettings::UseFixedInterval(steps));
    EXPECT_EQ(steps.List, (Items{u"A Down", u"A UP"}));
    EXPECT_FALSE(MacroSettings::UseFixedInterval(steps));
    EXPECT_EQ(steps.List, (Items{u"A Down", u"A UP"}));
    steps.Delay = 50;
    EXPECT_TRUE(MacroSettings::UseRecordedDelays(steps));
    EXPECT_EQ(steps.List, (Items{u"A Down", u"<50 ms>", u"A UP"}));

    EXPECT_EQ(MacroSettings::RepeatCount(300), 255);
    EXPECT_EQ(MacroSettings::RepeatCount(0), 1);
    EXPECT_EQ(MacroSettings::FixedInterval(70000), 60000);
    EXPECT_EQ(MacroSettings::EmuInterval(7000), 6000);

    MacroSettings::SetDelay(steps, 1, u"120x");
    EXPECT_EQ(steps.List[1], u"<120 ms>");
    MacroSettings::SetDelay(steps, 1, u"99999");
    EXPECT_EQ(steps.List[1], u"<65535 ms>");
    MacroSettings::SetDelay(steps, 3, u"5"); // past the end: nothing is appended
    EXPECT_EQ(steps.Count(), 3);
}

TEST(MacroSettings, MenuInsertsMouseActionsAndDeletesAStepWithItsDelay) {
    CKeyboardData data;
    BuildKeyCatalogue(data);
    struct Case {
        int command;
        int row;
        bool fixed;
        Items after;
        int delta;
    };
    const Items macro{u"A Down", u"<20 ms>", u"A UP"};
    const Case cases[] = {
        {MacroSettings::LeftClick,
         2,
         false,
         {u"A Down", u"<20 ms>", u"Mouse Key Left", u"<0 ms>", u"Mouse Key Left", u"<0 ms>", u"A UP"},
         4},
        {MacroSettings::RightPress,
         1,
         false,
         {u"A Down", u"<0 ms>", u"Mouse Key Right", u"<20 ms>", u"A UP"},
         2},
        {MacroSettings::WheelDown,
         0,
         false,
         {u"Mouse Wheel Dn", u"<0 ms>", u"A Down", u"<20 ms>", u"A UP"},
         2},
        {MacroSettings::MiddleClick,
         0,
         true,
         {u"Mouse Key Middle", u"Mouse Key Middle", u"A Down", u"<20 ms>", u"A UP"},
         2},
        {MacroSettings::DeleteStep, 0, false, {u"A UP"}, -2},
        {MacroSettings::DeleteStep, 2, false, {u"A Down"}, -2},
        {MacroSettings::DeleteStep, 0, true, {u"<20 ms>", u"A UP"}, -1},
    };
    for (const Case& test : cases) {
        CActionList steps;
        steps.SizeOfView = 9;
        for (const std::u16string& item : macro)
            steps.AppendItem(item);
        steps.IsAutoInterval = test.fixed;
        EXPECT_EQ(MacroSettings::ApplyMenuCommand(steps, test.row, test.command, data), test.delta)
            << test.command;
        EXPECT_EQ(steps.List, test.after) << test.command << " at " << test.row;
    }
}

} // namespace
