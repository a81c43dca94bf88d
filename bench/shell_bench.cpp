// Cold start of the desktop program: from launching a fresh process to the main window's first
// paint with the virtual keyboard, the resident memory at that moment, and the processor time the
// process had used by then (steadier than the elapsed time on a busy machine). Each iteration starts
// this program again in child mode, which runs the program's own start-up (skins, key catalogue,
// device provider, main window) and reports when the window has painted.
#include "DeviceOptions.h"
#include "catalogue/KeyCatalogue.h"
#include "model/KeyboardData.h"
#include "shell/MainWindow.h"
#include "shell/MorvApp.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long MonotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

// The main window, reporting its first paint and quitting.
class CTimedMainWindow : public CMorvDlg {
public:
    using CMorvDlg::CMorvDlg;

protected:
    void paintEvent(QPaintEvent* event) override {
        CMorvDlg::paintEvent(event);
        if (Reported)
            return;
        Reported = true;
        const long long painted = MonotonicNanoseconds();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const long long cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                              usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
        std::printf("%lld %ld %lld\n", painted, ResidentKilobytes(), cpu);
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QApplication::quit);
    }

private:
    bool Reported = false;
};

// Child mode: the program's start-up, step by step as CMorvApp runs it.
int RunChild(int argc, char** argv) {
    QApplication application(argc, argv);
    CSkinResources skins;
    QString problem;
    if (!skins.Load(CSkinResources::DefaultResourceFile(), CMorvApp::RequiredPictures(), problem))
        return 1;
    QApplication::setWindowIcon(skins.ProgramIcon());
    auto data = std::make_unique<CKeyboardData>();
    BuildKeyCatalogue(*data);
    CDeviceOptions options;
    options.VirtualKeyboard = true;
    std::string error;
    data->HWI.UseDeviceProvider(MakeDeviceProvider(options, error));
    CTimedMainWindow window(*data, skins);
    if (!window.Initialise())
        return 1;
    window.show();
    return application.exec();
}

std::string SelfPath;

void BM_ColdStartToFirstPaint(benchmark::State& state) {
    double residentMegabytes = 0;
    double cpuMilliseconds = 0;
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        const long long started = MonotonicNanoseconds();
        const pid_t child = fork();
        if (child == 0) {
            dup2(out[1], STDOUT_FILENO);
            close(out[0]);
            close(out[1]);
            execl(SelfPath.c_str(), SelfPath.c_str(), "--child", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(out[1]);
        std::string reply;
        char buffer[128];
        ssize_t got = 0;
        while ((got = read(out[0], buffer, sizeof buffer)) > 0)
            reply.append(buffer, static_cast<std::size_t>(got));
        close(out[0]);
        int status = 0;
        waitpid(child, &status, 0);
        long long painted = 0;
        long resident = 0;
        long long cpu = 0;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
            std::sscanf(reply.c_str(), "%lld %ld %lld", &painted, &resident, &cpu) != 3) {
            state.SkipWithError("the program did not start");
            return;
        }
        state.SetIterationTime(static_cast<double>(painted - started) / 1e9);
        residentMegabytes = static_cast<double>(resident) / 1024.0;
        cpuMilliseconds += static_cast<double>(cpu) / 1000.0;
    }
    state.counters["rss_MB"] = residentMegabytes;
    state.counters["cpu_ms"] =
        cpuMilliseconds / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
}
BENCHMARK(BM_ColdStartToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(3);

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return RunChild(argc, argv);
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    SelfPath = length > 0 ? std::string(self, static_cast<std::size_t>(length)) : std::string(argv[0]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
