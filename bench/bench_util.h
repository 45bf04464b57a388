#pragma once
// Shared set-up for the benchmarks: an engine with the whole language and
// a way to time the evaluation of one statement.
#include <string>

#include "engine/evaluator.h"
#include "engine/parser.h"
#include "engine/session.h"
#include "shell/standard_library.h"

namespace vx::bench {

struct Fixture {
    Engine engine;
    ErrorText error{512};
    Fixture() { startEngine(engine); }

    // Runs statements for their side effects (definitions).
    void run(const std::string& text) { submitText(engine, text); }

    // Evaluates one statement and returns its tag; the value is discarded.
    Tag evaluate(const Expression& e) {
        Eval ev(engine, error);
        Value v;
        return ev.evaluate(Ref{&e, e.root()}, v);
    }
};

}  // namespace vx::bench
