#!/bin/bash
# The batch run alone, inside one process (no start-up, no windows): 2,000 files of 50 KB
# with the plain "fox" -> "cat" and the expression [0-9]+ -> "#", every output written to
# a folder of its own. It has no peer: writing new files is not the work `sed -i` does
# (bench/program.sh compares the whole program in place with sed, perl and sd). Use it to
# profile the engine's share of a run.
# Usage: bench/batchrun.sh [build folder] [benchmark options...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/bench/build.sh"
build="${1:-$(bench_default_build)}"
shift || true
bench_build "$build" bench_batchrun

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/bench/batch_files.py" "$work/files"
QUORBEL_BATCH_DIR="$work/files" "$build/bench_batchrun" "$@"
