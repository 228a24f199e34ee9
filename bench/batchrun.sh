#!/bin/bash
# Runs the batch-run benchmark beside GNU sed -i and perl -pi: prepares 2,000 files of
# 50 KB, times sed and perl doing the same two replacements (the plain "fox" -> "cat" and
# the expression [0-9]+ -> "#") on copies of them, then runs one batch run of ours per
# iteration over the originals; the program prints the ratios and the peak memory.
# Usage: bench/batchrun.sh [build folder] [benchmark options...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-bench}"
shift || true
source "$here/bench/build.sh"
bench_build "$build" bench_batchrun

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$here/bench/batch_files.py" "$work/files"

# "wall-clock CPU" seconds of one command over copies of the files, and its peak memory.
timed() {
    local name="$1"
    shift
    rm -rf "$work/$name"
    cp -r "$work/files" "$work/$name"
    /usr/bin/time -f "%e %U %S %M" -o "$work/$name.time" "$@" "$work/$name"/*.txt
    read -r wall user sys kb <"$work/$name.time"
    local cpu
    cpu="$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')"
    echo "$name: $wall s wall-clock, $cpu s CPU, peak memory $((kb / 1024)) MB" >&2
    echo "$wall $cpu"
}
sed_time="$(timed sed sed -i -e 's/fox/cat/g' -e 's/[0-9]\+/#/g')"
perl_time="$(timed perl perl -pi -e 's/fox/cat/g; s/[0-9]+/#/g')"
rm -rf "$work/sed" "$work/perl"

QUORBEL_BATCH_DIR="$work/files" QUORBEL_SED_SECONDS="$sed_time" QUORBEL_PERL_SECONDS="$perl_time" \
    "$build/bench_batchrun" "$@"
