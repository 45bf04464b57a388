# Scalar families: complex arithmetic, the elementary functions, gamma and
# factorial, ncr and npr, int, limit, diff, solve, polyroots and polyfactor.
# The oracle is mpmath at 40 digits (more where an input needs it: huge
# trigonometric arguments, cancelling inverse-function formulas).
# The inverse trigonometric and hyperbolic functions are defined by their
# logarithmic formulas, branches included, so the oracle evaluates the same
# formulas with principal ln and sqrt.
import math
import re

from mpmath import mp, mpf, mpc

from family import Case, Family

mp.dps = 40
I = mpc(0, 1)


# --- inputs and oracles ----------------------------------------------------

def lit(x):
    """A real or complex Python number as a vexalo literal."""
    if isinstance(x, complex):
        return f"({x.real!r}+{x.imag!r}*i)"
    return f"({x!r})" if x < 0 else repr(x)


def num(v):
    return complex(v)


def wide(rng, lo, hi):
    """A random sign times 10^U(lo, hi)."""
    return rng.choice((-1.0, 1.0)) * 10.0 ** rng.uniform(lo, hi)


def polar(rng, lo, hi, phase=math.pi):
    r = 10.0 ** rng.uniform(lo, hi)
    t = rng.uniform(-phase, phase)
    return complex(r * math.cos(t), r * math.sin(t))


def box(rng, re_lo, re_hi, im_lo, im_hi):
    return complex(rng.uniform(re_lo, re_hi), rng.uniform(im_lo, im_hi))


def near_cut(rng, cut_from=1.0, imaginary_axis=False):
    """A point a hair off a branch cut: |x| > cut_from on the real (or the
    imaginary) axis, the other part +-10^U(-14, -3)."""
    along = rng.choice((-1, 1)) * (cut_from + 10.0 ** rng.uniform(-3, 1))
    off = rng.choice((-1, 1)) * 10.0 ** rng.uniform(-14, -3)
    return complex(off, along) if imaginary_axis else complex(along, off)


def digits_for(z):
    """Working digits for a formula whose terms cancel at huge or tiny |z|."""
    m = abs(complex(z))
    return 60 + (int(2 * abs(math.log10(m))) if m > 0 else 0)


def oracle(fn, *args, dps=40):
    with mp.workdps(dps):
        return num(fn(*[mpc(a) if isinstance(a, complex) else mpf(a) for a in args]))


INVERSE = {
    "asin": lambda z: -I * mp.ln(I * z + mp.sqrt(1 - z ** 2)),
    "acos": lambda z: -I * mp.ln(z + mp.sqrt(z ** 2 - 1)),
    "atan": lambda z: (I / 2) * mp.ln((I + z) / (I - z)),
    "asinh": lambda z: mp.ln(z + mp.sqrt(z ** 2 + 1)),
    "acosh": lambda z: mp.ln(z + mp.sqrt(z ** 2 - 1)),
    "atanh": lambda z: (mp.ln(1 + z) - mp.ln(1 - z)) / 2,
}
INVERSE.update({
    "asec": lambda z: INVERSE["acos"](1 / z),
    "acsc": lambda z: INVERSE["asin"](1 / z),
    "acot": lambda z: INVERSE["atan"](1 / z),
    "asech": lambda z: INVERSE["acosh"](1 / z),
    "acsch": lambda z: INVERSE["asinh"](1 / z),
    "acoth": lambda z: INVERSE["atanh"](1 / z),
})

FORWARD = {
    "sin": mp.sin, "cos": mp.cos, "tan": mp.tan, "sec": mp.sec, "csc": mp.csc, "cot": mp.cot,
    "sinh": mp.sinh, "cosh": mp.cosh, "tanh": mp.tanh, "sech": mp.sech, "csch": mp.csch, "coth": mp.coth,
    "exp": mp.exp, "ln": mp.ln, "sqrt": mp.sqrt, "log": lambda z: mp.ln(z) / mp.ln(10), "gamma": mp.gamma,
}


def call(name, z, dps=None):
    fn = INVERSE.get(name) or FORWARD[name]
    return Case(f"{name}({lit(z)})", oracle(fn, z, dps=dps or digits_for(z)))





# --- results compared as sets or by a residual ------------------------------

def root_set_error(got, case):
    """Largest distance from an expected root to its nearest unused printed
    root, relative to the largest expected root."""
    if not isinstance(got, list) or len(got) != len(case.expected):
        return math.inf
    left, worst = list(got), 0.0
    scale = max(abs(r) for r in case.expected) or 1.0
    for r in case.expected:
        k = min(range(len(left)), key=lambda j: abs(left[j] - r))
        worst = max(worst, abs(left.pop(k) - r) / scale)
    return worst


def each_root_error(got, case):
    """As root_set_error, but each root relative to its own modulus: the
    small root of an ill-conditioned quadratic counts as much as the big one."""
    if not isinstance(got, list) or len(got) != len(case.expected):
        return math.inf
    left, worst = list(got), 0.0
    for r in case.expected:
        k = min(range(len(left)), key=lambda j: abs(left[j] - r))
        worst = max(worst, abs(left.pop(k) - r) / (abs(r) or 1.0))
    return worst


def nearest_root_error(got, case):
    if not isinstance(got, complex):
        return math.inf
    scale = max(abs(r) for r in case.expected) or 1.0
    return min(abs(got - r) for r in case.expected) / scale


def expand(roots):
    coefficients = [mpc(1)]
    for r in roots:
        coefficients = [a - mpc(r) * b for a, b in zip(coefficients + [0], [0] + coefficients)]
    return coefficients


def list_lit(coefficients):
    return "{" + ",".join(lit(c) for c in coefficients) + "}"


# --- complex arithmetic ------------------------------------------------------

def divide_wide(rng):
    a, b = polar(rng, -300, 300), polar(rng, -300, 300)
    while not 1e-290 < abs(a) / abs(b) < 1e290:
        b = polar(rng, -300, 300)
    return Case(f"{lit(a)}/{lit(b)}", num(mpc(a) / mpc(b)))


def divide_ordinary(rng):
    a, b = box(rng, -10, 10, -10, 10), box(rng, -10, 10, -10, 10)
    return Case(f"{lit(a)}/{lit(b)}", num(mpc(a) / mpc(b)))


def abs_wide(rng):
    z = polar(rng, -305, 307) if rng.random() < 0.8 else complex(wide(rng, -307, 307), 0.0)
    return Case(f"abs({lit(z)})", num(abs(mpc(z))))


def power_complex(rng):
    z, w = box(rng, -5, 5, -5, 5), box(rng, -3, 3, -3, 3)
    if rng.random() < 0.5:
        z, w = complex(rng.uniform(0, 50), 0.0), complex(rng.uniform(-30, 30), 0.0)
    return Case(f"{lit(z)}^{lit(w)}", oracle(lambda a, b: mp.exp(b * mp.ln(a)), z, w))


# --- trigonometric and hyperbolic --------------------------------------------

def sin_cos_huge(rng):
    x = wide(rng, 0, 300)
    return call(rng.choice(("sin", "cos")), x, dps=int(math.log10(abs(x))) + 40)


def tan_family_complex(rng):
    z = complex(rng.uniform(-4, 4), wide(rng, -3, 2.5))
    return call(rng.choice(("tan", "sec", "csc", "cot", "sin", "cos")), z)


def hyperbolic_real(rng):
    name = rng.choice(("sinh", "cosh", "tanh", "sech", "csch", "coth"))
    x = wide(rng, -300, 2.8) if name in ("sinh", "cosh", "csch") else wide(rng, -300, 3.5)
    return call(name, x)


def hyperbolic_complex(rng):
    z = complex(wide(rng, -8, 2.5), rng.uniform(-4, 4))
    return call(rng.choice(("sinh", "cosh", "tanh", "sech", "csch", "coth")), z)


def inverse_real(rng):
    name = rng.choice(("asinh", "atanh", "acosh", "asin", "acos", "atan"))
    if name in ("asinh", "atan"):
        x = wide(rng, -300, 300)
    elif name == "acosh":
        x = rng.choice((-1, 1)) * (1 + 10 ** rng.uniform(-12, 300))
    else:
        x = rng.choice((-1, 1)) * (10 ** rng.uniform(-300, 0) if rng.random() < 0.5
                                   else 1 - 10 ** rng.uniform(-12, -0.01))
    return call(name, x)


def inverse_complex(rng):
    name = rng.choice(sorted(INVERSE))
    z = polar(rng, -6, 6) if rng.random() < 0.6 else near_cut(rng, imaginary_axis=rng.random() < 0.5)
    return call(name, z)


def exp_ln_sqrt(rng):
    name = rng.choice(("exp", "ln", "log", "sqrt"))
    if name == "exp":
        z = complex(rng.uniform(-740, 709), rng.choice((0.0, rng.uniform(-50, 50), wide(rng, 2, 8))))
    else:
        z = polar(rng, -300, 300) if rng.random() < 0.7 else complex(-(10 ** rng.uniform(-300, 300)), 0.0)
    return call(name, z)


def exp_overflow(rng):
    x = rng.uniform(710, 1e4)
    return Case(f"exp({lit(x)})", complex(math.inf, 0.0))


# --- gamma, factorial, ncr, npr ----------------------------------------------

def gamma_real(rng):
    x = rng.choice((rng.uniform(0.001, 30), rng.uniform(30, 171.6), -rng.uniform(0.001, 150)))
    if x == round(x):
        x += 0.5
    return call("gamma", x)


def gamma_complex(rng):
    return call("gamma", box(rng, -30, 30, -12, 12))


def factorial(rng):
    if rng.random() < 0.6:
        n = rng.randint(0, 170)
        return Case(f"{n}!", complex(math.factorial(n)))
    x = rng.uniform(-20, 60)
    return Case(f"{lit(x)}!", oracle(lambda t: mp.gamma(t + 1), x))


def ncr_npr_whole(rng):
    n = rng.choice((rng.randint(0, 60), rng.randint(0, 1200)))
    k = rng.randint(0, n + 3)
    if rng.random() < 0.5:
        value = math.comb(n, k)
        name = "ncr"
    else:
        value = math.perm(n, k)
        name = "npr"
    return Case(f"{name}({n},{k})", complex(float(value)) if value < 2 ** 1023 else complex(math.inf))


def ncr_npr_real(rng):
    n = rng.uniform(0, 60)
    k = rng.uniform(0, n)
    if rng.random() < 0.5:
        return Case(f"ncr({lit(n)},{lit(k)})", oracle(mp.binomial, n, k))
    return Case(f"npr({lit(n)},{lit(k)})", oracle(lambda a, b: mp.gamma(a + 1) / mp.gamma(a - b + 1), n, k))


# --- calculus ------------------------------------------------------------------

def int_smooth(rng):
    a = rng.uniform(-20, 20)
    b = a + rng.uniform(0.1, 100)
    c = rng.uniform(0.2, 5)
    forms = [
        (f"cos({lit(c)}*x)", lambda p, q: (mp.sin(c * q) - mp.sin(c * p)) / c),
        (f"1/(1+x^2)", lambda p, q: mp.atan(q) - mp.atan(p)),
        (f"exp(-{lit(c)}*x^2)", lambda p, q: mp.sqrt(mp.pi / c) / 2 * (mp.erfc(mp.sqrt(c) * p) - mp.erfc(mp.sqrt(c) * q))),
        (f"x^2*sin(x)", lambda p, q: (2 * q * mp.sin(q) - (q * q - 2) * mp.cos(q)) - (2 * p * mp.sin(p) - (p * p - 2) * mp.cos(p))),
    ]
    text, exact = rng.choice(forms)
    return Case(f"int({text},x,{lit(a)},{lit(b)})", oracle(exact, a, b))


def int_endpoint_singular(rng):
    b = rng.uniform(0.5, 10)
    s = rng.uniform(0.05, 0.9)
    if rng.random() < 0.5:
        return Case(f"int(x^(-{lit(s)}),x,0,{lit(b)})", oracle(lambda q: q ** (1 - s) / (1 - s), b))
    return Case(f"int(ln(x),x,0,{lit(b)})", oracle(lambda q: q * mp.ln(q) - q, b))


def int_complex_path(rng):
    a, b = box(rng, -3, 3, -3, 3), box(rng, -3, 3, -3, 3)
    return Case(f"int(exp(x),x,{lit(a)},{lit(b)})", oracle(lambda p, q: mp.exp(q) - mp.exp(p), a, b))


def int_divergent(rng):
    s = rng.uniform(1, 2)
    return Case(f"int(1/x^{lit(s)},x,0,{lit(rng.uniform(0.5, 5))})", None)


def limit_removable(rng):
    a = rng.uniform(0.2, 5)
    c = rng.uniform(-5, 5)
    n = rng.randint(2, 6)
    forms = [
        (f"limit(sin({lit(a)}*x)/x,x,0)", a),
        (f"limit((1-cos({lit(a)}*x))/x^2,x,0)", a * a / 2),
        (f"limit((exp({lit(a)}*x)-1)/x,x,0)", a),
        (f"limit((x^{n}-{lit(c)}^{n})/(x-{lit(c)}),x,{lit(c)})", n * mpf(c) ** (n - 1)),
        (f"limit(exp({lit(a)}*x)+x^2,x,{lit(c)})", mp.exp(a * mpf(c)) + mpf(c) ** 2),
    ]
    text, value = rng.choice(forms)
    return Case(text, num(value))


def limit_none(rng):
    c = lit(rng.uniform(-3, 3))
    return Case(rng.choice((f"limit(abs(x-{c})/(x-{c}),x,{c})", f"limit(1/(x-{c}),x,{c})",
                            f"limit(sin(1/(x-{c})),x,{c})")), None)


def diff_smooth(rng):
    a = rng.uniform(0.2, 3)
    c = rng.uniform(-5, 5)
    forms = [
        (f"diff(sin({lit(a)}*x),x,{lit(c)})", a * mp.cos(a * mpf(c))),
        (f"diff(exp({lit(a)}*x),x,{lit(c)})", a * mp.exp(a * mpf(c))),
        (f"diff(x^5-{lit(a)}*x,x,{lit(c)})", 5 * mpf(c) ** 4 - a),
    ]
    x = 10 ** rng.uniform(-1, 20)
    forms.append((f"diff(x^2,x,{lit(x)})", 2 * mpf(x)))
    forms.append((f"diff(ln(x),x,{lit(x)})", 1 / mpf(x)))
    text, value = rng.choice(forms)
    return Case(text, num(value))


def solve_root(rng):
    if rng.random() < 0.3:
        c = wide(rng, 0, 300)
        return Case(f"solve(x-{lit(c)},x,1)", [complex(c)], check=nearest_root_error)
    roots = sorted(rng.uniform(-10, 10) for _ in range(rng.randint(1, 4)))
    poly = "*".join(f"(x-{lit(r)})" for r in roots)
    start = rng.choice(roots) + rng.uniform(-0.05, 0.05)
    return Case(f"solve({poly},x,{lit(start)})", [complex(r) for r in roots], check=nearest_root_error)


def solve_none(rng):
    a = lit(rng.uniform(0.2, 3))
    c = lit(rng.uniform(0.5, 5))
    return Case(rng.choice((f"solve(exp({a}*x),x,{lit(rng.uniform(-3, 3))})",
                            f"solve(x^2+{c},x,{lit(rng.uniform(0.5, 4))})")), None)


# --- polynomials ----------------------------------------------------------------

def roots_quadratic(rng):
    b, c = wide(rng, -3, 150), wide(rng, -10, 10)
    with mp.workdps(400):  # b^2 - 4c cancels to 320 digits
        d = mp.sqrt(mpf(b) ** 2 - 4 * mpf(c))
        roots = [num((-b + d) / 2), num((-b - d) / 2)]
    return Case(f"polyroots({{1,{lit(b)},{lit(c)}}})", roots, check=each_root_error)


def roots_random(rng):
    degree = rng.randint(3, 9)
    roots = [polar(rng, -0.3, 0.3) for _ in range(degree)]
    while min(abs(p - q) for k, p in enumerate(roots) for q in roots[k + 1:]) < 0.2:
        roots = [polar(rng, -0.3, 0.3) for _ in range(degree)]
    return Case(f"polyroots({list_lit([num(c) for c in expand(roots)])})", roots, check=root_set_error)


def roots_of_unity(rng):
    n = rng.randint(2, 14)
    c = rng.choice((-1, 1)) * rng.randint(1, 5)
    roots = [num(mp.root(mpc(-c), n, k)) for k in range(n)]
    return Case(f"polyroots({{1,{','.join('0' * (n - 1))},{c}}})", roots, check=root_set_error)


def integer_factors_error(got, case):
    """0 when the printed factors have integer coefficients, none of them a
    non-unit content, and multiply out to the polynomial; inf otherwise."""
    if not isinstance(got, str) or not got.startswith("("):
        return math.inf
    factors = [[int(float(t)) if float(t) == int(float(t)) else None for t in f.split(",")]
               for f in re.findall(r"\(\{([^}]*)\}\)", got)]
    product = [1]
    for f in factors:
        if None in f or (len(f) > 1 and math.gcd(*f) != 1):
            return math.inf
        product = [sum(f[j] * product[i - j] for j in range(len(f)) if 0 <= i - j < len(product))
                   for i in range(len(f) + len(product) - 1)]
    return 0.0 if product == case.expected else math.inf


def factor_integer(rng):
    product = [1]
    for _ in range(rng.randint(2, 3)):
        f = [rng.randint(1, 3)] + [rng.randint(-4, 4) for _ in range(rng.randint(1, 2))]
        if f[-1] == 0:
            f[-1] = 1
        f = [c // math.gcd(*f) for c in f]
        product = [sum(f[j] * product[i - j] for j in range(len(f)) if 0 <= i - j < len(product))
                   for i in range(len(f) + len(product) - 1)]
    text = "{" + ",".join(str(c) for c in product) + "}"
    return Case(f"polyfactor({text})", product, check=integer_factors_error)


FAMILIES = [
    Family("divide.ordinary", divide_ordinary, 1e-11),
    Family("divide.wide", divide_wide),
    Family("abs.wide", abs_wide),
    Family("power", power_complex),
    Family("exp_ln_sqrt.wide", exp_ln_sqrt),
    Family("exp.overflow", exp_overflow, count=20),
    Family("sin_cos.huge", sin_cos_huge),
    Family("trig.complex", tan_family_complex),
    Family("hyperbolic.real", hyperbolic_real),
    Family("hyperbolic.complex", hyperbolic_complex),
    Family("inverse.real", inverse_real),
    Family("inverse.complex", inverse_complex),
    Family("gamma.real", gamma_real),
    Family("gamma.complex", gamma_complex),
    Family("factorial", factorial),
    Family("ncr_npr.whole", ncr_npr_whole),
    Family("ncr_npr.real", ncr_npr_real),
    Family("int.smooth", int_smooth, count=60),
    Family("int.endpoint_singular", int_endpoint_singular, count=40),
    Family("int.complex_path", int_complex_path, count=30),
    Family("int.divergent", int_divergent, count=20),
    Family("limit.removable", limit_removable, 1e-6, count=60),
    Family("limit.none", limit_none, count=20),
    Family("diff.smooth", diff_smooth, 1e-6, count=60),
    Family("solve.root", solve_root, count=60),
    Family("solve.none", solve_none, count=20),
    Family("polyroots.quadratic", roots_quadratic),
    Family("polyroots.random", roots_random, count=60),
    Family("polyroots.unity", roots_of_unity, count=40),
    Family("polyfactor.integer", factor_integer, count=40),
]

