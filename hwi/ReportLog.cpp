#include "zelk/ReportLog.h"

#include "zelk/FileReplace.h"

#include <cerrno>
#include <filesystem>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const CProblem KeptFileProblem(ProblemCode::TargetIsKept);
const CProblem SpecialFileProblem(ProblemCode::FileNotRegular);

#if defined(_WIN32)
bool IsKeptFile(const std::filesystem::path& log, const std::vector<std::string>& kept) {
    for (const std::string& file : kept) {
        std::error_code error;
        if (!file.empty() && std::filesystem::equivalent(log, Utf8Path(file), error))
            return true;
    }
    return false;
}

// The path is UTF-8 text, on Windows too.
std::FILE* Create(const std::string& path, const std::vector<std::string>& kept, CProblem& problem) {
    const std::filesystem::path log = Utf8Path(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(log, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        problem = SpecialFileProblem;
        return nullptr;
    }
    if (IsKeptFile(log, kept)) {
        problem = KeptFileProblem;
        return nullptr;
    }
    std::FILE* file = _wfopen(log.c_str(), L"wb");
    if (file == nullptr)
        problem = SystemProblem(errno);
    return file;
}
#else
bool IsKeptFile(const struct stat& log, const std::vector<std::string>& kept) {
    for (const std::string& file : kept) {
        struct stat other {};
        if (!file.empty() && ::stat(file.c_str(), &other) == 0 && other.st_dev == log.st_dev &&
            other.st_ino == log.st_ino)
            return true;
    }
    return false;
}

// Opened without emptying and without waiting for a pipe's reader, then checked by what was opened:
// the file and device numbers tell the same file under any name.
std::FILE* Create(const std::string& path, const std::vector<std::string>& kept, CProblem& problem) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        problem = errno == ENXIO ? SpecialFileProblem : SystemProblem(errno);
        return nullptr;
    }
    struct stat opened {};
    std::FILE* file = nullptr;
    if (::fstat(descriptor, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        problem = SpecialFileProblem;
    } else if (IsKeptFile(opened, kept)) {
        problem = KeptFileProblem;
    } else {
        const int flags = ::fcntl(descriptor, F_GETFL);
        if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0 ||
            ::ftruncate(descriptor, 0) != 0 || (file = ::fdopen(descriptor, "wb")) == nullptr)
            problem = SystemProblem(errno);
    }
    if (file == nullptr)
        ::close(descriptor);
    return file;
}
#endif

} // namespace

CReportLog::CReportLog(const std::string& path) : CReportLog(path, {}) {}

CReportLog::CReportLog(const std::string& path, const std::vector<std::string>& kept) {
    File = Create(path, kept, Failure);
}

CProblem CReportLog::Problem() const {
    std::lock_guard<std::mutex> hold(Lock);
    return Failure;
}

CReportLog::~CReportLog() {
    if (File != nullptr)
        std::fclose(File); // every line was flushed when it was written
}

void CReportLog::Line(char direction, const std::uint8_t* report, std::size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string line(1, direction);
    line += ' ';
    for (std::size_t i = 0; i < length; ++i) {
        line += digits[report[i] >> 4];
        line += digits[report[i] & 0xF];
    }
    line += '\n';
    std::lock_guard<std::mutex> hold(Lock);
    if (File != nullptr && !Failure) {
        if (std::fputs(line.c_str(), File) < 0 || std::fflush(File) != 0)
            Failure = SystemProblem(errno);
    }
}

namespace {

class CLoggedDevice : public CReportDevice {
public:
    CLoggedDevice(std::unique_ptr<CReportDevice> device, std::shared_ptr<CReportLog> log)
        : Device(std::move(device)), Log(std::move(log)) {}

    bool Write(const std::uint8_t* report, std::size_t length) override {
        Log->Line('>', report, length);
        return Device->Write(report, length);
    }
    int Read(std::uint8_t* report, std::size_t capacity, int timeoutMs) override {
        const int received = Device->Read(report, capacity, timeoutMs);
        if (received > 0)
            Log->Line('<', report, static_cast<std::size_t>(received));
        return received;
    }

private:
    std::unique_ptr<CReportDevice> Device;
    std::shared_ptr<CReportLog> Log;
};

class CLoggingProvider : public CDeviceProvider {
public:
    CLoggingProvider(std::shared_ptr<CDeviceProvider> provider, std::shared_ptr<CReportLog> log)
        : Provider(std::move(provider)), Log(std::move(log)) {}

    std::vector<CHidInterface> Enumerate() override { return Provider->Enumerate(); }
    std::unique_ptr<CReportDevice> Open(const std::string& path, CProblem& problem) override {
        std::unique_ptr<CReportDevice> device = Provider->Open(path, problem);
        if (!device)
            return nullptr;
        return std::make_unique<CLoggedDevice>(std::move(device), Log);
    }

private:
    std::shared_ptr<CDeviceProvider> Provider;
    std::shared_ptr<CReportLog> Log;
};

} // namespace

std::shared_ptr<CDeviceProvider> WithReportLog(std::shared_ptr<CDeviceProvider> provider,
                                               std::shared_ptr<CReportLog> log) {
    return std::make_shared<CLoggingProvider>(std::move(provider), std::move(log));
}
