#include "KeyDefine.h"

#include <algorithm>

namespace {

std::uint8_t LowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
std::uint8_t HighByte(int value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
int BigEndian(const std::uint8_t* bytes) {
    return bytes[0] * 256 + bytes[1];
}

} // namespace

void CKeyDefine::WriteHead(std::uint8_t* packet) const {
    packet[0] = 0x00;
    packet[1] = 0xF0;
    packet[2] = LowByte(Level);
    packet[3] = LowByte(KeyNumber);
    packet[4] = LowByte(Kind);
}

std::unique_ptr<CKeyDefine> CKeyDefine::Create(int keyNumber, int level, int kind) {
    if (kind == NormalKind)
        return std::make_unique<CNormalKeyDefine>(keyNumber, level);
    if (kind == ContinuousKind)
        return std::make_unique<CContinousKeyDefine>(keyNumber, level);
    if (kind >= MacroKindFirst && kind <= MacroKindLast)
        return std::make_unique<CMacroKeyDefine>(keyNumber, level, kind);
    return nullptr;
}

std::unique_ptr<CKeyDefine> CKeyDefine::FromInterchange(int keyNumber, int level, const int* array,
                                                        int length) {
    if (array == nullptr || length < 2)
        return nullptr;
    auto has = [length](long long elements) { return elements <= length; };

    if (array[0] == 0) {
        const int n = array[1];
        if (n < 0 || n > MaxNormalCodes || !has(2LL + n))
            return nullptr;
        auto define = std::make_unique<CNormalKeyDefine>(keyNumber, level);
        define->CodeCount = n;
        define->KeyCodes.assign(array + 2, array + 2 + n);
        return define;
    }
    if (array[0] == 1) {
        if (!has(3))
            return nullptr;
        const int n = array[2];
        if (n < 0 || n > MaxContinuousCodes || !has(3LL + n))
            return nullptr;
        auto define = std::make_unique<CContinousKeyDefine>(keyNumber, level);
        define->Interval = array[1];
        define->CodeCount = n;
        define->KeyCodes.assign(array + 3, array + 3 + n);
        return define;
    }
    if (array[0] == 2) {
        if (!has(6))
            return nullptr;
        const int playMode = array[1];
        const int flag = array[3];
        const int n = array[5];
        if (playMode < 0 || playMode > MaxMacroPlayMode || (flag != 0 && flag != 1) || n < 1)
            return nullptr;
        const long long stream = MacroStreamLength(n, flag == 1);
        const long long elements = flag == 1 ? 2LL * n - 1 : n;
        if (stream > MaxMacroStream || !has(6 + elements))
            return nullptr;
        auto define = std::make_unique<CMacroKeyDefine>(keyNumber, level, playMode + MacroKindFirst);
        define->Cycles = array[2];
        define->StepDelayFlag = flag;
        define->Interval = array[4];
        define->CodeCount = n;
        define->KeyCodes.assign(n, 0);
        define->Delays.assign(n, 0);
        for (int j = 0; j < n; ++j) {
            if (flag == 0) {
                define->KeyCodes[j] = array[6 + j];
            } else {
                define->KeyCodes[j] = array[6 + 2 * j];
                if (j < n - 1)
                    define->Delays[j] = array[7 + 2 * j];
            }
        }
        return define;
    }
    return nullptr;
}

bool CNormalKeyDefine::Encode(std::uint8_t* destination, int, int& totalSize) const {
    totalSize = PacketSize;
    if (destination == nullptr)
        return false;
    const int n = std::min(CodeCount, MaxNormalCodes);
    WriteHead(destination);
    destination[5] = LowByte(n);
    for (int i = 0; i < n; ++i)
        destination[6 + i] = LowByte(KeyCodes[i]);
    return true;
}

bool CNormalKeyDefine::Decode(const std::uint8_t* source, int, int) {
    CodeCount = std::min<int>(source[5], MaxNormalCodes);
    KeyCodes.assign(source + 6, source + 6 + CodeCount);
    return true;
}

void CNormalKeyDefine::ToInterchange(std::vector<int>& array) const {
    array.push_back(0);
    array.push_back(CodeCount);
    array.insert(array.end(), KeyCodes.begin(), KeyCodes.end());
}

bool CContinousKeyDefine::Encode(std::uint8_t* destination, int, int& totalSize) const {
    totalSize = PacketSize;
    if (destination == nullptr)
        return false;
    WriteHead(destination);
    if (CodeCount <= 0)
        return false;
    const int n = std::min(CodeCount, MaxContinuousCodes);
    destination[5] = HighByte(Interval);
    destination[6] = LowByte(Interval);
    destination[7] = LowByte(n);
    for (int i = 0; i < n; ++i)
        destination[8 + i] = LowByte(KeyCodes[i]);
    return true;
}

bool CContinousKeyDefine::Decode(const std::uint8_t* source, int, int) {
    Interval = BigEndian(source + 5);
    CodeCount = std::min<int>(source[7], MaxContinuousCodes);
    KeyCodes.assign(source + 8, source + 8 + CodeCount);
    return true;
}

void CContinousKeyDefine::ToInterchange(std::vector<int>& array) const {
    array.push_back(1);
    array.push_back(Interval);
    array.push_back(CodeCount);
    array.insert(array.end(), KeyCodes.begin(), KeyCodes.end());
}

int CMacroKeyDefine::StreamLength() const {
    return static_cast<int>(MacroStreamLength(CodeCount, StepDelayFlag == 1));
}

bool CMacroKeyDefine::Encode(std::uint8_t* destination, int, int& totalSize) const {
    const int length = std::max(StreamLength(), 0);
    totalSize = PacketSize * MacroPacketCount(length);
    if (destination == nullptr)
        return false;

    std::vector<std::uint8_t> stream;
    stream.reserve(length);
    for (int i = 0; i < CodeCount; ++i) {
        stream.push_back(LowByte(KeyCodes[i]));
        if (StepDelayFlag == 1 && i < CodeCount - 1) {
            stream.push_back(StepDelayMarker);
            stream.push_back(HighByte(Delays[i]));
            stream.push_back(LowByte(Delays[i]));
        }
    }
    const std::uint8_t head[MacroHeadSize] = {0x00,
                                              0xF0,
                                              LowByte(Level),
                                              LowByte(KeyNumber),
                                              LowByte(Kind),
                                              LowByte(Cycles),
                                              LowByte(StepDelayFlag),
                                              HighByte(Interval),
                                              LowByte(Interval),
                                              HighByte(length),
                                              LowByte(length)};
    std::uint8_t* packet = destination;
    for (int offset = 0; offset < length; offset += MacroChunkSize, packet += PacketSize) {
        std::copy(head, head + MacroHeadSize, packet);
        const int chunk = std::min(MacroChunkSize, length - offset);
        std::copy(stream.begin() + offset, stream.begin() + offset + chunk, packet + MacroHeadSize);
    }
    return true;
}

bool CMacroKeyDefine::Decode(const std::uint8_t* source, int, int totalSize) {
    Cycles = source[5];
    StepDelayFlag = source[6] == 1 ? 1 : 0;
    Interval = BigEndian(source + 7);
    const int declared = BigEndian(source + 9);

    const int packets = std::max(totalSize / PacketSize, 1);
    std::vector<std::uint8_t> stream;
    stream.reserve(static_cast<std::size_t>(packets) * MacroChunkSize);
    for (int p = 0; p < packets; ++p) {
        const std::uint8_t* packet = source + p * PacketSize;
        stream.insert(stream.end(), packet + MacroHeadSize, packet + PacketSize);
    }
    // A stream longer than the packets that arrived is cut to what arrived.
    const int length = std::min<int>(declared, static_cast<int>(stream.size()));

    if (StepDelayFlag == 1) {
        CodeCount = length > 0 ? (length - 1) / 4 + 1 : 0;
        KeyCodes.assign(CodeCount, 0);
        Delays.assign(CodeCount, 0);
        for (int i = 0; i < CodeCount; ++i) {
            KeyCodes[i] = stream[4 * i];
            if (i < CodeCount - 1)
                Delays[i] = stream[4 * i + 2] * 256 + stream[4 * i + 3];
        }
    } else {
        CodeCount = length;
        KeyCodes.assign(stream.begin(), stream.begin() + length);
        Delays.assign(CodeCount, 0);
    }
    return true;
}

void CMacroKeyDefine::ToInterchange(std::vector<int>& array) const {
    array.push_back(2);
    array.push_back(Kind - MacroKindFirst);
    array.push_back(Cycles);
    array.push_back(StepDelayFlag);
    array.push_back(Interval);
    array.push_back(CodeCount);
    for (int i = 0; i < CodeCount; ++i) {
        array.push_back(KeyCodes[i]);
        if (StepDelayFlag == 1 && i < CodeCount - 1)
            array.push_back(Delays[i]);
    }
}
