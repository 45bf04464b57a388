#pragma once
// union and intersection. Both hand the final selection to drop and take
// over temporary list variables; the repeated values themselves are found
// by sorting, so long lists with many repeats stay n log n.
#include <vector>

#include "engine/evaluator.h"

namespace vx::listmat {

// Positions holding a value that already occurred at an earlier position,
// ascending. Values are equal when both parts compare equal with ==, so
// 0 and -0 are one value and a NaN part equals nothing.
std::vector<int> repeatedPositions(const std::vector<Complex>& elements);

// Positions i for which 1 plus the number of later positions holding an
// equal value is exactly `required`, ascending.
std::vector<int> commonPositions(const std::vector<Complex>& elements, int required);

Tag unionOfLists(Eval& ev, const Args& args, Value& out);
Tag intersectionOfLists(Eval& ev, const Args& args, Value& out);

}  // namespace vx::listmat
