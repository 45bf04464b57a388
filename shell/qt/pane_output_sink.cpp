#include "shell/qt/pane_output_sink.h"

#include <QMetaObject>

namespace vx {

QColor engineColour(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xff), static_cast<int>((colour >> 8) & 0xff),
                  static_cast<int>((colour >> 16) & 0xff));
}

PaneOutputSink::PaneOutputSink(OutputPane* pane, std::function<void(const QString&)> statusText)
    : pane_(pane), statusText_(std::move(statusText)) {}

void PaneOutputSink::appendOutput(std::string_view text) {
    QString copy = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    QColor colour = engineColour(colour_.load());
    OutputPane* pane = pane_.data();
    if (!pane) return;
    QMetaObject::invokeMethod(
        pane, [pane, copy, colour] { pane->appendText(copy, colour); }, Qt::QueuedConnection);
}

void PaneOutputSink::setOutputColour(std::uint32_t colour) { colour_.store(colour); }

void PaneOutputSink::setStatusText(std::string_view text) {
    QString copy = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    OutputPane* pane = pane_.data();
    if (!pane) return;
    auto status = statusText_;
    QMetaObject::invokeMethod(
        pane, [status, copy] { status(copy); }, Qt::QueuedConnection);
}

void PaneOutputSink::appendEcho(const QString& input, bool highlighted) {
    OutputPane* pane = pane_.data();
    if (!pane) return;
    QMetaObject::invokeMethod(
        pane,
        [pane, input, highlighted] {
            pane->appendText("\n");
            std::u16string_view view(reinterpret_cast<const char16_t*>(input.utf16()),
                                     static_cast<size_t>(input.size()));
            std::vector<HighlightRun> runs;
            if (highlighted)
                runs = scanHighlight(view).runs;
            else if (!input.isEmpty())
                runs.push_back({0, static_cast<int>(input.size()), HighlightColour::Text, false});
            pane->appendHighlighted(input, runs);
            pane->appendText("\n");
        },
        Qt::QueuedConnection);
}

}  // namespace vx
