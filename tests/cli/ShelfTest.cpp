// The profile shelf through zelk-cli: listing it, putting profiles on it, and applying them by name so
// that what the keyboard already holds is never written again.
#include "CliTestSupport.h"

#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"

#include <cstdlib>
#include <sstream>

namespace {

// The reports the host sent, by their first bytes.
std::vector<std::string> Sent(const std::filesystem::path& log) {
    std::vector<std::string> sent;
    std::istringstream lines(ReadWhole(log));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("> ", 0) == 0)
            sent.push_back(line.substr(2, 6));
    return sent;
}

class CliShelf : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TestFolder();
#if defined(_WIN32)
        _putenv_s("APPDATA", (Folder / "data").string().c_str());
        Shelf = Folder / "data" / "Zelk" / "profiles";
#else
        setenv("XDG_DATA_HOME", (Folder / "data").c_str(), 1);
        Shelf = Folder / "data" / "zelk" / "profiles";
#endif
    }
    void TearDown() override {
#if defined(_WIN32)
        _putenv_s("APPDATA", "");
#else
        unsetenv("XDG_DATA_HOME");
#endif
    }

    CCliResult Cli(const std::string& log, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--virtual-keyboard=" + (Folder / "keyboard").string(),
                                             "--report-log", (Folder / log).string()});
        return RunCli(arguments);
    }

    std::filesystem::path Folder;
    std::filesystem::path Shelf;
};

TEST_F(CliShelf, ListsAppliesByNameAndNeverWritesWhatTheKeyboardHolds) {
    const CCliResult missing = RunCli({"profiles"});
    ExpectFailureLine(missing, "missing shelf");
    EXPECT_NE(missing.Err.find("does not exist yet; zelk-cli save-to-shelf PROFILE.pro puts a profile there"),
              std::string::npos)
        << missing.Err;

    // Work differs from the demo in one key.
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->Clear();
    ASSERT_TRUE(LoadProfile(*data, ZELK_DEMO_PROFILE));
    data->CurrentSettings[6][0] = KeySetting{ModeMultimedia, 112, {}};
    ASSERT_TRUE(SaveProfile(*data, Folder / "work.pro"));
    EXPECT_EQ(RunCli({"save-to-shelf", ZELK_DEMO_PROFILE, "Game é"}).Out,
              "Saved to the profile shelf as \"Game é\".\n");
    EXPECT_EQ(RunCli({"save-to-shelf", (Folder / "work.pro").string(), "Work"}).Status, 0);
    const struct {
        std::vector<std::string> Arguments;
        std::string Err;
    } refused[] = {
        {{"save-to-shelf", ZELK_DEMO_PROFILE, "Game é"},
         "zelk-cli: the profile shelf already holds a profile named \"Game é\"; --replace replaces it\n"},
        {{"save-to-shelf", ZELK_DEMO_PROFILE, "GAME é"},
         "zelk-cli: the profile shelf holds \"Game é\", whose name differs from it only in case; a file "
         "system that ignores case cannot keep both\n"},
        {{"save-to-shelf", ZELK_DEMO_PROFILE, ".hidden"},
         "zelk-cli: \".hidden\" cannot name a profile: a name is not empty, does not start with a dot and "
         "holds none of / \\ : * ? \" < > | or control characters\n"},
    };
    for (const auto& refusal : refused) {
        const CCliResult result = RunCli(refusal.Arguments);
        EXPECT_EQ(result.Status, 1) << refusal.Err;
        EXPECT_EQ(result.Err, refusal.Err);
    }
    std::ofstream(Shelf / "broken.pro") << "<Zelk><CurrentSettings>";

    const std::string damaged = "broken\tdamaged: broken.pro is damaged: it ends before all of its elements "
                                "are closed (is it cut short?)\n";
    EXPECT_EQ(Cli("list.log", {"profiles"}).Out, "Game é\nWork\n" + damaged);

    const CCliResult first = Cli("first.log", {"apply", "Game é"});
    EXPECT_EQ(first.Out, "Key settings written.\nBacklight written.\n") << first.Err;
    const CCliResult second = Cli("second.log", {"apply", "Game é"});
    EXPECT_EQ(second.Status, 0) << second.Err;
    EXPECT_EQ(second.Out, "The keyboard already holds \"Game é\"; nothing was written.\n");
    EXPECT_EQ(Sent(Folder / "second.log"), (std::vector<std::string>{"0000f2", "0000e2"})) << "reads only";
    EXPECT_EQ(Cli("held.log", {"profiles"}).Out, "Game é\ton the keyboard\nWork\n" + damaged);

    // One key differs: the key table goes again (begin, 174 slots, end), the backlight does not.
    const CCliResult work = Cli("work.log", {"apply", "Work"});
    EXPECT_EQ(work.Out, "Key settings written.\nBacklight already on the keyboard.\n") << work.Err;
    const std::vector<std::string> sent = Sent(Folder / "work.log");
    EXPECT_EQ(sent.size(), 178u);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "0000e1"), 0);

    const CCliResult broken = Cli("broken.log", {"apply", "broken"});
    ExpectFailureLine(broken, "damaged");
    EXPECT_EQ(broken.Err,
              "zelk-cli: the profile \"broken\" on the shelf is damaged: it ends before all of its "
              "elements are closed (is it cut short?); nothing was written\n");
    EXPECT_TRUE(Sent(Folder / "broken.log").empty());
}

} // namespace
