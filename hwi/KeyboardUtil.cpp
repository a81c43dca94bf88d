#include "KeyboardUtil.h"

#include "KeyDefine.h"

#include <algorithm>
#include <cstring>

CKeyboardUtil::CKeyboardUtil(std::unique_ptr<CReportDevice> device) : Device(std::move(device)) {}

CKeyboardUtil::~CKeyboardUtil() = default;

void CKeyboardUtil::NoteProblem(const CProblem& problem) {
    if (!Problem)
        Problem = problem; // the first cause, not what followed from it
}

bool CKeyboardUtil::WriteReport(const std::uint8_t* report, std::uint32_t count) {
    if (Device && Device->Write(report, count))
        return true;
    NoteProblem(Device ? ProblemCode::ReportNotSent : ProblemCode::KeyboardNotConnected);
    return false;
}

bool CKeyboardUtil::ReadReport(std::uint8_t* destination, std::uint32_t& length, int timeoutMs) {
    if (!Device) {
        NoteProblem(ProblemCode::KeyboardNotConnected);
        return false;
    }
    std::uint8_t report[ReportSize] = {};
    const int received = Device->Read(report, sizeof report, timeoutMs);
    if (received <= 0) {
        NoteProblem(received == 0 ? CProblem(ProblemCode::NoReply, 0, static_cast<std::uintmax_t>(timeoutMs))
                                  : CProblem(ProblemCode::ReportNotReceived));
        return false;
    }
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

namespace {

// Replies of other requests, by their marks: a key definition packet or light chunk (byte 1), the end
// of the key table (byte 0) or of the light area (byte 1).
bool IsOtherReply(const std::uint8_t* reply) {
    return reply[1] == 0xF0 || reply[1] == 0xE0 || reply[1] == 0xE6 || reply[0] == 0xF6;
}

// As many replies as a light read takes before it gives up on the end marker.
constexpr long MaxVersionReplies = 4 * LightAreaSize;

} // namespace

bool CMorvUtil::ReadVersion(char16_t* destination) {
    if (!WriteCommand(0xF9))
        return false;
    // Replies still on their way from an earlier request, or sent unasked, come before the answer:
    // the answer is the first reply that carries text and is no other request's reply.
    std::uint8_t reply[PacketSize] = {};
    for (long replies = 0;; ++replies) {
        if (replies == MaxVersionReplies || !ReadPayload(reply))
            return false;
        if (reply[2] != 0 && !IsOtherReply(reply))
            break;
    }
    // One character per byte; a zero byte ends the text, and the text is always terminated.
    const std::size_t textLength = PacketSize - 2;
    for (std::size_t i = 0; i < textLength; ++i)
        destination[i] = reply[2 + i];
    destination[textLength] = 0;
    return true;
}
