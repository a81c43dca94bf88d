// A log of every report that crosses a device: one line per report, '>' host to keyboard, '<' keyboard
// to host, a space, then the report's bytes as lower-case hex digits.
#pragma once

#include "zelk/ZelkHWI.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class ZELKHWI_API CReportLog {
public:
    // Opens (and empties) the log file; Ok() tells whether that worked.
    explicit CReportLog(const std::string& path);
    // The same, refusing before anything is emptied a log that is not a regular file (a pipe would
    // hold the writer up, a device is no log) or that is one of the kept files, the same file under
    // another name included.
    CReportLog(const std::string& path, const std::vector<std::string>& kept);
    ~CReportLog();
    CReportLog(const CReportLog&) = delete;
    CReportLog& operator=(const CReportLog&) = delete;

    bool Ok() const { return File != nullptr; }
    void Line(char direction, const std::uint8_t* report, std::size_t length);
    // Why the log could not be opened or a line could not be written (the first failure); empty while
    // every line has reached the file.
    CProblem Problem() const;

private:
    std::FILE* File = nullptr;
    CProblem Failure;
    mutable std::mutex Lock;
};

// Wraps a provider so that every device it opens logs its reports.
std::shared_ptr<CDeviceProvider> WithReportLog(std::shared_ptr<CDeviceProvider> provider,
                                               std::shared_ptr<CReportLog> log);
