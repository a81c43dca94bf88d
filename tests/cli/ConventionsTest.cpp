// The command-line conventions of zelk-cli: --help, --version, "--", the reasons of file errors,
// progress only on a terminal and sized to it, and show --json.
#include "CliTestSupport.h"

#include "ProgressBar.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"

#include "catalogue/KeyCatalogue.h"

#include <regex>
#if !defined(_WIN32)
#include <fcntl.h>
#include <pty.h>
#endif

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

// Columns a UTF-8 line takes, one per code point.
std::size_t Columns(const std::string& line) {
    std::size_t columns = 0;
    for (const char c : line)
        columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return columns;
}

TEST(CliConventions, HelpFitsEightyColumnsAndNamesTheNewOptions) {
    const CCliResult result = RunCli({"--help"});
    ASSERT_EQ(result.Status, 0);
    for (const std::string& line : Lines(result.Out))
        EXPECT_LE(Columns(line), 80u) << line;
    for (const char* word : {"--version", "--json", "  --  "})
        EXPECT_NE(result.Out.find(word), std::string::npos) << word;
}

TEST(CliConventions, VersionIsPrintedWithoutAKeyboard) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{"--version"}, {"--version", "flash"}}) {
        const CCliResult result = RunCli(arguments);
        EXPECT_EQ(result.Status, 0);
        EXPECT_TRUE(std::regex_match(result.Out, std::regex("zelk-cli [0-9]+\\.[0-9]+\\.[0-9]+\n")))
            << result.Out;
        EXPECT_TRUE(result.Err.empty()) << result.Err;
    }
}

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TestFolder();
        auto data = std::make_unique<CKeyboardData>();
        BuildKeyCatalogue(*data);
        data->Clear();
        // Each list shows the rows the desktop program gives it, so only the macro's view is printed.
        for (auto& levels : data->CurrentSettings)
            for (KeySetting& setting : levels)
                setting.ComboKey.SizeOfView = 9;
        data->CurrentSettings[1][0] = KeySetting{ModeSingle, 4, {}};
        data->CurrentSettings[1][0].ComboKey.SizeOfView = 9;
        data->CurrentSettings[2][1] = KeySetting{ModeMacro, 0, {}};
        data->CurrentSettings[2][1].ComboKey.SizeOfView = 9;
        for (const char16_t* item : {u"A Down", u"<30 ms>", u"say \"hi\" \\ 你好"})
            data->CurrentSettings[2][1].ComboKey.AppendItem(item);
        data->CurrentSettings[2][1].ComboKey.Cycles = 3;
        data->BackgroundLightSettings[87] = {255, 111, 0};
        data->PredefinedCombo.AppendItem(u"Copy");
        CActionList copy;
        copy.SizeOfView = 6;
        copy.List = {u"Left CONTROL", u"C"};
        copy.SubLists.resize(2);
        for (CActionList& child : copy.SubLists)
            child.SizeOfView = 9;
        data->PredefinedCombo.SetSubList(0, copy);
        ASSERT_TRUE(SaveProfile(*data, Folder / "-dash.pro"));
    }
    std::string Path(const std::string& name) const { return (Folder / name).string(); }

    std::filesystem::path Folder;
};

TEST_F(CliFiles, DoubleDashEndsTheOptions) {
    // From inside the folder, the profile's name begins with '-': only "--" lets it through.
    EXPECT_EQ(RunCli({"show", "-dash.pro"}, Folder).Status, 2);
    EXPECT_EQ(RunCli({"show", "--", "-dash.pro"}, Folder).Status, 0);
    EXPECT_EQ(RunCli({"--", "show", "-dash.pro"}, Folder).Status, 0);
    // After "--", --help is no option but an unknown command.
    EXPECT_EQ(RunCli({"--", "--help"}).Status, 2);
}

TEST_F(CliFiles, FileErrorsSayWhy) {
    const struct {
        std::vector<std::string> Arguments;
        std::string Line;
    } cases[] = {
        {{"show", Path("missing.pro")}, "cannot read " + Path("missing.pro") + ": No such file or directory"},
        {{"show", Folder.string()}, "cannot read " + Folder.string() + ": Is a directory"},
        {{"--virtual-keyboard", "flash", Path("missing.hex")},
         "cannot read " + Path("missing.hex") + ": No such file or directory"},
        {{"--virtual-keyboard", "read", Path("nowhere/out.pro")},
         "cannot write " + Path("nowhere/out.pro") + ": No such file or directory"},
        {{"--virtual-keyboard", "read", Folder.string()},
         "cannot write " + Folder.string() + ": it is not a regular file"},
    };
    for (const auto& test : cases) {
        const CCliResult result = RunCli(test.Arguments);
        EXPECT_EQ(result.Status, 1) << test.Line;
        EXPECT_EQ(result.Err, "zelk-cli: " + test.Line + "\n");
    }
    EXPECT_FALSE(std::filesystem::exists(Path("nowhere")));
}

TEST_F(CliFiles, ShowJsonGivesEveryKeyTheCataloguesAndTheColours) {
    const CCliResult result = RunCli({"show", "--json", "--", Path("-dash.pro")});
    ASSERT_EQ(result.Status, 0) << result.Err;
    const std::vector<std::string> lines = Lines(result.Out);
    ASSERT_EQ(lines.size(), 3u + 87u + 9u) << result.Out;
    EXPECT_EQ(lines[0], "{");
    EXPECT_EQ(lines[1], "  \"format\": 1,");
    EXPECT_EQ(lines[2], "  \"keys\": [");
    EXPECT_EQ(lines[3],
              "    {\"key\": 1, \"name\": \"Esc\", \"colour\": {\"red\": 0, \"green\": 0, \"blue\": 0}, "
              "\"levels\": [{\"level\": 1, \"kind\": \"single\", \"mode\": 1, \"code\": 4, \"label\": "
              "\"F3\", \"items\": []}, {\"level\": 2, \"kind\": \"none\", \"mode\": 0, \"code\": 1, "
              "\"label\": \"\", \"items\": []}]},");
    const std::string key2 = lines[4];
    // A step that names no key is printed in the raw form, which import takes as it stands.
    EXPECT_NE(key2.find("{\"level\": 2, \"raw\": true, \"mode\": 3, \"code\": 0, "), std::string::npos)
        << key2;
    EXPECT_NE(
        key2.find("\"items\": [\"A Down\", \"<30 ms>\", \"say \\\"hi\\\" \\\\ 你好\"], \"cycles\": 3, "
                  "\"auto_interval\": false, \"delay\": 30, \"play_mode\": 0, \"list\": {\"cursor\": 2}}]},"),
        std::string::npos)
        << key2;
    EXPECT_EQ(lines[89],
              "    {\"key\": 87, \"name\": \"Right\", \"colour\": {\"red\": 255, \"green\": 111, "
              "\"blue\": 0}, \"levels\": [{\"level\": 1, \"kind\": \"none\", \"mode\": 0, \"code\": 87, "
              "\"label\": \"\", \"items\": []}, {\"level\": 2, \"kind\": \"none\", \"mode\": 0, "
              "\"code\": 87, \"label\": \"\", \"items\": []}]}");
    const std::vector<std::string> tail(lines.begin() + 90, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "  ],",
                        "  \"catalogues\": {",
                        "    \"combinations\": [",
                        "      {\"name\": \"Copy\", \"items\": [\"Left CONTROL\", \"C\"]}",
                        "    ],",
                        "    \"macros\": [],",
                        "    \"emulations\": []",
                        "  }",
                        "}",
                    }));
    EXPECT_EQ(RunCli({"--json", "detect"}).Status, 2);
}

TEST(CliProgress, LineFitsTheTerminal) {
    const struct {
        std::string Caption;
        int Percent;
        int Columns;
        std::string Line;
    } cases[] = {
        {"Writing key settings", 42, 50, "Writing key settings [########.............]  42%"},
        {"Updating firmware", 100, 50, "Updating firmware [########################] 100%"},
        {"Updating firmware", 0, 80, "Updating firmware [" + std::string(54, '.') + "]   0%"},
        {"Updating firmware", 150, 36, "Updating firmware [##########] 100%"},
        {"Updating firmware", 7, 35, "Updating firmware   7%"},
        {"Updating firmware", 7, 10, "  7%"},
        {"Updating firmware", 7, 0, ""},
    };
    for (const auto& test : cases)
        EXPECT_EQ(CProgressBar::Line(test.Caption, test.Percent, test.Columns), test.Line)
            << test.Caption << " " << test.Percent << " " << test.Columns;
}

#if !defined(_WIN32)
// zelk-cli with stderr on a pseudo-terminal of the given width and stdout into a file.
struct CTerminalRun {
    std::string Terminal;
    std::string Out;
    int Status = -1;
};

CTerminalRun RunOnTerminal(const std::vector<std::string>& arguments, unsigned short columns,
                           const std::filesystem::path& outFile) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = columns;
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, nullptr, &size);
    if (child == 0) {
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        std::vector<char*> argv{const_cast<char*>(ZELK_CLI)};
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(ZELK_CLI, argv.data());
        _exit(127);
    }
    CTerminalRun run;
    if (child < 0)
        return run;
    char buffer[4096];
    for (ssize_t got; (got = read(master, buffer, sizeof buffer)) > 0;)
        run.Terminal.append(buffer, static_cast<std::size_t>(got));
    close(master);
    int status = 0;
    waitpid(child, &status, 0);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = ReadWhole(outFile);
    return run;
}

TEST(CliProgress, BarGoesToTheTerminalOnlyAndFitsItsWidth) {
    const auto folder = TestFolder();
    const std::string hex = (folder / "image.hex").string();
    std::ofstream(hex, std::ios::binary) << ":10000000000102030405060708090A0B0C0D0E0F78\r\n:00000001FF\r\n";

    const CTerminalRun run =
        RunOnTerminal({"--virtual-keyboard", "flash", "--no-backup", hex}, 50, folder / "out");
    ASSERT_EQ(run.Status, 0) << run.Terminal;
    EXPECT_EQ(run.Out, "Firmware sent. The keyboard restarts with the new firmware.\n");
    std::size_t bars = 0;
    for (const std::string& line : Lines(run.Terminal)) {
        std::size_t start = 0;
        for (std::size_t end; start <= line.size(); start = end + 1) {
            end = std::min(line.find('\r', start), line.size());
            const std::string piece = line.substr(start, end - start);
            EXPECT_LE(piece.size(), 49u) << piece;
            bars += piece.rfind("Updating firmware [", 0) == 0 ? 1 : 0;
        }
    }
    EXPECT_GE(bars, 1u) << run.Terminal;
    EXPECT_NE(run.Terminal.find("Updating firmware [########################] 100%"), std::string::npos)
        << run.Terminal;

    // Into a file or a pipe, nothing but the result.
    const CCliResult plain = RunCli({"--virtual-keyboard", "flash", "--no-backup", hex});
    EXPECT_EQ(plain.Status, 0);
    EXPECT_EQ(plain.Out, run.Out);
    EXPECT_TRUE(plain.Err.empty()) << plain.Err;
}

#endif

} // namespace
