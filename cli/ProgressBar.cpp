#include "ProgressBar.h"

#include <algorithm>
#include <cstdlib>
#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

CProgressBar::CProgressBar(std::string caption, int scale, std::FILE* out)
    : Caption(std::move(caption)), Scale(std::max(scale, 1)), Out(out), Terminal(isatty(fileno(out)) != 0) {}

void CProgressBar::Post(unsigned message, std::uintptr_t wParam, std::intptr_t) {
    if (message == WM_DEVICE_PROGRESS)
        Show(static_cast<int>(wParam));
}

std::string CProgressBar::Line(const std::string& caption, int percent, int columns) {
    percent = std::clamp(percent, 0, 100);
    char number[8];
    std::snprintf(number, sizeof number, "%3d%%", percent);
    // The last column stays free: writing into it makes some terminals wrap at once.
    const int room = std::max(columns - 1, 0);
    const int captionWidth = static_cast<int>(caption.size());
    constexpr int MinimumBar = 10;
    const int bar = room - captionWidth - 8; // " [" + bar + "] " + "100%"
    if (bar >= MinimumBar) {
        const int filled = percent * bar / 100;
        return caption + " [" + std::string(static_cast<std::size_t>(filled), '#') +
               std::string(static_cast<std::size_t>(bar - filled), '.') + "] " + number;
    }
    std::string line = caption + " " + number;
    if (static_cast<int>(line.size()) > room)
        line = line.substr(line.size() - static_cast<std::size_t>(std::min<int>(room, 4)));
    return line;
}

int CProgressBar::TerminalColumns(std::FILE* out) {
#if defined(_WIN32)
    CONSOLE_SCREEN_BUFFER_INFO info;
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(fileno(out)));
    if (GetConsoleScreenBufferInfo(console, &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size{};
    if (ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
#endif
    if (const char* columns = std::getenv("COLUMNS")) {
        const int value = std::atoi(columns);
        if (value > 0)
            return value;
    }
    return 80;
}

void CProgressBar::Show(int value) {
    if (!Terminal)
        return;
    const int percent = std::clamp(value * 100 / Scale, 0, 100);
    if (percent == LastPercent)
        return;
    LastPercent = percent;
    // Asked at every redraw, so a resized terminal gets a bar of its new width.
    std::fprintf(Out, "\r%s", Line(Caption, percent, TerminalColumns(Out)).c_str());
    std::fflush(Out);
}

void CProgressBar::Finish() {
    if (Terminal && LastPercent >= 0)
        std::fputc('\n', Out);
    std::fflush(Out);
}
