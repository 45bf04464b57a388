#pragma once
// The passes of a loop whose body only redefines numbers quietly, and
// whose condition (for a while loop) is a scalar expression, as in
//   while(n<10^5, seq(new(s,s+n);, new(n,n+1));)
// run over the variables' own storage: names are looked up once, not on
// every pass, and the condition and the steps are laid out as one short
// program over one register block. A pass that cannot run that way (a name
// that is not a number a redefinition keeps in place, an operation that
// fails) is left untouched, for the general walk to run.
#include <cstdint>
#include <vector>

#include "engine/evaluator.h"

namespace vx {

class NumberLoop {
public:
    // False when the condition (an invalid Ref when there is none) and the
    // body do not have that form.
    bool compile(Ref condition, Ref body);

    enum class Pass { General, Ended, Done, Stopped };
    // Runs passes while they can run here and the condition holds: Ended
    // when it is false, General when the next pass has to take the general
    // walk, Stopped when the user asked to stop before a pass.
    Pass run(Eval& ev);
    // The passes of a for loop (compiled without a condition) from `v` on,
    // its variable set to each value: Ended when the range is done, else
    // as run, with `v` the value of the pass not run here.
    Pass runFor(Eval& ev, Complex& variable, double& v, double to, double step);
    // After a general pass: names may have moved.
    void unbind() { bound_ = false; }

private:
    // What one instruction of a pass does; the arithmetic every loop uses
    // is done in place, the rest by the compiled operation's own kernel.
    // Operands are read where they live (a variable, a constant, an earlier
    // result), and a step's last operation writes the variable itself.
    // Codes up to Select never fail.
    enum class Code : std::uint8_t {
        Copy,
        Test,
        Add,
        Subtract,
        Multiply,
        Select,
        EndUnlessLess,  // an ordering whose truth is the condition
        EndUnlessGreater,
        EndUnlessLessEqual,
        EndUnlessGreaterEqual,
        Less,
        Greater,
        LessEqual,
        GreaterEqual,
        Kernel,
    };
    struct Instruction {
        Code code = Code::Copy;
        const Complex* a = nullptr;
        const Complex* b = nullptr;
        const Complex* c = nullptr;    // Select: the value when a is zero
        Complex* out = nullptr;
        Complex* second = nullptr;     // Kernel: the cosine of a paired sine
        const ScalarOp* op = nullptr;  // Kernel
    };
    static constexpr size_t kMaxSteps = 16;
    bool bind(Eval& ev);
    Pass pass();
    // Lays out one source's instructions, with its value in `target` when
    // there is one; where its value is, or null when a name is not a number.
    const Complex* emitSource(Eval& ev, Ref source, Complex* target);

    Ref condition_;
    std::vector<Ref> values_;   // the value of each step
    std::vector<int> symbols_;  // the name each step redefines
    std::vector<Instruction> code_;
    std::vector<Complex> registers_;
    std::vector<Complex*> targets_;  // the variable each step writes
    bool saveTargets_ = true;
    bool bound_ = false;
};

}  // namespace vx
