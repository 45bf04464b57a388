#include "engine/number_loop.h"

#include <cctype>

#include "engine/session.h"

namespace vx {
namespace {

bool isQuiet(Ref r) {
    const Item& item = r.item();
    return item.kind == kOperator && item.count == 1 && item.code[0] == ';' && !item.code[1];
}

Ref operand(Ref r, int k) { return Ref{r.expr, r.expr->operandRoots[static_cast<size_t>(r.item().operandStart + k)]}; }

bool isCall(Ref r, const char* name) { return r.valid() && r.item().kind == kFunction && r.item().name == name; }

// A literal, a plain name or a compiled scalar sub-expression.
bool isScalarSource(Ref r) {
    if (!r.valid()) return false;
    const Item& item = r.item();
    return item.kind == kLiteral || item.scalarProgram >= 0 ||
           (item.kind == kVariable && item.special == SpecialName::None);
}

}  // namespace

bool NumberLoop::compile(Ref condition, Ref body) {
    if (!isScalarSource(condition) || !body.valid()) return false;
    condition_.root = condition;
    const bool quietBody = isQuiet(body);
    Ref inner = quietBody ? operand(body, 0) : body;
    std::vector<Ref> calls;
    if (isCall(inner, "seq") && inner.item().count >= 1) {
        const int n = inner.item().count;
        for (int k = 0; k < n; ++k) {
            Ref step = operand(inner, k);
            const bool quiet = isQuiet(step);
            // Every step but the last is printed unless quiet; the last is
            // printed as the body's value unless it or the body is quiet.
            if (!quiet && (k < n - 1 || !quietBody)) return false;
            calls.push_back(quiet ? operand(step, 0) : step);
        }
    } else {
        if (!quietBody) return false;
        calls.push_back(inner);
    }
    if (calls.size() > kMaxSteps) return false;
    for (Ref call : calls) {
        if (!isCall(call, "new") || call.item().count != 2) return false;
        Ref name = operand(call, 0), value = operand(call, 1);
        if (!name.valid() || name.item().kind != kVariable || name.item().special != SpecialName::None ||
            name.item().name.empty() || std::isdigit(static_cast<unsigned char>(name.item().name[0])) ||
            !isScalarSource(value))
            return false;
        Step step;
        step.symbol = name.item().symbol;
        step.value.root = value;
        steps_.push_back(std::move(step));
    }
    return true;
}

bool NumberLoop::bindSource(Eval& ev, Source& source) {
    const Item& item = source.root.item();
    source.loads.clear();
    source.variable = nullptr;
    if (item.kind == kLiteral) return true;
    if (item.scalarProgram >= 0) {
        const ScalarProgram& program = source.root.expr->scalarPrograms[static_cast<size_t>(item.scalarProgram)];
        for (const ScalarLoad& load : program.loads) {
            const Complex* at = ev.engine.stores.numberOf(load.symbol);
            if (!at) return false;
            source.loads.push_back(at);
        }
        return true;
    }
    source.variable = ev.engine.stores.numberOf(item.symbol);
    return source.variable != nullptr;
}

bool NumberLoop::bind(Eval& ev) {
    if (!bindSource(ev, condition_)) return false;
    for (Step& step : steps_) {
        if (!bindSource(ev, step.value)) return false;
        step.target = ev.engine.stores.redefinableNumber(step.symbol);
        if (!step.target) return false;
    }
    bound_ = true;
    return true;
}

bool NumberLoop::value(const Source& source, Complex& z) const {
    const Item& item = source.root.item();
    if (item.kind == kLiteral) {
        z = item.value;
        return true;
    }
    if (source.variable) {
        z = *source.variable;
        return true;
    }
    return runScalarProgram(source.root.expr->scalarPrograms[static_cast<size_t>(item.scalarProgram)],
                            source.loads.data(), z);
}

NumberLoop::Pass NumberLoop::run(Eval& ev) {
    if (!bound_ && !bind(ev)) return Pass::General;
    Complex truth;
    if (!value(condition_, truth)) return Pass::General;
    if (truth.re == 0.0 && truth.im == 0.0) return Pass::Ended;
    // A step that cannot run here puts back what the pass changed, so that
    // the general walk runs the whole pass from the same state.
    Complex saved[kMaxSteps];
    for (size_t k = 0; k < steps_.size(); ++k) saved[k] = *steps_[k].target;
    Complex z;
    for (size_t k = 0; k < steps_.size(); ++k) {
        if (!value(steps_[k].value, z)) {
            for (size_t j = 0; j < k; ++j) *steps_[j].target = saved[j];
            return Pass::General;
        }
        *steps_[k].target = z;
    }
    storeLastResult(ev.engine, Value::scalar(z), kComplex);
    return Pass::Done;
}

}  // namespace vx
