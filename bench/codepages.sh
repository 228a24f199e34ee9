#!/bin/bash
# Runs the code-page benchmark: our UTF-8 and cp1252 conversions beside glibc's
# iconv on the same 100 MB text; the program prints the ratio ours / iconv.
# Usage: bench/codepages.sh [build folder] [benchmark options...]
# QUORBEL_BENCH_MB sets the text size in MB (default 100).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-bench}"
shift || true
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORBEL_TESTS=OFF
fi
ninja -C "$build" bench_codepages
exec "$build/bench_codepages" "$@"
