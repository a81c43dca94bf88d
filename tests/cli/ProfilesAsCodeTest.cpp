// Profiles as code, end to end: import of show --json gives back the same file, set builds what the
// desktop program saves, apply sends what write sends, diff tells what differs, and the documented
// example imports.
#include "CliTestSupport.h"

#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"
#include "model/Profile.h"

#include <map>
#include <random>
#include <regex>

namespace {

std::string Data(const std::string& name) {
    return std::string(ZELK_TEST_DATA) + "/" + name;
}

std::unique_ptr<CKeyboardData> Model() {
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    data->Clear();
    return data;
}

// The file the program saves for what a profile file holds.
std::string Resaved(const std::filesystem::path& profile, const std::filesystem::path& out) {
    auto data = Model();
    EXPECT_TRUE(LoadProfile(*data, profile));
    EXPECT_TRUE(SaveProfile(*data, out));
    return ReadWhole(out);
}

CActionList List(int rows, std::vector<std::u16string> items, int top = 0, int cursor = 0) {
    CActionList list;
    list.SizeOfView = rows;
    list.ViewStartAt = top;
    list.CursorPos = cursor;
    list.List = std::move(items);
    list.SubLists.resize(list.List.size());
    for (CActionList& child : list.SubLists)
        child.SizeOfView = 9;
    return list;
}

// A profile of random assignments of every kind, with odd list views, stale lists and catalogues.
void RandomProfile(CKeyboardData& data, std::mt19937& random) {
    const std::vector<std::u16string> names = {u"A",    u"Left CONTROL", u"F12", u"(Enter)", u"SHIFT",
                                               u"Mute", u"-- --",        u"`",   u"\\",      u"Sleep"};
    const int codes[][2] = {{ModeSingle, 43}, {ModeSingle, 107},   {ModeMultimedia, 125},
                            {ModeMouse, 199}, {ModeFunction, 135}, {ModePower, 75}};
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto items = [&](int count, bool steps) {
        std::vector<std::u16string> list;
        for (int i = 0; i < count; ++i)
            list.push_back(steps && i % 2 == 1
                               ? u"<" + std::u16string(1, u'1' + pick(9)) + u" ms>"
                               : names[static_cast<std::size_t>(pick(static_cast<int>(names.size())))]);
        return list;
    };
    for (int key = 1; key <= KeyCount; ++key) {
        data.BackgroundLightSettings[key] = {pick(256), pick(256), pick(256)};
        for (KeySetting& setting : data.CurrentSettings[key]) {
            const int choice = pick(10);
            setting.ComboKey = List(choice < 3 ? 9 : pick(12), items(pick(3), false), pick(3), pick(3) - 1);
            if (choice < 3) {
                setting.Mode = ModeNotSet;
                setting.HWCode = key;
            } else if (choice < 6) {
                const auto& code = codes[pick(6)];
                setting.Mode = code[0];
                setting.HWCode = code[1];
            } else {
                setting.Mode = choice == 6 ? ModeCombo : choice == 7 ? ModeEmulation : ModeMacro;
                setting.ComboKey = List(pick(10), items(1 + 2 * pick(4), setting.Mode == ModeMacro), pick(2));
                setting.ComboKey.Cycles = pick(256);
                setting.ComboKey.Delay = pick(1000);
                setting.ComboKey.PlayMode = setting.Mode == ModeMacro ? pick(3) : 0;
            }
        }
    }
    data.PredefinedCombo.List = {u"Copy", u"Copy 2"};
    data.PredefinedCombo.SubLists = {List(6, items(2, false)), List(5, items(1, false), 1)};
    data.PredefinedCombo.CursorPos = pick(2);
    data.PredefinedMacro.List = {u"宏定义1"};
    data.PredefinedMacro.SubLists = {List(9, items(3, true))};
    data.PredefinedMacro.SubLists[0].SubLists[1] = List(0, {u"nested"});
}

TEST(ProfilesAsCode, ImportOfShowJsonGivesBackTheSameFile) {
    const auto folder = TestFolder();
    std::vector<std::filesystem::path> profiles = {ZELK_DEMO_PROFILE};
    const auto golden = folder / "golden.pro";
    Resaved(Data("golden-profile.pro"), golden);
    profiles.push_back(golden);
    // What the keyboard gives back differs from what was written in names and list views.
    const std::string state = "--virtual-keyboard=" + (folder / "keyboard").string();
    ASSERT_EQ(RunCli({state, "write", golden.string()}).Status, 0);
    ASSERT_EQ(RunCli({state, "read", (folder / "read back.pro").string()}).Status, 0);
    profiles.push_back(folder / "read back.pro");
    std::mt19937 random(32);
    for (int i = 0; i < 40; ++i) {
        auto data = Model();
        RandomProfile(*data, random);
        // As the program keeps it once read: view states out of their lists are brought inside.
        ASSERT_TRUE(SaveProfile(*data, folder / "random.pro"));
        profiles.push_back(folder / ("random " + std::to_string(i) + ".pro"));
        Resaved(folder / "random.pro", profiles.back());
    }
    for (const auto& profile : profiles) {
        const CCliResult shown = RunCli({"show", "--json", profile.string()});
        ASSERT_EQ(shown.Status, 0) << shown.Err;
        std::ofstream(folder / "shown.json", std::ios::binary) << shown.Out;
        const CCliResult imported =
            RunCli({"import", (folder / "shown.json").string(), (folder / "back.pro").string()});
        ASSERT_EQ(imported.Status, 0) << profile << "\n" << imported.Err;
        EXPECT_EQ(ReadWhole(folder / "back.pro"), ReadWhole(profile)) << profile;
    }
}

// The elements of a profile file by their start line: "<KEY ID=\"1\" Level=\"0\" ..." or "<AREA ...".
std::map<std::string, std::string> KeyAndAreaElements(const std::string& file) {
    std::map<std::string, std::string> elements;
    const std::regex element(
        "<(KEY ID=\"[0-9]+\" Level=\"[01]\")[^]*?</KEY>\r\n|<(AREA ID=\"[0-9]+\")[^>]*/>\r\n");
    for (auto it = std::sregex_iterator(file.begin(), file.end(), element); it != std::sregex_iterator();
         ++it)
        elements[(*it)[1].matched ? (*it)[1] : (*it)[2]] = (*it)[0];
    return elements;
}

TEST(ProfilesAsCode, SetBuildsTheKeysTheDesktopProgramSaves) {
    const auto folder = TestFolder();
    const std::string profile = (folder / "set.pro").string();
    std::vector<std::vector<std::string>> steps = {
        {"--define-combo", "Four", "Left CONTROL", "Left SHIFT", "Q", "W"},
        {"--define-macro", "Letters",  "Q Down", "<10 ms>",     "Q UP",     "<300 ms>", "W Down",
         "<1000 ms>",      "W UP",     "<0 ms>", "E Down",      "<256 ms>", "E UP",     "<65535 ms>",
         "R Down",         "<5 ms>",   "R UP",   "<6 ms>",      "T Down",   "<7 ms>",   "T UP",
         "<8 ms>",         "Y Down",   "<9 ms>", "Y UP",        "<11 ms>",  "U Down",   "<12 ms>",
         "U UP",           "--cycles", "5",      "--play-mode", "1"},
        {"--define-macro", "Alphabet"},
        {"--define-macro", "Functions", "Breathe Frequence-", "Mouse Wheel Dn", "(Enter) Down", "(Enter) UP",
         "--interval", "0", "--cycles", "7", "--play-mode", "2"},
        {"--define-macro", "Lock", "NUM LOCK Down", "<500 ms>", "NUM LOCK UP", "--cycles", "255"},
        {"--define-combo", "Odd", "SHIFT", "Sleep", "Volume Down", "Right CONTROL"},
        {"--define-combo", "Mods", "Left Alt", "Right Alt", "Left Windows", "Applications", "(Enter)", "`"},
        {"--define-emulation", "QWE", "Q", "W", "E", "--interval", "40"},
        {"--define-emulation", "Marks", "\\", "'", ";", "/", ".", ",", "--interval", "1000"},
        {"Esc", "single", "A"},
        {"Esc", "single", "ESC", "--level", "2"},
        {"F1", "combo", "Four"},
        {"F2", "macro", "Letters"},
        {"F3", "macro", "Alphabet"},
        {"F4", "emulation", "QWE"},
        {"F5", "multimedia", "Mute"},
        {"F6", "mouse", "Mouse Left"},
        {"F7", "mouse", "199"},
        {"F8", "function", "FN"},
        {"F9", "power", "Power"},
        {"F10", "macro", "Functions"},
        {"F11", "combo", "Odd"},
        {"A", "combo", "Mods", "--level", "2"},
        {"S", "power", "Wake Up", "--level", "2"},
        {"D", "power", "Sleep", "--level", "2"},
        {"F", "multimedia", "WWW Favorities", "--level", "2"},
        {"G", "mouse", "Mouse Wheel Dn", "--level", "2"},
        {"H", "function", "135", "--level", "2"},
        {"J", "function", "Programmable Keyboard", "--level", "2"},
        {"Down", "emulation", "Marks", "--level", "2"},
        {"Right", "single", "(Enter)"},
        {"Right", "macro", "Lock", "--level", "2"},
    };
    // The alphabet macro: presses and releases of A to Z and 1, played at 300 ms intervals, 3 times.
    for (const char* key : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N",
                            "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "1"})
        steps[2].insert(steps[2].end(), {std::string(key) + " Down", std::string(key) + " UP"});
    steps[2].insert(steps[2].end(), {"--interval", "300", "--cycles", "3"});
    for (int key = 1; key <= KeyCount; ++key) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%02x%02x%02x", key, 255 - key, key * 3 % 256);
        steps.push_back({"--colour", std::to_string(key), colour});
    }
    for (auto step : steps) {
        step.insert(step.begin(), {"set", profile});
        const CCliResult result = RunCli(step);
        ASSERT_EQ(result.Status, 0) << step[2] << " " << step[3] << "\n" << result.Err;
    }
    const auto built = KeyAndAreaElements(ReadWhole(profile));
    const auto golden = KeyAndAreaElements(ReadWhole(Data("golden-profile.pro")));
    ASSERT_EQ(built.size(), 87u + 174u);
    ASSERT_EQ(golden.size(), 87u + 24u);
    for (const auto& [start, element] : built) {
        const auto held = golden.find(start);
        if (held != golden.end())
            EXPECT_EQ(element, held->second);
        else
            EXPECT_TRUE(std::regex_match(element,
                                         std::regex("<KEY ID=\"([0-9]+)\" Level=\"[01]\" Mode=\"0\" "
                                                    "HWCode=\"\\1\">\r\n<ComboKey>\r\n<List SizeOfView=\"9\" "
                                                    "[^>]*/>\r\n</ComboKey>\r\n</KEY>\r\n")))
                << element;
    }
}

// What apply sent after reading the keyboard: the log from the key or light write's first report on.
std::string WrittenPart(const std::string& log) {
    const std::size_t first = std::min(log.find("> 0000f1"), log.find("> 0000e1"));
    return first == std::string::npos ? std::string() : log.substr(first);
}

TEST(ProfilesAsCode, ApplySendsWhatWriteSendsAndNothingForARefusedFile) {
    const auto folder = TestFolder();
    const CCliResult shown = RunCli({"show", "--json", Data("golden-profile.pro")});
    std::ofstream(folder / "golden.json", std::ios::binary) << shown.Out;
    const std::string state = "--virtual-keyboard=" + (folder / "keyboard").string();
    const auto log = (folder / "apply.log").string();
    const CCliResult applied =
        RunCli({state, "--report-log", log, "apply", (folder / "golden.json").string()});
    ASSERT_EQ(applied.Status, 0) << applied.Err;
    EXPECT_EQ(applied.Out, "Key settings written.\nBacklight written.\n");
    EXPECT_EQ(WrittenPart(ReadWhole(log)), ReadWhole(Data("golden-write.txt")));

    std::ofstream(folder / "bad.json") << R"({"keys": [{"key": 1, "colour": "#ff0000"}, {"key": 2, "levels": [
        {"kind": "multimedia", "code": "Mutte"}]}]})";
    const auto badLog = (folder / "bad.log").string();
    const CCliResult refused =
        RunCli({state, "--report-log", badLog, "apply", (folder / "bad.json").string()});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_EQ(refused.Err, "zelk-cli: " + (folder / "bad.json").string() +
                               ": keys[1].levels[0].code: no multimedia function \"Mutte\"\n");
    EXPECT_EQ(ReadWhole(badLog), "") << "nothing is sent";

    // A profile file is sent as write sends it, a name the catalogue lacks as code 0; what the keyboard
    // cannot hold is refused, naming the line of its element.
    auto data = Model();
    data->CurrentSettings[3][0] = KeySetting{ModeCombo, 3, List(6, {u"Left CONTROL", u"Ctrl"})};
    data->BackgroundLightSettings[1] = {255, 0, 0}; // a fresh keyboard's is dark
    ASSERT_TRUE(SaveProfile(*data, folder / "unknown name.pro"));
    const auto writeLog = (folder / "write.log").string();
    const auto applyLog = (folder / "apply-unknown.log").string();
    ASSERT_EQ(
        RunCli({state, "--report-log", writeLog, "write", (folder / "unknown name.pro").string()}).Status, 0);
    const CCliResult unknown =
        RunCli({"--virtual-keyboard=" + (folder / "fresh keyboard").string(), "--report-log", applyLog,
                "apply", (folder / "unknown name.pro").string()});
    EXPECT_EQ(unknown.Status, 0) << unknown.Err;
    EXPECT_EQ(WrittenPart(ReadWhole(applyLog)), ReadWhole(writeLog));

    std::vector<std::u16string> keys(59, u"A");
    data->CurrentSettings[5][1] = KeySetting{ModeCombo, 5, List(6, keys)};
    ASSERT_TRUE(SaveProfile(*data, folder / "long.pro"));
    const CCliResult tooLong = RunCli({state, "apply", (folder / "long.pro").string()});
    ExpectFailureLine(tooLong, "long");
    EXPECT_EQ(tooLong.Err,
              "zelk-cli: " + (folder / "long.pro").string() +
                  ":154: the keyboard cannot hold the Combo of key 5 (F4) on level 2: 59 keys are "
                  "more than a combination takes (58); nothing was written\n");
}

TEST(ProfilesAsCode, DiffListsWhatDiffersAndExitsLikeDiff) {
    const auto folder = TestFolder();
    const std::string golden = Data("golden-profile.pro");
    const CCliResult shown = RunCli({"show", "--json", golden});
    std::ofstream(folder / "golden.json", std::ios::binary) << shown.Out;
    const CCliResult same = RunCli({"diff", golden, (folder / "golden.json").string()});
    EXPECT_EQ(same.Status, 0) << same.Err;
    EXPECT_EQ(same.Out, "");

    const std::string changed = (folder / "changed.pro").string();
    std::filesystem::copy_file(golden, changed);
    for (const auto& step :
         std::vector<std::vector<std::string>>{{"F5", "single", "B"},
                                               {"--colour", "Esc", "#000000"},
                                               {"--define-combo", "Copy", "Left CONTROL", "C"},
                                               {"F1", "combo", "Copy", "--level", "2"}}) {
        std::vector<std::string> arguments = {"set", changed};
        arguments.insert(arguments.end(), step.begin(), step.end());
        ASSERT_EQ(RunCli(arguments).Status, 0);
    }
    const CCliResult differ = RunCli({"diff", (folder / "golden.json").string(), changed});
    EXPECT_EQ(differ.Status, 1);
    EXPECT_EQ(differ.Out, "key 1 (Esc) colour: #01fe03 -> #000000\n"
                          "key 2 (F1) level 2: none -> combo [Left CONTROL, C]\n"
                          "key 6 (F5) level 1: multimedia Mute (112) -> single B (60)\n"
                          "combination \"Copy\": (none) -> [Left CONTROL, C]\n");
    EXPECT_EQ(RunCli({"diff", golden, (folder / "missing.pro").string()}).Status, 2);
}

// The JSON of a documentation file's example: from the first line that is "{" to the next that is "}".
std::string Example(const std::string& file, const std::string& heading) {
    const std::string text = ReadWhole(file);
    const std::size_t section = text.find(heading);
    const std::size_t start = text.find("\n{\n", section);
    const std::size_t end = text.find("\n}\n", start);
    return start == std::string::npos || end == std::string::npos ? ""
                                                                  : text.substr(start + 1, end - start + 2);
}

TEST(ProfilesAsCode, TheDocumentedExampleImports) {
    const auto folder = TestFolder();
    const std::string readme = Example(std::string(ZELK_SOURCE) + "/README.md", "### Profiles as code");
    ASSERT_FALSE(readme.empty());
    EXPECT_EQ(Example(std::string(ZELK_SOURCE) + "/res/man/zelk-cli.1.in", ".SH PROFILES AS CODE"), readme);
    std::ofstream(folder / "example.json", std::ios::binary) << readme;
    const CCliResult imported =
        RunCli({"import", (folder / "example.json").string(), (folder / "example.pro").string()});
    ASSERT_EQ(imported.Status, 0) << imported.Err;
    const CCliResult shown = RunCli({"show", (folder / "example.pro").string()});
    for (const char* line :
         {" 1 Esc           Key settings L1：Single ESC   Key settings L2：Power Sleep\n",
          " 3 F2            Key settings L1：Macro H,20,H,20,I   Key settings L2：Not set\n",
          " 7 F6            Key settings L1：Not set   Key settings L2：Mouse Left Double Click\n"})
        EXPECT_NE(shown.Out.find(line), std::string::npos) << line << shown.Out;
}

} // namespace
