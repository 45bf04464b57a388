#pragma once
// A fresh engine with the whole language for evaluating single statements
// in tests, with the division-by-zero unwind caught as the session does.
#include <string>
#include <string_view>
#include <vector>

#include "engine/evaluator.h"
#include "mathlib/complex.h"
#include "shell/standard_library.h"

namespace vx::testing {

struct Outcome {
    Tag tag = kNone;
    Value value;
    std::string message;
};

class TestEngine {
public:
    TestEngine() { startEngine(engine); }

    Outcome run(std::string_view statement) {
        Expression e = parseInternal(statement);
        Eval ev(engine, error);
        Outcome o;
        try {
            o.tag = ev.evaluate(Ref{&e, e.root()}, o.value);
        } catch (const DivisionByZero&) {
            o.tag = error.fail("Error: Division by Zero");
        }
        if (!o.tag) o.message = error.text();
        return o;
    }

    void defineList(const std::string& name, std::vector<Complex> elements) {
        engine.stores.deleteVariable(name);
        engine.stores.createListVariable(name, std::move(elements), 0);
    }

    Engine engine;
    ErrorText error{512};
};

}  // namespace vx::testing
