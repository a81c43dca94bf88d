#include "model/DeviceBridge.h"
#include "catalogue/KeyCatalogue.h"

#include "zelk/VirtualKeyboard.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

using Array = std::vector<int>;

class CProgressCount : public CMessageTarget {
public:
    void Post(unsigned message, std::uintptr_t, std::intptr_t) override {
        std::lock_guard<std::mutex> hold(Lock);
        if (message == WM_DEVICE_PROGRESS)
            ++Posts;
    }
    int Posts = 0;
    std::mutex Lock;
};

CActionList Content(std::initializer_list<std::u16string> items, int sizeOfView = 9) {
    CActionList list;
    list.SizeOfView = sizeOfView;
    for (const auto& item : items)
        list.AppendItem(item);
    return list;
}

KeySetting Single(int mode, int code) {
    return KeySetting{mode, code, {}};
}

KeySetting WithList(int mode, const CActionList& list) {
    return KeySetting{mode, 0, list};
}

KeySetting ThreeStepMacro(int playMode) {
    CActionList steps = Content({u"A Down", u"<30 ms>", u"A UP"});
    steps.Cycles = 3;
    steps.PlayMode = playMode;
    return WithList(ModeMacro, steps);
}

void ExpectSameSetting(const KeySetting& actual, const KeySetting& expected, const std::string& where) {
    EXPECT_EQ(actual.Mode, expected.Mode) << where;
    EXPECT_EQ(actual.HWCode, expected.HWCode) << where;
    EXPECT_TRUE(actual.ComboKey.ContentEquals(expected.ComboKey)) << where;
    EXPECT_EQ(actual.ComboKey.SizeOfView, expected.ComboKey.SizeOfView) << where;
}

// A model with its catalogue, cleared as after start-up, connected to a fresh virtual keyboard.
class DeviceBridge : public ::testing::Test {
protected:
    void SetUp() override {
        Data = NewModel();
        Keyboard = std::make_shared<CVirtualKeyboard>();
        Data->HWI.UseDeviceProvider(MakeVirtualKeyboardProvider(Keyboard));
        ASSERT_TRUE(Data->HWI.__createDev());
    }

    static std::unique_ptr<CKeyboardData> NewModel() {
        auto data = std::make_unique<CKeyboardData>();
        BuildKeyCatalogue(*data);
        data->Clear();
        return data;
    }

    // A second model on the same keyboard, with a keyboard object of its own, so that everything it
    // reads comes from the keyboard.
    std::unique_ptr<CKeyboardData> Reader() {
        auto reader = NewModel();
        reader->HWI.UseDeviceProvider(MakeVirtualKeyboardProvider(Keyboard));
        EXPECT_TRUE(reader->HWI.__createDev());
        return reader;
    }

    Array Stored(int level, int key) {
        Array array(InterchangeCapacity, INT_MIN);
        EXPECT_TRUE(Data->HWI.getKeyConfiguration(level, key, array.data(), InterchangeCapacity));
        std::size_t used = 0;
        while (used < array.size() && array[used] != INT_MIN)
            ++used;
        array.resize(used);
        return array;
    }

    KeySetting& At(int key, int level) { return Data->CurrentSettings[key][level]; }

    int Code(const char16_t* name) { return ItemToCode(*Data, name); }

    std::unique_ptr<CKeyboardData> Data;
    std::shared_ptr<CVirtualKeyboard> Keyboard;
};

TEST_F(DeviceBridge, ClearedModelSendsOnlyEmptySlots) {
    ASSERT_TRUE(WriteKeysToDevice(*Data, nullptr));
    EXPECT_EQ(Keyboard->ReportsWritten(), 2 + SlotCount);
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto packet = Keyboard->SlotPackets(slot);
        ASSERT_EQ(packet.size(), 64u);
        EXPECT_EQ(packet[4] + packet[5] + packet[6], 0) << slot;
    }
    EXPECT_EQ(Stored(0, 1), (Array{0, 0}));
}

TEST_F(DeviceBridge, ArraysFollowTheAssignmentKind) {
    const int a = Code(u"A");
    const int b = Code(u"B");
    ASSERT_EQ(a, 43);
    ASSERT_EQ(b, 60);
    const auto array = [&](const KeySetting& setting) { return KeyDefinitionArray(*Data, setting); };

    EXPECT_EQ(array(Single(ModeSingle, 4)), (Array{0, 1, 4}));
    EXPECT_EQ(array(Single(ModePower, 77)), (Array{0, 1, 77}));
    EXPECT_EQ(array(Single(ModeMouse, 199)), (Array{0, 2, 130, 130}));
    EXPECT_EQ(array(Single(ModeNotSet, 4)), Array{});
    EXPECT_EQ(array(Single(-1, 4)), Array{});
    EXPECT_EQ(array(WithList(ModeCombo, Content({u"Left CONTROL", u"C"}, 6))), (Array{0, 2, 67, 58}));

    EXPECT_EQ(array(ThreeStepMacro(0)), (Array{2, 0, 3, 1, 0, 2, a, 30, a}));
    EXPECT_EQ(array(ThreeStepMacro(1)), (Array{2, 1, 0, 1, 0, 2, a, 30, a}));
    CActionList fixed = Content({u"A", u"B"});
    fixed.IsAutoInterval = true;
    fixed.Delay = 50;
    fixed.Cycles = 7;
    EXPECT_EQ(array(WithList(ModeMacro, fixed)), (Array{2, 0, 7, 0, 50, 2, a, b}));
    fixed.PlayMode = 2;
    EXPECT_EQ(array(WithList(ModeMacro, fixed)), (Array{2, 2, 0, 0, 50, 2, a, b}));
    // No packet can carry a macro without steps: the key goes without definition.
    EXPECT_EQ(array(WithList(ModeMacro, Content({}))), Array{});

    CActionList emulation = Content({u"A", u"B"});
    emulation.Delay = 40;
    EXPECT_EQ(array(WithList(ModeEmulation, emulation)), (Array{1, 40, 2, a, b}));
}

TEST_F(DeviceBridge, WrittenArraysReachTheLibraryWithTheirLength) {
    At(5, 1) = Single(ModeSingle, 4);
    At(6, 0) = Single(ModeMouse, 199);
    At(7, 0) = ThreeStepMacro(0);
    At(8, 1) = WithList(ModeMacro, Content({}));
    CProgressCount progress;
    ASSERT_TRUE(WriteKeysToDevice(*Data, &progress));
    EXPECT_EQ(progress.Posts, SlotCount);
    EXPECT_EQ(Stored(1, 5), (Array{0, 1, 4}));
    EXPECT_EQ(Stored(0, 6), (Array{0, 2, 130, 130}));
    EXPECT_EQ(Stored(0, 7), (Array{2, 0, 3, 1, 0, 2, 43, 30, 43}));
    EXPECT_EQ(Stored(1, 8), (Array{0, 0}));
    EXPECT_EQ(Stored(0, 5), (Array{0, 0}));
    const auto packet = Keyboard->SlotPackets(KeyCount + 4);
    EXPECT_EQ(Array(packet.begin() + 1, packet.begin() + 7), (Array{0xF0, 2, 5, 0, 1, 4}));
}

TEST_F(DeviceBridge, ItemToCodeReadsDelaysAndTheFirstCatalogueName) {
    EXPECT_EQ(Code(u"<120 ms>"), 120);
    EXPECT_EQ(Code(u"<abc ms>"), 0);
    EXPECT_EQ(Code(u"< -15 ms>"), -15);
    EXPECT_EQ(Code(u"<99999999999 ms>"), INT_MAX);
    EXPECT_EQ(Code(u"ms>"), 0);
    EXPECT_EQ(Code(u"A Down"), 43);
    EXPECT_EQ(Code(u"A UP"), 43);
    EXPECT_EQ(Code(u"A down"), 0);
    EXPECT_EQ(Code(u"a"), 0);
    EXPECT_EQ(Code(u"A  UP"), 0);
    EXPECT_EQ(Code(u"Next track"), 108);
    EXPECT_EQ(Code(u"Next Track"), 0); // key code 176 has no device code
    EXPECT_EQ(Code(u"Left Double Click"), 199);
    EXPECT_EQ(Code(u"-- --"), 0);
    // "Sleep" first names key code 95, which the keyboard lacks; device code 76 reads back as
    // "Sleep" and so does not survive a read followed by a write.
    EXPECT_EQ(Code(u"Sleep"), 0);
    EXPECT_EQ(DeviceCodeLabel(*Data, 76), u"Sleep");
}

TEST_F(DeviceBridge, ReadBackRecoversKindsAndRebuildsLists) {
    At(1, 0) = Single(ModeSingle, 20);
    At(2, 0) = Single(ModeMouse, 130);
    At(3, 1) = Single(ModePower, 75);
    At(4, 1) = Single(ModeMultimedia, 112);
    At(5, 0) = Single(ModeFunction, 156);
    At(5, 1) = Single(ModeFunction, 156);
    At(6, 0) = Single(ModeMouse, 199);
    At(7, 0) = ThreeStepMacro(0);
    At(8, 1) = ThreeStepMacro(1);
    CActionList emulation = Content({u"A", u"B"});
    emulation.Delay = 40;
    At(9, 0) = WithList(ModeEmulation, emulation);
    At(10, 1) = WithList(ModeCombo, Content({u"A", u"B", u"C", u"D", u"E", u"F", u"G"}, 6));
    CActionList fixed = Content({u"A", u"B"});
    fixed.IsAutoInterval = true;
    fixed.Delay = 50;
    fixed.Cycles = 4;
    At(11, 0) = WithList(ModeMacro, fixed);
    for (int key = 1; key <= KeyCount; ++key)
        Data->BackgroundLightSettings[key] = {key, 255 - key, key * 2};
    ASSERT_TRUE(WriteKeysToDevice(*Data, nullptr));
    ASSERT_TRUE(WriteLightToDevice(*Data));

    auto reader = Reader();
    // Stale content of a key that reads back as a single code stays where it was.
    reader->CurrentSettings[1][0].ComboKey = Content({u"stale"});
    reader->BackgroundLightSettings[0] = {9, 9, 9};
    CProgressCount progress;
    ASSERT_TRUE(ReadKeysFromDevice(*reader, &progress));
    ASSERT_TRUE(ReadLightFromDevice(*reader));
    EXPECT_EQ(progress.Posts, SlotCount);
    const auto& read = reader->CurrentSettings;

    EXPECT_EQ(read[1][0].Mode, ModeSingle);
    EXPECT_EQ(read[1][0].HWCode, 20);
    EXPECT_EQ(read[1][0].ComboKey.List, std::vector<std::u16string>{u"stale"});
    EXPECT_EQ(read[2][0].Mode, ModeMouse);
    EXPECT_EQ(read[3][1].Mode, ModePower);
    EXPECT_EQ(read[4][1].Mode, ModeMultimedia);
    EXPECT_EQ(read[5][0].Mode, ModeFunction);
    EXPECT_EQ(read[5][1].HWCode, 156);
    EXPECT_EQ(read[6][0].Mode, ModeMouse);
    EXPECT_EQ(read[6][0].HWCode, 199);

    const CActionList& macro = read[7][0].ComboKey;
    EXPECT_EQ(read[7][0].Mode, ModeMacro);
    EXPECT_EQ(macro.List, (std::vector<std::u16string>{u"A", u"<30 ms>", u"A"}));
    EXPECT_EQ(macro.Cycles, 3);
    EXPECT_FALSE(macro.IsAutoInterval);
    EXPECT_EQ(macro.SizeOfView, 9);
    EXPECT_EQ(macro.CursorPos, 2);
    EXPECT_EQ(read[8][1].ComboKey.PlayMode, 1);
    EXPECT_EQ(read[8][1].ComboKey.Cycles, 0);

    const CActionList& emu = read[9][0].ComboKey;
    EXPECT_EQ(read[9][0].Mode, ModeEmulation);
    EXPECT_EQ(emu.List, (std::vector<std::u16string>{u"A", u"B"}));
    EXPECT_EQ(emu.SizeOfView, 9);
    EXPECT_EQ(emu.Delay, 40);
    EXPECT_EQ(emu.Cycles, 1);

    const CActionList& combo = read[10][1].ComboKey;
    EXPECT_EQ(read[10][1].Mode, ModeCombo);
    EXPECT_EQ(combo.Count(), 7);
    EXPECT_EQ(combo.SizeOfView, 6);
    EXPECT_EQ(combo.ViewStartAt, 1);
    EXPECT_EQ(combo.CursorPos, 5);

    const CActionList& auto_ = read[11][0].ComboKey;
    EXPECT_TRUE(auto_.IsAutoInterval);
    EXPECT_EQ(auto_.Delay, 50);
    EXPECT_EQ(auto_.Cycles, 4);
    EXPECT_EQ(auto_.List, (std::vector<std::u16string>{u"A", u"B"}));

    EXPECT_EQ(read[12][0].Mode, ModeNotSet);
    EXPECT_EQ(read[12][0].HWCode, 12);
    for (int key = 1; key <= KeyCount; ++key) {
        const AreaLight& light = reader->BackgroundLightSettings[key];
        EXPECT_EQ(light.Red, key);
        EXPECT_EQ(light.Green, 255 - key);
        EXPECT_EQ(light.Blue, (key * 2) & 0xFF);
    }
    EXPECT_EQ(reader->BackgroundLightSettings[0].Red, 9);
}

TEST_F(DeviceBridge, ReadBackRowsOfTheDefinitionTable) {
    const auto apply = [&](const Array& array) {
        KeySetting setting{ModeMacro, 33, Content({u"old"})};
        ApplyKeyDefinition(*Data, array, setting);
        return setting;
    };
    EXPECT_EQ(apply({0, 0}).Mode, ModeNotSet);
    EXPECT_EQ(apply({0, 0}).HWCode, 33);
    EXPECT_EQ(apply({0, 0}).ComboKey.List, std::vector<std::u16string>{u"old"});
    EXPECT_EQ(apply({1, 40, 0}).Mode, ModeNotSet);
    EXPECT_EQ(apply({2, 0, 1, 0, 30, 0}).Mode, ModeNotSet);
    EXPECT_EQ(apply({7, 1, 2}).Mode, ModeNotSet);
    EXPECT_EQ(apply({}).Mode, ModeNotSet);

    const KeySetting negative = apply({0, -3, 1, 2});
    EXPECT_EQ(negative.Mode, ModeCombo);
    EXPECT_EQ(negative.ComboKey.Count(), 0);
    EXPECT_EQ(negative.HWCode, 33);

    // A code without a name, and a count larger than the array: only what is there is read.
    const KeySetting unnamed = apply({0, 5, 160, 43});
    EXPECT_EQ(unnamed.ComboKey.List, (std::vector<std::u16string>{u"-- --", u"A"}));

    const KeySetting macro = apply({2, 0, 1, 1, 0, 3, 43, 300, 60, 5, 76});
    EXPECT_EQ(macro.ComboKey.List,
              (std::vector<std::u16string>{u"A", u"<300 ms>", u"B", u"<5 ms>", u"Sleep"}));
    const KeySetting cut = apply({2, 0, 1, 1, 0, 3, 43, 300});
    EXPECT_EQ(cut.ComboKey.List, (std::vector<std::u16string>{u"A"}));
}

TEST_F(DeviceBridge, AssignmentTheKeyboardCannotHoldStopsTheWriteAndIsNamed) {
    At(3, 0) = Single(ModeSingle, 4); // fine, but must not be sent either

    const auto refused = [&](int key, int level, const KeySetting& setting) {
        auto& slot = At(key, level);
        const KeySetting before = slot;
        slot = setting;
        CKeyRefusal refusal;
        const bool written = WriteKeysToDevice(*Data, nullptr, &refusal);
        slot = before;
        EXPECT_FALSE(written) << key;
        EXPECT_EQ(refusal.Key, key);
        EXPECT_EQ(refusal.Level, level);
        EXPECT_EQ(Keyboard->ReportsWritten(), 0) << key;
        EXPECT_EQ(Stored(0, 3), (Array{0, 0})) << "the library's table is left empty";
    };

    CActionList combo;
    combo.SizeOfView = 6;
    for (int i = 0; i < 59; ++i)
        combo.AppendItem(u"A");
    refused(10, 1, WithList(ModeCombo, combo));

    CActionList emulation;
    for (int i = 0; i < 57; ++i)
        emulation.AppendItem(u"B");
    refused(87, 0, WithList(ModeEmulation, emulation));

    KeySetting badPlayMode = ThreeStepMacro(0);
    badPlayMode.ComboKey.PlayMode = 3;
    refused(1, 1, badPlayMode);

    // 16385 steps with recorded delays make a stream of 65537 bytes.
    CActionList longMacro;
    for (int i = 0; i < 2 * 16385 - 1; ++i)
        longMacro.List.push_back(i % 2 == 0 ? u"A" : u"<1 ms>");
    longMacro.SubLists.resize(longMacro.List.size());
    refused(40, 0, WithList(ModeMacro, longMacro));

    // The largest lists the packets carry still go.
    combo.List.resize(58);
    combo.SubLists.resize(58);
    At(10, 1) = WithList(ModeCombo, combo);
    emulation.List.resize(56);
    emulation.SubLists.resize(56);
    At(87, 0) = WithList(ModeEmulation, emulation);
    longMacro.List.resize(2 * 16384 - 1);
    longMacro.SubLists.resize(longMacro.List.size());
    At(40, 0) = WithList(ModeMacro, longMacro);
    CKeyRefusal refusal;
    EXPECT_TRUE(WriteKeysToDevice(*Data, nullptr, &refusal));
    EXPECT_EQ(refusal.Key, 0);
    EXPECT_EQ(Stored(0, 3), (Array{0, 1, 4}));
}

// Two different models: the first is on the keyboard, the second in the reader when a fault strikes.
class DeviceBridgeFaults : public DeviceBridge {
protected:
    void SetUp() override {
        DeviceBridge::SetUp();
        At(1, 0) = ThreeStepMacro(0);
        At(2, 1) = Single(ModeSingle, 4);
        CActionList long_;
        for (int i = 0; i < 60; ++i)
            long_.AppendItem(u"C");
        long_.IsAutoInterval = true;
        At(87, 1) = WithList(ModeMacro, long_); // two packets
        for (int key = 1; key <= KeyCount; ++key)
            Data->BackgroundLightSettings[key] = {key, key, key};
        ASSERT_TRUE(WriteKeysToDevice(*Data, nullptr));
        ASSERT_TRUE(WriteLightToDevice(*Data));

        Model = Reader();
        Model->CurrentSettings[1][0] = Single(ModeSingle, 9);
        Model->CurrentSettings[50][1] = WithList(ModeCombo, Content({u"A", u"B"}, 6));
        Model->BackgroundLightSettings[3] = {200, 100, 50};
    }

    void ExpectModelUnchanged(const std::string& where) {
        const auto fresh = NewModel();
        fresh->CurrentSettings[1][0] = Single(ModeSingle, 9);
        fresh->CurrentSettings[50][1] = WithList(ModeCombo, Content({u"A", u"B"}, 6));
        for (int key = 1; key <= KeyCount; ++key)
            for (int level = 0; level < LevelCount; ++level)
                ExpectSameSetting(Model->CurrentSettings[key][level], fresh->CurrentSettings[key][level],
                                  where + " key " + std::to_string(key));
        for (int key = 1; key <= KeyCount; ++key)
            EXPECT_EQ(Model->BackgroundLightSettings[key].Red, key == 3 ? 200 : 0) << where;
    }

    void Fault(const CVirtualKeyboardFaults& faults) {
        Keyboard->SetPlugged(true);
        Keyboard->SetFaults(faults);
    }

    std::unique_ptr<CKeyboardData> Model;
};

TEST_F(DeviceBridgeFaults, ReadThatFailsPartWayLeavesTheModelAsItWas) {
    // Report 1 is the request, reports 2..174 answer slots 0..172, 175 and 176 carry the two packets of
    // the last slot's macro and 177 is the end report.
    for (long at : {1L, 2L, 3L, 60L, 88L, 89L, 176L, 177L}) {
        Fault({0, at, -1, false});
        EXPECT_FALSE(ReadKeysFromDevice(*Model, nullptr)) << at;
        ExpectModelUnchanged("unplugged at " + std::to_string(at));
    }
    Fault({1, 0, -1, false});
    EXPECT_FALSE(ReadKeysFromDevice(*Model, nullptr));
    Fault({1, 0, -1, false});
    EXPECT_FALSE(ReadLightFromDevice(*Model));
    for (long at : {1L, 2L, 4L, 7L}) {
        Fault({0, at, -1, false});
        EXPECT_FALSE(ReadLightFromDevice(*Model)) << at;
    }
    Fault({0, 0, 50, false});
    EXPECT_FALSE(ReadKeysFromDevice(*Model, nullptr));
    Fault({0, 0, 2, false});
    EXPECT_FALSE(ReadLightFromDevice(*Model));
    ExpectModelUnchanged("after every fault");

    // Once the keyboard answers again the whole table arrives.
    Fault({});
    ASSERT_TRUE(ReadKeysFromDevice(*Model, nullptr));
    ASSERT_TRUE(ReadLightFromDevice(*Model));
    EXPECT_EQ(Model->CurrentSettings[1][0].Mode, ModeMacro);
    EXPECT_EQ(Model->CurrentSettings[50][1].Mode, ModeNotSet);
    EXPECT_EQ(Model->CurrentSettings[87][1].ComboKey.Count(), 60);
    EXPECT_EQ(Model->BackgroundLightSettings[3].Red, 3);
}

TEST_F(DeviceBridgeFaults, WriteThatFailsReportsItAndLeavesTheModelAlone) {
    // The model's table takes 176 reports: start, 174 slots, end.
    for (long at : {1L, 2L, 88L, 175L, 176L}) {
        Fault({0, at, -1, false});
        EXPECT_FALSE(WriteKeysToDevice(*Model, nullptr)) << at;
        Fault({at, 0, -1, false});
        EXPECT_FALSE(WriteKeysToDevice(*Model, nullptr)) << at;
        ExpectModelUnchanged("write failing at " + std::to_string(at));
    }
    for (long at : {1L, 3L, 7L}) {
        Fault({at, 0, -1, false});
        EXPECT_FALSE(WriteLightToDevice(*Model)) << at;
    }
    Fault({0, 177, -1, false});
    EXPECT_TRUE(WriteKeysToDevice(*Model, nullptr));
    ExpectModelUnchanged("after every fault");
}

} // namespace
