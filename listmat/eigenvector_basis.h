#pragma once
// One eigenvector per listed eigenvalue, computed so that it never comes
// out as a zero row: a simple eigenvalue takes the Schur solver's vector
// (or, when that does not fit the listed value, the null vector of
// A - lambda I from a singular value decomposition); a repeated eigenvalue
// takes successive vectors of its eigenspace, found with a tolerance
// relative to the size of the matrix. Each vector is scaled the way the
// null space of A - lambda I reads it off the echelon form: its last
// component that is not negligible is 1, and a group of vectors for one
// eigenvalue is reduced so that each has 0 where another has its 1.
// Row-major element arrays.
#include <atomic>
#include <span>
#include <vector>

#include "engine/value.h"

namespace vx {

struct EigenvectorSet {
    std::vector<Complex> rows;  // n x n, row k belongs to values[k]
    bool basis = true;          // false for a defective matrix: some rows repeat
};

enum class EigenvectorStatus { Done, Aborted, NotFinite };

// NotFinite when the matrix or an eigenvalue is infinite or NaN: there is
// no eigenspace to compute.
EigenvectorStatus eigenvectorRows(std::span<const Complex> a, int n, const std::vector<Complex>& values,
                                  const std::atomic<int>& abort, EigenvectorSet& out);

}  // namespace vx
