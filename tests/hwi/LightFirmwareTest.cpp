#include "HwiTestSupport.h"
#include "zelk/IntelHex.h"

#include <cstdlib>
#include <random>
#include <thread>

namespace {

using LightTransfer = CVirtualKeyboardTest;
using FirmwareTransfer = CVirtualKeyboardTest;

std::vector<int> Area(int seed) {
    std::vector<int> area(LightAreaSize);
    for (int i = 0; i < LightAreaSize; ++i)
        area[i] = (i * 7 + seed) % 256;
    return area;
}

TEST_F(LightTransfer, WriteSendsStartFiveChunksAndEnd) {
    auto area = Area(3);
    area[0] = 0x1FF; // only the low byte counts
    ASSERT_TRUE(Facade.setKeyboardLightArea(area.data()));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0][2], 0xE1);
    const int sizes[] = {61, 61, 61, 61, 17};
    int offset = 0;
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(sent[1 + c][2], 0xE0);
        EXPECT_EQ(sent[1 + c][3], sizes[c]);
        EXPECT_EQ(sent[1 + c][4], area[offset] & 0xFF);
        EXPECT_EQ(sent[1 + c][3 + sizes[c]], area[offset + sizes[c] - 1] & 0xFF);
        offset += sizes[c];
    }
    std::vector<std::uint8_t> end(65, 0xE6);
    end[0] = 0;
    EXPECT_EQ(sent[6], end);
}

TEST_F(LightTransfer, AreaReadsBackInChunksOfAnySize) {
    const auto area = Area(11);
    ASSERT_TRUE(Facade.setKeyboardLightArea(area.data()));
    for (int chunk : {1, 7, 61}) {
        Keyboard->SetLightReplyChunk(chunk);
        RestartLog();
        ASSERT_TRUE(Facade.readKeyLightFromDev());
        std::vector<int> back(LightAreaSize);
        ASSERT_TRUE(Facade.getKeyboardLightArea(back.data()));
        EXPECT_EQ(back, area) << chunk;
    }
}

TEST_F(LightTransfer, EndMarkerFirstLeavesTheAreaAndOverlongChunksAreCut) {
    const auto area = Area(5);
    ASSERT_TRUE(Facade.setKeyboardLightArea(area.data()));
    Keyboard->InjectReply({0x00, 0xE6});
    ASSERT_TRUE(Facade.readKeyLightFromDev());
    std::vector<int> back(LightAreaSize);
    Facade.getKeyboardLightArea(back.data());
    EXPECT_EQ(back, area);

    Keyboard->SetPlugged(true); // drops the replies still queued for the first request
    RestartLog();
    std::array<std::uint8_t, 64> chunk = {0x00, 0xE0, 255};
    chunk[3] = 9;
    for (int i = 0; i < 5; ++i)
        Keyboard->InjectReply(chunk);
    Keyboard->InjectReply({0x00, 0xE6});
    ASSERT_TRUE(Facade.readKeyLightFromDev());
    Facade.getKeyboardLightArea(back.data());
    EXPECT_EQ(back[0], 9);
    EXPECT_EQ(back[61], 9);
    EXPECT_EQ(back[244], 9);
}

TEST_F(LightTransfer, FailureAtAnyReportIsReported) {
    const auto area = Area(1);
    for (long failAt = 1; failAt <= 7; ++failAt) {
        CVirtualKeyboardFaults faults;
        faults.FailWriteAt = failAt;
        Keyboard->SetFaults(faults);
        EXPECT_FALSE(Facade.setKeyboardLightArea(area.data())) << failAt;
        std::vector<int> back(LightAreaSize);
        Facade.getKeyboardLightArea(back.data());
        EXPECT_EQ(back, area); // the colours stay stored
    }
    // A read: the request, six replies.
    for (long unplugAt = 1; unplugAt <= 7; ++unplugAt) {
        Keyboard->SetPlugged(true);
        RestartLog();
        CVirtualKeyboardFaults faults;
        faults.UnplugAtReport = unplugAt;
        Keyboard->SetFaults(faults);
        EXPECT_FALSE(Facade.readKeyLightFromDev()) << unplugAt;
    }
}

std::string Record(std::vector<std::uint8_t> bytes) {
    unsigned sum = 0;
    for (auto b : bytes)
        sum += b;
    bytes.push_back(static_cast<std::uint8_t>(-sum & 0xFF));
    static const char digits[] = "0123456789ABCDEF";
    std::string line = ":";
    for (auto b : bytes) {
        line += digits[b >> 4];
        line += digits[b & 0xF];
    }
    return line;
}

std::string RecordOf(int dataBytes) {
    std::vector<std::uint8_t> record = {static_cast<std::uint8_t>(dataBytes), 0, 0, 0};
    record.resize(4 + static_cast<std::size_t>(dataBytes), 0x11);
    return Record(record);
}

std::string HexFile(int lines, const char* lineEnd = "\r\n") {
    std::string text;
    for (int i = 0; i < lines - 1; ++i) {
        const int address = i * 16;
        std::vector<std::uint8_t> record = {16, static_cast<std::uint8_t>(address >> 8),
                                            static_cast<std::uint8_t>(address), 0};
        for (int j = 0; j < 16; ++j)
            record.push_back(static_cast<std::uint8_t>(i + j));
        text += Record(record) + lineEnd;
    }
    return text + ":00000001FF" + lineEnd;
}

bool Flash(CMorvHWI& facade, const std::string& text, CMessageTarget* target = nullptr) {
    return facade.WriteFirmwareToKeyboard(text.c_str(), text.size(), target);
}

TEST_F(FirmwareTransfer, OneReportPerLineWithProgressOn150Scale) {
    CRecordingTarget three;
    ASSERT_TRUE(Flash(Facade, HexFile(3), &three));
    EXPECT_EQ(three.Progress, (std::vector<int>{50, 100, 150}));
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 3u);
    // A 16-byte data record decodes to 21 bytes in payload bytes 2 to 22.
    EXPECT_EQ(sent[0][2], ':');
    EXPECT_EQ(sent[0][3], 16);
    EXPECT_EQ(sent[0][6], 0);
    EXPECT_NE(sent[0][23], 0);
    EXPECT_EQ(sent[0][24], 0);

    RestartLog();
    CRecordingTarget many;
    ASSERT_TRUE(Flash(Facade, HexFile(300), &many));
    ASSERT_EQ(many.Progress.size(), 150u);
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(many.Progress[i], i + 1);
    EXPECT_EQ(Sent().size(), 300u);
    EXPECT_EQ(Keyboard->FirmwareChecksumErrors(), 0);
}

TEST_F(FirmwareTransfer, LowerCaseDigitsAndCrOnlyLineEndsAreAccepted) {
    std::string text = HexFile(4, "\r");
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ASSERT_TRUE(Flash(Facade, text));
    EXPECT_EQ(Sent().size(), 4u);
    EXPECT_EQ(Keyboard->FirmwareImage().size(), 48u);
}

TEST_F(FirmwareTransfer, CorruptFilesAreRefusedBeforeAnythingIsSentNamingTheFaultAndItsLine) {
    const std::string good = HexFile(3);
    std::string badChecksum = good;
    badChecksum[good.find("\r\n") - 1] ^= 1;
    std::string badDigit = good;
    badDigit[5] = 'G';
    using enum ProblemCode;
    const struct {
        const char* Name;
        std::string Text;
        ProblemCode Code;
        long Line;
    } cases[] = {
        {"empty", "", HexNotIntelHex, 0},
        {"not hex", "hello\r\n", HexNotIntelHex, 0},
        {"LF only", HexFile(3, "\n"), HexLineEndsWithLfAlone, 1},
        {"last line unended", good.substr(0, good.size() - 2), HexLineEndMissing, 3},
        {"checksum", badChecksum, HexWrongChecksum, 1},
        {"digit", badDigit, HexNotHexadecimal, 1},
        {"odd digits", ":00000001FF0\r\n", HexOddDigits, 1},
        {"line without colon", HexFile(2).substr(0, HexFile(2).rfind(':')) + "00000001FF\r\n",
         HexColonMissing, 2},
        {"record after empty line", HexFile(2) + "\r\n" + HexFile(2), HexRecordAfterEmptyLine, 4},
        {"overlong line", ":" + std::string(1000, '0') + "\r\n", HexLineTooLong, 1},
        {"record over 62 bytes", RecordOf(58) + "\r\n", HexRecordTooLong, 1},
        {"no end record", good.substr(0, good.rfind(':')), HexEndRecordMissing, 0},
        {"record after the end record", good + good, HexRecordAfterEndRecord, 4},
        {"LF and CR LF mixed", std::string(good).replace(good.find("\r\n"), 2, "\n"), HexLineEndsWithLfAlone,
         1},
    };
    for (const auto& [name, text, code, line] : cases) {
        EXPECT_FALSE(Flash(Facade, text)) << name;
        EXPECT_TRUE(Sent().empty()) << name;
        CProblem problem;
        EXPECT_FALSE(CheckFirmwareText(text, problem)) << name;
        EXPECT_EQ(problem.Code, code) << name;
        EXPECT_EQ(problem.Line, line) << name;
    }
    EXPECT_FALSE(Facade.WriteFirmwareToKeyboard(nullptr, 10, nullptr));
    EXPECT_FALSE(Facade.WriteFirmwareToKeyboard(good.c_str(), 0, nullptr));
}

TEST_F(FirmwareTransfer, FailureAtAnyRecordIsReported) {
    const std::string text = HexFile(6);
    for (long failAt = 1; failAt <= 6; ++failAt) {
        CVirtualKeyboardFaults faults;
        faults.FailWriteAt = failAt;
        Keyboard->SetFaults(faults);
        EXPECT_FALSE(Flash(Facade, text)) << failAt;
    }
}

TEST_F(FirmwareTransfer, OnlyOneTransferRunsAtATime) {
    Keyboard->SetMicrosecondsPerReport(2000);
    const std::string text = HexFile(200);
    bool first = false;
    std::thread running([&] { first = Flash(Facade, text); });
    while (Keyboard->ReportsWritten() == 0)
        std::this_thread::yield();
    CMorvHWI second;
    auto other = std::make_shared<CVirtualKeyboard>();
    second.UseDeviceProvider(MakeVirtualKeyboardProvider(other));
    ASSERT_TRUE(second.__createDev());
    EXPECT_FALSE(Flash(second, HexFile(2)));
    running.join();
    EXPECT_TRUE(first);
    EXPECT_TRUE(Flash(second, HexFile(2)));
}

TEST_F(FirmwareTransfer, RecordsInAnyOrderJoinIntoRunsAndLaterBytesWin) {
    const std::string text = Record({4, 0, 0x20, 0, 1, 1, 1, 1}) + "\r\n" + // 0x20..0x23
                             Record({2, 0, 0x40, 0, 7, 7}) + "\r\n" +       // 0x40..0x41, alone
                             Record({16, 0, 0x10, 0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}) +
                             "\r\n" +                                                 // 0x10..0x1F meets 0x20
                             Record({3, 0, 0x1E, 0, 3, 3, 3}) + "\r\n" +              // over 0x1E..0x20
                             Record({1, 0, 0x24, 0, 4}) + "\r\n" + ":00000001FF\r\n"; // at the run's end
    ASSERT_TRUE(Flash(Facade, text));
    const std::vector<std::uint8_t> run = {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 1, 1, 1, 4};
    const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> expected = {{0x10, run},
                                                                                       {0x40, {7, 7}}};
    EXPECT_EQ(Keyboard->FirmwareSegments(), expected);
}

// The image: 70 KiB and 13 bytes, crossing a 64 KiB segment. objcopy -I binary -O ihex of MinGW-w64's
// binutils made tests/data/objcopy-image-hwi.hex from these bytes; where objcopy can run, it makes one
// afresh.
TEST_F(FirmwareTransfer, ImageMadeByObjcopyArrivesWhole) {
    std::vector<std::uint8_t> binary(70 * 1024 + 13);
    std::mt19937 random(7);
    for (auto& byte : binary)
        byte = static_cast<std::uint8_t>(random());
    std::vector<std::filesystem::path> images = {ZELK_TEST_DATA "/objcopy-image-hwi.hex"};
#if defined(OBJCOPY)
    const auto folder = TestFile("objcopy");
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "image.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(binary.data()), static_cast<long>(binary.size()));
    const std::string command = std::string(OBJCOPY) + " -I binary -O ihex " +
                                (folder / "image.bin").string() + " " + (folder / "image.hex").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    images.push_back(folder / "image.hex");
#endif
    for (const auto& image : images) {
        std::ifstream hex(image, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(hex)), std::istreambuf_iterator<char>());
        ASSERT_GT(text.size(), 200000u) << image;
        auto keyboard = std::make_shared<CVirtualKeyboard>();
        CMorvHWI facade;
        facade.UseDeviceProvider(MakeVirtualKeyboardProvider(keyboard));
        ASSERT_TRUE(facade.__createDev());
        ASSERT_TRUE(Flash(facade, text)) << image;
        EXPECT_EQ(keyboard->FirmwareImage(), binary) << image;
        EXPECT_EQ(keyboard->FirmwareChecksumErrors(), 0) << image;
    }
}

} // namespace
