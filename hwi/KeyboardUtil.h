// The report transport: one output report written, one input report read, through an opened device.
#pragma once

#include "zelk/ZelkHWI.h"

#include <cstdint>
#include <memory>

inline constexpr int ReportSize = 65;

class CKeyboardUtil {
public:
    explicit CKeyboardUtil(std::unique_ptr<CReportDevice> device);
    virtual ~CKeyboardUtil();
    CKeyboardUtil(const CKeyboardUtil&) = delete;
    CKeyboardUtil& operator=(const CKeyboardUtil&) = delete;

    virtual bool WriteReport(const std::uint8_t* report, std::uint32_t count);
    // Reads one input report and copies its payload (the bytes after the report ID) into destination.
    // length is the room in destination on entry; fails when no report arrives within timeoutMs.
    virtual bool ReadReport(std::uint8_t* destination, std::uint32_t& length, int timeoutMs);

    // Writes a command report: payload byte 0 is 0, byte 1 the command, the rest zero.
    bool WriteCommand(std::uint8_t command);
    // Writes one 64-byte payload behind the report ID.
    bool WritePayload(const std::uint8_t* payload);
    // Reads one input report's 64 payload bytes.
    bool ReadPayload(std::uint8_t* payload);

    // Why the last report failed since ForgetProblem, or why a transfer gave up; no problem when none.
    const CProblem& LastProblem() const { return Problem; }
    void NoteProblem(const CProblem& problem);
    void ForgetProblem() { Problem = {}; }

protected:
    std::unique_ptr<CReportDevice> Device;

private:
    CProblem Problem;
};

class CMorvUtil : public CKeyboardUtil {
public:
    using CKeyboardUtil::CKeyboardUtil;
    // Asks the keyboard for its firmware version; destination holds VersionTextCapacity characters and
    // always ends up terminated.
    virtual bool ReadVersion(char16_t* destination);
};
