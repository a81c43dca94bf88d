#include "HwiTestSupport.h"

#include <array>
#include <fstream>
#include <numeric>

namespace {

std::vector<int> Macro60() {
    std::vector<int> macro = {2, 0, 1, 0, 0, 60};
    for (int i = 0; i < 60; ++i)
        macro.push_back(i + 1);
    return macro;
}

// The key transfer of the held write stream (tests/data/golden-write.txt, a profile with every kind
// of assignment): the start report, the slot packets and the end report, each with its report id.
std::vector<std::vector<std::uint8_t>> HeldKeyReports() {
    std::vector<std::vector<std::uint8_t>> reports;
    std::ifstream in(std::string(ZELK_TEST_DATA) + "/golden-write.txt");
    for (std::string line; std::getline(in, line) && line.size() == 2 + 2 * 65;) {
        std::vector<std::uint8_t> report;
        for (std::size_t i = 2; i < line.size(); i += 2)
            report.push_back(static_cast<std::uint8_t>(std::stoi(line.substr(i, 2), nullptr, 16)));
        reports.push_back(report);
        if (report[2] == 0xF6)
            break;
    }
    return reports;
}

using KeyTransfer = CVirtualKeyboardTest;

TEST_F(KeyTransfer, EmptyTableWritesStart174EmptySlotsAndEnd) {
    CRecordingTarget target;
    ASSERT_TRUE(Facade.prepare());
    ASSERT_TRUE(Facade.writeKeyConfigurationToDev(&target));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 176u);
    EXPECT_EQ(sent[0][0], 0);
    EXPECT_EQ(sent[0][2], 0xF1);
    for (int slot = 0; slot < SlotCount; ++slot) {
        const auto& report = sent[1 + slot];
        ASSERT_EQ(report.size(), 65u);
        EXPECT_EQ(report[2], 0xF0);
        EXPECT_EQ(report[3], slot / 87 + 1);
        EXPECT_EQ(report[4], slot % 87 + 1);
        EXPECT_EQ(std::accumulate(report.begin() + 5, report.end(), 0), 0) << slot;
    }
    EXPECT_EQ(sent[175][1], 0);
    for (int i = 2; i < 65; ++i)
        EXPECT_EQ(sent[175][i], 0xF6);
    std::vector<int> expected(174);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(target.Progress, expected);
}

TEST_F(KeyTransfer, MacroPacketsGoBackToBackInTheirSlotsPlace) {
    const auto macro = Macro60();
    ASSERT_TRUE(Facade.setKeyConfiguration(0, 2, macro.data(), static_cast<int>(macro.size())));
    ASSERT_TRUE(Facade.writeKeyConfigurationToDev(nullptr));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 177u);
    EXPECT_EQ(sent[2][4], 2);
    EXPECT_EQ(sent[3][4], 2);
    EXPECT_EQ(sent[3][12], 54);
    EXPECT_EQ(sent[4][4], 3);
}

TEST_F(KeyTransfer, EveryKindReadsBackAsWritten) {
    const std::vector<std::vector<int>> arrays = {{0, 1, 4},
                                                  {0, 2, 0x82, 0x82},
                                                  {1, 30, 3, 65, 66, 67},
                                                  Macro60(),
                                                  {2, 1, 0, 1, 0, 3, 4, 300, 5, 30, 6},
                                                  {2, 2, 0, 0, 25, 2, 7, 8}};
    for (std::size_t i = 0; i < arrays.size(); ++i)
        ASSERT_TRUE(Facade.setKeyConfiguration(static_cast<int>(i % 2), static_cast<int>(10 + i),
                                               arrays[i].data(), static_cast<int>(arrays[i].size())));
    ASSERT_TRUE(Facade.writeKeyConfigurationToDev(nullptr));
    RestartLog(); // a fresh keyboard object: everything must come from the keyboard
    CRecordingTarget target;
    ASSERT_TRUE(Facade.readKeyDefinationFromDev(&target));
    EXPECT_EQ(target.Progress.size(), 174u);
    std::vector<int> array(200);
    for (std::size_t i = 0; i < arrays.size(); ++i) {
        ASSERT_TRUE(
            Facade.getKeyConfiguration(static_cast<int>(i % 2), static_cast<int>(10 + i), array.data(), 200));
        EXPECT_EQ(std::vector<int>(array.begin(), array.begin() + static_cast<long>(arrays[i].size())),
                  arrays[i])
            << i;
    }
}

TEST_F(KeyTransfer, HeldPacketsReadBackAreWrittenAsTheyWereHeld) {
    const auto held = HeldKeyReports();
    ASSERT_EQ(held.size(), 177u);
    // The keyboard answers with the held packets; after each slot that holds no macro comes a stray
    // reply that would be a definition of that slot but for its byte 1. A macro is followed at once by
    // the next slot, which a read taking too many continuation reports would swallow.
    for (std::size_t i = 1; i + 1 < held.size(); ++i) {
        std::array<std::uint8_t, 64> payload{};
        std::copy(held[i].begin() + 1, held[i].end(), payload.begin());
        Keyboard->InjectReply(payload);
        if (held[i][5] < 2)
            Keyboard->InjectReply({0x00, 0x55, held[i][3], held[i][4], 0, 1, 4});
    }
    Keyboard->InjectReply({0xF6});
    CRecordingTarget target;
    ASSERT_TRUE(Facade.readKeyDefinationFromDev(&target));
    EXPECT_EQ(target.Progress.size(), 174u);
    ASSERT_TRUE(Facade.writeKeyConfigurationToDev(nullptr));
    const auto sent = Sent(); // the read request, then the write
    ASSERT_EQ(sent.size(), 1 + held.size());
    for (std::size_t i = 0; i < held.size(); ++i)
        EXPECT_EQ(sent[1 + i], held[i]) << "report " << i + 1;
}

TEST_F(KeyTransfer, ReadStoresLevelTwoKeyOneInSlot87AndSkipsStrayReplies) {
    Keyboard->InjectReply({0x00, 0x55});
    Keyboard->InjectReply({0x00, 0xF0, 2, 1, 0, 1, 42});
    Keyboard->InjectReply({0x00, 0xF0, 3, 1, 0, 1, 43});  // no third level
    Keyboard->InjectReply({0x00, 0xF0, 1, 88, 0, 1, 44}); // no key 88
    Keyboard->InjectReply({0x00, 0xF0, 1, 1, 7, 1, 45});  // no kind 7
    Keyboard->InjectReply({0xF6});
    CRecordingTarget target;
    // The request is answered by the stray replies first, then by the keyboard's own list.
    ASSERT_TRUE(Facade.readKeyDefinationFromDev(&target));
    EXPECT_EQ(target.Progress, std::vector<int>{87});
    int array[4] = {};
    ASSERT_TRUE(Facade.getKeyConfiguration(1, 1, array, 4));
    EXPECT_EQ(std::vector<int>(array, array + 3), (std::vector<int>{0, 1, 42}));
    ASSERT_TRUE(Facade.getKeyConfiguration(0, 1, array, 4));
    EXPECT_EQ(array[1], 0);
}

TEST_F(KeyTransfer, UnexpectedRepliesAreIgnored) {
    const int single[] = {0, 1, 4};
    ASSERT_TRUE(Facade.setKeyConfiguration(0, 5, single, 3));
    ASSERT_TRUE(Facade.writeKeyConfigurationToDev(nullptr));
    CVirtualKeyboardFaults faults;
    faults.UnexpectedReplies = true;
    Keyboard->SetFaults(faults);
    ASSERT_TRUE(Facade.prepare());
    ASSERT_TRUE(Facade.readKeyDefinationFromDev(nullptr));
    int array[4] = {};
    ASSERT_TRUE(Facade.getKeyConfiguration(0, 5, array, 4));
    EXPECT_EQ(array[2], 4);
    ASSERT_TRUE(Facade.getKeyConfiguration(0, 1, array, 4));
    EXPECT_EQ(array[1], 0);
}

TEST_F(KeyTransfer, WriteFailingAtAnyReportReportsFailure) {
    const auto macro = Macro60();
    for (long failAt = 1; failAt <= 177; ++failAt) {
        ASSERT_TRUE(Facade.setKeyConfiguration(1, 87, macro.data(), static_cast<int>(macro.size())));
        CVirtualKeyboardFaults faults;
        faults.FailWriteAt = failAt;
        Keyboard->SetFaults(faults);
        EXPECT_FALSE(Facade.writeKeyConfigurationToDev(nullptr)) << failAt;
    }
    Keyboard->SetFaults({});
    EXPECT_TRUE(Facade.writeKeyConfigurationToDev(nullptr));
}

TEST_F(KeyTransfer, ReadFailingAtAnyReportReportsFailureAndNeverHalfAMacro) {
    const auto macro = Macro60();
    ASSERT_TRUE(Facade.setKeyConfiguration(0, 1, macro.data(), static_cast<int>(macro.size())));
    ASSERT_TRUE(Facade.writeKeyConfigurationToDev(nullptr));
    // Reports of a read: the request, 175 definition packets (the macro has two) and the end marker.
    for (long unplugAt = 1; unplugAt <= 177; ++unplugAt) {
        Keyboard->SetPlugged(true);
        RestartLog();
        ASSERT_TRUE(Facade.setKeyConfiguration(0, 1, macro.data(), static_cast<int>(macro.size())));
        CVirtualKeyboardFaults faults;
        faults.UnplugAtReport = unplugAt;
        Keyboard->SetFaults(faults);
        EXPECT_FALSE(Facade.readKeyDefinationFromDev(nullptr)) << unplugAt;
        std::vector<int> array(100);
        ASSERT_TRUE(Facade.getKeyConfiguration(0, 1, array.data(), 100));
        // Either the old macro, nothing, or the whole macro read back: never a cut one.
        EXPECT_TRUE(array[0] == 0 ? array[1] == 0 : array[5] == 60) << unplugAt;
    }
}

TEST_F(KeyTransfer, SilentKeyboardEndsTheReadByTimeout) {
    ASSERT_TRUE(Facade.writeKeyConfigurationToDev(nullptr));
    CVirtualKeyboardFaults faults;
    faults.SilentAfterReplies = 3;
    Keyboard->SetFaults(faults);
    EXPECT_FALSE(Facade.readKeyDefinationFromDev(nullptr));
}

TEST_F(KeyTransfer, ReadWithoutEndMarkerGivesUpAfterABoundedNumberOfReplies) {
    // A keyboard that answers every request with an endless list of stray reports.
    for (int i = 0; i < 20000; ++i)
        Keyboard->InjectReply({0x00, 0x55});
    CVirtualKeyboardFaults faults;
    faults.SilentAfterReplies = 19999; // still answering when the light read gives up
    Keyboard->SetFaults(faults);
    EXPECT_FALSE(Facade.readKeyLightFromDev());
}

} // namespace
