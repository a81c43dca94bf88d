// What the virtual keyboard holds, and its state file: the text format that keeps it between runs,
// and the lock that lets several keyboards (one per running program) share one file without losing
// each other's changes.
#pragma once

#include "zelk/Problem.h"
#include "zelk/ZelkHWI.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The most firmware the virtual keyboard holds; bytes of further records are dropped.
inline constexpr std::size_t MaxVirtualFirmwareBytes = std::size_t{16} << 20;
// A state file larger than this is no state file of the virtual keyboard.
inline constexpr std::uintmax_t MaxStateFileBytes = std::uintmax_t{128} << 20;

struct CVirtualKeyboardState {
    std::array<std::vector<std::uint8_t>, SlotCount> Slots;
    std::array<std::uint8_t, LightAreaSize> Light = {};
    // Runs of consecutive firmware bytes by their first address; runs neither overlap nor touch.
    std::map<std::uint32_t, std::vector<std::uint8_t>> FirmwareRuns;
    std::size_t FirmwareByteCount = 0;

    // Puts the bytes at the address, over what is there; runs they reach become one.
    void PutFirmware(std::uint32_t address, const std::uint8_t* bytes, std::size_t count);
    void ClearFirmware();
};

enum class StateFileReading { Read, Missing, Refused };

// The state file's text: a header line, one line per assigned slot, the light area, one line per
// firmware run, and an end line, so that a file cut short is told from a whole one. Files written
// before the end line existed are read without it.
class CVirtualKeyboardStateFile {
public:
    explicit CVirtualKeyboardStateFile(std::string path) : Path(std::move(path)) {}
    const std::string& Name() const { return Path; }

    // Missing when there is no file or an empty one (nothing to lose). Refused, with problem (one of
    // the StateFile codes, with the file's path), when it is not a whole state file of the virtual
    // keyboard or cannot be written later (a read-only file).
    StateFileReading Read(CVirtualKeyboardState& state, CProblem& problem) const;
    // Replaces the file with the state; problem says why when it failed. Temporary files that an
    // earlier, interrupted write left behind are removed first: call it while holding the lock.
    bool Write(const CVirtualKeyboardState& state, CProblem& problem) const;

private:
    StateFileReading Refused(CProblem& problem) const;

    std::string Path;
};

// Held from reading a state file to replacing it. The lock is on a file of its own beside the state
// file (".NAME.lock"), which stays: the state file itself is replaced by every write, so a lock on it
// would not outlive the write.
class ZELKHWI_API CStateFileLock {
public:
    // Waits for the lock unless told not to; Held tells whether it was taken.
    explicit CStateFileLock(const std::string& stateFile, bool wait = true);
    ~CStateFileLock();
    CStateFileLock(const CStateFileLock&) = delete;
    CStateFileLock& operator=(const CStateFileLock&) = delete;

    bool Held() const { return Holds; }
    // Why it was not taken, when waiting failed.
    const CProblem& Problem() const { return Failure; }

private:
    bool Holds = false;
    CProblem Failure;
#if defined(_WIN32)
    void* Handle = nullptr;
#else
    int Descriptor = -1;
#endif
};
