#include "Discovery.h"
#include "HwiTestSupport.h"

#include <chrono>

namespace {

CHidInterface WindowsPath(const std::string& path) {
    return {path, 0, 0, -1};
}

TEST(Discovery, MarkersAreMatchedCaseSensitively) {
    EXPECT_TRUE(IsKeyboardInterface(WindowsPath(R"(\\?\hid#vid_0483&pid_5021&mi_01#7&1a2b&0&0000#{guid})")));
    EXPECT_FALSE(IsKeyboardInterface(WindowsPath(R"(\\?\hid#VID_0483&pid_5021&mi_01#7&1a2b&0&0000#{guid})")));
    EXPECT_FALSE(IsKeyboardInterface(WindowsPath(R"(\\?\hid#vid_0483&pid_5022&mi_01#x)")));
    EXPECT_FALSE(IsKeyboardInterface(WindowsPath(R"(\\?\hid#vid_0483&pid_5021&mi_00#x)")));
}

TEST(Discovery, FirstMatchingInterfaceWinsAndOthersAreSkipped) {
    const std::vector<CHidInterface> interfaces = {
        WindowsPath(R"(\\?\hid#vid_046d&pid_c52b&mi_01#a)"),
        WindowsPath(R"(\\?\hid#vid_0483&pid_5021&mi_00#b)"),
        WindowsPath(R"(\\?\hid#vid_0483&pid_5021&mi_01#c)"),
        WindowsPath(R"(\\?\hid#vid_0483&pid_5021&mi_01#d)"),
    };
    EXPECT_EQ(FindKeyboardInterface(interfaces), 2);
    EXPECT_EQ(FindKeyboardInterface({}), -1);
}

TEST(Discovery, DeviceNodesAreMatchedByIdsAndInterfaceOne) {
    const std::vector<CHidInterface> interfaces = {
        {"/dev/hidraw2", 0x0483, 0x5021, 0},
        {"/dev/hidraw3", 0x0483, 0x5020, 1},
        {"/dev/hidraw4", 0x0483, 0x5021, 1},
    };
    EXPECT_EQ(FindKeyboardInterface(interfaces), 2);
}

TEST(Facade, ClosedFacadeRefusesEverythingWithoutTouchingTheDevice) {
    CMorvHWI facade;
    int array[8] = {0, 1, 4};
    int area[LightAreaSize] = {};
    char16_t version[VersionTextCapacity] = {};
    EXPECT_FALSE(facade.IsOpen());
    EXPECT_FALSE(facade.setKeyConfiguration(0, 1, array, 3));
    EXPECT_FALSE(facade.getKeyConfiguration(0, 1, array, 8));
    EXPECT_FALSE(facade.prepare());
    EXPECT_FALSE(facade.writeKeyConfigurationToDev(nullptr));
    EXPECT_FALSE(facade.readKeyDefinationFromDev(nullptr));
    EXPECT_FALSE(facade.setKeyboardLightArea(area));
    EXPECT_FALSE(facade.getKeyboardLightArea(area));
    EXPECT_FALSE(facade.readKeyLightFromDev());
    EXPECT_FALSE(facade.ReadKeyboardVersion(version));
    EXPECT_FALSE(facade.WriteFirmwareToKeyboard(":00000001FF\r\n", 13, nullptr));
    EXPECT_NE(facade.getHardwareVersion(), nullptr);
    EXPECT_TRUE(facade.__closeDev());
}

TEST(Facade, OpenAndCloseFollowTheKeyboardsPresence) {
    auto keyboard = std::make_shared<CVirtualKeyboard>();
    CMorvHWI facade;
    facade.UseDeviceProvider(MakeVirtualKeyboardProvider(keyboard));
    keyboard->SetPlugged(false);
    EXPECT_FALSE(facade.DetectDevice());
    EXPECT_FALSE(facade.__createDev());
    EXPECT_FALSE(facade.IsOpen());

    keyboard->SetPlugged(true);
    EXPECT_TRUE(facade.DetectDevice());
    ASSERT_TRUE(facade.__createDev());
    const int single[] = {0, 1, 4};
    ASSERT_TRUE(facade.setKeyConfiguration(1, 87, single, 3));
    EXPECT_TRUE(facade.__createDev()); // already open: the same table stays
    int array[4] = {};
    ASSERT_TRUE(facade.getKeyConfiguration(1, 87, array, 4));
    EXPECT_EQ(array[2], 4);

    keyboard->SetPlugged(false);
    EXPECT_FALSE(facade.DetectDevice());
    EXPECT_TRUE(facade.IsOpen()); // the presence test leaves the open handle alone
    keyboard->SetPlugged(true);

    EXPECT_TRUE(facade.__closeDev());
    EXPECT_TRUE(facade.__closeDev());
    ASSERT_TRUE(facade.__createDev());
    ASSERT_TRUE(facade.getKeyConfiguration(1, 87, array, 4));
    EXPECT_EQ(array[0], 0);
    EXPECT_EQ(array[1], 0); // a new keyboard object starts empty
}

TEST_F(CVirtualKeyboardTest, SlotsAreReplacedAndRefusedDefinitionsLeaveThemAlone) {
    const int single[] = {0, 1, 4};
    const int combo[] = {0, 2, 17, 65};
    const int tooLong[] = {0, 59};
    const int unknown[] = {3, 0};
    EXPECT_TRUE(Facade.setKeyConfiguration(0, 1, single, 3));
    EXPECT_TRUE(Facade.setKeyConfiguration(0, 1, combo, 4));
    EXPECT_FALSE(Facade.setKeyConfiguration(0, 1, tooLong, 2));
    EXPECT_FALSE(Facade.setKeyConfiguration(0, 1, unknown, 2));
    EXPECT_FALSE(Facade.setKeyConfiguration(2, 1, single, 3));
    EXPECT_FALSE(Facade.setKeyConfiguration(0, 88, single, 3));
    int array[8] = {};
    ASSERT_TRUE(Facade.getKeyConfiguration(0, 1, array, 8));
    EXPECT_EQ(std::vector<int>(array, array + 4), std::vector<int>(combo, combo + 4));
    EXPECT_FALSE(Facade.getKeyConfiguration(0, 1, array, 2)); // no room for it
    EXPECT_TRUE(Facade.prepare());
    ASSERT_TRUE(Facade.getKeyConfiguration(0, 1, array, 8));
    EXPECT_EQ(array[1], 0);
}

TEST_F(CVirtualKeyboardTest, VersionTextArrivesAsWideCharacters) {
    Keyboard->SetVersionText("MORV-87 V2.14");
    char16_t version[VersionTextCapacity];
    std::fill(std::begin(version), std::end(version), u'#');
    ASSERT_TRUE(Facade.ReadKeyboardVersion(version));
    EXPECT_EQ(std::u16string(version), u"MORV-87 V2.14");
    EXPECT_EQ(version[20], 0);
    EXPECT_EQ(std::u16string(Facade.getHardwareVersion()), u"MORV-87 V2.14");
    const auto sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0][2], 0xF9);
}

TEST_F(CVirtualKeyboardTest, VersionTextWithoutZeroIsStillTerminated) {
    Keyboard->SetVersionText(std::string(70, 'A'));
    char16_t version[VersionTextCapacity];
    std::fill(std::begin(version), std::end(version), u'#');
    ASSERT_TRUE(Facade.ReadKeyboardVersion(version));
    EXPECT_EQ(std::u16string(version), std::u16string(62, u'A'));
}

TEST_F(CVirtualKeyboardTest, SilentKeyboardEndsTheVersionQueryByTimeout) {
    CVirtualKeyboardFaults faults;
    faults.SilentAfterReplies = 0;
    Keyboard->SetFaults(faults);
    char16_t version[VersionTextCapacity] = {};
    EXPECT_FALSE(Facade.ReadKeyboardVersion(version));
    faults.SilentAfterReplies = -1;
    faults.FailWriteAt = 1;
    Keyboard->SetFaults(faults);
    EXPECT_FALSE(Facade.ReadKeyboardVersion(version));
}

TEST(VirtualKeyboard, StateFileKeepsDefinitionsLightAndFirmware) {
    const auto path = TestFile("state");
    std::filesystem::remove(path);
    {
        auto keyboard = std::make_shared<CVirtualKeyboard>(path.string());
        CMorvHWI facade;
        facade.UseDeviceProvider(MakeVirtualKeyboardProvider(keyboard));
        ASSERT_TRUE(facade.__createDev());
        std::vector<int> macro = {2, 0, 1, 0, 0, 60};
        for (int i = 0; i < 60; ++i)
            macro.push_back(i + 1);
        ASSERT_TRUE(facade.setKeyConfiguration(1, 3, macro.data(), static_cast<int>(macro.size())));
        ASSERT_TRUE(facade.writeKeyConfigurationToDev(nullptr));
        int area[LightAreaSize];
        for (int i = 0; i < LightAreaSize; ++i)
            area[i] = i;
        ASSERT_TRUE(facade.setKeyboardLightArea(area));
        const char firmware[] = ":0400100001020304E2\r\n:00000001FF\r\n";
        ASSERT_TRUE(facade.WriteFirmwareToKeyboard(firmware, sizeof firmware - 1, nullptr));
    }
    auto reloaded = std::make_shared<CVirtualKeyboard>(path.string());
    EXPECT_EQ(reloaded->SlotPackets(87 + 2).size(), 128u);
    EXPECT_EQ(reloaded->LightArea()[260], 260 & 0xFF);
    EXPECT_EQ(reloaded->FirmwareImage(), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_EQ(reloaded->FirmwareBase(), 0x10u);

    CMorvHWI facade;
    facade.UseDeviceProvider(MakeVirtualKeyboardProvider(reloaded));
    ASSERT_TRUE(facade.__createDev());
    ASSERT_TRUE(facade.readKeyDefinationFromDev(nullptr));
    std::vector<int> array(200);
    ASSERT_TRUE(facade.getKeyConfiguration(1, 3, array.data(), 200));
    EXPECT_EQ(array[5], 60);
    EXPECT_EQ(array[65], 60);
    std::filesystem::remove(path);
}

TEST(VirtualKeyboard, FaultSpecificationsAreParsed) {
    CVirtualKeyboardFaults faults;
    std::string error;
    ASSERT_TRUE(
        ParseVirtualKeyboardFaults("fail-write=3,unplug-at=9,silent-after=2,unexpected", faults, error));
    EXPECT_EQ(faults.FailWriteAt, 3);
    EXPECT_EQ(faults.UnplugAtReport, 9);
    EXPECT_EQ(faults.SilentAfterReplies, 2);
    EXPECT_TRUE(faults.UnexpectedReplies);
    EXPECT_FALSE(ParseVirtualKeyboardFaults("fail-write=x", faults, error));
    EXPECT_FALSE(ParseVirtualKeyboardFaults("melt=1", faults, error));
}

} // namespace
