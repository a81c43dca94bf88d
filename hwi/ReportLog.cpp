#include "zelk/ReportLog.h"

#include "zelk/FileReplace.h"

#include <cerrno>
#include <system_error>

namespace {

// The path is UTF-8 text, on Windows too.
std::FILE* Create(const std::string& path) {
#if defined(_WIN32)
    return _wfopen(Utf8Path(path).c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

} // namespace

CReportLog::CReportLog(const std::string& path) : File(Create(path)) {
    if (File == nullptr)
        Failure = std::generic_category().message(errno);
}

std::string CReportLog::Problem() const {
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
    if (File != nullptr && Failure.empty()) {
        if (std::fputs(line.c_str(), File) < 0 || std::fflush(File) != 0)
            Failure = std::generic_category().message(errno);
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
    std::unique_ptr<CReportDevice> Open(const std::string& path, std::string& problem) override {
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
