#include "KeyboardUtil.h"

#include "KeyDefine.h"

#include <algorithm>
#include <cstring>

CKeyboardUtil::CKeyboardUtil(std::unique_ptr<CReportDevice> device) : Device(std::move(device)) {}

CKeyboardUtil::~CKeyboardUtil() = default;

bool CKeyboardUtil::WriteReport(const std::uint8_t* report, std::uint32_t count) {
    return Device && Device->Write(report, count);
}

bool CKeyboardUtil::ReadReport(std::uint8_t* destination, std::uint32_t& length, int timeoutMs) {
    if (!Device)
        return false;
    std::uint8_t report[ReportSize] = {};
    const int received = Device->Read(report, sizeof report, timeoutMs);
    if (received <= 0)
        return false;
    const std::uint32_t payload = static_cast<std::uint32_t>(received - 1);
    std::memcpy(destination, report + 1, std::min<std::uint32_t>(length, ReportSize - 1));
    length = std::max(length, payload);
    return true;
}

bool CKeyboardUtil::WriteCommand(std::uint8_t command) {
    std::uint8_t payload[PacketSize] = {};
    payload[1] = command;
    return WritePayload(payload);
}

bool CKeyboardUtil::WritePayload(const std::uint8_t* payload) {
    std::uint8_t report[ReportSize] = {};
    std::memcpy(report + 1, payload, PacketSize);
    return WriteReport(report, ReportSize);
}

bool CKeyboardUtil::ReadPayload(std::uint8_t* payload) {
    std::uint32_t length = PacketSize;
    return ReadReport(payload, length, ReportReadTimeoutMs);
}

bool CMorvUtil::ReadVersion(char16_t* destination) {
    if (!WriteCommand(0xF9))
        return false;
    std::uint8_t reply[PacketSize] = {};
    if (!ReadPayload(reply))
        return false;
    // One character per byte; a zero byte ends the text, and the text is always terminated.
    const std::size_t textLength = PacketSize - 2;
    for (std::size_t i = 0; i < textLength; ++i)
        destination[i] = reply[2 + i];
    destination[textLength] = 0;
    return true;
}
