#pragma once
// The recursive evaluator. Every operator and built-in receives its operands
// unevaluated and evaluates them itself through Eval::evaluate, as often as
// it likes and under whatever local bindings it pushes.
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "engine/error_text.h"
#include "engine/expression.h"

namespace vx {

// Registers for side-by-side passes, kept by a loop for all its passes.
// Small programs (nearly all) use storage inside the object, left
// uninitialised: a short inner loop must not pay for clearing kilobytes.
class ScalarLaneRegisters {
public:
    ScalarLaneRegisters() = default;
    ScalarLaneRegisters(const ScalarLaneRegisters&) = delete;
    ScalarLaneRegisters& operator=(const ScalarLaneRegisters&) = delete;

    // Room for the program's registers in every lane.
    Complex* reserve(const ScalarProgram& program) {
        const size_t needed = static_cast<size_t>(program.registerCount) * ScalarProgram::kLanes;
        if (needed <= std::size(small_.values)) return small_.values;
        large_.resize(needed);
        return large_.data();
    }

private:
    union Small {
        Small() {}
        Complex values[16 * ScalarProgram::kLanes];
    } small_;
    std::vector<Complex> large_;
};

class Eval {
public:
    Eval(Engine& engine, ErrorText& error) : engine(engine), error(error) {}

    Engine& engine;
    ErrorText& error;

    // The value of the sub-expression ending at ref; kNone with a message.
    // Literals and scalar locals (loop variables, parameters) are answered
    // inline: they are most of the leaves an inner loop touches.
    Tag evaluate(Ref ref, Value& out) {
        if (ref.valid()) {
            const Item& item = ref.item();
            if (item.kind == kLiteral) return setScalar(out, item.value);
            if (item.scalarProgram >= 0) {
                Complex z;
                if (runScalar(ref.expr->scalarPrograms[static_cast<size_t>(item.scalarProgram)], z))
                    return setScalar(out, z);
            }
            if (item.kind == kVariable && item.special == SpecialName::None) {
                const SymbolBinding* b = engine.stores.findBinding(item.symbol);
                if (b && b->localComplex >= 0)
                    return setScalar(out, engine.stores.localComplex[static_cast<size_t>(b->localComplex)].value.z);
            }
        }
        return evaluateItem(ref, out);
    }

    // Runs a compiled program for `lanes` (at most ScalarProgram::kLanes)
    // passes of a loop at once: the loop variable (loopSymbol) is first,
    // first+step, ... in the lanes, every other name its current value.
    // Values go to values[0 .. lanes-1]; the result is the mask of lanes
    // that need the general walk (all of them when a name is not a number).
    unsigned runScalarLanes(const ScalarProgram& program, Complex* registers, int lanes, int loopSymbol,
                            double first, double step, Complex* values);

    // The number a literal, a name or a compiled scalar sub-expression
    // stands for, without the general walk; false when ref is none of
    // these or the program cannot answer (the general walk then gives the
    // value or the message).
    bool evaluateScalar(Ref ref, Complex& z) {
        if (!ref.valid()) return false;
        const Item& item = ref.item();
        if (item.kind == kLiteral) {
            z = item.value;
            return true;
        }
        if (item.scalarProgram >= 0)
            return runScalar(ref.expr->scalarPrograms[static_cast<size_t>(item.scalarProgram)], z);
        return item.kind == kVariable && item.special == SpecialName::None &&
               loadScalarName(ScalarLoad{item.symbol, 0}, z);
    }

    // A message without arguments stands as it is, never as a format.
    template <typename... A>
    Tag fail(const char* format, A... args) {
        if constexpr (sizeof...(A) == 0)
            return error.fail("%s", format);
        else
            return error.fail(format, args...);
    }
    bool aborted() const { return engine.abortRequested.load(std::memory_order_relaxed) != 0; }
    Tag failAborted() { return error.fail("Error: Operation Aborted"); }

    // Calls the elementary function with this table index on one operand.
    Tag callElementary(int index, const Args& args, Value& out);

private:
    static Tag setScalar(Value& out, Complex z) {
        out.tag = kComplex;
        out.z = z;
        out.elements.clear();
        return kComplex;
    }
    Tag evaluateItem(Ref ref, Value& out);
    // Runs a compiled scalar program; false sends the caller to the
    // general walk (a name that is not a number, a failing operation).
    bool runScalar(const ScalarProgram& program, Complex& z);
    // The current number a program's name stands for; false when it is
    // not a number.
    bool loadScalarName(const ScalarLoad& load, Complex& value) const {
        if (load.symbol == ScalarLoad::kLastResult) {
            if (engine.lastResult.tag != kComplex) return false;
            value = engine.lastResult.z;
            return true;
        }
        // Same order as resolveVariable: a list or matrix local shadows a
        // global number.
        const Stores& s = engine.stores;
        const SymbolBinding* b = s.findBinding(load.symbol);
        if (!b) return false;
        if (b->localComplex >= 0) {
            value = s.localComplex[static_cast<size_t>(b->localComplex)].value.z;
            return true;
        }
        if (b->localList >= 0 || b->localMatrix >= 0 || b->globalComplex < 0) return false;
        value = s.complexVariables[static_cast<size_t>(b->globalComplex)].value;
        return true;
    }

    Tag evaluateCall(const Item& item, const Args& args, Value& out);
    Tag callUserFunction(int index, const Args& args, Value& out);
    Tag resolveVariable(const Item& item, Value& out);

    int depth_ = 0;
};

// Binds locals for the lifetime of a scope and pops exactly those, on every
// path out (failures and the division-by-zero unwind included).
class LocalScope {
public:
    explicit LocalScope(Engine& engine) : stores_(engine.stores) {}
    ~LocalScope() { stores_.popLocals(pushed_); }
    LocalScope(const LocalScope&) = delete;
    LocalScope& operator=(const LocalScope&) = delete;

    // Table index of the new local, or -1 when the local tables are full.
    int push(const std::string& name, Value value) {
        int index = stores_.pushLocal(name, std::move(value));
        if (index >= 0) ++pushed_;
        return index;
    }
    int push(int symbol, const std::string& name, Value value) {
        int index = stores_.pushLocal(symbol, name, std::move(value));
        if (index >= 0) ++pushed_;
        return index;
    }
    // The interned name of the complex local at this index.
    int symbolAt(int index) const { return stores_.localComplex[static_cast<size_t>(index)].symbol; }
    // The complex local at this index, to overwrite between evaluations.
    Complex& complexAt(int index) { return stores_.localComplex[static_cast<size_t>(index)].value.z; }
    void popAll() {
        stores_.popLocals(pushed_);
        pushed_ = 0;
    }

private:
    Stores& stores_;
    int pushed_ = 0;
};

// Message of a pusher that found the local tables full.
inline constexpr const char* kTooManyLocals = "Error: Too Many Local Variables";

// Evaluates a real range endpoint: a Complex with imaginary part exactly 0.
int evaluateRealEndpoint(Eval& ev, double& result, Ref root, std::string_view commandName);

// 2 and the entry index when found with the dimension; 1 with a message.
int findCoordinateSystem(Eval& ev, int& index, const std::string& name, int dimension,
                         std::string_view commandName);

// The Cartesian point of `dimension` coordinates in a coordinate system:
// binds the system's coordinate names, evaluates its formula and reads the
// resulting one-row matrix. 1 on success, 0 with a message.
int mapToCartesian(Eval& ev, int system, const Complex* coordinates, int dimension, Complex* cartesian);
int mapToCartesian2(Eval& ev, int system, Complex u, Complex v, Complex& x, Complex& y);
int mapToCartesian3(Eval& ev, int system, Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z);

// Hooks for the matrix powers of '^', installed by the linear-algebra family.
using MatrixPowerFn = Tag (*)(Eval& ev, Value& base, Value& exponent, Value& out);
void setMatrixPowerHooks(MatrixPowerFn matrixToPower, MatrixPowerFn scalarToMatrix);

}  // namespace vx
