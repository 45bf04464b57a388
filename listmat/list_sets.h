#pragma once
// union and intersection. union hands its selection to drop over temporary
// list variables, its repeats found by sorting; intersection finds the
// common values with a hash set, in linear time.
#include <vector>

#include "engine/evaluator.h"

namespace vx::listmat {

// Positions holding a value that already occurred at an earlier position,
// ascending. Values are equal when both parts compare equal with ==, so
// 0 and -0 are one value and a NaN part equals nothing.
std::vector<int> repeatedPositions(const std::vector<Complex>& elements);

// The distinct values of the first list found in every other list, in the
// first list's order (lists is not empty).
std::vector<Complex> commonValues(const std::vector<Value>& lists);

Tag unionOfLists(Eval& ev, const Args& args, Value& out);
Tag intersectionOfLists(Eval& ev, const Args& args, Value& out);

}  // namespace vx::listmat
