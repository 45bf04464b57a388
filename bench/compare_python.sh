#!/usr/bin/env bash
# Runs the loop benchmarks and the same loops in the machine's CPython in
# one go and prints the time per pass of each and their ratio.
set -euo pipefail
bench=${1:-build/bench/vx_bench}
python3 - "$bench" <<'PY'
import cmath, json, subprocess, sys, time

def per_pass(fn, n, repeat=3):
    best = float("inf")
    for _ in range(repeat):
        t = time.perf_counter(); fn(); best = min(best, time.perf_counter() - t)
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

python = {
    "BM_SumOfSquares1M": per_pass(squares, 1000000),
    "BM_SumSinCos200k": per_pass(sincos, 200000),
    "BM_UserFunctionInLoop200k": per_pass(userfn, 200000),
}
out = subprocess.run([sys.argv[1], "--benchmark_filter=BM_Sum|BM_User", "--benchmark_format=json"],
                     check=True, capture_output=True, text=True).stdout
ours = {b["name"]: 1e9 / b["passes_per_s"] for b in json.loads(out)["benchmarks"]}
print(f"{'workload':28} {'vexalo ns/pass':>15} {'CPython ns/pass':>16} {'speed-up':>9}")
for name, py in python.items():
    v = ours[name]
    print(f"{name:28} {v:15.1f} {py:16.1f} {py / v:8.1f}x")
PY
