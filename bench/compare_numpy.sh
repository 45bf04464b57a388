#!/usr/bin/env bash
# Times det and inverse (n = 50..800), eigenvalues and eigenvectors
# (n = 20..200) and polyroots (degree 20..100) in vx_bench and in numpy in
# one go, numpy on one thread, and prints the times, their ratio and each
# series' growth exponent (the least-squares slope of log time over log n).
# Both sides take the best of five runs on a random matrix with entries
# uniform in [-1, 1]: vexalo evaluates the built-in on a stored variable,
# without parsing or printing; numpy calls the function on an array.
#
#   bench/compare_numpy.sh [VX_BENCH] [BASELINE_VX_BENCH]
#
# A second vx_bench (for instance one built from an older commit with the
# same bench sources) is timed in the same run and shown beside. numpy uses
# whatever BLAS and LAPACK the system links; to time it on OpenBLAS without
# switching the system's choice, point LD_LIBRARY_PATH at OpenBLAS's folder
# (for instance an unpacked libopenblas0-pthread: .../openblas-pthread).
set -euo pipefail
bench=${1:-build/bench/vx_bench}
baseline=${2:-}
export OPENBLAS_NUM_THREADS=1 OMP_NUM_THREADS=1 MKL_NUM_THREADS=1
/usr/bin/python3 - "$bench" "$baseline" <<'PY'
import json, math, subprocess, sys, timeit
import numpy

SERIES = [  # (vx_bench case, numpy call, sizes)
    ("BM_Det", numpy.linalg.det, (50, 100, 200, 400, 800)),
    ("BM_Inverse", numpy.linalg.inv, (50, 100, 200, 400, 800)),
    ("BM_Eigenvalues", numpy.linalg.eigvals, (20, 50, 100, 200)),
    ("BM_Eigenvectors", numpy.linalg.eig, (20, 50, 100, 200)),
    ("BM_Polyroots", numpy.roots, (20, 50, 100)),
]


def numpy_ms(call, n):
    rng = numpy.random.default_rng(n)
    a = rng.uniform(-1, 1, n + 1) if call is numpy.roots else rng.uniform(-1, 1, (n, n))
    number = max(1, int(0.2 / max(timeit.timeit(lambda: call(a), number=1), 1e-6)))
    return min(timeit.repeat(lambda: call(a), number=number, repeat=5)) / number * 1e3


def vx_ms(binary):
    names = "|".join(f"{name}/{n}$" for name, _, sizes in SERIES for n in sizes)
    run = subprocess.run([binary, f"--benchmark_filter=^({names})", "--benchmark_format=json",
                          "--benchmark_repetitions=5", "--benchmark_min_time=0.2"],
                         capture_output=True, text=True)
    times = {}
    for b in json.loads(run.stdout)["benchmarks"]:
        if b.get("run_type") == "iteration" and not b.get("error_occurred"):
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
            times[b["run_name"]] = min(times.get(b["run_name"], math.inf), b["real_time"] * scale)
    return times


def slope(sizes, times):
    points = [(math.log(n), math.log(t)) for n, t in zip(sizes, times) if t and math.isfinite(t)]
    if len(points) < 2:
        return math.nan
    mx = sum(x for x, _ in points) / len(points)
    my = sum(y for _, y in points) / len(points)
    return sum((x - mx) * (y - my) for x, y in points) / sum((x - mx) ** 2 for x, _ in points)


ours = vx_ms(sys.argv[1])
base = vx_ms(sys.argv[2]) if len(sys.argv) > 2 and sys.argv[2] else None
print(f"numpy {numpy.__version__}, one thread; best of 5; times in ms")
header = f"{'case':22} {'vexalo':>10} {'numpy':>10} {'ratio':>7}"
if base is not None:
    header += f" {'baseline':>10} {'ratio':>7}"
print(header)
for name, call, sizes in SERIES:
    columns = {"vexalo": [], "numpy": [], "baseline": []}
    for n in sizes:
        key = f"{name}/{n}"
        v, p = ours.get(key, math.nan), numpy_ms(call, n)
        columns["vexalo"].append(v)
        columns["numpy"].append(p)
        line = f"{key:22} {v:10.3f} {p:10.3f} {v / p:6.2f}x"
        if base is not None:
            b = base.get(key, math.nan)
            columns["baseline"].append(b)
            line += f" {b:10.3f} {b / p:6.2f}x"
        print(line)
    growth = f"{'  growth exponent':22} {slope(sizes, columns['vexalo']):10.2f} {slope(sizes, columns['numpy']):10.2f}"
    if base is not None:
        growth += f" {'':7} {slope(sizes, columns['baseline']):10.2f}"
    print(growth)
PY
