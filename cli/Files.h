// zelk-cli: why a file could not be read, in the system's words ("No such file or directory"), for
// the one line a failed command prints.
#pragma once

#include <string>

// Why path cannot be read as a file; empty when it can.
std::string ReadProblem(const std::string& path);
