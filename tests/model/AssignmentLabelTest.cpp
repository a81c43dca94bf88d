#include "model/AssignmentLabel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class AssignmentLabels : public ::testing::Test {
protected:
    void SetUp() override {
        BuildKeyCatalogue(Data);
        Data.Clear();
    }

    KeySetting& Key(int mode, std::initializer_list<std::u16string> items) {
        KeySetting& setting = Data.CurrentSettings[5][1];
        setting.Mode = mode;
        setting.ComboKey.SizeOfView = 9;
        for (const std::u16string& item : items) {
            setting.ComboKey.AppendItem(item);
        }
        return setting;
    }
    std::u16string Label() const { return AssignmentLabel(Data, 5, 1); }

    CKeyboardData Data;
};

TEST_F(AssignmentLabels, SingleCodesShowTheirName) {
    EXPECT_EQ(Label(), u"");
    Key(ModeSingle, {}).HWCode = 43;
    EXPECT_EQ(Label(), u"A");
    Key(ModeMouse, {}).HWCode = 199;
    EXPECT_EQ(Label(), u"Left Double Click");
    Key(ModePower, {}).HWCode = 500;
    EXPECT_EQ(Label(), NoKeyName);
    // An unknown kind shows nothing, and so does a key or level with no record.
    Key(9, {}).HWCode = 43;
    EXPECT_EQ(Label(), u"");
    EXPECT_EQ(AssignmentLabel(Data, 88, 0), u"");
    EXPECT_EQ(AssignmentLabel(Data, 5, 2), u"");
    EXPECT_EQ(AssignmentLabel(Data, -1, 0), u"");
}

TEST_F(AssignmentLabels, CombinationsAndEmulationsJoinTheirItems) {
    Key(ModeCombo, {});
    EXPECT_EQ(Label(), u"");
    Key(ModeCombo, {u"Left CONTROL", u"C"});
    EXPECT_EQ(Label(), u"Left CONTROL | C");
    Key(ModeEmulation, {u"A Down"});
    EXPECT_EQ(Label(), u"Left CONTROL | C | A Down");
}

TEST_F(AssignmentLabels, MacrosShortenTheirSteps) {
    Key(ModeMacro, {u"A Down", u"<30 ms>", u"A UP"});
    EXPECT_EQ(Label(), u"A,30,A");

    Data.CurrentSettings[5][1].ComboKey.Clear();
    Key(ModeMacro, {u"Volume Down Down", u"PAGE DOWN Down", u"PAGE UP UP", u"UP ARROW UP", u"<>", u"<7 ms>x",
                    u"<1 ms> UP", u" UP", u" Down"});
    EXPECT_EQ(Label(), u"Volume Down Down,PAGE DOWN,PAGE UP UP,UP ARROW,<>,<7 ms>x,<1 ms>, UP, Down");
}

TEST_F(AssignmentLabels, LongMacrosStopPast120Characters) {
    // 120 characters exactly is still whole.
    Key(ModeMacro, {std::u16string(118, u'x'), u"A Down"});
    EXPECT_EQ(Label(), std::u16string(118, u'x') + u",A");

    Data.CurrentSettings[5][1].ComboKey.Clear();
    Key(ModeMacro, {std::u16string(119, u'x'), u"A Down", u"B Down"});
    EXPECT_EQ(Label(), std::u16string(119, u'x') + u",A ... ...");

    // "SPACEBAR" and "," take 9 characters a step: the 14th step passes 120.
    Data.CurrentSettings[5][1].ComboKey.Clear();
    KeySetting& setting = Key(ModeMacro, {});
    for (int i = 0; i < 30; ++i) {
        setting.ComboKey.AppendItem(i % 2 == 0 ? u"SPACEBAR Down" : u"SPACEBAR UP");
    }
    std::u16string expected;
    for (int i = 0; i < 14; ++i) {
        expected += (i > 0 ? u",SPACEBAR" : u"SPACEBAR");
    }
    EXPECT_EQ(Label(), expected + u" ... ...");
}

} // namespace
