// vexalo-cli as a process: its output and exit status are a contract that
// scripts rely on.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/run_process.h"

namespace {

using Result = vx::test::ProcessResult;

Result run(const std::string& args, const std::string& input = "") {
    std::string inputFile = testing::TempDir() + "cli_input.txt";
    std::ofstream(inputFile, std::ios::binary) << input;
    return vx::test::runProcess(std::string("'") + VX_CLI_PATH + "' " + args + " < '" + inputFile + "' 2>&1");
}

TEST(Cli, RunsFilesTextAndStandardInputAsOneSubmission) {
    std::string script = testing::TempDir() + "cli_script.vxs";
    std::ofstream(script, std::ios::binary) << "1+1\r\nnew(x,3)\r\nx*2\r\n";
    struct Case {
        std::string args, input, out;
        int status;
    } cases[] = {
        {"'" + script + "'", "", ">  2\n>  3\n>  6\n", 0},
        {"-e '2^60'", "", ">  1.15292150461E+018\n", 0},
        {"--eval '3-4i'", "", ">  3+-4i\n", 0},
        {"", "sum(k,k,1,100)\n", ">  5050\n", 0},
        {"-", "1/3\n", ">  0.333333333333\n", 0},
        {"-e '1+1\n2*'", "", ">  Error: Unexpected '*' at line end\n", 0},
        {"-e ''", "", ">  Error: No Input\n", 0},
        {"/nonexistent/file.vxs", "", "Error opening file\n", 1},
        {"--bogus", "", "", 2},
        {"-e", "", "", 2},
        {"a.vxs b.vxs", "", "", 2},
    };
    for (const Case& c : cases) {
        Result r = run(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.args;
        if (c.status != 2) {
            EXPECT_EQ(r.out, c.out) << c.args;
        }
    }
}

TEST(Cli, HelpAndVersion) {
    Result help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: vexalo-cli"), std::string::npos);
    Result version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("v06.19.07"), std::string::npos);
}

}  // namespace
