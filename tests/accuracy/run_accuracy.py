#!/usr/bin/python3
"""Runs the families of one *_families.py module through vexalo-cli and
compares every answer with the module's oracle.

    run_accuracy.py MODULE --cli PATH [--family PREFIX] [--count N] [--show N]

Each family's cases are generated from a seed derived from its name, written
one statement a line into a temporary file and run by one vexalo-cli process
whose user data lives in a temporary folder. A family fails when an answer is
further from the oracle than its tolerance, when a number comes back where no
answer exists, or when more than 2% of its well-posed cases are refused.
"""
import argparse
import cmath
import importlib
import math
import os
import random
import re
import subprocess
import sys
import tempfile
import zlib

REFUSAL_LIMIT = 0.02
ERROR_LINE = re.compile(r"^(\([^)]*\) )?(Error: |Data Type|Unexpected Error)")


class Refused(Exception):
    """An answer line that is a message, not a value."""


def parse_number(text):
    if text.endswith("i"):
        body = text[:-1]
        split = next((p for p in range(len(body) - 1, 0, -1) if body[p] == "+" and body[p - 1] not in "Ee"), None)
        if split is None:
            return complex(0.0, float(body))
        return complex(float(body[:split]), float(body[split + 1:]))
    return complex(float(text), 0.0)


def split_top(text, separator=","):
    parts, depth, start = [], 0, 0
    for k, ch in enumerate(text):
        if ch in "{[":
            depth += 1
        elif ch in "}]":
            depth -= 1
        elif ch == separator and depth == 0:
            parts.append(text[start:k])
            start = k + 1
    parts.append(text[start:])
    return parts


def parse_value(text):
    """complex, list of complex, list of rows (a matrix); the text itself when
    it is neither (polyfactor's factors, for instance)."""
    if ERROR_LINE.match(text):
        raise Refused(text)
    try:
        if text.startswith("[["):
            return [[parse_number(e) for e in row.split(",")] for row in text[2:-2].split("][")]
        if text.startswith("{"):
            inner = text[1:-1]
            return [parse_number(e) for e in split_top(inner)] if inner else []
        return parse_number(text)
    except ValueError:
        return text


def flatten(value):
    if isinstance(value, list):
        out = []
        for v in value:
            out.extend(flatten(v))
        return out
    return [value]


def shape(value):
    if isinstance(value, list):
        return [shape(v) for v in value]
    return None


def relative_error(got, expected):
    """Largest element difference relative to the expected value's largest
    finite modulus (absolute when that is 0); non-finite parts must match."""
    if isinstance(got, str) or shape(got) != shape(expected):
        return math.inf
    g, e = flatten(got), flatten(expected)
    scale = max((abs(x) for x in e if cmath.isfinite(x)), default=0.0) or 1.0
    worst = 0.0
    for a, b in zip(g, e):
        for pa, pb in ((a.real, b.real), (a.imag, b.imag)):
            if math.isfinite(pb):
                worst = max(worst, abs(pa - pb) / scale if math.isfinite(pa) else math.inf)
            elif pa != pb:
                return math.inf
    return worst


def run_cli(cli, statements):
    with tempfile.TemporaryDirectory() as folder:
        script = os.path.join(folder, "cases.vxs")
        with open(script, "w") as f:
            f.write("\n".join(statements) + "\n")
        data = os.path.join(folder, "data")
        os.mkdir(data)
        run = subprocess.run([cli, "--data-dir", data, script], capture_output=True, text=True, timeout=600)
    answers = [line[3:].rstrip("\r") for line in run.stdout.splitlines() if line.startswith(">  ")]
    if len(answers) != len(statements):
        raise RuntimeError(f"{len(statements)} statements gave {len(answers)} answers:\n{run.stdout[-2000:]}")
    return answers


def seed_of(name):
    return zlib.crc32(name.encode())


def run_family(cli, family, count, show):
    rng = random.Random(seed_of(family.name))
    cases = [family.generate(rng) for _ in range(count)]
    answers = run_cli(cli, [c.statement for c in cases])
    worst, wrong, refused, posed, notes = 0.0, 0, 0, 0, []
    for case, answer in zip(cases, answers):
        if case.expected is not None or case.check is not None:
            posed += 1
        try:
            value = parse_value(answer)
        except Refused:
            if case.expected is not None or case.check is not None:
                refused += 1
                notes.append(f"refused  {case.statement}  ->  {answer}")
            continue
        if case.expected is None and case.check is None:
            wrong += 1
            notes.append(f"no answer exists  {case.statement}  ->  {answer}")
            continue
        err = case.check(value, case) if case.check else relative_error(value, case.expected)
        worst = max(worst, err)
        if not err <= family.rel_tol:
            wrong += 1
            notes.append(f"error {err:.3g}  {case.statement}  ->  {answer}  (expected {case.expected})")
    ok = wrong == 0 and refused <= REFUSAL_LIMIT * max(posed, 1)
    return ok, worst, wrong, refused, notes[:show]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("module", help="a *_families module name or path")
    parser.add_argument("--cli", required=True, help="path of vexalo-cli")
    parser.add_argument("--family", default="", help="run only families whose name starts with this")
    parser.add_argument("--count", type=int, default=0, help="cases per family instead of the family's own")
    parser.add_argument("--show", type=int, default=5, help="failing cases shown per family")
    args = parser.parse_args()

    here = os.path.dirname(os.path.abspath(__file__))
    sys.path.insert(0, here)
    module = importlib.import_module(os.path.splitext(os.path.basename(args.module))[0])
    families = [f for f in module.FAMILIES if f.name.startswith(args.family)]

    failed = 0
    print(f"{'family':32} {'cases':>5} {'max rel err':>11} {'tolerance':>9} {'wrong':>5} {'refused':>7}")
    for family in families:
        ok, worst, wrong, refused, notes = run_family(args.cli, family, args.count or family.count, args.show)
        failed += not ok
        print(f"{family.name:32} {args.count or family.count:5} {worst:11.2e} {family.rel_tol:9.0e} "
              f"{wrong:5} {refused:7}  {'ok' if ok else 'FAILED'}")
        for note in notes:
            print("    " + note)
    print(f"{len(families) - failed} of {len(families)} families within tolerance")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
