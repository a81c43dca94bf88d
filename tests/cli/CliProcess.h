// Starts a program and waits for it, on POSIX systems and on Windows alike, without a shell between:
// the arguments reach the program as they are, whatever characters they hold.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CProcessRun {
    std::filesystem::path Program;
    std::vector<std::string> Arguments; // UTF-8
    std::filesystem::path Folder;       // where it runs; empty for the caller's own folder
    std::filesystem::path Out;          // where stdout goes; empty for nowhere
    std::filesystem::path Err;          // where stderr goes; empty for nowhere
    // On POSIX systems only: stdout closed instead of going to Out, and the most address space the
    // program may take (0: the caller's limit).
    bool OutClosed = false;
    unsigned long long AddressSpaceLimit = 0;
};

// Runs the program with stdin reading nothing and returns its exit status; -1 when it could not be
// started, did not exit by itself or was still running after five minutes (it is then stopped).
int RunProcess(const CProcessRun& run);

// The id of this process.
long CurrentProcessId();

// The text a program wrote into a file, with the line ends Windows' C library writes for '\n' taken
// back to '\n'.
std::string ProgramOutput(const std::filesystem::path& file);
