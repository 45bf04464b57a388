#pragma once
// Pixel arithmetic of the panes inside the tab area: the output pane above,
// a 5-pixel splitter, the input pane below, and the plot area that takes
// the place of all three on a plot tab.
namespace vx {

struct PaneRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PaneRect&) const = default;
};

struct PaneLayout {
    PaneRect output, splitter, input, plot;
    int inputHeight = 0;  // after clamping
};

constexpr int kMinInputHeight = 64;
constexpr int kStartInputHeight = 64;

// tabWidth and tabHeight are the tab area's client size. The input height
// is kept at least 64 and at most tabHeight - 94, so that the output pane
// keeps at least 59 pixels.
PaneLayout layoutPanes(int tabWidth, int tabHeight, int inputHeight);

// The input height a splitter drag asks for: from the pointer to the
// bottom edge of the input pane, less the splitter's half.
inline int draggedInputHeight(int inputBottom, int pointerY) { return inputBottom - pointerY - 2; }

}  // namespace vx
