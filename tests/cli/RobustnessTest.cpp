// Damaged files, hostile input and device faults end with one clear line and status 1, with nothing
// sent to the keyboard and no file overwritten.
#include "CliTestSupport.h"

#include "catalogue/KeyCatalogue.h"
#include "model/Profile.h"
#include "zelk/VirtualKeyboard.h"

#include <sys/stat.h>

namespace {

class CliRobustness : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TestFolder();
        auto data = std::make_unique<CKeyboardData>();
        BuildKeyCatalogue(*data);
        data->Clear();
        data->CurrentSettings[1][0] = KeySetting{ModeSingle, 4, {}};
        data->BackgroundLightSettings[1] = {1, 2, 3};
        ASSERT_TRUE(SaveProfile(*data, Good()));
        // The keyboard holds something that a refused command must not touch.
        ASSERT_EQ(Cli({"write", Good().string()}).Status, 0);
        Before = ReadWhole(State());
    }

    std::filesystem::path Good() const { return Folder / "good.pro"; }
    std::filesystem::path State() const { return Folder / "keyboard.state"; }
    std::filesystem::path Write(const std::string& name, const std::string& text) const {
        std::ofstream(Folder / name, std::ios::binary) << text;
        return Folder / name;
    }
    CCliResult Cli(std::vector<std::string> arguments, const std::filesystem::path& state = {}) {
        arguments.insert(arguments.begin(),
                         "--virtual-keyboard=" + (state.empty() ? State() : state).string());
        return RunCli(arguments);
    }
    void ExpectRefused(const CCliResult& result, const std::string& words, const std::string& where) {
        ExpectFailureLine(result, where);
        EXPECT_NE(result.Err.find(words), std::string::npos) << where << "\n" << result.Err;
        EXPECT_EQ(ReadWhole(State()), Before) << where << ": the keyboard was changed";
    }

    std::filesystem::path Folder;
    std::string Before;
};

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST_F(CliRobustness, DamagedProfilesAreRefusedByShowAndWrite) {
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Zelk>\r\n<PredefinedCombo>\r\n";
    const std::string tail = "</PredefinedCombo>\r\n</Zelk>\r\n";
    const struct {
        const char* Name;
        std::string Text;
        const char* Words;
    } damaged[] = {
        {"cut.pro", ReadWhole(ZELK_DEMO_PROFILE).substr(0, 20000),
         "ends before all of its elements are closed"},
        {"deep.pro",
         head + Repeated("<List>\r\n<x ID=\"0\" t1=\"A\">\r\n", 20000) +
             Repeated("</x>\r\n</List>\r\n", 20000) + tail,
         "nested more than 32 deep"},
        {"sparse.pro",
         head + "<List>\r\n" + Repeated("<x ID=\"0\"><List><x ID=\"65535\"/></List></x>\r\n", 2000) +
             "</List>\r\n" + tail,
         "item IDs leave gaps"},
    };
    for (const auto& file : damaged) {
        const auto path = Write(file.Name, file.Text);
        ExpectRefused(RunCli({"show", path.string()}), file.Words, std::string("show ") + file.Name);
        ExpectRefused(Cli({"write", path.string()}), file.Words, std::string("write ") + file.Name);
    }
}

TEST_F(CliRobustness, MacroTooLongToReadBackIsRefusedAtWrite) {
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->Clear();
    CActionList steps;
    steps.IsAutoInterval = true;
    steps.List.assign(65531, u"A");
    steps.SubLists.resize(steps.List.size());
    data->CurrentSettings[30][1] = KeySetting{ModeMacro, 0, steps};
    const auto path = Folder / "long macro.pro";
    ASSERT_TRUE(SaveProfile(*data, path));
    ExpectRefused(Cli({"write-keys", path.string()}), "key 30 (W) on level 2", "write");
    EXPECT_EQ(Cli({"read", (Folder / "back.pro").string()}).Status, 0);
}

std::string HexRecord(int type, unsigned address, const std::vector<unsigned>& data) {
    std::vector<unsigned> bytes = {static_cast<unsigned>(data.size()), (address >> 8) & 0xFF, address & 0xFF,
                                   static_cast<unsigned>(type)};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (const unsigned byte : bytes)
        sum += byte;
    bytes.push_back((0x100 - (sum & 0xFF)) & 0xFF);
    std::string line = ":";
    for (const unsigned byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", byte);
        line += digits;
    }
    return line + "\r\n";
}

TEST_F(CliRobustness, FirmwareThatIsNoRegularFileIsRefusedUnread) {
    std::vector<std::string> paths = {Folder.string()};
#if !defined(_WIN32)
    ASSERT_EQ(mkfifo((Folder / "pipe.hex").c_str(), 0600), 0);
    paths.insert(paths.end(), {(Folder / "pipe.hex").string(), "/dev/zero"});
#endif
    for (const std::string& path : paths)
        ExpectFailureLine(Cli({"flash", path}), "flash " + path);
    EXPECT_TRUE(CVirtualKeyboard(State().string()).FirmwareSegments().empty());
}

TEST_F(CliRobustness, FirmwareAtTheEndsOfTheAddressSpaceStaysSparse) {
    using CSegments = std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>;
    const std::string end = HexRecord(1, 0, {});
    const struct {
        std::string Text;
        CSegments Segments;
    } images[] = {
        // A record that runs past the last address goes on at address 0.
        {HexRecord(4, 0, {0xFF, 0xFF}) + HexRecord(0, 0xFFFE, {1, 2, 3, 4}) + end,
         {{0, {3, 4}}, {0xFFFFFFFE, {1, 2}}}},
        // Two bytes 4 GB apart.
        {HexRecord(0, 0, {9}) + HexRecord(4, 0, {0xFF, 0xFF}) + HexRecord(0, 0xFFFF, {8}) + end,
         {{0, {9}}, {0xFFFFFFFF, {8}}}},
    };
    for (const auto& image : images) {
        const CCliResult result = Cli({"flash", Write("edges.hex", image.Text).string()});
        ASSERT_EQ(result.Status, 0) << result.Err;
        EXPECT_LT(std::filesystem::file_size(State()), Before.size() + 1000);
        EXPECT_EQ(CVirtualKeyboard(State().string()).FirmwareSegments(), image.Segments);
    }
}

TEST_F(CliRobustness, StateFileThatIsNotTheVirtualKeyboardsOwnIsLeftAlone) {
    const std::string damaged =
        Before.substr(0, Before.find('\n') + 1) + "slot 3 0g\n" + Before.substr(Before.find('\n') + 1);
    const struct {
        const char* Name;
        std::string Text;
        const char* Words;
    } files[] = {
        {"my.pro", ReadWhole(Good()), "is not a state file"},
        {"damaged.state", damaged, "is damaged at line 2"},
    };
    for (const auto& file : files) {
        const auto path = Write(file.Name, file.Text);
        const CCliResult result = Cli({"write-light", Good().string()}, path);
        ExpectFailureLine(result, file.Name);
        EXPECT_NE(result.Err.find(file.Words), std::string::npos) << result.Err;
        EXPECT_EQ(ReadWhole(path), file.Text) << file.Name;
    }
    // A state that cannot be saved is a failure, not "written".
    ExpectFailureLine(Cli({"write-light", Good().string()}, Folder / "no folder" / "k.state"), "no folder");
}

// Links, permissions and a full device as POSIX systems have them.
#if !defined(_WIN32)
TEST_F(CliRobustness, SavingFollowsNoPlantedLinkAndKeepsThePermissions) {
    const auto victim = Write("victim.txt", "precious\n");
    const auto profile = Folder / "out.pro";
    std::filesystem::create_symlink(victim, Folder / "out.pro.saving");
    std::filesystem::create_symlink(victim, Folder / "keyboard.state.tmp");
    Write("out.pro", "old\n");
    ASSERT_EQ(chmod(profile.c_str(), 0600), 0);
    ASSERT_EQ(Cli({"read", profile.string()}).Status, 0);
    ASSERT_EQ(Cli({"write-light", Good().string()}).Status, 0);
    EXPECT_EQ(ReadWhole(victim), "precious\n");
    EXPECT_EQ(std::filesystem::status(profile).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_NE(ReadWhole(profile).find("<Zelk>"), std::string::npos);

    // Saving to a link replaces the file it points to; the link stays.
    std::filesystem::create_symlink(profile, Folder / "link.pro");
    Write("out.pro", "old\n");
    ASSERT_EQ(Cli({"read", (Folder / "link.pro").string()}).Status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(Folder / "link.pro"));
    EXPECT_NE(ReadWhole(profile).find("<Zelk>"), std::string::npos);
}

TEST_F(CliRobustness, ReportLogThatCannotBeWrittenIsAFailure) {
    ExpectFailureLine(Cli({"--report-log", "/dev/full", "version"}), "full disk");
}

#endif

TEST_F(CliRobustness, VersionQuerySkipsStrayReplies) {
    const CCliResult result = RunCli({"--virtual-fault", "unexpected", "version"});
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "Zelk virtual keyboard V1.00\n");
}

} // namespace
