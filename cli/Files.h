// zelk-cli: why a file could not be read or written, in the system's words ("No such file or
// directory"), for the one line a failed command prints.
#pragma once

#include <string>

// Reads the whole file into text; on failure says why in problem.
bool ReadWholeFile(const std::string& path, std::string& text, std::string& problem);
// Why path cannot be read as a file; empty when it can.
std::string ReadProblem(const std::string& path);
// Why path cannot be written as a file, asked after a write failed. Leaves no new file behind.
std::string WriteProblem(const std::string& path);
