#pragma once
// The session driver: runs a submission (the input pane or a batch file)
// statement by statement and writes each answer to the engine's output.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/error_text.h"
#include "engine/parser.h"

namespace vx {

// Sets one of the engine's flags for a scope and puts the old value back
// on every way out, a failure unwinding through the scope included: the
// quiet operator switches the output off, a loop body clears the
// statement's no-print flag.
class FlagScope {
public:
    FlagScope(int& flag, int during) : flag_(flag), saved_(flag) { flag = during; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    int& flag_;
    int saved_;
};

// Evaluates with the failures that unwind (a division by an exact zero that
// no inner catcher turned into a message, memory running out) turned into
// messages here: the boundary of a statement and of a quiet operand.
Tag evaluateGuarded(class Eval& ev, struct Ref root, Value& out);

// ">  " and the value (or for kNone the error text), in the answer colour.
// False when memory ran out while formatting or writing the value; the line
// then reads ">  Error: Out of Memory".
bool printResult(Engine& engine, const ErrorText& error, const Value& value, Tag tag);
void storeLastResult(Engine& engine, Value value, Tag tag);
// The same for a number, without building a Value: loops store one per pass.
void storeLastNumber(Engine& engine, Complex z);

// Evaluates one body the way loops do: printed unless it ends in ';', and
// stored as the last result on success. Returns the body's tag.
Tag runBodyWithPrinting(class Eval& ev, struct Ref body);

// Whether an answer of tag 0 reports a failure rather than a success
// ("(newfunc) Function 'f' created") or a text answer.
bool isErrorAnswer(std::string_view text);

// The text without a leading UTF-8 byte-order mark.
std::string_view withoutByteOrderMark(std::string_view text);

// Checks every statement, then evaluates them in order. Clears `working`
// and `abortRequested` at the end.
void submit(Engine& engine, const std::vector<std::string>& statements);
// Splits the text into statements and submits them.
void submitText(Engine& engine, std::string_view text);
// The statement whose check would end a submission of the text, if any
// does: the one the input pane points the user at.
std::optional<StatementSpan> firstFailingCheck(std::string_view text);

// A batch file: "Running '...'", the submission, "Finished running '...'".
// Refused with "Error: Already Working" while another evaluation runs.
void runBatchFile(Engine& engine, const std::string& path);

}  // namespace vx
