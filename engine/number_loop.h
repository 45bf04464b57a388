#pragma once
// The passes of a while loop whose condition is a scalar expression and
// whose body only redefines numbers quietly, as in
//   while(n<10^5, seq(new(s,s+n);, new(n,n+1));)
// run over the variables' own storage: names are looked up once, not on
// every pass. A pass that cannot run that way (a name that is not a number
// a redefinition keeps in place, an operation that fails) is left
// untouched, for the general walk to run.
#include <vector>

#include "engine/evaluator.h"

namespace vx {

class NumberLoop {
public:
    // False when the condition and the body do not have that form.
    bool compile(Ref condition, Ref body);

    enum class Pass { General, Ended, Done };
    // One pass: Done after a pass run here, Ended when the condition is
    // false, General when the pass has to take the general walk.
    Pass run(Eval& ev);
    // After a general pass: names may have moved.
    void unbind() { bound_ = false; }

private:
    struct Source {
        Ref root;
        std::vector<const Complex*> loads;  // one per program load
        const Complex* variable = nullptr;
    };
    struct Step {
        int symbol = -1;
        Source value;
        Complex* target = nullptr;
    };
    static constexpr size_t kMaxSteps = 16;
    bool bind(Eval& ev);
    bool bindSource(Eval& ev, Source& source);
    bool value(const Source& source, Complex& z) const;

    Source condition_;
    std::vector<Step> steps_;
    bool bound_ = false;
};

}  // namespace vx
