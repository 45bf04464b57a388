// new, delete, type, size, newfunc, delfunc, newcoords, delcoords,
// changecoords and their hidden (locked) variants.
#include <cctype>

#include "engine/engine_builtins.h"
#include "engine/evaluator.h"
#include "engine/session.h"
#include "engine/symbols.h"

namespace vx {
namespace {

// A plain name operand (a variable item), or nullptr.
const std::string* plainName(const Args& a, int k) {
    Ref r = a[k];
    if (!r.valid() || r.item().kind != kVariable) return nullptr;
    return &r.item().name;
}

Tag defineVariable(Eval& ev, const Args& a, Value& out, int locked) {
    const char* cmd = "new";
    if (a.count != 2) return ev.fail("(%s) Error: Syntax", cmd);
    const std::string* name = itemName(a[0]);
    if (!name || name->empty() || std::isdigit(static_cast<unsigned char>((*name)[0])))
        return ev.fail("(%s) Error: Invalid Name", cmd);
    // The name's item is still there after the value is evaluated: an
    // expression is never changed while it runs.
    const int symbol = a[0].item().symbol;
    Value v;
    Tag tag = ev.evaluate(a[1], v);
    Stores& s = ev.engine.stores;
    if (tag == kComplex && s.redefineComplexInPlace(symbol, v.z, locked)) {
        out = std::move(v);
        return tag;
    }
    // A full table refuses before anything is deleted, so that nothing is lost.
    if (tag && s.variableTableFull(tag)) {
        const SymbolBinding* b = s.findBinding(symbol);
        bool replacesSameType = b && ((tag == kComplex && b->globalComplex >= 0) ||
                                      (tag == kList && b->globalList >= 0) || (tag == kMatrix && b->globalMatrix >= 0));
        if (!replacesSameType) return ev.fail("(%s) Error: Too many variables", cmd);
    }
    if (s.deleteVariable(symbol) == 2) return ev.fail("(%s) Error: '%s' is locked", cmd, name->c_str());
    if (!tag) return kNone;
    if (tag == kComplex)
        s.createComplexVariable(symbol, *name, v.z, locked);
    else if (tag == kList)
        s.createListVariable(*name, v.elements, locked);
    else
        s.createMatrixVariable(*name, v.columns, v.rows, v.elements, locked);
    out = std::move(v);
    return tag;
}

Tag bNew(Eval& ev, const Args& a, Value& out) { return defineVariable(ev, a, out, 0); }

}  // namespace

// Loop bodies that only update numbers ("new(s,s+k);") are most of what
// while, for and seq run: these do one without the general walk.
bool assignNumber(Eval& ev, Ref call, Complex& value) {
    if (!call.valid()) return false;
    const Item& item = call.item();
    if (item.kind != kFunction || item.count != 2 || item.resolution != Resolution::Builtin || item.handler != bNew)
        return false;
    const Args a{call.expr, call.expr->operandRoots.data() + item.operandStart, 2, item.name};
    const Item& name = a[0].item();
    if (name.kind != kVariable || name.name.empty() || std::isdigit(static_cast<unsigned char>(name.name[0])))
        return false;
    return ev.evaluateScalar(a[1], value) && ev.engine.stores.redefineComplexInPlace(name.symbol, value, 0);
}

bool assignNumberQuietly(Eval& ev, Ref body, Complex& value) {
    const Item& quiet = body.item();
    if (quiet.kind != kOperator || quiet.count != 1 || quiet.code[0] != ';' || quiet.code[1]) return false;
    return assignNumber(ev, Ref{body.expr, body.expr->operandRoots[static_cast<size_t>(quiet.operandStart)]}, value);
}

namespace {

Tag bNewHidden(Eval& ev, const Args& a, Value& out) { return defineVariable(ev, a, out, 1); }

Tag bDelete(Eval& ev, const Args& a, Value&) {
    for (int k = 0; k < a.count; ++k) {
        const std::string* name = itemName(a[k]);
        if (!name) {
            ev.fail("(delete) Error: Invalid Name");
        } else {
            switch (ev.engine.stores.deleteVariable(*name)) {
                case 1: ev.fail("(delete) Deleted '%s'", name->c_str()); break;
                case 2: ev.fail("(delete) Error: '%s' is locked", name->c_str()); break;
                default: ev.fail("Error: Unknown Variable '%s'", name->c_str()); break;
            }
        }
        printResult(ev.engine, ev.error, Value{}, kNone);
    }
    return ev.fail("(delete) No Return Value");
}

Tag bType(Eval& ev, const Args& a, Value& out) {
    if (a.count != 1) return ev.fail("(type) Error: Syntax");
    Value v;
    Tag tag = ev.evaluate(a[0], v);
    if (!tag) return kNone;
    out = Value::scalar(tag == kComplex ? 0.0 : tag == kList ? 1.0 : 2.0);
    return kComplex;
}

Tag bSize(Eval& ev, const Args& a, Value& out) {
    if (a.count < 1) return ev.fail("(size) Error: Syntax");
    Value v;
    Tag tag = ev.evaluate(a[0], v);
    if (!tag) return kNone;
    if (tag == kComplex)
        out = Value::scalar(1.0);
    else if (tag == kList)
        out = Value::scalar(static_cast<double>(v.count()));
    else
        out = Value::list({Complex{static_cast<double>(v.rows), 0.0}, Complex{static_cast<double>(v.columns), 0.0}});
    return out.tag;
}

Tag defineFunction(Eval& ev, const Args& a, int locked) {
    const char* cmd = "newfunc";
    if (a.count < 2 || a.count - 2 > kMaxParameters) return ev.fail("(%s) Error: Syntax", cmd);
    auto def = std::make_shared<FunctionDefinition>();
    const std::string* name = plainName(a, 0);
    if (!name) return ev.fail("(%s) Error: Invalid Name", cmd);
    for (int k = 1; k < a.count - 1; ++k) {
        const std::string* param = plainName(a, k);
        if (!param) return ev.fail("(%s) Error: Invalid Name", cmd);
        def->params.push_back(*param);
        def->paramSymbols.push_back(internSymbol(*param));
    }
    Stores& s = ev.engine.stores;
    for (int k = s.findFunction(*name); k >= 0; k = s.findFunction(*name)) {
        if (s.functions[static_cast<size_t>(k)].locked) return ev.fail("(%s) Error: '%s' is locked", cmd, name->c_str());
        s.deleteFunctionAt(k);
    }
    int slot = s.freeFunctionSlot();
    if (slot < 0) return ev.fail("(%s) Too many user functions", cmd);
    def->body = cloneSubexpression(a[a.count - 1]);
    UserFunction f;
    f.locked = locked;
    f.name = *name;
    f.definition = std::move(def);
    s.storeFunction(slot, std::move(f));
    return ev.fail("(%s) Function '%s' created", cmd, name->c_str());
}

Tag bNewFunc(Eval& ev, const Args& a, Value&) { return defineFunction(ev, a, 0); }
Tag bNewFuncHidden(Eval& ev, const Args& a, Value&) { return defineFunction(ev, a, 1); }

Tag bDelFunc(Eval& ev, const Args& a, Value&) {
    if (a.count != 1) return ev.fail("(delfunc) Error: Syntax");
    const std::string* name = itemName(a[0]);
    if (!name) return ev.fail("(delfunc) Error: Invalid Name");
    Stores& s = ev.engine.stores;
    int k = s.findFunction(*name);
    if (k < 0) return ev.fail("(delfunc) Unknown Function '%s'", name->c_str());
    if (s.functions[static_cast<size_t>(k)].locked) return ev.fail("(delfunc) Error: '%s' is locked", name->c_str());
    s.deleteFunctionAt(k);
    return ev.fail("(delfunc) Deleted '%s'", name->c_str());
}

Tag defineCoordinates(Eval& ev, const Args& a, int locked) {
    const char* cmd = "newcoords";
    // The count is checked first so that a malformed call never deletes
    // the system it was meant to replace.
    if (a.count != 4 && a.count != 5) return ev.fail("(%s) Error: Syntax", cmd);
    const std::string* name = plainName(a, 0);
    if (!name) return ev.fail("(%s) Error: Invalid Name", cmd);
    CoordinateSystem cs;
    cs.dimension = a.count - 2;
    for (int k = 0; k < cs.dimension; ++k) {
        const std::string* coordinate = plainName(a, k + 1);
        if (!coordinate) return ev.fail("(%s) Error: Invalid Name", cmd);
        cs.coordinateNames[static_cast<size_t>(k)] = *coordinate;
    }
    Stores& s = ev.engine.stores;
    for (int k = s.findCoordinates(*name); k >= 0; k = s.findCoordinates(*name)) {
        if (s.coordinates[static_cast<size_t>(k)].locked)
            return ev.fail("(%s) Error: '%s' is locked", cmd, name->c_str());
        s.deleteCoordinatesAt(k);
    }
    int slot = s.freeCoordinateSlot();
    if (slot < 0) return ev.fail("(%s) Error: Too many coordinate systems", cmd);
    cs.inUse = true;
    cs.locked = locked;
    cs.name = *name;
    cs.formula = cloneSubexpression(a[a.count - 1]);
    s.coordinates[static_cast<size_t>(slot)] = std::move(cs);
    return ev.fail("(%s) Coordinate System '%s' Created", cmd, name->c_str());
}

Tag bNewCoords(Eval& ev, const Args& a, Value&) { return defineCoordinates(ev, a, 0); }
Tag bNewCoordsHidden(Eval& ev, const Args& a, Value&) { return defineCoordinates(ev, a, 1); }

Tag bDelCoords(Eval& ev, const Args& a, Value&) {
    if (a.count != 1) return ev.fail("(delcoords) Error: Syntax");
    const std::string* name = itemName(a[0]);
    if (!name) return ev.fail("(delcoords) Error: Invalid Name");
    Stores& s = ev.engine.stores;
    int k = s.findCoordinates(*name);
    if (k < 0) return ev.fail("(delcoords) Unknown Coordinate System '%s'", name->c_str());
    if (s.coordinates[static_cast<size_t>(k)].locked) return ev.fail("(delcoords) Error: '%s' is locked", name->c_str());
    s.deleteCoordinatesAt(k);
    return ev.fail("(delcoords) Deleted '%s'", name->c_str());
}

Tag bChangeCoords(Eval& ev, const Args& a, Value& out) {
    if (a.count != 2) return ev.fail("(changecoords) Error: Syntax");
    Value point;
    Tag tag = ev.evaluate(a[0], point);
    if (!tag) return kNone;
    if (tag != kMatrix) return ev.fail("(changecoords) Error: Data Type");
    if (point.rows != 1 || (point.columns != 2 && point.columns != 3)) return ev.fail("(changecoords) Error: Dimension");
    std::string system;
    if (!readCoordsArgument(a[1], system)) return ev.fail("(changecoords) Error: Syntax");
    int index = 0;
    if (findCoordinateSystem(ev, index, system, point.columns, "changecoords") != 2) return kNone;
    std::vector<Complex> cartesian(static_cast<size_t>(point.columns));
    if (!mapToCartesian(ev, index, point.elements.data(), point.columns, cartesian.data())) return kNone;
    out = Value::matrix(point.columns, 1, std::move(cartesian));
    return kMatrix;
}

constexpr BuiltinEntry kDefinitions[] = {
    {"newfunc", bNewFunc, kChangesState},
    {"newfunchidden", bNewFuncHidden, kChangesState},
    {"delfunc", bDelFunc, kChangesState},
    {"newcoords", bNewCoords, kChangesState},
    {"newcoordshidden", bNewCoordsHidden, kChangesState},
    {"delcoords", bDelCoords, kChangesState},
    {"changecoords", bChangeCoords, kChangesState},
    {"type", bType},
    {"new", bNew, kChangesState},
    {"newhidden", bNewHidden, kChangesState},
    {"delete", bDelete, kChangesState},
    {"size", bSize},
};

}  // namespace

bool readCoordsArgument(Ref arg, std::string& system) {
    if (!arg.valid()) return false;
    const Item& op = arg.item();
    if (op.kind != kOperator || op.code[0] != '=' || op.code[1] != 0 || op.count != 2) return false;
    const int* roots = arg.expr->operandRoots.data() + op.operandStart;
    Ref left{arg.expr, roots[0]}, right{arg.expr, roots[1]};
    if (!left.valid() || !right.valid()) return false;
    if (left.item().kind != kVariable || left.item().name != "coords") return false;
    if (right.item().kind != kVariable) return false;
    system = right.item().name;
    return true;
}

std::span<const BuiltinEntry> definitionBuiltins() { return kDefinitions; }

}  // namespace vx
