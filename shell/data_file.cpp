#include "shell/data_file.h"

#include <memory>
#include <vector>

#include "engine/parser.h"
#include "engine/symbols.h"
#include "shell/binary_io.h"

namespace vx {
namespace {

// Coordinate systems map 2 or 3 coordinates (newcoords makes no others).
constexpr int kMinCoordinates = 2;
constexpr int kMaxCoordinates = 3;

bool streamable(const Expression& e) {
    for (const Item& item : e.items)
        if (item.kind != kLiteral && item.kind != kOperator && item.kind != kFunction && item.kind != kVariable)
            return false;
    return true;
}

void writeItems(ByteWriter& out, const Expression& e) {
    for (const Item& item : e.items) {
        out.i32(item.kind);
        switch (item.kind) {
            case kLiteral:
                out.f64(item.value.re);
                out.f64(item.value.im);
                break;
            case kOperator:
                out.u8(static_cast<std::uint8_t>(item.code[0]));
                out.u8(static_cast<std::uint8_t>(item.code[1]));
                out.i32(item.count);
                break;
            case kFunction:
                out.name(item.name);
                out.i32(item.count);
                out.i32(item.columns);
                break;
            default:
                out.name(item.name);
                break;
        }
    }
    out.i32(kEmptySlot);
}

void writeComplexes(ByteWriter& out, const std::vector<Complex>& elements) {
    for (const Complex& c : elements) {
        out.f64(c.re);
        out.f64(c.im);
    }
}

// What can go wrong in an entry; each stops the reading with its text.
enum class Fault { None, Truncated, BadTag, BadItem, NameTooLong, BadName, BadParameters, BadSize, BadExpression };

const char* faultText(Fault f) {
    switch (f) {
        case Fault::BadTag: return "Error reading file: Invalid data identifier";
        case Fault::BadItem: return "Error reading file: Invalid stack item identifier";
        case Fault::NameTooLong: return "Error reading file: Name too long";
        case Fault::BadName: return "Error reading file: Invalid name";
        case Fault::BadParameters: return "Error reading file: Invalid parameter count";
        case Fault::BadSize: return "Error reading file: Invalid value size";
        case Fault::BadExpression: return "Error reading file: Invalid expression";
        default: return "Error reading file: Unexpected end of file";
    }
}

class EntryReader {
public:
    explicit EntryReader(ByteReader& in) : in_(in) {}
    Fault fault = Fault::None;

    bool fail(Fault f) {
        if (fault == Fault::None) fault = f;
        return false;
    }
    bool i32(std::int32_t& v) { return in_.i32(v) || fail(Fault::Truncated); }
    bool u8(std::uint8_t& v) { return in_.u8(v) || fail(Fault::Truncated); }
    bool complex(Complex& c) { return (in_.f64(c.re) && in_.f64(c.im)) || fail(Fault::Truncated); }
    // Only names a statement can spell: anything else could be neither
    // used nor deleted by the user.
    bool name(std::string& s) {
        switch (in_.name(s, kMaxFileName)) {
            case ByteReader::NameResult::Ok: return isName(s) || fail(Fault::BadName);
            case ByteReader::NameResult::TooLong: return fail(Fault::NameTooLong);
            default: return fail(Fault::Truncated);
        }
    }
    // `count` elements, each 16 bytes; the count is checked against the
    // size cap and what is left of the file before anything is allocated.
    bool complexes(std::int64_t count, std::vector<Complex>& out) {
        if (count < 0 || count > kMaxValueElements) return fail(Fault::BadSize);
        if (static_cast<std::uint64_t>(count) > in_.remaining() / 16) return fail(Fault::Truncated);
        out.resize(static_cast<size_t>(count));
        for (Complex& c : out)
            if (!complex(c)) return false;
        return true;
    }
    bool parameters(int least, int most, std::vector<std::string>& names) {
        std::int32_t count = 0;
        if (!i32(count)) return false;
        if (count < least || count > most) return fail(Fault::BadParameters);
        names.resize(static_cast<size_t>(count));
        for (std::string& n : names)
            if (!name(n)) return false;
        return true;
    }
    // Items up to the terminating kind 0. Each operator or call may take
    // only operands that precede it, so a damaged count can neither
    // allocate without bound nor point outside the expression.
    bool items(SharedExpression& out) {
        std::vector<StackItem> items;
        std::int64_t depth = 0;
        for (;;) {
            std::int32_t kind = 0;
            if (!i32(kind)) return false;
            if (kind == kEmptySlot) break;
            StackItem item;
            item.kind = kind;
            switch (kind) {
                case kLiteral:
                    if (!complex(item.value)) return false;
                    ++depth;
                    break;
                case kOperator: {
                    std::uint8_t c0 = 0, c1 = 0;
                    if (!u8(c0) || !u8(c1) || !i32(item.count)) return false;
                    item.code[0] = static_cast<char>(c0);
                    item.code[1] = static_cast<char>(c1);
                    if (item.count < 0 || item.count > depth) return fail(Fault::BadExpression);
                    depth = depth - item.count + 1;
                    break;
                }
                case kFunction:
                    if (!name(item.name) || !i32(item.count) || !i32(item.columns)) return false;
                    if (item.count < 0 || item.count > depth || item.columns < 0) return fail(Fault::BadExpression);
                    depth = depth - item.count + 1;
                    break;
                case kVariable:
                    if (!name(item.name)) return false;
                    ++depth;
                    break;
                default:
                    return fail(Fault::BadItem);
            }
            items.push_back(std::move(item));
        }
        out = std::make_shared<Expression>(linkItems(std::move(items)));
        return true;
    }

private:
    ByteReader& in_;
};

void installValue(Stores& stores, Tag tag, const std::string& name, int columns, int rows,
                  std::vector<Complex> elements, Complex z, DataLoadResult& result,
                  const std::function<void(const std::string&)>& print) {
    if (stores.deleteVariable(name) == 2) return;  // a locked definition keeps its name
    int slot = -1;
    if (tag == kComplex)
        slot = stores.createComplexVariable(name, z, 0);
    else if (tag == kList)
        slot = stores.createListVariable(name, std::move(elements), 0);
    else
        slot = stores.createMatrixVariable(name, columns, rows, std::move(elements), 0);
    if (slot < 0) return;
    ++result.installed;
    print("Loaded value '" + name + "'\r\n");
}

void installFunction(Stores& stores, const std::string& name, std::vector<std::string> params,
                     SharedExpression body, DataLoadResult& result,
                     const std::function<void(const std::string&)>& print) {
    for (size_t k = 0; k < stores.functions.size(); ++k)
        if (stores.functions[k].inUse && stores.functions[k].locked && stores.functions[k].name == name) return;
    for (int k = stores.findFunction(name); k >= 0; k = stores.findFunction(name)) stores.deleteFunctionAt(k);
    int slot = stores.freeFunctionSlot();
    if (slot < 0) return;
    auto def = std::make_shared<FunctionDefinition>();
    for (const std::string& p : params) def->paramSymbols.push_back(internSymbol(p));
    def->params = std::move(params);
    def->body = std::move(body);
    UserFunction f;
    f.name = name;
    f.definition = std::move(def);
    stores.storeFunction(slot, std::move(f));
    ++result.installed;
    print("Loaded function '" + name + "'\r\n");
}

void installCoordinates(Stores& stores, const std::string& name, const std::vector<std::string>& params,
                        SharedExpression formula, DataLoadResult& result,
                        const std::function<void(const std::string&)>& print) {
    for (const CoordinateSystem& cs : stores.coordinates)
        if (cs.inUse && cs.locked && cs.name == name) return;
    for (int k = stores.findCoordinates(name); k >= 0; k = stores.findCoordinates(name)) stores.deleteCoordinatesAt(k);
    int slot = stores.freeCoordinateSlot();
    if (slot < 0) return;
    CoordinateSystem cs;
    cs.inUse = true;
    cs.name = name;
    cs.dimension = static_cast<int>(params.size());
    for (size_t k = 0; k < params.size(); ++k) cs.coordinateNames[k] = params[k];
    cs.formula = std::move(formula);
    stores.coordinates[static_cast<size_t>(slot)] = std::move(cs);
    ++result.installed;
    print("Loaded coords '" + name + "'\r\n");
}

// Reads one entry after its tag and installs it; false stops the reading.
bool readEntry(EntryReader& in, std::uint8_t tag, Stores& stores, DataLoadResult& result,
               const std::function<void(const std::string&)>& print) {
    std::string name;
    if (tag != kComplex && tag != kList && tag != kMatrix && tag != 'f' && tag != 'c') return in.fail(Fault::BadTag);
    if (!in.name(name)) return false;
    switch (tag) {
        case kComplex: {
            Complex z;
            if (!in.complex(z)) return false;
            installValue(stores, kComplex, name, 0, 0, {}, z, result, print);
            return true;
        }
        case kList: {
            std::int32_t count = 0;
            std::vector<Complex> elements;
            if (!in.i32(count) || !in.complexes(count, elements)) return false;
            installValue(stores, kList, name, 0, 0, std::move(elements), {}, result, print);
            return true;
        }
        case kMatrix: {
            std::int32_t columns = 0, rows = 0;
            std::vector<Complex> elements;
            if (!in.i32(columns) || !in.i32(rows)) return false;
            // A matrix without elements may still have rows or columns
            // (dropcol of the only column keeps the rows), but no dimension
            // beyond what the size cap lets a statement make.
            if (columns < 0 || rows < 0 || columns > kMaxValueElements || rows > kMaxValueElements)
                return in.fail(Fault::BadSize);
            if (!in.complexes(static_cast<std::int64_t>(columns) * rows, elements)) return false;
            installValue(stores, kMatrix, name, columns, rows, std::move(elements), {}, result, print);
            return true;
        }
        default: {
            std::vector<std::string> params;
            SharedExpression body;
            const bool function = tag == 'f';
            if (!in.parameters(function ? 0 : kMinCoordinates, function ? kMaxParameters : kMaxCoordinates, params))
                return false;
            if (!in.items(body)) return false;
            if (function)
                installFunction(stores, name, std::move(params), std::move(body), result, print);
            else
                installCoordinates(stores, name, params, std::move(body), result, print);
            return true;
        }
    }
}

}  // namespace

std::string encodeUserData(const Stores& stores) {
    ByteWriter out;
    for (const ComplexVariable& v : stores.complexVariables) {
        if (!v.inUse || v.locked) continue;
        out.u8(kComplex);
        out.name(v.name);
        out.f64(v.value.re);
        out.f64(v.value.im);
    }
    for (const ArrayVariable& v : stores.listVariables) {
        if (!v.inUse || v.locked) continue;
        out.u8(kList);
        out.name(v.name);
        out.i32(static_cast<std::int32_t>(v.elements.size()));
        writeComplexes(out, v.elements);
    }
    for (const ArrayVariable& v : stores.matrixVariables) {
        if (!v.inUse || v.locked) continue;
        out.u8(kMatrix);
        out.name(v.name);
        out.i32(v.columns);
        out.i32(v.rows);
        writeComplexes(out, v.elements);
    }
    for (const UserFunction& f : stores.functions) {
        if (!f.inUse || f.locked || !f.definition || !f.definition->body) continue;
        if (!streamable(*f.definition->body)) continue;
        out.u8('f');
        out.name(f.name);
        out.i32(static_cast<std::int32_t>(f.definition->params.size()));
        for (const std::string& p : f.definition->params) out.name(p);
        writeItems(out, *f.definition->body);
    }
    for (const CoordinateSystem& cs : stores.coordinates) {
        if (!cs.inUse || cs.locked || !cs.formula || !streamable(*cs.formula)) continue;
        out.u8('c');
        out.name(cs.name);
        out.i32(cs.dimension);
        for (int k = 0; k < cs.dimension; ++k) out.name(cs.coordinateNames[static_cast<size_t>(k)]);
        writeItems(out, *cs.formula);
    }
    return out.take();
}

DataLoadResult loadUserData(std::string_view bytes, Stores& stores,
                            const std::function<void(const std::string&)>& print) {
    DataLoadResult result;
    ByteReader bytesIn(bytes);
    EntryReader in(bytesIn);
    while (!bytesIn.atEnd()) {
        std::uint8_t tag = 0;
        in.u8(tag);
        if (!readEntry(in, tag, stores, result, print)) break;
    }
    if (in.fault != Fault::None) result.error = faultText(in.fault);
    return result;
}

}  // namespace vx
