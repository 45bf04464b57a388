#pragma once
// The operator handlers, selected by an item's one- or two-character code.
#include "engine/evaluator.h"

namespace vx {

Handler operatorHandler(const char code[2]);  // nullptr for an unknown code

// The matrix product l x r (l's columns must equal r's rows): r's columns,
// l's rows, each element summed from 0+0i in the order of k.
Value matrixProduct(const Value& l, const Value& r);

// Matrix powers of '^': M^p and z^M, computed by the linear-algebra family.
Tag matrixPower(Eval& ev, Value& base, Value& exponent, Value& out);
Tag scalarToMatrixPower(Eval& ev, Value& base, Value& exponent, Value& out);

}  // namespace vx
