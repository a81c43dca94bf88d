#include "ProgressBar.h"

#include <algorithm>
#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

CProgressBar::CProgressBar(std::string caption, int scale, std::FILE* out)
    : Caption(std::move(caption)), Scale(std::max(scale, 1)), Out(out), Terminal(isatty(fileno(out)) != 0) {}

void CProgressBar::Post(unsigned message, std::uintptr_t wParam, std::intptr_t) {
    if (message == WM_DEVICE_PROGRESS)
        Show(static_cast<int>(wParam));
}

void CProgressBar::Show(int value) {
    const int percent = std::clamp(value * 100 / Scale, 0, 100);
    if (percent == LastPercent)
        return;
    LastPercent = percent;
    if (!Terminal) {
        std::fprintf(Out, "%s %d%%\n", Caption.c_str(), percent);
        return;
    }
    constexpr int Width = 40;
    const int filled = percent * Width / 100;
    std::fprintf(Out, "\r%s [%s%s] %3d%%", Caption.c_str(), std::string(filled, '#').c_str(),
                 std::string(Width - filled, '.').c_str(), percent);
    std::fflush(Out);
}

void CProgressBar::Finish() {
    if (Terminal && LastPercent >= 0)
        std::fputc('\n', Out);
    std::fflush(Out);
}
