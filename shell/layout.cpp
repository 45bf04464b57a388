#include "shell/layout.h"

#include <algorithm>

namespace vx {

PaneLayout layoutPanes(int tabWidth, int tabHeight, int inputHeight) {
    PaneLayout l;
    const int x = 5, top = 25;
    const int width = tabWidth - 10;
    const int usable = tabHeight - 30;
    // Lower bound first, then the upper one: on a tiny window the upper
    // bound wins and the input pane shrinks rather than the output.
    inputHeight = std::max(inputHeight, kMinInputHeight);
    inputHeight = std::min(inputHeight, tabHeight - 94);
    l.inputHeight = inputHeight;
    l.output = {x, top, width, usable - (inputHeight + 5)};
    l.splitter = {x, top + usable - inputHeight - 5, width, 5};
    l.input = {x, top + usable - inputHeight, width, inputHeight};
    l.plot = {x, top, width, usable};
    return l;
}

}  // namespace vx
