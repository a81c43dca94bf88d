// flash with a backup: the keyboard's settings are saved before the first firmware record, and a
// keyboard unplugged at any report leaves either no backup or a complete one, with the next step told.
#include "CliTestSupport.h"

#include "zelk/VirtualKeyboard.h"

#include <set>

namespace {

class CliFlashBackup : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TestFolder();
        // Two data records and the end record: three firmware reports.
        std::ofstream(Hex(), std::ios::binary) << ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
                                                  ":10001000000102030405060708090A0B0C0D0E0F68\r\n"
                                                  ":00000001FF\r\n";
        ASSERT_EQ(RunCli({Keyboard(), "write", ZELK_DEMO_PROFILE}).Status, 0);
        // What read makes of the same keyboard, outside the folder under test.
        const auto reference = Folder.parent_path() / (Folder.filename().string() + ".reference.pro");
        ASSERT_EQ(RunCli({Keyboard(), "read", reference.string()}).Status, 0);
        Reference = ReadWhole(reference);
        std::filesystem::remove(reference);
        ASSERT_FALSE(Reference.empty());
    }
    std::filesystem::path Hex() const { return Folder / "image.hex"; }
    std::filesystem::path State() const { return Folder / "keyboard.state"; }
    std::filesystem::path Backup() const { return Folder / "backup.pro"; }
    std::string Keyboard() const { return "--virtual-keyboard=" + State().string(); }
    // Besides the virtual keyboard's lock, which belongs to its state file.
    std::set<std::string> FilesLeft() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder))
            if (entry.path().filename() != ".keyboard.state.lock")
                names.insert(entry.path().filename().string());
        return names;
    }

    std::filesystem::path Folder;
    std::string Reference;
};

namespace {

// A path as zelk-cli names it in a command to type: in single quotes when it holds more than letters,
// digits and ._-/+:@%,= (a Windows path's backslashes). The tests' paths hold no quote.
std::string AsTyped(const std::string& path) {
    constexpr const char* plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789._-/+:@%,=";
    return path.find_first_not_of(plain) == std::string::npos ? path : "'" + path + "'";
}

} // namespace

TEST_F(CliFlashBackup, UnpluggedAtEveryReportLeavesNoBackupOrAWholeOneAndSaysWhatToDo) {
    const std::string hex = Hex().string();
    const std::string backup = Backup().string();
    const std::string readAgain =
        "; no backup was written and nothing was flashed: check that the keyboard is "
        "plugged in, then run flash again";
    // Err is the message before the reason, the reason an unplugged keyboard gives, then the rest.
    const struct {
        const char* Phase;
        long First;
        long Last;
        int Status;
        std::string Failed;
        std::string Then;
        bool BackupMade;
    } phases[] = {
        {"the backup's key read", 1, 176, 1, "zelk-cli: reading the key settings failed", readAgain, false},
        {"the backup's light read", 177, 183, 1, "zelk-cli: reading the backlight failed", readAgain, false},
        {"the flash", 184, 186, 1, "zelk-cli: the firmware update failed",
         "; your settings are kept in " + backup + ": keep the keyboard plugged in, run 'zelk-cli flash " +
             AsTyped(hex) + " --no-backup', then 'zelk-cli write " + AsTyped(backup) +
             "' once it has restarted",
         true},
        {"after the last record", 187, 187, 0, "", "", true},
    };
    const auto saysWhy = [](const std::string& err, const std::string& failed, const std::string& then) {
        if (failed.empty())
            return err.empty();
        for (const char* reason : {"the keyboard took no report (is it unplugged?)",
                                   "no report could be read from the keyboard (is it unplugged?)"})
            if (err == failed + ": " + reason + then + "\n")
                return true;
        return false;
    };
    const std::vector<std::uint8_t> image = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                             0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    int runs = 0;
    for (const auto& phase : phases) {
        for (long report = phase.First; report <= phase.Last; ++report) {
            std::filesystem::remove(Backup());
            const std::string where =
                std::string(phase.Phase) + ", unplugged at report " + std::to_string(report);
            const CCliResult result =
                RunCli({Keyboard(), "--virtual-fault", "unplug-at=" + std::to_string(report), "flash", hex,
                        "--backup", backup});
            ++runs;
            EXPECT_EQ(result.Status, phase.Status) << where;
            EXPECT_TRUE(saysWhy(result.Err, phase.Failed, phase.Then)) << where << ": " << result.Err;
            std::set<std::string> expected = {"image.hex", "keyboard.state"};
            if (phase.BackupMade) {
                expected.insert("backup.pro");
                EXPECT_EQ(ReadWhole(Backup()), Reference) << where;
            }
            EXPECT_EQ(FilesLeft(), expected) << where; // no temporary either
            if (phase.Status == 0) {
                EXPECT_EQ(CVirtualKeyboard(State().string()).FirmwareImage(), image) << where;
            } else if (!phase.BackupMade) {
                EXPECT_TRUE(CVirtualKeyboard(State().string()).FirmwareSegments().empty()) << where;
            }
        }
    }
    EXPECT_EQ(runs, 187);
}

TEST_F(CliFlashBackup, BackupIsWrittenBackOrItsFailureStopsTheUpdate) {
    const std::string hex = Hex().string();
    const std::string nowhere = (Folder / "nowhere" / "backup.pro").string();
    const CCliResult unwritable = RunCli({Keyboard(), "flash", hex, "--backup", nowhere});
    EXPECT_EQ(unwritable.Status, 1);
    EXPECT_EQ(unwritable.Err, "zelk-cli: cannot write " + nowhere +
                                  ": No such file or directory; nothing was flashed: choose another backup "
                                  "file, then run flash again\n");
    EXPECT_TRUE(CVirtualKeyboard(State().string()).FirmwareSegments().empty());
    EXPECT_EQ(FilesLeft(), (std::set<std::string>{"image.hex", "keyboard.state"}));

    const CCliResult plain = RunCli({Keyboard(), "flash", hex});
    EXPECT_EQ(plain.Status, 0) << plain.Err;
    EXPECT_EQ(plain.Err, "zelk-cli: no backup of the keyboard's settings was made (flash --backup OUT.pro "
                         "saves one first)\n");
    const CCliResult none = RunCli({Keyboard(), "flash", "--no-backup", hex});
    EXPECT_EQ(none.Status, 0) << none.Err;
    EXPECT_EQ(none.Err, "");

    const CCliResult saved = RunCli({Keyboard(), "flash", hex, "--backup=" + Backup().string()});
    ASSERT_EQ(saved.Status, 0) << saved.Err;
    EXPECT_EQ(saved.Err, "");
    EXPECT_EQ(saved.Out, "Firmware sent. The keyboard restarts with the new firmware.\n"
                         "Your key settings and backlight are saved in " +
                             Backup().string() +
                             ". Once the keyboard has restarted, put them back with:\n"
                             "  zelk-cli write " +
                             AsTyped(Backup().string()) + "\n");
    // The keyboard loses its settings; the step flash names puts them back.
    ASSERT_EQ(RunCli({"--virtual-keyboard=" + State().string() + ".new", "write", Backup().string()}).Status,
              0);
    const auto readBack = Folder / "read-back.pro";
    ASSERT_EQ(RunCli({"--virtual-keyboard=" + State().string() + ".new", "read", readBack.string()}).Status,
              0);
    EXPECT_EQ(RunCli({"diff", Backup().string(), readBack.string()}).Status, 0);
    EXPECT_EQ(ReadWhole(readBack), Reference);
}

} // namespace
