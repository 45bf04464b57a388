// vexalo-cli keeps the user's definitions between runs only with --data-dir.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string run(const std::string& arguments, int* status = nullptr) {
    std::string command = std::string("'") + VX_CLI_PATH + "' " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    int rc = pclose(pipe);
    if (status) *status = rc;
    return out;
}

TEST(CliDataDir, DefinitionsComeBackOnlyFromTheFolder) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("vx_cli_data_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const std::string folder = "--data-dir '" + dir.string() + "'";
    EXPECT_EQ(run(folder + " -e 'new(L,{1,2})\nnewfunc(f,x,x^2)'"), ">  {1,2}\n>  (newfunc) Function 'f' created\n");
    EXPECT_EQ(fs::file_size(dir / "vxopts.vxd"), 120u);
    EXPECT_EQ(run(folder + " -e 'f(3)\nL'"), ">  9\n>  {1,2}\n");
    EXPECT_EQ(run("-e 'f(3)'"), ">  Error: Unknown Function 'f'\n");
    EXPECT_EQ(run("--data-dir='" + dir.string() + "' -e 'delfunc(f)'"), ">  (delfunc) Deleted 'f'\n");
    EXPECT_EQ(run(folder + " -e 'f(3)'"), ">  Error: Unknown Function 'f'\n");

    // A damaged file is reported on stderr; what came before it is kept.
    {
        FILE* f = std::fopen((dir / "vxdata.vxd").c_str(), "ab");
        std::fputc('x', f);
        std::fclose(f);
    }
    EXPECT_EQ(run(folder + " -e 'L'"), "vexalo-cli: Error reading file: Invalid data identifier\n>  {1,2}\n");

    int status = 0;
    run("--data-dir", &status);
    EXPECT_NE(status, 0);
    fs::remove_all(dir);
}

}  // namespace
