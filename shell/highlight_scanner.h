#pragma once
// Colouring of the input as the user types: names directly followed by "("
// blue, numbers dark red, comments green, braces and square brackets bold.
// The scanner only computes runs of equal colour; the window applies them.
#include <cstdint>
#include <string_view>
#include <vector>

namespace vx {

enum class HighlightColour : std::uint8_t {
    Text = 1,      // 0, 0, 0
    Function = 2,  // 0, 0, 255
    Comment = 3,   // 0, 128, 0
    Number = 4,    // 128, 0, 0
};

struct Rgb {
    int red, green, blue;
};
Rgb highlightRgb(HighlightColour colour);

struct HighlightRun {
    int start = 0;
    int length = 0;
    HighlightColour colour = HighlightColour::Text;
    bool bold = false;

    bool operator==(const HighlightRun&) const = default;
};

struct HighlightResult {
    std::vector<HighlightRun> runs;  // cover the whole text, in order
    bool endsInComment = false;      // a "/*" is still open at the end
};

// Scans text that may span lines ("\r\n" or "\n"). A comment left open by
// the previous line is continued with startsInComment; that flag is the
// only state that crosses a line break.
HighlightResult scanHighlight(std::u16string_view text, bool startsInComment = false);
HighlightResult scanHighlight(std::string_view text, bool startsInComment = false);

}  // namespace vx
