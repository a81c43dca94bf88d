// Special files, files made to exhaust memory, output that cannot be written and report logs that
// name a file of the run: each command ends with its status and one line, within a memory bound,
// and leaves the profile and the keyboard's state file as they were.
#include "CliTestSupport.h"

#if !defined(_WIN32)
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool AddressSanitizer = true;
#else
constexpr bool AddressSanitizer = false;
#endif

// What a child may take: a few times what the largest profile needs, far below what the files below
// would take unbounded. Under AddressSanitizer, which maps terabytes of shadow memory, the sanitizer's
// own limit on resident memory stands in for the address-space limit.
constexpr unsigned long long AddressSpaceLimit = 1ull << 30;
constexpr const char* SanitizerMemoryLimit = ":hard_rss_limit_mb=1536";

enum class Output { File, Full, Closed };

struct CHostileCase {
    const char* Name;
    std::vector<std::string> Arguments;
    int Status;
    const char* Words; // in the one line on stderr
    Output Stdout = Output::File;
};

class CliHostileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = TestFolder();
        if (AddressSanitizer) {
            const char* options = std::getenv("ASAN_OPTIONS");
            setenv("ASAN_OPTIONS", (std::string(options ? options : "") + SanitizerMemoryLimit).c_str(), 1);
        }
        std::filesystem::copy_file(ZELK_DEMO_PROFILE, Folder / "demo.pro");
        std::filesystem::create_hard_link(Folder / "demo.pro", Folder / "demo-link.pro");
        std::filesystem::create_symlink("/dev/zero", Folder / "zero-link");
        ASSERT_EQ(mkfifo((Folder / "fifo").c_str(), 0600), 0);
        // A sparse file of 2 GB that starts as a profile does.
        {
            std::ofstream sparse(Folder / "sparse.pro", std::ios::binary);
            sparse << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Zelk>";
        }
        std::filesystem::resize_file(Folder / "sparse.pro", 2ull << 30);
        // 36 MB of start tags that never end: each costs the reader far more than its 3 bytes.
        std::string tags;
        tags.reserve(36 << 20);
        while (tags.size() + 3 <= (36u << 20))
            tags += "<a>";
        std::ofstream(Folder / "tags.pro", std::ios::binary) << tags;
        ASSERT_EQ(Run({"--virtual-keyboard=state", "write", "demo.pro"}).Status, 0);
    }

    CCliResult Run(const std::vector<std::string>& arguments, Output output = Output::File) {
        const auto out = Folder / "stdout.txt";
        const auto err = Folder / "stderr.txt";
        CProcessRun run{ZELK_CLI, arguments, Folder, output == Output::Full ? "/dev/full" : out, err};
        run.OutClosed = output == Output::Closed;
        run.AddressSpaceLimit = AddressSanitizer ? 0 : AddressSpaceLimit;
        CCliResult result;
        result.Status = RunProcess(run);
        result.Out = ProgramOutput(out);
        result.Err = ProgramOutput(err);
        return result;
    }

    std::filesystem::path Folder;
};

TEST_F(CliHostileFiles, EndWithOneLineAndLeaveTheFilesOfTheRunAlone) {
    const std::string keyboard = "--virtual-keyboard=state";
    const char* notRegular = "not a regular file";
    const char* ofTheRun = "a file this run reads or writes";
    const char* unwritable = "cannot write the output";
    const CHostileCase cases[] = {
        {"FIFO shown", {"show", "fifo"}, 1, notRegular},
        {"FIFO written", {keyboard, "write", "fifo"}, 1, notRegular},
        {"FIFO flashed", {keyboard, "flash", "fifo"}, 1, notRegular},
        {"FIFO as state file", {"--virtual-keyboard=fifo", "version"}, 1, notRegular},
        {"FIFO as report log", {keyboard, "--report-log", "fifo", "version"}, 1, notRegular},
        {"/dev/zero shown", {"show", "/dev/zero"}, 1, notRegular},
        {"link to /dev/zero written", {keyboard, "write", "zero-link"}, 1, notRegular},
        {"sparse 2 GB file", {"show", "sparse.pro"}, 1, "larger than 64 MB"},
        {"36 MB of unended tags", {"show", "tags.pro"}, 1, "more than 2097152 elements"},
        {"report log is the state file",
         {keyboard, "--report-log", "state", "write", "demo.pro"},
         1,
         ofTheRun},
        {"report log is the profile",
         {keyboard, "--report-log", "demo.pro", "write", "demo.pro"},
         1,
         ofTheRun},
        {"report log is the profile by another name",
         {keyboard, "--report-log", "demo-link.pro", "write-keys", "demo.pro"},
         1,
         ofTheRun},
        {"state file without a name",
         {"--virtual-keyboard=", "write", "demo.pro"},
         2,
         "--virtual-keyboard= needs a state file name"},
        {"show to a full disk", {"show", "demo.pro"}, 1, unwritable, Output::Full},
        {"show as JSON to a full disk", {"--json", "show", "demo.pro"}, 1, unwritable, Output::Full},
        {"show with stdout closed", {"show", "demo.pro"}, 1, unwritable, Output::Closed},
        {"help to a full disk", {"--help"}, 1, unwritable, Output::Full},
        {"version to a full disk", {"--version"}, 1, unwritable, Output::Full},
        {"detect to a full disk", {keyboard, "detect"}, 1, unwritable, Output::Full},
        {"read to a full disk", {keyboard, "read", "out.pro"}, 1, unwritable, Output::Full},
    };
    const std::string profile = ReadWhole(Folder / "demo.pro");
    const std::string state = ReadWhole(Folder / "state");
    for (const CHostileCase& hostile : cases) {
        const CCliResult result = Run(hostile.Arguments, hostile.Stdout);
        EXPECT_EQ(result.Status, hostile.Status) << hostile.Name << "\n" << result.Err;
        const auto lines = result.ErrLines();
        ASSERT_EQ(lines.size(), 1u) << hostile.Name << "\n" << result.Err;
        EXPECT_EQ(lines[0].rfind("zelk-cli: ", 0), 0u) << hostile.Name << "\n" << result.Err;
        EXPECT_NE(lines[0].find(hostile.Words), std::string::npos) << hostile.Name << "\n" << result.Err;
        EXPECT_EQ(ReadWhole(Folder / "demo.pro"), profile) << hostile.Name;
        EXPECT_EQ(ReadWhole(Folder / "state"), state) << hostile.Name;
    }
}

} // namespace
#endif
