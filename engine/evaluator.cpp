#include "engine/evaluator.h"

#include <pthread.h>

#include <algorithm>

#include "engine/builtin_table.h"
#include "engine/operators.h"
#include "engine/structures.h"
#include "engine/symbols.h"
#include "mathlib/complex.h"
#include "mathlib/elementary.h"

namespace vx {
namespace {

// Recursion is bounded by the evaluating thread's own stack: deep user
// recursion must end with a message, whatever thread (and stack size, and
// sanitizer frame sizes) it runs on.
constexpr size_t kStackReserve = 256 * 1024;
constexpr int kMaxDepth = 100000;

const char* stackLimit() {
    thread_local const char* limit = [] {
        pthread_attr_t attr;
        void* base = nullptr;
        size_t size = 0;
        if (pthread_getattr_np(pthread_self(), &attr) == 0) {
            pthread_attr_getstack(&attr, &base, &size);
            pthread_attr_destroy(&attr);
        }
        if (!base || size <= 2 * kStackReserve) return static_cast<const char*>(nullptr);
        return static_cast<const char*>(base) + kStackReserve;
    }();
    return limit;
}

bool stackExhausted() {
    char marker = 0;
    const char* limit = stackLimit();
    const char* here = &marker;
    return limit && here < limit;
}

struct DepthGuard {
    explicit DepthGuard(int& depth) : depth(depth) { ++depth; }
    ~DepthGuard() { --depth; }
    int& depth;
};

MatrixPowerFn gMatrixToPower = nullptr;
MatrixPowerFn gScalarToMatrix = nullptr;

}  // namespace

void setMatrixPowerHooks(MatrixPowerFn matrixToPower, MatrixPowerFn scalarToMatrix) {
    gMatrixToPower = matrixToPower;
    gScalarToMatrix = scalarToMatrix;
}

Tag matrixPower(Eval& ev, Value& base, Value& exponent, Value& out) {
    if (!gMatrixToPower) return ev.fail("(matpower) Unexpected Error");
    return gMatrixToPower(ev, base, exponent, out);
}

Tag scalarToMatrixPower(Eval& ev, Value& base, Value& exponent, Value& out) {
    if (!gScalarToMatrix) return ev.fail("(matexp) Unexpected Error");
    return gScalarToMatrix(ev, base, exponent, out);
}

Tag Eval::evaluateItem(Ref ref, Value& out) {
    if (!ref.valid()) return fail("Error: Empty Stack");
    const Item& item = ref.item();
    switch (item.kind) {
        case kLiteral:
            out.tag = kComplex;
            out.z = item.value;
            out.elements.clear();
            return kComplex;
        case kVariable:
            return resolveVariable(item, out);
        case kOperator:
        case kFunction: {
            // The stack is measured every 16 levels: 16 frames fit many times
            // over into the reserve kept below the limit.
            if ((depth_ & 15) == 0 && (depth_ >= kMaxDepth || stackExhausted()))
                return fail("Error: Recursion Too Deep");
            DepthGuard guard(depth_);
            Args args{ref.expr, ref.expr->operandRoots.data() + item.operandStart, item.count, item.name};
            if (item.kind == kFunction) return evaluateCall(item, args, out);
            if (!item.handler) item.handler = operatorHandler(item.code);
            if (!item.handler) {
                if (item.code[1]) return fail("Error: Unknown Operator '%c%c'", item.code[0], item.code[1]);
                return fail("Error: Unknown Operator '%c'", item.code[0]);
            }
            return item.handler(*this, args, out);
        }
        default:
            return fail("Error: Empty Stack");
    }
}

Tag Eval::evaluateCall(const Item& item, const Args& args, Value& out) {
    if (item.resolution == Resolution::Unresolved) {
        if (item.name == "liststruct") {
            item.resolution = Resolution::ListStruct;
        } else if (item.name == "matstruct") {
            item.resolution = Resolution::MatStruct;
        } else if (Handler h = builtinHandler(item.name)) {
            item.handler = h;
            item.resolution = Resolution::Builtin;
        } else if (int e = findElementary(item.name); e >= 0) {
            item.elementary = e;
            item.resolution = Resolution::Elementary;
        } else {
            item.resolution = Resolution::Dynamic;
        }
    }
    switch (item.resolution) {
        case Resolution::ListStruct: return buildList(*this, args, out);
        case Resolution::MatStruct: return buildMatrix(*this, args, item.columns, out);
        case Resolution::Builtin: return item.handler(*this, args, out);
        case Resolution::Elementary: return callElementary(item.elementary, args, out);
        default: break;
    }
    const SymbolBinding* b = engine.stores.findBinding(item.symbol);
    if (b && b->function >= 0) return callUserFunction(b->function, args, out);
    return fail("Error: Unknown Function '%s'", item.name.c_str());
}

Tag Eval::callElementary(int index, const Args& args, Value& out) {
    const ElementaryEntry& f = elementaryTable()[static_cast<size_t>(index)];
    if (args.count != 1) return fail("(%.*s) Error: Syntax", static_cast<int>(f.name.size()), f.name.data());
    try {
        Tag tag = evaluate(args[0], out);
        switch (tag) {
            case kComplex:
                out.z = f.apply(out.z);
                return kComplex;
            case kList:
                for (Complex& c : out.elements) c = f.apply(c);
                return kList;
            case kMatrix:
                if (!f.matrixFunction) {
                    for (Complex& c : out.elements) c = f.apply(c);
                    return kMatrix;
                }
                break;
            default:
                return kNone;
        }
        // A matrix function: matfunc(M, f(blehx), blehx) with M bound as a local.
        LocalScope scope(engine);
        if (scope.push("mcallfunc001", std::move(out)) < 0) return fail(kTooManyLocals);
        Expression call = parseInternal("matfunc(mcallfunc001," + std::string(f.name) + "(blehx),blehx)");
        out = Value{};
        return evaluate(Ref{&call, call.root()}, out);
    } catch (const DivisionByZero&) {
        return fail("Error: Division by Zero");
    }
}

Tag Eval::callUserFunction(int index, const Args& args, Value& out) {
    // Hold the definition: an operand or the body may delete or replace it.
    std::shared_ptr<const FunctionDefinition> def = engine.stores.functions[static_cast<size_t>(index)].definition;
    if (!def) return fail("Error: Unknown Function '%s'", std::string(args.name).c_str());
    if (args.count != static_cast<int>(def->params.size()))
        return fail("(%s) Error: Syntax", std::string(args.name).c_str());
    LocalScope scope(engine);
    for (int k = 0; k < args.count; ++k) {
        Value v;
        if (!evaluate(args[k], v)) return kNone;
        if (scope.push(def->paramSymbols[static_cast<size_t>(k)], def->params[static_cast<size_t>(k)], std::move(v)) < 0)
            return fail(kTooManyLocals);
    }
    const Expression& body = *def->body;
    return evaluate(Ref{&body, body.root()}, out);
}

Tag Eval::resolveVariable(const Item& item, Value& out) {
    if (item.special == SpecialName::ImaginaryUnit) {
        out.tag = kComplex;
        out.z = Complex{0.0, 1.0};
        out.elements.clear();
        return kComplex;
    }
    if (item.special == SpecialName::LastResult) {
        if (engine.lastResult.tag == kNone) return fail("Error: '%c' Has No Value", '%');
        out = engine.lastResult;
        return out.tag;
    }
    const Stores& s = engine.stores;
    if (const SymbolBinding* b = s.findBinding(item.symbol)) {
        if (b->localComplex >= 0) {
            out.tag = kComplex;
            out.z = s.localComplex[static_cast<size_t>(b->localComplex)].value.z;
            out.elements.clear();
            return kComplex;
        }
        if (b->localList >= 0) {
            out = s.localList[static_cast<size_t>(b->localList)].value;
            return kList;
        }
        if (b->localMatrix >= 0) {
            out = s.localMatrix[static_cast<size_t>(b->localMatrix)].value;
            return kMatrix;
        }
        if (b->globalComplex >= 0) {
            out.tag = kComplex;
            out.z = s.complexVariables[static_cast<size_t>(b->globalComplex)].value;
            out.elements.clear();
            return kComplex;
        }
        if (b->globalList >= 0) {
            const ArrayVariable& v = s.listVariables[static_cast<size_t>(b->globalList)];
            out = Value::list(v.elements);
            return kList;
        }
        if (b->globalMatrix >= 0) {
            const ArrayVariable& v = s.matrixVariables[static_cast<size_t>(b->globalMatrix)];
            out = Value::matrix(v.columns, v.rows, v.elements);
            return kMatrix;
        }
    }
    return fail("Error: Unknown Variable '%s'", item.name.c_str());
}

int evaluateRealEndpoint(Eval& ev, double& result, Ref root, std::string_view commandName) {
    Value v;
    Tag tag = ev.evaluate(root, v);
    if (!tag) return 0;
    std::string name(commandName);
    if (tag != kComplex) return ev.fail("(%s) Error: Data Type", name.c_str()), 0;
    if (v.z.im != 0.0) return ev.fail("(%s) Error: Complex Endpoint", name.c_str()), 0;
    result = v.z.re;
    return 1;
}

int findCoordinateSystem(Eval& ev, int& index, const std::string& name, int dimension,
                         std::string_view commandName) {
    std::string command(commandName);
    int k = ev.engine.stores.findCoordinates(name);
    if (k < 0) return ev.fail("(%s) Unknown Coordinate System '%s'", command.c_str(), name.c_str()), 1;
    if (ev.engine.stores.coordinates[static_cast<size_t>(k)].dimension != dimension)
        return ev.fail("(%s) Invalid Coordinate System", command.c_str()), 1;
    index = k;
    return 2;
}

int mapToCartesian(Eval& ev, int system, const Complex* coordinates, int dimension, Complex* cartesian) {
    const CoordinateSystem& cs = ev.engine.stores.coordinates[static_cast<size_t>(system)];
    SharedExpression formula = cs.formula;
    if (!formula) return ev.fail("Error: Invalid Coordinate System"), 0;
    Value result;
    {
        LocalScope scope(ev.engine);
        for (int k = 0; k < dimension; ++k)
            if (scope.push(cs.coordinateNames[static_cast<size_t>(k)], Value::scalar(coordinates[k])) < 0)
                return ev.fail(kTooManyLocals), 0;
        if (!ev.evaluate(Ref{formula.get(), formula->root()}, result)) return 0;
    }
    if (result.tag != kMatrix || result.rows != 1 || result.columns < dimension)
        return ev.fail("Error: Coordinate System '%s' must give a row of %d numbers", cs.name.c_str(), dimension), 0;
    for (int k = 0; k < dimension; ++k) cartesian[k] = result.elements[static_cast<size_t>(k)];
    return 1;
}

int mapToCartesian2(Eval& ev, int system, Complex u, Complex v, Complex& x, Complex& y) {
    Complex in[2] = {u, v}, out[2];
    if (!mapToCartesian(ev, system, in, 2, out)) return 0;
    x = out[0];
    y = out[1];
    return 1;
}

int mapToCartesian3(Eval& ev, int system, Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z) {
    Complex in[3] = {u, v, w}, out[3];
    if (!mapToCartesian(ev, system, in, 3, out)) return 0;
    x = out[0];
    y = out[1];
    z = out[2];
    return 1;
}

}  // namespace vx

namespace vx {

bool Eval::runScalar(const ScalarProgram& program, Complex& z) {
    ScalarRegisters registers;
    Complex* r = registers.values;
    for (size_t k = 0; k < program.constants.size(); ++k) r[k] = program.constants[k];
    for (const ScalarLoad& load : program.loads)
        if (!loadScalarName(load, r[load.target])) return false;
    for (const ScalarOp& op : program.ops)
        if (!op.step(r, op)) return false;
    z = r[program.value];
    return true;
}

unsigned Eval::runScalarLanes(const ScalarProgram& program, Complex* registers, int lanes, int loopSymbol,
                              double first, double step, Complex* values) {
    constexpr int stride = ScalarProgram::kLanes;
    const unsigned all = (1u << lanes) - 1;
    Complex* r = registers;
    for (size_t k = 0; k < program.constants.size(); ++k)
        std::fill_n(r + k * stride, lanes, program.constants[k]);
    for (const ScalarLoad& load : program.loads) {
        Complex* target = r + load.target * stride;
        if (load.symbol == loopSymbol) {
            for (int l = 0; l < lanes; ++l) target[l] = Complex{first + l * step, 0.0};
            continue;
        }
        Complex value;
        if (!loadScalarName(load, value)) return all;
        std::fill_n(target, lanes, value);
    }
    unsigned failed = 0;
    for (const ScalarOp& op : program.ops) failed |= op.laneStep(r, op, lanes);
    std::copy_n(r + program.value * stride, lanes, values);
    return failed & all;
}

}  // namespace vx
