#!/bin/bash
# Builds every benchmark (Release) and runs them one after another; each program
# measures Quorbel beside its peer on the same input and prints the ratios.
# Usage: bench/run.sh [name...]   (names as in bench/<name>.cpp; default: all)
# QUORBEL_BENCH_MB sets the size of the generated texts where a program reads it.
# Programs with a script of their own (bench/<name>.sh) are run through it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-bench"
source "$here/bench/build.sh"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for src in "$here"/bench/*.cpp; do names+=("$(basename "$src" .cpp)"); done
    # Scripts without a program of their own (the whole executable beside its peers).
    for src in "$here"/bench/*.sh; do
        name="$(basename "$src" .sh)"
        [ "$name" = build ] || [ -f "$here/bench/$name.cpp" ] || names+=("$name")
    done
fi
for name in "${names[@]}"; do
    echo "== $name"
    if [ -x "$here/bench/$name.sh" ]; then
        "$here/bench/$name.sh" "$build"
    else
        bench_build "$build" "bench_$name"
        "$build/bench_$name"
    fi
done
