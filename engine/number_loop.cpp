#include "engine/number_loop.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <functional>

#include "engine/session.h"
#include "mathlib/complex.h"

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
    if ((condition.valid() && !isScalarSource(condition)) || !body.valid()) return false;
    condition_ = condition;
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
        symbols_.push_back(name.item().symbol);
        values_.push_back(value);
    }
    return true;
}

const Complex* NumberLoop::emitSource(Eval& ev, Ref source, Complex* target) {
    const Item& item = source.item();
    const Complex* value = nullptr;
    if (item.kind == kLiteral) {
        value = &registers_.emplace_back(item.value);
    } else if (item.scalarProgram < 0) {
        value = ev.engine.stores.numberOf(item.symbol);
    } else {
        const ScalarProgram& program = source.expr->scalarPrograms[static_cast<size_t>(item.scalarProgram)];
        // Where each register of the program lives: constants and results
        // in the block, names in the variables themselves.
        std::vector<Complex*> at(static_cast<size_t>(program.registerCount));
        for (size_t k = 0; k < program.constants.size(); ++k) at[k] = &registers_.emplace_back(program.constants[k]);
        for (const ScalarLoad& load : program.loads) {
            const Complex* variable = ev.engine.stores.numberOf(load.symbol);
            if (!variable) return nullptr;
            // Only ever read: operations write result registers.
            at[load.target] = const_cast<Complex*>(variable);
        }
        for (const ScalarOp& op : program.ops) {
            at[op.result] = &registers_.emplace_back();
            if (op.code == ScalarCode::SineCosine) at[op.b] = &registers_.emplace_back();
        }
        // The last operation gives the value: it can write the variable.
        const bool direct = target && !program.ops.empty() && program.ops.back().result == program.value &&
                            program.ops.back().code != ScalarCode::SineCosine;
        if (direct) at[program.value] = target;
        Complex* scratch = &registers_.emplace_back();
        for (const ScalarOp& op : program.ops) {
            Instruction in;
            in.a = at[op.a];
            in.out = at[op.result];
            switch (op.code) {
                case ScalarCode::Add: in.code = Code::Add; break;
                case ScalarCode::Subtract: in.code = Code::Subtract; break;
                case ScalarCode::Multiply: in.code = Code::Multiply; break;
                case ScalarCode::Less: in.code = Code::Less; break;
                case ScalarCode::Greater: in.code = Code::Greater; break;
                case ScalarCode::LessEqual: in.code = Code::LessEqual; break;
                case ScalarCode::GreaterEqual: in.code = Code::GreaterEqual; break;
                case ScalarCode::Select: in.code = Code::Select; break;
                default: in.code = Code::Kernel; break;
            }
            in.b = at[op.b];  // unary kernels leave it unread
            in.second = op.code == ScalarCode::SineCosine ? at[op.b] : scratch;
            in.c = at[op.c];
            in.op = &op;
            code_.push_back(in);
        }
        if (direct) return target;
        value = at[program.value];
    }
    if (value && target) {
        Instruction copy;
        copy.a = value;
        copy.out = target;
        code_.push_back(copy);
    }
    return value;
}

bool NumberLoop::bind(Eval& ev) {
    code_.clear();
    targets_.clear();
    // Pointers into the block are kept: it must never move once laid out.
    size_t registers = 1;
    auto room = [&](Ref source) {
        const Item& item = source.item();
        registers += item.scalarProgram < 0
                         ? 1
                         : 2 * static_cast<size_t>(
                                   source.expr->scalarPrograms[static_cast<size_t>(item.scalarProgram)].registerCount) +
                               1;
    };
    if (condition_.valid()) room(condition_);
    for (Ref value : values_) room(value);
    registers_.clear();
    registers_.reserve(registers);
    if (condition_.valid()) {
        Instruction test;
        test.code = Code::Test;
        test.a = emitSource(ev, condition_, nullptr);
        if (!test.a) return false;
        // An ordering that is the condition's value becomes the test itself.
        if (!code_.empty() && test.a == code_.back().out && code_.back().code >= Code::Less &&
            code_.back().code <= Code::GreaterEqual)
            code_.back().code = static_cast<Code>(static_cast<int>(code_.back().code) - static_cast<int>(Code::Less) +
                                                  static_cast<int>(Code::EndUnlessLess));
        else
            code_.push_back(test);
    }
    for (size_t k = 0; k < values_.size(); ++k) {
        Complex* target = ev.engine.stores.redefinableNumber(symbols_[k]);
        if (!target || !emitSource(ev, values_[k], target)) return false;
        targets_.push_back(target);
    }
    assert(registers_.size() <= registers);
    // Variables need saving only when something can fail after the first
    // of them is written.
    const auto writes = [this](const Instruction& in) {
        return std::find(targets_.begin(), targets_.end(), in.out) != targets_.end();
    };
    const auto fallible = [](const Instruction& in) { return in.code > Code::Select; };
    const auto firstWrite = std::find_if(code_.begin(), code_.end(), writes);
    saveTargets_ = std::any_of(firstWrite, code_.end(), fallible);
    bound_ = true;
    return true;
}


// The arithmetic is the kernels' own (the same bits as the general walk).
NumberLoop::Pass NumberLoop::pass() {
    // A step that cannot run here puts back what the pass changed, so that
    // the general walk runs the whole pass from the same state.
    Complex saved[kMaxSteps];
    const size_t steps = saveTargets_ ? targets_.size() : 0;
    for (size_t k = 0; k < steps; ++k) saved[k] = *targets_[k];
    Complex truth{1.0, 0.0};  // of the condition's ordering
    for (const Instruction& in : code_) {
        bool ok = true;
        switch (in.code) {
            case Code::Copy: *in.out = *in.a; break;
            case Code::Test:
                if (!isTrue(*in.a)) return Pass::Ended;
                break;
            case Code::EndUnlessLess: ok = orderReal<std::less<double>>(*in.a, *in.b, truth); break;
            case Code::EndUnlessGreater: ok = orderReal<std::greater<double>>(*in.a, *in.b, truth); break;
            case Code::EndUnlessLessEqual: ok = orderReal<std::less_equal<double>>(*in.a, *in.b, truth); break;
            case Code::EndUnlessGreaterEqual: ok = orderReal<std::greater_equal<double>>(*in.a, *in.b, truth); break;
            case Code::Add: *in.out = cxAdd(*in.a, *in.b); break;
            case Code::Subtract: *in.out = cxSubtract(*in.a, *in.b); break;
            case Code::Multiply: *in.out = cxMultiply(*in.a, *in.b); break;
            case Code::Select: *in.out = isTrue(*in.a) ? *in.b : *in.c; break;
            case Code::Less: ok = orderReal<std::less<double>>(*in.a, *in.b, *in.out); break;
            case Code::Greater: ok = orderReal<std::greater<double>>(*in.a, *in.b, *in.out); break;
            case Code::LessEqual: ok = orderReal<std::less_equal<double>>(*in.a, *in.b, *in.out); break;
            case Code::GreaterEqual: ok = orderReal<std::greater_equal<double>>(*in.a, *in.b, *in.out); break;
            case Code::Kernel: ok = in.op->kernel(*in.op, *in.a, *in.b, *in.out, *in.second); break;
        }
        if (!ok) {
            for (size_t k = 0; k < steps; ++k) *targets_[k] = saved[k];
            return Pass::General;
        }
        if (truth.re == 0.0) return Pass::Ended;
    }
    return Pass::Done;
}

NumberLoop::Pass NumberLoop::run(Eval& ev) {
    if (!bound_ && !bind(ev)) return Pass::General;
    Pass result = Pass::Done;
    bool ran = false;
    while (result == Pass::Done) {
        if (ev.aborted()) {
            result = Pass::Stopped;
            break;
        }
        result = pass();
        ran |= result == Pass::Done;
    }
    // The last result is only read outside these passes: it is stored once.
    if (ran && !targets_.empty()) storeLastNumber(ev.engine, *targets_.back());
    return result;
}

NumberLoop::Pass NumberLoop::runFor(Eval& ev, Complex& variable, double& v, double to, double step) {
    if (!bound_ && !bind(ev)) return Pass::General;
    Pass result = Pass::Ended;
    bool ran = false;
    for (; v <= to; v += step) {
        if (ev.aborted()) {
            result = Pass::Stopped;
            break;
        }
        variable = Complex{v, 0.0};
        result = pass();
        if (result != Pass::Done) break;
        ran = true;
        result = Pass::Ended;
    }
    if (ran && !targets_.empty()) storeLastNumber(ev.engine, *targets_.back());
    return result;
}

}  // namespace vx
