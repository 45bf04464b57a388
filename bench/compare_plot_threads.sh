#!/usr/bin/env bash
# Times plot3d at grid 800 and implicitplot3d at grid 128, computed and
# exported as OBJ by vexalo-cli --export-obj, on one thread (VEXALO_THREADS=1)
# and on every hardware thread, and checks that both runs write the same
# bytes. Each figure is the best of three runs: the machine is shared.
# Per run it reports the whole command, the generation (from the progress
# texts on standard error) and the OBJ writing ("Writing OBJ file..." to
# "Wrote OBJ file successfully").
#
#   bench/compare_plot_threads.sh [VEXALO_CLI] [BASELINE_VEXALO_CLI]
#
# A baseline binary (for instance one built from an older commit) is timed
# in the same run and its files compared too.
set -euo pipefail
cli=${1:-build/vexalo-cli}
baseline=${2:-}
/usr/bin/python3 - "$cli" "$baseline" <<'PY'
import filecmp, os, struct, subprocess, sys, tempfile, time

CASES = [  # name, statement, quality fields to set (index in file order, value)
    ("plot3d 800", "plot3d(sin(u)*cos(w), u, -3, 3, w, -3, 3)", {2: 800, 3: 800}),
    ("implicitplot3d 128", "implicitplot3d(x^2+y^2+z^2-1, x, -2, 2, y, -2, 2, z, -2, 2)", {7: 128}),
]
DISPLAY = [1, 1, 1, 1, 2, 0, 72, 45, 1, 1, 1, 15, 85, 1, 0, 1]
QUALITY = [50, 160, 38, 38, 26, 160, 160, 24, 16, 10, 8, 5, 0]

def data_dir(root, quality):
    q = list(QUALITY)
    for k, v in quality.items():
        q[k] = v
    d = tempfile.mkdtemp(dir=root)
    with open(os.path.join(d, "vxopts.vxd"), "wb") as f:
        f.write(struct.pack("<30i", 1, *DISPLAY, *q))
    return d

def one_run(cli, threads, statement, quality, root, obj):
    script = os.path.join(root, "plot.vxs")
    with open(script, "w") as f:
        f.write(statement + "\n")
    env = dict(os.environ)
    if threads:
        env["VEXALO_THREADS"] = str(threads)
    else:
        env.pop("VEXALO_THREADS", None)
    start = time.perf_counter()
    p = subprocess.Popen([cli, "--data-dir", data_dir(root, quality), script, "--export-obj", "0", obj],
                         env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    marks = {}
    for line in p.stderr:
        now = time.perf_counter()
        if line.startswith("Generated"):
            marks["generated"] = now
        elif line.startswith("Writing OBJ"):
            marks["writing"] = now
        elif line.startswith("Wrote OBJ"):
            marks["wrote"] = now
    if p.wait() != 0:
        sys.exit(f"{cli} failed on {statement}")
    end = time.perf_counter()
    return {"total": end - start, "generate": marks["generated"] - start, "write": marks["wrote"] - marks["writing"]}

def best(cli, threads, statement, quality, root, obj, repeat=3):
    runs = [one_run(cli, threads, statement, quality, root, obj) for _ in range(repeat)]
    return {k: min(r[k] for r in runs) for k in runs[0]}

binaries = [("new", sys.argv[1])] + ([("baseline", sys.argv[2])] if sys.argv[2] else [])
with tempfile.TemporaryDirectory() as root:
    print(f"{'case':20} {'binary':9} {'threads':>7} {'total s':>8} {'generate s':>10} {'write s':>8}")
    for name, statement, quality in CASES:
        files, results = {}, {}
        for label, cli in binaries:
            for threads in (1, 0):
                obj = os.path.join(root, f"{label}-{threads}.obj")
                r = best(cli, threads, statement, quality, root, obj)
                results[(label, threads)] = r
                files[(label, threads)] = obj
                shown = "1" if threads else "all"
                print(f"{name:20} {label:9} {shown:>7} {r['total']:8.3f} {r['generate']:10.3f} {r['write']:8.3f}")
        one, every = results[("new", 1)], results[("new", 0)]
        print(f"{name:20} all threads vs one: total {one['total'] / every['total']:.2f}x, "
              f"generation {one['generate'] / every['generate']:.2f}x")
        if ("baseline", 1) in results:
            b = results[("baseline", 1)]
            print(f"{name:20} OBJ writing vs baseline: {b['write'] / one['write']:.1f}x faster")
        reference = files[("new", 1)]
        same = all(filecmp.cmp(reference, f, shallow=False) for f in files.values())
        print(f"{name:20} OBJ files byte-identical: {'yes' if same else 'NO'}")
PY
