#pragma once
// The builders behind list literals {a,b,...} and matrix literals [a,b][c,d].
#include "engine/evaluator.h"

namespace vx {

Tag buildList(Eval& ev, const Args& args, Value& out);
Tag buildMatrix(Eval& ev, const Args& args, int columns, Value& out);

}  // namespace vx
