#pragma once
// An engine with the whole language for the numeric tests: evaluates one
// statement and gives its value, or its message; runs statements through
// the session and gives the answer lines as printed.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "engine/evaluator.h"
#include "engine/format.h"
#include "engine/parser.h"
#include "engine/session.h"
#include "mathlib/complex.h"
#include "shell/standard_library.h"

namespace vx::test {

struct CapturingSink : OutputSink {
    std::string text;
    void appendOutput(std::string_view s) override { text += s; }
    void setOutputColour(std::uint32_t) override {}
};

class NumericSession {
public:
    NumericSession() { startEngine(engine); }

    // Evaluates one statement; the error text is left in `error`.
    Tag evaluate(const std::string& statement, Value& out) {
        error = ErrorText(512);
        if (!checkStatement(error, statement)) return kNone;
        Expression e = linkItems(convertStatement(statement));
        Eval ev(engine, error);
        try {
            return ev.evaluate(Ref{&e, e.root()}, out);
        } catch (const DivisionByZero&) {
            return ev.fail("Error: Division by Zero");
        }
    }

    // The printed form of the result, or the message.
    std::string show(const std::string& statement) {
        Value v;
        Tag tag = evaluate(statement, v);
        return tag ? formatValue(v, 12) : error.text();
    }

    // Runs statements as a submission; the answer lines as printed.
    std::string submitted(const std::string& text) {
        CapturingSink sink;
        engine.output = &sink;
        submitText(engine, text);
        engine.output = nullptr;
        return sink.text;
    }

    // Evaluates while another thread sets abortRequested after `delay`.
    std::string showWithAbort(const std::string& statement, std::chrono::milliseconds delay) {
        engine.abortRequested.store(0);
        std::thread window([this, delay] {
            std::this_thread::sleep_for(delay);
            engine.abortRequested.store(1);
        });
        std::string result = show(statement);
        window.join();
        engine.abortRequested.store(0);
        return result;
    }

    Engine engine;
    ErrorText error{512};
};

struct ShowCase {
    const char* statement;
    const char* shown;
};

// Each statement shows (value or message) as expected.
inline void expectShown(NumericSession& s, std::initializer_list<ShowCase> cases) {
    for (const auto& c : cases) EXPECT_EQ(s.show(c.statement), c.shown) << c.statement;
}

}  // namespace vx::test
