// Shared pieces of the fuzz harnesses.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>

// A file of this process for the harness's input, in memory-backed storage where there is one, so
// that saving (which syncs to the disk) stays fast.
inline std::filesystem::path FuzzFile(const std::string& name) {
    std::error_code error;
    const std::filesystem::path shm = "/dev/shm";
    const std::filesystem::path folder =
        std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
    return folder / ("zelk-fuzz-" + std::to_string(getpid()) + "-" + name);
}

// Stops the run: the harness found a broken promise.
[[noreturn]] inline void Broken() {
    __builtin_trap();
}
