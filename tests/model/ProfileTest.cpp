#include "model/Profile.h"

#include <gtest/gtest.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

namespace {

namespace fs = std::filesystem;

fs::path TestPath(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path folder = fs::temp_directory_path() / "zelk-profile-tests";
    fs::create_directories(folder);
    return folder / (std::string(info->name()) + "." + name);
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::unique_ptr<CKeyboardData> ClearedModel() {
    auto data = std::make_unique<CKeyboardData>();
    data->Clear();
    return data;
}

std::string EmptyList(int sizeOfView) {
    return "<List SizeOfView=\"" + std::to_string(sizeOfView) +
           "\" ViewStartAt=\"0\" CursorPos=\"0\" Cycles=\"1\" IsAutoInterval=\"0\" Delay=\"30\" "
           "PlayMode=\"0\"/>\r\n";
}

// The file a cleared model gives, built line by line from the file layout.
std::string ClearedFile() {
    std::string file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Zelk>\r\n";
    const std::pair<const char*, int> sections[] = {
        {"PredefinedCombo", 6}, {"PredefinedMacro", 9}, {"PredefinedEmu", 9}};
    for (const auto& [name, size] : sections)
        file += std::string("<") + name + ">\r\n" + EmptyList(size) + "</" + name + ">\r\n";
    file += "<BackgroundLightSettings>\r\n";
    for (int key = 1; key <= 87; ++key)
        file += "<AREA ID=\"" + std::to_string(key) + "\" Red=\"0\" Green=\"0\" Blue=\"0\"/>\r\n";
    file += "</BackgroundLightSettings>\r\n<CurrentSettings>\r\n";
    for (int key = 1; key <= 87; ++key)
        for (int level = 0; level < 2; ++level)
            file += "<KEY ID=\"" + std::to_string(key) + "\" Level=\"" + std::to_string(level) +
                    "\" Mode=\"0\" HWCode=\"" + std::to_string(key) + "\">\r\n<ComboKey>\r\n" + EmptyList(0) +
                    "</ComboKey>\r\n</KEY>\r\n";
    return file + "</CurrentSettings>\r\n</Zelk>\r\n";
}

void ExpectSameLists(const CActionList& a, const CActionList& b) {
    EXPECT_TRUE(a.ContentEquals(b));
    EXPECT_EQ(a.SizeOfView, b.SizeOfView);
    EXPECT_EQ(a.ViewStartAt, b.ViewStartAt);
    EXPECT_EQ(a.CursorPos, b.CursorPos);
    ASSERT_EQ(a.SubLists.size(), b.SubLists.size());
    for (std::size_t i = 0; i < a.SubLists.size(); ++i)
        ExpectSameLists(a.SubLists[i], b.SubLists[i]);
}

void ExpectSameModels(const CKeyboardData& a, const CKeyboardData& b) {
    ExpectSameLists(a.PredefinedCombo, b.PredefinedCombo);
    ExpectSameLists(a.PredefinedMacro, b.PredefinedMacro);
    ExpectSameLists(a.PredefinedEmu, b.PredefinedEmu);
    for (int key = 1; key <= 87; ++key) {
        EXPECT_EQ(a.BackgroundLightSettings[key].Red, b.BackgroundLightSettings[key].Red);
        EXPECT_EQ(a.BackgroundLightSettings[key].Green, b.BackgroundLightSettings[key].Green);
        EXPECT_EQ(a.BackgroundLightSettings[key].Blue, b.BackgroundLightSettings[key].Blue);
        for (int level = 0; level < 2; ++level) {
            EXPECT_EQ(a.CurrentSettings[key][level].Mode, b.CurrentSettings[key][level].Mode);
            EXPECT_EQ(a.CurrentSettings[key][level].HWCode, b.CurrentSettings[key][level].HWCode);
            ExpectSameLists(a.CurrentSettings[key][level].ComboKey, b.CurrentSettings[key][level].ComboKey);
        }
    }
}

TEST(ProfileFile, ClearedModelIsWrittenByteForByteAndReadsBack) {
    auto data = ClearedModel();
    const fs::path path = TestPath("pro");
    ASSERT_TRUE(SaveProfile(*data, path));
    EXPECT_EQ(ReadBytes(path), ClearedFile());

    auto loaded = std::make_unique<CKeyboardData>();
    loaded->CurrentSettings[5][1].Mode = ModeMacro;
    ASSERT_TRUE(LoadProfile(*loaded, path));
    ExpectSameModels(*loaded, *data);
}

TEST(ProfileFile, NestedCataloguesAndEscapedTextsRoundTrip) {
    auto data = ClearedModel();
    CActionList content;
    content.SizeOfView = 9;
    content.IsAutoInterval = true;
    content.Delay = 12;
    content.PlayMode = 2;
    content.Cycles = -3;
    content.AppendItem(u"Left SHIFT Down");
    content.AppendItem(u"<40 ms>");
    content.AppendItem(u"A & \"B\" 'C' 中文");
    data->PredefinedMacro.AppendItem(u"New Macro 1");
    data->PredefinedMacro.SetSubList(0, content);
    data->PredefinedMacro.AppendItem(u"second");
    data->CurrentSettings[87][1] = {ModeMacro, 42, content};
    data->BackgroundLightSettings[1] = {255, 1, 0};

    const fs::path path = TestPath("pro");
    ASSERT_TRUE(SaveProfile(*data, path));
    const std::string bytes = ReadBytes(path);
    EXPECT_NE(bytes.find("t1=\"A &amp; &quot;B&quot; &apos;C&apos; \xE4\xB8\xAD\xE6\x96\x87\""),
              std::string::npos);
    EXPECT_NE(bytes.find("<x ID=\"1\" t1=\"&lt;40 ms&gt;\">\r\n<List SizeOfView=\"9\""), std::string::npos);
    EXPECT_NE(bytes.find("Cycles=\"-3\" IsAutoInterval=\"1\" Delay=\"12\" PlayMode=\"2\""),
              std::string::npos);

    auto loaded = std::make_unique<CKeyboardData>();
    ASSERT_TRUE(LoadProfile(*loaded, path));
    ExpectSameModels(*loaded, *data);
}

TEST(ProfileFile, HandWrittenVariantsLoadByIdAndLevel) {
    const fs::path path = TestPath("pro");
    WriteBytes(
        path,
        "<?xml version=\"1.0\"?>\n<Zelk>\n"
        "<PredefinedCombo><List SizeOfView=\"6\">"
        "<x ID=\"2\" t1=\"third\"><List/></x><x ID=\"0\" t1=\"first\"/>"
        "</List></PredefinedCombo>\n"
        "<PredefinedMacro><List/></PredefinedMacro><PredefinedEmu/>\n"
        "<BackgroundLightSettings><AREA ID=\"3\" Red=\"7\"/><Other/><AREA ID=\"2\" Red=\"9\" Green=\"8\" "
        "Blue=\"x\"/><AREA ID=\"88\" Red=\"1\"/><AREA ID=\"0\" Red=\"1\"/></BackgroundLightSettings>\n"
        "<CurrentSettings>"
        "<KEY ID=\"9\" Level=\"1\" Mode=\"1\" HWCode=\"20\"><ComboKey><List/></ComboKey></KEY>"
        "<KEY ID=\"9\" Level=\"0\" Mode=\"2\"><ComboKey><List><x ID=\"0\" t1=\"A\"/></List></ComboKey></KEY>"
        "<KEY ID=\"4\" Level=\"2\" Mode=\"5\" HWCode=\"1\"><ComboKey><List/></ComboKey></KEY>"
        "<KEY ID=\"1\" Level=\"0\" Mode=\"6\" HWCode=\"130\"><ComboKey><List/></ComboKey></KEY>"
        "</CurrentSettings></Zelk>");
    auto data = ClearedModel();
    ASSERT_TRUE(LoadProfile(*data, path));
    const CActionList& combo = data->PredefinedCombo;
    ASSERT_EQ(combo.Count(), 3);
    EXPECT_EQ(combo.List[0], u"first");
    EXPECT_EQ(combo.List[1], u"");
    EXPECT_EQ(combo.List[2], u"third");
    EXPECT_EQ(combo.SizeOfView, 6);
    // Missing attributes read as 0, not as the defaults.
    EXPECT_EQ(data->PredefinedMacro.Cycles, 0);
    EXPECT_EQ(data->PredefinedMacro.Delay, 0);
    EXPECT_EQ(data->PredefinedEmu.Cycles, 1); // no List at all: a cleared list
    EXPECT_EQ(data->BackgroundLightSettings[3].Red, 7);
    EXPECT_EQ(data->BackgroundLightSettings[2].Green, 8);
    EXPECT_EQ(data->BackgroundLightSettings[2].Blue, 0);
    EXPECT_EQ(data->BackgroundLightSettings[0].Red, 0); // outside 1..87: ignored
    EXPECT_EQ(data->CurrentSettings[9][1].HWCode, 20);
    EXPECT_EQ(data->CurrentSettings[9][0].Mode, ModeCombo);
    EXPECT_EQ(data->CurrentSettings[9][0].HWCode, 0);
    EXPECT_EQ(data->CurrentSettings[9][0].ComboKey.List, std::vector<std::u16string>{u"A"});
    EXPECT_EQ(data->CurrentSettings[4][0].Mode, ModeNotSet); // level 2 does not exist
    EXPECT_EQ(data->CurrentSettings[4][1].Mode, ModeNotSet);
    EXPECT_EQ(data->CurrentSettings[1][0].HWCode, 130);
    EXPECT_EQ(data->CurrentSettings[50][1].HWCode, 50); // not in the file: cleared
}

TEST(ProfileFile, ReaderFollowsTheNavigationRulesOnDamagedLayouts) {
    const fs::path path = TestPath("pro");
    // A KEY without ComboKey: its two leaves take the reader out of CurrentSettings.
    WriteBytes(path, "<Zelk><PredefinedCombo><List><x ID=\"0\" t1=\"c\"/></List></PredefinedCombo>"
                     "<CurrentSettings><KEY ID=\"1\" Level=\"0\" Mode=\"1\" HWCode=\"5\"/>"
                     "<KEY ID=\"2\" Level=\"0\" Mode=\"1\" HWCode=\"6\"><ComboKey><List/></ComboKey></KEY>"
                     "</CurrentSettings></Zelk>");
    auto data = ClearedModel();
    ASSERT_TRUE(LoadProfile(*data, path));
    EXPECT_EQ(data->PredefinedCombo.Count(), 1);
    EXPECT_EQ(data->CurrentSettings[1][0].HWCode, 5);
    EXPECT_EQ(data->CurrentSettings[2][0].HWCode, 2);

    // A root without PredefinedCombo sets nothing from the file.
    WriteBytes(path, "<Zelk><PredefinedMacro><List><x ID=\"0\" t1=\"m\"/></List></PredefinedMacro>"
                     "<CurrentSettings><KEY ID=\"2\" Level=\"0\" Mode=\"1\" HWCode=\"6\"><ComboKey/></KEY>"
                     "</CurrentSettings></Zelk>");
    data->PredefinedEmu.AppendItem(u"old");
    ASSERT_TRUE(LoadProfile(*data, path));
    EXPECT_EQ(data->PredefinedMacro.Count(), 0);
    EXPECT_EQ(data->PredefinedEmu.Count(), 0);
    EXPECT_EQ(data->CurrentSettings[2][0].Mode, ModeNotSet);
}

TEST(ProfileFile, FilesThatAreNotProfilesLeaveTheModelUntouched) {
    auto data = ClearedModel();
    data->PredefinedCombo.AppendItem(u"keep me");
    data->CurrentSettings[3][0].Mode = ModeSingle;
    const fs::path path = TestPath("pro");
    for (const std::string& bytes : {std::string("just some notes\n"), std::string("<Other><Zelk/></Other>"),
                                     std::string("\xEF\xBB\xBF"), std::string()}) {
        WriteBytes(path, bytes);
        EXPECT_FALSE(LoadProfile(*data, path)) << bytes;
    }
    EXPECT_FALSE(LoadProfile(*data, TestPath("missing")));
    EXPECT_EQ(data->PredefinedCombo.Count(), 1);
    EXPECT_EQ(data->CurrentSettings[3][0].Mode, ModeSingle);
}

TEST(ProfileFile, HugeOrNegativeItemIdsAreIgnored) {
    const fs::path path = TestPath("pro");
    WriteBytes(path,
               "<Zelk><PredefinedCombo><List><x ID=\"-1\" t1=\"a\"/><x ID=\"2147483647\" t1=\"b\"/>"
               "<x ID=\"99999999999\" t1=\"c\"/><x ID=\"1\" t1=\"d\"/></List></PredefinedCombo></Zelk>");
    auto data = ClearedModel();
    ASSERT_TRUE(LoadProfile(*data, path));
    EXPECT_EQ(data->PredefinedCombo.List, (std::vector<std::u16string>{u"", u"d"}));
}

TEST(ProfileFile, FailedSaveKeepsThePreviousFile) {
    auto data = ClearedModel();
    const fs::path path = TestPath("pro");
    WriteBytes(path, "previous");
    EXPECT_FALSE(SaveProfile(*data, path / "not-a-folder" / "x.pro"));
    const fs::path folder = TestPath("folder");
    fs::create_directories(folder / "inside");
    EXPECT_FALSE(SaveProfile(*data, folder)); // a folder cannot be replaced by a file
    EXPECT_TRUE(fs::is_directory(folder / "inside"));
    EXPECT_EQ(ReadBytes(path), "previous");
    EXPECT_TRUE(SaveProfile(*data, path));
    EXPECT_EQ(ReadBytes(path), ClearedFile());
    for (const auto& entry : fs::directory_iterator(path.parent_path()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

#if !defined(_WIN32)
// A save that the file system stops half-way (here the file size limit, as a full disk would).
TEST(ProfileFile, SaveCutShortKeepsThePreviousFile) {
    auto data = ClearedModel();
    const fs::path folder = TestPath("cut-short");
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path path = folder / "x.pro";
    WriteBytes(path, "previous");
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    CProblem problem;
    const bool saved = SaveProfile(*data, path, &problem);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, signal);
    EXPECT_FALSE(saved);
    EXPECT_EQ(problem.Code, ProblemCode::FileSystemError);
    EXPECT_EQ(problem.SystemError, EFBIG);
    EXPECT_EQ(ReadBytes(path), "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
#endif

} // namespace
