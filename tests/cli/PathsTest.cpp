// File names that no single code page can spell (Greek, Chinese and Hebrew together): zelk-cli takes
// them as UTF-8 from its command line (from UTF-16 on Windows) and opens the files they name.
#include "CliTestSupport.h"

#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"
#include "zelk/VirtualKeyboard.h"

#include <memory>

namespace {

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

TEST(CliPaths, NamesBeyondTheCodePageReachTheirFiles) {
    const auto folder = TestFolder() / u8"Ω 配置 שלום";
    std::filesystem::create_directories(folder);
    const auto profile = folder / u8"键盘 Ω.pro";
    const auto state = folder / u8"状态 ש.state";
    const auto log = folder / u8"报告 λ.log";
    const auto back = folder / u8"读回 ב.pro";
    const auto image = folder / u8"固件 φ.hex";
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->Clear();
    data->CurrentSettings[1][0] = KeySetting{ModeSingle, 4, {}};
    ASSERT_TRUE(SaveProfile(*data, profile));
    std::ofstream(image, std::ios::binary) << ":0400000001020304F2\r\n:00000001FF\r\n";

    const std::string device = "--virtual-keyboard=" + Utf8(state);
    const CCliResult written = RunCli({device, "--report-log", Utf8(log), "write", Utf8(profile)});
    ASSERT_EQ(written.Status, 0) << written.Err;
    EXPECT_GT(std::filesystem::file_size(log), 0u);
    EXPECT_EQ(CVirtualKeyboard(Utf8(state)).SlotPackets(0).at(6), 4);

    const CCliResult read = RunCli({device, "read", Utf8(back)});
    ASSERT_EQ(read.Status, 0) << read.Err;
    EXPECT_EQ(read.Out, "Key settings and backlight saved to " + Utf8(back) + "\n");
    const CCliResult shown = RunCli({"show", "--lang", "zh-CN", Utf8(back)});
    ASSERT_EQ(shown.Status, 0) << shown.Err;
    EXPECT_EQ(shown.Out.rfind(" 1 Esc           上档键：单键 F3   下档键：", 0), 0u) << shown.Out;

    const CCliResult flashed = RunCli({device, "flash", Utf8(image)});
    ASSERT_EQ(flashed.Status, 0) << flashed.Err;
    EXPECT_EQ(CVirtualKeyboard(Utf8(state)).FirmwareImage(), (std::vector<std::uint8_t>{1, 2, 3, 4}));

    // The name comes back in the reason as it was given.
    const auto missing = folder / u8"缺 ψ.pro";
    const CCliResult failed = RunCli({"show", Utf8(missing)});
    EXPECT_EQ(failed.Status, 1);
    EXPECT_EQ(failed.Err, "zelk-cli: cannot read " + Utf8(missing) + ": No such file or directory\n");
}

} // namespace
