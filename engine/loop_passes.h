#pragma once
// The passes of a loop over whole numbers (sum, product, listgen). A body
// compiled to a scalar program runs several passes side by side; a pass it
// cannot finish, and every pass of any other body, goes through the general
// walk. Either way the passes reach the caller one by one, in order, with
// one abort test each.
#include <algorithm>

#include "engine/evaluator.h"

namespace vx {

// Below this many passes left a compiled body runs pass by pass: setting up
// the side-by-side registers would cost more than it saves.
inline constexpr long long kFewestLanes = 4;

// Evaluates `body` with the complex local `variable` bound to first,
// first + step, ... (count values) and calls onPass(tag, value) for each
// pass; tag 0 is a failed pass with its message written. onPass returns
// false to end the loop. Returns false when the loop ended early (onPass
// or an abort, whose message is written).
template <typename OnPass>
bool runLoopPasses(Eval& ev, Ref body, LocalScope& scope, int variable, long long first, long long count, int step,
                   OnPass onPass) {
    const ScalarProgram* program = body.valid() && body.item().scalarProgram >= 0
                                       ? &body.expr->scalarPrograms[static_cast<size_t>(body.item().scalarProgram)]
                                       : nullptr;
    ScalarLaneRegisters registers;
    Complex* laneRegisters = nullptr;
    const int symbol = scope.symbolAt(variable);
    Value v;
    auto walk = [&](long long value) {
        scope.complexAt(variable) = Complex{static_cast<double>(value), 0.0};
        const Tag tag = ev.evaluate(body, v);
        return onPass(tag, v);
    };
    for (long long done = 0; done < count;) {
        if (ev.aborted()) return ev.failAborted(), false;
        const long long value = first + done * step;
        if (!program || count - done < kFewestLanes) {
            if (!walk(value)) return false;
            ++done;
            continue;
        }
        if (!laneRegisters) laneRegisters = registers.reserve(*program);
        const int lanes = static_cast<int>(std::min<long long>(ScalarProgram::kLanes, count - done));
        Complex values[ScalarProgram::kLanes];
        const unsigned failed = ev.runScalarLanes(*program, laneRegisters, lanes, symbol, static_cast<double>(value),
                                                  static_cast<double>(step), values);
        for (int l = 0; l < lanes; ++l) {
            if (l > 0 && ev.aborted()) return ev.failAborted(), false;
            if (failed >> l & 1u) {
                if (!walk(value + l * step)) return false;
                continue;
            }
            v = Value::scalar(values[l]);
            if (!onPass(kComplex, v)) return false;
        }
        done += lanes;
    }
    return true;
}

}  // namespace vx
