#include "Firmware.h"

#include "KeyDefine.h"
#include "zelk/IntelHex.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

constexpr int ProgressScale = 150;
std::atomic<bool> TransferRunning{false};

class CTransferGuard {
public:
    CTransferGuard() : Owned(!TransferRunning.exchange(true)) {}
    ~CTransferGuard() {
        if (Owned)
            TransferRunning = false;
    }
    CTransferGuard(const CTransferGuard&) = delete;
    CTransferGuard& operator=(const CTransferGuard&) = delete;
    bool Owned;
};

} // namespace

bool SendFirmware(CKeyboardUtil& transport, std::string_view text, CMessageTarget* target) {
    CTransferGuard guard;
    if (!guard.Owned) {
        transport.NoteProblem(ProblemCode::TransferRunning);
        return false;
    }
    if (CProblem refusal; !CheckFirmwareText(text, refusal)) {
        transport.NoteProblem(refusal);
        return false;
    }

    const long lineTotal = static_cast<long>(std::count(text.begin(), text.end(), '\r'));
    long progressSum = 0;
    long lastPosted = 0;
    CFirmwareLines lines(text);
    std::string_view line;
    bool endedByCr = false;
    while (lines.Next(line, endedByCr) && !line.empty()) {
        const std::vector<std::uint8_t> record = DecodeHexRecord(line);
        std::uint8_t payload[PacketSize] = {0x00, ':'};
        std::memcpy(payload + 2, record.data(), std::min(record.size(), MaxFirmwareRecordBytes));
        if (!transport.WritePayload(payload))
            return false;
        progressSum += ProgressScale;
        const long value = progressSum / lineTotal;
        if (value > lastPosted) {
            if (target != nullptr)
                target->Post(WM_DEVICE_PROGRESS, static_cast<std::uintptr_t>(value), 0);
            lastPosted = value;
        }
    }
    return true;
}
