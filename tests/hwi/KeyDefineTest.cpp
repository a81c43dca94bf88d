#include "KeyDefine.h"
#include "Morv.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

std::vector<std::uint8_t> EncodeAll(const CKeyDefine& define) {
    int total = 0;
    EXPECT_FALSE(define.Encode(nullptr, PacketSize, total));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(total), 0);
    define.Encode(bytes.data(), PacketSize, total);
    return bytes;
}

std::unique_ptr<CKeyDefine> FromArray(const std::vector<int>& array, int key = 5, int level = 1) {
    return CKeyDefine::FromInterchange(key, level, array.data(), static_cast<int>(array.size()));
}

std::vector<int> ToArray(const CKeyDefine& define) {
    std::vector<int> array;
    define.ToInterchange(array);
    return array;
}

std::vector<int> MacroArray(int playMode, int cycles, int flag, int interval, const std::vector<int>& codes,
                            const std::vector<int>& delays = {}) {
    std::vector<int> array = {2, playMode, cycles, flag, interval, static_cast<int>(codes.size())};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        array.push_back(codes[i]);
        if (flag == 1 && i + 1 < codes.size())
            array.push_back(delays.at(i));
    }
    return array;
}

TEST(KeyDefinePackets, NormalPacketCarriesLowBytesOfCodes) {
    auto define = FromArray({0, 3, 4, 0x1A5, 20}, 12, 2);
    const auto bytes = EncodeAll(*define);
    ASSERT_EQ(bytes.size(), 64u);
    const std::vector<std::uint8_t> head = {0x00, 0xF0, 2, 12, 0, 3, 4, 0xA5, 20, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 10), head);
}

TEST(KeyDefinePackets, ContinuousPacketHasBigEndianInterval) {
    auto define = FromArray({1, 300, 2, 65, 66}, 87, 1);
    const auto bytes = EncodeAll(*define);
    const std::vector<std::uint8_t> head = {0x00, 0xF0, 1, 87, 1, 0x01, 0x2C, 2, 65, 66, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 11), head);
}

TEST(KeyDefinePackets, ContinuousWithoutCodesIsOnlyItsHead) {
    auto define = FromArray({1, 500, 0});
    int total = 0;
    std::vector<std::uint8_t> bytes(64, 0);
    EXPECT_FALSE(define->Encode(bytes.data(), PacketSize, total));
    EXPECT_EQ(bytes[1], 0xF0);
    EXPECT_EQ(bytes[4], 1);
    for (int i = 5; i < 64; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
}

TEST(KeyDefinePackets, MacroWithStepDelaysInterleavesMarkerAndDelays) {
    auto define = FromArray(MacroArray(0, 3, 1, 0, {4, 5, 6}, {300, 30}), 7, 1);
    const auto bytes = EncodeAll(*define);
    ASSERT_EQ(bytes.size(), 64u);
    const std::vector<std::uint8_t> expected = {0x00, 0xF0, 1,    7,    2, 3,    1, 0,  0, 0, 9,
                                                4,    0xC8, 0x01, 0x2C, 5, 0xC8, 0, 30, 6, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 21), expected);

    CMacroKeyDefine decoded(7, 1, 2);
    decoded.Decode(bytes.data(), PacketSize, 64);
    EXPECT_EQ(decoded.KeyCodes, (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(decoded.Delays, (std::vector<int>{300, 30, 0}));
    EXPECT_EQ(decoded.Cycles, 3);
}

TEST(KeyDefinePackets, SixtyCodeMacroTakesTwoPacketsWithTheSameHead) {
    std::vector<int> codes;
    for (int i = 1; i <= 60; ++i)
        codes.push_back(i);
    auto define = FromArray(MacroArray(1, 0, 0, 0x0102, codes), 30, 2);
    const auto bytes = EncodeAll(*define);
    ASSERT_EQ(bytes.size(), 128u);
    for (int p = 0; p < 2; ++p) {
        const std::uint8_t* packet = bytes.data() + 64 * p;
        const std::vector<std::uint8_t> head = {0x00, 0xF0, 2, 30, 3, 0, 0, 1, 2, 0, 60};
        EXPECT_EQ(std::vector<std::uint8_t>(packet, packet + 11), head) << p;
    }
    EXPECT_EQ(bytes[11], 1);
    EXPECT_EQ(bytes[63], 53);
    EXPECT_EQ(bytes[64 + 11], 54);
    EXPECT_EQ(bytes[64 + 17], 60);
    EXPECT_EQ(bytes[64 + 18], 0);

    CMacroKeyDefine decoded(30, 2, 3);
    decoded.Decode(bytes.data(), PacketSize, 128);
    EXPECT_EQ(decoded.KeyCodes, codes);
    EXPECT_EQ(decoded.Interval, 0x0102);
}

TEST(KeyDefinePackets, StreamOf53BytesFitsOnePacketAnd54NeedTwo) {
    EXPECT_EQ(EncodeAll(*FromArray(MacroArray(0, 1, 0, 0, std::vector<int>(53, 9)))).size(), 64u);
    EXPECT_EQ(EncodeAll(*FromArray(MacroArray(0, 1, 0, 0, std::vector<int>(54, 9)))).size(), 128u);
    // With step delays 14 codes make 53 bytes, 15 codes 57.
    EXPECT_EQ(EncodeAll(*FromArray(MacroArray(0, 1, 1, 0, std::vector<int>(14, 9), std::vector<int>(13, 1))))
                  .size(),
              64u);
    EXPECT_EQ(EncodeAll(*FromArray(MacroArray(0, 1, 1, 0, std::vector<int>(15, 9), std::vector<int>(14, 1))))
                  .size(),
              128u);
}

TEST(KeyDefinePackets, DecodingNeverReadsPastTheCountThePacketCanHold) {
    std::vector<std::uint8_t> packet(64, 0xEE);
    packet[5] = 255;
    packet[7] = 255;
    CNormalKeyDefine normal(1, 1);
    normal.Decode(packet.data(), PacketSize, 64);
    EXPECT_EQ(normal.CodeCount, MaxNormalCodes);
    CContinousKeyDefine continuous(1, 1);
    continuous.Decode(packet.data(), PacketSize, 64);
    EXPECT_EQ(continuous.CodeCount, MaxContinuousCodes);
    packet[6] = 0;
    packet[9] = 0x10; // a stream of 4096+ bytes claimed in one packet
    CMacroKeyDefine macro(1, 1, 2);
    macro.Decode(packet.data(), PacketSize, 64);
    EXPECT_EQ(macro.CodeCount, 53);
}

TEST(KeyInterchange, EveryKindRoundTrips) {
    const std::vector<std::vector<int>> arrays = {
        {0, 0},
        {0, 1, 4},
        {0, 2, 0x82, 0x82},
        {1, 30, 3, 65, 66, 67},
        MacroArray(0, 5, 0, 40, {10, 11}),
        MacroArray(2, 0, 1, 0, {10, 11, 12, 13}, {100, 200, 65535}),
    };
    for (const auto& array : arrays) {
        auto define = FromArray(array);
        ASSERT_TRUE(define) << array[0];
        EXPECT_EQ(ToArray(*define), array);
        // And through the packets.
        auto received = CKeyDefine::Create(5, 1, define->Kind);
        const auto bytes = EncodeAll(*define);
        received->Decode(bytes.data(), PacketSize, static_cast<int>(bytes.size()));
        EXPECT_EQ(ToArray(*received), array);
    }
}

TEST(KeyInterchange, MacroWithStepDelaysReadsBackAs2nPlus5Elements) {
    auto define = FromArray(MacroArray(0, 1, 1, 0, {1, 2, 3, 4, 5}, {1, 2, 3, 4}));
    EXPECT_EQ(ToArray(*define).size(), 6u + 2 * 5 - 1);
}

TEST(KeyInterchange, DefinitionsThePacketsCannotCarryAreRefused) {
    EXPECT_FALSE(FromArray({0, 58})); // shorter than its count says
    std::vector<int> normal = {0, 58};
    normal.resize(60, 4);
    EXPECT_TRUE(FromArray(normal));
    normal[1] = 59;
    normal.push_back(4);
    EXPECT_FALSE(FromArray(normal));

    std::vector<int> continuous = {1, 10, 56};
    continuous.resize(59, 4);
    EXPECT_TRUE(FromArray(continuous));
    continuous[2] = 57;
    continuous.push_back(4);
    EXPECT_FALSE(FromArray(continuous));

    EXPECT_FALSE(FromArray({2, 0, 1, 0, 0, 0}));          // a macro without steps
    EXPECT_FALSE(FromArray(MacroArray(3, 1, 0, 0, {1}))); // no such play mode
    EXPECT_FALSE(FromArray({0, -1}));
    EXPECT_FALSE(FromArray({3, 0}));
    // With step delays 16384 codes make 65533 stream bytes, 16385 would overflow the length field.
    EXPECT_TRUE(FromArray(MacroArray(0, 1, 1, 0, std::vector<int>(16384, 1), std::vector<int>(16383, 1))));
    EXPECT_FALSE(FromArray(MacroArray(0, 1, 1, 0, std::vector<int>(16385, 1), std::vector<int>(16384, 1))));
}

} // namespace
