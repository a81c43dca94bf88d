// Opening a file the user named for reading, only when it is a regular file: a pipe would hold the
// reader up for ever and a device could feed it without end. The opening itself never waits.
#pragma once

#include "zelk/ZelkHWI.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// The opened file and its size then; null with problem set ("it is a folder, not a file", "No such
// file or directory") when it could not be opened or is not a regular file.
ZELKHWI_API std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::uintmax_t& size,
                                                 std::string& problem);

// The problem OpenRegularFileForReading gives a pipe, a device or a socket.
inline constexpr const char* NotARegularFile = "it is not a regular file (a pipe or a device)";
