#include "Files.h"

#include "zelk/FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

std::string Reason(int error) {
    return error != 0 ? std::strerror(error) : "unknown error";
}

// Opens path (UTF-8) as a file: folders open for reading on some systems but give no bytes.
std::FILE* OpenFile(const std::string& path, const char* mode, std::string& problem) {
    std::error_code error;
    if (std::filesystem::is_directory(Utf8Path(path), error)) {
        problem = Reason(EISDIR);
        return nullptr;
    }
    errno = 0;
#if defined(_WIN32)
    const std::string narrowMode(mode);
    std::FILE* file =
        _wfopen(Utf8Path(path).c_str(), std::wstring(narrowMode.begin(), narrowMode.end()).c_str());
#else
    std::FILE* file = std::fopen(path.c_str(), mode);
#endif
    if (file == nullptr)
        problem = Reason(errno);
    return file;
}

} // namespace

std::string ReadProblem(const std::string& path) {
    std::string problem;
    std::FILE* file = OpenFile(path, "rb", problem);
    if (file != nullptr)
        std::fclose(file);
    return problem;
}
