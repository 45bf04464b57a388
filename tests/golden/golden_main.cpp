// Runs one golden script (tests/lang/<topic>.vxs) through vexalo-cli and
// compares its output with <topic>.out, reporting the first differing line
// as file:line so that a failure points straight at the expectation.
// vexalo-cli ends with 3 when an answer was an error message, which most
// scripts pin on purpose; any other status but 0 is a failure.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/run_process.h"

namespace {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

bool runCli(const std::string& cli, const std::string& script, std::string& out) {
    vx::test::ProcessResult r = vx::test::runProcess("'" + cli + "' '" + script + "' 2>&1");
    out = std::move(r.out);
    return r.status == 0 || r.status == 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: vx_golden CLI SCRIPT.vxs\n";
        return 2;
    }
    std::string cli = argv[1], script = argv[2];
    std::string expectedPath = script.substr(0, script.size() - 4) + ".out";
    std::string actual;
    if (!runCli(cli, script, actual)) {
        std::cerr << script << ": vexalo-cli failed\n" << actual;
        return 1;
    }
    std::ifstream in(expectedPath, std::ios::binary);
    std::stringstream expectedStream;
    expectedStream << in.rdbuf();
    if (!in) {
        std::ofstream(expectedPath + ".actual", std::ios::binary) << actual;
        std::cerr << expectedPath << ": missing; actual output written beside it\n";
        return 1;
    }
    std::string expected = expectedStream.str();
    if (expected == actual) return 0;
    std::ofstream(expectedPath + ".actual", std::ios::binary) << actual;
    auto e = splitLines(expected), a = splitLines(actual);
    for (size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
        std::string el = i < e.size() ? e[i] : "<end of output>";
        std::string al = i < a.size() ? a[i] : "<end of output>";
        if (el != al) {
            std::cerr << expectedPath << ":" << i + 1 << ": expected\n  " << el << "\nbut got\n  " << al << "\n";
            return 1;
        }
    }
    std::cerr << expectedPath << ": outputs differ in line endings\n";
    return 1;
}
