// vexalo-cli as a process: its output, messages and exit status are a
// contract that scripts rely on.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/run_process.h"
#include "vexalo_version.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

// CTest runs each test as its own process, side by side: every file gets
// the process id in its name so that no two tests share one.
std::string tempFile(const std::string& name) {
    return testing::TempDir() + "cli_" + std::to_string(getpid()) + "_" + name;
}

Result run(const std::string& args, const std::string& input = "") {
    std::string inputFile = tempFile("input.txt"), errFile = tempFile("err.txt");
    std::ofstream(inputFile, std::ios::binary) << input;
    vx::test::ProcessResult p = vx::test::runProcess(std::string("'") + VX_CLI_PATH + "' " + args + " < '" +
                                                     inputFile + "' 2>'" + errFile + "'");
    std::stringstream err;
    err << std::ifstream(errFile, std::ios::binary).rdbuf();
    return {p.status, p.out, err.str()};
}

TEST(Cli, AnswersMessagesAndExitStatus) {
    std::string script = tempFile("script.vxs"), bom = tempFile("bom.vxs");
    std::ofstream(script, std::ios::binary) << "1+1\r\nnew(x,3)\r\nx*2\r\n";
    std::ofstream(bom, std::ios::binary) << "\xEF\xBB\xBF" "2*3\n";
    struct Case {
        std::string args, input, out;
        int status;
        std::string errStart;  // the beginning of standard error
    } cases[] = {
        {"'" + script + "'", "", ">  2\n>  3\n>  6\n", 0, ""},
        {"-e '2^60'", "", ">  1.15292150461E+018\n", 0, ""},
        {"--eval=6*7", "", ">  42\n", 0, ""},
        {"--eval '3-4i'", "", ">  3+-4i\n", 0, ""},
        {"", "\xEF\xBB\xBF" "sum(k,k,1,100)\n", ">  5050\n", 0, ""},
        {"-- '" + bom + "'", "", ">  6\n", 0, ""},
        {"-", "1/3\n", ">  0.333333333333\n", 0, ""},
        {"-e 'newfunc(f,x,x)'", "", ">  (newfunc) Function 'f' created\n", 0, ""},
        // Any answer that is an error message gives 3, a quiet one too.
        {"-e '1/0'", "", ">  Error: Division by Zero\n", 3, ""},
        {"-e '1/0;\n2'", "", ">  2\n", 3, ""},
        {"-e 'delplot(4)'", "", ">  (delplot) Plot 4 does not exist\n", 3, ""},
        {"-e '1+1\n2*'", "", ">  Error: Unexpected '*' at line end\n", 3, ""},
        {"-e ''", "", ">  Error: No Input\n", 3, ""},
        // A character outside the language is shown whole, or as \xHH when
        // it is not UTF-8.
        {"-e '2*\xCF\x80'", "", ">  Error: Invalid Character '\xCF\x80'\n", 3, ""},
        {"-e '2*\xE9+1'", "", ">  Error: Invalid Character '\\xE9'\n", 3, ""},
        {"/nonexistent/file.vxs", "", "Error opening file\n", 1,
         "vexalo-cli: cannot open '/nonexistent/file.vxs': No such file or directory\n"},
        {"/", "", "Error opening file\n", 1, "vexalo-cli: cannot open '/': Is a directory\n"},
        {"-e 1 >/dev/full", "", "", 1, "vexalo-cli: write error: No space left on device\n"},
        {"--bogus", "", "", 2, "vexalo-cli: unknown option '--bogus'\n"},
        {"-e", "", "", 2, "vexalo-cli: -e needs a text\n"},
        {"a.vxs b.vxs", "", "", 2, "vexalo-cli: give one FILE or one -e TEXT\n"},
    };
    for (const Case& c : cases) {
        Result r = run(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
        // The start of stderr is pinned; with none expected, none at all.
        EXPECT_EQ(c.errStart.empty() ? r.err : r.err.substr(0, c.errStart.size()), c.errStart) << c.args;
    }
}

// Under a 150 MB address-space limit the text of four million numbers
// does not fit; the earlier and later answers still appear, and the
// status says that a statement answered with an error.
TEST(Cli, AnswerTooLargeForMemoryEndsOnlyItsStatement) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "sanitizers reserve more address space than the limit";
#endif
    vx::test::ProcessResult r = vx::test::runProcess("ulimit -v 150000; '" + std::string(VX_CLI_PATH) +
                                    "' -e '1+1\nlistgen(k,k,1,4e6)\n2+2' 2>&1");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out, ">  2\n>  Error: Out of Memory\n>  4\n");
}

TEST(Cli, HelpAndVersion) {
    for (const char* option : {"--help", "-h"}) {
        Result help = run(option);
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind("Usage: vexalo-cli", 0), 0u) << option;
    }
    for (const char* option : {"--version", "-V"}) {
        Result version = run(option);
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out.rfind("vexalo-cli " VX_VERSION_TEXT "\n", 0), 0u) << version.out;
        EXPECT_NE(version.out.find("MIT License"), std::string::npos);
    }
}

}  // namespace
