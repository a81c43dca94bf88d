#include "zelk/VirtualKeyboard.h"

#include "KeyDefine.h"
#include "zelk/FileReplace.h"
#include "zelk/IntelHex.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <system_error>
#include <thread>

namespace {

constexpr std::size_t ReportBytes = 65;

std::string ToHex(const std::uint8_t* bytes, std::size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (std::size_t i = 0; i < length; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0xF];
    }
    return text;
}

bool FromHex(std::string_view text, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (text.size() % 2 != 0)
        return false;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return true;
}

// A decimal number without sign that fits an unsigned 64-bit value.
bool ParseUnsigned(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.size() > 19)
        return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

// The words of a line, split at single spaces.
std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t space = std::min(line.find(' ', start), line.size());
        words.push_back(line.substr(start, space - start));
        start = space + 1;
    }
    return words;
}

// A dense image is built only up to this span; beyond it the image is asked for by its runs.
constexpr std::uint64_t MaxDenseFirmwareImage = std::uint64_t{64} << 20;
constexpr std::uint64_t AddressSpace = std::uint64_t{1} << 32;
constexpr char StateHeader[] = "zelk-virtual-keyboard 1";

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
    std::unique_ptr<CReportDevice> Open(const std::string&, std::string&) override {
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
    if (!StateFile.empty())
        Load();
}

std::string CVirtualKeyboard::StateProblem() const {
    std::lock_guard<std::mutex> hold(Lock);
    return RefusedState;
}

std::string CVirtualKeyboard::SaveProblem() const {
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
        for (const auto& packets : Slots) {
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
        const std::size_t n = std::min<std::size_t>({payload[2], 61, Light.size() - LightFill});
        std::memcpy(Light.data() + LightFill, payload.data() + 3, n);
        LightFill += n;
        break;
    }
    case 0xE6:
        SaveLocked();
        break;
    case 0xE2: {
        ReplyUnexpected(command);
        for (std::size_t offset = 0; offset < Light.size();) {
            const std::size_t n = std::min<std::size_t>(Light.size() - offset, LightReplyChunk);
            Payload chunk = {0x00, 0xE0, static_cast<std::uint8_t>(n)};
            std::memcpy(chunk.data() + 3, Light.data() + offset, n);
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
            Slots[PendingSlot] = PendingMacro;
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
    Slots[slot] = packet;
}

void CVirtualKeyboard::PutFirmware(std::uint32_t address, const std::uint8_t* bytes, std::size_t count) {
    if (count == 0)
        return; // a data record without data leaves no run behind
    auto next = FirmwareRuns.upper_bound(address);
    auto run = FirmwareRuns.end();
    if (next != FirmwareRuns.begin()) {
        const auto previous = std::prev(next);
        if (std::uint64_t{previous->first} + previous->second.size() >= address)
            run = previous;
    }
    if (run == FirmwareRuns.end())
        run = FirmwareRuns.emplace_hint(next, address, std::vector<std::uint8_t>{});
    std::vector<std::uint8_t>& image = run->second;
    const std::size_t before = image.size();
    const std::uint64_t end = std::uint64_t{address} + count;
    // The runs the new bytes reach become part of this one; the new bytes go over them.
    for (auto after = std::next(run); after != FirmwareRuns.end() && after->first <= end;) {
        const std::size_t offset = after->first - run->first;
        FirmwareByteCount -= after->second.size();
        if (image.size() < offset + after->second.size())
            image.resize(offset + after->second.size());
        std::copy(after->second.begin(), after->second.end(), image.begin() + static_cast<long>(offset));
        after = FirmwareRuns.erase(after);
    }
    const std::size_t offset = address - run->first;
    if (image.size() < offset + count)
        image.resize(offset + count);
    std::copy(bytes, bytes + count, image.begin() + static_cast<long>(offset));
    FirmwareByteCount += image.size() - before;
}

void CVirtualKeyboard::ReceiveFirmwareRecord(const Payload& payload) {
    if (FirmwareComplete) {
        FirmwareRuns.clear();
        FirmwareByteCount = 0;
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
        if (FirmwareByteCount + count > MaxVirtualFirmwareBytes)
            return; // more than the keyboard's flash holds
        const std::uint64_t start = (std::uint64_t{FirmwareAddressBase} + address) % AddressSpace;
        const std::size_t first =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, AddressSpace - start));
        PutFirmware(static_cast<std::uint32_t>(start), data, first);
        if (first < count)
            PutFirmware(0, data + first, count - first);
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
    return Slots.at(slot);
}

std::array<std::uint8_t, LightAreaSize> CVirtualKeyboard::LightArea() const {
    std::lock_guard<std::mutex> hold(Lock);
    return Light;
}

std::vector<std::uint8_t> CVirtualKeyboard::FirmwareImage() const {
    std::lock_guard<std::mutex> hold(Lock);
    return FirmwareImageLocked();
}

std::vector<std::uint8_t> CVirtualKeyboard::FirmwareImageLocked() const {
    if (FirmwareRuns.empty())
        return {};
    const std::uint64_t first = FirmwareRuns.begin()->first;
    const auto& last = *FirmwareRuns.rbegin();
    const std::uint64_t span = last.first + last.second.size() - first;
    if (span > MaxDenseFirmwareImage)
        return {};
    std::vector<std::uint8_t> image(static_cast<std::size_t>(span), 0);
    for (const auto& [address, bytes] : FirmwareRuns)
        std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<long>(address - first));
    return image;
}

std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> CVirtualKeyboard::FirmwareSegments() const {
    std::lock_guard<std::mutex> hold(Lock);
    return {FirmwareRuns.begin(), FirmwareRuns.end()};
}

std::uint32_t CVirtualKeyboard::FirmwareBase() const {
    std::lock_guard<std::mutex> hold(Lock);
    return FirmwareRuns.empty() ? 0 : FirmwareRuns.begin()->first;
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
    return SaveLocked();
}

bool CVirtualKeyboard::SaveLocked() const {
    if (StateFile.empty() || !RefusedState.empty())
        return false;
    std::string text = std::string(StateHeader) + "\n";
    for (int slot = 0; slot < SlotCount; ++slot)
        if (!Slots[slot].empty())
            text +=
                "slot " + std::to_string(slot) + ' ' + ToHex(Slots[slot].data(), Slots[slot].size()) + '\n';
    text += "light " + ToHex(Light.data(), Light.size()) + '\n';
    for (const auto& [address, bytes] : FirmwareRuns)
        text += "firmware " + std::to_string(address) + ' ' + ToHex(bytes.data(), bytes.size()) + '\n';
    std::string problem;
    if (!ReplaceFileContents(Utf8Path(StateFile), text, problem)) {
        SaveFailure = "cannot be written: " + problem;
        return false;
    }
    SaveFailure.clear();
    return true;
}

bool CVirtualKeyboard::Load() {
    std::lock_guard<std::mutex> hold(Lock);
    Slots = {};
    Light = {};
    FirmwareRuns.clear();
    FirmwareByteCount = 0;
    RefusedState.clear();
    if (LoadLocked())
        return true;
    // Nothing of a refused file is used, and the file is left as it is.
    Slots = {};
    Light = {};
    FirmwareRuns.clear();
    FirmwareByteCount = 0;
    return false;
}

bool CVirtualKeyboard::LoadLocked() {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(Utf8Path(StateFile), error);
    if (status.type() == std::filesystem::file_type::not_found)
        return true; // a new state file
    if (error) {
        RefusedState = "cannot be read: " + error.message();
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        RefusedState = "is not a regular file, so it cannot be a state file of the virtual keyboard";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(Utf8Path(StateFile), error);
    if (!error && size == 0)
        return true; // nothing to lose
    if (error || size > MaxStateFileBytes) {
        RefusedState = "is too large to be a state file of the virtual keyboard";
        return false;
    }
    std::ifstream in(Utf8Path(StateFile), std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != StateHeader) {
        RefusedState = in ? "is not a state file of the virtual keyboard"
                          : "cannot be read: " + std::generic_category().message(errno);
        return false;
    }
    std::vector<std::uint8_t> bytes;
    for (long number = 2; std::getline(in, line); ++number) {
        const std::vector<std::string_view> words = Words(line);
        const std::string_view kind = words[0];
        std::uint64_t value = 0;
        bool sound = false;
        if (kind == "slot" && words.size() == 3) {
            sound = ParseUnsigned(words[1], value) && value < static_cast<std::uint64_t>(SlotCount) &&
                    FromHex(words[2], bytes) && !bytes.empty() && bytes.size() % 64 == 0;
            if (sound)
                Slots[static_cast<std::size_t>(value)] = bytes;
        } else if (kind == "light" && words.size() == 2) {
            sound = FromHex(words[1], bytes) && bytes.size() == Light.size();
            if (sound)
                std::copy(bytes.begin(), bytes.end(), Light.begin());
        } else if (kind == "firmware" && words.size() == 3) {
            sound = ParseUnsigned(words[1], value) && FromHex(words[2], bytes) && !bytes.empty() &&
                    value + bytes.size() <= AddressSpace &&
                    FirmwareByteCount + bytes.size() <= MaxVirtualFirmwareBytes;
            if (sound)
                PutFirmware(static_cast<std::uint32_t>(value), bytes.data(), bytes.size());
        }
        if (!sound) {
            RefusedState = "is damaged at line " + std::to_string(number) +
                           " (a state file of the virtual keyboard "
                           "holds slot, light and firmware lines)";
            return false;
        }
    }
    if (in.bad()) {
        RefusedState = "cannot be read to its end";
        return false;
    }
    return true;
}

std::shared_ptr<CDeviceProvider> MakeVirtualKeyboardProvider(std::shared_ptr<CVirtualKeyboard> keyboard) {
    return std::make_shared<CVirtualProvider>(std::move(keyboard));
}
