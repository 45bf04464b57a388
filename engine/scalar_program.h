#pragma once
// Pure scalar sub-expressions (numbers, names, arithmetic, comparisons,
// elementary functions) compiled at link time into a flat program that
// runs on a small stack of complex numbers. The evaluator runs it first;
// when a name is not a number or an operation fails, it falls back to the
// general walk, which gives the exact value or message (such a
// sub-expression has no side effects, so running it twice is harmless).
#include <cstdint>
#include <vector>

#include "engine/value.h"

namespace vx {

struct Expression;

enum class ScalarCode : std::uint8_t {
    PushValue,
    PushName,
    PushLast,
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Negate,
    Factorial,
    Apply,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
};

struct ScalarOp {
    ScalarCode code = ScalarCode::PushValue;
    int symbol = -1;                     // PushName
    Complex value{};                     // PushValue
    Complex (*apply)(Complex) = nullptr;  // Apply
};

struct ScalarProgram {
    static constexpr int kMaxStack = 16;
    std::vector<ScalarOp> ops;
};

// Compiles the pure scalar sub-expressions of a linked expression and
// records the program index in each one's root item.
void compileScalarPrograms(Expression& e);

}  // namespace vx
