#include "Console.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

UINT PreviousOutputCodePage = 0;

void RestoreOutputCodePage() {
    std::fflush(stdout);
    std::fflush(stderr);
    SetConsoleOutputCP(PreviousOutputCodePage);
}

} // namespace

std::vector<std::string> Utf8Arguments(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const int length = static_cast<int>(std::wcslen(argv[i]));
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, argv[i], length, nullptr, 0, nullptr, nullptr);
        std::string argument(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], length, argument.data(), bytes, nullptr, nullptr);
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

void UseUtf8Console() {
    // No console (output into a file or a pipe, or none at all): the code page is 0 and stays.
    PreviousOutputCodePage = GetConsoleOutputCP();
    if (PreviousOutputCodePage == 0 || PreviousOutputCodePage == CP_UTF8)
        return;
    if (SetConsoleOutputCP(CP_UTF8))
        std::atexit(RestoreOutputCodePage);
}
#endif
