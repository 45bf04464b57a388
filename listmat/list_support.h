#pragma once
// Helpers shared by the list, matrix-structure and statistics built-ins:
// typed argument evaluation, index normalisation, loop variables and the
// element ordering of `order`.
#include <string>
#include <vector>

#include "engine/evaluator.h"

namespace vx::listmat {

// Evaluates an argument that must be of one kind; any other kind fails with
// "(cmd) Error: Data Type". A failed evaluation keeps its own message.
bool evaluateList(Eval& ev, Ref ref, const char* cmd, Value& out);
bool evaluateMatrix(Eval& ev, Ref ref, const char* cmd, Value& out);
bool evaluateNumber(Eval& ev, Ref ref, const char* cmd, Complex& out);

// Whether an index must have a zero imaginary part ("Complex Index").
enum class Imaginary { Checked, Ignored };

// Turns an index into a position among n items: the imaginary part (when
// checked) must be 0, the real part integral; out-of-range positions are
// clamped to the first or last item. With no items there is nothing to
// clamp to, and the call fails with "(cmd) Error: Dimension".
bool normaliseIndex(Eval& ev, const char* cmd, Complex index, int n, Imaginary check, int& position);

// A range from two endpoints (imaginary parts ignored), normalised one
// after the other and put in ascending order.
bool normaliseRange(Eval& ev, const char* cmd, Complex from, Complex to, int n, int& low, int& high);

// Evaluates the two endpoints of a range form (as plain numbers, `from`
// then `to`) and normalises them against n items.
bool evaluateRange(Eval& ev, Ref from, Ref to, const char* cmd, int n, int& low, int& high);

// Evaluates every argument from `first` on, each a list, and appends their
// elements in order (join, union, intersection).
bool concatenateLists(Eval& ev, const Args& args, int first, const char* cmd, std::vector<Complex>& out);

// The position of `insert`, `insertrow`, `insertcol`: integral, clamped to
// 0 ... n (n appends). Never fails for an empty target.
bool normaliseInsertPosition(Eval& ev, const char* cmd, Complex index, int n, int& position);

// An endpoint of listgen or matgen: its real part must be a 32-bit integer.
bool integralEndpoint(Eval& ev, const char* cmd, Complex value, int& endpoint);

// The loop variable operand of listgen, apply and matgen: a plain name
// (not the imaginary unit or '%'), else nullptr.
const std::string* loopVariableName(Ref ref);

// The ordering of `order`, median, max and min: real part first, then the
// imaginary part. NaN parts sort after every number so that the ordering
// stays a strict weak order (sorting with NaNs is otherwise undefined).
bool orderLess(Complex a, Complex b);

}  // namespace vx::listmat
