// A facade on a fresh virtual keyboard whose reports are logged, and a target that records posts.
#pragma once

#include "zelk/DeviceOptions.h"
#include "zelk/ReportLog.h"
#include "zelk/VirtualKeyboard.h"
#include "zelk/ZelkHWI.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

class CRecordingTarget : public CMessageTarget {
public:
    void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        std::lock_guard<std::mutex> hold(Lock);
        if (message == WM_DEVICE_PROGRESS && lParam == 0)
            Progress.push_back(static_cast<int>(wParam));
        else
            Other.push_back(message);
    }
    std::vector<int> Progress;
    std::vector<unsigned> Other;
    std::mutex Lock;
};

inline std::filesystem::path TestFile(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto folder = std::filesystem::temp_directory_path() / "zelk-hwi-tests";
    std::filesystem::create_directories(folder);
    return folder / (std::string(info->test_suite_name()) + "." + info->name() + "." + name);
}

class CVirtualKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard = std::make_shared<CVirtualKeyboard>();
        LogPath = TestFile("log").string();
        Log = std::make_shared<CReportLog>(LogPath);
        Facade.UseDeviceProvider(WithReportLog(MakeVirtualKeyboardProvider(Keyboard), Log));
        ASSERT_TRUE(Facade.__createDev());
    }

    // The logged reports as (direction, 65 bytes).
    std::vector<std::pair<char, std::vector<std::uint8_t>>> Reports() const {
        std::vector<std::pair<char, std::vector<std::uint8_t>>> reports;
        std::ifstream in(LogPath);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::uint8_t> bytes;
            for (std::size_t i = 2; i + 1 < line.size(); i += 2)
                bytes.push_back(static_cast<std::uint8_t>(std::stoi(line.substr(i, 2), nullptr, 16)));
            reports.emplace_back(line[0], bytes);
        }
        return reports;
    }
    std::vector<std::vector<std::uint8_t>> Sent() const {
        std::vector<std::vector<std::uint8_t>> sent;
        for (auto& [direction, bytes] : Reports())
            if (direction == '>')
                sent.push_back(bytes);
        return sent;
    }
    // Starts a new log so that only what follows is seen.
    void RestartLog() {
        Facade.__closeDev();
        Log = std::make_shared<CReportLog>(LogPath);
        Facade.UseDeviceProvider(WithReportLog(MakeVirtualKeyboardProvider(Keyboard), Log));
        ASSERT_TRUE(Facade.__createDev());
    }

    std::shared_ptr<CVirtualKeyboard> Keyboard;
    std::shared_ptr<CReportLog> Log;
    std::string LogPath;
    CMorvHWI Facade;
};
