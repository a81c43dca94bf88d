#include "Morv.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint8_t KeyWriteBegin = 0xF1;
constexpr std::uint8_t KeyPacket = 0xF0;
constexpr std::uint8_t KeyEnd = 0xF6;
constexpr std::uint8_t KeyReadRequest = 0xF2;
constexpr std::uint8_t LightWriteBegin = 0xE1;
constexpr std::uint8_t LightChunk = 0xE0;
constexpr std::uint8_t LightEnd = 0xE6;
constexpr std::uint8_t LightReadRequest = 0xE2;
constexpr int LightChunkBytes = 61;

// A keyboard that keeps sending without its end marker is given up on after this many replies:
// enough for every slot holding the longest macro.
constexpr long MaxKeyReadReplies = static_cast<long>(SlotCount) * (MaxMacroStream / MacroChunkSize + 2);
constexpr long MaxLightReadReplies = 4 * LightAreaSize;

void PostProgress(CMessageTarget* target, int value) {
    if (target != nullptr)
        target->Post(WM_DEVICE_PROGRESS, static_cast<std::uintptr_t>(value), 0);
}

} // namespace

template <typename Handle> bool CMorv::ReadReplies(std::uint8_t request, long maxReplies, Handle handle) {
    if (!Transport.WriteCommand(request))
        return false;
    for (long replies = 0; replies < maxReplies; ++replies) {
        std::uint8_t reply[PacketSize] = {};
        if (!Transport.ReadPayload(reply))
            return false;
        switch (handle(static_cast<const std::uint8_t*>(reply))) {
        case ReplyEndsList:
            return true;
        case ReplyFailed:
            return false;
        case ReplyTaken:
            break;
        }
    }
    Transport.NoteProblem(ProblemCode::ReplyEndMissing); // a keyboard that never sends the end marker
    return false;
}

bool CMorv::setKeyConfiguration(int level, int keyNumber, const int* array, int length) {
    if (!IsValidSlot(level, keyNumber))
        return false;
    std::unique_ptr<CKeyDefine> define = CKeyDefine::FromInterchange(keyNumber, level + 1, array, length);
    if (!define)
        return false;
    KeyTable[SlotIndex(level, keyNumber)] = std::move(define);
    return true;
}

bool CMorv::getKeyConfiguration(int level, int keyNumber, int* array, int capacity) const {
    if (!IsValidSlot(level, keyNumber) || array == nullptr)
        return false;
    std::vector<int> elements;
    if (const CKeyDefine* define = KeyTable[SlotIndex(level, keyNumber)].get())
        define->ToInterchange(elements);
    else
        elements = {0, 0};
    if (capacity >= 0 && elements.size() > static_cast<std::size_t>(capacity))
        return false;
    std::copy(elements.begin(), elements.end(), array);
    return true;
}

bool CMorv::prepare() {
    for (auto& slot : KeyTable)
        slot.reset();
    return true;
}

bool CMorv::WriteSlot(int slot) {
    const int level = slot / KeyCount + 1;
    const int keyNumber = slot % KeyCount + 1;
    const CKeyDefine* define = KeyTable[slot].get();
    if (define == nullptr) {
        std::uint8_t packet[PacketSize] = {0x00, KeyPacket, static_cast<std::uint8_t>(level),
                                           static_cast<std::uint8_t>(keyNumber)};
        return Transport.WritePayload(packet);
    }
    int total = 0;
    define->Encode(nullptr, PacketSize, total);
    std::vector<std::uint8_t> packets(static_cast<std::size_t>(total), 0);
    define->Encode(packets.data(), PacketSize, total);
    for (int offset = 0; offset < total; offset += PacketSize)
        if (!Transport.WritePayload(packets.data() + offset))
            return false;
    return true;
}

bool CMorv::writeKeyConfigurationToDev(CMessageTarget* target) {
    if (!Transport.WriteCommand(KeyWriteBegin))
        return false;
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!WriteSlot(slot))
            return false;
        PostProgress(target, slot);
    }
    std::uint8_t end[PacketSize];
    std::memset(end, KeyEnd, sizeof end);
    end[0] = 0x00;
    return Transport.WritePayload(end);
}

bool CMorv::ReceiveDefinition(const std::uint8_t* packet, CMessageTarget* target) {
    const int level = packet[2];
    const int keyNumber = packet[3];
    const int kind = packet[4];
    std::unique_ptr<CKeyDefine> define = CKeyDefine::Create(keyNumber, level, kind);
    if (!define || !IsValidSlot(level - 1, keyNumber))
        return true; // not a definition this keyboard can hold: ignored
    const int slot = SlotIndex(level - 1, keyNumber);
    KeyTable[slot].reset();

    std::vector<std::uint8_t> packets(packet, packet + PacketSize);
    if (kind >= MacroKindFirst) {
        const int length = packet[9] * 256 + packet[10];
        const int further = std::max(MacroPacketCount(length) - 1, 0);
        packets.resize(static_cast<std::size_t>(1 + further) * PacketSize);
        for (int p = 1; p <= further; ++p)
            if (!Transport.ReadPayload(packets.data() + p * PacketSize))
                return false; // the slot stays empty rather than holding half a macro
    }
    define->Decode(packets.data(), PacketSize, static_cast<int>(packets.size()));
    KeyTable[slot] = std::move(define);
    PostProgress(target, slot);
    return true;
}

bool CMorv::readKeyDefinationFromDev(CMessageTarget* target) {
    return ReadReplies(KeyReadRequest, MaxKeyReadReplies, [&](const std::uint8_t* reply) {
        if (reply[0] == KeyEnd)
            return ReplyEndsList;
        if (reply[1] != KeyPacket)
            return ReplyTaken;
        return ReceiveDefinition(reply, target) ? ReplyTaken : ReplyFailed;
    });
}

bool CMorv::setKeyboardLightArea(const int* area) {
    for (int i = 0; i < LightAreaSize; ++i)
        LightArea[i] = static_cast<std::uint8_t>(area[i] & 0xFF);

    if (!Transport.WriteCommand(LightWriteBegin))
        return false;
    for (int offset = 0; offset < LightAreaSize;) {
        const int n = std::min(LightAreaSize - offset, LightChunkBytes);
        std::uint8_t chunk[PacketSize] = {0x00, LightChunk, static_cast<std::uint8_t>(n)};
        std::memcpy(chunk + 3, LightArea.data() + offset, static_cast<std::size_t>(n));
        if (!Transport.WritePayload(chunk))
            return false;
        offset += n;
    }
    std::uint8_t end[PacketSize];
    std::memset(end, LightEnd, sizeof end);
    return Transport.WritePayload(end);
}

bool CMorv::getKeyboardLightArea(int* area) const {
    std::copy(LightArea.begin(), LightArea.end(), area);
    return true;
}

bool CMorv::readKeyLightFromDev() {
    int fill = 0;
    return ReadReplies(LightReadRequest, MaxLightReadReplies, [&](const std::uint8_t* reply) {
        if (reply[1] == LightEnd)
            return ReplyEndsList;
        if (reply[1] == LightChunk) {
            // Bytes beyond the chunk's payload or past the end of the area are dropped.
            const int n = std::min<int>({reply[2], LightChunkBytes, LightAreaSize - fill});
            std::memcpy(LightArea.data() + fill, reply + 3, static_cast<std::size_t>(n));
            fill += n;
        }
        return ReplyTaken;
    });
}
