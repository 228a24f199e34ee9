#!/usr/bin/env bash
# Builds the fuzz targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into
# build-fuzz/ and runs each for SECONDS (default 60) on a copy of its seed corpus in
# fuzz/corpus/. Exits 1 when a target found something; its input is in build-fuzz/findings/.
set -uo pipefail
seconds=${1:-60}
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link"
flags+=" -fno-omit-frame-pointer"
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
mkdir -p "$build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DQUORBEL_TESTS=OFF -DQUORBEL_BENCH=OFF -DQUORBEL_FUZZ=ON > "$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 2; }
targets=(textfiles profile regex gif filenames)
cmake --build "$build" -j"${QUORBEL_JOBS:-4}" --target "${targets[@]/#/fuzz_}" || exit 2
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1"
export QT_QPA_PLATFORM=offscreen
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target" findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  cp -n "$root/fuzz/corpus/$target/"* "$corpus/" 2> /dev/null
  if "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" > "$build/fuzz_$target.log" 2>&1; then
    echo "$target: no finding ($(grep -o 'stat::number_of_executed_units: *[0-9]*' \
      "$build/fuzz_$target.log" | grep -o '[0-9]*$') runs)"
  else
    echo "$target: FINDING, see $build/fuzz_$target.log and $findings/"
    status=1
  fi
done
exit $status
