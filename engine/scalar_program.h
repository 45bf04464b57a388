#pragma once
// Pure scalar sub-expressions (numbers, names, arithmetic, comparisons,
// elementary functions) compiled at link time into a short register
// program: constants sit in the first registers, each distinct name is read
// once into the next ones, and every distinct operation writes one register,
// so a sub-expression written twice (sin(k/9)*cos(k/9)) is computed once.
// The evaluator runs the program first; when a name is not a number or an
// operation fails, it falls back to the general walk, which gives the exact
// value or message (such a sub-expression has no side effects, so running
// it twice is harmless and computing a repeated part once changes nothing).
#include <cstdint>
#include <vector>

#include "engine/value.h"

namespace vx {

struct Expression;

enum class ScalarCode : std::uint8_t {
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Negate,
    Factorial,
    Apply,
    SineCosine,  // sine into result, cosine into b, of one argument
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Select,  // if(a, b, c): b when a is not zero, else c
};

// registers[result] = code(registers[a], registers[b]); unary codes read a.
// SineCosine writes two registers: result and b. Select reads a third, c.
struct ScalarOp;
// Runs one operation on one set of registers; false when it fails
// (division by zero, ordering of a complex number), which sends the
// sub-expression to the general walk for its message.
using ScalarStep = bool (*)(Complex* registers, const ScalarOp& op);
// Runs one operation on `lanes` side-by-side evaluations (the passes of a
// loop): register g of lane l is registers[g * ScalarProgram::kLanes + l].
// Returns the mask of the lanes where it failed.
using ScalarLaneStep = unsigned (*)(Complex* registers, const ScalarOp& op, int lanes);
// The operation itself on its operands wherever they are: out = code(a, b);
// the paired sine and cosine also writes `second`. False when it fails.
using ScalarKernel = bool (*)(const ScalarOp& op, const Complex& a, const Complex& b, Complex& out, Complex& second);

struct ScalarOp {
    ScalarCode code = ScalarCode::Add;
    std::uint8_t result = 0, a = 0, b = 0, c = 0;
    Complex (*apply)(Complex) = nullptr;  // Apply
    ScalarStep step = nullptr;            // the handlers of `code`
    ScalarLaneStep laneStep = nullptr;
    ScalarKernel kernel = nullptr;  // none for Select
};

// A name read into a register before the operations run.
struct ScalarLoad {
    static constexpr int kLastResult = -1;  // '%' rather than a symbol
    int symbol = kLastResult;
    std::uint8_t target = 0;
};

struct ScalarProgram {
    // Registers are bounded by the items of the sub-expression, so a
    // sub-expression of more items is split into smaller programs.
    static constexpr int kMaxRegisters = 64;
    // Loop passes evaluated side by side: their chains of dependent
    // operations overlap in the processor instead of running one by one.
    static constexpr int kLanes = 8;
    std::vector<Complex> constants;  // registers 0 .. constants.size()-1
    std::vector<ScalarLoad> loads;
    std::vector<ScalarOp> ops;
    std::uint8_t value = 0;  // the register holding the sub-expression's value
    int registerCount = 0;
};

// A program's registers, left uninitialised on purpose: Complex zero-fills
// itself, programs run once per pass of every loop, and every register is
// written before it is read.
union ScalarRegisters {
    ScalarRegisters() {}
    Complex values[ScalarProgram::kMaxRegisters];
};

// The language's truth of a number: anything but 0+0i.
inline bool isTrue(const Complex& z) { return z.re != 0.0 || z.im != 0.0; }

// An ordering of two numbers as 1 or 0. It needs real operands: false for
// a complex one, which the general walk reports.
template <typename Order>
bool orderReal(const Complex& a, const Complex& b, Complex& out) {
    if (a.im != 0.0 || b.im != 0.0) return false;
    out = Complex{Order{}(a.re, b.re) ? 1.0 : 0.0, 0.0};
    return true;
}

// Runs a program whose names have been looked up already: loads[k] holds
// the number of program.loads[k]. False when an operation fails.
bool runScalarProgram(const ScalarProgram& program, const Complex* const* loads, Complex& z);

// Compiles the pure scalar sub-expressions of a linked expression and
// records the program index in each one's root item.
void compileScalarPrograms(Expression& e);

}  // namespace vx
