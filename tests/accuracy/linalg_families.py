# Linear-algebra families: det, inverse, charpoly, eigenvalues, eigenvectors,
# rref and nullspace, and functions of matrices (exp, sqrt, powers, matfunc).
# Oracles: exact rational arithmetic for whole-number matrices, mpmath at 40
# digits otherwise (numpy only to build inputs). Inputs include
# ill-conditioned, singular, repeated-eigenvalue and defective matrices.
import math
from fractions import Fraction

import numpy
from mpmath import mp, mpc, mpf

from family import Case, Family

mp.dps = 40


# Matrix literals stay within the parser's 2048 items: a real entry takes
# up to two (a negative number is a negation), a complex one five.

# --- inputs ----------------------------------------------------------------------

def lit(x):
    if isinstance(x, complex):
        return f"({x.real!r}+{x.imag!r}*i)"
    if isinstance(x, Fraction):
        return str(x.numerator) if x.denominator == 1 else f"({x.numerator}/{x.denominator})"
    return repr(x) if isinstance(x, float) else str(x)


def mat_lit(m):
    return "[" + "".join("[" + ",".join(lit(x) for x in row) + "]" for row in m) + "]"


def uniform_matrix(rng, rows, cols=None, complex_entries=False):
    cols = rows if cols is None else cols
    entry = (lambda: complex(rng.uniform(-1, 1), rng.uniform(-1, 1))) if complex_entries else (lambda: rng.uniform(-1, 1))
    return [[entry() for _ in range(cols)] for _ in range(rows)]


def integer_matrix(rng, rows, cols=None, bound=9):
    cols = rows if cols is None else cols
    return [[rng.randint(-bound, bound) for _ in range(cols)] for _ in range(rows)]


def rank_deficient(rng, n, bound=4):
    """Whole numbers, rank at most n - 1: the last row a combination of others."""
    m = integer_matrix(rng, n, n, bound)
    weights = [rng.randint(-2, 2) for _ in range(n - 1)]
    m[-1] = [sum(w * m[r][c] for r, w in enumerate(weights)) for c in range(n)]
    order = list(range(n))
    rng.shuffle(order)
    return [m[k] for k in order]


def unimodular(rng, n):
    """Whole numbers with determinant +-1: a product of unit triangular ones."""
    lower = [[1 if r == c else (rng.randint(-1, 1) if c < r else 0) for c in range(n)] for r in range(n)]
    upper = [[1 if r == c else (rng.randint(-1, 1) if c > r else 0) for c in range(n)] for r in range(n)]
    return product(lower, upper)


def product(a, b):
    return [[sum(a[r][k] * b[k][c] for k in range(len(b))) for c in range(len(b[0]))] for r in range(len(a))]


def conditioned(rng, n, condition):
    """Real n x n with singular values spread from 1 to 1/condition."""
    u, _ = numpy.linalg.qr(numpy.array(uniform_matrix(rng, n)))
    v, _ = numpy.linalg.qr(numpy.array(uniform_matrix(rng, n)))
    s = numpy.logspace(0, -math.log10(condition), n)
    return [[float(x) for x in row] for row in (u * s) @ v.T]


def similar_to(rng, diagonal_blocks, n):
    """L J L^-1 with L unimodular: whole entries, the eigenstructure of J."""
    j = [[0] * n for _ in range(n)]
    k = 0
    for value, size in diagonal_blocks:
        for t in range(size):
            j[k + t][k + t] = value
            if t + 1 < size:
                j[k + t][k + t + 1] = 1
        k += size
    l = unimodular(rng, n)
    return product(product(l, j), exact_inverse(l))


# --- exact and 40-digit oracles -------------------------------------------------------

def exact_inverse(m):
    """Gauss-Jordan over the rationals; None when singular."""
    n = len(m)
    w = [[Fraction(x) for x in row] + [Fraction(int(r == c)) for c in range(n)] for r, row in enumerate(m)]
    for k in range(n):
        p = next((r for r in range(k, n) if w[r][k] != 0), None)
        if p is None:
            return None
        w[k], w[p] = w[p], w[k]
        w[k] = [x / w[k][k] for x in w[k]]
        for r in range(n):
            if r != k and w[r][k] != 0:
                f = w[r][k]
                w[r] = [x - f * y for x, y in zip(w[r], w[k])]
    inv = [row[n:] for row in w]
    return [[int(x) if x.denominator == 1 else x for x in row] for row in inv]


def exact_det(m):
    n = len(m)
    w = [[Fraction(x) for x in row] for row in m]
    det = Fraction(1)
    for k in range(n):
        p = next((r for r in range(k, n) if w[r][k] != 0), None)
        if p is None:
            return 0
        if p != k:
            w[k], w[p] = w[p], w[k]
            det = -det
        det *= w[k][k]
        for r in range(k + 1, n):
            f = w[r][k] / w[k][k]
            w[r] = [x - f * y for x, y in zip(w[r], w[k])]
    return det


def exact_rref(m):
    rows, cols = len(m), len(m[0])
    w = [[Fraction(x) for x in row] for row in m]
    lead = 0
    for c in range(cols):
        p = next((r for r in range(lead, rows) if w[r][c] != 0), None)
        if p is None:
            continue
        w[lead], w[p] = w[p], w[lead]
        w[lead] = [x / w[lead][c] for x in w[lead]]
        for r in range(rows):
            if r != lead and w[r][c] != 0:
                f = w[r][c]
                w[r] = [x - f * y for x, y in zip(w[r], w[lead])]
        lead += 1
    return w


def exact_nullspace(m):
    r = exact_rref(m)
    cols = len(m[0])
    pivots = [next((c for c in range(cols) if row[c] != 0), None) for row in r]
    free = [c for c in range(cols) if c not in pivots]
    basis = []
    for q in free:
        v = [Fraction(0)] * cols
        v[q] = Fraction(1)
        for row, p in zip(r, pivots):
            if p is not None:
                v[p] = -row[q]
        basis.append(v)
    return basis


def exact_charpoly(m):
    """det(A - xI) by Berkowitz over the integers, highest degree first."""
    n = len(m)
    p = [Fraction(1)]
    for r in range(n):
        column = [1, -m[r][r]]
        row = [m[r][i] for i in range(r)]
        for _ in range(r):
            column.append(-sum(row[i] * m[i][r] for i in range(r)))
            row = [sum(row[i] * m[i][j] for i in range(r)) for j in range(r)]
        p = [sum(column[i - j] * p[j] for j in range(len(p)) if 0 <= i - j < len(column)) for i in range(len(p) + 1)]
    return [(-1) ** n * c for c in p]


def mpmat(m):
    return mp.matrix([[mpc(x) if isinstance(x, complex) else mpf(x) if isinstance(x, float) else mpf(Fraction(x).numerator) / Fraction(x).denominator for x in row] for row in m])


def to_rows(a):
    return [[complex(a[r, c]) for c in range(a.cols)] for r in range(a.rows)]


def value(x):
    return complex(x) if not isinstance(x, Fraction) else complex(float(x))


def rows_of(m):
    return [[value(x) for x in row] for row in m]


# --- checks for results that are not compared element by element ---------------------

def multiset_error(got, want, scale):
    """Largest distance of a greedy one-to-one matching, relative to scale."""
    if not isinstance(got, list) or len(got) != len(want):
        return math.inf
    left = list(want)
    worst = 0.0
    for g in got:
        if not isinstance(g, complex):
            return math.inf
        k = min(range(len(left)), key=lambda j: abs(left[j] - g))
        worst = max(worst, abs(left.pop(k) - g) / scale)
    return worst


def eigenvalue_error(got, case):
    want = case.expected
    return multiset_error(got, want, max(abs(w) for w in want) or 1.0)


def vector_rows_check(need_basis):
    """Each printed row v an eigenvector: no zero row, ||A v - mu v|| small
    relative to ||A|| ||v|| with mu the Rayleigh quotient, the mu's the
    eigenvalues (as a multiset); with need_basis, the rows independent."""
    def check(got, case):
        a, values = case.expected
        if not isinstance(got, list) or len(got) != len(values) or any(len(r) != len(a) for r in got):
            return math.inf
        A = numpy.array(a, dtype=complex)
        norm = numpy.linalg.norm(A) or 1.0
        mus, worst = [], 0.0
        for row in got:
            v = numpy.array(row, dtype=complex)
            size = numpy.linalg.norm(v)
            if size == 0 or not numpy.isfinite(size):
                return math.inf
            mu = numpy.vdot(v, A @ v) / numpy.vdot(v, v)
            mus.append(complex(mu))
            worst = max(worst, numpy.linalg.norm(A @ v - mu * v) / (norm * size))
        worst = max(worst, multiset_error(mus, values, max(abs(w) for w in values) or 1.0))
        if need_basis:
            s = numpy.linalg.svd(numpy.array([numpy.array(r) / numpy.linalg.norm(r) for r in got], dtype=complex),
                                 compute_uv=False)
            if s[-1] < 1e-6 * s[0]:
                return math.inf
        return worst
    return check


# --- det ------------------------------------------------------------------------------

def det_integer(rng):
    n = rng.randint(1, 14)
    m = rank_deficient(rng, n) if n > 1 and rng.random() < 0.25 else integer_matrix(rng, n)
    return Case(f"det({mat_lit(m)})", complex(exact_det(m)))


def det_real(rng):
    complex_entries = rng.random() < 0.3
    n = rng.randint(2, 12 if complex_entries else 22)
    m = uniform_matrix(rng, n, complex_entries=complex_entries)
    return Case(f"det({mat_lit(m)})", complex(mp.det(mpmat(m))))


def det_scaled(rng):
    """Entries of 1e+-60: pivots far outside 1 must not overflow on the way."""
    n = rng.randint(2, 12)
    scale = 10.0 ** rng.choice((-60, -20, 20, 60))
    m = [[x * scale for x in row] for row in uniform_matrix(rng, n)]
    return Case(f"det({mat_lit(m)})", complex(mp.det(mpmat(m))))


def det_ill_conditioned(rng):
    m = conditioned(rng, rng.randint(3, 10), 10.0 ** rng.uniform(4, 7))
    return Case(f"det({mat_lit(m)})", complex(mp.det(mpmat(m))))


# --- inverse --------------------------------------------------------------------------

def inverse_real(rng):
    complex_entries = rng.random() < 0.3
    n = rng.randint(1, 12 if complex_entries else 20)
    m = uniform_matrix(rng, n, complex_entries=complex_entries)
    return Case(f"inverse({mat_lit(m)})", to_rows(mp.inverse(mpmat(m))))


def inverse_pivoting(rng):
    """Tiny entries where the sweep without row exchanges pivots."""
    n = rng.randint(2, 8)
    m = uniform_matrix(rng, n)
    for k in range(n):
        if rng.random() < 0.6:
            m[k][k] = rng.choice((-1, 1)) * 10.0 ** rng.uniform(-20, -8)
    return Case(f"inverse({mat_lit(m)})", to_rows(mp.inverse(mpmat(m))))


def inverse_ill_conditioned(rng):
    m = conditioned(rng, rng.randint(3, 10), 10.0 ** rng.uniform(3, 6))
    return Case(f"inverse({mat_lit(m)})", to_rows(mp.inverse(mpmat(m))))


def inverse_integer(rng):
    n = rng.randint(1, 10)
    m = unimodular(rng, n) if rng.random() < 0.5 else integer_matrix(rng, n)
    inv = exact_inverse(m)
    while inv is None:
        m = integer_matrix(rng, n)
        inv = exact_inverse(m)
    return Case(f"inverse({mat_lit(m)})", rows_of(inv))


def inverse_singular(rng):
    return Case(f"inverse({mat_lit(rank_deficient(rng, rng.randint(2, 12)))})", None)


# --- charpoly -------------------------------------------------------------------------

def charpoly_integer(rng):
    m = integer_matrix(rng, rng.randint(1, 12), bound=6)
    return Case(f"charpoly({mat_lit(m)})", [complex(c) for c in exact_charpoly(m)])


def charpoly_real(rng):
    n = rng.randint(1, 10)
    m = uniform_matrix(rng, n, complex_entries=rng.random() < 0.3)
    a = mpmat(m)
    # Faddeev-LeVerrier at 40 digits: p(x) = det(xI - A), then times (-1)^n.
    c, mk, coefficients = mpf(1), mp.zeros(n, n), [mpf(1)]
    for k in range(1, n + 1):
        mk = a * mk + c * mp.eye(n) if k > 1 else mp.eye(n)
        am = a * mk
        c = -sum(am[i, i] for i in range(n)) / k
        coefficients.append(c)
    return Case(f"charpoly({mat_lit(m)})", [complex((-1) ** n * x) for x in coefficients])


# --- eigenvalues ------------------------------------------------------------------------

def eigenvalues_symmetric(rng):
    n = rng.randint(2, 22)
    b = numpy.array(uniform_matrix(rng, n))
    m = [[float(x) for x in row] for row in (b + b.T) / 2]
    values = mp.eigsy(mpmat(m), eigvals_only=True)
    return Case(f"eigenvalues({mat_lit(m)})", [complex(v) for v in values], check=eigenvalue_error)


def eigenvalues_general(rng):
    complex_entries = rng.random() < 0.3
    m = uniform_matrix(rng, rng.randint(2, 12 if complex_entries else 14), complex_entries=complex_entries)
    values = mp.eig(mpmat(m), left=False, right=False)
    return Case(f"eigenvalues({mat_lit(m)})", [complex(v) for v in values], check=eigenvalue_error)


def eigenvalues_integer_spectrum(rng):
    """diag(1..n), and integer triangular or L D L^-1 matrices with a known spectrum."""
    n = rng.randint(2, 24)
    kind = rng.random()
    if kind < 0.3:
        return Case(f"eigenvalues(diagonal(listgen(k,k,1,{n})))", [complex(k) for k in range(1, n + 1)],
                    check=eigenvalue_error)
    values = rng.sample(range(-30, 31), min(n, 10))
    if kind < 0.65:
        size = len(values)
        m = [[values[r] if r == c else (rng.randint(-5, 5) if c > r else 0) for c in range(size)] for r in range(size)]
    else:
        m = similar_to(rng, [(v, 1) for v in values], len(values))
    return Case(f"eigenvalues({mat_lit(m)})", [complex(v) for v in values], check=eigenvalue_error)


def eigenvalues_repeated(rng):
    """Diagonalizable with repeated eigenvalues: c I, and Q D Q^T with a Householder Q."""
    n = rng.randint(2, 10)
    if rng.random() < 0.3:
        c = round(rng.uniform(-10, 10), 4)
        return Case(f"eigenvalues(ident({n})*{lit(c)})", [complex(c)] * n, check=eigenvalue_error)
    distinct = [rng.randint(-5, 5) for _ in range(rng.randint(1, max(1, n // 2)))]
    values = [distinct[k % len(distinct)] for k in range(n)]
    v = [rng.randint(-3, 3) or 1 for _ in range(n)]
    vv = sum(x * x for x in v)
    q = [[Fraction(int(r == c)) - Fraction(2 * v[r] * v[c], vv) for c in range(n)] for r in range(n)]
    m = [[sum(q[r][k] * values[k] * q[c][k] for k in range(n)) for c in range(n)] for r in range(n)]
    return Case(f"eigenvalues({mat_lit(m)})", [complex(x) for x in values], check=eigenvalue_error)


def defective_blocks(rng):
    n = rng.randint(2, 6)
    blocks, left = [], n
    while left:
        size = rng.randint(1, min(3, left))
        blocks.append((rng.randint(-4, 4), size))
        left -= size
    if all(size == 1 for _, size in blocks):
        blocks = [(blocks[0][0], 2)] + blocks[2:] if n >= 2 else blocks
    return blocks, sum(size for _, size in blocks)


def eigenvalues_defective(rng):
    blocks, n = defective_blocks(rng)
    m = similar_to(rng, blocks, n)
    values = [complex(v) for v, size in blocks for _ in range(size)]
    return Case(f"eigenvalues({mat_lit(m)})", values, check=eigenvalue_error)


# --- eigenvectors ---------------------------------------------------------------------------

def eigenvectors_general(rng):
    n = rng.randint(2, 12)
    m = uniform_matrix(rng, n, complex_entries=rng.random() < 0.3)
    values = [complex(v) for v in mp.eig(mpmat(m), left=False, right=False)]
    return Case(f"eigenvectors({mat_lit(m)})", (m, values), check=vector_rows_check(True))


def eigenvectors_repeated(rng):
    case = eigenvalues_repeated(rng)
    text = case.statement[len("eigenvalues("):-1]
    if text.startswith("ident("):
        n, c = int(text[6:text.index(")")]), float(text[text.index("*") + 1:])
        m = [[c if r == k else 0.0 for k in range(n)] for r in range(n)]
    else:
        m = [[float(eval(x)) for x in row.split(",")] for row in text[2:-2].split("][")]
    return Case(f"eigenvectors({text})", (m, case.expected), check=vector_rows_check(True))


def eigenvectors_defective(rng):
    blocks, n = defective_blocks(rng)
    m = similar_to(rng, blocks, n)
    values = [complex(v) for v, size in blocks for _ in range(size)]
    return Case(f"eigenvectors({mat_lit(m)})", (m, values), check=vector_rows_check(False))


# --- rref and nullspace ------------------------------------------------------------------------

def rref_integer(rng):
    rows, cols = rng.randint(1, 6), rng.randint(1, 7)
    m = integer_matrix(rng, rows, cols, 6)
    if rows > 1 and rng.random() < 0.5:
        m[-1] = [a + 2 * b for a, b in zip(m[0], m[1 % rows])]
    return Case(f"rref({mat_lit(m)})", rows_of(exact_rref(m)))


def rref_real(rng):
    rows = rng.randint(1, 6)
    m = uniform_matrix(rng, rows, rng.randint(rows, 8))
    a = mpmat(m)
    # Gauss-Jordan at 40 digits: full row rank, so the pivots are the first columns that are independent.
    w = [[a[r, c] for c in range(a.cols)] for r in range(a.rows)]
    lead = 0
    for c in range(a.cols):
        if lead == rows:
            break
        p = max(range(lead, rows), key=lambda r: abs(w[r][c]))
        w[lead], w[p] = w[p], w[lead]
        w[lead] = [x / w[lead][c] for x in w[lead]]
        for r in range(rows):
            if r != lead:
                f = w[r][c]
                w[r] = [x - f * y for x, y in zip(w[r], w[lead])]
        lead += 1
    return Case(f"rref({mat_lit(m)})", [[complex(x) for x in row] for row in w])


def nullspace_integer(rng):
    rows = rng.randint(1, 5)
    m = integer_matrix(rng, rows, rng.randint(max(2, rows), 7), 5)
    if rows > 2:
        m[-1] = [a - b for a, b in zip(m[0], m[1])]
    elif rows == 2:
        m[1] = [2 * a for a in m[0]]
    basis = exact_nullspace(m)
    return Case(f"nullspace({mat_lit(m)})", rows_of(basis))


# --- functions of matrices ----------------------------------------------------------------------

def matrix_for_functions(rng, positive):
    """Random, symmetric positive definite, repeated or defective, by turns."""
    kind = rng.randrange(4)
    n = rng.randint(2, 6)
    if kind == 0:
        m = uniform_matrix(rng, n, complex_entries=rng.random() < 0.3)
        if positive:
            m = [[x + (2.5 * n if r == c else 0) for c, x in enumerate(row)] for r, row in enumerate(m)]
        return m
    if kind == 1:
        b = numpy.array(uniform_matrix(rng, n))
        return [[float(x) for x in row] for row in b @ b.T + 0.5 * numpy.eye(n)]
    if kind == 2:
        c = rng.uniform(0.5, 4)
        return [[c if r == k else 0.0 for k in range(n)] for r in range(n)]
    blocks, n = defective_blocks(rng)
    shift = 6 if positive else 0
    return similar_to(rng, [(v + shift, size) for v, size in blocks], n)


def exp_family(rng):
    m = matrix_for_functions(rng, False)
    if rng.random() < 0.2:
        base = rng.uniform(0.5, 3)
        return Case(f"{lit(base)}^{mat_lit(m)}", to_rows(mp.expm(mp.log(base) * mpmat(m))))
    return Case(f"exp({mat_lit(m)})", to_rows(mp.expm(mpmat(m))))


def sqrt_family(rng):
    m = matrix_for_functions(rng, True)
    return Case(f"sqrt({mat_lit(m)})", to_rows(mp.sqrtm(mpmat(m))))


def power_family(rng):
    m = matrix_for_functions(rng, True)
    p = round(rng.uniform(-2.5, 2.5), 3)
    if p == round(p):
        p += 0.5
    return Case(f"{mat_lit(m)}^{lit(p)}", to_rows(mp.powm(mpmat(m), p)))


def matfunc_family(rng):
    """matfunc with expressions that have no method of their own, on P D P^-1
    with repeated eigenvalues allowed; ln and cos, which have one, as well."""
    n = rng.randint(2, 6)
    p = unimodular(rng, n)
    d = [rng.randint(1, 4) for _ in range(n)]
    m = product(product(p, [[d[r] if r == c else 0 for c in range(n)] for r in range(n)]), exact_inverse(p))
    forms = [("x^2-3*x+1", lambda x: x * x - 3 * x + 1), ("1/(1+x)", lambda x: 1 / (1 + x)),
             ("tan(x/5)", lambda x: mp.tan(x / 5)), ("ln(x)", mp.log), ("cos(x)", mp.cos)]
    text, f = rng.choice(forms)
    pm = mpmat(p)
    expected = pm * mp.diag([f(mpf(v)) for v in d]) * mp.inverse(pm)
    return Case(f"matfunc({mat_lit(m)},{text},x)", to_rows(expected))


def matfunc_defective(rng):
    """No eigenvector basis and no method of its own: a clear message."""
    blocks, n = defective_blocks(rng)
    m = similar_to(rng, [(v + 6, size) for v, size in blocks], n)
    return Case(f"matfunc({mat_lit(m)},tan(x/20),x)", None)


ALL_FAMILIES = [
    Family("det.integer", det_integer),
    Family("det.random", det_real),
    Family("det.scaled", det_scaled, count=40),
    Family("det.ill_conditioned", det_ill_conditioned, count=60),
    Family("inverse.random", inverse_real),
    Family("inverse.pivoting", inverse_pivoting, count=60),
    Family("inverse.ill_conditioned", inverse_ill_conditioned, count=60),
    Family("inverse.integer", inverse_integer),
    Family("inverse.singular", inverse_singular, count=40),
    Family("charpoly.integer", charpoly_integer),
    Family("charpoly.random", charpoly_real, count=60),
    Family("eigenvalues.symmetric", eigenvalues_symmetric, count=60),
    Family("eigenvalues.general", eigenvalues_general, count=60),
    Family("eigenvalues.integer_spectrum", eigenvalues_integer_spectrum),
    Family("eigenvalues.repeated", eigenvalues_repeated),
    Family("eigenvalues.defective", eigenvalues_defective),
    Family("eigenvectors.general", eigenvectors_general, count=60),
    Family("eigenvectors.repeated", eigenvectors_repeated),
    Family("eigenvectors.defective", eigenvectors_defective),
    Family("rref.integer", rref_integer),
    Family("rref.random", rref_real),
    Family("nullspace.integer", nullspace_integer),
    Family("exp", exp_family),
    Family("sqrt", sqrt_family),
    Family("power", power_family),
    Family("matfunc.diagonalizable", matfunc_family),
    Family("matfunc.defective", matfunc_defective, count=40),
]
FAMILIES = ALL_FAMILIES
