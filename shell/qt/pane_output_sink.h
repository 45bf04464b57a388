#pragma once
// The engine's output for the desktop window. Workers call it from their
// own threads; every call is queued to the window's thread, in order, and
// dropped if the window is gone.
#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>

#include "engine/engine.h"
#include "shell/qt/output_pane.h"

namespace vx {

class PaneOutputSink : public OutputSink {
public:
    PaneOutputSink(OutputPane* pane, std::function<void(const QString&)> statusText);

    void appendOutput(std::string_view text) override;
    void setOutputColour(std::uint32_t colour) override;
    void setStatusText(std::string_view text) override;
    // The submitted input between two line feeds, coloured as the input
    // pane shows it when highlighting is on.
    void appendEcho(const QString& input, bool highlighted);

private:
    QPointer<OutputPane> pane_;
    std::function<void(const QString&)> statusText_;
    std::atomic<std::uint32_t> colour_{kDefaultColour};
};

// The pane colour of an engine colour value (red in the low byte).
QColor engineColour(std::uint32_t colour);

}  // namespace vx
