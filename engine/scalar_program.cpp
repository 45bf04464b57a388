#include "engine/scalar_program.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>

#include "engine/builtin_table.h"
#include "engine/expression.h"
#include "mathlib/complex.h"
#include "mathlib/elementary.h"

namespace vx {
namespace {

// What one item of a pure sub-expression contributes to its program.
enum class Part { Constant, Load, Operation };

struct ItemOp {
    Part part = Part::Constant;
    Complex value{};                          // Constant
    int symbol = ScalarLoad::kLastResult;     // Load
    ScalarCode code = ScalarCode::Add;        // Operation
    Complex (*apply)(Complex) = nullptr;
};

// The contribution of one item, or false when the item is not pure scalar
// arithmetic.
bool opFor(const Item& item, ItemOp& op) {
    switch (item.kind) {
        case kLiteral:
            op.part = Part::Constant;
            op.value = item.value;
            return true;
        case kVariable:
            if (item.special == SpecialName::ImaginaryUnit) {
                op.part = Part::Constant;
                op.value = Complex{0.0, 1.0};
            } else {
                op.part = Part::Load;
                op.symbol = item.special == SpecialName::LastResult ? ScalarLoad::kLastResult : item.symbol;
            }
            return true;
        case kFunction: {
            // Both branches are computed; one that fails where it is not
            // taken sends the point to the general walk, which takes only
            // the branch it needs.
            if (item.name == "if" && (item.count == 2 || item.count == 3)) {
                op.part = Part::Operation;
                op.code = ScalarCode::Select;
                return true;
            }
            if (item.count != 1 || builtinHandler(item.name)) return false;
            int k = findElementary(item.name);
            if (k < 0) return false;
            op.part = Part::Operation;
            op.code = ScalarCode::Apply;
            op.apply = elementaryTable()[static_cast<size_t>(k)].apply;
            return true;
        }
        case kOperator:
            break;
        default:
            return false;
    }
    op.part = Part::Operation;
    const char a = item.code[0], b = item.code[1];
    if (item.count == 1) {
        if (b != 0 || (a != '_' && a != '!')) return false;
        op.code = a == '_' ? ScalarCode::Negate : ScalarCode::Factorial;
        return true;
    }
    if (item.count != 2) return false;
    struct Entry {
        char first, second;
        ScalarCode code;
    };
    static constexpr Entry kCodes[] = {
        {'+', 0, ScalarCode::Add},         {'-', 0, ScalarCode::Subtract},      {'*', 0, ScalarCode::Multiply},
        {'/', 0, ScalarCode::Divide},      {'^', 0, ScalarCode::Power},         {'=', 0, ScalarCode::Equal},
        {'=', '=', ScalarCode::Equal},     {'!', '=', ScalarCode::NotEqual},    {'<', '>', ScalarCode::NotEqual},
        {'>', '<', ScalarCode::NotEqual},  {'<', 0, ScalarCode::Less},          {'>', 0, ScalarCode::Greater},
        {'<', '=', ScalarCode::LessEqual}, {'=', '<', ScalarCode::LessEqual},   {'>', '=', ScalarCode::GreaterEqual},
        {'=', '>', ScalarCode::GreaterEqual},
    };
    for (const Entry& e : kCodes)
        if (e.first == a && e.second == b) {
            op.code = e.code;
            return true;
        }
    return false;
}

// The arithmetic of each code on one lane, false when the lane fails. A
// kernel reads a (and b for two operands) and writes out; the paired sine
// and cosine writes its cosine to `second`, which is register b.
template <Complex (*F)(Complex, Complex)>
bool arithmetic(const ScalarOp&, const Complex& a, const Complex& b, Complex& out, Complex&) {
    out = F(a, b);
    return true;
}

bool divide(const ScalarOp&, const Complex& a, const Complex& b, Complex& out, Complex&) {
    try {
        out = cxDivide(a, b);
        return true;
    } catch (const DivisionByZero&) {
        return false;
    }
}

bool negate(const ScalarOp&, const Complex& a, const Complex&, Complex& out, Complex&) {
    out = Complex{-a.re, -a.im};
    return true;
}

bool factorial(const ScalarOp&, const Complex& a, const Complex&, Complex& out, Complex&) {
    out = cxGamma(cxAdd(a, Complex{1.0, 0.0}));
    return true;
}

bool applyElementary(const ScalarOp& op, const Complex& a, const Complex&, Complex& out, Complex&) {
    try {
        out = op.apply(a);
        return true;
    } catch (const DivisionByZero&) {
        return false;
    }
}

bool sineCosine(const ScalarOp&, const Complex& a, const Complex&, Complex& out, Complex& second) {
    cxSinCos(a, out, second);
    return true;
}

template <bool Equal>
bool equality(const ScalarOp&, const Complex& a, const Complex& b, Complex& out, Complex&) {
    const bool equal = a.re == b.re && a.im == b.im;
    out = Complex{equal == Equal ? 1.0 : 0.0, 0.0};
    return true;
}

template <typename Order>
bool order(const ScalarOp&, const Complex& a, const Complex& b, Complex& out, Complex&) {
    return orderReal<Order>(a, b, out);
}

using Kernel = ScalarKernel;

template <Kernel K>
bool singleStep(Complex* r, const ScalarOp& op) {
    return K(op, r[op.a], r[op.b], r[op.result], r[op.b]);
}

// A failed lane gets a NaN so that later operations read a defined value;
// its result is not used.
constexpr Complex kFailedLane{std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};

template <Kernel K>
unsigned laneStep(Complex* r, const ScalarOp& op, int lanes) {
    constexpr int stride = ScalarProgram::kLanes;
    Complex* out = r + op.result * stride;
    Complex* b = r + op.b * stride;
    const Complex* a = r + op.a * stride;
    unsigned failed = 0;
    for (int l = 0; l < lanes; ++l) {
        if (!K(op, a[l], b[l], out[l], b[l])) {
            out[l] = kFailedLane;
            failed |= 1u << l;
        }
    }
    return failed;
}

bool selectStep(Complex* r, const ScalarOp& op) {
    r[op.result] = isTrue(r[op.a]) ? r[op.b] : r[op.c];
    return true;
}

unsigned selectLanes(Complex* r, const ScalarOp& op, int lanes) {
    constexpr int stride = ScalarProgram::kLanes;
    for (int l = 0; l < lanes; ++l)
        r[op.result * stride + l] = isTrue(r[op.a * stride + l]) ? r[op.b * stride + l] : r[op.c * stride + l];
    return 0;
}

struct Steps {
    ScalarStep single;
    ScalarLaneStep lanes;
    Kernel kernel;
};

template <Kernel K>
constexpr Steps stepsOf() {
    return Steps{singleStep<K>, laneStep<K>, K};
}

Steps stepsFor(ScalarCode code) {
    switch (code) {
        case ScalarCode::Add: return stepsOf<arithmetic<cxAdd>>();
        case ScalarCode::Subtract: return stepsOf<arithmetic<cxSubtract>>();
        case ScalarCode::Multiply: return stepsOf<arithmetic<cxMultiply>>();
        case ScalarCode::Divide: return stepsOf<divide>();
        case ScalarCode::Power: return stepsOf<arithmetic<cxPower>>();
        case ScalarCode::Negate: return stepsOf<negate>();
        case ScalarCode::Factorial: return stepsOf<factorial>();
        case ScalarCode::Apply: return stepsOf<applyElementary>();
        case ScalarCode::SineCosine: return stepsOf<sineCosine>();
        case ScalarCode::Equal: return stepsOf<equality<true>>();
        case ScalarCode::NotEqual: return stepsOf<equality<false>>();
        case ScalarCode::Less: return stepsOf<order<std::less<double>>>();
        case ScalarCode::Greater: return stepsOf<order<std::greater<double>>>();
        case ScalarCode::LessEqual: return stepsOf<order<std::less_equal<double>>>();
        case ScalarCode::GreaterEqual: return stepsOf<order<std::greater_equal<double>>>();
        case ScalarCode::Select: return Steps{selectStep, selectLanes, nullptr};
    }
    return Steps{nullptr, nullptr, nullptr};
}

bool sameBits(Complex x, Complex y) { return std::memcmp(&x, &y, sizeof x) == 0; }

// sin(x) and cos(x) of one register become one operation sharing the
// reduction and the library call. It takes the place of the first of the
// two; the cosine's register is read only by later operations.
void pairSinesWithCosines(ScalarProgram& program) {
    auto& ops = program.ops;
    for (size_t j = 0; j < ops.size(); ++j) {
        if (ops[j].code != ScalarCode::Apply || (ops[j].apply != cxSin && ops[j].apply != cxCos)) continue;
        const auto partner = ops[j].apply == cxSin ? cxCos : cxSin;
        for (size_t k = j + 1; k < ops.size(); ++k) {
            if (ops[k].code != ScalarCode::Apply || ops[k].apply != partner || ops[k].a != ops[j].a) continue;
            const bool sineFirst = ops[j].apply == cxSin;
            ScalarOp both = ops[j];
            both.code = ScalarCode::SineCosine;
            both.result = sineFirst ? ops[j].result : ops[k].result;
            both.b = sineFirst ? ops[k].result : ops[j].result;
            ops[j] = both;
            ops.erase(ops.begin() + static_cast<std::ptrdiff_t>(k));
            break;
        }
    }
}

// An operation whose operands are all constants is done once, here, with
// the kernel the program would run, and becomes a constant itself. One
// that fails stays, so that the general walk reports it when it runs.
void foldConstant(const Expression& e, const Item& item, std::vector<ItemOp>& itemOps, size_t j) {
    ItemOp& op = itemOps[j];
    if (op.part != Part::Operation) return;
    Complex registers[4]{};
    for (int k = 0; k < item.count; ++k) {
        const ItemOp& operand = itemOps[static_cast<size_t>(e.operandRoots[static_cast<size_t>(item.operandStart + k)])];
        if (operand.part != Part::Constant) return;
        registers[k] = operand.value;
    }
    ScalarOp folded;
    folded.code = op.code;
    folded.apply = op.apply;
    folded.a = 0;
    folded.b = 1;
    folded.c = item.count == 3 ? 2 : 0;  // if(a, b) gives a when false
    folded.result = 3;
    if (!stepsFor(op.code).single(registers, folded)) return;
    op.part = Part::Constant;
    op.value = registers[3];
}

// The register program of the pure sub-expression made of items
// first..root (a contiguous run in postfix order).
ScalarProgram buildProgram(const Expression& e, const std::vector<ItemOp>& itemOps, int first, int root) {
    ScalarProgram program;
    // Register of each item, relative to `first`.
    std::vector<int> reg(static_cast<size_t>(root - first + 1), -1);
    // Constants and names first (deduplicated): they take the low registers.
    for (int k = first; k <= root; ++k) {
        const ItemOp& op = itemOps[static_cast<size_t>(k)];
        int& r = reg[static_cast<size_t>(k - first)];
        if (op.part == Part::Constant) {
            auto found = std::find_if(program.constants.begin(), program.constants.end(),
                                      [&](Complex c) { return sameBits(c, op.value); });
            r = static_cast<int>(found - program.constants.begin());
            if (found == program.constants.end()) program.constants.push_back(op.value);
        }
    }
    const int constantCount = static_cast<int>(program.constants.size());
    for (int k = first; k <= root; ++k) {
        const ItemOp& op = itemOps[static_cast<size_t>(k)];
        if (op.part != Part::Load) continue;
        auto found = std::find_if(program.loads.begin(), program.loads.end(),
                                  [&](const ScalarLoad& l) { return l.symbol == op.symbol; });
        if (found == program.loads.end()) {
            const auto target = static_cast<std::uint8_t>(constantCount + program.loads.size());
            program.loads.push_back(ScalarLoad{op.symbol, target});
            found = program.loads.end() - 1;
        }
        reg[static_cast<size_t>(k - first)] = found->target;
    }
    // Operations in postfix order; one already written with the same
    // operands is reused.
    const int firstResult = constantCount + static_cast<int>(program.loads.size());
    for (int k = first; k <= root; ++k) {
        const ItemOp& op = itemOps[static_cast<size_t>(k)];
        if (op.part != Part::Operation) continue;
        const Item& item = e.items[static_cast<size_t>(k)];
        ScalarOp next;
        next.code = op.code;
        next.apply = op.apply;
        auto operand = [&](int n) {
            int at = e.operandRoots[static_cast<size_t>(item.operandStart + n)];
            return static_cast<std::uint8_t>(reg[static_cast<size_t>(at - first)]);
        };
        next.a = operand(0);
        if (item.count >= 2) next.b = operand(1);
        if (op.code == ScalarCode::Select) next.c = item.count == 3 ? operand(2) : next.a;
        auto found = std::find_if(program.ops.begin(), program.ops.end(), [&](const ScalarOp& o) {
            return o.code == next.code && o.apply == next.apply && o.a == next.a && o.b == next.b && o.c == next.c;
        });
        if (found == program.ops.end()) {
            next.result = static_cast<std::uint8_t>(firstResult + program.ops.size());
            program.ops.push_back(next);
            found = program.ops.end() - 1;
        }
        reg[static_cast<size_t>(k - first)] = found->result;
    }
    // Every register is a constant, a name or an operation's result.
    program.registerCount = firstResult + static_cast<int>(program.ops.size());
    pairSinesWithCosines(program);
    for (ScalarOp& op : program.ops) {
        const Steps steps = stepsFor(op.code);
        op.step = steps.single;
        op.laneStep = steps.lanes;
        op.kernel = steps.kernel;
    }
    program.value = static_cast<std::uint8_t>(reg.back());
    return program;
}

}  // namespace

bool runScalarProgram(const ScalarProgram& program, const Complex* const* loads, Complex& z) {
    ScalarRegisters registers;
    Complex* r = registers.values;
    for (size_t k = 0; k < program.constants.size(); ++k) r[k] = program.constants[k];
    for (size_t k = 0; k < program.loads.size(); ++k) r[program.loads[k].target] = *loads[k];
    for (const ScalarOp& op : program.ops)
        if (!op.step(r, op)) return false;
    z = r[program.value];
    return true;
}

void compileScalarPrograms(Expression& e) {
    const size_t n = e.items.size();
    // pure[j]: item j and all it depends on are pure scalar arithmetic, in
    // few enough items for the registers.
    std::vector<char> pure(n, 0);
    std::vector<ItemOp> itemOps(n);
    for (size_t j = 0; j < n; ++j) {
        const Item& item = e.items[j];
        if (!opFor(item, itemOps[j])) continue;
        bool p = static_cast<int>(j) - item.first < ScalarProgram::kMaxRegisters;
        if (item.kind == kOperator || item.kind == kFunction) {
            for (int k = 0; k < item.count && p; ++k) {
                int root = e.operandRoots[static_cast<size_t>(item.operandStart + k)];
                p = root >= 0 && pure[static_cast<size_t>(root)];
            }
        }
        pure[j] = p;
        if (p) foldConstant(e, item, itemOps, j);
    }
    // A program is built for each pure operator or call whose parent is not
    // pure.
    std::vector<char> hasPureParent(n, 0);
    for (size_t j = 0; j < n; ++j) {
        const Item& item = e.items[j];
        if (!pure[j] || (item.kind != kOperator && item.kind != kFunction)) continue;
        for (int k = 0; k < item.count; ++k)
            hasPureParent[static_cast<size_t>(e.operandRoots[static_cast<size_t>(item.operandStart + k)])] = 1;
    }
    for (size_t j = 0; j < n; ++j) {
        Item& item = e.items[j];
        if (!pure[j] || hasPureParent[j] || (item.kind != kOperator && item.kind != kFunction)) continue;
        item.scalarProgram = static_cast<int>(e.scalarPrograms.size());
        e.scalarPrograms.push_back(buildProgram(e, itemOps, item.first, static_cast<int>(j)));
    }
}

}  // namespace vx
