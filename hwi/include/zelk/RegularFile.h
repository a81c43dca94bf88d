// Opening a file the user named for reading, only when it is a regular file: a pipe would hold the
// reader up for ever and a device could feed it without end. The opening itself never waits.
#pragma once

#include "zelk/Problem.h"
#include "zelk/ZelkHWI.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

// The opened file and its size then; null with problem set (FileIsFolder, FileNotRegular or the
// system's error) when it could not be opened or is not a regular file.
ZELKHWI_API std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::uintmax_t& size,
                                                 CProblem& problem);
