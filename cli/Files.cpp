#include "Files.h"

#include "FileReplace.h"

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

bool ReadWholeFile(const std::string& path, std::string& text, std::string& problem) {
    std::FILE* file = OpenFile(path, "rb", problem);
    if (file == nullptr)
        return false;
    text.clear();
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        problem = Reason(error);
        return false;
    }
    return true;
}

std::string ReadProblem(const std::string& path) {
    std::string problem;
    std::FILE* file = OpenFile(path, "rb", problem);
    if (file != nullptr)
        std::fclose(file);
    return problem;
}

std::string WriteProblem(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target = Utf8Path(path);
    if (fs::is_directory(target, error))
        return Reason(EISDIR);
    std::string problem;
    if (fs::exists(target, error)) {
        // Opening for update writes nothing.
        if (std::FILE* file = OpenFile(path, "r+b", problem)) {
            std::fclose(file);
            return "the write did not complete";
        }
        return problem;
    }
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (!fs::exists(folder, error))
        return Reason(ENOENT);
    if (!fs::is_directory(folder, error))
        return Reason(ENOTDIR);
    // A file that is not there yet: try to create it, and take it away again.
    if (std::FILE* file = OpenFile(path, "wb", problem)) {
        std::fclose(file);
        fs::remove(target, error);
        return "the write did not complete";
    }
    return problem;
}
