#include "CliTestSupport.h"

#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "zelk/VirtualKeyboard.h"

#include <memory>

namespace {

CActionList Content(std::initializer_list<std::u16string> items, int sizeOfView = 9) {
    CActionList list;
    list.SizeOfView = sizeOfView;
    for (const auto& item : items)
        list.AppendItem(item);
    return list;
}

CActionList Played(CActionList list, int cycles, bool autoInterval, int delay, int playMode) {
    list.Cycles = cycles;
    list.IsAutoInterval = autoInterval;
    list.Delay = delay;
    list.PlayMode = playMode;
    return list;
}

KeySetting Single(int mode, int code) {
    return KeySetting{mode, code, {}};
}

KeySetting WithList(int mode, const CActionList& list, int code = 0) {
    return KeySetting{mode, code, list};
}

std::unique_ptr<CKeyboardData> NewModel() {
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->Clear();
    return data;
}

// One assignment of the written profile and what reading the keyboard gives back for it.
struct CRoundTrip {
    int Key;
    int Level;
    KeySetting Written;
    KeySetting Read;
};

// Every kind on both levels. What comes back differs only where the keyboard cannot tell: direction
// suffixes, names without a device code ("SHIFT", "Sleep" become "-- --"), settings a macro does not
// send (cycles outside play mode 0, the interval of recorded delays), stale lists of single codes, and a
// macro without steps, which is sent as no definition.
std::vector<CRoundTrip> EveryKind() {
    const CActionList sevenKeys = Content({u"A", u"B", u"C", u"D", u"E", u"F", u"SHIFT"}, 6);
    return {
        {1, 0, Single(ModeSingle, 4), Single(ModeSingle, 4)},
        {1, 1, Single(ModeSingle, 107), Single(ModeSingle, 107)},
        {2, 1, Single(ModeMultimedia, 112), Single(ModeMultimedia, 112)},
        {2, 0, Single(ModeMultimedia, 125), Single(ModeMultimedia, 125)},
        {3, 0, Single(ModeMouse, 130), Single(ModeMouse, 130)},
        {4, 1, Single(ModeMouse, 199), Single(ModeMouse, 199)},
        {5, 0, Single(ModeFunction, 156), Single(ModeFunction, 156)},
        {5, 1, Single(ModeFunction, 156), Single(ModeFunction, 156)},
        {6, 0, Single(ModePower, 77), Single(ModePower, 77)},
        {6, 1, Single(ModePower, 75), Single(ModePower, 75)},
        {7, 1, WithList(ModeCombo, Content({u"Left CONTROL", u"C"}, 6)),
         WithList(ModeCombo, Content({u"Left CONTROL", u"C"}, 6), 7)},
        {8, 0, WithList(ModeCombo, sevenKeys, 55),
         WithList(ModeCombo, Content({u"A", u"B", u"C", u"D", u"E", u"F", u"-- --"}, 6), 8)},
        {9, 1, WithList(ModeMacro, Played(Content({u"A Down", u"<30 ms>", u"A UP"}), 3, false, 30, 0)),
         WithList(ModeMacro, Played(Content({u"A", u"<30 ms>", u"A"}), 3, false, 0, 0), 9)},
        {10, 0, WithList(ModeMacro, Played(Content({u"B Down", u"<100 ms>", u"B UP"}), 5, false, 30, 1)),
         WithList(ModeMacro, Played(Content({u"B", u"<100 ms>", u"B"}), 0, false, 0, 1), 10)},
        {11, 1, WithList(ModeMacro, Played(Content({u"A", u"B", u"Sleep"}), 2, true, 50, 2)),
         WithList(ModeMacro, Played(Content({u"A", u"B", u"-- --"}), 0, true, 50, 2), 11)},
        {12, 0, WithList(ModeEmulation, Played(Content({u"H", u"I"}), 1, false, 40, 0)),
         WithList(ModeEmulation, Played(Content({u"H", u"I"}), 1, false, 40, 0), 12)},
        {12, 1, WithList(ModeEmulation, Played(Content({u"Left SHIFT", u"Z"}), 1, false, 15, 0)),
         WithList(ModeEmulation, Played(Content({u"Left SHIFT", u"Z"}), 1, false, 15, 0), 12)},
        {13, 0, WithList(ModeMacro, Content({}), 13), Single(ModeNotSet, 13)},
        {14, 1, WithList(ModeSingle, Content({u"stale"}), 20), Single(ModeSingle, 20)},
        {20, 0, Single(ModeNotSet, 99), Single(ModeNotSet, 20)},
        {87, 1, Single(ModeFunction, 135), Single(ModeFunction, 135)},
        {87, 0, WithList(ModeCombo, Content({u"Left Alt", u"TAB"}, 6)),
         WithList(ModeCombo, Content({u"Left Alt", u"TAB"}, 6), 87)},
    };
}

AreaLight ColourOf(int key) {
    return {key * 3 % 256, 255 - key, key * 7 % 256};
}

void ExpectSameList(const CActionList& actual, const CActionList& expected, const std::string& where) {
    EXPECT_EQ(actual.List, expected.List) << where;
    EXPECT_EQ(actual.Cycles, expected.Cycles) << where;
    EXPECT_EQ(actual.IsAutoInterval, expected.IsAutoInterval) << where;
    EXPECT_EQ(actual.Delay, expected.Delay) << where;
    EXPECT_EQ(actual.PlayMode, expected.PlayMode) << where;
    EXPECT_EQ(actual.SizeOfView, expected.SizeOfView) << where;
    EXPECT_EQ(actual.ViewStartAt, expected.ViewStartAt) << where;
    EXPECT_EQ(actual.CursorPos, expected.CursorPos) << where;
}

class CliProfiles : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TestFolder();
        auto data = NewModel();
        for (const auto& trip : EveryKind())
            data->CurrentSettings[trip.Key][trip.Level] = trip.Written;
        for (int key = 1; key <= KeyCount; ++key)
            data->BackgroundLightSettings[key] = ColourOf(key);
        data->PredefinedCombo.AppendItem(u"New Combo 1");
        data->PredefinedCombo.SetSubList(0, Content({u"A", u"B"}, 6));
        ASSERT_TRUE(SaveProfile(*data, Profile()));
    }

    std::filesystem::path Profile() const { return Folder / "every kind.pro"; }
    std::filesystem::path State() const { return Folder / "keyboard.state"; }
    std::filesystem::path Out() const { return Folder / "read back.pro"; }

    CCliResult Cli(std::vector<std::string> arguments, const std::string& fault = {}) {
        arguments.insert(arguments.begin(), "--virtual-keyboard=" + State().string());
        if (!fault.empty())
            arguments.insert(arguments.begin(), {"--virtual-fault", fault});
        return RunCli(arguments);
    }

    std::filesystem::path Folder;
};

TEST_F(CliProfiles, WrittenProfileReadsBackEqualExceptWhatTheKeyboardCannotTell) {
    const CCliResult written = Cli({"write", Profile().string()});
    ASSERT_EQ(written.Status, 0) << written.Err;
    EXPECT_TRUE(written.Err.empty()) << written.Err;
    const CCliResult read = Cli({"read", Out().string()});
    ASSERT_EQ(read.Status, 0) << read.Err;
    EXPECT_TRUE(read.Err.empty()) << read.Err;

    auto back = NewModel();
    back->PredefinedEmu.AppendItem(u"left over");
    ASSERT_TRUE(LoadProfile(*back, Out()));
    auto expected = NewModel();
    for (const auto& trip : EveryKind())
        expected->CurrentSettings[trip.Key][trip.Level] = trip.Read;
    for (int key = 1; key <= KeyCount; ++key) {
        for (int level = 0; level < LevelCount; ++level) {
            const std::string where = "key " + std::to_string(key) + " level " + std::to_string(level);
            const KeySetting& actual = back->CurrentSettings[key][level];
            const KeySetting& wanted = expected->CurrentSettings[key][level];
            EXPECT_EQ(actual.Mode, wanted.Mode) << where;
            EXPECT_EQ(actual.HWCode, wanted.HWCode) << where;
            ExpectSameList(actual.ComboKey, wanted.ComboKey, where);
        }
        const AreaLight& light = back->BackgroundLightSettings[key];
        const AreaLight colour = ColourOf(key);
        EXPECT_EQ(light.Red, colour.Red) << key;
        EXPECT_EQ(light.Green, colour.Green) << key;
        EXPECT_EQ(light.Blue, colour.Blue) << key;
    }
    EXPECT_EQ(back->PredefinedCombo.Count() + back->PredefinedMacro.Count() + back->PredefinedEmu.Count(), 0);
}

TEST_F(CliProfiles, UnpluggingAtAnyStageEndsWithStatusOne) {
    // Writing: reports 1..176 carry the key table, 177..183 the backlight.
    for (long at : {1L, 2L, 90L, 176L, 177L, 180L, 183L})
        ExpectFailureLine(Cli({"write", Profile().string()}, "unplug-at=" + std::to_string(at)),
                          "write unplugged at " + std::to_string(at));
    ASSERT_EQ(Cli({"write", Profile().string()}, "unplug-at=184").Status, 0);

    // Reading: the request and 175 replies for the key table, then 7 reports for the backlight.
    for (long at : {1L, 2L, 100L, 176L, 177L, 178L, 183L}) {
        ExpectFailureLine(Cli({"read", Out().string()}, "unplug-at=" + std::to_string(at)),
                          "read unplugged at " + std::to_string(at));
        EXPECT_FALSE(std::filesystem::exists(Out())) << at;
    }
    ExpectFailureLine(Cli({"read", Out().string()}, "silent-after=3"), "read, keyboard silent");
    EXPECT_EQ(Cli({"read", Out().string()}, "unplug-at=184").Status, 0);
    EXPECT_TRUE(std::filesystem::exists(Out()));
}

TEST_F(CliProfiles, AssignmentTooLongForTheKeyboardIsNamedAndNothingIsSent) {
    ASSERT_EQ(Cli({"write", Profile().string()}).Status, 0);
    const std::string before = ReadWhole(State());

    auto data = NewModel();
    ASSERT_TRUE(LoadProfile(*data, Profile()));
    CActionList combo;
    combo.SizeOfView = 6;
    for (int i = 0; i < 59; ++i)
        combo.AppendItem(u"A");
    data->CurrentSettings[10][1] = WithList(ModeCombo, combo);
    const auto tooLong = Folder / "too long.pro";
    ASSERT_TRUE(SaveProfile(*data, tooLong));

    const CCliResult result = Cli({"write", tooLong.string()});
    ExpectFailureLine(result, "refused");
    EXPECT_NE(result.Err.find("key 10 (F9) on level 2"), std::string::npos) << result.Err;
    EXPECT_EQ(ReadWhole(State()), before);
    ExpectFailureLine(Cli({"write-keys", tooLong.string()}), "refused keys");
}

TEST_F(CliProfiles, KeysAndLightCanBeWrittenAlone) {
    ASSERT_EQ(Cli({"write-light", Profile().string()}).Status, 0);
    {
        CVirtualKeyboard keyboard(State().string());
        EXPECT_EQ(keyboard.LightArea()[0], ColourOf(1).Red);
        EXPECT_EQ(keyboard.LightArea()[LightAreaSize - 1], ColourOf(87).Blue);
        EXPECT_TRUE(keyboard.SlotPackets(0).empty()) << "no key was sent";
    }
    auto dark = NewModel();
    const auto darkProfile = Folder / "dark.pro";
    dark->CurrentSettings[1][0] = Single(ModeSingle, 4);
    ASSERT_TRUE(SaveProfile(*dark, darkProfile));
    ASSERT_EQ(Cli({"write-keys", darkProfile.string()}).Status, 0);
    CVirtualKeyboard keyboard(State().string());
    EXPECT_EQ(keyboard.LightArea()[0], ColourOf(1).Red) << "the backlight stays";
    const auto packet = keyboard.SlotPackets(0);
    ASSERT_EQ(packet.size(), 64u);
    EXPECT_EQ(packet[6], 4);
}

TEST_F(CliProfiles, ShowDescribesEveryKeyOnOneLineInEitherLanguage) {
    const CCliResult english = RunCli({"show", Profile().string()});
    ASSERT_EQ(english.Status, 0) << english.Err;
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < english.Out.size();) {
        const std::size_t end = english.Out.find('\n', start);
        lines.push_back(english.Out.substr(start, end - start));
        start = end + 1;
    }
    ASSERT_EQ(lines.size(), 87u);
    EXPECT_EQ(lines[0], " 1 Esc           Key settings L1：Single F3   Key settings L2：Single (Enter)");
    EXPECT_NE(lines[3].find("Key settings L1：Not set   Key settings L2：Mouse Left Double Click"),
              std::string::npos);
    EXPECT_NE(lines[7].find("Combo A | B | C | D | E | F | SHIFT"), std::string::npos);
    EXPECT_NE(lines[8].find("L2：Macro A,30,A"), std::string::npos);
    EXPECT_EQ(lines[86].rfind("87 Right", 0), 0u);

    const CCliResult chinese = RunCli({"show", "--lang", "zh-CN", Profile().string()});
    ASSERT_EQ(chinese.Status, 0);
    EXPECT_NE(chinese.Out.find(" 1 Esc           上档键：单键 F3   下档键：单键 (Enter)\n"),
              std::string::npos);
    EXPECT_NE(chinese.Out.find("上档键：未设置   下档键：鼠标键 Left Double Click"), std::string::npos);
}

TEST_F(CliProfiles, UnreadableOrUnwritableFilesGiveStatusOne) {
    ExpectFailureLine(RunCli({"show", (Folder / "missing.pro").string()}), "show missing");
    ExpectFailureLine(Cli({"write", (Folder / "missing.pro").string()}), "write missing");
    ExpectFailureLine(Cli({"write-light", Folder.string()}), "write a folder");
    // A file that is no profile must not be taken for an empty one and clear the keyboard.
    ASSERT_EQ(Cli({"write", Profile().string()}).Status, 0);
    const std::string before = ReadWhole(State());
    std::ofstream(Folder / "notes.txt") << "shopping list\n";
    ExpectFailureLine(Cli({"write", (Folder / "notes.txt").string()}), "write a text file");
    EXPECT_EQ(ReadWhole(State()), before);
    ExpectFailureLine(Cli({"read", (Folder / "no such folder" / "out.pro").string()}), "read into nowhere");
}

} // namespace
