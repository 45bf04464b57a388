#!/usr/bin/env bash
# Runs the loop and list benchmarks and the same work in the machine's
# CPython in one go and prints the time per pass of each and their ratio.
# Both sides report the processor time of their best of five runs: the
# machine is shared and noisy, and processor time and the best run are
# the least disturbed by neighbours.
#
#   bench/compare_python.sh [VX_BENCH] [BASELINE_VX_BENCH]
#
# A second vx_bench (for instance one built from an older commit with the
# same bench sources) is timed in the same run and shown beside.
set -euo pipefail
bench=${1:-build/bench/vx_bench}
baseline=${2:-}
/usr/bin/python3 - "$bench" "$baseline" <<'PY'
import cmath, json, math, subprocess, sys, time

def per_pass(fn, n, repeat=5):
    best = float("inf")
    for _ in range(repeat):
        t = time.process_time(); fn(); best = min(best, time.process_time() - t)
    return best / n * 1e9

def squares():
    s = complex(0, 0)
    for k in range(1, 1000001):
        s += complex(k, 0) ** 2
def sincos():
    s = complex(0, 0)
    for k in range(1, 200001):
        z = complex(k, 0) / 1000
        s += cmath.sin(z) * cmath.cos(z)
def userfn():
    f = lambda x: x ** 2 + 1
    s = complex(0, 0)
    for k in range(1, 200001):
        s += f(complex(k, 0))
def while_update():
    s = 0.0
    n = 0.0
    while n < 10 ** 5:
        s = s + n
        n = n + 1
def for_update():
    s = 0.0
    for k in range(1, 100001):
        s = s + k
def fib(n):
    return n if n < 2 else fib(n - 1) + fib(n - 2)
# The same operands as the benchmark: multiples of 2 (each twice) and of 3.
set_a = [complex(2 * math.floor(k / 2), 0) for k in range(1, 100001)]
set_b = [complex(3 * k, 0) for k in range(1, 100001)]

WORKLOADS = [  # (vx_bench case, CPython function, passes per run)
    ("BM_SumOfSquares1M", squares, 1000000),
    ("BM_SumSinCos200k", sincos, 200000),
    ("BM_UserFunctionInLoop200k", userfn, 200000),
    ("BM_WhileUpdate100k", while_update, 100000),
    ("BM_ForUpdate100k", for_update, 100000),
    ("BM_UserRecursionFib20", lambda: fib(20), 21891),
    ("BM_Intersection100k", lambda: set(set_a) & set(set_b), 1),
]

def vx_ns(binary):
    if not binary:
        return {}
    names = "|".join(name for name, _, _ in WORKLOADS)
    out = subprocess.run([binary, f"--benchmark_filter=^({names})$", "--benchmark_format=json",
                          "--benchmark_repetitions=5"], check=True, capture_output=True, text=True).stdout
    passes = {name: n for name, _, n in WORKLOADS}
    times = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "iteration" and not b.get("error_occurred"):
            scale = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
            name = b["run_name"]
            times[name] = min(times.get(name, math.inf), b["cpu_time"] * scale / passes[name])
    return times

ours, before = vx_ns(sys.argv[1]), vx_ns(sys.argv[2])
python = {name: per_pass(fn, n) for name, fn, n in WORKLOADS}
print(f"CPython {sys.version.split()[0]}")
print(f"{'workload':28} {'vexalo ns/pass':>15} {'baseline':>10} {'CPython ns/pass':>16} {'speed-up':>9}")
for name, _, _ in WORKLOADS:
    v, py = ours.get(name, math.nan), python[name]
    b = f"{before[name]:10.1f}" if name in before else f"{'-':>10}"
    print(f"{name:28} {v:15.1f} {b} {py:16.1f} {py / v:8.1f}x")
PY
