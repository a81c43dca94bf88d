// The desktop program's own start-up, with a main window that reports its first paint and then ends
// the run: prints the monotonic time of that paint in nanoseconds, the resident memory then in
// kilobytes and the processor time used by then in microseconds. With --breakdown first, it also
// prints to stderr the resident memory by kind (anonymous, file, shared) and the resident kilobytes of
// each mapping (library, file, heap, anonymous), largest first. Kept apart from the benchmark program so that
// none of the benchmark library is resident.
#include "shell/MainWindow.h"
#include "shell/MorvApp.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <sys/resource.h>

namespace {

bool PrintBreakdown = false;

// A line of /proc/self/status in kB ("VmRSS:", "RssAnon:"); -1 when it is not there.
long StatusKilobytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(field.size()));
    }
    return -1;
}

void PrintResidentByMapping() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Rss", 0) == 0)
            std::fprintf(stderr, "%s\n", line.c_str());
    }
    std::ifstream maps("/proc/self/smaps");
    std::map<std::string, long> resident;
    std::string line;
    std::string mapping;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first == "Rss:") {
            long kilobytes = 0;
            fields >> kilobytes;
            resident[mapping] += kilobytes;
        } else if (first.find('-') != std::string::npos && first.back() != ':') {
            std::string permissions, offset, device, inode;
            fields >> permissions >> offset >> device >> inode;
            mapping.clear();
            fields >> std::ws;
            std::getline(fields, mapping);
            if (mapping.empty())
                mapping = "[anonymous]";
        }
    }
    std::vector<std::pair<long, std::string>> largest;
    for (const auto& [name, kilobytes] : resident)
        largest.emplace_back(kilobytes, name);
    std::sort(largest.rbegin(), largest.rend());
    for (const auto& [kilobytes, name] : largest) {
        if (kilobytes >= 64)
            std::fprintf(stderr, "%8ld kB  %s\n", kilobytes, name.c_str());
    }
}

class CTimedMainWindow : public CMorvDlg {
public:
    using CMorvDlg::CMorvDlg;

protected:
    void paintEvent(QPaintEvent* event) override {
        CMorvDlg::paintEvent(event);
        if (Reported)
            return;
        Reported = true;
        const long long painted = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now().time_since_epoch())
                                      .count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const long long cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                              usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
        // Besides all resident memory, the anonymous part alone: the mapped files' share depends on
        // what the page cache holds around them (a resource file the build has just written maps
        // more), the anonymous part only on the program.
        std::printf("%lld %ld %lld %ld\n", painted, StatusKilobytes("VmRSS:"), cpu,
                    StatusKilobytes("RssAnon:"));
        std::fflush(stdout);
        if (PrintBreakdown)
            PrintResidentByMapping();
        QTimer::singleShot(0, this, [this] { done(0); });
    }

private:
    bool Reported = false;
};

class CTimedApp : public CMorvApp {
protected:
    std::unique_ptr<CMorvDlg> MakeMainWindow(CKeyboardData& data, const CSkinResources& resources) override {
        return std::make_unique<CTimedMainWindow>(data, resources);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--breakdown") == 0) {
        PrintBreakdown = true;
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    QApplication application(argc, argv);
    CMorvApp::NameApplication();
    CTimedApp program;
    return program.InitInstance(application);
}
