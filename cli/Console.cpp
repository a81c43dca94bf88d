#include "Console.h"

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>

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
    bool console = false;
    for (const int stream : {1, 2}) {
        const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(stream));
        DWORD mode = 0;
        if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
            continue; // a file or a pipe: the UTF-8 bytes go there as they are, lines ending in CR LF
        // In text mode the C library would write to a console each byte as a character of its own
        // locale (the console takes '\n' alone for a new line). Unbuffered, a stream may go out byte
        // by byte, and no console pieces a character together from single bytes: buffered, the text
        // goes out whole when flushed (the progress bar flushes, the program's end flushes the rest).
        _setmode(stream, _O_BINARY);
        std::setvbuf(stream == 1 ? stdout : stderr, nullptr, _IOFBF, 1 << 16);
        console = true;
    }
    PreviousOutputCodePage = console ? GetConsoleOutputCP() : 0;
    if (PreviousOutputCodePage == 0 || PreviousOutputCodePage == CP_UTF8)
        return;
    if (SetConsoleOutputCP(CP_UTF8))
        std::atexit(RestoreOutputCodePage);
}
#endif
