#include "cli/interactive.h"

#include <iostream>
#include <string>

#include "engine/session.h"

#ifdef VX_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

namespace vx {

int openBracketDepth(const std::string& text) {
    int depth = 0;
    bool inComment = false;
    for (size_t k = 0; k < text.size(); ++k) {
        char c = text[k];
        char next = k + 1 < text.size() ? text[k + 1] : '\0';
        if (inComment) {
            if (c == '*' && next == '/') inComment = false, ++k;
            continue;
        }
        if (c == '/' && next == '*') {
            inComment = true;
            ++k;
            continue;
        }
        if (c == '(' || c == '[' || c == '{') ++depth;
        if (c == ')' || c == ']' || c == '}') --depth;
    }
    return inComment ? 1 : depth;
}

static bool readLine(const char* prompt, std::string& line) {
#ifdef VX_HAVE_LIBEDIT
    char* text = readline(prompt);
    if (!text) return false;
    line = text;
    if (!line.empty()) add_history(text);
    free(text);
    return true;
#else
    std::cout << prompt << std::flush;
    return static_cast<bool>(std::getline(std::cin, line));
#endif
}

void runInteractive(Engine& engine) {
    std::string line;
    while (readLine("vexalo> ", line)) {
        std::string statement = line;
        while (openBracketDepth(statement) > 0 && readLine("   ...> ", line)) statement += "\n" + line;
        if (statement.find_first_not_of(" \t") == std::string::npos) continue;
        submitText(engine, statement);
        std::cout << std::flush;
    }
    std::cout << "\n";
}

}  // namespace vx
