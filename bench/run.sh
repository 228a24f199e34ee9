#!/bin/bash
# Builds the benchmarks out of tree (Release) and runs them one after another; each
# measures Quorbel beside its peers on the same input and the same kind of work, checks
# that the outputs agree, interleaves the rounds and prints medians. At the end one table
# gathers every ratio (ours / peer: above 1 = ours is slower).
# Usage: bench/run.sh [name...]   (names as in bench/<name>.cpp or bench/<name>.sh;
# default: every one that has a peer). QUORBEL_BENCH_BUILD names the build folder,
# QUORBEL_BENCH_ROUNDS the rounds (default 5), QUORBEL_BENCH_MB the size of generated
# texts where a benchmark reads it, QUORBEL_BENCH_STEP_LIMIT the seconds a timed step may
# take before its round is given up (default 120).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/bench/build.sh"
build="$(bench_default_build)"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    names=(regex replace codecs program gif preview)
fi
table="$(mktemp)"
trap 'rm -f "$table"' EXIT
export QUORBEL_BENCH_TABLE="$table"
for name in "${names[@]}"; do
    echo "== $name"
    if [ -x "$here/bench/$name.sh" ]; then
        "$here/bench/$name.sh" "$build"
    else
        bench_build "$build" "bench_$name"
        "$build/bench_$name"
    fi
done

echo
echo "== all ratios (ours / peer; above 1 = ours is slower). Peak memory: for programs the"
echo "   whole process, for in-process work what the work added."
python3 - "$table" <<'PY'
import sys
print(f"{'benchmark':10s} {'case':24s} {'peer':18s} {'ratio':>6s} {'ours s':>8s} {'peer s':>8s}"
      f" {'ours MB/s':>9s} {'ours MB':>8s} {'peer MB':>8s}")
def num(v, fmt):
    return format(float(v), fmt) if v else ""
for line in open(sys.argv[1]):
    f = line.rstrip("\n").split("\t")
    f += [""] * (9 - len(f))
    print(f"{f[0]:10s} {f[1]:24s} {f[2]:18s} {num(f[3], '6.2f'):>6s} {num(f[4], '8.3f'):>8s}"
          f" {num(f[5], '8.3f'):>8s} {num(f[6], '9.0f'):>9s} {num(f[7], '8.1f'):>8s}"
          f" {num(f[8], '8.1f'):>8s}")
PY
