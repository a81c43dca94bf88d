// Two keyboards attached: the list names both configuration interfaces, and --device opens the one named.
#include "zelk/DeviceOptions.h"
#include "zelk/ZelkHWI.h"

#include <gtest/gtest.h>

namespace {

class CTwoKeyboards : public CDeviceProvider {
public:
    std::vector<CHidInterface> Enumerate() override {
        return {{"/dev/hidraw0", 0x0483, 0x5021, 0},
                {"/dev/hidraw1", 0x0483, 0x5021, 1},
                {"/dev/hidraw2", 0x0483, 0x5021, 0},
                {"/dev/hidraw3", 0x0483, 0x5021, 1}};
    }
    std::unique_ptr<CReportDevice> Open(const std::string& path, CProblem& problem) override {
        Opened.push_back(path);
        problem = ProblemCode::KeyboardNotOpened;
        return nullptr;
    }
    std::vector<std::string> Opened;
};

} // namespace

TEST(DeviceChoice, ListsBothKeyboardsAndOpensTheChosenOne) {
    auto keyboards = std::make_shared<CTwoKeyboards>();
    const std::vector<CHidInterface> listed = KeyboardInterfaces(*keyboards);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].Path, "/dev/hidraw1");
    EXPECT_EQ(listed[1].Path, "/dev/hidraw3");

    CMorvHWI first;
    first.UseDeviceProvider(keyboards);
    first.__createDev();
    CMorvHWI chosen;
    chosen.UseDeviceProvider(WithChosenDevice(keyboards, "/dev/hidraw3"));
    chosen.__createDev();
    CMorvHWI missing;
    missing.UseDeviceProvider(WithChosenDevice(keyboards, "/dev/hidraw9"));
    EXPECT_FALSE(missing.__createDev());
    EXPECT_EQ(keyboards->Opened, (std::vector<std::string>{"/dev/hidraw1", "/dev/hidraw3"}));
}

TEST(DeviceChoice, DeviceOptionTakesAPath) {
    CDeviceOptions options;
    std::string error;
    const std::vector<std::string_view> split{"--device", "/dev/hidraw3"};
    EXPECT_EQ(ParseDeviceOption(split, 0, options, error), 2);
    EXPECT_EQ(options.DevicePath, "/dev/hidraw3");
    const std::vector<std::string_view> joined{"--device=/dev/hidraw1"};
    EXPECT_EQ(ParseDeviceOption(joined, 0, options, error), 1);
    EXPECT_EQ(options.DevicePath, "/dev/hidraw1");
    const std::vector<std::string_view> empty{"--device="};
    EXPECT_EQ(ParseDeviceOption(empty, 0, options, error), -1);
    EXPECT_EQ(error, "--device needs a keyboard's path");
}
