#pragma once
// Runs a shell command line and collects its standard output and exit
// status, for the tests that drive vexalo-cli as a process.
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vx::test {

struct ProcessResult {
    int status = -1;  // exit status, -1 when the process did not exit normally
    std::string out;
};

inline ProcessResult runProcess(const std::string& command) {
    ProcessResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

}  // namespace vx::test
