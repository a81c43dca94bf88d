#include "CliProcess.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <thread>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr auto Patience = std::chrono::minutes(5);

#if defined(_WIN32)
std::wstring Wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
    return wide;
}

// One argument as the C library's command-line parsing reads it back: quoted when it holds blanks or
// quotes, a quote escaped by a backslash, and the backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE Inheritable(const std::filesystem::path& file, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(file.empty() ? L"NUL" : file.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

} // namespace

#if defined(_WIN32)
int RunProcess(const CProcessRun& run) {
    const std::filesystem::path program = std::filesystem::absolute(run.Program);
    std::wstring command = Quoted(program.native());
    for (const std::string& argument : run.Arguments)
        command += L" " + Quoted(Wide(argument));
    HANDLE in = Inheritable({}, false);
    HANDLE out = Inheritable(run.Out, true);
    HANDLE err = Inheritable(run.Err, true);
    int status = -1;
    if (in == INVALID_HANDLE_VALUE || out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE)
        std::fprintf(
            stderr,
            "RunProcess: the files for stdin, stdout and stderr could not be opened: Windows error %lu\n",
            GetLastError());
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in;
        startup.hStdOutput = out;
        startup.hStdError = err;
        PROCESS_INFORMATION process{};
        // Wine's process start fails now and then (about once in 1500 starts on a loaded machine) with
        // ERROR_INTERNAL_ERROR: the new process ended before it was initialised, so before any of the
        // program ran. Only that failure is tried again; any other ends the run with its error.
        bool started = false;
        for (int attempt = 0; attempt < 5 && !started; ++attempt) {
            started = CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                     run.Folder.empty() ? nullptr : run.Folder.c_str(), &startup, &process);
            if (!started && GetLastError() != ERROR_INTERNAL_ERROR)
                break;
            if (!started)
                std::fprintf(stderr,
                             "RunProcess: the start of %s was dropped before it ran; starting it again\n",
                             program.string().c_str());
        }
        if (started) {
            const auto wait = static_cast<DWORD>(std::chrono::milliseconds(Patience).count());
            DWORD code = 0;
            if (WaitForSingleObject(process.hProcess, wait) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(process.hProcess, &code)) {
                status = static_cast<int>(code);
            } else {
                TerminateProcess(process.hProcess, 1);
                std::fprintf(stderr, "RunProcess: %s did not end within five minutes\n",
                             program.string().c_str());
            }
            WaitForSingleObject(process.hProcess, wait);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        } else {
            std::fprintf(stderr, "RunProcess: %s could not be started: Windows error %lu\n",
                         program.string().c_str(), GetLastError());
        }
    }
    for (HANDLE handle : {in, out, err})
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    return status;
}

long CurrentProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

std::string ProgramOutput(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text;
    for (std::size_t i = 0; i < raw.size(); ++i)
        if (raw[i] != '\r' || i + 1 >= raw.size() || raw[i + 1] != '\n')
            text += raw[i];
    return text;
}
#else
int RunProcess(const CProcessRun& run) {
    // Everything the child needs is made before it starts: between fork and exec it only opens, moves
    // descriptors and changes folder.
    const std::string program = run.Program.string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : run.Arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string out = run.Out.empty() ? "/dev/null" : run.Out.string();
    const std::string err = run.Err.empty() ? "/dev/null" : run.Err.string();
    const std::string folder = run.Folder.string();
    const pid_t child = fork();
    if (child == 0) {
        const int in = open("/dev/null", O_RDONLY);
        const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || outFile < 0 || errFile < 0 || dup2(in, 0) < 0 || dup2(outFile, 1) < 0 ||
            dup2(errFile, 2) < 0 || (!folder.empty() && chdir(folder.c_str()) != 0))
            _exit(127);
        if (run.OutClosed)
            close(1);
        const rlimit addressSpace{run.AddressSpaceLimit, run.AddressSpaceLimit};
        if (run.AddressSpaceLimit != 0 && setrlimit(RLIMIT_AS, &addressSpace) != 0)
            _exit(127);
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (child < 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (ended == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return -1;
    }
    return ended == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

long CurrentProcessId() {
    return static_cast<long>(getpid());
}

std::string ProgramOutput(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
#endif
