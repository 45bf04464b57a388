#pragma once
// The three kinds of computed value: a complex scalar, a list of complex
// numbers and a row-major matrix of complex numbers. Scalars live inline so
// that arithmetic on them never touches the heap.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace vx {

// The most elements one list or matrix may hold (1 GiB of numbers): a size
// computed from the user's numbers is refused beyond it instead of letting
// the allocation take the whole machine down.
constexpr long long kMaxValueElements = 1LL << 26;

struct Complex {
    double re = 0.0;
    double im = 0.0;
};

// One-character type tags; 0 means "no value, the error text says why".
using Tag = char;
constexpr Tag kNone = 0;
constexpr Tag kComplex = '#';
constexpr Tag kList = '$';
constexpr Tag kMatrix = '@';

struct Value {
    Tag tag = kNone;
    Complex z{};                    // the scalar when tag == kComplex
    int columns = 0;                // matrix width
    int rows = 0;                   // matrix height
    std::vector<Complex> elements;  // list elements, or matrix row-major

    int count() const { return static_cast<int>(elements.size()); }

    static Value scalar(Complex c) {
        Value v;
        v.tag = kComplex;
        v.z = c;
        return v;
    }
    static Value scalar(double re, double im = 0.0) { return scalar(Complex{re, im}); }
    static Value list(std::vector<Complex> e) {
        Value v;
        v.tag = kList;
        v.elements = std::move(e);
        return v;
    }
    static Value matrix(int columns, int rows, std::vector<Complex> e) {
        Value v;
        v.tag = kMatrix;
        v.columns = columns;
        v.rows = rows;
        v.elements = std::move(e);
        return v;
    }
    Complex& at(int row, int column) { return elements[static_cast<size_t>(row) * columns + column]; }
    const Complex& at(int row, int column) const {
        return elements[static_cast<size_t>(row) * columns + column];
    }
};

}  // namespace vx
