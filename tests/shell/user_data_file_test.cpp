// The options and user-data files: exact bytes, round trips, and a loader
// that stops cleanly at every kind of damage.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "shell/binary_io.h"
#include "shell/data_file.h"
#include "shell/options_file.h"
#include "shell/user_data_files.h"
#include "tests/shell/shell_test_util.h"

namespace vx {
namespace {

using shelltest::ShellEngine;

std::string bytesOf(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}
std::string i32(std::int32_t v) {
    ByteWriter w;
    w.i32(v);
    return w.take();
}
std::string f64(double v) {
    ByteWriter w;
    w.f64(v);
    return w.take();
}
std::string cstr(std::string_view s) { return std::string(s) + '\0'; }

struct Loaded {
    std::string lines;
    DataLoadResult result;
};
Loaded load(Stores& stores, std::string_view bytes) {
    Loaded l;
    l.result = loadUserData(bytes, stores, [&](const std::string& line) { l.lines += line; });
    return l;
}

TEST(UserDataFile, WritesTheDocumentedBytes) {
    ShellEngine list, function, empty;
    list.run("new(L,{1,2})");
    EXPECT_EQ(encodeUserData(list.engine.stores),
              bytesOf({0x24}) + cstr("L") + i32(2) + f64(1) + f64(0) + f64(2) + f64(0));

    function.run("newfunc(f,x,x^2)");
    EXPECT_EQ(encodeUserData(function.engine.stores),
              "f" + cstr("f") + i32(1) + cstr("x") +                 // name and parameter
                  i32(9) + cstr("x") +                               // variable x
                  i32(1) + f64(2) + f64(0) +                         // literal 2
                  i32(4) + std::string("^") + bytesOf({0}) + i32(2)  // operator ^ on two operands
                  + i32(0));

    // Only the locked start-up definitions: nothing to write.
    EXPECT_EQ(encodeUserData(empty.engine.stores), "");
}

TEST(UserDataFile, WritesTablesInOrderAndLeavesLockedOut) {
    ShellEngine t;
    t.run("newcoords(mine,u,v,[u*2,v])\nnewfunc(g,y,y+1)\nnew(M,[1,2,3][4,5,6])\nnew(L,{7})\nnew(a,1+2i)");
    std::string bytes = encodeUserData(t.engine.stores);
    // Walk the entries by their known sizes: complex, list, matrix, function, coords.
    EXPECT_EQ(bytes.substr(0, 3), "#a" + std::string(1, '\0'));
    size_t list = bytes.find("$L");
    size_t matrix = bytes.find("@M");
    size_t function = bytes.find(std::string("fg\0", 3));
    size_t coords = bytes.find(std::string("cmine\0", 6));
    EXPECT_LT(list, matrix);
    EXPECT_LT(matrix, function);
    EXPECT_LT(function, coords);
    EXPECT_EQ(bytes.substr(matrix + 3, 8), i32(3) + i32(2));  // columns, then rows
    EXPECT_EQ(bytes.find("pi"), std::string::npos);
}

TEST(UserDataFile, RoundTripKeepsEveryDefinitionWorking) {
    ShellEngine first, second;
    const char* session =
        "new(a,3+4i)\nnew(L,{1,2,-0.5})\nnew(M,[1,2,3][4,5,6])\n"
        "newfunc(h,x,[x,2][3,x^2])\nnewfunc(big,x,y,if(x>y,x,y))\nnewfunc(k,-x!+%*i)\n"
        "newcoords(mine,u,v,[u*2,v])\nnewcoords(cyl,r,t,z,[r*cos(t),r*sin(t),z])\n"
        "new(N,dropcol([1][2],1))\nnew(%,7)";
    first.run(session);
    std::string bytes = encodeUserData(first.engine.stores);
    Loaded l = load(second.engine.stores, bytes);
    EXPECT_EQ(l.result.error, "");
    EXPECT_EQ(l.result.installed, 10);
    EXPECT_EQ(l.lines,
              "Loaded value 'a'\r\nLoaded value '%'\r\nLoaded value 'L'\r\nLoaded value 'M'\r\nLoaded value 'N'\r\n"
              "Loaded function 'h'\r\nLoaded function 'big'\r\nLoaded function 'k'\r\n"
              "Loaded coords 'mine'\r\nLoaded coords 'cyl'\r\n");
    EXPECT_EQ(encodeUserData(second.engine.stores), bytes);
    const char* probe = "a\nL\nM\nN\nsize(N)\nh(2)\nbig(1,5)\nchangecoords([1,2],coords=mine)\nchangecoords([1,0,3],coords=cyl)";
    EXPECT_EQ(second.run(probe), first.run(probe));
}

TEST(UserDataFile, LoadingReplacesSameNamesAndKeepsOthers) {
    ShellEngine saved, target;
    saved.run("new(a,1)\nnewfunc(f,x,x+1)");
    target.run("new(a,{5})\nnew(b,2)\nnewfunc(f,x,y,0)");
    load(target.engine.stores, encodeUserData(saved.engine.stores));
    EXPECT_EQ(target.run("a\nb\nf(1)"), ">  1\r\n>  2\r\n>  2\r\n");
}

TEST(UserDataFile, LockedNamesAreNeverReplaced) {
    ShellEngine t;
    std::string bytes = "#" + cstr("pi") + f64(3) + f64(0) +                          // a value named pi
                        "f" + cstr("sgn") + i32(0) + i32(1) + f64(7) + f64(0) + i32(0) +  // function sgn
                        "c" + cstr("polar") + i32(2) + cstr("r") + cstr("t") + i32(9) + cstr("r") + i32(0) +
                        "#" + cstr("ok") + f64(1) + f64(0);
    Loaded l = load(t.engine.stores, bytes);
    EXPECT_EQ(l.result.error, "");
    EXPECT_EQ(l.lines, "Loaded value 'ok'\r\n");
    EXPECT_EQ(t.run("pi\nsgn(-2)\nchangecoords([2,0],coords=polar)\nok"),
              ">  3.14159265359\r\n>  -1\r\n>  [[2,0]]\r\n>  1\r\n");
}

TEST(UserDataFile, FullTableDropsTheEntry) {
    Stores stores;
    for (int k = 0; k < kVariableSlots; ++k) stores.createComplexVariable("v" + std::to_string(k), {}, 0);
    Loaded l = load(stores, "#" + cstr("extra") + f64(1) + f64(0));
    EXPECT_EQ(l.result.error, "");
    EXPECT_EQ(l.result.installed, 0);
    EXPECT_EQ(l.lines, "");
}

TEST(UserDataFile, DamageStopsTheReadingAndKeepsWhatCameBefore) {
    const std::string good = "#" + cstr("a") + f64(1) + f64(0);
    const std::string longName(1024, 'n');
    // Each damaged entry follows a good one and is followed by another,
    // except where the damage is the end of the file itself.
    struct Case {
        const char* what;
        std::string tail;
        const char* error;
        bool endsTheFile = false;
    } cases[] = {
        {"unknown tag", "x" + cstr("b"), "Error reading file: Invalid data identifier"},
        {"truncated value", "#" + cstr("b") + f64(1), "Error reading file: Unexpected end of file", true},
        {"unterminated name", "#bbb", "Error reading file: Unexpected end of file", true},
        {"name of 1024 bytes", "#" + cstr(longName) + f64(1) + f64(0), "Error reading file: Name too long"},
        {"negative list count", "$" + cstr("L") + i32(-1), "Error reading file: Invalid value size"},
        {"list longer than the file", "$" + cstr("L") + i32(1000) + f64(1), "Error reading file: Unexpected end of file"},
        {"list above the size cap", "$" + cstr("L") + i32((1 << 26) + 1), "Error reading file: Invalid value size"},
        {"negative matrix rows", "@" + cstr("M") + i32(2) + i32(-3), "Error reading file: Invalid value size"},
        {"matrix longer than the file", "@" + cstr("M") + i32(100) + i32(100), "Error reading file: Unexpected end of file"},
        {"huge matrix", "@" + cstr("M") + i32(1 << 30) + i32(1 << 30), "Error reading file: Invalid value size"},
        {"no columns, 2^31-1 rows", "@" + cstr("M") + i32(0) + i32(INT32_MAX), "Error reading file: Invalid value size"},
        {"no rows, 2^27 columns", "@" + cstr("M") + i32(1 << 27) + i32(0), "Error reading file: Invalid value size"},
        {"empty name", "#" + cstr("") + f64(1) + f64(0), "Error reading file: Invalid name"},
        {"name with a blank", "#" + cstr("a b") + f64(1) + f64(0), "Error reading file: Invalid name"},
        {"name byte 0x80", "#" + cstr("\x80") + f64(1) + f64(0), "Error reading file: Invalid name"},
        {"parameter 1x", "f" + cstr("g") + i32(1) + cstr("1x") + i32(0), "Error reading file: Invalid name"},
        {"variable item a-b", "f" + cstr("g") + i32(0) + i32(9) + cstr("a-b") + i32(0), "Error reading file: Invalid name"},
        {"1 coordinate", "c" + cstr("s") + i32(1) + cstr("r") + i32(9) + cstr("r") + i32(0),
         "Error reading file: Invalid parameter count"},
        {"65 parameters", "f" + cstr("g") + i32(65), "Error reading file: Invalid parameter count"},
        {"negative parameters", "f" + cstr("g") + i32(-2), "Error reading file: Invalid parameter count"},
        {"4 coordinates", "c" + cstr("s") + i32(4), "Error reading file: Invalid parameter count"},
        {"item kind 5", "f" + cstr("g") + i32(0) + i32(5) + i32(0), "Error reading file: Invalid stack item identifier"},
        {"operator without operands", "f" + cstr("g") + i32(0) + i32(4) + "+" + bytesOf({0}) + i32(2) + i32(0),
         "Error reading file: Invalid expression"},
        {"call with a huge count", "f" + cstr("g") + i32(0) + i32(6) + cstr("sum") + i32(1 << 30) + i32(0) + i32(0),
         "Error reading file: Invalid expression"},
        {"negative columns", "f" + cstr("g") + i32(0) + i32(1) + f64(1) + f64(0) + i32(6) + cstr("matstruct") +
                                 i32(1) + i32(-1) + i32(0),
         "Error reading file: Invalid expression"},
        {"missing end of items", "f" + cstr("g") + i32(0) + i32(9) + cstr("x"), "Error reading file: Unexpected end of file", true},
    };
    for (const Case& c : cases) {
        Stores stores;
        Loaded l = load(stores, good + c.tail + (c.endsTheFile ? "" : good));
        EXPECT_EQ(l.result.error, c.error) << c.what;
        EXPECT_EQ(l.result.installed, 1) << c.what;
        EXPECT_EQ(l.lines, "Loaded value 'a'\r\n") << c.what;
        EXPECT_EQ(stores.findFunction("g"), -1) << c.what;
    }
    // The longest name a file may hold.
    Stores stores;
    EXPECT_EQ(load(stores, "#" + cstr(std::string(1023, 'n')) + f64(1) + f64(0)).result.error, "");
    // A first byte 'x' installs nothing.
    Stores fresh;
    Loaded l = load(fresh, "x");
    EXPECT_EQ(l.result.error, "Error reading file: Invalid data identifier");
    EXPECT_EQ(l.result.installed, 0);
}

TEST(OptionsFile, LayoutAndRoundTrip) {
    Options defaults;
    std::string bytes = encodeOptions(defaults);
    ASSERT_EQ(bytes.size(), kOptionsFileSize);
    EXPECT_EQ(bytes.substr(0, 4), i32(1));
    EXPECT_EQ(bytes.substr(4 + 6 * 4, 4), i32(72));    // zoom, the seventh display field
    EXPECT_EQ(bytes.substr(4 + 14 * 4, 4), i32(0));    // the reserved field
    EXPECT_EQ(bytes.substr(68, 4), i32(50));           // implicitGrid opens the quality block
    EXPECT_EQ(bytes.substr(68 + 12 * 4, 4), i32(0));   // vectorStreams closes it

    Options changed;
    changed.syntaxHighlighting = 0;
    changed.display.fov = 15;
    changed.display.vectorColor = 0;
    changed.quality.vector3dStream = 6;
    changed.quality.vectorStreams = 1;
    std::optional<Options> back = decodeOptions(encodeOptions(changed));
    ASSERT_TRUE(back);
    EXPECT_EQ(encodeOptions(*back), encodeOptions(changed));
    EXPECT_EQ(back->syntaxHighlighting, 0);
    EXPECT_EQ(back->quality.vector3dStream, 6);

    // Short files are ignored as a whole; bytes after 120 are not read.
    EXPECT_FALSE(decodeOptions(bytes.substr(0, 119)));
    EXPECT_FALSE(decodeOptions(""));
    EXPECT_TRUE(decodeOptions(bytes + "extra"));
}

TEST(UserDataFolder, SavesAtomicallyAndLoadsBack) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("vx_userdata_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ShellEngine session, onlyLocked, restored;
    session.run("new(L,{1,2})\nnewfunc(f,x,x^2)");
    Options options;
    options.syntaxHighlighting = 0;
    EXPECT_EQ(saveUserDataFiles(dir / "sub", options, session.engine.stores), "");
    EXPECT_EQ(fs::file_size(optionsFilePath(dir / "sub")), 120u);

    std::string lines;
    UserDataLoad l = loadUserDataFiles(dir / "sub", restored.engine.stores, [&](const std::string& s) { lines += s; });
    ASSERT_TRUE(l.options);
    EXPECT_EQ(l.options->syntaxHighlighting, 0);
    EXPECT_EQ(lines, "Loaded value 'L'\r\nLoaded function 'f'\r\n");
    EXPECT_EQ(restored.run("f(3)"), ">  9\r\n");

    EXPECT_EQ(saveUserDataFiles(dir / "sub", options, onlyLocked.engine.stores), "");
    EXPECT_EQ(fs::file_size(dataFilePath(dir / "sub")), 0u);
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(dir / "sub")) leftovers += entry.path().extension() != ".vxd";
    EXPECT_EQ(leftovers, 0);

    // A folder that cannot be written reports why and keeps the old file.
    fs::create_directories(dir / "blocked" / "vxopts.vxd");
    EXPECT_NE(saveUserDataFiles(dir / "blocked", options, session.engine.stores), "");

    // Missing files are skipped silently.
    UserDataLoad none = loadUserDataFiles(dir / "absent", restored.engine.stores, [](const std::string&) {});
    EXPECT_FALSE(none.options);
    EXPECT_FALSE(none.dataFound);
    fs::remove_all(dir);
}

// A full disk, a read-only folder or a failing sync or rename while saving:
// the previous files stay as they were, no temporary file is left behind,
// and the reason comes back for the user.
TEST(UserDataFolder, FaultsWhileSavingKeepThePreviousFiles) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vx_userdata_faults_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ShellEngine before, after;
    before.run("new(a,1)");
    after.run("new(a,2)\nnewfunc(f,x,x)");
    Options changed;
    changed.syntaxHighlighting = 0;
    ASSERT_EQ(saveUserDataFiles(dir, Options{}, before.engine.stores), "");
    std::string oldOptions, oldData;
    ASSERT_TRUE(readWholeFile(optionsFilePath(dir), oldOptions));
    ASSERT_TRUE(readWholeFile(dataFilePath(dir), oldData));

    auto failWith = [](int error) {
        errno = error;
        return -1;
    };
    int dataFd = -1;  // the data file's descriptor, for faults in that file only
    struct Case {
        const char* what;
        FileCalls calls;
        const char* reason;
    } cases[] = {
        {"disk full", systemFileCalls(), "No space left on device"},
        {"disk full in the data file", systemFileCalls(), "No space left on device"},
        {"read-only folder", systemFileCalls(), "Read-only file system"},
        {"sync fails", systemFileCalls(), "Input/output error"},
        {"rename refused", systemFileCalls(), "Permission denied"},
    };
    cases[0].calls.write = [&](int, const void*, size_t) -> long { return failWith(ENOSPC); };
    cases[1].calls.createTemp = [&](char* pattern) {
        int fd = ::mkstemp(pattern);
        if (std::strstr(pattern, "vxdata.vxd")) dataFd = fd;
        return fd;
    };
    cases[1].calls.write = [&](int fd, const void* data, size_t size) -> long {
        // Half of the file fits.
        return fd != dataFd ? ::write(fd, data, size) : size > 8 ? ::write(fd, data, size / 2) : failWith(ENOSPC);
    };
    cases[2].calls.createTemp = [&](char*) { return failWith(EROFS); };
    cases[3].calls.sync = [&](int) { return failWith(EIO); };
    cases[4].calls.rename = [&](const char*, const char*) { return failWith(EACCES); };
    // Nothing changed: nothing is written, so none of the faults can strike.
    for (const Case& c : cases) EXPECT_EQ(saveUserDataFiles(dir, Options{}, before.engine.stores, c.calls), "") << c.what;
    for (const Case& c : cases) {
        std::string error = saveUserDataFiles(dir, changed, after.engine.stores, c.calls);
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        std::string options, data;
        EXPECT_TRUE(readWholeFile(optionsFilePath(dir), options) && options == oldOptions) << c.what;
        EXPECT_TRUE(readWholeFile(dataFilePath(dir), data) && data == oldData) << c.what;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2) << c.what;
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vx
