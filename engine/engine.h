#pragma once
// All state of one running engine in one place: the definition stores, the
// local scopes, the last result, the two process-wide flags and the output
// the session writes to. A test creates a fresh Engine; the desktop program
// and the terminal runner each own one.
#include <any>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <typeindex>
#include <unordered_map>

#include "engine/stores.h"
#include "engine/value.h"

namespace vx {

// Where answers go. The terminal runner writes them to stdout; the desktop
// shell forwards them to the output pane on the window thread.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual void appendOutput(std::string_view text) = 0;
    // 0x000080 (red 128) for answer lines, 0 for the rest.
    virtual void setOutputColour(std::uint32_t colour) = 0;
    virtual void setStatusText(std::string_view) {}
};

constexpr std::uint32_t kAnswerColour = 128;
constexpr std::uint32_t kDefaultColour = 0;

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Stores stores;
    Value lastResult;  // tag kNone until a statement succeeds

    // A submission or plot precalculation runs / the window asks it to stop.
    std::atomic<int> working{0};
    std::atomic<int> abortRequested{0};
    // The terminal runner's Ctrl+C: the submission ends before its next
    // statement. Cleared with `working` at the end of a submission.
    std::atomic<int> endSubmission{0};
    // Answers that were error messages, shown or quiet, since the engine
    // started; the terminal runner's exit status reports them.
    int errorAnswers = 0;

    int outputEnabled = 1;
    int noPrint = 0;
    int displayDigits = 12;
    OutputSink* output = nullptr;

    void appendOutput(std::string_view text) {
        if (outputEnabled && output) output->appendOutput(text);
    }
    void setOutputColour(std::uint32_t colour) {
        if (outputEnabled && output) output->setOutputColour(colour);
    }
    void setStatusText(std::string_view text) {
        if (output) output->setStatusText(text);
    }

    // State owned by built-in families that the engine itself knows nothing
    // about (the random seed, the plot registry, ...), created on first use.
    template <typename T>
    T& extension() {
        auto& slot = extensions_[std::type_index(typeid(T))];
        if (!slot) slot = std::make_shared<T>();
        return *std::static_pointer_cast<T>(slot);
    }

private:
    std::unordered_map<std::type_index, std::shared_ptr<void>> extensions_;
};

}  // namespace vx
