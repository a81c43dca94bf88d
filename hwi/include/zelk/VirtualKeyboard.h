// A simulated keyboard behind the same transport as a real one: it answers the report protocol, keeps
// its key definitions, light area and last firmware image (in a state file when given one) and injects
// faults on request.
#pragma once

#include "zelk/VirtualKeyboardState.h"
#include "zelk/ZelkHWI.h"

#include <array>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct CVirtualKeyboardFaults {
    long FailWriteAt = 0;           // the Nth write (counting from 1) fails; 0: none
    long UnplugAtReport = 0;        // from the Nth report on (writes and reads), every transfer fails
    long SilentAfterReplies = -1;   // after this many replies the keyboard sends nothing more; -1: never
    bool UnexpectedReplies = false; // each answer is preceded by replies the host must skip
};

// Parses "fail-write=N", "unplug-at=N", "silent-after=N" or "unexpected" (comma-separated).
bool ParseVirtualKeyboardFaults(const std::string& text, CVirtualKeyboardFaults& faults, std::string& error);

class ZELKHWI_API CVirtualKeyboard {
public:
    // With a state file, the state is loaded from it (when it exists), read from it afresh when a
    // transfer begins, and each transfer's change is applied to the file as it is then, under the
    // file's lock: keyboards of several programs on one state file keep each other's changes, as one
    // real keyboard would. A file that is not a state file of the virtual keyboard, or a damaged or
    // read-only one, is refused: the keyboard starts empty, StateProblem says why, and the file is
    // never written.
    explicit CVirtualKeyboard(std::string stateFile = {});

    // Report traffic, as the opened interface sees it.
    bool Write(const std::uint8_t* report, std::size_t length);
    int Read(std::uint8_t* report, std::size_t capacity, int timeoutMs);

    void SetFaults(const CVirtualKeyboardFaults& faults);
    void SetPlugged(bool plugged);
    bool Plugged() const;
    void SetVersionText(const std::string& text);
    void SetLightReplyChunk(int bytes);
    void SetMicrosecondsPerReport(int microseconds);
    // Queues a reply as if the keyboard had sent it unasked.
    void InjectReply(const std::array<std::uint8_t, 64>& payload);

    // What the keyboard holds.
    std::vector<std::uint8_t> SlotPackets(int slot) const;
    std::array<std::uint8_t, LightAreaSize> LightArea() const;
    // The firmware from its lowest to its highest address, gaps as zeros; empty when there is none or
    // when it spans more than 64 MB (FirmwareSegments has it then).
    std::vector<std::uint8_t> FirmwareImage() const;
    // The firmware as its runs of consecutive addresses, in address order.
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> FirmwareSegments() const;
    std::uint32_t FirmwareBase() const;
    int FirmwareChecksumErrors() const;
    long ReportsWritten() const;

    // Saves everything the keyboard holds, as a transfer of all of it would.
    bool Save() const;
    bool Load();
    // Why the state file was refused (one of the StateFile codes); no problem when it was loaded or
    // did not exist.
    CProblem StateProblem() const;
    // Why the last save of the state file failed; no problem when it succeeded.
    CProblem SaveProblem() const;

private:
    using Payload = std::array<std::uint8_t, 64>;
    void Handle(const Payload& payload);
    void Reply(const Payload& payload);
    void ReplyUnexpected(std::uint8_t command);
    void ReceiveKeyPacket(const Payload& payload);
    void ReceiveFirmwareRecord(const Payload& payload);
    void BeginTransfer();
    bool SaveLocked();
    bool ReplaceStateFile(const std::function<void(CVirtualKeyboardState& onDisk)>& change,
                          CVirtualKeyboardState* saved) const;
    std::vector<std::uint8_t> FirmwareImageLocked() const;
    std::chrono::steady_clock::time_point ReserveReportSlot();

    mutable std::mutex Lock;
    CVirtualKeyboardStateFile StateFile;
    CProblem RefusedState;        // why the state file is not used; never written while set
    mutable CProblem SaveFailure; // why the last save failed
    CVirtualKeyboardFaults Faults;
    bool IsPlugged = true;
    std::string VersionText = "Zelk virtual keyboard V1.00";
    int LightReplyChunk = 61;
    int MicrosecondsPerReport = 0;
    std::chrono::steady_clock::time_point NextReportSlot;

    long Writes = 0;
    long Reports = 0;
    long Replies = 0;
    std::deque<Payload> Outbox;

    CVirtualKeyboardState State;
    // What the transfers since the state was last saved or read changed: only that goes into the file.
    std::bitset<SlotCount> ChangedSlots;
    bool LightChanged = false;
    bool FirmwareChanged = false;

    std::vector<std::uint8_t> PendingMacro;
    int PendingSlot = -1;
    std::size_t PendingBytes = 0;
    std::size_t LightFill = 0;
    std::uint32_t FirmwareAddressBase = 0;
    bool FirmwareComplete = true;
    int ChecksumErrors = 0;
};

// Discovery sees exactly one keyboard: this virtual one, while it is plugged in.
ZELKHWI_API std::shared_ptr<CDeviceProvider>
MakeVirtualKeyboardProvider(std::shared_ptr<CVirtualKeyboard> keyboard);
