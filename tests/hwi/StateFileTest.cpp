// The virtual keyboard's state file: two programs on one file keep each other's changes, a file cut
// short or read-only is refused while older whole files are read, and a killed save leaves nothing.
#include "HwiTestSupport.h"

#include "zelk/VirtualKeyboardState.h"

namespace {

// A program holding a virtual keyboard on the state file, as the desktop program and zelk-cli do.
struct CProgram {
    explicit CProgram(const std::filesystem::path& state)
        : Keyboard(std::make_shared<CVirtualKeyboard>(state.string())) {
        Facade.UseDeviceProvider(MakeVirtualKeyboardProvider(Keyboard));
        EXPECT_TRUE(Facade.__createDev());
    }
    bool WriteMacro(int level, int key, int steps) {
        std::vector<int> macro = {2, 0, 1, 0, 0, steps};
        for (int i = 0; i < steps; ++i)
            macro.push_back(i + 1);
        return Facade.setKeyConfiguration(level, key, macro.data(), static_cast<int>(macro.size())) &&
               Facade.writeKeyConfigurationToDev(nullptr);
    }
    bool WriteLight(int value) {
        int area[LightAreaSize];
        std::fill(std::begin(area), std::end(area), value);
        return Facade.setKeyboardLightArea(area);
    }
    // Steps of the macro the keyboard holds for the key, as a read of the keyboard gives them.
    int ReadMacroSteps(int level, int key) {
        std::vector<int> definition(200);
        return Facade.readKeyDefinationFromDev(nullptr) &&
                       Facade.getKeyConfiguration(level, key, definition.data(), 200)
                   ? definition[5]
                   : -1;
    }
    std::shared_ptr<CVirtualKeyboard> Keyboard;
    CMorvHWI Facade;
};

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(StateFile, TwoProgramsOnOneStateFileKeepEachOthersChanges) {
    const auto state = TestFile("state");
    std::filesystem::remove(state);
    CProgram desktop(state); // started first, so it read the state before the other wrote
    CProgram cli(state);
    ASSERT_TRUE(cli.WriteMacro(1, 3, 60));
    EXPECT_EQ(desktop.ReadMacroSteps(1, 3), 60); // read afresh for the transfer
    ASSERT_TRUE(desktop.WriteLight(7));
    ASSERT_TRUE(cli.WriteLight(9) && cli.WriteMacro(0, 5, 2));
    ASSERT_TRUE(desktop.WriteMacro(1, 3, 61));

    const CVirtualKeyboard reloaded(state.string());
    EXPECT_EQ(reloaded.StateProblem().Code, ProblemCode::None);
    EXPECT_EQ(reloaded.SlotPackets(87 + 2).size(), 128u); // 61 steps, from the desktop's last write
    EXPECT_EQ(reloaded.SlotPackets(4).size(), 64u);       // the cli's second macro, kept
    EXPECT_EQ(reloaded.LightArea()[100], 9);              // the cli's light, which the desktop kept

    // The lock is held from reading the state to replacing it: while one holds it, no other gets it.
    {
        const CStateFileLock held(state.string());
        ASSERT_TRUE(held.Held());
        EXPECT_FALSE(CStateFileLock(state.string(), false).Held());
    }
    EXPECT_TRUE(CStateFileLock(state.string(), false).Held());
}

TEST(StateFile, CutShortOrReadOnlyFilesAreRefusedAndOlderWholeFilesRead) {
    const auto state = TestFile("state");
    const auto writable = [&state] {
        std::error_code absent;
        std::filesystem::permissions(
            state, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, absent);
    };
    writable();
    std::filesystem::remove(state);
    ASSERT_TRUE(CProgram(state).WriteMacro(1, 3, 60));
    const std::string whole = Contents(state);
    ASSERT_EQ(whole.substr(whole.size() - 4), "end\n");
    const std::string body = whole.substr(whole.find('\n') + 1, whole.size() - whole.find('\n') - 5);
    const struct {
        const char* Name;
        std::string Text;
        bool ReadOnly;
        ProblemCode Problem;
        long Line;
    } cases[] = {
        {"whole", whole, false, ProblemCode::None, 0},
        {"older, without an end line", "zelk-virtual-keyboard 1\n" + body, false, ProblemCode::None, 0},
        {"cut at a line end", whole.substr(0, whole.find('\n', whole.find("light")) + 1), false,
         ProblemCode::StateFileCutShort, 0},
        {"a line after the end", whole + body, false, ProblemCode::StateFileDamaged, 178},
        {"read-only", whole, true, ProblemCode::StateFileReadOnly, 0},
    };
    for (const auto& file : cases) {
        writable(); // Windows removes no read-only file
        std::filesystem::remove(state);
        std::ofstream(state, std::ios::binary) << file.Text;
        if (file.ReadOnly)
            std::filesystem::permissions(state, std::filesystem::perms::owner_read |
                                                    std::filesystem::perms::group_read |
                                                    std::filesystem::perms::others_read);
        CVirtualKeyboard keyboard(state.string());
        const CProblem refused = keyboard.StateProblem();
        EXPECT_EQ(refused.Code, file.Problem) << file.Name;
        EXPECT_EQ(refused.Line, file.Line) << file.Name;
        EXPECT_EQ(refused.Path, refused ? state.string() : "") << file.Name;
        EXPECT_EQ(keyboard.SlotPackets(87 + 2).size(), refused ? 0u : 128u) << file.Name;
        if (refused) {
            EXPECT_FALSE(keyboard.Save()) << file.Name;
            EXPECT_EQ(Contents(state), file.Text) << file.Name;
        }
    }
    writable();
}

TEST(StateFile, ASaveRemovesTheTemporaryFilesOfAKilledSave) {
    const auto state = TestFile("state");
    const auto folder = state.parent_path();
    const std::string name = state.filename().string();
    const std::vector<std::string> ours = {"." + name + ".0123456789az.tmp"};
    const std::vector<std::string> others = {"." + name + ".short.tmp", name + ".0123456789az.tmp",
                                             "." + name + ".01234567-9az.tmp"};
    for (const auto& file : ours)
        std::ofstream(folder / file) << "left by a killed save";
    for (const auto& file : others)
        std::ofstream(folder / file) << "someone else's";
    std::filesystem::remove(state);
    ASSERT_TRUE(CProgram(state).WriteLight(1));
    for (const auto& file : ours)
        EXPECT_FALSE(std::filesystem::exists(folder / file)) << file;
    for (const auto& file : others) {
        EXPECT_TRUE(std::filesystem::exists(folder / file)) << file;
        std::filesystem::remove(folder / file);
    }
}

} // namespace
