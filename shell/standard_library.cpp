#include "shell/standard_library.h"

#include <mutex>

#include "engine/engine_builtins.h"
#include "engine/startup.h"
#include "listmat/eigen.h"
#include "listmat/listmat_builtins.h"
#include "mathlib/calculus.h"
#include "mathlib/linear_algebra.h"
#include "mathlib/number_theory.h"
#include "mathlib/polynomial_builtins.h"
#include "plot/plot_builtins.h"

namespace vx {

void installStandardLibrary() {
    static std::once_flag once;
    std::call_once(once, [] {
        registerEngineBuiltins();
        registerBuiltins(listBuiltins());
        registerBuiltins(matrixStructureBuiltins());
        registerBuiltins(statisticsBuiltins());
        registerBuiltins(numberTheoryBuiltins());
        registerBuiltins(polynomialBuiltins());
        registerBuiltins(calculusBuiltins());
        registerBuiltins(linearAlgebraBuiltins());
        setMatrixPowerHooks(matrixToPower, numberToMatrixPower);
        registerBuiltins(rowReductionBuiltins());
        registerBuiltins(plotBuiltins());
        registerBuiltins(canvasBuiltins());
    });
}

void startEngine(Engine& engine) {
    installStandardLibrary();
    runStartupDefinitions(engine);
}

}  // namespace vx
