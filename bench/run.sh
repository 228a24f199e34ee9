#!/bin/bash
# Builds every benchmark (Release) and runs them one after another; each program
# measures Quorbel beside its peer on the same input and prints the ratios.
# Usage: bench/run.sh [name...]   (names as in bench/<name>.cpp; default: all)
# Programs with a script of their own (bench/<name>.sh) are run through it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build-bench"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORBEL_TESTS=OFF
fi
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for src in "$here"/bench/*.cpp; do names+=("$(basename "$src" .cpp)"); done
fi
for name in "${names[@]}"; do
    echo "== $name"
    if [ -x "$here/bench/$name.sh" ]; then
        "$here/bench/$name.sh" "$build"
    else
        ninja -C "$build" "bench_$name"
        "$build/bench_$name"
    fi
done
