#include "zelk/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#if defined(_WIN32)
std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::uintmax_t& size,
                                     CProblem& problem) {
    // Windows keeps pipes and devices out of the file system's folders, so the path is checked first
    // and the opened file once more.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) {
        problem = SystemProblem(error.default_error_condition().value());
        return nullptr;
    }
    if (std::filesystem::is_directory(status)) {
        problem = ProblemCode::FileIsFolder;
        return nullptr;
    }
    if (!std::filesystem::is_regular_file(status)) {
        problem = ProblemCode::FileNotRegular;
        return nullptr;
    }
    std::FILE* file = _wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        problem = SystemProblem(errno);
        return nullptr;
    }
    struct _stat64 opened {};
    if (_fstat64(_fileno(file), &opened) != 0 || (opened.st_mode & _S_IFMT) != _S_IFREG) {
        std::fclose(file);
        problem = ProblemCode::FileNotRegular;
        return nullptr;
    }
    size = static_cast<std::uintmax_t>(opened.st_size);
    return file;
}
#else
std::FILE* OpenRegularFileForReading(const std::filesystem::path& path, std::uintmax_t& size,
                                     CProblem& problem) {
    // Without O_NONBLOCK, opening a pipe waits for a writer.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        problem = SystemProblem(errno);
        return nullptr;
    }
    struct stat opened {};
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        problem = {S_ISDIR(opened.st_mode) ? ProblemCode::FileIsFolder : ProblemCode::FileNotRegular};
        ::close(descriptor);
        return nullptr;
    }
    std::FILE* file = nullptr;
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        (file = ::fdopen(descriptor, "rb")) == nullptr) {
        problem = SystemProblem(errno);
        ::close(descriptor);
        return nullptr;
    }
    size = static_cast<std::uintmax_t>(opened.st_size);
    return file;
}
#endif
