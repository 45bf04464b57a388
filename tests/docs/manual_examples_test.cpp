// The manual's reference tables run as shown: every Example cell is
// submitted, statement by statement (one session per table, rows in order),
// and its answers must be the Result cell's `...` fragments. Every built-in
// has an example of its own, and a call form with its meaning.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/builtin_table.h"
#include "engine/call_forms.h"
#include "engine/session.h"
#include "mathlib/elementary.h"
#include "shell/standard_library.h"

namespace {

struct Row {
    int line;
    std::string example, result;
};

// Splits a table row at the bars outside `code`.
std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::string cell;
    bool code = false;
    for (size_t k = 1; k < line.size(); ++k) {
        char c = line[k];
        if (c == '`') code = !code;
        if (c == '|' && !code) {
            out.push_back(cell);
            cell.clear();
        } else {
            cell += c;
        }
    }
    for (std::string& c : out) c = c.substr(c.find_first_not_of(' '), c.find_last_not_of(' ') - c.find_first_not_of(' ') + 1);
    return out;
}

// Tables with Example and Result columns, each a list of rows.
std::vector<std::vector<Row>> exampleTables(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::vector<Row>> tables;
    std::string line;
    int number = 0;
    int example = -1, result = -1;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] != '|') {
            example = result = -1;
            continue;
        }
        std::vector<std::string> c = cells(line);
        if (example < 0 && result < 0 && !line.starts_with("|---")) {
            for (size_t k = 0; k < c.size(); ++k) {
                if (c[k] == "Example") example = static_cast<int>(k);
                if (c[k] == "Result") result = static_cast<int>(k);
            }
            if (example >= 0 && result >= 0) tables.emplace_back();
            if (example < 0 || result < 0) example = result = -2;  // not a table of examples
            continue;
        }
        if (example < 0 || line.starts_with("|---")) continue;
        if (static_cast<int>(c.size()) <= std::max(example, result)) {
            ADD_FAILURE() << path << ":" << number << ": too few cells";
            continue;
        }
        tables.back().push_back({number, c[example], c[result]});
    }
    return tables;
}

std::vector<std::string> codeFragments(const std::string& cell) {
    std::vector<std::string> out;
    for (size_t open = cell.find('`'); open != std::string::npos; open = cell.find('`', open + 1)) {
        size_t close = cell.find('`', open + 1);
        if (close == std::string::npos) break;
        out.push_back(cell.substr(open + 1, close - open - 1));
        open = close;
    }
    return out;
}

class LinesSink : public vx::OutputSink {
public:
    void appendOutput(std::string_view text) override { buffer += text; }
    void setOutputColour(std::uint32_t) override {}
    std::vector<std::string> takeAnswers() {
        std::vector<std::string> answers;
        std::istringstream lines(buffer);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            answers.push_back(line.starts_with(">  ") ? line.substr(3) : "<not an answer> " + line);
        }
        buffer.clear();
        return answers;
    }
    std::string buffer;
};

bool nearlyEqual(const std::string& got, const std::string& shown) {
    char* end = nullptr;
    double a = std::strtod(got.c_str(), &end);
    if (end == got.c_str() || *end) return false;
    double b = std::strtod(shown.c_str(), &end);
    if (end == shown.c_str() || *end) return false;
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b));
}

TEST(ManualExamples, RunAsShownAndCoverEveryBuiltin) {
    const std::string manual = std::string(VX_SOURCE_DIR) + "/docs/manual.md";
    vx::installStandardLibrary();
    std::set<std::string> called;
    const std::regex call("([a-z][a-z0-9]*)\\(");
    std::vector<std::vector<Row>> tables = exampleTables(manual);
    ASSERT_GE(tables.size(), 10u);
    for (const std::vector<Row>& table : tables) {
        vx::Engine engine;
        vx::startEngine(engine);
        LinesSink sink;
        engine.output = &sink;
        for (const Row& row : table) {
            std::vector<std::string> statements = codeFragments(row.example), shown = codeFragments(row.result);
            std::string where = manual + ":" + std::to_string(row.line);
            ASSERT_FALSE(statements.empty()) << where << ": no example";
            std::vector<std::string> answers;
            for (const std::string& statement : statements) {
                for (std::sregex_iterator m(statement.begin(), statement.end(), call), end; m != end; ++m)
                    called.insert((*m)[1]);
                vx::submitText(engine, statement);
                for (std::string& a : sink.takeAnswers()) answers.push_back(std::move(a));
            }
            if (row.result == "prints nothing") {
                EXPECT_TRUE(answers.empty()) << where;
                continue;
            }
            ASSERT_FALSE(shown.empty()) << where << ": the result shows no answer";
            std::string all;
            for (const std::string& a : answers) all += "\n  " + a;
            ASSERT_EQ(answers.size(), shown.size()) << where << ": the answers are" << all;
            bool example = row.result.starts_with("e.g."), about = row.result.starts_with("about");
            for (size_t k = 0; k < shown.size(); ++k) {
                if (example) {
                    EXPECT_EQ(answers[k].find("Error"), std::string::npos) << where;
                } else if (about) {
                    EXPECT_TRUE(nearlyEqual(answers[k], shown[k])) << where << ": " << answers[k];
                } else {
                    EXPECT_EQ(answers[k], shown[k]) << where;
                }
            }
        }
    }
    for (const std::string& name : vx::builtinNames())
        EXPECT_TRUE(called.count(name)) << name << " has no example in " << manual;
}

// The call tips come from the call-form table; the manual's reference rows
// (a call form in the first cell, its meaning in the second) must say the
// same, row for row, and every built-in and elementary function has one.
TEST(ManualExamples, ReferenceRowsAreTheCallFormTable) {
    const std::string manual = std::string(VX_SOURCE_DIR) + "/docs/manual.md";
    const std::regex form("([a-z][a-z0-9]*)\\(.*\\)");
    std::vector<std::string> documented, tabled;
    std::ifstream in(manual);
    bool reference = false, header = true;
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("|")) {
            header = true;
            continue;
        }
        std::vector<std::string> c = cells(line);
        if (header) {
            reference = c.size() >= 2 && (c[0] == "Function" || c[0] == "Statement" || c[0] == "Command" || c[0] == "Name");
            header = false;
            continue;
        }
        if (!reference || line.starts_with("|---")) continue;
        std::string meaning = std::regex_replace(c[1], std::regex("`"), "");
        for (const std::string& code : codeFragments(c[0])) {
            std::smatch m;
            if (std::regex_match(code, m, form)) documented.push_back(m[1].str() + " | " + code + " | " + meaning);
        }
    }
    std::set<std::string> named;
    for (const vx::CallForm& f : vx::callFormTable()) {
        tabled.push_back(std::string(f.name) + " | " + std::string(f.form) + " | " + std::string(f.meaning));
        named.insert(std::string(f.name));
    }
    EXPECT_EQ(documented, tabled);
    for (const std::string& name : vx::builtinNames()) EXPECT_TRUE(named.count(name)) << name << " has no call form";
    for (const vx::ElementaryEntry& e : vx::elementaryTable())
        EXPECT_TRUE(named.count(std::string(e.name))) << e.name << " has no call form";
}

}  // namespace
