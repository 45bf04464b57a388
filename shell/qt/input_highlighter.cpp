#include "shell/qt/input_highlighter.h"

#include "shell/highlight_scanner.h"

namespace vx {

namespace {
constexpr int kInsideComment = 1;  // a "/*" is open at the end of the block
}

void InputHighlighter::highlightBlock(const QString& text) {
    std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
    HighlightResult result = scanHighlight(view, previousBlockState() == kInsideComment);
    for (const HighlightRun& run : result.runs) {
        if (run.colour == HighlightColour::Text && !run.bold) continue;
        Rgb rgb = highlightRgb(run.colour);
        QTextCharFormat format;
        format.setForeground(QColor(rgb.red, rgb.green, rgb.blue));
        if (run.bold) format.setFontWeight(QFont::Bold);
        setFormat(run.start, run.length, format);
    }
    setCurrentBlockState(result.endsInComment ? kInsideComment : 0);
}

}  // namespace vx
