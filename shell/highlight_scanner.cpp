#include "shell/highlight_scanner.h"

#include <string>

namespace vx {
namespace {

struct Attribute {
    HighlightColour colour = HighlightColour::Text;
    bool bold = false;
    bool operator==(const Attribute&) const = default;
};

// ASCII only: a character above 127 is neither letter nor digit.
bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool isLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isBracket(char32_t c) { return c == '{' || c == '}' || c == '[' || c == ']'; }

// The scan works like a writer that copies pending characters in the
// current colour whenever a token ends: a word is coloured only when its
// end shows whether "(" follows, a number from its first digit on.
template <typename CharT>
HighlightResult scan(std::basic_string_view<CharT> text, bool startsInComment) {
    const int n = static_cast<int>(text.size());
    std::vector<Attribute> attributes(static_cast<size_t>(n));
    HighlightColour colour = startsInComment ? HighlightColour::Comment : HighlightColour::Text;
    bool inNumber = false, inWord = false, inComment = startsInComment;
    int pending = 0;
    auto copyUpTo = [&](int last) {
        for (; pending <= last; ++pending) attributes[static_cast<size_t>(pending)] = {colour, false};
    };

    for (int i = 0; i < n; ++i) {
        const char32_t c = static_cast<char32_t>(text[static_cast<size_t>(i)]);
        const char32_t d = i + 1 < n ? static_cast<char32_t>(text[static_cast<size_t>(i) + 1]) : 0;
        bool skipNext = false;
        if (inNumber && !isDigit(c) && c != '.') {
            copyUpTo(i - 1);
            pending = i;
            colour = HighlightColour::Text;
            inNumber = false;
        }
        if (inWord) {
            if (c == '(') {
                colour = HighlightColour::Function;
                copyUpTo(i - 1);
                pending = i;
                colour = HighlightColour::Text;
                inWord = false;
            } else if (!isLetter(c) && !isDigit(c)) {
                copyUpTo(i - 1);
                pending = i;
                inWord = false;
            }
        }
        if (inComment && c == '*' && d == '/') {
            copyUpTo(i + 1);
            pending = i + 2;
            skipNext = true;
            colour = HighlightColour::Text;
            inComment = false;
        }
        if (c == '\\') {
            copyUpTo(i - 1);
            attributes[static_cast<size_t>(i)] = {colour, false};
            pending = i + 1;
        }
        if (isBracket(c)) {
            copyUpTo(i - 1);
            attributes[static_cast<size_t>(i)] = {colour, !inComment};
            pending = i + 1;
        }
        if (c == '\r' && d == '\n') {
            copyUpTo(i - 1);
            attributes[static_cast<size_t>(i)] = attributes[static_cast<size_t>(i) + 1] = {colour, false};
            pending = i + 2;
            skipNext = true;
        }
        if (!inComment) {
            if (c == '/' && d == '*') {
                copyUpTo(i - 1);
                colour = HighlightColour::Comment;
                pending = i;
                inComment = true;
            } else if (!inWord) {
                if (isLetter(c)) {
                    copyUpTo(i - 1);
                    pending = i;
                    inWord = true;
                } else if (isDigit(c) && !inNumber) {
                    copyUpTo(i - 1);
                    colour = HighlightColour::Number;
                    pending = i;
                    inNumber = true;
                }
            }
        }
        if (skipNext) ++i;
    }
    if (pending < n) copyUpTo(n - 1);

    HighlightResult result;
    result.endsInComment = inComment;
    for (int i = 0; i < n; ++i) {
        const Attribute& a = attributes[static_cast<size_t>(i)];
        if (!result.runs.empty()) {
            HighlightRun& last = result.runs.back();
            if (last.colour == a.colour && last.bold == a.bold) {
                ++last.length;
                continue;
            }
        }
        result.runs.push_back({i, 1, a.colour, a.bold});
    }
    return result;
}

}  // namespace

Rgb highlightRgb(HighlightColour colour) {
    switch (colour) {
        case HighlightColour::Function: return {0, 0, 255};
        case HighlightColour::Comment: return {0, 128, 0};
        case HighlightColour::Number: return {128, 0, 0};
        default: return {0, 0, 0};
    }
}

HighlightResult scanHighlight(std::u16string_view text, bool startsInComment) { return scan(text, startsInComment); }

HighlightResult scanHighlight(std::string_view text, bool startsInComment) {
    // Bytes above 127 must stay above 127, not turn negative.
    std::u16string wide;
    wide.reserve(text.size());
    for (char c : text) wide.push_back(static_cast<unsigned char>(c));
    return scan(std::u16string_view(wide), startsInComment);
}

}  // namespace vx
