// Smaller shell units: pane layout, the command table and toolbar, the
// User Data dialog's lines and deletion, the second-start request.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/batch_request.h"
#include "shell/commands.h"
#include "shell/layout.h"
#include "shell/user_data_listing.h"
#include "tests/shell/shell_test_util.h"

namespace vx {
namespace {

TEST(PaneLayout, InputHeightStaysBetweenItsLimits) {
    struct Case {
        int width, height, asked, want;
    } cases[] = {
        {300, 300, 64, 64}, {300, 300, 10, 64}, {300, 300, 206, 206}, {300, 300, 500, 206}, {300, 300, -40, 64},
    };
    for (const Case& c : cases) {
        PaneLayout l = layoutPanes(c.width, c.height, c.asked);
        EXPECT_EQ(l.inputHeight, c.want) << c.asked;
        EXPECT_GE(l.output.height, 59) << c.asked;
        EXPECT_EQ(l.output.y + l.output.height, l.splitter.y);
        EXPECT_EQ(l.splitter.y + 5, l.input.y);
        EXPECT_EQ(l.input.y + l.input.height, c.height - 5);
    }
    PaneLayout l = layoutPanes(400, 300, 100);
    EXPECT_EQ(l.output, (PaneRect{5, 25, 390, 270 - 105}));
    EXPECT_EQ(l.splitter, (PaneRect{5, 25 + 270 - 105, 390, 5}));
    EXPECT_EQ(l.input, (PaneRect{5, 195, 390, 100}));
    EXPECT_EQ(l.plot, (PaneRect{5, 25, 390, 270}));
    EXPECT_EQ(draggedInputHeight(295, 200), 93);
}

TEST(Commands, ButtonTwoHundredTwoFollowsItsMode) {
    EXPECT_EQ(toolbarCommand(kBtnSaveOrExport, kSaveButtonSaveOutput), kCmdSaveOutput);
    EXPECT_EQ(toolbarCommand(kBtnSaveOrExport, kSaveButtonExport), kCmdExport);
    EXPECT_EQ(toolbarCommand(kBtnSaveOrExport, kSaveButtonNothing), 0);
    EXPECT_EQ(toolbarTooltip(kBtnSaveOrExport, kSaveButtonExport), "Export (.obj)");
    EXPECT_EQ(toolbarTooltip(kBtnSaveOrExport, kSaveButtonNothing), "Export (.obj)");
}

TEST(UserDataListing, ListsOnlyTheUsersDefinitions) {
    shelltest::ShellEngine t;
    EXPECT_TRUE(listUserFunctions(t.engine.stores).empty());
    EXPECT_TRUE(listUserVariables(t.engine.stores).empty());
    t.run("newfunc(f,x,y,x+y)\nnewfunc(g,x,x)\nnewfunc(c,1)\nnew(a,1)\nnew(L,{1,2,3,4})\nnew(M,[1,2,3][4,5,6])\nnew(b,i)");
    std::string functions, variables;
    for (const UserDataLine& l : listUserFunctions(t.engine.stores)) functions += l.text + "|";
    for (const UserDataLine& l : listUserVariables(t.engine.stores)) variables += l.text + "|";
    EXPECT_EQ(functions, "f(x,y)|g(x)|c()|");
    // Slot by slot, complex before list before matrix. The locked
    // definitions hold the low slots: emptymat matrix slot 0, e, pi, em and
    // phi complex slots 0 to 3, emptylist and the polyhedra list slots 0 to 5.
    EXPECT_EQ(variables, "M: matrix (2x3)|a: cpx|b: cpx|L: list (4)|");
}

TEST(UserDataListing, DeletesSelectedLinesAndPicksTheNextList) {
    shelltest::ShellEngine t;
    t.run("newfunc(f,x,x)\nnew(a,1)\nnew(b,2)");
    std::string printed;
    auto print = [&](const std::string& s) { printed += s; };

    std::vector<UserDataLine> variables = listUserVariables(t.engine.stores);
    std::vector<UserDataLine> mixed = variables;
    mixed.push_back(listUserFunctions(t.engine.stores)[0]);
    // Lines "a: cpx" and "f(x)": two Deleted lines, then the function list.
    EXPECT_EQ(deleteUserData(t.engine.stores, mixed, {2, 0}, print), UserDataView::Functions);
    EXPECT_EQ(printed, "Deleted 'a'\r\nDeleted 'f'\r\n");
    EXPECT_EQ(t.run("a\nb"), ">  Error: Unknown Variable 'a'\r\n>  2\r\n");

    printed.clear();
    // An entry removed meanwhile is not deleted twice; none selected shows variables.
    EXPECT_EQ(deleteUserData(t.engine.stores, variables, {0}, print), UserDataView::Variables);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(deleteUserData(t.engine.stores, listUserVariables(t.engine.stores), {}, print), UserDataView::Variables);
    EXPECT_EQ(deleteUserData(t.engine.stores, {}, {}, print), std::nullopt);
    EXPECT_EQ(printed, "");
}

TEST(BatchRequest, FramingAndPathChecks) {
    std::string path;
    std::string message = encodeBatchRequest("/tmp/a b.vxs");
    EXPECT_EQ(message.size(), 4u + 12u);
    EXPECT_EQ(decodeBatchRequest(message, path), RequestState::Complete);
    EXPECT_EQ(path, "/tmp/a b.vxs");
    EXPECT_EQ(decodeBatchRequest(message.substr(0, 3), path), RequestState::Incomplete);
    EXPECT_EQ(decodeBatchRequest(message.substr(0, 10), path), RequestState::Incomplete);
    EXPECT_EQ(decodeBatchRequest(message + "x", path), RequestState::Invalid);
    EXPECT_EQ(decodeBatchRequest(encodeBatchRequest(std::string(5000, 'a')), path), RequestState::Invalid);
    EXPECT_EQ(decodeBatchRequest(std::string("\xff\xff\xff\xff", 4), path), RequestState::Invalid);
    EXPECT_EQ(decodeBatchRequest(encodeBatchRequest(""), path), RequestState::Complete);
    EXPECT_EQ(path, "");

    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("vx_batch_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "ok.vxs") << "1+1";
    EXPECT_TRUE(isRunnableBatchPath((dir / "ok.vxs").string()));
    EXPECT_FALSE(isRunnableBatchPath("ok.vxs"));                       // relative
    EXPECT_FALSE(isRunnableBatchPath(dir.string()));                   // a folder
    EXPECT_FALSE(isRunnableBatchPath((dir / "missing.vxs").string()));  // absent
    EXPECT_FALSE(isRunnableBatchPath(std::string("/tmp/a\0b", 8)));
    EXPECT_FALSE(isRunnableBatchPath(""));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vx
