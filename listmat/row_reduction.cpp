#include "listmat/row_reduction.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "mathlib/complex.h"

namespace vx {
namespace {

size_t cell(int row, int column, int columns) {
    return static_cast<size_t>(row) * static_cast<size_t>(columns) + column;
}

int leadingZeros(std::span<const Complex> m, int row, int columns) {
    int k = 0;
    while (k < columns && isNearZero(m[cell(row, k, columns)])) ++k;
    return k;
}

// Row indices ordered by leading-zero count; equal counts keep their order.
std::vector<int> rowsByLeadingZeros(std::span<const Complex> m, int rows, int columns) {
    std::vector<int> counts(static_cast<size_t>(rows)), order(static_cast<size_t>(rows));
    for (int r = 0; r < rows; ++r) counts[static_cast<size_t>(r)] = leadingZeros(m, r, columns);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return counts[static_cast<size_t>(a)] < counts[static_cast<size_t>(b)]; });
    return order;
}

}  // namespace

double rowReductionEpsilon() {
    static const double eps = static_cast<float>(std::pow(10.0, -10.0));
    return eps;
}

bool isNearZero(Complex z) {
    const double eps = rowReductionEpsilon();
    return std::fabs(z.re) <= eps && std::fabs(z.im) <= eps;
}

bool reducedRowEchelon(std::span<const Complex> m, int rows, int columns, const std::atomic<int>& abort,
                       std::vector<Complex>& result) {
    std::vector<Complex> w(m.size());
    const std::vector<int> order = rowsByLeadingZeros(m, rows, columns);
    for (int r = 0; r < rows; ++r)
        std::copy_n(m.begin() + static_cast<std::ptrdiff_t>(cell(order[static_cast<size_t>(r)], 0, columns)), columns,
                    w.begin() + static_cast<std::ptrdiff_t>(cell(r, 0, columns)));

    for (int i = 0; i < rows; ++i) {
        if (abort.load(std::memory_order_relaxed)) return false;
        const int p = leadingZeros(w, i, columns);
        if (p == columns) continue;
        const Complex pivot = w[cell(i, p, columns)];
        for (int c = 0; c < columns; ++c) w[cell(i, c, columns)] = cxDivide(w[cell(i, c, columns)], pivot);
        for (int j = 0; j < rows; ++j) {
            if (j == i) continue;
            const Complex f = w[cell(j, p, columns)];
            if (isNearZero(f)) continue;
            for (int c = 0; c < columns; ++c)
                w[cell(j, c, columns)] = cxSubtract(w[cell(j, c, columns)], cxMultiply(f, w[cell(i, c, columns)]));
        }
    }

    const std::vector<int> sorted = rowsByLeadingZeros(w, rows, columns);
    result.assign(w.size(), Complex{});
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const Complex z = w[cell(sorted[static_cast<size_t>(r)], c, columns)];
            result[cell(r, c, columns)] = isNearZero(z) ? Complex{0.0, 0.0} : z;
        }
    return true;
}

std::vector<Complex> nullspaceFromEchelon(std::span<const Complex> r, int rows, int columns, int& basisRows) {
    const auto exactZero = [](Complex z) { return z.re == 0.0 && z.im == 0.0; };
    std::vector<int> pivotOfRow(static_cast<size_t>(rows), -1);
    std::vector<bool> isFree(static_cast<size_t>(columns), true);
    for (int j = 0; j < rows; ++j) {
        int p = 0;
        while (p < columns && exactZero(r[cell(j, p, columns)])) ++p;
        if (p == columns) continue;
        pivotOfRow[static_cast<size_t>(j)] = p;
        isFree[static_cast<size_t>(p)] = false;
    }
    // Index of each free column among the free columns.
    std::vector<int> freeIndex(static_cast<size_t>(columns), -1);
    basisRows = 0;
    for (int c = 0; c < columns; ++c)
        if (isFree[static_cast<size_t>(c)]) freeIndex[static_cast<size_t>(c)] = basisRows++;
    if (basisRows == 0) return {};

    std::vector<Complex> n(static_cast<size_t>(basisRows) * static_cast<size_t>(columns));
    for (int q = 0; q < columns; ++q)
        if (freeIndex[static_cast<size_t>(q)] >= 0) n[cell(freeIndex[static_cast<size_t>(q)], q, columns)] = Complex{1.0, 0.0};
    for (int j = 0; j < rows; ++j) {
        const int p = pivotOfRow[static_cast<size_t>(j)];
        if (p < 0) continue;
        for (int q = p + 1; q < columns; ++q) {
            const int t = freeIndex[static_cast<size_t>(q)];
            if (t < 0) continue;
            const Complex v = r[cell(j, q, columns)];
            n[cell(t, p, columns)] = Complex{-v.re, -v.im};
        }
    }
    return n;
}

}  // namespace vx
