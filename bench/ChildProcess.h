// What the benchmarks share to time work in a fresh process: this program's own path, and running a
// program to read what it prints.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

// The path of the running program, for starting it again or finding programs beside it.
inline std::string RunningProgramPath(const char* fallback) {
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    return length > 0 ? std::string(self, static_cast<std::size_t>(length)) : std::string(fallback);
}

// Runs the program with the arguments and collects its standard output; false unless it ran and
// ended with status 0.
inline bool RunForOutput(const std::string& program, const std::vector<std::string>& arguments,
                         std::string& output) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    output.clear();
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
