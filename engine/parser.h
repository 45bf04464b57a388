#pragma once
// Statement splitting, the syntax check and the conversion to postfix.
#include <string>
#include <string_view>
#include <vector>

#include "engine/error_text.h"
#include "engine/expression.h"

namespace vx {

// Limits of one statement's postfix form.
constexpr int kMaxPostfixItems = 2048;
constexpr int kMaxOperatorStack = 2048;
constexpr int kMaxOpenStructures = 1024;

// Cuts the input into statements: comments and blanks removed, a statement
// runs on over line breaks while brackets are open.
std::vector<std::string> splitStatements(std::string_view text);

// One statement of splitStatements and where it lies in the text: from its
// first kept character up to just after its last.
struct StatementSpan {
    std::string statement;
    size_t begin = 0;
    size_t end = 0;
};
std::vector<StatementSpan> splitStatementSpans(std::string_view text);

// 1 when the statement passes; 0 with the first problem in the error text.
int checkStatement(ErrorText& error, std::string_view statement);

// Postfix form of a checked statement (empty for an empty statement).
std::vector<StackItem> convertStatement(std::string_view statement);

// Whether the text is one name as statements spell it: a letter and then
// letters or digits, or the last result's "%".
bool isName(std::string_view text);

// Operator precedence by code (higher binds tighter).
int operatorPrecedence(const char code[2]);

}  // namespace vx
