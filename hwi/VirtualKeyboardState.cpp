#include "zelk/VirtualKeyboardState.h"

#include "zelk/FileReplace.h"
#include "zelk/IntelHex.h"
#include "zelk/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <system_error>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

constexpr std::uint64_t AddressSpace = std::uint64_t{1} << 32;
constexpr std::string_view HeaderBeforeEndLine = "zelk-virtual-keyboard 1";
constexpr std::string_view Header = "zelk-virtual-keyboard 2";
constexpr std::string_view EndLine = "end";

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

// One line of the body into the state; false when it is none of the lines a state file holds.
bool ReadLine(std::string_view line, CVirtualKeyboardState& state, std::vector<std::uint8_t>& bytes) {
    const std::vector<std::string_view> words = Words(line);
    const std::string_view kind = words[0];
    std::uint64_t value = 0;
    if (kind == "slot" && words.size() == 3) {
        if (!ParseUnsigned(words[1], value) || value >= static_cast<std::uint64_t>(SlotCount) ||
            !FromHex(words[2], bytes) || bytes.empty() || bytes.size() % 64 != 0)
            return false;
        state.Slots[static_cast<std::size_t>(value)] = bytes;
        return true;
    }
    if (kind == "light" && words.size() == 2) {
        if (!FromHex(words[1], bytes) || bytes.size() != state.Light.size())
            return false;
        std::copy(bytes.begin(), bytes.end(), state.Light.begin());
        return true;
    }
    if (kind == "firmware" && words.size() == 3) {
        if (!ParseUnsigned(words[1], value) || !FromHex(words[2], bytes) || bytes.empty() ||
            value + bytes.size() > AddressSpace ||
            state.FirmwareByteCount + bytes.size() > MaxVirtualFirmwareBytes)
            return false;
        state.PutFirmware(static_cast<std::uint32_t>(value), bytes.data(), bytes.size());
        return true;
    }
    return false;
}

StateFileReading ReadText(const std::string& path, std::string& text, CProblem& problem) {
    std::uintmax_t size = 0;
    CProblem why;
    std::FILE* file = OpenRegularFileForReading(Utf8Path(path), size, why);
    if (file == nullptr) {
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(Utf8Path(path), error)))
            return StateFileReading::Missing;
        problem = why.Code == ProblemCode::FileNotRegular
                      ? CProblem(ProblemCode::StateFileNotRegular)
                      : Wrapped(ProblemCode::StateFileUnreadable, path, why);
        return StateFileReading::Refused;
    }
    const CProblem tooLarge(ProblemCode::StateFileTooLarge, 0, MaxStateFileBytes);
    bool read = size <= MaxStateFileBytes;
    if (read) {
        // To the limit and one byte more, in case the file grew since its size was taken.
        text.resize(static_cast<std::size_t>(size) + 1);
        std::size_t got = 0;
        for (std::size_t n = 1; n > 0 && got < text.size();)
            got += n = std::fread(text.data() + got, 1, text.size() - got, file);
        read = !std::ferror(file);
        text.resize(got);
        if (!read)
            problem = ProblemCode::StateFileReadIncomplete;
        else if (got > size)
            read = false, problem = tooLarge;
    } else {
        problem = tooLarge;
    }
    std::fclose(file);
    if (!read)
        return StateFileReading::Refused;
    return text.empty() ? StateFileReading::Missing : StateFileReading::Read;
}

bool IsReadOnly(const std::string& path) {
    std::error_code error;
    const auto permissions = std::filesystem::status(Utf8Path(path), error).permissions();
    using std::filesystem::perms;
    return !error &&
           (permissions & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

} // namespace

void CVirtualKeyboardState::ClearFirmware() {
    FirmwareRuns.clear();
    FirmwareByteCount = 0;
}

void CVirtualKeyboardState::PutFirmware(std::uint32_t address, const std::uint8_t* bytes, std::size_t count) {
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

StateFileReading CVirtualKeyboardStateFile::Refused(CProblem& problem) const {
    problem.Path = Path;
    return StateFileReading::Refused;
}

StateFileReading CVirtualKeyboardStateFile::Read(CVirtualKeyboardState& state, CProblem& problem) const {
    state = {};
    problem = {};
    std::string text;
    const StateFileReading reading = ReadText(Path, text, problem);
    if (reading == StateFileReading::Refused)
        return Refused(problem);
    if (IsReadOnly(Path)) {
        problem = ProblemCode::StateFileReadOnly;
        return Refused(problem);
    }
    if (reading == StateFileReading::Missing)
        return reading;
    const std::string_view all(text);
    const std::size_t headerEnd = std::min(all.find('\n'), all.size());
    const std::string_view header = all.substr(0, headerEnd);
    if (header != Header && header != HeaderBeforeEndLine) {
        problem = ProblemCode::StateFileForeign;
        return Refused(problem);
    }
    const bool needsEnd = header == Header;
    bool ended = false;
    std::vector<std::uint8_t> bytes;
    long number = 2;
    for (std::size_t start = headerEnd + 1; start < all.size(); ++number) {
        const std::size_t lineEnd = std::min(all.find('\n', start), all.size());
        const std::string_view line = all.substr(start, lineEnd - start);
        start = lineEnd + 1;
        const bool sound = needsEnd && line == EndLine ? !ended : !ended && ReadLine(line, state, bytes);
        ended = ended || (needsEnd && line == EndLine);
        if (!sound) {
            state = {};
            problem = ProblemCode::StateFileDamaged;
            problem.Line = number;
            return Refused(problem);
        }
    }
    if (needsEnd && !ended) {
        state = {};
        problem = ProblemCode::StateFileCutShort;
        return Refused(problem);
    }
    return StateFileReading::Read;
}

bool CVirtualKeyboardStateFile::Write(const CVirtualKeyboardState& state, CProblem& problem) const {
    std::string text = std::string(Header) + "\n";
    for (int slot = 0; slot < SlotCount; ++slot)
        if (!state.Slots[slot].empty())
            text += "slot " + std::to_string(slot) + ' ' +
                    ToHex(state.Slots[slot].data(), state.Slots[slot].size()) + '\n';
    text += "light " + ToHex(state.Light.data(), state.Light.size()) + '\n';
    for (const auto& [address, bytes] : state.FirmwareRuns)
        text += "firmware " + std::to_string(address) + ' ' + ToHex(bytes.data(), bytes.size()) + '\n';
    text += std::string(EndLine) + '\n';
    RemoveStaleReplacements(Utf8Path(Path));
    return ReplaceFileContents(Utf8Path(Path), text, problem);
}

namespace {

std::filesystem::path LockFileOf(const std::string& stateFile) {
    std::error_code error;
    std::filesystem::path file = std::filesystem::weakly_canonical(Utf8Path(stateFile), error);
    if (error)
        file = Utf8Path(stateFile);
    std::filesystem::path name = ".";
    name += file.filename().native();
    name += ".lock";
    return file.has_parent_path() ? file.parent_path() / name : name;
}

} // namespace

#if defined(_WIN32)
CStateFileLock::CStateFileLock(const std::string& stateFile, bool wait) {
    const HANDLE file = CreateFileW(LockFileOf(stateFile).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Failure = SystemProblem(
            std::system_category().default_error_condition(static_cast<int>(GetLastError())).value());
        return;
    }
    Handle = file;
    OVERLAPPED whole{};
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    Holds = LockFileEx(file, flags, 0, 1, 0, &whole) != 0;
    if (!Holds)
        Failure = SystemProblem(
            std::system_category().default_error_condition(static_cast<int>(GetLastError())).value());
}

CStateFileLock::~CStateFileLock() {
    if (Handle == nullptr)
        return;
    if (Holds) {
        OVERLAPPED whole{};
        UnlockFileEx(Handle, 0, 1, 0, &whole);
    }
    CloseHandle(Handle);
}
#else
CStateFileLock::CStateFileLock(const std::string& stateFile, bool wait) {
    Descriptor = ::open(LockFileOf(stateFile).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (Descriptor < 0) {
        Failure = SystemProblem(errno);
        return;
    }
    int result = 0;
    while ((result = ::flock(Descriptor, LOCK_EX | (wait ? 0 : LOCK_NB))) != 0 && errno == EINTR) {
    }
    Holds = result == 0;
    if (!Holds)
        Failure = SystemProblem(errno);
}

CStateFileLock::~CStateFileLock() {
    if (Descriptor >= 0)
        ::close(Descriptor); // closing the only descriptor of the lock file releases the lock
}
#endif
