#include "engine/session.h"

#include <fstream>
#include <new>
#include <stdexcept>
#include <sstream>

#include "engine/engine_builtins.h"
#include "engine/evaluator.h"
#include "engine/format.h"
#include "engine/parser.h"
#include "mathlib/complex.h"

namespace vx {

bool isErrorAnswer(std::string_view text) {
    // Successes and text answers never use these words; failures of the
    // definition and plot families that do not say "Error" say one of them.
    static constexpr std::string_view kFailureWords[] = {
        "Error", "Unknown ", "does not exist", "Too many", "Too Many", "Invalid ", "(diff) Data Type",
    };
    for (std::string_view word : kFailureWords)
        if (text.find(word) != std::string_view::npos) return true;
    return false;
}

std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return text;
}

// Quiet answers count too: a script cannot see them, but they failed.
static void countErrorAnswer(Engine& engine, const ErrorText& error, Tag tag) {
    if (tag == kNone && isErrorAnswer(error.text())) ++engine.errorAnswers;
}

constexpr const char* kOutOfMemoryLine = ">  Error: Out of Memory\r\n";

bool printResult(Engine& engine, const ErrorText& error, const Value& value, Tag tag) {
    countErrorAnswer(engine, error, tag);
    if (!engine.outputEnabled) return true;
    // The text of a long list can take more memory than the list itself:
    // running out while formatting or writing it answers the statement
    // with a message instead of ending the session.
    bool printed = true;
    std::string line;
    try {
        line = ">  ";
        line += tag ? formatValue(value, engine.displayDigits) : error.text();
        line += "\r\n";
    } catch (const std::bad_alloc&) {
        printed = false;
    } catch (const std::length_error&) {
        printed = false;
    }
    engine.setOutputColour(kAnswerColour);
    if (printed) {
        try {
            engine.appendOutput(line);
        } catch (const std::bad_alloc&) {
            printed = false;
        }
    }
    if (!printed) {
        if (tag) ++engine.errorAnswers;
        std::string().swap(line);
        engine.appendOutput(kOutOfMemoryLine);
    }
    engine.setOutputColour(kDefaultColour);
    return printed;
}

void storeLastResult(Engine& engine, Value value, Tag tag) {
    if (tag != kComplex && tag != kList && tag != kMatrix) return;
    engine.lastResult = std::move(value);
    engine.lastResult.tag = tag;
}

void storeLastNumber(Engine& engine, Complex z) {
    Value& last = engine.lastResult;
    last.tag = kComplex;
    last.z = z;
    last.columns = last.rows = 0;
    if (last.elements.capacity() > 0) std::vector<Complex>().swap(last.elements);
}

Tag evaluateGuarded(Eval& ev, Ref root, Value& out) {
    try {
        return ev.evaluate(root, out);
    } catch (const DivisionByZero&) {
        return ev.fail("Error: Division by Zero");
    } catch (const std::bad_alloc&) {
        // A value too large for memory (diagonal(1e9), listgen over a huge
        // range) ends its statement; the session carries on.
        return ev.fail("Error: Out of Memory");
    } catch (const std::length_error&) {
        return ev.fail("Error: Out of Memory");
    }
}

Tag runBodyWithPrinting(Eval& ev, Ref body) {
    Engine& engine = ev.engine;
    Complex number;
    if (assignNumberQuietly(ev, body, number)) {
        storeLastNumber(engine, number);
        return kComplex;
    }
    Value v;
    Tag tag;
    {
        FlagScope scope(engine.noPrint, 0);
        tag = ev.evaluate(body, v);
        if (!engine.noPrint)
            printResult(engine, ev.error, v, tag);
        else
            countErrorAnswer(engine, ev.error, tag);
    }
    storeLastResult(engine, std::move(v), tag);
    return tag;
}

static void answerLine(Engine& engine, const std::string& text) {
    ++engine.errorAnswers;
    engine.setOutputColour(kAnswerColour);
    engine.appendOutput(">  " + text + "\n");
    engine.setOutputColour(kDefaultColour);
}

void submit(Engine& engine, const std::vector<std::string>& statements) {
    struct EndOfSubmission {
        Engine& engine;
        ~EndOfSubmission() {
            engine.outputEnabled = 1;
            engine.working.store(0);
            engine.abortRequested.store(0);
            engine.endSubmission.store(0);
        }
    } end{engine};

    if (statements.empty()) {
        answerLine(engine, "Error: No Input");
        return;
    }
    ErrorText error(512);
    std::vector<Expression> expressions;
    expressions.reserve(statements.size());
    for (const std::string& statement : statements) {
        if (!checkStatement(error, statement)) {
            answerLine(engine, error.text());
            return;
        }
        expressions.push_back(linkItems(convertStatement(statement)));
    }
    Eval ev(engine, error);
    for (const Expression& e : expressions) {
        if (engine.endSubmission.load()) break;
        engine.outputEnabled = 1;
        Value result;
        Tag tag;
        {
            FlagScope scope(engine.noPrint, 0);
            tag = evaluateGuarded(ev, Ref{&e, e.root()}, result);
            // An answer that could not be printed counts as failed: % keeps
            // the previous result.
            if (!engine.noPrint) {
                if (!printResult(engine, error, result, tag)) tag = kNone;
            } else {
                countErrorAnswer(engine, error, tag);
            }
        }
        storeLastResult(engine, std::move(result), tag);
    }
}

void submitText(Engine& engine, std::string_view text) { submit(engine, splitStatements(text)); }

std::optional<StatementSpan> firstFailingCheck(std::string_view text) {
    ErrorText error(512);
    for (StatementSpan& s : splitStatementSpans(text))
        if (!checkStatement(error, s.statement)) return std::move(s);
    return std::nullopt;
}

void runBatchFile(Engine& engine, const std::string& path) {
    int idle = 0;
    if (!engine.working.compare_exchange_strong(idle, 1)) {
        engine.appendOutput("Error: Already Working\r\n");
        return;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        engine.appendOutput("Error opening file");
        engine.working.store(0);
        return;
    }
    std::stringstream content;
    content << in.rdbuf();
    engine.appendOutput("Running '" + path + "'...\r\n");
    submitText(engine, withoutByteOrderMark(content.str()));
    engine.appendOutput("Finished running '" + path + "'\r\n");
}

}  // namespace vx
