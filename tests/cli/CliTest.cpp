#include "CliTestSupport.h"

#include "zelk/VirtualKeyboard.h"

#include <random>

namespace {

TEST(CliUsage, MistakesOnTheCommandLineGiveStatusTwoAndOneReason) {
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"frobnicate"},
        {"--frobnicate", "detect"},
        {"detect", "extra"},
        {"flash"},
        {"flash", "a.hex", "--backup"},
        {"flash", "a.hex", "--backup="},
        {"flash", "a.hex", "--backup", "b.pro", "--no-backup"},
        {"read", "a.pro", "--no-backup"},
        {"write"},
        {"write-keys", "a.pro", "b.pro"},
        {"write-light"},
        {"read"},
        {"show"},
        {"show", "a.pro", "--lang", "fr-FR"},
        {"show", "a.pro", "--lang"},
        {"--report-log"},
        {"--virtual-fault", "unplug-at=x", "detect"},
        {"import", "a.json"},
        {"apply"},
        {"diff", "a.pro"},
        {"set", "a.pro"},
        {"set", "a.pro", "A"},
        {"set", "a.pro", "A", "single"},
        {"set", "a.pro", "A", "none", "extra"},
        {"set", "a.pro", "A", "single", "B", "--level", "3"},
        {"set", "a.pro", "A", "single", "B", "--level"},
        {"set", "a.pro", "--colour", "A"},
        {"set", "a.pro", "--define-combo", "Copy"},
        {"set", "a.pro", "--define-combo", "Copy", "A", "--cycles", "2"},
    };
    for (const auto& arguments : mistakes) {
        std::string where;
        for (const auto& argument : arguments)
            where += argument + " ";
        const CCliResult result = RunCli(arguments);
        EXPECT_EQ(result.Status, 2) << where;
        EXPECT_TRUE(result.Out.empty()) << where;
        ASSERT_EQ(result.ErrLines().size(), 1u) << where << result.Err;
        EXPECT_EQ(result.ErrLines()[0].rfind("zelk-cli: ", 0), 0u) << where << result.Err;
    }
}

TEST(CliUsage, HelpNamesEveryCommandAndUserOption) {
    const CCliResult result = RunCli({"--help"});
    EXPECT_EQ(result.Status, 0);
    for (const char* word :
         {"detect", "version", "flash FILE.hex", "write PROFILE.pro", "write-keys PROFILE.pro",
          "write-light PROFILE.pro", "read OUT.pro", "show PROFILE.pro", "--lang", "--virtual-keyboard",
          "--backup OUT.pro", "--no-backup"})
        EXPECT_NE(result.Out.find(word), std::string::npos) << word;
    // The test-only options stay out of the user's help.
    for (const char* word : {"--report-log", "--virtual-fault"})
        EXPECT_EQ(result.Out.find(word), std::string::npos) << word;
}

TEST(CliDevice, MissingOrFailingKeyboardGivesStatusOne) {
    ExpectFailureLine(RunCli({"--virtual-fault", "unplug-at=1", "version"}), "version, unplugged");
    const CCliResult found = RunCli({"--virtual-keyboard", "detect"});
    EXPECT_EQ(found.Status, 0);
    EXPECT_EQ(found.Out, "Keyboard found\n");
}

TEST(CliDevice, ListNamesEveryKeyboardAndDeviceChoosesOne) {
    const CCliResult listed = RunCli({"--virtual-keyboard", "list"});
    EXPECT_EQ(listed.Status, 0);
    EXPECT_EQ(listed.Out, "virtual:hid#vid_0483&pid_5021&mi_01\t1\tZelk virtual keyboard V1.00\n");
    EXPECT_EQ(listed.Err, "");
    // A keyboard that cannot answer is listed with '-' for its version.
    const CCliResult silent = RunCli({"--virtual-fault", "silent-after=0", "list"});
    EXPECT_EQ(silent.Out, "virtual:hid#vid_0483&pid_5021&mi_01\t1\t-\n");

    const CCliResult chosen =
        RunCli({"--virtual-keyboard", "--device", "virtual:hid#vid_0483&pid_5021&mi_01", "version"});
    EXPECT_EQ(chosen.Status, 0);
    EXPECT_EQ(chosen.Out, "Zelk virtual keyboard V1.00\n");
    // Another path, or the keyboard's other interface, finds no keyboard.
    ExpectFailureLine(RunCli({"--virtual-keyboard", "--device=/dev/hidraw99", "version"}),
                      "Keyboard is not connected");
    ExpectFailureLine(
        RunCli({"--virtual-keyboard", "--device", "virtual:hid#vid_0483&pid_5021&mi_00", "version"}),
        "Keyboard is not connected");
    const CCliResult none = RunCli({"--virtual-keyboard", "--device=/dev/hidraw99", "list"});
    EXPECT_EQ(none.Status, 0);
    EXPECT_EQ(none.Out, "");
    EXPECT_EQ(RunCli({"--device"}).Status, 2);
}

class CliFlash : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TestFolder();
        Image.resize(5000);
        std::mt19937 random(11);
        for (auto& byte : Image)
            byte = static_cast<std::uint8_t>(random());
        std::ofstream(Folder / "image.bin", std::ios::binary)
            .write(reinterpret_cast<const char*>(Image.data()), static_cast<long>(Image.size()));
#if defined(OBJCOPY)
        const std::string command = std::string(OBJCOPY) + " -I binary -O ihex " +
                                    Quoted((Folder / "image.bin").string()) + " " + Quoted(Hex().string());
        ASSERT_EQ(std::system(command.c_str()), 0);
#else
        // Where objcopy cannot run, the one of MinGW-w64's binutils made this image from the same bytes.
        std::filesystem::copy_file(ZELK_TEST_DATA "/objcopy-image-cli.hex", Hex());
#endif
    }
    std::filesystem::path Hex() const {
        return Folder / "image.hex";
    }
    std::filesystem::path State() const {
        return Folder / "keyboard.state";
    }
    CCliResult Flash(const std::filesystem::path& hex, const std::string& fault = {}) {
        std::vector<std::string> arguments = {"--virtual-keyboard=" + State().string()};
        if (!fault.empty())
            arguments.insert(arguments.end(), {"--virtual-fault", fault});
        arguments.insert(arguments.end(), {"flash", hex.string()});
        return RunCli(arguments);
    }

    std::filesystem::path Folder;
    std::vector<std::uint8_t> Image;
};

TEST_F(CliFlash, ObjcopyImageReachesTheKeyboard) {
    const CCliResult result = Flash(Hex());
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.ErrLines().size(), 1u) << result.Err; // no backup was made
    EXPECT_EQ(CVirtualKeyboard(State().string()).FirmwareImage(), Image);
}

TEST_F(CliFlash, CorruptMissingOrInterruptedImageGivesStatusOne) {
    std::string text = ReadWhole(Hex());
    const std::size_t secondLine = text.find('\n') + 1;
    text[secondLine + 12] =
        text[secondLine + 12] == '0' ? '1' : '0'; // a data digit: the checksum no longer fits
    std::ofstream(Folder / "corrupt.hex", std::ios::binary) << text;
    ExpectFailureLine(Flash(Folder / "corrupt.hex"), "corrupt");
    EXPECT_TRUE(CVirtualKeyboard(State().string()).FirmwareImage().empty()) << "nothing may be sent";

    ExpectFailureLine(Flash(Folder / "missing.hex"), "missing");
    ExpectFailureLine(Flash(Hex(), "unplug-at=40"), "unplugged");
}

} // namespace
