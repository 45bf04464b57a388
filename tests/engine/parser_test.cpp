#include <gtest/gtest.h>

#include "engine/parser.h"
#include "engine/session.h"

namespace vx {
namespace {

// Postfix rendering: literals as numbers, operators by code, calls as
// name/count (matstruct also /columns), variables by name.
std::string postfix(const std::string& statement) {
    std::string out;
    for (const StackItem& item : convertStatement(statement)) {
        if (!out.empty()) out += ' ';
        switch (item.kind) {
            case kLiteral: {
                char buf[64];
                if (item.value.im != 0)
                    std::snprintf(buf, sizeof buf, "%gi", item.value.im);
                else
                    std::snprintf(buf, sizeof buf, "%g", item.value.re);
                out += buf;
                break;
            }
            case kOperator:
                out += item.code[0];
                if (item.code[1]) out += item.code[1];
                break;
            case kFunction:
                out += item.name + "/" + std::to_string(item.count);
                if (item.name == "matstruct") out += "/" + std::to_string(item.columns);
                break;
            case kVariable: out += item.name; break;
            default: out += "?"; break;
        }
    }
    return out;
}

TEST(Parser, ConvertsToPostfixWithPrecedenceAndStructures) {
    struct Case {
        const char* statement;
        const char* expected;
    } cases[] = {
        {"-2^2", "2 2 ^ _"},
        {"2^-1", "2 1 _ ^"},
        {"-2*3", "2 _ 3 *"},
        {"3!+1", "3 ! 1 +"},
        {"3!=6", "3 6 !="},
        {"1e-5", "1e-05"},
        {"e-5", "e 5 -"},
        {"2x", "2 x"},
        {"f(1,g(2,3),4)", "1 2 3 g/2 4 f/3"},
        {"[[1,2][3,4]]", "1 2 3 4 matstruct/4/2"},
        {"[1,2][3,4]", "1 2 3 4 matstruct/4/2"},
        {"[1,2,3]", "1 2 3 matstruct/3/3"},
        {"{1,2}", "1 2 liststruct/2"},
        {"a-b+c", "a b - c +"},
        {"a+b-c", "a b c - +"},
        {"a/b*c", "a b / c *"},
        {"a*b/c", "a b c / *"},
        {"a-b-c", "a b - c -"},
        {"2^3^2", "2 3 ^ 2 ^"},
        {"a<=b", "a b <="},
        {"a=<b", "a b =<"},
        {"a<>b", "a b <>"},
        {"a><b", "a b ><"},
        {"a=>b", "a b =>"},
        {"a==b", "a b =="},
        {"a;b", "a b ;"},
        {"3i+2.5I", "3i 2.5i +"},
        {".5", "0.5"},
        {"|x|", "x"},
        {"%*3", "% 3 *"},
    };
    for (const Case& c : cases) EXPECT_EQ(postfix(c.statement), c.expected) << c.statement;
}

TEST(Parser, CheckReportsTheFirstProblem) {
    struct Case {
        const char* statement;
        const char* message;  // nullptr: passes
    } cases[] = {
        {"", "Error: Empty String"},
        {"+1", "Error: Unexpected '+' at line start"},
        {",1", "Error: Unexpected ',' at line start"},
        {"=1", "Error: Unexpected '=' at line start"},
        {"!1", "Error: Unexpected '!' at line start"},
        {"1+", "Error: Unexpected '+' at line end"},
        {"f(", "Error: Unexpected '(' at line end"},
        {"1=", "Error: Unexpected '=' at line end"},
        {"x!", nullptr},
        {"x;", nullptr},
        {"-x", nullptr},
        {"1#2", "Error: Invalid Character '#'"},
        {"1&2", "Error: Invalid Character '&'"},
        {"1)", "Error: Unexpected ')'"},
        {"(1", "Error: Unexpected '('"},
        {"{1", "Error: Unexpected '{'"},
        {"1}", "Error: Unexpected '}'"},
        {"[1", "Error: Unexpected '['"},
        {"1]", "Error: Unexpected ']'"},
        {"2.", "Error: Unexpected '.' at end of string"},
        {"2.x", "Error: Unexpected 'x' after '.'"},
        {"{}", "Error: Unexpected '}' after '{'"},
        {"f()", "Error: Unexpected ')' after '('"},
        {"[]", "Error: Unexpected ']' after '['"},
        {"(,1)", "Error: Unexpected ',' after '('"},
        {"%2", "Error: Unexpected '2' after '%'"},
        {"(2)(3)", "Error: Unexpected '(' after ')'"},
        {"a(b)(c)", "Error: Unexpected '(' after ')'"},
        {"{1}2", "Error: Unexpected '2' after '}'"},
        {"[1]2", "Error: Unexpected '2' after ']'"},
        {"[1][2]", nullptr},
        {"1,,2", "Error: Unexpected ',' after ','"},
        {"{1,,2}", "Error: Unexpected ',' after ','"},
        {"2*+3", "Error: Unexpected '+' after '*'"},
        {"2/*3", "Error: Unexpected '*' after '/'"},
        {"2+*3", "Error: Unexpected '*' after '+'"},
        {"2-^3", "Error: Unexpected '^' after '-'"},
        {"2*-3", nullptr},
        {"2^-1", nullptr},
        // Statements the conversion cannot handle soundly.
        {"([1)]", "Error: Mismatched ')'"},
        {"{(1})", "Error: Mismatched '}'"},
        {"[(1])", "Error: Mismatched ']'"},
        {"(1,2)", "Error: Unexpected ','"},
        {"1,2", "Error: Unexpected ','"},
        {"[1,[2]]", "Error: Unexpected '['"},
        {"f(1,2)", nullptr},
        {"[[1,2][3,4]]", nullptr},
    };
    for (const Case& c : cases) {
        ErrorText error;
        int ok = checkStatement(error, c.statement);
        if (c.message) {
            EXPECT_EQ(ok, 0) << c.statement;
            EXPECT_EQ(error.text(), c.message) << c.statement;
        } else {
            EXPECT_EQ(ok, 1) << c.statement << ": " << error.text();
        }
    }
}

TEST(Parser, CheckRefusesNonAsciiAndOversizedStatements) {
    ErrorText error;
    EXPECT_EQ(checkStatement(error, "1+\xC3\xA9"), 0);
    EXPECT_EQ(error.text(), "Error: Invalid Character '\xC3\xA9'");  // the whole character
    std::string big = "1";
    for (int k = 0; k < 1100; ++k) big += "+1";
    EXPECT_EQ(checkStatement(error, big), 0);
    EXPECT_EQ(error.text(), "Error: Statement Too Long");
    std::string deep(2100, '(');
    deep += "1" + std::string(2100, ')');
    EXPECT_EQ(checkStatement(error, deep), 0);
    EXPECT_EQ(error.text(), "Error: Statement Too Long");
    std::string calls;
    for (int k = 0; k < 1100; ++k) calls += "f(";
    calls += "1" + std::string(1100, ')');
    EXPECT_EQ(checkStatement(error, calls), 0);
    EXPECT_EQ(error.text(), "Error: Statement Too Long");
    std::string nested(1000, '(');
    nested += "1" + std::string(1000, ')');
    EXPECT_EQ(checkStatement(error, nested), 1);
}

TEST(Parser, SplitsStatementsAcrossLinesCommentsAndBlanks) {
    struct Case {
        const char* text;
        std::vector<std::string> statements;
    } cases[] = {
        {"1+1\n2*3", {"1+1", "2*3"}},
        {"1+1\r\n2*3\r\n", {"1+1", "2*3"}},
        {"a = (1 +\n2)", {"a=(1+2)"}},
        {"f(1,\r\n  2)\r\nx", {"f(1,2)", "x"}},
        {"/* a comment\nover lines */ 1\n2", {"1", "2"}},
        {"1 /* inline */ + 2", {"1+2"}},
        {"sin x\n\n\n2 3", {"sinx", "23"}},
        {"\n\n", {}},
        {"1\n\r\n\t\n2", {"1", "2"}},
        {"/* never closed\n1+1", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitStatements(c.text), c.statements) << c.text;
}

// The text the input pane selects when a submission fails its check.
TEST(Parser, FirstFailingCheckGivesTheStatementsPlace) {
    struct Case {
        const char* text;
        const char* failing;  // nullptr: every statement passes
    } cases[] = {
        {"1+1\n2*", "2*"},
        {"  *x\n1", "*x"},
        {"1\nf(1,\r\n  2*)\n3", "f(1,\r\n  2*)"},
        {"sin( /* open */\n\n1", "sin( /* open */\n\n1"},
        {"1+1\n2*3", nullptr},
    };
    for (const Case& c : cases) {
        std::string_view text(c.text);
        std::optional<StatementSpan> span = firstFailingCheck(text);
        ASSERT_EQ(span.has_value(), c.failing != nullptr) << c.text;
        if (span) {
            EXPECT_EQ(text.substr(span->begin, span->end - span->begin), c.failing) << c.text;
        }
    }
}

}  // namespace
}  // namespace vx
