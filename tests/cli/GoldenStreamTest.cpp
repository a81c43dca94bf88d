// The reports of writing a profile that has every kind of assignment on both levels
// (tests/data/golden-profile.pro: single keys, combinations, macros with recorded delays and with a
// fixed interval in every play mode, one of exactly 53 stream bytes and one of two packets,
// emulations, multimedia, mouse, function and power codes, the double click, names without a device
// code, a colour for every key), held byte for byte in tests/data/golden-write.txt as the virtual
// keyboard logs them. Reading that keyboard back and writing what was read sends the same reports.
#include "CliTestSupport.h"

#include <algorithm>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The first report where the sent log and the held one differ; empty when they are the same.
std::string FirstDifference(const std::string& sent, const std::string& held) {
    const std::vector<std::string> a = Lines(sent);
    const std::vector<std::string> b = Lines(held);
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string shown = i < a.size() ? a[i] : "(nothing)";
        const std::string expected = i < b.size() ? b[i] : "(nothing)";
        if (shown != expected)
            return "report " + std::to_string(i + 1) + "\n sent " + shown + "\n held " + expected;
    }
    return "";
}

TEST(GoldenStream, WritingAndWritingWhatWasReadSendTheHeldReports) {
    const auto folder = TestFolder();
    const std::string held = ReadWhole(std::string(ZELK_TEST_DATA) + "/golden-write.txt");
    ASSERT_EQ(std::count(held.begin(), held.end(), '\n'), 184);
    const std::string state = "--virtual-keyboard=" + (folder / "keyboard").string();
    const std::string profile = std::string(ZELK_TEST_DATA) + "/golden-profile.pro";

    const auto log = (folder / "write.log").string();
    ASSERT_EQ(RunCli({state, "--report-log", log, "write", profile}).Status, 0);
    EXPECT_EQ(FirstDifference(ReadWhole(log), held), "");

    // The keyboard's stray replies are skipped on the way back.
    const auto read = (folder / "read.pro").string();
    ASSERT_EQ(RunCli({state, "--virtual-fault", "unexpected", "read", read}).Status, 0);
    const auto again = (folder / "again.log").string();
    const std::string other = "--virtual-keyboard=" + (folder / "other").string();
    ASSERT_EQ(RunCli({other, "--report-log", again, "write", read}).Status, 0);
    EXPECT_EQ(FirstDifference(ReadWhole(again), held), "");
}

} // namespace
