#include "zelk/FileReplace.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// The file a path names once symbolic links are followed; the path itself when it names no link.
bool FollowLinks(std::filesystem::path path, std::filesystem::path& file, CProblem& problem) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
            file = path;
            return true;
        }
        const std::filesystem::path link = std::filesystem::read_symlink(path, error);
        if (error) {
            problem = SystemProblem(error.default_error_condition().value());
            return false;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    problem = SystemProblem(ELOOP);
    return false;
}

constexpr char SuffixDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr std::size_t SuffixLength = 12;

std::string UnforeseeableSuffix() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string suffix;
    for (std::size_t i = 0; i < SuffixLength; ++i)
        suffix += SuffixDigits[random() % 36];
    return suffix;
}

// ".NAME." and ".tmp" around the suffix: the name of a temporary file replacing NAME.
std::filesystem::path::string_type TemporaryPrefix(const std::filesystem::path& file) {
    std::filesystem::path name = ".";
    name += file.filename().native();
    name += ".";
    return name.native();
}

bool IsTemporaryOf(const std::filesystem::path& candidate, const std::filesystem::path& file) {
    const auto name = candidate.filename().native();
    const auto prefix = TemporaryPrefix(file);
    const std::filesystem::path::string_type ending = std::filesystem::path(".tmp").native();
    if (name.size() != prefix.size() + SuffixLength + ending.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - ending.size(), ending.size(), ending) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + SuffixLength; ++i) {
        const auto c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

#if defined(_WIN32)
int CreateExclusive(const std::filesystem::path& path, bool) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int WriteSome(int file, const char* bytes, std::size_t count) {
    return _write(file, bytes, static_cast<unsigned>(std::min<std::size_t>(count, 1u << 30)));
}
bool Flush(int file) {
    return _commit(file) == 0;
}
int CloseFile(int file) {
    return _close(file);
}
#else
int CreateExclusive(const std::filesystem::path& path, bool privateAtFirst) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  privateAtFirst ? 0600 : 0666);
}
ssize_t WriteSome(int file, const char* bytes, std::size_t count) {
    return ::write(file, bytes, count);
}
bool Flush(int file) {
    return ::fsync(file) == 0 || errno == EINVAL; // some file systems cannot sync, which is fine
}
int CloseFile(int file) {
    return ::close(file);
}
#endif

} // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view contents, CProblem& problem) {
    return ReplaceFileContents(
        target,
        [contents](const FileContentsWriter& write) { return write(contents.data(), contents.size()); },
        ProblemCode::None, problem);
}

bool ReplaceFileContents(const std::filesystem::path& target,
                         const std::function<bool(const FileContentsWriter& write)>& produce,
                         ProblemCode producerProblem, CProblem& problem) {
    problem = {};
    std::filesystem::path file;
    if (!FollowLinks(target, file, problem))
        return false;
    std::error_code error;
    const std::filesystem::file_status old = std::filesystem::status(file, error);
    const bool exists = std::filesystem::exists(old);
    if (exists && !std::filesystem::is_regular_file(old)) {
        problem = ProblemCode::TargetNotRegular;
        return false;
    }
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";

    std::filesystem::path temporary;
    int out = -1;
    for (int attempt = 0; attempt < 100 && out < 0; ++attempt) {
        std::filesystem::path name = TemporaryPrefix(file); // the name as it stands, whatever characters
        name += UnforeseeableSuffix() + ".tmp";
        temporary = folder / name;
        out = CreateExclusive(temporary, exists);
        if (out < 0 && errno != EEXIST)
            break;
    }
    if (out < 0) {
        problem = SystemProblem(errno);
        return false;
    }
    int failure = 0;
#if !defined(_WIN32)
    if (exists) {
        struct stat before {};
        if (::stat(file.c_str(), &before) == 0) {
            // The owner can only be kept by a privileged process; the permissions always are.
            [[maybe_unused]] const int owned = ::fchown(out, before.st_uid, before.st_gid);
            if (::fchmod(out, before.st_mode & 07777) != 0)
                failure = errno;
        }
    }
#endif
    const FileContentsWriter write = [out, &failure](const char* bytes, std::size_t count) {
        for (std::size_t done = 0; failure == 0 && done < count;) {
            const auto written = WriteSome(out, bytes + done, count - done);
            if (written < 0) {
                if (errno != EINTR)
                    failure = errno;
                continue;
            }
            done += static_cast<std::size_t>(written);
        }
        return failure == 0;
    };
    const bool produced = failure == 0 && produce(write);
    if (failure == 0 && produced && !Flush(out))
        failure = errno;
    if (CloseFile(out) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && produced) {
        // The filesystem library's rename replaces an existing file on Windows too.
        std::filesystem::rename(temporary, file, error);
        if (!error)
            return true;
        problem = SystemProblem(error.default_error_condition().value());
    } else {
        problem = failure != 0 ? SystemProblem(failure) : CProblem(producerProblem);
    }
    std::filesystem::remove(temporary, error);
    return false;
}

void RemoveStaleReplacements(const std::filesystem::path& target) {
    std::filesystem::path file;
    CProblem problem;
    if (!FollowLinks(target, file, problem))
        return;
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code ignored;
        if (IsTemporaryOf(entry->path(), file) && entry->is_regular_file(ignored))
            std::filesystem::remove(entry->path(), ignored);
    }
}
