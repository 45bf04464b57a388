#include "engine/parser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vx {
namespace {

bool isOperatorChar(char c) { return c && std::strchr("^*/+->=<!;", c) != nullptr; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isAlnum(char c) { return isLetter(c) || isDigit(c); }
bool inSet(char c, const char* set) { return c && std::strchr(set, c) != nullptr; }

char at(std::string_view s, size_t p) { return p < s.size() ? s[p] : '\0'; }

// The character starting at byte p as it should appear in a message: a
// whole UTF-8 sequence, or a byte that is not valid UTF-8 as \xHH, so the
// message never carries half a character.
std::string characterAt(std::string_view s, size_t p) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(p);
    size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                    : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    bool whole = length > 0 && p + length <= s.size();
    for (size_t k = 1; whole && k < length; ++k) whole = (byte(p + k) & 0xC0) == 0x80;
    if (whole) return std::string(s.substr(p, length));
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", lead);
    return escaped;
}

// Length of the decimal number starting at p (digits, point, digits,
// exponent with optional sign when digits follow).
size_t numberLength(std::string_view s, size_t p) {
    size_t q = p;
    while (isDigit(at(s, q))) ++q;
    if (at(s, q) == '.') {
        ++q;
        while (isDigit(at(s, q))) ++q;
    }
    if (q > p && (at(s, q) == 'e' || at(s, q) == 'E')) {
        size_t r = q + 1;
        if (at(s, r) == '+' || at(s, r) == '-') ++r;
        if (isDigit(at(s, r))) {
            while (isDigit(at(s, r))) ++r;
            q = r;
        }
    }
    return q - p;
}

// Minus is unary at the start and after these characters.
bool minusIsUnary(std::string_view s, size_t p) {
    return p == 0 || inSet(s[p - 1], "({[,^>*/-+=<");
}

// One left-to-right pass of the shunting-yard conversion. With `problem`
// set, it also reports statements it cannot convert soundly (crossed
// brackets, stray commas, oversized postfix forms) instead of converting.
class Converter {
public:
    explicit Converter(std::string_view s) : s_(s) {}

    std::vector<StackItem> run(std::string* problem) {
        problem_ = problem;
        size_t p = 0;
        while (p < s_.size() && !failed_) p = step(p);
        while (!ops_.empty() && !failed_) {
            if (ops_.back().kind == kMarker && problem_) {
                fail("Error: Unexpected '" + std::string(1, opens_.empty() ? '(' : opens_.back()) + "'");
                break;
            }
            emit(std::move(ops_.back()));
            ops_.pop_back();
        }
        if (!failed_ && problem_ && !opens_.empty())
            fail(std::string("Error: Unexpected '") + (opens_.back() == 'F' ? '(' : opens_.back()) + "'");
        return std::move(out_);
    }

private:
    void fail(const std::string& message) {
        if (problem_ && !failed_) *problem_ = message;
        failed_ = problem_ != nullptr;
    }
    void emit(StackItem item) {
        if (out_.size() >= kMaxPostfixItems) return fail("Error: Statement Too Long");
        out_.push_back(std::move(item));
    }
    void push(StackItem item) {
        if (ops_.size() >= kMaxOperatorStack) return fail("Error: Statement Too Long");
        ops_.push_back(std::move(item));
    }
    void pushMarker() {
        StackItem m;
        m.kind = kMarker;
        push(std::move(m));
    }
    void openStructure(const char* name, int columns) {
        if (structures_.size() >= kMaxOpenStructures) return fail("Error: Statement Too Long");
        StackItem f;
        f.kind = kFunction;
        f.name = name;
        f.count = 1;
        f.columns = columns;
        structures_.push_back(ops_.size());
        push(std::move(f));
    }
    void popToMarker() {
        while (!ops_.empty() && ops_.back().kind != kMarker) {
            emit(std::move(ops_.back()));
            ops_.pop_back();
        }
    }
    // Closing bracket: the marker goes, and a call or literal is complete.
    void close(char closer, const char* openers) {
        if (problem_) {
            if (opens_.empty() || !inSet(opens_.back(), openers))
                return fail(std::string("Error: Mismatched '") + closer + "'");
            opens_.pop_back();
        }
        popToMarker();
        if (!ops_.empty()) ops_.pop_back();
        if (!ops_.empty() && ops_.back().kind == kFunction) {
            emit(std::move(ops_.back()));
            ops_.pop_back();
            if (!structures_.empty()) structures_.pop_back();
        }
    }
    StackItem* innermost() {
        if (structures_.empty() || structures_.back() >= ops_.size()) return nullptr;
        return &ops_[structures_.back()];
    }

    size_t step(size_t p) {
        char c = s_[p];
        bool unaryMinus = c == '-' && minusIsUnary(s_, p);
        if (inSet(c, "!*+/;<=>^") || (c == '-' && !unaryMinus)) {
            StackItem op;
            op.kind = kOperator;
            op.code[0] = c;
            char n = at(s_, p + 1);
            if ((c == '=' && inSet(n, "=<>")) || (c == '<' && inSet(n, "=>")) ||
                (c == '>' && inSet(n, "=<")) || (c == '!' && n == '=')) {
                op.code[1] = n;
                ++p;
            }
            op.count = (op.code[1] == 0 && (c == '!' || c == ';')) ? 1 : 2;
            int precedence = operatorPrecedence(op.code);
            while (!ops_.empty() && ops_.back().kind != kMarker &&
                   operatorPrecedence(ops_.back().code) >= precedence) {
                emit(std::move(ops_.back()));
                ops_.pop_back();
            }
            push(std::move(op));
        } else if (unaryMinus) {
            StackItem op;
            op.kind = kOperator;
            op.code[0] = '_';
            op.count = 1;
            push(std::move(op));
        } else if (c == '(') {
            if (problem_) opens_.push_back(callPending_ ? 'F' : '(');
            pushMarker();
        } else if (c == ')') {
            close(')', "(F");
        } else if (c == '}') {
            close('}', "{");
        } else if (c == ',') {
            if (problem_ && (opens_.empty() || opens_.back() == '('))
                return fail("Error: Unexpected ','"), p + 1;
            popToMarker();
            if (StackItem* s = innermost()) ++s->count;
        } else if (c == '{') {
            if (problem_) opens_.push_back('{');
            openStructure("liststruct", 0);
            pushMarker();
        } else if (c == '[') {
            if (at(s_, p + 1) == '[') ++p;
            if (problem_) opens_.push_back('[');
            openStructure("matstruct", 0);
            pushMarker();
        } else if (c == ']') {
            if (at(s_, p + 1) == '[') {
                ++p;
                if (problem_ && (opens_.empty() || opens_.back() != '['))
                    return fail("Error: Mismatched ']'"), p + 1;
                popToMarker();
                if (StackItem* s = innermost()) {
                    if (s->columns == 0) s->columns = s->count;
                    ++s->count;
                }
            } else {
                if (at(s_, p + 1) == ']') ++p;
                if (StackItem* s = innermost(); s && s->columns == 0) s->columns = s->count;
                close(']', "[");
            }
        }
        callPending_ = false;
        if (failed_) return s_.size();

        c = s_[p];
        if (isDigit(c) || c == '.') {
            size_t len = numberLength(s_, p);
            if (len == 0) return p + 1;  // a lone '.' is refused by the check
            std::string text(s_.substr(p, len));
            StackItem v;
            v.kind = kLiteral;
            v.code[0] = '#';
            double x = std::strtod(text.c_str(), nullptr);
            p += len;
            if (at(s_, p) == 'i' || at(s_, p) == 'I') {
                v.value = Complex{0.0, x};
                ++p;
            } else {
                v.value = Complex{x, 0.0};
            }
            emit(std::move(v));
            return p;
        }
        if (isLetter(c) || c == '%') {
            size_t q = p + 1;
            while (isAlnum(at(s_, q))) ++q;
            StackItem n;
            n.name = std::string(s_.substr(p, q - p));
            if (at(s_, q) == '(') {
                n.kind = kFunction;
                n.count = 1;
                if (structures_.size() >= kMaxOpenStructures) {
                    fail("Error: Statement Too Long");
                    return s_.size();
                }
                structures_.push_back(ops_.size());
                push(std::move(n));
                callPending_ = true;
            } else {
                n.kind = kVariable;
                emit(std::move(n));
            }
            return q;
        }
        return p + 1;
    }

    std::string_view s_;
    std::string* problem_ = nullptr;
    bool failed_ = false;
    bool callPending_ = false;
    std::vector<StackItem> out_;
    std::vector<StackItem> ops_;
    std::vector<size_t> structures_;
    std::vector<char> opens_;  // open brackets: '(' group, 'F' call, '{', '['
};

}  // namespace

bool isName(std::string_view text) {
    if (text == "%") return true;
    if (text.empty() || !isLetter(text.front())) return false;
    for (char c : text)
        if (!isAlnum(c)) return false;
    return true;
}

int operatorPrecedence(const char code[2]) {
    if (code[1] != 0) return 0;
    switch (code[0]) {
        case '!': return 7;
        case '^': return 6;
        case '_': return 5;
        case '/': return 4;
        case '*': return 3;
        case '-': return 2;
        case '+': return 1;
        default: return 0;
    }
}

std::vector<StatementSpan> splitStatementSpans(std::string_view text) {
    std::vector<StatementSpan> statements;
    StatementSpan current;
    int depth = 0;
    bool inComment = false;
    for (size_t p = 0; p < text.size(); ++p) {
        char c = text[p];
        if (inComment) {
            if (c == '*' && at(text, p + 1) == '/') {
                inComment = false;
                ++p;
            }
            continue;
        }
        if (c == '/' && at(text, p + 1) == '*') {
            inComment = true;
            ++p;
            continue;
        }
        if (c == '(' || c == '[' || c == '{') ++depth;
        if (c == ')' || c == ']' || c == '}') --depth;
        if (c == ' ' || c == '\t') continue;
        if (c != '\r' && c != '\n') {
            if (current.statement.empty()) current.begin = p;
            current.statement += c;
            current.end = p + 1;
            continue;
        }
        if (current.statement.empty()) continue;
        char next = p + 1 < text.size() ? text[p + 1] : '\r';
        if (depth == 0 && next != '\r' && next != '\n') {
            statements.push_back(std::move(current));
            current = {};
        }
    }
    if (!current.statement.empty()) statements.push_back(std::move(current));
    return statements;
}

std::vector<std::string> splitStatements(std::string_view text) {
    std::vector<std::string> statements;
    for (StatementSpan& s : splitStatementSpans(text)) statements.push_back(std::move(s.statement));
    return statements;
}

int checkStatement(ErrorText& error, std::string_view s) {
    if (s.empty()) {
        error.fail("Error: Empty String");
        return 0;
    }
    char first = s.front();
    if ((isOperatorChar(first) && first != '-') || inSet(first, ",])}!;=")) {
        error.fail("Error: Unexpected '%c' at line start", first);
        return 0;
    }
    char last = s.back();
    if ((isOperatorChar(last) && last != '!' && last != ';') || inSet(last, ",[({=")) {
        error.fail("Error: Unexpected '%c' at line end", last);
        return 0;
    }
    for (size_t p = 0; p < s.size(); ++p) {
        char c = s[p];
        if (!(isOperatorChar(c) || isAlnum(c) || inSet(c, "()[]{},=%.|!><"))) {
            error.fail("Error: Invalid Character '%s'", characterAt(s, p).c_str());
            return 0;
        }
    }
    int round = 0, curly = 0, square = 0;
    for (char c : s) {
        round += (c == '(') - (c == ')');
        curly += (c == '{') - (c == '}');
        square += (c == '[') - (c == ']');
        if (round < 0) return error.fail("Error: Unexpected ')'"), 0;
        if (curly < 0) return error.fail("Error: Unexpected '}'"), 0;
        if (square < 0) return error.fail("Error: Unexpected ']'"), 0;
    }
    if (round > 0) return error.fail("Error: Unexpected '('"), 0;
    if (curly > 0) return error.fail("Error: Unexpected '{'"), 0;
    if (square > 0) return error.fail("Error: Unexpected '['"), 0;

    // Successor checks, one character kind at a time in this order.
    const char* afterOpenOrOperator = "])},+*/^=";
    const char* afterClose = ")]},!=^*/+->=<;";  // also any operator character
    for (size_t p = 0; p < s.size(); ++p)
        if (s[p] == '.' && p + 1 == s.size()) return error.fail("Error: Unexpected '.' at end of string"), 0;
    for (size_t p = 0; p + 1 < s.size(); ++p)
        if (s[p] == '.' && !isDigit(s[p + 1])) return error.fail("Error: Unexpected '%c' after '.'", s[p + 1]), 0;
    struct Rule {
        char c;
        bool mustBeIn;  // the successor must (or must not) be in the set
        const char* set;
    };
    const Rule rules[] = {
        {'(', false, afterOpenOrOperator}, {'{', false, afterOpenOrOperator},
        {'[', false, afterOpenOrOperator}, {'%', true, afterClose},
        {')', true, afterClose},           {'}', true, afterClose},
        {']', true, nullptr},              {',', false, afterOpenOrOperator},
        {'*', false, afterOpenOrOperator}, {'/', false, afterOpenOrOperator},
        {'+', false, afterOpenOrOperator}, {'-', false, afterOpenOrOperator},
    };
    for (const Rule& rule : rules) {
        for (size_t p = 0; p + 1 < s.size(); ++p) {
            if (s[p] != rule.c) continue;
            char n = s[p + 1];
            bool ok;
            if (rule.c == ']')
                ok = inSet(n, afterClose) || n == '[';
            else
                ok = inSet(n, rule.set) == rule.mustBeIn;
            if (ok) continue;
            if (rule.c == '%')
                error.fail("Error: Unexpected '%c' after '%c'", n, '%');
            else
                error.fail("Error: Unexpected '%c' after '%c'", n, rule.c);
            return 0;
        }
    }
    // Statements the conversion cannot handle soundly.
    std::string problem;
    Converter(s).run(&problem);
    if (!problem.empty()) {
        error.set(problem);
        return 0;
    }
    return 1;
}

std::vector<StackItem> convertStatement(std::string_view statement) {
    return Converter(statement).run(nullptr);
}

}  // namespace vx
