#include "zelk/VirtualKeyboard.h"

#include "KeyDefine.h"
#include "zelk/FileReplace.h"
#include "zelk/IntelHex.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string_view>
#include <system_error>
#include <thread>

namespace {

constexpr std::size_t ReportBytes = 65;

// A dense image is built only up to this span; beyond it the image is asked for by its runs.
constexpr std::uint64_t MaxDenseFirmwareImage = std::uint64_t{64} << 20;
constexpr std::uint64_t AddressSpace = std::uint64_t{1} << 32;

bool ParseCount(const std::string& text, long& value) {
    try {
        std::size_t used = 0;
        value = std::stol(text, &used);
        return used == text.size() && value >= 0;
    } catch (...) {
        return false;
    }
}

class CVirtualConnection : public CReportDevice {
public:
    explicit CVirtualConnection(std::shared_ptr<CVirtualKeyboard> keyboard) : Keyboard(std::move(keyboard)) {}
    bool Write(const std::uint8_t* report, std::size_t length) override {
        return Keyboard->Write(report, length);
    }
    int Read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override {
        return Keyboard->Read(report, capacity, timeoutMs);
    }

private:
    std::shared_ptr<CVirtualKeyboard> Keyboard;
};

class CVirtualProvider : public CDeviceProvider {
public:
    explicit CVirtualProvider(std::shared_ptr<CVirtualKeyboard> keyboard) : Keyboard(std::move(keyboard)) {}

    std::vector<CHidInterface> Enumerate() override {
        if (!Keyboard->Plugged())
            return {};
        return {{"virtual:hid#vid_0483&pid_5021&mi_00", 0x0483, 0x5021, 0},
                {"virtual:hid#vid_0483&pid_5021&mi_01", 0x0483, 0x5021, 1}};
    }
    std::unique_ptr<CReportDevice> Open(const std::string&, CProblem&) override {
        return std::make_unique<CVirtualConnection>(Keyboard);
    }

private:
    std::shared_ptr<CVirtualKeyboard> Keyboard;
};

} // namespace

bool ParseVirtualKeyboardFaults(const std::string& text, CVirtualKeyboardFaults& faults, std::string& error) {
    std::stringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        const std::size_t equals = item.find('=');
        const std::string name = item.substr(0, equals);
        const std::string value = equals == std::string::npos ? std::string() : item.substr(equals + 1);
        long number = 0;
        if (name == "unexpected" && value.empty()) {
            faults.UnexpectedReplies = true;
            continue;
        }
        if (!ParseCount(value, number)) {
            error = "bad virtual keyboard fault '" + item + "'";
            return false;
        }
        if (name == "fail-write")
            faults.FailWriteAt = number;
        else if (name == "unplug-at")
            faults.UnplugAtReport = number;
        else if (name == "silent-after")
            faults.SilentAfterReplies = number;
        else {
            error = "unknown virtual keyboard fault '" + name + "'";
            return false;
        }
    }
    return true;
}

CVirtualKeyboard::CVirtualKeyboard(std::string stateFile) : StateFile(std::move(stateFile)) {
    if (!StateFile.Name().empty())
        Load();
}

CProblem CVirtualKeyboard::StateProblem() const {
    std::lock_guard<std::mutex> hold(Lock);
    return RefusedState;
}

CProblem CVirtualKeyboard::SaveProblem() const {
    std::lock_guard<std::mutex> hold(Lock);
    return SaveFailure;
}

// Reports move on a fixed schedule, like an interrupt endpoint polled once per interval: each report
// takes the next free slot, so waking late from one sleep does not delay the ones after it.
std::chrono::steady_clock::time_point CVirtualKeyboard::ReserveReportSlot() {
    const auto now = std::chrono::steady_clock::now();
    if (MicrosecondsPerReport <= 0)
        return now;
    NextReportSlot = std::max(NextReportSlot + std::chrono::microseconds(MicrosecondsPerReport), now);
    return NextReportSlot;
}

bool CVirtualKeyboard::Write(const std::uint8_t* report, std::size_t length) {
    std::unique_lock<std::mutex> hold(Lock);
    ++Writes;
    ++Reports;
    const bool unplugged = !IsPlugged || (Faults.UnplugAtReport > 0 && Reports >= Faults.UnplugAtReport);
    if (unplugged) {
        IsPlugged = false;
        return false;
    }
    if (Writes == Faults.FailWriteAt || length != ReportBytes || report[0] != 0)
        return false;
    Payload payload;
    std::memcpy(payload.data(), report + 1, payload.size());
    Handle(payload);
    const auto done = ReserveReportSlot();
    hold.unlock();
    std::this_thread::sleep_until(done);
    return true;
}

int CVirtualKeyboard::Read(std::uint8_t* report, std::size_t capacity, int timeoutMs) {
    std::unique_lock<std::mutex> hold(Lock);
    ++Reports;
    if (!IsPlugged || (Faults.UnplugAtReport > 0 && Reports >= Faults.UnplugAtReport)) {
        IsPlugged = false;
        return -1;
    }
    const bool silent = Faults.SilentAfterReplies >= 0 && Replies >= Faults.SilentAfterReplies;
    if (Outbox.empty() || silent) {
        hold.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(timeoutMs, 0)));
        return 0;
    }
    std::uint8_t full[ReportBytes] = {};
    std::memcpy(full + 1, Outbox.front().data(), 64);
    Outbox.pop_front();
    ++Replies;
    const auto done = ReserveReportSlot();
    hold.unlock();
    std::this_thread::sleep_until(done);
    const std::size_t count = std::min(capacity, ReportBytes);
    std::memcpy(report, full, count);
    return static_cast<int>(count);
}

void CVirtualKeyboard::Reply(const Payload& payload) {
    Outbox.push_back(payload);
}

void CVirtualKeyboard::ReplyUnexpected(std::uint8_t command) {
    if (!Faults.UnexpectedReplies)
        return;
    Payload stray = {};
    stray[1] = 0x55;
    Reply(stray);
    if (command == 0xF2) {
        // Definitions this keyboard cannot hold: a third level, key 99, kind 9.
        const std::uint8_t invalid[3][3] = {{3, 1, 0}, {1, 99, 0}, {1, 1, 9}};
        for (const auto& head : invalid) {
            Payload define = {0x00, 0xF0, head[0], head[1], head[2], 1, 4};
            Reply(define);
        }
    }
}

void CVirtualKeyboard::Handle(const Payload& payload) {
    const std::uint8_t command = payload[1];
    if (command != ':')
        FirmwareComplete = true;
    if (command == 0xF1 || command == 0xF2 || command == 0xE1 || command == 0xE2 ||
        (command == ':' && FirmwareComplete))
        BeginTransfer();
    switch (command) {
    case 0xF9: {
        ReplyUnexpected(command);
        Payload version = {};
        std::memcpy(version.data() + 2, VersionText.data(), std::min<std::size_t>(VersionText.size(), 62));
        Reply(version);
        break;
    }
    case 0xF1:
        PendingMacro.clear();
        PendingSlot = -1;
        break;
    case 0xF0:
        ReceiveKeyPacket(payload);
        break;
    case 0xF6:
        PendingSlot = -1;
        SaveLocked();
        break;
    case 0xF2: {
        ReplyUnexpected(command);
        for (const auto& packets : State.Slots) {
            for (std::size_t offset = 0; offset + 64 <= packets.size(); offset += 64) {
                Payload packet;
                std::memcpy(packet.data(), packets.data() + offset, 64);
                Reply(packet);
            }
        }
        Payload end = {0xF6};
        Reply(end);
        break;
    }
    case 0xE1:
        LightFill = 0;
        break;
    case 0xE0: {
        const std::size_t n = std::min<std::size_t>({payload[2], 61, State.Light.size() - LightFill});
        std::memcpy(State.Light.data() + LightFill, payload.data() + 3, n);
        LightFill += n;
        LightChanged = true;
        break;
    }
    case 0xE6:
        SaveLocked();
        break;
    case 0xE2: {
        ReplyUnexpected(command);
        for (std::size_t offset = 0; offset < State.Light.size();) {
            const std::size_t n = std::min<std::size_t>(State.Light.size() - offset, LightReplyChunk);
            Payload chunk = {0x00, 0xE0, static_cast<std::uint8_t>(n)};
            std::memcpy(chunk.data() + 3, State.Light.data() + offset, n);
            Reply(chunk);
            offset += n;
        }
        Payload end = {0x00, 0xE6};
        Reply(end);
        break;
    }
    case ':':
        ReceiveFirmwareRecord(payload);
        break;
    default:
        break;
    }
}

void CVirtualKeyboard::ReceiveKeyPacket(const Payload& payload) {
    if (PendingSlot >= 0) {
        PendingMacro.insert(PendingMacro.end(), payload.begin(), payload.end());
        if (PendingMacro.size() >= PendingBytes) {
            State.Slots[PendingSlot] = PendingMacro;
            ChangedSlots.set(static_cast<std::size_t>(PendingSlot));
            PendingSlot = -1;
        }
        return;
    }
    const int level = payload[2];
    const int key = payload[3];
    const int kind = payload[4];
    if (level < 1 || level > 2 || key < 1 || key > KeyCount || kind > MacroKindLast)
        return;
    const int slot = (level - 1) * KeyCount + key - 1;
    std::vector<std::uint8_t> packet(payload.begin(), payload.end());
    if (kind >= MacroKindFirst) {
        const int length = payload[9] * 256 + payload[10];
        const int packets = std::max(MacroPacketCount(length), 1);
        if (packets > 1) {
            PendingSlot = slot;
            PendingBytes = static_cast<std::size_t>(packets) * 64;
            PendingMacro = packet;
            return;
        }
    }
    State.Slots[slot] = packet;
    ChangedSlots.set(static_cast<std::size_t>(slot));
}

void CVirtualKeyboard::ReceiveFirmwareRecord(const Payload& payload) {
    if (FirmwareComplete) {
        State.ClearFirmware();
        FirmwareChanged = true;
        FirmwareAddressBase = 0;
        FirmwareComplete = false;
    }
    const std::size_t count = payload[2];
    std::vector<std::uint8_t> record(payload.begin() + 2,
                                     payload.begin() + 2 + std::min<std::size_t>(count + 5, 62));
    if (!IsValidHexRecord(record)) {
        ++ChecksumErrors;
        return;
    }
    const std::uint32_t address = record[1] * 256u + record[2];
    const std::uint8_t type = record[3];
    const std::uint8_t* data = record.data() + 4;
    if (type == 0x00) {
        // Addresses are 32 bits wide: a record that runs past the last address goes on at address 0.
        if (State.FirmwareByteCount + count > MaxVirtualFirmwareBytes)
            return; // more than the keyboard's flash holds
        const std::uint64_t start = (std::uint64_t{FirmwareAddressBase} + address) % AddressSpace;
        const std::size_t first =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, AddressSpace - start));
        State.PutFirmware(static_cast<std::uint32_t>(start), data, first);
        if (first < count)
            State.PutFirmware(0, data + first, count - first);
    } else if (type == 0x02 && count == 2) {
        FirmwareAddressBase = (data[0] * 256u + data[1]) << 4;
    } else if (type == 0x04 && count == 2) {
        FirmwareAddressBase = (data[0] * 256u + data[1]) << 16;
    } else if (type == 0x01) {
        FirmwareComplete = true;
        SaveLocked();
    }
}

void CVirtualKeyboard::SetFaults(const CVirtualKeyboardFaults& faults) {
    std::lock_guard<std::mutex> hold(Lock);
    Faults = faults;
    Writes = Reports = Replies = 0;
}

void CVirtualKeyboard::SetPlugged(bool plugged) {
    std::lock_guard<std::mutex> hold(Lock);
    IsPlugged = plugged;
    if (plugged) {
        Faults.UnplugAtReport = 0;
        Outbox.clear();
    }
}

bool CVirtualKeyboard::Plugged() const {
    std::lock_guard<std::mutex> hold(Lock);
    return IsPlugged;
}

void CVirtualKeyboard::SetVersionText(const std::string& text) {
    std::lock_guard<std::mutex> hold(Lock);
    VersionText = text;
}

void CVirtualKeyboard::SetLightReplyChunk(int bytes) {
    std::lock_guard<std::mutex> hold(Lock);
    LightReplyChunk = std::clamp(bytes, 1, 61);
}

void CVirtualKeyboard::SetMicrosecondsPerReport(int microseconds) {
    std::lock_guard<std::mutex> hold(Lock);
    MicrosecondsPerReport = microseconds;
}

void CVirtualKeyboard::InjectReply(const std::array<std::uint8_t, 64>& payload) {
    std::lock_guard<std::mutex> hold(Lock);
    Reply(payload);
}

std::vector<std::uint8_t> CVirtualKeyboard::SlotPackets(int slot) const {
    std::lock_guard<std::mutex> hold(Lock);
    return State.Slots.at(slot);
}

std::array<std::uint8_t, LightAreaSize> CVirtualKeyboard::LightArea() const {
    std::lock_guard<std::mutex> hold(Lock);
    return State.Light;
}

std::vector<std::uint8_t> CVirtualKeyboard::FirmwareImage() const {
    std::lock_guard<std::mutex> hold(Lock);
    return FirmwareImageLocked();
}

std::vector<std::uint8_t> CVirtualKeyboard::FirmwareImageLocked() const {
    const auto& runs = State.FirmwareRuns;
    if (runs.empty())
        return {};
    const std::uint64_t first = runs.begin()->first;
    const auto& last = *runs.rbegin();
    const std::uint64_t span = last.first + last.second.size() - first;
    if (span > MaxDenseFirmwareImage)
        return {};
    std::vector<std::uint8_t> image(static_cast<std::size_t>(span), 0);
    for (const auto& [address, bytes] : runs)
        std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<long>(address - first));
    return image;
}

std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> CVirtualKeyboard::FirmwareSegments() const {
    std::lock_guard<std::mutex> hold(Lock);
    return {State.FirmwareRuns.begin(), State.FirmwareRuns.end()};
}

std::uint32_t CVirtualKeyboard::FirmwareBase() const {
    std::lock_guard<std::mutex> hold(Lock);
    return State.FirmwareRuns.empty() ? 0 : State.FirmwareRuns.begin()->first;
}

int CVirtualKeyboard::FirmwareChecksumErrors() const {
    std::lock_guard<std::mutex> hold(Lock);
    return ChecksumErrors;
}

long CVirtualKeyboard::ReportsWritten() const {
    std::lock_guard<std::mutex> hold(Lock);
    return Writes;
}

bool CVirtualKeyboard::Save() const {
    std::lock_guard<std::mutex> hold(Lock);
    return ReplaceStateFile([this](CVirtualKeyboardState& onDisk) { onDisk = State; }, nullptr);
}

// The state as the file has it now, so that a transfer reads, and builds on, what another program
// wrote since. A file that cannot be read now leaves the state as it was; saving then says why.
void CVirtualKeyboard::BeginTransfer() {
    if (StateFile.Name().empty() || RefusedState)
        return;
    CVirtualKeyboardState onDisk;
    CProblem problem;
    if (StateFile.Read(onDisk, problem) == StateFileReading::Read) {
        State = std::move(onDisk);
        ChangedSlots.reset();
        LightChanged = FirmwareChanged = false;
    }
}

// Applies what the transfers changed to the state file as it is now; the keyboard then holds that.
bool CVirtualKeyboard::SaveLocked() {
    CVirtualKeyboardState saved;
    const auto applyChanges = [this](CVirtualKeyboardState& onDisk) {
        for (std::size_t slot = 0; slot < onDisk.Slots.size(); ++slot)
            if (ChangedSlots.test(slot))
                onDisk.Slots[slot] = State.Slots[slot];
        if (LightChanged)
            onDisk.Light = State.Light;
        if (FirmwareChanged) {
            onDisk.FirmwareRuns = State.FirmwareRuns;
            onDisk.FirmwareByteCount = State.FirmwareByteCount;
        }
    };
    if (!ReplaceStateFile(applyChanges, &saved))
        return false;
    State = std::move(saved);
    ChangedSlots.reset();
    LightChanged = FirmwareChanged = false;
    return true;
}

// Reads the state file, changes what it held and replaces it, holding its lock all the while.
bool CVirtualKeyboard::ReplaceStateFile(const std::function<void(CVirtualKeyboardState& onDisk)>& change,
                                        CVirtualKeyboardState* saved) const {
    if (StateFile.Name().empty() || RefusedState)
        return false;
    const CStateFileLock lock(StateFile.Name());
    if (!lock.Held()) {
        SaveFailure = Wrapped(ProblemCode::StateFileNotLocked, StateFile.Name(), lock.Problem());
        return false;
    }
    CVirtualKeyboardState state;
    CProblem problem;
    if (StateFile.Read(state, problem) == StateFileReading::Refused) {
        SaveFailure = problem;
        return false;
    }
    change(state);
    if (!StateFile.Write(state, problem)) {
        SaveFailure = Wrapped(ProblemCode::StateFileNotWritten, StateFile.Name(), problem);
        return false;
    }
    SaveFailure = {};
    if (saved != nullptr)
        *saved = std::move(state);
    return true;
}

bool CVirtualKeyboard::Load() {
    std::lock_guard<std::mutex> hold(Lock);
    RefusedState = {};
    ChangedSlots.reset();
    LightChanged = FirmwareChanged = false;
    // Nothing of a refused file is used, and the file is left as it is.
    return StateFile.Read(State, RefusedState) != StateFileReading::Refused;
}

std::shared_ptr<CDeviceProvider> MakeVirtualKeyboardProvider(std::shared_ptr<CVirtualKeyboard> keyboard) {
    return std::make_shared<CVirtualProvider>(std::move(keyboard));
}
