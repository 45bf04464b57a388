#include "engine/structures.h"

namespace vx {
namespace {

Tag collectScalars(Eval& ev, const Args& args, const char* message, std::vector<Complex>& elements) {
    elements.reserve(static_cast<size_t>(args.count));
    Value v;
    for (int k = 0; k < args.count; ++k) {
        Tag tag = ev.evaluate(args[k], v);
        if (!tag) return kNone;
        if (tag != kComplex) return ev.fail("%s", message);
        elements.push_back(v.z);
    }
    return kComplex;
}

}  // namespace

Tag buildList(Eval& ev, const Args& args, Value& out) {
    std::vector<Complex> elements;
    if (!collectScalars(ev, args, "(liststruct) Error: Data Type", elements)) return kNone;
    out = Value::list(std::move(elements));
    return kList;
}

Tag buildMatrix(Eval& ev, const Args& args, int columns, Value& out) {
    std::vector<Complex> elements;
    if (!collectScalars(ev, args, "(matstruct) Error: Data Type", elements)) return kNone;
    // Rows after the first are not checked: the first row's width decides
    // and surplus elements are dropped.
    int rows = columns > 0 ? args.count / columns : 0;
    elements.resize(static_cast<size_t>(columns) * static_cast<size_t>(rows));
    out = Value::matrix(columns, rows, std::move(elements));
    return kMatrix;
}

}  // namespace vx
