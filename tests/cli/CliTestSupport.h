// Runs the built zelk-cli and collects its exit status and output.
#pragma once

#include "CliProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

struct CCliResult {
    int Status = -1;
    std::string Out;
    std::string Err;
    // Lines of stderr.
    std::vector<std::string> ErrLines() const {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < Err.size()) {
            const std::size_t end = Err.find('\n', start);
            lines.push_back(Err.substr(start, end - start));
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        return lines;
    }
};

inline std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A folder of its own for each test. The same test of another build tree may run at the same time,
// so the folder is named after the tool under test too.
inline std::filesystem::path TestFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string tree = std::to_string(std::hash<std::string>{}(ZELK_CLI));
    const auto folder = std::filesystem::temp_directory_path() / "zelk-cli-tests" / tree /
                        (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// zelk-cli with the arguments, run in folder (empty: here).
inline CCliResult RunCli(const std::vector<std::string>& arguments,
                         const std::filesystem::path& folder = {}) {
    static int runs = 0;
    const auto files = std::filesystem::temp_directory_path() / "zelk-cli-tests";
    std::filesystem::create_directories(files);
    // Test processes may run side by side: the process id keeps their files apart.
    const std::string tag = std::to_string(CurrentProcessId()) + "." + std::to_string(++runs);
    const auto out = files / ("out." + tag);
    const auto err = files / ("err." + tag);
    CCliResult result;
    result.Status = RunProcess({ZELK_CLI, arguments, folder, out, err});
    result.Out = ProgramOutput(out);
    result.Err = ProgramOutput(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
}

// Status 1 with exactly one line on stderr, from the tool.
inline void ExpectFailureLine(const CCliResult& result, const std::string& where) {
    EXPECT_EQ(result.Status, 1) << where << "\n" << result.Err;
    const auto lines = result.ErrLines();
    ASSERT_EQ(lines.size(), 1u) << where << "\n" << result.Err;
    EXPECT_EQ(lines[0].rfind("zelk-cli: ", 0), 0u) << where << "\n" << result.Err;
}
