// Every profile the program loads, damaged ones included, goes through show --json's document and
// import to the bytes of the program's own save of it.
#include "CliTestSupport.h"
#include "ProfileJson.h"
#include "ProfileJsonReader.h"
#include "ProfileLayout.h"

#include "model/KeyboardData.h"
#include "model/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::unique_ptr<CKeyboardData> ClearedModel() {
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    ClearProfile(*data);
    return data;
}

// A list as a damaged profile may hold it: items that name nothing, delays out of place, nested
// children, any play settings and view.
CActionList DamagedList(std::mt19937& random, int depth) {
    static const std::u16string items[] = {u"A",     u"A Down",  u"<30 ms>", u"<abc ms>",   u"zzz",
                                           u"",      u"Mute UP", u"-- --",   u"<70000 ms>", u"Left CONTROL",
                                           u"<5 ms", u"\"&<>'"};
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    CActionList list;
    list.SizeOfView = pick(14) - 2;
    const int count = depth == 0 && pick(5) == 0 ? 57 + pick(4) : pick(6);
    for (int i = 0; i < count; ++i)
        list.List.push_back(items[pick(static_cast<int>(std::size(items)))]);
    list.SubLists.resize(list.List.size());
    for (CActionList& child : list.SubLists)
        child = depth < 2 && pick(6) == 0 ? DamagedList(random, depth + 1) : BlankList(ChildRows);
    list.ViewStartAt = pick(4);
    list.CursorPos = pick(5) - 1;
    list.Cycles = pick(4) == 0 ? 300 - pick(600) : pick(256);
    list.IsAutoInterval = pick(2) == 0;
    list.Delay = pick(4) == 0 ? 70000 : pick(1000);
    list.PlayMode = pick(6) - 1;
    return list;
}

void DamagedProfile(CKeyboardData& data, std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto colour = [&] { return pick(5) == 0 ? pick(2000) - 1000 : pick(256); };
    // A few keys of each profile are damaged, so that a few hundred profiles stay quick to go through.
    for (int key = 1; key <= KeyCount; ++key) {
        data.BackgroundLightSettings[key] = {colour(), colour(), colour()};
        if (pick(8) != 0)
            continue;
        for (KeySetting& setting : data.CurrentSettings[key]) {
            setting.Mode = pick(13) - 2;
            setting.HWCode = pick(3) == 0 ? pick(1100) - 50 : pick(200);
            if (pick(8) == 0)
                setting = {ModeFunction, 156, BlankList(9)}; // the layer key, on one level or both
            setting.ComboKey = DamagedList(random, 0);
        }
    }
    for (CActionList* catalogue : {&data.PredefinedCombo, &data.PredefinedMacro, &data.PredefinedEmu}) {
        const CActionList names = DamagedList(random, 2);
        catalogue->List = names.List;
        catalogue->SubLists.clear();
        for (std::size_t i = 0; i < names.List.size(); ++i)
            catalogue->SubLists.push_back(DamagedList(random, 1));
    }
}

std::string Saved(const CKeyboardData& data, const fs::path& file) {
    EXPECT_TRUE(SaveProfile(data, file));
    std::ifstream in(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(fs::file_size(file)), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// The bytes the program saves for the profile, and the bytes it saves for import of its document.
void ExpectRoundTrip(const fs::path& profile, const fs::path& folder) {
    auto loaded = ClearedModel();
    if (!LoadProfile(*loaded, profile))
        return; // the program does not open it either
    const std::string document = ProfileJson(*loaded);
    auto imported = ClearedModel();
    CJsonRefusal refusal;
    ASSERT_TRUE(ReadProfileJson(document, *imported, refusal)) << profile << ": " << refusal.Line();
    EXPECT_EQ(Saved(*imported, folder / "imported.pro"), Saved(*loaded, folder / "saved.pro")) << profile;
}

TEST(JsonRoundTrip, EveryProfileTheProgramLoadsComesBackByteForByte) {
    const fs::path folder = TestFolder();
    std::vector<fs::path> profiles = {ZELK_DEMO_PROFILE, fs::path(ZELK_TEST_DATA) / "golden-profile.pro"};
    // The fuzzer's seeds and, where a fuzzing run left it, the corpus it grew.
    for (const fs::path& corpus : {fs::path(ZELK_SOURCE) / "tests/fuzz/seeds-fuzz_profile",
                                   fs::path(ZELK_SOURCE) / "build-fuzz/corpus-fuzz_profile"}) {
        std::error_code error;
        for (fs::directory_iterator file(corpus, error), end; !error && file != end; file.increment(error))
            profiles.push_back(file->path());
    }
    for (const fs::path& profile : profiles)
        ExpectRoundTrip(profile, folder);

    std::mt19937 random(7);
    for (int i = 0; i < 300 && !HasFailure(); ++i) {
        auto data = ClearedModel();
        DamagedProfile(*data, random);
        Saved(*data, folder / "damaged.pro");
        ExpectRoundTrip(folder / "damaged.pro", folder);
    }
}

} // namespace
