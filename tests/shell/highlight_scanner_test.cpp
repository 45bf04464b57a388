// The input pane's colouring: runs of colour and boldness over the text.
#include <gtest/gtest.h>

#include <string>

#include "shell/highlight_scanner.h"

namespace vx {
namespace {

// Renders the runs as text: each run as [c|text] with c the colour number,
// and a "b" after the number for bold.
std::string render(std::string_view text, bool startsInComment = false) {
    HighlightResult r = scanHighlight(text, startsInComment);
    std::string out;
    for (const HighlightRun& run : r.runs) {
        out += "[" + std::to_string(static_cast<int>(run.colour)) + (run.bold ? "b" : "") + "|";
        out += text.substr(static_cast<size_t>(run.start), static_cast<size_t>(run.length));
        out += "]";
    }
    return out;
}

TEST(HighlightScanner, ColoursNamesNumbersCommentsAndBrackets) {
    struct Case {
        const char* text;
        const char* runs;
    } cases[] = {
        {"sin(x)+2.5", "[2|sin][1|(x)+][4|2.5]"},
        {"f (x)", "[1|f (x)]"},
        {"a/*{b}*/[c]", "[1|a][3|/*{b}*/][1b|[][1|c][1b|]]"},
        {"1+/*open", "[4|1][1|+][3|/*open]"},
        {"a\\b", "[1|a\\b]"},
        {"x2(1)", "[2|x2][1|(][4|1][1|)]"},
        {"3.14*.5", "[4|3.14][1|*.][4|5]"},
        {"{1,2}", "[1b|{][4|1][1|,][4|2][1b|}]"},
        {"2x", "[4|2][1|x]"},
        {"sum(k,k,1,10)", "[2|sum][1|(k,k,][4|1][1|,][4|10][1|)]"},
        {"/*/x", "[3|/*/][1|x]"},
        {"ab\xe9(1)", "[1|ab\xe9(][4|1][1|)]"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(render(c.text), c.runs) << c.text;
}

TEST(HighlightScanner, CommentsCrossLinesAndOnlyThey) {
    // Whole text with CR LF, and line by line with the carried flag.
    EXPECT_EQ(render("a/*x\r\ny*/2"), "[1|a][3|/*x\r\ny*/][4|2]");
    EXPECT_EQ(render("12\r\nab(1)"), "[4|12][1|\r\n][2|ab][1|(][4|1][1|)]");

    HighlightResult first = scanHighlight(std::string_view("a/*x"));
    EXPECT_TRUE(first.endsInComment);
    EXPECT_EQ(render("y*/2", true), "[3|y*/][4|2]");
    EXPECT_FALSE(scanHighlight(std::string_view("y*/2"), true).endsInComment);
    EXPECT_EQ(render("{still}", true), "[3|{still}]");
    EXPECT_FALSE(scanHighlight(std::string_view("12"), false).endsInComment);
}

TEST(HighlightScanner, WideTextMatchesBytes) {
    std::u16string wide = u"sin(x)+2.5 /*\u00e9*/";
    HighlightResult r = scanHighlight(std::u16string_view(wide));
    ASSERT_EQ(r.runs.size(), 5u);
    EXPECT_EQ(r.runs[0], (HighlightRun{0, 3, HighlightColour::Function, false}));
    EXPECT_EQ(r.runs[3], (HighlightRun{10, 1, HighlightColour::Text, false}));
    EXPECT_EQ(r.runs[4], (HighlightRun{11, 5, HighlightColour::Comment, false}));
}

}  // namespace
}  // namespace vx
