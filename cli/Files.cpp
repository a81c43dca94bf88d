#include "Files.h"

#include "text/ProblemTexts.h"
#include "zelk/FileReplace.h"
#include "zelk/RegularFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

std::string Reason(int error) {
    return error != 0 ? std::strerror(error) : "unknown error";
}

} // namespace

std::string ReadProblem(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(Utf8Path(path), error))
        return Reason(EISDIR);
    std::uintmax_t size = 0;
    CProblem problem;
    // Only a regular file: a pipe would hold the command up, a device could feed it without end.
    std::FILE* file = OpenRegularFileForReading(Utf8Path(path), size, problem);
    if (file != nullptr)
        std::fclose(file);
    return problem ? ProblemText(problem, UiLanguage::English) : std::string();
}
